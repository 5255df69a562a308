#pragma once

#include <QString>

// The parts of an ODBC-style connection text such as
// "Driver={MySQL ODBC 8.0 Unicode Driver};Server=db;Port=3306;Database=netzpult;Uid=raum;Pwd=x;".
struct OdbcConnText {
    QString server = QStringLiteral("localhost");
    int port = 3306;
    QString database;
    QString user;
    QString password;
};

// Reads the text as VerbindungsText.h describes. Known keys: Server (also Host), Port, Database
// (also Db), Uid (also User), Pwd (also Password); Driver, Option and any other key are ignored.
// False with a German sentence in `error` when the text is malformed or the port is no number; the
// sentence never quotes a value.
bool ParseOdbcConnText(const QString& text, OdbcConnText& out, QString* error = nullptr);

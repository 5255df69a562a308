#pragma once

#include "Dialekt.h"

#include <QString>

// Where a project's reservation database lives. Without a section [Datenbank] in the project's
// TovoRaumVerw.ini it is the SQLite file TovoRaumverw.mdb in the project folder; with
//
//   [Datenbank]
//   Typ=PostgreSQL
//   Verbindung=host=db.example port=5432 dbname=raum user=raum
//
// it is that server database (the password comes from ~/.pgpass or PGPASSWORD, never from the
// file). Everything else of the project stays in its folder.
struct DatenbankOrt {
    DbTyp typ = DbTyp::SQLite;
    QString ort; // the file's path, or the server's connection text
    bool aufServer() const { return typ == DbTyp::PostgreSQL; }
};

// The place of the project in `projektDir` (ending in "/"). False with a German sentence in
// `error` when the section names an unknown type or no connection; the sentence quotes no
// part of the connection text.
bool ReadDatenbankOrt(const QString& projektDir, DatenbankOrt& ort, QString* error);
// Points the project at the server database `verbindung`. False when the file cannot be
// written.
bool SchreibeServerOrt(const QString& projektDir, const QString& verbindung);

// Opens a Qt SQL connection named `name` to the database; false with the reason in `error`.
bool OeffneDatenbank(const DatenbankOrt& ort, const QString& name, bool readOnly, QString* error);

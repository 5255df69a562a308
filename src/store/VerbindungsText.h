#pragma once

#include <QList>
#include <QPair>
#include <QString>

// Connection texts as the sites write them: pairs "Schlüssel=Wert" separated by ";", for example
// "Driver={MySQL ODBC 8.0 Unicode Driver};Server=db;Uid=raum;Pwd={ge;heim};". Keys count without
// regard to case (they come back in lower case), blanks around keys and values are dropped, a
// value in braces may hold ";" and "=", and a doubled "}}" in it stands for "}".
//
// The values may hold passwords, so no message here ever quotes one: a message names the key the
// fault follows at most.
using VerbindungsPaare = QList<QPair<QString, QString>>;

// False with a German sentence in `error` when the text is malformed.
bool ZerlegeVerbindungsText(const QString& text, VerbindungsPaare& paare, QString* error = nullptr);

// The value of the last pair whose key is one of `schluessel` (lower case); empty when none is.
QString VerbindungsWert(const VerbindungsPaare& paare,
                        std::initializer_list<const char*> schluessel);

// Connection texts of a PostgreSQL server in libpq's form: "host=db port=5432 dbname=raum
// user=raum", pairs "Schlüssel=Wert" separated by blanks, blanks around "=" allowed. A value in
// single quotes may hold blanks; inside it, and in a value without quotes, a backslash takes
// the next character as it is ("\'" and "\\"). Keys come back in lower case.
bool ZerlegeLibpqText(const QString& text, VerbindungsPaare& paare, QString* error = nullptr);

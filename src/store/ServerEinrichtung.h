#pragma once

#include <QString>
#include <functional>

// Setting up a project's database on a PostgreSQL server, and moving a project's SQLite file
// there. Both work without a window: they report their steps as German lines to `melde` and
// return false with a German sentence in `error` when they fail. Only after everything worked
// do they write the section [Datenbank] of the project's TovoRaumVerw.ini; before that the
// project stays as it was.
namespace ServerEinrichtung {

using Melde = std::function<void(const QString& zeile)>;

// Creates the tables in the server database `verbindung` (libpq form), which must hold no
// tables yet, and points the project in `projektDir` at it.
bool Einrichten(const QString& projektDir, const QString& verbindung, const Melde& melde,
                QString* error);

// Copies every table of the project's SQLite file (archived bookings and the order counter
// included) into the empty server database in one transaction, compares row count and checksum
// of each table, and only when all agree commits and points the project at the server. The
// file stays in the folder as it was.
bool Uebertragen(const QString& projektDir, const QString& verbindung, const Melde& melde,
                 QString* error);

} // namespace ServerEinrichtung

#pragma once

#include <QString>

// Fills a new project directory with a small, living demo company: room types, rooms, employees
// and some weeks of bookings around today in the reservation database (a copy of the template
// exeDir + "Leeres Projekt/TovoRaumverw.mdb"), the matching building structure in
// TovoGebaeude.mdb, companies and persons in TovoStammdaten.mdb, and the settings in
// TovoRaumVerw.ini. Both directories end in "/". The layout of the bookings is fixed relative to
// the current week, so two demo projects made in the same week are alike.
//
// A directory that already holds one of the three databases is refused. On any failure the
// files made so far are removed again, `error` (when given) tells why, and the result is false.
bool CreateDemoProject(const QString& exeDir, const QString& projectDir, QString* error = nullptr);

#pragma once

#include <QString>

// Where the program's own files lie: the empty project ("Leeres Projekt/"), the report
// templates ("Berichte/"), the schema files and the rights file "Funktionsrechte.ini". In the
// build folder they lie beside the program; installed, the program is <prefix>/bin/tovo-raumverw
// and its files lie in <prefix>/share/tovo-raumverw. This folder is the program directory
// (mstExeDir) the control is opened with.
namespace ProgrammOrt {

// The folder of a program that lies in `programmDir`, absolute and ending in "/": the first of
// the two layouts that holds the empty project, else `programmDir` itself.
QString DatenVerzeichnis(const QString& programmDir);
// The same for the running program.
QString DatenVerzeichnis();

} // namespace ProgrammOrt

#pragma once

#include "DatenbankOrt.h"

#include <QString>

class CRvDb;

// Process-wide state that opening a project sets and every part of the system reads.
// Directories always end in "/".
extern CRvDb* gRvDb;            // the reservation database object, owned by the control
extern QString gDb;             // Qt SQL connection name of the direct connection ("" = none)
extern QString gstProjektDir;   // project directory
extern QString gstDbPath;       // gstProjektDir + "TovoRaumverw.mdb"
extern DatenbankOrt gDbOrt;     // where the reservation database lives (that file by default)
extern QString gstReportDir;    // project directory + "Report/"
extern QString gstRaumNrFormat; // long format of room numbers, e.g. "S.G.BE.R"
extern double gdToleranz;       // booking tolerance as a fraction of a day
extern QString gstMailname;     // mail name; empty = no e-mail confirmation
extern bool gbUpdatePending;    // a reservation was saved and the portal is not yet updated

// File names of the project.
inline const QString kDbFileName = QStringLiteral("TovoRaumverw.mdb");
inline const QString kIniFileName = QStringLiteral("TovoRaumVerw.ini");

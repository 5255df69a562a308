#include "RvGlobals.h"

CRvDb* gRvDb = nullptr;
QString gDb;
QString gstProjektDir;
QString gstDbPath;
DatenbankOrt gDbOrt;
QString gstReportDir;
QString gstRaumNrFormat;
double gdToleranz = 0.0;
QString gstMailname;
bool gbUpdatePending = false;

#pragma once

class QWidget;

// Read-only mode: the rights object of the open project grants level "L".
bool NurLesen();

// Every editing field below `maske` refuses changes: text fields and spin boxes become read-only,
// check boxes, option buttons and combo boxes disabled. Lists, grids and buttons are the form's
// to decide (browsing stays possible; the form disables its commands itself).
void MaskeNurLesen(QWidget* maske);

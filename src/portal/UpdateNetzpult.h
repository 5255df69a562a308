#pragma once

class QWidget;

// Publishing to the portal from the user interface: wait cursor, a progress window when the copy
// takes longer than a second, and the error message of the system's convention.
namespace Netzpult {

// The copy itself; true when the portal holds the new publication.
bool UpdateSQLNetzpult(QWidget* parent);
// The user's command: refuses a portal kind other than 1, else UpdateSQLNetzpult.
bool UpdateNetzpult(QWidget* parent);

inline constexpr const char* kAktualisiert = "Netzpult wurde aktualisiert.";

} // namespace Netzpult

#pragma once

class QWidget;

// Publishing to the portal from the user interface. The publication runs in a thread of its own
// with its own connections, so the window keeps painting even while a silent server is waited
// for; a progress window offers "Abbrechen". Errors are shown by the system's convention.
namespace Netzpult {

enum class Umfang {
    Aenderungen,  // what the change journal recorded (or a full copy where one is due)
    Vollstaendig, // everything
};

// The copy itself; true when the portal holds the new publication.
bool UpdateSQLNetzpult(QWidget* parent, Umfang umfang = Umfang::Aenderungen);
// Refuses a portal kind other than 1, else UpdateSQLNetzpult. The user's command copies
// everything.
bool UpdateNetzpult(QWidget* parent, Umfang umfang = Umfang::Vollstaendig);

inline constexpr const char* kAktualisiert = "Netzpult wurde aktualisiert.";

} // namespace Netzpult

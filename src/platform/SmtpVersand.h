#pragma once

#include "MailNachricht.h"

#include <QString>

// Sending mail over SMTP (libcurl), with the settings of the project's TovoRaumVerw.ini.
namespace SmtpVersand {

enum class Verschluesselung { Keine, StartTls, Tls };

struct Einstellungen {
    QString server;
    int port = 0; // 0 = the usual port of the encryption (25, 587, 465)
    Verschluesselung verschluesselung = Verschluesselung::Keine;
    QString benutzer; // empty = no login
    QString passwort; // handed to the server only, never shown or written anywhere
    QString absender;
    int zeitlimitSekunden = 60; // for the whole send, a second attempt included
    QString fehler;             // what makes the settings unusable; empty = none
};

// Section "Mail": "Server", "Port", "Verschluesselung" (none, STARTTLS or TLS), "Benutzer",
// "Passwort", "Absender", "Timeout" (seconds, default 60).
Einstellungen AusIni();

// The step that failed: reaching and greeting the server (login and encryption included), or
// handing over the message.
enum class Schritt { Keiner, Verbinden, Versenden };

struct Ergebnis {
    Schritt fehler = Schritt::Keiner;
    QString grund;             // the server's own reply, or the reason when there is none
    bool unbestaetigt = false; // sent, but the server's receipt did not come in time
    bool ok() const { return fehler == Schritt::Keiner; }
};

// Sends the message to every recipient and copy; returns once the server took it or refused, or
// the time limit ran out. A second attempt is made only when the server took nothing (it could
// not be reached, greeted or logged into): once the envelope began, a second send could deliver
// the message twice. A message handed over completely whose receipt does not come counts as
// sent. May run on any thread.
Ergebnis Sende(const Einstellungen& einstellungen, const MailNachricht::Nachricht& nachricht);

} // namespace SmtpVersand

#pragma once

#include "Records.h"

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>
#include <optional>

// The one way bookings are written. Every operation runs in one write transaction on one
// connection: the rooms being written locked (SQLite: the whole file), the room test again (the
// one conflict rule, the bookings being written left out), for a new order the counter locked,
// the number drawn and the counter advanced, the rows written and their keys recorded in the
// change journal for the portal, commit. Either all of it is stored or nothing. The result is a
// value; no message is shown here except by Ausfuehren at the end of this header.
namespace SchreibPfad {

enum class Status {
    Ok,
    Konflikt,       // a stored booking is in the way: nothing written
    NummerVergeben, // the order number meant for a new order is carried by a booking
    Belegt,         // another workstation holds the database longer than the busy timeout
    Getrennt,       // the connection to the server was lost; the next action reconnects
    Fehler          // the database failed; `fehler` holds the driver's text
};

struct Ergebnis {
    Status status = Status::Ok;
    int32_t auftrNr = 0; // Ok: the order's number; NummerVergeben: the number that is taken
    CBelegungRec imWeg;  // Konflikt: the booking in the way
    bool imWegArchiviert = false; // Konflikt: that booking is archived (it keeps its slot)
    QString raumName;             // Konflikt: the short name of its room
    QString meldung;              // Fehler: what failed, as the user reads it
    QString fehler;               // Fehler, Belegt, Getrennt: the driver's text
    bool ok() const { return status == Status::Ok; }
};

// A new order: every booking (each with its own room) is tested, gets the order number and is
// inserted with one prepared statement; their Rec_ID and lAuftrNr are filled in on success.
// The number is `wunschNr` or else the counter's (-1 when the counter table is empty); the
// counter then holds number + 1.
Ergebnis NeuerAuftrag(const QString& connection, QVector<CBelegungRec>& buchungen, double toleranz,
                      std::optional<int32_t> wunschNr = std::nullopt);

// Stored bookings written back by their keys. They are tested against every other booking, but
// not against their own stored rows. A key that no longer exists fails the whole change.
Ergebnis Aendern(const QString& connection, const QVector<CBelegungRec>& buchungen,
                 double toleranz);

// Where a stored booking goes: its room, and the start and end of the booking itself as day
// numbers with the time of day. The set-up moves with the start, the clear-down with the end.
struct Verlegung {
    int32_t recId = 0;
    int32_t raumId = 0;
    double beginn = 0.0;
    double ende = 0.0;
};
// Bookings moved in rooms and time, all or nothing, each tested against every other booking but
// its own stored row. `vorher` receives the bookings as stored before, as far as they were read.
Ergebnis Verlegen(const QString& connection, const QVector<Verlegung>& verlegungen, double toleranz,
                  QVector<CBelegungRec>* vorher = nullptr);
// Where the booking lies now, as a Verlegung back to it.
Verlegung LageVon(const CBelegungRec& b);

// Deletes one booking, or every booking of an order (archived ones included).
Ergebnis LoescheBelegung(const QString& connection, int32_t recId);
Ergebnis LoescheAuftrag(const QString& connection, int32_t auftrNr);

// --- archive ------------------------------------------------------------------------------------

// A booking that was to become current again but stays archived: its slot is taken meanwhile.
struct ImArchiv {
    CBelegungRec rec;
    QString raumName;
};

// Ok, Belegt or Fehler, and on Ok the bookings that stay archived.
struct ArchivErgebnis : Ergebnis {
    QVector<ImArchiv> geblieben;
};

// Archives exactly the bookings that end before the day of `datum`. Bookings archived before
// that end on or after it come back, each only where its slot is free (in its room, beside the
// other bookings and those coming back with it, the earliest first); the rest stay archived.
ArchivErgebnis Archivieren(const QString& connection, double datum, double toleranz);
// Brings back the archived bookings that start after the day of `datum`, the same way.
ArchivErgebnis Wiederherstellen(const QString& connection, double datum, double toleranz);

// --- for the forms ------------------------------------------------------------------------------

// What the user reads when a booking is in the way: room, date, time and orderer.
QString KonfliktMeldung(const Ergebnis& e);
// When a booking takes place: "am <date> von <time> bis <time>", or with both dates when it
// spans several days.
QString Wann(const CBelegungRec& b);
// What the user reads when the database is held by another workstation.
QString BelegtMeldung();
// What the user reads when an order number is carried by a booking already.
QString NummerVergebenMeldung(int32_t nummer);

// Runs `schritt` until it is done and tells the user about everything else: a taken order
// number is reported and `nummerErfragen` asked for another one (below 0 = cancel the save);
// a busy database offers "Wiederholen" and "Abbrechen"; a lost connection is reported (whether
// a commit whose answer was lost went through is not known, so it is not simply repeated); a
// conflict (unless `konfliktMelden` is
// false) and a database error are shown. True when the step succeeded; `ergebnis` receives the
// last result.
bool Ausfuehren(const std::function<Ergebnis(std::optional<int32_t> wunschNr)>& schritt,
                const std::function<int32_t(int32_t vergeben)>& nummerErfragen,
                Ergebnis* ergebnis = nullptr, bool konfliktMelden = true);

} // namespace SchreibPfad

#pragma once

#include "RecColl.h"
#include "Records.h"
#include "ReservationQueries.h"

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

// Shared routines of the reservation form: the conflict rule, the room tests, order numbers,
// saving and deleting bookings. They work on the open project (gRvDb, gDb, gdToleranz).
namespace R_Main {

// A span of a room's use: dates are whole day numbers, times fractions of a day.
struct Zeitspanne {
    double startDatum = 0.0;
    double startZeit = 0.0;
    double endDatum = 0.0;
    double endZeit = 0.0;
};

// The one conflict rule: true when the new span and a stored span may share the room, with
// `toleranz` (days) as the least gap between two bookings on the same day.
bool KeinKonflikt(const Zeitspanne& neu, const Zeitspanne& belegt, double toleranz);

// The span a booking occupies: from the set-up start (or its start) to the clear-down end
// (or its end).
Zeitspanne BelegteSpanne(const CBelegungRec& rec);

// The span of a stored booking as the room test reads it: set-up start and clear-down end when
// the booking has them, each with its time (00:00 when null), else its own start and end.
Zeitspanne SpanneImRaumtest(const ReservationQueries::BelegungsZeile& zeile);
// The same as the free-room search reads it: each date and each time chosen on its own; a
// set-up or clear-down time of 00:00 counts as none.
Zeitspanne SpanneInSuche(const ReservationQueries::BelegungsZeile& zeile);

// True when `rec` fits into the room beside its other bookings not archived (itself excluded).
// A database error is reported under "R_Main.IsFreeRoom" and counts as a conflict.
bool IsFreeRoom(int32_t lRaumId, const CBelegungRec& rec);

// What the free-room search asks for.
struct FreiAnfrage {
    Zeitspanne spanne;                              // without series: the requested span
    const QVector<double>* serienTermine = nullptr; // with series: the occurrence dates
    double serienZeitVon = 0.0;                     // with series: times of every occurrence
    double serienZeitBis = 0.0;
    const CBelegungRecColl* auftrag = nullptr; // a whole order shown on the form
};
struct FreierRaum {
    int32_t az_ID = 0;
    QString Kurzbez;
};
// The rooms of a type (0 = all) that are free for the request, by name; `bNichtAlle` tells that
// at least one room is taken. The booking `lRecId` (0 = none) is left out. An order on the form
// is tested booking by booking, each with its own times, and its own rows are left out; else a
// series date by date with the series' times; else the span. Every comparison is KeinKonflikt
// with gdToleranz. False (and a message under "R_Main.Free") on a database error.
bool Free(const FreiAnfrage& anfrage, int32_t lRecId, int32_t lRaumartId, QVector<FreierRaum>& frei,
          bool& bNichtAlle);

// Order numbers.
int32_t GetNextAuftragNr();
bool SetNextAuftragNr(int32_t nummer);
bool ExistsAuftragNr(int32_t nummer);

// Asks the user for an order number: shows frmNextNr modally with `vorschlag` in its field
// (an empty field when below 0) and returns the confirmed number, -1 when cancelled. Tests
// replace it with a scripted answer.
extern std::function<int32_t(int32_t vorschlag)> gNextNrDialog;

// The command "&Auftragnummer": offers the next order number for change and stores the
// confirmed one as the counter; a cancel changes nothing.
void AuftragNrSetzen();

// Saves one booking: an existing one is updated; a new one draws an order number, is added,
// and the counter moves on. False (with the database's message shown) when writing failed.
bool SpeichereBelegung(CBelegungRec& rec);
// Deletes one booking, or every booking of an order.
bool LoescheBelegung(int32_t recId);
bool LoescheAuftrag(int32_t lAuftrNr);

// The bookings of a room, archived ones included, that start after the 15th day before the
// reference date and end before the 15th day after it, by start.
bool ReadHistorie(int32_t raumId, double referenzDatum, QVector<CBelegungRec>& out);
// The id of the room with that name, 0 when there is none.
int32_t RaumIdByName(const QString& kurzbez);

} // namespace R_Main

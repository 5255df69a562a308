#pragma once

#include "KonfliktSuche.h"
#include "RecColl.h"
#include "Records.h"
#include "ReservationQueries.h"
#include "SchreibPfad.h"

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

// Shared routines of the reservation form: the conflict rule, the room tests, order numbers,
// saving and deleting bookings. They work on the open project (gRvDb, gDb, gdToleranz).
namespace R_Main {

// The conflict rule and the spans live with the write path in the store; these names stay for
// the form and the control.
using Konflikt::BelegteSpanne;
using Konflikt::KeinKonflikt;
using Konflikt::SpanneImRaumtest;
using Konflikt::SpanneInSuche;
using Konflikt::Zeitspanne;

// True when `rec` fits into the room beside its other bookings, archived ones too (itself
// excluded). A database error is reported under "R_Main.IsFreeRoom" and counts as a conflict.
bool IsFreeRoom(int32_t lRaumId, const CBelegungRec& rec);
// The room test for several dates at once, each in its own room, none against the bookings in
// `ausser`: `konflikt` receives the index of the first date that conflicts, -1 when all are
// free. A database error is reported under "R_Main.IsFreeRoom" and counts as a conflict of the
// first date.
bool SindFrei(const QVector<Konflikt::Termin>& termine, const QSet<int32_t>& ausser, int& konflikt);

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

// Order numbers. GetNextAuftragNr offers the dialog while the counter's number is taken and
// ends with -1 when the user cancels it; a number counts as free only when the read succeeded.
int32_t GetNextAuftragNr();
bool SetNextAuftragNr(int32_t nummer);
// True when a booking carries the number, or when that cannot be read.
bool ExistsAuftragNr(int32_t nummer);

// Asks the user for an order number: shows frmNextNr modally with `vorschlag` in its field
// and returns the confirmed number, -1 when cancelled. Tests replace it with a scripted answer.
extern std::function<int32_t(int32_t vorschlag)> gNextNrDialog;

// The command "&Auftragnummer": offers the next order number for change and stores the
// confirmed one as the counter; a cancel changes nothing.
void AuftragNrSetzen();

// All writes go through the write path (SchreibPfad) on the connection of gRvDb, with
// gdToleranz; the user is told about conflicts, a busy database and errors, and a taken order
// number is asked for again with gNextNrDialog. Each returns true when everything was stored.

// Saves one booking: an existing one is updated; a new one becomes an order of its own and
// receives its key and number.
bool SpeichereBelegung(CBelegungRec& rec);
// A new order of several bookings, each in its own room, under one new number.
bool SpeichereAuftrag(QVector<CBelegungRec>& buchungen);
// Moves bookings in rooms and time, all or nothing. A conflict is reported only with
// `konfliktMelden` (a dragged bar is put back instead); `vorher` receives the bookings as they
// were stored, `ergebnis` the outcome of the write.
bool VerlegeBelegungen(const QVector<SchreibPfad::Verlegung>& verlegungen, bool konfliktMelden,
                       QVector<CBelegungRec>* vorher = nullptr,
                       SchreibPfad::Ergebnis* ergebnis = nullptr);
// Deletes one booking, or every booking of an order.
bool LoescheBelegung(int32_t recId);
bool LoescheAuftrag(int32_t lAuftrNr);
// The connection every write goes through.
QString SchreibVerbindung();

// The bookings of a room, archived ones included, that start after the 15th day before the
// reference date and end before the 15th day after it, by start.
bool ReadHistorie(int32_t raumId, double referenzDatum, QVector<CBelegungRec>& out);
// The id of the room with that name, 0 when there is none.
int32_t RaumIdByName(const QString& kurzbez);

} // namespace R_Main

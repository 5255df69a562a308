#pragma once

#include "Records.h"

#include <QString>
#include <QVector>
#include <optional>

// The reads and writes of the reservation form's shared routines (room tests, order numbers,
// deletes, equipment history), on the direct connection (gDb). Each returns false and fills
// `error` with the driver's text when the database fails.
namespace ReservationQueries {

// The columns of a stored booking that decide which span it occupies. The set-up and clear-down
// columns keep their nulls: the room test and the free-room search read them differently.
struct BelegungsZeile {
    int32_t Rec_ID = 0;
    double dt_von = 0, tm_von = 0, dt_bis = 0, tm_bis = 0;
    std::optional<double> Udt_von, Utm_von, Rdt_bis, Rtm_bis;

    template <class V> void visitFields(V&& v) {
        v("Rec_ID", Rec_ID, NullRule::Empty);
        v("dt_von", dt_von, NullRule::Empty);
        v("tm_von", tm_von, NullRule::Empty);
        v("dt_bis", dt_bis, NullRule::Empty);
        v("tm_bis", tm_bis, NullRule::Empty);
        v("Udt_von", Udt_von, NullRule::Empty);
        v("Utm_von", Utm_von, NullRule::Empty);
        v("Rdt_bis", Rdt_bis, NullRule::Empty);
        v("Rtm_bis", Rtm_bis, NullRule::Empty);
    }
};

// A stored booking with what the series check shows of it.
struct BelegungMitRaum {
    BelegungsZeile zeile;
    int32_t rb_id = 0;
    int32_t lAuftrNr = 0;
    QString Best;

    template <class V> void visitFields(V&& v) {
        zeile.visitFields(v);
        v("rb_id", rb_id, NullRule::Empty);
        v("lAuftrNr", lAuftrNr, NullRule::Empty);
        v("Best", Best, NullRule::Empty);
    }
};
// Every booking taking part in the room tests (Konflikt::TeilnahmeSql) in the rooms of a type (0 =
// all rooms) or in room `auchRaumId` whose occupied span, set-up and clear-down included, touches
// the days `vonTag` to `bisTag`.
bool ReadBelegungenImZeitraum(const QString& connection, int32_t raumartId, int32_t auchRaumId,
                              double vonTag, double bisTag, QVector<BelegungMitRaum>& out,
                              QString* error);

// Which rooms ReadRaeume lists, and in which order.
struct RaumAuswahl {
    enum class Folge { Name, ArtUndName, Id };
    int32_t raumartId = 0;                 // rooms of this type; 0: of every type
    const QVector<int32_t>* ids = nullptr; // only these rooms; null: no limit
    Folge folge = Folge::Name;             // names compared without regard to case
    // RArt holds the name of the room's type, and rooms of a type that does not exist are left
    // out; always so when ordered by type.
    bool mitArt = false;
};
// The one reader of rooms: every list of rooms in the program comes from here.
bool ReadRaeume(const QString& connection, const RaumAuswahl& auswahl, QVector<CAnzeigeRec>& out,
                QString* error);

// How many bookings not archived end on a day from `abTag` up to the day before `vorTag`.
bool ZaehleEndendeBelegungen(const QString& connection, double abTag, double vorTag, int& anzahl,
                             QString* error);

// The counter of order numbers: `vorhanden` is false when the table has no row.
bool ReadNextNr(const QString& connection, bool& vorhanden, int32_t& nummer, QString* error);
// Whether a booking (archived or not) carries the order number.
bool AuftragNrVergeben(const QString& connection, int32_t nummer, bool& vergeben, QString* error);
// Stores the counter in its first row, creating the row when the table is empty.
bool WriteNextNr(const QString& connection, int32_t nummer, QString* error);

// The bookings of a room that start after `nachTag` and end before `vorTag` (whole days), by
// start; only Rec_ID, lAuftrNr, rb_id, dates and times, Best, Verst, Bem, Aust and Austbem are
// filled, the other fields keep the values of a new record.
bool ReadHistorie(const QString& connection, int32_t raumId, double nachTag, double vorTag,
                  QVector<CBelegungRec>& out, QString* error);

// The id of the room with that short name (letter case ignored); 0 when there is none.
bool ReadRaumIdByName(const QString& connection, const QString& kurzbez, int32_t& raumId,
                      QString* error);

} // namespace ReservationQueries

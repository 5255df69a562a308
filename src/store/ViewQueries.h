#pragma once

#include "Records.h"

class Dialekt;

#include <QString>
#include <QVector>
#include <functional>

// The reads and the one write behind the occupancy views, on the direct connection (gDb).
// Each returns false and fills `error` with the driver's text when the database fails.
namespace ViewQueries {

// The fields of a booking that the time plan draws.
struct BelegungBalken {
    int32_t Rec_ID = 0;
    int32_t rb_id = 0;
    int rang = 0; // the room's place when the rooms are ordered by name
    QString Best, Verst, STEMAIL;
    double dt_von = 0, tm_von = 0, dt_bis = 0, tm_bis = 0;
    double Udt_von = 0, Utm_von = 0, Udt_bis = 0, Utm_bis = 0;
    double Rdt_von = 0, Rtm_von = 0, Rdt_bis = 0, Rtm_bis = 0;
};

// Days [von, bis) to read; an empty span (von >= bis) means no date limit.
struct Zeitfenster {
    double von = 0, bis = 0;
    bool begrenzt() const { return von < bis; }
};

// The statement behind ForEachBalken: one bound room-type id when `eineRaumart`, then the two
// limits of the span when `begrenzt`.
QString BalkenSql(const Dialekt& dialekt, bool eineRaumart, bool begrenzt = false);
// Every booking not archived of the rooms of a type (0 = all types), in no particular order (the
// caller orders what it keeps, which spares moving whole rows). With a span, only the bookings one
// of whose bars (set-up, the booking, clear-down) reaches into it, as long as the time fields hold
// a time of day (0 <= time < 1, which is how the bars use them). The callback sees one booking at a
// time and may return false to stop; `weiter` is asked every few hundred rows while they are read,
// false stops the reading.
bool ForEachBalken(const QString& connection, int32_t raumartId,
                   const std::function<bool(const BelegungBalken&)>& callback, QString* error,
                   const Zeitfenster& fenster = {}, const std::function<bool()>& weiter = {});

// The bookings not archived of one room that cover the day, by start time.
bool ReadBelegungenAmTag(const QString& connection, int32_t raumId, double tag,
                         QVector<CBelegungRec>& out, QString* error);

} // namespace ViewQueries

#pragma once

#include "KonfliktRegel.h"

#include <QSet>
#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

// The room tests as queries over sets: all dates of a check go into the database in one
// statement, one query joins them with the bookings of the rooms in question within the dates,
// and every candidate it returns is decided by KeinKonflikt.
namespace Konflikt {

// One date to test: a span in a room (the free-room search ignores the room).
struct Termin {
    int32_t raum = 0;
    Zeitspanne spanne;
};

// Which reading of a stored booking's span applies (see SpanneImRaumtest, SpanneInSuche).
enum class Lesart { Raumtest, Suche };

// A stored booking that conflicts with the date `termin` (index into the dates given).
struct Treffer {
    int termin = 0;
    int32_t raum = 0;
    int32_t lAuftrNr = 0;
    ReservationQueries::BelegungsZeile zeile;
};

// Calls `treffer` for every stored booking (archived ones too) not among `ausser` that conflicts
// with a date in that date's room, by date; `treffer` may return false to stop. False with the
// driver's text in `error` when the database fails.
bool Konflikte(const QString& connection, const QVector<Termin>& termine,
               const QSet<int32_t>& ausser, double toleranz, Lesart lesart,
               const std::function<bool(const Treffer&)>& treffer, QString* error);

// The rooms of a type (0 = every room) in which at least one of the spans conflicts with a
// stored booking (archived ones too) not among `ausser`, read as the free-room search reads them.
bool BelegteRaeume(const QString& connection, int32_t raumartId, const QVector<Zeitspanne>& spannen,
                   const QSet<int32_t>& ausser, double toleranz, QSet<int32_t>& belegt,
                   QString* error);

// The condition, appended to a WHERE clause over T_fm_belegung as "b", that leaves out the
// bookings that do not take part in the room tests (empty: archived ones take part too).
QString TeilnahmeSql();

// The first and the last day a stored booking occupies, as SQL expressions over the columns of
// T_fm_belegung (set-up start or start, clear-down end or end).
QString BelegtAbSql();
QString BelegtBisSql();

} // namespace Konflikt

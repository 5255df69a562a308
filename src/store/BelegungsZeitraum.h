#pragma once

#include <QString>

class Dialekt;

// The one way to read the bookings that touch a period: by room, through the date-range index,
// bounded on both sides. The bookings are read for each room and class (Dialekt::JeZeile) and
// no other index matches room, class and day together, so the plan holds whatever statistics
// the planner has.
//
// Every booking spans the days from the first to the last date any of its parts carries (set-up,
// the booking, clear-down). The index keys a booking by room, by the class of that span's length
// and by its last and first day. Within a class the length is below a known limit, so the
// bookings touching [von, bis] end between von and bis + limit: one range per room and class.
//
//   "SELECT ... FROM T_rb_Anzeige a CROSS JOIN " +
//   BelegungsZeitraum::Quelle(dialekt, QStringLiteral("a.az_ID")) + " WHERE ..."
//
// binds von, bis, bis (day numbers) at the place of Quelle. The table alias is b; the rows
// may still need the exact test of the caller (the span is wider than each part of it).
namespace BelegungsZeitraum {

// Name and columns of the index, as CRvDb creates it.
QString IndexName();
QString IndexSpalten(const Dialekt& d);

// The length classes joined to the bookings of the room `raum` (an SQL expression of the row
// source before, or a placeholder) through the index, in the period of three placeholders:
// von, bis, bis. Follows the row source of rooms in a FROM clause, or starts it.
QString Quelle(const Dialekt& d, const QString& raum);

} // namespace BelegungsZeitraum

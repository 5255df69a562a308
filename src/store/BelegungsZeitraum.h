#pragma once

#include <QString>

class Dialekt;

// The one way to read the bookings that touch a period: by room, through the date-range index,
// bounded on both sides. The joins keep their order (CROSS JOIN) and no other index matches
// room, class and day together, so the plan holds whatever statistics the planner has.
//
// Every booking spans the days from the first to the last date any of its parts carries (set-up,
// the booking, clear-down). The index keys a booking by room, by the class of that span's length
// and by its last and first day. Within a class the length is below a known limit, so the
// bookings touching [von, bis] end between von and bis + limit: one range per room and class.
//
//   "SELECT ... FROM T_rb_Anzeige a CROSS JOIN " + BelegungsZeitraum::Quelle() +
//   " WHERE " + BelegungsZeitraum::Bedingung(dialekt, QStringLiteral("a.az_ID")) + " AND ..."
//
// binds von, bis, bis (day numbers) at the place of Bedingung. The table alias is b; the rows
// may still need the exact test of the caller (the span is wider than each part of it).
namespace BelegungsZeitraum {

// Name and columns of the index, as CRvDb creates it.
QString IndexName();
QString IndexSpalten(const Dialekt& d);

// The length classes joined to the booking table through the index; follows a row source of
// rooms in a FROM clause.
QString Quelle();
// The room `raum` (an SQL expression of the row source before), then the period: three
// placeholders, von, bis, bis.
QString Bedingung(const Dialekt& d, const QString& raum);

} // namespace BelegungsZeitraum

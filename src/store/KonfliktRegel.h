#pragma once

#include "Records.h"
#include "ReservationQueries.h"

// When two bookings of one room get in each other's way. Every test of a room (the form's
// checks, the free-room search, moving a bar, the re-check before writing) decides with
// KeinKonflikt and builds the spans with the functions below.
namespace Konflikt {

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

// A span from dates and times that may carry the other part as well.
Zeitspanne Spanne(double startDatum, double startZeit, double endDatum, double endZeit);

// The span a booking occupies: from the set-up start (or its start) to the clear-down end
// (or its end).
Zeitspanne BelegteSpanne(const CBelegungRec& rec);

// The span of a stored booking as the room test reads it: set-up start and clear-down end when
// the booking has them, each with its time (00:00 when null), else its own start and end.
Zeitspanne SpanneImRaumtest(const ReservationQueries::BelegungsZeile& zeile);
// The same as the free-room search reads it: each date and each time chosen on its own; a
// set-up or clear-down time of 00:00 counts as none.
Zeitspanne SpanneInSuche(const ReservationQueries::BelegungsZeile& zeile);

} // namespace Konflikt

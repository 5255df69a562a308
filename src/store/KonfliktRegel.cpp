#include "KonfliktRegel.h"

#include "TovoDate.h"

#include <cmath>

namespace Konflikt {

namespace RQ = ReservationQueries;

namespace {

int64_t Tag(double datum) {
    return static_cast<int64_t>(std::trunc(datum));
}

// Whole seconds since midnight of a time value; a date part it may carry does not count.
// Comparing whole seconds keeps 09:45 + 15 minutes equal to 10:00 despite rounding.
int64_t Sekunden(double zeit) {
    return std::llround(std::fabs(zeit - std::trunc(zeit)) * 86400.0);
}

bool KeinDatum(const std::optional<double>& datum) {
    return !datum || IsNoDate(*datum);
}

bool KeineZeit(const std::optional<double>& zeit) {
    return !zeit || Sekunden(*zeit) == 0;
}

} // namespace

Zeitspanne Spanne(double startDatum, double startZeit, double endDatum, double endZeit) {
    return {TovoDate(startDatum).datePart().value(), TovoDate(startZeit).timePart().value(),
            TovoDate(endDatum).datePart().value(), TovoDate(endZeit).timePart().value()};
}

bool KeinKonflikt(const Zeitspanne& neu, const Zeitspanne& belegt, double toleranz) {
    const int64_t sd = Tag(neu.startDatum);
    const int64_t ed = Tag(neu.endDatum);
    const int64_t rsd = Tag(belegt.startDatum);
    const int64_t red = Tag(belegt.endDatum);
    if (ed < rsd || sd > red)
        return true;

    // The spans meet on a day: the times of day decide, with the tolerance as the least gap.
    const int64_t tol = std::llround(toleranz * 86400.0);
    const bool belegtEndetVorher = Sekunden(belegt.endZeit) + tol <= Sekunden(neu.startZeit);
    const bool neuEndetVorher = Sekunden(neu.endZeit) + tol <= Sekunden(belegt.startZeit);
    if (ed == rsd && red == sd) // both on one and the same day
        return belegtEndetVorher || neuEndetVorher;
    if (red == sd)
        return belegtEndetVorher;
    if (ed == rsd)
        return neuEndetVorher;
    return false; // the spans share a whole day
}

Zeitspanne BelegteSpanne(const CBelegungRec& rec) {
    Zeitspanne s;
    if (!IsNoDate(rec.Udt_von))
        s = Spanne(rec.Udt_von, rec.Utm_von, 0, 0);
    else
        s = Spanne(rec.dt_von, rec.tm_von, 0, 0);
    const Zeitspanne ende = !IsNoDate(rec.Rdt_bis) ? Spanne(0, 0, rec.Rdt_bis, rec.Rtm_bis)
                                                   : Spanne(0, 0, rec.dt_bis, rec.tm_bis);
    s.endDatum = ende.endDatum;
    s.endZeit = ende.endZeit;
    return s;
}

// A null set-up date (or clear-down date) is taken as "no set-up" (no clear-down), the same as
// 31.12.9999: the booking's own start (end) counts. Read as a start on 31.12.9999 it would hide
// the booking from every test. This system never writes such rows, other tools might.
Zeitspanne SpanneImRaumtest(const RQ::BelegungsZeile& z) {
    Zeitspanne s = KeinDatum(z.Udt_von) ? Spanne(z.dt_von, z.tm_von, 0, 0)
                                        : Spanne(*z.Udt_von, z.Utm_von.value_or(0.0), 0, 0);
    const Zeitspanne ende = KeinDatum(z.Rdt_bis)
                                ? Spanne(0, 0, z.dt_bis, z.tm_bis)
                                : Spanne(0, 0, *z.Rdt_bis, z.Rtm_bis.value_or(0.0));
    s.endDatum = ende.endDatum;
    s.endZeit = ende.endZeit;
    return s;
}

// A time is "none" when null or 00:00 as a time of day (a time field holding 31.12.9999 counts
// as 00:00 too).
Zeitspanne SpanneInSuche(const RQ::BelegungsZeile& z) {
    return Spanne(
        KeinDatum(z.Udt_von) ? z.dt_von : *z.Udt_von, KeineZeit(z.Utm_von) ? z.tm_von : *z.Utm_von,
        KeinDatum(z.Rdt_bis) ? z.dt_bis : *z.Rdt_bis, KeineZeit(z.Rtm_bis) ? z.tm_bis : *z.Rtm_bis);
}

} // namespace Konflikt

#include "ZeitPlanLesen.h"

#include "TovoDate.h"

#include <cmath>

namespace ZeitPlanLesen {
namespace {

double uhrzeit(double t) {
    return t - std::floor(t);
}

// Set-up and clear-down dates outside the calendar count as none.
bool hatDatum(double d) {
    return d >= TovoDate::kMinDay && !IsNoDate(d) && d < TovoDate::kNoDate;
}

QString balkenText(const ViewQueries::BelegungBalken& b) {
    return b.Best.trimmed() + QLatin1Char('/') + b.Verst.trimmed() + QLatin1Char('/') +
           b.STEMAIL.trimmed();
}

} // namespace

void Balken(const ViewQueries::BelegungBalken& b, ZeitPlanTerminListe& out) {
    ZeitPlanTermin t;
    t.lId = b.Rec_ID;
    t.lStammId = b.rb_id;
    t.stName = balkenText(b);
    const double beginn = b.dt_von + uhrzeit(b.tm_von);
    const double ende = b.dt_bis + uhrzeit(b.tm_bis);
    if (hatDatum(b.Udt_von)) {
        t.lFarbe = kFarbeUmbau;
        t.DtVon = b.Udt_von + uhrzeit(b.Utm_von);
        t.DtBis = hatDatum(b.Udt_bis) ? b.Udt_bis + uhrzeit(b.Utm_bis) : beginn;
        out.append(t);
    }
    t.lFarbe = kFarbeBelegung;
    t.DtVon = beginn;
    t.DtBis = ende;
    out.append(t);
    if (hatDatum(b.Rdt_bis)) {
        t.lFarbe = kFarbeUmbau;
        t.DtVon = hatDatum(b.Rdt_von) ? b.Rdt_von + uhrzeit(b.Rtm_von) : ende;
        t.DtBis = b.Rdt_bis + uhrzeit(b.Rtm_bis);
        out.append(t);
    }
}

bool LeseTermine(const QString& connection, int32_t raumartId,
                 const ViewQueries::Zeitfenster& fenster, ZeitPlanTerminListe& out, QString* error,
                 const std::function<bool()>& zwischendurch) {
    out.clear();
    bool weiter = true;
    const bool ok = ViewQueries::ForEachBalken(
        connection, raumartId,
        [&](const ViewQueries::BelegungBalken& b) {
            Balken(b, out);
            return true;
        },
        error, fenster,
        [&] {
            weiter = !zwischendurch || zwischendurch();
            return weiter;
        });
    return ok && weiter;
}

ViewQueries::Zeitfenster FensterFuer(double von, double bis) {
    const double laenge = std::max(1.0, bis - von);
    return {std::floor(von - laenge), std::ceil(bis + laenge)};
}

bool Deckt(const ViewQueries::Zeitfenster& gelesen, double von, double bis) {
    return gelesen.begrenzt() && von >= gelesen.von && bis <= gelesen.bis;
}

} // namespace ZeitPlanLesen

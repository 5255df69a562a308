#include "ZeitPlanLesen.h"

#include "TovoDate.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

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

bool ReadTermine(const QString& connection, int32_t raumartId,
                 const ViewQueries::Zeitfenster& fenster, ZeitPlanTerminListe& out, QString* error,
                 const std::function<bool()>& zwischendurch) {
    out.clear();
    // The bars are made as the rows come, so that no booking is kept beside its bars, and are
    // then ordered by room name, start and id.
    struct Buchung {
        int rang;
        double start;
        int32_t id;
        qsizetype ersterBalken;
    };
    std::vector<Buchung> buchungen;
    bool weiter = true;
    const bool ok = ViewQueries::ForEachBalken(
        connection, raumartId,
        [&](const ViewQueries::BelegungBalken& b) {
            buchungen.push_back({b.rang, b.dt_von, b.Rec_ID, out.size()});
            Balken(b, out);
            return true;
        },
        error, fenster,
        [&] {
            weiter = !zwischendurch || zwischendurch();
            return weiter;
        });
    if (!ok || !weiter)
        return false;

    std::vector<uint32_t> folge(buchungen.size());
    std::iota(folge.begin(), folge.end(), 0u);
    std::sort(folge.begin(), folge.end(), [&](uint32_t i, uint32_t j) {
        const Buchung &x = buchungen[i], &y = buchungen[j];
        return x.rang != y.rang     ? x.rang < y.rang
               : x.start != y.start ? x.start < y.start
                                    : x.id < y.id;
    });
    // Where each bar goes, then the bars swapped into place along the cycles of that order.
    std::vector<qsizetype> ziel(static_cast<size_t>(out.size()));
    qsizetype platz = 0;
    for (const uint32_t i : folge) {
        const qsizetype ende =
            i + 1 < buchungen.size() ? buchungen[i + 1].ersterBalken : out.size();
        for (qsizetype t = buchungen[i].ersterBalken; t < ende; ++t)
            ziel[static_cast<size_t>(t)] = platz++;
    }
    for (qsizetype i = 0; i < out.size(); ++i) {
        while (ziel[static_cast<size_t>(i)] != i) {
            const qsizetype j = ziel[static_cast<size_t>(i)];
            std::swap(out[i], out[j]);
            std::swap(ziel[static_cast<size_t>(i)], ziel[static_cast<size_t>(j)]);
        }
    }
    return true;
}

ViewQueries::Zeitfenster FensterFuer(double von, double bis) {
    const double laenge = std::max(1.0, bis - von);
    return {std::floor(von - laenge), std::ceil(bis + laenge)};
}

bool Deckt(const ViewQueries::Zeitfenster& gelesen, double von, double bis) {
    return gelesen.begrenzt() && von >= gelesen.von && bis <= gelesen.bis;
}

} // namespace ZeitPlanLesen

#include "ZeitPlanKonflikte.h"

#include "R_Main.h"
#include "TovoDate.h"

#include <QHash>
#include <algorithm>
#include <limits>

namespace ZeitPlanKonflikte {

namespace {
R_Main::Zeitspanne Spanne(const Belegung& b) {
    const TovoDate von(b.von), bis(b.bis);
    return {von.datePart().value(), von.timePart().value(), bis.datePart().value(),
            bis.timePart().value()};
}

// A later booking can clash only if it starts before the earlier one ends plus the tolerance.
bool KannUeberschneiden(const Belegung& frueher, const Belegung& spaeter, double toleranz) {
    return spaeter.von < frueher.bis + std::max(0.0, toleranz) + 1.0 / 86400.0;
}
} // namespace

QVector<Belegung> Belegungen(const ZeitPlanTerminListe& termine) {
    QVector<Belegung> out;
    QHash<int64_t, int> index;
    for (int i = 0; i < termine.size(); ++i) {
        const ZeitPlanTermin& t = termine[i];
        auto it = index.find(t.lId);
        if (it == index.end()) {
            index.insert(t.lId, static_cast<int>(out.size()));
            out.append({t.lId, t.lStammId, t.DtVon, t.DtBis, t.lFarbe == kFarbeBelegung ? i : -1});
            continue;
        }
        Belegung& b = out[*it];
        b.von = std::min(b.von, t.DtVon);
        b.bis = std::max(b.bis, t.DtBis);
        if (t.lFarbe == kFarbeBelegung || b.balken < 0)
            b.balken = i;
    }
    std::sort(out.begin(), out.end(), [](const Belegung& a, const Belegung& b) {
        return a.raumId != b.raumId ? a.raumId < b.raumId : a.von < b.von;
    });
    return out;
}

bool Ueberschneiden(const Belegung& a, const Belegung& b, double toleranz) {
    return !R_Main::KeinKonflikt(Spanne(a), Spanne(b), toleranz);
}

QVector<Paar> Paare(const ZeitPlanTerminListe& termine, double von, double bis, double toleranz) {
    const QVector<Belegung> belegungen = Belegungen(termine);
    QVector<Paar> out;
    for (int i = 0; i < belegungen.size(); ++i) {
        const Belegung& a = belegungen[i];
        for (int j = i + 1; j < belegungen.size(); ++j) {
            const Belegung& b = belegungen[j];
            if (b.raumId != a.raumId || !KannUeberschneiden(a, b, toleranz))
                break;
            if (std::max(a.von, b.von) >= bis || std::min(a.bis, b.bis) <= von)
                continue;
            if (Ueberschneiden(a, b, toleranz))
                out.append({a, b});
        }
    }
    return out;
}

} // namespace ZeitPlanKonflikte

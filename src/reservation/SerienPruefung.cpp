#include "SerienPruefung.h"

#include "Feiertage.h"
#include "R_Main.h"
#include "ReservationQueries.h"
#include "RvGlobals.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cmath>

namespace SerienPruefung {

namespace RQ = ReservationQueries;

namespace {

QString Uhrzeit(double zeit) {
    return TovoDate(zeit).format(QStringLiteral("hh:mm"));
}

int64_t TagNr(double datum) {
    return static_cast<int64_t>(std::floor(datum));
}

// The bookings read for a range of days, by room, each indexed by the days its span covers
// within the range.
class Belegungsplan {
public:
    Belegungsplan(const QVector<RQ::BelegungMitRaum>& zeilen, double ersterTag, double letzterTag,
                  double toleranz)
        : m_toleranz(toleranz) {
        for (const RQ::BelegungMitRaum& z : zeilen) {
            Raum& r = m_raeume[z.rb_id];
            const R_Main::Zeitspanne s = R_Main::SpanneImRaumtest(z.zeile);
            const int index = r.zeilen.size();
            r.zeilen.append(z);
            r.spannen.append(s);
            const int64_t von = std::max(TagNr(s.startDatum), TagNr(ersterTag));
            const int64_t bis = std::min(TagNr(s.endDatum), TagNr(letzterTag));
            for (int64_t tag = von; tag <= bis; ++tag)
                r.proTag[tag].append(index);
        }
    }

    // The first booking of the room in the way of a one-day span, or null.
    const RQ::BelegungMitRaum* Konflikt(int32_t raumId, const R_Main::Zeitspanne& neu) const {
        const auto it = m_raeume.constFind(raumId);
        if (it == m_raeume.constEnd())
            return nullptr;
        const auto tagIt = it->proTag.constFind(TagNr(neu.startDatum));
        if (tagIt == it->proTag.constEnd())
            return nullptr;
        for (const int i : *tagIt)
            if (!R_Main::KeinKonflikt(neu, it->spannen[i], m_toleranz))
                return &it->zeilen[i];
        return nullptr;
    }

private:
    struct Raum {
        QVector<RQ::BelegungMitRaum> zeilen;
        QVector<R_Main::Zeitspanne> spannen;
        QHash<int64_t, QVector<int>> proTag;
    };
    QHash<int32_t, Raum> m_raeume;
    double m_toleranz;
};

} // namespace

int Ergebnis::AnzahlBelegt() const {
    return static_cast<int>(
        std::count_if(termine.begin(), termine.end(), [](const Termin& t) { return t.belegt; }));
}

int Ergebnis::AnzahlAusgelassen() const {
    return static_cast<int>(std::count_if(
        termine.begin(), termine.end(), [](const Termin& t) { return t.wahl == Wahl::Auslassen; }));
}

bool Pruefen(const Anfrage& anfrage, Ergebnis& ergebnis,
             const std::function<bool(int, int)>& fortschritt, QString* error) {
    ergebnis = Ergebnis();
    ergebnis.anfrage = anfrage;
    if (anfrage.termine.isEmpty())
        return true;

    QVector<CAnzeigeRec> raeume;
    if (!RQ::ReadRaeume(gDb, {.raumartId = anfrage.raumartId}, raeume, error))
        return false;
    QVector<int32_t> raumIds;
    for (const CAnzeigeRec& r : raeume) {
        ergebnis.raumNamen.insert(r.az_ID, r.Kurzbez);
        raumIds.append(r.az_ID);
    }
    if (!ergebnis.raumNamen.contains(anfrage.raumId)) {
        QVector<CAnzeigeRec> alle;
        if (!RQ::ReadRaeume(gDb, {}, alle, error))
            return false;
        for (const CAnzeigeRec& r : alle)
            if (r.az_ID == anfrage.raumId)
                ergebnis.raumNamen.insert(r.az_ID, r.Kurzbez);
    }

    const double ersterTag = anfrage.termine.first().datePart().value();
    const double letzterTag = anfrage.termine.last().datePart().value();
    QVector<RQ::BelegungMitRaum> zeilen;
    if (!RQ::ReadBelegungenImZeitraum(gDb, anfrage.raumartId, anfrage.raumId, ersterTag, letzterTag,
                                      zeilen, error))
        return false;

    const Belegungsplan plan(zeilen, ersterTag, letzterTag, anfrage.toleranz);

    const int anzahl = anfrage.termine.size();
    ergebnis.termine.reserve(anzahl);
    for (int n = 0; n < anzahl; ++n) {
        if (fortschritt && n % 256 == 0 && !fortschritt(n, anzahl))
            return false;
        Termin t;
        t.datum = anfrage.termine[n].datePart();
        t.feiertag = Feiertage::Name(t.datum, anfrage.land);
        const R_Main::Zeitspanne neu{t.datum.value(), anfrage.zeitVon, t.datum.value(),
                                     anfrage.zeitBis};
        if (const RQ::BelegungMitRaum* b = plan.Konflikt(anfrage.raumId, neu)) {
            t.belegt = true;
            t.belegtDurch =
                QStringLiteral("Auftrag %1 (%2, %3–%4)")
                    .arg(b->lAuftrNr)
                    .arg(b->Best.trimmed(), Uhrzeit(b->zeile.tm_von), Uhrzeit(b->zeile.tm_bis));
            for (const int32_t raumId : raumIds)
                if (raumId != anfrage.raumId && !plan.Konflikt(raumId, neu))
                    t.freieRaeume.append(raumId);
            t.wahl = Wahl::Auslassen;
        } else if (anfrage.feiertageAuslassen && !t.feiertag.isEmpty()) {
            t.wahl = Wahl::Auslassen;
        }
        ergebnis.termine.append(t);
    }
    if (fortschritt)
        fortschritt(anzahl, anzahl);
    return true;
}

QString StatusText(const Termin& t) {
    QString text =
        t.belegt ? QStringLiteral("belegt durch ") + t.belegtDurch : QStringLiteral("frei");
    if (!t.feiertag.isEmpty())
        text = t.belegt
                   ? QString(text + QStringLiteral("; Feiertag (") + t.feiertag + QLatin1Char(')'))
                   : QString(QStringLiteral("Feiertag (") + t.feiertag + QLatin1Char(')'));
    return text;
}

bool SetzeWahl(Termin& t, Wahl wahl, int32_t zielRaum) {
    switch (wahl) {
    case Wahl::Behalten:
        if (t.belegt)
            return false;
        zielRaum = 0;
        break;
    case Wahl::Verschieben:
        if (!t.freieRaeume.contains(zielRaum))
            return false;
        break;
    case Wahl::Auslassen:
        zielRaum = 0;
        break;
    }
    t.wahl = wahl;
    t.zielRaum = zielRaum;
    return true;
}

void AlleBelegtenAuslassen(Ergebnis& e) {
    for (Termin& t : e.termine)
        if (t.belegt)
            SetzeWahl(t, Wahl::Auslassen);
}

void AlleVerschieben(Ergebnis& e) {
    for (Termin& t : e.termine) {
        if (!t.belegt)
            continue;
        if (t.freieRaeume.isEmpty())
            SetzeWahl(t, Wahl::Auslassen);
        else if (t.wahl != Wahl::Verschieben)
            SetzeWahl(t, Wahl::Verschieben, t.freieRaeume.first());
    }
}

QVector<R_Main::SerienTermin> Auswahl(const Ergebnis& e) {
    QVector<R_Main::SerienTermin> out;
    for (const Termin& t : e.termine) {
        if (t.wahl == Wahl::Behalten)
            out.append({t.datum, e.anfrage.raumId});
        else if (t.wahl == Wahl::Verschieben)
            out.append({t.datum, t.zielRaum});
    }
    return out;
}

QString OhneText(const Ergebnis& e) {
    QStringList tage;
    for (const Termin& t : e.termine)
        if (t.wahl == Wahl::Auslassen)
            tage << t.datum.toShortDateText();
    return tage.isEmpty() ? QString() : QStringLiteral("ohne ") + tage.join(QStringLiteral(", "));
}

} // namespace SerienPruefung

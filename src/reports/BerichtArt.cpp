#include "BerichtArt.h"

const QVector<BerichtArt>& AlleBerichte() {
    using F = BerichtFamilie;
    using G = BerichtGruppe;
    static const QVector<BerichtArt> berichte = {
        {QStringLiteral("Repwo"), QStringLiteral("Belegungsübersicht"), F::Zeitraum, G::Datum,
         true},
        {QStringLiteral("Repmo"), QStringLiteral("Monats-/Jahresübersicht"), F::Monat, G::Raum,
         true},
        {QStringLiteral("Repko"), QStringLiteral("Kostenübersicht"), F::Kosten, G::Raum, true},
        {QStringLiteral("RepAusl"), QStringLiteral("Übersicht Auslastung"), F::Auslastung, G::Keine,
         false},
        {QStringLiteral("RepTaZ"), QStringLiteral("Tagesübersicht nach Zeit"), F::Tag, G::Keine,
         false},
        {QStringLiteral("RepTaR"), QStringLiteral("Tagesübersicht raumweise"), F::Tag, G::Raum,
         false},
        {QStringLiteral("RepTa"), QStringLiteral("Tagesübersicht nach Raumarten"), F::Tag,
         G::Raumart, false},
        {QStringLiteral("Repeb"), QStringLiteral("Bestelldaten"), F::Dokument, G::Keine, false},
        {QStringLiteral("Repra"), QStringLiteral("Rückantwort"), F::Dokument, G::Keine, false},
        {QStringLiteral("Rephs"), QStringLiteral("Hinweisschild"), F::Dokument, G::Keine, true},
        {QStringLiteral("Repum"), QStringLiteral("Umbau"), F::Dokument, G::Keine, false},
        {QStringLiteral("RepRechnung"), QStringLiteral("Rechnung"), F::Dokument, G::Keine, false},
    };
    return berichte;
}

const BerichtArt* FindeBericht(const QString& name) {
    QString n = name.trimmed();
    if (n.endsWith(QStringLiteral(".rpt"), Qt::CaseInsensitive))
        n.chop(4);
    for (const BerichtArt& b : AlleBerichte())
        if (b.name.compare(n, Qt::CaseInsensitive) == 0)
            return &b;
    return nullptr;
}

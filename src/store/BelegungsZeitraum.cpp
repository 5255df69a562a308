#include "BelegungsZeitraum.h"

#include "Dialekt.h"

#include <QStringList>

namespace BelegungsZeitraum {

namespace {

// Limits of the length classes in days: a booking whose span is shorter than kGrenzen[i] (and
// not shorter than the limit before) is of class i; the longest ones form the last class.
constexpr int kGrenzen[] = {2, 32, 366};

// The dates of a booking's parts over the columns with prefix `p`; an unused set-up or
// clear-down date (null or 31.12.9999) stands in for the booking's own start or end.
QString Daten(const QString& p) {
    const auto teil = [&](const char* spalte, const char* sonst) {
        return QStringLiteral("CASE WHEN %1%2 IS NULL OR (%1%2 >= 2958465 AND %1%2 < 2958466) "
                              "THEN %1%3 ELSE %1%2 END")
            .arg(p, QLatin1String(spalte), QLatin1String(sonst));
    };
    return QStringList{p + QStringLiteral("dt_von"), p + QStringLiteral("dt_bis"),
                       teil("Udt_von", "dt_von"),    teil("Udt_bis", "dt_von"),
                       teil("Rdt_von", "dt_bis"),    teil("Rdt_bis", "dt_bis")}
        .join(QStringLiteral(", "));
}

QString Erster(const Dialekt& d, const QString& p) {
    return d.Kleinster(Daten(p));
}
QString Letzter(const Dialekt& d, const QString& p) {
    return d.Groesster(Daten(p));
}

// The class: the number of limits the length reaches.
QString Klasse(const Dialekt& d, const QString& p) {
    const QString laenge = QStringLiteral("(%1 - %2)").arg(Letzter(d, p), Erster(d, p));
    return d.Stufe(laenge, QVector<int>(std::begin(kGrenzen), std::end(kGrenzen)));
}

const QString kAlias = QStringLiteral("b.");

} // namespace

QString IndexName() {
    return QStringLiteral("IX_belegung_zeitraum");
}

QString IndexSpalten(const Dialekt& d) {
    return QStringLiteral("T_fm_belegung (rb_id, (%1), (%2), (%3))")
        .arg(Klasse(d, QString()), Letzter(d, QString()), Erster(d, QString()));
}

QString Quelle(const Dialekt& d, const QString& raum) {
    // One row per class with its limit; the last class has none. The limits are of the type of
    // the day numbers, so that the server compares them with the index as they are.
    QStringList klassen;
    int nr = 0;
    for (const int grenze : kGrenzen)
        klassen << QStringLiteral("SELECT %1 AS klasse, CAST(%2 AS double precision) AS laenge")
                       .arg(nr++)
                       .arg(grenze);
    klassen << QStringLiteral("SELECT %1, CAST(1e300 AS double precision)").arg(nr);
    const QString bedingung =
        QStringLiteral("b.rb_id = %1 AND %2 = k.klasse AND %3 >= ? AND %3 <= ? + k.laenge AND "
                       "%4 <= ?")
            .arg(raum, Klasse(d, kAlias), Letzter(d, kAlias), Erster(d, kAlias));
    return QLatin1Char('(') + klassen.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(") k ") +
           d.JeZeile(QStringLiteral("T_fm_belegung"), QStringLiteral("b"), bedingung);
}

} // namespace BelegungsZeitraum

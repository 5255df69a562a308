#include "KonfliktSuche.h"

#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "SqlConnection.h"
#include "ZeilenAbbildung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace Konflikt {

namespace RQ = ReservationQueries;

namespace {

// Days added on each side when candidates are preselected by date: whole days are compared by
// the rule, so a candidate must never be lost to a fraction or a date before 1899.
constexpr double kRand = 2.0;
// Up to this many rooms are named in the conflict query itself.
constexpr qsizetype kRaeumeAlsWerte = 50;

QString KeinDatumSql(const char* spalte) {
    return QStringLiteral("%1 IS NULL OR (%1 >= 2958465 AND %1 < 2958466)")
        .arg(QLatin1String(spalte));
}

// Writes the dates and the excluded keys into the connection's temporary tables.
bool TermineSetzen(QSqlDatabase db, const QVector<Termin>& termine, const QSet<int32_t>& ausser,
                   QString* error) {
    const Dialekt& dialekt = Dialekt::Von(db);
    QSqlQuery q(db);
    for (const QString& sql : dialekt.TermineLeeren()) {
        if (!q.exec(sql))
            return SqlFehler(q, error);
    }

    // All dates in one statement, as one bound text that the database unpacks: a statement
    // with a placeholder per value would cost more to prepare than the whole test.
    QString liste;
    liste.reserve(termine.size() * 32 + 2);
    liste += QLatin1Char('[');
    for (const Termin& t : termine) {
        if (liste.size() > 1)
            liste += QLatin1Char(',');
        liste += QLatin1Char('[') + QString::number(t.raum) + QLatin1Char(',') +
                 QString::number(t.spanne.startDatum, 'g', 17) + QLatin1Char(',') +
                 QString::number(t.spanne.endDatum, 'g', 17) + QLatin1Char(']');
    }
    liste += QLatin1Char(']');
    if (!ExecBound(q, dialekt.TermineEinfuegen(), {liste}))
        return SqlFehler(q, error);
    if (ausser.isEmpty())
        return true;
    QStringList ids;
    for (const int32_t id : ausser)
        ids << QString::number(id);
    if (!ExecBound(q, dialekt.AusserEinfuegen(),
                   {QVariant(QLatin1Char('[') + ids.join(QLatin1Char(',')) + QLatin1Char(']'))}))
        return SqlFehler(q, error);
    return true;
}

// The candidates of the dates in the temporary table: stored bookings taking part and not
// excluded, of the rooms `raeume` (a row source r with the column raum), whose days come within
// reach of a date. The bookings are read by room and period, each date found by its first day.
bool Kandidaten(QSqlDatabase db, const QVector<Termin>& termine, const QString& raeume,
                const QString& terminRaum, const QVariantList& raeumeBinds,
                const std::function<bool(int, int32_t, int32_t, const RQ::BelegungsZeile&)>& zeile,
                QString* error) {
    if (termine.isEmpty())
        return true;
    double erster = termine.front().spanne.startDatum;
    double letzter = termine.front().spanne.endDatum;
    double laengster = 0;
    for (const Termin& t : termine) {
        erster = std::min(erster, t.spanne.startDatum);
        letzter = std::max(letzter, t.spanne.endDatum);
        laengster = std::max(laengster, t.spanne.endDatum - t.spanne.startDatum);
    }
    const QString ab = BelegtAbSql();
    const QString bis = BelegtBisSql();
    const QString sql =
        QStringLiteral(
            "SELECT t.nr, b.rb_id, b.lAuftrNr, b.Rec_ID, b.dt_von, b.tm_von, b.dt_bis, "
            "b.tm_bis, b.Udt_von, b.Utm_von, b.Rdt_bis, b.Rtm_bis "
            "FROM %1 r CROSS JOIN %2 CROSS JOIN tovo_termine t "
            "WHERE %3 AND %4 >= ? AND %5 <= ? %7 "
            "AND b.Rec_ID NOT IN (SELECT rec_id FROM tovo_ausser) "
            "AND t.raum = %6 AND t.von >= %5 - ? AND t.von <= %4 + ? AND t.bis >= %5 - ? "
            "ORDER BY t.nr, b.Rec_ID")
            .arg(raeume, BelegungsZeitraum::Quelle(),
                 BelegungsZeitraum::Bedingung(Dialekt::Von(db), QStringLiteral("r.raum")), bis, ab,
                 terminRaum, TeilnahmeSql());
    QVariantList binds = raeumeBinds;
    binds << erster - kRand << letzter + kRand << letzter + kRand;
    binds << erster - kRand << letzter + kRand << laengster + kRand << kRand << kRand;

    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!ExecBound(q, sql, binds))
        return SqlFehler(q, error);
    const ZeilenAbbildung::RowReader<RQ::BelegungsZeile> reader(
        q.record(), ZeilenAbbildung::Spalten::Gewaehlte);
    RQ::BelegungsZeile z;
    while (q.next()) {
        reader.read(q, z);
        if (!zeile(q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), z)) {
            q.finish();
            return true;
        }
    }
    if (HasSqlError(q))
        return SqlFehler(q, error);
    return true;
}

} // namespace

// Archived bookings keep their slots: a new booking may not take the place of one that is only
// hidden, and an archived one that comes back must find its slot free. So archived rows take
// part in every test like current ones.
QString TeilnahmeSql() {
    constexpr bool kArchivierteBlockieren = true;
    return kArchivierteBlockieren ? QString() : QStringLiteral("AND b.bArchiviert = 0");
}

QString BelegtAbSql() {
    return QStringLiteral("(CASE WHEN %1 THEN dt_von ELSE Udt_von END)")
        .arg(KeinDatumSql("Udt_von"));
}

QString BelegtBisSql() {
    return QStringLiteral("(CASE WHEN %1 THEN dt_bis ELSE Rdt_bis END)")
        .arg(KeinDatumSql("Rdt_bis"));
}

bool Konflikte(const QString& connection, const QVector<Termin>& termine,
               const QSet<int32_t>& ausser, double toleranz, Lesart lesart,
               const std::function<bool(const Treffer&)>& treffer, QString* error) {
    QSqlDatabase db = Verbindung(connection);
    if (!TermineSetzen(db, termine, ausser, error))
        return false;
    // The rooms as values of the statement: the server then reads each room's bookings by the
    // index, where it would guess the size of the temporary table. Very many rooms (bringing
    // back an archive) come from the table.
    QVector<int32_t> raeume;
    for (const Termin& termin : termine)
        raeume.append(termin.raum);
    std::sort(raeume.begin(), raeume.end());
    raeume.erase(std::unique(raeume.begin(), raeume.end()), raeume.end());
    QString quelle = QStringLiteral("(SELECT DISTINCT raum FROM tovo_termine)");
    QVariantList raumWerte;
    if (raeume.size() <= kRaeumeAlsWerte) {
        QStringList zeilen;
        for (const int32_t raum : std::as_const(raeume)) {
            zeilen << (zeilen.isEmpty() ? QStringLiteral("SELECT ? AS raum")
                                        : QStringLiteral("SELECT ?"));
            raumWerte << raum;
        }
        quelle = QLatin1Char('(') + zeilen.join(QStringLiteral(" UNION ALL ")) + QLatin1Char(')');
    }
    Treffer t;
    return Kandidaten(
        db, termine, quelle, QStringLiteral("b.rb_id"), raumWerte,
        [&](int nr, int32_t raum, int32_t auftrNr, const RQ::BelegungsZeile& z) {
            const Zeitspanne belegt =
                lesart == Lesart::Raumtest ? SpanneImRaumtest(z) : SpanneInSuche(z);
            if (KeinKonflikt(termine[nr].spanne, belegt, toleranz))
                return true;
            t.termin = nr;
            t.raum = raum;
            t.lAuftrNr = auftrNr;
            t.zeile = z;
            return treffer(t);
        },
        error);
}

bool BelegteRaeume(const QString& connection, int32_t raumartId, const QVector<Zeitspanne>& spannen,
                   const QSet<int32_t>& ausser, double toleranz, QSet<int32_t>& belegt,
                   QString* error) {
    belegt.clear();
    QVector<Termin> termine;
    termine.reserve(spannen.size());
    for (const Zeitspanne& s : spannen)
        termine.append({0, s});
    QSqlDatabase db = Verbindung(connection);
    if (!TermineSetzen(db, termine, ausser, error))
        return false;
    const QString raeume =
        raumartId == 0
            ? QStringLiteral("(SELECT az_ID AS raum FROM T_rb_Anzeige)")
            : QStringLiteral("(SELECT az_ID AS raum FROM T_rb_Anzeige WHERE lRaumartId = ?)");
    return Kandidaten(
        db, termine, raeume, QStringLiteral("0"),
        raumartId == 0 ? QVariantList{} : QVariantList{raumartId},
        [&](int nr, int32_t raum, int32_t, const RQ::BelegungsZeile& z) {
            if (!belegt.contains(raum) &&
                !KeinKonflikt(termine[nr].spanne, SpanneInSuche(z), toleranz))
                belegt.insert(raum);
            return true;
        },
        error);
}

} // namespace Konflikt

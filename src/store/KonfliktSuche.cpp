#include "KonfliktSuche.h"

#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "SqlConnection.h"
#include "ZeilenStrom.h"

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
// Up to this many dates go with the conflict query itself, as a bound text the database unpacks:
// a save of a few dates then writes nothing into the temporary tables, which costs more than the
// test. More dates go into those tables, where each candidate finds its dates through an index.
constexpr qsizetype kTermineImText = 16;
static_assert(kTermineImText <= kRaeumeAlsWerte, "the rooms of dates in the text are values");

QString KeinDatumSql(const char* spalte) {
    return QStringLiteral("%1 IS NULL OR (%1 >= 2958465 AND %1 < 2958466)")
        .arg(QLatin1String(spalte));
}

// The dates as one bound text that the database unpacks, [[raum, von, bis], ...]: a statement
// with a placeholder per value would cost more to prepare than the whole test.
QString TermineText(const QVector<Termin>& termine) {
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
    return liste + QLatin1Char(']');
}

QString IdsText(const QSet<int32_t>& ids) {
    QStringList liste;
    for (const int32_t id : ids)
        liste << QString::number(id);
    return QLatin1Char('[') + liste.join(QLatin1Char(',')) + QLatin1Char(']');
}

// The statements that write the dates and the excluded keys into the connection's temporary
// tables; every test runs them again, so the server keeps their plans.
QVector<ZeilenStrom::Anweisung> TermineSetzen(QSqlDatabase& db, const QVector<Termin>& termine,
                                              const QSet<int32_t>& ausser) {
    constexpr auto kBehalten = ZeilenStrom::Plan::Behalten;
    const Dialekt& dialekt = Dialekt::Von(db);
    QVector<ZeilenStrom::Anweisung> anweisungen;
    for (const QString& sql : dialekt.TermineLeeren(db))
        anweisungen.append({sql, {}, kBehalten});
    anweisungen.append({QStringLiteral("INSERT INTO tovo_termine (nr, raum, von, bis) SELECT nr, "
                                       "raum, von, bis FROM ") +
                            dialekt.TermineAusText() + QStringLiteral(" t"),
                        {TermineText(termine)},
                        kBehalten});
    if (!ausser.isEmpty())
        anweisungen.append({QStringLiteral("INSERT INTO tovo_ausser (rec_id) SELECT id FROM ") +
                                dialekt.IdsAusText() + QStringLiteral(" a"),
                            {IdsText(ausser)},
                            kBehalten});
    return anweisungen;
}

// The candidates of the dates (passed with the query or written into the temporary tables first,
// see kTermineImText): stored bookings taking part and not excluded, of the rooms `raeume` (a row
// source r with the column raum), whose days come within reach of a date. The bookings are read
// by room and period, each date found by its first day.
bool Kandidaten(QSqlDatabase db, const QVector<Termin>& termine, const QSet<int32_t>& ausser,
                const QString& raeume, const QString& terminRaum, const QVariantList& raeumeBinds,
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
    const Dialekt& dialekt = Dialekt::Von(db);
    const bool imText = termine.size() <= kTermineImText;
    const QString ausserSql =
        ausser.isEmpty() ? QString()
                         : QStringLiteral("AND b.Rec_ID NOT IN (SELECT %1 FROM %2 a) ")
                               .arg(imText ? QStringLiteral("id") : QStringLiteral("rec_id"),
                                    imText ? dialekt.IdsAusText() : QStringLiteral("tovo_ausser"));
    const QString ab = BelegtAbSql();
    const QString bis = BelegtBisSql();
    const QString sql =
        QStringLiteral(
            "SELECT t.nr, b.rb_id, b.lAuftrNr, b.Rec_ID, b.dt_von, b.tm_von, b.dt_bis, "
            "b.tm_bis, b.Udt_von, b.Utm_von, b.Rdt_bis, b.Rtm_bis "
            "FROM %1 r CROSS JOIN %2 CROSS JOIN %7 t "
            "WHERE %3 >= ? AND %4 <= ? %6 %8"
            "AND t.raum = %5 AND t.von >= %4 - ? AND t.von <= %3 + ? AND t.bis >= %4 - ? "
            "ORDER BY t.nr, b.Rec_ID")
            .arg(raeume, BelegungsZeitraum::Quelle(dialekt, QStringLiteral("r.raum")), bis, ab,
                 terminRaum, TeilnahmeSql(),
                 imText ? dialekt.TermineAusText() : QStringLiteral("tovo_termine"), ausserSql);
    // In the order of their placeholders.
    QVariantList binds = raeumeBinds;
    binds << erster - kRand << letzter + kRand << letzter + kRand;
    if (imText)
        binds << TermineText(termine);
    binds << erster - kRand << letzter + kRand;
    if (imText && !ausser.isEmpty())
        binds << IdsText(ausser);
    binds << laengster + kRand << kRand << kRand;

    // Every save runs it: the server keeps its plan.
    const auto q = ZeilenStrom::Oeffne(
        db, imText ? QVector<ZeilenStrom::Anweisung>{} : TermineSetzen(db, termine, ausser), sql,
        binds, error, ZeilenStrom::Plan::Behalten);
    if (!q)
        return false;
    const auto nullbar = [&](int spalte) {
        return q->Leer(spalte) ? std::nullopt : std::optional<double>(q->Zahl(spalte));
    };
    RQ::BelegungsZeile z;
    while (q->Naechste()) {
        z.Rec_ID = q->Ganzzahl(3);
        z.dt_von = q->Zahl(4);
        z.tm_von = q->Zahl(5);
        z.dt_bis = q->Zahl(6);
        z.tm_bis = q->Zahl(7);
        z.Udt_von = nullbar(8);
        z.Utm_von = nullbar(9);
        z.Rdt_bis = nullbar(10);
        z.Rtm_bis = nullbar(11);
        if (!zeile(q->Ganzzahl(0), q->Ganzzahl(1), q->Ganzzahl(2), z))
            return true;
    }
    return !q->Fehler(error);
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
        db, termine, ausser, quelle, QStringLiteral("b.rb_id"), raumWerte,
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
    const QString raeume =
        raumartId == 0
            ? QStringLiteral("(SELECT az_ID AS raum FROM T_rb_Anzeige)")
            : QStringLiteral("(SELECT az_ID AS raum FROM T_rb_Anzeige WHERE lRaumartId = ?)");
    return Kandidaten(
        db, termine, ausser, raeume, QStringLiteral("0"),
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

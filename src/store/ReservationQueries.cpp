#include "ReservationQueries.h"

#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "KonfliktSuche.h"
#include "SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace ReservationQueries {
namespace {

QSqlDatabase datenbank(const QString& connection) {
    return Verbindung(connection);
}

bool fail(const QSqlQuery& q, QString* error) {
    if (error) {
        *error = q.lastError().text().trimmed();
        if (error->isEmpty())
            *error = QStringLiteral("Die Datenbank ist nicht geöffnet.");
    }
    return false;
}

std::optional<double> nullable(const QVariant& v) {
    if (v.isNull())
        return std::nullopt;
    return v.toDouble();
}

} // namespace

bool ZaehleEndendeBelegungen(const QString& connection, double abTag, double vorTag, int& anzahl,
                             QString* error) {
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q,
                   QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung "
                                  "WHERE dt_bis >= ? AND dt_bis < ? AND bArchiviert = 0"),
                   {std::floor(abTag), std::floor(vorTag)}) ||
        !q.next())
        return fail(q, error);
    anzahl = q.value(0).toInt();
    return true;
}

bool ReadBelegungenImZeitraum(const QString& connection, int32_t raumartId, int32_t auchRaumId,
                              double vonTag, double bisTag, QVector<BelegungMitRaum>& out,
                              QString* error) {
    out.clear();
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    // The rooms of the type and the chosen one, each read by the days its bookings occupy
    // (set-up and clear-down included) within the period.
    const QString sql =
        QStringLiteral("SELECT b.Rec_ID, b.dt_von, b.tm_von, b.dt_bis, b.tm_bis, b.Udt_von, "
                       "b.Utm_von, b.Rdt_bis, b.Rtm_bis, b.rb_id, b.lAuftrNr, b.Best FROM "
                       "(SELECT az_ID AS raum FROM T_rb_Anzeige WHERE ? = 0 OR lRaumartId = ? "
                       "UNION SELECT ?) r CROSS JOIN ") +
        BelegungsZeitraum::Quelle() + QStringLiteral(" WHERE ") +
        BelegungsZeitraum::Bedingung(Dialekt::Von(q.driver()), QStringLiteral("r.raum")) +
        QStringLiteral(" AND %1 >= ? AND %2 < ? %3 "
                       "ORDER BY b.rb_id, b.dt_von, b.tm_von")
            .arg(Konflikt::BelegtBisSql(), Konflikt::BelegtAbSql(), Konflikt::TeilnahmeSql());
    if (!ExecBound(
            q, sql,
            {raumartId, raumartId, auchRaumId, vonTag, bisTag + 1, bisTag + 1, vonTag, bisTag + 1}))
        return fail(q, error);
    while (q.next()) {
        BelegungMitRaum b;
        BelegungsZeile& z = b.zeile;
        z.Rec_ID = q.value(0).toInt();
        z.dt_von = q.value(1).toDouble();
        z.tm_von = q.value(2).toDouble();
        z.dt_bis = q.value(3).toDouble();
        z.tm_bis = q.value(4).toDouble();
        z.Udt_von = nullable(q.value(5));
        z.Utm_von = nullable(q.value(6));
        z.Rdt_bis = nullable(q.value(7));
        z.Rtm_bis = nullable(q.value(8));
        b.rb_id = q.value(9).toInt();
        b.lAuftrNr = q.value(10).toInt();
        b.Best = q.value(11).toString();
        out.append(b);
    }
    if (HasSqlError(q))
        return fail(q, error);
    return true;
}

bool ReadRaeume(const QString& connection, int32_t raumartId, QVector<RaumName>& out,
                QString* error) {
    out.clear();
    QSqlDatabase db = datenbank(connection);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const QString folge = Dialekt::Von(db).OhneGrossKlein(QStringLiteral("Kurzbez"));
    const bool ok = raumartId == 0
                        ? ExecBound(q, QStringLiteral("SELECT az_ID, Kurzbez FROM T_rb_Anzeige "
                                                      "ORDER BY %1, az_ID")
                                           .arg(folge))
                        : ExecBound(q,
                                    QStringLiteral("SELECT az_ID, Kurzbez FROM T_rb_Anzeige WHERE "
                                                   "lRaumartId = ? ORDER BY %1, az_ID")
                                        .arg(folge),
                                    {raumartId});
    if (!ok)
        return fail(q, error);
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString()});
    if (HasSqlError(q))
        return fail(q, error);
    return true;
}

bool ReadNextNr(const QString& connection, bool& vorhanden, int32_t& nummer, QString* error) {
    vorhanden = false;
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q, QStringLiteral("SELECT lNextNr FROM T_NextNr LIMIT 1")))
        return fail(q, error);
    if (q.next()) {
        vorhanden = true;
        nummer = q.value(0).toInt();
    } else if (HasSqlError(q)) {
        return fail(q, error);
    }
    return true;
}

bool AuftragNrVergeben(const QString& connection, int32_t nummer, bool& vergeben, QString* error) {
    vergeben = false;
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q, QStringLiteral("SELECT 1 FROM T_fm_belegung WHERE lAuftrNr = ? LIMIT 1"),
                   {nummer}))
        return fail(q, error);
    vergeben = q.next();
    if (HasSqlError(q))
        return fail(q, error);
    return true;
}

bool WriteNextNr(const QString& connection, int32_t nummer, QString* error) {
    QSqlQuery q(datenbank(connection));
    // The table has one row; should a foreign tool have added more, they all follow.
    if (!ExecBound(q, QStringLiteral("UPDATE T_NextNr SET lNextNr = ?"), {nummer}))
        return fail(q, error);
    if (q.numRowsAffected() > 0)
        return true;
    if (!ExecBound(q, QStringLiteral("INSERT INTO T_NextNr (lNextNr) VALUES (?)"), {nummer}))
        return fail(q, error);
    return true;
}

bool ReadHistorie(const QString& connection, int32_t raumId, double nachTag, double vorTag,
                  QVector<CBelegungRec>& out, QString* error) {
    out.clear();
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q,
                   QStringLiteral("SELECT Rec_ID, lAuftrNr, rb_id, dt_von, tm_von, dt_bis, tm_bis, "
                                  "Best, Verst, Bem, Aust, Austbem FROM T_fm_belegung "
                                  "WHERE rb_id = ? AND dt_von > ? AND dt_von < ? AND dt_bis < ? "
                                  "ORDER BY dt_von, tm_von"),
                   {raumId, nachTag, vorTag, vorTag}))
        return fail(q, error);
    while (q.next()) {
        CBelegungRec r;
        r.Rec_ID = q.value(0).toInt();
        r.lAuftrNr = q.value(1).toInt();
        r.rb_id = q.value(2).toInt();
        r.dt_von = q.value(3).toDouble();
        r.tm_von = q.value(4).toDouble();
        r.dt_bis = q.value(5).toDouble();
        r.tm_bis = q.value(6).toDouble();
        r.Best = q.value(7).toString();
        r.Verst = q.value(8).toString();
        r.Bem = q.value(9).toString();
        r.Aust = q.value(10).toInt();
        r.Austbem = q.value(11).toString();
        out.append(r);
    }
    if (HasSqlError(q))
        return fail(q, error);
    return true;
}

bool ReadRaumIdByName(const QString& connection, const QString& kurzbez, int32_t& raumId,
                      QString* error) {
    raumId = 0;
    QSqlDatabase db = datenbank(connection);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const Dialekt& d = Dialekt::Von(db);
    if (!ExecBound(q,
                   QStringLiteral("SELECT az_ID FROM T_rb_Anzeige WHERE %1 = %2 "
                                  "ORDER BY az_ID LIMIT 1")
                       .arg(d.OhneGrossKlein(QStringLiteral("Kurzbez")),
                            d.OhneGrossKlein(QStringLiteral("?"))),
                   {kurzbez}))
        return fail(q, error);
    if (q.next())
        raumId = q.value(0).toInt();
    else if (HasSqlError(q))
        return fail(q, error);
    return true;
}

} // namespace ReservationQueries

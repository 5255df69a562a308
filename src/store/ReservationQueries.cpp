#include "ReservationQueries.h"

#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "KonfliktSuche.h"
#include "SqlConnection.h"
#include "ZeilenAbbildung.h"

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
        return SqlFehler(q, error);
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
        BelegungsZeitraum::Quelle(Dialekt::Von(q.driver()), QStringLiteral("r.raum")) +
        QStringLiteral(" WHERE %1 >= ? AND %2 < ? %3 "
                       "ORDER BY b.rb_id, b.dt_von, b.tm_von")
            .arg(Konflikt::BelegtBisSql(), Konflikt::BelegtAbSql(), Konflikt::TeilnahmeSql());
    if (!ExecBound(
            q, sql,
            {raumartId, raumartId, auchRaumId, vonTag, bisTag + 1, bisTag + 1, vonTag, bisTag + 1}))
        return SqlFehler(q, error);
    return ZeilenAbbildung::readSelected(q, out, error);
}

bool ReadRaeume(const QString& connection, const RaumAuswahl& auswahl, QVector<CAnzeigeRec>& out,
                QString* error) {
    using Folge = RaumAuswahl::Folge;
    out.clear();
    if (auswahl.ids && auswahl.ids->isEmpty())
        return true;
    QSqlDatabase db = datenbank(connection);
    const Dialekt& dialekt = Dialekt::Von(db);
    const bool mitArt = auswahl.mitArt || auswahl.folge == Folge::ArtUndName;
    QString sql = QStringLiteral("SELECT a.az_ID, a.RaumNr, a.Kurzbez, %1 AS RArt, a.lRaumartId, "
                                 "a.lGebraumId, a.STSTUHLANORDNUNG, a.IANZAHLPERS, "
                                 "a.stAusstattung, a.IPTISCHE, a.IPTISCHEFEST FROM T_rb_Anzeige a")
                      .arg(mitArt ? QStringLiteral("r.stRaumArt") : QStringLiteral("a.RArt"));
    if (mitArt)
        sql += QStringLiteral(" INNER JOIN T_Raumart r ON r.lId = a.lRaumartId");
    QStringList bedingungen;
    QVariantList werte;
    if (auswahl.raumartId != 0) {
        bedingungen << QStringLiteral("a.lRaumartId = ?");
        werte << auswahl.raumartId;
    }
    if (auswahl.ids) {
        QStringList marken;
        for (const int32_t id : *auswahl.ids) {
            marken << QStringLiteral("?");
            werte << id;
        }
        bedingungen << QStringLiteral("a.az_ID IN (%1)").arg(marken.join(QStringLiteral(", ")));
    }
    if (!bedingungen.isEmpty())
        sql += QStringLiteral(" WHERE ") + bedingungen.join(QStringLiteral(" AND "));
    const QString name = dialekt.OhneGrossKlein(QStringLiteral("a.Kurzbez")) + QStringLiteral(", ");
    switch (auswahl.folge) {
    case Folge::ArtUndName:
        sql += QStringLiteral(" ORDER BY ") +
               dialekt.OhneGrossKlein(QStringLiteral("r.stRaumArt")) + QStringLiteral(", ") + name +
               QStringLiteral("a.az_ID");
        break;
    case Folge::Name:
        sql += QStringLiteral(" ORDER BY ") + name + QStringLiteral("a.az_ID");
        break;
    case Folge::Id:
        sql += QStringLiteral(" ORDER BY a.az_ID");
        break;
    }
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!ExecBound(q, sql, werte))
        return SqlFehler(q, error);
    const ZeilenAbbildung::RowReader<CAnzeigeRec> reader(q.record());
    CAnzeigeRec raum;
    while (q.next()) {
        if (!reader.read(q, raum))
            return Fehlschlag(error, QStringLiteral("Eine Zeile hat unerwartete Werte."));
        out.append(raum);
    }
    return !HasSqlError(q) || SqlFehler(q, error);
}

bool ReadNextNr(const QString& connection, bool& vorhanden, int32_t& nummer, QString* error) {
    vorhanden = false;
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q, QStringLiteral("SELECT lNextNr FROM T_NextNr LIMIT 1")))
        return SqlFehler(q, error);
    if (q.next()) {
        vorhanden = true;
        nummer = q.value(0).toInt();
    } else if (HasSqlError(q)) {
        return SqlFehler(q, error);
    }
    return true;
}

bool AuftragNrVergeben(const QString& connection, int32_t nummer, bool& vergeben, QString* error) {
    vergeben = false;
    QSqlQuery q(datenbank(connection));
    q.setForwardOnly(true);
    if (!ExecBound(q, QStringLiteral("SELECT 1 FROM T_fm_belegung WHERE lAuftrNr = ? LIMIT 1"),
                   {nummer}))
        return SqlFehler(q, error);
    vergeben = q.next();
    if (HasSqlError(q))
        return SqlFehler(q, error);
    return true;
}

bool WriteNextNr(const QString& connection, int32_t nummer, QString* error) {
    QSqlQuery q(datenbank(connection));
    // The table has one row; should a foreign tool have added more, they all follow.
    if (!ExecBound(q, QStringLiteral("UPDATE T_NextNr SET lNextNr = ?"), {nummer}))
        return SqlFehler(q, error);
    if (q.numRowsAffected() > 0)
        return true;
    if (!ExecBound(q, QStringLiteral("INSERT INTO T_NextNr (lNextNr) VALUES (?)"), {nummer}))
        return SqlFehler(q, error);
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
        return SqlFehler(q, error);
    return ZeilenAbbildung::readSelected(q, out, error);
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
        return SqlFehler(q, error);
    if (q.next())
        raumId = q.value(0).toInt();
    else if (HasSqlError(q))
        return SqlFehler(q, error);
    return true;
}

} // namespace ReservationQueries

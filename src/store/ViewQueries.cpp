#include "ViewQueries.h"

#include "SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <cmath>

namespace ViewQueries {
namespace {

bool fail(QSqlQuery& q, QString* error) {
    if (error)
        *error = q.lastError().text();
    return false;
}

double dateOrNoDate(const QVariant& v) {
    const double d = v.isNull() ? TovoDate::kNoDate : v.toDouble();
    return TovoDate::inCalendar(d) ? d : TovoDate::kNoDate;
}

void readRoom(const QSqlQuery& q, const QSqlRecord& rec, CAnzeigeRec& r) {
    auto at = [&](const char* name) { return q.value(rec.indexOf(QLatin1String(name))); };
    r.az_ID = at("az_ID").toInt();
    r.RaumNr = at("RaumNr").toString();
    r.Kurzbez = at("Kurzbez").toString();
    r.RArt = at("RArt").toString();
    r.lRaumartId = at("lRaumartId").toInt();
    r.lGebraumId = at("lGebraumId").toInt();
    r.STSTUHLANORDNUNG = at("STSTUHLANORDNUNG").toString();
    r.IANZAHLPERS = static_cast<int16_t>(at("IANZAHLPERS").toInt());
    r.stAusstattung = at("stAusstattung").toString();
    r.IPTISCHE = static_cast<int16_t>(at("IPTISCHE").toInt());
    r.IPTISCHEFEST = static_cast<int16_t>(at("IPTISCHEFEST").toInt());
}

} // namespace

bool ReadRaeume(const QString& connection, int32_t raumartId, QVector<RaumZeile>& out,
                QString* error) {
    out.clear();
    QSqlQuery q(Verbindung(connection));
    q.setForwardOnly(true);
    if (raumartId == 0) {
        q.prepare(QStringLiteral(
            "SELECT a.*, t.stRaumArt AS stTypName FROM T_Raumart t "
            "INNER JOIN T_rb_Anzeige a ON t.lId = a.lRaumartId ORDER BY t.stRaumArt, a.Kurzbez"));
    } else {
        q.prepare(QStringLiteral("SELECT a.*, '' AS stTypName FROM T_rb_Anzeige a "
                                 "WHERE a.lRaumartId = ? ORDER BY a.Kurzbez"));
        q.addBindValue(raumartId);
    }
    if (!q.exec())
        return fail(q, error);
    const QSqlRecord rec = q.record();
    const int typ = rec.indexOf(QStringLiteral("stTypName"));
    while (q.next()) {
        RaumZeile z;
        readRoom(q, rec, z.raum);
        z.stRaumArt = q.value(typ).toString();
        out.append(z);
    }
    return true;
}

bool ReadRaeumeNachName(const QString& connection, int32_t raumartId, QVector<CAnzeigeRec>& out,
                        QString* error) {
    out.clear();
    QSqlQuery q(Verbindung(connection));
    q.setForwardOnly(true);
    if (raumartId == 0) {
        q.prepare(QStringLiteral("SELECT * FROM T_rb_Anzeige ORDER BY Kurzbez"));
    } else {
        q.prepare(
            QStringLiteral("SELECT * FROM T_rb_Anzeige WHERE lRaumartId = ? ORDER BY Kurzbez"));
        q.addBindValue(raumartId);
    }
    if (!q.exec())
        return fail(q, error);
    const QSqlRecord rec = q.record();
    while (q.next()) {
        CAnzeigeRec r;
        readRoom(q, rec, r);
        out.append(r);
    }
    return true;
}

QString BalkenSql(bool eineRaumart, bool begrenzt) {
    const QString cols = QStringLiteral(
        "b.Rec_ID, b.rb_id, b.Best, b.Verst, b.STEMAIL, b.dt_von, b.tm_von, b.dt_bis, b.tm_bis, "
        "b.Udt_von, b.Utm_von, b.Udt_bis, b.Utm_bis, b.Rdt_von, b.Rtm_von, b.Rdt_bis, b.Rtm_bis");
    // A bar [start, end) reaches into the days [A, B) when start < B and end > A; with the time
    // of day below 1 that holds only if the start day <= B and the end day >= A - 1. The first
    // bound value is A - 1, the second B. One term per bar, each led by the column of its end
    // day, so that every term is a range on an index of the booking table.
    const QString gueltig = QStringLiteral("(%1 >= %2 AND %1 < %3)");
    auto datum = [&](const char* col) {
        return gueltig.arg(QLatin1String(col), QString::number(TovoDate::kMinDay, 'f', 0),
                           QString::number(TovoDate::kNoDate, 'f', 0));
    };
    const QString fenster =
        QStringLiteral("(b.dt_bis >= :a AND b.dt_von <= :b) OR "
                       // set-up with its own end
                       "(b.Udt_bis >= :a AND b.Udt_bis < %1 AND b.Udt_von <= :b AND %2) OR "
                       // set-up that ends where the booking starts
                       "(b.dt_von >= :a AND b.Udt_von <= :b AND %2 AND NOT COALESCE(%3, FALSE)) OR "
                       // clear-down, from its own start or from the booking's end
                       "(b.Rdt_bis >= :a AND b.Rdt_bis < %1 AND "
                       "(b.Rdt_von <= :b OR (b.dt_bis <= :b AND NOT COALESCE(%4, FALSE))))")
            .arg(QString::number(TovoDate::kNoDate, 'f', 0), datum("b.Udt_von"), datum("b.Udt_bis"),
                 datum("b.Rdt_von"));
    return QStringLiteral("SELECT ") + cols +
           QStringLiteral(
               " FROM T_rb_Anzeige a INNER JOIN T_fm_belegung b ON a.az_ID = b.rb_id WHERE ") +
           (eineRaumart ? QStringLiteral("a.lRaumartId = :raumart AND ") : QString()) +
           (begrenzt ? QStringLiteral("(") + fenster + QStringLiteral(") AND ") : QString()) +
           QStringLiteral("b.bArchiviert = 0 ORDER BY a.Kurzbez, b.dt_von, b.Rec_ID");
}

bool ForEachBalken(const QString& connection, int32_t raumartId,
                   const std::function<bool(const BelegungBalken&)>& callback, QString* error,
                   const Zeitfenster& fenster) {
    QSqlQuery q(Verbindung(connection));
    q.setForwardOnly(true);
    q.prepare(BalkenSql(raumartId != 0, fenster.begrenzt()));
    if (raumartId != 0)
        q.bindValue(QStringLiteral(":raumart"), raumartId);
    if (fenster.begrenzt()) {
        q.bindValue(QStringLiteral(":a"), std::floor(fenster.von) - 1);
        q.bindValue(QStringLiteral(":b"), std::ceil(fenster.bis));
    }
    if (!q.exec())
        return fail(q, error);
    BelegungBalken b;
    while (q.next()) {
        b.Rec_ID = q.value(0).toInt();
        b.rb_id = q.value(1).toInt();
        b.Best = q.value(2).toString();
        b.Verst = q.value(3).toString();
        b.STEMAIL = q.value(4).toString();
        b.dt_von = q.value(5).toDouble();
        b.tm_von = q.value(6).toDouble();
        b.dt_bis = q.value(7).toDouble();
        b.tm_bis = q.value(8).toDouble();
        b.Udt_von = dateOrNoDate(q.value(9));
        b.Utm_von = dateOrNoDate(q.value(10));
        b.Udt_bis = dateOrNoDate(q.value(11));
        b.Utm_bis = dateOrNoDate(q.value(12));
        b.Rdt_von = dateOrNoDate(q.value(13));
        b.Rtm_von = dateOrNoDate(q.value(14));
        b.Rdt_bis = dateOrNoDate(q.value(15));
        b.Rtm_bis = dateOrNoDate(q.value(16));
        if (!callback(b))
            break;
    }
    return !HasSqlError(q) || fail(q, error);
}

bool ReadBelegungenAmTag(const QString& connection, int32_t raumId, double tag,
                         QVector<CBelegungRec>& out, QString* error) {
    out.clear();
    QSqlQuery q(Verbindung(connection));
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT Rec_ID, lAuftrNr, rb_id, dt_von, tm_von, dt_bis, tm_bis, Best, Tel, "
                       "Fax, Inst, KST, Pers, Verst, bEMail FROM T_fm_belegung "
                       "WHERE rb_id = ? AND dt_bis >= ? AND dt_von <= ? AND bArchiviert = 0 "
                       "ORDER BY tm_von, Rec_ID"));
    q.addBindValue(raumId);
    q.addBindValue(tag);
    q.addBindValue(tag);
    if (!q.exec())
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
        r.Tel = q.value(8).toString();
        r.Fax = q.value(9).toString();
        r.Inst = q.value(10).toString();
        r.KST = q.value(11).toString();
        r.Pers = q.value(12).toString();
        r.Verst = q.value(13).toString();
        r.bEMail = q.value(14).toInt() != 0;
        out.append(r);
    }
    return true;
}

} // namespace ViewQueries

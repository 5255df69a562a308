#include "NetzpultAntraege.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace NetzpultAntraege {

namespace {

const QString kListe =
    QStringLiteral("SELECT T_BELEGUNG.*, T_RAUM.STRAUMNR, T_RAUM.STRAUMNAME, T_RAUMART.STRAUMART "
                   "FROM (T_BELEGUNG LEFT JOIN T_RAUM ON T_BELEGUNG.LRAUMID = T_RAUM.LRAUMID) "
                   "LEFT JOIN T_RAUMART ON T_RAUM.LRAUMARTID = T_RAUMART.LRAUMARTID "
                   "WHERE T_BELEGUNG.BRESERVIERT=0");

bool Fehler(QString* error, const QString& text, const QSqlError& sql) {
    if (error)
        *error = text + QStringLiteral("\r\n") + sql.text();
    return false;
}

// A text of the row without double and single quotes.
QString Text(const QSqlRecord& r, const char* spalte) {
    QString t = r.value(QLatin1String(spalte)).toString();
    t.remove(QLatin1Char('"'));
    t.remove(QLatin1Char('\''));
    return t;
}

int32_t Zahl(const QSqlRecord& r, const char* spalte) {
    return r.value(QLatin1String(spalte)).toInt();
}

QDate Datum(const QSqlRecord& r, const char* spalte) {
    const QVariant v = r.value(QLatin1String(spalte));
    QDate d = v.toDate();
    if (!d.isValid())
        d = QDate::fromString(v.toString().trimmed(), QStringLiteral("yyyy-M-d"));
    return d.isValid() && d.year() >= 100 ? d : QDate();
}

NetzpultAntrag Zeile(const QSqlRecord& r) {
    NetzpultAntrag a;
    a.lWunschId = Zahl(r, "LWUNSCHID");
    a.lRaumId = Zahl(r, "LRAUMID");
    a.lBelegId = Zahl(r, "LBELEGID");
    a.status = r.value(QStringLiteral("STSTATUS")).toString().trimmed();
    a.raumart = Text(r, "STRAUMART");
    a.wunschraum = Text(r, "STRAUMNAME");
    a.von = Datum(r, "DTDATUMVON");
    a.zeitVon = Text(r, "STZEITVON");
    a.bis = Datum(r, "DTDATUMBIS");
    a.zeitBis = Text(r, "STZEITBIS");
    a.name = Text(r, "STNAME");
    a.firma = Text(r, "STFIRMA");
    a.tel = Text(r, "STTEL");
    a.email = Text(r, "STEMAIL");
    a.kst = Text(r, "STKOSTENSTELLE");
    a.nutzung = Text(r, "STNUTZUNG");
    a.anzPers = Text(r, "IANZAHLPERSONEN");
    a.stuhl = Text(r, "STSTUHLANORDNUNG");
    a.bemerkung = Text(r, "STBEMERKUNG");
    a.sonstiges = Text(r, "STSONSTIGES");
    a.ptische = Text(r, "STPTISCHE");
    a.datumErst = Text(r, "STDATUMERST");
    a.datumKorr = Text(r, "STDATUMKORR");
    a.ausstattung = Text(r, "STAUSSTATTUNG");
    return a;
}

bool Lesen(QSqlDatabase db, const QString& sql, const QVariantList& werte,
           QVector<NetzpultAntrag>& out, QString* error) {
    out.clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool ok = q.prepare(sql);
    for (int i = 0; ok && i < werte.size(); ++i)
        q.bindValue(i, werte[i]);
    if (!ok || !q.exec())
        return Fehler(error,
                      QStringLiteral("Die Anträge des Netzpults konnten nicht gelesen "
                                     "werden."),
                      q.lastError());
    while (q.next())
        out.append(Zeile(q.record()));
    if (q.lastError().isValid())
        return Fehler(error,
                      QStringLiteral("Die Anträge des Netzpults konnten nicht gelesen "
                                     "werden."),
                      q.lastError());
    return true;
}

} // namespace

bool Read(QSqlDatabase db, QVector<NetzpultAntrag>& antraege, QString* error) {
    return Lesen(db, kListe, {}, antraege, error);
}

namespace {

bool Suche(QSqlDatabase db, const NetzpultAntrag& zeile, int32_t& nummer, bool sperren,
           QString* error) {
    nummer = 0;
    QVector<NetzpultAntrag> alle;
    if (!Lesen(db, sperren ? kListe + QStringLiteral(" FOR UPDATE") : kListe, {}, alle, error))
        return false;
    for (const NetzpultAntrag& a : std::as_const(alle)) {
        if (a.lRaumId != zeile.lRaumId || a.lBelegId != zeile.lBelegId ||
            a.Spalten() != zeile.Spalten())
            continue;
        if (nummer == 0 || a.lWunschId == zeile.lWunschId)
            nummer = a.lWunschId;
    }
    return true;
}

} // namespace

bool Finde(QSqlDatabase db, const NetzpultAntrag& zeile, int32_t& nummer, QString* error) {
    return Suche(db, zeile, nummer, false, error);
}

bool Loesche(QSqlDatabase db, const NetzpultAntrag& zeile, bool& geloescht, QString* error) {
    geloescht = false;
    const QString text = QStringLiteral("Der Antrag konnte nicht gelöscht werden.");
    if (!db.transaction())
        return Fehler(error, text, db.lastError());
    int32_t nummer = 0;
    if (!Suche(db, zeile, nummer, true, error)) {
        db.rollback();
        return false;
    }
    if (nummer != 0) {
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("DELETE FROM T_BELEGUNG WHERE LWUNSCHID=? AND "
                                      "BRESERVIERT=0"))) {
            db.rollback();
            return Fehler(error, text, q.lastError());
        }
        q.bindValue(0, nummer);
        if (!q.exec()) {
            const QSqlError e = q.lastError();
            db.rollback();
            return Fehler(error, text, e);
        }
        geloescht = q.numRowsAffected() > 0;
    }
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        return Fehler(error, text, e);
    }
    return true;
}

} // namespace NetzpultAntraege

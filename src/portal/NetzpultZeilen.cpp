#include "NetzpultZeilen.h"

#include "NetzpultTexte.h"
#include "TovoDate.h"

#include <QSqlQuery>

namespace NetzpultZeilen {

namespace {

// "(?,?,...)" for every row, joined by ",".
QString Platzhalter(qsizetype spalten, qsizetype zeilen) {
    QString zeile = QStringLiteral("(?");
    for (qsizetype i = 1; i < spalten; ++i)
        zeile += QStringLiteral(",?");
    zeile += QLatin1Char(')');
    QString out;
    out.reserve((zeile.size() + 1) * zeilen);
    for (qsizetype r = 0; r < zeilen; ++r) {
        if (r > 0)
            out += QLatin1Char(',');
        out += zeile;
    }
    return out;
}

// The driver binds a null text as NULL; the portal's text columns take an empty text.
QString T(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

QDate Datum(double tag) {
    return TovoDate(tag).toQDate();
}

bool Ausgefuehrt(QSqlQuery& q, QSqlError* error) {
    if (q.exec())
        return true;
    if (error)
        *error = q.lastError();
    return false;
}

} // namespace

const Tabelle& Raumarten() {
    static const Tabelle t{QStringLiteral("T_RAUMART"),
                           QStringLiteral("LRAUMARTID"),
                           QString(),
                           {QStringLiteral("LRAUMARTID"), QStringLiteral("STRAUMART")}};
    return t;
}

const Tabelle& Raeume() {
    static const Tabelle t{QStringLiteral("T_RAUM"),
                           QStringLiteral("LRAUMID"),
                           QString(),
                           {QStringLiteral("LRAUMID"), QStringLiteral("LRAUMARTID"),
                            QStringLiteral("STRAUMNR"), QStringLiteral("STRAUMNAME"),
                            QStringLiteral("LMAXPERSONENZAHL"), QStringLiteral("STSTUHLANORDNUNG"),
                            QStringLiteral("STAUSSTATTUNG"), QStringLiteral("STPTISCHE"),
                            QStringLiteral("STPTISCHEFEST")}};
    return t;
}

const Tabelle& Belegungen() {
    static const Tabelle t{QStringLiteral("T_BELEGUNG"),
                           QStringLiteral("LBELEGID"),
                           QStringLiteral("BRESERVIERT<>0"),
                           {QStringLiteral("LBELEGID"),
                            QStringLiteral("DTDATUMVON"),
                            QStringLiteral("STZEITVON"),
                            QStringLiteral("DTDATUMBIS"),
                            QStringLiteral("STZEITBIS"),
                            QStringLiteral("STDATUMERST"),
                            QStringLiteral("STDATUMKORR"),
                            QStringLiteral("LRAUMID"),
                            QStringLiteral("BRESERVIERT"),
                            QStringLiteral("STNAME"),
                            QStringLiteral("STTEL"),
                            QStringLiteral("STFIRMA"),
                            QStringLiteral("STKOSTENSTELLE"),
                            QStringLiteral("STEMAIL"),
                            QStringLiteral("STAUSSTATTUNG"),
                            QStringLiteral("STSONSTIGES"),
                            QStringLiteral("STSTUHLANORDNUNG"),
                            QStringLiteral("IANZAHLPERSONEN"),
                            QStringLiteral("STBEMERKUNG"),
                            QStringLiteral("STNUTZUNG"),
                            QStringLiteral("STPTISCHE"),
                            QStringLiteral("STSTATUS"),
                            QStringLiteral("LWUNSCHID")}};
    return t;
}

QVariantList Werte(const CRaumartRec& art) {
    return {art.lId, T(art.stRaumArt)};
}

QVariantList Werte(const CAnzeigeRec& r) {
    return {r.az_ID,
            r.lRaumartId,
            T(r.RaumNr),
            T(r.Kurzbez),
            int(r.IANZAHLPERS),
            T(r.STSTUHLANORDNUNG),
            T(r.stAusstattung),
            T(NetzpultTexte::PTischeListe(r.IPTISCHE, r.IPTISCHEFEST)),
            QString::number(r.IPTISCHEFEST)};
}

QVariantList Werte(const CBelegungRec& b) {
    using namespace NetzpultTexte;
    return {b.Rec_ID,
            Datum(b.dt_von),
            ZeitText(b.tm_von),
            Datum(b.dt_bis),
            ZeitText(b.tm_bis),
            T(BestellDatumText(b.datBestellung)),
            QStringLiteral(""),
            b.rb_id,
            1,
            T(b.Best),
            T(b.Tel),
            T(b.Inst),
            T(b.KST),
            T(b.STEMAIL),
            T(AusstattungBuchstaben(b.Aust)),
            T(b.Austbem),
            T(b.STSTUHLANORDNUNG),
            PersonenZahl(b.Pers),
            T(b.Bem),
            T(b.Verst),
            QString::number(b.IPTISCHE),
            QStringLiteral("R"),
            0};
}

bool Einfuegen(QSqlDatabase db, const Tabelle& t, const QVector<QVariantList>& zeilen,
               QSqlError* error) {
    const QString kopf = QStringLiteral("INSERT INTO ") + t.name + QStringLiteral(" (") +
                         t.spalten.join(QLatin1Char(',')) + QStringLiteral(") VALUES ");
    QSqlQuery q(db);
    qsizetype vorbereitet = 0; // rows of the statement prepared in q
    for (qsizetype start = 0; start < zeilen.size(); start += kBlockZeilen) {
        const qsizetype anzahl = std::min<qsizetype>(kBlockZeilen, zeilen.size() - start);
        if (anzahl != vorbereitet) {
            if (!q.prepare(kopf + Platzhalter(t.spalten.size(), anzahl))) {
                if (error)
                    *error = q.lastError();
                return false;
            }
            vorbereitet = anzahl;
        }
        int pos = 0;
        for (qsizetype r = start; r < start + anzahl; ++r)
            for (const QVariant& v : zeilen[r])
                q.bindValue(pos++, v);
        if (!Ausgefuehrt(q, error))
            return false;
    }
    return true;
}

bool Loeschen(QSqlDatabase db, const Tabelle& t, const QVector<int32_t>& ids, QSqlError* error) {
    if (ids.isEmpty())
        return true;
    QString sql = QStringLiteral("DELETE FROM %1 WHERE %2 IN (").arg(t.name, t.schluessel);
    for (qsizetype i = 0; i < ids.size(); ++i)
        sql += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
    sql += QLatin1Char(')');
    if (!t.bedingung.isEmpty())
        sql += QStringLiteral(" AND ") + t.bedingung;
    QSqlQuery q(db);
    if (!q.prepare(sql)) {
        if (error)
            *error = q.lastError();
        return false;
    }
    for (qsizetype i = 0; i < ids.size(); ++i)
        q.bindValue(static_cast<int>(i), ids[i]);
    return Ausgefuehrt(q, error);
}

} // namespace NetzpultZeilen

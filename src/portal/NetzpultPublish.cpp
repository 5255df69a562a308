#include "NetzpultPublish.h"

#include "CRvDb.h"
#include "NetzpultTexte.h"
#include "TovoDate.h"

#include <QSqlError>
#include <QSqlQuery>

namespace NetzpultPublish {

namespace {

bool Fehler(QString* error, const QString& text, const QSqlError& sql = QSqlError()) {
    if (error) {
        *error = text;
        if (sql.isValid())
            *error += QStringLiteral("\r\n") + sql.text();
    }
    return false;
}

bool Ausfuehren(QSqlDatabase db, const QString& sql, QString* error) {
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    return Fehler(error, QStringLiteral("Das Netzpult hat eine Anweisung abgelehnt."),
                  q.lastError());
}

QString Platzhalter(int spalten, qint64 zeilen) {
    QString zeile = QStringLiteral("(?");
    for (int i = 1; i < spalten; ++i)
        zeile += QStringLiteral(",?");
    zeile += QLatin1Char(')');
    QString out;
    out.reserve(static_cast<qsizetype>((zeile.size() + 1) * zeilen));
    for (qint64 r = 0; r < zeilen; ++r) {
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

const QStringList kRaumartSpalten = {QStringLiteral("LRAUMARTID"), QStringLiteral("STRAUMART")};
const QStringList kRaumSpalten = {
    QStringLiteral("LRAUMID"),          QStringLiteral("LRAUMARTID"),
    QStringLiteral("STRAUMNR"),         QStringLiteral("STRAUMNAME"),
    QStringLiteral("LMAXPERSONENZAHL"), QStringLiteral("STSTUHLANORDNUNG"),
    QStringLiteral("STAUSSTATTUNG"),    QStringLiteral("STPTISCHE"),
    QStringLiteral("STPTISCHEFEST")};

} // namespace

const QStringList& BelegungsSpalten() {
    static const QStringList spalten = {QStringLiteral("LBELEGID"),
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
                                        QStringLiteral("LWUNSCHID")};
    return spalten;
}

QVariantList BelegungsWerte(const CBelegungRec& b) {
    using namespace NetzpultTexte;
    return {b.Rec_ID,
            Datum(b.dt_von),
            ZeitText(b.tm_von),
            Datum(b.dt_bis),
            ZeitText(b.tm_bis),
            T(BestellDatumText(b.datBestellung)),
            T(QString()),
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

bool LeseDaten(const DatenbankOrt& ort, Daten& daten, QString* error) {
    CRvDb db;
    db.SetDatenbankOrt(ort);
    db.SetOpenReadOnly(false);
    if (!db.OpenDb() || !db.ReadAllbelegungRec2CollByArchiv(&daten.belegungen) ||
        !db.ReadAllRoomsForWeb(&daten.raeume) || !db.ReadAllRaumartRec2Coll(&daten.raumarten))
        return Fehler(error, db.LastError());
    return true;
}

bool EinfuegenInBloecken(QSqlDatabase db, const QString& table, const QStringList& spalten,
                         qint64 anzahl, const std::function<QVariantList(qint64)>& werte,
                         const std::function<void(qint64)>& nachBlock, QString* error) {
    const QString kopf = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") +
                         spalten.join(QLatin1Char(',')) + QStringLiteral(") VALUES ");
    const int n = static_cast<int>(spalten.size());
    QSqlQuery voll(db);
    bool vollBereit = false;
    for (qint64 start = 0; start < anzahl; start += kBlockZeilen) {
        const qint64 zeilen = std::min<qint64>(kBlockZeilen, anzahl - start);
        QSqlQuery rest(db);
        QSqlQuery* q = &voll;
        if (zeilen == kBlockZeilen) {
            if (!vollBereit) {
                if (!voll.prepare(kopf + Platzhalter(n, zeilen)))
                    return Fehler(error,
                                  QStringLiteral("Das Netzpult hat eine Anweisung "
                                                 "abgelehnt."),
                                  voll.lastError());
                vollBereit = true;
            }
        } else {
            q = &rest;
            if (!rest.prepare(kopf + Platzhalter(n, zeilen)))
                return Fehler(error, QStringLiteral("Das Netzpult hat eine Anweisung abgelehnt."),
                              rest.lastError());
        }
        int pos = 0;
        for (qint64 r = start; r < start + zeilen; ++r) {
            const QVariantList zeile = werte(r);
            for (const QVariant& v : zeile)
                q->bindValue(pos++, v);
        }
        if (!q->exec())
            return Fehler(error,
                          QStringLiteral("Das Schreiben in die Tabelle %1 des Netzpults ist "
                                         "fehlgeschlagen.")
                              .arg(table),
                          q->lastError());
        if (nachBlock)
            nachBlock(zeilen);
    }
    return true;
}

namespace {

bool Nummerieren(QSqlDatabase db, const QString& bedingung, QString* error) {
    // One statement walks the requests in the order the server returns them.
    return Ausfuehren(db, QStringLiteral("SET @tovo_nr := 0"), error) &&
           Ausfuehren(db,
                      QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = (@tovo_nr := @tovo_nr + 1) "
                                     "WHERE ") +
                          bedingung,
                      error);
}

} // namespace

bool Veroeffentliche(QSqlDatabase db, const Daten& daten, const Fortschritt& fortschritt,
                     QString* error) {
    const qint64 gesamt = daten.raumarten.Count() + daten.raeume.Count() + daten.belegungen.Count();
    qint64 erledigt = 0;
    auto nachBlock = [&](qint64 zeilen) {
        erledigt += zeilen;
        if (fortschritt)
            fortschritt(erledigt, gesamt);
    };

    if (!db.transaction())
        return Fehler(error, QStringLiteral("Das Netzpult kann keine Transaktion beginnen."),
                      db.lastError());
    auto abbrechen = [&] {
        db.rollback();
        return false;
    };

    if (!Ausfuehren(db, QStringLiteral("DELETE FROM T_RAUMART"), error) ||
        !EinfuegenInBloecken(
            db, QStringLiteral("T_RAUMART"), kRaumartSpalten, daten.raumarten.Count(),
            [&](qint64 i) {
                const CRaumartRec* r = daten.raumarten.Item(static_cast<int32_t>(i + 1));
                return QVariantList{r->lId, T(r->stRaumArt)};
            },
            nachBlock, error))
        return abbrechen();

    if (!Ausfuehren(db, QStringLiteral("DELETE FROM T_RAUM"), error) ||
        !EinfuegenInBloecken(
            db, QStringLiteral("T_RAUM"), kRaumSpalten, daten.raeume.Count(),
            [&](qint64 i) {
                const CAnzeigeRec* r = daten.raeume.Item(static_cast<int32_t>(i + 1));
                return QVariantList{r->az_ID,
                                    r->lRaumartId,
                                    T(r->RaumNr),
                                    T(r->Kurzbez),
                                    int(r->IANZAHLPERS),
                                    T(r->STSTUHLANORDNUNG),
                                    T(r->stAusstattung),
                                    T(NetzpultTexte::PTischeListe(r->IPTISCHE, r->IPTISCHEFEST)),
                                    QString::number(r->IPTISCHEFEST)};
            },
            nachBlock, error))
        return abbrechen();

    if (!Ausfuehren(db, QStringLiteral("DELETE FROM T_BELEGUNG WHERE BRESERVIERT<>0"), error) ||
        !Ausfuehren(db, QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = 0"), error) ||
        !Nummerieren(db, QStringLiteral("BRESERVIERT=0"), error))
        return abbrechen();

    if (!EinfuegenInBloecken(
            db, QStringLiteral("T_BELEGUNG"), BelegungsSpalten(), daten.belegungen.Count(),
            [&](qint64 i) {
                return BelegungsWerte(*daten.belegungen.Item(static_cast<int32_t>(i + 1)));
            },
            nachBlock, error))
        return abbrechen();

    if (!db.commit()) {
        Fehler(error, QStringLiteral("Das Netzpult hat die Aktualisierung nicht übernommen."),
               db.lastError());
        return abbrechen();
    }
    return true;
}

bool NummeriereAntraege(QSqlDatabase db, bool nurNeuUndAenderung, QString* error) {
    if (!db.transaction())
        return Fehler(error, QStringLiteral("Das Netzpult kann keine Transaktion beginnen."),
                      db.lastError());
    const QString bedingung = nurNeuUndAenderung ? QStringLiteral("(STSTATUS='B' OR STSTATUS='K')")
                                                 : QStringLiteral("BRESERVIERT=0");
    if (!Nummerieren(db, bedingung, error) || !db.commit()) {
        if (error && error->isEmpty())
            Fehler(error, QStringLiteral("Das Netzpult hat die Nummerierung nicht übernommen."),
                   db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace NetzpultPublish

#pragma once

// The tests' one seam past the write path, for projects it rightly refuses to build (overlaps,
// nulls left by older versions, tens of thousands of rows within seconds): rows stored in one
// transaction and journalled as the write path does. Tests of the writing book through SchreibPfad.
#include "AenderungsJournal.h"
#include "ReservationQueries.h"
#include "SqlConnection.h"
#include "TovoDate.h"
#include "ZeilenAbbildung.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// A booking to store: the record, archived or not, and the columns stored as NULL.
struct TestBelegung {
    CBelegungRec rec;
    bool archiviert = false;
    QStringList nullen;

    // The row as the conflict rule reads it.
    ReservationQueries::BelegungsZeile zeile() const {
        const auto wert = [&](const char* spalte, double v) {
            return nullen.contains(QLatin1String(spalte)) ? std::optional<double>() : v;
        };
        return {rec.Rec_ID,
                rec.dt_von,
                rec.tm_von,
                rec.dt_bis,
                rec.tm_bis,
                wert("Udt_von", rec.Udt_von),
                wert("Utm_von", rec.Utm_von),
                wert("Rdt_bis", rec.Rdt_bis),
                wert("Rtm_bis", rec.Rtm_bis)};
    }
};

// Stores the bookings and fills in their Rec_ID; all or nothing, false with a warning.
inline bool BelegungenEinlagern(const QString& connection, QVector<TestBelegung>& zeilen) {
    namespace ZA = ZeilenAbbildung;
    QSqlDatabase db = Verbindung(connection);
    const QStringList spalten = ZA::dataColumns<CBelegungRec>();
    QSqlQuery q(db);
    QSqlError fehler;
    QVector<int32_t> ids;
    bool ok = db.transaction() &&
              q.prepare(QString(ZA::insertSql<CBelegungRec>())
                            .replace(QStringLiteral(") VALUES ("), QStringLiteral(", bArchiviert) "
                                                                                  "VALUES (?, ")));
    for (qsizetype i = 0; ok && i < zeilen.size(); ++i) {
        QVariantList werte = ZA::fieldValues(zeilen[i].rec);
        for (const QString& spalte : zeilen[i].nullen)
            werte[spalten.indexOf(spalte)] = QVariant();
        for (const QVariant& v : werte)
            q.addBindValue(v);
        q.addBindValue(zeilen[i].archiviert ? -1 : 0);
        ok = q.exec();
        ids << (zeilen[i].rec.Rec_ID = q.lastInsertId().toInt());
    }
    if (!ok)
        fehler = q.lastError();
    ok = ok && AenderungsJournal::Vermerke(db, AenderungsJournal::Art::Belegung, ids, &fehler) &&
         db.commit();
    if (!ok) {
        db.rollback();
        qWarning("Belegungen nicht gespeichert: %s", qPrintable(fehler.text()));
    }
    return ok;
}

// Random bookings in `raeume` on the `tage` days from `ersterTag`, with every kind of set-up and
// clear-down span, some over several days, a tenth archived; the n-th of order n.
inline QVector<TestBelegung> ZufallsBelegungen(QRandomGenerator& rng,
                                               const QVector<int32_t>& raeume, double ersterTag,
                                               int tage, int anzahl) {
    const double keins = TovoDate::kNoDate;
    auto zeit = [&] { return rng.bounded(96) / 96.0; };
    auto eins = [&](int prozent) { return rng.bounded(100) < prozent; };
    QVector<TestBelegung> out;
    for (int i = 0; i < anzahl; ++i) {
        TestBelegung t;
        CBelegungRec& b = t.rec;
        b.lAuftrNr = i;
        b.rb_id = raeume[rng.bounded(raeume.size())];
        b.dt_von = ersterTag + rng.bounded(tage);
        b.dt_bis = b.dt_von + (eins(15) ? rng.bounded(1, 6) : 0);
        b.tm_von = zeit();
        b.tm_bis = b.dt_bis > b.dt_von ? zeit() : b.tm_von + (1 - b.tm_von) / 2;
        b.Best = QStringLiteral("B%1").arg(i);
        b.Verst = QStringLiteral("V");
        b.STEMAIL = QStringLiteral("m%1@x.de").arg(i % 7);
        const int umbau = rng.bounded(5);
        if (umbau == 0)
            t.nullen << QStringLiteral("Udt_von");
        b.Udt_von = umbau == 1 ? keins : b.dt_von - rng.bounded(4);
        b.Utm_von = eins(10) ? keins : zeit() / 2;
        if (umbau != 2 && umbau != 3)
            t.nullen << QStringLiteral("Udt_bis");
        b.Udt_bis = umbau == 2 ? b.dt_von : keins;
        b.Utm_bis = umbau == 2 ? b.tm_von : keins;
        const int rueckbau = rng.bounded(5);
        if (rueckbau == 3)
            t.nullen << QStringLiteral("Rdt_von");
        b.Rdt_von = rueckbau == 2 ? b.dt_bis : keins;
        b.Rtm_von = rueckbau == 2 ? b.tm_bis : keins;
        if (rueckbau == 0)
            t.nullen << QStringLiteral("Rdt_bis");
        b.Rdt_bis = rueckbau == 1 ? keins : b.dt_bis + rng.bounded(3);
        if (eins(10))
            t.nullen << QStringLiteral("Rtm_bis");
        b.Rtm_bis = 0.5 + zeit() / 2;
        t.archiviert = eins(10);
        out << t;
    }
    return out;
}

// The stored bookings by key, the archived ones only when asked for.
inline bool GespeicherteBelegungen(const QString& connection, CBelegungRecColl& coll,
                                   bool archivierte = true) {
    coll.Clear();
    QSqlQuery q(Verbindung(connection));
    if (!q.exec(QStringLiteral("SELECT * FROM T_fm_belegung %1 ORDER BY Rec_ID")
                    .arg(archivierte ? QString() : QStringLiteral("WHERE bArchiviert = 0"))))
        return false;
    const ZeilenAbbildung::RowReader<CBelegungRec> reader(q.record());
    CBelegungRec row;
    while (q.next())
        if (!reader.read(q, row) || !coll.Append(&row))
            return false;
    return true;
}

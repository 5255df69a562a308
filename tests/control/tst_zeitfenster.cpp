// The plans read only the bookings around the shown period: on a generated project with a few
// thousand random bookings (set-up and clear-down spans, open ends, several days, archived rows,
// times left empty) the bounded reading shows exactly what reading every booking shows, for
// days, weeks, months and years at the edges of the data and beyond; the table of a day too.
#include "DruckTabelle.h"
#include "R_Main.h"
#include "ReservationQueries.h"
#include "SerienPruefung.h"
#include "SqlitePlaner.h"
#include "TestProjekt.h"
#include "TovoZeitPlan.h"
#include "ViewQueries.h"
#include "ZeitPlanGeometry.h"
#include "ZeitPlanLesen.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

QString Text(const ZeitPlanTermin& t) {
    return QStringLiteral("%1 %2 %3 %4 %5 %6")
        .arg(t.lId)
        .arg(t.lStammId)
        .arg(t.lFarbe, 0, 16)
        .arg(t.DtVon, 0, 'f', 6)
        .arg(t.DtBis, 0, 'f', 6)
        .arg(t.stName);
}

// The bars of `alle` that reach into [von, bis), in list order.
QStringList Sichtbar(const ZeitPlanTerminListe& alle, double von, double bis) {
    QStringList out;
    for (const ZeitPlanTermin& t : alle)
        if (t.DtVon < bis && t.DtBis > von)
            out << Text(t);
    return out;
}

} // namespace

class TestZeitfenster : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    int32_t art1 = 0;
    double erster = 0, letzter = 0; // the days the bookings start on

    // Random bookings in 12 rooms of two types from Tag(-200) to Tag(200).
    void erzeuge(int anzahl) {
        art1 = p->raumart(QStringLiteral("Besprechung"));
        const int32_t art2 = p->raumart(QStringLiteral("Schulung"));
        QVector<int32_t> raeume;
        for (int r = 0; r < 12; ++r)
            raeume << p->raum(QStringLiteral("Raum %1").arg(r, 2, 10, QLatin1Char('0')),
                              r % 3 ? art1 : art2);
        erster = Tag(-200);
        letzter = Tag(200);
        QRandomGenerator rng(815);
        QVector<TestBelegung> zeilen = ZufallsBelegungen(rng, raeume, erster, 401, anzahl);
        QVERIFY(BelegungenEinlagern(gDb, zeilen));
    }

private Q_SLOTS:
    void initTestCase() {
        p = std::make_unique<TestProjekt>();
        QVERIFY(p->ok);
        erzeuge(3000);
    }
    void cleanupTestCase() { p.reset(); }

    void gleicheBalken_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<double>("datum");
        QTest::addColumn<bool>("eineArt");
        auto row = [](const char* name, int zeitraum, double datum, bool eineArt = false) {
            QTest::newRow(name) << zeitraum << datum << eineArt;
        };
        row("day inside", TovoZeitPlan::Tag, Tag(3) + 13.0 / 24);
        row("day, one room type", TovoZeitPlan::Tag, Tag(-17) + 13.0 / 24, true);
        row("week at the first day", TovoZeitPlan::Woche, Tag(-200));
        row("week inside", TovoZeitPlan::Woche, Tag(40));
        row("week, one room type", TovoZeitPlan::Woche, Tag(41), true);
        row("week at the last day", TovoZeitPlan::Woche, Tag(200));
        row("week after all", TovoZeitPlan::Woche, Tag(215));
        row("week before all", TovoZeitPlan::Woche, Tag(-212));
        row("month at the start", TovoZeitPlan::Monat, Tag(-190));
        row("month at the end", TovoZeitPlan::Monat, Tag(195), true);
        row("year", TovoZeitPlan::Jahr, Tag(0));
    }
    void gleicheBalken() {
        QFETCH(int, zeitraum);
        QFETCH(double, datum);
        QFETCH(bool, eineArt);
        const int32_t art = eineArt ? art1 : 0;
        QString error;
        ZeitPlanTerminListe alle, gelesen;
        QVERIFY(ZeitPlanLesen::LeseTermine(gDb, art, {}, alle, &error));
        const ZeitPlanGeometry::Span sicht = ZeitPlanGeometry::SpanFor(zeitraum, datum);
        const ViewQueries::Zeitfenster fenster = ZeitPlanLesen::FensterFuer(sicht.start, sicht.end);
        QVERIFY(ZeitPlanLesen::LeseTermine(gDb, art, fenster, gelesen, &error));
        QVERIFY(ZeitPlanLesen::Deckt(fenster, sicht.start, sicht.end));

        // Everything that reaches into the span read, in the same order, with every bar of
        // its booking (the tool tip of a set-up bar names the booking's own times).
        const QStringList soll = Sichtbar(alle, fenster.von, fenster.bis);
        QCOMPARE(Sichtbar(gelesen, fenster.von, fenster.bis), soll);
        QSet<int64_t> ids;
        for (const ZeitPlanTermin& t : gelesen)
            ids.insert(t.lId);
        int balken = 0;
        for (const ZeitPlanTermin& t : alle)
            balken += ids.contains(t.lId);
        QCOMPARE(balken, gelesen.size());
        // Bounded means bounded: a week reads a small part of the bookings.
        if (zeitraum == TovoZeitPlan::Woche)
            QVERIFY2(gelesen.size() * 5 < alle.size(), qPrintable(QString::number(gelesen.size())));
        if (sicht.start > erster && sicht.end < letzter)
            QVERIFY(!soll.isEmpty());
    }

    // Every read of a period finds its bookings by a date range of an index, whatever the
    // planner knows: its own statistics (the program opening the filled project), those of a
    // full ANALYZE, or none. The statements run are recorded and their plans checked.
    QVector<std::pair<const char*, std::function<void()>>> lesungen() {
        const auto plan = [](int32_t art, double von, double bis) {
            return [=] {
                ZeitPlanTerminListe t;
                QString e;
                ZeitPlanLesen::LeseTermine(gDb, art, {von, bis}, t, &e);
            };
        };
        const auto liste = [](const std::function<bool(QString*)>& f) {
            return [=] {
                QString e;
                f(&e);
            };
        };
        return {
            {"Woche", plan(0, Tag(-7), Tag(14))},
            {"Woche einer Raumart", plan(art1, Tag(-7), Tag(14))},
            {"Streifen", plan(0, Tag(-15), Tag(169))},
            {"Tag", liste([](QString* e) {
                 QVector<CBelegungRec> b;
                 return ViewQueries::ReadBelegungenAmTag(gDb, 1, Tag(3), b, e);
             })},
            {"Raumtest",
             [] {
                 int k = 0;
                 R_Main::SindFrei({{1, Konflikt::Spanne(Tag(-90), Uhr(9), Tag(-90), Uhr(10))},
                                   {1, Konflikt::Spanne(Tag(90), Uhr(9), Tag(90), Uhr(10))}},
                                  {}, k);
             }},
            {"Freie Räume",
             [this] {
                 QVector<R_Main::FreierRaum> frei;
                 bool nichtAlle = false;
                 R_Main::Free({Konflikt::Spanne(Tag(5), Uhr(9), Tag(5), Uhr(10))}, 0, art1, frei,
                              nichtAlle);
             }},
            {"Serienprüfung",
             [this] {
                 SerienPruefung::Anfrage a;
                 a.termine = {TovoDate(Tag(0)), TovoDate(Tag(70))};
                 a.zeitVon = Uhr(9);
                 a.zeitBis = Uhr(10);
                 a.raumId = 1;
                 a.raumartId = art1;
                 SerienPruefung::Ergebnis e;
                 SerienPruefung::Pruefen(a, e, {}, nullptr);
             }},
            {"Zeitraumliste",
             liste([](QString* e) { return DruckTabelle::Zeitraum(gDb, Tag(0), Tag(6), e); })},
            {"Tagesliste", liste([](QString* e) { return DruckTabelle::Tag(gDb, Tag(2), e); })},
            {"Monatsliste", liste([](QString* e) {
                 return DruckTabelle::Save_Rpt(gDb, 3, "2026", false, {}, e);
             })},
            {"Auslastung",
             liste([](QString* e) { return DruckTabelle::Save_Rpt(gDb, 0, "2026", true, {}, e); })},
        };
    }
    void liestBereiche_data() {
        QTest::addColumn<int>("zustand");
        QTest::addColumn<int>("lesung");
        const auto alle = lesungen();
        const char* const zustaende[] = {"eigene Statistik", "ANALYZE", "keine Statistik"};
        for (int z = 0; z < 3; ++z)
            for (int l = 0; l < alle.size(); ++l)
                QTest::addRow("%s, %s", zustaende[z], alle[l].first) << z << l;
    }
    void liestBereiche() {
        if (TestAufServer())
            QSKIP("Der Plan des Servers wird anders gelesen.");
        QFETCH(int, zustand);
        QFETCH(int, lesung);
        QVERIFY(QSqlQuery(QSqlDatabase::database(gDb)).exec("DROP TABLE IF EXISTS sqlite_stat1"));
        if (zustand == 0) {
            p->db.CloseDb();
            QVERIFY(p->db.OpenDb());
        } else if (zustand == 1) {
            QVERIFY(QSqlQuery(QSqlDatabase::database(gDb)).exec("ANALYZE"));
        }
        CloseSqliteConnection(gDb); // a new connection plans with the statistics of now
        QVERIFY(OpenSqliteConnection(p->path, gDb, false, nullptr));
        QSqlDatabase db = QSqlDatabase::database(gDb);
        QStringList belegungen;
        {
            SqlitePlaner::Mitschnitt mitschnitt(db);
            lesungen()[lesung].second();
            for (const QString& sql : mitschnitt.Anweisungen())
                if (sql.contains("T_fm_belegung"))
                    belegungen << sql;
        }
        QVERIFY(!belegungen.isEmpty());
        for (const QString& sql : belegungen) {
            const QStringList plan = SqlitePlaner::Abfrageplan(db, sql);
            QVERIFY2(SqlitePlaner::LiestNurBereiche(plan, "b"),
                     qPrintable(sql + "\n" + plan.join('\n')));
        }
    }

    // The table of a day against every booking of the room decided here.
    void gleicherTag() {
        QVector<CAnzeigeRec> raeume;
        QString error;
        QVERIFY(ReservationQueries::ReadRaeume(gDb, {}, raeume, &error));
        QSqlQuery q(QSqlDatabase::database(gDb));
        QVERIFY(q.exec(QStringLiteral(
            "SELECT Rec_ID, rb_id, dt_von, dt_bis, tm_von, bArchiviert FROM T_fm_belegung")));
        struct Zeile {
            int32_t id, raum;
            double von, bis, zeit;
            bool archiv;
        };
        QVector<Zeile> zeilen;
        while (q.next())
            zeilen.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toDouble(),
                           q.value(3).toDouble(), q.value(4).toDouble(), q.value(5).toInt() != 0});
        for (double tag : {Tag(-200), Tag(-3), Tag(0), Tag(77), Tag(203)}) {
            for (const CAnzeigeRec& raum : raeume) {
                QVector<CBelegungRec> gelesen;
                QVERIFY(ViewQueries::ReadBelegungenAmTag(gDb, raum.az_ID, tag, gelesen, &error));
                QVector<Zeile> soll;
                for (const Zeile& z : zeilen)
                    if (z.raum == raum.az_ID && !z.archiv && z.von <= tag && z.bis >= tag)
                        soll << z;
                std::stable_sort(soll.begin(), soll.end(), [](const Zeile& a, const Zeile& b) {
                    return a.zeit < b.zeit || (a.zeit == b.zeit && a.id < b.id);
                });
                QList<int32_t> a, b;
                for (const auto& r : gelesen)
                    a << r.Rec_ID;
                for (const auto& z : soll)
                    b << z.id;
                QCOMPARE(a, b);
            }
        }
    }
};

QTEST_MAIN(TestZeitfenster)
#include "tst_zeitfenster.moc"

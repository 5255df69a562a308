// The plans read only the bookings around the shown period: on a generated project with a few
// thousand random bookings (set-up and clear-down spans, open ends, several days, archived rows,
// times left empty) the bounded reading shows exactly what reading every booking shows, for
// days, weeks, months and years at the edges of the data and beyond; the table of a day too. The
// room tests as set queries give the answers of deciding each booking with the conflict rule.
#include "DruckTabelle.h"
#include "KonfliktSuche.h"
#include "R_Main.h"
#include "SerienPruefung.h"
#include "ServerPlaene.h"
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
    const double erster = Tag(-200), letzter = Tag(200); // the days the bookings start on
    QVector<TestBelegung> alle;
    QMap<int32_t, int32_t> raumart; // room -> type
    QRandomGenerator zufall{815};

    // A random span in the bookings' days: most on one day, some over several.
    Konflikt::Zeitspanne Spanne() {
        const double tag = erster + zufall.bounded(400);
        const double von = (6 * 60 + 5 * zufall.bounded(14 * 12)) / 1440.0;
        const double bis = von + (15 + 15 * zufall.bounded(15)) / 1440.0;
        const double tage = zufall.bounded(10) < 3 ? 1 + zufall.bounded(3) : 0;
        return {tag, von, tag + tage + std::floor(bis), bis - std::floor(bis)};
    }

private Q_SLOTS:
    // Random bookings in 12 rooms of two types from Tag(-200) to Tag(200).
    void initTestCase() {
        p = std::make_unique<TestProjekt>();
        art1 = p->raumart("Besprechung");
        const int32_t art2 = p->raumart("Schulung");
        for (int r = 0; r < 12; ++r)
            raumart.insert(p->raum(QStringLiteral("Raum %1").arg(r, 2, 10, QLatin1Char('0')),
                                   r % 3 ? art1 : art2),
                           r % 3 ? art1 : art2);
        alle = ZufallsBelegungen(zufall, raumart.keys(), erster, 401, 3000);
        QVERIFY(p->ok && BelegungenEinlagern(gDb, alle));
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
        row("week at the first day", TovoZeitPlan::Woche, Tag(-200));
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
        QVERIFY(ZeitPlanLesen::ReadTermine(gDb, art, {}, alle, &error));
        const ZeitPlanGeometry::Span sicht = ZeitPlanGeometry::SpanFor(zeitraum, datum);
        const ViewQueries::Zeitfenster fenster = ZeitPlanLesen::FensterFuer(sicht.start, sicht.end);
        QVERIFY(ZeitPlanLesen::ReadTermine(gDb, art, fenster, gelesen, &error));
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
                ZeitPlanLesen::ReadTermine(gDb, art, {von, bis}, t, &e);
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
            {"Raumtest, eine lange Serie",
             [] {
                 // More dates than the query carries itself: they go through the temporary table.
                 QVector<Konflikt::Termin> termine;
                 for (int woche = 0; woche < 30; ++woche)
                     termine.append(
                         {1, Konflikt::Spanne(Tag(7 * woche), Uhr(9), Tag(7 * woche), Uhr(10))});
                 int k = 0;
                 R_Main::SindFrei(termine, {}, k);
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
        QFETCH(int, zustand);
        QFETCH(int, lesung);
        if (TestAufServer())
            return liestBereicheAufServer(zustand, lesung);
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

    // The server reads every booking table by room, class and both ends of the period too,
    // whether it has measured the tables or not.
    void liestBereicheAufServer(int zustand, int lesung) {
        QSqlQuery q(QSqlDatabase::database(gDb));
        if (zustand == 1)
            QVERIFY(q.exec("ANALYZE"));
        else if (zustand == 2)
            QVERIFY(q.exec("DELETE FROM pg_statistic WHERE starelid = 't_fm_belegung'::regclass"));
        CloseSqliteConnection(gDb); // a new connection plans anew
        QVERIFY(OeffneDatenbank(gDbOrt, gDb, false, nullptr));
        QList<QJsonObject> plaene;
        {
            ServerPlaene mitschnitt(QSqlDatabase::database(gDb));
            QVERIFY(mitschnitt.Bereit());
            lesungen()[lesung].second();
            plaene = mitschnitt.Plaene();
        }
        // By room, class, both ends of the last day and the first day: five conditions of the
        // index, joined at the top.
        const auto bedingungen = [](const QString& text) {
            int tiefe = 0, anzahl = 1;
            for (qsizetype i = 0; i < text.size(); ++i) {
                tiefe += text[i] == '(' ? 1 : text[i] == ')' ? -1 : 0;
                anzahl += tiefe == 1 && text.mid(i, 5) == " AND " ? 1 : 0;
            }
            return anzahl;
        };
        int gelesen = 0;
        for (const QJsonObject& plan : std::as_const(plaene))
            for (const QJsonObject& scan : ServerPlaene::Scans(plan, "t_fm_belegung")) {
                const QString bedingung = scan.value("Index Cond").toString();
                QVERIFY2(scan.value("Index Name").toString() == "ix_belegung_zeitraum" &&
                             bedingung.startsWith("((rb_id = ") && bedingungen(bedingung) == 5,
                         qPrintable(scan.value("Node Type").toString() + ": " + bedingung));
                ++gelesen;
            }
        QVERIFY(gelesen > 0);
    }

    // The table of a day against every booking of the room decided here.
    void gleicherTag() {
        for (double tag : {Tag(-200), Tag(-3), Tag(0), Tag(77), Tag(203)}) {
            for (const int32_t raum : raumart.keys()) {
                QVector<CBelegungRec> gelesen;
                QString error;
                QVERIFY(ViewQueries::ReadBelegungenAmTag(gDb, raum, tag, gelesen, &error));
                QList<std::pair<double, int32_t>> soll; // by start time, then key
                for (const TestBelegung& b : alle)
                    if (b.rec.rb_id == raum && !b.archiviert && b.rec.dt_von <= tag &&
                        b.rec.dt_bis >= tag)
                        soll.append({b.rec.tm_von, b.rec.Rec_ID});
                std::sort(soll.begin(), soll.end());
                QList<int32_t> ids;
                for (const auto& r : gelesen)
                    ids << r.Rec_ID;
                for (int i = 0; i < soll.size(); ++i)
                    QCOMPARE(ids.value(i), soll[i].second);
                QCOMPARE(ids.size(), soll.size());
            }
        }
    }

    void gleicheKonflikte_data() {
        QTest::addColumn<int>("toleranz"); // minutes
        QTest::newRow("tolerance 0") << 0;
        QTest::newRow("tolerance 15") << 15;
    }
    void gleicheKonflikte() {
        QFETCH(int, toleranz);
        const double tol = toleranz / 1440.0;
        const QList<int32_t> raeume = raumart.keys();

        // The room test: 400 dates in random rooms at once, some bookings left out.
        QVector<Konflikt::Termin> termine;
        for (int i = 0; i < 400; ++i) {
            Konflikt::Zeitspanne s = Spanne();
            if (i % 4 == 0)
                s.startZeit = std::max(0.0, s.startZeit - 1 / 24.0); // with a set-up hour
            termine.append({raeume[zufall.bounded(int(raeume.size()))], s});
        }
        QSet<int32_t> ausser;
        for (int i = 0; i < 50; ++i)
            ausser.insert(alle[zufall.bounded(int(alle.size()))].rec.Rec_ID);
        QSet<int> erwartet, gefunden;
        for (int i = 0; i < termine.size(); ++i)
            for (const TestBelegung& b : alle)
                if (b.rec.rb_id == termine[i].raum && !ausser.contains(b.rec.Rec_ID) &&
                    !Konflikt::KeinKonflikt(termine[i].spanne,
                                            Konflikt::SpanneImRaumtest(b.zeile()), tol))
                    erwartet.insert(i);
        QString error;
        QVERIFY2(Konflikt::Konflikte(
                     gDb, termine, ausser, tol, Konflikt::Lesart::Raumtest,
                     [&](const Konflikt::Treffer& t) {
                         gefunden.insert(t.termin);
                         return true;
                     },
                     &error),
                 qPrintable(error));
        QVERIFY(erwartet.size() > 20 && erwartet.size() < termine.size() - 20);
        QCOMPARE(gefunden, erwartet);

        // The free-room search: single spans and weekly series, in one type or in all rooms.
        for (int anfrage = 0; anfrage < 60; ++anfrage) {
            QVector<Konflikt::Zeitspanne> spannen{Spanne()};
            const Konflikt::Zeitspanne s = spannen[0];
            const int anzahl = anfrage % 3 ? 1 : 2 + zufall.bounded(8);
            for (int i = 1; i < anzahl; ++i)
                spannen.append({s.startDatum + 7 * i, s.startZeit, s.startDatum + 7 * i,
                                std::max(s.endZeit, s.startZeit + 1 / 96.0)});
            const int32_t typ = anfrage % 2 ? art1 : 0;
            QSet<int32_t> belegtErwartet, belegt;
            for (const TestBelegung& b : alle)
                if (!ausser.contains(b.rec.Rec_ID) &&
                    (typ == 0 || raumart.value(b.rec.rb_id) == typ))
                    for (const Konflikt::Zeitspanne& z : spannen)
                        if (!Konflikt::KeinKonflikt(z, Konflikt::SpanneInSuche(b.zeile()), tol))
                            belegtErwartet.insert(b.rec.rb_id);
            QVERIFY2(Konflikt::BelegteRaeume(gDb, typ, spannen, ausser, tol, belegt, &error),
                     qPrintable(error));
            QCOMPARE(belegt, belegtErwartet);
        }
    }
};

QTEST_MAIN(TestZeitfenster)
#include "tst_zeitfenster.moc"

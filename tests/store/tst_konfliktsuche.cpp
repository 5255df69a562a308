// The room tests as set queries give exactly the answers of reading every booking and deciding
// each with the conflict rule: on a random project with set-up and clear-down spans, bookings
// over several days, archived ones and odd nulls, for many dates at once and for the free-room
// search.
#include "KonfliktSuche.h"
#include "TestProjekt.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

double Minuten(QRandomGenerator& r, int von, int bis, int schritt = 5) {
    return (von + schritt * r.bounded((bis - von) / schritt)) / 1440.0;
}

} // namespace

class TstKonfliktSuche : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    QVector<TestBelegung> alle;
    QMap<int32_t, int32_t> raumart; // room -> type
    QRandomGenerator zufall{20260316};

    // A random span: most on one day, some over several; some with set-up before or
    // clear-down after it.
    Konflikt::Zeitspanne Spanne(double& tag, double& von, double& bis) {
        tag = 46000 + zufall.bounded(300);
        von = Minuten(zufall, 6 * 60, 20 * 60);
        bis = von + Minuten(zufall, 15, 4 * 60, 15);
        const double tage = zufall.bounded(10) < 3 ? 1 + zufall.bounded(3) : 0;
        if (bis >= 1.0) {
            bis -= 1.0;
            return {tag, von, tag + tage + 1, bis};
        }
        return {tag, von, tag + tage, bis};
    }

    void erzeuge() {
        const int32_t typA = p->raumart(QStringLiteral("A"));
        const int32_t typB = p->raumart(QStringLiteral("B"));
        for (int i = 0; i < 12; ++i) {
            const int32_t typ = i % 3 ? typA : typB;
            raumart.insert(p->raum(QStringLiteral("R%1").arg(i), typ), typ);
        }
        alle = ZufallsBelegungen(zufall, raumart.keys(), 46000, 300, 3000);
        QVERIFY(BelegungenEinlagern(gDb, alle));
    }

private Q_SLOTS:
    void initTestCase() {
        p = std::make_unique<TestProjekt>();
        QVERIFY(p->ok);
        erzeuge();
    }
    void cleanupTestCase() { p.reset(); }

    void gleicheAntworten_data() {
        QTest::addColumn<int>("toleranz"); // minutes
        QTest::newRow("tolerance 0") << 0;
        QTest::newRow("tolerance 15") << 15;
    }
    void gleicheAntworten() {
        QFETCH(int, toleranz);
        const double tol = toleranz / 1440.0;
        const QList<int32_t> raeume = raumart.keys();

        // The room test: 400 dates in random rooms at once, some bookings left out.
        QVector<Konflikt::Termin> termine;
        for (int i = 0; i < 400; ++i) {
            double tag = 0, von = 0, bis = 0;
            Konflikt::Zeitspanne s = Spanne(tag, von, bis);
            if (i % 4 == 0)
                s.startZeit = std::max(0.0, s.startZeit - 1 / 24.0); // with a set-up hour
            termine.append({raeume[zufall.bounded(int(raeume.size()))], s});
        }
        QSet<int32_t> ausser;
        for (int i = 0; i < 50; ++i)
            ausser.insert(alle[zufall.bounded(int(alle.size()))].rec.Rec_ID);

        QSet<int> erwartet;
        for (int i = 0; i < termine.size(); ++i)
            for (const TestBelegung& b : alle)
                if (b.rec.rb_id == termine[i].raum && !ausser.contains(b.rec.Rec_ID) &&
                    !Konflikt::KeinKonflikt(termine[i].spanne,
                                            Konflikt::SpanneImRaumtest(b.zeile()), tol))
                    erwartet.insert(i);
        QSet<int> gefunden;
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

        // The free-room search: single spans and series of dates, in one type or in all rooms.
        for (int anfrage = 0; anfrage < 60; ++anfrage) {
            QVector<Konflikt::Zeitspanne> spannen;
            double tag = 0, von = 0, bis = 0;
            const Konflikt::Zeitspanne erste = Spanne(tag, von, bis);
            const int anzahl = anfrage % 3 ? 1 : 2 + zufall.bounded(8);
            for (int i = 0; i < anzahl; ++i)
                spannen.append(anzahl == 1 ? erste
                                           : Konflikt::Zeitspanne{tag + 7 * i, von, tag + 7 * i,
                                                                  std::max(bis, von + 1 / 96.0)});
            const int32_t typ = anfrage % 2 ? raumart.first() : 0;
            QSet<int32_t> belegtErwartet;
            for (const TestBelegung& b : alle)
                if (!ausser.contains(b.rec.Rec_ID) &&
                    (typ == 0 || raumart.value(b.rec.rb_id) == typ))
                    for (const Konflikt::Zeitspanne& s : spannen)
                        if (!Konflikt::KeinKonflikt(s, Konflikt::SpanneInSuche(b.zeile()), tol))
                            belegtErwartet.insert(b.rec.rb_id);
            QSet<int32_t> belegt;
            QVERIFY2(Konflikt::BelegteRaeume(gDb, typ, spannen, ausser, tol, belegt, &error),
                     qPrintable(error));
            QCOMPARE(belegt, belegtErwartet);
        }
    }
};

QTEST_GUILESS_MAIN(TstKonfliktSuche)
#include "tst_konfliktsuche.moc"

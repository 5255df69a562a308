// The conflict rule between two spans and the spans that stored bookings occupy.
#include "R_Main.h"

#include <QtTest>

using R_Main::Zeitspanne;
Q_DECLARE_METATYPE(Zeitspanne)

namespace {
// Monday 16.03.2026 + n days, at hh:mm.
double Tag(int n, int h = 0, int mi = 0) {
    return TovoDate::fromParts(2026, 3, 16 + n, h, mi).value();
}
double Zeit(int h) {
    return h / 24.0;
}
Zeitspanne Von(double von, double bis) {
    const double dv = std::trunc(von), db = std::trunc(bis);
    return {dv, von - dv, db, bis - db};
}
// Dates exactly, times to the second.
bool Gleich(const Zeitspanne& a, const Zeitspanne& b) {
    const auto sek = [](double t) { return std::llround(t * 86400); };
    return a.startDatum == b.startDatum && a.endDatum == b.endDatum &&
           sek(a.startZeit) == sek(b.startZeit) && sek(a.endZeit) == sek(b.endZeit);
}
} // namespace

class TestKonflikt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void regel_data() {
        QTest::addColumn<Zeitspanne>("neu");
        QTest::addColumn<Zeitspanne>("belegt");
        QTest::addColumn<int>("toleranz"); // minutes
        QTest::addColumn<bool>("frei");

        const Zeitspanne neun = Von(Tag(0, 9), Tag(0, 10));
        const Zeitspanne zweiTage = Von(Tag(0, 14), Tag(2, 10)); // Monday 14:00 - Wednesday 10:00
        auto row = [](const char* name, Zeitspanne n, Zeitspanne b, int tol, bool frei) {
            QTest::newRow(name) << n << b << tol << frei;
        };
        row("touching at 10:00, tolerance 0", Von(Tag(0, 10), Tag(0, 11)), neun, 0, true);
        row("touching at 10:00, tolerance 1", Von(Tag(0, 10), Tag(0, 11)), neun, 1, false);
        row("09:45 + 15 minutes is 10:00", Von(Tag(0, 10), Tag(0, 11)),
            Von(Tag(0, 9), Tag(0, 9, 45)), 15, true);
        row("new one before, touching", Von(Tag(0, 8), Tag(0, 9)), neun, 0, true);
        row("new one before, tolerance 1", Von(Tag(0, 8), Tag(0, 9)), neun, 1, false);
        row("set-up 07:00 into 06:30-07:30", Von(Tag(0, 7), Tag(0, 9)),
            Von(Tag(0, 6, 30), Tag(0, 7, 30)), 0, false);
        row("stored one ends the day before", Von(Tag(1, 0), Tag(1, 1)),
            Von(Tag(0, 8), Tag(0, 23, 59)), 60, true);
        row("two-day booking, Tuesday", Von(Tag(1, 8), Tag(1, 9)), zweiTage, 0, false);
        row("two-day booking, Wednesday after", Von(Tag(2, 10), Tag(2, 11)), zweiTage, 0, true);
        row("two-day booking, Wednesday before", Von(Tag(2, 9), Tag(2, 11)), zweiTage, 0, false);
        row("two-day booking, Monday before", Von(Tag(0, 12), Tag(0, 14)), zweiTage, 0, true);
        row("new two-day span over one day", zweiTage, Von(Tag(1, 8), Tag(1, 9)), 0, false);
        Zeitspanne mitDatum = neun; // times that carry a date part count as times of day
        mitDatum.endZeit = Tag(0, 10);
        row("end time with date part", Von(Tag(0, 10), Tag(0, 11)), mitDatum, 0, true);
    }
    void regel() {
        QFETCH(Zeitspanne, neu);
        QFETCH(Zeitspanne, belegt);
        QFETCH(int, toleranz);
        QFETCH(bool, frei);
        QCOMPARE(R_Main::KeinKonflikt(neu, belegt, toleranz / 1440.0), frei);
    }

    // Stored rows: the room test takes date and time of a set-up together (a null time is 00:00),
    // the free-room search each on its own (a time of 00:00 or null is none). A null date is no
    // set-up in both.
    void spanneGespeichert() {
        ReservationQueries::BelegungsZeile z;
        z.dt_von = z.dt_bis = Tag(0);
        z.tm_von = Zeit(9);
        z.tm_bis = Zeit(10);
        z.Utm_von = Zeit(7);
        QVERIFY(Gleich(R_Main::SpanneImRaumtest(z), Von(Tag(0, 9), Tag(0, 10))));
        QVERIFY(Gleich(R_Main::SpanneInSuche(z), Von(Tag(0, 7), Tag(0, 10))));
        z.Utm_von.reset();
        z.Udt_von = Tag(-1);
        z.Rdt_bis = Tag(1);
        QVERIFY(Gleich(R_Main::SpanneImRaumtest(z), Von(Tag(-1, 0), Tag(1, 0))));
        QVERIFY(Gleich(R_Main::SpanneInSuche(z), Von(Tag(-1, 9), Tag(1, 10))));
    }
};

QTEST_GUILESS_MAIN(TestKonflikt)
#include "tst_konflikt.moc"

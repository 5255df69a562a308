// Overlapping bookings in the time plan: the pairs of a period, the booking that stops a move,
// and the outline and tool tip of a clashing bar.
#include "RvGlobals.h"
#include "TovoDate.h"
#include "TovoZeitPlan.h"
#include "ZeitPlanKonflikte.h"

#include <QtTest>

namespace {
// Monday 16.03.2026 plus n days, at hour h.
double Z(int n, double h) {
    return TovoDate::fromParts(2026, 3, 16 + n).value() + h / 24.0;
}
ZeitPlanTermin Balken(int64_t id, int64_t raum, double von, double bis,
                      int64_t farbe = kFarbeBelegung) {
    ZeitPlanTermin t;
    t.lId = id;
    t.lStammId = raum;
    t.stName = QStringLiteral("Besteller %1").arg(id);
    t.lFarbe = farbe;
    t.DtVon = von;
    t.DtBis = bis;
    return t;
}
QStringList Namen(const QVector<ZeitPlanKonflikte::Paar>& paare) {
    QStringList out;
    for (const auto& p : paare)
        out << QStringLiteral("%1-%2").arg(p.erste.lId).arg(p.zweite.lId);
    return out;
}
// Room 1 on Monday: 1 from 9 to 12, 2 from 10 to 11 and 3 from 11:30 to 13 overlap; 4 starts
// when 3 ends. Room 2 holds 5 at the same time as 1, and 6 on Wednesday, whose set-up bar
// reaches back into the time of 7.
// A pair is named by the booking that starts first.
ZeitPlanTerminListe Plan() {
    return {Balken(1, 1, Z(0, 9), Z(0, 12)),
            Balken(2, 1, Z(0, 10), Z(0, 11)),
            Balken(3, 1, Z(0, 11.5), Z(0, 13)),
            Balken(4, 1, Z(0, 13), Z(0, 14)),
            Balken(5, 2, Z(0, 9), Z(0, 12)),
            Balken(7, 2, Z(2, 8), Z(2, 9)),
            Balken(6, 2, Z(2, 8.5), Z(2, 9.5), kFarbeUmbau),
            Balken(6, 2, Z(2, 9.5), Z(2, 12))};
}
} // namespace

class TestKonflikte : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { gdToleranz = 0; }

    void pairsOfAPeriod_data() {
        QTest::addColumn<double>("von");
        QTest::addColumn<double>("bis");
        QTest::addColumn<double>("toleranz");
        QTest::addColumn<QStringList>("paare");
        QTest::newRow("the week") << Z(0, 0) << Z(7, 0) << 0.0 << QStringList{"1-2", "1-3", "7-6"};
        QTest::newRow("Monday from a quarter to noon")
            << Z(0, 11.75) << Z(1, 0) << 0.0 << QStringList{"1-3"};
        QTest::newRow("tolerance makes touching bookings clash")
            << Z(0, 0) << Z(1, 0) << 0.5 / 24 << QStringList{"1-2", "1-3", "3-4"};
        QTest::newRow("Tuesday holds none") << Z(1, 0) << Z(2, 0) << 0.0 << QStringList{};
    }
    void pairsOfAPeriod() {
        QFETCH(double, von);
        QFETCH(double, bis);
        QFETCH(double, toleranz);
        QTEST(Namen(ZeitPlanKonflikte::Paare(Plan(), von, bis, toleranz)), "paare");
    }

    void clashingBarsNameEachOther() {
        TovoZeitPlan plan;
        plan.Laden({{1, QStringLiteral("A"), {}, {}, {}}, {2, QStringLiteral("B"), {}, {}, {}}},
                   Plan());
        QCOMPARE(plan.KonflikteVon(4), QVector<int>{});
        QCOMPARE(plan.KonflikteVon(2).size(), 1);
        QVERIFY(plan.ToolTipFor(1).contains(QStringLiteral("Überschneidung mit: Besteller 1")));
        QVERIFY(!plan.ToolTipFor(3).contains(QStringLiteral("Überschneidung")));
    }
};

QTEST_MAIN(TestKonflikte)
#include "tst_konflikte.moc"

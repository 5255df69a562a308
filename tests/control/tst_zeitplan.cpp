// The time-plan widget under the mouse: open, book a free slot, drag to another room, overview.
#include "TovoDate.h"
#include "TovoZeitPlan.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0, int mi = 0) {
    return TovoDate::fromParts(y, m, d, h, mi).value();
}
} // namespace

class TestZeitPlan : public QObject {
    Q_OBJECT

    TovoZeitPlan* plan = nullptr;

    void load(TovoZeitPlan& p) {
        ZeitPlanRaumListe raeume{{11, QStringLiteral("Raum A"), QStringLiteral("1.1"), {}},
                                 {12, QStringLiteral("Raum B"), QStringLiteral("1.2"), {}},
                                 {13, QStringLiteral("Raum C"), QStringLiteral("1.3"), {}}};
        ZeitPlanTerminListe termine;
        ZeitPlanTermin t;
        t.lId = 501;
        t.lStammId = 11;
        t.stName = QStringLiteral("Meier/Klausur/meier@example.org");
        t.lFarbe = kFarbeBelegung;
        t.DtVon = D(2026, 3, 17, 9);
        t.DtBis = D(2026, 3, 17, 15);
        termine << t;
        t.lFarbe = kFarbeUmbau; // set-up before it
        t.DtVon = D(2026, 3, 17, 7);
        t.DtBis = D(2026, 3, 17, 9);
        termine << t;
        p.Laden(raeume, termine);
    }

private Q_SLOTS:
    void init() {
        plan = new TovoZeitPlan;
        plan->resize(160 + 700, 40 + 3 * 22); // week: 100 px a day
        plan->SetZeitraum(TovoZeitPlan::Woche);
        plan->SetDatumVon(D(2026, 3, 16));
        load(*plan);
        plan->show();
        QVERIFY(QTest::qWaitForWindowExposed(plan));
    }
    void cleanup() { delete plan; }

    void doubleClickOnBarOpensIt() {
        QSignalSpy spy(plan, &TovoZeitPlan::SelectAntrag);
        const QRect bar = plan->TerminRect(0);
        QTest::mouseDClick(plan, Qt::LeftButton, {}, bar.center());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 501);
        // The set-up bar belongs to the same booking.
        QTest::mouseDClick(plan, Qt::LeftButton, {}, plan->TerminRect(1).center());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 501);
    }

    void doubleClickOnFreeSlotGivesWholeHour() {
        QSignalSpy spy(plan, &TovoZeitPlan::FreeSelected);
        // Wednesday 18.03. at 14:30, row of room B.
        const int x = 160 + 2 * 100 + static_cast<int>(14.5 / 24 * 100);
        QTest::mouseDClick(plan, Qt::LeftButton, {}, QPoint(x, 40 + 22 + 10));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(TovoDate(spy.at(0).at(0).toDouble()).format(QStringLiteral("dd.MM.yyyy hh:mm")),
                 QStringLiteral("18.03.2026 14:00"));
        QCOMPARE(spy.at(0).at(1).toInt(), 12);
        // Nothing in the header or the room column.
        QTest::mouseDClick(plan, Qt::LeftButton, {}, QPoint(x, 10));
        QTest::mouseDClick(plan, Qt::LeftButton, {}, QPoint(50, 40 + 10));
        QCOMPARE(spy.size(), 1);
    }

    void dragToAnotherRowMovesBooking_data() {
        QTest::addColumn<int>("targetRow");
        QTest::addColumn<int>("moves");
        QTest::newRow("to room C") << 2 << 1;
        QTest::newRow("same room") << 0 << 0;
    }
    void dragToAnotherRowMovesBooking() {
        QFETCH(int, targetRow);
        QFETCH(int, moves);
        QSignalSpy spy(plan, &TovoZeitPlan::MoveAntrag);
        const QPoint start = plan->TerminRect(0).center();
        const QPoint target(start.x() + 5, 40 + targetRow * 22 + 11);
        QTest::mousePress(plan, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start.x(), start.y() + 12),
                         plan->mapToGlobal(QPointF(start.x(), start.y() + 12)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plan, &move);
        QMouseEvent move2(QEvent::MouseMove, QPointF(target), plan->mapToGlobal(QPointF(target)),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plan, &move2);
        QTest::mouseRelease(plan, Qt::LeftButton, {}, target);
        QCOMPARE(spy.size(), moves);
        if (moves) {
            QCOMPARE(spy.at(0).at(0).toInt(), 501);
            QCOMPARE(spy.at(0).at(1).toString(), QStringLiteral("13"));
        }
    }

    void toolTipNamesLabelAndTimes() {
        const QString tip = plan->ToolTipFor(0);
        QVERIFY(tip.startsWith(QStringLiteral("Meier/Klausur/meier@example.org")));
        QVERIFY2(tip.contains(QStringLiteral("17.03.2026 09:00 – 15:00")), qPrintable(tip));
        QVERIFY(plan->ToolTipFor(1).contains(QStringLiteral("Umbau")));
    }

    void onlyVisibleBarsAreFound() {
        // A week later the booking is out of sight: nothing to hit.
        plan->SetDatumVon(D(2026, 3, 23));
        QCOMPARE(plan->TerminAt(QPoint(160 + 150, 40 + 11)), -1);
        plan->SetDatumVon(D(2026, 3, 16));
        QCOMPARE(plan->TerminAt(QPoint(160 + 150, 40 + 11)), 0);
    }

    void overviewClickAsksForThatDay() {
        TovoZeitPlan overview;
        overview.resize(600, 60);
        load(overview);
        overview.Bereich(D(2026, 3, 1), 6);
        QCOMPARE(TovoDate(overview.DatumVon()).format(QStringLiteral("dd.MM.yyyy")),
                 QStringLiteral("01.03.2026"));
        overview.show();
        QSignalSpy spy(&overview, &TovoZeitPlan::ChangeAnzeige);
        // Find the cell of 17.03.2026 and click it.
        QPoint cell;
        for (int x = 0; x < 100 && cell.isNull(); ++x)
            if (overview.TagAt(QPoint(x, 40)) == D(2026, 3, 17))
                cell = QPoint(x, 40);
        QVERIFY(!cell.isNull());
        QTest::mouseClick(&overview, Qt::LeftButton, {}, cell);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(std::floor(spy.at(0).at(0).toDouble()), D(2026, 3, 17));
    }

    void rowsScrollUnderAFixedHeader() {
        plan->resize(860, 40 + 22); // room for one row
        QCOMPARE(plan->InhaltHoehe(), 40 + 3 * 22);
        plan->SetZeilenOffset(1000); // clamped to the overhang
        QCOMPARE(plan->ZeilenOffset(), 2 * 22);
        QCOMPARE(plan->RaumRowAt(QPoint(300, 41)), 2);
    }
};

QTEST_MAIN(TestZeitPlan)
#include "tst_zeitplan.moc"

// The time plan: its geometry (spans of the periods, steps, rows) and the widget under the mouse
// (open, book a free slot, drag to another room, scroll, overview).
#include "TovoDate.h"
#include "TovoZeitPlan.h"
#include "ZeitPlanGeometry.h"

#include <QSignalSpy>
#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0, int mi = 0) {
    return TovoDate::fromParts(y, m, d, h, mi).value();
}
QString T(double v) {
    return TovoDate(v).format(QStringLiteral("dd.MM.yyyy hh:mm"));
}
} // namespace

class TestZeitPlan : public QObject {
    Q_OBJECT

    TovoZeitPlan* plan = nullptr;

    void load(TovoZeitPlan& p) {
        ZeitPlanRaumListe raeume{{11, QStringLiteral("Raum A"), QStringLiteral("1.1"), {}, {}},
                                 {12, QStringLiteral("Raum B"), QStringLiteral("1.2"), {}, {}},
                                 {13, QStringLiteral("Raum C"), QStringLiteral("1.3"), {}, {}}};
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

    void spans_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<double>("anzeige");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        // Thursday in the middle shows Monday to Sunday; the 16th shows the whole month.
        QTest::newRow("week, Thursday")
            << 2 << D(2026, 3, 19, 13) << QString("16.03.2026 00:00") << "23.03.2026 00:00";
        QTest::newRow("month, 16th")
            << 3 << D(2026, 3, 16) << QString("01.03.2026 00:00") << "01.04.2026 00:00";
        QTest::newRow("year, July")
            << 7 << D(2026, 7, 15) << QString("01.01.2026 00:00") << "01.01.2027 00:00";
        QTest::newRow("day, 13:00")
            << 1 << D(2026, 3, 14, 13) << QString("14.03.2026 06:00") << "14.03.2026 20:00";
    }
    void spans() {
        QFETCH(int, zeitraum);
        QFETCH(double, anzeige);
        QFETCH(QString, von);
        const auto span = ZeitPlanGeometry::SpanFor(zeitraum, anzeige);
        QCOMPARE(T(span.start), von);
        QTEST(T(span.end), "bis");
        // Setting the start again gives a display date with the same span.
        const auto again = ZeitPlanGeometry::SpanFor(
            zeitraum, ZeitPlanGeometry::AnzeigedatumFor(zeitraum, span.start));
        QCOMPARE(T(again.start), von);
    }

    void steps_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<int>("schritt");
        QTest::addColumn<bool>("block");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("week far back") << 2 << 1 << false << "07.03.2026 13:00";
        QTest::newRow("week one day") << 2 << 3 << false << "15.03.2026 13:00";
        QTest::newRow("day one hour back") << 1 << 2 << false << "14.03.2026 12:00";
        QTest::newRow("day far forward") << 1 << 4 << false << "15.03.2026 13:00";
        QTest::newRow("month far forward") << 3 << 4 << false << "14.04.2026 13:00";
        QTest::newRow("month one week") << 3 << 3 << false << "21.03.2026 13:00";
        QTest::newRow("year one month back") << 7 << 2 << false << "14.02.2026 13:00";
        QTest::newRow("year far back") << 7 << 1 << false << "14.03.2025 13:00";
        QTest::newRow("week block step") << 2 << 3 << true << "17.03.2026 13:00";
    }
    void steps() {
        QFETCH(int, zeitraum);
        QFETCH(int, schritt);
        QFETCH(bool, block);
        QFETCH(QString, erwartet);
        QCOMPARE(T(ZeitPlanGeometry::Blaettern(zeitraum, D(2026, 3, 14, 13), schritt, block)),
                 erwartet);
    }

    void rows_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("row");
        QTest::newRow("header") << 0 << 39 << -1;
        QTest::newRow("first row") << 0 << 40 << 0;
        QTest::newRow("third row") << 0 << 40 + 2 * 22 + 5 << 2;
        QTest::newRow("scrolled") << 44 << 40 << 2;
    }
    void rows() {
        QFETCH(int, offset);
        QFETCH(int, y);
        ZeitPlanGeometry g;
        g.setRows(40, 22, offset);
        QTEST(g.rowAt(y), "row");
        int first = 0, last = 0;
        g.visibleRows(40 + 22 * 3, 10, first, last);
        QCOMPARE(first, offset / 22);
        QCOMPARE(last, offset / 22 + 2);
    }

    void wheel_data() {
        QTest::addColumn<int>("dx");
        QTest::addColumn<int>("dy");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<int>("art");
        QTest::addColumn<int>("schritte");
        using R = ZeitPlanGeometry::Rad;
        QTest::newRow("wheel down scrolls rooms down")
            << 0 << -240 << false << false << int(R::Zeilen) << 2;
        QTest::newRow("wheel up scrolls rooms up")
            << 0 << 120 << false << false << int(R::Zeilen) << -1;
        QTest::newRow("shift+wheel up goes back")
            << 0 << 120 << true << false << int(R::Zeitraum) << -1;
        QTest::newRow("shift turned horizontal by the system")
            << -120 << 0 << true << false << int(R::Zeitraum) << 1;
        QTest::newRow("horizontal wheel right goes on")
            << -120 << 0 << false << false << int(R::Zeitraum) << 1;
        QTest::newRow("ctrl+wheel up makes rows taller")
            << 0 << 120 << false << true << int(R::Zeilenhoehe) << 1;
        QTest::newRow("less than a notch does nothing")
            << 0 << 60 << true << true << int(R::Nichts) << 0;
    }
    void wheel() {
        QFETCH(int, dx);
        QFETCH(int, dy);
        QFETCH(bool, shift);
        QFETCH(bool, ctrl);
        const auto rad = ZeitPlanGeometry::RadWirkung(dx, dy, shift, ctrl);
        QTEST(int(rad.art), "art");
        QTEST(rad.schritte, "schritte");
    }

    void rowHeightStaysReadable() {
        QCOMPARE(ZeitPlanGeometry::ZeilenZusatz(22, 0, 2), 8);
        QCOMPARE(ZeitPlanGeometry::ZeilenZusatz(22, 8, -100), 16 - 22);
        QCOMPARE(ZeitPlanGeometry::ZeilenZusatz(22, 0, 100), 2 * 22);
    }

    void wheelOverThePlan() {
        plan->resize(860, 40 + 22); // room for one row
        QSignalSpy blaettern(plan, &TovoZeitPlan::RadBlaettern);
        auto drehe = [&](QPoint winkel, Qt::KeyboardModifiers mods) {
            QWheelEvent e(QPointF(300, 50), plan->mapToGlobal(QPointF(300, 50)), {}, winkel,
                          Qt::NoButton, mods, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(plan, &e);
        };
        drehe({0, -120}, Qt::NoModifier);
        QCOMPARE(plan->ZeilenOffset(), 2 * 22); // three rows asked, two there to scroll
        drehe({0, 120}, Qt::ShiftModifier);
        QCOMPARE(blaettern.size(), 1);
        QCOMPARE(blaettern.at(0).at(0).toInt(), -1);
        drehe({0, 120}, Qt::ControlModifier);
        QCOMPARE(plan->ZeilenHoehe(), 26);
    }

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

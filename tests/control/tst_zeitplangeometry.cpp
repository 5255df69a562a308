// Time-plan geometry: spans of the periods, steps, time to x and rows.
#include "TovoDate.h"
#include "ZeitPlanGeometry.h"

#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0, int mi = 0) {
    return TovoDate::fromParts(y, m, d, h, mi).value();
}
QString T(double v) {
    return TovoDate(v).format(QStringLiteral("dd.MM.yyyy hh:mm"));
}
} // namespace

class TestZeitPlanGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void spans_data() {
        QTest::addColumn<int>("zeitraum");
        QTest::addColumn<double>("anzeige");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        // Thursday in the middle shows Monday to Sunday; the 16th shows the whole month.
        QTest::newRow("week, Thursday") << 2 << D(2026, 3, 19, 13) << "16.03.2026 00:00"
                                        << "23.03.2026 00:00";
        QTest::newRow("month, 16th") << 3 << D(2026, 3, 16) << "01.03.2026 00:00"
                                     << "01.04.2026 00:00";
        QTest::newRow("year, July") << 7 << D(2026, 7, 15) << "01.01.2026 00:00"
                                    << "01.01.2027 00:00";
        QTest::newRow("day, 13:00") << 1 << D(2026, 3, 14, 13) << "14.03.2026 06:00"
                                    << "14.03.2026 20:00";
    }
    void spans() {
        QFETCH(int, zeitraum);
        QFETCH(double, anzeige);
        QFETCH(QString, von);
        QFETCH(QString, bis);
        const auto span = ZeitPlanGeometry::SpanFor(zeitraum, anzeige);
        QCOMPARE(T(span.start), von);
        QCOMPARE(T(span.end), bis);
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

    void timeToXAndBack() {
        ZeitPlanGeometry g;
        g.setSpan({D(2026, 3, 16), D(2026, 3, 23)});
        g.setArea(160, 160 + 700); // 100 px a day
        QCOMPARE(g.timeToX(D(2026, 3, 16)), 160.0);
        QCOMPARE(g.timeToX(D(2026, 3, 17, 12)), 310.0);
        QCOMPARE(T(g.xToTime(310)), QStringLiteral("17.03.2026 12:00"));
        // Outside the span it maps beyond the time area, for clipping by the painter.
        QVERIFY(g.timeToX(D(2026, 3, 10)) < 160);
        QCOMPARE(T(ZeitPlanGeometry::WholeHour(D(2026, 3, 17, 14, 59))),
                 QStringLiteral("17.03.2026 14:00"));
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
        QFETCH(int, row);
        ZeitPlanGeometry g;
        g.setRows(40, 22, offset);
        QCOMPARE(g.rowAt(y), row);
        int first = 0, last = 0;
        g.visibleRows(40 + 22 * 3, 10, first, last);
        QCOMPARE(first, offset / 22);
        QCOMPARE(last, offset / 22 + 2);
    }

    void ticksFitThePeriod() {
        const auto week = ZeitPlanGeometry::Ticks(2, {D(2026, 3, 16), D(2026, 3, 23)});
        QCOMPARE(week.first().label, QStringLiteral("Mo 16.03."));
        QCOMPARE(std::count_if(week.begin(), week.end(), [](const auto& t) { return t.major; }), 7);
        const auto year = ZeitPlanGeometry::Ticks(7, {D(2026, 1, 1), D(2027, 1, 1)});
        QCOMPARE(year.size(), 12);
        QCOMPARE(year.at(2).label, QStringLiteral("Mär"));
        const auto day = ZeitPlanGeometry::Ticks(1, {D(2026, 3, 14, 6), D(2026, 3, 14, 20)});
        QCOMPARE(day.size(), 14);
        QCOMPARE(day.first().label, QStringLiteral("6:00"));
    }
};

QTEST_MAIN(TestZeitPlanGeometry)
#include "tst_zeitplangeometry.moc"

#include "ErrorGuard.h"
#include "SerienBerechnung.h"
#include "SerienTestUtil.h"

#include <QtTest>

using namespace R_Main;

namespace {

// The first n dates of the walk: GetNextDate from the start, then from each date.
QList<QDate> ersteTermine(const CSerienFkt& rule, int n) {
    QList<QDate> out;
    TovoDate c = GetNextDate(rule, rule.datBeginn(), true);
    out << c.toQDate();
    while (out.size() < n) {
        c = GetNextDate(rule, c, false);
        out << c.toQDate();
    }
    return out;
}

} // namespace

class TstBerechnung : public QObject {
    Q_OBJECT

private slots:
    void naechsteTermine_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("beginn");
        QTest::addColumn<QList<QDate>>("termine");

        QTest::newRow("working days from a Friday")
            << "D0" << D(7, 6, 2024) << QList<QDate>{D(7, 6, 2024), D(10, 6, 2024), D(11, 6, 2024)};
        QTest::newRow("working days from a Saturday")
            << "D0" << D(8, 6, 2024) << QList<QDate>{D(10, 6, 2024), D(11, 6, 2024)};
        QTest::newRow("Monday and Thursday every week")
            << "W1:9" << D(5, 6, 2024)
            << QList<QDate>{D(6, 6, 2024), D(10, 6, 2024), D(13, 6, 2024), D(17, 6, 2024)};
        QTest::newRow("Monday and Thursday every 2 weeks")
            << "W2:9" << D(5, 6, 2024)
            << QList<QDate>{D(6, 6, 2024), D(17, 6, 2024), D(20, 6, 2024), D(1, 7, 2024)};
        QTest::newRow("day 10 every 3 months, day passed")
            << "M3:d10" << D(20, 1, 2024) << QList<QDate>{D(10, 4, 2024), D(10, 7, 2024)};
        QTest::newRow("day 31 every month through a leap year")
            << "M1:d31" << D(1, 1, 2024)
            << QList<QDate>{D(31, 1, 2024), D(29, 2, 2024), D(29, 3, 2024), D(29, 4, 2024)};
        QTest::newRow("day 31 from a month of 30 days")
            << "M1:d31" << D(1, 4, 2024) << QList<QDate>{D(30, 4, 2024), D(30, 5, 2024)};
        QTest::newRow("last Friday every month")
            << "M1:k5w5" << D(1, 2, 2024)
            << QList<QDate>{D(23, 2, 2024), D(29, 3, 2024), D(26, 4, 2024)};
        QTest::newRow("first Monday already passed")
            << "M1:k1w1" << D(2, 7, 2024) << QList<QDate>{D(5, 8, 2024), D(2, 9, 2024)};
        QTest::newRow("24 December from March")
            << "Y12:d24" << D(1, 3, 2024) << QList<QDate>{D(24, 12, 2024), D(24, 12, 2025)};
        QTest::newRow("24 December from 30 December")
            << "Y12:d24" << D(30, 12, 2024) << QList<QDate>{D(24, 12, 2025), D(24, 12, 2026)};
        QTest::newRow("29 February in other years")
            << "Y2:d29" << D(1, 1, 2024)
            << QList<QDate>{D(29, 2, 2024), D(28, 2, 2025), D(28, 2, 2026), D(28, 2, 2027),
                            D(29, 2, 2028)};
        QTest::newRow("second Tuesday of March")
            << "Y3:k2w2" << D(1, 1, 2024)
            << QList<QDate>{D(12, 3, 2024), D(11, 3, 2025), D(10, 3, 2026)};
        QTest::newRow("last Sunday of October, passed")
            << "Y10:k5w7" << D(28, 10, 2024) << QList<QDate>{D(26, 10, 2025), D(25, 10, 2026)};
    }
    void naechsteTermine() {
        QFETCH(QString, regel);
        QFETCH(QDate, beginn);
        QFETCH(QList<QDate>, termine);
        QCOMPARE(ersteTermine(Regel(regel, beginn), int(termine.size())), termine);
    }

    void mondayOfWeek_data() {
        QTest::addColumn<QDate>("tag");
        QTest::addColumn<QDate>("montag");
        QTest::newRow("Monday") << D(3, 6, 2024) << D(3, 6, 2024);
        QTest::newRow("Saturday") << D(8, 6, 2024) << D(3, 6, 2024);
        QTest::newRow("Sunday ends the week") << D(9, 6, 2024) << D(3, 6, 2024);
    }
    void mondayOfWeek() {
        QFETCH(QDate, tag);
        QFETCH(QDate, montag);
        // A time of day does not move the week.
        const TovoDate d = TovoDate::fromDate(tag).addHours(18);
        QCOMPARE(GetMondayOfWeek(d).value(), TovoDate::fromDate(montag).value());
        QCOMPARE(GetNextWDay(d, 6).toQDate(), montag.addDays(6));
    }

    void bits() {
        std::array<uint8_t, 7> flags;
        flags.fill(7);
        GetBits(CSerienFkt::Montag | CSerienFkt::Mittwoch | CSerienFkt::Sonntag, flags);
        QCOMPARE(CSerienFkt::Montag | CSerienFkt::Mittwoch | CSerienFkt::Sonntag, 69);
        QCOMPARE(flags, (std::array<uint8_t, 7>{1, 0, 1, 0, 0, 0, 1}));
    }

    void weeklyWithoutWeekday() {
        const CSerienFkt rule = Regel(QStringLiteral("W1:0"), D(5, 6, 2024));
        const TovoDate d = TovoDate::fromDate(D(12, 6, 2024));
        QCOMPARE(GetNextDate(rule, d, true).value(), d.value());
        QCOMPARE(GetNextDate(rule, d, false).value(), d.value());
    }

    void anzahlTermine_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("beginn");
        QTest::addColumn<QDate>("ende");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QDate>("letzter");
        QTest::newRow("end on a date")
            << "D1" << D(1, 3, 2024) << D(10, 3, 2024) << 10 << D(10, 3, 2024);
        QTest::newRow("end between dates")
            << "W1:1" << D(3, 6, 2024) << D(20, 6, 2024) << 3 << D(17, 6, 2024);
        QTest::newRow("first date after the end")
            << "W1:1" << D(4, 6, 2024) << D(5, 6, 2024) << 1 << D(10, 6, 2024);
        QTest::newRow("the most dates a series may have")
            << "D1" << D(1, 1, 2000) << D(1, 1, 2000).addDays(32766) << 32767
            << D(1, 1, 2000).addDays(32766);
    }
    void anzahlTermine() {
        QFETCH(QString, regel);
        QFETCH(QDate, beginn);
        QFETCH(QDate, ende);
        QFETCH(int, anzahl);
        QFETCH(QDate, letzter);
        const CSerienFkt rule = Regel(regel, beginn, ende);
        QDate last;
        QCOMPARE(ForEachTermin(rule,
                               [&](TovoDate c) {
                                   last = c.toQDate();
                                   return true;
                               }),
                 anzahl);
        QCOMPARE(last, letzter);
        QCOMPARE(NthTermin(rule, anzahl).toQDate(), letzter);
    }

    // Whatever reaches a walk, it ends: with its dates or with an error, never by running on.
    void walkEndet_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("ende");
        QTest::addColumn<int>("nter"); // 0: count to the end date; else NthTermin
        QTest::addColumn<QString>("meldung");
        const QString nicht = QStringLiteral("Die Termine der Serie lassen sich nicht berechnen!");
        const QString viele =
            QStringLiteral("Eine Terminserie darf höchstens 32767 Termine haben!");
        QTest::newRow("no pattern") << "" << D(1, 1, 2025) << 0 << nicht;
        QTest::newRow("no weekday") << "W1:0" << D(1, 1, 2025) << 0 << nicht;
        QTest::newRow("every 0 weeks") << "W0:1" << D(1, 1, 2025) << 0 << nicht;
        QTest::newRow("one date beyond the limit")
            << "D1" << D(1, 1, 2000).addDays(32767) << 0 << viele;
        QTest::newRow("no end date") << "D1" << D(31, 12, 9999) << 0 << viele;
        QTest::newRow("number beyond the limit") << "D1" << D(1, 1, 2000) << 32768 << viele;
        QTest::newRow("beyond the year 9999")
            << "D999" << D(1, 1, 2000) << 3000
            << QStringLiteral("Die Terminserie reicht über das Jahr 9999 hinaus!");
    }
    void walkEndet() {
        QFETCH(QString, regel);
        QFETCH(QDate, ende);
        QFETCH(int, nter);
        QFETCH(QString, meldung);
        const CSerienFkt rule = Regel(regel, D(1, 1, 2000), ende);
        QString raised;
        int visited = 0;
        try {
            if (nter > 0)
                NthTermin(rule, nter);
            else
                ForEachTermin(rule, [&](TovoDate) { return ++visited > 0; });
        } catch (const RvError& e) {
            raised = e.description();
        }
        QCOMPARE(raised, meldung);
        QVERIFY(visited <= kMaxTermine);
    }
};

QTEST_GUILESS_MAIN(TstBerechnung)
#include "tst_berechnung.moc"

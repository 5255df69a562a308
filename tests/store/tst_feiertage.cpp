// Public holidays computed for any year and federal state.
#include "Feiertage.h"

#include <QtTest>

class TestFeiertage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ostersonntag_data() {
        QTest::addColumn<int>("jahr");
        QTest::addColumn<QDate>("ostern");
        QTest::newRow("2024") << 2024 << QDate(2024, 3, 31);
        QTest::newRow("2025") << 2025 << QDate(2025, 4, 20);
        QTest::newRow("2026") << 2026 << QDate(2026, 4, 5);
        QTest::newRow("2038, latest possible date") << 2038 << QDate(2038, 4, 25);
        QTest::newRow("2285, earliest possible date") << 2285 << QDate(2285, 3, 22);
    }
    void ostersonntag() {
        QFETCH(int, jahr);
        QFETCH(QDate, ostern);
        QCOMPARE(Feiertage::Ostersonntag(jahr).toQDate(), ostern);
    }

    // The holiday of a day in a state; "" = a working day there.
    void name_data() {
        QTest::addColumn<QDate>("tag");
        QTest::addColumn<QString>("land");
        QTest::addColumn<QString>("name");
        auto row = [](const char* zeile, QDate tag, const char* land, const char* name) {
            QTest::newRow(zeile) << tag << QString(land) << QString::fromUtf8(name);
        };
        row("Good Friday everywhere", QDate(2026, 4, 3), "", "Karfreitag");
        row("Whit Monday 2025", QDate(2025, 6, 9), "HH", "Pfingstmontag");
        row("Ascension 2024", QDate(2024, 5, 9), "nw", "Christi Himmelfahrt");
        row("Corpus Christi in NW", QDate(2026, 6, 4), "NW", "Fronleichnam");
        row("Corpus Christi not in BE", QDate(2026, 6, 4), "BE", "");
        row("Corpus Christi without state", QDate(2024, 5, 30), "", "");
        row("All Saints in NW", QDate(2025, 11, 1), "NW", "Allerheiligen");
        row("Reformation Day 2017 everywhere", QDate(2017, 10, 31), "NW", "Reformationstag");
        row("Reformation Day 2016 not in NI", QDate(2016, 10, 31), "NI", "");
        row("Reformation Day 2018 in NI", QDate(2018, 10, 31), "NI", "Reformationstag");
        row("Day of Repentance in SN", QDate(2026, 11, 18), "SN", "Buß- und Bettag");
        // Dates worked out by hand from the calendar: the Wednesday before 23 November.
        row("Day of Repentance 1990 in BE", QDate(1990, 11, 21), "BE", "Buß- und Bettag");
        row("Day of Repentance 1994 everywhere", QDate(1994, 11, 16), "", "Buß- und Bettag");
        row("Day of Repentance 1995 not in NW", QDate(1995, 11, 22), "NW", "");
        row("Liberation Day 2020 in BE", QDate(2020, 5, 8), "BE", "Tag der Befreiung");
        row("Liberation Day 2025 in BE", QDate(2025, 5, 8), "be", "Tag der Befreiung");
        row("Liberation Day 2020 not in BB", QDate(2020, 5, 8), "BB", "");
        row("Women's Day BE from 2019", QDate(2018, 3, 8), "BE", "");
        row("German Unity not before 1990", QDate(1989, 10, 3), "", "");
        row("Christmas Eve is none", QDate(2026, 12, 24), "BY", "");
        row("Boxing Day", QDate(2026, 12, 26), "", "2. Weihnachtstag");
        row("far future", QDate(2131, 4, 16), "", "Ostermontag");
    }
    void name() {
        QFETCH(QDate, tag);
        QFETCH(QString, land);
        QFETCH(QString, name);
        // The time of day does not matter.
        QCOMPARE(Feiertage::Name(TovoDate::fromDate(tag).addHours(10), land), name);
    }

    void year() {
        QCOMPARE(Feiertage::ImJahr(2026, QString()).size(), 9);
        const auto nw = Feiertage::ImJahr(2026, QStringLiteral("NW"));
        QCOMPARE(nw.size(), 11);
        QVERIFY(std::is_sorted(nw.begin(), nw.end(), [](const auto& a, const auto& b) {
            return a.datum.value() < b.datum.value();
        }));
    }
};

QTEST_GUILESS_MAIN(TestFeiertage)
#include "tst_feiertage.moc"

// The basic types of the store: record collections, dates, public holidays and money.
#include "Currency.h"
#include "Feiertage.h"
#include "RecColl.h"
#include "TovoDate.h"

#include <QtTest>

namespace {
CMitarbeiterRec rec(int id, const QString& name = QString()) {
    CMitarbeiterRec r;
    r.lId = id;
    r.stName = name;
    return r;
}

// Ids in collection order.
QString ids(const CMitarbeiterRecColl& c) {
    QStringList out;
    for (const CMitarbeiterRec* r : c)
        out << QString::number(r->lId);
    return out.join(QLatin1Char(' '));
}
} // namespace

class TstBasistypen : public QObject {
    Q_OBJECT

private slots:
    void appendCopiesAndKeys() {
        CMitarbeiterRecColl c;
        CMitarbeiterRec a = rec(17, QStringLiteral("Alt"));
        QVERIFY(c.Append(a));
        a.stName = QStringLiteral("Geändert");
        QCOMPARE(c.Item(QStringLiteral("17$"))->stName, QStringLiteral("Alt"));

        QVERIFY(!c.Append(rec(17, QStringLiteral("Doppelt"))));
        QCOMPARE(c.Count(), 1);
        QCOMPARE(c.Item(1)->stName, QStringLiteral("Alt"));
        QVERIFY(c.Append(rec(18)));
        QCOMPARE(ids(c), QStringLiteral("17 18"));
        QVERIFY(!c.Item(0) && !c.Item(3) && !c.Item(QStringLiteral("17")) &&
                !c.Append(static_cast<const CMitarbeiterRec*>(nullptr)));
    }

    void dayNumbers_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<double>("days");
        QTest::addColumn<int>("sundayFirst");
        QTest::addColumn<int>("mondayFirst");
        QTest::newRow("epoch, Saturday") << QDate(1899, 12, 30) << 0.0 << 7 << 6;
        QTest::newRow("leap day, Thursday") << QDate(2024, 2, 29) << 45351.0 << 5 << 4;
        QTest::newRow("Sunday") << QDate(2026, 3, 15) << 46096.0 << 1 << 7;
        QTest::newRow("Monday") << QDate(2026, 3, 16) << 46097.0 << 2 << 1;
        QTest::newRow("no date, Friday") << QDate(9999, 12, 31) << 2958465.0 << 6 << 5;
    }
    void dayNumbers() {
        QFETCH(QDate, date);
        QFETCH(double, days);
        QCOMPARE(TovoDate::fromDate(date).value(), days);
        QCOMPARE(TovoDate(days + 0.75).toQDate(), date);
        QCOMPARE(TovoDate(days + 0.75).toQTime(), QTime(18, 0));
        QTEST(TovoDate(days + 0.75).weekdaySundayFirst(), "sundayFirst");
        QTEST(TovoDate(days + 0.75).weekdayMondayFirst(), "mondayFirst");
    }

    void timeRounding() {
        // 08:30 as a stored double is not exact; it must still read as 08:30:00.
        const TovoDate t = TovoDate::fromParts(2026, 3, 14, 8, 30);
        QCOMPARE(t.toQTime(), QTime(8, 30));
        QCOMPARE(t.datePart().value(), 46095.0);
        // A hair below midnight belongs to the next day.
        const TovoDate late(46095.0 + 86399.9999 / 86400.0);
        QCOMPARE(late.toQDate(), QDate(2026, 3, 15));
        QCOMPARE(late.toQTime(), QTime(0, 0));
        QVERIFY(TovoDate(TovoDate::kNoDate + 0.5).isNoDate() && !TovoDate(46095.0).isNoDate());
    }

    // Day numbers from a damaged or foreign database: beyond the calendar they name no date and
    // format as "", without overflowing or reading outside the name tables.
    void outsideCalendar_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("noDate");
        QTest::newRow("1.1.100") << TovoDate::kMinDay << false;
        QTest::newRow("31.12.9999 evening") << TovoDate::kNoDate + 0.9 << true;
        QTest::newRow("before 1.1.100") << TovoDate::kMinDay - 1 << true;
        QTest::newRow("after 9999") << TovoDate::kNoDate + 1 << true;
        QTest::newRow("huge") << 1e300 << true;
        QTest::newRow("huge negative") << -1e300 << true;
        QTest::newRow("not a number") << std::nan("") << true;
    }
    void outsideCalendar() {
        QFETCH(double, value);
        QFETCH(bool, noDate);
        const TovoDate d(value);
        QCOMPARE(d.isNoDate(), noDate);
        const QString text = d.format(QStringLiteral("ddd, dd. mmm yyyy hh:nn"));
        QCOMPARE(text.isEmpty(), !TovoDate::inCalendar(value));
        if (!text.isEmpty())
            QVERIFY2(text.contains(QStringLiteral(". Jan 0100 ")) ||
                         text.startsWith(QStringLiteral("Fr, 31. Dez 9999")),
                     qPrintable(text));
    }

    void fromParts_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("plain") << 2026 << 3 << 14 << QDate(2026, 3, 14);
        QTest::newRow("month 13") << 2026 << 13 << 1 << QDate(2027, 1, 1);
        QTest::newRow("month 0") << 2026 << 0 << 15 << QDate(2025, 12, 15);
        QTest::newRow("month -12") << 2026 << -12 << 1 << QDate(2024, 12, 1);
        QTest::newRow("day 0") << 2026 << 3 << 0 << QDate(2026, 2, 28);
        QTest::newRow("day 32") << 2026 << 1 << 32 << QDate(2026, 2, 1);
        QTest::newRow("30 February") << 2024 << 2 << 30 << QDate(2024, 3, 1);
    }
    void fromParts() {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QTEST(TovoDate::fromParts(year, month, day).toQDate(), "expected");
    }

    void addMonths_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("into leap February") << QDate(2024, 1, 31) << 1 << QDate(2024, 2, 29);
        QTest::newRow("backwards") << QDate(2026, 3, 31) << -1 << QDate(2026, 2, 28);
        QTest::newRow("over year end") << QDate(2026, 11, 15) << 3 << QDate(2027, 2, 15);
    }
    void addMonths() {
        QFETCH(QDate, start);
        QFETCH(int, months);
        const TovoDate d = TovoDate::fromParts(start.year(), start.month(), start.day(), 8, 30);
        const TovoDate r = d.addMonths(months);
        QTEST(r.toQDate(), "expected");
        QCOMPARE(r.toQTime(), QTime(8, 30)); // the time of day goes along
    }

    void format_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        // Saturday, 14.03.2026 08:05:09
        for (auto [pattern, text] : {std::pair{"dd.mm.yyyy", "14.03.2026"},
                                     {"d.m.yy", "14.3.26"},
                                     {"hh:mm", "08:05"},
                                     {"mm:ss", "05:09"},
                                     {"dd.mm.yyyy hh:mm", "14.03.2026 08:05"},
                                     {"dddd", "Samstag"},
                                     {"ddd", "Sa"},
                                     {"mmmm yyyy", "März 2026"},
                                     {"mmm", "Mrz"}})
            QTest::newRow(pattern) << QString(pattern) << QString::fromUtf8(text);
    }
    void format() {
        QFETCH(QString, pattern);
        QTEST(TovoDate::fromParts(2026, 3, 14, 8, 5, 9).format(pattern), "expected");
    }

    void sqlDateText() {
        QCOMPARE(TovoDate::fromParts(2026, 3, 14, 23, 59).sqlDateText(),
                 QStringLiteral("3/14/2026"));
    }

    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QDateTime>("expected"); // date 30.12.1899 for a time alone
        const QDate epoch(1899, 12, 30);
        QTest::newRow("date") << "14.03.2026" << true << QDateTime(QDate(2026, 3, 14), QTime(0, 0));
        QTest::newRow("short year 26")
            << "14.3.26" << true << QDateTime(QDate(2026, 3, 14), QTime(0, 0));
        QTest::newRow("short year 30")
            << "1.1.30" << true << QDateTime(QDate(1930, 1, 1), QTime(0, 0));
        QTest::newRow("with time")
            << " 14.03.2026 08:30 " << true << QDateTime(QDate(2026, 3, 14), QTime(8, 30));
        QTest::newRow("time") << "8:30" << true << QDateTime(epoch, QTime(8, 30));
        QTest::newRow("31 February") << "31.02.2026" << false << QDateTime();
        QTest::newRow("text") << "abc" << false << QDateTime();
        QTest::newRow("hour 25") << "25:00" << false << QDateTime();
        QTest::newRow("minute 60") << "12:60" << false << QDateTime();
        QTest::newRow("no year") << "14.03." << false << QDateTime();
        QTest::newRow("year 0030") << "14.03.0030" << false << QDateTime();
        QTest::newRow("ISO year 0099") << "0099-12-31" << false << QDateTime();
        QTest::newRow("empty") << "" << false << QDateTime();
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        TovoDate d(-1.0);
        QCOMPARE(TovoDate::parse(text, d), ok);
        if (ok)
            QTEST(d.toQDateTime(), "expected");
    }

    void easterSunday_data() {
        QTest::addColumn<int>("jahr");
        QTest::addColumn<QDate>("ostern");
        QTest::newRow("2024") << 2024 << QDate(2024, 3, 31);
        QTest::newRow("2025") << 2025 << QDate(2025, 4, 20);
        QTest::newRow("2026") << 2026 << QDate(2026, 4, 5);
        QTest::newRow("2038, latest possible date") << 2038 << QDate(2038, 4, 25);
        QTest::newRow("2285, earliest possible date") << 2285 << QDate(2285, 3, 22);
    }
    void easterSunday() {
        QFETCH(int, jahr);
        QFETCH(QDate, ostern);
        QCOMPARE(Feiertage::Ostersonntag(jahr).toQDate(), ostern);
    }

    // The holiday of a day in a state; "" = a working day there.
    void holiday_data() {
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
    void holiday() {
        QFETCH(QDate, tag);
        QFETCH(QString, land);
        QFETCH(QString, name);
        // The time of day does not matter.
        QCOMPARE(Feiertage::Name(TovoDate::fromDate(tag).addHours(10), land), name);
    }

    void holidaysOfAYear() {
        QCOMPARE(Feiertage::ImJahr(2026, QString()).size(), 9);
        const auto nw = Feiertage::ImJahr(2026, QStringLiteral("NW"));
        QCOMPARE(nw.size(), 11);
        QVERIFY(std::is_sorted(nw.begin(), nw.end(), [](const auto& a, const auto& b) {
            return a.datum.value() < b.datum.value();
        }));
    }

    void currencyDisplay_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0,00";
        QTest::newRow("thousands") << qint64(12345000) << "1.234,50";
        QTest::newRow("negative") << qint64(-12345000) << "-1.234,50";
        QTest::newRow("half cent up") << qint64(10050) << "1,01";
        QTest::newRow("tiny negative") << qint64(-40) << "0,00";
    }
    void currencyDisplay() {
        QFETCH(qint64, raw);
        QTEST(Currency::fromRaw(raw).toDisplayText(), "text");
    }

    void currencyParse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("German") << "1.234,50" << true << qint64(12345000);
        QTest::newRow("no grouping") << "1234,5" << true << qint64(12345000);
        QTest::newRow("point decimal") << "1234.50" << true << qint64(12345000);
        QTest::newRow("negative") << "-3,75" << true << qint64(-37500);
        QTest::newRow("empty") << " " << true << qint64(0);
        QTest::newRow("text") << "abc" << false << qint64(0);
        QTest::newRow("nan") << "nan" << false << qint64(0);
        QTest::newRow("too large") << "1e300" << false << qint64(0);
    }
    void currencyParse() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint64, raw);
        Currency c = Currency::fromRaw(99);
        QCOMPARE(Currency::parse(text, c), ok);
        QCOMPARE(c.raw(), ok ? raw : 99);
    }
};

QTEST_GUILESS_MAIN(TstBasistypen)
#include "tst_basistypen.moc"

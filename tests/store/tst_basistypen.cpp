// The basic types and tools of the store: record collections, dates, public holidays, money, and
// the INI files with the helper functions around them.
#include "Allg_Hilfsfkt.h"
#include "Currency.h"
#include "Feiertage.h"
#include "ProgrammOrt.h"
#include "RecColl.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "TovoDate.h"
#include "TovoTools.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Allg_Hilfsfkt;

namespace {
// A null content means: no file.
QString makeFile(const QTemporaryDir& dir, const QByteArray& content,
                 const QString& name = "test.ini") {
    const QString path = dir.filePath(name);
    if (!content.isNull()) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
    }
    return path;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}
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
        CMitarbeiterRec a = rec(17, "Alt");
        QVERIFY(c.Append(a));
        a.stName = "Geändert";
        QCOMPARE(c.Item("17$")->stName, "Alt");

        QVERIFY(!c.Append(rec(17, "Doppelt")));
        QCOMPARE(c.Count(), 1);
        QCOMPARE(c.Item(1)->stName, "Alt");
        QVERIFY(c.Append(rec(18)));
        QCOMPARE(ids(c), "17 18");
        QVERIFY(!c.Item(0) && !c.Item(3) && !c.Item("17") &&
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
        QTest::newRow("not a number") << std::nan("") << true;
    }
    void outsideCalendar() {
        QFETCH(double, value);
        QFETCH(bool, noDate);
        const TovoDate d(value);
        QCOMPARE(d.isNoDate(), noDate);
        const QString text = d.format("ddd, dd. mmm yyyy hh:nn");
        QCOMPARE(text.isEmpty(), !TovoDate::inCalendar(value));
        if (!text.isEmpty())
            QVERIFY2(text.contains(". Jan 0100 ") || text.startsWith("Fr, 31. Dez 9999"),
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
        const auto nw = Feiertage::ImJahr(2026, "NW");
        QCOMPARE(nw.size(), 11);
        QVERIFY(std::is_sorted(nw.begin(), nw.end(), [](const auto& a, const auto& b) {
            return a.datum.value() < b.datum.value();
        }));
    }

    void currencyDisplay_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
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

    void read_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected"); // "<def>" is the default passed in
        auto row = [](const char* name, const QByteArray& content, const char* section,
                      const char* key, const QString& expected) {
            QTest::newRow(name) << content << QString::fromUtf8(section) << QString(key)
                                << expected;
        };
        row("plain", "[A]\nk=v\n", "A", "k", "v");
        row("blanks around", "[ A ]\n  k\t=  v w \t\n", "a", "K", "v w");
        row("double quotes", "[A]\nk=\" x \"\n", "A", "k", " x ");
        row("one quote", "[A]\nk=\"x\n", "A", "k", "\"x");
        row("empty value", "[A]\nk=\n", "A", "k", "");
        row("first of two", "[A]\nk=1\nk=2\n", "A", "k", "1");
        row("value with =", "[A]\nk=a=b\n", "A", "k", "a=b");
        row("CRLF", "[A]\r\nk=v\r\n", "A", "k", "v");
        row("no file", QByteArray(), "A", "k", "<def>");
        row("other section", "[A]\n[B]\nk=v\n", "A", "k", "<def>");
        row("before sections", "k=v\n[A]\n", "A", "k", "<def>");
        row("comment", "[A]\n;k=v\n", "A", "k", "<def>");
        row("line without =", "[A]\nk\n", "A", "k", "<def>");
        row("Windows-1252", "[A]\nk=M\xfcller \x80 \x84\n", "A", "k", "Müller € „");
        row("1252 section name", "[R\xe4ume]\nk=v\n", "RÄUME", "k", "v");
        row("UTF-8", "[A]\nk=M\xc3\xbcller\n", "A", "k", "Müller");
        row("UTF-8 with BOM", "\xEF\xBB\xBF[A]\nk=\xc3\xa4\n", "A", "k", "ä");
        row("mixed lines", "[A]\nx=\xc3\xa4\nk=\xe4\n", "A", "k", "ä");
        row("CR only", "[A]\rx=1\rk=v\r[B]\rk=w\r", "A", "k", "v");
        row("UTF-16LE", QByteArray("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xe4\0\r\0\n\0", 22), "A", "k",
            "ä");
    }
    void read() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = makeFile(dir, content);
        QCOMPARE(CTovoTools::Instance().ReadIniValue(path, section, key, "<def>"), expected);
    }

    // Writing must change nothing but the one line: the expected file is compared byte by byte.
    void write_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
        auto row = [](const char* name, const QByteArray& before, const char* section,
                      const char* key, const QString& value, const QByteArray& after) {
            QTest::newRow(name) << before << QString(section) << QString(key) << value << after;
        };
        row("replace", "; Kopf\n[A]\nk=1 ; alt\nx=2\n[B]\nk=3\n", "a", "K", "9",
            "; Kopf\n[A]\nk=9\nx=2\n[B]\nk=3\n");
        row("replace keeps key spelling", "[A]\n  Key = alt\n", "A", "key", "neu",
            "[A]\n  Key = neu\n");
        row("new key before blank lines", "[A]\nk=1\n;c\n\n\n[B]\n", "A", "n", "2",
            "[A]\nk=1\n;c\nn=2\n\n\n[B]\n");
        row("new key in empty section", "[A]\n\n[B]\n", "A", "k", "v", "[A]\nk=v\n\n[B]\n");
        row("no line end at file end", "[A]\nk=1", "A", "n", "2", "[A]\nk=1\nn=2\n");
        row("new section", "[A]\nk=1\n", "B", "n", "2", "[A]\nk=1\n[B]\nn=2\n");
        row("CRLF", "[A]\r\nk=1\r\n", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n");
        row("new file, umlaut", QByteArray(), "A", "k", "Bär", "[A]\r\nk=B\xe4r\r\n");
        row("new file, beyond 1252", QByteArray(), "A", "k", "Łódź",
            "[A]\r\nk=\xc5\x81\xc3\xb3\x64\xc5\xba\r\n");
        row("1252 stays 1252", "[A]\nk=M\xfcller\n", "A", "n", "Bär €",
            "[A]\nk=M\xfcller\nn=B\xe4r \x80\n");
        row("UTF-8 stays UTF-8", "[A]\nk=M\xc3\xbcller\n", "A", "n", "Bär",
            "[A]\nk=M\xc3\xbcller\nn=B\xc3\xa4r\n");
        row("BOM kept", "\xEF\xBB\xBF[A]\nk=1\n", "a", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n");
        row("line break in value", "[A]\n", "A", "k", "1\n[B]", "[A]\nk=1 [B]\n");
        row("CR only stays", "[A]\rk=1\r", "A", "n", "2", "[A]\rk=1\rn=2\r");
        row("1252 that would read as UTF-8", "[A]\nk=\xfc\n", "A", "n", "\u00c3\u00bc",
            "[A]\nk=\xfc\nn=\xc3\x83\xc2\xbc\n");
        row("UTF-16LE stays", QByteArray("\xFF\xFE[\0A\0]\0\n\0", 10), "A", "k", "ä",
            QByteArray("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xe4\0\n\0", 18));
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString path = makeFile(dir, before);
        CTovoTools& tools = CTovoTools::Instance();
        QVERIFY(tools.WriteIniValue(path, section, key, value));
        QTEST(contents(path), "after");
        QCOMPARE(tools.ReadIniValue(path, section, key, QString()),
                 QString(value).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }

    // Writing one key must not change what any other key reads, whatever mix of encodings and
    // line ends the file has.
    void writeKeepsOtherKeys_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::newRow("UTF-8 and 1252 lines") << QByteArray("[A]\nu=M\xc3\xbcller\nw=M\xfcller\n");
        QTest::newRow("BOM and a 1252 line") << QByteArray("\xEF\xBB\xBF[A]\nu=\xc3\xa4\nw=\xe4\n");
        QTest::newRow("mixed line ends") << QByteArray("[A]\r\nu=1\rw=2\n");
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE[\0A\0]\0\n\0u\0=\0\x41\x01\n\0", 18);
    }
    void writeKeepsOtherKeys() {
        QFETCH(QByteArray, before);
        QTemporaryDir dir;
        const QString path = makeFile(dir, before);
        CTovoTools& tools = CTovoTools::Instance();
        const QStringList vorher = tools.ReadIniSection(path, "A");
        QVERIFY(!vorher.isEmpty());
        for (const QString value : {"Bär", "Łódź"}) {
            QVERIFY(tools.WriteIniValue(path, "A", "neu", value));
            QCOMPARE(tools.ReadIniSection(path, "A"), vorher + QStringList{"neu=" + value});
            QVERIFY(tools.WriteIniValue(path, "A", "neu", QString()));
            QVERIFY(tools.WriteIniValue(path, "A", "neu", value));
        }
    }

    // Windows does not tell "TovoRaumverw.ini" from "TovoRaumVerw.ini".
    void fileNameIgnoresCase() {
        QTemporaryDir dir;
        makeFile(dir, "[A]\nk=1\n", "TovoRaumverw.ini");
        const QString other = dir.filePath("TovoRaumVerw.ini");
        CTovoTools& tools = CTovoTools::Instance();
        QCOMPARE(tools.ReadIniValue(other, "A", "k", QString()), "1");
        QVERIFY(tools.WriteIniValue(other, "A", "k", "2"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"TovoRaumverw.ini"});
        QCOMPARE(contents(dir.filePath("TovoRaumverw.ini")), QByteArray("[A]\nk=2\n"));
    }

    void tokens_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sep");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("token");
        auto row = [](const char* text, const char* sep, int count, int index, const char* token) {
            QTest::addRow("%s, %d", text, index)
                << QString(text) << QString(sep) << count << index << QString(token);
        };
        row("", ",", 0, 1, "");
        row("a,,b", ",", 3, 2, ""); // empty middle
        row("a,", ",", 2, 2, "");   // trailing separator
        row("S.G.BE.R", ".", 4, 3, "BE");
        row("S.G.BE.R", ".", 4, -1, "R"); // from the end
        row("S.G.BE.R", ".", 4, -5, "");
        row("S.G.BE.R", ".", 4, 5, "");
        row("1, 2, 3", ", ", 3, 2, "2"); // longer separator
    }
    void tokens() {
        QFETCH(QString, text);
        QFETCH(QString, sep);
        QFETCH(int, index);
        QTEST(GetTokenCount(text, sep), "count");
        QTEST(GetToken(text, sep, index), "token");
    }

    void uft8ToAscii_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("unicode");
        QTest::addColumn<QString>("expected");
        QTest::newRow("flag off") << "MÃ¼ller" << false << "MÃ¼ller";
        // The second characters of Ä Ö Ü ß are „ – œ Ÿ, whose 1252 codes are 132 150 156 159.
        QTest::newRow("all seven") << "Ã„Ã–ÃœÃŸÃ¤Ã¶Ã¼" << true << "ÄÖÜßäöü";
        QTest::newRow("Latin-1 controls") << "Ã\u0084Ã\u009f" << true << "Äß";
        QTest::newRow("other pair dropped") << "CafÃ©!" << true << "Caf!";
        QTest::newRow("lead pairs with lead") << "xÃÃ¼" << true << "x¼";
        QTest::newRow("lead at end dropped") << "abcÃ" << true << "abc";
        QTest::newRow("plain umlaut kept") << "Bär" << true << "Bär";
    }
    void uft8ToAscii() {
        QFETCH(QString, text);
        QFETCH(bool, unicode);
        QTEST(UFT8_To_ASCII(text, unicode), "expected");
    }

    void globalSettings_data() {
        QTest::addColumn<QByteArray>("ini"); // null: no file
        QTest::addColumn<double>("previous");
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<QString>("mailname"); // null: the user name
        const auto row = [](const char* name, const QByteArray& ini, double previous,
                            double tolerance, const char* mailname = nullptr) {
            QTest::newRow(name) << ini << previous << tolerance << QString(mailname);
        };
        row("no file", nullptr, 0, 0);
        row("15 minutes", "[RAUMVERWALTUNG]\nToleranz=15\nMailname=Empfang\n", 0, 15.0 / 1440,
            "Empfang");
        row("decimal comma", "[raumverwaltung]\ntoleranz=7,5\n", 0, 7.5 / 1440);
        row("empty mail name", "[Raumverwaltung]\nMailname=\n", 0, 0);
        // Anything but 0 to 1440 minutes counts as 0, with a warning naming file and key.
        for (const char* wert : {"abc", "-60", "1e20", "1441", "nan"})
            row(wert, QByteArray("[Raumverwaltung]\nToleranz=") + wert + '\n', 2880, 0);
        row("a whole day", "[Raumverwaltung]\nToleranz=1440\n", 0, 1);
    }
    void globalSettings() {
        QFETCH(QByteArray, ini);
        QFETCH(double, previous);
        QFETCH(QString, mailname);
        QTemporaryDir dir;
        makeFile(dir, ini, kIniFileName);
        gstProjektDir = dir.path(); // without the trailing separator
        // A key read on its own: an empty value or none gives the default.
        QCOMPARE(ReadIniValue("raumverwaltung", "Mailname", "<def>"),
                 mailname.isEmpty() ? "<def>" : mailname);
        gdToleranz = previous;
        gstMailname = "alt";
        ScriptedPrompt prompt;
        ReadGlobalSettings();
        QCOMPARE(gstProjektDir, dir.path() + QLatin1Char('/'));
        QTEST(gdToleranz, "tolerance");
        // A bad value is reported once, naming the file and the key.
        const bool falsch =
            gdToleranz == 0 && ini.contains("Toleranz=") && !ini.contains("Toleranz=0");
        QCOMPARE(prompt.shown.size(), falsch ? 1 : 0);
        if (falsch) {
            QVERIFY(prompt.last().text.contains("\"Toleranz\""));
            QVERIFY(prompt.last().text.contains(kIniFileName));
            ReadGlobalSettings();
            QCOMPARE(prompt.shown.size(), 1);
        }
        QVERIFY(!GetWinUserName().isEmpty());
        QCOMPARE(gstMailname, mailname.isNull() ? GetWinUserName() : mailname);
    }

    // The program's files: beside the program in the build folder, under share/ installed.
    void programmDateien_data() {
        QTest::addColumn<QStringList>("vorlagen"); // folders holding the empty project
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("Build-Ordner") << QStringList{"bin"} << "bin";
        QTest::newRow("installiert") << QStringList{"share/tovo-raumverw"} << "share/tovo-raumverw";
        QTest::newRow("beides") << QStringList{"share/tovo-raumverw", "bin"} << "bin";
        QTest::newRow("keine") << QStringList{} << "bin";
    }
    void programmDateien() {
        QFETCH(QStringList, vorlagen);
        QFETCH(QString, erwartet);
        QTemporaryDir root;
        QDir(root.path()).mkpath("bin");
        for (const QString& ordner : vorlagen) {
            QDir(root.path()).mkpath(ordner + "/Leeres Projekt");
            makeFile(root, "", ordner + "/Leeres Projekt/TovoRaumverw.mdb");
        }
        QCOMPARE(ProgrammOrt::DatenVerzeichnis(root.filePath("bin/")),
                 root.filePath(erwartet) + QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(TstBasistypen)
#include "tst_basistypen.moc"

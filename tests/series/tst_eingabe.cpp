#include "SerienEingabe.h"

#include <QtTest>
#include <functional>

namespace {

// A valid daily series of ten dates from Wednesday 5 June 2024, 10:00-12:00, changed by
// "member=value; ..." with the member names of SerienEingabe (muster T/W/M/Y, bWeekday as
// indexes "0,2,6", k-th weekday forms with bMonatAmTag=0 or bJahrAmTag=0).
SerienEingabe eingabe(const QString& aenderungen) {
    SerienEingabe in;
    in.stBeginn = QStringLiteral("05.06.2024");
    in.stEnde = QStringLiteral("14.06.2024");
    in.stAnzTerm = QStringLiteral("10");
    in.stTimeBeginn = QStringLiteral("10:00");
    in.stTimeEnde = QStringLiteral("12:00");
    in.stFreqTag = in.stFreqWeek = QStringLiteral("1");
    in.stFreqMonth = {QStringLiteral("1"), QStringLiteral("1")};
    in.iAnz = in.iDayArt = in.iAnzYear = in.iDayArtYear = 1;
    in.iMonth = {1, 1};

    using M = SerienEingabe::Muster;
    const QHash<QString, std::function<void(const QString&)>> setter{
        {"muster",
         [&](const QString& v) {
             in.muster = v == "W"   ? M::Woechentlich
                         : v == "M" ? M::Monatlich
                         : v == "Y" ? M::Jaehrlich
                                    : M::Taeglich;
         }},
        {"bWeekday",
         [&](const QString& v) {
             for (const QString& i : v.split(','))
                 in.bWeekday[i.toInt()] = true;
         }},
        {"bEndeNach", [&](const QString& v) { in.bEndeNach = v == "1"; }},
        {"bJedenArb", [&](const QString& v) { in.bJedenArb = v == "1"; }},
        {"bMonatAmTag", [&](const QString& v) { in.bMonatAmTag = v == "1"; }},
        {"bJahrAmTag", [&](const QString& v) { in.bJahrAmTag = v == "1"; }},
        {"stBeginn", [&](const QString& v) { in.stBeginn = v; }},
        {"stEnde", [&](const QString& v) { in.stEnde = v; }},
        {"stAnzTerm", [&](const QString& v) { in.stAnzTerm = v; }},
        {"stTimeBeginn", [&](const QString& v) { in.stTimeBeginn = v; }},
        {"stTimeEnde", [&](const QString& v) { in.stTimeEnde = v; }},
        {"stFreqTag", [&](const QString& v) { in.stFreqTag = v; }},
        {"stFreqWeek", [&](const QString& v) { in.stFreqWeek = v; }},
        {"stDay", [&](const QString& v) { in.stDay = v; }},
        {"stFreqMonth0", [&](const QString& v) { in.stFreqMonth[0] = v; }},
        {"stFreqMonth1", [&](const QString& v) { in.stFreqMonth[1] = v; }},
        {"iAnz", [&](const QString& v) { in.iAnz = v.toInt(); }},
        {"iDayArt", [&](const QString& v) { in.iDayArt = v.toInt(); }},
        {"stDayYear", [&](const QString& v) { in.stDayYear = v; }},
        {"iMonth0", [&](const QString& v) { in.iMonth[0] = v.toInt(); }},
        {"iMonth1", [&](const QString& v) { in.iMonth[1] = v.toInt(); }},
        {"iAnzYear", [&](const QString& v) { in.iAnzYear = v.toInt(); }},
        {"iDayArtYear", [&](const QString& v) { in.iDayArtYear = v.toInt(); }},
    };
    for (const QString& paar : aenderungen.split(';', Qt::SkipEmptyParts)) {
        const QString key = paar.section('=', 0, 0).trimmed();
        if (!setter.contains(key))
            qFatal("unknown member %s", qPrintable(key));
        setter[key](paar.section('=', 1));
    }
    return in;
}

// Daily, Weekly, Weekday, FreqMonth, Month, Day, Anz, DayArt
QList<int> muster(const CSerienFkt& r) {
    return {r.Daily(), r.Weekly(), r.Weekday(), r.FreqMonth(),
            r.Month(), r.Day(),    r.Anz(),     r.DayArt()};
}
const QList<int> kKeinMuster{-1, -1, 0, 0, 0, 0, 0, 0};

} // namespace

class TstEingabe : public QObject {
    Q_OBJECT

private slots:
    void beschreibung_data() {
        QTest::addColumn<QString>("aenderungen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("regel");
        QTest::newRow("every 2 days typed 02")
            << "stFreqTag=02"
            << "Alle 02 Tage" << QList<int>{2, -1, 0, 0, 0, 0, 0, 0};
        QTest::newRow("working days") << "bJedenArb=1; stFreqTag="
                                      << "Jeden Arbeitstag" << QList<int>{0, -1, 0, 0, 0, 0, 0, 0};
        QTest::newRow("weekdays, Monday first") << "muster=W; bWeekday=6,2,0"
                                                << "Alle 1 Wochen, am Montag, Mittwoch, Sonntag"
                                                << QList<int>{-1, 1, 69, 0, 0, 0, 0, 0};
        QTest::newRow("one weekday, no comma")
            << "muster=W; stFreqWeek=2; bWeekday=3"
            << "Alle 2 Wochen, am Donnerstag" << QList<int>{-1, 2, 8, 0, 0, 0, 0, 0};
        QTest::newRow("monthly day as typed")
            << "muster=M; stDay=05; stFreqMonth0=03"
            << "Am 05. Tag jedes 03. Monats" << QList<int>{-1, -1, 0, 3, 0, 5, 0, 0};
        QTest::newRow("monthly last Friday")
            << "muster=M; bMonatAmTag=0; stFreqMonth1=01; iAnz=5; iDayArt=5"
            << "Am 5. Freitag jedes 1. Monats" << QList<int>{-1, -1, 0, 1, 0, 0, 5, 5};
        QTest::newRow("yearly day typed 05")
            << "muster=Y; stDayYear=05; iMonth0=3"
            << "Jährlich am 5. März" << QList<int>{-1, -1, 0, 0, 3, 5, 0, 0};
        QTest::newRow("yearly second Tuesday of December")
            << "muster=Y; bJahrAmTag=0; iAnzYear=2; iDayArtYear=2; iMonth1=12"
            << "Jährlich am 2. Dienstag im Dezember" << QList<int>{-1, -1, 0, 0, 12, 0, 2, 2};
    }
    void beschreibung() {
        QFETCH(QString, aenderungen);
        QFETCH(QString, text);
        QFETCH(QList<int>, regel);
        CSerienFkt rule;
        rule.SetDaily(7); // a previous rule is replaced, not amended
        QString beschreibung = QStringLiteral("alt");
        SerienAblehnung ablehnung;
        QVERIFY(FillRecord(eingabe(aenderungen), rule, beschreibung, ablehnung));
        QCOMPARE(beschreibung, text);
        QCOMPARE(muster(rule), regel);
        QCOMPARE(rule.datBeginn().toQDate(), QDate(2024, 6, 5));
        QCOMPARE(rule.TimeBeginn().toQTime(), QTime(10, 0));
        QCOMPARE(rule.TimeEnde().toQTime(), QTime(12, 0));
        QCOMPARE(rule.AnzTermin(), 10);
    }

    void ablehnung_data() {
        QTest::addColumn<QString>("aenderungen");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("meldung");
        const QString zahl = QStringLiteral("Geben Sie eine Zahl größer als 0 ein!");
        const QString datum = QStringLiteral("Geben Sie ein gültiges Datum ein!");
        QTest::newRow("every 0 days") << "stFreqTag=0"
                                      << "edFreqTag" << zahl;
        QTest::newRow("no weekday")
            << "muster=W"
            << "cbWeekday_0" << QStringLiteral("Wählen Sie mindestens einen Wochentag aus!");
        QTest::newRow("weekday every 0 months") << "muster=M; bMonatAmTag=0; stFreqMonth1=0"
                                                << "edFreqMonth_1" << zahl;
        QTest::newRow("day 32 of a month")
            << "muster=M; stDay=32"
            << "edDay" << QStringLiteral("Geben Sie einen Tag zwischen 1 und 31 ein!");
        QTest::newRow("30 February")
            << "muster=Y; stDayYear=30; iMonth0=2"
            << "edDayYear" << QStringLiteral("Geben Sie einen Tag zwischen 1 und 29 ein!");
        QTest::newRow("no start date") << "stBeginn="
                                       << "edBeginn" << datum;
        QTest::newRow("start 31 April") << "stBeginn=31.04.2024"
                                        << "edBeginn" << datum;
        QTest::newRow("no end date to end at") << "bEndeNach=0; stEnde="
                                               << "edEnde" << datum;
        QTest::newRow("time 25:00")
            << "stTimeEnde=25:00"
            << "edTimeEnde" << QStringLiteral("Geben Sie eine gültige Uhrzeit ein!");
        QTest::newRow("40000 dates")
            << "stAnzTerm=40000"
            << "edAnzTerm"
            << QStringLiteral("Geben Sie eine Anzahl von Terminen zwischen 1 und 32767 ein!");
    }
    void ablehnung() {
        QFETCH(QString, aenderungen);
        QFETCH(QString, feld);
        QFETCH(QString, meldung);
        CSerienFkt rule;
        QString beschreibung;
        SerienAblehnung ablehnung;
        QVERIFY(!FillRecord(eingabe(aenderungen), rule, beschreibung, ablehnung));
        QCOMPARE(ablehnung.stFeld, feld);
        QCOMPARE(ablehnung.stMeldung, meldung);
        QVERIFY(!ablehnung.bImmerMelden);
        QVERIFY(ablehnung.stKorrektur.isNull());
        QVERIFY(beschreibung.isEmpty());
        QCOMPARE(muster(rule), kKeinMuster);
    }

    void endeVorAnfang_data() {
        QTest::addColumn<QString>("aenderungen");
        QTest::addColumn<QString>("feld"); // empty: accepted
        QTest::addColumn<QString>("korrektur");
        QTest::newRow("end date before start") << "bEndeNach=0; stEnde=04.06.2024"
                                               << "edEnde"
                                               << "06.06.2024";
        QTest::newRow("one day, end time first")
            << "bEndeNach=0; stEnde=05.06.2024; stTimeBeginn=14:30"
            << "edTimeEnde"
            << "15:30";
        QTest::newRow("one day, equal times")
            << "bEndeNach=0; stEnde=05.06.2024; stTimeEnde=10:00" << QString() << QString();
        // The end is calculated from the number of dates; an old end date does not count.
        QTest::newRow("old end date with a number of dates")
            << "stEnde=01.01.2024" << QString() << QString();
    }
    void endeVorAnfang() {
        QFETCH(QString, aenderungen);
        QFETCH(QString, feld);
        QFETCH(QString, korrektur);
        CSerienFkt rule;
        QString beschreibung;
        SerienAblehnung ablehnung;
        const bool ok = FillRecord(eingabe(aenderungen), rule, beschreibung, ablehnung);
        QCOMPARE(ok, feld.isEmpty());
        if (ok)
            return;
        QCOMPARE(ablehnung.stMeldung,
                 QStringLiteral("Terminende darf nicht vor Terminanfang liegen!"));
        QCOMPARE(ablehnung.stFeld, feld);
        QCOMPARE(ablehnung.stKorrektur, korrektur);
        QVERIFY(ablehnung.bImmerMelden);
        QCOMPARE(muster(rule), kKeinMuster);
        QCOMPARE(rule.datBeginn().toQDate(), QDate(2024, 6, 5));
    }
};

QTEST_GUILESS_MAIN(TstEingabe)
#include "tst_eingabe.moc"

// Series: the input of the series dialog turned into a rule, the dates a rule gives, and a
// series saved as bookings.
#include "ErrorGuard.h"
#include "SerienBerechnung.h"
#include "SerienEingabe.h"
#include "SerienTestUtil.h"
#include "TestProjekt.h"

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
    const QHash<QString, QString*> texte{
        {"stBeginn", &in.stBeginn},           {"stEnde", &in.stEnde},
        {"stAnzTerm", &in.stAnzTerm},         {"stTimeBeginn", &in.stTimeBeginn},
        {"stTimeEnde", &in.stTimeEnde},       {"stFreqTag", &in.stFreqTag},
        {"stFreqWeek", &in.stFreqWeek},       {"stDay", &in.stDay},
        {"stFreqMonth0", &in.stFreqMonth[0]}, {"stFreqMonth1", &in.stFreqMonth[1]},
        {"stDayYear", &in.stDayYear}};
    const QHash<QString, int*> zahlen{{"iAnz", &in.iAnz},         {"iDayArt", &in.iDayArt},
                                      {"iMonth0", &in.iMonth[0]}, {"iMonth1", &in.iMonth[1]},
                                      {"iAnzYear", &in.iAnzYear}, {"iDayArtYear", &in.iDayArtYear}};
    const QHash<QString, bool*> schalter{{"bEndeNach", &in.bEndeNach},
                                         {"bJedenArb", &in.bJedenArb},
                                         {"bMonatAmTag", &in.bMonatAmTag},
                                         {"bJahrAmTag", &in.bJahrAmTag}};
    for (const QString& paar : aenderungen.split(';', Qt::SkipEmptyParts)) {
        const QString key = paar.section('=', 0, 0).trimmed();
        const QString v = paar.section('=', 1);
        if (key == "muster")
            in.muster = v == "W"   ? M::Woechentlich
                        : v == "M" ? M::Monatlich
                        : v == "Y" ? M::Jaehrlich
                                   : M::Taeglich;
        else if (key == "bWeekday")
            for (const QString& i : v.split(','))
                in.bWeekday[i.toInt()] = true;
        else if (texte.contains(key))
            *texte[key] = v;
        else if (zahlen.contains(key))
            *zahlen[key] = v.toInt();
        else if (schalter.contains(key))
            *schalter[key] = v == "1";
        else
            qFatal("unknown member %s", qPrintable(key));
    }
    return in;
}

// Daily, Weekly, Weekday, FreqMonth, Month, Day, Anz, DayArt
QList<int> muster(const CSerienFkt& r) {
    return {r.Daily(), r.Weekly(), r.Weekday(), r.FreqMonth(),
            r.Month(), r.Day(),    r.Anz(),     r.DayArt()};
}
const QList<int> kKeinMuster{-1, -1, 0, 0, 0, 0, 0, 0};

// A booking of room `raum` on one day, 10:00-12:00, ordered by "Müller".
CBelegungRec buchung(int32_t raum, QDate tag, int32_t auftrNr = 0) {
    const double d = TovoDate::fromDate(tag).value();
    CBelegungRec b = TestProjekt::satz(raum, d + Uhr(10), d + Uhr(12), auftrNr);
    b.Best = QStringLiteral("Müller");
    return b;
}

} // namespace

class TstBerechnung : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;

    int zahl(const QString& sql) { return p->wert(sql).toInt(); }
    // The bookings of an order as "date from-to room orderer|series text|mail", in order.
    QStringList auftrag(int32_t nr) {
        CBelegungRecColl coll;
        if (!p->db.ReadAuftrag2Coll(nr, &coll))
            qWarning() << p->db.LastError();
        QStringList out;
        for (const CBelegungRec* b : coll)
            out << QStringLiteral("%1 %2-%3 %4 %5|%6|%7")
                           .arg(TovoDate(b->dt_von).toShortDateText(),
                                TovoDate(b->tm_von).format(QStringLiteral("hh:mm")),
                                TovoDate(b->tm_bis).format(QStringLiteral("hh:mm")))
                           .arg(b->rb_id)
                           .arg(b->Best, b->stSerieBem)
                           .arg(int(b->bEMail)) +
                       (b->dt_bis == b->dt_von ? QString() : QStringLiteral(" ends another day"));
        return out;
    }

private slots:
    void cleanup() { p.reset(); } // the saving tests open a project

    void naechsteTermine_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("beginn");
        QTest::addColumn<QList<QDate>>("termine");
        auto row = [](const char* name, const char* regel, const char* beginn,
                      const char* termine) {
            QTest::newRow(name) << QString(regel) << Daten(beginn).value(0) << Daten(termine);
        };
        row("working days from a Friday", "D0", "7.6.2024", "7.6.2024 10.6.2024 11.6.2024");
        row("working days from a Saturday", "D0", "8.6.2024", "10.6.2024 11.6.2024");
        row("Monday, Thursday and Sunday every week", "W1:73", "5.6.2024",
            "6.6.2024 9.6.2024 10.6.2024 13.6.2024 16.6.2024");
        row("Monday and Thursday every 2 weeks", "W2:9", "5.6.2024",
            "6.6.2024 17.6.2024 20.6.2024 1.7.2024");
        row("day 10 every 3 months, day passed", "M3:d10", "20.1.2024", "10.4.2024 10.7.2024");
        row("day 31 every month through a leap year", "M1:d31", "1.1.2024",
            "31.1.2024 29.2.2024 29.3.2024 29.4.2024");
        row("day 31 from a month of 30 days", "M1:d31", "1.4.2024", "30.4.2024 30.5.2024");
        row("last Friday every month", "M1:k5w5", "1.2.2024", "23.2.2024 29.3.2024 26.4.2024");
        row("first Monday already passed", "M1:k1w1", "2.7.2024", "5.8.2024 2.9.2024");
        row("24 December from March", "Y12:d24", "1.3.2024", "24.12.2024 24.12.2025");
        row("24 December from 30 December", "Y12:d24", "30.12.2024", "24.12.2025 24.12.2026");
        row("29 February in other years", "Y2:d29", "1.1.2024",
            "29.2.2024 28.2.2025 28.2.2026 28.2.2027 29.2.2028");
        row("second Tuesday of March", "Y3:k2w2", "1.1.2024", "12.3.2024 11.3.2025 10.3.2026");
        row("last Sunday of October, passed", "Y10:k5w7", "28.10.2024", "26.10.2025 25.10.2026");
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
        auto row = [](const char* name, const char* regel, QDate ende, int nter, const char* m) {
            QTest::newRow(name) << QString(regel) << ende << nter << QString::fromUtf8(m);
        };
        const char* nicht = "Die Termine der Serie lassen sich nicht berechnen!";
        const char* viele = "Eine Terminserie darf höchstens 32767 Termine haben!";
        row("no pattern", "", D(1, 1, 2025), 0, nicht);
        row("no weekday", "W1:0", D(1, 1, 2025), 0, nicht);
        row("every 0 weeks", "W0:1", D(1, 1, 2025), 0, nicht);
        row("one date beyond the limit", "D1", D(1, 1, 2000).addDays(32767), 0, viele);
        row("no end date", "D1", D(31, 12, 9999), 0, viele);
        row("number beyond the limit", "D1", D(1, 1, 2000), 32768, viele);
        row("beyond the year 9999", "D999", D(1, 1, 2000), 3000,
            "Die Terminserie reicht über das Jahr 9999 hinaus!");
    }
    void walkEndet() {
        QFETCH(QString, regel);
        QFETCH(QDate, ende);
        QFETCH(int, nter);
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
        QTEST(raised, "meldung");
        QVERIFY(visited <= kMaxTermine);
    }

    void beschreibung_data() {
        QTest::addColumn<QString>("aenderungen");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("regel");
        auto row = [](const char* name, const char* aenderungen, const char* text, QList<int> r) {
            QTest::newRow(name) << QString(aenderungen) << QString::fromUtf8(text) << r;
        };
        row("every 2 days typed 02", "stFreqTag=02", "Alle 02 Tage", {2, -1, 0, 0, 0, 0, 0, 0});
        row("working days", "bJedenArb=1; stFreqTag=", "Jeden Arbeitstag",
            {0, -1, 0, 0, 0, 0, 0, 0});
        row("weekdays, Monday first", "muster=W; bWeekday=6,2,0",
            "Alle 1 Wochen, am Montag, Mittwoch, Sonntag", {-1, 1, 69, 0, 0, 0, 0, 0});
        row("one weekday, no comma", "muster=W; stFreqWeek=2; bWeekday=3",
            "Alle 2 Wochen, am Donnerstag", {-1, 2, 8, 0, 0, 0, 0, 0});
        row("monthly day as typed", "muster=M; stDay=05; stFreqMonth0=03",
            "Am 05. Tag jedes 03. Monats", {-1, -1, 0, 3, 0, 5, 0, 0});
        row("monthly last Friday", "muster=M; bMonatAmTag=0; stFreqMonth1=01; iAnz=5; iDayArt=5",
            "Am 5. Freitag jedes 1. Monats", {-1, -1, 0, 1, 0, 0, 5, 5});
        row("yearly day typed 05", "muster=Y; stDayYear=05; iMonth0=3", "Jährlich am 5. März",
            {-1, -1, 0, 0, 3, 5, 0, 0});
        row("yearly second Tuesday of December",
            "muster=Y; bJahrAmTag=0; iAnzYear=2; iDayArtYear=2; iMonth1=12",
            "Jährlich am 2. Dienstag im Dezember", {-1, -1, 0, 0, 12, 0, 2, 2});
    }
    void beschreibung() {
        QFETCH(QString, aenderungen);
        CSerienFkt rule;
        rule.SetDaily(7); // a previous rule is replaced, not amended
        QString beschreibung = QStringLiteral("alt");
        SerienAblehnung ablehnung;
        QVERIFY(FillRecord(eingabe(aenderungen), rule, beschreibung, ablehnung));
        QTEST(beschreibung, "text");
        QTEST(muster(rule), "regel");
        QCOMPARE(rule.datBeginn().toQDate(), QDate(2024, 6, 5));
        QCOMPARE(rule.TimeBeginn().toQTime(), QTime(10, 0));
        QCOMPARE(rule.TimeEnde().toQTime(), QTime(12, 0));
        QCOMPARE(rule.AnzTermin(), 10);
    }

    // Refused input names the field and the message; an end before the start also brings the
    // correction, always to be shown. An empty field: accepted.
    void ablehnung_data() {
        QTest::addColumn<QString>("aenderungen");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("korrektur");
        auto row = [](const char* name, const char* aenderungen, const char* feld,
                      const char* meldung, const char* korrektur = nullptr) {
            QTest::newRow(name) << QString(aenderungen) << QString(feld)
                                << QString::fromUtf8(meldung) << QString(korrektur);
        };
        const char* zahl = "Geben Sie eine Zahl größer als 0 ein!";
        const char* datum = "Geben Sie ein gültiges Datum ein!";
        const char* ende = "Terminende darf nicht vor Terminanfang liegen!";
        row("every 0 days", "stFreqTag=0", "edFreqTag", zahl);
        row("no weekday", "muster=W", "cbWeekday_0", "Wählen Sie mindestens einen Wochentag aus!");
        row("weekday every 0 months", "muster=M; bMonatAmTag=0; stFreqMonth1=0", "edFreqMonth_1",
            zahl);
        row("day 32 of a month", "muster=M; stDay=32", "edDay",
            "Geben Sie einen Tag zwischen 1 und 31 ein!");
        row("30 February", "muster=Y; stDayYear=30; iMonth0=2", "edDayYear",
            "Geben Sie einen Tag zwischen 1 und 29 ein!");
        row("no start date", "stBeginn=", "edBeginn", datum);
        row("start 31 April", "stBeginn=31.04.2024", "edBeginn", datum);
        row("no end date to end at", "bEndeNach=0; stEnde=", "edEnde", datum);
        row("time 25:00", "stTimeEnde=25:00", "edTimeEnde", "Geben Sie eine gültige Uhrzeit ein!");
        row("40000 dates", "stAnzTerm=40000", "edAnzTerm",
            "Geben Sie eine Anzahl von Terminen zwischen 1 und 32767 ein!");
        row("end date before start", "bEndeNach=0; stEnde=04.06.2024", "edEnde", ende,
            "06.06.2024");
        row("one day, end time first", "bEndeNach=0; stEnde=05.06.2024; stTimeBeginn=14:30",
            "edTimeEnde", ende, "15:30");
        row("one day, equal times", "bEndeNach=0; stEnde=05.06.2024; stTimeEnde=10:00", "", "");
        // The end is calculated from the number of dates; an old end date does not count.
        row("old end date with a number of dates", "stEnde=01.01.2024", "", "");
    }
    void ablehnung() {
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
        QCOMPARE(ablehnung.stFeld, feld);
        QTEST(ablehnung.stMeldung, "meldung");
        QCOMPARE(ablehnung.stKorrektur, korrektur);
        QCOMPARE(ablehnung.bImmerMelden, !korrektur.isNull());
        QVERIFY(beschreibung.isEmpty());
        QCOMPARE(muster(rule), kKeinMuster);
    }

    void saveJour_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("beginn");
        QTest::addColumn<QDate>("ende");
        QTest::addColumn<int>("zaehler"); // -1: empty counter table
        QTest::addColumn<QList<QDate>>("termine");
        QTest::newRow("12 dates Monday and Thursday")
            << "W1:9" << D(3, 6, 2024) << D(11, 7, 2024) << 500
            << Daten("3.6.2024 6.6.2024 10.6.2024 13.6.2024 17.6.2024 20.6.2024 24.6.2024 "
                     "27.6.2024 1.7.2024 4.7.2024 8.7.2024 11.7.2024");
        QTest::newRow("first date after the end")
            << "W1:1" << D(4, 6, 2024) << D(5, 6, 2024) << 42 << QList<QDate>{D(10, 6, 2024)};
        QTest::newRow("empty counter") << "D0" << D(7, 6, 2024) << D(10, 6, 2024) << -1
                                       << QList<QDate>{D(7, 6, 2024), D(10, 6, 2024)};
    }
    void saveJour() {
        QFETCH(QString, regel);
        QFETCH(QDate, beginn);
        QFETCH(QDate, ende);
        QFETCH(int, zaehler);
        QFETCH(QList<QDate>, termine);
        p = std::make_unique<TestProjekt>();
        if (zaehler < 0)
            p->wert(QStringLiteral("DELETE FROM T_NextNr"));
        else
            p->wert(QStringLiteral("UPDATE T_NextNr SET lNextNr = ?"), {zaehler});

        CBelegungRec rec = buchung(7, D(1, 1, 2024));
        rec.stSerieBem = QStringLiteral("Alle 1 Wochen, am Montag, Donnerstag");
        QVERIFY(SaveJour(Regel(regel, beginn, ende), rec, &p->db, {}));
        QVERIFY(p->prompt.shown.isEmpty());

        QStringList erwartet;
        for (QDate t : termine)
            erwartet << t.toString(QStringLiteral("dd.MM.yyyy")) +
                            QStringLiteral(" 10:00-12:00 7 Müller|%1|0").arg(rec.stSerieBem);
        QCOMPARE(auftrag(zaehler), erwartet);
        QCOMPARE(p->anzahlBelegungen(), int(termine.size()));
        QCOMPARE(zahl(QStringLiteral("SELECT COUNT(*) FROM T_NextNr")), 1);
        QCOMPARE(zahl(QStringLiteral("SELECT lNextNr FROM T_NextNr")), zaehler + 1);
    }

    // A series that cannot be walked writes nothing and leaves the counter alone.
    void saveJourZuViele() {
        p = std::make_unique<TestProjekt>();
        p->wert(QStringLiteral("UPDATE T_NextNr SET lNextNr = 77"));
        CBelegungRec rec = buchung(7, D(1, 1, 2000));
        QVERIFY(!SaveJour(Regel(QStringLiteral("D1"), D(1, 1, 2000), D(31, 12, 2099)), rec, &p->db,
                          {}));
        QCOMPARE(p->texte(), QStringList{"Eine Terminserie darf höchstens 32767 Termine "
                                         "haben!\nR_Main.SaveJour"});
        QCOMPARE(p->anzahlBelegungen(), 0);
        QCOMPARE(zahl(QStringLiteral("SELECT lNextNr FROM T_NextNr")), 77);
    }

    void saveSerieEdit_data() {
        QTest::addColumn<int>("vorlageRaum");
        QTest::addColumn<QList<int>>("raeume"); // rooms of the four bookings before
        QTest::addColumn<QList<int>>("danach"); // and after
        QTest::addColumn<int>("geschrieben");   // bookings updated
        QTest::newRow("template with a room")
            << 9 << QList<int>{7, 7, 8, 8} << QList<int>{9, 9, 9, 9} << 4;
        QTest::newRow("template without room")
            << 0 << QList<int>{7, 7, 8, 8} << QList<int>{7, 7, 8, 8} << 4;
        QTest::newRow("a booking without room writes none")
            << 0 << QList<int>{7, 8, 0, 8} << QList<int>{7, 8, 0, 8} << 0;
    }
    void saveSerieEdit() {
        QFETCH(int, vorlageRaum);
        QFETCH(QList<int>, raeume);
        QFETCH(QList<int>, danach);
        QFETCH(int, geschrieben);
        p = std::make_unique<TestProjekt>();
        const QList<QDate> tage{D(3, 6, 2024), D(10, 6, 2024), D(17, 6, 2024), D(24, 6, 2024)};
        for (int i = 0; i < 4; ++i)
            p->buche(buchung(raeume[i], tage[i], 900));
        CBelegungRecColl coll;
        QVERIFY(p->db.ReadAuftrag2Coll(900, &coll));
        QList<int32_t> keys;
        for (const CBelegungRec* b : coll)
            keys << b->Rec_ID;

        // The second booking as edited on the form: other times, requester and room.
        CBelegungRec vorlage = *coll.Item(2);
        vorlage.tm_von = Uhr(14, 30);
        vorlage.tm_bis = Uhr(16);
        vorlage.Best = QStringLiteral("Schäfer");
        vorlage.bEMail = true;
        vorlage.rb_id = vorlageRaum;

        QCOMPARE(SaveSerieEdit(vorlage, coll, &p->db), geschrieben == 4);
        QCOMPARE(p->texte(),
                 geschrieben < 4 ? QStringList{"Wählen Sie einen Raum aus!"} : QStringList());

        QStringList erwartet;
        for (int i = 0; i < 4; ++i)
            erwartet << tage[i].toString(QStringLiteral("dd.MM.yyyy ")) +
                            (i < geschrieben ? QStringLiteral("14:30-16:00 %1 Schäfer||1")
                                             : QStringLiteral("10:00-12:00 %1 Müller||0"))
                                .arg(danach[i]);
        QCOMPARE(auftrag(900), erwartet);
        CBelegungRecColl gelesen; // every booking keeps its key
        QVERIFY(p->db.ReadAuftrag2Coll(900, &gelesen));
        QList<int32_t> nachher;
        for (const CBelegungRec* b : gelesen)
            nachher << b->Rec_ID;
        QCOMPARE(nachher, keys);
    }
};

QTEST_GUILESS_MAIN(TstBerechnung)
#include "tst_berechnung.moc"

// Series: the input of the series dialog turned into a rule, the dates a rule gives, a series
// saved as bookings, and the dialog itself.
#include "ErrorGuard.h"
#include "SerienBerechnung.h"
#include "SerienEingabe.h"
#include "SerienSpeichern.h"
#include "TestProjekt.h"
#include "frmSerie.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

using namespace R_Main;

namespace {

// A rule in short notation, so that test tables stay readable:
//   "D3"      every 3 days          "D0"     every working day
//   "W2:9"    every 2 weeks on the weekday bits 9 (Monday + Thursday)
//   "M3:d10"  every 3 months on day 10
//   "M1:k5w5" every month on the last (5) Friday (5)
//   "Y12:d24" every year on 24 December
//   "Y3:k2w2" every year on the second Tuesday of March
//   ""        no pattern
CSerienFkt Regel(const QString& kurz, QDate beginn, QDate ende = QDate(9999, 12, 31)) {
    CSerienFkt r;
    r.SetdatBeginn(TovoDate::fromDate(beginn));
    r.SetdatEnde(TovoDate::fromDate(ende));
    static const QRegularExpression rx("^([DWMY])(\\d+)(?::(?:d(\\d+)|k(\\d+)w(\\d+)|(\\d+)))?$");
    const auto m = rx.match(kurz);
    if (!m.hasMatch())
        return r;
    const int n = m.captured(2).toInt();
    switch (kurz.at(0).toLatin1()) {
    case 'D':
        r.SetDaily(n);
        break;
    case 'W':
        r.SetWeekly(n);
        r.SetWeekday(m.captured(6).toInt());
        break;
    case 'M':
        r.SetFreqMonth(n);
        break;
    case 'Y':
        r.SetMonth(n);
        break;
    }
    if (!m.captured(3).isEmpty())
        r.SetDay(m.captured(3).toInt());
    if (!m.captured(4).isEmpty()) {
        r.SetAnz(m.captured(4).toInt());
        r.SetDayArt(m.captured(5).toInt());
    }
    return r;
}

QDate D(int day, int month, int year) {
    return QDate(year, month, day);
}
// Dates in short: "7.6.2024 10.6.2024".
QList<QDate> Daten(const QString& kurz) {
    QList<QDate> out;
    for (const QString& t : kurz.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out << QDate::fromString(t, "d.M.yyyy");
    return out;
}

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
    in.stBeginn = "05.06.2024";
    in.stEnde = "14.06.2024";
    in.stAnzTerm = "10";
    in.stTimeBeginn = "10:00";
    in.stTimeEnde = "12:00";
    in.stFreqTag = in.stFreqWeek = "1";
    in.stFreqMonth = {"1", "1"};
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

// A booking of room `raum` on one day, 10:00-12:00, ordered by "Müller".
CBelegungRec buchung(int32_t raum, QDate tag, int32_t auftrNr = 0) {
    const double d = TovoDate::fromDate(tag).value();
    CBelegungRec b = TestProjekt::satz(raum, d + Uhr(10), d + Uhr(12), auftrNr);
    b.Best = "Müller";
    return b;
}

} // namespace

class TstBerechnung : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<frmSerie> dlg;

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
                                TovoDate(b->tm_von).format("hh:mm"),
                                TovoDate(b->tm_bis).format("hh:mm"))
                           .arg(b->rb_id)
                           .arg(b->Best, b->stSerieBem)
                           .arg(int(b->bEMail)) +
                       (b->dt_bis == b->dt_von ? QString() : " ends another day");
        return out;
    }

private slots:
    // The dialog as the reservation form opens it for Wednesday 5 June 2024, 10:00-12:00.
    void init() {
        prompt = std::make_unique<ScriptedPrompt>();
        dlg = std::make_unique<frmSerie>();
        dlg->Vorbelegen("10:00", "12:00", "05.06.2024");
        dlg->Form_Activate();
    }
    void cleanup() {
        p.reset(); // the saving tests open a project
        dlg.reset();
        prompt.reset();
    }

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
        QString beschreibung = "alt";
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
        QCOMPARE(muster(rule), (QList<int>{-1, -1, 0, 0, 0, 0, 0, 0}));
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
            p->wert("DELETE FROM T_NextNr");
        else
            p->wert("UPDATE T_NextNr SET lNextNr = ?", {zaehler});

        CBelegungRec rec = buchung(7, D(1, 1, 2024));
        rec.stSerieBem = "Alle 1 Wochen, am Montag, Donnerstag";
        QVERIFY(SaveJour(Regel(regel, beginn, ende), rec, &p->db, {}));
        QVERIFY(p->prompt.shown.isEmpty());

        QStringList erwartet;
        for (QDate t : termine)
            erwartet << t.toString("dd.MM.yyyy") +
                            QStringLiteral(" 10:00-12:00 7 Müller|%1|0").arg(rec.stSerieBem);
        QCOMPARE(auftrag(zaehler), erwartet);
        QCOMPARE(p->anzahlBelegungen(), int(termine.size()));
        QCOMPARE(zahl("SELECT COUNT(*) FROM T_NextNr"), 1);
        QCOMPARE(zahl("SELECT lNextNr FROM T_NextNr"), zaehler + 1);
    }

    // A series that cannot be walked writes nothing and leaves the counter alone.
    void saveJourZuViele() {
        p = std::make_unique<TestProjekt>();
        p->wert("UPDATE T_NextNr SET lNextNr = 77");
        CBelegungRec rec = buchung(7, D(1, 1, 2000));
        QVERIFY(!SaveJour(Regel("D1", D(1, 1, 2000), D(31, 12, 2099)), rec, &p->db, {}));
        QCOMPARE(p->texte(), QStringList{"Eine Terminserie darf höchstens 32767 Termine "
                                         "haben!\nR_Main.SaveJour"});
        QCOMPARE(p->anzahlBelegungen(), 0);
        QCOMPARE(zahl("SELECT lNextNr FROM T_NextNr"), 77);
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
        vorlage.Best = "Schäfer";
        vorlage.bEMail = true;
        vorlage.rb_id = vorlageRaum;

        QCOMPARE(SaveSerieEdit(vorlage, coll, &p->db), geschrieben == 4);
        QCOMPARE(p->texte(),
                 geschrieben < 4 ? QStringList{"Wählen Sie einen Raum aus!"} : QStringList());

        QStringList erwartet;
        for (int i = 0; i < 4; ++i)
            erwartet << tage[i].toString("dd.MM.yyyy ") + QString(i < geschrieben
                                                                      ? "14:30-16:00 %1 Schäfer||1"
                                                                      : "10:00-12:00 %1 Müller||0")
                                                              .arg(danach[i]);
        QCOMPARE(auftrag(900), erwartet);
        CBelegungRecColl gelesen; // every booking keeps its key
        QVERIFY(p->db.ReadAuftrag2Coll(900, &gelesen));
        QList<int32_t> nachher;
        for (const CBelegungRec* b : gelesen)
            nachher << b->Rec_ID;
        QCOMPARE(nachher, keys);
    }

    void dialogCalculatesEnd_data() {
        QTest::addColumn<int>("wochentage"); // 0: every day; else weekly on these bits
        QTest::addColumn<bool>("endeNach");
        QTest::addColumn<QString>("eingabe");  // the number of dates or the end date
        QTest::addColumn<QString>("ergebnis"); // the other field
        auto row = [](const char* name, int tage, bool endeNach, const char* ein, const char* aus) {
            QTest::newRow(name) << tage << endeNach << QString(ein) << QString(aus);
        };
        row("daily, 5 dates", 0, true, "5", "05.03.2024");
        row("daily, to 20 March", 0, false, "20.03.2024", "20");
        row("daily, empty number counts one", 0, true, "", "01.03.2024");
        row("Monday and Thursday, 10 dates", 9, true, "10", "04.04.2024");
        row("Monday, one date after the start", 1, true, "1", "04.03.2024");
        row("Monday, end before the first date", 1, false, "02.03.2024", "1");
    }
    void dialogCalculatesEnd() {
        QFETCH(int, wochentage);
        QFETCH(bool, endeNach);
        QFETCH(QString, eingabe);
        dlg = std::make_unique<frmSerie>(); // from Friday 1 March 2024
        dlg->Vorbelegen("10:00", "12:00", "01.03.2024");
        dlg->Form_Activate();
        if (wochentage) {
            dlg->obWeekly->setChecked(true);
            for (int i = 0; i < 7; ++i)
                dlg->cbWeekday[i]->setChecked(wochentage & (1 << i));
        }
        (endeNach ? dlg->obEndeNach : dlg->obEndeDatum)->setChecked(true);
        (endeNach ? dlg->edAnzTerm : dlg->edEnde)->setText(eingabe);
        QVERIFY(dlg->f_bChanged);
        dlg->trStatus_Timer();
        QTEST((endeNach ? dlg->edEnde : dlg->edAnzTerm)->text(), "ergebnis");
        QVERIFY(!dlg->f_bChanged && prompt->shown.isEmpty());
        // The rule follows the field that was calculated.
        QVERIFY(dlg->f_Serie);
        QCOMPARE(dlg->f_Serie->datEnde().toShortDateText(), dlg->edEnde->text());
    }

    // OK straight after the choice, before the background recalculation: OK calculates the end
    // of the ten dates itself.
    void dialogPatterns_data() {
        QTest::addColumn<QString>("beschreibung"); // data tag: option "ob..." and frame "fr..."
        QTest::addColumn<QString>("ende");
        QTest::newRow("Daily") << "Alle 1 Tage" << QString("14.06.2024");
        QTest::newRow("Weekly") << "Alle 1 Wochen, am Mittwoch" << QString("07.08.2024");
        QTest::newRow("Monthly") << "Am 5. Tag jedes 1. Monats" << QString("05.03.2025");
        QTest::newRow("Yearly") << "Jährlich am 5. Juni" << QString("05.06.2033");
    }
    void dialogPatterns() {
        const QString muster = QString::fromLatin1(QTest::currentDataTag());
        dlg->obYearly->setChecked(true); // away from daily first, so that every row switches
        dlg->findChild<QRadioButton*>("ob" + muster)->setChecked(true);
        for (QGroupBox* f : {dlg->frDaily, dlg->frWeekly, dlg->frMonthly, dlg->frYearly})
            QCOMPARE(f->isHidden(), f->objectName() != "fr" + muster);
        // The yearly option offers the current month; June keeps the start date the first one.
        QCOMPARE(dlg->coMonth[0]->currentIndex(), QDate::currentDate().month() - 1);
        dlg->coMonth[0]->setCurrentIndex(5);
        QVERIFY(dlg->f_bChanged);
        dlg->pbOk_Click();
        QVERIFY(prompt->shown.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QTEST(dlg->f_stSerieBem, "beschreibung");
        QTEST(dlg->edEnde->text(), "ende");
        QCOMPARE(dlg->f_Serie->datEnde().toShortDateText(), dlg->edEnde->text());
        // Each option (the yearly one with June) gives the start date as the first date.
        const CSerienFkt& r = *dlg->f_Serie;
        QCOMPARE(R_Main::GetNextDate(r, r.datBeginn(), true).toQDate(), QDate(2024, 6, 5));
    }

    // Typing or choosing in a field picks the option it belongs to.
    void fieldPicksOption() {
        dlg->obJedenArb->setChecked(true);
        for (auto [feld, option] : {std::pair{dlg->edFreqTag, dlg->obJeden},
                                    {dlg->edEnde, dlg->obEndeDatum},
                                    {dlg->edAnzTerm, dlg->obEndeNach}}) {
            feld->clear();
            QTest::keyClicks(feld, "3");
            QVERIFY(option->isChecked());
        }
    }

    // While a date field has the focus the timer rests, so that a half typed date is not read.
    void timerRestsInDateField() {
        for (QLineEdit* e : {dlg->edBeginn, dlg->edEnde}) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(e, &in);
            QVERIFY(!dlg->trStatus->isActive());
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(e, &out);
            QVERIFY(dlg->trStatus->isActive());
        }
    }

    // A refusal names its field: the message, the correction in the field, the focus on it. (The
    // refusals themselves are checked with the input alone.)
    void dialogRefusal() {
        dlg->show();
        dlg->edEnde->setText("01.06.2024");
        dlg->obEndeDatum->setChecked(true);
        dlg->pbOk_Click();
        QCOMPARE(prompt->texte(), QStringList{"Terminende darf nicht vor Terminanfang liegen!"});
        QCOMPARE(dlg->edEnde->text(), "06.06.2024");
        QCOMPARE(dlg->focusWidget(), dlg->edEnde);
        QVERIFY(dlg->isVisible() && dlg->f_stSerieBem.isEmpty());
    }

    // Only the end before the start is reported by the background recalculation; a weekly
    // series without a weekday just waits for one.
    void timerMessages() {
        dlg->obWeekly->setChecked(true);
        dlg->cbWeekday[2]->setChecked(false);
        dlg->trStatus_Timer();
        QVERIFY(prompt->shown.isEmpty());
        QCOMPARE(dlg->edEnde->text(), "14.06.2024");

        dlg->cbWeekday[4]->setChecked(true);
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText("04.06.2024");
        dlg->trStatus_Timer();
        QCOMPARE(prompt->texte(), QStringList{"Terminende darf nicht vor Terminanfang liegen!"});
        QCOMPARE(dlg->edEnde->text(), "06.06.2024");
        dlg->f_bChanged = true;
        dlg->trStatus_Timer();
        QCOMPARE(dlg->edAnzTerm->text(), "1"); // Friday 7 June, after the end
    }

    void dialogTooManyDates() {
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText("31.12.2199");
        dlg->trStatus_Timer();
        QCOMPARE(prompt->texte(), QStringList{"Eine Terminserie darf höchstens 32767 Termine "
                                              "haben!\nfrmSerie.CalcTermin"});
        QCOMPARE(dlg->edAnzTerm->text(), "10");
        dlg->pbOk_Click();
        QCOMPARE(prompt->shown.size(), 2);
        QVERIFY(dlg->result() != QDialog::Accepted);
    }
};

QTEST_MAIN(TstBerechnung)
#include "tst_berechnung.moc"

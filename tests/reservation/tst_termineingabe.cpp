// The reservation form's date and time boxes without the form: when typing and leaving boxes
// checks them, the check before saving, the set-up corrections and proposals.
#include "TerminEingabe.h"

#include <QtTest>

using TE = TerminEingabe;

namespace {

// Boxes by moment letter (B Beginn, E Ende, U/u set-up start/end, R/r clear-down start/end) and
// d (date) or t (time); "-" is a control outside the boxes.
int Box(const QString& name) {
    if (name == QLatin1String("-"))
        return TE::kAussen;
    const int moment = QStringLiteral("BEUuRr").indexOf(name.at(0));
    return name.at(1) == QLatin1Char('d') ? TE::Datum(moment) : TE::Zeit(moment);
}

// Moments in short: "hh:mm" on 16.03.2026, "dd/hh:mm" on that day of March 2026, "-" none; the
// dates and times of the moments in order.
QStringList Zeitpunkte(const char* kurz) {
    QStringList out;
    for (const QString& t : QString::fromLatin1(kurz).split(QLatin1Char(' '))) {
        const QString tag = t.contains(QLatin1Char('/')) ? t.section(QLatin1Char('/'), 0, 0) : "16";
        out << (t == QLatin1String("-") ? QString() : tag + ".03.2026")
            << (t == QLatin1String("-") ? QString() : t.section(QLatin1Char('/'), -1));
    }
    return out;
}

TE Eingabe(const QStringList& texte) {
    TE e;
    for (int i = 0; i < texte.size(); ++i)
        e.text[i] = texte[i];
    return e;
}

QStringList Texte(const TE& e, int anzahl = TE::kBoxen) {
    return QStringList(e.text.begin(), e.text.begin() + anzahl);
}

} // namespace

class TestTerminEingabe : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Steps "box=typed>target" (typing is left out when a box is only passed through) on a
    // booking 09:00 to 10:00; per step "" (nothing), "Spanne" (span checks due) or the message.
    void leavingBoxes_data() {
        QTest::addColumn<QString>("schritte");
        QTest::addColumn<QStringList>("ergebnis");
        QTest::addColumn<QString>("buchung"); // the booking's four boxes afterwards
        const QString gleich = QStringLiteral("16.03.2026 09:00 16.03.2026 10:00");
        auto row = [](const char* name, const char* schritte, const QStringList& ergebnis,
                      const QString& buchung) {
            QTest::newRow(name) << QString(schritte) << ergebnis << buchung;
        };
        row("start then end typed: one check on leaving the group", "Bt=10:00>Ed Ed>Et Et=12:00>-",
            {"", "", "Spanne"}, "16.03.2026 10:00 16.03.2026 12:00");
        row("passing through without typing checks nothing", "Bd>Bt Bt>Ed Ed>Et Et>-",
            {"", "", "", ""}, gleich);
        row("leaving for the set-up boxes checks the booking", "Bd=17.3.26>Ud", {"Spanne"},
            "17.03.2026 09:00 16.03.2026 10:00");
        row("set-up boxes are a group of their own", "Ud=16.03.2026>Ut Ut=8:00>ud ud>-",
            {"", "", "Spanne"}, gleich);
        row("impossible date refused, checked once corrected", "Bd=31.02.2027>- Bd=17.03.2026>-",
            {"Beginn: 31.02.2027 ist kein gültiges Datum.", "Spanne"},
            "17.03.2026 09:00 16.03.2026 10:00");
        row("impossible time refused, not set to midnight", "Et=25:99>-",
            {"Ende: 25:99 ist keine gültige Uhrzeit."}, "16.03.2026 09:00 16.03.2026 25:99");
        row("24:15 typed as end ends the next day", "Et=24:15>-", {"Spanne"},
            "16.03.2026 09:00 17.03.2026 00:15");
        row("empty start time is midnight, the end the next day", "Bt=>Bd", {""},
            "16.03.2026 00:00 17.03.2026 10:00");
    }
    void leavingBoxes() {
        QFETCH(QString, schritte);
        TE e = Eingabe(Zeitpunkte("09:00 10:00"));
        QStringList ergebnis;
        for (const QString& schritt : schritte.split(QLatin1Char(' '))) {
            const QString box = schritt.section(QLatin1Char('>'), 0, 0);
            const int nummer = Box(box.left(2));
            if (box.contains(QLatin1Char('='))) {
                e.text[nummer] = box.section(QLatin1Char('='), 1);
                e.Bearbeitet(nummer);
            }
            const TE::Verlassen v = e.Verlasse(nummer, Box(schritt.section(QLatin1Char('>'), 1)));
            ergebnis << (v.spanne ? QStringLiteral("Spanne") : v.meldung);
        }
        QTEST(ergebnis, "ergebnis");
        QTEST(Texte(e, 4).join(QLatin1Char(' ')), "buchung");
    }

    // Booking, set-up start, set-up end, clear-down start, clear-down end; several rows break
    // more than one rule to show that the first failing check is the one reported.
    void checkBeforeSaving_data() {
        QTest::addColumn<QStringList>("werte");
        QTest::addColumn<QString>("meldung"); // "" = passes
        QTest::addColumn<int>("frage");
        auto row = [](const char* name, const char* werte, const char* meldung, int frage = -1) {
            QTest::newRow(name) << Zeitpunkte(werte) << QString::fromUtf8(meldung) << frage;
        };
        row("1 end date missing", "09:00 - - 08:00 - -", "Anfangs- und Enddatum setzen!");
        row("2 end equals start", "09:00 09:00 - 08:00 - -",
            "Ende Termin muss später sein als Anfang Termin !");
        row("3 set-up end missing", "09:00 11:00 08:00 - 10:00 -",
            "Für den Umbau fehlt das Ende! Auf Terminbeginn setzen und speichern ?", 0);
        row("4 clear-down start missing", "09:00 11:00 - - - 12:00",
            "Für den Rückbau fehlt der Anfang! Auf Terminende setzen und speichern ?", 1);
        row("5 set-up start missing", "09:00 11:00 - 08:00 12:00 -",
            "Für den Umbau fehlt der Anfang !");
        row("6 clear-down end missing", "09:00 11:00 09:30 08:00 12:00 -",
            "Für den Rückbau fehlt das Ende !");
        row("7 set-up reversed", "09:00 11:00 08:30 08:00 12:00 11:30",
            "Ende Umbau muss später sein als Anfang Umbau !");
        row("8 clear-down reversed", "09:00 11:00 07:00 09:30 12:00 11:30",
            "Ende Rückbau muss später sein als Anfang Rückbau !");
        row("9 set-up ends after the start", "09:00 11:00 08:00 09:01 10:00 12:00",
            "Ende Umbau ist später als Beginn des Termins !");
        row("10 clear-down starts before the end", "09:00 11:00 08:00 09:00 10:59 12:00",
            "Anfang Rückbau ist früher als Ende des Termins !");
        row("spans touching the booking pass", "09:00 11:00 08:00 09:00 11:00 12:00", "");
        row("no spans, over midnight, passes", "22:00 17/01:00 - - - -", "");
    }
    void checkBeforeSaving() {
        QFETCH(QStringList, werte);
        QFETCH(int, frage);
        TE e = Eingabe(werte);
        const TE::Befund befund = e.VorDemSpeichern();
        QTEST(befund.meldung, "meldung");
        QCOMPARE(befund.frage, frage);
        QCOMPARE(Texte(e), werte);
        // Yes to the question fills in the missing moment from the booking.
        e.FrageAnnehmen(frage);
        if (frage >= 0)
            QCOMPARE(Texte(e).mid(frage == 0 ? 6 : 8, 2),
                     Zeitpunkte(frage == 0 ? "09:00" : "11:00"));
    }

    // A booking (16.03.2026 09:00 to 11:00 unless given); the four set-up and clear-down moments
    // before and after the corrections, or "?" for the proposals.
    void setUpCorrections_data() {
        QTest::addColumn<QStringList>("termin");
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<QStringList>("nachher");
        QTest::addColumn<QStringList>("meldungen");
        auto row = [](const char* name, const char* vorher, const char* nachher,
                      const QStringList& meldungen, const char* termin = "09:00 11:00") {
            QTest::newRow(name) << Zeitpunkte(termin)
                                << (qstrcmp(vorher, "?") ? Zeitpunkte(vorher) : QStringList())
                                << Zeitpunkte(nachher) << meldungen;
        };
        const QString umbau = QStringLiteral("Umbauzeit muß vor Terminende liegen!");
        const QString rueck = QStringLiteral("Rückbauzeit muß nach Terminende liegen!");
        const QString bau = QStringLiteral("Bauanfang muß vor Bauende liegen!");
        row("set-up start on a later day takes the booking's date", "17/08:00 08:30 - -",
            "08:00 08:30 - -", {umbau});
        row("set-up end after the start moves 10 minutes before it", "08:00 09:30 - -",
            "08:00 08:50 - -", {umbau});
        row("clear-down start before the end moves 10 minutes after it", "- - 10:30 12:00",
            "- - 11:10 12:00", {rueck});
        row("clear-down end on an earlier day takes the booking's date", "- - 11:30 15/12:00",
            "- - 11:30 12:00", {rueck});
        row("reversed set-up ends 10 minutes after its start", "08:30 08:00 - -", "08:30 08:40 - -",
            {bau});
        row("reversed clear-down moves across midnight", "- - 23:55 23:00", "- - 23:55 17/00:05",
            {bau});
        row("both ends wrong", "09:30 10:00 - -", "08:50 09:00 - -", {umbau, umbau, bau});
        row("valid spans stay", "08:00 09:00 11:00 12:00", "08:00 09:00 11:00 12:00", {});
        row("proposals in the afternoon", "?", "12:30 13:30 16:30 17:30", {}, "14:00 16:00");
        row("proposals around midnight", "?", "23:00 17/00:00 18/00:15 18/01:15", {},
            "17/00:30 17/23:45");
    }
    void setUpCorrections() {
        QFETCH(QStringList, termin);
        QFETCH(QStringList, vorher);
        TE e = Eingabe(termin + vorher);
        QStringList meldungen;
        if (vorher.isEmpty()) {
            e.Vorschlagen(0);
            e.Vorschlagen(1);
            QCOMPARE(e.Aufwand(), 2.0);
            QCOMPARE(e.VorDemSpeichern().meldung, QString());
        }
        for (const TE::Meldung& m : e.Bau())
            meldungen << m.text;
        QTEST(Texte(e).mid(4), "nachher");
        QTEST(meldungen, "meldungen");
    }
};

QTEST_APPLESS_MAIN(TestTerminEingabe)
#include "tst_termineingabe.moc"

// Reports from template to page: template override and fallback, escaping, faulty templates,
// and every report family end to end as PDF, read back with pdftotext. The overviews run
// through the host program's command line, which opens the project for reading only and is
// checked as a table, and the usage chart is looked for in a rendered page.
#include "Bericht.h"
#include "BerichtLauf.h"
#include "DruckTabelle.h"
#include "TestProjekt.h"

#include <QImage>
#include <QTextDocument>
#include <QtTest>

namespace {
double Am(int monat, int tag) {
    return TovoDate::fromParts(2026, monat, tag).value();
}
void schreibe(const QString& pfad, const QByteArray& text) {
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}
// One of two processes printing at once (--drucke PROJEKT A|B): the day list of the day of room
// A or B 200 times, each on a connection of its own as the command line opens it. Returns how
// many reports lack their room or show the other.
int DruckeTag(const QString& projekt, const QString& raum) {
    gstReportDir = projekt + "/Report/";
    BerichtZeitraum z;
    z.von = Am(4, raum == QLatin1String("A") ? 7 : 8);
    const BerichtArt& art = *FindeBericht("RepTaZ");
    const QString andere = raum == QLatin1String("A") ? "B" : "A";
    int falsch = 0;
    for (int i = 0; i < 200; ++i) {
        const QString con = UniqueConnectionName("kind");
        Bericht b;
        const bool ok =
            OpenSqliteConnection(projekt + QLatin1Char('/') + kDbFileName, con, true, nullptr) &&
            BerichtVorbereiten(con, art, z, nullptr) && b.Erstellen(con, art, nullptr);
        CloseSqliteConnection(con);
        falsch += !ok || !b.Html().contains("Raum " + raum) || b.Html().contains("Raum " + andere);
    }
    return falsch;
}

} // namespace

class TestBerichte : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    QString fehler;

    QString pdfText(const QString& pdf) {
        QProcess proc;
        proc.start("pdftotext", {"-layout", pdf, "-"});
        if (!proc.waitForFinished(30000))
            return "pdftotext läuft nicht";
        return QString::fromUtf8(proc.readAllStandardOutput());
    }
    int seiten(const QString& pdf) { return pdfText(pdf).count(QLatin1Char('\f')); }
    // Runs the host program without a display; returns its exit code and puts its output into
    // `fehler`.
    int programm(const QStringList& args) {
        QProcess proc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(QLatin1String(name));
        proc.setProcessEnvironment(env);
        proc.start(TovoBinDir() + "/tovo-raumverw", QStringList{p->dir.path()} + args);
        if (!proc.waitForFinished(60000))
            return -1;
        fehler = QString::fromUtf8(proc.readAllStandardOutput() + proc.readAllStandardError());
        return proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
    }
    QString html(const QString& name) {
        Bericht b;
        if (!b.Erstellen(gDb, *FindeBericht(name), &fehler))
            return QString();
        QTextDocument doc;
        doc.setHtml(b.Html());
        return doc.toPlainText();
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>();
        gstReportDir = gstProjektDir + "Report/";
        const int32_t saal = p->raum("Saal Nord", p->raumart("Säle"));
        const int32_t raum = p->raum("Raum 12", p->raumart("Büros"));
        CBelegungRec b = TestProjekt::satz(saal, Am(3, 18) + Uhr(9), Am(3, 18) + Uhr(12), 4711);
        b.Verst = "Rat <b>&{{x}}</b>";
        b.Miete = Currency::fromDouble(1250.5);
        b.Technik = Currency::fromDouble(80);
        b.Inst = "Muster GmbH";
        p->buche(b);
        p->buche(raum, Am(3, 17) + Uhr(14), Am(3, 19) + Uhr(10), 4712);
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void vorlage() {
        QVERIFY(DruckTabelle::Zeitraum(gDb, Am(3, 16), Am(3, 22), &fehler));
        // Without a template of its own the project gets the default, escaped.
        QVERIFY2(html("Repwo").contains("Rat <b>&{{x}}</b>"), qPrintable(fehler));
        schreibe(gstReportDir + "Repwo.html",
                 "<p>Eigene Liste {{Zeitraum}}: {{#zeilen}}[{{Verst}}]{{/zeilen}}</p>");
        QCOMPARE(html("Repwo"), QStringLiteral("Eigene Liste vom 16.03.2026 bis 22.03.2026: "
                                               "[Sitzung][Rat <b>&{{x}}</b>]"));
    }

    void vorlageFehler_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("meldung");
        const auto row = [](const char* name, const QByteArray& text, const char* meldung) {
            QTest::newRow(name) << text << QString(meldung);
        };
        row("Abschnitt offen", "<p>\n\n{{#zeilen}}\n{{Verst}}\n", "Zeile 3");
        row("Ende ohne Anfang", "<p>\n{{/zeilen}}", "Zeile 2");
        row("Platzhalter offen", "\n\n\n\n{{Titel", "Zeile 5");
        // Bounds that keep a template from taking the machine's memory.
        const QByteArray tief = QByteArray("{{#zeilen}}").repeated(33);
        row("zu tief", tief + QByteArray("{{/zeilen}}").repeated(33), "mehr als 32 Abschnitte");
        row("zu tief, andere Klammern", "{{=<% %>=}}" + QByteArray("<%#zeilen%>").repeated(40),
            "mehr als 32 Abschnitte");
        row("zu groß", QByteArray("<p>x</p>").repeated(200000), "größer als 1024 KB");
    }
    void vorlageFehler() {
        QFETCH(QByteArray, text);
        QFETCH(QString, meldung);
        const QString datei = gstReportDir + "RepTaZ.html";
        schreibe(datei, text);
        QVERIFY(DruckTabelle::Tag(gDb, Am(3, 18), &fehler));
        Bericht b;
        QVERIFY(!b.Erstellen(gDb, *FindeBericht("RepTaZ"), &fehler));
        QVERIFY2(fehler.contains(QFileInfo(datei).absoluteFilePath()) && fehler.contains(meldung),
                 qPrintable(fehler));
    }

    // A stopped PDF leaves the file of that name as it was, and nothing beside it.
    void pdfAbgebrochen() {
        const QString pdf = p->dir.filePath("bericht.pdf");
        schreibe(pdf, "alt");
        QVERIFY(DruckTabelle::Zeitraum(gDb, Am(3, 16), Am(3, 22), &fehler));
        Bericht b;
        QVERIFY(b.Erstellen(gDb, *FindeBericht("Repwo"), &fehler));
        QVERIFY(!b.SchreibePdf(pdf, &fehler, [](int seite, int) { return seite == 0; }));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("alt"));
        QCOMPARE(QDir(p->dir.path()).entryList({"bericht*"}), QStringList{"bericht.pdf"});
    }

    // Two processes print different days at once, each day list only with its own booking.
    void gleichzeitig() {
        p->buche(p->raum("Raum A", 0), Am(4, 7) + Uhr(9), Am(4, 7) + Uhr(10));
        p->buche(p->raum("Raum B", 0), Am(4, 8) + Uhr(9), Am(4, 8) + Uhr(10));
        QProcess a, b;
        a.start(QCoreApplication::applicationFilePath(), {"--drucke", p->dir.path(), "A"});
        b.start(QCoreApplication::applicationFilePath(), {"--drucke", p->dir.path(), "B"});
        for (QProcess* proc : {&a, &b}) {
            QVERIFY(proc->waitForFinished(300000));
            // The exit code counts the mixed reports.
            QCOMPARE(proc->exitStatus() == QProcess::NormalExit ? proc->exitCode() : -1, 0);
        }
    }

    // Overviews through the command line: each PDF holds its rows.
    void uebersicht_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<QString>("texte"); // separated by "|"
        const auto row = [](const char* name, const char* args, const char* texte) {
            QTest::newRow(name) << QString(args) << QString(texte);
        };
        row("Woche", "--bericht Repwo.rpt --datum 18.03.2026",
            "Belegungsübersicht|vom 16.03.2026 bis 22.03.2026|Mittwoch, 18.03.2026|"
            "Rat <b>&{{x}}</b>|17.03. 14:00 –|Seite 1 von 1");
        row("Monat", "--bericht Repmo --monat 3 --jahr 2026", "März 2026|Saal Nord|Raum 12|4711");
        row("Kosten", "--bericht repko --monat 3 --jahr 2026",
            "1.250,50|80,00|1.330,50|Gesamtsumme");
        row("Auslastung", "--bericht RepAusl --jahr 2026", "Raum 12|Saal Nord|Durchschnitt");
        row("Tag nach Raumarten", "--bericht RepTa --datum 18.03.2026",
            "Mittwoch, 18.03.2026|Büros|Säle|00:00 – 00:00|09:00 – 12:00");
    }
    void uebersicht() {
        QFETCH(QString, args);
        QFETCH(QString, texte);
        const QString pdf = p->dir.filePath("bericht.pdf");
        QCOMPARE(programm(args.split(' ') + QStringList{"--pdf", pdf}), 0);
        const QString text = pdfText(pdf);
        for (const QString& t : texte.split('|'))
            QVERIFY2(text.contains(t), qPrintable(t + " fehlt in:\n" + text));
        QCOMPARE(seiten(pdf), 1);
    }

    void kommandozeile_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("meldung");
        const auto row = [](const char* name, const char* args, int rc, const char* meldung) {
            QTest::newRow(name) << QString(args) << rc << QString(meldung);
        };
        row("Hilfe", "--help", 0, "--bericht NAME");
        row("unbekannt", "--gibts=1", 2, "Unbekannte Option „--gibts“");
        row("ohne Wert", "--bericht", 2, "fehlt der Wert NAME");
        row("Schalter mit Wert", "-l --nur-lesen=ja", 2, "nimmt keinen Wert");
        row("ohne Bericht", "--pdf x.pdf", 2, "nur zusammen mit --bericht");
        row("zwei Projekte", "zweites", 2, "Zu viele Argumente");
        row("Pfad", "--bericht RepTaZ --datum 18.03.2026 --pdf /nicht/da/x.pdf", 1,
            "kann nicht geschrieben werden");
        row("Name", "--bericht Repxy --pdf x.pdf", 2, "Unbekannter Bericht „Repxy“");
        row("Datum", "--bericht RepTaR --datum 32.13.2026 --pdf x.pdf", 2, "kein gültiges Datum");
    }
    void kommandozeile() {
        QFETCH(QString, args);
        QFETCH(QString, meldung);
        QTEST(programm(args.split(' ')), "rc");
        QVERIFY2(fehler.contains(meldung), qPrintable(fehler));
    }

    // The usage chart is drawn into the page: its bars show in their colour.
    void diagramm() {
        const QString pdf = p->dir.filePath("auslastung.pdf");
        QCOMPARE(programm({"--bericht", "RepAusl", "--monat", "3", "--jahr", "2026", "--pdf", pdf}),
                 0);
        QCOMPARE(QProcess::execute("pdftoppm",
                                   {"-r", "50", "-png", "-singlefile", pdf, p->dir.filePath("s")}),
                 0);
        const QImage seite(p->dir.filePath("s.png"));
        int balken = 0;
        for (int y = 0; y < seite.height(); ++y)
            for (int x = 0; x < seite.width(); ++x) {
                const QColor c = seite.pixelColor(x, y);
                balken +=
                    qAbs(c.red() - 0x2F) + qAbs(c.green() - 0x6D) + qAbs(c.blue() - 0xB5) < 20;
            }
        QVERIFY2(balken > 200, qPrintable(QString::number(balken)));
    }

    // The documents of one booking, one page each.
    void dokument_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("texte"); // separated by "|"
        const auto row = [](const char* name, const char* texte) {
            QTest::newRow(name) << QString(name) << QString(texte);
        };
        row("Repeb", "Bestelldaten|Whiteboard, Leinwand|Stuhlanordnung Theater (U)|"
                     "Beteiligtentische 6");
        row("Repra", "Muster GmbH|Am Markt 3|Saal Nord");
        row("Rephs", "Briefing|09:00 – 12:00");
        // "Briefing" as letters, not with the ligature "ﬁ" that a search would miss.
        row("Repum", "Umbauauftrag|18.03.2026 08:00 – 09:00|Briefing|Theater (U)|"
                     "Beteiligtentische 6");
        row("RepRechnung", "Rechnung Nr. 4711|1.250,50|1.330,50");
    }
    void dokument() {
        QFETCH(QString, name);
        QFETCH(QString, texte);
        DruckTabelle::BelegDruck d;
        d.beleg = p->lies(p->wert(QStringLiteral("SELECT Rec_ID FROM T_fm_belegung WHERE "
                                                 "lAuftrNr = 4711"))
                              .toInt());
        d.beleg.Aust = 1 + 64;
        d.beleg.Udt_von = d.beleg.Udt_bis = d.beleg.dt_von;
        d.beleg.Utm_von = Uhr(8);
        d.beleg.Utm_bis = Uhr(9);
        d.beleg.Verst = "Briefing";
        d.beleg.STSTUHLANORDNUNG = "U";
        d.beleg.IPTISCHE = 6;
        d.strasse = "Am Markt 3";
        // A write-protected project prints its documents as well.
        CloseSqliteConnection(gDb);
        QVERIFY(OpenSqliteConnection(p->path, gDb, true, &fehler));
        QCOMPARE(DruckTabelle::Beleg(gDb, d, &fehler), DruckTabelle::BelegErgebnis::Ok);
        Bericht b;
        QVERIFY2(b.Erstellen(gDb, *FindeBericht(name), &fehler), qPrintable(fehler));
        const QString pdf = p->dir.filePath(name + ".pdf");
        QVERIFY2(b.SchreibePdf(pdf, &fehler), qPrintable(fehler));
        const QString text = pdfText(pdf).simplified();
        for (const QString& t : texte.split('|'))
            QVERIFY2(text.contains(t), qPrintable(t + " fehlt in:\n" + text));
        QCOMPARE(seiten(pdf), 1);
    }
};

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--drucke") == 0)
        return DruckeTag(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    TestBerichte test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_berichte.moc"

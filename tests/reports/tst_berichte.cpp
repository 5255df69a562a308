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
    gstReportDir = projekt + QStringLiteral("/Report/");
    BerichtZeitraum z;
    z.von = Am(4, raum == QLatin1String("A") ? 7 : 8);
    const BerichtArt& art = *FindeBericht(QStringLiteral("RepTaZ"));
    const QString andere = raum == QLatin1String("A") ? QStringLiteral("B") : QStringLiteral("A");
    int falsch = 0;
    for (int i = 0; i < 200; ++i) {
        const QString con = UniqueConnectionName(QStringLiteral("kind"));
        Bericht b;
        const bool ok =
            OpenSqliteConnection(projekt + QLatin1Char('/') + kDbFileName, con, true, nullptr) &&
            BerichtVorbereiten(con, art, z, nullptr) && b.Erstellen(con, art, nullptr);
        CloseSqliteConnection(con);
        falsch += !ok || !b.Html().contains(QStringLiteral("Raum ") + raum) ||
                  b.Html().contains(QStringLiteral("Raum ") + andere);
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
        proc.start(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!proc.waitForFinished(30000))
            return QStringLiteral("pdftotext läuft nicht");
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
        proc.start(TovoBinDir() + QStringLiteral("/tovo-raumverw"),
                   QStringList{p->dir.path()} + args);
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
        gstReportDir = gstProjektDir + QStringLiteral("Report/");
        const int32_t saal =
            p->raum(QStringLiteral("Saal Nord"), p->raumart(QStringLiteral("Säle")));
        const int32_t raum =
            p->raum(QStringLiteral("Raum 12"), p->raumart(QStringLiteral("Büros")));
        CBelegungRec b = TestProjekt::satz(saal, Am(3, 18) + Uhr(9), Am(3, 18) + Uhr(12), 4711);
        b.Verst = QStringLiteral("Rat <b>&{{x}}</b>");
        b.Miete = Currency::fromDouble(1250.5);
        b.Technik = Currency::fromDouble(80);
        b.Inst = QStringLiteral("Muster GmbH");
        p->buche(b);
        p->buche(raum, Am(3, 17) + Uhr(14), Am(3, 19) + Uhr(10), 4712);
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void vorlage() {
        QVERIFY(DruckTabelle::Zeitraum(gDb, Am(3, 16), Am(3, 22), &fehler));
        // Without a template of its own the project gets the default, escaped.
        QVERIFY2(html(QStringLiteral("Repwo")).contains(QStringLiteral("Rat <b>&{{x}}</b>")),
                 qPrintable(fehler));
        schreibe(gstReportDir + QStringLiteral("Repwo.html"),
                 "<p>Eigene Liste {{Zeitraum}}: {{#zeilen}}[{{Verst}}]{{/zeilen}}</p>");
        QCOMPARE(html(QStringLiteral("Repwo")),
                 QStringLiteral("Eigene Liste vom 16.03.2026 bis 22.03.2026: "
                                "[Sitzung][Rat <b>&{{x}}</b>]"));
    }

    void vorlageFehler_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("Abschnitt offen")
            << QByteArray("<p>\n\n{{#zeilen}}\n{{Verst}}\n") << QStringLiteral("Zeile 3");
        QTest::newRow("Ende ohne Anfang")
            << QByteArray("<p>\n{{/zeilen}}") << QStringLiteral("Zeile 2");
        QTest::newRow("Platzhalter offen")
            << QByteArray("\n\n\n\n{{Titel") << QStringLiteral("Zeile 5");
        // Bounds that keep a template from taking the machine's memory.
        QTest::newRow("zu tief") << QByteArray("{{#zeilen}}").repeated(33) +
                                        QByteArray("{{/zeilen}}").repeated(33)
                                 << QStringLiteral("mehr als 32 Abschnitte");
        QTest::newRow("zu tief, andere Klammern")
            << QByteArray("{{=<% %>=}}") + QByteArray("<%#zeilen%>").repeated(40)
            << QStringLiteral("mehr als 32 Abschnitte");
        QTest::newRow("zu groß") << QByteArray("<p>x</p>").repeated(200000)
                                 << QStringLiteral("größer als 1024 KB");
    }
    void vorlageFehler() {
        QFETCH(QByteArray, text);
        QFETCH(QString, meldung);
        const QString datei = gstReportDir + QStringLiteral("RepTaZ.html");
        schreibe(datei, text);
        QVERIFY(DruckTabelle::Tag(gDb, Am(3, 18), &fehler));
        Bericht b;
        QVERIFY(!b.Erstellen(gDb, *FindeBericht(QStringLiteral("RepTaZ")), &fehler));
        QVERIFY2(fehler.contains(QFileInfo(datei).absoluteFilePath()) && fehler.contains(meldung),
                 qPrintable(fehler));
    }

    // A stopped PDF leaves the file of that name as it was, and nothing beside it.
    void pdfAbgebrochen() {
        const QString pdf = p->dir.filePath(QStringLiteral("bericht.pdf"));
        schreibe(pdf, "alt");
        QVERIFY(DruckTabelle::Zeitraum(gDb, Am(3, 16), Am(3, 22), &fehler));
        Bericht b;
        QVERIFY(b.Erstellen(gDb, *FindeBericht(QStringLiteral("Repwo")), &fehler));
        QVERIFY(!b.SchreibePdf(pdf, &fehler, [](int seite, int) { return seite == 0; }));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("alt"));
        QCOMPARE(QDir(p->dir.path()).entryList({QStringLiteral("bericht*")}),
                 QStringList{QStringLiteral("bericht.pdf")});
    }

    // Two processes print different days at once, each day list only with its own booking.
    void gleichzeitig() {
        p->buche(p->raum(QStringLiteral("Raum A"), 0), Am(4, 7) + Uhr(9), Am(4, 7) + Uhr(10));
        p->buche(p->raum(QStringLiteral("Raum B"), 0), Am(4, 8) + Uhr(9), Am(4, 8) + Uhr(10));
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
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("texte");
        QTest::addColumn<int>("seiten");
        const auto a = [](const char* name, std::initializer_list<const char*> rest) {
            QStringList l{QStringLiteral("--bericht"), QLatin1String(name)};
            for (const char* r : rest)
                l << QString::fromUtf8(r);
            return l;
        };
        QTest::newRow("Woche") << a("Repwo.rpt", {"--datum", "18.03.2026"})
                               << QStringList{"Belegungsübersicht",
                                              "vom 16.03.2026 bis 22.03.2026",
                                              "Mittwoch, 18.03.2026",
                                              "Rat <b>&{{x}}</b>",
                                              "17.03. 14:00 –",
                                              "Seite 1 von 1"}
                               << 1;
        QTest::newRow("Monat") << a("Repmo", {"--monat", "3", "--jahr", "2026"})
                               << QStringList{"März 2026", "Saal Nord", "Raum 12", "4711"} << 1;
        QTest::newRow("Kosten") << a("repko", {"--monat", "3", "--jahr", "2026"})
                                << QStringList{"1.250,50", "80,00", "1.330,50", "Gesamtsumme"} << 1;
        QTest::newRow("Auslastung") << a("RepAusl", {"--jahr", "2026"})
                                    << QStringList{"Raum 12", "Saal Nord", "Durchschnitt"} << 1;
        QTest::newRow("Tag nach Raumarten") << a("RepTa", {"--datum", "18.03.2026"})
                                            << QStringList{"Mittwoch, 18.03.2026", "Büros", "Säle",
                                                           "00:00 – 00:00", "09:00 – 12:00"}
                                            << 1;
    }
    void uebersicht() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, texte);
        QFETCH(int, seiten);
        const QString pdf = p->dir.filePath(QStringLiteral("bericht.pdf"));
        QCOMPARE(programm(args + QStringList{QStringLiteral("--pdf"), pdf}), 0);
        const QString text = pdfText(pdf);
        for (const QString& t : texte)
            QVERIFY2(text.contains(t), qPrintable(t + QStringLiteral(" fehlt in:\n") + text));
        QCOMPARE(this->seiten(pdf), seiten);
    }

    void kommandozeile_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("Hilfe") << QStringList{"--help"} << 0 << "--bericht NAME";
        QTest::newRow("Version") << QStringList{"-v"} << 0 << "tovo-raumverw 1.";
        QTest::newRow("unbekannt")
            << QStringList{"--gibts=1"} << 2 << "Unbekannte Option „--gibts“";
        QTest::newRow("ohne Wert") << QStringList{"--bericht"} << 2 << "fehlt der Wert NAME";
        QTest::newRow("Schalter mit Wert")
            << QStringList{"-l", "--nur-lesen=ja"} << 2 << "nimmt keinen Wert";
        QTest::newRow("ohne Bericht")
            << QStringList{"--pdf", "x.pdf"} << 2 << "nur zusammen mit --bericht";
        QTest::newRow("zwei Projekte") << QStringList{"zweites"} << 2 << "Zu viele Argumente";
        QTest::newRow("Pfad") << QStringList{"--bericht",  "RepTaZ", "--datum",
                                             "18.03.2026", "--pdf",  "/nicht/da/x.pdf"}
                              << 1 << QStringLiteral("kann nicht geschrieben werden");
        QTest::newRow("Name") << QStringList{"--bericht", "Repxy", "--pdf", "x.pdf"} << 2
                              << QStringLiteral("Unbekannter Bericht „Repxy“");
        QTest::newRow("Datum") << QStringList{"--bericht",  "RepTaR", "--datum",
                                              "32.13.2026", "--pdf",  "x.pdf"}
                               << 2 << QStringLiteral("kein gültiges Datum");
    }
    void kommandozeile() {
        QFETCH(QStringList, args);
        QFETCH(QString, meldung);
        QTEST(programm(args), "rc");
        QVERIFY2(fehler.contains(meldung), qPrintable(fehler));
    }

    // The usage chart is drawn into the page: its bars show in their colour.
    void diagramm() {
        const QString pdf = p->dir.filePath(QStringLiteral("auslastung.pdf"));
        QCOMPARE(programm({"--bericht", "RepAusl", "--monat", "3", "--jahr", "2026", "--pdf", pdf}),
                 0);
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {"-r", "50", "-png", "-singlefile", pdf, p->dir.filePath("s")}),
                 0);
        const QImage seite(p->dir.filePath(QStringLiteral("s.png")));
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
        QTest::addColumn<QStringList>("texte");
        QTest::newRow("Bestelldaten")
            << QStringLiteral("Repeb")
            << QStringList{"Bestelldaten", "Whiteboard, Leinwand", "Stuhlanordnung Theater (U)",
                           "Beteiligtentische 6"};
        QTest::newRow("Rückantwort")
            << QStringLiteral("Repra") << QStringList{"Muster GmbH", "Am Markt 3", "Saal Nord"};
        QTest::newRow("Hinweisschild")
            << QStringLiteral("Rephs") << QStringList{"Briefing", "09:00 – 12:00"};
        // "Briefing" as letters, not with the ligature "ﬁ" that a search would miss.
        QTest::newRow("Umbau") << QStringLiteral("Repum")
                               << QStringList{"Umbauauftrag", "18.03.2026 08:00 – 09:00",
                                              "Briefing", "Theater (U)", "Beteiligtentische 6"};
        QTest::newRow("Rechnung") << QStringLiteral("RepRechnung")
                                  << QStringList{"Rechnung Nr. 4711", "1.250,50", "1.330,50"};
    }
    void dokument() {
        QFETCH(QString, name);
        QFETCH(QStringList, texte);
        DruckTabelle::BelegDruck d;
        d.beleg = p->lies(p->wert(QStringLiteral("SELECT Rec_ID FROM T_fm_belegung WHERE "
                                                 "lAuftrNr = 4711"))
                              .toInt());
        d.beleg.Aust = 1 + 64;
        d.beleg.Udt_von = d.beleg.Udt_bis = d.beleg.dt_von;
        d.beleg.Utm_von = Uhr(8);
        d.beleg.Utm_bis = Uhr(9);
        d.beleg.Verst = QStringLiteral("Briefing");
        d.beleg.STSTUHLANORDNUNG = QStringLiteral("U");
        d.beleg.IPTISCHE = 6;
        d.strasse = QStringLiteral("Am Markt 3");
        // A write-protected project prints its documents as well.
        CloseSqliteConnection(gDb);
        QVERIFY(OpenSqliteConnection(p->path, gDb, true, &fehler));
        QCOMPARE(DruckTabelle::Beleg(gDb, d, &fehler), DruckTabelle::BelegErgebnis::Ok);
        Bericht b;
        QVERIFY2(b.Erstellen(gDb, *FindeBericht(name), &fehler), qPrintable(fehler));
        const QString pdf = p->dir.filePath(name + QStringLiteral(".pdf"));
        QVERIFY2(b.SchreibePdf(pdf, &fehler), qPrintable(fehler));
        const QString text = pdfText(pdf).simplified();
        for (const QString& t : texte)
            QVERIFY2(text.contains(t), qPrintable(t + QStringLiteral(" fehlt in:\n") + text));
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

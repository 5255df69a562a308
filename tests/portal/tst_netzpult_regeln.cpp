// Portal rules that need no server: settings, connection text, published texts, request times,
// a request onto a booking.
#include "NetzpultAntrag.h"
#include "NetzpultTexte.h"
#include "OdbcConnText.h"
#include "Records.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "ToolsNetzpult.h"
#include "TovoDate.h"
#include "TovoTools.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace NetzpultTexte;

class TstNetzpultRegeln : public QObject {
    Q_OBJECT
private slots:
    void webMdb() {
        QTemporaryDir dir;
        gstProjektDir = dir.path() + QLatin1Char('/');
        const QString ini = gstProjektDir + kIniFileName;
        ScriptedPrompt prompt;
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("[RAUMVERWALTUNG]\r\nToleranz=15\r\n") > 0);
        f.close();
        // A file without the section gains "DBPATH=" and the portal is off, kind 0 refusing.
        QCOMPARE(ToolsNetzpult::GetWebMDB(), QString());
        QCOMPARE(CTovoTools::Instance().ReadIniSection(ini, QStringLiteral("WebMDB")),
                 QStringList{QStringLiteral("DBPATH=")});
        QVERIFY(!ToolsNetzpult::PruefeNetzpultType());
        QCOMPARE(prompt.texte(), QStringList{ToolsNetzpult::kNurMySql});

        // A section holding only the kind is not touched; kind 1 passes silently.
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("NetzpultType"), QStringLiteral("1"));
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("DBPATH"), QStringLiteral("Server=x;"));
        QCOMPARE(ToolsNetzpult::GetWebMDB(), QStringLiteral("Server=x;"));
        QVERIFY(ToolsNetzpult::PruefeNetzpultType());
        QCOMPARE(prompt.shown.size(), 1);
        gstProjektDir.clear();
    }

    void connText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("teile"); // server|port|database|user|password
        QTest::newRow("odbc") << "Driver={MySQL ODBC 8.0 Unicode Driver};Server=db;Port=3307;"
                                 "Database=netzpult;Uid=raum;Pwd=geheim;"
                              << true << "db|3307|netzpult|raum|geheim";
        QTest::newRow("case and synonyms")
            << "SERVER = host1 ; user=u; PASSWORD=p; database=d; option=3" << true
            << "host1|3306|d|u|p";
        QTest::newRow("braces") << "Server=h;Pwd={a;b=c}}d};Uid={x y}" << true
                                << "h|3306||x y|a;b=c}d";
        QTest::newRow("defaults") << "" << true << "localhost|3306|||";
        // Failures never quote a value: "heim" stands for a password.
        QTest::newRow("bad port") << "Server=h;Port=heim" << false << "";
        QTest::newRow("open brace") << "Server=h;Pwd={geheim" << false << "";
        QTest::newRow("semicolon without braces") << "Server=h;Pwd=ge;heim;" << false << "";
        QTest::newRow("text after braces") << "Pwd={ge}heim;Uid=u" << false << "";
    }
    void connText() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(QString, teile);
        OdbcConnText c;
        QString error;
        QCOMPARE(ParseOdbcConnText(text, c, &error), ok);
        if (!ok) {
            QVERIFY(!error.isEmpty());
            QVERIFY2(!error.contains(QLatin1String("heim")), qPrintable(error));
            return;
        }
        QCOMPARE(QStringList({c.server, QString::number(c.port), c.database, c.user, c.password})
                     .join(QLatin1Char('|')),
                 teile);
    }

    void pTische_data() {
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("fest");
        QTest::addColumn<QString>("liste");
        QTest::newRow("10/2") << 10 << 2 << "2|4|6|8|10";
        QTest::newRow("16/0") << 16 << 0 << "0|2|4|6|8|10|12|14|16";
        QTest::newRow("4/4") << 4 << 4 << "4";
        QTest::newRow("0/0") << 0 << 0 << "";
        QTest::newRow("8/8 fixed above 6") << 8 << 8 << "0";
        QTest::newRow("odd maximum") << 9 << 2 << "0";
        QTest::newRow("odd fixed") << 10 << 3 << "0";
        QTest::newRow("above 16") << 18 << 2 << "0";
        QTest::newRow("fixed above maximum") << 4 << 6 << "0";
    }
    void pTische() {
        QFETCH(int, maximum);
        QFETCH(int, fest);
        QTEST(PTischeListe(maximum, fest), "liste");
    }

    void equipment() {
        QCOMPARE(AusstattungBuchstaben(2049), QStringLiteral("BW"));
        QCOMPARE(AusstattungBuchstaben(4095), QStringLiteral("BGSANLFRMCPW"));
        QCOMPARE(AusstattungBits(QStringLiteral("xW P-B")), 1 + 2 + 2048);
        QCOMPARE(AusstattungBits(AusstattungBuchstaben(1234)), 1234);
        QCOMPARE(AusstattungNamen(1 + 16 + 1024 + 2048, false),
                 QStringLiteral("Whiteboard, Rednerpult, Smartboard"));
        QCOMPARE(AusstattungNamen(16, true), QStringLiteral("Renderpult"));
        QCOMPARE(PersonenZahl(QStringLiteral(" 20 ")), 20);
        QCOMPARE(PersonenZahl(QStringLiteral("ca. 20")), 0);
    }

    void timeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<bool>("naechsterTag");
        QTest::addColumn<int>("status");
        const int ok = int(ZeitStatus::Ok);
        auto row = [](const char* name, const char* text, const char* zeit, bool tag, int status) {
            QTest::newRow(name) << QString(text) << QString(zeit) << tag << status;
        };
        row("9", "9", "09:00", false, ok);
        row("14.30", "14.30", "14:30", false, ok);
        row("8:15", "8:15", "8:15", false, ok);
        row("24:00", "24:00", "00:00", true, ok);
        row("24", "24", "00:00", true, ok);
        row("empty", " ", "8:00", false, int(ZeitStatus::Leer));
        row("text", "mittags", "8:00", false, int(ZeitStatus::Ungueltig));
        row("25:00", "25:00", "8:00", false, int(ZeitStatus::Ungueltig));
        row("12:75", "12.75", "8:00", false, int(ZeitStatus::Ungueltig));
    }
    void timeText() {
        QFETCH(QString, text);
        const AntragsZeit z = NormalisiereZeit(text);
        QTEST(z.zeit, "zeit");
        QTEST(z.naechsterTag, "naechsterTag");
        QTEST(int(z.status), "status");
    }

    // A request onto a booking of 10.03.2026 10:00 to 11:00 for 5 persons, first ordered on
    // 02.03.2026; a new request brings its times "9" and "24:00".
    void requestToBooking_data() {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QStringList>("antrag"); // from, to, persons, tables, equipment, ordered
        QTest::addColumn<QString>("belegung");   // from, to, persons, tables, equipment, ordered
        QTest::addColumn<QStringList>("hinweise");
        QTest::newRow("new, to 24:00")
            << true << QStringList{"17.03.2026", "17.03.2026", "20", "6", "BWx", "01.03.2026"}
            << "17.03. 09:00|18.03. 00:00|20|6|2049|01.03." << QStringList{};
        QTest::newRow("new, invalid end date and persons")
            << true << QStringList{"17.03.2026", "", "ca. 20", "0", "", ""}
            << "17.03. 09:00|31.12. 00:00|5|0|0|02.03."
            << QStringList{"Das Enddatum des Antrags ist kein gültiges Datum und wurde nicht "
                           "übernommen.",
                           "Die Personenzahl 'ca. 20' des Antrags ist keine Zahl und wurde nicht "
                           "übernommen."};
        QTest::newRow("change keeps dates and times")
            << false << QStringList{"17.03.2026", "17.03.2026", "", "x", "WP", "05.03.2026"}
            << "10.03. 10:00|10.03. 11:00||0|3|05.03." << QStringList{};
    }
    void requestToBooking() {
        QFETCH(bool, neu);
        QFETCH(QStringList, antrag);
        NetzpultAntrag a;
        a.von = QDate::fromString(antrag[0], QStringLiteral("dd.MM.yyyy"));
        a.bis = QDate::fromString(antrag[1], QStringLiteral("dd.MM.yyyy"));
        a.anzPers = antrag[2];
        a.ptische = antrag[3];
        a.ausstattung = antrag[4];
        a.datumErst = antrag[5];
        CBelegungRec b;
        b.dt_von = b.dt_bis = TovoDate::fromParts(2026, 3, 10).value();
        b.tm_von = 10 / 24.0;
        b.tm_bis = 11 / 24.0;
        b.Pers = QStringLiteral("5");
        b.datErstBestellung = TovoDate::fromParts(2026, 3, 2).value();
        const AntragsTermin termin{NormalisiereZeit(QStringLiteral("9")),
                                   NormalisiereZeit(QStringLiteral("24:00"))};
        QStringList hinweise;
        AntragInBelegung(a, b, hinweise, neu ? &termin : nullptr);
        auto zeitpunkt = [](double tag, double zeit) -> QString {
            return TovoDate(tag).format(QStringLiteral("dd.MM. ")) + ZeitText(zeit);
        };
        QTEST(QStringList({zeitpunkt(b.dt_von, b.tm_von), zeitpunkt(b.dt_bis, b.tm_bis), b.Pers,
                           QString::number(b.IPTISCHE), QString::number(b.Aust),
                           TovoDate(b.datErstBestellung).format(QStringLiteral("dd.MM."))})
                  .join(QLatin1Char('|')),
              "belegung");
        QTEST(hinweise, "hinweise");
    }

    void changeReport() {
        CBelegungRec alt;
        alt.dt_von = TovoDate::fromParts(2024, 6, 7).value();
        alt.tm_von = (8 * 60 + 30) / 1440.0;
        alt.dt_bis = alt.dt_von;
        alt.tm_bis = 10 / 24.0;
        alt.Aust = 1 + 16;
        alt.STSTUHLANORDNUNG = QStringLiteral("K");
        NetzpultAntrag neu;
        neu.name = QStringLiteral("Berg");
        neu.firma = QStringLiteral("Bauamt");
        neu.nutzung = QStringLiteral("Klausur");
        neu.anzPers = QStringLiteral("20");
        neu.ptische = QStringLiteral("6");
        neu.ausstattung = QStringLiteral("RP");

        const QStringList z = AenderungsBericht(alt, QStringLiteral("Saal 1"), neu);
        QCOMPARE(z.mid(0, 7), QStringList({"Beantragte Änderung einer Reservierung", "Raum: Saal 1",
                                           "Beginn: 07.06.2024 08:30", "Ende: 07.06.2024 10:00",
                                           "-----------------------------------",
                                           "Alt:", "Ausstattung: Whiteboard, Rednerpult"}));
        QVERIFY(z.contains(QStringLiteral("Stuhlanordnung: Kino")));
        QCOMPARE(z.indexOf(QStringLiteral("Neu:")), qsizetype(19));
        QCOMPARE(z.mid(20),
                 QStringList({"Ausstattung: Projektor, Renderpult", "Ansprechpartner: Berg",
                              "Telefon: ", "Besteller: Bauamt", "Personen: 20",
                              "Veranstaltung : Klausur", "KST: ", "Bemerkung: ", "Sonstiges: ",
                              "Email: ", "Stuhlanordnung: belassen", "Beteiligtentische: 6"}));
    }
};

QTEST_GUILESS_MAIN(TstNetzpultRegeln)
#include "tst_netzpult_regeln.moc"

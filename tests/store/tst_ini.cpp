// INI files read and written, and the helper functions around them.
#include "Allg_Hilfsfkt.h"
#include "ProgrammOrt.h"
#include "RvGlobals.h"
#include "TovoTools.h"

#include "ScriptedPrompt.h"
#include <QTemporaryDir>
#include <QtTest>

using namespace Allg_Hilfsfkt;

namespace {
// A null content means: no file.
QString makeFile(const QTemporaryDir& dir, const QByteArray& content,
                 const QString& name = QStringLiteral("test.ini")) {
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
} // namespace

class TstIni : public QObject {
    Q_OBJECT

private slots:
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
        row("names ignore case", "[Raumverwaltung]\nToleranz=15\n", "RAUMVERWALTUNG", "toleranz",
            "15");
        row("blanks around", "[ A ]\n  k\t=  v w \t\n", "a", "K", "v w");
        row("double quotes", "[A]\nk=\" x \"\n", "A", "k", " x ");
        row("one quote", "[A]\nk=\"x\n", "A", "k", "\"x");
        row("empty value", "[A]\nk=\n", "A", "k", "");
        row("first of two", "[A]\nk=1\nk=2\n", "A", "k", "1");
        row("value with =", "[A]\nk=a=b\n", "A", "k", "a=b");
        row("CRLF", "[A]\r\nk=v\r\n", "A", "k", "v");
        row("no file", QByteArray(), "A", "k", "<def>");
        row("no section", "[B]\nk=v\n", "A", "k", "<def>");
        row("other section", "[A]\n[B]\nk=v\n", "A", "k", "<def>");
        row("before sections", "k=v\n[A]\n", "A", "k", "<def>");
        row("comment", "[A]\n;k=v\n", "A", "k", "<def>");
        row("line without =", "[A]\nk\n", "A", "k", "<def>");
        row("Windows-1252", "[A]\nk=M\xfcller \x80 \x84\n", "A", "k", QStringLiteral("Müller € „"));
        row("1252 section name", "[R\xe4ume]\nk=v\n", "RÄUME", "k", "v");
        row("UTF-8", "[A]\nk=M\xc3\xbcller\n", "A", "k", QStringLiteral("Müller"));
        row("UTF-8 with BOM", "\xEF\xBB\xBF[A]\nk=\xc3\xa4\n", "A", "k", QStringLiteral("ä"));
        row("mixed lines", "[A]\nx=\xc3\xa4\nk=\xe4\n", "A", "k", QStringLiteral("ä"));
        row("CR only", "[A]\rx=1\rk=v\r[B]\rk=w\r", "A", "k", "v");
        row("UTF-16LE", QByteArray("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xe4\0\r\0\n\0", 22), "A", "k",
            QStringLiteral("ä"));
    }
    void read() {
        QFETCH(QByteArray, content);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = makeFile(dir, content);
        QCOMPARE(CTovoTools::Instance().ReadIniValue(path, section, key, QStringLiteral("<def>")),
                 expected);
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
        row("new file", QByteArray(), "Archiv", "Datum", "31.12.2025",
            "[Archiv]\r\nDatum=31.12.2025\r\n");
        row("new file, umlaut", QByteArray(), "A", "k", QStringLiteral("Bär"),
            "[A]\r\nk=B\xe4r\r\n");
        row("new file, beyond 1252", QByteArray(), "A", "k", QStringLiteral("Łódź"),
            "[A]\r\nk=\xc5\x81\xc3\xb3\x64\xc5\xba\r\n");
        row("1252 stays 1252", "[A]\nk=M\xfcller\n", "A", "n", QStringLiteral("Bär €"),
            "[A]\nk=M\xfcller\nn=B\xe4r \x80\n");
        row("UTF-8 stays UTF-8", "[A]\nk=M\xc3\xbcller\n", "A", "n", QStringLiteral("Bär"),
            "[A]\nk=M\xc3\xbcller\nn=B\xc3\xa4r\n");
        row("BOM kept", "\xEF\xBB\xBF[A]\nk=1\n", "a", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n");
        row("line break in value", "[A]\n", "A", "k", "1\n[B]", "[A]\nk=1 [B]\n");
        row("CR only stays", "[A]\rk=1\r", "A", "n", "2", "[A]\rk=1\rn=2\r");
        row("1252 that would read as UTF-8", "[A]\nk=\xfc\n", "A", "n",
            QStringLiteral("\u00c3\u00bc"), "[A]\nk=\xfc\nn=\xc3\x83\xc2\xbc\n");
        row("UTF-16LE stays", QByteArray("\xFF\xFE[\0A\0]\0\n\0", 10), "A", "k",
            QStringLiteral("ä"), QByteArray("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xe4\0\n\0", 18));
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
        QTest::newRow("CR only") << QByteArray("[A]\ru=1\rw=\xe4\r");
        QTest::newRow("mixed line ends") << QByteArray("[A]\r\nu=1\rw=2\n");
        QTest::newRow("UTF-16LE") << QByteArray("\xFF\xFE[\0A\0]\0\n\0u\0=\0\x41\x01\n\0", 18);
    }
    void writeKeepsOtherKeys() {
        QFETCH(QByteArray, before);
        QTemporaryDir dir;
        const QString path = makeFile(dir, before);
        CTovoTools& tools = CTovoTools::Instance();
        const QStringList vorher = tools.ReadIniSection(path, QStringLiteral("A"));
        QVERIFY(!vorher.isEmpty());
        for (const QString& value : {QStringLiteral("Bär"), QStringLiteral("Łódź")}) {
            QVERIFY(tools.WriteIniValue(path, QStringLiteral("A"), QStringLiteral("neu"), value));
            QCOMPARE(tools.ReadIniSection(path, QStringLiteral("A")),
                     vorher + QStringList{QStringLiteral("neu=") + value});
            QVERIFY(
                tools.WriteIniValue(path, QStringLiteral("A"), QStringLiteral("neu"), QString()));
            QVERIFY(tools.WriteIniValue(path, QStringLiteral("A"), QStringLiteral("neu"), value));
        }
    }

    // Windows does not tell "TovoRaumverw.ini" from "TovoRaumVerw.ini".
    void fileNameIgnoresCase() {
        QTemporaryDir dir;
        makeFile(dir, "[A]\nk=1\n", QStringLiteral("TovoRaumverw.ini"));
        const QString other = dir.filePath(QStringLiteral("TovoRaumVerw.ini"));
        CTovoTools& tools = CTovoTools::Instance();
        QCOMPARE(tools.ReadIniValue(other, QStringLiteral("A"), QStringLiteral("k"), QString()),
                 QStringLiteral("1"));
        QVERIFY(tools.WriteIniValue(other, QStringLiteral("A"), QStringLiteral("k"),
                                    QStringLiteral("2")));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"TovoRaumverw.ini"});
        QCOMPARE(contents(dir.filePath(QStringLiteral("TovoRaumverw.ini"))),
                 QByteArray("[A]\nk=2\n"));
    }

    void readIniValue_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("value") << "Cc" << QString("a@b.de");
        QTest::newRow("empty value") << "Leer" << QString("<def>");
        QTest::newRow("missing key") << "Fehlt" << QString("<def>");
    }
    void readIniValue() {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        makeFile(dir, "[Mailadressen]\nCc=a@b.de\nLeer=\n", kIniFileName);
        gstProjektDir = dir.path(); // without the trailing separator
        QCOMPARE(ReadIniValue(QStringLiteral("MAILADRESSEN"), key, QStringLiteral("<def>")),
                 expected);
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
        row("a", ",", 1, 1, "a");
        row("a,,b", ",", 3, 2, ""); // empty middle
        row("a,", ",", 2, 2, "");   // trailing separator
        row("S.G.BE.R", ".", 4, 3, "BE");
        row("S.G.BE.R", ".", 4, -1, "R"); // from the end
        row("S.G.BE.R", ".", 4, -4, "S");
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
        QTest::newRow("ü") << QStringLiteral("MÃ¼ller") << true << QStringLiteral("Müller");
        QTest::newRow("flag off") << QStringLiteral("MÃ¼ller") << false
                                  << QStringLiteral("MÃ¼ller");
        // The second characters of Ä Ö Ü ß are „ – œ Ÿ, whose 1252 codes are 132 150 156 159.
        QTest::newRow("all seven")
            << QStringLiteral("Ã„Ã–ÃœÃŸÃ¤Ã¶Ã¼") << true << QStringLiteral("ÄÖÜßäöü");
        QTest::newRow("Latin-1 controls")
            << QStringLiteral("Ã\u0084Ã\u009f") << true << QStringLiteral("Äß");
        QTest::newRow("other pair dropped")
            << QStringLiteral("CafÃ©!") << true << QStringLiteral("Caf!");
        QTest::newRow("lead pairs with lead")
            << QStringLiteral("xÃÃ¼") << true << QStringLiteral("x¼");
        QTest::newRow("lead at end dropped") << QStringLiteral("abcÃ") << true << "abc";
        QTest::newRow("plain umlaut kept")
            << QStringLiteral("Bär") << true << QStringLiteral("Bär");
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
        QTest::newRow("no file") << QByteArray() << 0.0 << 0.0 << QString();
        QTest::newRow("15 minutes")
            << QByteArray("[RAUMVERWALTUNG]\nToleranz=15\nMailname=Empfang\n") << 0.0 << 15.0 / 1440
            << "Empfang";
        QTest::newRow("decimal comma")
            << QByteArray("[raumverwaltung]\ntoleranz=7,5\n") << 0.0 << 7.5 / 1440 << QString();
        QTest::newRow("empty mail name")
            << QByteArray("[Raumverwaltung]\nMailname=\n") << 0.0 << 0.0 << QString();
        // Anything but 0 to 1440 minutes counts as 0, with a warning naming file and key.
        for (const char* wert : {"abc", "-60", "1e20", "1441", "nan"})
            QTest::newRow(wert) << QByteArray("[Raumverwaltung]\nToleranz=") + wert + '\n'
                                << 2880.0 << 0.0 << QString();
        QTest::newRow("a whole day")
            << QByteArray("[Raumverwaltung]\nToleranz=1440\n") << 0.0 << 1.0 << QString();
    }
    void globalSettings() {
        QFETCH(QByteArray, ini);
        QFETCH(double, previous);
        QFETCH(QString, mailname);
        QTemporaryDir dir;
        makeFile(dir, ini, kIniFileName);
        gstProjektDir = dir.path();
        gdToleranz = previous;
        gstMailname = QStringLiteral("alt");
        ScriptedPrompt prompt;
        ReadGlobalSettings();
        QCOMPARE(gstProjektDir, dir.path() + QLatin1Char('/'));
        QTEST(gdToleranz, "tolerance");
        // A bad value is reported once, naming the file and the key.
        const bool falsch =
            gdToleranz == 0 && ini.contains("Toleranz=") && !ini.contains("Toleranz=0");
        QCOMPARE(prompt.shown.size(), falsch ? 1 : 0);
        if (falsch) {
            QVERIFY(prompt.last().text.contains(QStringLiteral("\"Toleranz\"")));
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
        QDir(root.path()).mkpath(QStringLiteral("bin"));
        for (const QString& ordner : vorlagen) {
            QDir(root.path()).mkpath(ordner + QStringLiteral("/Leeres Projekt"));
            makeFile(root, "", ordner + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb"));
        }
        QCOMPARE(ProgrammOrt::DatenVerzeichnis(root.filePath(QStringLiteral("bin/"))),
                 root.filePath(erwartet) + QLatin1Char('/'));
    }
};

QTEST_GUILESS_MAIN(TstIni)
#include "tst_ini.moc"

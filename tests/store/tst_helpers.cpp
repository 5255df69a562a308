#include "Allg_Hilfsfkt.h"
#include "RvGlobals.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Allg_Hilfsfkt;

namespace {
void writeIni(const QTemporaryDir& dir, const QByteArray& content) {
    QFile f(dir.filePath(kIniFileName));
    f.open(QIODevice::WriteOnly);
    f.write(content);
}
} // namespace

class TstHelpers : public QObject {
    Q_OBJECT

private slots:
    void readIniValue_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("value") << "Cc"
                               << "a@b.de";
        QTest::newRow("empty value") << "Leer"
                                     << "<def>";
        QTest::newRow("missing key") << "Fehlt"
                                     << "<def>";
    }
    void readIniValue() {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        writeIni(dir, "[Mailadressen]\nCc=a@b.de\nLeer=\n");
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
        QTest::newRow("empty") << ""
                               << "," << 0 << 1 << "";
        QTest::newRow("one field") << "a"
                                   << "," << 1 << 1 << "a";
        QTest::newRow("empty middle") << "a,,b"
                                      << "," << 3 << 2 << "";
        QTest::newRow("trailing separator") << "a,"
                                            << "," << 2 << 2 << "";
        QTest::newRow("third") << "S.G.BE.R"
                               << "." << 4 << 3 << "BE";
        QTest::newRow("last") << "S.G.BE.R"
                              << "." << 4 << -1 << "R";
        QTest::newRow("first from end") << "S.G.BE.R"
                                        << "." << 4 << -4 << "S";
        QTest::newRow("before first") << "S.G.BE.R"
                                      << "." << 4 << -5 << "";
        QTest::newRow("beyond last") << "S.G.BE.R"
                                     << "." << 4 << 5 << "";
        QTest::newRow("longer separator") << "1, 2, 3"
                                          << ", " << 3 << 2 << "2";
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
        // No number: the previous value is kept and divided once more.
        QTest::newRow("no number")
            << QByteArray("[Raumverwaltung]\nToleranz=abc\n") << 2880.0 << 2.0 << QString();
    }
    void globalSettings() {
        QFETCH(QByteArray, ini);
        QFETCH(double, previous);
        QFETCH(QString, mailname);
        QTemporaryDir dir;
        if (!ini.isNull())
            writeIni(dir, ini);
        gstProjektDir = dir.path();
        gdToleranz = previous;
        gstMailname = QStringLiteral("alt");
        ReadGlobalSettings();
        QCOMPARE(gstProjektDir, dir.path() + QLatin1Char('/'));
        QTEST(gdToleranz, "tolerance");
        QVERIFY(!GetWinUserName().isEmpty());
        QCOMPARE(gstMailname, mailname.isNull() ? GetWinUserName() : mailname);
    }
};

QTEST_GUILESS_MAIN(TstHelpers)
#include "tst_helpers.moc"

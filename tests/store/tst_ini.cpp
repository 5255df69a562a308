#include "ErrorGuard.h"
#include "TovoDate.h"
#include "TovoTools.h"

#include <QTemporaryDir>
#include <QtTest>

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
        QTest::newRow("plain") << QByteArray("[A]\nk=v\n") << "A"
                               << "k"
                               << "v";
        QTest::newRow("names ignore case")
            << QByteArray("[Raumverwaltung]\nToleranz=15\n") << "RAUMVERWALTUNG"
            << "toleranz"
            << "15";
        QTest::newRow("blanks around") << QByteArray("[ A ]\n  k\t=  v w \t\n") << "a"
                                       << "K"
                                       << "v w";
        QTest::newRow("double quotes") << QByteArray("[A]\nk=\" x \"\n") << "A"
                                       << "k"
                                       << " x ";
        QTest::newRow("one quote") << QByteArray("[A]\nk=\"x\n") << "A"
                                   << "k"
                                   << "\"x";
        QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A"
                                     << "k"
                                     << "";
        QTest::newRow("first of two") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                      << "k"
                                      << "1";
        QTest::newRow("value with =") << QByteArray("[A]\nk=a=b\n") << "A"
                                      << "k"
                                      << "a=b";
        QTest::newRow("CRLF") << QByteArray("[A]\r\nk=v\r\n") << "A"
                              << "k"
                              << "v";
        QTest::newRow("no file") << QByteArray() << "A"
                                 << "k"
                                 << "<def>";
        QTest::newRow("no section") << QByteArray("[B]\nk=v\n") << "A"
                                    << "k"
                                    << "<def>";
        QTest::newRow("other section") << QByteArray("[A]\n[B]\nk=v\n") << "A"
                                       << "k"
                                       << "<def>";
        QTest::newRow("before sections") << QByteArray("k=v\n[A]\n") << "A"
                                         << "k"
                                         << "<def>";
        QTest::newRow("comment") << QByteArray("[A]\n;k=v\n") << "A"
                                 << "k"
                                 << "<def>";
        QTest::newRow("line without =") << QByteArray("[A]\nk\n") << "A"
                                        << "k"
                                        << "<def>";
        QTest::newRow("Windows-1252") << QByteArray("[A]\nk=M\xfcller \x80 \x84\n") << "A"
                                      << "k" << QStringLiteral("Müller € „");
        QTest::newRow("1252 section name") << QByteArray("[R\xe4ume]\nk=v\n") << "RÄUME"
                                           << "k"
                                           << "v";
        QTest::newRow("UTF-8") << QByteArray("[A]\nk=M\xc3\xbcller\n") << "A"
                               << "k" << QStringLiteral("Müller");
        QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[A]\nk=\xc3\xa4\n") << "A"
                                        << "k" << QStringLiteral("ä");
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
        QTest::newRow("replace") << QByteArray("; Kopf\n[A]\nk=1 ; alt\nx=2\n[B]\nk=3\n") << "a"
                                 << "K"
                                 << "9" << QByteArray("; Kopf\n[A]\nk=9\nx=2\n[B]\nk=3\n");
        QTest::newRow("replace keeps key spelling") << QByteArray("[A]\n  Key = alt\n") << "A"
                                                    << "key"
                                                    << "neu" << QByteArray("[A]\n  Key = neu\n");
        QTest::newRow("new key before blank lines")
            << QByteArray("[A]\nk=1\n;c\n\n\n[B]\n") << "A"
            << "n"
            << "2" << QByteArray("[A]\nk=1\n;c\nn=2\n\n\n[B]\n");
        QTest::newRow("new key in empty section") << QByteArray("[A]\n\n[B]\n") << "A"
                                                  << "k"
                                                  << "v" << QByteArray("[A]\nk=v\n\n[B]\n");
        QTest::newRow("no line end at file end") << QByteArray("[A]\nk=1") << "A"
                                                 << "n"
                                                 << "2" << QByteArray("[A]\nk=1\nn=2\n");
        QTest::newRow("new section") << QByteArray("[A]\nk=1\n") << "B"
                                     << "n"
                                     << "2" << QByteArray("[A]\nk=1\n[B]\nn=2\n");
        QTest::newRow("CRLF") << QByteArray("[A]\r\nk=1\r\n") << "A"
                              << "n"
                              << "2" << QByteArray("[A]\r\nk=1\r\nn=2\r\n");
        QTest::newRow("new file") << QByteArray() << "Archiv"
                                  << "Datum"
                                  << "31.12.2025" << QByteArray("[Archiv]\r\nDatum=31.12.2025\r\n");
        QTest::newRow("new file, umlaut")
            << QByteArray() << "A"
            << "k" << QStringLiteral("Bär") << QByteArray("[A]\r\nk=B\xe4r\r\n");
        QTest::newRow("new file, beyond 1252")
            << QByteArray() << "A"
            << "k" << QStringLiteral("Łódź")
            << QByteArray("[A]\r\nk=\xc5\x81\xc3\xb3\x64\xc5\xba\r\n");
        QTest::newRow("1252 stays 1252")
            << QByteArray("[A]\nk=M\xfcller\n") << "A"
            << "n" << QStringLiteral("Bär €") << QByteArray("[A]\nk=M\xfcller\nn=B\xe4r \x80\n");
        QTest::newRow("UTF-8 stays UTF-8")
            << QByteArray("[A]\nk=M\xc3\xbcller\n") << "A"
            << "n" << QStringLiteral("Bär") << QByteArray("[A]\nk=M\xc3\xbcller\nn=B\xc3\xa4r\n");
        QTest::newRow("BOM kept") << QByteArray("\xEF\xBB\xBF[A]\nk=1\n") << "a"
                                  << "k"
                                  << "2" << QByteArray("\xEF\xBB\xBF[A]\nk=2\n");
        QTest::newRow("line break in value") << QByteArray("[A]\n") << "A"
                                             << "k"
                                             << "1\n[B]" << QByteArray("[A]\nk=1 [B]\n");
    }
    void write() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString path = makeFile(dir, before);
        CTovoTools& tools = CTovoTools::Instance();
        QVERIFY(tools.WriteIniValue(path, section, key, value));
        QCOMPARE(contents(path), after);
        QCOMPARE(tools.ReadIniValue(path, section, key, QString()),
                 QString(value).replace(QLatin1Char('\n'), QLatin1Char(' ')));
    }

    void readSection() {
        QTemporaryDir dir;
        const QString path =
            makeFile(dir, "[A]\n;c\n k = 1 \n\nx=\"q\"\nohne\n[b]\ny=2\n[B]\nz=3\n");
        CTovoTools& tools = CTovoTools::Instance();
        QCOMPARE(tools.ReadIniSection(path, QStringLiteral("a")),
                 QStringList({QStringLiteral("k=1"), QStringLiteral("x=\"q\"")}));
        QCOMPARE(tools.ReadIniSection(path, QStringLiteral("B")),
                 QStringList({QStringLiteral("y=2")}));
        QVERIFY(tools.ReadIniSection(path, QStringLiteral("C")).isEmpty());
        QVERIFY(tools.ReadIniSection(dir.filePath(QStringLiteral("none.ini")), QStringLiteral("A"))
                    .isEmpty());
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

    void dateFromParts_data() {
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QDate>("expected"); // invalid: an error is raised
        QTest::newRow("plain") << "14"
                               << "3"
                               << "2026" << QDate(2026, 3, 14);
        QTest::newRow("roll over") << "31"
                                   << "2"
                                   << "2026" << QDate(2026, 3, 3);
        QTest::newRow("two-digit year") << "1"
                                        << "1"
                                        << "30" << QDate(1930, 1, 1);
        QTest::newRow("day no number") << "x"
                                       << "3"
                                       << "2026" << QDate();
        QTest::newRow("empty month") << "1"
                                     << ""
                                     << "2026" << QDate();
        QTest::newRow("year 10000") << "1"
                                    << "1"
                                    << "10000" << QDate();
    }
    void dateFromParts() {
        QFETCH(QString, day);
        QFETCH(QString, month);
        QFETCH(QString, year);
        QFETCH(QDate, expected);
        try {
            const double d = CTovoTools::Instance().DateFromParts(day, month, year);
            QVERIFY2(expected.isValid(), "an error was expected");
            QCOMPARE(TovoDate(d).toQDate(), expected);
        } catch (const RvError& e) {
            QVERIFY2(!expected.isValid(), qPrintable(e.description()));
            QVERIFY(!e.description().isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(TstIni)
#include "tst_ini.moc"

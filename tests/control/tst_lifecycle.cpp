// Opening, filling and closing a project through the control, as the host does it.
#include "CRvDb.h"
#include "GebDb.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "TestUtil.h"
#include "TovoRaumverwCtrl.h"
#include "TovoRecht.h"
#include "TovoTools.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QMenu>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TestLifecycle : public QObject {
    Q_OBJECT

    QString exeDir() const { return TovoBinDir() + QLatin1Char('/'); }

    static QByteArray fileHash(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

private Q_SLOTS:
    void freshDirectoryGetsTemplate_data() {
        QTest::addColumn<bool>("trailingSeparator");
        QTest::newRow("with /") << true;
        QTest::newRow("without /") << false;
    }
    void freshDirectoryGetsTemplate() {
        QFETCH(bool, trailingSeparator);
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        const QString given = trailingSeparator ? dir.path() + QLatin1Char('/') : dir.path();
        QVERIFY(ctrl.OpenDb(exeDir(), given, QString(), nullptr));
        QCOMPARE(prompt.shown.size(), 0);
        QCOMPARE(ctrl.ProjektDir(), dir.path() + QLatin1Char('/'));
        QCOMPARE(gstDbPath, dir.path() + QStringLiteral("/TovoRaumverw.mdb"));
        QCOMPARE(gstReportDir, dir.path() + QStringLiteral("/Report/"));
        QVERIFY(ctrl.Client().startsWith(ctrl.ProjektDir()));
        QVERIFY(QFile::exists(gstDbPath));
        QVERIFY(gRvDb && gRvDb->IsValidDb());
        QCOMPARE(goRecht->Zugriff(), QStringLiteral("S"));
        QCOMPARE(ctrl.RaumNrFormat(), QStringLiteral("S.G.BE.R"));

        ctrl.Data2Ctrl();
        QCOMPARE(ctrl.coRaumart->count(), 1);
        QCOMPARE(ctrl.coRaumart->itemText(0), QStringLiteral("Alle"));
        QCOMPARE(ctrl.coRaumart->currentIndex(), 0);
        QCOMPARE(ctrl.llArchiv->text(), QStringLiteral("Archivierung bis: nicht archiviert"));
        QCOMPARE(ctrl.Zeitbereich(), 2);
        // Without a portal its two menu entries are off.
        QVERIFY(!ctrl.mnuBearbeiten.value(31)->isEnabled());
        QVERIFY(!ctrl.mnuBearbeiten.value(32)->isEnabled());

        ctrl.CloseDb();
        QVERIFY(gRvDb == nullptr);
        QVERIFY(gDb.isEmpty());
    }

    void failuresShowMessageAndReturnFalse_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("missing template") << "noTemplate"
                                          << "konnte nicht geöffnet werden";
        QTest::newRow("not a database") << "garbage"
                                        << "konnte nicht geöffnet werden";
        QTest::newRow("foreign sqlite") << "foreign"
                                        << "Die Struktur der Datenbank ist ungültig!";
        QTest::newRow("room number format")
            << "format"
            << "Das Raumnummern-Langformat muss aktualisiert werden.";
    }
    void failuresShowMessageAndReturnFalse() {
        QFETCH(QString, kind);
        QFETCH(QString, expectedText);
        QTemporaryDir dir, emptyExe;
        const QString db = dir.path() + QStringLiteral("/TovoRaumverw.mdb");
        QString exe = exeDir();
        if (kind == QLatin1String("noTemplate"))
            exe = emptyExe.path();
        if (kind == QLatin1String("garbage")) {
            QFile f(db);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Standard Jet DB\0\0\0 not sqlite at all", 37).repeated(50));
        }
        if (kind == QLatin1String("foreign")) {
            QSqlDatabase s =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
            s.setDatabaseName(db);
            QVERIFY(s.open());
            QSqlQuery(s).exec(QStringLiteral("CREATE TABLE x (a INTEGER)"));
            s.close();
            s = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        }
        if (kind == QLatin1String("format")) {
            // Two-part room numbers in the building structure, four-part format configured.
            CGebDb geb;
            QVERIFY(geb.OpenJet(exe, QString(), dir.path() + QStringLiteral("/TovoGebaeude.mdb")));
            const int32_t etage = geb.AddNode(0, 3, QStringLiteral("1"), QStringLiteral("EG"));
            QVERIFY(geb.AddNode(etage, 4, QStringLiteral("12"), QStringLiteral("Raum")) > 0);
            geb.Close();
        }
        const QByteArray before = QFile::exists(db) ? fileHash(db) : QByteArray();

        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QVERIFY(!ctrl.OpenDb(exe, dir.path(), QString(), nullptr));
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(prompt.last().text.contains(expectedText), qPrintable(prompt.last().text));
        if (kind != QLatin1String("format")) {
            QCOMPARE(prompt.last().icon, PromptIcon::Critical);
            QVERIFY(prompt.last().text.endsWith(QStringLiteral("\nTovoRaumverwMainCtrl.OpenDb")));
        }
        if (!before.isEmpty())
            QCOMPARE(fileHash(db), before);
        ctrl.CloseDb();
    }

    void roomNumberFormatDefault_data() {
        QTest::addColumn<bool>("reinBrenko");
        QTest::addColumn<QString>("iniFormat");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default") << false << QString() << "S.G.BE.R";
        QTest::newRow("TovoReinBrenko.mdb") << true << QString() << "E.R";
        QTest::newRow("ini wins") << true << "G.R"
                                  << "G.R";
    }
    void roomNumberFormatDefault() {
        QFETCH(bool, reinBrenko);
        QFETCH(QString, iniFormat);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        if (reinBrenko) {
            QFile f(dir.path() + QStringLiteral("/TovoReinBrenko.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (!iniFormat.isEmpty())
            CTovoTools::Instance().WriteIniValue(
                dir.path() + QStringLiteral("/Gebaeudestruktur.ini"), QStringLiteral("RNr"),
                QStringLiteral("format"), iniFormat);
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), nullptr));
        QCOMPARE(ctrl.RaumNrFormat(), expected);
        QCOMPARE(gstRaumNrFormat, expected);
    }

    void unicodeFlag_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("expected");
        QTest::newRow("missing") << QString() << false;
        QTest::newRow("TRUE") << "TRUE" << true;
        QTest::newRow("true lower") << "true" << true;
        QTest::newRow("not a Boolean") << "vielleicht" << false;
    }
    void unicodeFlag() {
        QFETCH(QString, value);
        QFETCH(bool, expected);
        QTemporaryDir dir;
        if (!value.isNull())
            CTovoTools::Instance().WriteIniValue(dir.path() + QStringLiteral("/Projekt.ini"),
                                                 QStringLiteral("Unicode"), QStringLiteral("UFT8"),
                                                 value);
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), nullptr));
        QCOMPARE(ctrl.Unicode(), expected);
        QCOMPARE(ctrl.UFT8_To_ASCII(QStringLiteral("MÃ¼ller")),
                 expected ? QStringLiteral("Müller") : QStringLiteral("MÃ¼ller"));
    }

    void readOnlyRightsDisablePortalButton() {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        auto recht = std::make_shared<CTovoRecht>();
        recht->SetZugriff(QStringLiteral("L"));
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), recht));
        QCOMPARE(goRecht.get(), recht.get());
        QVERIFY(!ctrl.MainToolbarButtons.value(QStringLiteral("Intranet"))->isEnabled());
        QVERIFY(ctrl.MainToolbarButtons.value(QStringLiteral("New"))->isEnabled());
    }

    void archiveLabelAndRoomTypes() {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        CTovoTools::Instance().WriteIniValue(dir.path() + QStringLiteral("/TovoRaumVerw.ini"),
                                             QStringLiteral("Archiv"), QStringLiteral("Datum"),
                                             QStringLiteral("14.03.2026"));
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), nullptr));
        for (const char* name : {"Besprechung", "Schulung"}) {
            CRaumartRec r;
            r.stRaumArt = QString::fromUtf8(name);
            QVERIFY(gRvDb->AddNewRaumartRec(&r));
        }
        ctrl.Data2Ctrl();
        QCOMPARE(ctrl.coRaumart->count(), 3);
        QCOMPARE(ctrl.coRaumart->itemText(0), QStringLiteral("Alle"));
        QCOMPARE(ctrl.coRaumart->itemText(2), QStringLiteral("Schulung"));
        QCOMPARE(ctrl.llArchiv->text(), QStringLiteral("Archivierung bis: 14.03.2026"));

        CTovoTools::Instance().WriteIniValue(dir.path() + QStringLiteral("/TovoRaumVerw.ini"),
                                             QStringLiteral("Archiv"), QStringLiteral("Datum"),
                                             QStringLiteral("kein Datum"));
        ctrl.ReadArchivzeit();
        QCOMPARE(ctrl.llArchiv->text(), QStringLiteral("Archivierung bis: nicht archiviert"));
    }

    void menusCarryTheirEntries() {
        TovoRaumverwCtrl ctrl;
        QCOMPARE(ctrl.mnuBearbeitenMenu()->title(), QStringLiteral("&Bearbeiten"));
        QCOMPARE(ctrl.mnuReportMenu()->title(), QStringLiteral("Aus&wertungen"));
        QCOMPARE(ctrl.mnuAnsichtMenu()->title(), QStringLiteral("&Darstellung"));
        QCOMPARE(ctrl.mnuBearbeiten.value(70)->text(), QStringLiteral("Modul &schließen"));
        QCOMPARE(ctrl.mnuReport.value(400)->text(),
                 QStringLiteral("Tagesübersicht nach Raumarten"));
        QVERIFY(ctrl.mnuAnsicht.value(10)->isChecked());
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"

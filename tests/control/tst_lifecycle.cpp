// Opening, filling and closing a project through the control, as the host does it.
#include "GebDb.h"
#include "TestProjekt.h"
#include "TovoRaumverwCtrl.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QLabel>
#include <QSignalSpy>
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
        const QString projekt = dir.path() + QLatin1Char('/');
        QCOMPARE(QStringList({ctrl.ProjektDir(), gstDbPath, gstReportDir}),
                 QStringList({projekt, projekt + "TovoRaumverw.mdb", projekt + "Report/"}));
        QVERIFY(ctrl.Client().startsWith(ctrl.ProjektDir()) && gRvDb && gRvDb->IsValidDb());
        QCOMPARE(goRecht->Zugriff(), "S");

        ctrl.Data2Ctrl();
        QVERIFY(ctrl.coRaumart->count() == 1 && ctrl.coRaumart->currentText() == "Alle");
        // Without a portal its two menu entries are off.
        QVERIFY(!ctrl.mnuBearbeiten.value(31)->isEnabled() &&
                !ctrl.mnuBearbeiten.value(32)->isEnabled());

        ctrl.CloseDb();
        QVERIFY(gRvDb == nullptr && gDb.isEmpty());
    }

    void failuresShowMessageAndReturnFalse_data() {
        QTest::addColumn<QString>("expectedText");
        QTest::newRow("missing template") << "konnte nicht geöffnet werden";
        QTest::newRow("room number format")
            << "Das Raumnummern-Langformat muss aktualisiert werden.";
        QTest::newRow("folder named like the database") << "einen Ordner namens TovoRaumverw.mdb";
    }
    void failuresShowMessageAndReturnFalse() {
        const QByteArray kind = QTest::currentDataTag();
        QFETCH(QString, expectedText);
        QTemporaryDir dir, emptyExe;
        const QString db = dir.path() + "/TovoRaumverw.mdb";
        QString exe = exeDir();
        if (kind == "missing template")
            exe = emptyExe.path();
        if (kind.startsWith("folder"))
            QVERIFY(QDir().mkpath(db));
        if (kind == "room number format") {
            // Two-part room numbers in the building structure, four-part format configured.
            CGebDb geb;
            QVERIFY(geb.OpenJet(exe, QString(), dir.path() + "/TovoGebaeude.mdb"));
            const int32_t etage = geb.AddNode(0, 3, "1", "EG");
            QVERIFY(geb.AddNode(etage, 4, "12", "Raum") > 0);
        }
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QVERIFY(!ctrl.OpenDb(exe, dir.path(), QString(), nullptr));
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY2(prompt.last().text.contains(expectedText), qPrintable(prompt.last().text));
        if (kind != "room number format") {
            QCOMPARE(prompt.last().icon, PromptIcon::Critical);
            QVERIFY(prompt.last().text.endsWith("\nTovoRaumverwMainCtrl.OpenDb"));
        }
        ctrl.CloseDb();
    }

    // A database without write permission opens for reading: a note for the status line, the
    // writing commands off, and the file stays as it is (tests run as root, whom the missing
    // write bits do not stop, so the bits are what the control goes by).
    void writeProtectedDatabaseOpensReadOnly() {
        QTemporaryDir dir;
        const QString db = CopyTemplateTo(dir.path());
        QVERIFY(QFile::setPermissions(db, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        const QByteArray before = fileHash(db);
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QSignalSpy hinweis(&ctrl, &TovoRaumverwCtrl::Statushinweis);
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), nullptr));
        ctrl.Data2Ctrl();
        QCOMPARE(prompt.shown.size(), 0);
        QVERIFY(ctrl.DbSchreibgeschuetzt() && ctrl.NurLesen() && gRvDb->OpenReadOnly());
        QCOMPARE(hinweis.size(), 1);
        QVERIFY2(hinweis[0][0].toString().contains("schreibgeschützt"),
                 qPrintable(hinweis[0][0].toString()));
        QCOMPARE(goRecht->Zugriff(), "L");
        QVERIFY(!ctrl.MainToolbarButtons.value("Intranet")->isEnabled());
        QVERIFY(!ctrl.MainToolbarButtons.value("New")->isEnabled());
        ctrl.mnuBearbeitenMenu_Click();
        QVERIFY(!ctrl.mnuBearbeiten.value(30)->isEnabled());
        ctrl.CloseDb();
        QCOMPARE(fileHash(db), before);

        // With the write bit back it is an ordinary project again, read only just for a user
        // whose rights say so; the plan itself then refuses drags and free slots.
        QVERIFY(QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner));
        auto recht = std::make_shared<CTovoRecht>();
        recht->SetZugriff("L");
        TovoRaumverwCtrl again;
        QVERIFY(again.OpenDb(exeDir(), dir.path(), QString(), recht));
        QVERIFY(!again.DbSchreibgeschuetzt() && again.StatushinweisText().isEmpty());
        QVERIFY(goRecht == recht && again.NurLesen() && again.TovoZeitPlan1->NurLesen());
        again.CloseDb();
    }

    // What the files of the project folder set: the room-number format, the Unicode flag and the
    // archive date.
    void projectSettings_data() {
        QTest::addColumn<QString>("ini"); // "file/section/key=value", "" = none
        QTest::addColumn<bool>("reinBrenko");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("unicode");
        QTest::addColumn<QString>("archiv");
        const QString nie = "nicht archiviert";
        auto row = [&](const char* name, const char* ini, bool reinBrenko, const char* format,
                       bool unicode, const QString& archiv) {
            QTest::newRow(name) << QString(ini) << reinBrenko << QString(format) << unicode
                                << archiv;
        };
        row("defaults", "", false, "S.G.BE.R", false, nie);
        row("TovoReinBrenko.mdb", "", true, "E.R", false, nie);
        row("ini format wins", "Gebaeudestruktur.ini/RNr/format=G.R", true, "G.R", false, nie);
        row("UFT8 true", "Projekt.ini/Unicode/UFT8=true", false, "S.G.BE.R", true, nie);
        row("UFT8 not a Boolean", "Projekt.ini/Unicode/UFT8=vielleicht", false, "S.G.BE.R", false,
            nie);
        row("archive date", "TovoRaumVerw.ini/Archiv/Datum=14.03.2026", false, "S.G.BE.R", false,
            "14.03.2026");
        row("archive without a date", "TovoRaumVerw.ini/Archiv/Datum=kein Datum", false, "S.G.BE.R",
            false, nie);
    }
    void projectSettings() {
        QFETCH(QString, ini);
        QFETCH(bool, reinBrenko);
        QFETCH(QString, format);
        QFETCH(bool, unicode);
        QTemporaryDir dir;
        if (reinBrenko) {
            QFile f(dir.filePath("TovoReinBrenko.mdb"));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        if (!ini.isEmpty()) {
            const QStringList teile = ini.section(QLatin1Char('='), 0, 0).split(QLatin1Char('/'));
            QVERIFY(CTovoTools::Instance().WriteIniValue(dir.filePath(teile[0]), teile[1], teile[2],
                                                         ini.section(QLatin1Char('='), 1)));
        }
        ScriptedPrompt prompt;
        TovoRaumverwCtrl ctrl;
        QVERIFY(ctrl.OpenDb(exeDir(), dir.path(), QString(), nullptr));
        QCOMPARE(ctrl.RaumNrFormat(), format);
        QCOMPARE(gstRaumNrFormat, format);
        QCOMPARE(ctrl.Unicode(), unicode);
        QCOMPARE(ctrl.UFT8_To_ASCII("MÃ¼ller"), unicode ? "Müller" : "MÃ¼ller");
        ctrl.Data2Ctrl();
        QFETCH(QString, archiv);
        QCOMPARE(ctrl.llArchiv->text(), "Archivierung bis: " + archiv);
    }
};

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"

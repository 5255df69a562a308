// The host program: opens a project directory in a main window that embeds the control.
#include "Befehlszeile.h"
#include "DemoProjekt.h"
#include "MainWindow.h"
#include "ProgrammOrt.h"
#include "QtModal.h"
#include "QtPrompt.h"
#include "ServerEinrichtung.h"
#include "TovoRecht.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>

namespace {

// The demo project under the user's data folder, made once from the program's files.
bool Demoprojekt(const QString& exeDir, QString& projectDir, QString& error) {
    projectDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                 QStringLiteral("/Demoprojekt");
    if (QFile::exists(projectDir + QStringLiteral("/TovoRaumverw.mdb")))
        return true;
    QDir().mkpath(projectDir);
    if (CreateDemoProject(exeDir, projectDir + QLatin1Char('/'), &error))
        return true;
    error = QStringLiteral("Das Demoprojekt konnte nicht angelegt werden.\n") + error;
    return false;
}

// Sets up or moves the project's database on a server, without a window; German progress on
// stdout, the reason of a failure on stderr.
int AufServer(int argc, char* argv[], const Befehlszeile& befehl) {
    QCoreApplication app(argc, argv);
    const QString projektDir = QDir(befehl.projekt).absolutePath() + QLatin1Char('/');
    QDir().mkpath(projektDir);
    const auto melde = [](const QString& zeile) {
        fprintf(stdout, "%s\n", zeile.toUtf8().constData());
        fflush(stdout);
    };
    QString meldung;
    const bool ok =
        befehl.aktion == Befehlszeile::Aktion::DatenbankEinrichten
            ? ServerEinrichtung::Einrichten(projektDir, befehl.verbindung, melde, &meldung)
            : ServerEinrichtung::Uebertragen(projektDir, befehl.verbindung, melde, &meldung);
    if (!ok)
        fprintf(stderr, "%s\n", meldung.toUtf8().constData());
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    const Befehlszeile befehl = ReadBefehlszeile(argumente);
    switch (befehl.aktion) {
    case Befehlszeile::Aktion::Hilfe:
        fputs(HilfeText().toLocal8Bit().constData(), stdout);
        return 0;
    case Befehlszeile::Aktion::Version:
        fputs(VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case Befehlszeile::Aktion::Fehler:
        fprintf(stderr, "tovo-raumverw: %s\nMehr dazu: tovo-raumverw --help\n",
                befehl.meldung.toLocal8Bit().constData());
        return 2;
    case Befehlszeile::Aktion::Bericht:
        // A report written to PDF needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        break;
    case Befehlszeile::Aktion::DatenbankEinrichten:
    case Befehlszeile::Aktion::AufServerUebertragen:
        return AufServer(argc, argv, befehl);
    case Befehlszeile::Aktion::Fenster:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tovo-raumverw"));
    // No display name: the platform would append it to every window title. The main window
    // names the program itself; dialogs and message boxes carry their own titles only.
    QApplication::setOrganizationName(QStringLiteral("Tovo"));
    QApplication::setApplicationVersion(QStringLiteral(TOVO_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tovo/tovo-raumverw.svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tovo.raumverw"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPrompt prompt;
    SetPrompt(&prompt);
    static QtModal modal; // outlives every window
    SetModalRunner(&modal);
    const QString exeDir = ProgrammOrt::DatenVerzeichnis();
    const bool bericht = befehl.aktion == Befehlszeile::Aktion::Bericht;
    QString projectDir, error;
    if (befehl.projekt.isEmpty()) {
        if (!Demoprojekt(exeDir, projectDir, error)) {
            if (bericht)
                fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
            else
                MsgBox(error, PromptButtons::Ok, PromptIcon::Critical);
            SetPrompt(nullptr);
            return 1;
        }
    } else {
        projectDir = QDir(befehl.projekt).absolutePath();
        if (!bericht)
            QDir().mkpath(projectDir);
    }

    if (bericht) {
        BerichtAuftrag auftrag = befehl.bericht;
        auftrag.projektDir = projectDir;
        const int rc = BerichtAlsPdf(auftrag, error);
        if (rc != 0)
            fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
        SetPrompt(nullptr);
        return rc;
    }

    auto recht = std::make_shared<CTovoRecht>();
    recht->SetZugriff(befehl.nurLesen ? QStringLiteral("L") : QStringLiteral("S"));

    MainWindow window;
    if (!window.openProject(exeDir, projectDir, recht))
        return 1;
    window.show();
    const int rc = QApplication::exec();
    SetPrompt(nullptr);
    return rc;
}

// The host program: opens a project directory in a main window that embeds the control.
#include "DemoProjekt.h"
#include "MainWindow.h"
#include "QtPrompt.h"
#include "TovoRecht.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tovo-raumverw"));
    // No display name: the platform would append it to every window title. The main window
    // names the program itself; dialogs and message boxes carry their own titles only.
    QApplication::setOrganizationName(QStringLiteral("Tovo"));

    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPrompt prompt;
    SetPrompt(&prompt);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Raumverwaltung: Belegung von Besprechungs- "
                                                    "und Veranstaltungsräumen"));
    parser.addHelpOption();
    QCommandLineOption nurLesen(QStringList{QStringLiteral("l"), QStringLiteral("nur-lesen")},
                                QStringLiteral("Nur lesender Zugriff (keine Änderungen)."));
    parser.addOption(nurLesen);
    parser.addPositionalArgument(QStringLiteral("projekt"),
                                 QStringLiteral("Projektverzeichnis (ohne Angabe: Demoprojekt)"));
    parser.process(app);

    const QString exeDir = QApplication::applicationDirPath() + QLatin1Char('/');
    QString projectDir;
    if (!parser.positionalArguments().isEmpty()) {
        projectDir = QDir(parser.positionalArguments().first()).absolutePath();
        QDir().mkpath(projectDir);
    } else {
        projectDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/Demoprojekt");
        if (!QFile::exists(projectDir + QStringLiteral("/TovoRaumverw.mdb"))) {
            QDir().mkpath(projectDir);
            QString error;
            if (!CreateDemoProject(exeDir, projectDir + QLatin1Char('/'), &error)) {
                MsgBox(QStringLiteral("Das Demoprojekt konnte nicht angelegt werden.\n") + error,
                       PromptButtons::Ok, PromptIcon::Critical);
                return 1;
            }
        }
    }

    auto recht = std::make_shared<CTovoRecht>();
    recht->SetZugriff(parser.isSet(nurLesen) ? QStringLiteral("L") : QStringLiteral("S"));

    MainWindow window;
    if (!window.openProject(exeDir, projectDir, recht))
        return 1;
    window.show();
    const int rc = QApplication::exec();
    SetPrompt(nullptr);
    return rc;
}

// The host program: opens a project directory in a main window that embeds the control.
#include "BerichtLauf.h"
#include "DemoProjekt.h"
#include "MainWindow.h"
#include "QtPrompt.h"
#include "ServerEinrichtung.h"
#include "TovoRecht.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>

namespace {

// A report written to PDF, setting up a server database and the help text need no display:
// they run on the offscreen platform unless the caller chose another.
void OhneFensterFuerBerichte(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        const bool ohneFenster = qstrcmp(argv[i], "--bericht") == 0 ||
                                 qstrcmp(argv[i], "--datenbank-einrichten") == 0 ||
                                 qstrcmp(argv[i], "--auf-server-uebertragen") == 0 ||
                                 qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0;
        if (ohneFenster && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

} // namespace

int main(int argc, char* argv[]) {
    OhneFensterFuerBerichte(argc, argv);
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
    const auto option = [&](const char* name, const char* text, const char* wert) {
        QCommandLineOption o(QLatin1String(name), QString::fromUtf8(text), QLatin1String(wert));
        parser.addOption(o);
        return o;
    };
    const QCommandLineOption bericht =
        option("bericht",
               "Bericht ohne Fenster als PDF schreiben (Repwo, Repmo, Repko, RepAusl, "
               "RepTaZ, RepTaR, RepTa).",
               "NAME");
    const QCommandLineOption von = option("von", "Beginn des Zeitraums (TT.MM.JJJJ).", "DATUM");
    const QCommandLineOption bis = option("bis", "Ende des Zeitraums (TT.MM.JJJJ).", "DATUM");
    const QCommandLineOption monat = option("monat", "Monat 1 bis 12, 0 = ganzes Jahr.", "M");
    const QCommandLineOption jahr = option("jahr", "Jahr (JJJJ).", "J");
    const QCommandLineOption datum =
        option("datum", "Tag des Berichts, bei Repwo die Woche dieses Tages.", "DATUM");
    const QCommandLineOption pdf = option("pdf", "Zieldatei des Berichts.", "DATEI");
    const QCommandLineOption einrichten =
        option("datenbank-einrichten",
               "Legt die Tabellen in einer leeren PostgreSQL-Datenbank an und stellt das Projekt "
               "auf sie um (VERBINDUNG z. B. \"host=db dbname=raum user=raum\").",
               "VERBINDUNG");
    const QCommandLineOption uebertragen =
        option("auf-server-uebertragen",
               "Überträgt die Datenbank des Projekts in eine leere PostgreSQL-Datenbank und "
               "stellt das Projekt auf sie um.",
               "VERBINDUNG");
    parser.addPositionalArgument(QStringLiteral("projekt"),
                                 QStringLiteral("Projektverzeichnis (ohne Angabe: Demoprojekt)"));
    parser.process(app);

    if (parser.isSet(einrichten) || parser.isSet(uebertragen)) {
        const QString dir = parser.positionalArguments().value(0);
        QString meldung;
        bool ok = false;
        if (dir.isEmpty()) {
            meldung = QStringLiteral("Bitte das Projektverzeichnis angeben.");
        } else {
            const QString projektDir = QDir(dir).absolutePath() + QLatin1Char('/');
            QDir().mkpath(projektDir);
            const auto melde = [](const QString& zeile) {
                fprintf(stdout, "%s\n", zeile.toUtf8().constData());
                fflush(stdout);
            };
            ok = parser.isSet(einrichten)
                     ? ServerEinrichtung::Einrichten(projektDir, parser.value(einrichten), melde,
                                                     &meldung)
                     : ServerEinrichtung::Uebertragen(projektDir, parser.value(uebertragen), melde,
                                                      &meldung);
        }
        if (!ok)
            fprintf(stderr, "%s\n", meldung.toUtf8().constData());
        SetPrompt(nullptr);
        return ok ? 0 : 1;
    }

    if (parser.isSet(bericht)) {
        BerichtAuftrag auftrag{parser.positionalArguments().value(0),
                               parser.value(bericht),
                               parser.value(von),
                               parser.value(bis),
                               parser.value(monat),
                               parser.value(jahr),
                               parser.value(datum),
                               parser.value(pdf)};
        QString meldung;
        int rc = 2;
        if (auftrag.projektDir.isEmpty())
            meldung = QStringLiteral("Bitte das Projektverzeichnis angeben.");
        else
            rc = BerichtAlsPdf(auftrag, meldung);
        if (rc != 0)
            fprintf(stderr, "%s\n", qPrintable(meldung));
        SetPrompt(nullptr);
        return rc;
    }

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

#pragma once

#include "BerichtLauf.h"

#include <QString>
#include <QStringList>

// The program's command line, read before any window system is touched: the help and the
// version are printed without a display, and a faulty line is refused with a German message.
struct Befehlszeile {
    enum class Aktion {
        Fenster,
        Bericht,
        DatenbankEinrichten,  // the project onto an empty server database
        AufServerUebertragen, // the project's file copied into an empty server database
        Hilfe,
        Version,
        Fehler
    };
    Aktion aktion = Aktion::Fenster;
    bool nurLesen = false;
    QString projekt;        // the project directory; empty for the demo project
    BerichtAuftrag bericht; // with Aktion::Bericht
    QString verbindung;     // with the server actions: libpq's connection text
    QString meldung;        // with Aktion::Fehler
};

// `argumente` as the program received them, the program's name first.
Befehlszeile ReadBefehlszeile(const QStringList& argumente);
QString HilfeText();
QString VersionText();

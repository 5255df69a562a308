#pragma once

#include <QString>
#include <QVector>

// The reports the module prints, named by their report files ("Repwo.rpt" -> "Repwo"). Each
// name has one template of the same name and says how the rows of the print table are laid out.
enum class BerichtFamilie {
    Zeitraum,   // bookings of a period (from-to, week)
    Monat,      // bookings of a month or year
    Kosten,     // the costs of the bookings of a month or year
    Auslastung, // usage per room of a month or year
    Tag,        // bookings of one day
    Dokument,   // one booking
};

enum class BerichtGruppe { Keine, Datum, Raum, Raumart };

struct BerichtArt {
    QString name;  // "Repwo"
    QString titel; // "Belegungsübersicht"
    BerichtFamilie familie;
    BerichtGruppe gruppe;
    bool quer; // landscape pages
};

// All report names, overviews first.
const QVector<BerichtArt>& AlleBerichte();
// The report of a name written with or without ".rpt", in any letter case; nullptr if unknown.
const BerichtArt* FindeBericht(const QString& name);

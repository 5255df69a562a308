#pragma once

#include "Records.h"

#include <QString>

// How the plan names a room's fixed equipment (its letter codes W P C M R F L N A S G B): short
// words for the room-information line, full names for the tool tip of the room.
namespace RaumAusstattung {

// Short words joined by ", " ("Beamer, Mikro, LAN"), in the order of the codes.
QString Kurz(const QString& buchstaben);
// Full names joined by ", " ("Projektor, Mikrofon, Netzwerk").
QString Lang(const QString& buchstaben);
// The tool tip of a room's name: name and number, type, places, tables, seating and equipment.
QString Tip(const CAnzeigeRec& raum, const QString& raumart);

} // namespace RaumAusstattung

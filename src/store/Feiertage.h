#pragma once

#include "TovoDate.h"

#include <QString>
#include <QVector>

// Public holidays in Germany, computed for any year: the nationwide ones (Easter-based included)
// and the extra ones of a federal state, given by its two-letter code ("NW", "BY" ...). An empty
// or unknown code gives the nationwide holidays only.
namespace Feiertage {

struct Feiertag {
    TovoDate datum; // whole day
    QString name;
};

// Easter Sunday of a year of the Gregorian calendar.
TovoDate Ostersonntag(int jahr);
// The holidays of one year, by date.
QVector<Feiertag> ImJahr(int jahr, const QString& land);
// The holiday's name on that day, empty when the day is none.
QString Name(TovoDate tag, const QString& land);
inline bool IstFeiertag(TovoDate tag, const QString& land) {
    return !Name(tag, land).isEmpty();
}

// The state of the open project: TovoRaumVerw.ini, section "Feiertage", key "Land".
QString ProjektLand();

} // namespace Feiertage

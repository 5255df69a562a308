#pragma once

#include "ZeitPlanData.h"

#include <QVector>
#include <cstdint>

// Overlapping bookings among the bars of the time plan. A booking occupies its room from its
// first bar to its last (set-up start to clear-down end); whether two bookings of a room clash
// is decided by the same rule as every room test, with the booking tolerance.
namespace ZeitPlanKonflikte {

struct Belegung {
    int64_t lId = 0;
    int64_t raumId = 0;
    double von = 0.0;
    double bis = 0.0;
    int balken = -1; // index of the booking's own bar in the list (its label and times)
};

// One booking per id, sorted by room and start.
QVector<Belegung> Belegungen(const ZeitPlanTerminListe& termine);

// True when the two bookings may not share a room.
bool Ueberschneiden(const Belegung& a, const Belegung& b, double toleranz);

struct Paar {
    Belegung erste; // the one that starts first
    Belegung zweite;
};
// Every clashing pair whose common time touches [von, bis), by room and start.
QVector<Paar> Paare(const ZeitPlanTerminListe& termine, double von, double bis, double toleranz);

} // namespace ZeitPlanKonflikte

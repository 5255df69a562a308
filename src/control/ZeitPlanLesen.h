#pragma once

#include "ViewQueries.h"
#include "ZeitPlanData.h"

#include <QString>
#include <functional>

// Reading the bars of the time plans from the database, without widgets. A plan reads the
// bookings around what it shows and reads again when it is moved beyond them.
namespace ZeitPlanLesen {

// Appends the bars of one booking in drawing order: set-up, the booking, clear-down. A time
// field counts with its time of day only; an empty one ("no date") is midnight.
void Balken(const ViewQueries::BelegungBalken& b, ZeitPlanTerminListe& out);

// The bars of the bookings not archived of a room type (0 = all), by room name and start; with
// a span, those of the bookings that have a bar reaching into it. `zwischendurch` runs every
// few hundred bookings read (so that the window keeps painting); false from it stops the
// reading, which then returns false with `error` untouched.
bool ReadTermine(const QString& connection, int32_t raumartId,
                 const ViewQueries::Zeitfenster& fenster, ZeitPlanTerminListe& out, QString* error,
                 const std::function<bool()>& zwischendurch = {});

// What to read for a plan showing `von` to `bis`: one shown length more on each side, in whole
// days, so that stepping to the neighbouring period needs no reading.
ViewQueries::Zeitfenster FensterFuer(double von, double bis);
// True when everything from `von` to `bis` lies in the span read.
bool Deckt(const ViewQueries::Zeitfenster& gelesen, double von, double bis);

} // namespace ZeitPlanLesen

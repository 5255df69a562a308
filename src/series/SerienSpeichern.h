#pragma once

#include "CSerienFkt.h"
#include "RecColl.h"
#include "Records.h"
#include "TovoDate.h"

#include <QVector>

#include <cstdint>
#include <functional>

class CRvDb;

namespace R_Main {

// Asked when the order number meant for a new series is carried by a booking already: gets
// that number, returns the one to use instead, or -1 to cancel the save. The reservation form
// passes R_Main::gNextNrDialog.
using NummerErfragen = std::function<int32_t(int32_t vergeben)>;

// Writes one booking per date of the series, every one a copy of `booking` with dt_von = dt_bis
// = the date, under one new order number (booking.lAuftrNr receives it); the counter then holds
// that number + 1. The first date is written even when it lies after datEnde. All dates are
// tested in their room and written in one transaction: a conflict, a cancelled number or a
// failure writes nothing. Errors are shown as "R_Main.SaveJour"; false then.
bool SaveJour(const CSerienFkt& rule, CBelegungRec& booking, CRvDb* db,
              const NummerErfragen& nummerErfragen);

// One date of a series to be written, with its room.
struct SerienTermin {
    TovoDate datum;
    int32_t raumId = 0;
};

// Writes exactly the dates given, each a copy of `booking` in its own room, under one new order
// number (booking.lAuftrNr receives it), through the same write path: all tested and written
// in one transaction, or none. Errors are shown as "R_Main.SaveJour"; false then.
bool SaveJour(const QVector<SerienTermin>& termine, CBelegungRec& booking, CRvDb* db,
              const NummerErfragen& nummerErfragen);

// Writes the edited booking `tmpl` onto every booking of the series `coll`: each keeps its own
// dates, key and order number, and its own room when tmpl has none. A booking that still has no
// room stops the update with "Wählen Sie einen Raum aus!" before anything is written; otherwise
// all bookings are tested and written together, or none. The collection holds the written
// values afterwards. Errors are shown as "R_Main.SaveSerieEdit". True when all were written.
bool SaveSerieEdit(const CBelegungRec& tmpl, CBelegungRecColl& coll, CRvDb* db);

} // namespace R_Main

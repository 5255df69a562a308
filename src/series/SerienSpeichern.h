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

// Where a new order gets its number: the number for the next order (or -1) and storing the
// following one. The reservation form passes R_Main::GetNextAuftragNr and SetNextAuftragNr.
struct AuftragNrQuelle {
    std::function<int32_t()> GetNextAuftragNr;
    std::function<bool(int32_t)> SetNextAuftragNr;
};

// Writes one booking per date of the series, every one a copy of `booking` with dt_von = dt_bis
// = the date and one new order number; afterwards the counter holds that number + 1. The first
// date is written even when it lies after datEnde. A series that cannot be walked (more than
// 32767 dates ...) writes nothing. Errors are shown as "R_Main.SaveJour"; false then.
bool SaveJour(const CSerienFkt& rule, CBelegungRec& booking, CRvDb* db,
              const AuftragNrQuelle& auftragNr);

// One date of a series to be written, with its room.
struct SerienTermin {
    TovoDate datum;
    int32_t raumId = 0;
};

// Writes exactly the dates given, each a copy of `booking` in its own room, under one new order
// number, all or none. Inside the write transaction the dates are checked again by `pruefung`,
// which returns why they cannot be written (a date taken by now ...) or "" when they can; then
// nothing is written and that text is shown. Errors are shown as "R_Main.SaveJour"; false then.
bool SaveJour(const QVector<SerienTermin>& termine, CBelegungRec& booking, CRvDb* db,
              const AuftragNrQuelle& auftragNr,
              const std::function<QString(const QVector<SerienTermin>&)>& pruefung);

// Writes the edited booking `tmpl` onto every booking of the series `coll`, in collection order:
// each keeps its own dates, key and order number, and its own room when tmpl has none. A booking
// that still has no room stops the update with "Wählen Sie einen Raum aus!" (bookings written
// before stay written). Errors are shown as "R_Main.SaveSerieEdit". True when all were written.
bool SaveSerieEdit(const CBelegungRec& tmpl, CBelegungRecColl& coll, CRvDb* db);

} // namespace R_Main

#pragma once

#include "SerienSpeichern.h"

class CRvDb;

namespace R_Main {

// The order-number counter of the reservation database (table T_NextNr, one row): the next
// number is its value (-1 when the table is empty or cannot be read), storing writes the row.
// Numbers already taken by bookings are not looked for here.
AuftragNrQuelle ZaehlerAusTabelle(CRvDb* db);

} // namespace R_Main

#pragma once

#include "NetzpultAntrag.h"

#include <QSqlDatabase>
#include <QVector>

// Reading and deleting the portal's waiting requests. No widgets.
namespace NetzpultAntraege {

// All requests (BRESERVIERT = 0) with their wished room and room type, in server order.
bool Read(QSqlDatabase db, QVector<NetzpultAntrag>& antraege, QString* error);
// The current number of the request that `zeile` shows: the same texts, wished room and booking,
// preferring its own number. 0 when the portal no longer holds it. A publication elsewhere may
// have renumbered the requests since the list was read.
bool Finde(QSqlDatabase db, const NetzpultAntrag& zeile, int32_t& nummer, QString* error);
// Deletes the request that `zeile` shows, wherever its number went; `geloescht` false when the
// portal no longer holds it.
bool Loesche(QSqlDatabase db, const NetzpultAntrag& zeile, bool& geloescht, QString* error);

} // namespace NetzpultAntraege

#pragma once

#include "NetzpultAntrag.h"

#include <QSqlDatabase>
#include <QVector>

// Reading and deleting the portal's waiting requests. No widgets.
namespace NetzpultAntraege {

// All requests (BRESERVIERT = 0) with their wished room and room type, in server order.
bool Lese(QSqlDatabase db, QVector<NetzpultAntrag>& antraege, QString* error);
// The request with number `wunschId`; `gefunden` false when there is none.
bool LeseEinen(QSqlDatabase db, int32_t wunschId, NetzpultAntrag& antrag, bool& gefunden,
               QString* error);
// Deletes the request with number `wunschId`.
bool Loesche(QSqlDatabase db, int32_t wunschId, QString* error);

} // namespace NetzpultAntraege

#pragma once

#include "DatenbankOrt.h"
#include "RecColl.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

// Publishing the reservation's room types, rooms and bookings to the portal. No widgets.
namespace NetzpultPublish {

// What one publication copies.
struct Daten {
    CBelegungRecColl belegungen; // bookings not archived
    CAnzeigeRecColl raeume;      // rooms as published
    CRaumartRecColl raumarten;
};

// Reads the data through an own CRvDb on the reservation database `ort`.
bool LeseDaten(const DatenbankOrt& ort, Daten& daten, QString* error);

// Called after each block of rows written: rows done so far and rows in all.
using Fortschritt = std::function<void(qint64 erledigt, qint64 gesamt)>;

// Rows per multi-row INSERT.
inline constexpr int kBlockZeilen = 400;

// Replaces the published room types, rooms and bookings on the portal and renumbers the waiting
// requests 1, 2, 3 ... in the order the server returns them. All in one transaction: a reader
// sees the previous publication or the new one, and a failure leaves the previous one in place.
bool Veroeffentliche(QSqlDatabase db, const Daten& daten, const Fortschritt& fortschritt,
                     QString* error);

// Renumbers the requests (rows with BRESERVIERT = 0, or only those with status "B" or "K")
// 1, 2, 3 ... in the order the server returns them, in a transaction of its own.
bool NummeriereAntraege(QSqlDatabase db, bool nurNeuUndAenderung, QString* error);

// The columns of a published booking and their values in that order.
const QStringList& BelegungsSpalten();
QVariantList BelegungsWerte(const CBelegungRec& rec);

// Writes `anzahl` rows into `table` with multi-row INSERT statements of kBlockZeilen rows,
// values bound; `werte(i)` gives the values of row i in column order. No transaction of its own.
bool EinfuegenInBloecken(QSqlDatabase db, const QString& table, const QStringList& spalten,
                         qint64 anzahl, const std::function<QVariantList(qint64)>& werte,
                         const std::function<void(qint64)>& nachBlock, QString* error);

} // namespace NetzpultPublish

#pragma once

#include "Records.h"

#include <QString>
#include <QVector>
#include <cstdint>

// The reads of the portal publication: bookings, rooms and room types as the portal shows them,
// in blocks by key, so a project of any size is copied in constant memory. Each returns false
// and fills `error` with the driver's text when the database fails.
namespace WebQueries {

// Up to `anzahl` bookings that are not archived with a Rec_ID above `nachId`, by Rec_ID.
bool BelegungenAb(const QString& connection, int32_t nachId, int anzahl, QVector<CBelegungRec>& out,
                  QString* error);
// Those of the bookings `ids` that exist and are not archived.
bool Belegungen(const QString& connection, const QVector<int32_t>& ids, QVector<CBelegungRec>& out,
                QString* error);
// The highest Rec_ID of all bookings, 0 for none: a measure of the project's size at no cost.
bool HoechsteBelegung(const QString& connection, int32_t& id, QString* error);

// The rooms of the room types `artIds`.
bool RaeumeDerArten(const QString& connection, const QVector<int32_t>& artIds,
                    QVector<int32_t>& out, QString* error);
// All room types (`ids` null) or those of `ids`, by lId.
bool Raumarten(const QString& connection, const QVector<int32_t>* ids, QVector<CRaumartRec>& out,
               QString* error);

} // namespace WebQueries

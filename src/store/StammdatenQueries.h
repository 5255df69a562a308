#pragma once

#include <QString>
#include <cstdint>

// Reads of the master-data forms on the direct connection (gDb). Each returns false and fills
// `error` with the driver's text when the database fails.
namespace StammdatenQueries {

// How many bookings a room has, archived ones included, and how many of them end on `abTag` or
// later.
bool ZaehleBelegungen(const QString& connection, int32_t raumId, double abTag, int& gesamt,
                      int& zukunft, QString* error);

} // namespace StammdatenQueries

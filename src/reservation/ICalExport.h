#pragma once

#include "Records.h"

#include <QString>
#include <QVector>
#include <cstdint>
#include <functional>

class CSerienFkt;

// Bookings as an iCalendar file (RFC 5545) for the user's own calendar program. Times are local
// times of the zone Europe/Berlin, whose VTIMEZONE is included. Each booking keeps its UID from
// one export to the next, so a calendar updates its entry instead of adding a second one.
//
// The bookings of an order that share room and times become one VEVENT: with an RRULE (and
// EXDATE for the dates left out) when their dates follow a rule, else with RDATE. A booking of
// the order on a date of that rule but in another room or at other times replaces that date
// (same UID, RECURRENCE-ID); any other booking gets a VEVENT of its own.
namespace ICalExport {

// The room's name for LOCATION.
using RaumName = std::function<QString(int32_t raumId)>;

// The file's text. `regel`, when given, is the series rule the bookings were made from; without
// it a rule is recognised from the dates (every n days or weeks).
QString IcsText(const QVector<CBelegungRec>& buchungen, const RaumName& raumName,
                const CSerienFkt* regel = nullptr);

// The text for one stored booking, or for all bookings of an order, read from the open project
// (gRvDb). False with `error` when nothing could be read.
bool IcsFuerBelegung(int32_t recId, QString& text, QString* error = nullptr);
bool IcsFuerAuftrag(int32_t lAuftrNr, QString& text, QString* error = nullptr,
                    const CSerienFkt* regel = nullptr);

// Helpers of the format, public for their tests: TEXT escaping and folding a content line into
// lines of at most 75 octets without cutting a UTF-8 sequence (lines end in CRLF).
QString EscapeText(const QString& text);
QByteArray FoldLine(const QByteArray& line);

} // namespace ICalExport

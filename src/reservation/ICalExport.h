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

// How the bookings of an order form a series: the one-day bookings in the order's most used
// room at the first one's times, the dates of the rule they follow (the series rule when it
// covers every booked date, else every n days or weeks recognised from the dates), the bookings
// on a date of that rule in another room or at other times, and the rule's dates left out.
struct Auftragsserie {
    QVector<CBelegungRec> buchungen; // by start
    QVector<int> serie;              // indexes into buchungen; empty = no series
    QVector<int> ersatz;             // bookings that replace a date of the rule
    QString rrule;                   // with COUNT; empty = the dates follow no rule
    QVector<int64_t> regelTage;      // day numbers of the rule's dates
    QVector<int64_t> ausgelassen;    // dates of the rule without a booking
};
Auftragsserie Zerlege(const QVector<CBelegungRec>& buchungen, const CSerienFkt* regel = nullptr);

// The file's text. `regel`, when given, is the series rule the bookings were made from.
QString IcsText(const QVector<CBelegungRec>& buchungen, const RaumName& raumName,
                const CSerienFkt* regel = nullptr);

// The room names of the open project (gRvDb), each read once.
RaumName ProjektRaeume();
// Every booking of the order `lAuftrNr`, or with 0 the booking `recId`, as stored in the open
// project (gRvDb). False with `error` when nothing could be read.
bool ReadGespeichert(int32_t lAuftrNr, int32_t recId, QVector<CBelegungRec>& out,
                     QString* error = nullptr);

// Helpers of the format, public for their tests: TEXT escaping and folding a content line into
// lines of at most 75 octets without cutting a UTF-8 sequence (lines end in CRLF).
QString EscapeText(const QString& text);
QByteArray FoldLine(const QByteArray& line);

} // namespace ICalExport

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The one date type of the system: days since 30.12.1899 with the time of day as fraction,
// exactly as the records and the database hold it. 31.12.9999 stands for "no date".
class TovoDate {
public:
    static constexpr double kNoDate = 2958465.0; // 31.12.9999
    static constexpr double kNullDate = 0.0;     // 30.12.1899
    static constexpr double kMinDay = -657434.0; // 1.1.100, the first day a date can name

    constexpr TovoDate() = default;
    constexpr explicit TovoDate(double value) : m_value(value) {}

    static TovoDate fromDate(const QDate& date);
    static TovoDate fromTime(const QTime& time);
    static TovoDate fromDateTime(const QDateTime& dateTime);
    // Invalid parts (month 13, day 0 ...) are rolled over as the calendar would: 32.01. is 01.02.
    static TovoDate fromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    static TovoDate today();
    static TovoDate now();
    static TovoDate noDate() { return TovoDate(kNoDate); }

    // Reads German date and time texts: "14.03.2026", "14.3.26", "14.03.2026 08:30", "8:30",
    // also ISO "2026-03-14". Returns false for anything that is not a date or a time.
    static bool parse(const QString& text, TovoDate& out);

    constexpr double value() const { return m_value; }
    constexpr operator double() const { return m_value; }

    // True for 31.12.9999 and for day numbers outside 1.1.100 to 31.12.9999.
    bool isNoDate() const;
    static bool inCalendar(double value);
    TovoDate datePart() const;
    TovoDate timePart() const;

    QDate toQDate() const;
    QTime toQTime() const;
    QDateTime toQDateTime() const;

    int year() const { return toQDate().year(); }
    int month() const { return toQDate().month(); }
    int day() const { return toQDate().day(); }
    int hour() const { return toQTime().hour(); }
    int minute() const { return toQTime().minute(); }
    int second() const { return toQTime().second(); }
    // Weekday counted from Sunday = 1 to Saturday = 7.
    int weekdaySundayFirst() const;
    // Weekday counted from Monday = 1 to Sunday = 7.
    int weekdayMondayFirst() const;

    TovoDate addDays(double days) const { return TovoDate(m_value + days); }
    TovoDate addHours(double hours) const { return TovoDate(m_value + hours / 24.0); }
    TovoDate addMinutes(double minutes) const { return TovoDate(m_value + minutes / 1440.0); }
    // Month arithmetic: the day is clamped to the last day of the target month (31.01. + 1 ->
    // 28/29.02.).
    TovoDate addMonths(int months) const;
    TovoDate addYears(int years) const { return addMonths(years * 12); }

    // Format with the usual pattern letters (dd, d, mm/MM for month, yyyy, yy, hh, nn, ss, dddd,
    // mmmm): both the Windows style ("dd.mm.yyyy", "hh:nn") and Qt's own are understood.
    // A value outside the calendar gives "".
    QString format(const QString& pattern) const;
    QString toShortDateText() const { return format(QStringLiteral("dd.MM.yyyy")); }
    // SQL date text: month/day/four-digit year without leading zeros (3/14/2026).
    QString sqlDateText() const;
    // The same between "#" signs, the Jet literal form.
    QString jetLiteral() const { return QLatin1Char('#') + sqlDateText() + QLatin1Char('#'); }

    static QString weekdayName(int mondayFirst); // 1 = "Montag"
    static QString monthName(int month);         // 1 = "Januar"

    friend constexpr bool operator==(TovoDate a, TovoDate b) { return a.m_value == b.m_value; }

private:
    double m_value = 0.0;
};

// Convenience for records that keep dates as plain doubles.
inline bool IsNoDate(double value) {
    return TovoDate(value).isNoDate();
}

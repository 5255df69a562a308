#include "TovoDate.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;

// Whole seconds of the fractional day, rounded so that 08:30 stored as a double stays 08:30.
int secondsOfDay(double value) {
    if (!std::isfinite(value))
        return 0;
    double frac = std::fabs(value - std::trunc(value));
    int secs = static_cast<int>(std::llround(frac * kSecondsPerDay));
    return secs >= 86400 ? 86399 : secs;
}
} // namespace

TovoDate TovoDate::fromDate(const QDate& date) {
    if (!date.isValid())
        return TovoDate(0.0);
    return TovoDate(static_cast<double>(kEpoch.daysTo(date)));
}

TovoDate TovoDate::fromTime(const QTime& time) {
    if (!time.isValid())
        return TovoDate(0.0);
    return TovoDate(time.msecsSinceStartOfDay() / 1000 / kSecondsPerDay);
}

TovoDate TovoDate::fromDateTime(const QDateTime& dt) {
    double d = fromDate(dt.date()).value();
    double t = fromTime(dt.time()).value();
    return TovoDate(d >= 0 ? d + t : d - t);
}

TovoDate TovoDate::fromParts(int year, int month, int day, int hour, int minute, int second) {
    // Roll months over first, then days, as DateSerial does.
    int m0 = month - 1;
    year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
    m0 = ((m0 % 12) + 12) % 12;
    QDate first(year, m0 + 1, 1);
    double d = fromDate(first).value() + (day - 1);
    double t = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
    return TovoDate(d >= 0 ? d + t : d - t); // before 1899 the time counts away from zero
}

TovoDate TovoDate::today() {
    return fromDate(QDate::currentDate());
}

TovoDate TovoDate::now() {
    QDateTime n = QDateTime::currentDateTime();
    return TovoDate(fromDate(n.date()).value() +
                    fromTime(QTime(n.time().hour(), n.time().minute(), n.time().second())).value());
}

bool TovoDate::isNoDate() const {
    // A day number outside the calendar (1.1.100 to 31.12.9999) names no date either.
    return !inCalendar(m_value) || std::trunc(m_value) == kNoDate;
}

bool TovoDate::inCalendar(double value) {
    return value >= kMinDay && value < kNoDate + 1;
}

TovoDate TovoDate::datePart() const {
    return TovoDate(std::trunc(m_value));
}

TovoDate TovoDate::timePart() const {
    return TovoDate(secondsOfDay(m_value) / kSecondsPerDay);
}

QDate TovoDate::toQDate() const {
    if (!inCalendar(m_value))
        return QDate(); // would overflow, and names no day
    // A time that rounds up to the next midnight belongs to the next day.
    double frac = std::fabs(m_value - std::trunc(m_value));
    qint64 days = static_cast<qint64>(std::trunc(m_value));
    if (std::llround(frac * kSecondsPerDay) >= 86400)
        days += m_value >= 0 ? 1 : -1;
    return kEpoch.addDays(days);
}

QTime TovoDate::toQTime() const {
    if (!std::isfinite(m_value))
        return QTime(0, 0);
    double frac = std::fabs(m_value - std::trunc(m_value));
    qint64 secs = std::llround(frac * kSecondsPerDay);
    if (secs >= 86400)
        secs = 0;
    return QTime(0, 0).addSecs(static_cast<int>(secs));
}

QDateTime TovoDate::toQDateTime() const {
    return QDateTime(toQDate(), toQTime());
}

int TovoDate::weekdaySundayFirst() const {
    return toQDate().dayOfWeek() % 7 + 1;
}

int TovoDate::weekdayMondayFirst() const {
    return toQDate().dayOfWeek();
}

TovoDate TovoDate::addMonths(int months) const {
    // QDate::addMonths clamps to the last day of the month, which is what callers rely on.
    QDate d = toQDate().addMonths(months);
    double t = timePart().value();
    double base = fromDate(d).value();
    return TovoDate(base >= 0 ? base + t : base - t);
}

QString TovoDate::format(const QString& pattern) const {
    // Windows' German short names, which differ from Qt's ("Mrz" and "Sa", not "März" and "Sa.");
    // settings keys are built from them.
    static const char* const kMonthShort[] = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    static const char* const kDayShort[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    auto literal = [](const char* text) -> QString {
        return QLatin1Char('\'') + QLatin1String(text) + QLatin1Char('\'');
    };

    const QDate date = toQDate();
    // The pattern as runs of one repeated character.
    struct Run {
        QChar c;
        int n;
    };
    QList<Run> runs;
    for (QChar c : pattern) {
        if (!runs.isEmpty() && runs.last().c == c)
            ++runs.last().n;
        else
            runs.append({c, 1});
    }
    // The nearest letter run before or after run i, skipping separators.
    auto letterNear = [&](qsizetype i, int step) {
        for (i += step; i >= 0 && i < runs.size(); i += step)
            if (runs[i].c.isLetter())
                return runs[i].c.toLower();
        return QChar();
    };

    if (!date.isValid())
        return QString();

    // Translate Windows-style letters to Qt's: "m"/"mm" is minutes right after an hour or right
    // before seconds and the month elsewhere; "n"/"nn" are minutes. Qt wants "MM" for months and
    // "mm" for minutes.
    QString p;
    p.reserve(pattern.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        const auto [c, n] = runs[i];
        if (c == QLatin1Char('m') && n <= 2 &&
            (letterNear(i, -1) == QLatin1Char('h') || letterNear(i, 1) == QLatin1Char('s')))
            p += QString(n, QLatin1Char('m'));
        else if ((c == QLatin1Char('m') || c == QLatin1Char('M')) && n == 3)
            p += literal(kMonthShort[date.month() - 1]);
        else if (c == QLatin1Char('m'))
            p += QString(n, QLatin1Char('M'));
        else if (c == QLatin1Char('n'))
            p += QString(n, QLatin1Char('m'));
        else if (c == QLatin1Char('d') && n == 3)
            p += literal(kDayShort[date.dayOfWeek() - 1]);
        else
            p += QString(n, c);
    }
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(toQDateTime(), p);
}

QString TovoDate::sqlDateText() const {
    QDate d = toQDate();
    return QStringLiteral("%1/%2/%3")
        .arg(d.month())
        .arg(d.day())
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString TovoDate::weekdayName(int mondayFirst) {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.dayName(mondayFirst, QLocale::LongFormat);
}

QString TovoDate::monthName(int month) {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.monthName(month, QLocale::LongFormat);
}

bool TovoDate::parse(const QString& input, TovoDate& out) {
    const QString text = input.trimmed();
    if (text.isEmpty())
        return false;
    static const QRegularExpression rxGerman(QStringLiteral(
        R"(^(\d{1,2})\.(\d{1,2})\.(\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    static const QRegularExpression rxIso(QStringLiteral(
        R"(^(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{1,2})(?::(\d{1,2}))?)?$)"));
    static const QRegularExpression rxTime(
        QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?$)"));

    auto build = [&](int y, int m, int d, const QString& hh, const QString& mi, const QString& ss) {
        // Years below 100 are typing errors ("14.03.0030"), not dates of antiquity.
        QDate date(y, m, d);
        if (!date.isValid() || y < 100)
            return false;
        int h = hh.isEmpty() ? 0 : hh.toInt();
        int n = mi.isEmpty() ? 0 : mi.toInt();
        int s = ss.isEmpty() ? 0 : ss.toInt();
        if (h > 23 || n > 59 || s > 59)
            return false;
        out = fromParts(y, m, d, h, n, s);
        return true;
    };
    if (auto m = rxGerman.match(text); m.hasMatch()) {
        int y = m.captured(3).toInt();
        if (m.captured(3).size() == 2)
            y += y < 30 ? 2000 : 1900; // two-digit years as Windows reads them
        return build(y, m.captured(2).toInt(), m.captured(1).toInt(), m.captured(4), m.captured(5),
                     m.captured(6));
    }
    if (auto m = rxIso.match(text); m.hasMatch())
        return build(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                     m.captured(4), m.captured(5), m.captured(6));
    if (auto m = rxTime.match(text); m.hasMatch()) {
        int h = m.captured(1).toInt(), n = m.captured(2).toInt(), s = m.captured(3).toInt();
        if (h > 23 || n > 59 || s > 59)
            return false;
        out = TovoDate((h * 3600.0 + n * 60.0 + s) / kSecondsPerDay);
        return true;
    }
    return false;
}

#include "ZeitPlanGeometry.h"

#include "TovoDate.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kHour = 1.0 / 24.0;
// The day view shows 14 hours around its middle: 06:00 to 20:00 for the usual 13:00.
constexpr double kHalfDay = 7.0 * kHour;

double firstOfMonth(double d) {
    TovoDate t(d);
    return TovoDate::fromParts(t.year(), t.month(), 1).value();
}
} // namespace

ZeitPlanGeometry::Span ZeitPlanGeometry::SpanFor(int zeitraum, double a) {
    const double day = std::floor(a);
    switch (zeitraum) {
    case Tag:
        return {a - kHalfDay, a + kHalfDay};
    case Monat:
        return {day - 15, day + 16};
    case Jahr: {
        double start = firstOfMonth(TovoDate(day).addMonths(-6));
        return {start, TovoDate(start).addMonths(12).value()};
    }
    case Woche:
    default:
        return {day - 3, day + 4};
    }
}

double ZeitPlanGeometry::AnzeigedatumFor(int zeitraum, double von) {
    switch (zeitraum) {
    case Tag:
        return von + kHalfDay;
    case Monat:
        return std::floor(von) + 15;
    case Jahr:
        return TovoDate(std::floor(von)).addMonths(6).value();
    case Woche:
    default:
        return std::floor(von) + 3;
    }
}

double ZeitPlanGeometry::Blaettern(int zeitraum, double a, int schritt, bool blockschritt) {
    const int sign = schritt <= 2 ? -1 : 1;
    const bool far = schritt == 1 || schritt == 4;
    switch (zeitraum) {
    case Tag:
        return a + sign * (far ? 1.0 : blockschritt ? 0.5 : kHour);
    case Monat:
        if (far)
            return TovoDate(a).addMonths(sign).value();
        return a + sign * (blockschritt ? 15.0 : 7.0);
    case Jahr:
        return TovoDate(a).addMonths(sign * (far ? 12 : blockschritt ? 6 : 1)).value();
    case Woche:
    default:
        return a + sign * (far ? 7.0 : blockschritt ? 3.0 : 1.0);
    }
}

QVector<ZeitPlanGeometry::Tick> ZeitPlanGeometry::Ticks(int zeitraum, Span span) {
    QVector<Tick> ticks;
    switch (zeitraum) {
    case Tag: {
        for (double t = std::ceil(span.start * 24 - 1e-7) / 24; t < span.end - 1e-9; t += kHour) {
            TovoDate d(t);
            ticks.append({t, QStringLiteral("%1:00").arg(d.hour()), d.hour() == 0});
        }
        break;
    }
    case Woche:
        for (double t = std::ceil(span.start - 1e-9); t < span.end - 1e-9; t += 1.0) {
            TovoDate d(t);
            ticks.append({t,
                          TovoDate::weekdayName(d.weekdayMondayFirst()).left(2) +
                              d.format(QStringLiteral(" dd.MM.")),
                          true});
            for (int h = 6; h < 24; h += 6)
                ticks.append({t + h * kHour, QString(), false});
        }
        break;
    case Monat:
        for (double t = std::ceil(span.start - 1e-9); t < span.end - 1e-9; t += 1.0) {
            TovoDate d(t);
            ticks.append({t, QString::number(d.day()), d.day() == 1});
        }
        break;
    case Jahr:
    default:
        for (double t = firstOfMonth(span.start); t < span.end - 1e-9;
             t = TovoDate(t).addMonths(1).value()) {
            if (t < span.start - 1e-9)
                continue;
            TovoDate d(t);
            ticks.append({t, TovoDate::monthName(d.month()).left(3), d.month() == 1});
        }
        break;
    }
    return ticks;
}

QVector<ZeitPlanGeometry::Tick> ZeitPlanGeometry::GroupTicks(int zeitraum, Span span) {
    QVector<Tick> ticks;
    switch (zeitraum) {
    case Tag:
        for (double t = std::floor(span.start); t < span.end; t += 1.0) {
            TovoDate d(t);
            ticks.append({std::max(t, span.start),
                          TovoDate::weekdayName(d.weekdayMondayFirst()) +
                              d.format(QStringLiteral(", dd.MM.yyyy")),
                          true});
        }
        break;
    case Woche:
    case Monat: {
        // Weeks start on Monday; label with the ISO week number.
        double t = std::floor(span.start);
        t -= TovoDate(t).weekdayMondayFirst() - 1;
        for (; t < span.end; t += 7.0) {
            int week = TovoDate(t).toQDate().weekNumber();
            ticks.append({std::max(t, span.start), QStringLiteral("KW %1").arg(week), true});
        }
        break;
    }
    case Jahr:
    default:
        for (int y = TovoDate(span.start).year(); y <= TovoDate(span.end - 1e-9).year(); ++y) {
            double t = TovoDate::fromParts(y, 1, 1).value();
            ticks.append({std::max(t, span.start), QString::number(y), true});
        }
        break;
    }
    return ticks;
}

double ZeitPlanGeometry::timeToX(double time) const {
    const double len = m_span.end - m_span.start;
    if (len <= 0)
        return m_x0;
    return m_x0 + (time - m_span.start) / len * (m_width - m_x0);
}

double ZeitPlanGeometry::xToTime(double x) const {
    const double w = m_width - m_x0;
    if (w <= 0)
        return m_span.start;
    return m_span.start + (x - m_x0) / w * (m_span.end - m_span.start);
}

int ZeitPlanGeometry::rowAt(int y) const {
    if (y < m_headerHeight || m_rowHeight <= 0)
        return -1;
    return (y - m_headerHeight + m_rowOffset) / m_rowHeight;
}

void ZeitPlanGeometry::visibleRows(int viewportHeight, int rowCount, int& first, int& last) const {
    if (m_rowHeight <= 0 || rowCount <= 0) {
        first = 0;
        last = -1;
        return;
    }
    first = std::clamp(m_rowOffset / m_rowHeight, 0, rowCount - 1);
    last = std::clamp((viewportHeight - m_headerHeight + m_rowOffset - 1) / m_rowHeight, 0,
                      rowCount - 1);
    if (viewportHeight <= m_headerHeight)
        last = first - 1;
}

double ZeitPlanGeometry::WholeHour(double time) {
    TovoDate d(time);
    return d.datePart().value() + d.hour() * kHour;
}

ZeitPlanGeometry::Rad ZeitPlanGeometry::RadWirkung(int dx, int dy, bool shift, bool ctrl) {
    // Some systems turn Shift+wheel into a horizontal turn themselves.
    const int haupt = dy != 0 ? dy : dx;
    const int raste = haupt / 120;
    if (raste == 0)
        return {};
    if (ctrl)
        return {Rad::Zeilenhoehe, raste};
    if (shift || dy == 0)
        return {Rad::Zeitraum, -raste};
    return {Rad::Zeilen, -raste};
}

int ZeitPlanGeometry::ZeilenZusatz(int basis, int zusatz, int schritte) {
    const int hoehe = std::clamp(basis + zusatz + 4 * schritte, 16, 3 * basis);
    return hoehe - basis;
}

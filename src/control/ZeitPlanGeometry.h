#pragma once

#include <QString>
#include <QVector>

// Widget-free geometry of the time plan: which span a period shows around the display date,
// time to x and back, rows to y and back, and the header ticks. Times are day numbers.
class ZeitPlanGeometry {
public:
    enum Zeitraum { Tag = 1, Woche = 2, Monat = 3, Jahr = 7 };

    // The visible span [start, end) of a period around the display date.
    struct Span {
        double start = 0.0;
        double end = 0.0;
    };
    static Span SpanFor(int zeitraum, double anzeigedatum);
    // The display date that makes a period start at `von` (inverse of SpanFor's start).
    static double AnzeigedatumFor(int zeitraum, double von);
    // The display date after a step: 1 far back, 2 one step back, 3 one step forward, 4 far
    // forward. A far step moves a whole period; a single step one unit (hour, day, week, month),
    // or half a period when `blockschritt` is set.
    static double Blaettern(int zeitraum, double anzeigedatum, int schritt, bool blockschritt);

    // Header ticks: position and label of each division of the time axis.
    struct Tick {
        double time = 0.0;
        QString label;
        bool major = false; // starts a day (week, month view) or a month (year view)
    };
    static QVector<Tick> Ticks(int zeitraum, Span span);
    // Second header line: the bigger units (days in the day view, weeks in week and month view,
    // years in the year view).
    static QVector<Tick> GroupTicks(int zeitraum, Span span);

    // Layout of the drawing area.
    void setSpan(Span span) { m_span = span; }
    Span span() const { return m_span; }
    void setArea(int roomColumnWidth, int totalWidth) {
        m_x0 = roomColumnWidth;
        m_width = totalWidth;
    }
    void setRows(int headerHeight, int rowHeight, int rowOffset = 0) {
        m_headerHeight = headerHeight;
        m_rowHeight = rowHeight;
        m_rowOffset = rowOffset;
    }
    int roomColumnWidth() const { return m_x0; }
    int headerHeight() const { return m_headerHeight; }
    int rowHeight() const { return m_rowHeight; }

    // x of a time; times outside the span map beyond the time area.
    double timeToX(double time) const;
    double xToTime(double x) const;
    // Row index at y (-1 in the header or above), and the top of a row.
    int rowAt(int y) const;
    int rowTop(int row) const { return m_headerHeight + row * m_rowHeight - m_rowOffset; }
    // Rows [first, last] at least partly visible in a viewport of the given height.
    void visibleRows(int viewportHeight, int rowCount, int& first, int& last) const;

    // The start of the whole hour that contains the time (a free slot is booked from there).
    static double WholeHour(double time);

    // What a turn of the mouse wheel does: the plain wheel scrolls the rooms, Shift (or a
    // horizontal wheel) moves the period, Ctrl changes the row height. `schritte` counts whole
    // notches (120 units of angle): rows down, period later, rows taller when positive.
    struct Rad {
        enum Art { Nichts, Zeilen, Zeitraum, Zeilenhoehe };
        Art art = Nichts;
        int schritte = 0;
    };
    static Rad RadWirkung(int dx, int dy, bool shift, bool ctrl);
    // Rows scrolled per notch.
    static constexpr int kZeilenJeRaste = 3;
    // The extra row height after `schritte` notches: 4 pixels per notch, so that a row stays
    // between 16 pixels and three times its basic height.
    static int ZeilenZusatz(int basis, int zusatz, int schritte);

private:
    Span m_span;
    int m_x0 = 160;
    int m_width = 800;
    int m_headerHeight = 40;
    int m_rowHeight = 22;
    int m_rowOffset = 0;
};

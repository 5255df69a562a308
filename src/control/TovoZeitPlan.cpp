#include "TovoZeitPlan.h"

#include "TovoDate.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kHeaderHeight = 40;

// Windows colour values keep red in the low byte.
QColor fromWindowsColor(int64_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

QString zeitText(double von, double bis) {
    TovoDate v(von), b(bis);
    if (v.datePart() == b.datePart())
        return v.format(QStringLiteral("dd.MM.yyyy hh:mm")) + QStringLiteral(" – ") +
               b.format(QStringLiteral("hh:mm"));
    return v.format(QStringLiteral("dd.MM.yyyy hh:mm")) + QStringLiteral(" – ") +
           b.format(QStringLiteral("dd.MM.yyyy hh:mm"));
}
} // namespace

TovoZeitPlan::TovoZeitPlan(QWidget* parent) : QWidget(parent) {
    m_anzeigedatum = TovoDate::today();
    setMouseTracking(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(kHeaderHeight + 20);
    setFocusPolicy(Qt::ClickFocus);
}

void TovoZeitPlan::SetBreiteErsteSpalte(int32_t twips) {
    m_breiteErsteSpalte = std::max(0, twips);
    update();
}

void TovoZeitPlan::SetAnzeigedatum(double d) {
    m_anzeigedatum = d;
    update();
}

double TovoZeitPlan::DatumVon() const {
    if (overviewMode())
        return m_bereichVon;
    return ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum).start;
}

void TovoZeitPlan::SetDatumVon(double d) {
    // The overview begins at its own date; its display date keeps marking the main plan's span.
    if (overviewMode())
        m_bereichVon = std::floor(d);
    else
        m_anzeigedatum = ZeitPlanGeometry::AnzeigedatumFor(m_zeitraum, d);
    update();
}

double TovoZeitPlan::DatumBis() const {
    if (overviewMode())
        return TovoDate(m_bereichVon).addMonths(m_bereichAnzahl).value() - 1.0;
    // The span ends exclusively; the last shown moment lies a second before.
    return ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum).end - 1.0 / 86400.0;
}

void TovoZeitPlan::SetZeilenart(int32_t v) {
    m_zeilenart = v;
    SetZeilenOffset(m_rowOffset);
    update();
    Q_EMIT ResizeControl();
}

void TovoZeitPlan::SetZeitraum(int32_t v) {
    m_zeitraum = v;
    update();
}

int TovoZeitPlan::rowHeight() const {
    return m_zeilenart == 3 ? 36 : 22;
}

int TovoZeitPlan::InhaltHoehe() const {
    if (overviewMode())
        return height();
    return kHeaderHeight + static_cast<int>(m_raeume.size()) * rowHeight();
}

void TovoZeitPlan::SetZeilenOffset(int pixels) {
    const int maxOffset = std::max(0, InhaltHoehe() - height());
    m_rowOffset = std::clamp(pixels, 0, maxOffset);
    update();
}

ZeitPlanGeometry TovoZeitPlan::Geometry() const {
    ZeitPlanGeometry g;
    g.setSpan(ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum));
    g.setArea(std::min(roomColumnPixels(), std::max(0, width() - 40)), width());
    g.setRows(kHeaderHeight, rowHeight(), m_rowOffset);
    return g;
}

void TovoZeitPlan::Laden(const ZeitPlanRaumListe& raeume, const ZeitPlanTerminListe& termine,
                         const void*) {
    m_raeume = raeume;
    m_termine = termine;
    rebuildIndex();
    rebuildLoad();
    SetZeilenOffset(m_rowOffset);
    update();
    if (InhaltHoehe() != m_lastContentHeight) {
        m_lastContentHeight = InhaltHoehe();
        Q_EMIT ResizeControl();
    }
}

void TovoZeitPlan::rebuildIndex() {
    const int rows = static_cast<int>(m_raeume.size());
    QHash<int64_t, int> rowOfRoom;
    rowOfRoom.reserve(rows);
    for (int r = 0; r < rows; ++r)
        rowOfRoom.insert(m_raeume[r].lId, r);
    m_barsByRow.assign(rows, {});
    m_maxDauerByRow.assign(rows, 0.0);
    for (int i = 0; i < m_termine.size(); ++i) {
        const ZeitPlanTermin& t = m_termine[i];
        auto it = rowOfRoom.constFind(t.lStammId);
        if (it == rowOfRoom.constEnd())
            continue;
        m_barsByRow[*it].push_back(i);
        m_maxDauerByRow[*it] = std::max(m_maxDauerByRow[*it], t.DtBis - t.DtVon);
    }
    for (auto& bars : m_barsByRow)
        std::stable_sort(bars.begin(), bars.end(),
                         [&](int a, int b) { return m_termine[a].DtVon < m_termine[b].DtVon; });
}

template <class F> void TovoZeitPlan::forBarsInRow(int row, double from, double to, F&& f) const {
    if (row < 0 || row >= static_cast<int>(m_barsByRow.size()))
        return;
    const auto& bars = m_barsByRow[row];
    // A bar overlapping [from, to) starts before `to` and no earlier than from - longest bar.
    const double earliest = from - m_maxDauerByRow[row];
    auto it = std::lower_bound(bars.begin(), bars.end(), earliest,
                               [&](int i, double v) { return m_termine[i].DtVon < v; });
    for (; it != bars.end() && m_termine[*it].DtVon < to; ++it)
        if (m_termine[*it].DtBis > from)
            f(*it);
}

void TovoZeitPlan::Zeichnen() {
    update();
}

void TovoZeitPlan::Bereich(double datum, int anzahlMonate) {
    m_bereichVon = std::floor(datum);
    m_bereichAnzahl = std::max(0, anzahlMonate);
    rebuildLoad();
    update();
}

void TovoZeitPlan::rebuildLoad() {
    m_loadByDay.clear();
    if (!overviewMode())
        return;
    const double von = m_bereichVon;
    const double bis = TovoDate(von).addMonths(m_bereichAnzahl).value();
    const int days = static_cast<int>(bis - von);
    if (days <= 0)
        return;
    std::vector<double> booked(days, 0.0);
    for (const ZeitPlanTermin& t : m_termine) {
        if (t.lFarbe != kFarbeBelegung || t.DtBis <= von || t.DtVon >= bis)
            continue;
        const double a = std::max(t.DtVon, von), b = std::min(t.DtBis, bis);
        for (double d = std::floor(a); d < b; d += 1.0) {
            const double part = std::min(b, d + 1.0) - std::max(a, d);
            const int idx = static_cast<int>(d - von);
            if (idx >= 0 && idx < days)
                booked[idx] += part;
        }
    }
    // A room booked for ten hours counts as a full day.
    const double capacity = std::max<qsizetype>(1, m_raeume.size()) * (10.0 / 24.0);
    m_loadByDay.resize(days);
    for (int i = 0; i < days; ++i)
        m_loadByDay[i] = static_cast<float>(std::min(1.0, booked[i] / capacity));
}

void TovoZeitPlan::Blaettern(int schritt) {
    if (schritt < 1 || schritt > 4)
        return;
    m_anzeigedatum =
        ZeitPlanGeometry::Blaettern(m_zeitraum, m_anzeigedatum, schritt, m_blockschritt);
    update();
}

// ---- painting ----

void TovoZeitPlan::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (overviewMode())
        paintOverview(p);
    else
        paintPlan(p, event->rect());
}

void TovoZeitPlan::paintPlan(QPainter& p, const QRect& clip) {
    const ZeitPlanGeometry g = Geometry();
    const auto span = g.span();
    const int x0 = g.roomColumnWidth();
    const int rh = g.rowHeight();
    const QColor gridMinor = palette().mid().color().lighter(150);
    const QColor gridMajor = palette().mid().color();
    const QColor weekend(0xF3, 0xF3, 0xF8);
    const QFontMetrics fm(font());

    int first = 0, last = -1;
    g.visibleRows(height(), static_cast<int>(m_raeume.size()), first, last);

    // Rows: alternating background, weekends shaded in the week and month views.
    p.save();
    p.setClipRect(QRect(0, kHeaderHeight, width(), height() - kHeaderHeight) & clip);
    for (int r = first; r <= last; ++r) {
        const QRect row(0, g.rowTop(r), width(), rh);
        if (r % 2)
            p.fillRect(row, palette().alternateBase());
    }
    if (m_zeitraum == Woche || m_zeitraum == Monat) {
        for (double d = std::floor(span.start); d < span.end; d += 1.0) {
            const int wd = TovoDate(d).weekdayMondayFirst();
            if (wd < 6)
                continue;
            const int xa = static_cast<int>(g.timeToX(std::max(d, span.start)));
            const int xb = static_cast<int>(g.timeToX(std::min(d + 1.0, span.end)));
            p.fillRect(QRect(xa, kHeaderHeight, xb - xa, height()), weekend);
        }
    }
    const auto ticks = ZeitPlanGeometry::Ticks(m_zeitraum, span);
    for (const auto& t : ticks) {
        const int x = static_cast<int>(g.timeToX(t.time));
        p.setPen(t.major ? gridMajor : gridMinor);
        p.drawLine(x, kHeaderHeight, x, height());
    }
    p.setPen(gridMinor);
    for (int r = first; r <= last; ++r)
        p.drawLine(0, g.rowTop(r) + rh - 1, width(), g.rowTop(r) + rh - 1);

    // Bars of the visible rows only: painting costs what is shown, not what is loaded.
    p.setClipRect(QRect(x0, kHeaderHeight, width() - x0, height() - kHeaderHeight) & clip);
    const double pxPerDay = (width() - x0) / std::max(1e-9, span.end - span.start);
    for (int r = first; r <= last; ++r) {
        const int top = g.rowTop(r) + 2;
        forBarsInRow(r, span.start, span.end, [&](int i) {
            const ZeitPlanTermin& t = m_termine[i];
            const double xa = std::max<double>(x0 - 2, g.timeToX(t.DtVon));
            const double xb = std::min<double>(width() + 2, g.timeToX(t.DtBis));
            QRectF bar(xa, top, std::max(2.0, xb - xa), rh - 5);
            const QColor fill = fromWindowsColor(t.lFarbe);
            p.fillRect(bar, fill);
            p.setPen(fill.darker(160));
            p.drawRect(bar.adjusted(0, 0, -1, 0));
            if (t.lFarbe == kFarbeBelegung && bar.width() > 24 && pxPerDay > 0) {
                p.setPen(palette().text().color());
                const QRectF textRect = bar.adjusted(3, 0, -3, 0);
                p.drawText(
                    textRect, Qt::AlignVCenter | Qt::AlignLeft,
                    fm.elidedText(t.stName, Qt::ElideRight, static_cast<int>(textRect.width())));
            }
        });
    }

    if (m_raeume.isEmpty()) {
        p.setPen(palette().placeholderText().color());
        p.drawText(QRect(x0, kHeaderHeight, width() - x0, height() - kHeaderHeight), Qt::AlignCenter,
                   QStringLiteral("Keine Räume für diese Auswahl vorhanden"));
    }

    // Today: a red line at the current moment.
    const double now = TovoDate::now();
    if (now >= span.start && now < span.end) {
        const int x = static_cast<int>(g.timeToX(now));
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
        p.drawLine(x, kHeaderHeight, x, height());
    }

    // The bar being dragged, shown on its target row.
    if (m_dragging && m_pressedBar >= 0 && m_dragRow >= 0) {
        const ZeitPlanTermin& t = m_termine[m_pressedBar];
        QRectF ghost(g.timeToX(t.DtVon), g.rowTop(m_dragRow) + 2,
                     std::max(4.0, g.timeToX(t.DtBis) - g.timeToX(t.DtVon)), rh - 5);
        p.setPen(QPen(palette().highlight().color(), 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(ghost);
    }
    p.restore();

    // Room column.
    p.save();
    p.setClipRect(QRect(0, kHeaderHeight, x0, height() - kHeaderHeight) & clip);
    p.fillRect(QRect(0, kHeaderHeight, x0, height()), palette().button());
    QFont bold = font();
    bold.setBold(m_zeilenart == 3);
    for (int r = first; r <= last; ++r) {
        const ZeitPlanRaum& raum = m_raeume[r];
        const QRect cell(4, g.rowTop(r), x0 - 8, rh);
        p.setPen(palette().buttonText().color());
        if (m_zeilenart == 3) {
            p.setFont(bold);
            p.drawText(cell.adjusted(0, 1, 0, -rh / 2), Qt::AlignVCenter | Qt::AlignLeft,
                       QFontMetrics(bold).elidedText(raum.stName, Qt::ElideRight, cell.width()));
            p.setFont(font());
            p.setPen(palette().placeholderText().color());
            p.drawText(cell.adjusted(0, rh / 2 - 1, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(raum.stInfo.isEmpty() ? raum.stZusatz : raum.stInfo,
                                     Qt::ElideRight, cell.width()));
        } else {
            p.drawText(cell, Qt::AlignVCenter | Qt::AlignLeft,
                       fm.elidedText(raum.stName, Qt::ElideRight, cell.width()));
        }
        p.setPen(gridMinor);
        p.drawLine(0, g.rowTop(r) + rh - 1, x0, g.rowTop(r) + rh - 1);
    }
    p.restore();
    p.setPen(gridMajor);
    p.drawLine(x0 - 1, 0, x0 - 1, height());

    // Header: groups (days, weeks or years) above, divisions below.
    const QRect header(0, 0, width(), kHeaderHeight);
    p.fillRect(header, palette().button());
    p.setPen(palette().buttonText().color());
    p.drawText(QRect(4, 0, x0 - 8, kHeaderHeight), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Raum"));
    p.save();
    p.setClipRect(QRect(x0, 0, width() - x0, kHeaderHeight));
    const auto groups = ZeitPlanGeometry::GroupTicks(m_zeitraum, span);
    for (int i = 0; i < groups.size(); ++i) {
        const int xa = static_cast<int>(g.timeToX(groups[i].time));
        const int xb =
            i + 1 < groups.size() ? static_cast<int>(g.timeToX(groups[i + 1].time)) : width();
        p.setPen(gridMajor);
        p.drawLine(xa, 0, xa, kHeaderHeight / 2);
        p.setPen(palette().buttonText().color());
        p.drawText(QRect(xa + 4, 0, xb - xa - 8, kHeaderHeight / 2),
                   Qt::AlignVCenter | Qt::AlignLeft,
                   fm.elidedText(groups[i].label, Qt::ElideRight, xb - xa - 8));
    }
    for (int i = 0; i < ticks.size(); ++i) {
        if (ticks[i].label.isEmpty())
            continue;
        const int xa = static_cast<int>(g.timeToX(ticks[i].time));
        int xb = width();
        for (int j = i + 1; j < ticks.size(); ++j)
            if (!ticks[j].label.isEmpty()) {
                xb = static_cast<int>(g.timeToX(ticks[j].time));
                break;
            }
        p.setPen(gridMajor);
        p.drawLine(xa, kHeaderHeight / 2, xa, kHeaderHeight);
        if (xb - xa > 14) {
            const bool isToday =
                std::floor(ticks[i].time) == std::floor(TovoDate::today().value()) &&
                (m_zeitraum == Woche || m_zeitraum == Monat);
            QFont f = font();
            f.setBold(isToday);
            p.setFont(f);
            p.setPen(isToday ? QColor(0xD0, 0x20, 0x20) : palette().buttonText().color());
            p.drawText(QRect(xa + 2, kHeaderHeight / 2, xb - xa - 4, kHeaderHeight / 2),
                       Qt::AlignCenter, ticks[i].label);
            p.setFont(font());
        }
    }
    p.restore();
    p.setPen(gridMajor);
    p.drawLine(0, kHeaderHeight - 1, width(), kHeaderHeight - 1);
}

QRect TovoZeitPlan::overviewDayRect(double day) const {
    // Months side by side, each month's days in a row of cells.
    if (m_bereichAnzahl <= 0)
        return {};
    const int monthWidth = width() / m_bereichAnzahl;
    TovoDate start(m_bereichVon), d(day);
    const int monthIndex = (d.year() - start.year()) * 12 + d.month() - start.month();
    if (monthIndex < 0 || monthIndex >= m_bereichAnzahl)
        return {};
    const int cellW = std::max(1, (monthWidth - 6) / 31);
    const int x = monthIndex * monthWidth + 3 + (d.day() - 1) * cellW;
    return QRect(x, 18, std::max(1, cellW - 1), std::max(8, height() - 22));
}

void TovoZeitPlan::paintOverview(QPainter& p) {
    const QFontMetrics fm(font());
    const int monthWidth = width() / std::max(1, m_bereichAnzahl);
    const QColor frei(0xEE, 0xF6, 0xEE);
    const QColor voll(0xE0, 0x60, 0x30);
    TovoDate start(m_bereichVon);
    const double today = std::floor(TovoDate::today().value());
    for (int m = 0; m < m_bereichAnzahl; ++m) {
        TovoDate first = start.addMonths(m);
        p.setPen(palette().text().color());
        p.drawText(
            QRect(m * monthWidth + 3, 0, monthWidth - 6, 18), Qt::AlignLeft | Qt::AlignVCenter,
            TovoDate::monthName(first.month()) + QLatin1Char(' ') + QString::number(first.year()));
        const double next = first.addMonths(1).value();
        for (double d = first.value(); d < next; d += 1.0) {
            const QRect cell = overviewDayRect(d);
            const int idx = static_cast<int>(d - m_bereichVon);
            const float load =
                idx >= 0 && idx < static_cast<int>(m_loadByDay.size()) ? m_loadByDay[idx] : 0.0f;
            // Even a little use should show: the scale rises steeply at first.
            const float level = load > 0.0f ? 0.15f + 0.85f * std::sqrt(load) : 0.0f;
            auto mix = [&](int a, int b) { return static_cast<int>(a + (b - a) * level); };
            QColor c(mix(frei.red(), voll.red()), mix(frei.green(), voll.green()),
                     mix(frei.blue(), voll.blue()));
            if (TovoDate(d).weekdayMondayFirst() >= 6 && load == 0.0f)
                c = QColor(0xE4, 0xE4, 0xE8);
            p.fillRect(cell, c);
            if (d == today) {
                p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
                p.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
    // The span the main plan shows.
    const auto span = ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum);
    const QRect a = overviewDayRect(std::floor(span.start));
    const QRect b = overviewDayRect(std::floor(span.end - 1e-6));
    if (!a.isNull() && !b.isNull() && a.top() == b.top() && b.right() >= a.left()) {
        p.setPen(QPen(palette().highlight().color(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(a.topLeft(), b.bottomRight()).adjusted(-1, -1, 1, 1));
    }
    Q_UNUSED(fm);
}

// ---- hit tests ----

int TovoZeitPlan::RaumRowAt(const QPoint& pos) const {
    const int row = Geometry().rowAt(pos.y());
    return row >= 0 && row < m_raeume.size() ? row : -1;
}

double TovoZeitPlan::ZeitAt(const QPoint& pos) const {
    return Geometry().xToTime(pos.x());
}

int TovoZeitPlan::TerminAt(const QPoint& pos) const {
    const ZeitPlanGeometry g = Geometry();
    const int row = RaumRowAt(pos);
    if (row < 0 || pos.x() < g.roomColumnWidth())
        return -1;
    const double t = g.xToTime(pos.x());
    // A narrow bar gets a few pixels of grace.
    const double grace =
        3.0 * (g.span().end - g.span().start) / std::max(1, width() - g.roomColumnWidth());
    int found = -1;
    forBarsInRow(row, t - grace, t + grace, [&](int i) {
        if (found < 0 || m_termine[i].lFarbe == kFarbeBelegung)
            found = i;
    });
    return found;
}

QRect TovoZeitPlan::TerminRect(int index) const {
    if (index < 0 || index >= m_termine.size())
        return {};
    const ZeitPlanGeometry g = Geometry();
    const ZeitPlanTermin& t = m_termine[index];
    for (int r = 0; r < m_raeume.size(); ++r)
        if (m_raeume[r].lId == t.lStammId) {
            const int xa = static_cast<int>(g.timeToX(t.DtVon));
            const int xb = static_cast<int>(g.timeToX(t.DtBis));
            return QRect(xa, g.rowTop(r) + 2, std::max(2, xb - xa), g.rowHeight() - 5);
        }
    return {};
}

QString TovoZeitPlan::ToolTipFor(int index) const {
    if (index < 0 || index >= m_termine.size())
        return {};
    const ZeitPlanTermin& t = m_termine[index];
    QString text = t.stName.trimmed();
    if (t.lFarbe == kFarbeUmbau) {
        // Set-up or clear-down: name the span and show the booking's own times too.
        text += QStringLiteral("\nUmbau/Rückbau: ") + zeitText(t.DtVon, t.DtBis);
        for (const ZeitPlanTermin& o : m_termine)
            if (o.lId == t.lId && o.lFarbe == kFarbeBelegung)
                return text + QStringLiteral("\nBelegung: ") + zeitText(o.DtVon, o.DtBis);
        return text;
    }
    return text + QLatin1Char('\n') + zeitText(t.DtVon, t.DtBis);
}

double TovoZeitPlan::TagAt(const QPoint& pos) const {
    if (!overviewMode())
        return 0.0;
    const double bis = TovoDate(m_bereichVon).addMonths(m_bereichAnzahl).value();
    for (double d = m_bereichVon; d < bis; d += 1.0) {
        const QRect r = overviewDayRect(d);
        if (pos.x() >= r.left() && pos.x() <= r.right() + 1 && pos.y() >= r.top() - 18 &&
            pos.y() <= r.bottom())
            return d;
    }
    return 0.0;
}

// ---- mouse ----

void TovoZeitPlan::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (overviewMode()) {
        const double day = TagAt(event->position().toPoint());
        if (day > 0)
            Q_EMIT ChangeAnzeige(m_zeitraum == Tag ? day + 13.0 / 24.0 : day, m_zeitraum);
        return;
    }
    m_pressedBar = TerminAt(event->position().toPoint());
    m_pressPos = event->position().toPoint();
    m_dragging = false;
    m_dragRow = -1;
}

void TovoZeitPlan::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressedBar < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    const QPoint pos = event->position().toPoint();
    if (!m_dragging && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (m_dragging) {
        m_dragRow = RaumRowAt(pos);
        update();
    }
}

void TovoZeitPlan::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int bar = m_pressedBar;
    const bool dragged = m_dragging;
    const int row = RaumRowAt(event->position().toPoint());
    m_pressedBar = -1;
    m_dragging = false;
    m_dragRow = -1;
    unsetCursor();
    update();
    if (dragged && bar >= 0 && row >= 0 && m_raeume[row].lId != m_termine[bar].lStammId) {
        // The bar goes to its new row at once; a refused move rebuilds the plan and puts it back.
        const int64_t id = m_termine[bar].lId;
        for (ZeitPlanTermin& t : m_termine)
            if (t.lId == id)
                t.lStammId = m_raeume[row].lId;
        rebuildIndex();
        update();
        Q_EMIT MoveAntrag(static_cast<int32_t>(id), QString::number(m_raeume[row].lId));
    }
}

void TovoZeitPlan::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || overviewMode())
        return;
    const QPoint pos = event->position().toPoint();
    m_pressedBar = -1;
    const int bar = TerminAt(pos);
    if (bar >= 0) {
        Q_EMIT SelectAntrag(static_cast<int32_t>(m_termine[bar].lId));
        return;
    }
    const int row = RaumRowAt(pos);
    if (row >= 0 && pos.x() >= Geometry().roomColumnWidth())
        Q_EMIT FreeSelected(ZeitPlanGeometry::WholeHour(ZeitAt(pos)),
                            static_cast<int32_t>(m_raeume[row].lId));
}

void TovoZeitPlan::wheelEvent(QWheelEvent* event) {
    if (overviewMode() || !m_vscroll || !m_vscroll->isEnabled()) {
        event->ignore();
        return;
    }
    const int steps = event->angleDelta().y() / 120;
    m_vscroll->setValue(m_vscroll->value() - steps * m_vscroll->singleStep() * 3);
    event->accept();
}

bool TovoZeitPlan::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int bar = overviewMode() ? -1 : TerminAt(help->pos());
        if (bar >= 0)
            QToolTip::showText(help->globalPos(), ToolTipFor(bar), this, TerminRect(bar));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void TovoZeitPlan::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetZeilenOffset(m_rowOffset);
    Q_EMIT ResizeControl();
}

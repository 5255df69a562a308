// Painting of the time plan: the rows with their bars, the header, and the month overview.
#include "TovoZeitPlan.h"

#include "Feiertage.h"
#include "TovoDate.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
// Windows colour values keep red in the low byte.
QColor fromWindowsColor(int64_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}
} // namespace

void TovoZeitPlan::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (overviewMode())
        paintOverview(p);
    else
        paintPlan(p, event->rect());
    Q_EMIT Gezeichnet();
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
    p.setClipRect(QRect(0, kKopfHoehe, width(), height() - kKopfHoehe) & clip);
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
            p.fillRect(QRect(xa, kKopfHoehe, xb - xa, height()), weekend);
        }
    }
    const auto ticks = ZeitPlanGeometry::Ticks(m_zeitraum, span);
    for (const auto& t : ticks) {
        const int x = static_cast<int>(g.timeToX(t.time));
        p.setPen(t.major ? gridMajor : gridMinor);
        p.drawLine(x, kKopfHoehe, x, height());
    }
    p.setPen(gridMinor);
    for (int r = first; r <= last; ++r)
        p.drawLine(0, g.rowTop(r) + rh - 1, width(), g.rowTop(r) + rh - 1);

    // Bars of the visible rows only: painting costs what is shown, not what is loaded.
    p.setClipRect(QRect(x0, kKopfHoehe, width() - x0, height() - kKopfHoehe) & clip);
    const double pxPerDay = (width() - x0) / std::max(1e-9, span.end - span.start);
    for (int r = first; r <= last; ++r) {
        const int top = g.rowTop(r) + 2;
        forBarsInRow(r, span.start, span.end, [&](int i) {
            const ZeitPlanTermin& t = m_termine[i];
            const double xa = std::max<double>(x0 - 2, g.timeToX(t.DtVon));
            const double xb = std::min<double>(width() + 2, g.timeToX(t.DtBis));
            // Short bookings keep a visible width and a clear dark edge.
            const double breite = std::max<double>(kMinBalkenBreite, xb - xa);
            QRectF bar(xa, top, breite, rh - 5);
            if (const auto spur = m_spur.constFind(t.lId); spur != m_spur.constEnd()) {
                const double hoehe = (rh - 5.0) / spur->second;
                bar = QRectF(xa, top + spur->first * hoehe, breite, hoehe);
            }
            const QColor fill = fromWindowsColor(t.lFarbe);
            p.fillRect(bar, fill);
            p.setPen(breite < 12 ? fill.darker(260) : fill.darker(160));
            p.drawRect(bar.adjusted(0, 0, -1, -1));
            if (m_konflikte.contains(t.lId)) {
                // Overlapping bookings share the row in lanes, each with a red outline.
                const bool schmal = bar.height() < 10;
                p.setPen(QPen(QColor(0xD0, 0x10, 0x10), schmal ? 1 : 2));
                p.drawRect(schmal ? bar.adjusted(0, 0, -1, -1) : bar.adjusted(1, 1, -1, -1));
            }
            // A lane lower than the text shows it in the tool tip only.
            const QString text =
                pxPerDay > 0 && bar.height() >= fm.height() - 2 ? balkenText(t, breite) : QString();
            if (!text.isEmpty()) {
                p.setPen(palette().text().color());
                p.drawText(bar.adjusted(3, 0, -3, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
            }
        });
    }

    if (m_raeume.isEmpty()) {
        p.setPen(palette().placeholderText().color());
        p.drawText(QRect(x0, kKopfHoehe, width() - x0, height() - kKopfHoehe), Qt::AlignCenter,
                   QStringLiteral("Keine Räume für diese Auswahl vorhanden"));
    }

    // Today: a red line at the current moment.
    const double now = TovoDate::now();
    if (now >= span.start && now < span.end) {
        const int x = static_cast<int>(g.timeToX(now));
        p.setPen(QPen(QColor(0xD0, 0x20, 0x20), 2));
        p.drawLine(x, kKopfHoehe, x, height());
    }

    // The keyboard's cell: outlined, filled while the plan has the focus.
    if (const QRect k = KursorRect(); !k.isNull()) {
        QColor c = palette().highlight().color();
        if (hasFocus()) {
            c.setAlpha(70);
            p.fillRect(k, c);
            c.setAlpha(255);
        }
        p.setPen(QPen(c, hasFocus() ? 2 : 1, hasFocus() ? Qt::SolidLine : Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(k.adjusted(1, 1, -1, -1));
    }

    // The bar being dragged, shown where it would go, with its new times.
    if (m_dragging && m_pressedBar >= 0 && m_dragRow >= 0) {
        const ZeitPlanTermin& t = m_termine[m_pressedBar];
        const double von = t.DtVon + (m_zug == Zug::Balken ? m_dragVersatz : 0.0);
        const double bis = std::max(von + 0.25 / 24, t.DtBis + m_dragVersatz);
        QRectF ghost(g.timeToX(von), g.rowTop(m_dragRow) + 2,
                     std::max(4.0, g.timeToX(bis) - g.timeToX(von)), rh - 5);
        p.setPen(QPen(palette().highlight().color(), 2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(ghost);
        const QString zeiten = TovoDate(von).format(QStringLiteral("H:mm")) + QStringLiteral("–") +
                               TovoDate(bis).format(QStringLiteral("H:mm"));
        const QRectF schild(ghost.left(), ghost.top() - fm.height() - 2,
                            fm.horizontalAdvance(zeiten) + 8, fm.height() + 2);
        p.fillRect(schild, palette().toolTipBase());
        p.setPen(palette().toolTipText().color());
        p.drawText(schild, Qt::AlignCenter, zeiten);
    }
    p.restore();

    // Room column.
    p.save();
    p.setClipRect(QRect(0, kKopfHoehe, x0, height() - kKopfHoehe) & clip);
    p.fillRect(QRect(0, kKopfHoehe, x0, height()), palette().button());
    QFont bold = font();
    bold.setBold(m_zeilenart == 3);
    for (int r = first; r <= last; ++r) {
        const ZeitPlanRaum& raum = m_raeume[r];
        const QRect cell(4, g.rowTop(r), x0 - 8, rh);
        if (r == m_kursorZeile && hasFocus())
            p.fillRect(QRect(0, g.rowTop(r), x0, rh), palette().highlight().color().lighter(170));
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
    const QRect header(0, 0, width(), kKopfHoehe);
    p.fillRect(header, palette().button());
    p.setPen(palette().buttonText().color());
    p.drawText(QRect(4, 0, x0 - 8, kKopfHoehe), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Raum"));
    p.save();
    p.setClipRect(QRect(x0, 0, width() - x0, kKopfHoehe));
    // Public holidays: the day tinted, its name where the day is wide enough.
    const QString land = Feiertage::ProjektLand();
    const QColor feiertag(0xF6, 0xD8, 0xC8);
    for (double d = std::floor(span.start); d < span.end; d += 1.0) {
        const QString name = Feiertage::Name(TovoDate(d), land);
        if (name.isEmpty())
            continue;
        const int xa = static_cast<int>(g.timeToX(std::max(d, span.start)));
        const int xb = static_cast<int>(g.timeToX(std::min(d + 1.0, span.end)));
        p.fillRect(QRect(xa, 0, xb - xa, kKopfHoehe), feiertag);
        if (xb - xa > fm.horizontalAdvance(name) + 50) {
            p.setPen(QColor(0xA0, 0x30, 0x20));
            p.drawText(QRect(xa + 4, 0, xb - xa - 8, kKopfHoehe / 2),
                       Qt::AlignVCenter | Qt::AlignRight, name);
        }
    }
    const auto groups = ZeitPlanGeometry::GroupTicks(m_zeitraum, span);
    for (int i = 0; i < groups.size(); ++i) {
        const int xa = static_cast<int>(g.timeToX(groups[i].time));
        const int xb =
            i + 1 < groups.size() ? static_cast<int>(g.timeToX(groups[i + 1].time)) : width();
        p.setPen(gridMajor);
        p.drawLine(xa, 0, xa, kKopfHoehe / 2);
        p.setPen(palette().buttonText().color());
        p.drawText(QRect(xa + 4, 0, xb - xa - 8, kKopfHoehe / 2), Qt::AlignVCenter | Qt::AlignLeft,
                   fm.elidedText(groups[i].label, Qt::ElideRight, xb - xa - 8));
    }
    // Hours stand on their grid lines, like a ruler; days and months label the space between.
    const bool aufLinie = m_zeitraum == Tag;
    for (int i = 0; i < ticks.size(); ++i) {
        if (ticks[i].label.isEmpty())
            continue;
        const int xa = static_cast<int>(g.timeToX(ticks[i].time));
        int xb = aufLinie ? static_cast<int>(g.timeToX(ticks[i].time + 1.0 / 24)) : width();
        for (int j = i + 1; j < ticks.size() && !aufLinie; ++j)
            if (!ticks[j].label.isEmpty()) {
                xb = static_cast<int>(g.timeToX(ticks[j].time));
                break;
            }
        p.setPen(gridMajor);
        if (aufLinie) {
            p.drawLine(xa, kKopfHoehe - 5, xa, kKopfHoehe);
            const int breite = xb - xa;
            // A label that would be cut at either side is left out.
            if (breite > 14 && xa - breite / 2 >= x0 && xa + breite / 2 <= width()) {
                p.setPen(palette().buttonText().color());
                p.drawText(QRect(xa - breite / 2, kKopfHoehe / 2, breite, kKopfHoehe / 2 - 5),
                           Qt::AlignCenter, ticks[i].label);
            }
            continue;
        }
        p.drawLine(xa, kKopfHoehe / 2, xa, kKopfHoehe);
        if (xb - xa > 14) {
            const bool isToday =
                std::floor(ticks[i].time) == std::floor(TovoDate::today().value()) &&
                (m_zeitraum == Woche || m_zeitraum == Monat);
            QFont f = font();
            f.setBold(isToday);
            p.setFont(f);
            p.setPen(isToday ? QColor(0xD0, 0x20, 0x20) : palette().buttonText().color());
            p.drawText(QRect(xa + 2, kKopfHoehe / 2, xb - xa - 4, kKopfHoehe / 2), Qt::AlignCenter,
                       ticks[i].label);
            p.setFont(font());
        }
    }
    p.restore();
    p.setPen(gridMajor);
    p.drawLine(0, kKopfHoehe - 1, width(), kKopfHoehe - 1);
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}

QString TovoZeitPlan::balkenText(const ZeitPlanTermin& t, double breite) const {
    if (t.lFarbe != kFarbeBelegung)
        return {};
    const QFontMetrics fm(font());
    const int platz = static_cast<int>(breite) - 6;
    // Below this a cut label ("Fra…") says nothing; the tool tip has the text.
    const int lesbar = fm.horizontalAdvance(QStringLiteral("Mmmmmm…"));
    QString text = t.stName.trimmed();
    QString beginn;
    if (m_zeitraum == Woche) {
        beginn = TovoDate(t.DtVon).format(QStringLiteral("H:mm"));
        text = beginn + QLatin1Char(' ') + text;
    }
    if (fm.horizontalAdvance(text) <= platz)
        return text;
    if (platz >= lesbar)
        return fm.elidedText(text, Qt::ElideRight, platz);
    if (!beginn.isEmpty() && fm.horizontalAdvance(beginn) <= platz)
        return beginn;
    return {};
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

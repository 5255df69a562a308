#include "TovoZeitPlan.h"

#include "RvGlobals.h"
#include "TovoDate.h"
#include "ZeitPlanKonflikte.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
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
    // Tracking shows the resize pointer over the ends of bars.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumHeight(kKopfHoehe + 20);
    setFocusPolicy(Qt::StrongFocus);
}

void TovoZeitPlan::SetBreiteErsteSpalte(int32_t twips) {
    m_breiteErsteSpalte = std::max(0, twips);
    update();
}

void TovoZeitPlan::SetAnzeigedatum(double d) {
    m_anzeigedatum = d;
    KursorKlemmen(); // the cursor stays in view
    update();
    Q_EMIT SichtGeaendert();
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
    KursorKlemmen();
    update();
    Q_EMIT SichtGeaendert();
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
    KursorKlemmen();
    update();
    Q_EMIT SichtGeaendert();
}

int TovoZeitPlan::rowHeight() const {
    return (m_zeilenart == 3 ? 36 : 22) + m_zeilenZusatz;
}

int TovoZeitPlan::InhaltHoehe() const {
    if (overviewMode())
        return height();
    return kKopfHoehe + static_cast<int>(m_raeume.size()) * rowHeight();
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
    g.setRows(kKopfHoehe, rowHeight(), m_rowOffset);
    return g;
}

void TovoZeitPlan::Laden(const ZeitPlanRaumListe& raeume, const ZeitPlanTerminListe& termine,
                         const void*) {
    m_raeume = raeume;
    m_termine = termine;
    rebuildBalken();
    rebuildLoad();
    SetZeilenOffset(m_rowOffset);
    KursorKlemmen();
    update();
    if (InhaltHoehe() != m_lastContentHeight) {
        m_lastContentHeight = InhaltHoehe();
        Q_EMIT ResizeControl();
    }
}

void TovoZeitPlan::rebuildBalken() {
    // The overview draws the load of each day only: it needs no rows of bars, clashes or lanes,
    // which would cost much on its months of bookings.
    if (overviewMode()) {
        m_barsByRow.clear();
        m_maxDauerByRow.clear();
        m_konflikte.clear();
        m_spur.clear();
        return;
    }
    rebuildIndex();
    rebuildKonflikte();
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

void TovoZeitPlan::rebuildKonflikte() {
    m_konflikte.clear();
    const auto paare = ZeitPlanKonflikte::Paare(m_termine, -std::numeric_limits<double>::max(),
                                                std::numeric_limits<double>::max(), gdToleranz);
    QHash<int64_t, QVector<int64_t>> partner;
    for (const auto& paar : paare) {
        m_konflikte[paar.erste.lId].append(paar.zweite.balken);
        m_konflikte[paar.zweite.lId].append(paar.erste.balken);
        partner[paar.zweite.lId].append(paar.erste.lId);
        partner[paar.erste.lId].append(paar.zweite.lId);
    }
    // Clashing bookings share their row in lanes, so that none hides another. The pairs come by
    // start, so each booking takes the lowest lane its earlier partners left free.
    m_spur.clear();
    for (const auto& paar : paare)
        for (const auto* b : {&paar.erste, &paar.zweite}) {
            if (m_spur.contains(b->lId))
                continue;
            QVector<int> belegt;
            for (int64_t p : partner.value(b->lId))
                if (m_spur.contains(p))
                    belegt.append(m_spur.value(p).first);
            int spur = 0;
            while (belegt.contains(spur))
                ++spur;
            m_spur.insert(b->lId, {spur, 1});
        }
    for (auto it = m_spur.begin(); it != m_spur.end(); ++it) {
        int anzahl = it->first + 1;
        for (int64_t p : partner.value(it.key()))
            anzahl = std::max(anzahl, m_spur.value(p).first + 1);
        it->second = anzahl;
    }
}

void TovoZeitPlan::Zeichnen() {
    update();
}

void TovoZeitPlan::Bereich(double datum, int anzahlMonate) {
    const bool warUebersicht = overviewMode();
    m_bereichVon = std::floor(datum);
    m_bereichAnzahl = std::max(0, anzahlMonate);
    if (warUebersicht != overviewMode())
        rebuildBalken();
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
    KursorKlemmen();
    update();
    Q_EMIT SichtGeaendert();
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
    // Clashing bookings lie in lanes: the lane under the pointer decides between them.
    auto inSpur = [&](int i) {
        const auto spur = m_spur.constFind(m_termine[i].lId);
        if (spur == m_spur.constEnd())
            return true;
        const double hoehe = (g.rowHeight() - 5.0) / spur->second;
        const double y = pos.y() - (g.rowTop(row) + 2);
        return y >= spur->first * hoehe - 1 && y < (spur->first + 1) * hoehe + 1;
    };
    int found = -1;
    bool foundInSpur = false;
    forBarsInRow(row, t - grace, t + grace, [&](int i) {
        const bool spur = inSpur(i);
        if (found < 0 || (spur && !foundInSpur) ||
            (spur == foundInSpur && m_termine[i].lFarbe == kFarbeBelegung)) {
            found = i;
            foundInSpur = spur;
        }
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
            QRect rect(xa, g.rowTop(r) + 2, std::max(kMinBalkenBreite, xb - xa), g.rowHeight() - 5);
            if (const auto spur = m_spur.constFind(t.lId); spur != m_spur.constEnd()) {
                const int hoehe = (g.rowHeight() - 5) / spur->second;
                rect.setTop(rect.top() + spur->first * hoehe);
                rect.setHeight(hoehe);
            }
            return rect;
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
    text += QLatin1Char('\n') + zeitText(t.DtVon, t.DtBis);
    for (int andere : m_konflikte.value(t.lId)) {
        if (andere < 0 || andere >= m_termine.size())
            continue;
        const ZeitPlanTermin& o = m_termine[andere];
        text += QStringLiteral("\nÜberschneidung mit: ") + o.stName.trimmed() +
                QStringLiteral(", ") + zeitText(o.DtVon, o.DtBis);
    }
    return text;
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

TovoZeitPlan::Zug TovoZeitPlan::ZugAn(int bar, const QPoint& pos) const {
    // The last few pixels of a booking's own bar take its end; a narrow bar moves as a whole.
    const QRect r = TerminRect(bar);
    return m_termine[bar].lFarbe == kFarbeBelegung && r.width() >= 12 && pos.x() >= r.right() - 4
               ? Zug::Ende
               : Zug::Balken;
}

double TovoZeitPlan::ZugVersatz(const QPoint& pos) const {
    // Quarter hours in the day view, hours in the week view, whole days beyond.
    const double raster = m_zeitraum == Tag ? 0.25 / 24 : m_zeitraum == Woche ? 1.0 / 24 : 1.0;
    return std::round((ZeitAt(pos) - ZeitAt(m_pressPos)) / raster) * raster;
}

bool TovoZeitPlan::BuchungsSpanne(int64_t lId, double& von, double& bis) const {
    for (const ZeitPlanTermin& t : m_termine)
        if (t.lId == lId && t.lFarbe == kFarbeBelegung) {
            von = t.DtVon;
            bis = t.DtBis;
            return true;
        }
    return false;
}

void TovoZeitPlan::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (overviewMode()) {
        const double day = TagAt(pos);
        if (day > 0)
            Q_EMIT ChangeAnzeige(m_zeitraum == Tag ? day + 13.0 / 24.0 : day, m_zeitraum);
        return;
    }
    if (RaumRowAt(pos) >= 0 && pos.x() >= Geometry().roomColumnWidth())
        SetzeKursor(RaumRowAt(pos), ZeitAt(pos));
    m_pressedBar = TerminAt(pos);
    m_pressPos = pos;
    m_dragging = false;
    m_dragRow = -1;
    m_dragVersatz = 0.0;
    m_zug = m_pressedBar >= 0 ? ZugAn(m_pressedBar, pos) : Zug::Balken;
}

void TovoZeitPlan::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        // Over the end of a bar the pointer shows that the end can be dragged.
        const int bar = m_nurLesen || overviewMode() ? -1 : TerminAt(pos);
        if (bar >= 0 && ZugAn(bar, pos) == Zug::Ende)
            setCursor(Qt::SizeHorCursor);
        else
            unsetCursor();
        return;
    }
    if (m_pressedBar < 0)
        return;
    if (!m_dragging && !m_nurLesen &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragging = true;
        setCursor(m_zug == Zug::Ende ? Qt::SizeHorCursor : Qt::ClosedHandCursor);
    }
    if (m_dragging) {
        // The end, and a bar dragged with Shift, stay in their room.
        int eigene = -1;
        for (int r = 0; r < m_raeume.size() && eigene < 0; ++r)
            if (m_raeume[r].lId == m_termine[m_pressedBar].lStammId)
                eigene = r;
        const bool imRaum = m_zug == Zug::Ende || (event->modifiers() & Qt::ShiftModifier);
        m_dragRow = imRaum ? eigene : RaumRowAt(pos);
        m_dragVersatz = ZugVersatz(pos);
        update();
    }
}

void TovoZeitPlan::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int bar = m_pressedBar;
    const bool dragged = m_dragging;
    const int row = m_dragRow;
    const double versatz = m_dragVersatz;
    m_pressedBar = -1;
    m_dragging = false;
    m_dragRow = -1;
    m_dragVersatz = 0.0;
    unsetCursor();
    update();
    double von = 0.0, bis = 0.0;
    if (!dragged || m_nurLesen || bar < 0 || row < 0 ||
        !BuchungsSpanne(m_termine[bar].lId, von, bis))
        return;
    const int64_t id = m_termine[bar].lId;
    const int64_t raum = m_raeume[row].lId;
    const bool ende = m_zug == Zug::Ende;
    // An end is never dragged before the start: a quarter of an hour stays at least.
    const double neuBis = ende ? std::max(von + 0.25 / 24, bis + versatz) : bis + versatz;
    const double neuVon = ende ? von : von + versatz;
    if (versatz == 0.0 && raum == m_termine[bar].lStammId)
        return;

    // The bars go to their new place at once; a refused move rebuilds the plan and puts them
    // back.
    for (ZeitPlanTermin& t : m_termine) {
        if (t.lId != id)
            continue;
        t.lStammId = raum;
        if (!ende) {
            t.DtVon += versatz;
            t.DtBis += versatz;
        } else if (t.lFarbe == kFarbeBelegung) {
            t.DtBis = neuBis;
        } else if (t.DtVon >= bis - 1e-9) { // the clear-down follows the end
            t.DtVon += neuBis - bis;
            t.DtBis += neuBis - bis;
        }
    }
    rebuildIndex();
    rebuildKonflikte();
    update();
    if (versatz == 0.0)
        Q_EMIT MoveAntrag(static_cast<int32_t>(id), QString::number(raum));
    else
        Q_EMIT VerschiebeAntrag(static_cast<int32_t>(id), static_cast<int32_t>(raum), neuVon,
                                neuBis);
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
    if (!m_nurLesen && row >= 0 && pos.x() >= Geometry().roomColumnWidth())
        Q_EMIT FreeSelected(ZeitPlanGeometry::WholeHour(ZeitAt(pos)),
                            static_cast<int32_t>(m_raeume[row].lId));
}

void TovoZeitPlan::wheelEvent(QWheelEvent* event) {
    if (overviewMode()) {
        event->ignore();
        return;
    }
    // Small turns (touch pads) add up to whole notches.
    m_radX += event->angleDelta().x();
    m_radY += event->angleDelta().y();
    const auto mods = event->modifiers();
    const auto rad = ZeitPlanGeometry::RadWirkung(m_radX, m_radY, mods & Qt::ShiftModifier,
                                                  mods & Qt::ControlModifier);
    event->accept();
    if (rad.art == ZeitPlanGeometry::Rad::Nichts)
        return;
    m_radX %= 120;
    m_radY %= 120;
    switch (rad.art) {
    case ZeitPlanGeometry::Rad::Zeilen: {
        const int offset =
            m_rowOffset + rad.schritte * ZeitPlanGeometry::kZeilenJeRaste * rowHeight();
        if (m_vscroll && m_vscroll->maximum() > 0)
            m_vscroll->setValue(offset); // the scroll bar moves the rows
        else
            SetZeilenOffset(offset);
        break;
    }
    case ZeitPlanGeometry::Rad::Zeitraum:
        Q_EMIT RadBlaettern(rad.schritte < 0 ? -1 : 1);
        break;
    case ZeitPlanGeometry::Rad::Zeilenhoehe: {
        const int basis = rowHeight() - m_zeilenZusatz;
        // Keep the row at the top of the view in place.
        const int obersteZeile = m_rowOffset / rowHeight();
        m_zeilenZusatz = ZeitPlanGeometry::ZeilenZusatz(basis, m_zeilenZusatz, rad.schritte);
        SetZeilenOffset(obersteZeile * rowHeight());
        update();
        Q_EMIT ResizeControl();
        if (m_vscroll)
            m_vscroll->setValue(m_rowOffset);
        break;
    }
    case ZeitPlanGeometry::Rad::Nichts:
        break;
    }
}

bool TovoZeitPlan::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const int bar = overviewMode() ? -1 : TerminAt(help->pos());
        const int row = overviewMode() ? -1 : RaumRowAt(help->pos());
        if (bar >= 0) {
            QToolTip::showText(help->globalPos(), ToolTipFor(bar), this, TerminRect(bar));
        } else if (row >= 0 && help->pos().x() < Geometry().roomColumnWidth()) {
            const ZeitPlanRaum& raum = m_raeume[row];
            const ZeitPlanGeometry g = Geometry();
            QToolTip::showText(help->globalPos(), raum.stTip.isEmpty() ? raum.stName : raum.stTip,
                               this, QRect(0, g.rowTop(row), g.roomColumnWidth(), g.rowHeight()));
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(e);
}

void TovoZeitPlan::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetZeilenOffset(m_rowOffset);
    Q_EMIT ResizeControl();
}

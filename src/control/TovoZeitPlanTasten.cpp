// The time plan by keyboard: the cell cursor, its keys, and the menu of a cell.
#include "TovoZeitPlan.h"

#include "TovoDate.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

double TovoZeitPlan::SlotLaenge() const {
    return m_zeitraum == Tag || m_zeitraum == Woche ? 1.0 / 24 : 1.0;
}

void TovoZeitPlan::SetzeKursor(int zeile, double zeit) {
    const double slot = SlotLaenge();
    m_kursorZeile = zeile;
    m_kursorZeit = std::floor(zeit / slot + 1e-6) * slot;
    KursorKlemmen();
    update();
}

void TovoZeitPlan::KursorKlemmen() {
    if (m_raeume.isEmpty() || m_kursorZeile < 0) {
        m_kursorZeile = -1;
        return;
    }
    m_kursorZeile = std::min(m_kursorZeile, static_cast<int>(m_raeume.size()) - 1);
    const double slot = SlotLaenge();
    const auto span = ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum);
    const double erster = std::ceil(span.start / slot - 1e-6) * slot;
    const double letzter = std::floor(span.end / slot + 1e-6) * slot - slot;
    m_kursorZeit = std::clamp(std::floor(m_kursorZeit / slot + 1e-6) * slot, erster,
                              std::max(erster, letzter));
}

QRect TovoZeitPlan::KursorRect() const {
    if (m_kursorZeile < 0 || m_kursorZeile >= m_raeume.size())
        return {};
    const ZeitPlanGeometry g = Geometry();
    const int xa = static_cast<int>(g.timeToX(m_kursorZeit));
    const int xb = static_cast<int>(g.timeToX(m_kursorZeit + SlotLaenge()));
    return QRect(xa, g.rowTop(m_kursorZeile), std::max(4, xb - xa), g.rowHeight());
}

int TovoZeitPlan::KursorTermin() const {
    int found = -1;
    forBarsInRow(m_kursorZeile, m_kursorZeit, m_kursorZeit + SlotLaenge(), [&](int i) {
        // The booking's own bar before its set-up or clear-down.
        if (found < 0 ||
            (m_termine[i].lFarbe == kFarbeBelegung && m_termine[found].lFarbe != kFarbeBelegung))
            found = i;
    });
    return found;
}

void TovoZeitPlan::KursorZeigen() {
    const ZeitPlanGeometry g = Geometry();
    const int top = g.rowTop(m_kursorZeile);
    int offset = m_rowOffset;
    if (top < kKopfHoehe)
        offset -= kKopfHoehe - top;
    else if (top + g.rowHeight() > height())
        offset += top + g.rowHeight() - height();
    if (offset == m_rowOffset)
        return;
    if (m_vscroll && m_vscroll->maximum() > 0)
        m_vscroll->setValue(offset);
    else
        SetZeilenOffset(offset);
}

void TovoZeitPlan::KursorBewegen(int zeilen, double zeit) {
    m_kursorZeile = std::clamp(m_kursorZeile + zeilen, 0, static_cast<int>(m_raeume.size()) - 1);
    const double ziel = m_kursorZeit + zeit;
    // Past the edge the period follows, step by step, as far as the control moves it.
    for (int richtung : {-1, 1}) {
        const auto draussen = [&] {
            return richtung < 0 ? ziel < DatumVon() - 1e-6
                                : ziel + SlotLaenge() > DatumBis() + 1e-3;
        };
        for (int i = 0; i < 40 && draussen(); ++i) {
            const double vorher = DatumVon();
            Q_EMIT RadBlaettern(richtung);
            if (DatumVon() == vorher)
                break;
        }
    }
    m_kursorZeit = ziel;
    KursorKlemmen();
    KursorZeigen();
    update();
}

void TovoZeitPlan::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (m_kursorZeile < 0 && !overviewMode() && !m_raeume.isEmpty()) {
        // On the first visible row, now when it is shown, else at the start of the period
        // (8:00 beyond the day view).
        const auto span = ZeitPlanGeometry::SpanFor(m_zeitraum, m_anzeigedatum);
        const double jetzt = TovoDate::now();
        const double zeit = jetzt >= span.start && jetzt < span.end ? jetzt
                            : m_zeitraum == Tag                     ? span.start
                                                                    : span.start + 8.0 / 24;
        SetzeKursor(m_rowOffset / std::max(1, rowHeight()), zeit);
    }
    update();
}

void TovoZeitPlan::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TovoZeitPlan::keyPressEvent(QKeyEvent* event) {
    if (overviewMode() || m_kursorZeile < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    const bool strg = event->modifiers() & Qt::ControlModifier;
    // Ctrl moves a day in the day and week views, a week beyond.
    const double weit = SlotLaenge() < 1.0 ? 1.0 : 7.0;
    const int bar = KursorTermin();
    switch (event->key()) {
    case Qt::Key_Left:
        KursorBewegen(0, strg ? -weit : -SlotLaenge());
        break;
    case Qt::Key_Right:
        KursorBewegen(0, strg ? weit : SlotLaenge());
        break;
    case Qt::Key_Up:
        KursorBewegen(-1, 0.0);
        break;
    case Qt::Key_Down:
        KursorBewegen(1, 0.0);
        break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        // A whole period; the cursor keeps its place in it.
        const double imZeitraum = m_kursorZeit - DatumVon();
        Q_EMIT SeiteBlaettern(event->key() == Qt::Key_PageUp ? -1 : 1);
        m_kursorZeit = DatumVon() + imZeitraum;
        KursorKlemmen();
        update();
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (bar >= 0)
            Q_EMIT SelectAntrag(static_cast<int32_t>(m_termine[bar].lId));
        else if (!m_nurLesen)
            // A whole day as a slot is booked from 8:00.
            Q_EMIT FreeSelected(m_kursorZeit + (SlotLaenge() < 1.0 ? 0.0 : 8.0 / 24),
                                static_cast<int32_t>(m_raeume[m_kursorZeile].lId));
        break;
    case Qt::Key_Delete:
        if (bar >= 0 && !m_nurLesen)
            Q_EMIT LoescheAntrag(static_cast<int32_t>(m_termine[bar].lId));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TovoZeitPlan::contextMenuEvent(QContextMenuEvent* event) {
    if (overviewMode())
        return;
    if (event->reason() != QContextMenuEvent::Keyboard) {
        const int row = RaumRowAt(event->pos());
        if (row < 0 || event->pos().x() < Geometry().roomColumnWidth())
            return;
        SetzeKursor(row, ZeitAt(event->pos()));
        ZeigeMenue(event->globalPos());
        return;
    }
    ZeigeMenue();
}

void TovoZeitPlan::ZeigeMenue(const QPoint& wo) {
    if (m_kursorZeile < 0)
        return;
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("mnuZeitPlan"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const int bar = KursorTermin();
    if (bar >= 0) {
        const auto id = static_cast<int32_t>(m_termine[bar].lId);
        menu->addAction(QStringLiteral("&Öffnen"), this, [this, id] { Q_EMIT SelectAntrag(id); });
        menu->addAction(QStringLiteral("&Löschen…"), this, [this, id] { Q_EMIT LoescheAntrag(id); })
            ->setEnabled(!m_nurLesen);
    } else {
        const double beginn = m_kursorZeit + (SlotLaenge() < 1.0 ? 0.0 : 8.0 / 24);
        const auto raum = static_cast<int32_t>(m_raeume[m_kursorZeile].lId);
        menu->addAction(QStringLiteral("&Neuer Antrag"), this,
                        [this, beginn, raum] { Q_EMIT FreeSelected(beginn, raum); })
            ->setEnabled(!m_nurLesen);
    }
    menu->popup(wo.isNull() ? mapToGlobal(KursorRect().bottomLeft()) : wo);
}

#pragma once

#include "ZeitPlanData.h"
#include "ZeitPlanGeometry.h"

#include <QHash>
#include <QWidget>
#include <algorithm>
#include <vector>

class QScrollBar;

// Time-plan widget: rooms as rows against time, one bar per appointment. After Bereich() it
// shows instead a compact overview of whole months, one cell per day coloured by how busy the
// day is; a click on a day there asks to show that day (ChangeAnzeige).
class TovoZeitPlan : public QWidget {
    Q_OBJECT
public:
    explicit TovoZeitPlan(QWidget* parent = nullptr);

    enum { Tag = 1, Woche = 2, Monat = 3, Jahr = 7 };
    // Height of the date header above the rows.
    static constexpr int kKopfHoehe = 40;
    // A bar is never narrower than this, however short its booking.
    static constexpr int kMinBalkenBreite = 5;

    int32_t Startbereich() const { return m_startbereich; }
    void SetStartbereich(int32_t v) { m_startbereich = v; }
    // Width of the room column in twips (1/1440 inch; 15 twips make a pixel at 96 dpi).
    int32_t BreiteErsteSpalte() const { return m_breiteErsteSpalte; }
    void SetBreiteErsteSpalte(int32_t twips);
    bool Blockschritt() const { return m_blockschritt; }
    void SetBlockschritt(bool v) { m_blockschritt = v; }
    // The middle of the shown period.
    double Anzeigedatum() const { return m_anzeigedatum; }
    void SetAnzeigedatum(double d);
    // First shown moment, and the last shown day.
    double DatumVon() const;
    void SetDatumVon(double d);
    double DatumBis() const;
    // Row style: 2 one line per room, 3 two lines with the room information.
    int32_t Zeilenart() const { return m_zeilenart; }
    void SetZeilenart(int32_t v);
    int32_t Zeitraum() const { return m_zeitraum; }
    void SetZeitraum(int32_t v);

    void Laden(const ZeitPlanRaumListe& raeume, const ZeitPlanTerminListe& termine,
               const void* = nullptr);
    void Zeichnen();
    void Bereich(double datum, int anzahlMonate);
    void Blaettern(int schritt);

    const ZeitPlanRaumListe& Raeume() const { return m_raeume; }
    const ZeitPlanTerminListe& Termine() const { return m_termine; }

    // Vertical scrolling of the rows; the header stays in place.
    int InhaltHoehe() const;
    int ZeilenOffset() const { return m_rowOffset; }
    void SetZeilenOffset(int pixels);
    void SetVScrollBar(QScrollBar* bar) { m_vscroll = bar; }

    // Hit tests, in widget coordinates.
    int TerminAt(const QPoint& pos) const;  // index into Termine(), -1 for none
    int RaumRowAt(const QPoint& pos) const; // row index, -1 for none
    double ZeitAt(const QPoint& pos) const;
    QRect TerminRect(int index) const; // where a bar is drawn (unclipped row rectangle)
    QString ToolTipFor(int index) const;
    // In overview mode: the day under the point, or 0.
    double TagAt(const QPoint& pos) const;

    ZeitPlanGeometry Geometry() const;

    // Read-only: bars cannot be dragged and a double click on a free slot does nothing.
    void SetNurLesen(bool nurLesen) { m_nurLesen = nurLesen; }
    bool NurLesen() const { return m_nurLesen; }
    // Height of a room row in pixels (Ctrl+wheel changes it).
    int ZeilenHoehe() const { return rowHeight(); }
    // Indexes of the own bars of the bookings that clash with the booking `lId`.
    QVector<int> KonflikteVon(int64_t lId) const { return m_konflikte.value(lId); }

    // The keyboard's cell cursor: a room row and a time slot (an hour in the day and week views,
    // a day in the month and year views). Row -1 = none yet; it is placed when the plan gets the
    // focus. Arrow keys move it, Page Up/Down the period, Enter opens the booking under it or
    // books the free slot, Delete deletes, the menu key opens the menu of the cell.
    int KursorZeile() const { return m_kursorZeile; }
    double KursorZeit() const { return m_kursorZeit; }
    void SetzeKursor(int zeile, double zeit);
    // The slot of the cursor, and the bar of a booking in it (-1 when the slot is free).
    double SlotLaenge() const;
    int KursorTermin() const;
    // The menu of a bar ("Öffnen", "Löschen…") or of a free slot ("Neuer Antrag") at the cursor.
    // At `wo` (global), or below the cursor's cell.
    void ZeigeMenue(const QPoint& wo = QPoint());

Q_SIGNALS:
    void ChangeAnzeige(double datum, int32_t zeitbereich);
    void FreeSelected(double datum, int32_t raumId);
    void MoveAntrag(int32_t id, const QString& raumId);
    // A bar dragged in time (with Shift in its own room), or its end dragged: the booking's
    // start and end afterwards, and its room.
    void VerschiebeAntrag(int32_t id, int32_t raumId, double beginn, double ende);
    void LoescheAntrag(int32_t id);
    void SelectAntrag(int32_t id);
    void ResizeControl();
    // The plan has just been painted.
    void Gezeichnet();
    // The shown span moved or changed its length (date, start, period or a step).
    void SichtGeaendert();
    // Shift+wheel, a horizontal wheel or the cursor at the edge: one step back (-1) or forward
    // (+1). Page Up/Down: a whole period.
    void RadBlaettern(int richtung);
    void SeiteBlaettern(int richtung);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuildBalken(); // rows of bars, clashes and lanes (none in the overview)
    void rebuildIndex();
    void rebuildLoad();
    void rebuildKonflikte();
    // The text drawn in a bar of the given width, or empty when it does not fit.
    QString balkenText(const ZeitPlanTermin& t, double breite) const;
    void paintPlan(QPainter& p, const QRect& clip);
    void paintOverview(QPainter& p);
    // Indexes of the bars of one row that overlap [from, to).
    template <class F> void forBarsInRow(int row, double from, double to, F&& f) const;
    int rowHeight() const;
    int roomColumnPixels() const { return m_breiteErsteSpalte / 15; }
    bool overviewMode() const { return m_bereichAnzahl > 0; }
    QRect overviewDayRect(double day) const;

    int32_t m_startbereich = 2;
    int32_t m_breiteErsteSpalte = 2400;
    bool m_blockschritt = true;
    double m_anzeigedatum = 0.0;
    int32_t m_zeilenart = 2;
    int32_t m_zeitraum = 2;
    double m_bereichVon = 0.0;
    int m_bereichAnzahl = 0;
    int m_rowOffset = 0;
    int m_zeilenZusatz = 0;     // pixels added to the row height
    int m_radX = 0, m_radY = 0; // wheel turns not yet a whole notch
    bool m_nurLesen = false;
    QHash<int64_t, QVector<int>> m_konflikte;
    QHash<int64_t, std::pair<int, int>> m_spur; // clashing booking: its lane and the lane count
    int m_lastContentHeight = -1;
    QScrollBar* m_vscroll = nullptr;

    ZeitPlanRaumListe m_raeume;
    ZeitPlanTerminListe m_termine;
    // Per row: bar indexes sorted by start, and the longest bar (to find bars reaching in).
    std::vector<std::vector<int>> m_barsByRow;
    std::vector<double> m_maxDauerByRow;
    // Overview: share of booked time per day of the range.
    std::vector<float> m_loadByDay;

    // Dragging a bar to another row or time, or its right edge.
    enum class Zug { Balken, Ende };
    // Which way a press on the bar at `pos` drags it.
    Zug ZugAn(int bar, const QPoint& pos) const;
    // The shift of a drag, on the grid of the period.
    double ZugVersatz(const QPoint& pos) const;
    // Start and end of the dragged booking's own bar.
    bool BuchungsSpanne(int64_t lId, double& von, double& bis) const;
    int m_pressedBar = -1;
    QPoint m_pressPos;
    bool m_dragging = false;
    int m_dragRow = -1;
    Zug m_zug = Zug::Balken;
    double m_dragVersatz = 0.0;

    // The cell cursor.
    void KursorKlemmen();
    void KursorZeigen();
    void KursorBewegen(int zeilen, double zeit);
    QRect KursorRect() const;
    int m_kursorZeile = -1;
    double m_kursorZeit = 0.0;
};

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

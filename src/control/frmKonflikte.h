#pragma once

#include "ZeitPlanKonflikte.h"

#include <QDialog>

class QTreeWidget;

// "Konflikte": the overlapping bookings of the shown period, one line per pair. A double click
// (or Enter) closes the list and names the pair to show in the plan.
class frmKonflikte : public QDialog {
    Q_OBJECT
public:
    explicit frmKonflikte(QWidget* parent = nullptr);

    void Laden(const QVector<ZeitPlanKonflikte::Paar>& paare, const ZeitPlanRaumListe& raeume,
               const ZeitPlanTerminListe& termine);
    // Index of the chosen pair, -1 when none.
    int Gewaehlt() const { return m_gewaehlt; }

    QTreeWidget* lvKonflikte = nullptr;

private:
    void lvKonflikte_DblClick();
    int m_gewaehlt = -1;
};

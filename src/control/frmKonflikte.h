#pragma once

#include "ZeitPlanKonflikte.h"

#include <QDialog>
#include <QHash>

class QTreeWidget;

// "Konflikte": the overlapping bookings of the shown period, one line per pair. A double click
// (or Enter) closes the list and names the pair to show in the plan.
class frmKonflikte : public QDialog {
    Q_OBJECT
public:
    explicit frmKonflikte(QWidget* parent = nullptr);

    // `namen` gives a booking's orderer and event by id; without an entry the bar's label
    // stands for it.
    void Laden(const QVector<ZeitPlanKonflikte::Paar>& paare, const ZeitPlanRaumListe& raeume,
               const ZeitPlanTerminListe& termine, const QHash<int64_t, QString>& namen = {});
    // Index of the chosen pair, -1 when none.
    int Gewaehlt() const { return m_gewaehlt; }

    QTreeWidget* lvKonflikte = nullptr;

private:
    void lvKonflikte_DblClick();
    int m_gewaehlt = -1;
};

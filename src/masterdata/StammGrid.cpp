#include "StammGrid.h"

#include <QHeaderView>
#include <QTableWidget>

namespace StammGrid {

QTableWidget* Neu(QWidget* parent, const char* name, const QStringList& titel) {
    auto* grid = new QTableWidget(0, int(titel.size()), parent);
    grid->setObjectName(QLatin1String(name));
    grid->setHorizontalHeaderLabels(titel);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setAlternatingRowColors(true);
    grid->verticalHeader()->setVisible(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setHighlightSections(false);
    // Rows stay in the order they were read until the user clicks a header.
    grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grid->setSortingEnabled(true);
    return grid;
}

void SetzeZeile(QTableWidget* grid, int row, const QVariantList& zellen, int32_t id) {
    const bool sortiert = grid->isSortingEnabled();
    grid->setSortingEnabled(false);
    for (int c = 0; c < zellen.size() && c < grid->columnCount(); ++c) {
        auto* item = new QTableWidgetItem;
        item->setData(Qt::DisplayRole, zellen[c]);
        if (zellen[c].typeId() == QMetaType::Int)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        else if (zellen[c].toString() == QLatin1String("x"))
            item->setTextAlignment(Qt::AlignCenter);
        if (c == 0)
            item->setData(Qt::UserRole, id);
        grid->setItem(row, c, item);
    }
    grid->setSortingEnabled(sortiert);
}

int NeueZeile(QTableWidget* grid, const QVariantList& zellen, int32_t id) {
    const int row = grid->rowCount();
    grid->insertRow(row);
    SetzeZeile(grid, row, zellen, id);
    return ZeileVon(grid, id);
}

int32_t Id(const QTableWidget* grid, int row) {
    const QTableWidgetItem* item = row >= 0 ? grid->item(row, 0) : nullptr;
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

int ZeileVon(const QTableWidget* grid, int32_t id) {
    for (int r = 0; r < grid->rowCount(); ++r)
        if (Id(grid, r) == id)
            return r;
    return -1;
}

void Fuelle(QTableWidget* grid, const std::function<void()>& zeilen) {
    const bool sortiert = grid->isSortingEnabled();
    grid->setSortingEnabled(false);
    grid->setRowCount(0);
    zeilen();
    grid->setSortingEnabled(sortiert);
}

} // namespace StammGrid

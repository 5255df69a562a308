#include "StammGrid.h"

#include "CRvDb.h"
#include "Prompt.h"
#include "RvGlobals.h"

#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
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

QPushButton* Knopf(QWidget* parent, const QString& name, const QString& text) {
    auto* pb = new QPushButton(text, parent);
    pb->setObjectName(name);
    pb->setAutoDefault(false);
    return pb;
}

void ZeigeZeile(QTableWidget* grid, const QVariantList& zellen, int32_t id) {
    const QSignalBlocker block(grid);
    int row = ZeileVon(grid, id);
    if (row < 0)
        row = NeueZeile(grid, zellen, id);
    else
        SetzeZeile(grid, row, zellen, id);
    row = ZeileVon(grid, id); // where sorting put it
    grid->setCurrentCell(row, 0);
    grid->scrollToItem(grid->item(row, 0));
}

namespace {

bool Geschrieben(bool ok, const QString& titel) {
    if (!ok)
        MsgBox(gRvDb ? gRvDb->LastError() : QString(), PromptButtons::Ok, PromptIcon::Critical,
               titel);
    return ok;
}

} // namespace

bool LoeschenBestaetigt(const QString& frage) {
    return MsgBox(frage, PromptButtons::YesNo, PromptIcon::Question, QStringLiteral("Löschen")) ==
           PromptResult::Yes;
}

bool Gespeichert(bool ok) {
    return Geschrieben(ok, QStringLiteral("Speichern"));
}

bool Geloescht(bool ok) {
    return Geschrieben(ok, QStringLiteral("Löschen"));
}

} // namespace StammGrid

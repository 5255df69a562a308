#pragma once

#include <QDialog>
#include <QVariantList>
#include <functional>

class QPushButton;
class QTableWidget;
class QWidget;

// What the master-data forms share: their grid (one row per record, the id in the first cell,
// sorted by a click on a column header), the way they show their modal dialogs, and the frame
// around a save or a delete: ask, write, show a failure with the database's text, refresh.
namespace StammGrid {

QTableWidget* Neu(QWidget* parent, const char* name, const QStringList& titel);
// Writes a row's cells and its id; ints stay numbers so that they sort as numbers.
void SetzeZeile(QTableWidget* grid, int row, const QVariantList& zellen, int32_t id);
// Appends a row and returns its index (after sorting, where it ended up).
int NeueZeile(QTableWidget* grid, const QVariantList& zellen, int32_t id);
int32_t Id(const QTableWidget* grid, int row);
int ZeileVon(const QTableWidget* grid, int32_t id);
// Fills the grid anew while sorting is held back.
void Fuelle(QTableWidget* grid, const std::function<void()>& zeilen);
// A button of the form's row of buttons; Enter in a field never presses it.
QPushButton* Knopf(QWidget* parent, const QString& name, const QString& text);
// Shows the saved record's row, added when missing, as the current one.
void ZeigeZeile(QTableWidget* grid, const QVariantList& zellen, int32_t id);

// True when the user answers Yes to `frage` under the caption "Löschen".
bool LoeschenBestaetigt(const QString& frage = QStringLiteral("Eintrag wirklich löschen?"));
// `ok` as it is; a failed write shows the database's last error under the caption "Speichern"
// or "Löschen".
bool Gespeichert(bool ok);
bool Geloescht(bool ok);

} // namespace StammGrid

#pragma once

#include <QDialog>
#include <cstdint>

class QTreeWidget;

// "Historie Raumausstattung": the bookings of a room from 15 days before to 15 days after a
// reference date with the equipment they ordered, one row each.
class frmHistorie : public QDialog {
    Q_OBJECT

public:
    explicit frmHistorie(QWidget* parent = nullptr);

    // Fills the window for the room and shows it modally; nothing is shown when reading failed
    // (the error has been reported then).
    static void Zeige(int32_t raumId, double referenzDatum, QWidget* parent);

    // Fills lvHistorie; false when the bookings could not be read.
    bool Fuellen(int32_t raumId, double referenzDatum);

    // The names of the equipment bits of `aust`, joined by ", " in bit order.
    static QString AusstattungText(int32_t aust);

    // Columns "Beginn", "Ende", "Besteller", "Veranstaltung", "Ausstattung", "Sonstiges",
    // "Bemerkung"; each row keeps its key (running number + "$") as data of column 0.
    QTreeWidget* lvHistorie = nullptr;
};

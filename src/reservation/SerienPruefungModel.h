#pragma once

#include "SerienPruefung.h"

#include <QAbstractTableModel>
#include <QPair>

// The dates of a series check as a table: date, weekday, time, room, status, free rooms and the
// choice, which is the one editable column. Edits go straight into the Ergebnis it shows.
class SerienPruefungModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Spalte { Datum, Wochentag, Zeit, Raum, Status, FreieRaeume, Auswahl, AnzahlSpalten };
    // The choice as an edit value: auslassen, behalten, or the id of the room to move to.
    static constexpr int kAuslassen = -1;
    static constexpr int kBehalten = 0;

    explicit SerienPruefungModel(SerienPruefung::Ergebnis& ergebnis, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The choices of a row as (text, edit value).
    QVector<QPair<QString, int>> Optionen(int row) const;
    // After the whole Ergebnis was changed (all left out, all moved).
    void AllesGeaendert();
    // Replaces the whole Ergebnis inside a model reset.
    void Ersetzen(SerienPruefung::Ergebnis neu);

private:
    QString RaumName(int32_t id) const;
    QString WahlText(const SerienPruefung::Termin& t) const;

    SerienPruefung::Ergebnis& m_e;
};

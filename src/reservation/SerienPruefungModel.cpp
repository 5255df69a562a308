#include "SerienPruefungModel.h"

#include <QBrush>
#include <QColor>

using SerienPruefung::Termin;
using SerienPruefung::Wahl;

SerienPruefungModel::SerienPruefungModel(SerienPruefung::Ergebnis& ergebnis, QObject* parent)
    : QAbstractTableModel(parent), m_e(ergebnis) {}

int SerienPruefungModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_e.termine.size();
}

int SerienPruefungModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : AnzahlSpalten;
}

QString SerienPruefungModel::RaumName(int32_t id) const {
    return m_e.raumNamen.value(id, QString::number(id));
}

QString SerienPruefungModel::WahlText(const Termin& t) const {
    switch (t.wahl) {
    case Wahl::Behalten:
        return QStringLiteral("behalten");
    case Wahl::Verschieben:
        return QString(QStringLiteral("nach ") + RaumName(t.zielRaum));
    case Wahl::Auslassen:
        break;
    }
    return QStringLiteral("auslassen");
}

QVariant SerienPruefungModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_e.termine.size())
        return {};
    const Termin& t = m_e.termine[index.row()];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Datum:
            return t.datum.toShortDateText();
        case Wochentag:
            return TovoDate::weekdayName(t.datum.weekdayMondayFirst());
        case Zeit:
            return QString(TovoDate(m_e.anfrage.zeitVon).format(QStringLiteral("hh:mm")) +
                           QStringLiteral("–") +
                           TovoDate(m_e.anfrage.zeitBis).format(QStringLiteral("hh:mm")));
        case Raum:
            return RaumName(t.wahl == Wahl::Verschieben ? t.zielRaum : m_e.anfrage.raumId);
        case Status:
            return SerienPruefung::StatusText(t);
        case FreieRaeume: {
            QStringList namen;
            for (const int32_t id : t.freieRaeume)
                namen << RaumName(id);
            return t.belegt && namen.isEmpty() ? QStringLiteral("keiner")
                                               : namen.join(QStringLiteral(", "));
        }
        case Auswahl:
            return WahlText(t);
        default:
            return {};
        }
    }
    if (role == Qt::ToolTipRole &&
        (index.column() == Status || index.column() == FreieRaeume || index.column() == Auswahl))
        return data(index, Qt::DisplayRole);
    if (role == Qt::EditRole && index.column() == Auswahl)
        return t.wahl == Wahl::Auslassen  ? kAuslassen
               : t.wahl == Wahl::Behalten ? kBehalten
                                          : t.zielRaum;
    if (role == Qt::BackgroundRole) {
        if (t.belegt && t.wahl == Wahl::Auslassen)
            return QBrush(QColor(0xf6, 0xd5, 0xd5));
        if (t.belegt)
            return QBrush(QColor(0xdc, 0xee, 0xd8));
        if (!t.feiertag.isEmpty())
            return QBrush(QColor(0xfb, 0xf0, 0xc8));
    }
    if (role == Qt::ForegroundRole && t.wahl == Wahl::Auslassen && index.column() != Status)
        return QBrush(QColor(0x80, 0x80, 0x80));
    return {};
}

QVariant SerienPruefungModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char* const titel[] = {"Datum",  "Wochentag",   "Zeit",   "Raum",
                                        "Status", "Freie Räume", "Auswahl"};
    return section >= 0 && section < AnzahlSpalten ? QString::fromUtf8(titel[section]) : QVariant();
}

Qt::ItemFlags SerienPruefungModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Auswahl)
        f |= Qt::ItemIsEditable;
    return f;
}

bool SerienPruefungModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || index.column() != Auswahl || index.row() >= m_e.termine.size())
        return false;
    const int v = value.toInt();
    Termin& t = m_e.termine[index.row()];
    const bool ok = v == kAuslassen  ? SerienPruefung::SetzeWahl(t, Wahl::Auslassen)
                    : v == kBehalten ? SerienPruefung::SetzeWahl(t, Wahl::Behalten)
                                     : SerienPruefung::SetzeWahl(t, Wahl::Verschieben, v);
    if (ok)
        emit dataChanged(this->index(index.row(), 0), this->index(index.row(), AnzahlSpalten - 1));
    return ok;
}

QVector<QPair<QString, int>> SerienPruefungModel::Optionen(int row) const {
    QVector<QPair<QString, int>> out;
    if (row < 0 || row >= m_e.termine.size())
        return out;
    const Termin& t = m_e.termine[row];
    if (!t.belegt)
        out.append({QStringLiteral("behalten"), kBehalten});
    for (const int32_t id : t.freieRaeume)
        out.append({QStringLiteral("nach ") + RaumName(id), id});
    out.append({QStringLiteral("auslassen"), kAuslassen});
    return out;
}

void SerienPruefungModel::AllesGeaendert() {
    if (!m_e.termine.isEmpty())
        emit dataChanged(index(0, 0), index(m_e.termine.size() - 1, AnzahlSpalten - 1));
}

void SerienPruefungModel::Ersetzen(SerienPruefung::Ergebnis neu) {
    beginResetModel();
    m_e = std::move(neu);
    endResetModel();
}

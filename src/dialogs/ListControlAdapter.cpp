#include "ListControlAdapter.h"

#include <QComboBox>
#include <QListWidget>

void ComboBoxListControl::Clear() {
    m_box->clear();
    m_newIndex = -1;
}

void ComboBoxListControl::AddItem(const QString& text) {
    m_box->addItem(text);
    m_newIndex = m_box->count() - 1;
}

int32_t ComboBoxListControl::ItemData(int index) const {
    return m_box->itemData(index, Qt::UserRole).toInt();
}

void ComboBoxListControl::SetItemData(int index, int32_t data) {
    m_box->setItemData(index, data, Qt::UserRole);
}

int ComboBoxListControl::ListCount() const {
    return m_box->count();
}

QString ComboBoxListControl::List(int index) const {
    return m_box->itemText(index);
}

void ListWidgetListControl::Clear() {
    m_list->clear();
    m_newIndex = -1;
}

void ListWidgetListControl::AddItem(const QString& text) {
    m_list->addItem(text);
    m_newIndex = m_list->count() - 1;
}

int32_t ListWidgetListControl::ItemData(int index) const {
    auto* item = m_list->item(index);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void ListWidgetListControl::SetItemData(int index, int32_t data) {
    if (auto* item = m_list->item(index))
        item->setData(Qt::UserRole, data);
}

int ListWidgetListControl::ListCount() const {
    return m_list->count();
}

QString ListWidgetListControl::List(int index) const {
    auto* item = m_list->item(index);
    return item ? item->text() : QString();
}

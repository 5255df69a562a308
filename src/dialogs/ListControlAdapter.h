#pragma once

#include "ListControl.h"

class QComboBox;
class QListWidget;

// Lets the bulk reads of the database fill a Qt combo box; the item data is kept in Qt::UserRole.
class ComboBoxListControl : public IListControl {
public:
    explicit ComboBoxListControl(QComboBox* box) : m_box(box) {}
    void Clear() override;
    void AddItem(const QString& text) override;
    int NewIndex() const override { return m_newIndex; }
    int32_t ItemData(int index) const override;
    void SetItemData(int index, int32_t data) override;
    int ListCount() const override;
    QString List(int index) const override;

private:
    QComboBox* m_box;
    int m_newIndex = -1;
};

// The same for a list box.
class ListWidgetListControl : public IListControl {
public:
    explicit ListWidgetListControl(QListWidget* list) : m_list(list) {}
    void Clear() override;
    void AddItem(const QString& text) override;
    int NewIndex() const override { return m_newIndex; }
    int32_t ItemData(int index) const override;
    void SetItemData(int index, int32_t data) override;
    int ListCount() const override;
    QString List(int index) const override;

private:
    QListWidget* m_list;
    int m_newIndex = -1;
};

#pragma once

#include <QString>
#include <cstdint>

// What the bulk reads need of a list or combo box: clear it, add a text, and keep a number
// (the row's key) with each item. dialogs/ListControlAdapter wraps Qt's boxes.
class IListControl {
public:
    virtual ~IListControl() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString& text) = 0;
    virtual int NewIndex() const = 0;
    virtual int32_t ItemData(int index) const = 0;
    virtual void SetItemData(int index, int32_t data) = 0;
    virtual int ListCount() const = 0;
    virtual QString List(int index) const = 0;
};

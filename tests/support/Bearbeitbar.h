#pragma once

// The fields of a window a user could still change: text fields not read-only, enabled check
// boxes, option buttons and combo boxes. Their object names, for tests of read-only mode.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QStringList>

inline QStringList Bearbeitbar(const QWidget* fenster) {
    QStringList out;
    for (const QLineEdit* e : fenster->findChildren<QLineEdit*>())
        if (!e->isReadOnly() && e->isEnabled() && !qobject_cast<QComboBox*>(e->parentWidget()))
            out << e->objectName();
    for (const QWidget* w : fenster->findChildren<QWidget*>())
        if ((qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w) ||
             qobject_cast<const QComboBox*>(w)) &&
            w->isEnabled())
            out << w->objectName();
    return out;
}

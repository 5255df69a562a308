#include "NurLesen.h"

#include "TovoRecht.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>

bool NurLesen() {
    return goRecht && goRecht->Zugriff().compare(QLatin1String("L"), Qt::CaseInsensitive) == 0;
}

void MaskeNurLesen(QWidget* maske) {
    if (!maske)
        return;
    for (QLineEdit* e : maske->findChildren<QLineEdit*>()) {
        // The line edit inside an editable combo box goes with its box.
        if (qobject_cast<QComboBox*>(e->parentWidget()))
            continue;
        e->setReadOnly(true);
        // On the window's background, so that a field that takes no input looks so.
        QPalette p = e->palette();
        p.setColor(QPalette::Base, p.color(QPalette::Window));
        e->setPalette(p);
    }
    for (QAbstractSpinBox* e : maske->findChildren<QAbstractSpinBox*>())
        e->setReadOnly(true);
    for (QTextEdit* e : maske->findChildren<QTextEdit*>())
        e->setReadOnly(true);
    for (QPlainTextEdit* e : maske->findChildren<QPlainTextEdit*>())
        e->setReadOnly(true);
    for (QCheckBox* b : maske->findChildren<QCheckBox*>())
        b->setEnabled(false);
    for (QRadioButton* b : maske->findChildren<QRadioButton*>())
        b->setEnabled(false);
    for (QComboBox* b : maske->findChildren<QComboBox*>())
        b->setEnabled(false);
}

#pragma once

#include "ModalDialog.h"

#include <QDialog>

// The production modal runner: the dialog's own event loop.
class QtModal : public IModalRunner {
public:
    int run(QDialog& dialog) override { return dialog.exec(); }
};

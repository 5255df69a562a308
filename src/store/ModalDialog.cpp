#include "ModalDialog.h"

namespace {
IModalRunner* gRunner = nullptr;
} // namespace

IModalRunner* SetModalRunner(IModalRunner* runner) {
    IModalRunner* vorher = gRunner;
    gRunner = runner;
    return vorher;
}

int ZeigeModal(QDialog& dialog) {
    return gRunner ? gRunner->run(dialog) : 0;
}

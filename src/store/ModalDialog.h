#pragma once

class QDialog;

// Every window a form opens modally runs through this service, beside the prompt service for
// messages. Production installs the Qt runner (dialogs/QtModal.h), which calls exec(); tests
// install a scripted one that plays the user. Until something is installed, dialogs are rejected
// without being shown.
class IModalRunner {
public:
    virtual ~IModalRunner() = default;
    // Runs the dialog and returns its result (QDialog::Accepted, Rejected or the code of done()).
    virtual int run(QDialog& dialog) = 0;
};

// Installs a runner (not owned; nullptr = none) and returns the one installed before.
IModalRunner* SetModalRunner(IModalRunner* runner);
// Runs a dialog modally through the installed runner; 0 (Rejected) when none is installed.
int ZeigeModal(QDialog& dialog);

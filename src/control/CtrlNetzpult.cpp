// The portal from the control: publishing on command and after saving, the request window.
#include "TovoRaumverwCtrl.h"

#include "ErrorGuard.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "ToolsNetzpult.h"
#include "UpdateNetzpult.h"
#include "frmNetzpult.h"

#include <QApplication>
#include <QTimer>

void TovoRaumverwCtrl::ConnectNetzpultHandlers() {
    UpdateTimer = new QTimer(this);
    UpdateTimer->setObjectName(QStringLiteral("UpdateTimer"));
    UpdateTimer->setInterval(1000);
    connect(UpdateTimer, &QTimer::timeout, this, [this] { UpdateTimer_Timer(); });
}

void TovoRaumverwCtrl::UpdateSQLNetzpult() {
    Netzpult::UpdateSQLNetzpult(this);
}

void TovoRaumverwCtrl::UpdateNetzpult() {
    Netzpult::UpdateNetzpult(this);
}

void TovoRaumverwCtrl::UpdateTimer_Timer() {
    // While a form or message is open the copy waits: it would renumber the requests under an
    // open request window and put its message on top of another.
    if (!gbUpdatePending || ProjektDir().isEmpty() || QApplication::activeModalWidget())
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.UpdateTimer_Timer"), [&] {
        if (ToolsNetzpult::GetWebMDB().isEmpty())
            return;
        // Cleared first: the message below lets the timer tick again meanwhile.
        gbUpdatePending = false;
        if (Netzpult::UpdateSQLNetzpult(this))
            MsgBox(QString::fromUtf8(Netzpult::kAktualisiert), PromptButtons::Ok, PromptIcon::None,
                   QStringLiteral("Tovo"));
    });
}

void TovoRaumverwCtrl::ExterneAntraege() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"),
               [&] { frmNetzpult::Oeffnen(this, StammdatenDb(), Client()); });
    AenderungenZeigen();
}

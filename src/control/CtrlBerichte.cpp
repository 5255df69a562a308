// "Aus&wertungen": the period dialog of the report, the preparation of the print table and the
// report in a print preview.
#include "TovoRaumverwCtrl.h"

#include "Bericht.h"
#include "BerichtLauf.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "frmDatSelect.h"
#include "frmVonBis.h"
#include "frmWeek.h"
#include "frmZeitraum.h"

#include <QAction>
#include <QCoreApplication>

void TovoRaumverwCtrl::ConnectReportHandlers() {
    for (auto it = mnuReport.cbegin(); it != mnuReport.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &QAction::triggered, this, [this, index] { mnuReport_Click(index); });
    }
}

bool TovoRaumverwCtrl::BerichtZeitraumWaehlen(int index, BerichtZeitraum& z) {
    // The pickers start on the period the plan or the table shows.
    const double tag = AngezeigterTag();
    switch (index) {
    case 5: {
        frmVonBis dlg(this);
        dlg.Form_Load(tag);
        ZeigeModal(dlg);
        z.von = dlg.f_datVon;
        z.bis = dlg.f_datBis;
        return dlg.f_bOk;
    }
    case 10: {
        frmWeek dlg(this);
        dlg.Form_Load(tag);
        ZeigeModal(dlg);
        z.von = dlg.f_datVon;
        z.bis = dlg.f_datBis;
        return dlg.f_bOk;
    }
    case 20:
    case 30:
    case 40: {
        frmZeitraum dlg(this);
        dlg.Form_Load(tag);
        ZeigeModal(dlg);
        z.monat = dlg.f_iMonat;
        z.jahr = dlg.f_iJahr;
        z.info = dlg.f_stReport;
        return dlg.f_bOk;
    }
    default: {
        frmDatSelect dlg(this);
        dlg.Form_Activate(tag);
        ZeigeModal(dlg);
        z.von = z.bis = dlg.f_datSelect;
        return !IsNoDate(dlg.f_datSelect);
    }
    }
}

void TovoRaumverwCtrl::mnuReport_Click(int index) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuReport_Click"), [&] {
        const char* name = nullptr;
        switch (index) {
        case 5:
        case 10:
            name = "Repwo";
            break;
        case 20:
            name = "Repmo";
            break;
        case 30:
            name = "Repko";
            break;
        case 40:
            name = "RepAusl";
            break;
        case 200:
            name = "RepTaZ";
            break;
        case 300:
            name = "RepTaR";
            break;
        case 400:
            name = "RepTa";
            break;
        default:
            return;
        }
        const BerichtArt& art = *FindeBericht(QLatin1String(name));
        BerichtZeitraum z;
        if (!BerichtZeitraumWaehlen(index, z))
            return;
        QCoreApplication::processEvents();

        // A failed preparation leaves the table as it was; a report of those old rows would
        // mislead, so nothing is shown then.
        QString fehler;
        if (!BerichtVorbereiten(gDb, art, z, &fehler)) {
            MsgBox(fehler, PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Problem"));
            return;
        }
        Bericht bericht;
        if (!bericht.Erstellen(gDb, art, &fehler, ZeitraumUeberschrift(art, z))) {
            MsgBox(fehler, PromptButtons::Ok, PromptIcon::Critical);
            return;
        }
        bericht.Vorschau(this);
    });
}

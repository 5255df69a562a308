// The master-data windows and archiving, opened from the editing menu.
#include "TovoRaumverwCtrl.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "RaumNrFormat.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "TovoTools.h"
#include "frmDatSelect.h"
#include "frmMitarbeiter.h"
#include "frmRaum.h"
#include "frmRaumArt.h"

namespace {
const QString kIni = QStringLiteral("TovoRaumVerw.ini");
} // namespace

void TovoRaumverwCtrl::Raumarten() {
    bool geaendert = false;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmRaumArt form(this);
        ZeigeModal(form);
        geaendert = form.f_bChange;
    });
    if (geaendert)
        Data2Ctrl();
}

void TovoRaumverwCtrl::Raumdaten() {
    bool geaendert = false;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmRaum form(this);
        form.f_GebStru = moRaumNrFormat ? moRaumNrFormat->GebStru(2) : nullptr;
        form.f_stRaumNrFormat = mstRaumNrFormat;
        ZeigeModal(form);
        geaendert = form.f_bChange;
    });
    if (geaendert)
        coRaumart_Click();
}

void TovoRaumverwCtrl::Mitarbeiter() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmMitarbeiter form(this);
        form.f_StammDb = moStammdatenDb.get();
        ZeigeModal(form);
    });
}

void TovoRaumverwCtrl::Archivieren() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.Archivieren"), [&] {
        frmDatSelect dlg(this);
        dlg.setWindowTitle(QStringLiteral("Archivieren bis"));
        ZeigeModal(dlg);
        const double datum = dlg.f_datSelect;
        if (TovoDate(datum).isNoDate() || !gRvDb)
            return;
        if (gRvDb->ArchiviereBelegungen(datum))
            AktualisiereArchivDatum(datum, 0);
    });
}

void TovoRaumverwCtrl::Wiederherstellen() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.Wiederherstellen"), [&] {
        frmDatSelect dlg(this);
        dlg.setWindowTitle(QStringLiteral("Wiederherstellen ab"));
        ZeigeModal(dlg);
        const double datum = dlg.f_datSelect;
        if (TovoDate(datum).isNoDate() || !gRvDb)
            return;
        if (gRvDb->DeArchiviereBelegungen(datum))
            AktualisiereArchivDatum(datum, 1);
    });
}

void TovoRaumverwCtrl::AktualisiereArchivDatum(double datArchiv, int /*iModus*/) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.AktualisiereArchivDatum"), [&] {
        auto& tools = CTovoTools::Instance();
        const QString datei = gstProjektDir + kIni;
        TovoDate bisher;
        const bool hatDatum = TovoDate::parse(
            tools.ReadIniValue(datei, QStringLiteral("Archiv"), QStringLiteral("Datum"), QString()),
            bisher);
        const TovoDate neu(hatDatum ? datArchiv - 1 : datArchiv);
        if (!tools.WriteIniValue(datei, QStringLiteral("Archiv"), QStringLiteral("Datum"),
                                 neu.toShortDateText()))
            RaiseError(QStringLiteral("Das Archivierungsdatum konnte nicht in '%1' gespeichert "
                                      "werden.")
                           .arg(datei));
        ReadArchivzeit();
    });
}

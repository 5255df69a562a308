// Opening, creating and moving bookings from the plan and the table, and the editing menu.
#include "TovoRaumverwCtrl.h"

#include "Allg_Hilfsfkt.h"
#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "TovoRecht.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"
#include "ViewQueries.h"
#include "frmAntrag.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTableWidget>

namespace {
bool nurLesen() {
    return goRecht && goRecht->Zugriff() == QLatin1String("L");
}
} // namespace

void TovoRaumverwCtrl::ConnectAntragHandlers() {
    connect(TovoZeitPlan1, &TovoZeitPlan::SelectAntrag, this,
            [this](int32_t id) { TovoZeitPlan_SelectAntrag(id); });
    connect(TovoZeitPlan1, &TovoZeitPlan::FreeSelected, this,
            [this](double datum, int32_t raum) { TovoZeitPlan_FreeSelected(datum, raum); });
    connect(fgMain, &QTableWidget::cellDoubleClicked, this, [this] { fgMain_DblClick(); });
    ConnectVerschiebenHandlers();
    connect(m_mnuBearbeitenMenu, &QMenu::aboutToShow, this, [this] { mnuBearbeitenMenu_Click(); });
    for (int index : {5, 10, 20, 22, 23, 30, 31, 32, 40, 50, 60})
        connect(mnuBearbeiten.value(index), &QAction::triggered, this,
                [this, index] { mnuBearbeiten_Click(index); });
    ConnectNetzpultHandlers();
}

void TovoRaumverwCtrl::OeffneBelegung(int32_t lId) {
    auto rec = std::make_shared<CBelegungRec>();
    rec->Rec_ID = lId;
    if (!gRvDb || !gRvDb->Readfm_belegungRec(rec.get()) || rec->Best.isEmpty())
        return;
    auto auftrag = std::make_shared<CBelegungRecColl>();
    gRvDb->ReadAuftrag2Coll(rec->lAuftrNr, auftrag.get());
    bool ganzeSerie = false;
    if (auftrag->Count() >= 2) {
        const PromptResult antwort = MsgBox(
            QStringLiteral("Der gewählte Termin gehört zu einer Serie. Soll die gesamte Serie "
                           "geöffnet werden?"),
            PromptButtons::YesNoCancel, PromptIcon::Question, QStringLiteral("Termin öffnen"));
        if (antwort == PromptResult::Cancel)
            return;
        ganzeSerie = antwort == PromptResult::Yes;
    }
    frmAntrag form(this);
    form.f_StammDb = moStammdatenDb.get();
    form.f_stClient = mstClient;
    if (ganzeSerie)
        form.OeffneAuftrag(auftrag);
    else
        form.OeffneBelegung(rec);
    ZeigeModal(form);
}

void TovoRaumverwCtrl::TovoZeitPlan_SelectAntrag(int32_t lId) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_SelectAntrag"),
               [&] { OeffneBelegung(lId); });
    AenderungenZeigen();
}

void TovoRaumverwCtrl::fgMain_DblClick() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.fgMain_DblClick"), [&] {
        const int row = fgMain->currentRow();
        QTableWidgetItem* item = row >= 0 ? fgMain->item(row, 0) : nullptr;
        const QVariant id = item ? item->data(Qt::UserRole) : QVariant();
        if (id.isValid())
            OeffneBelegung(id.toInt());
    });
    AenderungenZeigen();
}

void TovoRaumverwCtrl::TovoZeitPlan_FreeSelected(double datum, int32_t lRaumId) {
    if (nurLesen())
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.TovoZeitPlan_FreeSelected"), [&] {
        frmAntrag form(this);
        form.f_StammDb = moStammdatenDb.get();
        form.f_stClient = mstClient;
        form.NeuerAntragImRaum(lRaumId, datum);
        ZeigeModal(form);
    });
    AenderungenZeigen();
}

void TovoRaumverwCtrl::SetzeNurLesen(bool nurLesen) {
    mbNurLesen = nurLesen;
    MainToolbarButtons.value(QStringLiteral("New"))->setEnabled(!nurLesen);
    mnuBearbeiten.value(30)->setEnabled(!nurLesen);
    TovoZeitPlan1->SetNurLesen(nurLesen);
}

void TovoRaumverwCtrl::NeuerAntrag() {
    if (nurLesen() || !RaeumeVorhanden())
        return;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.MainToolbar_ButtonClick"), [&] {
        frmAntrag form(this);
        form.f_StammDb = moStammdatenDb.get();
        form.f_stClient = mstClient;
        form.NeuerAntrag(TovoDate::today());
        ZeigeModal(form);
    });
    AenderungenZeigen();
}

void TovoRaumverwCtrl::mnuBearbeitenMenu_Click() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeitenMenu_Click"), [&] {
        if (!goRecht || goRecht->Zugriff() != QLatin1String("S")) {
            for (int index : {30, 32, 40, 50, 60})
                mnuBearbeiten.value(index)->setEnabled(false);
            return;
        }
        const QString rechte = CTovoTools::Instance().ReadIniValue(
            mstExeDir + QStringLiteral("Funktionsrechte.ini"), QStringLiteral("Rechte"),
            QStringLiteral("Raumverwaltung"), QStringLiteral("0"));
        if (rechte.trimmed() == QLatin1String("0")) {
            mnuBearbeiten.value(5)->setEnabled(true);
            mnuBearbeiten.value(10)->setEnabled(true);
            return;
        }
        mnuBearbeiten.value(5)->setEnabled(false);
        mnuBearbeiten.value(10)->setEnabled(false);
        const int anzahl = Allg_Hilfsfkt::GetTokenCount(rechte, QStringLiteral(","));
        for (int i = 1; i <= anzahl; ++i) {
            bool zahl = false;
            const int recht =
                Allg_Hilfsfkt::GetToken(rechte, QStringLiteral(","), i).trimmed().toInt(&zahl);
            if (zahl && recht == 1)
                mnuBearbeiten.value(5)->setEnabled(true);
            if (zahl && recht == 2)
                mnuBearbeiten.value(10)->setEnabled(true);
        }
    });
}

void TovoRaumverwCtrl::mnuBearbeiten_Click(int index) {
    switch (index) {
    case 5:
        Raumarten();
        break;
    case 10:
        Raumdaten();
        break;
    case 20:
        Mitarbeiter();
        break;
    case 22:
        Gebaeudestruktur();
        break;
    case 23:
        FirmenUndPersonen();
        break;
    case 40:
        Archivieren();
        SetzeAnsichtNeu();
        break;
    case 50:
        Wiederherstellen();
        SetzeAnsichtNeu();
        break;
    case 30:
        MainToolbar_ButtonClick(QStringLiteral("New"));
        break;
    case 31:
        ExterneAntraege();
        break;
    case 32:
        UpdateNetzpult();
        break;
    case 60:
        RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"),
                   [] { R_Main::AuftragNrSetzen(); });
        break;
    case 70:
        Q_EMIT ExitModule();
        QCoreApplication::processEvents();
        break;
    default:
        break;
    }
}

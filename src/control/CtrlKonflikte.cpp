// Overlapping bookings: the list of the shown period and jumping to a pair.
#include "TovoRaumverwCtrl.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "TovoZeitPlan.h"
#include "ZeitPlanKonflikte.h"
#include "frmKonflikte.h"

#include <QScrollBar>
#include <algorithm>

void TovoRaumverwCtrl::mnuKonflikte_Click() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuKonflikte_Click"), [&] {
        // The pairs are taken from the plan; the table view switches to it first.
        if (AktuelleAnsicht() == 1)
            mnuAnsicht_Click(10);
        const ZeitPlanTerminListe termine = TovoZeitPlan1->Termine();
        const auto paare = ZeitPlanKonflikte::Paare(termine, TovoZeitPlan1->DatumVon(),
                                                    TovoZeitPlan1->DatumBis(), gdToleranz);
        if (paare.isEmpty()) {
            MsgBox(QStringLiteral("Im angezeigten Zeitraum überschneiden sich keine Belegungen."),
                   PromptButtons::Ok, PromptIcon::Information, QStringLiteral("Konflikte"));
            return;
        }
        // Orderer, event and order number of each booking, as the list names them.
        QHash<int64_t, QString> namen;
        for (const auto& paar : paare)
            for (const auto* b : {&paar.erste, &paar.zweite}) {
                CBelegungRec rec;
                rec.Rec_ID = static_cast<int32_t>(b->lId);
                if (namen.contains(b->lId) || !gRvDb || !gRvDb->Readfm_belegungRec(&rec))
                    continue;
                QString name = rec.Best.trimmed();
                if (!rec.Verst.trimmed().isEmpty())
                    name += QStringLiteral(" – ") + rec.Verst.trimmed();
                namen.insert(b->lId, name + QStringLiteral(" (Auftrag ") +
                                         QString::number(rec.lAuftrNr) + QLatin1Char(')'));
            }
        frmKonflikte liste(this);
        liste.Laden(paare, TovoZeitPlan1->Raeume(), termine, namen);
        if (ZeigeModal(liste) != QDialog::Accepted || liste.Gewaehlt() < 0)
            return;
        const auto& paar = paare[liste.Gewaehlt()];
        ZeigeInPlan(std::max(paar.erste.von, paar.zweite.von), paar.erste.raumId);
    });
}

void TovoRaumverwCtrl::ZeigeInPlan(double datum, int64_t raumId) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.ZeigeInPlan"), [&] {
        // The day view around the moment shows the bars wide enough to tell them apart.
        TovoZeitPlan_ChangeAnzeige(TovoZeitPlan1, ZeitPlanGeometry::WholeHour(datum),
                                   ZeitPlanGeometry::Tag);
        const ZeitPlanRaumListe& raeume = TovoZeitPlan1->Raeume();
        for (int r = 0; r < raeume.size(); ++r) {
            if (raeume[r].lId != raumId)
                continue;
            const int hoehe = TovoZeitPlan1->ZeilenHoehe();
            const int sichtbar = std::max(0, TovoZeitPlan1->height() - TovoZeitPlan::kKopfHoehe);
            const int offset = std::max(0, r * hoehe - (sichtbar - hoehe) / 2);
            TovoZeitPlan1->SetZeilenOffset(offset);
            VInScroll->setValue(TovoZeitPlan1->ZeilenOffset());
            break;
        }
    });
}

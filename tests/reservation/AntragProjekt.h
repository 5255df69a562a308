#pragma once

// The reservation form's project: two rooms of one type, a company with two persons, an
// order-number dialog that is cancelled, and the form's dialogs answered by `modal`.
#include "R_Main.h"
#include "ScriptedModal.h"
#include "StammdatenDb.h"
#include "TestProjekt.h"
#include "frmAntrag.h"
#include "frmSerie.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QtTest>

class AntragProjekt : public TestProjekt {
public:
    AntragProjekt() {
        gstMailname = QStringLiteral("Hausdienste");
        gbUpdatePending = false;
        R_Main::gNextNrDialog = [](int32_t) { return -1; };
        typ = raumart(QStringLiteral("Besprechung"));
        raumA =
            raum(QStringLiteral("Raum A"), QStringLiteral("WPB"), QStringLiteral("UOK"), 30, 10, 4);
        raumB = raum(QStringLiteral("Raum B"), QStringLiteral("WPCMRFLNASGB"), QStringLiteral("K"),
                     80, 20, 0);
        ok = ok && stamm.OpenJet(QString(), QString(), dir.filePath(QStringLiteral("Stamm.mdb")),
                                 nullptr);
        Firma f{.stName = "Stadtwerke",
                .stStrasse = "Hauptstr. 5",
                .stPlz = "01067",
                .stOrt = "Dresden"};
        ok = ok && stamm.SaveFirma(f);
        firma = f.lId;
        Person a{.lFirmaId = firma,
                 .stVorname = "Anna",
                 .stName = "O'Neill",
                 .stTelefon = "0351 1234",
                 .stTelefax = "0351 1235",
                 .stEmail = "anna@stadtwerke.de",
                 .stKostenstelle = "4711"};
        Person k{.lFirmaId = firma, .stVorname = "Karl", .stName = "Berg"};
        ok = ok && stamm.SavePerson(a) && stamm.SavePerson(k);
        anna = a.lId;
        karl = k.lId;
    }
    ~AntragProjekt() { R_Main::gNextNrDialog = nullptr; }

    using TestProjekt::raum;
    int32_t raum(const QString& name, const QString& ausstattung, const QString& stuhl, int pers,
                 int tische, int fest) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.lRaumartId = typ;
        r.stAusstattung = ausstattung;
        r.STSTUHLANORDNUNG = stuhl;
        r.IANZAHLPERS = static_cast<int16_t>(pers);
        r.IPTISCHE = static_cast<int16_t>(tische);
        r.IPTISCHEFEST = static_cast<int16_t>(fest);
        return raum(r);
    }

    // Opens the form as the occupancy control does and runs its load and activation.
    void oeffne(frmAntrag& form) {
        form.f_StammDb = &stamm;
        form.Form_Load();
        form.Form_Activate();
    }
    // A new reservation in `raum` from `beginn`, opened as the time plan opens it; with `bis` the
    // end time and an orderer typed. The messages so far are forgotten.
    void neu(frmAntrag& form, int32_t raum, double beginn, const QString& bis = QString()) {
        form.NeuerAntragImRaum(raum, beginn);
        oeffne(form);
        if (!bis.isEmpty()) {
            form.tfTm_bis->setText(bis);
            form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        }
        prompt.clear();
    }
    // Stores the booking and opens a form on it; the messages so far are forgotten.
    std::shared_ptr<CBelegungRec> oeffne(frmAntrag& form, const CBelegungRec& satz) {
        auto rec = buche(satz);
        form.OeffneBelegung(rec);
        oeffne(form);
        prompt.clear();
        return rec;
    }
    // "> Serie definieren" filled as a user would: every Monday, `termine` dates (0 cancels).
    void wochenserie(frmAntrag& form, int termine, bool ohneFeiertage = false) {
        modal.einmal([=](frmSerie& dlg) {
            dlg.Form_Activate();
            dlg.obWeekly->setChecked(true);
            dlg.obEndeNach->setChecked(true);
            dlg.edAnzTerm->setText(QString::number(termine));
            if (ohneFeiertage)
                dlg.cbFeiertage->setChecked(true);
            termine > 0 ? dlg.pbOk_Click() : dlg.pbCancel_Click();
        });
        form.pbSerie_Click();
    }

    CStammdatenDb stamm;
    ScriptedModal modal;
    int32_t typ = 0, raumA = 0, raumB = 0, firma = 0, anna = 0, karl = 0;
};

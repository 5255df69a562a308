#include "frmRaum.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ListControlAdapter.h"
#include "ModalDialog.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "RaumMaske.h"
#include "RvGlobals.h"
#include "StammGrid.h"
#include "StammdatenQueries.h"
#include "TovoDate.h"
#include "TovoTextbox.h"
#include "frmGebStruSel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>

namespace {
const QString kSpeichern = QStringLiteral("Speichern");

QString Anzahl(int n, const QString& einzahl, const QString& mehrzahl) {
    return QString::number(n) + QLatin1Char(' ') + (n == 1 ? einzahl : mehrzahl);
}
} // namespace

frmRaum::frmRaum(QWidget* parent) : QDialog(parent) {
    BuildLayout();
    Form_Load();
}

void frmRaum::showEvent(QShowEvent* event) {
    if (!m_aktiviert)
        Form_Activate();
    QDialog::showEvent(event);
}

QString frmRaum::RaumartName(int32_t id) const {
    const CRaumartRec* art = m_raumarten.Item(CRaumartRecColl::MakeIndex(id));
    return art ? art->stRaumArt : QString();
}

void frmRaum::Form_Load() {
    RunGuarded(QStringLiteral("frmRaum.Form_Load"), [&] {
        m_raeume.Clear();
        m_raumarten.Clear();
        if (!gRvDb)
            return;
        gRvDb->ReadAllrb_AnzeigeRec2Coll(&m_raeume);
        gRvDb->ReadAllRaumartRec2Coll(&m_raumarten);
        m_laden = true;
        ComboBoxListControl arten(coRaumart);
        gRvDb->ReadAllRaumartRec2Ctrl(&arten, false);
        coRaumart->setCurrentIndex(-1);
        m_laden = false;
        FuelleGrid();
    });
}

void frmRaum::FuelleGrid() {
    const QSignalBlocker block(fgAnzeige);
    StammGrid::Fuelle(fgAnzeige, [&] {
        fgAnzeige->setRowCount(m_raeume.Count());
        for (int32_t i = 1; i <= m_raeume.Count(); ++i) {
            const CAnzeigeRec* r = m_raeume.Item(i);
            StammGrid::SetzeZeile(fgAnzeige, i - 1,
                                  RaumMaske::Zeile(*r, RaumartName(r->lRaumartId)), r->az_ID);
        }
    });
}

void frmRaum::Form_Activate() {
    m_aktiviert = true;
    RunGuarded(QStringLiteral("frmRaum.Form_Activate"), [&] {
        if (NurLesen()) {
            for (QAction* a : MainToolbarButtons)
                a->setEnabled(false);
            MaskeNurLesen(this);
        }
        pbGebStru->setEnabled(!NurLesen() && f_GebStru);
        if (fgAnzeige->rowCount() > 0) {
            const QSignalBlocker block(fgAnzeige);
            fgAnzeige->setCurrentCell(0, 0);
            ZeigeRaum(StammGrid::Id(fgAnzeige, 0));
        }
        if ((f_bNeu || fgAnzeige->rowCount() == 0) && !NurLesen())
            OnButtonNew();
        f_bNeu = false;
    });
}

void frmRaum::MainToolbar_ButtonClick(const QString& key) {
    if (key == QLatin1String("New"))
        OnButtonNew();
    else if (key == QLatin1String("Save"))
        OnButtonSave();
    else if (key == QLatin1String("Delete"))
        OnButtonDelete();
}

void frmRaum::MaskeGeaendert() {
    if (!m_laden)
        SetzeGeaendert(true);
}

void frmRaum::SetzeGeaendert(bool geaendert) {
    m_bGeaendert = geaendert;
    MainToolbarButtons.value(QStringLiteral("Save"))->setEnabled(geaendert && !NurLesen());
}

bool frmRaum::Ungespeichert() {
    return MainToolbarButtons.value(QStringLiteral("Save"))->isEnabled();
}

void frmRaum::fgAnzeige_Click(int row) {
    RunGuarded(QStringLiteral("frmRaum.fgAnzeige_Click"), [&] {
        const int32_t id = StammGrid::Id(fgAnzeige, row);
        if (id == 0)
            return;
        if (Ungespeichert() && id != m_letzteId) {
            const PromptResult antwort =
                MsgBox(QStringLiteral("Daten wurden nicht gespeichert! Jetzt speichern?"),
                       PromptButtons::YesNo, PromptIcon::Question);
            if (antwort == PromptResult::Yes) {
                const QSignalBlocker block(fgAnzeige);
                const int vorher = StammGrid::ZeileVon(fgAnzeige, m_letzteId);
                fgAnzeige->setCurrentCell(vorher, 0);
                if (!OnButtonSave())
                    return; // the entry stays in the mask
                fgAnzeige->setCurrentCell(StammGrid::ZeileVon(fgAnzeige, id), 0);
            }
        }
        ZeigeRaum(id);
    });
}

void frmRaum::ZeigeRaum(int32_t id) {
    auto raum = std::make_unique<CAnzeigeRec>();
    raum->az_ID = id;
    if (!gRvDb || !gRvDb->Readrb_AnzeigeRec(raum.get()))
        return;
    MaskeFuellen(*raum, false);
    m_aktuell = std::move(raum);
    m_letzteId = id;
    SetzeGeaendert(false);
}

void frmRaum::MaskeFuellen(const CAnzeigeRec& raum, bool neu) {
    // Counts of a new room show empty, those of a stored one as stored.
    const auto zahl = [neu](int16_t wert) { return neu ? QString() : QString::number(wert); };
    m_laden = true;
    edName->setText(raum.Kurzbez);
    edRaumNr->setText(raum.RaumNr);
    m_lGebraumId = raum.lGebraumId;
    const RaumMaske::Haken haken = RaumMaske::AusstattungLesen(raum.stAusstattung);
    for (int i = 0; i < 12; ++i)
        cbAusstattung[i]->setChecked(haken[i]);
    edMaxAnzahlPTische->setText(zahl(raum.IPTISCHE));
    edFestAnzahlPTische->setText(zahl(raum.IPTISCHEFEST));
    coRaumart->setCurrentIndex(coRaumart->findData(raum.lRaumartId));
    coStuhlanordnung->setCurrentIndex(RaumMaske::StuhlIndex(raum.STSTUHLANORDNUNG));
    edAnzahlPers->setText(zahl(raum.IANZAHLPERS));
    m_laden = false;
}

void frmRaum::OnButtonNew() {
    RunGuarded(QStringLiteral("frmRaum.OnButtonNew"), [&] {
        m_aktuell.reset();
        m_letzteId = 0;
        {
            const QSignalBlocker block(fgAnzeige);
            fgAnzeige->clearSelection();
            fgAnzeige->setCurrentCell(-1, -1);
        }
        // A new room starts from empty fields; nothing to save until the user enters something.
        MaskeFuellen(CAnzeigeRec(), true);
        if (coRaumart->count() == 1) {
            m_laden = true;
            coRaumart->setCurrentIndex(0);
            m_laden = false;
        }
        SetzeGeaendert(false);
        edName->setFocus();
    });
}

bool frmRaum::OnButtonSave() {
    return RunGuarded<bool>(QStringLiteral("frmRaum.OnButtonSave"), false, [&] {
        if (NurLesen() || !gRvDb)
            return false;
        const auto fehler = [](const QString& text, QWidget* feld) {
            MsgBox(text, PromptButtons::Ok, PromptIcon::Exclamation, kSpeichern);
            feld->setFocus();
            return false;
        };
        const QString name = edName->text();
        if (name.trimmed().isEmpty())
            return fehler(QStringLiteral("Bezeichnung eingeben!"), edName);
        if (coRaumart->currentIndex() < 0)
            return fehler(coRaumart->count() == 0
                              ? QStringLiteral("Es gibt noch keine Raumart. Bitte legen Sie "
                                               "zuerst unter \"Raumarten\" eine an.")
                              : QStringLiteral("Bitte eine Raumart wählen!"),
                          coRaumart);
        CAnzeigeRec rec = m_aktuell ? *m_aktuell : CAnzeigeRec();
        QString meldung;
        if (!RaumMaske::ReadAnzahl(edAnzahlPers->text(), QStringLiteral("Personen"),
                                   rec.IANZAHLPERS, meldung))
            return fehler(meldung, edAnzahlPers);
        if (!RaumMaske::ReadAnzahl(edMaxAnzahlPTische->text(), QStringLiteral("Tische max."),
                                   rec.IPTISCHE, meldung))
            return fehler(meldung, edMaxAnzahlPTische);
        if (!RaumMaske::ReadAnzahl(edFestAnzahlPTische->text(), QStringLiteral("Tische fest"),
                                   rec.IPTISCHEFEST, meldung))
            return fehler(meldung, edFestAnzahlPTische);

        CAnzeigeRec gleichnamig;
        gleichnamig.Kurzbez = name;
        // The read succeeds without a row too; then the id stays 0.
        if (gRvDb->ReadRaumByLang(&gleichnamig) && gleichnamig.az_ID != 0 &&
            (!m_aktuell || gleichnamig.az_ID != m_aktuell->az_ID)) {
            MsgBox(QStringLiteral("Es gibt bereits einen Raum mit diesem Namen!"),
                   PromptButtons::Ok, PromptIcon::Critical, kSpeichern);
            return false;
        }

        rec.Kurzbez = name;
        rec.RaumNr = edRaumNr->text();
        rec.lRaumartId = coRaumart->currentData().toInt();
        rec.lGebraumId = m_lGebraumId;
        RaumMaske::Haken haken{};
        for (int i = 0; i < 12; ++i)
            haken[i] = cbAusstattung[i]->isChecked();
        rec.stAusstattung = RaumMaske::AusstattungSchreiben(haken);
        rec.STSTUHLANORDNUNG = RaumMaske::StuhlCode(coStuhlanordnung->currentIndex());
        const bool neu = !m_aktuell;
        if (!StammGrid::Gespeichert(neu ? gRvDb->AddNewrb_AnzeigeRec(&rec)
                                        : gRvDb->Editrb_AnzeigeRec(&rec)))
            return false;
        m_aktuell = std::make_unique<CAnzeigeRec>(rec);
        m_letzteId = rec.az_ID;
        StammGrid::ZeigeZeile(fgAnzeige, RaumMaske::Zeile(rec, RaumartName(rec.lRaumartId)),
                              rec.az_ID);
        SetzeGeaendert(false);
        f_bChange = true;
        return true;
    });
}

void frmRaum::OnButtonDelete() {
    RunGuarded(QStringLiteral("frmRaum.OnButtonDelete"), [&] {
        if (NurLesen() || !gRvDb || !m_aktuell)
            return;
        QString frage = QStringLiteral("Eintrag wirklich löschen?");
        int gesamt = 0;
        int zukunft = 0;
        QString fehler;
        if (!gDb.isEmpty() &&
            StammdatenQueries::ZaehleBelegungen(gDb, m_aktuell->az_ID, TovoDate::today().value(),
                                                gesamt, zukunft, &fehler) &&
            gesamt > 0)
            frage = QStringLiteral("Raum '%1' hat %2, davon %3 in der Zukunft. Alle "
                                   "Reservierungen des Raums werden mit ihm gelöscht.\n\n")
                        .arg(m_aktuell->Kurzbez, Anzahl(gesamt, QStringLiteral("Reservierung"),
                                                        QStringLiteral("Reservierungen")))
                        .arg(zukunft) +
                    frage;
        const int32_t id = m_aktuell->az_ID;
        if (!StammGrid::LoeschenBestaetigt(frage) ||
            !StammGrid::Geloescht(gRvDb->Delrb_AnzeigeRec(id)))
            return;
        {
            const QSignalBlocker block(fgAnzeige);
            fgAnzeige->removeRow(StammGrid::ZeileVon(fgAnzeige, id));
            fgAnzeige->setCurrentCell(-1, -1);
        }
        m_aktuell.reset();
        m_letzteId = 0;
        m_laden = true;
        edRaumNr->clear();
        edName->clear();
        coRaumart->setCurrentIndex(-1);
        m_laden = false;
        m_lGebraumId = 0;
        SetzeGeaendert(false);
        f_bChange = true;
    });
}

void frmRaum::pbGebStru_Click() {
    RunGuarded(QStringLiteral("frmRaum.pbGebStru_Click"), [&] {
        frmGebStruSel auswahl(f_GebStru, f_stRaumNrFormat, this);
        if (m_lGebraumId)
            auswahl.WaehleKnoten(m_lGebraumId);
        if (ZeigeModal(auswahl) != QDialog::Accepted || auswahl.f_lRaumId == 0)
            return;
        edRaumNr->setText(auswahl.f_stRaumNr);
        m_lGebraumId = auswahl.f_lRaumId;
    });
}

void frmRaum::pbEnde_Click() {
    RunGuarded(QStringLiteral("frmRaum.pbEnde_Click"), [&] {
        if (Ungespeichert()) {
            const PromptResult antwort =
                MsgBox(QStringLiteral("Daten wurden nicht gespeichert! Jetzt speichern?"),
                       PromptButtons::YesNoCancel, PromptIcon::Question);
            if (antwort == PromptResult::Cancel ||
                (antwort == PromptResult::Yes && !OnButtonSave()))
                return;
        }
        SetzeGeaendert(false);
        accept();
    });
}

void frmRaum::reject() {
    if (Ungespeichert())
        pbEnde_Click();
    else
        QDialog::reject();
}

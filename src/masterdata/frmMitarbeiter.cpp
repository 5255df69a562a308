#include "frmMitarbeiter.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "RecColl.h"
#include "RvGlobals.h"
#include "StammGrid.h"
#include "StammdatenDb.h"
#include "TovoTextbox.h"
#include "frmPersonWahl.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString kSpeichern = QStringLiteral("Speichern");

QVariantList Zeile(const CMitarbeiterRec& m) {
    return {m.stPersNr,  m.stVorname, m.stName,  m.stAbteilung, m.stFunktion,     m.stTelefon,
            m.stTelefax, m.STEMAIL,   m.STFIRMA, m.stRaumNr,    m.STKOSTENSTELLE, m.STBEMERKUNG};
}
} // namespace

frmMitarbeiter::frmMitarbeiter(QWidget* parent) : QDialog(parent) {
    BuildLayout();
    Form_Load();
}

void frmMitarbeiter::BuildLayout() {
    setObjectName(QStringLiteral("frmMitarbeiter"));
    setWindowTitle(QStringLiteral("Mitarbeiter"));
    setModal(true);
    setSizeGripEnabled(true);

    fgAnzeige = StammGrid::Neu(
        this, "fgAnzeige",
        {QStringLiteral("Pers.-Nr."), QStringLiteral("Vorname"), QStringLiteral("Name"),
         QStringLiteral("Abteilung"), QStringLiteral("Funktion"), QStringLiteral("Telefon"),
         QStringLiteral("Telefax"), QStringLiteral("E-Mail"), QStringLiteral("Firma"),
         QStringLiteral("Raum-Nr."), QStringLiteral("Kostenstelle"), QStringLiteral("Bemerkung")});
    fgAnzeige->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    fgAnzeige->horizontalHeader()->setDefaultSectionSize(110);

    const auto feld = [this](const char* name) {
        auto* ed = new TovoTextbox(this);
        ed->setObjectName(QLatin1String(name));
        return ed;
    };
    edAnrede = feld("edAnrede");
    edVorname = feld("edVorname");
    edName = feld("edName");
    edPersNr = feld("edPersNr");
    edFirma = feld("edFirma");
    edAbteilung = feld("edAbteilung");
    edFunktion = feld("edFunktion");
    edKostenstelle = feld("edKostenstelle");
    edTelefon = feld("edTelefon");
    edTelefax = feld("edTelefax");
    edEMail = feld("edEMail");
    edRaumNr = feld("edRaumNr");
    edBemerkung = feld("edBemerkung");

    auto spalte = [this](std::initializer_list<std::pair<const char*, TovoTextbox*>> felder) {
        auto* form = new QFormLayout;
        for (const auto& [text, ed] : felder)
            form->addRow(QString::fromUtf8(text), ed);
        return form;
    };
    auto* maske = new QHBoxLayout;
    maske->addLayout(spalte({{"Anrede:", edAnrede},
                             {"Vorname:", edVorname},
                             {"Name:", edName},
                             {"Pers.-Nr.:", edPersNr},
                             {"Firma:", edFirma}}));
    maske->addLayout(spalte({{"Abteilung:", edAbteilung},
                             {"Funktion:", edFunktion},
                             {"Kostenstelle:", edKostenstelle},
                             {"Raum-Nr.:", edRaumNr}}));
    maske->addLayout(spalte({{"Telefon:", edTelefon},
                             {"Telefax:", edTelefax},
                             {"E-Mail:", edEMail},
                             {"Bemerkung:", edBemerkung}}));

    pbNeu = StammGrid::Knopf(this, QStringLiteral("pbNeu"), QStringLiteral("&Neu"));
    pbSave = StammGrid::Knopf(this, QStringLiteral("pbSave"), QStringLiteral("&Speichern"));
    pbDel = StammGrid::Knopf(this, QStringLiteral("pbDel"), QStringLiteral("&Löschen"));
    pbGetStamm =
        StammGrid::Knopf(this, QStringLiteral("pbGetStamm"), QStringLiteral("&Aus Stammdaten"));
    pbGetStamm->setToolTip(QStringLiteral("Eine Person aus den Stammdaten übernehmen"));
    pbEnde = StammGrid::Knopf(this, QStringLiteral("pbEnde"), QStringLiteral("&Ende"));
    auto* knoepfe = new QHBoxLayout;
    for (QPushButton* pb : {pbNeu, pbSave, pbDel, pbGetStamm})
        knoepfe->addWidget(pb);
    knoepfe->addStretch();
    knoepfe->addWidget(pbEnde);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fgAnzeige, 1);
    layout->addLayout(maske);
    layout->addLayout(knoepfe);
    resize(1100, 600);

    connect(fgAnzeige, &QTableWidget::currentCellChanged, this,
            [this](int row) { fgAnzeige_Click(row); });
    connect(pbNeu, &QPushButton::clicked, this, [this] { pbNeu_Click(); });
    connect(pbSave, &QPushButton::clicked, this, [this] { pbSave_Click(); });
    connect(pbDel, &QPushButton::clicked, this, [this] { pbDel_Click(); });
    connect(pbGetStamm, &QPushButton::clicked, this, [this] { pbGetStamm_Click(); });
    connect(pbEnde, &QPushButton::clicked, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, pbSave,
            &QPushButton::click);
}

void frmMitarbeiter::showEvent(QShowEvent* event) {
    if (!m_aktiviert)
        Form_Activate();
    QDialog::showEvent(event);
}

void frmMitarbeiter::Form_Load() {
    RunGuarded(QStringLiteral("frmMitarbeiter.Form_Load"), [&] {
        if (!gRvDb)
            return;
        CMitarbeiterRecColl alle;
        gRvDb->ReadAllMitarbeiter2Coll(&alle);
        const QSignalBlocker block(fgAnzeige);
        StammGrid::Fuelle(fgAnzeige, [&] {
            fgAnzeige->setRowCount(alle.Count());
            for (int32_t i = 1; i <= alle.Count(); ++i)
                StammGrid::SetzeZeile(fgAnzeige, i - 1, Zeile(*alle.Item(i)), alle.Item(i)->lId);
        });
    });
}

void frmMitarbeiter::Form_Activate() {
    m_aktiviert = true;
    RunGuarded(QStringLiteral("frmMitarbeiter.Form_Activate"), [&] {
        if (NurLesen()) {
            for (QPushButton* pb : {pbNeu, pbSave, pbDel, pbGetStamm})
                pb->setEnabled(false);
            MaskeNurLesen(this);
        }
        pbGetStamm->setEnabled(!NurLesen() && f_StammDb && f_StammDb->IsOpen());
        if (f_bNeu || fgAnzeige->rowCount() == 0) {
            pbNeu_Click();
        } else {
            fgAnzeige->setCurrentCell(0, 0); // shows the first employee
        }
        f_bNeu = false;
    });
}

void frmMitarbeiter::fgAnzeige_Click(int row) {
    RunGuarded(QStringLiteral("frmMitarbeiter.fgAnzeige_Click"), [&] {
        const int32_t id = StammGrid::Id(fgAnzeige, row);
        if (id == 0 || !gRvDb)
            return;
        auto rec = std::make_unique<CMitarbeiterRec>();
        rec->lId = id;
        if (!gRvDb->ReadMitarbeiterRec(rec.get()))
            return;
        Read2Mask(*rec);
        m_aktuell = std::move(rec);
    });
}

void frmMitarbeiter::Read2Mask(const CMitarbeiterRec& m) {
    edPersNr->setText(m.stPersNr);
    edVorname->setText(m.stVorname);
    edName->setText(m.stName);
    edAbteilung->setText(m.stAbteilung);
    edFunktion->setText(m.stFunktion);
    edTelefon->setText(m.stTelefon);
    edTelefax->setText(m.stTelefax);
    edEMail->setText(m.STEMAIL);
    edFirma->setText(m.STFIRMA);
    edRaumNr->setText(m.stRaumNr);
    edKostenstelle->setText(m.STKOSTENSTELLE);
    edBemerkung->setText(m.STBEMERKUNG);
    edAnrede->setText(m.stAnrede);
}

void frmMitarbeiter::Write2Rec(CMitarbeiterRec& m) const {
    m.stPersNr = edPersNr->text();
    m.stVorname = edVorname->text();
    m.stName = edName->text();
    m.stAbteilung = edAbteilung->text();
    m.stFunktion = edFunktion->text();
    m.stTelefon = edTelefon->text();
    m.stTelefax = edTelefax->text();
    m.STEMAIL = edEMail->text();
    m.STFIRMA = edFirma->text();
    m.stRaumNr = edRaumNr->text();
    m.STKOSTENSTELLE = edKostenstelle->text();
    m.STBEMERKUNG = edBemerkung->text();
    m.stAnrede = edAnrede->text();
}

void frmMitarbeiter::pbNeu_Click() {
    RunGuarded(QStringLiteral("frmMitarbeiter.pbNeu_Click"), [&] {
        m_aktuell.reset();
        {
            const QSignalBlocker block(fgAnzeige);
            fgAnzeige->clearSelection();
            fgAnzeige->setCurrentCell(-1, -1);
        }
        Read2Mask(CMitarbeiterRec());
        edVorname->setFocus();
    });
}

void frmMitarbeiter::pbSave_Click() {
    RunGuarded(QStringLiteral("frmMitarbeiter.pbSave_Click"), [&] {
        if (NurLesen() || !gRvDb)
            return;
        if (edName->text().trimmed().isEmpty() && edVorname->text().trimmed().isEmpty()) {
            MsgBox(QStringLiteral("Bitte Name oder Vorname eingeben!"), PromptButtons::Ok,
                   PromptIcon::Exclamation, kSpeichern);
            edName->setFocus();
            return;
        }
        CMitarbeiterRec rec = m_aktuell ? *m_aktuell : CMitarbeiterRec();
        Write2Rec(rec);
        const bool neu = !m_aktuell;
        if (!StammGrid::Gespeichert(neu ? gRvDb->AddNewMitarbeiterRec(&rec)
                                        : gRvDb->EditMitarbeiterRec(&rec)))
            return;
        m_aktuell = std::make_unique<CMitarbeiterRec>(rec);
        StammGrid::ZeigeZeile(fgAnzeige, Zeile(rec), rec.lId);
        f_bChange = true;
    });
}

void frmMitarbeiter::pbDel_Click() {
    RunGuarded(QStringLiteral("frmMitarbeiter.pbDel_Click"), [&] {
        if (NurLesen() || !gRvDb || !m_aktuell)
            return;
        const int32_t id = m_aktuell->lId;
        if (!StammGrid::LoeschenBestaetigt() || !StammGrid::Geloescht(gRvDb->DelMitarbeiterRec(id)))
            return;
        {
            const QSignalBlocker block(fgAnzeige);
            fgAnzeige->removeRow(StammGrid::ZeileVon(fgAnzeige, id));
        }
        f_bChange = true;
        pbNeu_Click();
    });
}

void frmMitarbeiter::pbGetStamm_Click() {
    RunGuarded(QStringLiteral("frmMitarbeiter.pbGetStamm_Click"), [&] {
        pbNeu_Click();
        if (!f_StammDb)
            return;
        frmPersonWahl wahl(f_StammDb, this);
        if (ZeigeModal(wahl) != QDialog::Accepted || wahl.f_lPersonId == 0)
            return;
        Person p;
        if (!f_StammDb->ReadPerson(wahl.f_lPersonId, p)) {
            MsgBox(f_StammDb->LastError(), PromptButtons::Ok, PromptIcon::Critical);
            return;
        }
        Firma f;
        if (p.lFirmaId)
            f_StammDb->ReadFirma(p.lFirmaId, f);
        edName->setText(p.stName);
        edVorname->setText(p.stVorname);
        edAnrede->setText(p.stAnrede);
        edAbteilung->setText(p.stAbteilung);
        edFunktion->setText(p.stFunktion);
        edTelefon->setText(p.stTelefon);
        edTelefax->setText(p.stTelefax);
        edEMail->setText(p.stEmail);
        edBemerkung->setText(p.stBemerkung);
        edFirma->setText(f.stName);
    });
}

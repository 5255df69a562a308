#include "frmStammdaten.h"

#include "ErrorGuard.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "TovoRecht.h"
#include "TovoTextbox.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <initializer_list>

namespace {

const QString kLoeschenFrage = QStringLiteral("Wollen Sie diesen Eintrag wirklich löschen ?");
const QString kAchtung = QStringLiteral("Achtung !");

int32_t IdOf(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void SelectId(QListWidget* list, int32_t id) {
    for (int row = 0; row < list->count(); ++row) {
        if (id != 0 && list->item(row)->data(Qt::UserRole).toInt() == id) {
            list->setCurrentRow(row);
            return;
        }
    }
    list->setCurrentRow(-1);
}

QString PersonText(const Person& p) {
    return p.stVorname.isEmpty() ? p.stName : p.stName + QStringLiteral(", ") + p.stVorname;
}

} // namespace

frmStammdaten::frmStammdaten(CStammdatenDb* db, QWidget* parent) : QDialog(parent), m_db(db) {
    setObjectName(QStringLiteral("frmStammdaten"));
    setWindowTitle(QStringLiteral("Stammdaten Firmen und Personen"));
    setModal(true);
    BuildLayout();
    if (!DarfSchreiben())
        MaskeNurLesen(this);
    RunGuarded(QStringLiteral("frmStammdaten.Form_Load"), [this] {
        FillFirmen(0);
        if (lbFirmen->count() > 0)
            lbFirmen->setCurrentRow(0);
    });
}

void frmStammdaten::BuildLayout() {
    auto box = [this](const char* name) {
        auto* ed = new TovoTextbox(this, TovoTextbox::Art::Text);
        ed->setObjectName(QLatin1String(name));
        return ed;
    };
    auto button = [this](const char* name, const QString& caption, void (frmStammdaten::*slot)()) {
        auto* pb = new QPushButton(caption, this);
        pb->setObjectName(QLatin1String(name));
        pb->setAutoDefault(false); // Enter in a text field saves nothing by accident
        connect(pb, &QPushButton::clicked, this, slot);
        return pb;
    };
    auto row = [this](QFormLayout* form, const char* name, const QString& caption,
                      TovoTextbox* ed) {
        auto* ll = new QLabel(caption, this);
        ll->setObjectName(QLatin1String(name));
        ll->setBuddy(ed);
        form->addRow(ll, ed);
    };
    auto buttonRow = [](std::initializer_list<QPushButton*> buttons) {
        auto* line = new QHBoxLayout;
        line->addStretch();
        for (QPushButton* pb : buttons)
            line->addWidget(pb);
        return line;
    };

    // Companies
    auto* llFirmen = new QLabel(QStringLiteral("Firmen:"), this);
    llFirmen->setObjectName(QStringLiteral("llFirmen"));
    lbFirmen = new QListWidget(this);
    lbFirmen->setObjectName(QStringLiteral("lbFirmen"));
    llFirmen->setBuddy(lbFirmen);
    connect(lbFirmen, &QListWidget::currentRowChanged, this, [this] {
        RunGuarded(QStringLiteral("frmStammdaten.lbFirmen_Click"), [this] { ShowFirma(); });
    });

    edFirmaName = box("edFirmaName");
    edFirmaStrasse = box("edFirmaStrasse");
    edFirmaPlz = box("edFirmaPlz");
    edFirmaOrt = box("edFirmaOrt");
    pbFirmaNeu = button("pbFirmaNeu", QStringLiteral("&Neu"), &frmStammdaten::pbFirmaNeu_Click);
    pbFirmaSpeichern = button("pbFirmaSpeichern", QStringLiteral("&Speichern"),
                              &frmStammdaten::pbFirmaSpeichern_Click);
    pbFirmaLoeschen = button("pbFirmaLoeschen", QStringLiteral("&Löschen"),
                             &frmStammdaten::pbFirmaLoeschen_Click);

    auto* frFirma = new QGroupBox(QStringLiteral("Firma"), this);
    frFirma->setObjectName(QStringLiteral("frFirma"));
    auto* firmaForm = new QFormLayout;
    row(firmaForm, "llFirmaName", QStringLiteral("Name:"), edFirmaName);
    row(firmaForm, "llFirmaStrasse", QStringLiteral("Straße:"), edFirmaStrasse);
    row(firmaForm, "llFirmaPlz", QStringLiteral("PLZ:"), edFirmaPlz);
    row(firmaForm, "llFirmaOrt", QStringLiteral("Ort:"), edFirmaOrt);
    auto* firmaBox = new QVBoxLayout(frFirma);
    firmaBox->addLayout(firmaForm);
    firmaBox->addLayout(buttonRow({pbFirmaNeu, pbFirmaSpeichern, pbFirmaLoeschen}));

    // Persons of the company
    lbPersonen = new QListWidget(this);
    lbPersonen->setObjectName(QStringLiteral("lbPersonen"));
    connect(lbPersonen, &QListWidget::currentRowChanged, this, [this] {
        RunGuarded(QStringLiteral("frmStammdaten.lbPersonen_Click"), [this] { ShowPerson(); });
    });
    edPersonAnrede = box("edPersonAnrede");
    edPersonVorname = box("edPersonVorname");
    edPersonName = box("edPersonName");
    edPersonTelefon = box("edPersonTelefon");
    edPersonTelefax = box("edPersonTelefax");
    edPersonEmail = box("edPersonEmail");
    edPersonKostenstelle = box("edPersonKostenstelle");
    edPersonAbteilung = box("edPersonAbteilung");
    edPersonFunktion = box("edPersonFunktion");
    edPersonBemerkung = box("edPersonBemerkung");
    // The company's commands take N, S and L; those of the person other letters.
    pbPersonNeu =
        button("pbPersonNeu", QStringLiteral("Neue &Person"), &frmStammdaten::pbPersonNeu_Click);
    pbPersonSpeichern = button("pbPersonSpeichern", QStringLiteral("Person sp&eichern"),
                               &frmStammdaten::pbPersonSpeichern_Click);
    pbPersonLoeschen = button("pbPersonLoeschen", QStringLiteral("Person l&öschen"),
                              &frmStammdaten::pbPersonLoeschen_Click);

    frPersonen = new QGroupBox(QStringLiteral("Personen"), this);
    frPersonen->setObjectName(QStringLiteral("frPersonen"));
    auto* personForm = new QFormLayout;
    row(personForm, "llPersonAnrede", QStringLiteral("Anrede:"), edPersonAnrede);
    row(personForm, "llPersonVorname", QStringLiteral("Vorname:"), edPersonVorname);
    row(personForm, "llPersonName", QStringLiteral("Name:"), edPersonName);
    row(personForm, "llPersonTelefon", QStringLiteral("Telefon:"), edPersonTelefon);
    row(personForm, "llPersonTelefax", QStringLiteral("Telefax:"), edPersonTelefax);
    row(personForm, "llPersonEmail", QStringLiteral("E-Mail:"), edPersonEmail);
    row(personForm, "llPersonKostenstelle", QStringLiteral("Kostenstelle:"), edPersonKostenstelle);
    row(personForm, "llPersonAbteilung", QStringLiteral("Abteilung:"), edPersonAbteilung);
    row(personForm, "llPersonFunktion", QStringLiteral("Funktion:"), edPersonFunktion);
    row(personForm, "llPersonBemerkung", QStringLiteral("Bemerkung:"), edPersonBemerkung);
    auto* personRight = new QVBoxLayout;
    personRight->addLayout(personForm);
    personRight->addLayout(buttonRow({pbPersonNeu, pbPersonSpeichern, pbPersonLoeschen}));
    auto* personBox = new QHBoxLayout(frPersonen);
    personBox->addWidget(lbPersonen);
    personBox->addLayout(personRight, 1);

    pbSchliessen = button("pbSchliessen", QStringLiteral("S&chließen"), &QDialog::accept);
    // Ctrl+S saves the part that holds the focus.
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, this, [this] {
        (frPersonen->isAncestorOf(focusWidget()) ? pbPersonSpeichern : pbFirmaSpeichern)->click();
    });

    auto* left = new QVBoxLayout;
    left->addWidget(llFirmen);
    left->addWidget(lbFirmen);
    auto* right = new QVBoxLayout;
    right->addWidget(frFirma);
    right->addWidget(frPersonen, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(columns, 1);
    outer->addLayout(buttonRow({pbSchliessen}));
    resize(760, 560);
}

bool frmStammdaten::DarfSchreiben() const {
    return m_db && (!goRecht || goRecht->DarfSchreiben());
}

void frmStammdaten::UpdateButtons() {
    const bool schreiben = DarfSchreiben();
    pbFirmaNeu->setEnabled(schreiben);
    pbFirmaSpeichern->setEnabled(schreiben);
    pbFirmaLoeschen->setEnabled(schreiben && m_lFirmaId != 0);
    // Persons belong to a saved company.
    frPersonen->setEnabled(m_lFirmaId != 0);
    pbPersonNeu->setEnabled(schreiben);
    pbPersonSpeichern->setEnabled(schreiben);
    pbPersonLoeschen->setEnabled(schreiben && m_person.lId != 0);
}

void frmStammdaten::FillFirmen(int32_t firmaId, int32_t personId) {
    const QSignalBlocker block(lbFirmen);
    lbFirmen->clear();
    if (m_db) {
        const QVector<Firma> firmen = m_db->Firmen();
        if (firmen.isEmpty() && !m_db->LastError().isEmpty())
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
        for (const Firma& f : firmen) {
            auto* item = new QListWidgetItem(f.stName, lbFirmen);
            item->setData(Qt::UserRole, f.lId);
        }
    }
    SelectId(lbFirmen, firmaId);
    ShowFirma(personId);
}

void frmStammdaten::ShowFirma(int32_t personId) {
    Firma f;
    if (const int32_t id = IdOf(lbFirmen); id != 0 && !m_db->ReadFirma(id, f))
        MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
    m_lFirmaId = f.lId;
    edFirmaName->setText(f.stName);
    edFirmaStrasse->setText(f.stStrasse);
    edFirmaPlz->setText(f.stPlz);
    edFirmaOrt->setText(f.stOrt);
    FillPersonen(personId);
}

void frmStammdaten::FillPersonen(int32_t personId) {
    const QSignalBlocker block(lbPersonen);
    lbPersonen->clear();
    if (m_lFirmaId != 0) {
        const QVector<Person> personen = m_db->Personen(m_lFirmaId);
        if (personen.isEmpty() && !m_db->LastError().isEmpty())
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
        for (const Person& p : personen) {
            auto* item = new QListWidgetItem(PersonText(p), lbPersonen);
            item->setData(Qt::UserRole, p.lId);
        }
    }
    SelectId(lbPersonen, personId);
    ShowPerson();
}

void frmStammdaten::ShowPerson() {
    Person p;
    if (const int32_t id = IdOf(lbPersonen); id != 0 && !m_db->ReadPerson(id, p))
        MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
    m_person = p;
    edPersonAnrede->setText(p.stAnrede);
    edPersonVorname->setText(p.stVorname);
    edPersonName->setText(p.stName);
    edPersonTelefon->setText(p.stTelefon);
    edPersonTelefax->setText(p.stTelefax);
    edPersonEmail->setText(p.stEmail);
    edPersonKostenstelle->setText(p.stKostenstelle);
    edPersonAbteilung->setText(p.stAbteilung);
    edPersonFunktion->setText(p.stFunktion);
    edPersonBemerkung->setText(p.stBemerkung);
    UpdateButtons();
}

void frmStammdaten::pbFirmaNeu_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbFirmaNeu_Click"), [this] {
        lbFirmen->setCurrentRow(-1);
        ShowFirma();
        edFirmaName->setFocus();
    });
}

void frmStammdaten::pbFirmaSpeichern_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbFirmaSpeichern_Click"), [this] {
        Firma f;
        f.lId = m_lFirmaId;
        f.stName = edFirmaName->text().trimmed();
        f.stStrasse = edFirmaStrasse->text().trimmed();
        f.stPlz = edFirmaPlz->text().trimmed();
        f.stOrt = edFirmaOrt->text().trimmed();
        if (f.stName.isEmpty()) {
            MsgBox(QStringLiteral("Bitte geben Sie den Namen der Firma ein!"), PromptButtons::Ok,
                   PromptIcon::Exclamation);
            edFirmaName->setFocus();
            return;
        }
        if (!m_db->SaveFirma(f)) {
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
            return;
        }
        f_bChange = true;
        FillFirmen(f.lId, m_person.lId);
    });
}

void frmStammdaten::pbFirmaLoeschen_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbFirmaLoeschen_Click"), [this] {
        if (m_lFirmaId == 0)
            return;
        if (MsgBox(kLoeschenFrage, PromptButtons::YesNo, PromptIcon::Question, kAchtung) !=
            PromptResult::Yes)
            return;
        if (!m_db->DeleteFirma(m_lFirmaId)) {
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
            return;
        }
        f_bChange = true;
        FillFirmen(0);
    });
}

void frmStammdaten::pbPersonNeu_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbPersonNeu_Click"), [this] {
        lbPersonen->setCurrentRow(-1);
        ShowPerson();
        edPersonVorname->setFocus();
    });
}

void frmStammdaten::pbPersonSpeichern_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbPersonSpeichern_Click"), [this] {
        if (m_lFirmaId == 0)
            return;
        Person p = m_person;
        p.lFirmaId = m_lFirmaId;
        p.stAnrede = edPersonAnrede->text().trimmed();
        p.stVorname = edPersonVorname->text().trimmed();
        p.stName = edPersonName->text().trimmed();
        p.stTelefon = edPersonTelefon->text().trimmed();
        p.stTelefax = edPersonTelefax->text().trimmed();
        p.stEmail = edPersonEmail->text().trimmed();
        p.stKostenstelle = edPersonKostenstelle->text().trimmed();
        p.stAbteilung = edPersonAbteilung->text().trimmed();
        p.stFunktion = edPersonFunktion->text().trimmed();
        p.stBemerkung = edPersonBemerkung->text().trimmed();
        if (p.stName.isEmpty()) {
            MsgBox(QStringLiteral("Bitte geben Sie den Namen der Person ein!"), PromptButtons::Ok,
                   PromptIcon::Exclamation);
            edPersonName->setFocus();
            return;
        }
        if (!m_db->SavePerson(p)) {
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
            return;
        }
        f_bChange = true;
        FillPersonen(p.lId);
    });
}

void frmStammdaten::pbPersonLoeschen_Click() {
    RunGuarded(QStringLiteral("frmStammdaten.pbPersonLoeschen_Click"), [this] {
        if (m_person.lId == 0)
            return;
        if (MsgBox(kLoeschenFrage, PromptButtons::YesNo, PromptIcon::Question, kAchtung) !=
            PromptResult::Yes)
            return;
        if (!m_db->DeletePerson(m_person.lId)) {
            MsgBox(m_db->LastError(), PromptButtons::Ok, PromptIcon::Exclamation);
            return;
        }
        f_bChange = true;
        FillPersonen(0);
    });
}

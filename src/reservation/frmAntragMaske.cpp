// Moving a booking into the form's controls and back, the equipment text, and the company and
// person boxes.
#include "frmAntrag.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "RvGlobals.h"
#include "StammdatenDb.h"
#include "frmStammdaten.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

namespace {

// Names of the equipment bits as texts (mail, reports) spell them.
const char* const kAusstattungText[12] = {
    "Whiteboard", "Projektor", "Laptop",      "Mikrofon",        "Rednerpult",      "Flipchart",
    "Leinwand",   "Netzwerk",  "Audioanlage", "Mediensteuerung", "Grossbildschirm", "Smartboard"};

// Chair arrangement codes of rbStuhlan(0..3) and their names in the equipment text.
const char* const kStuhlCode[4] = {"", "K", "U", "O"};
const char* const kStuhlText[4] = {"belassen", "Kino", "U-Form", "Ring-Form"};

QString OhneEndLeer(const QString& text) {
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == QLatin1Char(' '))
        --n;
    return text.left(n);
}

// The item data of the entry chosen in an editable box; false when the text was typed.
bool GewaehlterEintrag(const QComboBox* box, int32_t& id) {
    const int i = box->currentIndex();
    if (i < 0 || box->itemText(i) != box->currentText())
        return false;
    id = box->itemData(i).toInt();
    return true;
}

double Tag(double wert) {
    return TovoDate(wert).datePart().value();
}

double Uhrzeit(double wert) {
    return TovoDate(wert).timePart().value();
}

Currency Geld(const TovoTextbox* box) {
    return Currency::fromDouble(std::round(box->Value() * 100.0) / 100.0);
}

} // namespace

// --- state helpers -----------------------------------------------------------------------------

std::shared_ptr<CBelegungRec>& frmAntrag::FormBeleg() {
    if (!m_Beleg) {
        if (f_RecBelegung)
            m_Beleg = std::make_shared<CBelegungRec>(*f_RecBelegung);
        else if (f_BelegListe && f_BelegListe->Item(1))
            m_Beleg = std::make_shared<CBelegungRec>(*f_BelegListe->Item(1));
        else
            m_Beleg = std::make_shared<CBelegungRec>();
    }
    return m_Beleg;
}

int32_t frmAntrag::BearbeiteteRecId() const {
    return f_RecBelegung ? f_RecBelegung->Rec_ID : f_lRecId;
}

bool frmAntrag::MehrereRaeume() const {
    return lbUsedRoom->text() == kMehrere;
}

void frmAntrag::BauFreigeben(bool an) {
    for (int i = 0; i < 4; ++i) {
        tfdt[i]->setEnabled(an);
        tftm[i]->setEnabled(an);
        pbDatum[i + 2]->setEnabled(an);
    }
    for (int i = 0; i < 2; ++i) {
        pbBauVor[i]->setEnabled(an);
        pbSetBack[i]->setEnabled(an);
    }
    if (m_bNurLesen)
        NurLesenAnwenden();
}

void frmAntrag::KeinStuhlGewaehlt() {
    m_stuhlGruppe->setExclusive(false);
    for (QRadioButton* rb : rbStuhlan)
        rb->setChecked(false);
    m_stuhlGruppe->setExclusive(true);
}

int frmAntrag::GewaehlteStuhlanordnung() const {
    for (int i = 0; i < 4; ++i)
        if (rbStuhlan[i]->isChecked())
            return i;
    return -1;
}

// --- Read2Mask ---------------------------------------------------------------------------------

void frmAntrag::Read2Mask() {
    RunGuarded(QStringLiteral("frmAntrag.Read2Mask"), [&] {
        LadeSperre sperre(*this);
        // Whatever the booking enables, read-only mode keeps locked.
        const auto gesperrt = qScopeGuard([this] {
            if (m_bNurLesen)
                NurLesenAnwenden();
        });
        m_Beleg.reset();

        auto termineFreigeben = [&](bool datum) {
            for (QWidget* w :
                 {static_cast<QWidget*>(tfDt_von), static_cast<QWidget*>(tfDt_bis),
                  static_cast<QWidget*>(pbDatum[0]), static_cast<QWidget*>(pbDatum[1])})
                w->setEnabled(datum);
            tfTm_von->setEnabled(true);
            tfTm_bis->setEnabled(true);
            coRaumart->setEnabled(true);
            pbFreeRooms->setEnabled(true);
            for (int i = 1; i <= 12; ++i)
                Check2[i]->setEnabled(true);
        };

        const CBelegungRec* rec = nullptr;    // the booking whose particulars are shown
        const CBelegungRec* letzte = nullptr; // the booking whose end date is shown
        const bool auftrag = !f_RecBelegung && f_BelegListe && f_BelegListe->Count() > 0;
        if (f_RecBelegung) {
            rec = letzte = f_RecBelegung.get();
            frTermin->setTitle(QStringLiteral("1 Termin vom"));
            edSerie->setText(rec->stSerieBem);
            edEMail->setText(rec->STEMAIL);
            termineFreigeben(true);
            BauFreigeben(true);
            pbSerie->setEnabled(false);
        } else if (!auftrag) {
            termineFreigeben(true);
            BauFreigeben(true);
            pbSerie->setEnabled(true);
            frTermin->setTitle(QStringLiteral("Neuer Termin von"));
            for (TovoTextbox* tm : tftm)
                tm->setText(QStringLiteral("00:00"));
            return;
        } else {
            rec = f_BelegListe->Item(1);
            letzte = f_BelegListe->Item(f_BelegListe->Count());
            for (const CBelegungRec* b : *f_BelegListe) {
                if (b->rb_id != rec->rb_id) {
                    SetzeGewaehltenRaum(kMehrere, QStringLiteral("0"));
                    lbUsedRoom->show();
                    coFreeRooms->hide();
                    break;
                }
            }
            frTermin->setTitle(QString::number(f_BelegListe->Count()) +
                               QStringLiteral(" Termine vom"));
            edSerie->setText(rec->stSerieBem);
            // Each booking of the order keeps its own date; times and particulars are shared.
            termineFreigeben(false);
            BauFreigeben(false);
            pbSerie->setEnabled(false);
        }

        tfDt_von->SetValue(Tag(rec->dt_von));
        tfDt_bis->SetValue(Tag(letzte->dt_bis));
        if (rec->Rec_ID != 0)
            setWindowTitle(QStringLiteral("Antrag  ") + QString::number(rec->lAuftrNr));

        CAnzeigeRec raum;
        raum.az_ID = rec->rb_id;
        if (rec->rb_id != 0 && gRvDb && gRvDb->Readrb_AnzeigeRec(&raum)) {
            const int art = coRaumart->findData(raum.lRaumartId);
            if (art >= 0)
                coRaumart->setCurrentIndex(art);
            if (lbUsedRoom->text().isEmpty()) {
                SetzeGewaehltenRaum(raum.Kurzbez, QString::number(raum.az_ID));
                lbUsedRoom->show();
            }
        }

        FirmaUndPersonLaden(0, rec->Inst, rec->lFirma1, rec->Best, rec->lPerson1);
        FirmaUndPersonLaden(1, rec->stFirma2, rec->lFirma2, rec->stPerson2, rec->lPerson2);

        tfTm_von->SetValue(Uhrzeit(rec->tm_von));
        tfTm_bis->SetValue(Uhrzeit(rec->tm_bis));
        tfKst->setText(rec->KST);
        tfTel->setText(rec->Tel);
        tfFax->setText(rec->Fax);
        tfPers->setText(rec->Pers);
        tfVerst->setText(rec->Verst);
        tfBem->setText(rec->Bem);
        tfAustBem->setText(rec->Austbem);
        tfBeteiligtentische->SetValue(rec->IPTISCHE);
        edEMail->setText(rec->STEMAIL);
        tfUmbBereit->setText(rec->UmbBereit);
        tfUmbAufwand->SetValue(rec->UmbAufwand);
        tfUmbBem->setText(rec->UmbBem);

        // Order dates: a null date (30.12.1899) and "no date" both show empty.
        auto echtesDatum = [](double d) { return !IsNoDate(d) && Tag(d) != TovoDate::kNullDate; };
        tfdatErst->SetValue(echtesDatum(rec->datErstBestellung) ? rec->datErstBestellung
                                                                : TovoDate::kNoDate);
        tfDatKorr->SetValue(echtesDatum(rec->datKorrektur) ? rec->datKorrektur : TovoDate::kNoDate);

        tfMiete->SetValue(rec->Miete.toDouble());
        tfUmbau->SetValue(rec->Umbau.toDouble());
        tfPausch->SetValue(rec->Pausch.toDouble());
        tfSonst->SetValue(rec->Sonst.toDouble());
        tfSicherheit->SetValue(rec->Sicherheit.toDouble());
        tfTageskraft->SetValue(rec->Tageskraft.toDouble());
        tfTechnik->SetValue(rec->Technik.toDouble());

        // Set-up and clear-down: an order shows no dates of its own, only the shared times.
        const double daten[4] = {rec->Udt_von, rec->Udt_bis, rec->Rdt_von, rec->Rdt_bis};
        const double zeiten[4] = {rec->Utm_von, rec->Utm_bis, rec->Rtm_von, rec->Rtm_bis};
        for (int i = 0; i < 4; ++i) {
            tfdt[i]->SetValue(auftrag ? TovoDate::kNoDate : daten[i]);
            if (!IsNoDate(zeiten[i]))
                tftm[i]->SetValue(Uhrzeit(zeiten[i]));
            else if (auftrag)
                tftm[i]->setText(QStringLiteral("00:00"));
            else
                tftm[i]->clear();
        }

        cbMail->setChecked(rec->bEMail);
        GetAufwand();

        int32_t aust = rec->Aust;
        for (int i = 12; i >= 1; --i) {
            const int32_t bit = int32_t(1) << (i - 1);
            const bool an = aust >= bit;
            Check2[i]->setChecked(an);
            if (an)
                aust -= bit;
        }

        const QString stuhl = rec->STSTUHLANORDNUNG;
        KeinStuhlGewaehlt();
        if (stuhl.isEmpty() || stuhl == QLatin1String("(-)"))
            rbStuhlan[0]->setChecked(true);
        else if (stuhl == QLatin1String("(K)") || stuhl == QLatin1String("K") ||
                 stuhl == QLatin1String("(II)"))
            rbStuhlan[1]->setChecked(true);
        else if (stuhl == QLatin1String("(U)") || stuhl == QLatin1String("U"))
            rbStuhlan[2]->setChecked(true);
        else if (stuhl == QLatin1String("(O)") || stuhl == QLatin1String("O"))
            rbStuhlan[3]->setChecked(true);
    });
}

void frmAntrag::FirmaUndPersonLaden(int index, const QString& firma, int32_t firmaId,
                                    const QString& person, int32_t personId) {
    QComboBox* coF = coFirma[index];
    QComboBox* coP = coPerson[index];
    coF->setCurrentIndex(-1);
    coF->setEditText(firma);
    bool mitPersonen = false;
    if (firmaId > 0) {
        const int i = coF->findData(firmaId);
        if (i >= 0) {
            coF->setCurrentIndex(i);
            coFirma_Click(index);
            mitPersonen = true;
        }
    }
    if (!mitPersonen)
        coP->clear();
    coP->setCurrentIndex(-1);
    coP->setEditText(person);
    if (personId > 0) {
        const int i = coP->findData(personId);
        if (i >= 0)
            coP->setCurrentIndex(i);
    }
}

// --- Write2Rec ---------------------------------------------------------------------------------

void frmAntrag::Write2Rec(std::shared_ptr<CBelegungRec>& rec) {
    if (!rec)
        rec = std::make_shared<CBelegungRec>();
    Write2Rec(*rec);
}

void frmAntrag::Write2Rec(CBelegungRec& r) {
    RunGuarded(QStringLiteral("frmAntrag.Write2Rec"), [&] {
        if (tfDt_von->text().trimmed().isEmpty())
            return;

        if (coFreeRooms->currentIndex() >= 0)
            r.rb_id = coFreeRooms->currentData().toInt();
        else if (!RaumTag().isEmpty())
            r.rb_id = RaumTag().toInt();

        r.dt_von = Tag(tfDt_von->Value());
        r.tm_von = Uhrzeit(tfTm_von->Value());
        r.dt_bis = Tag(tfDt_bis->Value());
        r.tm_bis = Uhrzeit(tfTm_bis->Value());

        int32_t id = 0;
        if (GewaehlterEintrag(coFirma[0], id))
            r.lFirma1 = id;
        r.Inst = coFirma[0]->currentText();
        if (GewaehlterEintrag(coPerson[0], id))
            r.lPerson1 = id;
        r.Best = coPerson[0]->currentText();
        if (GewaehlterEintrag(coFirma[1], id))
            r.lFirma2 = id;
        r.stFirma2 = coFirma[1]->currentText();
        if (GewaehlterEintrag(coPerson[1], id))
            r.lPerson2 = id;
        r.stPerson2 = coPerson[1]->currentText();

        r.Tel = tfTel->text().trimmed();
        r.Fax = tfFax->text().trimmed();
        r.KST = OhneEndLeer(tfKst->text());
        r.Pers = OhneEndLeer(tfPers->text());
        r.Verst = OhneEndLeer(tfVerst->text());
        r.Bem = OhneEndLeer(tfBem->text());
        r.STEMAIL = OhneEndLeer(edEMail->text());
        r.UmbBereit = OhneEndLeer(tfUmbBereit->text());
        r.UmbBem = OhneEndLeer(tfUmbBem->text());
        r.UmbAufwand = tfUmbAufwand->Value();
        r.stSerieBem = edSerie->text();
        r.Austbem = tfAustBem->text();
        r.IPTISCHE = static_cast<int16_t>(std::clamp(tfBeteiligtentische->Value(), 0.0, 32767.0));

        const double jetzt = TovoDate::now().value();
        r.datBestellung = jetzt;
        r.datErstBestellung = IsNoDate(tfdatErst->Value()) ? jetzt : Tag(tfdatErst->Value());
        r.datKorrektur = TovoDate::kNoDate;

        r.Miete = Geld(tfMiete);
        r.Umbau = Geld(tfUmbau);
        r.Pausch = Geld(tfPausch);
        r.Sonst = Geld(tfSonst);
        r.Sicherheit = Geld(tfSicherheit);
        r.Tageskraft = Geld(tfTageskraft);
        r.Technik = Geld(tfTechnik);

        // Empty set-up and clear-down boxes leave the booking's values alone.
        double* daten[4] = {&r.Udt_von, &r.Udt_bis, &r.Rdt_von, &r.Rdt_bis};
        double* zeiten[4] = {&r.Utm_von, &r.Utm_bis, &r.Rtm_von, &r.Rtm_bis};
        for (int i = 0; i < 4; ++i) {
            if (HaeltDatum(tfdt[i]))
                *daten[i] = Tag(tfdt[i]->Value());
            if (!OhneEndLeer(tftm[i]->text()).isEmpty())
                *zeiten[i] = Uhrzeit(tftm[i]->Value());
        }

        r.bEMail = cbMail->isChecked();

        int32_t aust = 0;
        for (int i = 1; i <= 12; ++i)
            if (Check2[i]->isChecked())
                aust += int32_t(1) << (i - 1);
        r.Aust = aust;

        const int stuhl = GewaehlteStuhlanordnung();
        if (stuhl >= 0)
            r.STSTUHLANORDNUNG = QLatin1String(kStuhlCode[stuhl]);
    });
}

// --- equipment text ----------------------------------------------------------------------------

QString frmAntrag::GetAusstattung() const {
    QString text;
    auto anhaengen = [&text](const QString& teil) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += teil;
    };
    for (int i = 1; i <= 12; ++i)
        if (Check2[i]->isChecked())
            anhaengen(QLatin1String(kAusstattungText[i - 1]));
    const QString sonstiges = tfAustBem->text().trimmed();
    if (!sonstiges.isEmpty())
        anhaengen(QStringLiteral("Sonstiges:") + sonstiges);
    const int stuhl = GewaehlteStuhlanordnung();
    if (stuhl >= 0)
        anhaengen(QStringLiteral("Stuhlanordnung:") + QLatin1String(kStuhlText[stuhl]));
    return text + QStringLiteral(", Beteiligtentische: ") + tfBeteiligtentische->text().trimmed();
}

// --- emptying the form -------------------------------------------------------------------------

void frmAntrag::ClearfrmAntrag() {
    RunGuarded(QStringLiteral("frmAntrag.ClearfrmAntrag"), [&] {
        LadeSperre sperre(*this);
        for (QLineEdit* e :
             {static_cast<QLineEdit*>(tfDt_von),     static_cast<QLineEdit*>(tfTm_von),
              static_cast<QLineEdit*>(tfDt_bis),     static_cast<QLineEdit*>(tfTm_bis),
              static_cast<QLineEdit*>(tfKst),        static_cast<QLineEdit*>(tfTel),
              static_cast<QLineEdit*>(tfFax),        static_cast<QLineEdit*>(tfPers),
              static_cast<QLineEdit*>(tfVerst),      static_cast<QLineEdit*>(tfBem),
              static_cast<QLineEdit*>(tfMiete),      static_cast<QLineEdit*>(tfUmbau),
              static_cast<QLineEdit*>(tfPausch),     static_cast<QLineEdit*>(tfSonst),
              static_cast<QLineEdit*>(tfSicherheit), static_cast<QLineEdit*>(tfTageskraft),
              static_cast<QLineEdit*>(tfTechnik),    static_cast<QLineEdit*>(tfAustBem),
              static_cast<QLineEdit*>(tfUmbBereit),  static_cast<QLineEdit*>(tfUmbAufwand),
              static_cast<QLineEdit*>(tfUmbBem),     edSerie,
              static_cast<QLineEdit*>(edEMail)})
            e->clear();
        for (int i = 0; i < 4; ++i) {
            tfdt[i]->clear();
            tftm[i]->clear();
        }
        for (int i = 0; i < 2; ++i) {
            coPerson[i]->setCurrentIndex(-1);
            coPerson[i]->setEditText(QString());
            coFirma[i]->setCurrentIndex(-1);
            coFirma[i]->setEditText(QString());
        }
        for (int i = 1; i <= 12; ++i)
            Check2[i]->setChecked(false);
        cbMail->setChecked(false);
        coFreeRooms->clear();
    });
}

// --- companies and persons ---------------------------------------------------------------------

void frmAntrag::GetFirmen2Ctrl() {
    RunGuarded(QStringLiteral("frmAntrag.GetFirmen2Ctrl"), [&] {
        LadeSperre sperre(*this);
        for (int i = 0; i < 2; ++i) {
            coFirma[i]->clear();
            coPerson[i]->clear();
        }
        if (!f_StammDb)
            return;
        const QVector<Firma> firmen = f_StammDb->Firmen();
        for (const Firma& f : firmen)
            for (QComboBox* box : coFirma)
                box->addItem(f.stName, f.lId);
        // Filling an empty box selects its first entry; the form starts without a choice.
        for (QComboBox* box : coFirma)
            box->setCurrentIndex(-1);
    });
}

void frmAntrag::coFirma_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.coFirma_Click"), [&] {
        QComboBox* coP = coPerson[index];
        coP->clear();
        int32_t firmaId = 0;
        if (!f_StammDb || !GewaehlterEintrag(coFirma[index], firmaId))
            return;
        const QVector<Person> personen = f_StammDb->Personen(firmaId);
        for (const Person& p : personen) {
            QString name = p.stName + QStringLiteral(", ") + p.stVorname;
            name.remove(QLatin1Char('"'));
            name.remove(QLatin1Char('\''));
            coP->addItem(name, p.lId);
        }
        coP->setCurrentIndex(-1);
    });
}

void frmAntrag::coPerson_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.coPerson_Click"), [&] {
        int32_t personId = 0;
        if (index != 0 || !f_StammDb || !GewaehlterEintrag(coPerson[0], personId))
            return;
        Person p;
        if (!f_StammDb->ReadPerson(personId, p))
            RaiseError(f_StammDb->LastError());
        tfTel->setText(p.stTelefon);
        tfFax->setText(p.stTelefax);
        edEMail->setText(p.stEmail);
        if (!p.stKostenstelle.isEmpty())
            tfKst->setText(p.stKostenstelle);
    });
}

void frmAntrag::pbStamm_Click(int /*index*/) {
    RunGuarded(QStringLiteral("frmAntrag.pbStamm_Click"), [&] {
        if (!f_StammDb)
            return;
        int32_t firmaId[2] = {0, 0};
        int32_t personId[2] = {0, 0};
        QString firma[2];
        QString person[2];
        for (int k = 0; k < 2; ++k) {
            GewaehlterEintrag(coFirma[k], firmaId[k]);
            GewaehlterEintrag(coPerson[k], personId[k]);
            firma[k] = coFirma[k]->currentText();
            person[k] = coPerson[k]->currentText();
        }
        {
            frmStammdaten dlg(f_StammDb, this);
            ZeigeModal(dlg);
        }
        GetFirmen2Ctrl();
        for (int k = 0; k < 2; ++k)
            FirmaUndPersonLaden(k, firma[k], firmaId[k], person[k], personId[k]);
    });
}

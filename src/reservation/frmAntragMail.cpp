// The confirmation mail to the orderer, the address picker, and the door notice on the display.
#include "frmAntrag.h"

#include "Allg_Hilfsfkt.h"
#include "CRvDb.h"
#include "DisplayPort.h"
#include "ErrorGuard.h"
#include "ICalExport.h"
#include "MailNachricht.h"
#include "MailText.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SerienSpeichern.h"
#include "SmtpVersand.h"
#include "TovoDate.h"
#include "frmAdressen.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QRadioButton>
#include <QStatusBar>
#include <thread>

namespace {

const QString kProzedurMail = QStringLiteral("frmAntrag.pbEMail_Click");
const QString kTitelMail = QStringLiteral("Mail-Nachricht");
const QString kFehlerVerbinden =
    QStringLiteral("Beim Verbinden mit dem Mail-System gab es ein Problem!");
const QString kFehlerVersenden = QStringLiteral("Beim Versenden der Nachricht gab es ein Problem!");
const QString kFehlerSpeichern = QStringLiteral("Beim Speichern gab es ein Problem!");

QString Ini(const char* section, const char* key, const char* standard) {
    return Allg_Hilfsfkt::ReadIniValue(QLatin1String(section), QLatin1String(key),
                                       QLatin1String(standard));
}

// A date box as "dd.mm.yyyy"; what it shows when it holds no date.
QString Datum(const TovoTextbox* box) {
    const double wert = box->Value();
    return box->IsValid() && !IsNoDate(wert) ? TovoDate(wert).toShortDateText() : box->text();
}

// The room the reservation uses: the entry chosen among the free rooms, else the one shown.
QString Raum(const frmAntrag& f) {
    return f.coFreeRooms->currentIndex() >= 0 ? f.coFreeRooms->currentText() : f.lbUsedRoom->text();
}

MailText::Felder Felder(const frmAntrag& f) {
    MailText::Felder m;
    m.veranstaltung = f.tfVerst->text();
    m.bemerkung = f.tfBem->text();
    m.vonDatum = Datum(f.tfDt_von);
    m.vonZeit = f.tfTm_von->text();
    m.bisDatum = Datum(f.tfDt_bis);
    m.bisZeit = f.tfTm_bis->text();
    m.raum = Raum(f);
    m.ausstattung = f.GetAusstattung();
    m.personenzahl = f.tfPers->text();
    m.aktDatum = TovoDate::today().toShortDateText();
    m.serie = f.edSerie->text();
    m.firma = f.coFirma[0]->currentText().trimmed();
    m.ansprechpartner = f.coPerson[0]->currentText().trimmed();
    m.telefon = f.tfTel->text().trimmed();
    for (const QRadioButton* rb : f.rbStuhlan)
        if (rb->isChecked())
            m.stuhlanordnung = rb->text();
    m.tische = f.tfBeteiligtentische->text().trimmed();
    return m;
}

// Marks the mail session as open while the scope runs.
class Sitzung {
public:
    explicit Sitzung(bool& offen) : m_offen(offen) { m_offen = true; }
    ~Sitzung() { m_offen = false; }
    Sitzung(const Sitzung&) = delete;
    Sitzung& operator=(const Sitzung&) = delete;

private:
    bool& m_offen;
};

// Sends on a worker thread; meanwhile the windows repaint under the wait cursor and take no
// input.
SmtpVersand::Ergebnis Senden(const SmtpVersand::Einstellungen& e,
                             const MailNachricht::Nachricht& n) {
    SmtpVersand::Ergebnis ergebnis;
    QEventLoop warten;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::thread arbeit([&] {
        ergebnis = SmtpVersand::Sende(e, n);
        QMetaObject::invokeMethod(&warten, &QEventLoop::quit, Qt::QueuedConnection);
    });
    warten.exec(QEventLoop::ExcludeUserInputEvents);
    arbeit.join();
    QApplication::restoreOverrideCursor();
    return ergebnis;
}

} // namespace

// --- address picker ----------------------------------------------------------------------------

bool frmAntrag::AdresseSuchen() {
    frmAdressen dlg(this);
    dlg.Setze(MailText::Adressbuch(gRvDb, f_StammDb), coPerson[0]->currentText().trimmed());
    if (ZeigeModal(dlg) != QDialog::Accepted || dlg.f_stAdresse.isEmpty())
        return false;
    edEMail->setText(dlg.f_stAdresse);
    m_bGeaendert = true;
    return true;
}

void frmAntrag::cbMailAddress_Click() {
    RunGuarded(QStringLiteral("frmAntrag.cbMailAddress_Click"), [&] {
        if (cbMailAddress->isChecked() && !AdresseSuchen())
            cbMailAddress->setChecked(false);
    });
}

// --- confirmation mail -------------------------------------------------------------------------

void frmAntrag::pbEMail_Click() {
    RunGuarded(kProzedurMail, [&] {
        const bool gespeichert = f_RecBelegung || f_BelegListe;
        if ((m_bGeaendert && !f_bGespeichert) || !gespeichert) {
            MsgBox(QStringLiteral("Die Reservierung muss erst gespeichert werden!"),
                   PromptButtons::Ok, PromptIcon::Information, QStringLiteral("Speichern"));
            return;
        }
        if (m_bMailSitzung) {
            MsgBox(QStringLiteral("Sitzung bereits in Gange"));
            return;
        }
        Sitzung sitzung(m_bMailSitzung);

        // Recipient: the address on the form, else the picker when asked for, else the orderer
        // looked up among employees and master-data persons.
        QString adresse = edEMail->text().trimmed();
        const QString besteller = coPerson[0]->currentText().trimmed();
        if (adresse.isEmpty() && cbMailAddress->isChecked() && AdresseSuchen())
            adresse = edEMail->text().trimmed();

        const bool umwandeln = Allg_Hilfsfkt::IstWahr(Ini("Sonderzeichen", "Umwandeln", "FALSE"));
        const QString vorlage = MailText::ReadVorlage(
            Allg_Hilfsfkt::WithTrailingSeparator(gstProjektDir) + MailText::kVorlage);
        // Every date as stored, in the text and as a calendar file for the recipient.
        QVector<CBelegungRec> buchungen;
        QString grund;
        if (!GespeicherteBuchungen(buchungen, grund))
            RaiseError(grund);
        const ICalExport::RaumName raeume = ICalExport::ProjektRaeume();
        MailText::Felder felder = Felder(*this);
        felder.termine = MailText::TerminListe(buchungen, raeume, m_SerieGespeichert.get());
        MailNachricht::Nachricht nachricht;
        nachricht.text = MailText::Text(vorlage, felder, umwandeln);
        nachricht.betreff = QStringLiteral("Reservierung");
        nachricht.anhaenge.append(
            {QStringLiteral("Reservierung %1.ics").arg(buchungen.first().lAuftrNr),
             QByteArrayLiteral("text/calendar; method=PUBLISH"),
             ICalExport::IcsText(buchungen, raeume, m_SerieGespeichert.get()).toUtf8()});

        const SmtpVersand::Einstellungen einstellungen = SmtpVersand::AusIni();
        if (!einstellungen.fehler.isEmpty()) {
            ShowError(kFehlerVerbinden + QLatin1Char('\n') + einstellungen.fehler, kProzedurMail);
            return;
        }

        if (adresse.isEmpty()) {
            adresse = MailText::AdresseZu(besteller, MailText::Adressbuch(gRvDb, f_StammDb));
            if (adresse.isEmpty()) {
                MsgBox(QStringLiteral("Dem Besteller ist keine e-mail zugeordnet!"));
                return;
            }
        }
        nachricht.von = {gstMailname, einstellungen.absender};
        nachricht.an = {{besteller, adresse}};
        for (const QString& cc : MailText::CcAdressen(Ini("Mailadressen", "Cc", "")))
            nachricht.cc.append({QString(), cc});
        const QString falsch = MailNachricht::UngueltigeAdresse(nachricht);
        if (!falsch.isEmpty()) {
            MsgBox(QStringLiteral("Die e-mail-Adresse '") + falsch.simplified() +
                       QStringLiteral("' ist ungültig!"),
                   PromptButtons::Ok, PromptIcon::Exclamation, kTitelMail);
            return;
        }
        nachricht.messageId = MailNachricht::NeueMessageId(einstellungen.absender);

        // The reservation stays as stored whatever the server answers.
        const SmtpVersand::Ergebnis ergebnis = Senden(einstellungen, nachricht);
        if (!ergebnis.ok()) {
            const QString schritt = ergebnis.fehler == SmtpVersand::Schritt::Verbinden
                                        ? kFehlerVerbinden
                                        : kFehlerVersenden;
            ShowError(schritt + QLatin1Char('\n') + ergebnis.grund, kProzedurMail);
            return;
        }

        // The address found is kept with the reservation.
        edEMail->setText(adresse);
        cbMail->setChecked(true);
        MsgBox(QStringLiteral("Die Reservierungsinformation wurde an '") + adresse +
                   QStringLiteral("' gesendet!"),
               PromptButtons::Ok, PromptIcon::Information, kTitelMail);
        if (!MailFlagSpeichern())
            ShowError(kFehlerSpeichern, kProzedurMail);
    });
}

bool frmAntrag::MailFlagSpeichern() {
    std::shared_ptr<CBelegungRec>& beleg = FormBeleg();
    Write2Rec(beleg);
    if (f_BelegListe) {
        if (!R_Main::SaveSerieEdit(*beleg, *f_BelegListe, gRvDb))
            return false;
    } else {
        f_RecBelegung->CopyFrom(*beleg);
        if (!R_Main::SpeichereBelegung(*f_RecBelegung))
            return false;
        beleg->CopyFrom(*f_RecBelegung);
    }
    gbUpdatePending = true;
    m_bGeaendert = false;
    return true;
}

// --- door display ------------------------------------------------------------------------------

void frmAntrag::pbPrint2Com_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbPrint2Com"), [&] {
        QString raum = Raum(*this);
        if (raum == kMehrere)
            raum.clear();
        if (raum.isEmpty()) {
            MsgBox(QStringLiteral("Es ist kein Raum angegeben!"));
            return;
        }
        CAnzeigeRec rec;
        rec.Kurzbez = raum;
        if (!gRvDb || !gRvDb->ReadRaumByLang(&rec))
            RaiseError(gRvDb ? gRvDb->LastError()
                             : QStringLiteral("Die Datenbank ist nicht geöffnet."));
        const QByteArray schild =
            MailText::Tuerschild(rec.RaumNr, raum, coFirma[0]->currentText(), tfVerst->text(),
                                 tfDt_von->text(), tfTm_von->text(), tfTm_bis->text());
        QString fehler;
        const DisplayPort::Einstellungen display = DisplayPort::AusIni();
        if (!DisplayPort::Schreibe(display, schild, fehler))
            RaiseError(fehler);
        sbStatus->showMessage(QStringLiteral("Hinweisschild für %1 an das Display (%2) gesendet.")
                                  .arg(raum, display.port),
                              15000);
    });
}

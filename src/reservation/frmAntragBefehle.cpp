// The command buttons: save, delete, new, close, reset of the set-up rows, the calendar and the
// equipment history.
#include "frmAntrag.h"

#include "ErrorGuard.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoRecht.h"
#include "frmHistorie.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

namespace {

const QString kTitelSpeichern = QStringLiteral("Speichern");
const QString kPersonFehlt =
    QStringLiteral("Geben Sie den Namen des Antragstellers ('Ansprechpartner') ein !");

// The leading whole number of a text, 0 when there is none.
int Zahl(const QString& text) {
    static const QRegularExpression rx(QStringLiteral(R"(^\s*([+-]?\d+))"));
    const QRegularExpressionMatch m = rx.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// Resets a flag when the scope ends.
class Merker {
public:
    explicit Merker(bool& flag) : m_flag(flag) { m_flag = true; }
    ~Merker() { m_flag = false; }
    Merker(const Merker&) = delete;
    Merker& operator=(const Merker&) = delete;

private:
    bool& m_flag;
};

} // namespace

bool frmAntrag::DarfSchreiben() const {
    return !goRecht || goRecht->DarfSchreiben();
}

void frmAntrag::Schliessen() {
    m_bGeschlossen = true;
    mvDatum->hide();
    done(f_bGespeichert ? QDialog::Accepted : QDialog::Rejected);
}

// --- saving ------------------------------------------------------------------------------------

void frmAntrag::PersonenUndTischeWarnen() {
    const int personen = static_cast<int>(tfPers->Value());
    if (m_iMaxPers > 0 && personen > m_iMaxPers)
        MsgBox(QStringLiteral("Achtung! Maximale Personenanzahl ") + QString::number(m_iMaxPers) +
               QStringLiteral(" überschritten!"));

    // Fixed and maximum numbers of tables as the chosen room's caption shows them.
    const QString info = lbBettischInfos->text();
    const QString festText = QStringLiteral("Fest eingebaut:");
    const QString maxText = QStringLiteral("Maximal:");
    const qsizetype festPos = info.indexOf(festText);
    const qsizetype maxPos = info.indexOf(maxText);
    int fest = 0;
    int maximal = 0;
    if (festPos >= 0) {
        const qsizetype von = festPos + festText.size();
        fest = Zahl(info.mid(von, maxPos > von ? maxPos - von : -1).trimmed());
    }
    if (maxPos >= 0)
        maximal = Zahl(info.mid(maxPos + maxText.size()).trimmed());

    // An empty box or 0 (as portal requests without tables say) asks for no tables at all:
    // nothing to warn about.
    const int tische = static_cast<int>(tfBeteiligtentische->Value());
    if (tfBeteiligtentische->text().trimmed().isEmpty() || tische == 0)
        return;
    if (tische < fest || tische > maximal)
        MsgBox(QStringLiteral("Achtung! Anzahl der Beteiligtentische liegt außerhalb der "
                              "Möglichkeiten!"));
    if (tische % 2 != 0)
        MsgBox(QStringLiteral("Achtung! Die Anzahl der Beteiligtentische muss gerade sein!"));
}

void frmAntrag::pbSave_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbSave_Click"), [&] { Speichern(); });
}

bool frmAntrag::EingabeAbschliessen() {
    m_bKonfliktGemeldet = false;
    // A box left a moment ago, then the box being typed in as if it were left, then a group
    // edited without being left (a date picked from the calendar).
    if (!VerlassenAbarbeiten())
        return false;
    const int box = TerminZiel(focusWidget());
    if (box >= 0 && !mvDatum->isAncestorOf(focusWidget()) &&
        !FeldVerlassen(box, TerminEingabe::kAussen))
        return false;
    if (m_termine.SpanneOffen())
        SpannePruefen();
    return !m_bKonfliktGemeldet;
}

bool frmAntrag::Speichern() {
    m_bSchreibfehler = false;
    // What is being typed counts, with its checks, before anything is written.
    if (!EingabeAbschliessen()) {
        m_bSchreibfehler = true;
        return false;
    }
    if (coPerson[0]->currentText().trimmed().isEmpty()) {
        MsgBox(kPersonFehlt, PromptButtons::Ok, PromptIcon::Information, kTitelSpeichern);
        return false;
    }
    PersonenUndTischeWarnen();

    Merker speichert(m_bSpeichert);
    if (!DatumsPruefung())
        return false;

    std::shared_ptr<CBelegungRec>& beleg = FormBeleg();
    Write2Rec(beleg);

    if (f_RecBelegung) {
        // An existing single booking.
        f_RecBelegung->CopyFrom(*beleg);
        if (f_RecBelegung->rb_id == 0) {
            MsgBox(QStringLiteral("Wählen Sie über den Button 'Verfügbare Räume' einen Raum aus!"),
                   PromptButtons::Ok, PromptIcon::Information, kTitelSpeichern);
            return false;
        }
        if (!R_Main::SpeichereBelegung(*f_RecBelegung)) {
            m_bSchreibfehler = true;
            return false;
        }
        beleg->CopyFrom(*f_RecBelegung);
    } else if (f_BelegListe) {
        // All bookings of an opened order.
        if (!SpeichereAuftragAenderung(*beleg))
            return false;
    } else if (m_Serie) {
        // A new series.
        if (!SpeichereSerie(*beleg))
            return false;
    } else {
        // A new single booking.
        if (coFreeRooms->currentIndex() < 0 && RaumTag().isEmpty()) {
            MsgBox(QStringLiteral("Es ist kein Raum angegeben!"), PromptButtons::Ok,
                   PromptIcon::Information, kTitelSpeichern);
            return false;
        }
        if (!R_Main::SpeichereBelegung(*beleg)) {
            m_bSchreibfehler = true;
            return false;
        }
        frTermin->setTitle(QStringLiteral("1 Termin vom"));
        setWindowTitle(QStringLiteral("Antrag  ") + QString::number(beleg->lAuftrNr));
        // From now on the form edits the stored booking: its own row never conflicts with it,
        // and a later save or delete works on it.
        f_RecBelegung = std::make_shared<CBelegungRec>(*beleg);
        f_lRecId = beleg->Rec_ID;
        f_bUpdate = true;
    }

    f_bGespeichert = true;
    gbUpdatePending = true;
    MsgBox(QStringLiteral("Die aktuelle Raumreservierung wurde gespeichert!"),
           PromptButtons::OkCancel);
    m_bGeaendert = false;

    if (f_bVonNetzpult) {
        QString adresse = edEMail->text().trimmed();
        if (adresse.isEmpty())
            adresse = coPerson[0]->currentText();
        if (MsgBox(QStringLiteral("Soll die e-mail an '") + adresse +
                       QStringLiteral("' gesendet werden ?"),
                   PromptButtons::YesNo) == PromptResult::Yes)
            pbEMail_Click();
    }
    return true;
}

// --- deleting ----------------------------------------------------------------------------------

void frmAntrag::pbDelete_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbDelete_Click"), [&] {
        const bool gespeichert =
            (f_RecBelegung || f_BelegListe) && (!f_bVonNetzpult || f_bGespeichert);
        if (!gespeichert) {
            MsgBox(QStringLiteral("Die Reservierung wurde noch nicht gespeichert!"));
            return;
        }
        if (MsgBox(QStringLiteral("Wollen Sie diese Reservierung wirklich löschen ?"),
                   PromptButtons::YesNo, PromptIcon::None,
                   QStringLiteral("Achtung !")) != PromptResult::Yes)
            return;

        bool geloescht = false;
        if (f_RecBelegung) {
            geloescht = R_Main::LoescheBelegung(f_RecBelegung->Rec_ID);
        } else if (const CBelegungRec* erste = f_BelegListe->Item(1)) {
            geloescht = R_Main::LoescheAuftrag(erste->lAuftrNr);
        }
        if (!geloescht)
            return;
        // The reservation is gone: nothing is left to check or to save.
        m_bGeaendert = false;
        Schliessen();
    });
}

// --- new ---------------------------------------------------------------------------------------

void frmAntrag::pbNew_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbNew_Click"), [&] {
        if (!coPerson[0]->currentText().isEmpty() && !tfDt_von->text().isEmpty()) {
            const PromptResult antwort =
                MsgBox(QStringLiteral("Angaben übernehmen?"), PromptButtons::YesNoCancel);
            if (antwort == PromptResult::Cancel)
                return;
            if (antwort == PromptResult::No)
                ClearfrmAntrag();
            else
                coFreeRooms->clear();
        }
        {
            LadeSperre sperre(*this);
            setWindowTitle(QStringLiteral("Neuer Antrag"));
            tfDt_von->SetValue(TovoDate::kNoDate);
            tfDt_bis->SetValue(TovoDate::kNoDate);
            tfTm_von->setText(QStringLiteral("8:00"));
            tfTm_bis->setText(QStringLiteral("9:00"));
            for (int i = 0; i < 4; ++i) {
                tftm[i]->setText(QStringLiteral("00:00"));
                tfdt[i]->SetValue(TovoDate::kNoDate);
            }
            // The rooms of an order do not carry over to a new reservation.
            if (MehrereRaeume()) {
                SetzeGewaehltenRaum(QString(), QString());
                lbUsedRoom->hide();
                coFreeRooms->show();
            }
        }
        MsgBox(QStringLiteral("Achtung! Datum wurde nicht gesetzt !"));

        f_lRecId = 0;
        f_bUpdate = false;
        f_RecBelegung.reset();
        f_BelegListe.reset();
        m_Serie.reset();
        m_SerienWahl.reset();
        m_Beleg.reset();
        // A new reservation is no series, whatever the particulars taken over.
        edSerie->clear();

        IsFreeRaum();
        Read2Mask();
    });
}

// --- closing -----------------------------------------------------------------------------------

void frmAntrag::pbEnde_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbEnde_Click"), [&] {
        const bool schreiben = DarfSchreiben();
        if (schreiben && !DatumsPruefung()) {
            if (MsgBox(QStringLiteral("Maske trotzdem ohne Änderungen verlassen?"),
                       PromptButtons::YesNo) != PromptResult::Yes)
                return;
            // Leaving without changes: nothing is saved.
            Schliessen();
            return;
        }
        const bool neuVomNetzpult = f_bVonNetzpult && !f_bGespeichert;
        if (schreiben && (m_bGeaendert || neuVomNetzpult)) {
            const QString frage = m_bGeaendert ? QStringLiteral("Änderungen speichern ?")
                                               : QStringLiteral("Speichern?");
            if (MsgBox(frage, PromptButtons::YesNo) == PromptResult::Yes) {
                if (coPerson[0]->currentText().trimmed().isEmpty()) {
                    MsgBox(kPersonFehlt, PromptButtons::Ok, PromptIcon::Information,
                           kTitelSpeichern);
                    return;
                }
                pbSave_Click();
                // A failed write keeps the form open with what the user entered.
                if (m_bSchreibfehler)
                    return;
            }
        }
        Schliessen();
    });
}

// --- set-up rows and calendar ------------------------------------------------------------------

void frmAntrag::pbSetBack_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.pbSetBack_Click"), [&] {
        for (int i = 2 * index; i <= 2 * index + 1; ++i) {
            tfdt[i]->SetValue(TovoDate::kNoDate);
            tftm[i]->setText(QStringLiteral("0"));
        }
        m_bGeaendert = true;
    });
}

TovoTextbox* frmAntrag::DatumsBox(int index) const {
    if (index == 0)
        return tfDt_von;
    if (index == 1)
        return tfDt_bis;
    return tfdt[index - 2];
}

void frmAntrag::pbDatum_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.pbDatum_Click"), [&] {
        if (index < 0 || index > 5)
            return;
        if (!mvDatum->isHidden() && m_iDatumIndex == index) {
            mvDatum->hide();
            m_iDatumIndex = -1;
            return;
        }
        const TovoTextbox* box = DatumsBox(index);
        mvDatum->setSelectedDate(HaeltDatum(box) ? TovoDate(box->Value()).toQDate()
                                                 : QDate::currentDate());
        // Beside the button, kept inside the form.
        QPushButton* knopf = pbDatum[index];
        QPoint pos = knopf->mapTo(this, QPoint(knopf->width() + 2, 0));
        const QSize groesse = mvDatum->sizeHint();
        pos.setX(std::max(0, std::min(pos.x(), width() - groesse.width())));
        pos.setY(std::max(0, std::min(pos.y(), height() - groesse.height())));
        mvDatum->resize(groesse);
        mvDatum->move(pos);
        mvDatum->show();
        mvDatum->raise();
        m_iDatumIndex = index;
    });
}

void frmAntrag::mvDatum_DateClick(const QDate& date) {
    RunGuarded(QStringLiteral("frmAntrag.mvDatum_DateClick"), [&] {
        const int index = m_iDatumIndex;
        mvDatum->hide();
        m_iDatumIndex = -1;
        if (index < 0)
            return;
        // As if typed: the span is checked when the user leaves the group of boxes.
        TovoTextbox* box = DatumsBox(index);
        box->setText(date.toString(QStringLiteral("dd.MM.yyyy")));
        m_termine.Bearbeitet(TerminEingabe::Datum(index));
        m_bGeaendert = true;
        box->setFocus(Qt::OtherFocusReason);
    });
}

// --- equipment history -------------------------------------------------------------------------

void frmAntrag::pbHistorie_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbHistorie_Click"), [&] {
        QString raum =
            coFreeRooms->currentIndex() >= 0 ? coFreeRooms->currentText() : lbUsedRoom->text();
        if (raum == kMehrere)
            raum.clear();
        if (raum.isEmpty()) {
            MsgBox(QStringLiteral("Wählen Sie zuerst einen freien Raum!"), PromptButtons::Ok,
                   PromptIcon::None, QStringLiteral("Achtung"));
            return;
        }
        const double bezug = HaeltDatum(tfDt_von) ? tfDt_von->Value() : TovoDate::today().value();
        frmHistorie::Zeige(R_Main::RaumIdByName(raum), bezug, this);
    });
}

// The form's date and time boxes: leaving a box, the span checks when a group of boxes was left,
// the set-up and clear-down corrections and proposals, the effort, and the check before saving.
// What is checked lives in TerminEingabe; here the boxes are copied in and out and the messages
// shown.
#include "frmAntrag.h"

#include "ErrorGuard.h"
#include "Prompt.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

// While the span checks show their messages, text typed for the control the user moved to is
// kept from the message and handed to that control afterwards; Enter and Escape still answer.
class TastenPuffer : public QObject {
public:
    TastenPuffer() : m_ziel(QApplication::focusWidget()) { qApp->installEventFilter(this); }
    ~TastenPuffer() override {
        qApp->removeEventFilter(this);
        for (const auto& [taste, text] : m_tasten)
            if (m_ziel)
                QCoreApplication::postEvent(m_ziel,
                                            new QKeyEvent(QEvent::KeyPress, taste, {}, text));
    }
    TastenPuffer(const TastenPuffer&) = delete;
    TastenPuffer& operator=(const TastenPuffer&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* w = qobject_cast<QWidget*>(watched);
        if (event->type() != QEvent::KeyPress || !w || !qobject_cast<QMessageBox*>(w->window()))
            return false;
        const auto* k = static_cast<QKeyEvent*>(event);
        const bool getippt = !k->text().isEmpty() && k->text().at(0).isPrint() &&
                             !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (getippt)
            m_tasten.append({k->key(), k->text()});
        return getippt;
    }

private:
    QPointer<QWidget> m_ziel;
    QVector<std::pair<int, QString>> m_tasten;
};

} // namespace

// --- the boxes ---------------------------------------------------------------------------------

bool frmAntrag::HaeltDatum(const TovoTextbox* box) {
    return !box->text().trimmed().isEmpty() && box->IsValid() && !IsNoDate(box->Value());
}

bool frmAntrag::HaeltZeit(const TovoTextbox* box) {
    return !box->text().trimmed().isEmpty() && box->IsValid();
}

TovoTextbox* frmAntrag::TerminBox(int box) const {
    const int moment = box / 2;
    const bool zeit = box % 2;
    if (moment == TerminEingabe::Beginn)
        return zeit ? tfTm_von : tfDt_von;
    if (moment == TerminEingabe::Ende)
        return zeit ? tfTm_bis : tfDt_bis;
    return zeit ? tftm[moment - 2] : tfdt[moment - 2];
}

int frmAntrag::TerminZiel(const QWidget* w) const {
    if (!w)
        return TerminEingabe::kAussen;
    for (int i = 0; i < TerminEingabe::kBoxen; ++i)
        if (TerminBox(i) == w)
            return i;
    // The calendar and the buttons beside the boxes belong to their group: using them is no
    // leaving of the span.
    if (m_iDatumIndex >= 0 && (w == mvDatum || mvDatum->isAncestorOf(w)))
        return TerminEingabe::Datum(m_iDatumIndex);
    for (int i = 0; i < 6; ++i)
        if (w == pbDatum[i])
            return TerminEingabe::Datum(i);
    for (int i = 0; i < 2; ++i)
        if (w == pbBauVor[i] || w == pbSetBack[i])
            return TerminEingabe::Datum(TerminEingabe::UmbauBeginn);
    return TerminEingabe::kAussen;
}

void frmAntrag::TermineLesen() {
    for (int i = 0; i < TerminEingabe::kBoxen; ++i)
        m_termine.text[i] = TerminBox(i)->text();
}

bool frmAntrag::TermineZurueck() {
    bool geaendert = false;
    for (int i = 0; i < TerminEingabe::kBoxen; ++i) {
        if (TerminBox(i)->text() == m_termine.text[i])
            continue;
        TerminBox(i)->setText(m_termine.text[i]);
        geaendert = true;
    }
    return geaendert;
}

// --- leaving a box -----------------------------------------------------------------------------

void frmAntrag::TerminBoxVerlassen(int box, int ziel) {
    // Checked once the focus has settled, so that keys typed right after leaving the box reach
    // the control they were typed into before any message appears.
    m_offenesVerlassen = {box, ziel};
    QTimer::singleShot(0, this, [this] { VerlassenAbarbeiten(); });
}

bool frmAntrag::VerlassenAbarbeiten() {
    const auto [box, ziel] = m_offenesVerlassen;
    m_offenesVerlassen = {-1, -1};
    if (box < 0 || m_bGeschlossen)
        return true;
    return FeldVerlassen(box, ziel);
}

bool frmAntrag::FeldVerlassen(int box, int ziel) {
    return RunGuarded<bool>(QStringLiteral("frmAntrag.FeldVerlassen"), false, [&] {
        TermineLesen();
        const TerminEingabe::Verlassen v = m_termine.Verlasse(box, ziel);
        TermineZurueck();
        if (!v.meldung.isEmpty()) {
            MsgBox(v.meldung, PromptButtons::Ok, PromptIcon::Exclamation);
            // Back into the box, with the wrong text ready to be typed over.
            TovoTextbox* feld = TerminBox(box);
            QTimer::singleShot(0, feld, [feld] {
                feld->setFocus(Qt::OtherFocusReason);
                feld->selectAll();
            });
            return false;
        }
        if (v.spanne)
            SpannePruefen();
        return true;
    });
}

void frmAntrag::SpannePruefen() {
    TastenPuffer tasten;
    RunGuarded(QStringLiteral("frmAntrag.SpannePruefen"), [&] {
        TermineLesen();
        if (const QString meldung = m_termine.BuchungsSpanne(); !meldung.isEmpty()) {
            MsgBox(meldung);
            return;
        }
        CheckBau();
        const bool ohneRaum = lbUsedRoom->text().isEmpty() && RaumTag().isEmpty();
        // The list of free rooms follows the span, also while the chosen room stays free.
        if (IsFreeRaum() && !ohneRaum)
            pbFreeRooms_Click();
    });
}

// --- set-up and clear-down ---------------------------------------------------------------------

void frmAntrag::CheckBau() {
    RunGuarded(QStringLiteral("frmAntrag.CheckBau"), [&] {
        TermineLesen();
        const QVector<TerminEingabe::Meldung> meldungen = m_termine.Bau();
        if (TermineZurueck())
            m_bGeaendert = true;
        for (const TerminEingabe::Meldung& m : meldungen) {
            if (m.rueckbauHinweis)
                MsgBox(m.text, PromptButtons::Ok, PromptIcon::Information,
                       QStringLiteral("Rückbau"));
            else
                MsgBox(m.text);
        }
    });
}

void frmAntrag::GetAufwand() {
    RunGuarded(QStringLiteral("frmAntrag.GetAufwand"), [&] {
        TermineLesen();
        tfUmbAufwand->SetValue(m_termine.Aufwand());
    });
}

void frmAntrag::pbBauVor_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.pbBauVor_Click"), [&] {
        TermineLesen();
        m_termine.Vorschlagen(index);
        if (TermineZurueck())
            m_bGeaendert = true;
        IsFreeRaum();
        GetAufwand();
    });
}

// --- the check before saving -------------------------------------------------------------------

bool frmAntrag::DatumsPruefung() {
    return RunGuarded<bool>(QStringLiteral("frmAntrag.DatumsPruefung"), false, [&] {
        for (;;) {
            TermineLesen();
            const TerminEingabe::Befund befund = m_termine.VorDemSpeichern();
            if (befund.meldung.isEmpty())
                return true;
            if (befund.frage < 0) {
                MsgBox(befund.meldung);
                return false;
            }
            // A missing end of the set-up or start of the clear-down may be filled in and saved;
            // within a save that is running already, that save stores the filled-in value.
            if (MsgBox(befund.meldung, PromptButtons::YesNo) != PromptResult::Yes)
                return false;
            m_termine.FrageAnnehmen(befund.frage);
            TermineZurueck();
            m_bGeaendert = true;
            if (!m_bSpeichert)
                pbSave_Click();
        }
    });
}

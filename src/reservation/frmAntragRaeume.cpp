// Rooms on the form: the conflict test of the chosen room, the free-room search and taking over
// a chosen room's equipment, seating and capacity.
#include "frmAntrag.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ListControl.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SqlConnection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>

namespace {

// Letters of a room's equipment, in the order of the boxes Check2(1..12).
const char kAusstattungBuchstaben[] = "WPCMRFLNASGB";

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

bool frmAntrag::StartUndEndeGueltig() const {
    return HaeltDatum(tfDt_von) && HaeltDatum(tfDt_bis) && HaeltZeit(tfTm_von) &&
           HaeltZeit(tfTm_bis);
}

// --- conflict test of the chosen room ----------------------------------------------------------

void frmAntrag::RaumAufgeben() {
    SetzeGewaehltenRaum(QString(), QString());
    lbUsedRoom->hide();
    coFreeRooms->show();
    coFreeRooms->setCurrentIndex(-1);
    if (f_RecBelegung)
        f_RecBelegung->rb_id = 0;
    if (m_Beleg)
        m_Beleg->rb_id = 0;
}

bool frmAntrag::IsFreeRaum() {
    return RunGuarded<bool>(QStringLiteral("frmAntrag.IsFreeRaum"), false, [&] {
        if (MehrereRaeume())
            return true;
        // Half-filled dates are not tested; the test follows when they are complete.
        if (!StartUndEndeGueltig())
            return true;
        if (lbUsedRoom->text().isEmpty() && RaumTag().isEmpty()) {
            pbFreeRooms_Click();
            return true;
        }

        auto probe = std::make_shared<CBelegungRec>();
        Write2Rec(probe);
        probe->Rec_ID = BearbeiteteRecId();
        const int32_t raumId = RaumTag().toInt();

        // A series and an opened order are tested date by date.
        const bool jeTermin = m_Serie || f_BelegListe;
        bool frei = true;
        QString konfliktDatum;
        if (jeTermin)
            frei = !SerieHatKonflikt(*probe, konfliktDatum);
        else
            frei = R_Main::IsFreeRoom(raumId, *probe);
        if (frei)
            return true;
        m_bKonfliktGemeldet = true;

        const QString raum = lbUsedRoom->text();

        // The room is given up; the search picks the first free room of the type.
        RaumAufgeben();
        pbFreeRooms_Click();
        // The reservation lies in another room now (or in none): closing asks to save.
        m_bGeaendert = true;
        const QString neu =
            coFreeRooms->currentIndex() >= 0 ? coFreeRooms->currentText() : QString();

        // The message names both rooms, so that nobody saves into a room they never chose.
        const QString wechsel =
            !neu.isEmpty()
                ? QStringLiteral("Der Antrag wurde vom Raum '") + raum +
                      QStringLiteral("' in den freien Raum '") + neu +
                      QStringLiteral("' dieser Raumart umgeschaltet. Bitte prüfen Sie den Raum.")
                : QStringLiteral("Kein anderer Raum dieser Raumart ist frei. Bitte wählen Sie "
                                 "einen anderen Termin oder eine andere Raumart.");
        QString text;
        if (!raum.isEmpty()) {
            QString zeile;
            if (jeTermin)
                zeile = QStringLiteral("Raum: '") + raum + QStringLiteral("' am ") + konfliktDatum +
                        QStringLiteral(". ");
            else
                zeile = QStringLiteral("Raum: '") + raum + QStringLiteral("' von ") +
                        tfDt_von->text().trimmed() + QStringLiteral(", ") +
                        tfTm_von->text().trimmed() + QStringLiteral(" bis ") +
                        tfDt_bis->text().trimmed() + QStringLiteral(", ") +
                        tfTm_bis->text().trimmed();
            text = QStringLiteral("Es gibt einen Belegungskonflikt bei folgenden Daten:") + kCrLf +
                   kCrLf + zeile + kCrLf + kCrLf + wechsel;
        } else {
            text = QStringLiteral("Achtung! Wegen eines Belegungskonfliktes ist der gewählte Raum "
                                  "nicht benutzbar.") +
                   kCrLf + kCrLf + wechsel;
        }
        MarkiereRaumwechsel(raum, neu);
        // A new series may keep its room: the overview lets the user settle each taken date.
        PromptMessage meldung{QStringLiteral("Terminänderung"), text, PromptIcon::None,
                              PromptButtons::Ok, QString()};
        if (m_Serie && raumId != 0)
            meldung.zusatzKnopf = QStringLiteral("Termine prüfen…");
        if (Prompt().show(meldung) != PromptResult::Zusatz)
            return false;

        // Back to the room the user chose, for the overview; after a cancel the switch holds.
        const int gewechselt = coFreeRooms->currentIndex();
        coFreeRooms->setCurrentIndex(-1);
        coFreeRooms->hide();
        SetzeGewaehltenRaum(raum, QString::number(raumId));
        lbUsedRoom->show();
        RaumwechselGesehen();
        if (TerminePruefen())
            return true;
        SetzeGewaehltenRaum(QString(), QString());
        lbUsedRoom->hide();
        coFreeRooms->show();
        coFreeRooms->setCurrentIndex(gewechselt);
        if (gewechselt >= 0)
            coFreeRooms_Click();
        MarkiereRaumwechsel(raum, neu);
        return false;
    });
}

void frmAntrag::MarkiereRaumwechsel(const QString& alt, const QString& neu) {
    m_bRaumwechsel = true;
    SSTab1->setCurrentIndex(0);
    coFreeRooms->setStyleSheet(
        QStringLiteral("QComboBox { background: #FFF1A8; border: 2px solid #D02020; }"));
    coFreeRooms->setToolTip(
        alt.isEmpty() ? QStringLiteral("Raum wegen eines Belegungskonflikts gewechselt")
                      : QStringLiteral("Raum wegen eines Belegungskonflikts gewechselt: vorher '") +
                            alt + QStringLiteral("'") +
                            (neu.isEmpty() ? QString() : QStringLiteral(", jetzt '") + neu + "'"));
}

void frmAntrag::RaumwechselGesehen() {
    if (!m_bRaumwechsel)
        return;
    m_bRaumwechsel = false;
    coFreeRooms->setStyleSheet(QString());
    coFreeRooms->setToolTip(QString());
}

void frmAntrag::RaumAnzeigeAbgleichen() {
    lbUsedRoom->setMaximumWidth(coFreeRooms->isHidden() ? QWIDGETSIZE_MAX : 0);
}

// --- free-room search --------------------------------------------------------------------------

bool frmAntrag::Eingabekontrolle() {
    m_stMeldung.clear();
    if (!StartUndEndeGueltig())
        return false;
    if (coRaumart->currentIndex() < 0) {
        m_stMeldung = QStringLiteral("Sie müssen noch die Raumart wählen !");
        return true;
    }
    return false;
}

R_Main::FreiAnfrage frmAntrag::FreieRaeumeAnfrage() const {
    // From the set-up start, where there is one, to the clear-down end, where there is one.
    R_Main::FreiAnfrage anfrage;
    auto tag = [](const TovoTextbox* box) { return TovoDate(box->Value()).datePart().value(); };
    auto zeit = [](const TovoTextbox* box) { return TovoDate(box->Value()).timePart().value(); };
    auto mitZeit = [&](const TovoTextbox* box) { return HaeltZeit(box) && zeit(box) != 0.0; };
    anfrage.spanne.startDatum = HaeltDatum(tfdt[0]) ? tag(tfdt[0]) : tag(tfDt_von);
    anfrage.spanne.endDatum = HaeltDatum(tfdt[3]) ? tag(tfdt[3]) : tag(tfDt_bis);
    anfrage.spanne.startZeit = mitZeit(tftm[0]) ? zeit(tftm[0]) : zeit(tfTm_von);
    anfrage.spanne.endZeit = mitZeit(tftm[3]) ? zeit(tftm[3]) : zeit(tfTm_bis);
    anfrage.auftrag = f_BelegListe.get();
    return anfrage;
}

void frmAntrag::pbFreeRooms_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbFreeRooms_Click"), [&] {
        if (Eingabekontrolle()) {
            MsgBox(m_stMeldung, PromptButtons::Ok, PromptIcon::Critical,
                   QStringLiteral("Achtung !"));
            return;
        }
        // Without complete dates there is nothing to search for.
        if (!StartUndEndeGueltig())
            return;

        R_Main::FreiAnfrage anfrage = FreieRaeumeAnfrage();
        QVector<double> serienTermine;
        if (m_Serie)
            SerienAnfrage(anfrage, serienTermine);

        const QString vorher = lbUsedRoom->text();
        // The search itself changes nothing the user entered; only a switch of the room does.
        bool geaendert = m_bGeaendert;
        const int32_t raumart = coRaumart->currentData().toInt();
        QVector<R_Main::FreierRaum> frei;
        bool nichtAlle = false;
        coFreeRooms->clear();
        if (!R_Main::Free(anfrage, BearbeiteteRecId(), raumart, frei, nichtAlle))
            return;
        for (const R_Main::FreierRaum& raum : frei)
            coFreeRooms->addItem(raum.Kurzbez, raum.az_ID);
        // Several rooms of an order stay as they are unless the user picks one for all.
        coFreeRooms->setCurrentIndex(-1);
        if (!frei.isEmpty() && !MehrereRaeume()) {
            coFreeRooms->setCurrentIndex(0);
            coFreeRooms_Click();
        }
        lbNichtverfuegbar->setVisible(nichtAlle);

        // The room shown before stays chosen while it is free.
        if (!vorher.isEmpty() && !MehrereRaeume()) {
            const int i = coFreeRooms->findText(vorher, Qt::MatchExactly);
            if (i > 0) {
                coFreeRooms->setCurrentIndex(i);
                coFreeRooms_Click();
            } else if (i < 0 && !frei.isEmpty() && !m_bRaumartGewechselt) {
                // The room is taken at this time: the search moved the reservation, say so.
                const QString neu = coFreeRooms->currentText();
                geaendert = true;
                MarkiereRaumwechsel(vorher, neu);
                MsgBox(QStringLiteral("Der Raum '") + vorher +
                           QStringLiteral("' ist zu dieser Zeit belegt. Der Antrag wurde in den "
                                          "freien Raum '") +
                           neu +
                           QStringLiteral("' dieser Raumart umgeschaltet. Bitte prüfen Sie "
                                          "den Raum."),
                       PromptButtons::Ok, PromptIcon::None, QStringLiteral("Terminänderung"));
            }
        }
        m_bGeaendert = geaendert;
    });
}

void frmAntrag::coFreeRooms_Click() {
    RunGuarded(QStringLiteral("frmAntrag.coFreeRooms_Click"), [&] {
        const auto gesperrt = qScopeGuard([this] {
            if (m_bNurLesen)
                NurLesenAnwenden();
        });
        const int i = coFreeRooms->currentIndex();
        if (i < 0)
            return;
        const int32_t raumId = coFreeRooms->itemData(i).toInt();
        if (!MehrereRaeume())
            SetzeGewaehltenRaum(coFreeRooms->itemText(i), QString::number(raumId));

        CAnzeigeRec raum;
        raum.az_ID = raumId;
        if (!gRvDb)
            return;
        if (!gRvDb->Readrb_AnzeigeRec(&raum))
            RaiseError(gRvDb->LastError());

        for (int k = 1; k <= 12; ++k)
            Check2[k]->setEnabled(
                raum.stAusstattung.contains(QLatin1Char(kAusstattungBuchstaben[k - 1])));
        StuhlanordnungFreigeben(raum.STSTUHLANORDNUNG);

        m_iMaxPers = raum.IANZAHLPERS;
        lbMaxAnz->setText(QStringLiteral("max.: ") + QString::number(raum.IANZAHLPERS));
        lbBettischInfos->setText(QStringLiteral("Fest eingebaut: ") +
                                 QString::number(raum.IPTISCHEFEST) + QStringLiteral(" Maximal: ") +
                                 QString::number(raum.IPTISCHE));
    });
}

void frmAntrag::StuhlanordnungFreigeben(const QString& moeglich) {
    // Any arrangement of the letters K, U and O, each at most once; anything else allows none.
    const QString codes = QStringLiteral("KUO");
    bool an[3] = {false, false, false};
    bool gueltig = !moeglich.isEmpty() && moeglich.size() <= 3;
    for (QChar c : moeglich) {
        const qsizetype k = codes.indexOf(c);
        if (k < 0 || an[k]) {
            gueltig = false;
            break;
        }
        an[k] = true;
    }
    rbStuhlan[0]->setEnabled(true);
    for (int k = 0; k < 3; ++k)
        rbStuhlan[k + 1]->setEnabled(gueltig && an[k]);
}

void frmAntrag::coRaumart_Click() {
    RunGuarded(QStringLiteral("frmAntrag.coRaumart_Click"), [&] {
        if (m_iLaden > 0 || MehrereRaeume())
            return;
        lbUsedRoom->hide();
        coFreeRooms->show();
        // The rooms of another type replace the room of the old one without a word.
        m_bRaumartGewechselt = true;
        pbFreeRooms_Click();
        m_bRaumartGewechselt = false;
        m_bGeaendert = true;
    });
}

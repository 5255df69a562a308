// Series on the reservation form: attaching a rule through the series dialog, saving a new series
// as one order, saving the changes of an opened order, and testing every date of either.
#include "frmAntrag.h"

#include "CRvDb.h"
#include "CSerienFkt.h"
#include "ErrorGuard.h"
#include "Feiertage.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SerienBerechnung.h"
#include "SerienSpeichern.h"
#include "frmSerie.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void frmAntrag::pbSerie_Click() {
    RunGuarded(QStringLiteral("frmAntrag.pbSerie_Click"), [&] {
        frmSerie dlg(this);
        dlg.Vorbelegen(tfTm_von->text().trimmed(), tfTm_bis->text().trimmed(),
                       tfDt_von->text().trimmed());
        // "Termine prüfen…" in the dialog checks its rule in the form's room; the choice holds
        // when the dialog closes with that very rule.
        std::shared_ptr<SerienPruefung::Ergebnis> wahlImDialog;
        dlg.f_TerminePruefen = [&](frmSerie& serie) {
            if (serie.f_Serie)
                TerminePruefen(*serie.f_Serie, true, wahlImDialog);
        };
        ZeigeModal(dlg);

        const bool hatteSerie = m_Serie != nullptr;
        m_SerienWahl.reset();
        if (dlg.f_Serie) {
            m_Serie = std::make_shared<CSerienFkt>(*dlg.f_Serie);
            m_SerienWahl = wahlImDialog;
            {
                LadeSperre sperre(*this);
                tfDt_von->SetValue(m_Serie->datBeginn().value());
                tfTm_von->SetValue(m_Serie->TimeBeginn().timePart().value());
                tfDt_bis->SetValue(m_Serie->datEnde().value());
                tfTm_bis->SetValue(m_Serie->TimeEnde().timePart().value());
            }
            // A series has no set-up or clear-down: every filled row is emptied and told.
            for (int i = 0; i < 4; ++i) {
                const bool gefuellt =
                    !tfdt[i]->text().trimmed().isEmpty() && !IsNoDate(tfdt[i]->Value());
                {
                    LadeSperre sperre(*this);
                    tfdt[i]->SetValue(TovoDate::kNoDate);
                    // A time left alone would still count in the free-room search.
                    tftm[i]->setText(QStringLiteral("00:00"));
                }
                if (gefuellt)
                    MsgBox(QStringLiteral("Bei Serien sind keine Um- und Rückbauten möglich--> "
                                          "werden zurückgesetzt!"));
            }
            BauFreigeben(false);
        } else {
            m_Serie.reset();
            if (hatteSerie)
                BauFreigeben(true);
        }
        m_stSerieBasis = dlg.f_stSerieBem;
        SerienTextSetzen();

        // The chosen room is tested on every date; while it stays free, the list of free rooms
        // is renewed for the dates of the series all the same.
        if (m_Serie || hatteSerie) {
            const bool ohneRaum = lbUsedRoom->text().isEmpty() && RaumTag().isEmpty();
            // A room kept through the overview stays: its taken dates are settled there.
            if (IsFreeRaum() && !ohneRaum && !SerienWahl())
                pbFreeRooms_Click();
        }
        m_bGeaendert = true;
    });
}

bool frmAntrag::SpeichereSerie(CBelegungRec& vorlage) {
    if (coFreeRooms->currentIndex() < 0 && RaumTag().isEmpty()) {
        MsgBox(QStringLiteral("Es ist kein Raum angegeben!"), PromptButtons::Ok,
               PromptIcon::Information, QStringLiteral("Speichern"));
        return false;
    }
    const QVector<R_Main::SerienTermin> termine = SerienTermineZumSpeichern();
    if (termine.isEmpty()) {
        MsgBox(QStringLiteral("Die Serie hat keinen Termin, der gespeichert werden kann!"),
               PromptButtons::Ok, PromptIcon::Information, QStringLiteral("Speichern"));
        return false;
    }
    vorlage.Rec_ID = 0;
    if (!R_Main::SaveJour(termine, vorlage, gRvDb, R_Main::gNextNrDialog)) {
        m_bSchreibfehler = true;
        return false;
    }

    // From now on the form edits the stored order: a later save changes its bookings.
    auto auftrag = std::make_shared<CBelegungRecColl>();
    if (!gRvDb->ReadAuftrag2Coll(vorlage.lAuftrNr, auftrag.get()))
        RaiseError(gRvDb->LastError());
    frTermin->setTitle(QString::number(auftrag->Count()) + QStringLiteral(" Termine vom"));
    setWindowTitle(QStringLiteral("Antrag  ") + QString::number(vorlage.lAuftrNr));
    f_BelegListe = auftrag;
    f_bUpdate = true;
    m_SerieGespeichert = m_Serie; // the calendar export names the rule
    m_Serie.reset();
    m_SerienWahl.reset();
    if (auftrag->Count() > 0) {
        LadeSperre sperre(*this);
        tfDt_von->SetValue(auftrag->Item(1)->dt_von);
        tfDt_bis->SetValue(auftrag->Item(auftrag->Count())->dt_bis);
    }
    // Dates moved to other rooms: as with an opened order, a later save keeps each booking's room.
    for (const CBelegungRec* b : *auftrag) {
        if (b->rb_id != auftrag->Item(1)->rb_id) {
            LadeSperre sperre(*this);
            coFreeRooms->setCurrentIndex(-1);
            coFreeRooms->hide();
            SetzeGewaehltenRaum(kMehrere, QStringLiteral("0"));
            lbUsedRoom->show();
            break;
        }
    }
    // Each booking keeps its own date, as when the order is opened.
    for (QWidget* w : {static_cast<QWidget*>(tfDt_von), static_cast<QWidget*>(tfDt_bis),
                       static_cast<QWidget*>(pbDatum[0]), static_cast<QWidget*>(pbDatum[1]),
                       static_cast<QWidget*>(pbSerie)})
        w->setEnabled(false);
    return true;
}

bool frmAntrag::SpeichereAuftragAenderung(CBelegungRec& vorlage) {
    if (R_Main::SaveSerieEdit(vorlage, *f_BelegListe, gRvDb))
        return true;
    // Part of the order may be written already: the form stays open with the user's entries.
    m_bSchreibfehler = true;
    return false;
}

bool frmAntrag::SerieHatKonflikt(CBelegungRec& probe, QString& konfliktDatum) {
    const int32_t raumId = RaumTag().toInt();
    // All dates in one test: each a copy of the probe on its own date.
    QVector<Konflikt::Termin> termine;
    QSet<int32_t> ausser;
    auto termin = [&](double von, double bis) {
        probe.dt_von = von;
        probe.dt_bis = bis;
        termine.append({raumId, R_Main::BelegteSpanne(probe)});
    };
    if (f_BelegListe) {
        // The bookings of the order are tested each on its own date, none against the order.
        for (const CBelegungRec* b : *f_BelegListe) {
            termin(b->dt_von, b->dt_bis);
            ausser.insert(b->Rec_ID);
        }
    } else if (m_Serie) {
        // The dates a save would write, each in its room.
        if (probe.Rec_ID != 0)
            ausser.insert(probe.Rec_ID);
        for (const R_Main::SerienTermin& t : SerienTermineZumSpeichern()) {
            probe.dt_von = t.datum.value();
            probe.dt_bis = t.datum.value();
            termine.append({t.raumId, R_Main::BelegteSpanne(probe)});
        }
    }
    int konflikt = -1;
    if (R_Main::SindFrei(termine, ausser, konflikt))
        return false;
    if (konflikt >= 0 && konflikt < termine.size())
        konfliktDatum = TovoDate(termine[konflikt].spanne.startDatum).toShortDateText();
    return true;
}

bool frmAntrag::SerienAnfrage(R_Main::FreiAnfrage& anfrage, QVector<double>& termine) const {
    if (!m_Serie)
        return false;
    termine.clear();
    const bool ohneFeiertage = m_Serie->FeiertageAuslassen();
    const QString land = ohneFeiertage ? Feiertage::ProjektLand() : QString();
    R_Main::ForEachTermin(*m_Serie, [&](TovoDate tag) {
        if (!ohneFeiertage || !Feiertage::IstFeiertag(tag, land))
            termine.append(tag.value());
        return true;
    });
    anfrage.serienTermine = &termine;
    // The series dialog set the form's times; they are what the bookings will get.
    auto zeit = [](const TovoTextbox* box, TovoDate serie) {
        return (HaeltZeit(box) ? TovoDate(box->Value()) : serie).timePart().value();
    };
    anfrage.serienZeitVon = zeit(tfTm_von, m_Serie->TimeBeginn());
    anfrage.serienZeitBis = zeit(tfTm_bis, m_Serie->TimeEnde());
    return true;
}

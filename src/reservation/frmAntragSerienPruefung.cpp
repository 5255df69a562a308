// The check of a new series on the form: the overview of its dates, the choice kept until the
// series, room or times change, and the dates a save writes.
#include "frmAntrag.h"

#include "CSerienFkt.h"
#include "ErrorGuard.h"
#include "Feiertage.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SerienBerechnung.h"
#include "frmSerienPruefung.h"

#include <QComboBox>
#include <QLineEdit>
#include <cmath>

namespace {

bool GleicheZeit(double a, double b) {
    return std::llround(a * 86400.0) == std::llround(b * 86400.0);
}

} // namespace

int32_t frmAntrag::GewaehlterRaum() const {
    if (coFreeRooms->currentIndex() >= 0)
        return coFreeRooms->currentData().toInt();
    return RaumTag().toInt();
}

SerienPruefung::Anfrage frmAntrag::SerienPruefAnfrage(const CSerienFkt& rule,
                                                      bool zeitenDerRegel) const {
    SerienPruefung::Anfrage a;
    R_Main::ForEachTermin(rule, [&](TovoDate tag) {
        a.termine.append(tag);
        return true;
    });
    auto zeit = [&](const TovoTextbox* box, TovoDate serie) {
        const bool ausBox = !zeitenDerRegel && HaeltZeit(box);
        return (ausBox ? TovoDate(box->Value()) : serie).timePart().value();
    };
    a.zeitVon = zeit(tfTm_von, rule.TimeBeginn());
    a.zeitBis = zeit(tfTm_bis, rule.TimeEnde());
    a.raumId = GewaehlterRaum();
    a.raumartId = coRaumart->currentIndex() >= 0 ? coRaumart->currentData().toInt() : 0;
    a.toleranz = gdToleranz;
    a.land = Feiertage::ProjektLand();
    a.feiertageAuslassen = rule.FeiertageAuslassen();
    return a;
}

bool frmAntrag::TerminePruefen(const CSerienFkt& rule, bool zeitenDerRegel,
                               std::shared_ptr<SerienPruefung::Ergebnis>& wahl) {
    if (GewaehlterRaum() == 0) {
        MsgBox(QStringLiteral("Wählen Sie über den Button 'Verfügbare Räume' einen Raum aus!"),
               PromptButtons::Ok, PromptIcon::Information, QStringLiteral("Serienprüfung"));
        return false;
    }
    frmSerienPruefung dlg(this);
    if (!dlg.Laden(SerienPruefAnfrage(rule, zeitenDerRegel)))
        return false;
    ZeigeModal(dlg);
    if (!dlg.f_bUebernommen)
        return false;
    wahl = std::make_shared<SerienPruefung::Ergebnis>(std::move(dlg.f_Ergebnis));
    return true;
}

bool frmAntrag::TerminePruefen() {
    return RunGuarded<bool>(QStringLiteral("frmAntrag.TerminePruefen"), false, [&] {
        if (!m_Serie)
            return false;
        if (!TerminePruefen(*m_Serie, false, m_SerienWahl))
            return false;
        SerienTextSetzen();
        m_bGeaendert = true;
        return true;
    });
}

std::shared_ptr<SerienPruefung::Ergebnis> frmAntrag::SerienWahl() const {
    if (!m_Serie || !m_SerienWahl)
        return nullptr;
    const SerienPruefung::Anfrage jetzt = SerienPruefAnfrage(*m_Serie);
    const SerienPruefung::Anfrage& damals = m_SerienWahl->anfrage;
    const bool passt = jetzt.raumId == damals.raumId && jetzt.termine == damals.termine &&
                       GleicheZeit(jetzt.zeitVon, damals.zeitVon) &&
                       GleicheZeit(jetzt.zeitBis, damals.zeitBis);
    return passt ? m_SerienWahl : nullptr;
}

QVector<R_Main::SerienTermin> frmAntrag::SerienTermineZumSpeichern() const {
    if (const auto wahl = SerienWahl())
        return SerienPruefung::Auswahl(*wahl);
    QVector<R_Main::SerienTermin> out;
    if (!m_Serie)
        return out;
    const int32_t raum = GewaehlterRaum();
    const QString land = Feiertage::ProjektLand();
    R_Main::ForEachTermin(*m_Serie, [&](TovoDate tag) {
        if (!m_Serie->FeiertageAuslassen() || !Feiertage::IstFeiertag(tag, land))
            out.append({tag, raum});
        return true;
    });
    return out;
}

void frmAntrag::SerienTextSetzen() {
    QString ohne;
    if (const auto wahl = SerienWahl()) {
        ohne = SerienPruefung::OhneText(*wahl);
    } else if (m_Serie && m_Serie->FeiertageAuslassen()) {
        const QString land = Feiertage::ProjektLand();
        QStringList tage;
        R_Main::ForEachTermin(*m_Serie, [&](TovoDate tag) {
            if (Feiertage::IstFeiertag(tag, land))
                tage << tag.toShortDateText();
            return true;
        });
        if (!tage.isEmpty())
            ohne = QStringLiteral("ohne ") + tage.join(QStringLiteral(", "));
    }
    if (ohne.isEmpty())
        edSerie->setText(m_stSerieBasis);
    else if (m_stSerieBasis.isEmpty())
        edSerie->setText(ohne);
    else
        edSerie->setText(m_stSerieBasis + QStringLiteral(", ") + ohne);
}

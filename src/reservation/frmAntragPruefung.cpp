// Checks of the dates while typing and before saving: typed times, set-up and clear-down spans,
// their proposals and the effort computed from them.
#include "frmAntrag.h"

#include "ErrorGuard.h"
#include "Prompt.h"

#include <QRegularExpression>

namespace {

constexpr int64_t kMinutenProTag = 1440;

int64_t Tag(const TovoTextbox* box) {
    return static_cast<int64_t>(TovoDate(box->Value()).datePart().value());
}

int64_t UhrzeitMinuten(const TovoTextbox* box) {
    const QTime t = TovoDate(box->Value()).toQTime();
    return t.hour() * 60 + t.minute();
}

int64_t TagVon(int64_t minuten) {
    return minuten >= 0 ? minuten / kMinutenProTag
                        : -((-minuten + kMinutenProTag - 1) / kMinutenProTag);
}

bool Meldung(const char* text) {
    MsgBox(QString::fromUtf8(text));
    return false;
}

} // namespace

// --- helpers -----------------------------------------------------------------------------------

bool frmAntrag::HaeltDatum(const TovoTextbox* box) {
    return !box->text().trimmed().isEmpty() && box->IsValid() && !IsNoDate(box->Value());
}

bool frmAntrag::HaeltZeit(const TovoTextbox* box) {
    return !box->text().trimmed().isEmpty() && box->IsValid();
}

bool frmAntrag::Zeitpunkt(const TovoTextbox* dt, const TovoTextbox* tm, int64_t& minuten) {
    if (!HaeltDatum(dt) || !HaeltZeit(tm))
        return false;
    minuten = Tag(dt) * kMinutenProTag + UhrzeitMinuten(tm);
    return true;
}

int64_t frmAntrag::Minuten(const TovoTextbox* dt, const TovoTextbox* tm) {
    return Tag(dt) * kMinutenProTag + (HaeltZeit(tm) ? UhrzeitMinuten(tm) : 0);
}

void frmAntrag::SetzeZeitpunkt(TovoTextbox* dt, TovoTextbox* tm, int64_t minuten) {
    dt->SetValue(static_cast<double>(TagVon(minuten)));
    SetzeUhrzeit(tm, minuten);
}

void frmAntrag::SetzeUhrzeit(TovoTextbox* tm, int64_t minuten) {
    const int64_t m = minuten - TagVon(minuten) * kMinutenProTag;
    tm->SetValue(static_cast<double>(m) / kMinutenProTag);
}

// --- typed times and dates ---------------------------------------------------------------------

void frmAntrag::ZeitEingabeVerlassen(TovoTextbox* box, const QString& procedure) {
    RunGuarded(procedure, [&] {
        const QString text = box->text().trimmed();
        if (text.startsWith(QLatin1String("24")))
            box->setText(QStringLiteral("00") + text.mid(2));
        if (!HaeltZeit(box))
            box->setText(QStringLiteral("00:00"));
        // A time in the hour after midnight, start or end, puts the end on the next day.
        if (UhrzeitMinuten(box) < 60 && HaeltDatum(tfDt_von) && HaeltDatum(tfDt_bis) &&
            Tag(tfDt_bis) == Tag(tfDt_von))
            tfDt_bis->SetValue(static_cast<double>(Tag(tfDt_von) + 1));
        CheckBau();
        IsFreeRaum();
    });
}

void frmAntrag::tfTm_von_LostFocus() {
    ZeitEingabeVerlassen(tfTm_von, QStringLiteral("frmAntrag.tfTm_von_LostFocus"));
}

void frmAntrag::tfTm_bis_LostFocus() {
    ZeitEingabeVerlassen(tfTm_bis, QStringLiteral("frmAntrag.tfTm_bis_LostFocus"));
}

void frmAntrag::tfDt_von_LostFocus() {
    RunGuarded(QStringLiteral("frmAntrag.tfDt_von_LostFocus"), [&] { IsFreeRaum(); });
}

void frmAntrag::tfDt_bis_LostFocus() {
    RunGuarded(QStringLiteral("frmAntrag.tfDt_bis_LostFocus"), [&] { IsFreeRaum(); });
}

void frmAntrag::tfdt_LostFocus(int /*index*/) {
    RunGuarded(QStringLiteral("frmAntrag.tfdt_LostFocus"), [&] {
        CheckBau();
        IsFreeRaum();
    });
}

void frmAntrag::tftm_LostFocus(int /*index*/) {
    RunGuarded(QStringLiteral("frmAntrag.tftm_LostFocus"), [&] {
        CheckBau();
        IsFreeRaum();
    });
}

void frmAntrag::DatumGeaendert(TovoTextbox* box, const QString& procedure) {
    if (m_iLaden > 0)
        return;
    RunGuarded(procedure, [&] {
        // Spans are checked against complete dates only, not against a year still being typed.
        static const QRegularExpression vollesDatum(QStringLiteral(R"(^\d{1,2}\.\d{1,2}\.\d{4}$)"));
        if (f_bUpdate && HaeltDatum(box) && vollesDatum.match(box->text().trimmed()).hasMatch())
            CheckBau();
        m_bGeaendert = true;
    });
}

void frmAntrag::tfDt_von_Change() {
    DatumGeaendert(tfDt_von, QStringLiteral("frmAntrag.tfDt_von_Change"));
}

void frmAntrag::tfDt_bis_Change() {
    DatumGeaendert(tfDt_bis, QStringLiteral("frmAntrag.tfDt_bis_Change"));
}

// --- set-up and clear-down ---------------------------------------------------------------------

void frmAntrag::CheckBau() {
    RunGuarded(QStringLiteral("frmAntrag.CheckBau"), [&] {
        int64_t beginn = 0;
        int64_t ende = 0;
        const bool mitBeginn = Zeitpunkt(tfDt_von, tfTm_von, beginn);
        const bool mitEnde = Zeitpunkt(tfDt_bis, tfTm_bis, ende);
        // A span whose two dates are empty is not asked for and stays alone.
        const bool umbau = HaeltDatum(tfdt[0]) || HaeltDatum(tfdt[1]);
        const bool rueckbau = HaeltDatum(tfdt[2]) || HaeltDatum(tfdt[3]);
        auto hinweis = [](const char* text) {
            MsgBox(QString::fromUtf8(text), PromptButtons::Ok, PromptIcon::Information,
                   QStringLiteral("Rückbau"));
        };

        if (umbau && mitBeginn) {
            for (int i : {0, 1}) {
                int64_t m = 0;
                if (!Zeitpunkt(tfdt[i], tftm[i], m) || m <= beginn)
                    continue;
                hinweis("Umbauzeit muß vor Terminende liegen!");
                if (Tag(tfdt[i]) != Tag(tfDt_von))
                    tfdt[i]->SetValue(static_cast<double>(Tag(tfDt_von)));
                else
                    SetzeUhrzeit(tftm[i], beginn - 10);
                m_bGeaendert = true;
            }
        }
        if (rueckbau && mitEnde) {
            for (int i : {2, 3}) {
                int64_t m = 0;
                if (!Zeitpunkt(tfdt[i], tftm[i], m) || m >= ende)
                    continue;
                hinweis("Rückbauzeit muß nach Terminende liegen!");
                if (Tag(tfdt[i]) != Tag(tfDt_bis))
                    tfdt[i]->SetValue(static_cast<double>(Tag(tfDt_bis)));
                else
                    SetzeUhrzeit(tftm[i], ende + 10);
                m_bGeaendert = true;
            }
        }
        for (int s : {0, 2}) {
            if (!(s == 0 ? umbau : rueckbau))
                continue;
            int64_t anfang = 0;
            int64_t schluss = 0;
            if (!Zeitpunkt(tfdt[s], tftm[s], anfang) ||
                !Zeitpunkt(tfdt[s + 1], tftm[s + 1], schluss) || anfang < schluss)
                continue;
            Meldung("Bauanfang muß vor Bauende liegen!");
            // The end moves with its date, also across midnight.
            SetzeZeitpunkt(tfdt[s + 1], tftm[s + 1], anfang + 10);
            m_bGeaendert = true;
        }
    });
}

void frmAntrag::GetAufwand() {
    RunGuarded(QStringLiteral("frmAntrag.GetAufwand"), [&] {
        int64_t minuten = 0;
        for (int s : {0, 2})
            if (HaeltDatum(tfdt[s]) && HaeltDatum(tfdt[s + 1]))
                minuten += Minuten(tfdt[s + 1], tftm[s + 1]) - Minuten(tfdt[s], tftm[s]);
        tfUmbAufwand->SetValue(static_cast<float>(minuten) / 60.0f);
    });
}

void frmAntrag::pbBauVor_Click(int index) {
    RunGuarded(QStringLiteral("frmAntrag.pbBauVor_Click"), [&] {
        if (index == 0 && HaeltDatum(tfDt_von)) {
            // Set-up for an hour, ending half an hour before the event.
            const int64_t anfang = Minuten(tfDt_von, tfTm_von) - 90;
            SetzeZeitpunkt(tfdt[0], tftm[0], anfang);
            SetzeZeitpunkt(tfdt[1], tftm[1], anfang + 60);
            m_bGeaendert = true;
        } else if (index == 1 && HaeltDatum(tfDt_bis)) {
            // Clear-down for an hour, from half an hour after the event.
            const int64_t anfang = Minuten(tfDt_bis, tfTm_bis) + 30;
            SetzeZeitpunkt(tfdt[2], tftm[2], anfang);
            SetzeZeitpunkt(tfdt[3], tftm[3], anfang + 60);
            m_bGeaendert = true;
        }
        IsFreeRaum();
        GetAufwand();
    });
}

// --- the check before saving -------------------------------------------------------------------

bool frmAntrag::DatumsPruefung() {
    return RunGuarded<bool>(QStringLiteral("frmAntrag.DatumsPruefung"), false, [&] {
        if (!HaeltDatum(tfDt_von) || !HaeltDatum(tfDt_bis))
            return Meldung("Anfangs- und Enddatum setzen!");
        const int64_t beginn = Minuten(tfDt_von, tfTm_von);
        const int64_t ende = Minuten(tfDt_bis, tfTm_bis);
        if (ende <= beginn)
            return Meldung("Ende Termin muss später sein als Anfang Termin !");

        bool umbauVon = HaeltDatum(tfdt[0]);
        bool umbauBis = HaeltDatum(tfdt[1]);
        bool rueckVon = HaeltDatum(tfdt[2]);
        bool rueckBis = HaeltDatum(tfdt[3]);

        // A missing end of the set-up or start of the clear-down may be filled in and saved;
        // within a save that is running already, that save stores the filled-in value.
        if (umbauVon && !umbauBis) {
            if (MsgBox(QStringLiteral("Für den Umbau fehlt das Ende! Auf Terminbeginn setzen und "
                                      "speichern ?"),
                       PromptButtons::YesNo) != PromptResult::Yes)
                return false;
            SetzeZeitpunkt(tfdt[1], tftm[1], beginn);
            umbauBis = true;
            m_bGeaendert = true;
            if (!m_bSpeichert)
                pbSave_Click();
        }
        if (rueckBis && !rueckVon) {
            if (MsgBox(QStringLiteral("Für den Rückbau fehlt der Anfang! Auf Terminende setzen "
                                      "und speichern ?"),
                       PromptButtons::YesNo) != PromptResult::Yes)
                return false;
            SetzeZeitpunkt(tfdt[2], tftm[2], ende);
            rueckVon = true;
            m_bGeaendert = true;
            if (!m_bSpeichert)
                pbSave_Click();
        }

        if (umbauBis && !umbauVon)
            return Meldung("Für den Umbau fehlt der Anfang !");
        if (rueckVon && !rueckBis)
            return Meldung("Für den Rückbau fehlt das Ende !");

        const int64_t umbauAnfang = Minuten(tfdt[0], tftm[0]);
        const int64_t umbauEnde = Minuten(tfdt[1], tftm[1]);
        const int64_t rueckAnfang = Minuten(tfdt[2], tftm[2]);
        const int64_t rueckEnde = Minuten(tfdt[3], tftm[3]);
        if (umbauVon && umbauBis && umbauEnde <= umbauAnfang)
            return Meldung("Ende Umbau muss später sein als Anfang Umbau !");
        if (rueckVon && rueckBis && rueckEnde <= rueckAnfang)
            return Meldung("Ende Rückbau muss später sein als Anfang Rückbau !");
        if (umbauBis && umbauEnde > beginn)
            return Meldung("Ende Umbau ist später als Beginn des Termins !");
        if (rueckVon && rueckAnfang < ende)
            return Meldung("Anfang Rückbau ist früher als Ende des Termins !");
        return true;
    });
}

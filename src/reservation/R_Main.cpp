#include "R_Main.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "frmNextNr.h"

#include <QApplication>
#include <QLineEdit>
#include <QSet>

namespace R_Main {

namespace RQ = ReservationQueries;
namespace SP = SchreibPfad;
using Konflikt::Spanne;

namespace {

int32_t NextNrDialogZeigen(int32_t vorschlag) {
    frmNextNr dlg(QApplication::activeWindow());
    dlg.edOrderNr->setText(QString::number(vorschlag));
    ZeigeModal(dlg);
    return dlg.lOrderNr;
}

} // namespace

std::function<int32_t(int32_t)> gNextNrDialog = NextNrDialogZeigen;

// --- Room tests --------------------------------------------------------------------------------

bool SindFrei(const QVector<Konflikt::Termin>& termine, const QSet<int32_t>& ausser,
              int& konflikt) {
    konflikt = termine.isEmpty() ? -1 : 0;
    return RunGuarded<bool>(QStringLiteral("R_Main.IsFreeRoom"), false, [&] {
        int erster = -1;
        QString error;
        if (!Konflikt::Konflikte(
                gDb, termine, ausser, gdToleranz, Konflikt::Lesart::Raumtest,
                [&](const Konflikt::Treffer& t) {
                    erster = t.termin;
                    return false;
                },
                &error))
            RaiseError(error);
        konflikt = erster;
        return erster < 0;
    });
}

bool IsFreeRoom(int32_t lRaumId, const CBelegungRec& rec) {
    int konflikt = -1;
    // The booking's own row is left out by its key: it never conflicts with itself.
    QSet<int32_t> ausser;
    if (rec.Rec_ID != 0)
        ausser.insert(rec.Rec_ID);
    return SindFrei({{lRaumId, BelegteSpanne(rec)}}, ausser, konflikt);
}

bool Free(const FreiAnfrage& anfrage, int32_t lRecId, int32_t lRaumartId, QVector<FreierRaum>& frei,
          bool& bNichtAlle) {
    bNichtAlle = false;
    frei.clear();
    return RunGuarded<bool>(QStringLiteral("R_Main.Free"), false, [&] {
        QSet<int32_t> ausser;
        if (lRecId != 0)
            ausser.insert(lRecId);
        QVector<Zeitspanne> spannen;
        if (anfrage.auftrag) {
            // The bookings of the order on the form are compared each with its own span. Their
            // own rows are left out: the order is checked as a whole, never against itself.
            for (const CBelegungRec* b : *anfrage.auftrag) {
                ausser.insert(b->Rec_ID);
                spannen.append(Spanne(b->dt_von, b->tm_von, b->dt_bis, b->tm_bis));
            }
        } else if (anfrage.serienTermine) {
            // Every occurrence by the same rule, so that an occurrence on the first or last day
            // of a booking over several days is free when the times allow it, as the room test
            // finds.
            for (const double termin : *anfrage.serienTermine)
                spannen.append(
                    Spanne(termin, anfrage.serienZeitVon, termin, anfrage.serienZeitBis));
        } else {
            spannen.append(anfrage.spanne);
        }

        QSet<int32_t> belegt;
        QString error;
        if (!Konflikt::BelegteRaeume(gDb, lRaumartId, spannen, ausser, gdToleranz, belegt, &error))
            RaiseError(error);
        QVector<CAnzeigeRec> raeume;
        if (!RQ::ReadRaeume(gDb, {.raumartId = lRaumartId}, raeume, &error))
            RaiseError(error);
        for (const CAnzeigeRec& raum : raeume) {
            if (belegt.contains(raum.az_ID))
                bNichtAlle = true;
            else
                frei.append({raum.az_ID, raum.Kurzbez});
        }
        return true;
    });
}

// --- Order numbers -----------------------------------------------------------------------------

bool ExistsAuftragNr(int32_t nummer) {
    bool vergeben = false;
    QString error;
    // A number that cannot be read is not handed out.
    return !RQ::AuftragNrVergeben(gDb, nummer, vergeben, &error) || vergeben;
}

int32_t GetNextAuftragNr() {
    int32_t nummer = -1;
    const bool ok = RunGuarded(QStringLiteral("R_Main.GetNextAuftragNr"), [&] {
        bool vorhanden = false;
        int32_t zaehler = 0;
        QString error;
        if (!RQ::ReadNextNr(gDb, vorhanden, zaehler, &error))
            RaiseError(error);
        if (vorhanden)
            nummer = zaehler;
        for (;;) {
            bool vergeben = false;
            if (!RQ::AuftragNrVergeben(gDb, nummer, vergeben, &error))
                RaiseError(error);
            if (!vergeben)
                return;
            MsgBox(SchreibPfad::NummerVergebenMeldung(nummer), PromptButtons::Ok,
                   PromptIcon::Critical, QStringLiteral("Problem"));
            nummer = gNextNrDialog(nummer);
            if (nummer < 0) // cancelled
                return;
        }
    });
    return ok ? nummer : -1;
}

bool SetNextAuftragNr(int32_t nummer) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SetNextAuftragNr"), false, [&] {
        QString error;
        if (!RQ::WriteNextNr(SchreibVerbindung(), nummer, &error))
            RaiseError(error);
        return true;
    });
}

void AuftragNrSetzen() {
    RunGuarded(QStringLiteral("R_Main.AuftragNrSetzen"), [] {
        const int32_t bestaetigt = gNextNrDialog(GetNextAuftragNr());
        if (bestaetigt >= 0)
            SetNextAuftragNr(bestaetigt);
    });
}

// --- Saving and deleting -----------------------------------------------------------------------

QString SchreibVerbindung() {
    return gRvDb && gRvDb->IsOpen() ? gRvDb->ConnectionName() : gDb;
}

bool SpeichereBelegung(CBelegungRec& rec) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SpeichereBelegung"), false, [&] {
        const QString verbindung = SchreibVerbindung();
        if (rec.Rec_ID != 0)
            return SP::Ausfuehren(
                [&](std::optional<int32_t>) { return SP::Aendern(verbindung, {rec}, gdToleranz); },
                gNextNrDialog);
        QVector<CBelegungRec> liste{rec};
        if (!SpeichereAuftrag(liste))
            return false;
        rec.Rec_ID = liste.front().Rec_ID;
        rec.lAuftrNr = liste.front().lAuftrNr;
        return true;
    });
}

bool SpeichereAuftrag(QVector<CBelegungRec>& buchungen) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SpeichereAuftrag"), false, [&] {
        const QString verbindung = SchreibVerbindung();
        return SP::Ausfuehren(
            [&](std::optional<int32_t> wunsch) {
                return SP::NeuerAuftrag(verbindung, buchungen, gdToleranz, wunsch);
            },
            gNextNrDialog);
    });
}

bool VerlegeBelegungen(const QVector<SP::Verlegung>& verlegungen, bool konfliktMelden,
                       QVector<CBelegungRec>* vorher, SP::Ergebnis* ergebnis) {
    return RunGuarded<bool>(QStringLiteral("R_Main.VerlegeBelegungen"), false, [&] {
        const QString verbindung = SchreibVerbindung();
        return SP::Ausfuehren(
            [&](std::optional<int32_t>) {
                if (vorher)
                    vorher->clear();
                return SP::Verlegen(verbindung, verlegungen, gdToleranz, vorher);
            },
            gNextNrDialog, ergebnis, konfliktMelden);
    });
}

bool LoescheBelegung(int32_t recId) {
    return RunGuarded<bool>(QStringLiteral("R_Main.LoescheBelegung"), false, [&] {
        const QString verbindung = SchreibVerbindung();
        return SP::Ausfuehren(
            [&](std::optional<int32_t>) { return SP::LoescheBelegung(verbindung, recId); },
            gNextNrDialog);
    });
}

bool LoescheAuftrag(int32_t lAuftrNr) {
    return RunGuarded<bool>(QStringLiteral("R_Main.LoescheAuftrag"), false, [&] {
        const QString verbindung = SchreibVerbindung();
        return SP::Ausfuehren(
            [&](std::optional<int32_t>) { return SP::LoescheAuftrag(verbindung, lAuftrNr); },
            gNextNrDialog);
    });
}

// --- Equipment history -------------------------------------------------------------------------

bool ReadHistorie(int32_t raumId, double referenzDatum, QVector<CBelegungRec>& out) {
    out.clear();
    return RunGuarded<bool>(QStringLiteral("R_Main.ReadHistorie"), false, [&] {
        const double tag = TovoDate(referenzDatum).datePart().value();
        QString error;
        if (!RQ::ReadHistorie(gDb, raumId, tag - 15, tag + 15, out, &error))
            RaiseError(error);
        return true;
    });
}

int32_t RaumIdByName(const QString& kurzbez) {
    return RunGuarded<int32_t>(QStringLiteral("R_Main.RaumIdByName"), 0, [&] {
        int32_t id = 0;
        QString error;
        if (!RQ::ReadRaumIdByName(gDb, kurzbez, id, &error))
            RaiseError(error);
        return id;
    });
}

} // namespace R_Main

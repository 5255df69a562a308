#include "SerienSpeichern.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SchreibPfad.h"
#include "SerienBerechnung.h"

namespace R_Main {

namespace SP = SchreibPfad;

namespace {
const QString kMsgKeineDb = QStringLiteral("Die Datenbank ist nicht geöffnet!");

bool NeuenAuftragSchreiben(QVector<CBelegungRec>& buchungen, CBelegungRec& booking, CRvDb* db,
                           const NummerErfragen& nummerErfragen) {
    const QString verbindung = db->ConnectionName();
    SP::Ergebnis ergebnis;
    if (!SP::Ausfuehren(
            [&](std::optional<int32_t> wunsch) {
                return SP::NeuerAuftrag(verbindung, buchungen, gdToleranz, wunsch);
            },
            nummerErfragen, &ergebnis))
        return false;
    booking.lAuftrNr = ergebnis.auftrNr;
    return true;
}

} // namespace

bool SaveJour(const CSerienFkt& rule, CBelegungRec& booking, CRvDb* db,
              const NummerErfragen& nummerErfragen) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveJour"), false, [&] {
        if (!db || !db->IsOpen())
            RaiseError(kMsgKeineDb);
        // The whole series is built first: one that cannot be walked writes nothing.
        QVector<CBelegungRec> buchungen;
        ForEachTermin(rule, [&](TovoDate tag) {
            CBelegungRec b = booking;
            b.Rec_ID = 0;
            b.dt_von = tag.value();
            b.dt_bis = tag.value();
            buchungen.append(b);
            return true;
        });
        return NeuenAuftragSchreiben(buchungen, booking, db, nummerErfragen);
    });
}

bool SaveJour(const QVector<SerienTermin>& termine, CBelegungRec& booking, CRvDb* db,
              const NummerErfragen& nummerErfragen) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveJour"), false, [&] {
        if (!db || !db->IsOpen())
            RaiseError(kMsgKeineDb);
        if (termine.isEmpty())
            RaiseError(QStringLiteral("Es ist kein Termin ausgewählt!"));
        QVector<CBelegungRec> buchungen;
        for (const SerienTermin& t : termine) {
            CBelegungRec b = booking;
            b.Rec_ID = 0;
            b.dt_von = t.datum.datePart().value();
            b.dt_bis = b.dt_von;
            b.rb_id = t.raumId;
            buchungen.append(b);
        }
        return NeuenAuftragSchreiben(buchungen, booking, db, nummerErfragen);
    });
}

bool SaveSerieEdit(const CBelegungRec& tmpl, CBelegungRecColl& coll, CRvDb* db) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveSerieEdit"), false, [&] {
        if (!db || !db->IsOpen())
            RaiseError(kMsgKeineDb);
        QVector<CBelegungRec> buchungen;
        for (const CBelegungRec* alt : coll) {
            CBelegungRec b = *alt;
            b.CopyFrom(tmpl);
            b.dt_von = alt->dt_von;
            b.dt_bis = alt->dt_bis;
            b.Rec_ID = alt->Rec_ID;
            b.lAuftrNr = alt->lAuftrNr;
            if (b.rb_id == 0)
                b.rb_id = alt->rb_id;
            if (b.rb_id == 0) {
                MsgBox(QStringLiteral("Wählen Sie einen Raum aus!"), PromptButtons::Ok,
                       PromptIcon::Information, QStringLiteral("Speichern"));
                return false;
            }
            buchungen.append(b);
        }
        const QString verbindung = db->ConnectionName();
        if (!SP::Ausfuehren(
                [&](std::optional<int32_t>) {
                    return SP::Aendern(verbindung, buchungen, gdToleranz);
                },
                {}))
            return false;
        for (int32_t pos = 1; pos <= coll.Count(); ++pos)
            coll.Item(pos)->CopyFrom(buchungen[pos - 1]);
        return true;
    });
}

} // namespace R_Main

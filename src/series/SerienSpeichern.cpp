#include "SerienSpeichern.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "SerienBerechnung.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace R_Main {

namespace {
const QString kMsgKeineDb = QStringLiteral("Die Datenbank ist nicht geöffnet!");
const QString kMsgZaehler =
    QStringLiteral("Die nächste Auftragsnummer konnte nicht gespeichert werden!");
} // namespace

bool SaveJour(const CSerienFkt& rule, CBelegungRec& booking, CRvDb* db,
              const AuftragNrQuelle& auftragNr) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveJour"), false, [&] {
        if (!db)
            RaiseError(kMsgKeineDb);
        // Walked once without writing, so that a series that cannot be walked writes nothing.
        AnzahlTermine(rule);
        const int32_t nr = auftragNr.GetNextAuftragNr();

        // One transaction: a failure in the middle leaves no half series behind.
        QSqlDatabase con = QSqlDatabase::database(db->ConnectionName(), false);
        const bool inTransaction = con.isOpen() && con.transaction();
        try {
            ForEachTermin(rule, [&](TovoDate c) {
                booking.dt_von = c.value();
                booking.dt_bis = c.value();
                booking.lAuftrNr = nr;
                if (!db->AddNewfm_belegungRec(&booking))
                    RaiseError(db->LastError());
                return true;
            });
            if (inTransaction && !con.commit())
                RaiseError(con.lastError().text());
        } catch (...) {
            if (inTransaction)
                con.rollback();
            throw;
        }
        if (!auftragNr.SetNextAuftragNr(nr + 1))
            RaiseError(kMsgZaehler);
        return true;
    });
}

bool SaveSerieEdit(const CBelegungRec& tmpl, CBelegungRecColl& coll, CRvDb* db) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveSerieEdit"), false, [&] {
        if (!db)
            RaiseError(kMsgKeineDb);
        for (int32_t pos = 1; pos <= coll.Count(); ++pos) {
            CBelegungRec& b = *coll.Item(pos);
            const double dtVon = b.dt_von;
            const double dtBis = b.dt_bis;
            const int32_t recId = b.Rec_ID;
            const int32_t raum = b.rb_id;
            const int32_t auftrNr = b.lAuftrNr;
            b.CopyFrom(tmpl);
            b.dt_von = dtVon;
            b.dt_bis = dtBis;
            b.Rec_ID = recId;
            b.lAuftrNr = auftrNr;
            if (b.rb_id == 0)
                b.rb_id = raum;
            if (b.rb_id == 0) {
                MsgBox(QStringLiteral("Wählen Sie einen Raum aus!"), PromptButtons::Ok,
                       PromptIcon::Information, QStringLiteral("Speichern"));
                return false;
            }
            if (!db->Editfm_belegungRec(&b))
                RaiseError(db->LastError());
        }
        return true;
    });
}

} // namespace R_Main

#include "SerienSpeichern.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "SerienBerechnung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

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

bool SaveJour(const QVector<SerienTermin>& termine, CBelegungRec& booking, CRvDb* db,
              const AuftragNrQuelle& auftragNr,
              const std::function<QString(const QVector<SerienTermin>&)>& pruefung) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SaveJour"), false, [&] {
        if (!db)
            RaiseError(kMsgKeineDb);
        if (termine.isEmpty())
            RaiseError(QStringLiteral("Es ist kein Termin ausgewählt!"));
        QSqlDatabase con = QSqlDatabase::database(db->ConnectionName(), false);
        if (!con.isOpen())
            RaiseError(kMsgKeineDb);
        // IMMEDIATE: no other writer can come between the check and the write.
        QSqlQuery q(con);
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            RaiseError(QStringLiteral("Die Datenbank wird gerade von einem anderen Benutzer "
                                      "beschrieben. Bitte versuchen Sie es gleich noch einmal.") +
                       QStringLiteral("\n") + q.lastError().text());
        int32_t nr = 0;
        try {
            if (pruefung) {
                const QString grund = pruefung(termine);
                if (!grund.isEmpty())
                    RaiseError(grund);
            }
            nr = auftragNr.GetNextAuftragNr();
            if (nr < 0)
                RaiseError(QStringLiteral("Es wurde keine Auftragsnummer vergeben."));
            for (const SerienTermin& t : termine) {
                booking.Rec_ID = 0;
                booking.dt_von = t.datum.datePart().value();
                booking.dt_bis = booking.dt_von;
                booking.rb_id = t.raumId;
                booking.lAuftrNr = nr;
                if (!db->AddNewfm_belegungRec(&booking))
                    RaiseError(db->LastError());
            }
            if (!q.exec(QStringLiteral("COMMIT")))
                RaiseError(q.lastError().text());
        } catch (...) {
            q.exec(QStringLiteral("ROLLBACK"));
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

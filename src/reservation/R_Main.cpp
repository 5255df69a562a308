#include "R_Main.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "frmNextNr.h"

#include <QApplication>
#include <QLineEdit>
#include <QSet>
#include <cmath>
#include <limits>

namespace R_Main {

namespace RQ = ReservationQueries;

namespace {

const QString kNichtOffen = QStringLiteral("Die Datenbank ist nicht geöffnet.");

// Day number of a date value.
int64_t Tag(double datum) {
    return static_cast<int64_t>(std::trunc(datum));
}

// Whole seconds since midnight of a time value; a date part it may carry does not count.
// Comparing whole seconds keeps 09:45 + 15 minutes equal to 10:00 despite rounding.
int64_t Sekunden(double zeit) {
    return std::llround(std::fabs(zeit - std::trunc(zeit)) * 86400.0);
}

Zeitspanne Spanne(double startDatum, double startZeit, double endDatum, double endZeit) {
    return {TovoDate(startDatum).datePart().value(), TovoDate(startZeit).timePart().value(),
            TovoDate(endDatum).datePart().value(), TovoDate(endZeit).timePart().value()};
}

bool KeinDatum(const std::optional<double>& datum) {
    return !datum || IsNoDate(*datum);
}

bool KeineZeit(const std::optional<double>& zeit) {
    return !zeit || Sekunden(*zeit) == 0;
}

CRvDb& Datenbank() {
    if (!gRvDb)
        RaiseError(kNichtOffen);
    return *gRvDb;
}

// Does the stored row leave the room free for the request of the free-room search?
bool ZeileFrei(const FreiAnfrage& anfrage, const RQ::BelegungsZeile& zeile,
               const QSet<int32_t>& auftragIds) {
    const Zeitspanne belegt = SpanneInSuche(zeile);
    if (anfrage.auftrag) {
        // The bookings of the order on the form are compared each with its own span. Their own
        // rows are left out: the order is checked as a whole, never against itself.
        if (auftragIds.contains(zeile.Rec_ID))
            return true;
        for (const CBelegungRec* b : *anfrage.auftrag) {
            if (!KeinKonflikt(Spanne(b->dt_von, b->tm_von, b->dt_bis, b->tm_bis), belegt,
                              gdToleranz))
                return false;
        }
        return true;
    }
    if (anfrage.serienTermine) {
        // Every occurrence by the same rule, so that an occurrence on the first or last day of
        // a booking over several days is free when the times allow it, as the room test finds.
        for (const double termin : *anfrage.serienTermine) {
            if (!KeinKonflikt(Spanne(termin, anfrage.serienZeitVon, termin, anfrage.serienZeitBis),
                              belegt, gdToleranz))
                return false;
        }
        return true;
    }
    return KeinKonflikt(anfrage.spanne, belegt, gdToleranz);
}

int32_t NextNrDialogZeigen(int32_t vorschlag) {
    frmNextNr dlg(QApplication::activeWindow());
    if (vorschlag >= 0)
        dlg.edOrderNr->setText(QString::number(vorschlag));
    dlg.exec();
    return dlg.lOrderNr;
}

} // namespace

std::function<int32_t(int32_t)> gNextNrDialog = NextNrDialogZeigen;

// --- Conflict rule -----------------------------------------------------------------------------

bool KeinKonflikt(const Zeitspanne& neu, const Zeitspanne& belegt, double toleranz) {
    const int64_t sd = Tag(neu.startDatum);
    const int64_t ed = Tag(neu.endDatum);
    const int64_t rsd = Tag(belegt.startDatum);
    const int64_t red = Tag(belegt.endDatum);
    if (ed < rsd || sd > red)
        return true;

    // The spans meet on a day: the times of day decide, with the tolerance as the least gap.
    const int64_t tol = std::llround(toleranz * 86400.0);
    const bool belegtEndetVorher = Sekunden(belegt.endZeit) + tol <= Sekunden(neu.startZeit);
    const bool neuEndetVorher = Sekunden(neu.endZeit) + tol <= Sekunden(belegt.startZeit);
    if (ed == rsd && red == sd) // both on one and the same day
        return belegtEndetVorher || neuEndetVorher;
    if (red == sd)
        return belegtEndetVorher;
    if (ed == rsd)
        return neuEndetVorher;
    return false; // the spans share a whole day
}

Zeitspanne BelegteSpanne(const CBelegungRec& rec) {
    Zeitspanne s;
    if (!IsNoDate(rec.Udt_von))
        s = Spanne(rec.Udt_von, rec.Utm_von, 0, 0);
    else
        s = Spanne(rec.dt_von, rec.tm_von, 0, 0);
    const Zeitspanne ende = !IsNoDate(rec.Rdt_bis) ? Spanne(0, 0, rec.Rdt_bis, rec.Rtm_bis)
                                                   : Spanne(0, 0, rec.dt_bis, rec.tm_bis);
    s.endDatum = ende.endDatum;
    s.endZeit = ende.endZeit;
    return s;
}

// A null set-up date (or clear-down date) is taken as "no set-up" (no clear-down), the same as
// 31.12.9999: the booking's own start (end) counts. Read as a start on 31.12.9999 it would hide
// the booking from every test. This system never writes such rows, other tools might.
Zeitspanne SpanneImRaumtest(const RQ::BelegungsZeile& z) {
    Zeitspanne s = KeinDatum(z.Udt_von) ? Spanne(z.dt_von, z.tm_von, 0, 0)
                                        : Spanne(*z.Udt_von, z.Utm_von.value_or(0.0), 0, 0);
    const Zeitspanne ende = KeinDatum(z.Rdt_bis)
                                ? Spanne(0, 0, z.dt_bis, z.tm_bis)
                                : Spanne(0, 0, *z.Rdt_bis, z.Rtm_bis.value_or(0.0));
    s.endDatum = ende.endDatum;
    s.endZeit = ende.endZeit;
    return s;
}

// A time is "none" when null or 00:00 as a time of day (a time field holding 31.12.9999 counts
// as 00:00 too).
Zeitspanne SpanneInSuche(const RQ::BelegungsZeile& z) {
    return Spanne(
        KeinDatum(z.Udt_von) ? z.dt_von : *z.Udt_von, KeineZeit(z.Utm_von) ? z.tm_von : *z.Utm_von,
        KeinDatum(z.Rdt_bis) ? z.dt_bis : *z.Rdt_bis, KeineZeit(z.Rtm_bis) ? z.tm_bis : *z.Rtm_bis);
}

// --- Room tests --------------------------------------------------------------------------------

bool IsFreeRoom(int32_t lRaumId, const CBelegungRec& rec) {
    return RunGuarded<bool>(QStringLiteral("R_Main.IsFreeRoom"), false, [&] {
        const Zeitspanne neu = BelegteSpanne(rec);
        bool frei = true;
        QString error;
        // The booking's own row is left out by its key: it never conflicts with itself.
        if (!RQ::ForEachBelegungImRaum(
                gDb, lRaumId, rec.Rec_ID,
                [&](const RQ::BelegungsZeile& z) {
                    frei = KeinKonflikt(neu, SpanneImRaumtest(z), gdToleranz);
                    return frei;
                },
                &error))
            RaiseError(error);
        return frei;
    });
}

bool Free(const FreiAnfrage& anfrage, int32_t lRecId, int32_t lRaumartId, QVector<FreierRaum>& frei,
          bool& bNichtAlle) {
    bNichtAlle = false;
    frei.clear();
    return RunGuarded<bool>(QStringLiteral("R_Main.Free"), false, [&] {
        QSet<int32_t> auftragIds;
        if (anfrage.auftrag)
            for (const CBelegungRec* b : *anfrage.auftrag)
                auftragIds.insert(b->Rec_ID);

        QVector<RQ::RaumName> raeume;
        QString error;
        if (!RQ::ReadRaeume(gDb, lRaumartId, raeume, &error))
            RaiseError(error);
        for (const RQ::RaumName& raum : raeume) {
            bool raumFrei = true;
            if (!RQ::ForEachBelegungImRaum(
                    gDb, raum.az_ID, lRecId,
                    [&](const RQ::BelegungsZeile& z) {
                        raumFrei = ZeileFrei(anfrage, z, auftragIds);
                        return raumFrei;
                    },
                    &error))
                RaiseError(error);
            if (raumFrei)
                frei.append({raum.az_ID, raum.Kurzbez});
            else
                bNichtAlle = true;
        }
        return true;
    });
}

// --- Order numbers -----------------------------------------------------------------------------

bool ExistsAuftragNr(int32_t nummer) {
    if (!gRvDb)
        return false;
    CBelegungRec rec;
    rec.lAuftrNr = nummer;
    gRvDb->ReadBelRecByAuftragNr(&rec);
    return rec.Rec_ID > 0;
}

int32_t GetNextAuftragNr() {
    int32_t nummer = -1;
    RunGuarded(QStringLiteral("R_Main.GetNextAuftragNr"), [&] {
        bool vorhanden = false;
        int32_t zaehler = 0;
        QString error;
        if (!RQ::ReadNextNr(gDb, vorhanden, zaehler, &error))
            RaiseError(error);
        if (vorhanden)
            nummer = zaehler;
        while (ExistsAuftragNr(nummer)) {
            MsgBox(QStringLiteral("Es existiert bereits ein Auftrag mit der Auftragsnummer ") +
                       QString::number(nummer) +
                       QStringLiteral(". Bitte ändern Sie die Auftragsnummer!"),
                   PromptButtons::Ok, PromptIcon::Critical, QStringLiteral("Problem"));
            nummer = gNextNrDialog(nummer);
        }
    });
    return nummer;
}

bool SetNextAuftragNr(int32_t nummer) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SetNextAuftragNr"), false, [&] {
        QString error;
        if (!RQ::WriteNextNr(gDb, nummer, &error))
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

bool SpeichereBelegung(CBelegungRec& rec) {
    return RunGuarded<bool>(QStringLiteral("R_Main.SpeichereBelegung"), false, [&] {
        CRvDb& db = Datenbank();
        if (rec.Rec_ID != 0) {
            if (db.Editfm_belegungRec(&rec))
                return true;
            MsgBox(db.LastError(), PromptButtons::Ok, PromptIcon::Critical);
            return false;
        }
        const int32_t alteNr = rec.lAuftrNr;
        const int32_t nummer = GetNextAuftragNr();
        rec.lAuftrNr = nummer;
        if (!db.AddNewfm_belegungRec(&rec)) {
            rec.lAuftrNr = alteNr;
            MsgBox(db.LastError(), PromptButtons::Ok, PromptIcon::Critical);
            return false;
        }
        // The booking is stored; a counter that cannot be written is reported on its own.
        if (nummer < std::numeric_limits<int32_t>::max())
            SetNextAuftragNr(nummer + 1);
        return true;
    });
}

bool LoescheBelegung(int32_t recId) {
    return RunGuarded<bool>(QStringLiteral("R_Main.LoescheBelegung"), false, [&] {
        QString error;
        if (!RQ::DeleteBelegung(gDb, recId, &error))
            RaiseError(error);
        return true;
    });
}

bool LoescheAuftrag(int32_t lAuftrNr) {
    return RunGuarded<bool>(QStringLiteral("R_Main.LoescheAuftrag"), false, [&] {
        QString error;
        if (!RQ::DeleteAuftrag(gDb, lAuftrNr, &error))
            RaiseError(error);
        return true;
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

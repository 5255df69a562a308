// Taking a portal request over: a new request into the reservation form, a change request into
// the booking it names.
#include "frmNetzpult.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "NetzpultTexte.h"
#include "Prompt.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "frmAntrag.h"
#include "frmTextAnzeige.h"

#include <QFile>

namespace {

using namespace NetzpultTexte;

const QString kAendernDatei = QStringLiteral("Reservierungsaenderung.txt");

// The time of a request normalised, asking when it is missing or invalid; false when the user
// cancels.
bool AntragsZeitLesen(const QString& text, bool anfang, AntragsZeit& zeit) {
    zeit = NormalisiereZeit(text);
    const QString art = anfang ? QStringLiteral("Anfangszeit") : QStringLiteral("Endzeit");
    const QString folge = QStringLiteral(" Es wird 8:00 Uhr eingetragen oder Sie brechen ab. Bitte "
                                         "erfragen Sie die richtige Zeit.");
    QString frage;
    if (zeit.status == ZeitStatus::Leer)
        frage =
            QStringLiteral("Achtung! Der Antrag enthält keine ") + art + QLatin1Char('.') + folge;
    else if (zeit.status == ZeitStatus::Ungueltig)
        frage = QStringLiteral("Achtung! Die ") + art + QStringLiteral(" '") + text.trimmed() +
                QStringLiteral("' ist ungültig.") + folge;
    if (frage.isEmpty())
        return true;
    return MsgBox(frage, PromptButtons::OkCancel) == PromptResult::Ok;
}

} // namespace

void frmNetzpult::NeuenAntragUebernehmen(const NetzpultAntrag& antrag) {
    AntragsTermin termin;
    if (!AntragsZeitLesen(antrag.zeitVon, true, termin.beginn) ||
        !AntragsZeitLesen(antrag.zeitBis, false, termin.ende))
        return;
    QStringList hinweise;
    auto rec = std::make_shared<CBelegungRec>();
    AntragInBelegung(antrag, *rec, hinweise, &termin);

    frmAntrag form(this);
    form.f_StammDb = f_StammDb;
    form.f_stClient = f_stClient;
    form.OeffneNetzpultAntrag(rec, antrag.lRaumId, antrag.wunschraum, hinweise);
    ZeigeModal(form);

    LoeschenNachFrage(antrag, QStringLiteral("Soll der markierte Antrag gelöscht werden ?"));
}

void frmNetzpult::AenderungUebernehmen(const NetzpultAntrag& antrag) {
    if (!gRvDb)
        RaiseError(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    CBelegungRec alt;
    alt.Rec_ID = antrag.lBelegId;
    if (antrag.lBelegId == 0 || !gRvDb->Readfm_belegungRec(&alt) || alt.Rec_ID != antrag.lBelegId) {
        MsgBox(QStringLiteral("Die Belegung, zu der die Änderung angelegt wurde, ist nicht mehr "
                              "vorhanden!"));
        return;
    }
    // Another room only where it is free at the booking's time: said before anything is asked.
    const bool anderesZimmer = antrag.lRaumId != 0 && antrag.lRaumId != alt.rb_id;
    if (anderesZimmer && !R_Main::IsFreeRoom(antrag.lRaumId, alt)) {
        MsgBox(QStringLiteral("Der im Antrag angegebene Raum '") + antrag.wunschraum +
               QStringLiteral("' ist belegt.") + QLatin1Char('\n') +
               QStringLiteral("Die Änderung wurde nicht übernommen."));
        return;
    }
    CAnzeigeRec raum;
    raum.az_ID = alt.rb_id;
    const QString raumName = gRvDb->Readrb_AnzeigeRec(&raum) ? raum.Kurzbez : QString();

    // The report, written anew.
    const QString pfad = gstProjektDir + kAendernDatei;
    const QString text =
        AenderungsBericht(alt, raumName, antrag).join(QLatin1Char('\n')) + QLatin1Char('\n');
    QFile::remove(pfad);
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Text) || datei.write(text.toUtf8()) < 0)
        RaiseError(QStringLiteral("Die Datei '%1' konnte nicht geschrieben werden.").arg(pfad));
    datei.close();

    MsgBox(QStringLiteral("Die Datenänderungen können Sie in der jetzt sich öffnenden "
                          "'Reservierungsaenderung.txt' sehen und ausdrucken.") +
           QLatin1Char('\n') +
           QStringLiteral("Anschließend können Sie entscheiden, ob die Änderungen übernommen "
                          "werden."));
    {
        frmTextAnzeige anzeige(kAendernDatei, text, this);
        ZeigeModal(anzeige);
    }

    if (MsgBox(QStringLiteral("Sollen die Daten übernommen werden?"), PromptButtons::YesNo) ==
            PromptResult::Yes &&
        MsgBox(QStringLiteral("Wirklich übernehmen?"), PromptButtons::YesNo) == PromptResult::Yes) {
        auto rec = std::make_shared<CBelegungRec>();
        rec->Rec_ID = antrag.lBelegId;
        if (!gRvDb->Readfm_belegungRec(rec.get()))
            RaiseError(gRvDb->LastError());
        QStringList hinweise;
        AntragInBelegung(antrag, *rec, hinweise);
        if (anderesZimmer)
            rec->rb_id = antrag.lRaumId; // the write path checks the room once more
        if (!R_Main::SpeichereBelegung(*rec))
            return;
        gbUpdatePending = true;

        if (!hinweise.isEmpty())
            MsgBox(hinweise.join(QLatin1Char('\n')), PromptButtons::Ok, PromptIcon::Information);
        MsgBox(QStringLiteral("Die Daten wurden gespeichert und werden jetzt zur Versendung der "
                              "Email nochmals angezeigt."));
        frmAntrag form(this);
        form.f_StammDb = f_StammDb;
        form.f_stClient = f_stClient;
        form.OeffneBelegung(rec);
        ZeigeModal(form);
    }

    LoeschenNachFrage(antrag, QStringLiteral("Soll der markier'te Antrag gelöscht werden ?"));
}

// The master-data windows and archiving, opened from the editing menu.
#include "TovoRaumverwCtrl.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "GebDb.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "RaumNrFormat.h"
#include "RecColl.h"
#include "ReservationQueries.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "TovoRecht.h"
#include "TovoTools.h"
#include "frmDatSelect.h"
#include "frmGebStruktur.h"
#include "frmMitarbeiter.h"
#include "frmRaum.h"
#include "frmRaumArt.h"
#include "frmStammdaten.h"

namespace {
const QString kIni = QStringLiteral("TovoRaumVerw.ini");

// Archiving changes bookings: only for users who may write.
bool DarfArchivieren() {
    return goRecht && goRecht->Zugriff() == QLatin1String("S") && gRvDb;
}

const QString kCrLf = QStringLiteral("\r\n");

// Archiving up to a day after today hides bookings that still lie ahead: the user says so first.
bool ZukunftBestaetigt(double datum) {
    const TovoDate heute = TovoDate::today();
    const TovoDate tag = TovoDate(datum).datePart();
    if (tag.value() <= heute.value())
        return true;
    int anzahl = 0;
    QString error;
    if (!ReservationQueries::ZaehleEndendeBelegungen(gRvDb->ConnectionName(), heute.value(),
                                                     tag.value(), anzahl, &error))
        RaiseError(error);
    const QString welche =
        anzahl == 1 ? QStringLiteral("eine Reservierung archiviert, die heute oder später endet")
                    : QStringLiteral("%1 Reservierungen archiviert, die heute oder später enden")
                          .arg(anzahl);
    return MsgBox(QStringLiteral("Das Datum %1 liegt in der Zukunft. Damit würde auch ")
                          .arg(tag.toShortDateText()) +
                      welche + QLatin1Char('.') + kCrLf + kCrLf +
                      QStringLiteral("Trotzdem bis zu diesem Datum archivieren?"),
                  PromptButtons::YesNo, PromptIcon::Question,
                  QStringLiteral("Archivieren")) == PromptResult::Yes;
}

// The bookings that stay archived because their slots are taken, as the user reads them.
QString GebliebenMeldung(const QVector<SchreibPfad::ImArchiv>& geblieben) {
    constexpr int kZeilen = 20;
    QString text = QStringLiteral("Folgende Reservierungen bleiben archiviert, weil ihr Raum in "
                                  "dieser Zeit inzwischen belegt ist:") +
                   kCrLf;
    for (int i = 0; i < geblieben.size() && i < kZeilen; ++i)
        text += kCrLf + QStringLiteral("Raum '") + geblieben[i].raumName + QStringLiteral("' ") +
                SchreibPfad::Wann(geblieben[i].rec) + QStringLiteral(", Besteller: ") +
                geblieben[i].rec.Best;
    if (geblieben.size() > kZeilen)
        text += kCrLf + QStringLiteral("… und %1 weitere.").arg(geblieben.size() - kZeilen);
    return text;
}

// Runs an archive step as the write path runs its steps (a busy database offers a retry, an
// error is shown) and lists the bookings that stayed archived. True when it was stored.
bool ArchivSchritt(const std::function<SchreibPfad::ArchivErgebnis()>& schritt) {
    SchreibPfad::ArchivErgebnis letztes;
    const bool ok = SchreibPfad::Ausfuehren(
        [&](std::optional<int32_t>) -> SchreibPfad::Ergebnis {
            letztes = schritt();
            return letztes;
        },
        {});
    if (ok && !letztes.geblieben.isEmpty())
        MsgBox(GebliebenMeldung(letztes.geblieben), PromptButtons::Ok, PromptIcon::Exclamation,
               QStringLiteral("Archivierung"));
    return ok;
}
} // namespace

bool TovoRaumverwCtrl::RaeumeVorhanden() {
    CAnzeigeRecColl raeume;
    if (!gRvDb || !gRvDb->ReadAllrb_AnzeigeRec2Coll(&raeume) || raeume.Count() > 0)
        return true; // a failed read is reported where the rooms are needed
    MsgBox(QStringLiteral("Es sind noch keine Räume angelegt.\nBitte legen Sie zuerst unter "
                          "\"Bearbeiten\" → \"Raumarten\" eine Raumart und unter "
                          "\"Bearbeiten\" → \"Raumdaten\" die Räume an."),
           PromptButtons::Ok, PromptIcon::Information);
    return false;
}

void TovoRaumverwCtrl::Raumarten() {
    bool geaendert = false;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmRaumArt form(this);
        ZeigeModal(form);
        geaendert = form.f_bChange;
    });
    if (geaendert)
        Data2Ctrl();
}

void TovoRaumverwCtrl::Raumdaten() {
    bool geaendert = false;
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmRaum form(this);
        form.f_GebStru = moRaumNrFormat ? moRaumNrFormat->GebStru(2) : nullptr;
        form.f_stRaumNrFormat = mstRaumNrFormat;
        ZeigeModal(form);
        geaendert = form.f_bChange;
    });
    if (geaendert)
        coRaumart_Click();
}

void TovoRaumverwCtrl::Mitarbeiter() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmMitarbeiter form(this);
        form.f_StammDb = moStammdatenDb.get();
        ZeigeModal(form);
    });
}

void TovoRaumverwCtrl::Gebaeudestruktur() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmGebStruktur form(moGebDb.get(), this);
        ZeigeModal(form);
    });
}

void TovoRaumverwCtrl::FirmenUndPersonen() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.mnuBearbeiten_Click"), [&] {
        frmStammdaten form(moStammdatenDb.get(), this);
        ZeigeModal(form);
    });
}

void TovoRaumverwCtrl::Archivieren() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.Archivieren"), [&] {
        if (!DarfArchivieren())
            return;
        frmDatSelect dlg(this);
        dlg.setWindowTitle(QStringLiteral("Archivieren bis"));
        dlg.SetHinweis(QStringLiteral("Reservierungen, die vor diesem Datum enden, werden "
                                      "archiviert und nicht mehr angezeigt."));
        ZeigeModal(dlg);
        const double datum = dlg.f_datSelect;
        if (TovoDate(datum).isNoDate())
            return;
        if (!ZukunftBestaetigt(datum))
            return;
        if (ArchivSchritt([&] { return gRvDb->ArchiviereBelegungen(datum, gdToleranz); }))
            AktualisiereArchivDatum(datum, 0);
    });
}

void TovoRaumverwCtrl::Wiederherstellen() {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.Wiederherstellen"), [&] {
        if (!DarfArchivieren())
            return;
        frmDatSelect dlg(this);
        dlg.setWindowTitle(QStringLiteral("Wiederherstellen ab"));
        dlg.SetHinweis(QStringLiteral("Archivierte Reservierungen, die nach diesem Datum "
                                      "beginnen, werden wieder angezeigt."));
        ZeigeModal(dlg);
        const double datum = dlg.f_datSelect;
        if (TovoDate(datum).isNoDate())
            return;
        if (ArchivSchritt([&] { return gRvDb->DeArchiviereBelegungen(datum, gdToleranz); }))
            AktualisiereArchivDatum(datum, 1);
    });
}

void TovoRaumverwCtrl::AktualisiereArchivDatum(double datArchiv, int /*iModus*/) {
    RunGuarded(QStringLiteral("TovoRaumverwCtrl.AktualisiereArchivDatum"), [&] {
        auto& tools = CTovoTools::Instance();
        const QString datei = gstProjektDir + kIni;
        TovoDate bisher;
        const bool hatDatum = TovoDate::parse(
            tools.ReadIniValue(datei, QStringLiteral("Archiv"), QStringLiteral("Datum"), QString()),
            bisher);
        const TovoDate neu(hatDatum ? datArchiv - 1 : datArchiv);
        if (!tools.WriteIniValue(datei, QStringLiteral("Archiv"), QStringLiteral("Datum"),
                                 neu.toShortDateText()))
            RaiseError(QStringLiteral("Das Archivierungsdatum konnte nicht in '%1' gespeichert "
                                      "werden.")
                           .arg(datei));
        ReadArchivzeit();
    });
}

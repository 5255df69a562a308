// The documents of the frame "Ausgaben": the form's booking, with the values the form shows
// now, into the print table, and the report into a print preview.
#include "frmAntrag.h"

#include "Bericht.h"
#include "DruckTabelle.h"
#include "ErrorGuard.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "StammdatenDb.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

void frmAntrag::cmdDruck_Click(int index) {
    static const char* const kBerichte[6] = {"", "Repeb", "Repra", "Rephs", "Repum", "RepRechnung"};
    if (index < 1 || index > 5)
        return;
    RunGuarded(QStringLiteral("frmAntrag.cmdDruck_Click"), [&] {
        DruckTabelle::BelegDruck d;
        d.beleg = *FormBeleg(); // for an order its first booking
        Write2Rec(d.beleg);
        if (coFreeRooms->currentIndex() >= 0)
            d.kurzbez = coFreeRooms->currentText();
        else if (!RaumTag().isEmpty() && RaumTag() != QLatin1String("0"))
            d.kurzbez = lbUsedRoom->text();
        Firma firma;
        if (f_StammDb && d.beleg.lFirma1 > 0 && f_StammDb->ReadFirma(d.beleg.lFirma1, firma)) {
            d.strasse = firma.stStrasse;
            d.plzOrt = QString(firma.stPlz + QLatin1Char(' ') + firma.stOrt).trimmed();
        }

        QString fehler;
        const DruckTabelle::BelegErgebnis ergebnis = DruckTabelle::Beleg(gDb, d, &fehler);
        if (ergebnis == DruckTabelle::BelegErgebnis::Datenbankfehler) {
            MsgBox(fehler, PromptButtons::Ok, PromptIcon::Exclamation, QStringLiteral("Problem"));
            return;
        }
        if (ergebnis != DruckTabelle::BelegErgebnis::Ok) {
            MsgBox(DruckTabelle::BelegMeldung(ergebnis));
            return;
        }
        Bericht bericht;
        if (!bericht.Erstellen(gDb, *FindeBericht(QLatin1String(kBerichte[index])), &fehler)) {
            MsgBox(fehler, PromptButtons::Ok, PromptIcon::Critical);
            return;
        }
        bericht.Vorschau(this);
    });
}

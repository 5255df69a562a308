#include "UpdateNetzpult.h"

#include "ErrorGuard.h"
#include "NetzpultPublish.h"
#include "RvGlobals.h"
#include "ToolsNetzpult.h"

#include <QApplication>
#include <QProgressDialog>

namespace Netzpult {

namespace {
const QString kProzedur = QStringLiteral("TovoRaumverwCtrl.UpdateSQLNetzpult");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

bool UpdateSQLNetzpult(QWidget* parent) {
    // The progress window lets events through; a second copy must not start meanwhile.
    static bool laeuft = false;
    if (laeuft)
        return false;
    laeuft = true;
    bool ok = false;
    RunGuarded(kProzedur, [&] {
        WaitCursor warten;
        CNetzpultVerbindung verbindung;
        verbindung.OeffnenOderFehler();

        NetzpultPublish::Daten daten;
        QString error;
        if (!NetzpultPublish::LeseDaten(gDbOrt, daten, &error))
            RaiseError(error);

        QProgressDialog fortschritt(QStringLiteral("Das Netzpult wird aktualisiert …"), QString(),
                                    0, 1000, parent);
        fortschritt.setWindowTitle(QStringLiteral("Netzpult"));
        fortschritt.setWindowModality(Qt::WindowModal);
        fortschritt.setMinimumDuration(1000);
        fortschritt.setAutoClose(false);
        fortschritt.setValue(0);
        auto melde = [&](qint64 erledigt, qint64 gesamt) {
            if (gesamt > 0)
                fortschritt.setValue(static_cast<int>(erledigt * 1000 / gesamt));
        };
        if (!NetzpultPublish::Veroeffentliche(verbindung.db(), daten, melde, &error))
            RaiseError(error);
        ok = true;
    });
    laeuft = false;
    return ok;
}

bool UpdateNetzpult(QWidget* parent) {
    if (!ToolsNetzpult::PruefeNetzpultType())
        return false;
    return UpdateSQLNetzpult(parent);
}

} // namespace Netzpult

#include "UpdateNetzpult.h"

#include "ErrorGuard.h"
#include "NetzpultPublish.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "ToolsNetzpult.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

namespace Netzpult {

namespace {
const QString kProzedur = QStringLiteral("TovoRaumverwCtrl.UpdateSQLNetzpult");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// Runs the publication in a worker thread while this thread keeps handling events. A blocking
// read on a silent server cannot be cut into pieces, so only a thread of its own keeps the
// window alive; the timeout ends the wait. "Abbrechen" asks the worker to stop after the block
// it is writing.
NetzpultPublish::Ergebnis ImHintergrund(QWidget* parent, const NetzpultPublish::Auftrag& auftrag) {
    std::atomic<bool> abbrechen{false};
    std::atomic<qint64> erledigt{0}, gesamt{0};
    NetzpultPublish::Ergebnis ergebnis;
    std::unique_ptr<QThread> arbeiter(QThread::create([&] {
        ergebnis = NetzpultPublish::Veroeffentliche(auftrag, [&](qint64 e, qint64 g) {
            erledigt = e;
            gesamt = g;
            return !abbrechen;
        });
    }));

    QProgressDialog fortschritt(QStringLiteral("Das Netzpult wird aktualisiert …"),
                                QStringLiteral("Abbrechen"), 0, 0, parent);
    fortschritt.setWindowTitle(QStringLiteral("Netzpult"));
    fortschritt.setMinimumWidth(420);
    fortschritt.setWindowModality(Qt::WindowModal);
    fortschritt.setMinimumDuration(800);
    fortschritt.setAutoClose(false);
    fortschritt.setAutoReset(false);
    // The dialog stays up until the worker has stopped: nothing else may start meanwhile.
    QObject::disconnect(&fortschritt, &QProgressDialog::canceled, &fortschritt,
                        &QProgressDialog::cancel);
    QObject::connect(&fortschritt, &QProgressDialog::canceled, &fortschritt, [&] {
        abbrechen = true;
        fortschritt.setLabelText(QStringLiteral("Die Aktualisierung wird abgebrochen …"));
        if (auto* knopf = fortschritt.findChild<QPushButton*>())
            knopf->setEnabled(false);
    });
    fortschritt.setValue(0);

    QTimer takt;
    takt.setInterval(100);
    // A moving bar until the publication knows how many rows it carries over.
    QObject::connect(&takt, &QTimer::timeout, &fortschritt, [&] {
        if (gesamt > 0 && fortschritt.maximum() == 0)
            fortschritt.setRange(0, 1000);
        if (gesamt > 0)
            fortschritt.setValue(static_cast<int>(std::min<qint64>(erledigt * 1000 / gesamt, 999)));
    });
    takt.start();
    arbeiter->start();
    // Until the progress window shows, clicks and keys wait: nothing else may start meanwhile.
    QEventLoop warten;
    QObject::connect(arbeiter.get(), &QThread::finished, &warten, [] {});
    while (!arbeiter->isFinished())
        warten.processEvents(
            QEventLoop::WaitForMoreEvents |
            (fortschritt.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents));
    arbeiter->wait();
    return ergebnis;
}
} // namespace

bool UpdateSQLNetzpult(QWidget* parent, Umfang umfang) {
    // The progress window lets events through; a second copy must not start meanwhile.
    static bool laeuft = false;
    if (laeuft)
        return false;
    laeuft = true;
    bool ok = false;
    RunGuarded(kProzedur, [&] {
        WaitCursor warten;
        NetzpultPublish::Auftrag auftrag;
        auftrag.ort = gDbOrt;
        auftrag.connText = ToolsNetzpult::GetWebMDB();
        auftrag.timeoutSek = ToolsNetzpult::GetTimeout();
        auftrag.vollstaendig = umfang == Umfang::Vollstaendig;
        const NetzpultPublish::Ergebnis ergebnis = ImHintergrund(parent, auftrag);
        switch (ergebnis.status) {
        case NetzpultPublish::Status::Ok:
            ok = true;
            break;
        case NetzpultPublish::Status::Abgebrochen:
        case NetzpultPublish::Status::Belegt:
            MsgBox(ergebnis.meldung, PromptButtons::Ok, PromptIcon::Information);
            break;
        case NetzpultPublish::Status::KeineAntwort:
        case NetzpultPublish::Status::Fehler:
            RaiseError(ergebnis.meldung);
        }
    });
    laeuft = false;
    return ok;
}

bool UpdateNetzpult(QWidget* parent, Umfang umfang) {
    if (!ToolsNetzpult::PruefeNetzpultType())
        return false;
    return UpdateSQLNetzpult(parent, umfang);
}

} // namespace Netzpult

// Working by keyboard in every window: each menu entry and command button has a mnemonic, no
// two controls shown together share one, Ctrl+S saves in every editing form, and every window
// fits a 1366x768 screen.
#include "MainWindow.h"
#include "StammdatenDb.h"
#include "TestUtil.h"
#include "TovoRaumverwCtrl.h"
#include "frmAdressen.h"
#include "frmAntrag.h"
#include "frmDatSelect.h"
#include "frmGebStruSel.h"
#include "frmHistorie.h"
#include "frmKalender.h"
#include "frmKonflikte.h"
#include "frmMitarbeiter.h"
#include "frmNetzpult.h"
#include "frmNextNr.h"
#include "frmPersonWahl.h"
#include "frmRaum.h"
#include "frmRaumArt.h"
#include "frmSerie.h"
#include "frmSerienPruefung.h"
#include "frmStammdaten.h"
#include "frmTextAnzeige.h"
#include "frmVonBis.h"
#include "frmWeek.h"
#include "frmZeitraum.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>

namespace {

using Fabrik = std::function<QWidget*()>;

// Entries shown at once, each with whether it must have a mnemonic (menu entries, command
// buttons and tabs with a letter): one without, or two sharing one, is a fault.
void Pruefe(const QString& wo, const QList<std::pair<QString, bool>>& eintraege,
            QStringList& fehler) {
    QMap<QKeySequence, QStringList> nach;
    for (const auto& [text, pflicht] : eintraege) {
        const QKeySequence taste = QKeySequence::mnemonic(text);
        if (!taste.isEmpty())
            nach[taste] << text;
        else if (pflicht &&
                 std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); }))
            fehler << wo + ": '" + text + "' ohne Tastenkürzel";
    }
    for (auto it = nach.cbegin(); it != nach.cend(); ++it)
        if (it->size() > 1)
            fehler << wo + ": doppelt " + it->join(", ");
}

// The controls of a calendar are the calendar's own.
bool ImKalender(const QObject* o) {
    while ((o = o->parent()))
        if (qobject_cast<const QCalendarWidget*>(o))
            return true;
    return false;
}

// What a shown window offers at once.
QList<std::pair<QString, bool>> Sicht(QWidget* fenster) {
    QList<std::pair<QString, bool>> eintraege;
    for (QWidget* w : fenster->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != fenster || ImKalender(w))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            eintraege.append(
                {b->text(), qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w)});
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            eintraege.append({l->text(), false});
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                eintraege.append({t->tabText(i), true});
        else if (auto* m = qobject_cast<QMenuBar*>(w))
            for (const QAction* a : m->actions())
                eintraege.append({a->text(), true});
    }
    return eintraege;
}

} // namespace

class TestTastatur : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    CStammdatenDb stamm;

    QList<std::pair<QString, Fabrik>> Fenster() {
        return {
            {"Hauptfenster", [] { return new MainWindow; }},
            {"frmAntrag", [] { return new frmAntrag; }},
            {"frmRaum", [] { return new frmRaum; }},
            {"frmRaumArt", [] { return new frmRaumArt; }},
            {"frmMitarbeiter", [] { return new frmMitarbeiter; }},
            {"frmStammdaten", [this] { return new frmStammdaten(&stamm); }},
            {"frmPersonWahl", [this] { return new frmPersonWahl(&stamm); }},
            {"frmGebStruSel", [] { return new frmGebStruSel(nullptr, QString()); }},
            {"frmNetzpult", [] { return new frmNetzpult; }},
            {"frmTextAnzeige", [] { return new frmTextAnzeige("Text", "Text"); }},
            {"frmSerie", [] { return new frmSerie; }},
            {"frmSerienPruefung", [] { return new frmSerienPruefung; }},
            {"frmKonflikte", [] { return new frmKonflikte; }},
            {"frmHistorie", [] { return new frmHistorie; }},
            {"frmAdressen", [] { return new frmAdressen; }},
            {"frmNextNr", [] { return new frmNextNr; }},
            {"frmDatSelect", [] { return new frmDatSelect; }},
            {"frmWeek", [] { return new frmWeek; }},
            {"frmZeitraum", [] { return new frmZeitraum; }},
            {"frmVonBis", [] { return new frmVonBis; }},
            {"frmKalender", [] { return new frmKalender; }},
        };
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(stamm.OpenJet(QString(), QString(), dir.filePath("Stamm.mdb"), nullptr));
        Firma firma; // so that its persons can be edited
        firma.stName = "Stadtwerke";
        QVERIFY(stamm.SaveFirma(firma));
    }

    // Every window, every tab of it and every menu in it.
    void mnemonicsInEveryWindowAndMenu() {
        QStringList fehler;
        for (const auto& [name, neu] : Fenster()) {
            std::unique_ptr<QWidget> fenster(neu());
            fenster->show();
            const QList<QTabWidget*> reiter = fenster->findChildren<QTabWidget*>();
            for (int i = 0; i < (reiter.isEmpty() ? 1 : reiter[0]->count()); ++i) {
                if (!reiter.isEmpty())
                    reiter[0]->setCurrentIndex(i);
                Pruefe(name, Sicht(fenster.get()), fehler);
            }
            for (const QMenu* menu : fenster->findChildren<QMenu*>()) {
                QList<std::pair<QString, bool>> eintraege;
                for (const QAction* a : menu->actions())
                    if (!a->isSeparator() && !ImKalender(menu))
                        eintraege.append({a->text(), true});
                Pruefe(name + QLatin1Char('/') + menu->title(), eintraege, fehler);
            }
            // The window's smallest size fits a 1366x768 screen below a title bar.
            const QSize mindestens = fenster->minimumSizeHint().expandedTo(fenster->minimumSize());
            if (mindestens.width() > 1366 || mindestens.height() > 768 - 60)
                fehler << name + QStringLiteral(" braucht mindestens %1x%2")
                                     .arg(mindestens.width())
                                     .arg(mindestens.height());
        }
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join('\n')));
    }

    // Ctrl+S presses the save command of the form (the one of the part holding the focus).
    void ctrlSSaves_data() {
        QTest::addColumn<QString>("fall"); // window, save command, control holding the focus
        QTest::newRow("reservation") << "frmAntrag pbSave tfVerst";
        QTest::newRow("rooms") << "frmRaum MainToolbar_Save edName";
        QTest::newRow("room types") << "frmRaumArt pbSave edRaumArt";
        QTest::newRow("employees") << "frmMitarbeiter pbSave -";
        QTest::newRow("companies") << "frmStammdaten pbFirmaSpeichern edFirmaName";
        QTest::newRow("persons") << "frmStammdaten pbPersonSpeichern edPersonName";
    }
    void ctrlSSaves() {
        QFETCH(QString, fall);
        const QStringList teile = fall.split(QLatin1Char(' '));
        std::unique_ptr<QWidget> w;
        for (const auto& [name, neu] : Fenster())
            if (name == teile[0])
                w.reset(neu());
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        if (QWidget* fokus = w->findChild<QWidget*>(teile[2]))
            fokus->setFocus();
        // Pressed only, not run: the spy sees the press before any handler could refuse it.
        QObject* ziel = w->findChild<QObject*>(teile[1]);
        ziel->disconnect(w.get());
        ziel->setProperty("enabled", true);
        QSignalSpy spy(ziel, qobject_cast<QAction*>(ziel) ? SIGNAL(triggered(bool))
                                                          : SIGNAL(clicked(bool)));
        QTest::keyClick(w->windowHandle(), Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(spy.size(), 1);
    }
};

QTEST_MAIN(TestTastatur)
#include "tst_tastatur.moc"

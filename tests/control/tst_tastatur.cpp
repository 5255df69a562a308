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
#include <QGroupBox>
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

// The letter after a single '&' ("&&" is an ampersand), upper case; null when there is none.
QChar Mnemonik(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

// Controls inside a calendar are the calendar's own.
bool ImKalender(const QWidget* w) {
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QCalendarWidget*>(p))
            return true;
    return false;
}

bool HatBuchstaben(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

// Entries of one scope (a menu, or what a window shows at once): missing and shared mnemonics.
void Pruefe(const QString& wo, const QList<std::pair<QString, bool>>& eintraege,
            QStringList& fehler) {
    QMap<QChar, QStringList> nach;
    for (const auto& [text, pflicht] : eintraege) {
        const QChar m = Mnemonik(text);
        if (!m.isNull())
            nach[m] << text;
        else if (pflicht && HatBuchstaben(text))
            fehler << wo + QStringLiteral(": '") + text + QStringLiteral("' ohne Tastenkürzel");
    }
    for (auto it = nach.cbegin(); it != nach.cend(); ++it)
        if (it->size() > 1)
            fehler << wo + QStringLiteral(": Alt+") + it.key() + QStringLiteral(" doppelt: ") +
                          it->join(QStringLiteral(", "));
}

void PruefeMenue(const QString& wo, const QMenu* menu, QStringList& fehler) {
    QList<std::pair<QString, bool>> eintraege;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator() && a->isVisible())
            eintraege.append({a->text(), true});
    Pruefe(wo + QStringLiteral(" / ") + menu->title().remove(QLatin1Char('&')), eintraege, fehler);
}

// What a shown window offers at once: buttons, labels with a buddy, group titles, tabs and the
// menu bar.
void PruefeSicht(const QString& wo, QWidget* fenster, QStringList& fehler) {
    QList<std::pair<QString, bool>> eintraege;
    for (QWidget* w : fenster->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != fenster)
            continue;
        if (ImKalender(w))
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            eintraege.append(
                {b->text(), qobject_cast<QPushButton*>(w) || qobject_cast<QToolButton*>(w)});
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            eintraege.append({l->text(), false});
        else if (auto* g = qobject_cast<QGroupBox*>(w))
            eintraege.append({g->title(), false});
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                eintraege.append({t->tabText(i), true});
        else if (auto* m = qobject_cast<QMenuBar*>(w))
            for (const QAction* a : m->actions())
                eintraege.append({a->text(), true});
    }
    Pruefe(wo, eintraege, fehler);
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
        QVERIFY(stamm.OpenJet(QString(), QString(), dir.filePath(QStringLiteral("Stamm.mdb")),
                              nullptr));
        Firma firma; // so that its persons can be edited
        firma.stName = QStringLiteral("Stadtwerke");
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
                PruefeSicht(name, fenster.get(), fehler);
            }
            for (const QMenu* menu : fenster->findChildren<QMenu*>())
                if (!ImKalender(menu))
                    PruefeMenue(name, menu, fehler);
            // The window's smallest size fits a 1366x768 screen below a title bar.
            const QSize mindestens = fenster->minimumSizeHint().expandedTo(fenster->minimumSize());
            if (mindestens.width() > 1366 || mindestens.height() > 768 - 60)
                fehler << name + QStringLiteral(" braucht mindestens %1x%2")
                                     .arg(mindestens.width())
                                     .arg(mindestens.height());
        }
        for (const QString& f : fehler)
            qWarning().noquote() << f;
        QCOMPARE(fehler.size(), 0);
    }

    // Ctrl+S presses the save command of the form (the one of the part holding the focus).
    void ctrlSSaves_data() {
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QString>("speichern");
        QTest::addColumn<QString>("fokus"); // a control to put the focus in first, "" = none
        QTest::newRow("reservation") << "frmAntrag"
                                     << "pbSave"
                                     << "tfVerst";
        QTest::newRow("rooms") << "frmRaum"
                               << "MainToolbar_Save"
                               << "edName";
        QTest::newRow("room types") << "frmRaumArt"
                                    << "pbSave"
                                    << "";
        QTest::newRow("employees") << "frmMitarbeiter"
                                   << "pbSave"
                                   << "";
        QTest::newRow("companies") << "frmStammdaten"
                                   << "pbFirmaSpeichern"
                                   << "edFirmaName";
        QTest::newRow("persons") << "frmStammdaten"
                                 << "pbPersonSpeichern"
                                 << "edPersonName";
    }
    void ctrlSSaves() {
        QFETCH(QString, fenster);
        QFETCH(QString, speichern);
        QFETCH(QString, fokus);
        std::unique_ptr<QWidget> w;
        for (const auto& [name, neu] : Fenster())
            if (name == fenster)
                w.reset(neu());
        w->show();
        QApplication::setActiveWindow(w.get());
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        if (!fokus.isEmpty())
            w->findChild<QWidget*>(fokus)->setFocus();
        QObject* ziel = w->findChild<QObject*>(speichern);
        std::unique_ptr<QSignalSpy> spy;
        if (auto* a = qobject_cast<QAction*>(ziel)) {
            a->setEnabled(true);
            spy = std::make_unique<QSignalSpy>(a, &QAction::triggered);
        } else {
            auto* b = qobject_cast<QAbstractButton*>(ziel);
            // Pressed only, not run: the spy sees the click before any handler could refuse.
            b->disconnect(w.get());
            b->setEnabled(true);
            spy = std::make_unique<QSignalSpy>(b, &QAbstractButton::clicked);
        }
        QTest::keyClick(w->windowHandle(), Qt::Key_S, Qt::ControlModifier);
        QTRY_COMPARE(spy->size(), 1);
    }
};

QTEST_MAIN(TestTastatur)
#include "tst_tastatur.moc"

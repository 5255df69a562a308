// The order-number dialog and the way the order-number routines open it.
#include "R_Main.h"
#include "ScriptedPrompt.h"
#include "frmNextNr.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestFrmNextNr : public QObject {
    Q_OBJECT

    // Sends the field a focus event as the window system would.
    static void fokus(frmNextNr& dlg, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent e(type, reason);
        QApplication::sendEvent(dlg.edOrderNr, &e);
        QCoreApplication::sendPostedEvents();
    }

private Q_SLOTS:
    void okFreigabe_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("frei");
        for (const char* t : {"0", "-5", "abc", "7abc", "", "2147483648"})
            QTest::newRow(t) << t << false;
        QTest::newRow("7") << "7" << true;
        QTest::newRow(" 12 ") << " 12 " << true;
    }
    void okFreigabe() {
        QFETCH(QString, text);
        QFETCH(bool, frei);
        frmNextNr dlg;
        dlg.edOrderNr->setText(QStringLiteral("99"));
        dlg.edOrderNr->setText(text);
        QCOMPARE(dlg.pbOK->isEnabled(), frei);
    }

    // The warning comes each time the field is entered, not when only its window comes back
    // (after the warning itself, for instance).
    void fokusMeldung() {
        ScriptedPrompt prompt;
        frmNextNr dlg;
        fokus(dlg, QEvent::FocusIn, Qt::ActiveWindowFocusReason); // the dialog opens on the field
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.last().text,
                 QStringLiteral("Das Ändern der Auftragsnummer kann zu Problemen führen"));
        QCOMPARE(prompt.last().title, QStringLiteral("Nächste Auftragsnummer"));
        QCOMPARE(prompt.last().icon, PromptIcon::Information);

        fokus(dlg, QEvent::FocusOut, Qt::ActiveWindowFocusReason); // the message box takes it
        fokus(dlg, QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // and gives it back
        QCOMPARE(prompt.shown.size(), 1);

        fokus(dlg, QEvent::FocusOut, Qt::TabFocusReason);
        fokus(dlg, QEvent::FocusIn, Qt::MouseFocusReason);
        QCOMPARE(prompt.shown.size(), 2);
    }

    // Unless a test replaces it, the routines open the real dialog.
    void dialogDerRoutinen_data() {
        QTest::addColumn<int32_t>("vorschlag");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("eingabe"); // empty = cancel
        QTest::addColumn<int32_t>("ergebnis");
        QTest::newRow("changed") << 100 << "100"
                                 << "250" << 250;
        QTest::newRow("cancelled") << 100 << "100"
                                   << "" << -1;
        QTest::newRow("no number offered") << -1 << ""
                                           << "7" << 7;
    }
    void dialogDerRoutinen() {
        QFETCH(int32_t, vorschlag);
        QFETCH(QString, feld);
        QFETCH(QString, eingabe);
        QFETCH(int32_t, ergebnis);
        ScriptedPrompt prompt;
        QString gesehen, titel;
        QTimer antwort; // answers as soon as the dialog is up
        antwort.setInterval(0);
        connect(&antwort, &QTimer::timeout, [&] {
            auto* dlg = qobject_cast<frmNextNr*>(QApplication::activeModalWidget());
            if (!dlg)
                return;
            antwort.stop();
            titel = dlg->windowTitle();
            gesehen = dlg->edOrderNr->text();
            dlg->edOrderNr->setText(eingabe);
            (eingabe.isEmpty() ? dlg->pbCancel : dlg->pbOK)->click();
        });
        antwort.start();
        QCOMPARE(R_Main::gNextNrDialog(vorschlag), ergebnis);
        QCOMPARE(gesehen, feld);
        QCOMPARE(titel, QStringLiteral("Nächste Auftragsnummer"));
    }
};

QTEST_MAIN(TestFrmNextNr)
#include "tst_frmnextnr.moc"

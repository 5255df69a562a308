#include "ScriptedPrompt.h"
#include "SerienBerechnung.h"
#include "frmSerie.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {

void tippen(QLineEdit* e, const QString& text) {
    e->clear();
    QTest::keyClicks(e, text);
}

} // namespace

class TstFrmSerie : public QObject {
    Q_OBJECT

    std::unique_ptr<ScriptedPrompt> prompt;
    std::unique_ptr<frmSerie> dlg;

private slots:
    // The dialog as the reservation form opens it for Wednesday 5 June 2024, 10:00-12:00.
    void init() {
        prompt = std::make_unique<ScriptedPrompt>();
        dlg = std::make_unique<frmSerie>();
        dlg->Vorbelegen(QStringLiteral("10:00"), QStringLiteral("12:00"),
                        QStringLiteral("05.06.2024"));
        dlg->Form_Activate();
    }
    void cleanup() {
        dlg.reset();
        prompt.reset();
    }

    void oeffnen() {
        QVERIFY(dlg->obDaily->isChecked() && !dlg->frDaily->isHidden());
        QVERIFY(dlg->frWeekly->isHidden() && dlg->frMonthly->isHidden() &&
                dlg->frYearly->isHidden());
        const QStringList felder{dlg->edBeginn->text(), dlg->edAnzTerm->text(), dlg->edEnde->text(),
                                 dlg->coBeginnZeit->currentText(), dlg->coEndeZeit->currentText()};
        QCOMPARE(felder, (QStringList{"05.06.2024", "10", "14.06.2024", "10:00", "12:00"}));
        for (int i = 0; i < 7; ++i)
            QCOMPARE(dlg->cbWeekday[i]->isChecked(), i == 2); // Wednesday
        QVERIFY(!dlg->f_bChanged && dlg->trStatus->isActive() && prompt->shown.isEmpty());
    }

    void calcTermin_data() {
        QTest::addColumn<int>("wochentage"); // 0: every day; else weekly on these bits
        QTest::addColumn<bool>("endeNach");
        QTest::addColumn<QString>("eingabe");  // the number of dates or the end date
        QTest::addColumn<QString>("ergebnis"); // the other field
        auto row = [](const char* name, int tage, bool endeNach, const char* ein, const char* aus) {
            QTest::newRow(name) << tage << endeNach << QString(ein) << QString(aus);
        };
        row("daily, 5 dates", 0, true, "5", "05.03.2024");
        row("daily, to 20 March", 0, false, "20.03.2024", "20");
        row("daily, empty number counts one", 0, true, "", "01.03.2024");
        row("Monday and Thursday, 10 dates", 9, true, "10", "04.04.2024");
        row("Monday, one date after the start", 1, true, "1", "04.03.2024");
        row("Monday, end before the first date", 1, false, "02.03.2024", "1");
    }
    void calcTermin() {
        QFETCH(int, wochentage);
        QFETCH(bool, endeNach);
        QFETCH(QString, eingabe);
        dlg = std::make_unique<frmSerie>(); // from Friday 1 March 2024
        dlg->Vorbelegen(QStringLiteral("10:00"), QStringLiteral("12:00"),
                        QStringLiteral("01.03.2024"));
        dlg->Form_Activate();
        if (wochentage) {
            dlg->obWeekly->setChecked(true);
            for (int i = 0; i < 7; ++i)
                dlg->cbWeekday[i]->setChecked(wochentage & (1 << i));
        }
        (endeNach ? dlg->obEndeNach : dlg->obEndeDatum)->setChecked(true);
        (endeNach ? dlg->edAnzTerm : dlg->edEnde)->setText(eingabe);
        QVERIFY(dlg->f_bChanged);
        dlg->trStatus_Timer();
        QTEST((endeNach ? dlg->edEnde : dlg->edAnzTerm)->text(), "ergebnis");
        QVERIFY(!dlg->f_bChanged && prompt->shown.isEmpty());
        // The rule follows the field that was calculated.
        QVERIFY(dlg->f_Serie);
        QCOMPARE(dlg->f_Serie->datEnde().toShortDateText(), dlg->edEnde->text());
    }

    // OK straight after the choice, before the background recalculation: OK calculates the end
    // of the ten dates itself.
    void muster_data() {
        QTest::addColumn<QString>("beschreibung"); // data tag: option "ob..." and frame "fr..."
        QTest::addColumn<QString>("ende");
        QTest::newRow("Daily") << "Alle 1 Tage" << QString("14.06.2024");
        QTest::newRow("Weekly") << "Alle 1 Wochen, am Mittwoch" << QString("07.08.2024");
        QTest::newRow("Monthly") << "Am 5. Tag jedes 1. Monats" << QString("05.03.2025");
        QTest::newRow("Yearly") << "Jährlich am 5. Juni" << QString("05.06.2033");
    }
    void muster() {
        const QString muster = QString::fromLatin1(QTest::currentDataTag());
        dlg->obYearly->setChecked(true); // away from daily first, so that every row switches
        dlg->findChild<QRadioButton*>("ob" + muster)->setChecked(true);
        for (QGroupBox* f : {dlg->frDaily, dlg->frWeekly, dlg->frMonthly, dlg->frYearly})
            QCOMPARE(f->isHidden(), f->objectName() != "fr" + muster);
        // The yearly option offers the current month; June keeps the start date the first one.
        QCOMPARE(dlg->coMonth[0]->currentIndex(), QDate::currentDate().month() - 1);
        dlg->coMonth[0]->setCurrentIndex(5);
        QVERIFY(dlg->f_bChanged);
        dlg->pbOk_Click();
        QVERIFY(prompt->shown.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QTEST(dlg->f_stSerieBem, "beschreibung");
        QTEST(dlg->edEnde->text(), "ende");
        QCOMPARE(dlg->f_Serie->datEnde().toShortDateText(), dlg->edEnde->text());
        // Each option (the yearly one with June) gives the start date as the first date.
        const CSerienFkt& r = *dlg->f_Serie;
        QCOMPARE(R_Main::GetNextDate(r, r.datBeginn(), true).toQDate(), QDate(2024, 6, 5));
    }

    // Typing or choosing in a field picks the option it belongs to.
    void feldWaehltOption() {
        dlg->obJedenArb->setChecked(true);
        tippen(dlg->edFreqTag, QStringLiteral("3"));
        QVERIFY(dlg->obJeden->isChecked());

        tippen(dlg->edEnde, QStringLiteral("30.06.2024"));
        QVERIFY(dlg->obEndeDatum->isChecked());
        tippen(dlg->edAnzTerm, QStringLiteral("4"));
        QVERIFY(dlg->obEndeNach->isChecked());
    }

    // While a date field has the focus the timer rests, so that a half typed date is not read.
    void timerRuhtImDatumsfeld() {
        for (QLineEdit* e : {dlg->edBeginn, dlg->edEnde}) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(e, &in);
            QVERIFY(!dlg->trStatus->isActive());
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(e, &out);
            QVERIFY(dlg->trStatus->isActive());
        }
    }

    // A refusal names its field: the message, the correction in the field, the focus on it. (The
    // refusals themselves are checked with the input alone.)
    void ablehnung() {
        dlg->show();
        dlg->edEnde->setText(QStringLiteral("01.06.2024"));
        dlg->obEndeDatum->setChecked(true);
        dlg->pbOk_Click();
        QCOMPARE(prompt->texte(), QStringList{"Terminende darf nicht vor Terminanfang liegen!"});
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("06.06.2024"));
        QCOMPARE(dlg->focusWidget(), dlg->edEnde);
        QVERIFY(dlg->isVisible() && dlg->f_stSerieBem.isEmpty());
    }

    // Only the end before the start is reported by the background recalculation; a weekly
    // series without a weekday just waits for one.
    void timerMeldungen() {
        dlg->obWeekly->setChecked(true);
        dlg->cbWeekday[2]->setChecked(false);
        dlg->trStatus_Timer();
        QVERIFY(prompt->shown.isEmpty());
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("14.06.2024"));

        dlg->cbWeekday[4]->setChecked(true);
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText(QStringLiteral("04.06.2024"));
        dlg->trStatus_Timer();
        QCOMPARE(prompt->texte(), QStringList{"Terminende darf nicht vor Terminanfang liegen!"});
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("06.06.2024"));
        dlg->f_bChanged = true;
        dlg->trStatus_Timer();
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("1")); // Friday 7 June, after the end
    }

    void zuVieleTermine() {
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText(QStringLiteral("31.12.2199"));
        dlg->trStatus_Timer();
        QCOMPARE(prompt->texte(), QStringList{"Eine Terminserie darf höchstens 32767 Termine "
                                              "haben!\nfrmSerie.CalcTermin"});
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("10"));
        dlg->pbOk_Click();
        QCOMPARE(prompt->shown.size(), 2);
        QVERIFY(dlg->result() != QDialog::Accepted);
    }
};

QTEST_MAIN(TstFrmSerie)
#include "tst_frmserie.moc"

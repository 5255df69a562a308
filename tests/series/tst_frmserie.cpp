#include "ScriptedPrompt.h"
#include "SerienBerechnung.h"
#include "frmSerie.h"

#include <QCalendarWidget>
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

// The dialog as the reservation form opens it for Wednesday 5 June 2024, 10:00-12:00.
std::unique_ptr<frmSerie> oeffnen() {
    auto dlg = std::make_unique<frmSerie>();
    dlg->Vorbelegen(QStringLiteral("10:00"), QStringLiteral("12:00"), QStringLiteral("05.06.2024"));
    dlg->Form_Activate();
    return dlg;
}

void tippen(QLineEdit* e, const QString& text) {
    e->clear();
    QTest::keyClicks(e, text);
}

} // namespace

class TstFrmSerie : public QObject {
    Q_OBJECT

private slots:
    void oeffnen() {
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Terminserie"));
        QVERIFY(dlg->obDaily->isChecked());
        QVERIFY(!dlg->frDaily->isHidden());
        QVERIFY(dlg->frWeekly->isHidden() && dlg->frMonthly->isHidden() &&
                dlg->frYearly->isHidden());
        QCOMPARE(dlg->edBeginn->text(), QStringLiteral("05.06.2024"));
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("10"));
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("14.06.2024"));
        for (int i = 0; i < 7; ++i)
            QCOMPARE(dlg->cbWeekday[i]->isChecked(), i == 2); // Wednesday
        QCOMPARE(dlg->coBeginnZeit->currentText(), QStringLiteral("10:00"));
        QCOMPARE(dlg->coEndeZeit->currentText(), QStringLiteral("12:00"));
        QCOMPARE(dlg->coBeginnZeit->count(), 24);
        QVERIFY(!dlg->f_bChanged);
        QVERIFY(dlg->trStatus->isActive());
        QCOMPARE(dlg->trStatus->interval(), 500);
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(dlg->pbCancel->text(), QStringLiteral("&Abbrechen"));
    }

    void calcTermin_data() {
        QTest::addColumn<int>("wochentage"); // 0: every day; else weekly on these bits
        QTest::addColumn<bool>("endeNach");
        QTest::addColumn<QString>("eingabe");  // the number of dates or the end date
        QTest::addColumn<QString>("ergebnis"); // the other field
        QTest::newRow("daily, 5 dates") << 0 << true << "5"
                                        << "05.03.2024";
        QTest::newRow("daily, to 20 March") << 0 << false << "20.03.2024"
                                            << "20";
        QTest::newRow("daily, empty number counts one") << 0 << true << ""
                                                        << "01.03.2024";
        QTest::newRow("Monday and Thursday, 10 dates") << 9 << true << "10"
                                                       << "04.04.2024";
        QTest::newRow("Monday, one date after the start") << 1 << true << "1"
                                                          << "04.03.2024";
        QTest::newRow("Monday, end before the first date") << 1 << false << "02.03.2024"
                                                           << "1";
    }
    void calcTermin() {
        QFETCH(int, wochentage);
        QFETCH(bool, endeNach);
        QFETCH(QString, eingabe);
        QFETCH(QString, ergebnis);
        ScriptedPrompt prompt;
        frmSerie dlg;
        dlg.Vorbelegen(QStringLiteral("10:00"), QStringLiteral("12:00"),
                       QStringLiteral("01.03.2024"));
        dlg.Form_Activate();
        if (wochentage) {
            dlg.obWeekly->setChecked(true);
            for (int i = 0; i < 7; ++i)
                dlg.cbWeekday[i]->setChecked(wochentage & (1 << i));
        }
        (endeNach ? dlg.obEndeNach : dlg.obEndeDatum)->setChecked(true);
        (endeNach ? dlg.edAnzTerm : dlg.edEnde)->setText(eingabe);
        QVERIFY(dlg.f_bChanged);
        dlg.trStatus_Timer();
        QCOMPARE((endeNach ? dlg.edEnde : dlg.edAnzTerm)->text(), ergebnis);
        QVERIFY(!dlg.f_bChanged);
        QVERIFY(prompt.shown.isEmpty());
        // The rule follows the field that was calculated.
        QVERIFY(dlg.f_Serie);
        QCOMPARE(dlg.f_Serie->datEnde().toShortDateText(), dlg.edEnde->text());
    }

    void okWoechentlich() {
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->obWeekly->setChecked(true);
        dlg->cbWeekday[3]->setChecked(true); // Thursday ticked before Monday
        dlg->cbWeekday[0]->setChecked(true);
        dlg->cbWeekday[2]->setChecked(false);
        dlg->edFreqWeek->setText(QStringLiteral("02"));
        dlg->pbOk_Click(); // within the half second: recalculated by OK itself
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(!dlg->trStatus->isActive());
        QVERIFY(dlg->f_Serie);
        const CSerienFkt& r = *dlg->f_Serie;
        QCOMPARE(dlg->f_stSerieBem, QStringLiteral("Alle 02 Wochen, am Montag, Donnerstag"));
        QCOMPARE(r.Weekly(), 2);
        QCOMPARE(r.Weekday(), 9);
        QCOMPARE(r.Daily(), -1);
        QCOMPARE(r.datBeginn().toQDate(), QDate(2024, 6, 5));
        // 6.6., 17.6., 20.6., 1.7., 4.7., 15.7., 18.7., 29.7., 1.8., 12.8.
        QCOMPARE(r.datEnde().toQDate(), QDate(2024, 8, 12));
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("12.08.2024"));
        QCOMPARE(r.AnzTermin(), 10);
        QCOMPARE(r.TimeBeginn().toQTime(), QTime(10, 0));
        QCOMPARE(r.TimeEnde().toQTime(), QTime(12, 0));
    }

    void muster_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("rahmen");
        QTest::addColumn<QString>("beschreibung");
        QTest::newRow("daily") << "obDaily"
                               << "frDaily"
                               << "Alle 1 Tage";
        QTest::newRow("weekly") << "obWeekly"
                                << "frWeekly"
                                << "Alle 1 Wochen, am Mittwoch";
        QTest::newRow("monthly") << "obMonthly"
                                 << "frMonthly"
                                 << "Am 5. Tag jedes 1. Monats";
        QTest::newRow("yearly") << "obYearly"
                                << "frYearly"
                                << "Jährlich am 5. Juni";
    }
    void muster() {
        QFETCH(QString, option);
        QFETCH(QString, rahmen);
        QFETCH(QString, beschreibung);
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->obYearly->setChecked(true); // away from daily first, so that every row switches
        dlg->findChild<QRadioButton*>(option)->setChecked(true);
        for (QGroupBox* f : {dlg->frDaily, dlg->frWeekly, dlg->frMonthly, dlg->frYearly})
            QCOMPARE(f->isHidden(), f->objectName() != rahmen);
        QVERIFY(dlg->f_bChanged);
        dlg->pbOk_Click();
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(dlg->f_stSerieBem, beschreibung);
        // Each option is preset so that the first date is the start date.
        const CSerienFkt& r = *dlg->f_Serie;
        QCOMPARE(R_Main::GetNextDate(r, r.datBeginn(), true).toQDate(), QDate(2024, 6, 5));
    }

    // Typing or choosing in a field picks the option it belongs to.
    void feldWaehltOption() {
        auto dlg = ::oeffnen();
        dlg->obJedenArb->setChecked(true);
        tippen(dlg->edFreqTag, QStringLiteral("3"));
        QVERIFY(dlg->obJeden->isChecked());

        tippen(dlg->edEnde, QStringLiteral("30.06.2024"));
        QVERIFY(dlg->obEndeDatum->isChecked());
        tippen(dlg->edAnzTerm, QStringLiteral("4"));
        QVERIFY(dlg->obEndeNach->isChecked());
    }

    void zeitListen_data() {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("liste");
        QTest::newRow("full hour") << "13:00"
                                   << "13:00";
        QTest::newRow("one digit hour") << "8:00"
                                        << "08:00";
        QTest::newRow("half hour") << "13:30"
                                   << "10:00";
        QTest::newRow("unfinished") << "13:"
                                    << "10:00";
    }
    void zeitListen() {
        QFETCH(QString, getippt);
        QFETCH(QString, liste);
        auto dlg = ::oeffnen();
        tippen(dlg->edTimeBeginn, getippt);
        QCOMPARE(dlg->coBeginnZeit->currentText(), liste);
        QCOMPARE(dlg->edTimeBeginn->text(), getippt); // the list does not write back
    }

    void kalender() {
        auto dlg = ::oeffnen();
        dlg->f_bChanged = false;
        dlg->pbDatum_Click(1);
        QVERIFY(dlg->MonthView1->isVisible());
        QCOMPARE(dlg->MonthView1->selectedDate(), QDate(2024, 6, 14));
        dlg->MonthView1_DateClick(QDate(2024, 7, 1));
        QVERIFY(!dlg->MonthView1->isVisible());
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("01.07.2024"));
        QVERIFY(dlg->obEndeDatum->isChecked());
        QVERIFY(dlg->f_bChanged);
        dlg->trStatus_Timer();
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("27"));
    }

    // While a date field has the focus the timer rests, so that a half typed date is not read.
    void timerRuhtImDatumsfeld() {
        auto dlg = ::oeffnen();
        for (QLineEdit* e : {dlg->edBeginn, dlg->edEnde}) {
            QFocusEvent in(QEvent::FocusIn);
            QApplication::sendEvent(e, &in);
            QVERIFY(!dlg->trStatus->isActive());
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(e, &out);
            QVERIFY(dlg->trStatus->isActive());
        }
    }

    void ablehnung_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QString>("korrektur"); // the field's text afterwards
        QTest::newRow("end before start") << "edEnde"
                                          << "01.06.2024"
                                          << "Terminende darf nicht vor Terminanfang liegen!"
                                          << "06.06.2024";
        QTest::newRow("every 0 days") << "edFreqTag"
                                      << "0"
                                      << "Geben Sie eine Zahl größer als 0 ein!"
                                      << "0";
        QTest::newRow("no start") << "edBeginn"
                                  << ""
                                  << "Geben Sie ein gültiges Datum ein!"
                                  << "";
    }
    void ablehnung() {
        QFETCH(QString, feld);
        QFETCH(QString, text);
        QFETCH(QString, meldung);
        QFETCH(QString, korrektur);
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->show();
        auto* e = dlg->findChild<QLineEdit*>(feld);
        e->setText(text);
        if (e == dlg->edEnde)
            dlg->obEndeDatum->setChecked(true);
        dlg->pbOk_Click();
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.last().text, meldung);
        QCOMPARE(prompt.last().title, QStringLiteral("Achtung"));
        QCOMPARE(prompt.last().icon, PromptIcon::Information);
        QCOMPARE(e->text(), korrektur);
        QCOMPARE(dlg->focusWidget(), e);
        QVERIFY(dlg->isVisible());
        QVERIFY(dlg->f_stSerieBem.isEmpty());
    }

    // Only the end before the start is reported by the background recalculation; a weekly
    // series without a weekday just waits for one.
    void timerMeldungen() {
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->obWeekly->setChecked(true);
        dlg->cbWeekday[2]->setChecked(false);
        dlg->trStatus_Timer();
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("14.06.2024"));

        dlg->cbWeekday[4]->setChecked(true);
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText(QStringLiteral("04.06.2024"));
        dlg->trStatus_Timer();
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.last().text,
                 QStringLiteral("Terminende darf nicht vor Terminanfang liegen!"));
        QCOMPARE(dlg->edEnde->text(), QStringLiteral("06.06.2024"));
        dlg->f_bChanged = true;
        dlg->trStatus_Timer();
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("1")); // Friday 7 June, after the end
    }

    void zuVieleTermine() {
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->obEndeDatum->setChecked(true);
        dlg->edEnde->setText(QStringLiteral("31.12.2199"));
        dlg->trStatus_Timer();
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.last().text, QStringLiteral("Eine Terminserie darf höchstens 32767 Termine "
                                                    "haben!\nfrmSerie.CalcTermin"));
        QCOMPARE(dlg->edAnzTerm->text(), QStringLiteral("10"));
        dlg->pbOk_Click();
        QCOMPARE(prompt.shown.size(), 2);
        QVERIFY(dlg->result() != QDialog::Accepted);
    }

    void abbrechen() {
        ScriptedPrompt prompt;
        auto dlg = ::oeffnen();
        dlg->obMonthly->setChecked(true);
        dlg->edAnzTerm->setText(QStringLiteral("4"));
        dlg->trStatus_Timer(); // fills a rule in the background
        QVERIFY(dlg->f_Serie);
        dlg->pbCancel_Click();
        QVERIFY(!dlg->f_Serie);
        QVERIFY(dlg->f_stSerieBem.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
        QVERIFY(!dlg->trStatus->isActive());
        QVERIFY(prompt.shown.isEmpty());
    }
};

QTEST_MAIN(TstFrmSerie)
#include "tst_frmserie.moc"

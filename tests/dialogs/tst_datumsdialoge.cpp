// The date and period dialogs: what they propose and what they hand back.
#include "ScriptedModal.h"
#include "ScriptedPrompt.h"
#include "TovoDate.h"
#include "frmDatSelect.h"
#include "frmKalender.h"
#include "frmVonBis.h"
#include "frmWeek.h"
#include "frmZeitraum.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {
double D(int y, int m, int d) {
    return TovoDate::fromParts(y, m, d).value();
}
QString T(double d) {
    return TovoDate(d).toShortDateText();
}
// A row of the period tables: the day the dialog opens on and the period it proposes.
void row(const char* name, bool woche, double heute, const char* von, const char* bis) {
    QTest::newRow(name) << woche << heute << QString(von) << QString(bis);
}
} // namespace

class TestDatumsDialoge : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The period a dialog proposes for a day; the week dialog steps by weeks.
    void proposal_data() {
        QTest::addColumn<bool>("woche");
        QTest::addColumn<double>("heute");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        row("Woche ab Sonntag", true, D(2026, 3, 15), "09.03.2026", "15.03.2026");
        row("Woche ab Montag", true, D(2026, 3, 16), "16.03.2026", "22.03.2026");
        row("Woche über Jahreswechsel", true, D(2025, 12, 31), "29.12.2025", "04.01.2026");
        row("Februar im Schaltjahr", false, D(2028, 2, 10), "01.02.2028", "29.02.2028");
        row("Dezember", false, D(2026, 12, 31), "01.12.2026", "31.12.2026");
        row("Januar", false, D(2026, 1, 1), "01.01.2026", "31.01.2026");
    }
    void proposal() {
        QFETCH(bool, woche);
        QFETCH(double, heute);
        QFETCH(QString, von);
        QFETCH(QString, bis);
        if (!woche) {
            frmVonBis dlg;
            dlg.Form_Load(heute);
            QCOMPARE(dlg.edVonDatum->text() + " - " + dlg.edBisDatum->text(), von + " - " + bis);
            dlg.pbOK->click();
            QVERIFY(dlg.f_bOk);
            QCOMPARE(T(dlg.f_datVon) + " - " + T(dlg.f_datBis), von + " - " + bis);
            return;
        }
        frmWeek dlg;
        dlg.Form_Load(heute);
        QCOMPARE(T(dlg.f_datVon) + " - " + T(dlg.f_datBis), von + " - " + bis);
        QCOMPARE(dlg.txWeek->text(), von + " - " + bis);
        dlg.pbPlus->click();
        dlg.pbMinus->click();
        dlg.pbMinus->click();
        QCOMPARE(dlg.f_datVon, TovoDate::fromDate(QDate::fromString(von, "dd.MM.yyyy")) - 7);
        QCOMPARE(dlg.txWeek->text(), T(dlg.f_datVon) + " - " + T(dlg.f_datBis));
        QVERIFY(!dlg.f_bOk);
        dlg.pbOK->click();
        QVERIFY(dlg.f_bOk);
    }

    // OK needs text in both fields; wrong text and a reversed range are refused with a message.
    void fromToInput() {
        ScriptedPrompt prompt;
        frmVonBis dlg;
        dlg.Form_Load(D(2026, 3, 16));
        dlg.edBisDatum->setText("  ");
        QVERIFY(!dlg.pbOK->isEnabled());
        dlg.edBisDatum->setText("3o.03.2026");
        QVERIFY(dlg.pbOK->isEnabled());
        dlg.pbOK->click();
        QVERIFY(!dlg.f_bOk);
        QVERIFY(prompt.last().text.contains("gültiges Datum"));
        dlg.edBisDatum->setText("28.02.2026");
        dlg.pbOK->click();
        QVERIFY(!dlg.f_bOk);
        QCOMPARE(prompt.last().text, QString("Das Von-Datum liegt nach dem Bis-Datum."));

        // The calendar opens on the field's date and writes the picked day back.
        QDate gezeigt;
        ScriptedModal modal; // the second time the calendar is closed without a pick
        modal
            .einmal([&](frmKalender& kal) {
                kal.Form_Activate(); // as when shown
                gezeigt = kal.Kalender->selectedDate();
                kal.Kalender_DateClick(QDate(2026, 4, 2)); // accepts the dialog
            })
            .einmal([](frmKalender&) {});
        dlg.pbBisDatum->click();
        QCOMPARE(gezeigt, QDate(2026, 2, 28));
        QCOMPARE(dlg.edBisDatum->text(), QString("02.04.2026"));
        dlg.pbVonDatum->click();
        QCOMPARE(dlg.edVonDatum->text(), QString("01.03.2026"));
        dlg.pbCancel->click();
        QVERIFY(!dlg.f_bOk);
    }

    void dateSelect() {
        ScriptedPrompt prompt;
        frmDatSelect dlg;
        QCOMPARE(dlg.edReportDatum->text(), TovoDate::today().toShortDateText());
        dlg.MonthView1_DateClick(QDate(2026, 3, 15));
        QCOMPARE(dlg.edReportDatum->text(), QString("15.03.2026"));
        dlg.pbOK->click();
        QCOMPARE(dlg.f_datSelect, D(2026, 3, 15));

        frmDatSelect falsch;
        falsch.edReportDatum->setText("gestern");
        falsch.pbOK->click();
        QVERIFY(prompt.last().text.contains("gültiges Datum"));
        QCOMPARE(falsch.f_datSelect, TovoDate::kNoDate);
    }

    void period_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<int>("jahrKlick"); // +1 Plus, -1 Minus
        QTest::addColumn<int>("monat");
        QTest::addColumn<int>("jahr");
        QTest::addColumn<QString>("text");
        QTest::newRow("Monat") << 3 << 0 << 3 << 2026 << QString("März 2026");
        QTest::newRow("Dezember, Jahr vor") << 12 << 1 << 12 << 2027 << QString("Dezember 2027");
        QTest::newRow("ganzes Jahr zurück") << 0 << -1 << 0 << 2025 << QString("2025");
    }
    void period() {
        QFETCH(int, option);
        QFETCH(int, jahrKlick);
        frmZeitraum dlg;
        dlg.Form_Load(D(2026, 3, 16));
        QCOMPARE(dlg.edJahr->text(), QString("2026"));
        QVERIFY(dlg.Option1[3]->isChecked());
        dlg.Option1[option]->setChecked(true);
        if (jahrKlick)
            (jahrKlick > 0 ? dlg.Plus : dlg.Minus)->click();
        dlg.OK->click();
        QVERIFY(dlg.f_bOk);
        QTEST(dlg.f_iMonat, "monat");
        QTEST(dlg.f_iJahr, "jahr");
        QTEST(dlg.f_stReport, "text");
    }

    void periodWrongYear() {
        ScriptedPrompt prompt;
        frmZeitraum dlg;
        dlg.edJahr->setText("20x6");
        dlg.OK->click();
        QVERIFY(!dlg.f_bOk);
        QVERIFY(prompt.last().text.contains("gültiges Jahr"));
        dlg.Abbruch->click();
        QVERIFY(!dlg.f_bOk);
    }
};

QTEST_MAIN(TestDatumsDialoge)
#include "tst_datumsdialoge.moc"

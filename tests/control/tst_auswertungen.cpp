// "Aus&wertungen": each entry asks for its period in its dialog, prepares the print table and
// shows its report; a cancelled dialog shows nothing.
#include "ScriptedModal.h"
#include "TestProjekt.h"
#include "TovoRaumverwCtrl.h"
#include "frmDatSelect.h"
#include "frmVonBis.h"
#include "frmWeek.h"
#include "frmZeitraum.h"

#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QtTest>

class TestAuswertungen : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    std::unique_ptr<TovoRaumverwCtrl> ctrl;
    std::unique_ptr<ScriptedModal> modal;
    QStringList gezeigt; // dialog classes and preview titles, in order

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>(false);
        ctrl = std::make_unique<TovoRaumverwCtrl>();
        QVERIFY(ctrl->OpenDb(TovoBinDir(), p->dir.path(), QString(), nullptr));
        const int32_t raum = p->raum(QStringLiteral("Raum 1"), p->raumart(QStringLiteral("Saal")));
        const double heute = TovoDate::today().value();
        p->buche(raum, heute + Uhr(9), heute + Uhr(10));
        QVERIFY(p->ok);
        gezeigt.clear();
        modal = std::make_unique<ScriptedModal>();
        modal->immer([this](QPrintPreviewDialog& d) { gezeigt << d.windowTitle(); });
    }
    void cleanup() {
        ctrl.reset();
        p.reset();
        modal.reset();
    }

    void eintrag_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("erwartet");
        const auto v = [](const char* titel) -> QString {
            return QStringLiteral("Druckvorschau – ") + QString::fromUtf8(titel);
        };
        QTest::newRow("von bis") << 5 << true << QStringList{"frmVonBis", v("Belegungsübersicht")};
        QTest::newRow("Woche") << 10 << true << QStringList{"frmWeek", v("Belegungsübersicht")};
        QTest::newRow("Monat") << 20 << true
                               << QStringList{"frmZeitraum", v("Monats-/Jahresübersicht")};
        QTest::newRow("Kosten") << 30 << true << QStringList{"frmZeitraum", v("Kostenübersicht")};
        QTest::newRow("Auslastung")
            << 40 << true << QStringList{"frmZeitraum", v("Übersicht Auslastung")};
        QTest::newRow("Tag nach Zeit")
            << 200 << true << QStringList{"frmDatSelect", v("Tagesübersicht nach Zeit")};
        QTest::newRow("Tag raumweise")
            << 300 << true << QStringList{"frmDatSelect", v("Tagesübersicht raumweise")};
        QTest::newRow("Tag nach Raumarten")
            << 400 << true << QStringList{"frmDatSelect", v("Tagesübersicht nach Raumarten")};
        QTest::newRow("Woche abgebrochen") << 10 << false << QStringList{"frmWeek"};
        QTest::newRow("Tag abgebrochen") << 200 << false << QStringList{"frmDatSelect"};
    }
    void eintrag() {
        QFETCH(int, index);
        QFETCH(bool, ok);
        QFETCH(QStringList, erwartet);
        modal->einmal([&](QDialog& d) {
            gezeigt << QLatin1String(d.metaObject()->className());
            if (auto* w = qobject_cast<frmWeek*>(&d))
                ok ? w->pbOK_Click() : w->pbCancel_Click();
            else if (auto* z = qobject_cast<frmZeitraum*>(&d))
                ok ? z->OK_Click() : z->abbruch_Click();
            else if (auto* s = qobject_cast<frmDatSelect*>(&d))
                ok ? s->pbOk_Click() : s->pbCancel_Click();
            else if (auto* vb = qobject_cast<frmVonBis*>(&d))
                ok ? vb->pbOk_Click() : vb->pbCancel_Click();
            return 0;
        });
        ctrl->mnuReport.value(index)->trigger();
        QCOMPARE(gezeigt, erwartet);
        QCOMPARE(p->texte(), QStringList());
        // The period around today holds the one booking.
        if (ok)
            QCOMPARE(p->wert(QStringLiteral("SELECT Kurzbez FROM t_tmp_Druck")).toString(),
                     QStringLiteral("Raum 1"));
    }

    // The pickers start on the day the plan shows, not on today.
    void pickersStartOnTheShownDay() {
        ctrl->ZeigeTag(TovoDate::fromParts(2027, 2, 10).value());
        QStringList start;
        modal->einmal([&](frmDatSelect& s) { start << s.edReportDatum->text(); })
            .einmal([&](frmWeek& w) { start << TovoDate(w.f_datVon).toShortDateText(); });
        ctrl->mnuReport.value(200)->trigger();
        ctrl->mnuReport.value(10)->trigger();
        QCOMPARE(start, (QStringList{"10.02.2027", "08.02.2027"}));
    }
};

QTEST_MAIN(TestAuswertungen)
#include "tst_auswertungen.moc"

// The master-data and archiving commands of the editing menu, driven through the control.
#include "TestProjekt.h"
#include "TovoRaumverwCtrl.h"
#include "TovoTextbox.h"
#include "TovoTools.h"
#include "frmDatSelect.h"
#include "frmRaumArt.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

class TestBefehle : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    std::unique_ptr<TovoRaumverwCtrl> ctrl;
    QString exeDir() const { return TovoBinDir() + QLatin1Char('/'); }
    QString archivIni() const {
        return CTovoTools::Instance().ReadIniValue(p->dir.filePath("TovoRaumVerw.ini"), "Archiv",
                                                   "Datum", "-");
    }
    int archiviert() {
        return p->wert("SELECT COUNT(*) FROM T_fm_belegung WHERE bArchiviert <> 0").toInt();
    }
    // The date dialog answers with the date (or Cancel for an empty text).
    void datum(const QString& text) {
        TovoRaumverwCtrl::ZeigeModal = [text](QDialog& d) {
            auto& dlg = static_cast<frmDatSelect&>(d);
            if (text.isEmpty()) {
                dlg.pbCancel->click();
            } else {
                dlg.edReportDatum->setText(text);
                dlg.pbOK->click();
            }
            return dlg.result();
        };
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>(false);
        ctrl = std::make_unique<TovoRaumverwCtrl>();
        QVERIFY(ctrl->OpenDb(exeDir(), p->dir.path(), QString(), nullptr));
        ctrl->Data2Ctrl();
    }
    void cleanup() {
        ctrl->CloseDb();
        ctrl.reset();
        p.reset();
    }

    void archivierenUndWiederherstellen() {
        const int32_t raum = p->raum("Raum 1", p->raumart("Seminar"));
        const auto tag = [](int m, int d) { return TovoDate::fromParts(2026, m, d).value(); };
        p->buche(raum, tag(3, 10) + 0.4, tag(3, 10) + 0.5);
        p->buche(raum, tag(5, 10) + 0.4, tag(5, 10) + 0.5);
        p->buche(raum, tag(7, 10) + 0.4, tag(7, 10) + 0.5);

        datum("");
        ctrl->mnuBearbeiten.value(40)->trigger();
        QCOMPARE(archivIni(), QStringLiteral("-"));
        QCOMPARE(archiviert(), 0);

        datum("15.03.2026");
        ctrl->mnuBearbeiten.value(40)->trigger();
        QCOMPARE(archivIni(), QStringLiteral("15.03.2026"));
        QCOMPARE(ctrl->llArchiv->text(), QStringLiteral("Archivierung bis: 15.03.2026"));
        QCOMPARE(archiviert(), 1);

        datum("15.06.2026");
        ctrl->mnuBearbeiten.value(40)->trigger();
        QCOMPARE(archivIni(), QStringLiteral("14.06.2026"));
        QCOMPARE(archiviert(), 2);

        datum("");
        ctrl->mnuBearbeiten.value(50)->trigger();
        QCOMPARE(archiviert(), 2);
        QCOMPARE(archivIni(), QStringLiteral("14.06.2026"));

        datum("01.04.2026");
        ctrl->mnuBearbeiten.value(50)->trigger();
        QCOMPARE(archiviert(), 1);
        QCOMPARE(ctrl->llArchiv->text(), QStringLiteral("Archivierung bis: 31.03.2026"));
        QCOMPARE(p->prompt.shown.size(), 0);
    }

    // A new booking in a project without rooms explains where rooms are entered.
    void neuOhneRaeumeErklaert() {
        int formen = 0;
        TovoRaumverwCtrl::ZeigeModal = [&](QDialog&) { return ++formen, 0; };
        ctrl->MainToolbar_ButtonClick("New");
        QCOMPARE(formen, 0);
        QVERIFY(p->prompt.last().text.startsWith("Es sind noch keine Räume angelegt."));
        p->raum("Raum 1", p->raumart("Seminar"));
        ctrl->MainToolbar_ButtonClick("New");
        QCOMPARE(formen, 1);
    }

    // Each master-data entry opens its window; a change in the room types refills the filter.
    void stammdatenAusDemMenue_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("fenster");
        QTest::newRow("Raumarten") << 5 << "frmRaumArt";
        QTest::newRow("Raumdaten") << 10 << "frmRaum";
        QTest::newRow("Mitarbeiter") << 20 << "frmMitarbeiter";
    }
    void stammdatenAusDemMenue() {
        QFETCH(int, index);
        QString geoeffnet;
        TovoRaumverwCtrl::ZeigeModal = [&](QDialog& d) {
            geoeffnet = d.objectName();
            if (auto* art = qobject_cast<frmRaumArt*>(&d)) {
                art->Form_Activate();
                art->edRaumArt->setText("Seminar");
                art->pbSave->click();
            }
            return int(QDialog::Accepted);
        };
        ctrl->mnuBearbeitenMenu_Click();
        QVERIFY(ctrl->mnuBearbeiten.value(index)->isEnabled());
        ctrl->mnuBearbeiten.value(index)->trigger();
        QTEST(geoeffnet, "fenster");
        QCOMPARE(ctrl->coRaumart->findText("Seminar") >= 0, index == 5);
    }
};

QTEST_MAIN(TestBefehle)
#include "tst_befehle.moc"

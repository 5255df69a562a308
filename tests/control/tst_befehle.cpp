// The master-data and archiving commands of the editing menu, driven through the control.
#include "SchreibPfad.h"
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

    // Bookings A, C and D (30 and 10 days ago, in 2 days, 9-10) are archived and brought back;
    // B is saved into C's slot while C is archived, as it could be before archived bookings kept
    // their slots. Whatever happens, no two current bookings share a slot.
    void archivOhneDoppelbelegung_data() {
        QTest::addColumn<int>("vorher");     // archived up to today + n first (0 = not)
        QTest::addColumn<bool>("mitB");      // B saved after the first archiving
        QTest::addColumn<int>("befehl");     // 40 archive, 50 restore
        QTest::addColumn<int>("bis");        // its date, today + n
        QTest::addColumn<bool>("ja");        // the answer to the question about a date ahead
        QTest::addColumn<int>("archiviert"); // afterwards
        QTest::newRow("restore, C's slot taken") << -5 << true << 50 << -40 << true << 1;
        QTest::newRow("earlier date, C's slot taken") << -5 << true << 40 << -20 << true << 2;
        QTest::newRow("earlier date, C's slot free") << -5 << false << 40 << -20 << true << 1;
        QTest::newRow("date ahead declined") << 0 << false << 40 << 5 << false << 0;
        QTest::newRow("date ahead confirmed") << 0 << false << 40 << 5 << true << 3;
    }
    void archivOhneDoppelbelegung() {
        QFETCH(int, vorher);
        QFETCH(bool, mitB);
        QFETCH(int, befehl);
        QFETCH(int, bis);
        QFETCH(bool, ja);
        QFETCH(int, archiviert);
        const double heute = TovoDate::today().value();
        const auto text = [&](int n) { return TovoDate(heute + n).toShortDateText(); };
        const int32_t raum = p->raum("Raum 1", p->raumart("Seminar"));
        const auto slot = [&](int n, double von) {
            return TestProjekt::satz(raum, heute + n + von / 24, heute + n + (von + 1) / 24);
        };
        p->buche(slot(-30, 9));
        const int32_t c = p->buche(slot(-10, 9))->Rec_ID;
        p->buche(slot(2, 9));
        if (vorher != 0) {
            datum(text(vorher));
            ctrl->mnuBearbeiten.value(40)->trigger();
        }
        if (mitB)
            p->buche(slot(-10, 9.5));
        p->prompt.clear();
        p->prompt.answer(ja ? PromptResult::Yes : PromptResult::No);
        datum(text(bis));
        ctrl->mnuBearbeiten.value(befehl)->trigger();

        QCOMPARE(this->archiviert(), archiviert);
        const bool cArchiviert =
            p->wert("SELECT bArchiviert FROM T_fm_belegung WHERE Rec_ID = ?", {c}).toInt() != 0;
        const QString gemeldet = "Folgende Reservierungen bleiben archiviert, weil ihr Raum in "
                                 "dieser Zeit inzwischen belegt ist:\r\n\r\nRaum 'Raum 1' am " +
                                 text(-10) + " von 09:00 bis 10:00, Besteller: Berg, Karl";
        QCOMPARE(p->texte().contains(gemeldet), mitB);
        if (bis > 0) {
            QCOMPARE(p->prompt.shown[0].text,
                     "Das Datum " + text(bis) +
                         " liegt in der Zukunft. Damit würde auch eine Reservierung archiviert, "
                         "die heute oder später endet.\r\n\r\nTrotzdem bis zu diesem Datum "
                         "archivieren?");
            QCOMPARE(archivIni(), ja ? text(bis) : QStringLiteral("-"));
        }

        // C's slot stays taken for new bookings, by C itself while archived.
        QVector<CBelegungRec> neu{slot(-10, 9)};
        const SchreibPfad::Ergebnis e = SchreibPfad::NeuerAuftrag(gDb, neu, 0);
        QCOMPARE(e.status, SchreibPfad::Status::Konflikt);
        QCOMPARE(SchreibPfad::KonfliktMeldung(e).contains("bis 10:00 (archiviert)\r\n"),
                 cArchiviert);
        QCOMPARE(p->wert("SELECT COUNT(*) FROM T_fm_belegung a JOIN T_fm_belegung b "
                         "ON a.rb_id = b.rb_id AND a.Rec_ID < b.Rec_ID "
                         "AND a.dt_von + a.tm_von < b.dt_bis + b.tm_bis "
                         "AND b.dt_von + b.tm_von < a.dt_bis + a.tm_bis "
                         "WHERE a.bArchiviert = 0 AND b.bArchiviert = 0")
                     .toInt(),
                 0);
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

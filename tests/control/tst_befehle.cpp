// The master-data and archiving commands of the editing menu and the entries of "Aus&wertungen",
// driven through the control: each report asks for its period in its dialog, prepares the print
// table and shows its report; a cancelled dialog shows nothing.
#include "SchreibPfad.h"
#include "SteuerungProjekt.h"
#include "TovoTextbox.h"
#include "TovoTools.h"
#include "frmDatSelect.h"
#include "frmRaumArt.h"
#include "frmVonBis.h"
#include "frmWeek.h"
#include "frmZeitraum.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QtTest>

class TestBefehle : public QObject {
    Q_OBJECT

    std::unique_ptr<SteuerungProjekt> p;
    QStringList gezeigt; // dialog classes and preview titles, in order
    // The date dialog answers with the date (or Cancel for an empty text).
    void datum(const QString& text) {
        p->modal.einmal([text](frmDatSelect& dlg) {
            if (text.isEmpty()) {
                dlg.pbCancel->click();
            } else {
                dlg.edReportDatum->setText(text);
                dlg.pbOK->click();
            }
        });
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<SteuerungProjekt>();
        QVERIFY(p->ok);
        p->ctrl.Data2Ctrl();
        gezeigt.clear();
        p->modal.immer([this](QPrintPreviewDialog& d) { gezeigt << d.windowTitle(); });
    }
    void cleanup() { p.reset(); }

    // Bookings A, C and D (30 and 10 days ago, in 2 days, 9-10) are archived and brought back;
    // B goes into C's slot after a first archiving, as it could before archived bookings kept
    // their slots. The archive date is stored (a later one minus a day), a date ahead is asked
    // first, and no two current bookings ever share a slot.
    void archivOhneDoppelbelegung_data() {
        QTest::addColumn<int>("vorlauf");    // 1: archived up to 5 days ago first, 2: and B
        QTest::addColumn<int>("befehl");     // 40 archive, 50 restore
        QTest::addColumn<int>("bis");        // its date, today + n; 0 = dialog cancelled
        QTest::addColumn<bool>("ja");        // the answer to the question about a date ahead
        QTest::addColumn<int>("archiviert"); // afterwards
        QTest::addColumn<int>("ini");        // the stored date, today + n; 0 = none
        QTest::newRow("cancelled") << 0 << 40 << 0 << true << 0 << 0;
        QTest::newRow("restore, C's slot taken") << 2 << 50 << -40 << true << 1 << -41;
        QTest::newRow("earlier date, C's slot taken") << 2 << 40 << -20 << true << 2 << -21;
        QTest::newRow("earlier date, C's slot free") << 1 << 40 << -20 << true << 1 << -21;
        QTest::newRow("date ahead declined") << 0 << 40 << 5 << false << 0 << 0;
        QTest::newRow("date ahead confirmed") << 0 << 40 << 5 << true << 3 << 5;
    }
    void archivOhneDoppelbelegung() {
        QFETCH(int, vorlauf);
        QFETCH(int, befehl);
        QFETCH(int, bis);
        QFETCH(bool, ja);
        QFETCH(int, ini);
        const double heute = TovoDate::today().value();
        const auto text = [&](int n) { return TovoDate(heute + n).toShortDateText(); };
        const int32_t raum = p->raum("Raum 1", p->raumart("Seminar"));
        const auto slot = [&](int n, double von) {
            return TestProjekt::satz(raum, heute + n + von / 24, heute + n + (von + 1) / 24);
        };
        p->buche(slot(-30, 9));
        const int32_t c = p->buche(slot(-10, 9))->Rec_ID;
        p->buche(slot(2, 9));
        if (vorlauf > 0) {
            datum(text(-5));
            p->ctrl.mnuBearbeiten.value(40)->trigger();
        }
        if (vorlauf > 1)
            p->buche(slot(-10, 9.5));
        p->prompt.clear();
        p->prompt.answer(ja ? PromptResult::Yes : PromptResult::No);
        datum(bis == 0 ? QString() : text(bis));
        p->ctrl.mnuBearbeiten.value(befehl)->trigger();

        QTEST(p->wert("SELECT COUNT(*) FROM T_fm_belegung WHERE bArchiviert <> 0").toInt(),
              "archiviert");
        QCOMPARE(CTovoTools::Instance().ReadIniValue(p->dir.filePath("TovoRaumVerw.ini"), "Archiv",
                                                     "Datum", "-"),
                 ini == 0 ? "-" : text(ini));
        QVERIFY(ini == 0 || p->ctrl.llArchiv->text().endsWith(text(ini)));
        QCOMPARE(p->texte().contains("Folgende Reservierungen bleiben archiviert, weil ihr Raum "
                                     "in dieser Zeit inzwischen belegt ist:\r\n\r\nRaum 'Raum "
                                     "1' am " +
                                     text(-10) + " von 09:00 bis 10:00, Besteller: Berg, Karl"),
                 vorlauf == 2);
        QCOMPARE(!p->texte().isEmpty() && p->texte()[0].contains("Damit würde auch eine "
                                                                 "Reservierung archiviert"),
                 bis > 0);

        // C's slot stays taken for new bookings, by C itself while archived.
        QVector<CBelegungRec> neu{slot(-10, 9)};
        const SchreibPfad::Ergebnis e = SchreibPfad::NeuerAuftrag(gDb, neu, 0);
        QCOMPARE(e.status, SchreibPfad::Status::Konflikt);
        QCOMPARE(SchreibPfad::KonfliktMeldung(e).contains("bis 10:00 (archiviert)\r\n"),
                 p->wert("SELECT bArchiviert FROM T_fm_belegung WHERE Rec_ID = ?", {c}).toInt() !=
                     0);
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
        p->ctrl.MainToolbar_ButtonClick("New"); // a form opening here fails: no step takes it
        QVERIFY(p->prompt.last().text.startsWith("Es sind noch keine Räume angelegt."));
        p->raum("Raum 1", p->raumart("Seminar"));
        p->modal.einmal([](QDialog&) {});
        p->ctrl.MainToolbar_ButtonClick("New");
        QCOMPARE(p->modal.gezeigt, QStringList{"frmAntrag"});
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
        p->modal.einmal([&](QDialog& d) {
            if (auto* art = qobject_cast<frmRaumArt*>(&d)) {
                art->Form_Activate();
                art->edRaumArt->setText("Seminar");
                art->pbSave->click();
            }
            return int(QDialog::Accepted);
        });
        p->ctrl.mnuBearbeiten.value(index)->trigger();
        QTEST(p->modal.gezeigt.join(','), "fenster");
        QCOMPARE(p->ctrl.coRaumart->findText("Seminar") >= 0, index == 5);
    }

    void reports_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("erwartet");
        const auto row = [](const char* name, int index, const char* dialog, const char* titel) {
            QStringList erwartet{QString::fromLatin1(dialog)};
            if (*titel)
                erwartet << "Druckvorschau – " + QString::fromUtf8(titel);
            QTest::newRow(name) << index << (*titel != 0) << erwartet;
        };
        row("von bis", 5, "frmVonBis", "Belegungsübersicht");
        row("Woche", 10, "frmWeek", "Belegungsübersicht");
        row("Monat", 20, "frmZeitraum", "Monats-/Jahresübersicht");
        row("Kosten", 30, "frmZeitraum", "Kostenübersicht");
        row("Auslastung", 40, "frmZeitraum", "Übersicht Auslastung");
        row("Tag nach Zeit", 200, "frmDatSelect", "Tagesübersicht nach Zeit");
        row("Tag raumweise", 300, "frmDatSelect", "Tagesübersicht raumweise");
        row("Tag nach Raumarten", 400, "frmDatSelect", "Tagesübersicht nach Raumarten");
        row("Tag abgebrochen", 200, "frmDatSelect", "");
    }
    void reports() {
        QFETCH(int, index);
        QFETCH(bool, ok);
        const int32_t raum = p->raum("Raum 1", p->raumart("Saal"));
        const double heute = TovoDate::today().value();
        p->buche(raum, heute + Uhr(9), heute + Uhr(10));
        p->modal.einmal([&](QDialog& d) {
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
        p->ctrl.mnuReport.value(index)->trigger();
        QTEST(gezeigt, "erwartet");
        QCOMPARE(p->texte(), QStringList());
        // The period around today holds the one booking.
        if (ok)
            QCOMPARE(p->wert("SELECT Kurzbez FROM t_tmp_Druck").toString(), "Raum 1");
    }

    // The pickers start on the day the plan shows, not on today.
    void pickersStartOnTheShownDay() {
        p->ctrl.ZeigeTag(TovoDate::fromParts(2027, 2, 10).value());
        QStringList start;
        p->modal.einmal([&](frmDatSelect& s) { start << s.edReportDatum->text(); })
            .einmal([&](frmWeek& w) { start << TovoDate(w.f_datVon).toShortDateText(); });
        p->ctrl.mnuReport.value(200)->trigger();
        p->ctrl.mnuReport.value(10)->trigger();
        QCOMPARE(start, (QStringList{"10.02.2027", "08.02.2027"}));
    }
};

QTEST_MAIN(TestBefehle)
#include "tst_befehle.moc"

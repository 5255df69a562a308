// Series on the reservation form: attaching one through the series dialog, saving it as one
// order, changing and deleting that order, and the conflict test date by date.
#include "AntragProjekt.h"
#include "frmSerie.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

// The series dialog as the user fills it: every Monday, `termine` dates; 0 cancels.
void Wochenserie(frmAntrag& form, int termine) {
    frmAntrag::ZeigeSerie = [termine](QDialog& d) {
        auto& dlg = static_cast<frmSerie&>(d);
        dlg.Form_Activate();
        dlg.obWeekly->setChecked(true);
        dlg.obEndeNach->setChecked(true);
        dlg.edAnzTerm->setText(QString::number(termine));
        termine > 0 ? dlg.pbOk_Click() : dlg.pbCancel_Click();
        return dlg.result();
    };
    form.pbSerie_Click();
}

} // namespace

class TestFrmAntragSerie : public QObject {
    Q_OBJECT

    // A new reservation on Monday 16.03.2026, 10:00 to 12:00, with an orderer.
    static void neuImRaum(AntragProjekt& p, frmAntrag& form, int32_t raum) {
        form.NeuerAntragImRaum(raum, Tag(0) + Uhr(10));
        p.oeffne(form);
        form.tfTm_bis->setText(QStringLiteral("12:00"));
        form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        p.prompt.clear();
    }

private Q_SLOTS:
    void attachingAndCancelling_data() {
        QTest::addColumn<QList<int>>("gefuellt"); // set-up/clear-down rows holding a date
        QTest::newRow("none") << QList<int>{};
        QTest::newRow("clear-down end") << QList<int>{3};
        QTest::newRow("all four") << QList<int>{0, 1, 2, 3};
    }
    void attachingAndCancelling() {
        QFETCH(QList<int>, gefuellt);
        AntragProjekt p;
        frmAntrag form;
        neuImRaum(p, form, p.raumA);
        for (int i : gefuellt)
            form.tfdt[i]->setText(TagText(0));
        form.SetGeaendert(false);

        Wochenserie(form, 4);
        QCOMPARE(p.texte(), QStringList(gefuellt.size(), "Bei Serien sind keine Um- und Rückbauten "
                                                         "möglich--> werden zurückgesetzt!"));
        QCOMPARE(form.edSerie->text(), QStringLiteral("Alle 1 Wochen, am Montag"));
        QCOMPARE(form.tfDt_bis->text(), TagText(21));
        QVERIFY(form.Serie() && form.Geaendert());
        for (int i = 0; i < 4; ++i)
            QVERIFY(form.tfdt[i]->text().isEmpty() && !form.tfdt[i]->isEnabled() &&
                    !form.tftm[i]->isEnabled() && !form.pbDatum[i + 2]->isEnabled());
        QVERIFY(!form.pbBauVor[1]->isEnabled() && !form.pbSetBack[0]->isEnabled());

        Wochenserie(form, 0);
        QVERIFY(!form.Serie() && form.edSerie->text().isEmpty());
        QVERIFY(form.tfdt[0]->isEnabled() && form.pbSetBack[1]->isEnabled());
    }

    // The form goes on with the order it saved, or the order is opened anew.
    void savingChangingDeleting_data() {
        QTest::addColumn<bool>("neuGeoeffnet");
        QTest::newRow("same form") << false;
        QTest::newRow("order opened anew") << true;
    }
    void savingChangingDeleting() {
        QFETCH(bool, neuGeoeffnet);
        AntragProjekt p;
        auto fremd = p.buche(p.satz(p.raumA, 0, Uhr(10), Uhr(12), 900));
        auto form = std::make_unique<frmAntrag>();
        neuImRaum(p, *form, p.raumB);
        Wochenserie(*form, 4);
        form->pbSave_Click();
        const QString zaehler = QStringLiteral("SELECT lNextNr FROM T_NextNr");
        QCOMPARE(p.wert("SELECT COUNT(*) FROM T_fm_belegung WHERE lAuftrNr = 1").toInt(), 4);
        QCOMPARE(p.wert(zaehler).toInt(), 2);
        QCOMPARE(form->frTermin->title(), QStringLiteral("4 Termine vom"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Antrag  1"));
        QCOMPARE(form->f_BelegListe->Count(), 4);
        QList<int32_t> keys;
        for (const CBelegungRec* b : *form->f_BelegListe)
            keys << b->Rec_ID;

        if (neuGeoeffnet) {
            auto auftrag = std::make_shared<CBelegungRecColl>();
            QVERIFY(p.db.ReadAuftrag2Coll(1, auftrag.get()));
            form = std::make_unique<frmAntrag>();
            form->OeffneAuftrag(auftrag);
            p.oeffne(*form);
        }
        p.prompt.clear();
        form->tfTm_von->setText(QStringLiteral("9:00"));
        form->tfTm_von_LostFocus(); // its own bookings are no conflict
        form->pbSave_Click();
        QCOMPARE(p.texte(), QStringList{"Die aktuelle Raumreservierung wurde gespeichert!"});
        QCOMPARE(p.anzahlBelegungen(), 5);
        QCOMPARE(p.wert(zaehler).toInt(), 2);
        for (int w = 0; w < 4; ++w) {
            const CBelegungRec b = p.lies(keys[w]);
            QCOMPARE(std::tuple(b.lAuftrNr, b.dt_von, b.tm_von, b.tm_bis, b.rb_id),
                     std::tuple(1, Tag(7 * w), Uhr(9), Uhr(12), p.raumB));
        }

        form->pbDelete_Click();
        QCOMPARE(p.anzahlBelegungen(), 1);
        QCOMPARE(p.lies(fremd->Rec_ID).lAuftrNr, 900);
    }

    // Room A is booked once; the series runs every Monday from 16.03. for four weeks, 10-12.
    void everyDateIsTested_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<double>("von");
        QTest::addColumn<QString>("konflikt"); // date in the message, "" = none
        QTest::newRow("third Monday") << 14 << Uhr(10, 30) << TagText(14);
        QTest::newRow("last Monday, a minute before noon") << 21 << Uhr(11, 59) << TagText(21);
        QTest::newRow("third Monday from noon") << 14 << Uhr(12) << QString();
        QTest::newRow("a Tuesday between") << 8 << Uhr(10) << QString();
    }
    void everyDateIsTested() {
        QFETCH(int, tag);
        QFETCH(double, von);
        QFETCH(QString, konflikt);
        AntragProjekt p;
        p.buche(p.satz(p.raumA, tag, von, von + Uhr(1), 900));
        frmAntrag form;
        neuImRaum(p, form, p.raumA);
        Wochenserie(form, 4);

        // The free-room search over every date keeps room A when it is free on all of them.
        QCOMPARE(form.coFreeRooms->count(), konflikt.isEmpty() ? 2 : 1);
        QCOMPARE(form.RaumTag(), QString::number(konflikt.isEmpty() ? p.raumA : p.raumB));
        if (konflikt.isEmpty()) {
            QCOMPARE(p.texte(), QStringList());
            return;
        }
        QCOMPARE(p.prompt.shown.size(), 1);
        QCOMPARE(p.prompt.last().title, QStringLiteral("Terminänderung"));
        QCOMPARE(p.prompt.last().text,
                 "Es gibt einen Belegungskonflikt bei folgenden Daten:\r\n\r\nRaum: 'Raum A' am " +
                     konflikt +
                     ". \r\n\r\nWenn möglich, wurde vom Programm auf einen anderen Raum dieser "
                     "Raumart umgeschaltet.");
    }
};

QTEST_MAIN(TestFrmAntragSerie)
#include "tst_frmantrag_serie.moc"

// The reservation form's mask: a booking into the controls and back, the equipment text, the
// company and person boxes, taking over a chosen room, and the quote filter.
#include "AntragProjekt.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class TestFrmAntragMaske : public QObject {
    Q_OBJECT

    // Opens a form on the booking after storing it.
    static std::shared_ptr<CBelegungRec> oeffneBelegung(AntragProjekt& p, frmAntrag& form,
                                                        const CBelegungRec& satz) {
        auto rec = p.buche(satz);
        form.OeffneBelegung(rec);
        p.oeffne(form);
        return rec;
    }

    static QList<int> angehakt(const frmAntrag& form) {
        QList<int> an;
        for (int i = 1; i <= 12; ++i)
            if (form.Check2[i]->isChecked())
                an << i;
        return an;
    }

private Q_SLOTS:
    void roundTripKeepsParticulars() {
        AntragProjekt p;
        QVERIFY(p.ok);
        CBelegungRec s = p.satz(p.raumA, 2, Uhr(9), Uhr(11, 30));
        s.lFirma1 = p.firma;
        s.Inst = QStringLiteral("Stadtwerke");
        s.lPerson1 = p.karl;
        s.Best = QStringLiteral("Berg, Karl");
        s.stFirma2 = QStringLiteral("Kämmerei");
        s.stPerson2 = QStringLiteral("Frau Roth");
        s.Tel = QStringLiteral("0351 99");
        s.Fax = QStringLiteral("0351 98");
        s.KST = QStringLiteral("K 12");
        s.Pers = QStringLiteral("25");
        s.Bem = QStringLiteral("mit Imbiss");
        s.STEMAIL = QStringLiteral("k.berg@example.org");
        s.Austbem = QStringLiteral("Kaffee");
        s.UmbBereit = QStringLiteral("Moderationskoffer");
        s.UmbBem = QStringLiteral("Garderobe");
        s.IPTISCHE = 6;
        s.Miete = Currency::fromDouble(1234.5);
        s.Technik = Currency::fromDouble(80);
        s.Udt_von = Tag(2);
        s.Utm_von = Uhr(8);
        s.Udt_bis = Tag(2);
        s.Utm_bis = Uhr(8, 30);
        s.Rtm_von = TovoDate::kNoDate; // as a null column reads
        s.bEMail = true;
        s.stSerieBem = QStringLiteral("jede Woche");
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, s);

        QCOMPARE(form.windowTitle(), QStringLiteral("Antrag  500"));
        QCOMPARE(form.frTermin->title(), QStringLiteral("1 Termin vom"));
        QCOMPARE(form.tfDt_von->text(), TagText(2));
        QCOMPARE(form.tfTm_bis->text(), QStringLiteral("11:30"));
        QCOMPARE(form.coFirma[0]->currentText(), QStringLiteral("Stadtwerke"));
        QCOMPARE(form.coPerson[0]->currentText(), QStringLiteral("Berg, Karl"));
        QCOMPARE(form.coPerson[0]->currentData().toInt(), p.karl);
        QCOMPARE(form.coFirma[1]->currentText(), QStringLiteral("Kämmerei"));
        QCOMPARE(form.tfMiete->text(), QStringLiteral("1.234,50"));
        QCOMPARE(form.tfTechnik->text(), QStringLiteral("80,00"));
        QCOMPARE(form.tftm[0]->text(), QStringLiteral("08:00"));
        QCOMPARE(form.tfdt[2]->text(), QString());
        QCOMPARE(form.tftm[2]->text(), QString()); // no clear-down time
        QCOMPARE(form.tftm[3]->text(), QStringLiteral("00:00"));
        QCOMPARE(form.tfUmbAufwand->Value(), 0.5); // computed from the set-up span
        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("Raum A"));
        QCOMPARE(form.coRaumart->currentData().toInt(), p.typ);
        QVERIFY(!form.Geaendert());

        CBelegungRec zurueck(*rec);
        form.Write2Rec(zurueck);
        QCOMPARE(zurueck.rb_id, p.raumA);
        QCOMPARE(zurueck.dt_von, Tag(2));
        QCOMPARE(zurueck.tm_bis, Uhr(11, 30));
        QCOMPARE(zurueck.lFirma1, p.firma);
        QCOMPARE(zurueck.lPerson1, p.karl);
        QCOMPARE(zurueck.stFirma2, s.stFirma2);
        QCOMPARE(zurueck.stPerson2, s.stPerson2);
        for (auto [ist, soll] : {std::pair{zurueck.Tel, s.Tel},
                                 {zurueck.Fax, s.Fax},
                                 {zurueck.KST, s.KST},
                                 {zurueck.Pers, s.Pers},
                                 {zurueck.Verst, s.Verst},
                                 {zurueck.Bem, s.Bem},
                                 {zurueck.STEMAIL, s.STEMAIL},
                                 {zurueck.Austbem, s.Austbem},
                                 {zurueck.UmbBereit, s.UmbBereit},
                                 {zurueck.UmbBem, s.UmbBem},
                                 {zurueck.stSerieBem, s.stSerieBem}})
            QCOMPARE(ist, soll);
        QCOMPARE(zurueck.IPTISCHE, int16_t(6));
        QCOMPARE(zurueck.Miete, s.Miete);
        QCOMPARE(zurueck.Technik, s.Technik);
        QCOMPARE(zurueck.Utm_bis, Uhr(8, 30));
        QCOMPARE(zurueck.Rdt_von, TovoDate::kNoDate);
        QVERIFY(zurueck.bEMail);
    }

    void textsAreTrimmedOnWriting() {
        AntragProjekt p;
        frmAntrag form;
        oeffneBelegung(p, form, p.satz(p.raumA, 0, Uhr(9), Uhr(10)));
        form.tfTel->setText(QStringLiteral("  0351 1 "));
        form.tfVerst->setText(QStringLiteral("  Rat  "));
        form.tfAustBem->setText(QStringLiteral(" Beamer "));
        CBelegungRec r;
        form.Write2Rec(r);
        QCOMPARE(r.Tel, QStringLiteral("0351 1"));       // both sides
        QCOMPARE(r.Verst, QStringLiteral("  Rat"));      // trailing blanks only
        QCOMPARE(r.Austbem, QStringLiteral(" Beamer ")); // as typed
    }

    void orderDates_data() {
        QTest::addColumn<double>("erst");
        QTest::addColumn<double>("korrektur");
        QTest::addColumn<QString>("erstText");
        QTest::addColumn<QString>("korrText");
        QTest::addColumn<bool>("erstBleibt");
        QTest::newRow("ordered, corrected")
            << Tag(-10) << Tag(-3) << TagText(-10) << TagText(-3) << true;
        QTest::newRow("null dates") << 0.0 << 0.0 << QString() << QString() << false;
        QTest::newRow("never ordered")
            << TovoDate::kNoDate << TovoDate::kNoDate << QString() << QString() << false;
    }
    void orderDates() {
        QFETCH(double, erst);
        QFETCH(double, korrektur);
        AntragProjekt p;
        CBelegungRec s = p.satz(p.raumA, 0, Uhr(9), Uhr(10));
        s.datErstBestellung = erst;
        s.datKorrektur = korrektur;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, s);
        QTEST(form.tfdatErst->text(), "erstText");
        QTEST(form.tfDatKorr->text(), "korrText");

        const double vorher = TovoDate::now().value();
        form.Write2Rec(*rec);
        QVERIFY(rec->datBestellung >= vorher - 1.0 / 86400);
        QCOMPARE(rec->datKorrektur, TovoDate::kNoDate);
        if (QTest::currentDataTag() == QLatin1String("ordered, corrected"))
            QCOMPARE(rec->datErstBestellung, erst);
        else
            QCOMPARE(rec->datErstBestellung, rec->datBestellung);
    }

    void equipmentBits_data() {
        QTest::addColumn<int>("aust");
        QTest::addColumn<QList<int>>("boxen");
        QTest::newRow("Whiteboard and Großbildschirm") << 1025 << QList<int>{1, 11};
        QTest::newRow("none") << 0 << QList<int>{};
        QTest::newRow("Smartboard only") << 2048 << QList<int>{12};
        QTest::newRow("all") << 4095 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    }
    void equipmentBits() {
        QFETCH(int, aust);
        QFETCH(QList<int>, boxen);
        AntragProjekt p;
        CBelegungRec s = p.satz(p.raumB, 0, Uhr(9), Uhr(10));
        s.Aust = aust;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, s);
        QCOMPARE(angehakt(form), boxen);
        rec->Aust = -1;
        form.Write2Rec(*rec);
        QCOMPARE(rec->Aust, aust);
    }

    void chairArrangement_data() {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("geschrieben");
        QTest::newRow("(II) is Kino") << "(II)" << 1 << "K";
        QTest::newRow("(K)") << "(K)" << 1 << "K";
        QTest::newRow("empty leaves it") << "" << 0 << "";
        QTest::newRow("(-)") << "(-)" << 0 << "";
        QTest::newRow("U") << "U" << 2 << "U";
        QTest::newRow("(O)") << "(O)" << 3 << "O";
        QTest::newRow("unknown selects none") << "X" << -1 << "X";
    }
    void chairArrangement() {
        QFETCH(QString, gespeichert);
        QFETCH(int, knopf);
        AntragProjekt p;
        CBelegungRec s = p.satz(p.raumA, 0, Uhr(9), Uhr(10));
        s.STSTUHLANORDNUNG = gespeichert;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, s);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(form.rbStuhlan[i]->isChecked(), i == knopf);
        form.Write2Rec(*rec);
        QTEST(rec->STSTUHLANORDNUNG, "geschrieben");
    }

    void emptySetupBoxesKeepTheBookingsValues() {
        AntragProjekt p;
        CBelegungRec s = p.satz(p.raumA, 1, Uhr(9), Uhr(10));
        s.Rdt_von = Tag(1);
        s.Rtm_von = Uhr(10);
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, s);
        form.tfdt[2]->clear();
        form.tftm[2]->clear();
        form.Write2Rec(*rec);
        QCOMPARE(rec->Rdt_von, Tag(1));
        QCOMPARE(rec->Rtm_von, Uhr(10));

        // A new reservation keeps the defaults of a new booking.
        frmAntrag neu;
        neu.NeuerAntragImRaum(p.raumA, Tag(3) + Uhr(14));
        p.oeffne(neu);
        QCOMPARE(neu.frTermin->title(), QStringLiteral("Neuer Termin von"));
        QCOMPARE(neu.tftm[1]->text(), QStringLiteral("00:00"));
        std::shared_ptr<CBelegungRec> leer;
        neu.Write2Rec(leer);
        QVERIFY(leer);
        QCOMPARE(leer->Udt_von, TovoDate::kNoDate);
        QCOMPARE(leer->Rdt_bis, TovoDate::kNoDate);
        QCOMPARE(leer->dt_von, Tag(3));
        QCOMPARE(leer->tm_bis, Uhr(15));
        QCOMPARE(leer->rb_id, p.raumA);
    }

    void orderInTwoRoomsWritesNoRoom() {
        AntragProjekt p;
        auto erste = p.buche(p.satz(p.raumA, 0, Uhr(9), Uhr(10), 700));
        auto zweite = p.buche(p.satz(p.raumB, 7, Uhr(9), Uhr(10), 700));
        auto auftrag = std::make_shared<CBelegungRecColl>();
        QVERIFY(p.db.ReadAuftrag2Coll(700, auftrag.get()));
        frmAntrag form;
        form.OeffneAuftrag(auftrag);
        p.oeffne(form);

        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("(Mehrere)"));
        QCOMPARE(form.RaumTag(), QStringLiteral("0"));
        QVERIFY(form.coFreeRooms->isHidden());
        QCOMPARE(form.frTermin->title(), QStringLiteral("2 Termine vom"));
        QCOMPARE(form.tfDt_von->text(), TagText(0));
        QCOMPARE(form.tfDt_bis->text(), TagText(7));
        QVERIFY(!form.tfdt[0]->isEnabled());
        QVERIFY(!form.pbBauVor[1]->isEnabled());

        CBelegungRec r(*erste);
        form.Write2Rec(r);
        QCOMPARE(r.rb_id, 0);

        // A room chosen from the free rooms applies to all.
        const int b = form.coFreeRooms->findData(p.raumB);
        QVERIFY(b >= 0);
        form.coFreeRooms->setCurrentIndex(b);
        form.coFreeRooms_Click();
        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("(Mehrere)"));
        form.Write2Rec(r);
        QCOMPARE(r.rb_id, p.raumB);
    }

    void equipmentText_data() {
        QTest::addColumn<QList<int>>("boxen");
        QTest::addColumn<QString>("sonstiges");
        QTest::addColumn<int>("stuhl");
        QTest::addColumn<QString>("tische");
        QTest::addColumn<QString>("text");
        QTest::newRow("example") << QList<int>{1, 7} << "Kaffee" << 1 << "4"
                                 << "Whiteboard, Leinwand, Sonstiges:Kaffee, Stuhlanordnung:Kino, "
                                    "Beteiligtentische: 4";
        QTest::newRow("nothing") << QList<int>{} << "" << -1 << ""
                                 << ", Beteiligtentische: ";
        QTest::newRow("names differ from captions")
            << QList<int>{3, 11} << "  " << 0 << "2"
            << "Laptop, Grossbildschirm, Stuhlanordnung:belassen, Beteiligtentische: 2";
        QTest::newRow("only arrangement") << QList<int>{} << "" << 3 << "0"
                                          << "Stuhlanordnung:Ring-Form, Beteiligtentische: 0";
        QTest::newRow("theater") << QList<int>{12} << " Tee " << 2 << ""
                                 << "Smartboard, Sonstiges:Tee, Stuhlanordnung:U-Form, "
                                    "Beteiligtentische: ";
    }
    void equipmentText() {
        QFETCH(QList<int>, boxen);
        QFETCH(QString, sonstiges);
        QFETCH(int, stuhl);
        QFETCH(QString, tische);
        AntragProjekt p;
        CBelegungRec s = p.satz(p.raumA, 0, Uhr(9), Uhr(10));
        s.STSTUHLANORDNUNG = QStringLiteral("X"); // nothing selected
        frmAntrag form;
        oeffneBelegung(p, form, s);
        for (int i : boxen)
            form.Check2[i]->setChecked(true);
        form.tfAustBem->setText(sonstiges);
        if (stuhl >= 0)
            form.rbStuhlan[stuhl]->setChecked(true);
        form.tfBeteiligtentische->setText(tische);
        QTEST(form.GetAusstattung(), "text");
    }

    void companyAndPersonBoxes() {
        AntragProjekt p;
        frmAntrag form;
        oeffneBelegung(p, form, p.satz(p.raumA, 0, Uhr(9), Uhr(10)));
        QCOMPARE(form.coFirma[0]->count(), 1);
        QCOMPARE(form.coFirma[1]->count(), 1);

        form.coFirma[0]->setCurrentIndex(0);
        form.coFirma_Click(0);
        QCOMPARE(form.coPerson[0]->count(), 2);
        const int anna = form.coPerson[0]->findData(p.anna);
        QCOMPARE(form.coPerson[0]->itemText(anna), QStringLiteral("ONeill, Anna"));
        QCOMPARE(form.coPerson[1]->count(), 0);

        form.tfKst->setText(QStringLiteral("alt"));
        form.coPerson[0]->setCurrentIndex(anna);
        form.coPerson_Click(0);
        QCOMPARE(form.tfTel->text(), QStringLiteral("0351 1234"));
        QCOMPARE(form.tfFax->text(), QStringLiteral("0351 1235"));
        QCOMPARE(form.edEMail->text(), QStringLiteral("anna@stadtwerke.de"));
        QCOMPARE(form.tfKst->text(), QStringLiteral("4711"));

        // Karl has no cost centre: the box keeps its text.
        form.coPerson[0]->setCurrentIndex(form.coPerson[0]->findData(p.karl));
        form.coPerson_Click(0);
        QCOMPARE(form.tfKst->text(), QStringLiteral("4711"));
        QCOMPARE(form.tfTel->text(), QString());

        CBelegungRec r;
        r.lFirma1 = 99;
        form.Write2Rec(r);
        QCOMPARE(r.lFirma1, p.firma);
        QCOMPARE(r.lPerson1, p.karl);
        QCOMPARE(r.Best, QStringLiteral("Berg, Karl"));

        // A typed name is stored as text; the ids stay as they were.
        form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        r.lPerson1 = 42;
        form.Write2Rec(r);
        QCOMPARE(r.Best, QStringLiteral("Gast"));
        QCOMPARE(r.lPerson1, 42);
    }

    void chosenRoomSetsEquipmentAndSeating_data() {
        QTest::addColumn<QString>("ausstattung");
        QTest::addColumn<QString>("stuhl");
        QTest::addColumn<QList<int>>("boxen");
        QTest::addColumn<QList<bool>>("anordnungen"); // K, U, O
        QTest::newRow("W P B, all arrangements")
            << "WPB"
            << "UOK" << QList<int>{1, 2, 12} << QList<bool>{true, true, true};
        QTest::newRow("unknown arrangement")
            << "GS"
            << "X" << QList<int>{10, 11} << QList<bool>{false, false, false};
        QTest::newRow("two arrangements") << ""
                                          << "OU" << QList<int>{} << QList<bool>{false, true, true};
        QTest::newRow("doubled letter")
            << "C"
            << "KK" << QList<int>{3} << QList<bool>{false, false, false};
    }
    void chosenRoomSetsEquipmentAndSeating() {
        QFETCH(QString, ausstattung);
        QFETCH(QString, stuhl);
        QFETCH(QList<int>, boxen);
        QFETCH(QList<bool>, anordnungen);
        AntragProjekt p;
        const int32_t saal = p.raum(QStringLiteral("Aula"), ausstattung, stuhl, 120, 8, 2);
        frmAntrag form;
        form.NeuerAntragImRaum(p.raumA, Tag(4) + Uhr(10));
        p.oeffne(form);
        form.coFreeRooms->setCurrentIndex(form.coFreeRooms->findData(saal));
        form.coFreeRooms_Click();

        QCOMPARE(form.lbUsedRoom->text(), QStringLiteral("Aula"));
        QCOMPARE(form.RaumTag(), QString::number(saal));
        QList<int> frei;
        for (int i = 1; i <= 12; ++i)
            if (form.Check2[i]->isEnabled())
                frei << i;
        QCOMPARE(frei, boxen);
        QVERIFY(form.rbStuhlan[0]->isEnabled());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(form.rbStuhlan[i + 1]->isEnabled(), anordnungen[i]);
        QCOMPARE(form.lbMaxAnz->text(), QStringLiteral("max.: 120"));
        QCOMPARE(form.lbBettischInfos->text(), QStringLiteral("Fest eingebaut: 2 Maximal: 8"));
    }

    void quotesBeepAndAreNotTyped_data() {
        QTest::addColumn<QString>("box");
        for (const char* name : {"tfBem", "tfVerst", "tfTel", "edEMail", "coFirma_0", "coPerson_1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void quotesBeepAndAreNotTyped() {
        QFETCH(QString, box);
        AntragProjekt p;
        frmAntrag form;
        auto* widget = form.findChild<QWidget*>(box);
        QVERIFY(widget);
        QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            edit = combo->lineEdit();
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("a\"b'c"));
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QCOMPARE(p.prompt.beeps, 2);
    }
};

QTEST_MAIN(TestFrmAntragMaske)
#include "tst_frmantrag_maske.moc"

// The reservation form's mask and checks: a booking into the controls and back, the equipment
// text, the company and person boxes, taking over a chosen room, the quote filter, and the
// checks as the user types and leaves the date boxes; the printed documents and the form's size.
#include "AntragProjekt.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>

using Zahlen = QList<int>;

class TestFrmAntragMaske : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    std::unique_ptr<frmAntrag> form;
    QStringList vorschau; // titles of the previews shown

private Q_SLOTS:
    void init() {
        p = std::make_unique<AntragProjekt>();
        QVERIFY(p->ok);
        form = std::make_unique<frmAntrag>();
        vorschau.clear();
        p->modal.immer([this](QPrintPreviewDialog& d) { vorschau << d.windowTitle(); });
    }
    void cleanup() {
        form.reset();
        p.reset();
    }

    void roundTripKeepsParticulars() {
        CBelegungRec s = p->satz(p->raumA, Tag(2, 9), Tag(2, 11.5));
        s.lFirma1 = p->firma;
        s.Inst = QStringLiteral("Stadtwerke");
        s.lPerson1 = p->karl;
        s.stFirma2 = QStringLiteral("Kämmerei");
        s.stPerson2 = QStringLiteral("Frau Roth");
        s.Tel = QStringLiteral(" 0351 99 ");
        s.Fax = QStringLiteral("0351 98");
        s.KST = QStringLiteral("K 12");
        s.Pers = QStringLiteral("25");
        s.Verst = QStringLiteral("  Rat  ");
        s.Bem = QStringLiteral("mit Imbiss");
        s.STEMAIL = QStringLiteral("k.berg@example.org");
        s.Austbem = QStringLiteral(" Kaffee ");
        s.UmbBereit = QStringLiteral("Moderationskoffer");
        s.UmbBem = QStringLiteral("Garderobe");
        s.IPTISCHE = 6;
        s.Miete = Currency::fromDouble(1234.5);
        s.Technik = Currency::fromDouble(80);
        s.Udt_von = s.Udt_bis = Tag(2);
        s.Utm_von = Uhr(8);
        s.Utm_bis = Uhr(8, 30);
        s.Rtm_von = TovoDate::kNoDate; // as a null column reads
        s.bEMail = true;
        s.stSerieBem = QStringLiteral("jede Woche");
        auto rec = p->oeffne(*form, s);

        QCOMPARE(form->windowTitle(), QStringLiteral("Antrag  500"));
        QCOMPARE(form->coPerson[0]->currentData().toInt(), p->karl);
        const QStringList texte{form->tfDt_von->text(),          form->tfTm_bis->text(),
                                form->coFirma[0]->currentText(), form->coFirma[1]->currentText(),
                                form->tfMiete->text(),           form->tfTechnik->text(),
                                form->tftm[0]->text(),           form->tfdt[2]->text(),
                                form->tftm[2]->text(),           form->tftm[3]->text(),
                                form->lbUsedRoom->text()};
        QCOMPARE(texte, (QStringList{TagText(2), "11:30", "Stadtwerke", "Kämmerei", "1.234,50",
                                     "80,00", "08:00", "", "", "00:00", "Raum A"}));
        QCOMPARE(form->coRaumart->currentData().toInt(), p->typ);
        QVERIFY(!form->Geaendert());

        // Back into the record: texts lose their trailing blanks (the phone number both sides,
        // the equipment note none), the set-up effort is computed from the set-up span, and the
        // order dates are those of a new order.
        CBelegungRec zurueck(*rec);
        form->Write2Rec(zurueck);
        CBelegungRec erwartet(*rec);
        erwartet.Tel = QStringLiteral("0351 99");
        erwartet.Verst = QStringLiteral("  Rat");
        erwartet.UmbAufwand = 0.5;
        erwartet.datBestellung = zurueck.datBestellung;
        QCOMPARE(Felder(zurueck), Felder(erwartet));
    }

    void orderDates_data() {
        QTest::addColumn<double>("erst");
        QTest::addColumn<double>("korrektur");
        QTest::addColumn<QString>("erstText");
        QTest::addColumn<QString>("korrText");
        QTest::newRow("ordered, corrected") << Tag(-10) << Tag(-3) << TagText(-10) << TagText(-3);
        QTest::newRow("null dates") << 0.0 << 0.0 << QString() << QString();
        QTest::newRow("never ordered")
            << TovoDate::kNoDate << TovoDate::kNoDate << QString() << QString();
    }
    void orderDates() {
        QFETCH(double, erst);
        QFETCH(double, korrektur);
        CBelegungRec s = p->satz(p->raumA, Tag(0, 9), Tag(0, 10));
        s.datErstBestellung = erst;
        s.datKorrektur = korrektur;
        auto rec = p->oeffne(*form, s);
        QTEST(form->tfdatErst->text(), "erstText");
        QTEST(form->tfDatKorr->text(), "korrText");

        const double vorher = TovoDate::now().value();
        form->Write2Rec(*rec);
        QVERIFY(rec->datBestellung >= vorher - 1.0 / 86400);
        QCOMPARE(rec->datKorrektur, TovoDate::kNoDate);
        QCOMPARE(rec->datErstBestellung, erst == Tag(-10) ? erst : rec->datBestellung);
    }

    // The equipment bits tick boxes 1 to 12; the stored chair arrangement selects one of
    // "belassen", Kino, U-Form, Ring-Form. Both are written back.
    void equipmentAndChairs_data() {
        QTest::addColumn<int>("aust");
        QTest::addColumn<Zahlen>("boxen");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("geschrieben");
        QTest::newRow("1025, (II) is Kino") << 1025 << Zahlen{1, 11} << "(II)" << 1 << "K";
        QTest::newRow("none, empty leaves it") << 0 << Zahlen{} << "" << 0 << "";
        QTest::newRow("Smartboard only, (K)") << 2048 << Zahlen{12} << "(K)" << 1 << "K";
        QTest::newRow("all, U") << 4095 << Zahlen{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << "U" << 2
                                << "U";
        QTest::newRow("(-)") << 0 << Zahlen{} << "(-)" << 0 << "";
        QTest::newRow("(O)") << 0 << Zahlen{} << "(O)" << 3 << "O";
        QTest::newRow("unknown selects none") << 0 << Zahlen{} << "X" << -1 << "X";
    }
    void equipmentAndChairs() {
        QFETCH(int, aust);
        QFETCH(QString, gespeichert);
        QFETCH(int, knopf);
        CBelegungRec s = p->satz(p->raumB, Tag(0, 9), Tag(0, 10));
        s.Aust = aust;
        s.STSTUHLANORDNUNG = gespeichert;
        auto rec = p->oeffne(*form, s);
        Zahlen an;
        for (int i = 1; i <= 12; ++i)
            if (form->Check2[i]->isChecked())
                an << i;
        QTEST(an, "boxen");
        for (int i = 0; i < 4; ++i)
            QCOMPARE(form->rbStuhlan[i]->isChecked(), i == knopf);
        rec->Aust = -1;
        form->Write2Rec(*rec);
        QCOMPARE(rec->Aust, aust);
        QTEST(rec->STSTUHLANORDNUNG, "geschrieben");
    }

    void emptySetupBoxesKeepTheBookingsValues() {
        CBelegungRec s = p->satz(p->raumA, Tag(1, 9), Tag(1, 10));
        s.Rdt_von = Tag(1);
        s.Rtm_von = Uhr(10);
        auto rec = p->oeffne(*form, s);
        form->tfdt[2]->clear();
        form->tftm[2]->clear();
        form->Write2Rec(*rec);
        QCOMPARE(rec->Rdt_von, Tag(1));
        QCOMPARE(rec->Rtm_von, Uhr(10));

        // A new reservation keeps the defaults of a new booking.
        frmAntrag neu;
        p->neu(neu, p->raumA, Tag(3, 14));
        QCOMPARE(neu.frTermin->title(), QStringLiteral("Neuer Termin von"));
        QCOMPARE(neu.tftm[1]->text(), QStringLiteral("00:00"));
        std::shared_ptr<CBelegungRec> leer;
        neu.Write2Rec(leer);
        QVERIFY(leer);
        QCOMPARE(std::tuple(leer->Udt_von, leer->Rdt_bis, leer->dt_von, leer->tm_bis, leer->rb_id),
                 std::tuple(TovoDate::kNoDate, TovoDate::kNoDate, Tag(3), Uhr(15), p->raumA));
    }

    void orderInTwoRoomsWritesNoRoom() {
        auto erste = p->buche(p->satz(p->raumA, Tag(0, 9), Tag(0, 10), 700));
        p->buche(p->raumB, Tag(7, 9), Tag(7, 10), 700);
        auto auftrag = std::make_shared<CBelegungRecColl>();
        QVERIFY(p->db.ReadAuftrag2Coll(700, auftrag.get()));
        form->OeffneAuftrag(auftrag);
        p->oeffne(*form);

        QCOMPARE(form->lbUsedRoom->text(), QStringLiteral("(Mehrere)"));
        QCOMPARE(form->RaumTag(), QStringLiteral("0"));
        QVERIFY(form->coFreeRooms->isHidden());
        QCOMPARE(form->frTermin->title(), QStringLiteral("2 Termine vom"));
        QCOMPARE(form->tfDt_von->text(), TagText(0));
        QCOMPARE(form->tfDt_bis->text(), TagText(7));
        QVERIFY(!form->tfdt[0]->isEnabled() && !form->pbBauVor[1]->isEnabled());

        CBelegungRec r(*erste);
        form->Write2Rec(r);
        QCOMPARE(r.rb_id, 0);

        // A room chosen from the free rooms applies to all.
        form->coFreeRooms->setCurrentIndex(form->coFreeRooms->findData(p->raumB));
        form->coFreeRooms_Click();
        QCOMPARE(form->lbUsedRoom->text(), QStringLiteral("(Mehrere)"));
        form->Write2Rec(r);
        QCOMPARE(r.rb_id, p->raumB);
    }

    void equipmentText_data() {
        QTest::addColumn<Zahlen>("boxen");
        QTest::addColumn<QString>("sonstiges");
        QTest::addColumn<int>("stuhl");
        QTest::addColumn<QString>("tische");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, Zahlen boxen, const char* sonstiges, int stuhl,
                      const char* tische, const char* text) {
            QTest::newRow(name) << boxen << QString::fromUtf8(sonstiges) << stuhl << QString(tische)
                                << QString::fromUtf8(text);
        };
        row("example", {1, 7}, "Kaffee", 1, "4",
            "Whiteboard, Leinwand, Sonstiges:Kaffee, Stuhlanordnung:Kino, Beteiligtentische: 4");
        row("nothing", {}, "", -1, "", ", Beteiligtentische: ");
        row("names differ from captions", {3, 11}, "  ", 0, "2",
            "Laptop, Grossbildschirm, Stuhlanordnung:belassen, Beteiligtentische: 2");
        row("only arrangement", {}, "", 3, "0", "Stuhlanordnung:Ring-Form, Beteiligtentische: 0");
        row("theater", {12}, " Tee ", 2, "",
            "Smartboard, Sonstiges:Tee, Stuhlanordnung:U-Form, Beteiligtentische: ");
    }
    void equipmentText() {
        QFETCH(Zahlen, boxen);
        QFETCH(QString, sonstiges);
        QFETCH(int, stuhl);
        QFETCH(QString, tische);
        CBelegungRec s = p->satz(p->raumA, Tag(0, 9), Tag(0, 10));
        s.STSTUHLANORDNUNG = QStringLiteral("X"); // nothing selected
        p->oeffne(*form, s);
        for (int i : boxen)
            form->Check2[i]->setChecked(true);
        form->tfAustBem->setText(sonstiges);
        if (stuhl >= 0)
            form->rbStuhlan[stuhl]->setChecked(true);
        form->tfBeteiligtentische->setText(tische);
        QTEST(form->GetAusstattung(), "text");
    }

    void companyAndPersonBoxes() {
        p->oeffne(*form, p->satz(p->raumA, Tag(0, 9), Tag(0, 10)));
        QCOMPARE(form->coFirma[0]->count(), 1);
        QCOMPARE(form->coFirma[1]->count(), 1);

        form->coFirma[0]->setCurrentIndex(0);
        form->coFirma_Click(0);
        QCOMPARE(form->coPerson[0]->count(), 2);
        QCOMPARE(form->coPerson[1]->count(), 0);
        const int anna = form->coPerson[0]->findData(p->anna);
        QCOMPARE(form->coPerson[0]->itemText(anna), QStringLiteral("ONeill, Anna"));

        form->tfKst->setText(QStringLiteral("alt"));
        form->coPerson[0]->setCurrentIndex(anna);
        form->coPerson_Click(0);
        auto kontakt = [&] {
            return QStringList{form->tfTel->text(), form->tfFax->text(), form->edEMail->text(),
                               form->tfKst->text()};
        };
        QCOMPARE(kontakt(), (QStringList{"0351 1234", "0351 1235", "anna@stadtwerke.de", "4711"}));
        // Karl has no cost centre: the box keeps its text.
        form->coPerson[0]->setCurrentIndex(form->coPerson[0]->findData(p->karl));
        form->coPerson_Click(0);
        QCOMPARE(kontakt(), (QStringList{"", "", "", "4711"}));

        CBelegungRec r;
        r.lFirma1 = 99;
        form->Write2Rec(r);
        QCOMPARE(std::tuple(r.lFirma1, r.lPerson1, r.Best),
                 std::tuple(p->firma, p->karl, QStringLiteral("Berg, Karl")));

        // A typed name is stored as text; the ids stay as they were.
        form->coPerson[0]->setEditText(QStringLiteral("Gast"));
        r.lPerson1 = 42;
        form->Write2Rec(r);
        QCOMPARE(std::tuple(r.lPerson1, r.Best), std::tuple(42, QStringLiteral("Gast")));
    }

    void chosenRoomSetsEquipmentAndSeating_data() {
        QTest::addColumn<QString>("ausstattung");
        QTest::addColumn<QString>("stuhl");
        QTest::addColumn<Zahlen>("boxen");
        QTest::addColumn<QList<bool>>("anordnungen"); // K, U, O
        QTest::newRow("W P B, all arrangements")
            << "WPB" << QString("UOK") << Zahlen{1, 2, 12} << QList<bool>{true, true, true};
        QTest::newRow("unknown arrangement")
            << "GS" << QString("X") << Zahlen{10, 11} << QList<bool>{false, false, false};
        QTest::newRow("two arrangements")
            << "" << QString("OU") << Zahlen{} << QList<bool>{false, true, true};
        QTest::newRow("doubled letter")
            << "C" << QString("KK") << Zahlen{3} << QList<bool>{false, false, false};
    }
    void chosenRoomSetsEquipmentAndSeating() {
        QFETCH(QString, ausstattung);
        QFETCH(QString, stuhl);
        QFETCH(QList<bool>, anordnungen);
        const int32_t saal = p->raum(QStringLiteral("Aula"), ausstattung, stuhl, 120, 8, 2);
        p->neu(*form, p->raumA, Tag(4, 10));
        form->coFreeRooms->setCurrentIndex(form->coFreeRooms->findData(saal));
        form->coFreeRooms_Click();

        QCOMPARE(form->lbUsedRoom->text(), QStringLiteral("Aula"));
        QCOMPARE(form->RaumTag(), QString::number(saal));
        Zahlen frei;
        for (int i = 1; i <= 12; ++i)
            if (form->Check2[i]->isEnabled())
                frei << i;
        QTEST(frei, "boxen");
        QVERIFY(form->rbStuhlan[0]->isEnabled());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(form->rbStuhlan[i + 1]->isEnabled(), anordnungen[i]);
        QCOMPARE(form->lbMaxAnz->text(), QStringLiteral("max.: 120"));
        QCOMPARE(form->lbBettischInfos->text(), QStringLiteral("Fest eingebaut: 2 Maximal: 8"));
    }

    void quotesBeepAndAreNotTyped_data() {
        QTest::addColumn<QString>("box");
        for (const char* name : {"tfBem", "tfVerst", "tfTel", "edEMail", "coFirma_0", "coPerson_1"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void quotesBeepAndAreNotTyped() {
        QFETCH(QString, box);
        auto* widget = form->findChild<QWidget*>(box);
        QVERIFY(widget);
        QLineEdit* edit = qobject_cast<QLineEdit*>(widget);
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            edit = combo->lineEdit();
        QVERIFY(edit);
        QTest::keyClicks(edit, QStringLiteral("a\"b'c"));
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QCOMPARE(p->prompt.beeps, 2);
    }

    // Typed as a user types: the span is checked when the focus leaves the start and end boxes,
    // not box by box, and keys typed right after leaving them stay where they were typed. A
    // conflict switches the room and counts as a change; the free rooms follow the span.
    void spanCheckedOnLeavingTheGroup() {
        p->buche(p->raumA, Tag(0, 10), Tag(0, 12), 501);
        p->neu(*form, p->raumA, Tag(0, 8));
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        const auto tippe = [&](QLineEdit* box, const QString& text) {
            box->setFocus(Qt::TabFocusReason);
            box->selectAll();
            QTest::keyClicks(box, text);
            QCoreApplication::processEvents();
        };
        tippe(form->tfTm_von, QStringLiteral("7:00"));
        tippe(form->tfTm_bis, QStringLiteral("11:00"));
        QCOMPARE(p->prompt.shown.size(), 0);
        tippe(form->tfVerst, QStringLiteral("Rat"));
        QTRY_COMPARE(p->prompt.shown.size(), 1);
        QCOMPARE(form->tfVerst->text(), QStringLiteral("Rat"));
        QCOMPARE(p->prompt.last().text,
                 QStringLiteral("Es gibt einen Belegungskonflikt bei folgenden Daten:\r\n\r\n"
                                "Raum: 'Raum A' von 16.03.2026, 7:00 bis 16.03.2026, 11:00\r\n\r\n"
                                "Der Antrag wurde vom Raum 'Raum A' in den freien Raum 'Raum B' "
                                "dieser Raumart umgeschaltet. Bitte prüfen Sie den Raum."));
        // The room field stays marked until the user looks at it.
        QVERIFY(form->RaumwechselMarkiert());
        QFocusEvent fokus(QEvent::FocusIn);
        QCoreApplication::sendEvent(form->coFreeRooms, &fokus);
        QVERIFY(!form->RaumwechselMarkiert());
        QCOMPARE(form->coFreeRooms->count(), 1);
        QCOMPARE(form->RaumTag(), QString::number(p->raumB));
        QVERIFY(form->lbUsedRoom->isHidden() && !form->lbNichtverfuegbar->isHidden());
        QVERIFY(form->Geaendert());

        // Back to a free time: no message, Raum A is offered again, Raum B stays chosen.
        tippe(form->tfTm_bis, QStringLiteral("9:00"));
        tippe(form->tfVerst, QString());
        QTRY_COMPARE(form->coFreeRooms->count(), 2);
        QCOMPARE(form->coFreeRooms->currentText(), QStringLiteral("Raum B"));

        // An impossible date is refused on leaving the box, and the user goes back into it.
        tippe(form->tfDt_von, QStringLiteral("31.02.2027"));
        tippe(form->tfVerst, QString());
        QTRY_COMPARE(QApplication::focusWidget(), form->tfDt_von);
        QCOMPARE(p->texte().last(), QStringLiteral("Beginn: 31.02.2027 ist kein gültiges Datum."));
        QCOMPARE(p->prompt.shown.size(), 2);
    }

    void openingABookingInATakenRoomSaysSo() {
        // Older data can hold two bookings at once; the form does not move one silently.
        p->buche(p->raumA, Tag(0, 10), Tag(0, 12), 501);
        p->prompt.clear();
        form->OeffneBelegung(p->buche(p->satz(p->raumA, Tag(0, 11), Tag(0, 13), 502)));
        p->oeffne(*form);
        QCOMPARE(form->coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QCOMPARE(p->texte(),
                 QStringList{"Der Raum 'Raum A' ist zu dieser Zeit belegt. Der Antrag wurde in "
                             "den freien Raum 'Raum B' dieser Raumart umgeschaltet. Bitte prüfen "
                             "Sie den Raum."});
        QVERIFY(form->RaumwechselMarkiert());
    }
    // Print buttons 1 to 5 in order.
    void documents_data() {
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("titel");
        int knopf = 0;
        for (const char* titel :
             {"Bestelldaten", "Rückantwort", "Hinweisschild", "Umbau", "Rechnung"})
            QTest::newRow(titel) << ++knopf << QString::fromUtf8(titel);
    }
    void documents() {
        QFETCH(int, knopf);
        QFETCH(QString, titel);
        Firma f;
        QVERIFY(p->stamm.ReadFirma(p->firma, f));
        f.stStrasse = QStringLiteral("Hauptstr. 5");
        f.stPlz = QStringLiteral("01067");
        f.stOrt = QStringLiteral("Dresden");
        QVERIFY(p->stamm.SaveFirma(f));
        CBelegungRec satz = p->satz(p->raumB, Tag(2, 9), Tag(2, 10));
        satz.lFirma1 = p->firma;
        satz.Inst = QStringLiteral("Stadtwerke");
        p->oeffne(*form, satz);
        // What the form shows now counts, not what is stored.
        form->tfVerst->setText(QStringLiteral("Klausur"));
        form->Check2[2]->setChecked(true);
        form->cmdDruck[knopf]->click();
        QCOMPARE(p->texte(), QStringList());
        QCOMPARE(vorschau, QStringList{QStringLiteral("Druckvorschau – ") + titel});
        QCOMPARE(p->wert(QStringLiteral("SELECT Kurzbez || '|' || Verst || '|' || Aust || '|' || "
                                        "stStrasse || '|' || stPlzOrt FROM t_tmp_Druck"))
                     .toString(),
                 QStringLiteral("Raum B|Klausur|Projektor|Hauptstr. 5|01067 Dresden"));
    }

    void documentWithoutRoom() {
        form->NeuerAntrag(Tag(0));
        p->oeffne(*form);
        form->coFreeRooms->clear();
        form->SetzeGewaehltenRaum(QString(), QString());
        p->prompt.clear();
        form->cmdDruck_Click(1);
        QCOMPARE(p->texte(), QStringList{QStringLiteral("Es wurde kein Raum ausgewählt!")});
        QVERIFY(vorschau.isEmpty());
    }

    void fitsSmallScreenAndKeepsItsSize() {
        p->neu(*form, p->raumA, Tag(0, 9));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QSize start = form->size();
        QVERIFY2(start.height() <= 700, qPrintable(QString::number(start.height())));
        QVERIFY(start.width() <= 1300);

        // The note under the room appears without the form jumping.
        form->lbNichtverfuegbar->show();
        QCoreApplication::processEvents();
        QCOMPARE(form->size(), start);

        // Smaller works, and the fields grow with a bigger form.
        QVERIFY(form->minimumSizeHint().height() < start.height());
        const int verst = form->tfVerst->width();
        form->resize(start.width() + 200, start.height() + 100);
        QCoreApplication::processEvents();
        QVERIFY(form->tfVerst->width() > verst);
    }
};

QTEST_MAIN(TestFrmAntragMaske)
#include "tst_frmantrag_maske.moc"

// The reservation form on a real project: its mask, the checks as the user types, the printed
// documents, and its commands (saving, closing, deleting, "Neu", rights, series).
#include "AntragProjekt.h"
#include "Bearbeitbar.h"

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>

using Zahlen = QList<int>;

namespace {
const QString kGespeichert = QStringLiteral("Die aktuelle Raumreservierung wurde gespeichert!");
const QString kFrage = QStringLiteral("Änderungen speichern ?");
constexpr int Ja = int(PromptResult::Yes), Nein = int(PromptResult::No), Ok = int(PromptResult::Ok),
              Abbruch = int(PromptResult::Cancel);
} // namespace

class TestFrmAntrag : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    std::unique_ptr<frmAntrag> form;
    QStringList vorschau; // titles of the previews shown

    int zaehler() { return p->wert(QStringLiteral("SELECT lNextNr FROM T_NextNr")).toInt(); }
    std::shared_ptr<CBelegungRec> oeffneBelegung(int32_t raum) {
        return p->oeffne(*form, p->satz(raum, Tag(2, 9), Tag(2, 10)));
    }

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
        s.Rdt_von = Tag(2);
        s.Rtm_von = Uhr(12);
        s.Rtm_bis = TovoDate::kNoDate; // as a null column reads
        s.bEMail = true;
        s.stSerieBem = QStringLiteral("jede Woche");
        auto rec = p->oeffne(*form, s);

        QCOMPARE(form->coPerson[0]->currentData().toInt(), p->karl);
        const QStringList texte{form->tfDt_von->text(),          form->tfTm_bis->text(),
                                form->coFirma[0]->currentText(), form->coFirma[1]->currentText(),
                                form->tfMiete->text(),           form->tfTechnik->text(),
                                form->tftm[0]->text(),           form->tfdt[2]->text(),
                                form->tftm[2]->text(),           form->tftm[3]->text(),
                                form->lbUsedRoom->text()};
        QCOMPARE(texte, (QStringList{TagText(2), "11:30", "Stadtwerke", "Kämmerei", "1.234,50",
                                     "80,00", "08:00", TagText(2), "12:00", "", "Raum A"}));
        QCOMPARE(form->coRaumart->currentData().toInt(), p->typ);
        QVERIFY(!form->Geaendert());

        // Back into the record: trailing blanks go (the phone number loses leading ones too, the
        // equipment note none), the set-up effort follows its span, emptied clear-down boxes
        // keep their values, and the order dates are those of a new order.
        form->tfdt[2]->clear();
        form->tftm[2]->clear();
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

    // Equipment bits tick boxes 1 to 12, the chair arrangement selects one of "belassen", Kino,
    // U-Form, Ring-Form; both are written back, and with the tables make the equipment text.
    void equipmentAndChairs_data() {
        QTest::addColumn<int>("aust");
        QTest::addColumn<Zahlen>("boxen");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("geschrieben");
        QTest::addColumn<QString>("sonstiges");
        QTest::addColumn<QString>("tische");
        QTest::addColumn<QString>("text");
        auto row = [](const char* name, int aust, Zahlen boxen, const char* gespeichert, int knopf,
                      const char* geschrieben, const char* sonstiges, const char* tische,
                      const char* text) {
            QTest::newRow(name) << aust << boxen << QString(gespeichert) << knopf
                                << QString(geschrieben) << QString(sonstiges) << QString(tische)
                                << QString::fromUtf8(text);
        };
        row("1029, (II) is Kino", 1029, {1, 3, 11}, "(II)", 1, "K", "Kaffee", "4",
            "Whiteboard, Laptop, Grossbildschirm, Sonstiges:Kaffee, Stuhlanordnung:Kino, "
            "Beteiligtentische: 4");
        row("none, empty leaves it", 0, {}, "", 0, "", "  ", "2",
            "Stuhlanordnung:belassen, Beteiligtentische: 2");
        row("all, U", 4095, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, "U", 2, "U", " Tee ", "",
            "Whiteboard, Projektor, Laptop, Mikrofon, Rednerpult, Flipchart, Leinwand, Netzwerk, "
            "Audioanlage, Mediensteuerung, Grossbildschirm, Smartboard, Sonstiges:Tee, "
            "Stuhlanordnung:U-Form, Beteiligtentische: ");
        row("(O)", 0, {}, "(O)", 3, "O", "", "0", "Stuhlanordnung:Ring-Form, Beteiligtentische: 0");
        row("unknown selects none", 0, {}, "X", -1, "X", "", "", ", Beteiligtentische: ");
    }
    void equipmentAndChairs() {
        QFETCH(int, aust);
        QFETCH(QString, gespeichert);
        QFETCH(int, knopf);
        QFETCH(QString, sonstiges);
        QFETCH(QString, tische);
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
        form->tfAustBem->setText(sonstiges);
        form->tfBeteiligtentische->setText(tische);
        QTEST(form->GetAusstattung(), "text");
        rec->Aust = -1;
        form->Write2Rec(*rec);
        QCOMPARE(rec->Aust, aust);
        QTEST(rec->STSTUHLANORDNUNG, "geschrieben");
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

        // A room chosen from the free rooms applies to all.
        form->coFreeRooms->setCurrentIndex(form->coFreeRooms->findData(p->raumB));
        form->coFreeRooms_Click();
        QCOMPARE(form->lbUsedRoom->text(), QStringLiteral("(Mehrere)"));
        form->Write2Rec(r);
        QCOMPARE(r.rb_id, p->raumB);
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
    }

    void chosenRoomSetsEquipmentAndSeating_data() {
        QTest::addColumn<QString>("ausstattung");
        QTest::addColumn<QString>("stuhl");
        QTest::addColumn<Zahlen>("boxen");
        QTest::addColumn<QList<bool>>("anordnungen"); // K, U, O
        QTest::newRow("W P B, all arrangements")
            << "WPB" << QString("UOK") << Zahlen{1, 2, 12} << QList<bool>{true, true, true};
        QTest::newRow("two arrangements")
            << "" << QString("OU") << Zahlen{} << QList<bool>{false, true, true};
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

    void quotesBeepAndAreNotTyped() {
        for (QLineEdit* edit :
             {static_cast<QLineEdit*>(form->tfVerst), form->coPerson[1]->lineEdit()}) {
            QTest::keyClicks(edit, QStringLiteral("a\"b'c"));
            QCOMPARE(edit->text(), QStringLiteral("abc"));
        }
        QCOMPARE(p->prompt.beeps, 4);
    }

    // Typed as a user types: the span is checked when the focus leaves the start and end boxes,
    // keys typed meanwhile stay put, a conflict switches the room, the free rooms follow.
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
        QCOMPARE(p->prompt.shown.size(), 1);
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

    void fitsSmallScreenAndKeepsItsSize() {
        p->neu(*form, p->raumA, Tag(0, 9));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QSize start = form->size();
        QVERIFY(start.height() <= 700 && start.width() <= 1300);

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

    // A new reservation draws an order number; saving it again keeps it.
    void saving() {
        p->neu(*form, p->raumB, Tag(1, 9), QStringLiteral("10:30"));
        QCOMPARE(form->frTermin->title(), QStringLiteral("Neuer Termin von"));
        form->tfVerst->setText(QStringLiteral("Klausur"));
        form->SetGeaendert(true);
        form->pbSave_Click();
        QCOMPARE(p->texte(), QStringList{kGespeichert});
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(zaehler(), 2);
        QVERIFY(form->f_bGespeichert && gbUpdatePending && !form->Geaendert());
        const CBelegungRec b = p->lies(form->f_RecBelegung->Rec_ID);
        QCOMPARE(std::tuple(b.lAuftrNr, b.rb_id, b.Best, b.Verst, b.dt_von, b.tm_bis, b.Udt_von),
                 std::tuple(1, p->raumB, QStringLiteral("Gast"), QStringLiteral("Klausur"), Tag(1),
                            Uhr(10, 30), TovoDate::kNoDate));
        QCOMPARE(form->windowTitle(), QStringLiteral("Antrag  1"));
        QCOMPARE(form->frTermin->title(), QStringLiteral("1 Termin vom"));

        // Saving again updates the same row under the same number.
        form->tfVerst->setText(QStringLiteral("Klausur II"));
        form->pbSave_Click();
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(zaehler(), 2);
        QCOMPARE(p->lies(form->f_RecBelegung->Rec_ID).Verst, QStringLiteral("Klausur II"));
    }

    // Room A holds 30 persons and 4 to 10 participants' tables.
    void personAndTableWarningsStillSave_data() {
        QTest::addColumn<QString>("personen");
        QTest::addColumn<QString>("tische");
        QTest::addColumn<QStringList>("meldungen");
        const QString pers = QStringLiteral("Achtung! Maximale Personenanzahl 30 überschritten!");
        const QString ausser = QStringLiteral(
            "Achtung! Anzahl der Beteiligtentische liegt außerhalb der Möglichkeiten!");
        const QString gerade =
            QStringLiteral("Achtung! Die Anzahl der Beteiligtentische muss gerade sein!");
        auto row = [](const char* name, const char* personen, const char* tische,
                      QStringList meldungen) {
            QTest::newRow(name) << QString(personen) << QString(tische)
                                << meldungen + QStringList{kGespeichert};
        };
        row("31 persons", "31", "4", {pers});
        row("30 persons, 10 tables", "30", "10", {});
        row("too many tables", "", "12", {ausser});
        row("too few and odd", "2", "3", {ausser, gerade});
        row("0 tables, as the portal asks for none", "", "0", {});
    }
    void personAndTableWarningsStillSave() {
        QFETCH(QString, personen);
        QFETCH(QString, tische);
        auto rec = oeffneBelegung(p->raumA);
        form->tfPers->setText(personen);
        form->tfBeteiligtentische->setText(tische);
        form->pbSave_Click();
        QTEST(p->texte(), "meldungen");
        QCOMPARE(std::pair(p->lies(rec->Rec_ID).Pers, p->lies(rec->Rec_ID).lAuftrNr),
                 std::pair(personen, 500)); // an opened booking keeps its number
        QCOMPARE(zaehler(), 1);
    }

    void saveRefusals_data() {
        QTest::addColumn<bool>("raeumeBelegt");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("no orderer")
            << false << "Geben Sie den Namen des Antragstellers ('Ansprechpartner') ein !";
        QTest::newRow("no free room") << true << "Es ist kein Raum angegeben!";
    }
    void saveRefusals() {
        QFETCH(bool, raeumeBelegt);
        if (raeumeBelegt) {
            p->buche(p->raumA, Tag(0, 8), Tag(0, 18), 501);
            p->buche(p->raumB, Tag(0, 8), Tag(0, 18), 502);
        }
        form->NeuerAntrag(Tag(0));
        p->oeffne(*form);
        if (raeumeBelegt) {
            QCOMPARE(form->coFreeRooms->count(), 0);
            QVERIFY(!form->lbNichtverfuegbar->isHidden());
            form->coPerson[0]->setEditText(QStringLiteral("Gast"));
        }
        const int vorher = p->anzahlBelegungen();
        p->prompt.clear();
        form->pbSave_Click();
        QTEST(p->prompt.last().text, "meldung");
        QCOMPARE(p->anzahlBelegungen(), vorher);
        QVERIFY(!form->f_bGespeichert);
    }

    void failedWriteKeepsTheFormOpen() {
        auto rec = oeffneBelegung(p->raumB);
        p->wert(QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE ON T_fm_belegung "
                               "BEGIN SELECT RAISE(ABORT, 'Zeile gesperrt'); END"));
        form->tfVerst->setText(QStringLiteral("Neu"));
        form->SetGeaendert(true);
        p->prompt.answer(PromptResult::Yes); // "Änderungen speichern ?"

        form->pbEnde_Click();
        QCOMPARE(p->prompt.shown.first().text, kFrage);
        QCOMPARE(p->prompt.last().icon, PromptIcon::Critical);
        QVERIFY(p->prompt.last().text.contains(QLatin1String("Zeile gesperrt")) &&
                !p->texte().contains(kGespeichert) && !form->Geschlossen() &&
                !form->f_bGespeichert && form->Geaendert());
        QCOMPARE(p->lies(rec->Rec_ID).Verst, QStringLiteral("Sitzung"));
    }

    // A new end time typed and saved (Alt+S, Enter, Escape) without leaving the box: the box's
    // check runs first and finds the next booking in the way; nothing is written.
    void pendingEditIsCheckedBeforeSaving_data() {
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("modifier");
        QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier);
        QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::newRow("Escape, save") << int(Qt::Key_Escape) << int(Qt::NoModifier);
    }
    void pendingEditIsCheckedBeforeSaving() {
        QFETCH(int, taste);
        QFETCH(int, modifier);
        const int32_t naechste = p->buche(p->raumA, Tag(2, 11), Tag(2, 12));
        auto rec = oeffneBelegung(p->raumA);
        form->pbSave->setDefault(true);
        form->show();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        form->tfTm_bis->setFocus();
        form->tfTm_bis->selectAll();
        QTest::keyClicks(form->tfTm_bis, QStringLiteral("11:30"));
        p->prompt.clear();

        // Through the window, as the window system delivers it, so that mnemonics apply.
        QTest::keyClick(form->windowHandle(), Qt::Key(taste), Qt::KeyboardModifiers(modifier));
        // A mnemonic clicks its button a moment later.
        QTRY_VERIFY(
            p->texte().join(QLatin1Char('\n')).contains(QLatin1String("Belegungskonflikt")));
        QVERIFY(!p->texte().contains(kGespeichert) && !form->Geschlossen());
        QCOMPARE(p->lies(rec->Rec_ID).tm_bis, Uhr(10));
        QCOMPARE(p->lies(rec->Rec_ID).rb_id, p->raumA);
        QCOMPARE(p->lies(naechste).tm_von, Uhr(11));
    }

    void closing_data() {
        QTest::addColumn<bool>("geaendert");
        QTest::addColumn<bool>("ohneEnde");
        QTest::addColumn<QList<int>>("antworten");
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<bool>("geschlossen");
        QTest::addColumn<QString>("verst");
        const QStringList ohneDatum{"Anfangs- und Enddatum setzen!",
                                    "Maske trotzdem ohne Änderungen verlassen?"};
        QTest::newRow("unchanged")
            << false << false << QList<int>{} << QStringList{} << true << "Sitzung";
        QTest::newRow("changed, not saved")
            << true << false << QList<int>{Nein} << QStringList{kFrage} << true << "Sitzung";
        QTest::newRow("changed, saved") << true << false << QList<int>{Ja}
                                        << QStringList{kFrage, kGespeichert} << true << "Neu";
        QTest::newRow("invalid dates, stay")
            << true << true << QList<int>{Ok, Nein} << ohneDatum << false << "Sitzung";
        QTest::newRow("invalid dates, leave")
            << true << true << QList<int>{Ok, Ja} << ohneDatum << true << "Sitzung";
    }
    void closing() {
        QFETCH(bool, geaendert);
        QFETCH(bool, ohneEnde);
        QFETCH(QList<int>, antworten);
        auto rec = oeffneBelegung(p->raumB);
        form->tfVerst->setText(QStringLiteral("Neu"));
        form->SetGeaendert(geaendert);
        if (ohneEnde)
            form->tfDt_bis->clear();
        for (int a : antworten)
            p->prompt.answer(PromptResult(a));
        form->pbEnde_Click();
        QTEST(p->texte(), "meldungen");
        QTEST(form->Geschlossen(), "geschlossen");
        QTEST(p->lies(rec->Rec_ID).Verst, "verst");
    }

    // Another booking of the same order always stays: only the row opened is deleted. A
    // reservation not yet saved (a new one, or a portal request) is not deleted at all.
    void deleting_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<int>("danach"); // bookings left of two
        const QString frage = QStringLiteral("Wollen Sie diese Reservierung wirklich löschen ?");
        const QString neu = QStringLiteral("Die Reservierung wurde noch nicht gespeichert!");
        QTest::newRow("Yes") << "Ja" << frage << 1;
        QTest::newRow("No") << "Nein" << frage << 2;
        QTest::newRow("new reservation") << "neu" << neu << 2;
        QTest::newRow("portal request not yet saved") << "Netzpult" << neu << 2;
    }
    void deleting() {
        QFETCH(QString, fall);
        const int32_t andere = p->buche(p->raumB, Tag(5, 9), Tag(5, 10));
        const auto rec = p->buche(p->satz(p->raumB, Tag(2, 9), Tag(2, 10)));
        if (fall == QLatin1String("Netzpult")) {
            form->OeffneNetzpultAntrag(rec, 0, QString(), {});
        } else if (fall != QLatin1String("neu")) {
            form->OeffneBelegung(rec);
            p->oeffne(*form);
        }
        p->prompt.clear();
        p->prompt.answer(fall == QLatin1String("Ja") ? PromptResult::Yes : PromptResult::No);
        form->pbDelete_Click();
        QFETCH(QString, meldung);
        QCOMPARE(p->texte(), QStringList{meldung});
        QTEST(p->anzahlBelegungen(), "danach");
        QCOMPARE(p->lies(andere).Rec_ID, andere);
        QCOMPARE(form->Geschlossen(), fall == QLatin1String("Ja"));
    }

    void newReservation_data() {
        QTest::addColumn<int>("antwort");
        QTest::newRow("Yes keeps the particulars") << Ja;
        QTest::newRow("No empties the form") << Nein;
        QTest::newRow("Cancel changes nothing") << Abbruch;
    }
    void newReservation() {
        QFETCH(int, antwort);
        CBelegungRec s = p->satz(p->raumB, Tag(2, 10), Tag(2, 12));
        s.Inst = QStringLiteral("Stadtwerke");
        s.lFirma1 = p->firma;
        s.Bem = QStringLiteral("mit Beamer");
        s.Udt_von = Tag(2);
        s.Utm_von = Uhr(9);
        auto rec = p->oeffne(*form, s);
        p->prompt.answer(PromptResult(antwort));

        form->pbNew_Click();
        if (antwort == Abbruch) {
            QCOMPARE(p->texte(), QStringList{"Angaben übernehmen?"});
            QCOMPARE(form->tfDt_von->text(), TagText(2));
            QCOMPARE(form->f_RecBelegung, rec);
            return;
        }
        QCOMPARE(p->texte(),
                 (QStringList{"Angaben übernehmen?", "Achtung! Datum wurde nicht gesetzt !"}));
        const QStringList angaben{form->coFirma[0]->currentText(), form->coPerson[0]->currentText(),
                                  form->tfVerst->text(), form->tfBem->text()};
        QCOMPARE(angaben, (antwort == Ja ? QStringList{s.Inst, s.Best, s.Verst, s.Bem}
                                         : QStringList{"", "", "", ""}));
        QStringList zeiten{form->tfDt_von->text(), form->tfDt_bis->text(), form->tfTm_von->text(),
                           form->tfTm_bis->text()};
        for (int i = 0; i < 4; ++i)
            zeiten << form->tfdt[i]->text() + QLatin1Char('|') + form->tftm[i]->text();
        QCOMPARE(zeiten,
                 (QStringList{"", "", "8:00", "9:00", "|00:00", "|00:00", "|00:00", "|00:00"}));
        QVERIFY(!form->f_RecBelegung && !form->f_BelegListe && !form->f_bUpdate &&
                form->f_lRecId == 0 && form->coFreeRooms->count() == 0);

        // The next save adds a new booking.
        form->tfDt_von->setText(TagText(3));
        form->tfDt_bis->setText(TagText(3));
        form->coPerson[0]->setEditText(QStringLiteral("Gast"));
        form->pbFreeRooms_Click();
        form->pbSave_Click();
        QCOMPARE(p->anzahlBelegungen(), 2);
    }

    void readOnlyUserCannotChangeAnything() {
        goRecht->SetZugriff(QStringLiteral("L"));
        oeffneBelegung(p->raumB);
        for (QPushButton* b :
             {form->pbNew, form->pbSave, form->pbDelete, form->pbEMail, form->cmdDruck[2],
              form->cmdDruck[5], form->pbSerie, form->pbDatum[0], form->pbBauVor[0]})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        // Not even after choosing a room, which enables its equipment for others.
        form->coFreeRooms_Click();
        QCOMPARE(Bearbeitbar(form.get()), QStringList());
        for (QPushButton* b :
             {form->pbEnde, form->cmdDruck[1], form->cmdDruck[3], form->pbHistorie})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        // Closing asks nothing.
        form->SetGeaendert(true);
        form->pbEnde_Click();
        QCOMPARE(p->texte(), QStringList());
        QVERIFY(form->Geschlossen());
    }

    void showingTheFormLoadsIt() {
        form->f_StammDb = &p->stamm;
        form->OeffneBelegung(p->buche(p->satz(p->raumB, Tag(2, 9), Tag(2, 10))));
        form->show();
        QTRY_COMPARE(form->coFreeRooms->count(), 2);
        QCOMPARE(form->coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QCOMPARE(p->texte(), QStringList());
    }

    // Four Mondays attached to a reservation in room A, 10-12, booked once meanwhile: set-up rows
    // are emptied, every date is tested, and cancelling the series gives the boxes back.
    void attachingTestsEveryDate_data() {
        QTest::addColumn<QList<int>>("gefuellt"); // set-up/clear-down rows holding a date
        QTest::addColumn<int>("tag");
        QTest::addColumn<double>("von");
        QTest::addColumn<QString>("konflikt"); // date in the message, "" = none
        QTest::newRow("third Monday from noon") << QList<int>{} << 14 << Uhr(12) << QString();
        QTest::newRow("all set-up rows, third Monday taken")
            << QList<int>{0, 1, 2, 3} << 14 << Uhr(10, 30) << TagText(14);
        QTest::newRow("last Monday, a minute before noon")
            << QList<int>{} << 21 << Uhr(11, 59) << TagText(21);
    }
    void attachingTestsEveryDate() {
        QFETCH(QList<int>, gefuellt);
        QFETCH(int, tag);
        QFETCH(double, von);
        QFETCH(QString, konflikt);
        p->buche(p->raumA, Tag(tag) + von, Tag(tag) + von + Uhr(1), 900);
        p->neu(*form, p->raumA, Tag(0, 10), QStringLiteral("12:00"));
        for (int i : gefuellt)
            form->tfdt[i]->setText(TagText(0));
        form->SetGeaendert(false);

        p->wochenserie(*form, 4);
        QStringList meldungen(gefuellt.size(), "Bei Serien sind keine Um- und Rückbauten "
                                               "möglich--> werden zurückgesetzt!");
        if (!konflikt.isEmpty())
            meldungen
                << "Es gibt einen Belegungskonflikt bei folgenden Daten:\r\n\r\nRaum: 'Raum A' "
                   "am " +
                       konflikt +
                       ". \r\n\r\nDer Antrag wurde vom Raum 'Raum A' in den freien Raum "
                       "'Raum B' dieser Raumart umgeschaltet. Bitte prüfen Sie den Raum.";
        QCOMPARE(p->texte(), meldungen);
        QCOMPARE(form->coFreeRooms->count(), konflikt.isEmpty() ? 2 : 1);
        QCOMPARE(form->RaumTag(), QString::number(konflikt.isEmpty() ? p->raumA : p->raumB));
        QCOMPARE(form->edSerie->text(), QStringLiteral("Alle 1 Wochen, am Montag"));
        QCOMPARE(form->tfDt_bis->text(), TagText(21));
        QVERIFY(form->Serie() && form->Geaendert());
        for (int i = 0; i < 4; ++i)
            QVERIFY(form->tfdt[i]->text().isEmpty() && !form->tfdt[i]->isEnabled() &&
                    !form->tftm[i]->isEnabled() && !form->pbDatum[i + 2]->isEnabled());
        QVERIFY(!form->pbBauVor[1]->isEnabled() && !form->pbSetBack[0]->isEnabled());

        p->wochenserie(*form, 0);
        QVERIFY(!form->Serie() && form->edSerie->text().isEmpty() && form->tfdt[0]->isEnabled() &&
                form->pbSetBack[1]->isEnabled());
    }

    // The form goes on with the order it saved, or the order is opened anew.
    void savingChangingDeleting_data() {
        QTest::addColumn<bool>("neuGeoeffnet");
        QTest::newRow("same form") << false;
        QTest::newRow("order opened anew") << true;
    }
    void savingChangingDeleting() {
        QFETCH(bool, neuGeoeffnet);
        const int32_t fremd = p->buche(p->raumA, Tag(0, 10), Tag(0, 12), 900);
        p->neu(*form, p->raumB, Tag(0, 10), QStringLiteral("12:00"));
        p->wochenserie(*form, 4);
        form->pbSave_Click();
        QCOMPARE(p->wert("SELECT COUNT(*) FROM T_fm_belegung WHERE lAuftrNr = 1").toInt(), 4);
        QCOMPARE(zaehler(), 2);
        QCOMPARE(form->frTermin->title(), QStringLiteral("4 Termine vom"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Antrag  1"));
        QCOMPARE(form->f_BelegListe->Count(), 4);
        QList<int32_t> keys;
        for (const CBelegungRec* b : *form->f_BelegListe)
            keys << b->Rec_ID;

        if (neuGeoeffnet) {
            auto auftrag = std::make_shared<CBelegungRecColl>();
            QVERIFY(p->db.ReadAuftrag2Coll(1, auftrag.get()));
            form = std::make_unique<frmAntrag>();
            form->OeffneAuftrag(auftrag);
            p->oeffne(*form);
        }
        p->prompt.clear();
        form->tfTm_von->setText(QStringLiteral("9:00"));
        form->SpannePruefen(); // its own bookings are no conflict
        form->pbSave_Click();
        QCOMPARE(p->texte(), QStringList{"Die aktuelle Raumreservierung wurde gespeichert!"});
        QCOMPARE(p->anzahlBelegungen(), 5);
        QCOMPARE(zaehler(), 2);
        for (int w = 0; w < 4; ++w) {
            const CBelegungRec b = p->lies(keys[w]);
            QCOMPARE(std::tuple(b.lAuftrNr, b.dt_von, b.tm_von, b.tm_bis, b.rb_id),
                     std::tuple(1, Tag(7 * w), Uhr(9), Uhr(12), p->raumB));
        }

        form->pbDelete_Click();
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(p->lies(fremd).lAuftrNr, 900);
    }
};

QTEST_MAIN(TestFrmAntrag)
#include "tst_frmantrag.moc"

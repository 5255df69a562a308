// The reservation form's commands on a real project: saving new and existing bookings with their
// warnings, deleting, "Neu", closing, rights, and the calendar.
#include "AntragProjekt.h"

#include <QCalendarWidget>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kGespeichert = QStringLiteral("Die aktuelle Raumreservierung wurde gespeichert!");

QList<int> ZuAntworten(const QList<PromptResult>& r) {
    QList<int> l;
    for (PromptResult a : r)
        l << int(a);
    return l;
}
} // namespace

class TestFrmAntragBefehle : public QObject {
    Q_OBJECT

    static int zaehler(AntragProjekt& p) {
        return p.wert(QStringLiteral("SELECT lNextNr FROM T_NextNr")).toInt();
    }
    // A new reservation for room B on 17.03.2026 from 09:00, with an orderer.
    static void neuImRaumB(AntragProjekt& p, frmAntrag& form) {
        form.NeuerAntragImRaum(p.raumB, Tag(1) + Uhr(9));
        p.oeffne(form);
        form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        p.prompt.clear();
    }
    static std::shared_ptr<CBelegungRec> oeffneBelegung(AntragProjekt& p, frmAntrag& form,
                                                        int32_t raum) {
        auto rec = p.buche(p.satz(raum, 2, Uhr(9), Uhr(10)));
        form.OeffneBelegung(rec);
        p.oeffne(form);
        p.prompt.clear();
        return rec;
    }

private Q_SLOTS:
    void savingNewBookingDrawsOrderNumber() {
        AntragProjekt p;
        frmAntrag form;
        neuImRaumB(p, form);
        form.tfVerst->setText(QStringLiteral("Klausur"));
        form.SetGeaendert(true);

        form.pbSave_Click();
        QCOMPARE(p.texte(), QStringList{kGespeichert});
        QCOMPARE(p.prompt.last().buttons, PromptButtons::OkCancel);
        QCOMPARE(p.prompt.last().title, QStringLiteral("Tovo"));
        QCOMPARE(p.anzahlBelegungen(), 1);
        QCOMPARE(zaehler(p), 2);
        QVERIFY(form.f_RecBelegung);
        const CBelegungRec gespeichert = p.lies(form.f_RecBelegung->Rec_ID);
        QCOMPARE(gespeichert.lAuftrNr, 1);
        QCOMPARE(gespeichert.rb_id, p.raumB);
        QCOMPARE(gespeichert.Best, QStringLiteral("Gast"));
        QCOMPARE(gespeichert.dt_von, Tag(1));
        QCOMPARE(gespeichert.tm_bis, Uhr(10));
        QCOMPARE(gespeichert.Udt_von, TovoDate::kNoDate);
        QCOMPARE(form.windowTitle(), QStringLiteral("Antrag  1"));
        QCOMPARE(form.frTermin->title(), QStringLiteral("1 Termin vom"));
        QVERIFY(form.f_bGespeichert);
        QVERIFY(gbUpdatePending);
        QVERIFY(!form.Geaendert());

        // Saving again updates the same row under the same number.
        form.tfVerst->setText(QStringLiteral("Klausur II"));
        form.pbSave_Click();
        QCOMPARE(p.anzahlBelegungen(), 1);
        QCOMPARE(zaehler(p), 2);
        QCOMPARE(p.lies(form.f_RecBelegung->Rec_ID).Verst, QStringLiteral("Klausur II"));
    }

    void savingExistingBookingUpdatesIt() {
        AntragProjekt p;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumB);
        form.tfVerst->setText(QStringLiteral("Umzug"));
        form.tfTm_bis->setText(QStringLiteral("10:30"));
        form.pbSave_Click();
        QCOMPARE(p.texte(), QStringList{kGespeichert});
        QCOMPARE(p.anzahlBelegungen(), 1);
        QCOMPARE(zaehler(p), 1);
        const CBelegungRec gespeichert = p.lies(rec->Rec_ID);
        QCOMPARE(gespeichert.Verst, QStringLiteral("Umzug"));
        QCOMPARE(gespeichert.tm_bis, Uhr(10, 30));
        QCOMPARE(gespeichert.lAuftrNr, 500);
        QCOMPARE(form.f_RecBelegung->Verst, QStringLiteral("Umzug"));
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
        QTest::newRow("31 persons") << "31"
                                    << "4" << QStringList{pers, kGespeichert};
        QTest::newRow("30 persons, 10 tables") << "30"
                                               << "10" << QStringList{kGespeichert};
        QTest::newRow("odd tables") << ""
                                    << "5" << QStringList{gerade, kGespeichert};
        QTest::newRow("too many tables") << ""
                                         << "12" << QStringList{ausser, kGespeichert};
        QTest::newRow("too few and odd") << "2"
                                         << "3" << QStringList{ausser, gerade, kGespeichert};
        QTest::newRow("everything") << "45"
                                    << "0" << QStringList{pers, ausser, kGespeichert};
        QTest::newRow("no tables asked for") << ""
                                             << "" << QStringList{kGespeichert};
    }
    void personAndTableWarningsStillSave() {
        QFETCH(QString, personen);
        QFETCH(QString, tische);
        AntragProjekt p;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumA);
        form.tfPers->setText(personen);
        form.tfBeteiligtentische->setText(tische);
        form.pbSave_Click();
        QTEST(p.texte(), "meldungen");
        QCOMPARE(p.lies(rec->Rec_ID).Pers, personen);
    }

    void saveRefusals_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("no orderer")
            << "person"
            << "Geben Sie den Namen des Antragstellers ('Ansprechpartner') ein !";
        QTest::newRow("no free room") << "raum"
                                      << "Es ist kein Raum angegeben!";
    }
    void saveRefusals() {
        QFETCH(QString, fall);
        AntragProjekt p;
        if (fall == QLatin1String("raum")) {
            p.buche(p.satz(p.raumA, 0, Uhr(8), Uhr(18), 501));
            p.buche(p.satz(p.raumB, 0, Uhr(8), Uhr(18), 502));
        }
        frmAntrag form;
        form.NeuerAntrag(Tag(0));
        p.oeffne(form);
        if (fall == QLatin1String("raum")) {
            QCOMPARE(form.coFreeRooms->count(), 0);
            QVERIFY(!form.lbNichtverfuegbar->isHidden());
            form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        }
        const int vorher = p.anzahlBelegungen();
        p.prompt.clear();
        form.pbSave_Click();
        QTEST(p.prompt.last().text, "meldung");
        QCOMPARE(p.prompt.last().title, QStringLiteral("Speichern"));
        QCOMPARE(p.prompt.last().icon, PromptIcon::Information);
        QCOMPARE(p.anzahlBelegungen(), vorher);
        QVERIFY(!form.f_bGespeichert);
    }

    void failedWriteKeepsTheFormOpen() {
        AntragProjekt p;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumB);
        p.wert(QStringLiteral("CREATE TRIGGER sperre BEFORE UPDATE ON T_fm_belegung "
                              "BEGIN SELECT RAISE(ABORT, 'Zeile gesperrt'); END"));
        form.tfVerst->setText(QStringLiteral("Neu"));
        form.SetGeaendert(true);
        p.prompt.answer(PromptResult::Yes); // "Änderungen speichern ?"

        form.pbEnde_Click();
        QCOMPARE(p.prompt.shown.first().text, QStringLiteral("Änderungen speichern ?"));
        QCOMPARE(p.prompt.last().icon, PromptIcon::Critical);
        QVERIFY(p.prompt.last().text.contains(QLatin1String("Zeile gesperrt")));
        QVERIFY(!p.texte().contains(kGespeichert));
        QVERIFY(!form.Geschlossen());
        QVERIFY(!form.f_bGespeichert);
        QVERIFY(form.Geaendert());
        QCOMPARE(form.tfVerst->text(), QStringLiteral("Neu"));
        QCOMPARE(p.lies(rec->Rec_ID).Verst, QStringLiteral("Sitzung"));
    }

    void closing_data() {
        QTest::addColumn<bool>("geaendert");
        QTest::addColumn<bool>("ohneEnde");
        QTest::addColumn<QList<int>>("antworten");
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<bool>("geschlossen");
        QTest::addColumn<QString>("verst");
        const QString frage = QStringLiteral("Änderungen speichern ?");
        QTest::newRow("unchanged")
            << false << false << QList<int>{} << QStringList{} << true << "Sitzung";
        QTest::newRow("changed, not saved") << true << false << ZuAntworten({PromptResult::No})
                                            << QStringList{frage} << true << "Sitzung";
        QTest::newRow("changed, saved") << true << false << ZuAntworten({PromptResult::Yes})
                                        << QStringList{frage, kGespeichert} << true << "Neu";
        QTest::newRow("invalid dates, stay")
            << true << true << ZuAntworten({PromptResult::Ok, PromptResult::No})
            << QStringList{"Anfangs- und Enddatum setzen!",
                           "Maske trotzdem ohne Änderungen verlassen?"}
            << false << "Sitzung";
        QTest::newRow("invalid dates, leave")
            << true << true << ZuAntworten({PromptResult::Ok, PromptResult::Yes})
            << QStringList{"Anfangs- und Enddatum setzen!",
                           "Maske trotzdem ohne Änderungen verlassen?"}
            << true << "Sitzung";
    }
    void closing() {
        QFETCH(bool, geaendert);
        QFETCH(bool, ohneEnde);
        QFETCH(QList<int>, antworten);
        AntragProjekt p;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumB);
        form.tfVerst->setText(QStringLiteral("Neu"));
        form.SetGeaendert(geaendert);
        if (ohneEnde)
            form.tfDt_bis->clear();
        for (int a : antworten)
            p.prompt.answer(PromptResult(a));
        form.pbEnde_Click();
        QTEST(p.texte(), "meldungen");
        QTEST(form.Geschlossen(), "geschlossen");
        QTEST(p.lies(rec->Rec_ID).Verst, "verst");
    }

    void deletingSingleBooking_data() {
        QTest::addColumn<bool>("ja");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void deletingSingleBooking() {
        QFETCH(bool, ja);
        AntragProjekt p;
        // Another booking of the same order stays: only the row opened is deleted.
        auto andere = p.buche(p.satz(p.raumB, 5, Uhr(9), Uhr(10)));
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumB);
        p.prompt.answer(ja ? PromptResult::Yes : PromptResult::No);
        form.pbDelete_Click();
        QCOMPARE(p.prompt.shown.size(), 1);
        QCOMPARE(p.prompt.last().text,
                 QStringLiteral("Wollen Sie diese Reservierung wirklich löschen ?"));
        QCOMPARE(p.prompt.last().title, QStringLiteral("Achtung !"));
        QCOMPARE(p.prompt.last().buttons, PromptButtons::YesNo);
        QCOMPARE(p.anzahlBelegungen(), ja ? 1 : 2);
        QCOMPARE(p.lies(andere->Rec_ID).Rec_ID, andere->Rec_ID);
        QCOMPARE(form.Geschlossen(), ja);
    }

    void deletingOpenedOrderRemovesAllItsBookings() {
        AntragProjekt p;
        p.buche(p.satz(p.raumA, 0, Uhr(9), Uhr(10), 700));
        p.buche(p.satz(p.raumA, 7, Uhr(9), Uhr(10), 700));
        auto fremd = p.buche(p.satz(p.raumA, 1, Uhr(9), Uhr(10), 701));
        auto auftrag = std::make_shared<CBelegungRecColl>();
        p.db.ReadAuftrag2Coll(700, auftrag.get());
        frmAntrag form;
        form.OeffneAuftrag(auftrag);
        p.oeffne(form);
        form.pbDelete_Click();
        QCOMPARE(p.anzahlBelegungen(), 1);
        QCOMPARE(p.lies(fremd->Rec_ID).lAuftrNr, 701);
        QVERIFY(form.Geschlossen());
    }

    void deletingUnsavedReservation_data() {
        QTest::addColumn<bool>("vomNetzpult");
        QTest::newRow("new reservation") << false;
        QTest::newRow("portal request not yet saved") << true;
    }
    void deletingUnsavedReservation() {
        QFETCH(bool, vomNetzpult);
        AntragProjekt p;
        frmAntrag form;
        if (vomNetzpult) {
            form.f_RecBelegung = p.buche(p.satz(p.raumA, 0, Uhr(9), Uhr(10)));
            form.f_bVonNetzpult = true;
        }
        form.pbDelete_Click();
        QCOMPARE(p.texte(), QStringList{"Die Reservierung wurde noch nicht gespeichert!"});
        QCOMPARE(p.anzahlBelegungen(), vomNetzpult ? 1 : 0);
        QVERIFY(!form.Geschlossen());
    }

    void newReservation_data() {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("behalten");
        QTest::newRow("Yes keeps the particulars") << int(PromptResult::Yes) << true;
        QTest::newRow("No empties the form") << int(PromptResult::No) << false;
    }
    void newReservation() {
        QFETCH(int, antwort);
        QFETCH(bool, behalten);
        AntragProjekt p;
        frmAntrag form;
        CBelegungRec s = p.satz(p.raumB, 2, Uhr(10), Uhr(12));
        s.Inst = QStringLiteral("Stadtwerke");
        s.lFirma1 = p.firma;
        s.Bem = QStringLiteral("mit Beamer");
        s.Udt_von = Tag(2);
        s.Utm_von = Uhr(9);
        form.OeffneBelegung(p.buche(s));
        p.oeffne(form);
        p.prompt.clear();
        p.prompt.answer(PromptResult(antwort));

        form.pbNew_Click();
        QCOMPARE(p.texte(),
                 (QStringList{"Angaben übernehmen?", "Achtung! Datum wurde nicht gesetzt !"}));
        QCOMPARE(p.prompt.shown.first().buttons, PromptButtons::YesNoCancel);
        QCOMPARE(form.coFirma[0]->currentText(), behalten ? s.Inst : QString());
        QCOMPARE(form.coPerson[0]->currentText(), behalten ? s.Best : QString());
        QCOMPARE(form.tfVerst->text(), behalten ? s.Verst : QString());
        QCOMPARE(form.tfBem->text(), behalten ? s.Bem : QString());
        QCOMPARE(form.tfDt_von->text(), QString());
        QCOMPARE(form.tfDt_bis->text(), QString());
        QCOMPARE(form.tfTm_von->text(), QStringLiteral("8:00"));
        QCOMPARE(form.tfTm_bis->text(), QStringLiteral("9:00"));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(form.tfdt[i]->text(), QString());
            QCOMPARE(form.tftm[i]->text(), QStringLiteral("00:00"));
        }
        QCOMPARE(form.windowTitle(), QStringLiteral("Neuer Antrag"));
        QCOMPARE(form.frTermin->title(), QStringLiteral("Neuer Termin von"));
        QVERIFY(!form.f_RecBelegung && !form.f_BelegListe);
        QCOMPARE(form.f_lRecId, 0);
        QVERIFY(!form.f_bUpdate);
        QCOMPARE(form.coFreeRooms->count(), 0);

        // The next save adds a new booking.
        form.tfDt_von->setText(TagText(3));
        form.tfDt_bis->setText(TagText(3));
        form.coPerson[0]->setEditText(QStringLiteral("Gast"));
        form.pbFreeRooms_Click();
        form.pbSave_Click();
        QCOMPARE(p.anzahlBelegungen(), 2);
    }

    void newReservationCancelled() {
        AntragProjekt p;
        frmAntrag form;
        auto rec = oeffneBelegung(p, form, p.raumB);
        p.prompt.answer(PromptResult::Cancel);
        form.pbNew_Click();
        QCOMPARE(p.texte(), QStringList{"Angaben übernehmen?"});
        QCOMPARE(form.tfDt_von->text(), TagText(2));
        QCOMPARE(form.f_RecBelegung, rec);
    }

    void readOnlyUserCannotChangeAnything() {
        AntragProjekt p;
        goRecht->SetZugriff(QStringLiteral("L"));
        frmAntrag form;
        oeffneBelegung(p, form, p.raumB);
        for (QPushButton* b : {form.pbNew, form.pbSave, form.pbDelete, form.pbEMail,
                               form.cmdDruck[2], form.cmdDruck[5]})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        for (QPushButton* b : {form.pbEnde, form.cmdDruck[1], form.cmdDruck[3], form.pbHistorie})
            QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        // Closing asks nothing.
        form.SetGeaendert(true);
        form.pbEnde_Click();
        QCOMPARE(p.texte(), QStringList());
        QVERIFY(form.Geschlossen());
    }

    void calendarFillsTheBoxOfItsButton() {
        AntragProjekt p;
        frmAntrag form;
        oeffneBelegung(p, form, p.raumB);
        form.pbDatum_Click(1);
        QVERIFY(!form.mvDatum->isHidden());
        QCOMPARE(form.mvDatum->selectedDate(), QDate(2026, 3, 18));
        form.mvDatum_DateClick(QDate(2026, 3, 19));
        QVERIFY(form.mvDatum->isHidden());
        QCOMPARE(form.tfDt_bis->text(), QStringLiteral("19.03.2026"));
        QVERIFY(form.Geaendert());

        // The same button again closes the month view.
        form.pbDatum_Click(2);
        QVERIFY(!form.mvDatum->isHidden());
        QCOMPARE(form.mvDatum->selectedDate(), QDate::currentDate());
        form.pbDatum_Click(2);
        QVERIFY(form.mvDatum->isHidden());
        QCOMPARE(p.texte(), QStringList());
    }

    void showingTheFormLoadsItAndEscapeCloses() {
        AntragProjekt p;
        frmAntrag form;
        form.f_StammDb = &p.stamm;
        form.OeffneBelegung(p.buche(p.satz(p.raumB, 2, Uhr(9), Uhr(10))));
        int raeume = -1;
        // Waits for the activation that showing the form queued, then presses Escape.
        QTimer warten;
        int versuche = 0;
        connect(&warten, &QTimer::timeout, &form, [&] {
            if (form.coFreeRooms->count() == 0 && ++versuche < 500)
                return;
            warten.stop();
            raeume = form.coFreeRooms->count();
            QTest::keyClick(&form, Qt::Key_Escape);
        });
        warten.start(10);
        form.exec();
        QCOMPARE(raeume, 2);
        QCOMPARE(form.coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QVERIFY(form.Geschlossen());
        QCOMPARE(p.texte(), QStringList());
    }
};

QTEST_MAIN(TestFrmAntragBefehle)
#include "tst_frmantrag_befehle.moc"

// The reservation form's commands on a real project: saving new and existing bookings with their
// warnings, deleting, "Neu", closing, rights; and series: attaching one through the series
// dialog, saving it as one order, changing and deleting that order, the conflict test by date.
#include "AntragProjekt.h"
#include "Bearbeitbar.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {
const QString kGespeichert = QStringLiteral("Die aktuelle Raumreservierung wurde gespeichert!");
const QString kFrage = QStringLiteral("Änderungen speichern ?");
constexpr int Ja = int(PromptResult::Yes), Nein = int(PromptResult::No), Ok = int(PromptResult::Ok),
              Abbruch = int(PromptResult::Cancel);
} // namespace

class TestFrmAntragBefehle : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    std::unique_ptr<frmAntrag> form;

    int zaehler() { return p->wert(QStringLiteral("SELECT lNextNr FROM T_NextNr")).toInt(); }
    std::shared_ptr<CBelegungRec> oeffneBelegung(int32_t raum) {
        return p->oeffne(*form, p->satz(raum, Tag(2, 9), Tag(2, 10)));
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<AntragProjekt>();
        QVERIFY(p->ok);
        form = std::make_unique<frmAntrag>();
    }
    void cleanup() {
        form.reset();
        p.reset();
    }

    // A new reservation in room B on 17.03.2026 from 09:00, or a stored booking opened.
    void saving_data() {
        QTest::addColumn<bool>("neu");
        QTest::newRow("new reservation draws an order number") << true;
        QTest::newRow("opened booking keeps its number") << false;
    }
    void saving() {
        QFETCH(bool, neu);
        if (neu) {
            p->neu(*form, p->raumB, Tag(1, 9), QStringLiteral("10:30"));
        } else {
            oeffneBelegung(p->raumB);
        }
        form->tfVerst->setText(QStringLiteral("Klausur"));
        form->tfTm_bis->setText(QStringLiteral("10:30"));
        form->SetGeaendert(true);
        form->pbSave_Click();
        QCOMPARE(p->texte(), QStringList{kGespeichert});
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(zaehler(), neu ? 2 : 1);
        QVERIFY(form->f_bGespeichert && gbUpdatePending && !form->Geaendert());
        const CBelegungRec b = p->lies(form->f_RecBelegung->Rec_ID);
        QCOMPARE(std::tuple(b.lAuftrNr, b.rb_id, b.Best, b.Verst, b.dt_von, b.tm_bis, b.Udt_von),
                 std::tuple(neu ? 1 : 500, p->raumB, QString(neu ? "Gast" : "Berg, Karl"),
                            QStringLiteral("Klausur"), Tag(neu ? 1 : 2), Uhr(10, 30),
                            TovoDate::kNoDate));
        QCOMPARE(form->windowTitle(),
                 neu ? QStringLiteral("Antrag  1") : QStringLiteral("Antrag  500"));
        QCOMPARE(form->frTermin->title(), QStringLiteral("1 Termin vom"));

        // Saving again updates the same row under the same number.
        form->tfVerst->setText(QStringLiteral("Klausur II"));
        form->pbSave_Click();
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(zaehler(), neu ? 2 : 1);
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
        row("odd tables", "", "5", {gerade});
        row("too many tables", "", "12", {ausser});
        row("too few and odd", "2", "3", {ausser, gerade});
        row("no tables asked for", "", "", {});
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
        QCOMPARE(p->lies(rec->Rec_ID).Pers, personen);
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

    // A new end time typed and saved without leaving the box: by the mnemonic, by Enter, or by
    // closing with saving. The box's check runs first and finds the next booking in the way;
    // nothing is written, the form stays open.
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

    void showingTheFormLoadsItAndEscapeCloses() {
        form->f_StammDb = &p->stamm;
        form->OeffneBelegung(p->buche(p->satz(p->raumB, Tag(2, 9), Tag(2, 10))));
        int raeume = -1;
        // Waits for the activation that showing the form queued, then presses Escape.
        QTimer warten;
        int versuche = 0;
        connect(&warten, &QTimer::timeout, form.get(), [&] {
            if (form->coFreeRooms->count() == 0 && ++versuche < 500)
                return;
            warten.stop();
            raeume = form->coFreeRooms->count();
            QTest::keyClick(form.get(), Qt::Key_Escape);
        });
        warten.start(10);
        form->exec();
        QCOMPARE(raeume, 2);
        QCOMPARE(form->coFreeRooms->currentText(), QStringLiteral("Raum B"));
        QVERIFY(form->Geschlossen());
        QCOMPARE(p->texte(), QStringList());
    }

    void attachingAndCancelling_data() {
        QTest::addColumn<QList<int>>("gefuellt"); // set-up/clear-down rows holding a date
        QTest::newRow("none") << QList<int>{};
        QTest::newRow("clear-down end") << QList<int>{3};
        QTest::newRow("all four") << QList<int>{0, 1, 2, 3};
    }
    void attachingAndCancelling() {
        QFETCH(QList<int>, gefuellt);
        p->neu(*form, p->raumA, Tag(0, 10), QStringLiteral("12:00"));
        for (int i : gefuellt)
            form->tfdt[i]->setText(TagText(0));
        form->SetGeaendert(false);

        p->wochenserie(*form, 4);
        QCOMPARE(p->texte(),
                 QStringList(gefuellt.size(), "Bei Serien sind keine Um- und Rückbauten "
                                              "möglich--> werden zurückgesetzt!"));
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
        const QString zaehler = QStringLiteral("SELECT lNextNr FROM T_NextNr");
        QCOMPARE(p->wert("SELECT COUNT(*) FROM T_fm_belegung WHERE lAuftrNr = 1").toInt(), 4);
        QCOMPARE(p->wert(zaehler).toInt(), 2);
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
        QCOMPARE(p->wert(zaehler).toInt(), 2);
        for (int w = 0; w < 4; ++w) {
            const CBelegungRec b = p->lies(keys[w]);
            QCOMPARE(std::tuple(b.lAuftrNr, b.dt_von, b.tm_von, b.tm_bis, b.rb_id),
                     std::tuple(1, Tag(7 * w), Uhr(9), Uhr(12), p->raumB));
        }

        form->pbDelete_Click();
        QCOMPARE(p->anzahlBelegungen(), 1);
        QCOMPARE(p->lies(fremd).lAuftrNr, 900);
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
        p->buche(p->raumA, Tag(tag) + von, Tag(tag) + von + Uhr(1), 900);
        p->neu(*form, p->raumA, Tag(0, 10), QStringLiteral("12:00"));
        p->wochenserie(*form, 4);

        // The free-room search over every date keeps room A when it is free on all of them.
        QCOMPARE(form->coFreeRooms->count(), konflikt.isEmpty() ? 2 : 1);
        QCOMPARE(form->RaumTag(), QString::number(konflikt.isEmpty() ? p->raumA : p->raumB));
        if (konflikt.isEmpty()) {
            QCOMPARE(p->texte(), QStringList());
            return;
        }
        QCOMPARE(p->prompt.shown.size(), 1);
        QCOMPARE(p->prompt.last().text,
                 "Es gibt einen Belegungskonflikt bei folgenden Daten:\r\n\r\nRaum: 'Raum A' am " +
                     konflikt +
                     ". \r\n\r\nDer Antrag wurde vom Raum 'Raum A' in den freien Raum 'Raum B' "
                     "dieser Raumart umgeschaltet. Bitte prüfen Sie den Raum.");
    }
};

QTEST_MAIN(TestFrmAntragBefehle)
#include "tst_frmantrag_befehle.moc"

// The master-data forms: rooms, room types and employees.
#include "Bearbeitbar.h"
#include "GebDb.h"
#include "RaumMaske.h"
#include "ScriptedModal.h"
#include "StammGrid.h"
#include "StammdatenDb.h"
#include "TestProjekt.h"
#include "TovoTextbox.h"
#include "frmGebStruSel.h"
#include "frmGebStruktur.h"
#include "frmMitarbeiter.h"
#include "frmPersonWahl.h"
#include "frmRaum.h"
#include "frmRaumArt.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest>

namespace {
CAnzeigeRec Lies(int32_t id) {
    CAnzeigeRec r;
    r.az_ID = id;
    gRvDb->Readrb_AnzeigeRec(&r);
    return r;
}
QStringList Liste(const QListWidget* lb) {
    QStringList t;
    for (int i = 0; i < lb->count(); ++i)
        t << lb->item(i)->text();
    return t;
}
QStringList InDb() {
    QStringList t;
    CRaumartRecColl coll;
    gRvDb->ReadAllRaumartRec2Coll(&coll);
    for (const CRaumartRec* a : coll)
        t << a->stRaumArt;
    return t;
}
int32_t Mitarbeiter(TestProjekt& p, const QString& name, const QString& vorname) {
    CMitarbeiterRec m;
    m.stName = name;
    m.stVorname = vorname;
    m.lAnsprechId = 77;
    p.ok = gRvDb->AddNewMitarbeiterRec(&m) && p.ok;
    return m.lId;
}
QStringList Namen() {
    CMitarbeiterRecColl coll;
    gRvDb->ReadAllMitarbeiter2Coll(&coll);
    QStringList t;
    for (const CMitarbeiterRec* m : coll)
        t << m->stVorname + ' ' + m->stName;
    return t;
}
// A project with the rooms "Raum 1" and "Raum 2" of the type "Seminar".
struct ZweiRaeume : TestProjekt {
    const int32_t art = raumart("Seminar");
    const int32_t raum1 = raum("Raum 1", art), raum2 = raum("Raum 2", art);
};
} // namespace

class TestRaum : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A stored room shown in the mask and saved again unchanged.
    void formRoundTrip_data() {
        QTest::addColumn<QString>("stuhl");
        QTest::addColumn<QString>("ausstattung");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("stuhlNeu");
        QTest::addColumn<QString>("ausstattungNeu");
        auto row = [](const char* stuhl, const char* aus, int index, const char* stuhlNeu,
                      const char* ausNeu) {
            QTest::addRow("%s, %s", stuhl, aus)
                << QString(stuhl) << QString(aus) << index << QString(stuhlNeu) << QString(ausNeu);
        };
        row("OU", "BW", 6, "UO", "WB");
        row("OKU", "BGSANLFRMCPW", 7, "KUO", "WPCMRFLNASGB");
        row("UK", "", 4, "KU", "");
        row("KK", "X", 0, "", "");
    }
    void formRoundTrip() {
        QFETCH(QString, stuhl);
        QFETCH(QString, ausstattung);
        TestProjekt p;
        CAnzeigeRec r;
        r.Kurzbez = "Raum 1";
        r.lRaumartId = p.raumart("Seminar");
        r.STSTUHLANORDNUNG = stuhl;
        r.stAusstattung = ausstattung;
        r.IANZAHLPERS = 12;
        const int32_t id = p.raum(r);
        frmRaum form;
        form.Form_Activate();
        QTEST(form.coStuhlanordnung->currentIndex(), "index");
        for (int i = 0; i < 12; ++i)
            QCOMPARE(form.cbAusstattung[i]->isChecked(),
                     ausstattung.contains(RaumMaske::kAusstattung[i]));
        QCOMPARE(form.fgAnzeige->item(0, 5 + RaumMaske::kAusstattungSpalten.indexOf('B'))->text(),
                 QString(ausstattung.contains('B') ? "x" : ""));
        QVERIFY(form.OnButtonSave());
        QTEST(Lies(id).STSTUHLANORDNUNG, "stuhlNeu");
        QTEST(Lies(id).stAusstattung, "ausstattungNeu");
        QCOMPARE(Lies(id).IANZAHLPERS, int16_t(12));
        // "Neu" starts from empty fields.
        form.MainToolbarButtons.value("New")->trigger();
        QCOMPARE(form.edAnzahlPers->text() + form.coStuhlanordnung->currentText(), QString());
        for (const QCheckBox* cb : form.cbAusstattung)
            QVERIFY(!cb->isChecked());
    }

    void save_data() {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("personen");
        QTest::addColumn<QString>("meldung"); // start of the message, empty = saved
        const QString dup = QStringLiteral("Es gibt bereits einen Raum mit diesem Namen!");
        auto row = [](const char* name, bool neu, const QString& raum, const char* personen,
                      const QString& meldung) {
            QTest::newRow(name) << neu << raum << QString(personen) << meldung;
        };
        const QString zahl = QStringLiteral("Im Feld 'Personen'");
        row("doppelt neu", true, "raum 2", "", dup);
        row("leer", true, "  ", "", "Bezeichnung eingeben!");
        row("eigener Name", false, "Raum 1", "20", "");
        row("umbenannt auf anderen", false, "Raum 2", "", dup);
        row("keine Zahl", false, "Raum 1", "zwölf", zahl);
        row("zu groß", true, "Raum 3", "40000", zahl);
        row("Umlaute, Emoji", true, "Größe 🙂 \\ <b>", "7", "");
        row("500 Zeichen", true, QString(500, QChar(u'ß')), "", "");
    }
    void save() {
        QFETCH(bool, neu);
        QFETCH(QString, name);
        QFETCH(QString, personen);
        QFETCH(QString, meldung);
        ZweiRaeume p;
        frmRaum form;
        form.Form_Activate();
        QCOMPARE(form.Aktuell()->Kurzbez, QStringLiteral("Raum 1"));
        if (neu)
            form.MainToolbarButtons.value("New")->trigger();
        form.edName->setText(name);
        form.edAnzahlPers->setText(personen);
        form.coRaumart->setCurrentIndex(0);
        QVERIFY(form.MainToolbarButtons.value("Save")->isEnabled());
        const bool ok = form.OnButtonSave();
        QCOMPARE(ok, meldung.isEmpty());
        QCOMPARE(p.wert("SELECT COUNT(*) FROM T_rb_Anzeige").toInt(), 2 + (ok && neu));
        if (!ok) {
            QVERIFY(p.texte().value(0).startsWith(meldung));
            QCOMPARE(form.edName->text(), name); // nothing lost
            return;
        }
        QCOMPARE(Lies(form.Aktuell()->az_ID).Kurzbez, name);
        QCOMPARE(form.fgAnzeige->item(form.fgAnzeige->currentRow(), 0)->text(), name);
        QVERIFY(!form.MainToolbarButtons.value("Save")->isEnabled());
    }

    void deleteWithBookings_data() {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<int>("raeume");
        QTest::addColumn<int>("belegungen");
        QTest::newRow("Ja") << int(PromptResult::Yes) << 0 << 1;
        QTest::newRow("Nein") << int(PromptResult::No) << 1 << 4;
    }
    void deleteWithBookings() {
        QFETCH(int, antwort);
        ZweiRaeume p;
        const double heute = TovoDate::today().value();
        p.archiviere(p.buche(p.raum1, heute - 400 + 0.4, heute - 400 + 0.5));
        p.buche(p.raum1, heute - 3 + 0.4, heute - 3 + 0.5);
        p.buche(p.raum1, heute + 30 + 0.4, heute + 30 + 0.5);
        p.buche(p.raum2, heute + 0.4, heute + 0.5);
        frmRaum form;
        form.Form_Activate();
        p.prompt.answer(PromptResult(antwort));
        form.MainToolbarButtons.value("Delete")->trigger();
        QVERIFY(p.texte().value(0).startsWith(
            "Raum 'Raum 1' hat 3 Reservierungen, davon 1 in der Zukunft."));
        QVERIFY(p.texte().value(0).endsWith("Eintrag wirklich löschen?"));
        QTEST(p.wert("SELECT COUNT(*) FROM T_rb_Anzeige WHERE az_ID = ?", {p.raum1}).toInt(),
              "raeume");
        QTEST(p.anzahlBelegungen(), "belegungen");
        QCOMPARE(form.fgAnzeige->rowCount(), antwort == int(PromptResult::Yes) ? 1 : 2);
        QCOMPARE(form.f_bChange, antwort == int(PromptResult::Yes));
    }

    // Clicking another row with unsaved changes asks; Yes saves the room that was changed.
    void asksAboutUnsavedChanges_data() {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("Ja") << int(PromptResult::Yes) << "Raum 1a";
        QTest::newRow("Nein") << int(PromptResult::No) << "Raum 1";
    }
    void asksAboutUnsavedChanges() {
        QFETCH(int, antwort);
        ZweiRaeume p;
        frmRaum form;
        form.Form_Activate();
        form.edName->setText("Raum 1a");
        p.prompt.answer(PromptResult(antwort));
        form.fgAnzeige->setCurrentItem(form.fgAnzeige->findItems("Raum 2", Qt::MatchExactly)[0]);
        QCOMPARE(p.texte().join("|"), QString("Daten wurden nicht gespeichert! Jetzt speichern?"));
        QTEST(Lies(p.raum1).Kurzbez, "gespeichert");
        QCOMPARE(form.edName->text(), QStringLiteral("Raum 2"));
        QVERIFY(!form.MainToolbarButtons.value("Save")->isEnabled());
    }

    // Sorted by a column the rows still lead to their rooms and a save finds its row; a failing
    // database shows the driver's text and keeps the entry.
    void sortedAndDatabaseError() {
        ZweiRaeume p;
        p.wert("UPDATE T_rb_Anzeige SET IANZAHLPERS = 30 WHERE az_ID = ?", {p.raum1});
        p.wert("UPDATE T_rb_Anzeige SET IANZAHLPERS = 5 WHERE az_ID = ?", {p.raum2});
        frmRaum form;
        form.Form_Activate();
        form.fgAnzeige->sortByColumn(4, Qt::AscendingOrder);
        QCOMPARE(form.fgAnzeige->item(0, 0)->text(), QStringLiteral("Raum 2"));
        form.fgAnzeige->setCurrentCell(1, 0);
        QCOMPARE(form.edName->text(), QStringLiteral("Raum 1"));
        form.edAnzahlPers->setText("3");
        QVERIFY(form.OnButtonSave());
        QCOMPARE(form.fgAnzeige->item(0, 0)->text(), QStringLiteral("Raum 1"));
        QCOMPARE(form.fgAnzeige->item(0, 4)->data(Qt::DisplayRole).toInt(), 3);
        QCOMPARE(form.fgAnzeige->currentRow(), 0);

        p.wert("DROP TABLE T_rb_Anzeige");
        form.edName->setText("A2");
        QVERIFY(!form.OnButtonSave());
        QVERIFY(!gRvDb->LastError().isEmpty());
        QCOMPARE(p.prompt.last().text, gRvDb->LastError());
        QCOMPARE(form.edName->text(), QStringLiteral("A2"));
    }

    void readOnly() {
        TestProjekt p;
        p.raum("Raum 1", p.raumart("Seminar"));
        goRecht->SetZugriff("L");
        frmRaum form;
        form.Form_Activate();
        for (const char* key : {"New", "Save", "Delete"})
            QVERIFY(!form.MainToolbarButtons.value(key)->isEnabled());
        QCOMPARE(Bearbeitbar(&form), QStringList());

        frmRaumArt arten;
        arten.Form_Activate();
        QVERIFY(!arten.pbNeu->isEnabled() && !arten.pbSave->isEnabled() &&
                !arten.pbDel->isEnabled());
        arten.edRaumArt->setText("Anders");
        arten.pbSave_Click();
        QCOMPARE(InDb(), QStringList{"Seminar"});
    }

    void buildingStructure_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("nummer");
        QTest::newRow("lang") << "S.G.BE.R" << true << "1.2.03.115";
        QTest::newRow("Etage und Raum") << "E.R" << true << "03.115";
        QTest::newRow("Abbruch") << "S.G.BE.R" << false << "alt";
    }
    void buildingStructure() {
        QFETCH(QString, format);
        QFETCH(bool, ok);
        TestProjekt p;
        CGebDb geb;
        QVERIFY(geb.OpenJet(QString(), QString(), p.dir.filePath("TovoGebaeude.mdb")));
        // Entered as a user does, each entry below the one saved before.
        frmGebStruktur editor(&geb);
        const auto neu = [&](int ebene, const QString& nr, const QString& bez) {
            editor.pbNeu_Click(ebene);
            editor.edNr->setText(nr);
            editor.edBez->setText(bez);
            editor.pbSpeichern_Click();
            return editor.tvGebstru->currentItem()->data(0, frmGebStruSel::kRolleId).toInt();
        };
        neu(1, "1", "Zentrale");
        const int32_t g = neu(2, "2", "Haus \"B\"");
        neu(3, "03", "3. OG");
        const int32_t r = neu(4, "1'15", "Besprechung");

        frmRaum form;
        form.f_GebStru = &geb;
        form.f_stRaumNrFormat = format;
        form.Form_Activate();
        form.edRaumNr->setText("alt");
        bool okAnfangs = true;
        ScriptedModal modal;
        modal.einmal([&](frmGebStruSel& sel) {
            sel.WaehleKnoten(g);
            okAnfangs = sel.pbOK->isEnabled();
            sel.WaehleKnoten(r);
            (ok ? sel.pbOK : sel.pbCancel)->click();
        });
        form.pbGebStru->click();
        QVERIFY(!okAnfangs);
        QTEST(form.edRaumNr->text(), "nummer");
        QCOMPARE(form.GebraumId(), ok ? r : 0);
        // Deleting the building takes its floor and room along.
        QVERIFY(editor.WaehleKnoten(g));
        editor.pbLoeschen_Click();
        QCOMPARE(geb.AllNodes().size(), 1);
    }

    void saveRoomType_data() {
        QTest::addColumn<int>("zeile"); // -1 new, else the entry renamed
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QStringList>("danach");
        const QString dup = QStringLiteral("Es gibt bereits eine solche Raumart!");
        const QString lang = QString(500, QChar(u'ä'));
        const QStringList beide{"Seminar", "Büro"};
        QTest::newRow("leer") << -1 << "   "
                              << "Bezeichnung eingeben!" << beide;
        QTest::newRow("doppelt neu") << -1 << "seminar" << dup << beide;
        QTest::newRow("doppelt umbenannt") << 1 << "Seminar" << dup << beide;
        QTest::newRow("eigener Name") << 1 << "Büro" << QString() << beide;
        QTest::newRow("umbenannt")
            << 0 << "Schulung 🎓" << QString() << QStringList{"Schulung 🎓", "Büro"};
        QTest::newRow("500 Zeichen")
            << -1 << lang << QString() << QStringList{"Seminar", "Büro", lang};
    }
    void saveRoomType() {
        QFETCH(int, zeile);
        QFETCH(QString, name);
        QFETCH(QString, meldung);
        QFETCH(QStringList, danach);
        TestProjekt p;
        p.raumart("Seminar");
        p.raumart("Büro");
        frmRaumArt form;
        form.Form_Activate();
        if (zeile < 0)
            form.pbNeu->click();
        else
            form.lbRaumArt->setCurrentRow(zeile);
        form.edRaumArt->setText(name);
        form.pbSave->click();
        QCOMPARE(p.texte().join("|"), meldung);
        QCOMPARE(Liste(form.lbRaumArt), danach);
        QCOMPARE(InDb(), danach);
        QCOMPARE(form.f_bChange, meldung.isEmpty());
    }

    void deleteRoomType_data() {
        QTest::addColumn<bool>("belegt");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QStringList>("danach");
        const QStringList beide{"Seminar", "Büro"};
        QTest::newRow("benutzt") << true << int(PromptResult::Yes) << beide;
        QTest::newRow("Nein") << false << int(PromptResult::No) << beide;
        QTest::newRow("frei") << false << int(PromptResult::Yes) << QStringList{"Seminar"};
    }
    void deleteRoomType() {
        QFETCH(bool, belegt);
        QFETCH(int, antwort);
        QFETCH(QStringList, danach);
        TestProjekt p;
        p.raumart("Seminar");
        const int32_t buero = p.raumart("Büro");
        if (belegt)
            p.raum("Raum 1", buero);
        frmRaumArt form;
        form.Form_Activate();
        form.lbRaumArt->setCurrentRow(1);
        p.prompt.answer(PromptResult(antwort));
        form.pbDel->click();
        if (belegt)
            QCOMPARE(p.texte().last(), QString("Die Raumart kann nicht gelöscht werden! Es "
                                               "existieren Räume dieser Art!"));
        QCOMPARE(Liste(form.lbRaumArt), danach);
        QCOMPARE(InDb(), danach);
    }

    void saveEmployee_data() {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("danach");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("neu neben dem gezeigten")
            << true << "Özdemir 🙂" << QStringList{"Karl Berg", "Eva Özdemir 🙂"} << 0;
        QTest::newRow("geändert") << false << "Bergmann" << QStringList{"Eva Bergmann"} << 0;
        QTest::newRow("ohne Namen") << true << "" << QStringList{"Karl Berg"} << 1;
    }
    void saveEmployee() {
        QFETCH(bool, neu);
        QFETCH(QString, name);
        QFETCH(int, meldungen);
        TestProjekt p;
        const int32_t berg = Mitarbeiter(p, "Berg", "Karl");
        frmMitarbeiter form;
        form.Form_Activate();
        QCOMPARE(form.edName->text(), QStringLiteral("Berg"));
        if (neu) {
            form.pbNeu->click();
            QVERIFY(form.edName->text().isEmpty() && form.edVorname->text().isEmpty());
        }
        if (!name.isEmpty())
            form.edVorname->setText("Eva");
        form.edName->setText(name);
        form.edKostenstelle->setText("4711");
        form.pbSave->click();
        QCOMPARE(p.prompt.shown.size(), meldungen);
        QTEST(Namen(), "danach");
        QCOMPARE(form.fgAnzeige->rowCount(), Namen().size());
        CMitarbeiterRec alt;
        alt.lId = berg;
        gRvDb->ReadMitarbeiterRec(&alt);
        QCOMPARE(alt.lAnsprechId, 77); // kept, not edited by the form
        if (meldungen == 0)
            QCOMPARE(form.Aktuell()->STKOSTENSTELLE, QStringLiteral("4711"));
    }

    void deleteLastEmployee() {
        TestProjekt p;
        Mitarbeiter(p, "Berg", "Karl");
        frmMitarbeiter form;
        form.Form_Activate();
        form.pbDel->click();
        QCOMPARE(Namen(), QStringList());
        QCOMPARE(form.fgAnzeige->rowCount(), 0);
        QVERIFY(form.edName->text().isEmpty() && !form.Aktuell());
    }

    void employeeFromMasterData() {
        TestProjekt p;
        CStammdatenDb stamm;
        QVERIFY(stamm.OpenJet(QString(), QString(), p.dir.filePath("TovoStammdaten.mdb"),
                              goRecht.get()));
        Firma f{0, "Müller & Söhne GmbH", {}, {}, {}};
        QVERIFY(stamm.SaveFirma(f));
        Person per{0,  f.lId, "Frau", "Lena",    "Kahn",          {}, {}, "l.kahn@example.org",
                   {}, {},    "0815", "Leitung", "nur vormittags"};
        QVERIFY(stamm.SavePerson(per));

        frmMitarbeiter form;
        form.f_StammDb = &stamm;
        form.Form_Activate();
        ScriptedModal modal;
        modal.einmal([](frmPersonWahl& wahl) {
            wahl.lbPersonen->setCurrentRow(0);
            wahl.pbOK->click();
        });
        form.pbGetStamm->click();
        QCOMPARE(QStringList({form.edAnrede->text(), form.edVorname->text(), form.edName->text(),
                              form.edEMail->text(), form.edFirma->text(), form.edPersNr->text(),
                              form.edFunktion->text(), form.edBemerkung->text()}),
                 QStringList({"Frau", "Lena", "Kahn", "l.kahn@example.org", "Müller & Söhne GmbH",
                              "", "Leitung", "nur vormittags"}));
        QCOMPARE(Namen(), QStringList()); // nothing written before saving
        form.pbSave->click();
        QCOMPARE(Namen(), QStringList{"Lena Kahn"});
    }
};

QTEST_MAIN(TestRaum)
#include "tst_raum.moc"

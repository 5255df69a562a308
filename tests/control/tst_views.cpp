// The occupancy views built from a real project: bars, row labels, the table of a day, moving
// through time with the period, step and toolbar commands; and bookings from the plan and the
// table: opening, creating, moving, and the editing menu's rights.
#include "SteuerungProjekt.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"
#include "frmAntrag.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

namespace {
QString T(double v) {
    return TovoDate(v).format("dd.MM.yyyy hh:mm");
}
QString Datum(double v) {
    return TovoDate(v).format("dd.MM.yyyy");
}
} // namespace

class TestViews : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> exe;
    std::unique_ptr<SteuerungProjekt> p;
    int32_t raum1 = 0, raum2 = 0, saal = 0;
    // What the control handed to the form it opened, one entry per opened form.
    struct Geoeffnet {
        bool einzeln = false, auftrag = false, update = false;
        QString titel;
    };
    QList<Geoeffnet> geoeffnet;

    int32_t book(int32_t room, double von, double bis, const QString& best, bool mail = false,
                 int32_t auftrag = 500) {
        CBelegungRec b = TestProjekt::satz(room, von, bis, auftrag);
        b.Best = best;
        b.bEMail = mail;
        return p->buche(b)->Rec_ID;
    }
    QVector<ZeitPlanTermin> barsOf(int64_t id) const {
        QVector<ZeitPlanTermin> out;
        for (const auto& t : p->ctrl.TovoZeitPlan1->Termine())
            if (t.lId == id)
                out << t;
        return out;
    }
    // Order 1 in room 1 on Monday 10:00 to 12:00, with a set-up hour before it if asked.
    int32_t zehnBisZwoelf(bool umbau) {
        CBelegungRec b = TestProjekt::satz(raum1, Tag(0, 10), Tag(0, 12), 1);
        if (umbau) {
            b.Udt_von = b.Udt_bis = Tag(0);
            b.Utm_von = Uhr(9);
            b.Utm_bis = Uhr(10);
        }
        return p->buche(b)->Rec_ID;
    }

private Q_SLOTS:
    void init() {
        exe = std::make_unique<QTemporaryDir>();
        QDir().mkpath(exe->filePath("Leeres Projekt"));
        QFile::copy(TemplateDbPath(), exe->filePath("Leeres Projekt/TovoRaumverw.mdb"));
        p = std::make_unique<SteuerungProjekt>(exe->path());
        const int32_t besprechung = p->raumart("Besprechung");
        const int32_t schulung = p->raumart("Schulung");
        p->raumart("Lager"); // a type without rooms
        raum1 = p->raum("Raum 1", besprechung, "1.1.01.6");
        raum2 = p->raum("Raum 2", besprechung, "1.1.01.6");
        saal = p->raum("Saal", schulung, "1.1.01.4");
        QVERIFY(p->ok);
        geoeffnet.clear();
        p->modal.immer([this](frmAntrag& form) {
            geoeffnet.append({form.f_RecBelegung != nullptr, form.f_BelegListe != nullptr,
                              form.f_bUpdate, form.windowTitle()});
        });
    }
    void cleanup() {
        p.reset();
        exe.reset();
    }

    void barsFollowSetUpAndClearDown() {
        const int32_t plain = book(raum1, Tag(0, 9), Tag(0, 11), "Meier");
        CBelegungRec full = TestProjekt::satz(raum2, Tag(0, 10), Tag(0, 12));
        full.Udt_von = full.Udt_bis = full.Rdt_von = full.Rdt_bis = Tag(0);
        full.Utm_von = Uhr(8);
        full.Utm_bis = Uhr(9, 30);
        full.Rtm_von = Uhr(12, 30);
        full.Rtm_bis = Uhr(14);
        full.Rec_ID = p->buche(full)->Rec_ID;
        // Open ends: a set-up without end and a clear-down without start.
        CBelegungRec open = TestProjekt::satz(saal, Tag(1, 10), Tag(1, 12));
        open.Udt_von = open.Rdt_bis = Tag(1);
        open.Utm_von = Uhr(7);
        open.Rtm_bis = Uhr(15);
        open.Rec_ID = p->buche(open)->Rec_ID;
        const int32_t archived = book(raum1, Tag(2, 9), Tag(2, 10), "Alt");
        p->archiviere(archived);

        p->ctrl.Data2Ctrl();
        p->ctrl.TovoZeitPlan1->SetAnzeigedatum(Tag(0));
        QCOMPARE(barsOf(plain).at(0).stName, "Meier/Sitzung/");
        auto bars = [&](int32_t id) {
            QStringList out;
            for (const auto& t : barsOf(id))
                out << QString::number(t.lFarbe == kFarbeUmbau) + QLatin1Char(' ') + T(t.DtVon) +
                           " - " + T(t.DtBis);
            return out;
        };
        QCOMPARE(bars(plain), QStringList{"0 16.03.2026 09:00 - 16.03.2026 11:00"});
        QCOMPARE(bars(full.Rec_ID), (QStringList{"1 16.03.2026 08:00 - 16.03.2026 09:30",
                                                 "0 16.03.2026 10:00 - 16.03.2026 12:00",
                                                 "1 16.03.2026 12:30 - 16.03.2026 14:00"}));
        // The open set-up ends at the start, the open clear-down begins at the end.
        QCOMPARE(bars(open.Rec_ID), (QStringList{"1 17.03.2026 07:00 - 17.03.2026 10:00",
                                                 "0 17.03.2026 10:00 - 17.03.2026 12:00",
                                                 "1 17.03.2026 12:00 - 17.03.2026 15:00"}));
        QVERIFY(barsOf(archived).isEmpty());
        QCOMPARE(p->prompt.shown.size(), 0);
    }

    void rowLabels_data() {
        QTest::addColumn<int>("typ"); // index in the room type box
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("all types") << 0 << QStringList{"Be:Raum 1", "Be:Raum 2", "Sc:Saal"};
        QTest::newRow("one type") << 1 << QStringList{"Raum 1", "Raum 2"};
        QTest::newRow("type without rooms") << 3 << QStringList{};
    }
    void rowLabels() {
        QFETCH(int, typ);
        QFETCH(QStringList, labels);
        book(raum1, Tag(0, 9), Tag(0, 11), "Meier");
        p->ctrl.Data2Ctrl();
        p->ctrl.TovoZeitPlan1->SetAnzeigedatum(Tag(0));
        p->ctrl.coRaumart->setCurrentIndex(typ);
        p->ctrl.coRaumart_Click();
        QStringList shown;
        for (const auto& r : p->ctrl.TovoZeitPlan1->Raeume())
            shown << r.stName;
        QCOMPARE(shown, labels);
        QCOMPARE(p->ctrl.TovoZeitPlan1->Termine().isEmpty(), labels.size() < 2);
        QVERIFY(p->prompt.shown.isEmpty());
    }

    // The main plan holds the bookings around what it shows and reads on when moved beyond
    // them; the overview strip holds those of its own months.
    void readsAroundTheShownPeriod() {
        const int32_t woche = book(raum1, Tag(0, 9), Tag(0, 11), "Woche");
        const int32_t naechste = book(raum2, Tag(10, 9), Tag(10, 11), "Nah");
        const int32_t spaeter = book(raum1, Tag(60, 9), Tag(60, 11), "Fern");
        const double heute = TovoDate::today().value();
        const int32_t jetzt = book(saal, heute + 0.4, heute + 0.5, "Heute");
        p->ctrl.Data2Ctrl();
        p->ctrl.TovoZeitPlan1->SetAnzeigedatum(Tag(0));
        QVERIFY(!barsOf(woche).isEmpty() && !barsOf(naechste).isEmpty());
        QVERIFY(barsOf(spaeter).isEmpty() && barsOf(jetzt).isEmpty());
        QTRY_VERIFY(!p->ctrl.StreifenLaedt()); // the strip follows the first paint
        const auto& streifen = p->ctrl.TovoZeitPlan2->Termine();
        QVERIFY(
            std::any_of(streifen.begin(), streifen.end(), [&](auto& t) { return t.lId == jetzt; }));

        for (int i = 0; i < 9; ++i)
            p->ctrl.btZeit_Click(3); // a week on each time
        QCOMPARE(barsOf(spaeter).size(), 1);
        QVERIFY(barsOf(woche).isEmpty());
        // A rebuild stays with the shown period. After a form nothing is read while nobody
        // wrote; a save shows at once.
        p->ctrl.SetzeAnsichtNeu();
        QVERIFY(barsOf(woche).isEmpty() && barsOf(spaeter).size() == 1);
        QTRY_VERIFY(!p->ctrl.StreifenLaedt());
        p->ctrl.AenderungenZeigen();
        QVERIFY(!p->ctrl.StreifenLaedt());
        const int32_t neu = book(raum2, Tag(61, 9), Tag(61, 11), "Neu");
        p->ctrl.AenderungenZeigen();
        QCOMPARE(barsOf(neu).size(), 1);
    }

    void tableListsEveryRoomOfTheDay() {
        book(raum1, Tag(0, 14), Tag(0, 15), "Spät", true, 1);
        book(raum1, Tag(0, 9), Tag(0, 10), "Früh", false, 2);
        book(raum2, Tag(-1, 9), Tag(1, 10), "Lang", false, 3); // covers the day
        p->ctrl.Data2Ctrl();
        p->ctrl.show();
        // "Anzeige" steps from the plan through the plan with room details to the table.
        for (int i = 0; i < 2; ++i)
            p->ctrl.MainToolbar_ButtonClick("Anzeige");
        QVERIFY(p->ctrl.AktuelleAnsicht() == 1 && p->ctrl.fgMain->isVisible() &&
                !p->ctrl.TovoZeitPlan1->isVisible());
        p->ctrl.ZeigeTag(Tag(0));
        QTableWidget* g = p->ctrl.fgMain;
        auto zeile = [&](int r) {
            QStringList out;
            for (int c : {0, 1, 2, 4, 11})
                out << (g->item(r, c) ? g->item(r, c)->text() : QString());
            return out.join(QLatin1Char('|'));
        };
        QCOMPARE(g->rowCount(), 4);
        QCOMPARE(zeile(0), "Raum 1 (1.1.01.6)|2|09:00|Früh|Nein");
        QCOMPARE(zeile(1), "Raum 1 (1.1.01.6)|1|14:00|Spät|Ja");
        QCOMPARE(zeile(2), "Raum 2 (1.1.01.6)|3|09:00|Lang|Nein");
        // The room without a booking that day: listed, no order number, no id.
        QCOMPARE(zeile(3), "Saal (1.1.01.4)||||");
        QVERIFY(!g->item(3, 0)->data(Qt::UserRole).isValid());

        // Sorting by "Von Zeit" compares times; the empty cell counts as midnight.
        p->ctrl.fgMain_HeaderClick(2);
        QCOMPARE(g->item(0, 0)->text(), "Saal (1.1.01.4)");
        QCOMPARE(g->item(3, 2)->text(), "14:00");

        // Double-clicking opens the booking of the row, nothing for the room without one.
        g->setCurrentCell(3, 0);
        p->ctrl.fgMain_DblClick();
        QCOMPARE(geoeffnet.size(), 1);
        QVERIFY(geoeffnet[0].einzeln && geoeffnet[0].update);
        g->setCurrentCell(g->findItems("Saal (1.1.01.4)", Qt::MatchExactly)[0]->row(), 0);
        p->ctrl.fgMain_DblClick();
        QCOMPARE(geoeffnet.size(), 1);
        // Enter opens the booking of the current row; nothing was saved, so the table kept its
        // order.
        QCOMPARE(g->item(3, 2)->text(), "14:00");
        g->setCurrentCell(3, 0);
        QTest::keyClick(g, Qt::Key_Return);
        QCOMPARE(geoeffnet.size(), 2);
        // and on back to the plan.
        p->ctrl.MainToolbar_ButtonClick("Anzeige");
        QVERIFY(p->ctrl.AktuelleAnsicht() == 0 && p->ctrl.mnuAnsicht.value(10)->isChecked() &&
                !p->ctrl.mnuAnsicht.value(20)->isChecked());
    }

    // From Sunday 15.03.2026, or from 2020 for "Aktuell".
    void toolbarDates_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("anzeige");
        auto row = [](const char* name, int option, const char* knopf, const QString& anzeige) {
            QTest::newRow(name) << option << QString(knopf) << anzeige;
        };
        row("Standard, week", 1, "Standard", "19.03.2026");
        row("Standard, month", 2, "Standard", "16.03.2026");
        row("Standard, year", 3, "Standard", "15.07.2026");
        row("Aktuell, day", 0, "Aktuell", Datum(TovoDate::today().value()) + " 13:00");
    }
    void toolbarDates() {
        QFETCH(int, option);
        QFETCH(QString, knopf);
        p->ctrl.Data2Ctrl();
        p->ctrl.opZeitraum[option]->setChecked(true);
        p->ctrl.opZeitraum_Click(option);
        p->ctrl.TovoZeitPlan1->SetAnzeigedatum(knopf == QLatin1String("Aktuell") ? Tag(-2000)
                                                                                 : Tag(-1));
        p->ctrl.MainToolbar_ButtonClick(knopf);
        QFETCH(QString, anzeige); // the date, with the time where given
        const double tag = p->ctrl.TovoZeitPlan1->Anzeigedatum();
        QVERIFY2(T(tag).startsWith(anzeige), qPrintable(T(tag)));
        QCOMPARE(std::floor(p->ctrl.TovoZeitPlan2->Anzeigedatum()), std::floor(tag));
        if (option == 1)
            QCOMPARE(p->ctrl.edStartDatum->text() + p->ctrl.edEndDatum->text(),
                     "16.03.202622.03.2026");
    }

    // A date typed and confirmed, or picked from the calendar, moves the shown plan in every view;
    // an impossible one is named and changes nothing. The next step goes on from the day shown.
    void chosenDatesMoveThePlan_data() {
        QTest::addColumn<bool>("tabelle");
        QTest::addColumn<QString>("eingabe"); // "" = picked in the calendar
        QTest::addColumn<QString>("tag");     // the view's date field afterwards
        QTest::addColumn<QString>("meldung");
        const auto row = [](const char* name, bool tabelle, const char* eingabe, const char* tag,
                            const char* meldung = "") {
            QTest::newRow(name) << tabelle << QString(eingabe) << QString(tag)
                                << QString::fromUtf8(meldung);
        };
        row("typed in the plan", false, "2.3.2026", "02.03.2026");
        row("picked in the plan", false, "", "02.03.2026");
        row("typed in the table", true, "02.03.2026", "02.03.2026");
        row("no such day", false, "32.13.2026", "16.03.2026",
            "Anzeige ab: 32.13.2026 ist kein gültiges Datum.");
        row("no such day in the table", true, "31.02.2027", "16.03.2026",
            "Tag: 31.02.2027 ist kein gültiges Datum.");
    }
    void chosenDatesMoveThePlan() {
        QFETCH(bool, tabelle);
        QFETCH(QString, eingabe);
        QFETCH(QString, tag);
        p->ctrl.Data2Ctrl();
        p->ctrl.ZeigeTag(Tag(0));
        p->ctrl.mnuAnsicht_Click(tabelle ? 20 : 10);
        QLineEdit* feld = tabelle ? p->ctrl.edAktDatum : p->ctrl.edStartDatum;
        if (eingabe.isEmpty()) {
            p->ctrl.pbDatum_Click(tabelle ? 0 : 1);
            p->ctrl.mvDatum_DateClick(QDate(2026, 3, 2));
        } else {
            feld->selectAll();
            QTest::keyClicks(feld, eingabe);
            QTest::keyClick(feld, Qt::Key_Return);
        }
        QCOMPARE(feld->text(), tag);
        QFETCH(QString, meldung);
        QCOMPARE(p->texte(), meldung.isEmpty() ? QStringList() : QStringList{meldung});
        if (tabelle) {
            if (meldung.isEmpty())
                QCOMPARE(Datum(p->ctrl.TovoZeitPlan1->Anzeigedatum()), tag);
            p->ctrl.btDatR_Click();
        } else {
            QCOMPARE(Datum(p->ctrl.TovoZeitPlan1->DatumVon()), tag);
            QCOMPARE(p->ctrl.llVon->text(), "Montag(März)");
            p->ctrl.btZeit_Click(2);
        }
        TovoDate d;
        QVERIFY(TovoDate::parse(tag, d));
        QCOMPARE(feld->text(), Datum(d.value() + 1));
    }

    void moveOntoFreeAndTakenRoom_data() {
        QTest::addColumn<bool>("belegt");
        QTest::addColumn<bool>("umbau");
        QTest::newRow("free room") << false << false;
        QTest::newRow("taken room") << true << false;
        // The set-up hour before 10:00 reaches into room 2's booking 8:30-9:30.
        QTest::newRow("set-up collides") << true << true;
    }
    void moveOntoFreeAndTakenRoom() {
        QFETCH(bool, belegt);
        QFETCH(bool, umbau);
        const int32_t id = zehnBisZwoelf(umbau);
        if (belegt)
            p->buche(raum2, umbau ? Tag(0, 8.5) : Tag(0, 11), umbau ? Tag(0, 9.5) : Tag(0, 13), 2);
        p->ctrl.Data2Ctrl();
        QSignalSpy status(&p->ctrl, &TovoRaumverwCtrl::Statusmeldung);
        p->ctrl.TovoZeitPlan_MoveAntrag(id, QString::number(raum2));
        QCOMPARE(p->lies(id).rb_id, belegt ? raum1 : raum2);
        // A refused move rebuilds the plan, which shows the bar in its old row again, and the
        // status line names the booking in the way.
        if (belegt)
            for (const auto& t : barsOf(id))
                QCOMPARE(t.lStammId, int64_t(raum1));
        QCOMPARE(status.at(0).at(0).toString().startsWith(
                     "Nicht verschoben: Raum 'Raum 2' ist am 16.03.2026 von "),
                 belegt);
        QCOMPARE(p->prompt.shown.size(), 0);
    }

    // Dragged in time and undone, both through the write path; the set-up moves along. An undo
    // into a place taken meanwhile is refused with the usual message and can be tried again.
    void dragInTimeAndUndo() {
        const int32_t id = zehnBisZwoelf(true);
        p->ctrl.Data2Ctrl();
        p->ctrl.ZeigeTag(Tag(0));
        const auto lage = [&]() -> QString {
            const CBelegungRec n = p->lies(id);
            return T(n.dt_von + n.tm_von) + " U " + T(n.Udt_von + n.Utm_von);
        };
        QVERIFY(!p->ctrl.KannRueckgaengig());
        p->ctrl.TovoZeitPlan_VerschiebeAntrag(id, raum1, Tag(1, 14), Tag(1, 16));
        QCOMPARE(lage(), "17.03.2026 14:00 U 17.03.2026 13:00");
        QCOMPARE(barsOf(id).size(), 2);

        const int32_t imWeg = p->buche(raum1, Tag(0, 11), Tag(0, 13), 2);
        p->ctrl.mnuBearbeiten.value(2)->trigger();
        QVERIFY(p->texte().last().startsWith(
            QStringLiteral("Die Reservierung wurde nicht gespeichert: Der Raum ist in dieser Zeit "
                           "bereits belegt.")));
        QCOMPARE(lage(), "17.03.2026 14:00 U 17.03.2026 13:00");
        QVERIFY(p->ctrl.KannRueckgaengig());

        p->wert("DELETE FROM T_fm_belegung WHERE Rec_ID = ?", {imWeg});
        p->ctrl.Rueckgaengig();
        QCOMPARE(lage(), "16.03.2026 10:00 U 16.03.2026 09:00");
        QVERIFY(!p->ctrl.KannRueckgaengig() && !p->ctrl.mnuBearbeiten.value(2)->isEnabled());
    }

    // A date of a series asks whether the whole series moves; another room type asks first.
    void questionsBeforeMoving_data() {
        QTest::addColumn<bool>("andereArt");
        QTest::addColumn<QList<int>>("antworten");
        QTest::addColumn<int>("verschoben");
        const int ja = int(PromptResult::Yes), nein = int(PromptResult::No);
        QTest::newRow("only this date") << false << QList<int>{ja} << 1;
        QTest::newRow("the whole series") << false << QList<int>{nein} << 3;
        QTest::newRow("cancelled") << false << QList<int>{int(PromptResult::Cancel)} << 0;
        QTest::newRow("other room type refused") << true << QList<int>{nein} << 0;
        QTest::newRow("other room type, whole series") << true << QList<int>{ja, nein} << 3;
    }
    void questionsBeforeMoving() {
        QFETCH(bool, andereArt);
        QFETCH(QList<int>, antworten);
        QList<int32_t> serie;
        for (int w = 0; w < 3; ++w)
            serie << p->buche(raum1, Tag(7 * w, 10), Tag(7 * w, 11), 7);
        p->ctrl.Data2Ctrl();
        for (int a : antworten)
            p->prompt.answer(PromptResult(a));
        const int32_t ziel = andereArt ? saal : raum1;
        p->ctrl.TovoZeitPlan_VerschiebeAntrag(serie[0], ziel, Tag(0, 11), Tag(0, 12));
        QCOMPARE(p->prompt.shown.size(), antworten.size());
        QCOMPARE(p->prompt.shown.last().knopfTexte.size(),
                 andereArt && antworten.size() == 1 ? 0 : 3);
        int verschoben = 0;
        for (int32_t id : serie)
            verschoben += p->lies(id).tm_von == Uhr(11) && p->lies(id).rb_id == ziel;
        QTEST(verschoben, "verschoben");
    }

    void openingAsksForTheWholeSeries_data() {
        QTest::addColumn<int>("buchungen");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<int>("formen");
        QTest::addColumn<bool>("auftrag");
        QTest::newRow("single booking") << 1 << -1 << 1 << false;
        QTest::newRow("series, yes") << 3 << int(PromptResult::Yes) << 1 << true;
        QTest::newRow("series, no") << 3 << int(PromptResult::No) << 1 << false;
        QTest::newRow("series, cancel") << 3 << int(PromptResult::Cancel) << 0 << false;
    }
    void openingAsksForTheWholeSeries() {
        QFETCH(int, buchungen);
        QFETCH(int, antwort);
        QFETCH(int, formen);
        QFETCH(bool, auftrag);
        int32_t first = 0;
        for (int i = 0; i < buchungen; ++i) {
            const int32_t id = p->buche(raum1, Tag(7 * i, 10), Tag(7 * i, 11), 7);
            first = first ? first : id;
        }
        p->ctrl.Data2Ctrl();
        if (antwort >= 0)
            p->prompt.answer(PromptResult(antwort));
        p->ctrl.TovoZeitPlan_SelectAntrag(first);
        QCOMPARE(geoeffnet.size(), formen);
        if (buchungen > 1) {
            QCOMPARE(p->prompt.shown.size(), 1);
            QCOMPARE(p->prompt.last().buttons, PromptButtons::YesNoCancel);
        }
        if (formen) {
            QCOMPARE(geoeffnet[0].auftrag, auftrag);
            QCOMPARE(geoeffnet[0].einzeln, !auftrag);
            QVERIFY(geoeffnet[0].update);
        }
    }

    // The editing menu and a free slot of the plan follow the rights.
    void editMenuFollowsRights_data() {
        QTest::addColumn<QString>("zugriff");
        QTest::addColumn<QString>("rechte"); // "" = no file
        QTest::addColumn<bool>("raumarten");
        QTest::addColumn<bool>("raeume");
        QTest::addColumn<bool>("antrag");
        QTest::newRow("no file") << "S" << QString() << true << true << true;
        QTest::newRow("0") << "S" << QString("0") << true << true << true;
        QTest::newRow("1") << "S" << QString("1") << true << false << true;
        QTest::newRow("1,2") << "S" << QString("1,2") << true << true << true;
        QTest::newRow("2") << "S" << QString("2") << false << true << true;
        QTest::newRow("read only") << "L" << QString("0") << true << true << false;
    }
    void editMenuFollowsRights() {
        QFETCH(QString, zugriff);
        QFETCH(QString, rechte);
        if (!rechte.isEmpty())
            CTovoTools::Instance().WriteIniValue(exe->filePath("Funktionsrechte.ini"), "Rechte",
                                                 "Raumverwaltung", rechte);
        goRecht->SetZugriff(zugriff);
        p->ctrl.mnuBearbeitenMenu_Click();
        QTEST(p->ctrl.mnuBearbeiten.value(5)->isEnabled(), "raumarten");
        QTEST(p->ctrl.mnuBearbeiten.value(10)->isEnabled(), "raeume");
        for (int index : {30, 40, 50, 60})
            QTEST(p->ctrl.mnuBearbeiten.value(index)->isEnabled(), "antrag");
        // A free slot opens a new form unless the user may only read.
        p->ctrl.Data2Ctrl();
        p->ctrl.TovoZeitPlan_FreeSelected(Tag(0, 14), raum1);
        QTEST(!geoeffnet.isEmpty(), "antrag");
        QVERIFY(geoeffnet.isEmpty() ||
                (geoeffnet[0].titel == "Neuer Antrag" && !geoeffnet[0].update));
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"

// The occupancy views built from a real project: bars, row labels, the table of a day, and
// moving through time with the period, step and toolbar commands.
#include "CRvDb.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "TestUtil.h"
#include "TovoRaumverwCtrl.h"
#include "TovoZeitPlan.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0, int mi = 0) {
    return TovoDate::fromParts(y, m, d, h, mi).value();
}
QString T(double v) {
    return TovoDate(v).format(QStringLiteral("dd.MM.yyyy hh:mm"));
}
constexpr double NoDate = TovoDate::kNoDate;
} // namespace

class TestViews : public QObject {
    Q_OBJECT

    QTemporaryDir* dir = nullptr;
    ScriptedPrompt* prompt = nullptr;
    TovoRaumverwCtrl* ctrl = nullptr;
    int32_t besprechung = 0, schulung = 0, leer = 0;
    int32_t raum1 = 0, raum2 = 0, saal = 0;

    int32_t addType(const QString& name) {
        CRaumartRec r;
        r.stRaumArt = name;
        gRvDb->AddNewRaumartRec(&r);
        return r.lId;
    }
    int32_t addRoom(const QString& name, int32_t type) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.RaumNr = QStringLiteral("1.1.01.%1").arg(name.size());
        r.lRaumartId = type;
        gRvDb->AddNewrb_AnzeigeRec(&r);
        return r.az_ID;
    }
    int32_t book(int32_t room, double von, double bis, const QString& best, bool mail = false) {
        CBelegungRec b;
        b.rb_id = room;
        b.dt_von = std::floor(von);
        b.tm_von = von - std::floor(von);
        b.dt_bis = std::floor(bis);
        b.tm_bis = bis - std::floor(bis);
        b.Best = best;
        b.Verst = QStringLiteral("Sitzung");
        b.bEMail = mail;
        gRvDb->AddNewfm_belegungRec(&b);
        return b.Rec_ID;
    }
    QVector<ZeitPlanTermin> barsOf(int64_t id) const {
        QVector<ZeitPlanTermin> out;
        for (const auto& t : ctrl->TovoZeitPlan1->Termine())
            if (t.lId == id)
                out << t;
        return out;
    }
    void selectType(int32_t id) {
        ctrl->coRaumart->setCurrentIndex(ctrl->coRaumart->findData(id));
        ctrl->coRaumart_Click();
    }

private Q_SLOTS:
    void init() {
        dir = new QTemporaryDir;
        prompt = new ScriptedPrompt;
        ctrl = new TovoRaumverwCtrl;
        QVERIFY(ctrl->OpenDb(TovoBinDir(), dir->path(), QString(), nullptr));
        besprechung = addType(QStringLiteral("Besprechung"));
        schulung = addType(QStringLiteral("Schulung"));
        leer = addType(QStringLiteral("Lager"));
        raum1 = addRoom(QStringLiteral("Raum 1"), besprechung);
        raum2 = addRoom(QStringLiteral("Raum 2"), besprechung);
        saal = addRoom(QStringLiteral("Saal"), schulung);
    }
    void cleanup() {
        delete ctrl;
        delete prompt;
        delete dir;
    }

    void barsFollowSetUpAndClearDown() {
        const int32_t plain =
            book(raum1, D(2026, 3, 16, 9), D(2026, 3, 16, 11), QStringLiteral("Meier"));
        CBelegungRec full;
        full.Rec_ID = book(raum2, D(2026, 3, 16, 10), D(2026, 3, 16, 12), QStringLiteral("Huber"));
        gRvDb->Readfm_belegungRec(&full);
        full.Udt_von = D(2026, 3, 16);
        full.Utm_von = 8.0 / 24;
        full.Udt_bis = D(2026, 3, 16);
        full.Utm_bis = 9.5 / 24;
        full.Rdt_von = D(2026, 3, 16);
        full.Rtm_von = 12.5 / 24;
        full.Rdt_bis = D(2026, 3, 16);
        full.Rtm_bis = 14.0 / 24;
        QVERIFY(gRvDb->Editfm_belegungRec(&full));
        // Open ends: a set-up without end and a clear-down without start.
        CBelegungRec open;
        open.Rec_ID = book(saal, D(2026, 3, 17, 10), D(2026, 3, 17, 12), QStringLiteral("Open"));
        gRvDb->Readfm_belegungRec(&open);
        open.Udt_von = D(2026, 3, 17);
        open.Utm_von = 7.0 / 24;
        open.Rdt_bis = D(2026, 3, 17);
        open.Rtm_bis = 15.0 / 24;
        QVERIFY(gRvDb->Editfm_belegungRec(&open));
        const int32_t archived =
            book(raum1, D(2026, 3, 18, 9), D(2026, 3, 18, 10), QStringLiteral("Alt"));
        QSqlQuery(QSqlDatabase::database(gDb))
            .exec(QStringLiteral("UPDATE T_fm_belegung SET bArchiviert = -1 WHERE Rec_ID = %1")
                      .arg(archived));

        ctrl->Data2Ctrl();
        QCOMPARE(barsOf(plain).size(), 1);
        QCOMPARE(barsOf(plain).at(0).lFarbe, kFarbeBelegung);
        QCOMPARE(barsOf(plain).at(0).stName, QStringLiteral("Meier/Sitzung/"));

        const auto three = barsOf(full.Rec_ID);
        QCOMPARE(three.size(), 3);
        QCOMPARE(three.at(0).lFarbe, kFarbeUmbau);
        QCOMPARE(T(three.at(0).DtVon), QStringLiteral("16.03.2026 08:00"));
        QCOMPARE(T(three.at(0).DtBis), QStringLiteral("16.03.2026 09:30"));
        QCOMPARE(three.at(1).lFarbe, kFarbeBelegung);
        QCOMPARE(three.at(2).lFarbe, kFarbeUmbau);
        QCOMPARE(T(three.at(2).DtVon), QStringLiteral("16.03.2026 12:30"));

        const auto openBars = barsOf(open.Rec_ID);
        QCOMPARE(openBars.size(), 3);
        QCOMPARE(T(openBars.at(0).DtBis), QStringLiteral("17.03.2026 10:00")); // ends at the start
        QCOMPARE(T(openBars.at(2).DtVon), QStringLiteral("17.03.2026 12:00")); // begins at the end

        QVERIFY(barsOf(archived).isEmpty());
        QCOMPARE(prompt->shown.size(), 0);
    }

    void rowLabels_data() {
        QTest::addColumn<bool>("alle");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("all types") << true << QStringList{"Be:Raum 1", "Be:Raum 2", "Sc:Saal"};
        QTest::newRow("one type") << false << QStringList{"Raum 1", "Raum 2"};
    }
    void rowLabels() {
        QFETCH(bool, alle);
        QFETCH(QStringList, labels);
        ctrl->Data2Ctrl();
        if (!alle)
            selectType(besprechung);
        QStringList shown;
        for (const auto& r : ctrl->TovoZeitPlan1->Raeume())
            shown << r.stName;
        QCOMPARE(shown, labels);
    }

    void roomTypeWithoutRoomsShowsEmptyPlan() {
        book(raum1, D(2026, 3, 16, 9), D(2026, 3, 16, 11), QStringLiteral("Meier"));
        ctrl->Data2Ctrl();
        selectType(leer);
        QVERIFY(ctrl->TovoZeitPlan1->Raeume().isEmpty());
        QVERIFY(ctrl->TovoZeitPlan1->Termine().isEmpty());
        QCOMPARE(prompt->shown.size(), 0);
    }

    void tableListsEveryRoomOfTheDay() {
        book(raum1, D(2026, 3, 16, 14), D(2026, 3, 16, 15), QStringLiteral("Spät"), true);
        book(raum1, D(2026, 3, 16, 9), D(2026, 3, 16, 10), QStringLiteral("Früh"));
        book(raum2, D(2026, 3, 15, 9), D(2026, 3, 17, 10),
             QStringLiteral("Lang")); // covers the day
        ctrl->Data2Ctrl();
        ctrl->mnuAnsicht_Click(20);
        ctrl->FillGrid(QStringLiteral("3/16/2026"));
        QTableWidget* g = ctrl->fgMain;
        QCOMPARE(g->rowCount(), 4);
        auto text = [&](int r, int c) { return g->item(r, c) ? g->item(r, c)->text() : QString(); };
        QCOMPARE(text(0, 0), QStringLiteral("Raum 1 (1.1.01.6)"));
        QCOMPARE(text(0, 2), QStringLiteral("09:00"));
        QCOMPARE(text(0, 11), QStringLiteral("Nein"));
        QCOMPARE(text(1, 11), QStringLiteral("Ja"));
        QCOMPARE(text(2, 4), QStringLiteral("Lang"));
        // The room without a booking that day: listed, no order number, no id.
        QCOMPARE(text(3, 0), QStringLiteral("Saal (1.1.01.4)"));
        QVERIFY(text(3, 1).isEmpty());
        QVERIFY(!g->item(3, 0)->data(Qt::UserRole).isValid());
        QVERIFY(g->item(0, 0)->data(Qt::UserRole).toInt() > 0);

        // Sorting by "Von Zeit" compares times; the empty cell counts as midnight.
        ctrl->fgMain_HeaderClick(2);
        QCOMPARE(text(0, 0), QStringLiteral("Saal (1.1.01.4)"));
        QCOMPARE(text(1, 2), QStringLiteral("09:00"));
        QCOMPARE(text(3, 2), QStringLiteral("14:00"));
    }

    void timeComparison_data() {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("cmp");
        QTest::newRow("9 before 10") << "9:00"
                                     << "10:00" << -1;
        QTest::newRow("equal") << "08:30"
                               << "8:30" << 0;
        QTest::newRow("empty is midnight") << ""
                                           << "00:00" << 0;
        QTest::newRow("text is midnight") << "abc"
                                          << "00:01" << -1;
    }
    void timeComparison() {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, cmp);
        QCOMPARE(TovoRaumverwCtrl::fgMain_Compare(a, b), cmp);
        QCOMPARE(TovoRaumverwCtrl::fgMain_Compare(b, a), -cmp);
    }

    void standardCentresThePeriod_data() {
        QTest::addColumn<int>("option");
        QTest::addColumn<QString>("anzeige");
        QTest::newRow("week") << 1 << "19.03.2026";
        QTest::newRow("month") << 2 << "16.03.2026";
        QTest::newRow("year") << 3 << "15.07.2026";
    }
    void standardCentresThePeriod() {
        QFETCH(int, option);
        QFETCH(QString, anzeige);
        ctrl->Data2Ctrl();
        ctrl->opZeitraum[option]->setChecked(true);
        ctrl->opZeitraum_Click(option);
        ctrl->TovoZeitPlan1->SetAnzeigedatum(D(2026, 3, 15)); // a Sunday
        ctrl->MainToolbar_ButtonClick(QStringLiteral("Standard"));
        QCOMPARE(TovoDate(ctrl->TovoZeitPlan1->Anzeigedatum()).format(QStringLiteral("dd.MM.yyyy")),
                 anzeige);
        QCOMPARE(ctrl->TovoZeitPlan2->Anzeigedatum(), ctrl->TovoZeitPlan1->Anzeigedatum());
        if (option == 1) {
            QCOMPARE(ctrl->edStartDatum->text(), QStringLiteral("16.03.2026"));
            QCOMPARE(ctrl->edEndDatum->text(), QStringLiteral("22.03.2026"));
        }
    }

    void aktuellPutsTodayInTheMiddle() {
        ctrl->Data2Ctrl();
        ctrl->opZeitraum[0]->setChecked(true);
        ctrl->opZeitraum_Click(0);
        ctrl->TovoZeitPlan1->SetAnzeigedatum(D(2020, 1, 1));
        ctrl->MainToolbar_ButtonClick(QStringLiteral("Aktuell"));
        QCOMPARE(T(ctrl->TovoZeitPlan1->Anzeigedatum()),
                 TovoDate::today().format(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" 13:00"));
    }

    void startDateTakesEffectOnlyAfterAStep() {
        ctrl->Data2Ctrl();
        const double before = ctrl->TovoZeitPlan1->Anzeigedatum();
        ctrl->edStartDatum->setText(QStringLiteral("02.03.2026"));
        QCOMPARE(ctrl->TovoZeitPlan1->Anzeigedatum(), before); // only the field changed
        QVERIFY(!ctrl->StartDatumAktiv());

        ctrl->btZeit_Click(2);
        QVERIFY(ctrl->StartDatumAktiv());
        ctrl->edStartDatum->setText(QStringLiteral("02.03.2026"));
        QCOMPARE(TovoDate(ctrl->TovoZeitPlan1->DatumVon()).format(QStringLiteral("dd.MM.yyyy")),
                 QStringLiteral("02.03.2026"));
        QCOMPARE(ctrl->edEndDatum->text(), QStringLiteral("08.03.2026"));

        // Text that is no date keeps the display and says nothing.
        ctrl->edStartDatum->setText(QStringLiteral("kein Datum"));
        QCOMPARE(ctrl->edEndDatum->text(), QStringLiteral("08.03.2026"));
        QCOMPARE(prompt->shown.size(), 0);

        // A period change switches the field off again.
        ctrl->opZeitraum_Click(2);
        QVERIFY(!ctrl->StartDatumAktiv());
    }

    void stepButtonsMoveBothPlans_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<double>("days");
        QTest::newRow("<<<") << 0 << -7.0;
        QTest::newRow("<") << 1 << -1.0;
        QTest::newRow(">") << 2 << 1.0;
        QTest::newRow(">>>") << 3 << 7.0;
    }
    void stepButtonsMoveBothPlans() {
        QFETCH(int, button);
        QFETCH(double, days);
        ctrl->Data2Ctrl();
        const double before = ctrl->TovoZeitPlan1->Anzeigedatum();
        ctrl->btZeit_Click(button);
        QCOMPARE(ctrl->TovoZeitPlan1->Anzeigedatum(), before + days);
        QCOMPARE(ctrl->TovoZeitPlan2->Anzeigedatum(), before + days);
        QCOMPARE(ctrl->edStartDatum->text(),
                 TovoDate(ctrl->TovoZeitPlan1->DatumVon()).format(QStringLiteral("dd.MM.yyyy")));
    }

    void anzeigeStepsThroughTheViews() {
        ctrl->Data2Ctrl();
        ctrl->show();
        QCOMPARE(ctrl->AktuelleAnsicht(), 0);
        ctrl->MainToolbar_ButtonClick(QStringLiteral("Anzeige"));
        QCOMPARE(ctrl->AktuelleAnsicht(), 2);
        QCOMPARE(ctrl->TovoZeitPlan1->BreiteErsteSpalte(), 3500);
        ctrl->MainToolbar_ButtonClick(QStringLiteral("Anzeige"));
        QCOMPARE(ctrl->AktuelleAnsicht(), 1);
        QVERIFY(ctrl->fgMain->isVisible());
        QVERIFY(!ctrl->TovoZeitPlan1->isVisible());
        ctrl->MainToolbar_ButtonClick(QStringLiteral("Anzeige"));
        QCOMPARE(ctrl->AktuelleAnsicht(), 0);
        QCOMPARE(ctrl->TovoZeitPlan1->BreiteErsteSpalte(), 2400);
        QVERIFY(ctrl->mnuAnsicht.value(10)->isChecked());
        QVERIFY(!ctrl->mnuAnsicht.value(20)->isChecked());
    }

    void tableDayButtons() {
        ctrl->Data2Ctrl();
        ctrl->mnuAnsicht_Click(20);
        ctrl->edAktDatum->setText(QStringLiteral("01.03.2026"));
        ctrl->btDatL_Click();
        QCOMPARE(ctrl->edAktDatum->text(), QStringLiteral("28.02.2026"));
        ctrl->btDatR_Click();
        ctrl->btDatR_Click();
        QCOMPARE(ctrl->edAktDatum->text(), QStringLiteral("02.03.2026"));
    }
};

QTEST_MAIN(TestViews)
#include "tst_views.moc"

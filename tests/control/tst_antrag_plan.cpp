// Bookings from the plan and the table: opening, creating, moving; the editing menu's rights.
#include "CRvDb.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "TestUtil.h"
#include "TovoRaumverwCtrl.h"
#include "TovoRecht.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"
#include "frmAntrag.h"

#include <QAction>
#include <QComboBox>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {
double D(int y, int m, int d, int h = 0) {
    return TovoDate::fromParts(y, m, d, h).value();
}
} // namespace

class TestAntragPlan : public QObject {
    Q_OBJECT

    QTemporaryDir* dir = nullptr;
    QTemporaryDir* exe = nullptr;
    ScriptedPrompt* prompt = nullptr;
    TovoRaumverwCtrl* ctrl = nullptr;
    int32_t raumA = 0, raumB = 0;
    // What the control handed to the form it opened, one entry per opened form.
    struct Geoeffnet {
        bool einzeln = false, auftrag = false, update = false;
        QString titel;
    };
    QList<Geoeffnet> geoeffnet;

    int32_t addRoom(const QString& name, int32_t type) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.lRaumartId = type;
        gRvDb->AddNewrb_AnzeigeRec(&r);
        return r.az_ID;
    }
    CBelegungRec book(int32_t room, double von, double bis, int32_t auftrag, bool umbau = false) {
        CBelegungRec b;
        b.rb_id = room;
        b.lAuftrNr = auftrag;
        b.dt_von = std::floor(von);
        b.tm_von = von - b.dt_von;
        b.dt_bis = std::floor(bis);
        b.tm_bis = bis - b.dt_bis;
        b.Best = QStringLiteral("Meier");
        if (umbau) {
            b.Udt_von = b.dt_von;
            b.Utm_von = b.tm_von - 1.0 / 24;
            b.Udt_bis = b.dt_von;
            b.Utm_bis = b.tm_von;
        }
        gRvDb->AddNewfm_belegungRec(&b);
        return b;
    }
    int32_t roomOf(int32_t id) {
        CBelegungRec r;
        r.Rec_ID = id;
        gRvDb->Readfm_belegungRec(&r);
        return r.rb_id;
    }

private Q_SLOTS:
    void init() {
        dir = new QTemporaryDir;
        exe = new QTemporaryDir;
        QDir().mkpath(exe->path() + QStringLiteral("/Leeres Projekt"));
        QFile::copy(TemplateDbPath(),
                    exe->path() + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb"));
        prompt = new ScriptedPrompt;
        ctrl = new TovoRaumverwCtrl;
        QVERIFY(ctrl->OpenDb(exe->path(), dir->path(), QString(), nullptr));
        CRaumartRec typ;
        typ.stRaumArt = QStringLiteral("Besprechung");
        gRvDb->AddNewRaumartRec(&typ);
        raumA = addRoom(QStringLiteral("A"), typ.lId);
        raumB = addRoom(QStringLiteral("B"), typ.lId);
        geoeffnet.clear();
        TovoRaumverwCtrl::ZeigeModal = [this](QDialog& d) {
            auto& form = static_cast<frmAntrag&>(d);
            geoeffnet.append({form.f_RecBelegung != nullptr, form.f_BelegListe != nullptr,
                              form.f_bUpdate, form.windowTitle()});
            return 0;
        };
    }
    void cleanup() {
        delete ctrl;
        delete prompt;
        delete exe;
        delete dir;
        TovoRaumverwCtrl::ZeigeModal = [](QDialog& d) { return d.exec(); };
    }

    void moveOntoFreeAndTakenRoom_data() {
        QTest::addColumn<bool>("belegt");
        QTest::addColumn<bool>("umbau");
        QTest::newRow("free room") << false << false;
        QTest::newRow("taken room") << true << false;
        // The set-up hour before 10:00 reaches into B's booking 8:30-9:30.
        QTest::newRow("set-up collides") << true << true;
    }
    void moveOntoFreeAndTakenRoom() {
        QFETCH(bool, belegt);
        QFETCH(bool, umbau);
        const CBelegungRec b = book(raumA, D(2026, 3, 16, 10), D(2026, 3, 16, 12), 1, umbau);
        if (belegt)
            book(raumB, umbau ? D(2026, 3, 16, 8) + 0.5 / 24 : D(2026, 3, 16, 11),
                 umbau ? D(2026, 3, 16, 9) + 0.5 / 24 : D(2026, 3, 16, 13), 2);
        ctrl->Data2Ctrl();
        ctrl->TovoZeitPlan_MoveAntrag(b.Rec_ID, QString::number(raumB));
        QCOMPARE(roomOf(b.Rec_ID), belegt ? raumA : raumB);
        // A refused move rebuilds the plan, which shows the bar in its old row again.
        if (belegt)
            for (const auto& t : ctrl->TovoZeitPlan1->Termine())
                if (t.lId == b.Rec_ID)
                    QCOMPARE(t.lStammId, int64_t(raumA));
        QCOMPARE(prompt->shown.size(), 0);
    }

    void openingAskesForTheWholeSeries_data() {
        QTest::addColumn<int>("buchungen");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<int>("formen");
        QTest::addColumn<bool>("auftrag");
        QTest::newRow("single booking") << 1 << -1 << 1 << false;
        QTest::newRow("series, yes") << 3 << int(PromptResult::Yes) << 1 << true;
        QTest::newRow("series, no") << 3 << int(PromptResult::No) << 1 << false;
        QTest::newRow("series, cancel") << 3 << int(PromptResult::Cancel) << 0 << false;
    }
    void openingAskesForTheWholeSeries() {
        QFETCH(int, buchungen);
        QFETCH(int, antwort);
        QFETCH(int, formen);
        QFETCH(bool, auftrag);
        int32_t first = 0;
        for (int i = 0; i < buchungen; ++i) {
            const int32_t id =
                book(raumA, D(2026, 3, 16 + 7 * i, 10), D(2026, 3, 16 + 7 * i, 11), 7).Rec_ID;
            if (!first)
                first = id;
        }
        ctrl->Data2Ctrl();
        if (antwort >= 0)
            prompt->answer(PromptResult(antwort));
        ctrl->TovoZeitPlan_SelectAntrag(first);
        QCOMPARE(geoeffnet.size(), formen);
        if (buchungen > 1) {
            QCOMPARE(prompt->shown.size(), 1);
            QCOMPARE(prompt->last().title, QStringLiteral("Termin öffnen"));
            QCOMPARE(prompt->last().buttons, PromptButtons::YesNoCancel);
        }
        if (formen) {
            QCOMPARE(geoeffnet[0].auftrag, auftrag);
            QCOMPARE(geoeffnet[0].einzeln, !auftrag);
            QVERIFY(geoeffnet[0].update);
        }
    }

    void tableRowWithoutBookingOpensNothing() {
        ctrl->Data2Ctrl();
        ctrl->mnuAnsicht_Click(20);
        ctrl->FillGrid(QStringLiteral("3/16/2026"));
        QCOMPARE(ctrl->fgMain->rowCount(), 2);
        ctrl->fgMain->setCurrentCell(0, 0);
        ctrl->fgMain_DblClick();
        QVERIFY(geoeffnet.isEmpty());
    }

    void freeSlotOpensNewFormUnlessReadOnly_data() {
        QTest::addColumn<QString>("zugriff");
        QTest::addColumn<int>("formen");
        QTest::newRow("S") << "S" << 1;
        QTest::newRow("L") << "L" << 0;
    }
    void freeSlotOpensNewFormUnlessReadOnly() {
        QFETCH(QString, zugriff);
        QFETCH(int, formen);
        goRecht->SetZugriff(zugriff);
        ctrl->Data2Ctrl();
        ctrl->TovoZeitPlan_FreeSelected(D(2026, 3, 16, 14), raumA);
        QCOMPARE(geoeffnet.size(), formen);
        if (formen) {
            QCOMPARE(geoeffnet[0].titel, QStringLiteral("Neuer Antrag"));
            QVERIFY(!geoeffnet[0].update);
        }
    }

    void editMenuFollowsRights_data() {
        QTest::addColumn<QString>("zugriff");
        QTest::addColumn<QString>("rechte"); // "" = no file
        QTest::addColumn<bool>("raumarten");
        QTest::addColumn<bool>("raeume");
        QTest::addColumn<bool>("antrag");
        QTest::newRow("no file") << "S"
                                 << "" << true << true << true;
        QTest::newRow("0") << "S"
                           << "0" << true << true << true;
        QTest::newRow("1") << "S"
                           << "1" << true << false << true;
        QTest::newRow("1,2") << "S"
                             << "1,2" << true << true << true;
        QTest::newRow("2") << "S"
                           << "2" << false << true << true;
        QTest::newRow("read only") << "L"
                                   << "0" << true << true << false;
    }
    void editMenuFollowsRights() {
        QFETCH(QString, zugriff);
        QFETCH(QString, rechte);
        QFETCH(bool, raumarten);
        QFETCH(bool, raeume);
        QFETCH(bool, antrag);
        if (!rechte.isEmpty())
            CTovoTools::Instance().WriteIniValue(
                exe->path() + QStringLiteral("/Funktionsrechte.ini"), QStringLiteral("Rechte"),
                QStringLiteral("Raumverwaltung"), rechte);
        goRecht->SetZugriff(zugriff);
        ctrl->mnuBearbeitenMenu_Click();
        QCOMPARE(ctrl->mnuBearbeiten.value(5)->isEnabled(), raumarten);
        QCOMPARE(ctrl->mnuBearbeiten.value(10)->isEnabled(), raeume);
        for (int index : {30, 40, 50, 60})
            QCOMPARE(ctrl->mnuBearbeiten.value(index)->isEnabled(), antrag);
    }

    void closeModuleRaisesExitModuleOnce() {
        QSignalSpy spy(ctrl, &TovoRaumverwCtrl::ExitModule);
        ctrl->mnuBearbeiten.value(70)->trigger();
        QCOMPARE(spy.size(), 1);
    }
};

QTEST_MAIN(TestAntragPlan)
#include "tst_antrag_plan.moc"

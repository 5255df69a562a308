// The reservation form's shared routines: the conflict rule, and on a real project the room test,
// free-room search, order numbers with their dialog and the equipment history.
#include "R_Main.h"
#include "ScriptedModal.h"
#include "TestProjekt.h"
#include "frmHistorie.h"
#include "frmNextNr.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using R_Main::Zeitspanne;
Q_DECLARE_METATYPE(Zeitspanne)

namespace {
using Zeiten = QList<double>;
using Nummern = QList<int32_t>;

Zeitspanne Von(double von, double bis) {
    const CBelegungRec b = TestProjekt::satz(0, von, bis);
    return {b.dt_von, b.tm_von, b.dt_bis, b.tm_bis};
}
} // namespace

class TestRMain : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    Nummern angeboten; // what the order-number dialog was offered
    Nummern eingaben;  // what it answers, in turn (-1 when none is left)
    int32_t typ = 0, raumA = 0, raumB = 0, raumC = 0, saal = 0;

    std::function<int32_t(int32_t)> m_dialog; // what the routines open unless a test replaces it

    QVariant zaehler() { return p->wert(QStringLiteral("SELECT lNextNr FROM T_NextNr")); }
    // Sends the field a focus event as the window system would.
    static void fokus(frmNextNr& dlg, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent e(type, reason);
        QApplication::sendEvent(dlg.edOrderNr, &e);
        QCoreApplication::sendPostedEvents();
    }

private Q_SLOTS:
    void initTestCase() { m_dialog = R_Main::gNextNrDialog; }
    void init() {
        p = std::make_unique<TestProjekt>();
        angeboten.clear();
        eingaben.clear();
        R_Main::gNextNrDialog = [this](int32_t vorschlag) {
            angeboten << vorschlag;
            return eingaben.isEmpty() ? -1 : eingaben.takeFirst();
        };
        typ = p->raumart(QStringLiteral("Besprechung"));
        raumB = p->raum(QStringLiteral("Raum B"), typ);
        raumA = p->raum(QStringLiteral("raum A"), typ);
        raumC = p->raum(QStringLiteral("Raum C"), typ);
        saal = p->raum(QStringLiteral("Saal \"Nord\""), typ + 1);
        QVERIFY(p->ok);
    }
    void cleanup() {
        R_Main::gNextNrDialog = m_dialog;
        p.reset();
    }

    void regel_data() {
        QTest::addColumn<Zeitspanne>("neu");
        QTest::addColumn<Zeitspanne>("belegt");
        QTest::addColumn<int>("toleranz"); // minutes
        QTest::addColumn<bool>("frei");
        const Zeitspanne neun = Von(Tag(0, 9), Tag(0, 10));
        const Zeitspanne zweiTage = Von(Tag(0, 14), Tag(2, 10)); // Monday 14:00 - Wednesday 10:00
        auto row = [](const char* name, Zeitspanne n, Zeitspanne b, int tol, bool frei) {
            QTest::newRow(name) << n << b << tol << frei;
        };
        row("touching at 10:00, tolerance 0", Von(Tag(0, 10), Tag(0, 11)), neun, 0, true);
        row("touching at 10:00, tolerance 1", Von(Tag(0, 10), Tag(0, 11)), neun, 1, false);
        row("09:45 + 15 minutes is 10:00", Von(Tag(0, 10), Tag(0, 11)),
            Von(Tag(0, 9), Tag(0, 9.75)), 15, true);
        row("new one before, touching", Von(Tag(0, 8), Tag(0, 9)), neun, 0, true);
        row("set-up 07:00 into 06:30-07:30", Von(Tag(0, 7), Tag(0, 9)),
            Von(Tag(0, 6.5), Tag(0, 7.5)), 0, false);
        row("stored one ends the day before", Von(Tag(1, 0), Tag(1, 1)),
            Von(Tag(0, 8), Tag(0, 23) + Uhr(0, 59)), 60, true);
        row("two-day booking, Tuesday", Von(Tag(1, 8), Tag(1, 9)), zweiTage, 0, false);
        row("two-day booking, Wednesday after", Von(Tag(2, 10), Tag(2, 11)), zweiTage, 0, true);
        Zeitspanne mitDatum = neun; // times that carry a date part count as times of day
        mitDatum.endZeit = Tag(0, 10);
        row("end time with date part", Von(Tag(0, 10), Tag(0, 11)), mitDatum, 0, true);
    }
    void regel() {
        QFETCH(Zeitspanne, neu);
        QFETCH(Zeitspanne, belegt);
        QFETCH(int, toleranz);
        QTEST(R_Main::KeinKonflikt(neu, belegt, toleranz / 1440.0), "frei");
    }

    // A stored booking Monday 09:00-10:00 with the set-up columns as given; a new one on Monday.
    void isFreeRoom_data() {
        QTest::addColumn<QVariant>("udt");
        QTest::addColumn<QVariant>("utm");
        QTest::addColumn<bool>("archiviert");
        QTest::addColumn<double>("von"); // hours
        QTest::addColumn<double>("bis");
        QTest::addColumn<double>("umbau"); // set-up start of the new one, -1 = none
        QTest::addColumn<int>("toleranz");
        QTest::addColumn<bool>("frei");
        const QVariant kein(TovoDate::kNoDate), null, mo(Tag(0));
        const auto row = [](const char* name, const QVariant& udt, const QVariant& utm,
                            bool archiviert, double von, double bis, double umbau, int toleranz,
                            bool frei) {
            QTest::newRow(name) << udt << utm << archiviert << von << bis << umbau << toleranz
                                << frei;
        };
        row("touching, tolerance 0", kein, null, false, 10, 11, -1, 0, true);
        row("touching, tolerance 1", kein, null, false, 10, 11, -1, 1, false);
        row("new set-up into it", kein, null, false, 11, 12, 9.5, 0, false);
        row("stored set-up into the new one", mo, 7.5 / 24, false, 7, 8, -1, 0, false);
        row("stored set-up date null: none", null, 5. / 24, false, 9.5, 11, -1, 0, false);
        row("stored set-up without time: 00:00", mo, null, false, 5, 6, -1, 0, false);
        row("archived keeps its slot", kein, null, true, 9, 10, -1, 0, false);
    }
    void isFreeRoom() {
        QFETCH(QVariant, udt);
        QFETCH(QVariant, utm);
        QFETCH(double, von);
        QFETCH(double, bis);
        QFETCH(double, umbau);
        QFETCH(int, toleranz);
        const int32_t id = p->buche(raumA, Tag(0, 9), Tag(0, 10));
        p->wert(
            QStringLiteral("UPDATE T_fm_belegung SET Udt_von = ?, Utm_von = ? WHERE Rec_ID = ?"),
            {udt, utm, id});
        QFETCH(bool, archiviert);
        if (archiviert)
            p->archiviere(id);
        p->buche(raumB, Tag(-7), Tag(7)); // other rooms never count
        gdToleranz = toleranz / 1440.0;

        CBelegungRec neu = TestProjekt::satz(raumA, Tag(0, von), Tag(0, bis));
        if (umbau >= 0) {
            neu.Udt_von = Tag(0);
            neu.Utm_von = umbau / 24;
        }
        QTEST(R_Main::IsFreeRoom(raumA, neu), "frei");
        neu.Rec_ID = id; // never against itself
        QVERIFY(R_Main::IsFreeRoom(raumA, neu) && p->prompt.shown.isEmpty());
    }
    void isFreeRoomFailsOnErrors() {
        CloseSqliteConnection(gDb); // an error counts as a conflict
        QVERIFY(!R_Main::IsFreeRoom(raumA, TestProjekt::satz(raumA, Tag(0, 9), Tag(0, 10))) &&
                p->prompt.last().text.endsWith(QStringLiteral("\nR_Main.IsFreeRoom")));
    }

    // "raum A" Monday 09:30-10:30, "Raum B" Wednesday 10:00-11:00, "Raum C" Tuesday 12:00 to
    // Wednesday 08:00; the hall, of another type, all Monday.
    void free_data() {
        QTest::addColumn<QString>("art"); // Spanne, Serie (dates with one time) or Auftrag
        QTest::addColumn<Zeiten>("von");
        QTest::addColumn<Zeiten>("bis");
        QTest::addColumn<bool>("alleTypen");
        QTest::addColumn<QString>("frei"); // first letters
        auto row = [](const char* name, const char* art, Zeiten von, Zeiten bis, bool alle,
                      const char* frei) {
            QTest::newRow(name) << QString::fromLatin1(art) << von << bis << alle << frei;
        };
        row("Monday 9-10", "Spanne", {Tag(0, 9)}, {Tag(0, 10)}, false, "BC");
        row("all types, Tuesday 9-10", "Spanne", {Tag(1, 9)}, {Tag(1, 10)}, true, "ABCS");
        row("series Monday to Wednesday 9-10", "Serie", {Tag(0, 9), Tag(1, 9), Tag(2, 9)},
            {Tag(0, 10)}, false, "BC");
        row("order clear of all", "Auftrag", {Tag(0, 8), Tag(2, 11)}, {Tag(0, 9), Tag(2, 12)},
            false, "ABC");
        row("order meets B and C", "Auftrag", {Tag(1, 11), Tag(2, 10.5)}, {Tag(1, 13), Tag(2, 12)},
            false, "A");
    }
    void free() {
        QFETCH(QString, art);
        QFETCH(Zeiten, von);
        QFETCH(Zeiten, bis);
        QFETCH(bool, alleTypen);
        p->buche(raumA, Tag(0, 9.5), Tag(0, 10.5));
        p->buche(raumB, Tag(2, 10), Tag(2, 11));
        p->buche(raumC, Tag(1, 12), Tag(2, 8));
        p->buche(saal, Tag(0), Tag(0, 23.9));

        R_Main::FreiAnfrage anfrage;
        QVector<double> termine;
        CBelegungRecColl auftragColl;
        const CBelegungRec erste = TestProjekt::satz(0, von[0], bis[0]);
        if (art == QLatin1String("Spanne")) {
            anfrage.spanne = {erste.dt_von, erste.tm_von, erste.dt_bis, erste.tm_bis};
        } else if (art == QLatin1String("Serie")) {
            for (double v : von)
                termine << std::trunc(v);
            anfrage.serienTermine = &termine;
            anfrage.serienZeitVon = erste.tm_von;
            anfrage.serienZeitBis = erste.tm_bis;
        } else {
            for (int i = 0; i < von.size(); ++i) {
                CBelegungRec b = TestProjekt::satz(0, von[i], bis[i]);
                b.Rec_ID = 1000 + i;
                auftragColl.Append(b);
            }
            anfrage.auftrag = &auftragColl;
        }
        QVector<R_Main::FreierRaum> raeume;
        bool bNichtAlle = false;
        QVERIFY(R_Main::Free(anfrage, 0, alleTypen ? 0 : typ, raeume, bNichtAlle));
        QString buchstaben;
        for (const auto& r : raeume) {
            buchstaben += r.Kurzbez.back().isLetter() ? r.Kurzbez.back() : r.Kurzbez.front();
            QCOMPARE(r.az_ID, R_Main::RaumIdByName(r.Kurzbez));
        }
        QTEST(buchstaben, "frei");
        QCOMPARE(bNichtAlle, raeume.size() < (alleTypen ? 4 : 3));
    }

    // A new booking saved while the counter stands at 100: the number drawn, the numbers named as
    // taken, and the counter after it.
    void auftragsnummer_data() {
        QTest::addColumn<Nummern>("vergeben"); // negative: archived
        QTest::addColumn<Nummern>("antworten");
        QTest::addColumn<int32_t>("nummer");   // -1: not saved
        QTest::addColumn<Nummern>("gemeldet"); // numbers named as taken = offered
        QTest::newRow("free") << Nummern{99, 101} << Nummern{} << 100 << Nummern{};
        QTest::newRow("taken, then a taken one entered")
            << Nummern{100, 250} << Nummern{250, 260} << 260 << Nummern{100, 250};
        QTest::newRow("taken, cancelled") << Nummern{100} << Nummern{} << -1 << Nummern{100};
        QTest::newRow("taken by an archived booking")
            << Nummern{-100} << Nummern{101} << 101 << Nummern{100};
    }
    void auftragsnummer() {
        QFETCH(Nummern, vergeben);
        QFETCH(Nummern, antworten);
        QFETCH(Nummern, gemeldet);
        p->wert(QStringLiteral("UPDATE T_NextNr SET lNextNr = 100"));
        for (int32_t n : vergeben) {
            const int32_t id = p->buche(raumA, Tag(0, 9), Tag(0, 10), std::abs(n));
            if (n < 0)
                p->archiviere(id);
        }
        eingaben = antworten;
        const int vorher = p->anzahlBelegungen();
        CBelegungRec neu = TestProjekt::satz(raumB, Tag(0, 9), Tag(0, 10), 0);
        QFETCH(int32_t, nummer);
        QCOMPARE(R_Main::SpeichereBelegung(neu), nummer > 0);
        QCOMPARE(p->anzahlBelegungen(), vorher + (nummer > 0));
        if (nummer > 0)
            QCOMPARE(p->lies(neu.Rec_ID).lAuftrNr, nummer);
        QCOMPARE(angeboten, gemeldet);
        QStringList erwartet;
        for (int32_t n : gemeldet)
            erwartet << QStringLiteral("Es existiert bereits ein Auftrag mit der Auftragsnummer "
                                       "%1. Bitte ändern Sie die Auftragsnummer!")
                            .arg(n);
        QCOMPARE(p->texte(), erwartet);
        QCOMPARE(zaehler().toInt(), nummer > 0 ? nummer + 1 : 100);
    }

    // A booking in the way is named and nothing is written.
    void saveRefusesABookingInTheWay() {
        p->buche(raumA, Tag(0, 9), Tag(0, 10), 100);
        CBelegungRec imWeg = TestProjekt::satz(raumA, Tag(0, 9.5), Tag(0, 11), 0);
        p->prompt.clear();
        QVERIFY(!R_Main::SpeichereBelegung(imWeg));
        QCOMPARE(p->prompt.last().text,
                 QStringLiteral("Die Reservierung wurde nicht gespeichert: Der Raum ist in dieser "
                                "Zeit bereits belegt.\r\n\r\nRaum: 'raum A' am 16.03.2026 von "
                                "09:00 bis 10:00\r\nBesteller: Berg, Karl"));
        QCOMPARE(p->anzahlBelegungen(), 1);
    }

    void counterKeepsOneRow() {
        p->wert(QStringLiteral("DELETE FROM T_NextNr"));
        QCOMPARE(R_Main::GetNextAuftragNr(), -1); // nothing to draw from
        QVERIFY(R_Main::SetNextAuftragNr(0) && R_Main::SetNextAuftragNr(7));
        QCOMPARE(p->wert(QStringLiteral("SELECT count(*) FROM T_NextNr")).toInt(), 1);
        R_Main::AuftragNrSetzen(); // cancelled
        QCOMPARE(zaehler().toInt(), 7);
        eingaben = {500};
        R_Main::AuftragNrSetzen();
        QCOMPARE(zaehler().toInt(), 500);
        QCOMPARE(angeboten, (Nummern{7, 7}));
    }

    void historie() {
        QCOMPARE(R_Main::RaumIdByName(QStringLiteral("RAUM a")), raumA);
        QCOMPARE(R_Main::RaumIdByName(QStringLiteral("x' OR '1'='1")), 0);
        const auto mit = [&](double von, double bis, const QString& best, int32_t aust,
                             int32_t raumId = 0) {
            CBelegungRec b = TestProjekt::satz(raumId ? raumId : raumA, von, bis);
            b.Best = best;
            b.Verst = best + QStringLiteral(" V");
            b.Bem = best + QStringLiteral(" B");
            b.Austbem = best + QStringLiteral(" S");
            b.Aust = aust;
            return p->buche(b)->Rec_ID;
        };
        // Reference Monday: from the 15th day before to the 15th after, both left out.
        mit(Tag(-15, 8), Tag(-15, 9), QStringLiteral("zu früh"), 0);
        mit(Tag(1, 14), Tag(1, 15), QStringLiteral("Spät"), 2 | 2048);
        mit(Tag(-14, 8), Tag(-14, 9), QStringLiteral("Erst"), 0);
        mit(Tag(1, 8), Tag(1, 9), QStringLiteral("Früh"), 1 | 1024);
        p->archiviere(mit(Tag(10, 8), Tag(14, 9), QStringLiteral("Archiv"), 4095));
        mit(Tag(10, 8), Tag(15, 9), QStringLiteral("zu spät"), 0);
        mit(Tag(1, 8), Tag(1, 9), QStringLiteral("anderer Raum"), 0, raumB);

        frmHistorie form;
        QVERIFY(form.Fuellen(raumA, Tag(0, 17)));
        const QTreeWidget* lv = form.lvHistorie;
        const QStringList texte[] = {
            {"02.03.2026 08:00", "02.03.2026 09:00", "Erst", "Erst V", "", "Erst S", "Erst B"},
            {"17.03.2026 08:00", "17.03.2026 09:00", "Früh", "Früh V", "Whiteboard, Grossbildchirm",
             "Früh S", "Früh B"},
            {"17.03.2026 14:00", "17.03.2026 15:00", "Spät", "Spät V", "Projektor, Smartboard",
             "Spät S", "Spät B"},
            {"26.03.2026 08:00", "30.03.2026 09:00", "Archiv", "Archiv V",
             "Whiteboard, Projektor, Laptop, Mikrofon, Rednerpult, Flipchart, Leinwand, "
             "Netzwerk, Audioanlage, Mediensteuerung, Grossbildchirm, Smartboard",
             "Archiv S", "Archiv B"}};
        QCOMPARE(lv->topLevelItemCount(), 4);
        for (int r = 0; r < 4; ++r) {
            QStringList zeile;
            for (int c = 0; c < lv->columnCount(); ++c)
                zeile << lv->topLevelItem(r)->text(c);
            QCOMPARE(zeile, texte[r]);
            QCOMPARE(lv->topLevelItem(r)->data(0, Qt::UserRole).toString(),
                     QString::number(r + 1) + QLatin1Char('$'));
        }
    }

    // The dialog the routines open: OK takes a whole positive number no order carries. The
    // warning comes each time the field is entered, not when only its window comes back.
    void nextNumberDialog_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("frei");
        QTest::addColumn<int32_t>("nummer"); // what the dialog returns; -1 = refused
        for (const char* t : {"0", "-5", "abc", "7abc", "", "2147483648"})
            QTest::newRow(t) << t << false << -1;
        QTest::newRow("7") << "7" << true << 7;
        QTest::newRow(" 12 ") << " 12 " << true << 12;
        QTest::newRow("in use") << "500" << true << -1;
    }
    void nextNumberDialog() {
        QFETCH(QString, text);
        p->buche(raumA, Tag(0, 9), Tag(0, 10), 500);
        R_Main::gNextNrDialog = m_dialog; // the real dialog
        ScriptedModal modal;
        modal.einmal([&](frmNextNr& dlg) {
            QCOMPARE(dlg.edOrderNr->text(), QStringLiteral("100"));
            fokus(dlg, QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // the dialog opens on it
            fokus(dlg, QEvent::FocusOut, Qt::ActiveWindowFocusReason); // the message box takes it
            fokus(dlg, QEvent::FocusIn, Qt::ActiveWindowFocusReason);  // and gives it back
            fokus(dlg, QEvent::FocusOut, Qt::TabFocusReason);
            fokus(dlg, QEvent::FocusIn, Qt::MouseFocusReason);
            QCOMPARE(p->prompt.texte(),
                     QStringList(2, "Das Ändern der Auftragsnummer kann zu Problemen führen"));
            p->prompt.clear();
            dlg.edOrderNr->setText(QStringLiteral("99"));
            dlg.edOrderNr->setText(text);
            QTEST(dlg.pbOK->isEnabled(), "frei");
            text.isEmpty() ? dlg.pbCancel->click() : dlg.pbOK_Click();
        });
        QTEST(R_Main::gNextNrDialog(100), "nummer");
        QCOMPARE(p->prompt.texte().size(), text == QLatin1String("500") ? 1 : 0);
    }
};

QTEST_MAIN(TestRMain)
#include "tst_rmain.moc"

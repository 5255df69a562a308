// The shared routines of the reservation form on a real project database: room test, free-room
// search, order numbers, saving, deleting and the equipment history.
#include "CRvDb.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "SqlConnection.h"
#include "TestUtil.h"
#include "frmHistorie.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

namespace {
// Monday 16.03.2026 + n days, at hh:mm.
double Tag(int n, double h = 0) {
    return TovoDate::fromParts(2026, 3, 16 + n).value() + h / 24;
}
using Zeiten = QList<double>;
using Nummern = QList<int32_t>;
} // namespace

class TestRMain : public QObject {
    Q_OBJECT

    QTemporaryDir* dir = nullptr;
    ScriptedPrompt* prompt = nullptr;
    Nummern angeboten; // what the order-number dialog was offered
    Nummern eingaben;  // what it answers, in turn (-1 when none is left)
    int32_t typ = 0, raumA = 0, raumB = 0, raumC = 0, saal = 0;

    QVariant sql(const QString& text, const QVariantList& binds = {}) {
        QSqlQuery q(QSqlDatabase::database(gDb));
        q.prepare(text);
        for (const QVariant& v : binds)
            q.addBindValue(v);
        q.exec();
        return q.next() ? q.value(0) : QVariant();
    }
    int32_t raum(const QString& name, int32_t raumart) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.lRaumartId = raumart;
        gRvDb->AddNewrb_AnzeigeRec(&r);
        return r.az_ID;
    }
    static CBelegungRec satz(int32_t raumId, double von, double bis) {
        CBelegungRec b;
        b.rb_id = raumId;
        b.dt_von = std::trunc(von);
        b.tm_von = von - b.dt_von;
        b.dt_bis = std::trunc(bis);
        b.tm_bis = bis - b.dt_bis;
        return b;
    }
    int32_t buche(int32_t raumId, double von, double bis, int32_t auftrNr = 1) {
        CBelegungRec b = satz(raumId, von, bis);
        b.lAuftrNr = auftrNr;
        gRvDb->AddNewfm_belegungRec(&b);
        return b.Rec_ID;
    }
    void archiviere(int32_t recId) {
        sql(QStringLiteral("UPDATE T_fm_belegung SET bArchiviert = -1 WHERE Rec_ID = ?"), {recId});
    }
    QVariant zaehler() { return sql(QStringLiteral("SELECT lNextNr FROM T_NextNr")); }

private Q_SLOTS:
    void init() {
        dir = new QTemporaryDir;
        const QString path = CopyTemplateTo(dir->path());
        gRvDb = new CRvDb;
        gRvDb->SetDbPath(path);
        gRvDb->SetOpenReadOnly(false);
        QVERIFY(gRvDb->OpenDb());
        gDb = UniqueConnectionName(QStringLiteral("gDb"));
        QVERIFY(OpenSqliteConnection(path, gDb, false, nullptr));
        gdToleranz = 0;
        prompt = new ScriptedPrompt;
        angeboten.clear();
        eingaben.clear();
        R_Main::gNextNrDialog = [this](int32_t vorschlag) {
            angeboten << vorschlag;
            return eingaben.isEmpty() ? -1 : eingaben.takeFirst();
        };
        CRaumartRec art;
        art.stRaumArt = QStringLiteral("Besprechung");
        gRvDb->AddNewRaumartRec(&art);
        typ = art.lId;
        raumB = raum(QStringLiteral("Raum B"), typ);
        raumA = raum(QStringLiteral("raum A"), typ);
        raumC = raum(QStringLiteral("Raum C"), typ);
        saal = raum(QStringLiteral("Saal \"Nord\""), typ + 1);
    }
    void cleanup() {
        R_Main::gNextNrDialog = nullptr;
        delete prompt;
        CloseSqliteConnection(gDb);
        gDb.clear();
        delete gRvDb;
        gRvDb = nullptr;
        delete dir;
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
        QTest::newRow("touching, tolerance 0")
            << kein << null << false << 10. << 11. << -1. << 0 << true;
        QTest::newRow("touching, tolerance 1")
            << kein << null << false << 10. << 11. << -1. << 1 << false;
        QTest::newRow("new set-up into it")
            << kein << null << false << 11. << 12. << 9.5 << 0 << false;
        QTest::newRow("stored set-up into the new one")
            << mo << QVariant(7.5 / 24) << false << 7. << 8. << -1. << 0 << false;
        QTest::newRow("stored set-up date null: none")
            << null << QVariant(5. / 24) << false << 9.5 << 11. << -1. << 0 << false;
        QTest::newRow("stored set-up without time: 00:00")
            << mo << null << false << 5. << 6. << -1. << 0 << false;
        QTest::newRow("archived") << kein << null << true << 9. << 10. << -1. << 0 << true;
    }
    void isFreeRoom() {
        QFETCH(QVariant, udt);
        QFETCH(QVariant, utm);
        QFETCH(bool, archiviert);
        QFETCH(double, von);
        QFETCH(double, bis);
        QFETCH(double, umbau);
        QFETCH(int, toleranz);
        QFETCH(bool, frei);
        const int32_t id = buche(raumA, Tag(0, 9), Tag(0, 10));
        sql(QStringLiteral("UPDATE T_fm_belegung SET Udt_von = ?, Utm_von = ? WHERE Rec_ID = ?"),
            {udt, utm, id});
        if (archiviert)
            archiviere(id);
        buche(raumB, Tag(-7), Tag(7)); // other rooms never count
        gdToleranz = toleranz / 1440.0;

        CBelegungRec neu = satz(raumA, Tag(0, von), Tag(0, bis));
        if (umbau >= 0) {
            neu.Udt_von = Tag(0);
            neu.Utm_von = umbau / 24;
        }
        QCOMPARE(R_Main::IsFreeRoom(raumA, neu), frei);
        neu.Rec_ID = id; // never against itself
        QVERIFY(R_Main::IsFreeRoom(raumA, neu));
        QVERIFY(prompt->shown.isEmpty());
    }

    void isFreeRoomFailsOnErrors() {
        CloseSqliteConnection(gDb);
        QVERIFY(!R_Main::IsFreeRoom(raumA, satz(raumA, Tag(0, 9), Tag(0, 10))));
        QVERIFY(prompt->last().text.endsWith(QStringLiteral("\nR_Main.IsFreeRoom")));
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
        row("Tuesday 9 to Wednesday 10", "Spanne", {Tag(1, 9)}, {Tag(2, 10)}, false, "AB");
        row("series Monday to Wednesday 9-10", "Serie", {Tag(0, 9), Tag(1, 9), Tag(2, 9)},
            {Tag(0, 10)}, false, "BC");
        row("series Wednesday 7-9", "Serie", {Tag(2, 7)}, {Tag(2, 9)}, false, "AB");
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
        QFETCH(QString, frei);
        buche(raumA, Tag(0, 9.5), Tag(0, 10.5));
        buche(raumB, Tag(2, 10), Tag(2, 11));
        buche(raumC, Tag(1, 12), Tag(2, 8));
        buche(saal, Tag(0), Tag(0, 23.9));
        archiviere(buche(raumC, Tag(-7), Tag(7)));

        R_Main::FreiAnfrage anfrage;
        QVector<double> termine;
        CBelegungRecColl auftragColl;
        const CBelegungRec erste = satz(0, von[0], bis[0]);
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
                CBelegungRec b = satz(0, von[i], bis[i]);
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
        QCOMPARE(buchstaben, frei);
        QCOMPARE(bNichtAlle, raeume.size() < (alleTypen ? 4 : 3));
    }

    void auftragsnummer_data() {
        QTest::addColumn<QVariant>("zaehlerStand"); // null = empty table
        QTest::addColumn<Nummern>("vergeben");      // negative: archived
        QTest::addColumn<Nummern>("antworten");
        QTest::addColumn<int32_t>("nummer");
        QTest::addColumn<Nummern>("gemeldet"); // numbers named as taken = offered
        QTest::newRow("free") << QVariant(100) << Nummern{99, 101} << Nummern{} << 100 << Nummern{};
        QTest::newRow("taken, 250 entered")
            << QVariant(100) << Nummern{100} << Nummern{250} << 250 << Nummern{100};
        QTest::newRow("taken, then a taken one entered")
            << QVariant(100) << Nummern{100, 250} << Nummern{250, 260} << 260 << Nummern{100, 250};
        QTest::newRow("taken, cancelled")
            << QVariant(100) << Nummern{100} << Nummern{} << -1 << Nummern{100};
        QTest::newRow("taken by an archived booking")
            << QVariant(100) << Nummern{-100} << Nummern{101} << 101 << Nummern{100};
        QTest::newRow("empty counter table")
            << QVariant() << Nummern{} << Nummern{} << -1 << Nummern{};
    }
    void auftragsnummer() {
        QFETCH(QVariant, zaehlerStand);
        QFETCH(Nummern, vergeben);
        QFETCH(Nummern, antworten);
        QFETCH(int32_t, nummer);
        QFETCH(Nummern, gemeldet);
        sql(QStringLiteral("DELETE FROM T_NextNr"));
        if (!zaehlerStand.isNull())
            sql(QStringLiteral("INSERT INTO T_NextNr (lNextNr) VALUES (?)"), {zaehlerStand});
        for (int32_t n : vergeben) {
            const int32_t id = buche(raumA, Tag(0, 9), Tag(0, 10), std::abs(n));
            if (n < 0)
                archiviere(id);
        }
        eingaben = antworten;

        QCOMPARE(R_Main::GetNextAuftragNr(), nummer);
        QCOMPARE(angeboten, gemeldet);
        QCOMPARE(prompt->shown.size(), gemeldet.size());
        for (int i = 0; i < gemeldet.size(); ++i) {
            const PromptMessage& m = prompt->shown.at(i);
            QCOMPARE(m.text, QStringLiteral("Es existiert bereits ein Auftrag mit der "
                                            "Auftragsnummer %1. Bitte ändern Sie die "
                                            "Auftragsnummer!")
                                 .arg(gemeldet.at(i)));
            QCOMPARE(m.title, QStringLiteral("Problem"));
            QCOMPARE(m.icon, PromptIcon::Critical);
        }
        QCOMPARE(zaehler(), zaehlerStand); // drawing a number leaves the counter alone
    }

    void setNextAuftragNrKeepsOneRow() {
        sql(QStringLiteral("DELETE FROM T_NextNr"));
        QVERIFY(R_Main::SetNextAuftragNr(0));
        QVERIFY(R_Main::SetNextAuftragNr(42));
        QCOMPARE(sql(QStringLiteral("SELECT count(*) FROM T_NextNr")).toInt(), 1);
        QCOMPARE(zaehler().toInt(), 42);
    }

    void auftragNrSetzen() {
        R_Main::SetNextAuftragNr(7);
        R_Main::AuftragNrSetzen(); // cancelled
        QCOMPARE(zaehler().toInt(), 7);
        eingaben = {500};
        R_Main::AuftragNrSetzen();
        QCOMPARE(zaehler().toInt(), 500);
        QCOMPARE(angeboten, (Nummern{7, 7}));
    }

    void speichereBelegung() {
        R_Main::SetNextAuftragNr(100);
        CBelegungRec b = satz(raumA, Tag(0, 9), Tag(0, 10));
        QVERIFY(R_Main::SpeichereBelegung(b));
        QVERIFY(b.Rec_ID > 0);
        QCOMPARE(b.lAuftrNr, 100);
        QCOMPARE(zaehler().toInt(), 101);

        b.Best = QStringLiteral("Huber"); // an existing one keeps its number, the counter stays
        QVERIFY(R_Main::SpeichereBelegung(b));
        QCOMPARE(sql(QStringLiteral("SELECT Best || lAuftrNr FROM T_fm_belegung")).toString(),
                 QStringLiteral("Huber100"));
        QCOMPARE(zaehler().toInt(), 101);
        QVERIFY(prompt->shown.isEmpty());

        b.Rec_ID = 9999; // gone meanwhile
        QVERIFY(!R_Main::SpeichereBelegung(b));
        QCOMPARE(prompt->last().text,
                 QStringLiteral("Der Datensatz konnte nicht aktualisiert werden!"));
        QCOMPARE(prompt->last().icon, PromptIcon::Critical);
    }

    void loeschen() {
        const int32_t einzeln = buche(raumA, Tag(0, 9), Tag(0, 10), 7);
        buche(raumA, Tag(1, 9), Tag(1, 10), 7);
        archiviere(buche(raumA, Tag(-30, 9), Tag(-30, 10), 7));
        const int32_t anderer = buche(raumB, Tag(0, 9), Tag(0, 10), 8);
        const QString anzahl = QStringLiteral("SELECT count(*) FROM T_fm_belegung");
        QVERIFY(R_Main::LoescheBelegung(einzeln));
        QCOMPARE(sql(anzahl).toInt(), 3);
        QVERIFY(R_Main::LoescheAuftrag(7));
        QCOMPARE(sql(QStringLiteral("SELECT group_concat(Rec_ID) FROM T_fm_belegung")).toInt(),
                 anderer);
    }

    void historie() {
        QCOMPARE(R_Main::RaumIdByName(QStringLiteral("RAUM a")), raumA);
        QCOMPARE(R_Main::RaumIdByName(QStringLiteral("x' OR '1'='1")), 0);
        const auto mit = [&](double von, double bis, const QString& best, int32_t aust,
                             int32_t raumId = 0) {
            CBelegungRec b = satz(raumId ? raumId : raumA, von, bis);
            b.Best = best;
            b.Verst = best + QStringLiteral(" V");
            b.Bem = best + QStringLiteral(" B");
            b.Austbem = best + QStringLiteral(" S");
            b.Aust = aust;
            gRvDb->AddNewfm_belegungRec(&b);
            return b.Rec_ID;
        };
        // Reference Monday: from the 15th day before to the 15th after, both left out.
        mit(Tag(-15, 8), Tag(-15, 9), QStringLiteral("zu früh"), 0);
        mit(Tag(1, 14), Tag(1, 15), QStringLiteral("Spät"), 2 | 2048);
        mit(Tag(-14, 8), Tag(-14, 9), QStringLiteral("Erst"), 0);
        mit(Tag(1, 8), Tag(1, 9), QStringLiteral("Früh"), 1 | 1024);
        archiviere(mit(Tag(10, 8), Tag(14, 9), QStringLiteral("Archiv"), 4095));
        mit(Tag(10, 8), Tag(15, 9), QStringLiteral("zu spät"), 0);
        mit(Tag(1, 8), Tag(1, 9), QStringLiteral("anderer Raum"), 0, raumB);

        frmHistorie form;
        QVERIFY(form.Fuellen(raumA, Tag(0, 17)));
        const QTreeWidget* lv = form.lvHistorie;
        QCOMPARE(lv->topLevelItemCount(), 4);
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
        for (int r = 0; r < 4; ++r) {
            QStringList zeile;
            for (int c = 0; c < lv->columnCount(); ++c)
                zeile << lv->topLevelItem(r)->text(c);
            QCOMPARE(zeile, texte[r]);
            QCOMPARE(lv->topLevelItem(r)->data(0, Qt::UserRole).toString(),
                     QString::number(r + 1) + QLatin1Char('$'));
        }
    }
};

QTEST_MAIN(TestRMain)
#include "tst_rmain.moc"

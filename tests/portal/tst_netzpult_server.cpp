// The portal exchange against a real MariaDB server started for this executable.
#include "AntragsSperre.h"
#include "MariaDbServer.h"
#include "NetzpultAntraege.h"
#include "NetzpultPublish.h"
#include "NetzpultZeilen.h"
#include "SchreibPfad.h"
#include "ScriptedModal.h"
#include "TestProjekt.h"
#include "ToolsNetzpult.h"
#include "TovoRaumverwCtrl.h"
#include "TovoTools.h"
#include "UpdateNetzpult.h"
#include "frmAntrag.h"
#include "frmNetzpult.h"
#include "frmTextAnzeige.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QSqlRecord>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <csignal>
#include <iostream>
#include <random>
#include <string>
#include <thread>

namespace {

const QString kPortal = QStringLiteral("netzpult");

// Answers Yes/Ok to everything but the offer to send the confirmation mail.
PromptResult Antwort(const PromptMessage& m) {
    if (m.text.startsWith(QLatin1String("Soll die e-mail")))
        return PromptResult::No;
    return m.buttons == PromptButtons::RetryCancel ? PromptResult::Retry
                                                   : ScriptedPrompt::standard(m);
}

// Saves the reservation form; without a room first the first free room of the first type.
void MitRaumSpeichern(frmAntrag& form) {
    if (form.coFreeRooms->currentIndex() < 0 && form.RaumTag().isEmpty()) {
        if (form.coRaumart->currentData().toInt() == 0) {
            form.coRaumart->setCurrentIndex(form.coRaumart->count() - 1);
            form.coRaumart_Click();
        }
        form.coFreeRooms->setCurrentIndex(0);
        form.coFreeRooms_Click();
    }
    form.pbSave_Click();
}

// `anzahl` bookings of a new room with the event text `verst`, written in one transaction.
void VieleBelegungen(TestProjekt& p, int anzahl, const QString& verst) {
    const int32_t raum = p.raum(QStringLiteral("A"), p.raumart(QStringLiteral("T")));
    QVector<TestBelegung> zeilen(anzahl);
    for (int i = 0; i < anzahl; ++i) {
        zeilen[i].rec = TestProjekt::satz(raum, Tag(i % 700, 8), Tag(i % 700, 9), 1000 + i);
        zeilen[i].rec.Best = QStringLiteral("Besteller %1").arg(i);
        zeilen[i].rec.Verst = verst;
    }
    QVERIFY(BelegungenEinlagern(gDb, zeilen));
}

} // namespace

class TstNetzpultServer : public QObject {
    Q_OBJECT
    std::unique_ptr<MariaDbServer> m_server;
    QString m_conn;

    QSqlDatabase portal() { return QSqlDatabase::database(m_conn); }
    // The values of the rows the portal returns for `sql`, each row joined by "|".
    QStringList imPortal(const QString& sql) {
        QStringList out;
        QSqlQuery q(portal());
        if (!q.exec(sql))
            return {QStringLiteral("FEHLER ") + q.lastError().text()};
        while (q.next()) {
            QStringList row;
            for (int i = 0; i < q.record().count(); ++i)
                row << q.value(i).toString();
            out << row.join(QLatin1Char('|'));
        }
        return out;
    }

    // Points the project settings in `dir` at the test portal.
    void portalEintragen(const QString& dir) {
        for (auto [key, value] : {std::pair{"DBPATH", m_server->ConnText()}, {"NetzpultType", "1"}})
            CTovoTools::Instance().WriteIniValue(dir + kIniFileName, QStringLiteral("WebMDB"),
                                                 QLatin1String(key), value);
    }
    void konfiguriere(TestProjekt& p) {
        gstProjektDir = p.dir.path() + QLatin1Char('/');
        gstDbPath = p.path;
        gDbOrt = p.ort();
        portalEintragen(gstProjektDir);
    }

    // The project configured for the portal, answering as a user would, with two rooms.
    std::pair<int32_t, int32_t> zweiSaele(TestProjekt& p) {
        konfiguriere(p);
        p.prompt.antwort = Antwort;
        const int32_t art = p.raumart(QStringLiteral("Saal"));
        return {p.raum(QStringLiteral("Saal 1"), art), p.raum(QStringLiteral("Saal 2"), art)};
    }

    NetzpultPublish::Ergebnis veroeffentliche(const TestProjekt& p, bool voll = false,
                                              const NetzpultPublish::Fortschritt& f = {},
                                              const QString& portalDb = kPortal) {
        return NetzpultPublish::Veroeffentliche({p.ort(), m_server->ConnText(portalDb), 30, voll},
                                                f);
    }

    // Everything the portal shows, row by row, without its own row numbers.
    QStringList abbild() {
        return imPortal("SELECT * FROM T_RAUMART ORDER BY 1") +
               imPortal("SELECT * FROM T_RAUM ORDER BY 1") +
               imPortal(QStringLiteral("SELECT %1 FROM T_BELEGUNG ORDER BY BRESERVIERT, "
                                       "LBELEGID, LWUNSCHID, STNAME")
                            .arg(NetzpultZeilen::Belegungen().spalten.join(',')));
    }

    void antrag(const QString& status, int32_t raum, int32_t belegId, const QString& name,
                const QString& von = QStringLiteral("2026-03-17"),
                const QString& zeitVon = QStringLiteral("9"),
                const QString& zeitBis = QStringLiteral("24:00")) {
        QSqlQuery q(portal());
        QVERIFY(q.prepare(QStringLiteral(
            "INSERT INTO T_BELEGUNG (LBELEGID, DTDATUMVON, STZEITVON, DTDATUMBIS, STZEITBIS, "
            "LRAUMID, BRESERVIERT, STNAME, STFIRMA, STTEL, STEMAIL, STAUSSTATTUNG, "
            "IANZAHLPERSONEN, STNUTZUNG, STPTISCHE, STDATUMERST, STSTATUS, LWUNSCHID) "
            "VALUES (?, ?, ?, ?, ?, ?, 0, ?, 'Bauamt', '123', 'a@b.de', 'WB', 20, 'Klausur', "
            "'6', '01.03.2026', ?, 99)")));
        const QVariantList werte = {belegId, von, zeitVon, von, zeitBis, raum, name, status};
        for (int i = 0; i < werte.size(); ++i)
            q.bindValue(i, werte[i]);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
    }

private slots:
    void initTestCase() {
        m_server = std::make_unique<MariaDbServer>();
        QVERIFY2(m_server->ok(), qPrintable(m_server->error()));
    }
    void init() {
        QString error;
        QVERIFY2(m_server->CreatePortal(kPortal, &error), qPrintable(error));
        m_server->Connect(kPortal, &m_conn);
    }
    void cleanup() { QSqlDatabase::removeDatabase(m_conn); }
    void cleanupTestCase() { m_server.reset(); }

    // The control publishes on its command, once per save on its timer, and when it goes.
    void controlTriggers() {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        portalEintragen(dir.path() + QLatin1Char('/'));
        const QString aktualisiert = QString::fromUtf8(Netzpult::kAktualisiert);
        const QString typen = QStringLiteral("SELECT STRAUMART FROM T_RAUMART");
        {
            TovoRaumverwCtrl ctrl;
            QVERIFY(ctrl.OpenDb(TovoBinDir() + QLatin1Char('/'), dir.path(), QString(), nullptr));
            QVERIFY(ctrl.mnuBearbeiten.value(31)->isEnabled() &&
                    ctrl.mnuBearbeiten.value(32)->isEnabled());
            QVERIFY(ctrl.UpdateTimer->isActive() && ctrl.UpdateTimer->interval() == 1000);
            CRaumartRec art;
            art.stRaumArt = QStringLiteral("Eins");
            QVERIFY(gRvDb->AddNewRaumartRec(&art));

            ctrl.MainToolbar_ButtonClick(QStringLiteral("Intranet"));
            QCOMPARE(imPortal(typen), QStringList{"Eins"});
            QCOMPARE(prompt.shown.size(), 0);

            art.stRaumArt = QStringLiteral("Zwei");
            QVERIFY(gRvDb->EditRaumartRec(&art));
            gbUpdatePending = true;
            ctrl.UpdateTimer_Timer();
            ctrl.UpdateTimer_Timer();
            QCOMPARE(prompt.texte(), QStringList{aktualisiert});
            QVERIFY(!gbUpdatePending);
            QCOMPARE(imPortal(typen), QStringList{"Zwei"});

            art.stRaumArt = QStringLiteral("Drei");
            QVERIFY(gRvDb->EditRaumartRec(&art));
            ctrl.CloseDb();
        }
        QCOMPARE(prompt.texte(), QStringList({aktualisiert, aktualisiert}));
        QCOMPARE(imPortal(typen), QStringList{"Drei"});
    }

    // Every field reaches the portal as stored, whatever characters the texts hold.
    void publishRoundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "Großer Saal";
        QTest::newRow("injection") << "O'Brien; DROP TABLE T_RAUM";
        QTest::newRow("quotes") << "\"zitiert\" und 'einfach' und ``";
        QTest::newRow("backslash") << "C:\\Pfad\\n\\' ende\\";
        QTest::newRow("emoji") << "Feier 🎉👩‍💻 ✓";
    }
    void publishRoundTrip() {
        QFETCH(QString, text);
        TestProjekt p;
        konfiguriere(p);
        const int32_t art = p.raumart(text);
        CAnzeigeRec r;
        r.Kurzbez = text;
        r.RaumNr = QStringLiteral("1.01");
        r.lRaumartId = art;
        r.IANZAHLPERS = 30;
        r.STSTUHLANORDNUNG = QStringLiteral("KU");
        r.stAusstattung = QStringLiteral("WPB");
        r.IPTISCHE = 10;
        r.IPTISCHEFEST = 2;
        const int32_t raum = p.raum(r);

        CBelegungRec b = TestProjekt::satz(raum, TovoDate::fromParts(2024, 6, 7, 8, 30),
                                           TovoDate::fromParts(2024, 6, 8, 17, 5));
        b.Best = b.Inst = b.Austbem = b.Bem = b.Verst = text;
        b.Tel = QStringLiteral("0711 1");
        b.KST = QStringLiteral("4711");
        b.STEMAIL = QStringLiteral("berg@example.org");
        b.Aust = 2049;
        b.STSTUHLANORDNUNG = QStringLiteral("U");
        b.Pers = QStringLiteral("ca. 20");
        b.IPTISCHE = 6;
        b.datBestellung = TovoDate::fromParts(2024, 6, 1).value();
        const QString id = QString::number(p.buche(b)->Rec_ID), raumId = QString::number(raum);
        p.archiviere(p.buche(raum, Tag(0, 8), Tag(0, 9)));

        QVERIFY(Netzpult::UpdateNetzpult(nullptr));
        QCOMPARE(p.texte(), QStringList());
        const QString artId = QString::number(art);
        QCOMPARE(imPortal("SELECT * FROM T_RAUMART"),
                 QStringList(QStringLiteral("%1|%2").arg(artId, text)));
        QCOMPARE(
            imPortal("SELECT * FROM T_RAUM"),
            QStringList(
                QStringLiteral("%1|%2|1.01|%3|30|KU|WPB|2|4|6|8|10|2").arg(raumId, artId, text)));
        QCOMPARE(imPortal(QStringLiteral("SELECT LBELEGID, DTDATUMVON, STZEITVON, DTDATUMBIS, "
                                         "STZEITBIS, STDATUMERST, STDATUMKORR, LRAUMID, "
                                         "BRESERVIERT, STNAME, STTEL, STFIRMA, STKOSTENSTELLE, "
                                         "STEMAIL, STAUSSTATTUNG, STSONSTIGES, STSTUHLANORDNUNG, "
                                         "IANZAHLPERSONEN, STBEMERKUNG, STNUTZUNG, STPTISCHE, "
                                         "STSTATUS, LWUNSCHID FROM T_BELEGUNG")),
                 QStringList(QStringLiteral("%1|2024-06-07|08:30|2024-06-08|17:05|01.06.2024||%2|1|"
                                            "%3|0711 1|%3|4711|berg@example.org|BW|%3|U|0|%3|%3|"
                                            "6|R|0")
                                 .arg(id, raumId, text)));
    }

    // A publish killed anywhere leaves the previous publication whole.
    void killDuringPublish() {
        TestProjekt p;
        const int anzahl = 20000;
        VieleBelegungen(p, anzahl, QStringLiteral("alt"));
        QVERIFY(veroeffentliche(p).ok());
        p.wert(QStringLiteral("UPDATE T_fm_belegung SET Verst = 'neu'"));

        const QString stand = QStringLiteral("SELECT STNUTZUNG, COUNT(*) FROM T_BELEGUNG WHERE "
                                             "BRESERVIERT=1 GROUP BY STNUTZUNG");
        for (int bloecke : {1, 5, 12}) {
            QProcess kind;
            kind.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--kind-publizieren"), m_server->ConnText(), p.dir.path()});
            // The child waits after every block until it is told to go on, so the kill lands
            // inside the publication however slow the machine is.
            int gesehen = 0;
            while (gesehen < bloecke && kind.waitForReadyRead(60000))
                while (gesehen < bloecke && kind.canReadLine())
                    if (kind.readLine().startsWith("block") && ++gesehen < bloecke)
                        kind.write("weiter\n");
            QCOMPARE(gesehen, bloecke);
            kind.kill();
            QVERIFY(kind.waitForFinished(10000));
            QCOMPARE(imPortal(stand), QStringList{QStringLiteral("alt|%1").arg(anzahl)});
            QCOMPARE(imPortal("SELECT COUNT(*) FROM T_RAUM"), QStringList{"1"});
        }
        QVERIFY(veroeffentliche(p, true).ok());
        QCOMPARE(imPortal(stand), QStringList{QStringLiteral("neu|%1").arg(anzahl)});
    }

    // Requests the portal writes during a publication are all kept and numbered afterwards.
    void requestsDuringPublish() {
        TestProjekt p;
        VieleBelegungen(p, 20000, QStringLiteral("x"));

        std::atomic<bool> fertig{false};
        std::atomic<int> geschrieben{0};
        std::thread portalNutzer([&] {
            QString name;
            {
                QSqlDatabase db = m_server->Connect(kPortal, &name);
                QSqlQuery q(db);
                // Until the publication ended, and a few more after it.
                for (int nach = 0; nach < 5;) {
                    if (q.exec(QStringLiteral("INSERT INTO T_BELEGUNG (STNAME, BRESERVIERT, "
                                              "STSTATUS) VALUES ('Portal', 0, 'B')")))
                        ++geschrieben;
                    if (fertig)
                        ++nach;
                }
            }
            QSqlDatabase::removeDatabase(name);
        });
        QElapsedTimer uhr;
        uhr.start();
        while (geschrieben < 3 && uhr.elapsed() < 30000)
            QThread::yieldCurrentThread();
        const NetzpultPublish::Ergebnis e = veroeffentliche(p);
        fertig = true;
        portalNutzer.join();
        QVERIFY2(e.ok(), qPrintable(e.meldung));

        QVERIFY(NetzpultPublish::NummeriereAntraege(portal(), false, nullptr));
        // Numbered 1 to n without gaps, beside all the bookings.
        QCOMPARE(
            imPortal("SELECT BRESERVIERT, COUNT(*), COUNT(DISTINCT LWUNSCHID), MIN(LWUNSCHID), "
                     "MAX(LWUNSCHID) FROM T_BELEGUNG GROUP BY 1 ORDER BY 1")
                .value(0),
            QStringLiteral("0|%1|%1|1|%1").arg(geschrieben.load()));
        QCOMPARE(imPortal("SELECT COUNT(*) FROM T_BELEGUNG WHERE BRESERVIERT=1"),
                 QStringList{"20000"});
    }

    // Random changes of every kind, published in between, once cut off midway: the portal ends
    // up holding, row for row, what a full copy gives. Only the changes go, but to an empty or
    // another portal and on the menu command.
    void changesEqualFullCopy() {
        namespace SP = SchreibPfad;
        TestProjekt p;
        std::mt19937 zufall(20261206);
        const auto zahl = [&](int n) { return n > 0 ? int(zufall() % unsigned(n)) : 0; };
        const QString verbindung = gRvDb->ConnectionName();
        QVector<int32_t> arten{p.raumart(QStringLiteral("Saal")),
                               p.raumart(QStringLiteral("Büro"))};
        QVector<int32_t> raeume;
        for (int i = 0; i < 6; ++i)
            raeume << p.raum(QStringLiteral("R%1").arg(i), arten[i % 2]);
        const auto irgendeine = [&](const QString& spalte) {
            return p
                .wert(QStringLiteral("SELECT %1 FROM T_fm_belegung ORDER BY Rec_ID LIMIT 1 "
                                     "OFFSET ?")
                          .arg(spalte),
                      {zahl(p.anzahlBelegungen())})
                .toInt();
        };
        const auto geschrieben = [](const SP::Ergebnis& e) {
            return e.status == SP::Status::Ok || e.status == SP::Status::Konflikt;
        };
        const auto trennen = [&](qint64, qint64) {
            QSqlQuery q(portal());
            q.exec(QStringLiteral("SELECT ID FROM information_schema.PROCESSLIST WHERE ID <> "
                                  "CONNECTION_ID() AND DB = 'netzpult'"));
            while (q.next())
                QSqlQuery(portal()).exec(QStringLiteral("KILL ") + q.value(0).toString());
            return true;
        };
        for (int i = 0; i < 20; ++i)
            p.buche(raeume[i % 6], Tag(i, 8), Tag(i, 9), 600 + i);
        QVERIFY(veroeffentliche(p).vollstaendig);
        QString error;
        QVERIFY2(m_server->CreatePortal(QStringLiteral("zweites"), &error), qPrintable(error));
        for (int schritt = 0; schritt < 100; ++schritt) {
            const double von = Tag(zahl(40), 7 + zahl(10));
            CBelegungRec b = TestProjekt::satz(raeume[zahl(raeume.size())], von, von + 0.05);
            QVector<CBelegungRec> auftrag{b};
            CBelegungRecColl coll;
            CAnzeigeRec raum;
            CRaumartRec art;
            switch (zahl(12)) {
            case 0: // a series of weekly dates
                for (int w = 1, n = zahl(4); w <= n; ++w) {
                    auftrag << b;
                    auftrag.last().dt_von = auftrag.last().dt_bis = b.dt_von + 7 * w;
                }
                [[fallthrough]];
            case 1:
            case 2:
            case 3:
                QVERIFY(geschrieben(SP::NeuerAuftrag(verbindung, auftrag, 0)));
                break;
            case 4: // a series edit: every date of an order
                QVERIFY(gRvDb->ReadAuftrag2Coll(irgendeine(QStringLiteral("lAuftrNr")), &coll));
                auftrag.clear();
                for (CBelegungRec* r : coll) {
                    r->Verst = QStringLiteral("Serie %1").arg(schritt);
                    r->Aust = zahl(4096);
                    auftrag << *r;
                }
                QVERIFY(geschrieben(SP::Aendern(verbindung, auftrag, 0)));
                break;
            case 5: { // moved to another room and by some hours
                b.Rec_ID = irgendeine(QStringLiteral("Rec_ID"));
                QVERIFY(gRvDb->Readfm_belegungRec(&b));
                SP::Verlegung v = SP::LageVon(b);
                v.raumId = raeume[zahl(raeume.size())];
                v.beginn += zahl(5) / 24.0;
                v.ende += (zahl(5) + 1) / 24.0;
                QVERIFY(geschrieben(SP::Verlegen(verbindung, {v}, 0)));
                break;
            }
            case 6:
                QVERIFY(
                    (zahl(2)
                         ? SP::LoescheBelegung(verbindung, irgendeine(QStringLiteral("Rec_ID")))
                         : SP::LoescheAuftrag(verbindung, irgendeine(QStringLiteral("lAuftrNr"))))
                        .ok());
                break;
            case 7:
                QVERIFY((zahl(2) ? gRvDb->ArchiviereBelegungen(Tag(zahl(40)), 0)
                                 : gRvDb->DeArchiviereBelegungen(Tag(zahl(40)), 0))
                            .ok());
                break;
            case 8: // a room added, changed (name, capacity, type, tables) or deleted
                raum.az_ID = raeume[zahl(raeume.size())];
                if (zahl(3) == 0 && raeume.size() > 3) {
                    QVERIFY(gRvDb->Delrb_AnzeigeRec(raum.az_ID));
                    raeume.removeOne(raum.az_ID);
                    break;
                }
                QVERIFY(zahl(2) ? gRvDb->Readrb_AnzeigeRec(&raum) : (raum.az_ID = 0, true));
                raum.Kurzbez = QStringLiteral("Raum %1").arg(schritt);
                raum.IANZAHLPERS = int16_t(zahl(50));
                raum.IPTISCHE = int16_t(2 * zahl(9));
                raum.lRaumartId = arten[zahl(arten.size())];
                QVERIFY(raum.az_ID ? gRvDb->Editrb_AnzeigeRec(&raum)
                                   : gRvDb->AddNewrb_AnzeigeRec(&raum));
                raeume << raum.az_ID;
                break;
            case 9: // a room type added, renamed or deleted (its rooms leave the portal)
                art.lId = arten[zahl(arten.size())];
                art.stRaumArt = QStringLiteral("Art %1").arg(schritt);
                if (zahl(3) == 0 && arten.size() > 2 && arten.removeOne(art.lId))
                    QVERIFY(gRvDb->DelRaumartRec(art.lId));
                else
                    QVERIFY(zahl(2) ? gRvDb->EditRaumartRec(&art)
                                    : (gRvDb->AddNewRaumartRec(&art) && (arten << art.lId, true)));
                break;
            default: // a request arrives in the portal or is taken over
                if (zahl(2))
                    antrag(QStringLiteral("B"), raeume[0], 0, QStringLiteral("A%1").arg(schritt));
                else
                    QSqlQuery(portal()).exec(QStringLiteral(
                        "DELETE FROM T_BELEGUNG WHERE BRESERVIERT=0 ORDER BY ID LIMIT 1"));
            }
            std::sort(raeume.begin(), raeume.end());
            raeume.erase(std::unique(raeume.begin(), raeume.end()), raeume.end());
            if (schritt == 50) {
                const NetzpultPublish::Ergebnis e = veroeffentliche(p, false, trennen);
                QCOMPARE(e.status, NetzpultPublish::Status::KeineAntwort);
            } else if (schritt == 30) {
                QVERIFY(veroeffentliche(p, true).vollstaendig);
                QVERIFY(veroeffentliche(p, false, {}, QStringLiteral("zweites")).vollstaendig);
                QVERIFY(veroeffentliche(p).vollstaendig); // the last copy went elsewhere
                for (const char* tabelle : {"T_RAUMART", "T_RAUM", "T_BELEGUNG"})
                    QSqlQuery(portal()).exec(QStringLiteral("DELETE FROM ") + tabelle);
                QVERIFY(veroeffentliche(p).vollstaendig);
            } else if (zahl(4) == 0) {
                const NetzpultPublish::Ergebnis e = veroeffentliche(p);
                QVERIFY2(e.ok() && !e.vollstaendig, qPrintable(e.meldung));
            }
        }
        QVERIFY(veroeffentliche(p).ok());
        const QStringList stueckweise = abbild();
        QVERIFY(veroeffentliche(p, true).ok());
        QCOMPARE(stueckweise, abbild());
        QVERIFY(stueckweise.filter(QStringLiteral("|R|")).size() > 10);
    }

    // A server that stops answering, before or during a publication, and a user who cancels: the
    // publication ends with a German message, and the portal keeps what it showed.
    void silentServer_data() {
        QTest::addColumn<int>("anhalten"); // 0 = never, the user cancels; 1 = before; 2 = midway
        QTest::addColumn<QString>("meldung");
        QTest::newRow("cancelled") << 0 << "Die Aktualisierung des Netzpults wurde abgebrochen.";
        const QString still = QStringLiteral("Das Netzpult hat nicht innerhalb von 2 Sekunden "
                                             "geantwortet");
        QTest::newRow("frozen before") << 1 << still;
        QTest::newRow("frozen midway") << 2 << still;
    }
    void silentServer() {
        QFETCH(int, anhalten);
        QFETCH(QString, meldung);
        TestProjekt p;
        konfiguriere(p);
        CTovoTools::Instance().WriteIniValue(gstProjektDir + kIniFileName, QStringLiteral("WebMDB"),
                                             QStringLiteral("Timeout"), QStringLiteral("2"));
        VieleBelegungen(p, 5000, QStringLiteral("alt"));
        QVERIFY(veroeffentliche(p).ok());
        const QStringList vorher = abbild();
        p.wert(QStringLiteral("UPDATE T_fm_belegung SET Verst = 'neu'"));

        const pid_t server = pid_t(m_server->pid());
        const auto fortsetzen = qScopeGuard([server] { ::kill(server, SIGCONT); });
        QString text;
        if (anhalten == 1) {
            ::kill(server, SIGSTOP);
            QVERIFY(!Netzpult::UpdateNetzpult(nullptr));
            QCOMPARE(p.prompt.shown.size(), 1);
            QCOMPARE(p.prompt.last().icon, PromptIcon::Critical);
            text = p.prompt.last().text;
            QVERIFY(text.endsWith(QStringLiteral("\nTovoRaumverwCtrl.UpdateSQLNetzpult")));
        } else {
            text = NetzpultPublish::Veroeffentliche({p.ort(), m_server->ConnText(), 2, true},
                                                    [&](qint64, qint64) {
                                                        if (anhalten == 2)
                                                            ::kill(server, SIGSTOP);
                                                        return anhalten != 0;
                                                    })
                       .meldung;
        }
        QVERIFY2(text.startsWith(meldung), qPrintable(text));
        ::kill(server, SIGCONT);
        QCOMPARE(abbild(), vorher);
    }

    // A publication elsewhere renumbers the requests while the list is open: deleting a line
    // still removes the request it shows, not the one that now carries its number.
    void deleteAfterRenumbering() {
        TestProjekt p;
        konfiguriere(p);
        antrag(QStringLiteral("B"), 0, 0, QStringLiteral("A"));
        antrag(QStringLiteral("B"), 0, 0, QStringLiteral("B"));
        frmNetzpult form;
        form.pbAkt_Click();
        QCOMPARE(form.lvOrders->topLevelItemCount(), 2);

        QSqlQuery(portal()).exec(QStringLiteral("DELETE FROM T_BELEGUNG WHERE STNAME='A'"));
        antrag(QStringLiteral("B"), 0, 0, QStringLiteral("C"));
        QVERIFY(NetzpultPublish::NummeriereAntraege(portal(), false, nullptr));

        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(1));
        form.pbDelete_Click();
        QCOMPARE(imPortal("SELECT STNAME, LWUNSCHID FROM T_BELEGUNG"), QStringList{"C|2"});
        QCOMPARE(form.lvOrders->topLevelItemCount(), 1);
        QCOMPARE(form.lvOrders->topLevelItem(0)->text(7), QStringLiteral("A"));
    }

    // A request taken over: a new one is booked in its wished room, or, when that is taken, in
    // the room the user then picks; a change one changes the booking it names, unless the room it
    // asks for is taken then, which is said before anything else.
    void takeOver_data() {
        QTest::addColumn<bool>("aenderung");
        QTest::addColumn<bool>("belegt");
        QTest::newRow("new, wished room free") << false << false;
        QTest::newRow("new, wished room taken") << false << true;
        QTest::newRow("change") << true << false;
        QTest::newRow("change, wished room taken") << true << true;
    }
    void takeOver() {
        QFETCH(bool, aenderung);
        QFETCH(bool, belegt);
        TestProjekt p;
        const auto [wunsch, anderer] = zweiSaele(p);
        const int32_t id = aenderung ? p.buche(wunsch, Tag(1, 10), Tag(1, 11)) : 0;
        if (belegt)
            p.buche(aenderung ? anderer : wunsch, Tag(1, 10), Tag(1, 11));
        antrag(aenderung ? "K" : "B", aenderung && belegt ? anderer : wunsch, id, "Neumann");
        QVERIFY(Netzpult::UpdateNetzpult(nullptr));

        QString titel, wunschraum, bericht;
        bool ohneRaum = false;
        int32_t gezeigt = 0;
        ScriptedModal modal;
        modal.immer([&](frmTextAnzeige& anzeige) { bericht = anzeige.edText->toPlainText(); })
            .immer([&](frmAntrag& form) {
                titel = form.windowTitle();
                wunschraum = form.edWunschraum->text();
                gezeigt = form.f_RecBelegung ? form.f_RecBelegung->Rec_ID : -1;
                if (aenderung)
                    return;
                // A taken wished room leaves no room chosen: saving asks for one.
                ohneRaum = form.coFreeRooms->currentIndex() < 0 && form.RaumTag().isEmpty();
                form.pbSave_Click();
                if (ohneRaum)
                    MitRaumSpeichern(form);
            });
        frmNetzpult form;
        form.pbAkt_Click();
        QTreeWidgetItem* zeile = form.lvOrders->topLevelItem(0);
        QCOMPARE(form.lvOrders->topLevelItemCount(), 1);
        if (aenderung)
            QCOMPARE(zeile->text(0), QStringLiteral("Änd."));
        else
            QCOMPARE(zeile->data(0, Qt::UserRole).toString(),
                     QStringLiteral("$/1/%1/0").arg(wunsch));
        form.lvOrders->setCurrentItem(zeile);
        form.pbWork_Click();
        if (aenderung) {
            QCOMPARE(p.texte().value(0).startsWith("Der im Antrag angegebene Raum"), belegt);
            QCOMPARE(p.lies(id).Best, QString(belegt ? "Berg, Karl" : "Neumann"));
            if (belegt)
                return;
        } else {
            QCOMPARE(titel, QStringLiteral("Externer Antrag vom Netzpult"));
            QCOMPARE(wunschraum, QStringLiteral("Saal 1"));
            QCOMPARE(ohneRaum, belegt);
            for (const char* text :
                 {"Der im Antrag angegebene Raum 'Saal 1' ist belegt.\nBitte "
                  "wählen Sie einen anderen Raum.",
                  "Wählen Sie über den Button 'Verfügbare Räume' einen Raum aus!"})
                QCOMPARE(p.texte().contains(QString::fromUtf8(text)), belegt);
        }
        // The request is gone from the portal and from the list.
        QCOMPARE(form.lvOrders->topLevelItemCount(), 0);
        QCOMPARE(imPortal("SELECT COUNT(*) FROM T_BELEGUNG WHERE BRESERVIERT=0"), QStringList{"0"});
        QVERIFY(gbUpdatePending);
        const QVariant neu = p.wert("SELECT Rec_ID FROM T_fm_belegung WHERE Best = 'Neumann'");
        QVERIFY2(neu.isValid(), qPrintable(p.texte().join('\n')));
        const CBelegungRec b = p.lies(neu.toInt());
        QCOMPARE(QStringList({b.Inst, b.Pers}), QStringList({"Bauamt", "20"}));
        QCOMPARE(b.Aust, 1 + 2048);
        QCOMPARE(b.IPTISCHE, int16_t(6));
        if (!aenderung) {
            QCOMPARE(b.rb_id, belegt ? anderer : wunsch);
            QCOMPARE(b.dt_bis, Tag(2)); // 24:00 is midnight of the next day
            QCOMPARE(b.Tel, QStringLiteral("123"));
            return;
        }
        QCOMPARE(gezeigt, id);
        QCOMPARE(b.tm_von, Uhr(10)); // times stay as booked
        QVERIFY(bericht.contains("Alt:\nAusstattung: \nAnsprechpartner: Berg, Karl"));
        QVERIFY(bericht.contains("Neu:\nAusstattung: Whiteboard, Smartboard\nAnsprechpartner: "
                                 "Neumann"));
        QFile datei(gstProjektDir + QStringLiteral("Reservierungsaenderung.txt"));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(datei.readAll()), bericht);
    }

    // Two workstations take over the same 30 requests at once: each is booked exactly once, but
    // the one a third workstation holds, which both are told about.
    void takeOverTwoWorkstations() {
        TestProjekt p;
        konfiguriere(p);
        const int32_t art = p.raumart(QStringLiteral("Saal"));
        for (int r = 1; r <= 3; ++r)
            p.raum(QStringLiteral("Saal %1").arg(r), art);
        const int anzahl = 30;
        for (int i = 0; i < anzahl; ++i)
            antrag(QStringLiteral("B"), 0, 0, QStringLiteral("Antrag %1").arg(i),
                   QDate(2026, 3, 17).addDays(i).toString(Qt::ISODate), QStringLiteral("9"),
                   QStringLiteral("10"));
        QVector<NetzpultAntrag> antraege;
        QVERIFY(NetzpultAntraege::Read(portal(), antraege, nullptr));
        CAntragsSperre gehalten;
        QVERIFY(gehalten.Beanspruchen(antraege[7]));
        QProcess kinder[2];
        for (QProcess& kind : kinder)
            kind.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--kind-uebernehmen"), p.dir.path()});
        for (QProcess& kind : kinder) {
            QVERIFY(kind.waitForFinished(300000) && kind.exitCode() == 0);
            QVERIFY(kind.readAllStandardOutput().contains(
                "Der Antrag wird gerade an einem anderen Arbeitsplatz übernommen."));
        }
        QCOMPARE(p.wert(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung")).toInt(), anzahl - 1);
        QCOMPARE(p.wert(QStringLiteral("SELECT COUNT(DISTINCT Best) FROM T_fm_belegung")).toInt(),
                 anzahl - 1);
        QCOMPARE(imPortal("SELECT STNAME FROM T_BELEGUNG"), QStringList{antraege[7].name});
    }
};

// The child of the kill test: publishes everything and reports every block written.
static int KindPublizieren(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    DatenbankOrt ort; // the project folder says where its database lives
    if (!ReadDatenbankOrt(QString::fromLocal8Bit(argv[3]) + QLatin1Char('/'), ort, nullptr))
        return 1;
    const NetzpultPublish::Ergebnis e = NetzpultPublish::Veroeffentliche(
        {ort, QString::fromLocal8Bit(argv[2]), 30, true}, [](qint64, qint64) {
            std::cout << "block" << std::endl;
            std::string weiter;
            std::getline(std::cin, weiter);
            return true;
        });
    std::cerr << qPrintable(e.meldung) << std::endl;
    return e.ok() ? 0 : 1;
}

// A workstation of the take-over test: takes over every request of the project given.
static int KindUebernehmen(int argc, char** argv) {
    QApplication app(argc, argv);
    gstProjektDir = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    gstDbPath = gstProjektDir + kDbFileName;
    if (!ReadDatenbankOrt(gstProjektDir, gDbOrt, nullptr))
        return 1;
    CRvDb db;
    db.SetDatenbankOrt(gDbOrt);
    db.SetOpenReadOnly(false);
    gRvDb = &db;
    gDb = QStringLiteral("gDb");
    if (!db.OpenDb() || !OeffneDatenbank(gDbOrt, gDb, false, nullptr))
        return 1;
    ScriptedPrompt prompt;
    prompt.antwort = Antwort;
    ScriptedModal modal;
    modal.immer([](frmAntrag& form) { MitRaumSpeichern(form); });
    frmNetzpult form;
    form.pbAkt_Click();
    // A line taken over here is deleted and leaves the list; the others stay.
    for (int i = 0; i < form.lvOrders->topLevelItemCount();) {
        const int vorher = form.lvOrders->topLevelItemCount();
        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(i));
        form.pbWork_Click();
        if (form.lvOrders->topLevelItemCount() == vorher)
            ++i;
    }
    std::cout << prompt.texte().join('\n').toStdString() << std::endl; // for the parent to read
    CloseSqliteConnection(gDb);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && qstrcmp(argv[1], "--kind-publizieren") == 0)
        return KindPublizieren(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--kind-uebernehmen") == 0)
        return KindUebernehmen(argc, argv);
    QApplication app(argc, argv);
    TstNetzpultServer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_netzpult_server.moc"

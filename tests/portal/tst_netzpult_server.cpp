// The portal exchange against a real MariaDB server started for this executable.
#include "AntragsSperre.h"
#include "MariaDbServer.h"
#include "NetzpultAntraege.h"
#include "NetzpultPublish.h"
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
#include <QSqlRecord>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <iostream>
#include <string>
#include <thread>

namespace {

const QString kPortal = QStringLiteral("netzpult");

// Answers Yes/Ok to everything but the offer to send the confirmation mail.
class AntwortPrompt : public IPrompt {
public:
    AntwortPrompt() { SetPrompt(this); }
    ~AntwortPrompt() override { SetPrompt(nullptr); }
    PromptResult show(const PromptMessage& m) override {
        texte << m.text;
        if (m.text.startsWith(QLatin1String("Soll die e-mail")))
            return PromptResult::No;
        if (m.buttons == PromptButtons::RetryCancel)
            return PromptResult::Retry;
        return m.buttons == PromptButtons::YesNo || m.buttons == PromptButtons::YesNoCancel
                   ? PromptResult::Yes
                   : PromptResult::Ok;
    }
    void beep() override {}
    QStringList texte;
};

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

// `anzahl` bookings of one room with the event text `verst`, written in one transaction.
void VieleBelegungen(int32_t raum, int anzahl, const QString& verst) {
    QSqlDatabase db = QSqlDatabase::database(gDb);
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, dt_bis, "
                             "tm_bis, Best, Verst) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < anzahl; ++i) {
        const QVariantList werte = {1000 + i,
                                    raum,
                                    Tag(i % 700),
                                    Uhr(8),
                                    Tag(i % 700),
                                    Uhr(9),
                                    QStringLiteral("Besteller %1").arg(i),
                                    verst};
        for (int k = 0; k < werte.size(); ++k)
            q.bindValue(k, werte[k]);
        q.exec();
    }
    db.commit();
}

// The values of one statement's rows, each row joined by "|".
QStringList Zeilen(QSqlDatabase db, const QString& sql) {
    QStringList out;
    QSqlQuery q(db);
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

} // namespace

class TstNetzpultServer : public QObject {
    Q_OBJECT
    std::unique_ptr<MariaDbServer> m_server;
    QString m_conn;

    QSqlDatabase portal() { return QSqlDatabase::database(m_conn); }

    // Points the project at the test portal.
    void konfiguriere(TestProjekt& p) {
        gstProjektDir = p.dir.path() + QLatin1Char('/');
        gstDbPath = p.path;
        const QString ini = gstProjektDir + kIniFileName;
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("DBPATH"), m_server->ConnText());
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("NetzpultType"), QStringLiteral("1"));
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
    void cleanup() {
        QSqlDatabase::removeDatabase(m_conn);
        frmNetzpult::ZeigeModal = [](QDialog& d) { return d.exec(); };
    }
    void cleanupTestCase() { m_server.reset(); }

    // The control publishes on its command, once per save on its timer, and when it goes.
    void controlTriggers() {
        QTemporaryDir dir;
        ScriptedPrompt prompt;
        const QString ini = dir.path() + QLatin1Char('/') + kIniFileName;
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("DBPATH"), m_server->ConnText());
        CTovoTools::Instance().WriteIniValue(ini, QStringLiteral("WebMDB"),
                                             QStringLiteral("NetzpultType"), QStringLiteral("1"));
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
            QCOMPARE(Zeilen(portal(), typen), QStringList{QStringLiteral("Eins")});
            QCOMPARE(prompt.shown.size(), 0);

            art.stRaumArt = QStringLiteral("Zwei");
            QVERIFY(gRvDb->EditRaumartRec(&art));
            gbUpdatePending = true;
            ctrl.UpdateTimer_Timer();
            ctrl.UpdateTimer_Timer();
            QCOMPARE(prompt.texte(), QStringList{aktualisiert});
            QVERIFY(!gbUpdatePending);
            QCOMPARE(Zeilen(portal(), typen), QStringList{QStringLiteral("Zwei")});

            art.stRaumArt = QStringLiteral("Drei");
            QVERIFY(gRvDb->EditRaumartRec(&art));
            ctrl.CloseDb();
        }
        QCOMPARE(prompt.texte(), QStringList({aktualisiert, aktualisiert}));
        QCOMPARE(Zeilen(portal(), typen), QStringList{QStringLiteral("Drei")});
    }

    void publishRoundTrip() {
        TestProjekt p;
        konfiguriere(p);
        const int32_t art = p.raumart(QStringLiteral("Saal"));
        CAnzeigeRec r;
        r.Kurzbez = QStringLiteral("Großer Saal");
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
        b.Tel = QStringLiteral("0711 1");
        b.Inst = QStringLiteral("Bauamt");
        b.KST = QStringLiteral("4711");
        b.STEMAIL = QStringLiteral("berg@example.org");
        b.Aust = 2049;
        b.Austbem = QStringLiteral("Beamer früh");
        b.STSTUHLANORDNUNG = QStringLiteral("U");
        b.Pers = QStringLiteral("ca. 20");
        b.Bem = QStringLiteral("Kaffee");
        b.IPTISCHE = 6;
        b.datBestellung = TovoDate::fromParts(2024, 6, 1).value();
        const int32_t id = p.buche(b)->Rec_ID;
        p.archiviere(p.buche(raum, Tag(0, 8), Tag(0, 9)));

        QVERIFY(Netzpult::UpdateNetzpult(nullptr));
        QCOMPARE(p.texte(), QStringList());
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT * FROM T_RAUMART")),
                 QStringList{QStringLiteral("%1|Saal").arg(art)});
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT * FROM T_RAUM")),
                 QStringList{QStringLiteral("%1|%2|1.01|Großer Saal|30|KU|WPB|2|4|6|8|10|2")
                                 .arg(raum)
                                 .arg(art)});
        QCOMPARE(Zeilen(portal(),
                        QStringLiteral("SELECT LBELEGID, DTDATUMVON, STZEITVON, DTDATUMBIS, "
                                       "STZEITBIS, STDATUMERST, STDATUMKORR, LRAUMID, "
                                       "BRESERVIERT, STNAME, STTEL, STFIRMA, STKOSTENSTELLE, "
                                       "STEMAIL, STAUSSTATTUNG, STSONSTIGES, STSTUHLANORDNUNG, "
                                       "IANZAHLPERSONEN, STBEMERKUNG, STNUTZUNG, STPTISCHE, "
                                       "STSTATUS, LWUNSCHID FROM T_BELEGUNG")),
                 QStringList{QStringLiteral("%1|2024-06-07|08:30|2024-06-08|17:05|01.06.2024||%2|"
                                            "1|Berg, Karl|0711 1|Bauamt|4711|berg@example.org|BW|"
                                            "Beamer früh|U|0|Kaffee|Sitzung|6|R|0")
                                 .arg(id)
                                 .arg(raum)});
    }

    void boeseTexte_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("injection") << "O'Brien; DROP TABLE T_RAUM";
        QTest::newRow("quotes") << "\"zitiert\" und 'einfach' und ``";
        QTest::newRow("backslash") << "C:\\Pfad\\n\\' ende\\";
        QTest::newRow("umlauts") << "Größe Übung äöüß €";
        QTest::newRow("emoji") << "Feier 🎉👩‍💻 ✓";
    }
    void boeseTexte() {
        QFETCH(QString, text);
        TestProjekt p;
        const int32_t art = p.raumart(text);
        const int32_t raum = p.raum(text, art);
        CBelegungRec b = TestProjekt::satz(raum, Tag(0, 8), Tag(0, 9));
        b.Inst = b.Best = b.Bem = b.Verst = b.Austbem = text;
        p.buche(b);
        NetzpultPublish::Daten daten;
        QString error;
        QVERIFY2(NetzpultPublish::LeseDaten(p.path, daten, &error), qPrintable(error));
        QVERIFY2(NetzpultPublish::Veroeffentliche(portal(), daten, {}, &error), qPrintable(error));
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STRAUMART FROM T_RAUMART")),
                 QStringList{text});
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STRAUMNAME FROM T_RAUM")),
                 QStringList{text});
        const QString fuenf = QStringList(5, text).join(QLatin1Char('|'));
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STNAME, STFIRMA, STBEMERKUNG, "
                                                 "STNUTZUNG, STSONSTIGES FROM T_BELEGUNG")),
                 QStringList{fuenf});
    }

    void renumbering() {
        TestProjekt p;
        konfiguriere(p);
        const int32_t raum = p.raum(QStringLiteral("A"), p.raumart(QStringLiteral("T")));
        for (int i = 0; i < 5; ++i)
            p.buche(raum, Tag(i, 8), Tag(i, 9));
        for (int i = 0; i < 3; ++i)
            antrag(QStringLiteral("B"), raum, 0, QStringLiteral("Antrag %1").arg(i));
        QSqlQuery(portal()).exec(QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = 5 + ID * 3"));
        QVERIFY(Netzpult::UpdateNetzpult(nullptr));
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STNAME, LWUNSCHID FROM T_BELEGUNG "
                                                 "WHERE BRESERVIERT=0")),
                 QStringList({"Antrag 0|1", "Antrag 1|2", "Antrag 2|3"}));
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT COUNT(*), MAX(LWUNSCHID) FROM "
                                                 "T_BELEGUNG WHERE BRESERVIERT=1")),
                 QStringList{QStringLiteral("5|0")});
    }

    void lostConnection() {
        TestProjekt p;
        konfiguriere(p);
        CTovoTools::Instance().WriteIniValue(gstProjektDir + kIniFileName, QStringLiteral("WebMDB"),
                                             QStringLiteral("DBPATH"),
                                             QStringLiteral("Server=127.0.0.1;Port=1;"));
        QVERIFY(!Netzpult::UpdateNetzpult(nullptr));
        QCOMPARE(p.prompt.shown.size(), 1);
        QVERIFY(
            p.prompt.last().text.endsWith(QStringLiteral("\nTovoRaumverwCtrl.UpdateSQLNetzpult")));
        QCOMPARE(p.prompt.last().icon, PromptIcon::Critical);
    }

    // A publish killed anywhere leaves the previous publication whole.
    void killDuringPublish() {
        TestProjekt p;
        const int32_t raum = p.raum(QStringLiteral("A"), p.raumart(QStringLiteral("T")));
        const int anzahl = 20000;
        VieleBelegungen(raum, anzahl, QStringLiteral("alt"));
        NetzpultPublish::Daten daten;
        QString error;
        QVERIFY(NetzpultPublish::LeseDaten(p.path, daten, &error));
        QVERIFY2(NetzpultPublish::Veroeffentliche(portal(), daten, {}, &error), qPrintable(error));
        p.wert(QStringLiteral("UPDATE T_fm_belegung SET Verst = 'neu'"));

        const QString stand = QStringLiteral("SELECT STNUTZUNG, COUNT(*) FROM T_BELEGUNG WHERE "
                                             "BRESERVIERT=1 GROUP BY STNUTZUNG");
        for (int bloecke : {1, 12, 48}) {
            QProcess kind;
            kind.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--kind-publizieren"), m_server->ConnText(), p.path});
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
            QCOMPARE(Zeilen(portal(), stand), QStringList{QStringLiteral("alt|%1").arg(anzahl)});
            QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT COUNT(*) FROM T_RAUM")),
                     QStringList{QStringLiteral("1")});
        }
        NetzpultPublish::Daten neu;
        QVERIFY(NetzpultPublish::LeseDaten(p.path, neu, &error));
        QVERIFY2(NetzpultPublish::Veroeffentliche(portal(), neu, {}, &error), qPrintable(error));
        QCOMPARE(Zeilen(portal(), stand), QStringList{QStringLiteral("neu|%1").arg(anzahl)});
    }

    // Requests the portal writes during a publication are all kept and numbered afterwards.
    void requestsDuringPublish() {
        TestProjekt p;
        const int32_t raum = p.raum(QStringLiteral("A"), p.raumart(QStringLiteral("T")));
        VieleBelegungen(raum, 20000, QStringLiteral("x"));
        NetzpultPublish::Daten daten;
        QString error;
        QVERIFY(NetzpultPublish::LeseDaten(p.path, daten, &error));

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
        const bool ok = NetzpultPublish::Veroeffentliche(portal(), daten, {}, &error);
        fertig = true;
        portalNutzer.join();
        QVERIFY2(ok, qPrintable(error));

        QVERIFY(NetzpultPublish::NummeriereAntraege(portal(), false, &error));
        QStringList erwartet;
        for (int i = 1; i <= geschrieben; ++i)
            erwartet << QString::number(i);
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT LWUNSCHID FROM T_BELEGUNG WHERE "
                                                 "BRESERVIERT=0 ORDER BY LWUNSCHID")),
                 erwartet);
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT COUNT(*) FROM T_BELEGUNG WHERE "
                                                 "BRESERVIERT=1")),
                 QStringList{QStringLiteral("20000")});
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
        QString error;
        QVERIFY(NetzpultPublish::NummeriereAntraege(portal(), false, &error));

        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(1));
        form.pbDelete_Click();
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STNAME, LWUNSCHID FROM T_BELEGUNG")),
                 QStringList{QStringLiteral("C|2")});
        QCOMPARE(form.lvOrders->topLevelItemCount(), 1);
        QCOMPARE(form.lvOrders->topLevelItem(0)->text(7), QStringLiteral("A"));
    }

    void takeOverNewRequest_data() {
        QTest::addColumn<bool>("belegt");
        QTest::newRow("wished room free") << false;
        QTest::newRow("wished room taken") << true;
    }
    void takeOverNewRequest() {
        QFETCH(bool, belegt);
        TestProjekt p;
        konfiguriere(p);
        AntwortPrompt prompt;
        const int32_t art = p.raumart(QStringLiteral("Saal"));
        const int32_t wunsch = p.raum(QStringLiteral("Saal 1"), art);
        const int32_t anderer = p.raum(QStringLiteral("Saal 2"), art);
        if (belegt)
            p.buche(wunsch, Tag(1, 10), Tag(1, 11));
        antrag(QStringLiteral("B"), wunsch, 0, QStringLiteral("Neumann"));
        QVERIFY(Netzpult::UpdateNetzpult(nullptr));

        QString titel, wunschraum;
        bool ohneRaum = false;
        frmNetzpult::ZeigeModal = [&](QDialog& d) {
            if (auto* form = qobject_cast<frmAntrag*>(&d)) {
                titel = form->windowTitle();
                wunschraum = form->edWunschraum->text();
                // A taken wished room leaves no room chosen: saving asks for one.
                ohneRaum = form->coFreeRooms->currentIndex() < 0 && form->RaumTag().isEmpty();
                form->pbSave_Click();
                if (ohneRaum)
                    MitRaumSpeichern(*form);
            }
            return 0;
        };
        frmNetzpult form;
        form.pbAkt_Click();
        QCOMPARE(form.lvOrders->topLevelItemCount(), 1);
        QCOMPARE(form.lvOrders->topLevelItem(0)->data(0, Qt::UserRole).toString(),
                 QStringLiteral("$/1/%1/0").arg(wunsch));
        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(0));
        form.pbWork_Click();

        QCOMPARE(titel, QStringLiteral("Externer Antrag vom Netzpult"));
        QCOMPARE(ohneRaum, belegt);
        QCOMPARE(prompt.texte.contains(QStringLiteral("Wählen Sie über den Button 'Verfügbare "
                                                      "Räume' einen Raum aus!")),
                 belegt);
        QCOMPARE(wunschraum, QStringLiteral("Saal 1"));
        QCOMPARE(prompt.texte.contains(QStringLiteral("Der im Antrag angegebene Raum 'Saal 1' ist "
                                                      "belegt.\nBitte wählen Sie einen anderen "
                                                      "Raum.")),
                 belegt);
        const QVariant id = p.wert(QStringLiteral("SELECT Rec_ID FROM T_fm_belegung WHERE "
                                                  "Best = 'Neumann'"));
        QVERIFY2(id.isValid(), qPrintable(prompt.texte.join(QLatin1Char('\n'))));
        const CBelegungRec b = p.lies(id.toInt());
        QCOMPARE(b.rb_id, belegt ? anderer : wunsch);
        QCOMPARE(b.dt_von, Tag(1));
        QCOMPARE(b.tm_von, Uhr(9));
        QCOMPARE(b.dt_bis, Tag(2)); // 24:00 is midnight of the next day
        QCOMPARE(b.tm_bis, 0.0);
        QCOMPARE(QStringList({b.Inst, b.Tel, b.STEMAIL, b.Pers, b.Verst}),
                 QStringList({"Bauamt", "123", "a@b.de", "20", "Klausur"}));
        QCOMPARE(b.IPTISCHE, int16_t(6));
        QCOMPARE(b.datErstBestellung, TovoDate::fromParts(2026, 3, 1).value());
        QCOMPARE(b.Aust, 1 + 2048);
        QVERIFY(gbUpdatePending);
        // The request is gone from the portal and from the list.
        QCOMPARE(form.lvOrders->topLevelItemCount(), 0);
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT COUNT(*) FROM T_BELEGUNG WHERE "
                                                 "BRESERVIERT=0")),
                 QStringList{QStringLiteral("0")});
    }

    // Two workstations take over the same 30 requests (no wished room, so the form offers the
    // first free room) at the same time: every request is booked exactly once, but the one a
    // third workstation holds, which both are told about.
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
        QVERIFY(NetzpultAntraege::Lese(portal(), antraege, nullptr));
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
        QCOMPARE(Zeilen(portal(), QStringLiteral("SELECT STNAME FROM T_BELEGUNG")),
                 QStringList{antraege[7].name});
    }

    // One mapping for both kinds of request; a taken room of a change is said before any
    // question, 0 tables asked for is no warning.
    void takeOverMapping_data() {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("ausstattung");
        QTest::addColumn<QString>("tische");
        QTest::addColumn<bool>("belegt");
        QTest::addColumn<int>("aust");
        QTest::newRow("new, WP, 0 tables") << "B"
                                           << "WP"
                                           << "0" << false << 1 + 2;
        QTest::newRow("new, none") << "B"
                                   << ""
                                   << "6" << false << 0;
        QTest::newRow("change, BW and a stray letter") << "K"
                                                       << "BWx"
                                                       << "0" << false << 2049;
        QTest::newRow("change, wished room taken") << "K"
                                                   << "WP"
                                                   << "6" << true << 0;
    }
    void takeOverMapping() {
        QFETCH(QString, status);
        QFETCH(bool, belegt);
        TestProjekt p;
        konfiguriere(p);
        AntwortPrompt prompt;
        CAnzeigeRec r;
        r.lRaumartId = p.raumart(QStringLiteral("Saal"));
        r.IPTISCHEFEST = 4;
        r.IPTISCHE = 10;
        r.Kurzbez = QStringLiteral("Saal 1");
        const int32_t raum = p.raum(r);
        r.Kurzbez = QStringLiteral("Saal 2");
        const int32_t anderer = p.raum(r);
        const int32_t id = status == "K" ? p.buche(raum, Tag(1, 10), Tag(1, 11)) : 0;
        if (belegt)
            p.buche(anderer, Tag(1, 10), Tag(1, 11));
        antrag(status, belegt ? anderer : raum, id, QStringLiteral("Neumann"));
        QSqlQuery q(portal());
        QVERIFY(
            q.prepare(QStringLiteral("UPDATE T_BELEGUNG SET STAUSSTATTUNG = ?, STPTISCHE = ?")));
        QFETCH(QString, ausstattung);
        QFETCH(QString, tische);
        q.addBindValue(ausstattung);
        q.addBindValue(tische);
        QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
        QVERIFY(Netzpult::UpdateNetzpult(nullptr));
        frmNetzpult::ZeigeModal = [](QDialog& d) {
            if (auto* form = qobject_cast<frmAntrag*>(&d); form && !form->f_bUpdate)
                form->pbSave_Click();
            return 0;
        };
        frmNetzpult form;
        form.pbAkt_Click();
        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(0));
        form.pbWork_Click();

        QTEST(
            p.wert(QStringLiteral("SELECT Aust FROM T_fm_belegung WHERE Best = 'Neumann'")).toInt(),
            "aust");
        QCOMPARE(prompt.texte.first().startsWith(QLatin1String("Der im Antrag angegebene Raum")),
                 belegt);
        QVERIFY(prompt.texte.filter(QStringLiteral("außerhalb")).isEmpty());
    }

    void takeOverChange() {
        TestProjekt p;
        konfiguriere(p);
        AntwortPrompt prompt;
        const int32_t art = p.raumart(QStringLiteral("Saal"));
        const int32_t raum = p.raum(QStringLiteral("Saal 1"), art);
        const int32_t id = p.buche(raum, Tag(1, 10), Tag(1, 11));
        antrag(QStringLiteral("K"), raum, id, QStringLiteral("Neumann"));
        QVERIFY(Netzpult::UpdateNetzpult(nullptr));

        QString bericht;
        int32_t gezeigt = 0;
        frmNetzpult::ZeigeModal = [&](QDialog& d) {
            if (auto* anzeige = qobject_cast<frmTextAnzeige*>(&d))
                bericht = anzeige->edText->toPlainText();
            if (auto* form = qobject_cast<frmAntrag*>(&d))
                gezeigt = form->f_RecBelegung ? form->f_RecBelegung->Rec_ID : -1;
            return 0;
        };
        frmNetzpult form;
        form.pbAkt_Click();
        form.lvOrders->setCurrentItem(form.lvOrders->topLevelItem(0));
        QCOMPARE(form.lvOrders->topLevelItem(0)->text(0), QStringLiteral("Änd."));
        form.pbWork_Click();

        QVERIFY(
            bericht.contains(QStringLiteral("Alt:\nAusstattung: \nAnsprechpartner: Berg, Karl")));
        QVERIFY(bericht.contains(QStringLiteral("Neu:\nAusstattung: Whiteboard, Smartboard\n"
                                                "Ansprechpartner: Neumann")));
        QFile datei(gstProjektDir + QStringLiteral("Reservierungsaenderung.txt"));
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(datei.readAll()), bericht);
        QCOMPARE(gezeigt, id);
        const CBelegungRec b = p.lies(id);
        QCOMPARE(QStringList({b.Best, b.Inst, b.Pers}), QStringList({"Neumann", "Bauamt", "20"}));
        QCOMPARE(b.Aust, 1 + 2048);
        QCOMPARE(b.IPTISCHE, int16_t(6));
        QCOMPARE(b.tm_von, Uhr(10)); // times stay as booked
        QCOMPARE(form.lvOrders->topLevelItemCount(), 0);
    }
};

// The child of the kill test: publishes and reports every block written.
static int KindPublizieren(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    CNetzpultVerbindung verbindung;
    NetzpultPublish::Daten daten;
    QString error;
    if (!verbindung.Oeffnen(QString::fromLocal8Bit(argv[2]), &error) ||
        !NetzpultPublish::LeseDaten(QString::fromLocal8Bit(argv[3]), daten, &error)) {
        std::cerr << qPrintable(error) << std::endl;
        return 1;
    }
    NetzpultPublish::Veroeffentliche(
        verbindung.db(), daten,
        [](qint64, qint64) {
            std::cout << "block" << std::endl;
            std::string weiter;
            std::getline(std::cin, weiter);
        },
        &error);
    return 0;
}

// A workstation of the take-over test: opens the project in the folder given, as configured for
// the portal, and takes over every request of its list.
static int KindUebernehmen(int argc, char** argv) {
    QApplication app(argc, argv);
    gstProjektDir = QString::fromLocal8Bit(argv[2]) + QLatin1Char('/');
    gstDbPath = gstProjektDir + kDbFileName;
    CRvDb db;
    db.SetDbPath(gstDbPath);
    db.SetOpenReadOnly(false);
    gRvDb = &db;
    gDb = QStringLiteral("gDb");
    if (!db.OpenDb() || !OpenSqliteConnection(gstDbPath, gDb, false, nullptr))
        return 1;
    AntwortPrompt prompt;
    frmNetzpult::ZeigeModal = [](QDialog& d) {
        if (auto* form = qobject_cast<frmAntrag*>(&d))
            MitRaumSpeichern(*form);
        return 0;
    };
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
    for (const QString& text : std::as_const(prompt.texte))
        if (text.startsWith(QLatin1String("Der Antrag wird gerade")))
            std::cout << text.toUtf8().constData() << std::endl;
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

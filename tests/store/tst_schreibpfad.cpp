// The write path when another workstation holds the database, when part of a change cannot be
// written, and when the server goes away: nothing is half written, and the user may try again.
#include "Dialekt.h"
#include "SchreibPfad.h"
#include "TestProjekt.h"

#include <QtTest>

class TstSchreibPfad : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    int32_t raum = 0;
    QString kurz; // a connection that waits only briefly for a lock (20 ms)

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>();
        raum = p->raum(QStringLiteral("A"), p->raumart(QStringLiteral("T")));
        kurz = UniqueConnectionName(QStringLiteral("kurz"));
        if (TestAufServer()) {
            QVERIFY(p->ok && OeffneDatenbank({DbTyp::PostgreSQL,
                                              p->ort().ort + " options='-c lock_timeout=20'"},
                                             kurz, false, nullptr));
            return;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kurz);
        db.setDatabaseName(p->path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=20"));
        QVERIFY(p->ok && db.open());
    }
    void cleanup() {
        QSqlDatabase::removeDatabase(kurz);
        p.reset();
    }

    void belegt() {
        // Another workstation writes: on the server, in the room.
        p->wert(Dialekt::Von(QSqlDatabase::database(gDb)).BeginnSchreiben());
        if (TestAufServer())
            p->wert(QStringLiteral("SELECT az_ID FROM T_rb_Anzeige FOR UPDATE"));
        QVector<CBelegungRec> neu{TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 0),
                                  TestProjekt::satz(raum, Tag(1, 9), Tag(1, 10), 0)};
        QCOMPARE(SchreibPfad::NeuerAuftrag(kurz, neu, 0).status, SchreibPfad::Status::Belegt);

        // "Wiederholen" once the other one is done writes everything.
        p->prompt.antwort = [&](const PromptMessage&) {
            p->wert(QStringLiteral("ROLLBACK"));
            return PromptResult::Retry;
        };
        SchreibPfad::Ergebnis e;
        QVERIFY(SchreibPfad::Ausfuehren(
            [&](std::optional<int32_t> nr) { return SchreibPfad::NeuerAuftrag(kurz, neu, 0, nr); },
            {}, &e));
        QCOMPARE(p->prompt.texte(),
                 QStringList{"Die Datenbank wird gerade von einem anderen Arbeitsplatz "
                             "beschrieben. Bitte versuchen Sie es in einigen Sekunden erneut."});
        QCOMPARE(p->prompt.last().buttons, PromptButtons::RetryCancel);
        QCOMPARE(p->anzahlBelegungen(), 2);
        QVERIFY(neu[0].Rec_ID > 0 && neu[0].lAuftrNr == e.auftrNr && neu[1].lAuftrNr == e.auftrNr);
    }

    // A change of two bookings of which one was deleted meanwhile changes neither.
    void allesOderNichts() {
        QVector<CBelegungRec> zwei{*p->buche(TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 5)),
                                   *p->buche(TestProjekt::satz(raum, Tag(1, 9), Tag(1, 10), 5))};
        p->wert(QStringLiteral("DELETE FROM T_fm_belegung WHERE Rec_ID = ?"), {zwei[1].Rec_ID});
        for (CBelegungRec& b : zwei)
            b.Best = QStringLiteral("Neu");
        const SchreibPfad::Ergebnis e = SchreibPfad::Aendern(kurz, zwei, 0);
        QCOMPARE(e.status, SchreibPfad::Status::Fehler);
        QCOMPARE(p->lies(zwei[0].Rec_ID).Best, QStringLiteral("Berg, Karl"));
    }

    // A server that went away: the save is refused with the German message, nothing is written,
    // and once the server is back the next save opens the connection again.
    void serverWeg() {
        if (!TestAufServer())
            QSKIP("Eine SQLite-Datei hat keinen Server.");
        PostgresServer& server = PostgresServer::Instanz();
        QVector<CBelegungRec> neu{TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 0)};
        QVERIFY(server.Stoppe(QStringLiteral("immediate")));
        QVERIFY(!SchreibPfad::Ausfuehren(
            [&](std::optional<int32_t> nr) { return SchreibPfad::NeuerAuftrag(kurz, neu, 0, nr); },
            {}));
        QVERIFY(server.Starte());
        QCOMPARE(p->prompt.shown.size(), 1);
        QVERIFY(p->prompt.last().text.startsWith(GetrenntMeldung()));
        QCOMPARE(SchreibPfad::NeuerAuftrag(kurz, neu, 0).status, SchreibPfad::Status::Ok);
        QSqlDatabase::database(gDb).close(); // lost as well; opened again by the next statement
        QCOMPARE(p->anzahlBelegungen(), 1);
    }

    // A booking 10-12 with set-up 9:00-9:30 and clear-down 12:30-13:00, and another at 14-15;
    // moved by hours at its start and end.
    void verlegen_data() {
        QTest::addColumn<double>("beginn");
        QTest::addColumn<double>("ende");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("an hour later, set-up and clear-down follow")
            << 1.0 << 1.0 << "11:00-13:00 U 10:00-10:30 R 13:30-14:00";
        QTest::newRow("end stretched, only the clear-down follows")
            << 0.0 << 1.0 << "10:00-13:00 U 09:00-09:30 R 13:30-14:00";
        QTest::newRow("clear-down into the other booking, nothing written")
            << 1.5 << 1.5 << "10:00-12:00 U 09:00-09:30 R 12:30-13:00";
    }
    void verlegen() {
        QFETCH(double, beginn);
        QFETCH(double, ende);
        CBelegungRec b = TestProjekt::satz(raum, Tag(0, 10), Tag(0, 12), 5);
        b.Udt_von = b.Udt_bis = b.Rdt_von = b.Rdt_bis = Tag(0);
        b.Utm_von = Uhr(9);
        b.Utm_bis = Uhr(9, 30);
        b.Rtm_von = Uhr(12, 30);
        b.Rtm_bis = Uhr(13);
        b = *p->buche(b);
        const int32_t andere = p->buche(raum, Tag(0, 14), Tag(0, 15), 6);
        SchreibPfad::Verlegung v = SchreibPfad::LageVon(b);
        v.beginn += beginn / 24;
        v.ende += ende / 24;
        QVector<CBelegungRec> vorher;
        const SchreibPfad::Ergebnis e = SchreibPfad::Verlegen(kurz, {v}, 0, &vorher);
        QFETCH(QString, gespeichert);
        QCOMPARE(e.ok(), !gespeichert.startsWith(QLatin1String("10:00-12")));
        QCOMPARE(e.imWeg.Rec_ID, e.ok() ? 0 : andere);
        QCOMPARE(Felder(vorher.value(0)), Felder(b));
        const CBelegungRec n = p->lies(b.Rec_ID);
        const auto z = [](double t) { return TovoDate(t).format(QStringLiteral("hh:mm")); };
        QCOMPARE(z(n.tm_von) + '-' + z(n.tm_bis) + " U " + z(n.Utm_von) + '-' + z(n.Utm_bis) +
                     " R " + z(n.Rtm_von) + '-' + z(n.Rtm_bis),
                 gespeichert);
        // Back where it was, as an undo moves it.
        QVERIFY(SchreibPfad::Verlegen(kurz, {SchreibPfad::LageVon(b)}, 0).ok());
        QCOMPARE(Felder(p->lies(b.Rec_ID)), Felder(b));
    }
};

QTEST_GUILESS_MAIN(TstSchreibPfad)
#include "tst_schreibpfad.moc"

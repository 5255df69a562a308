// Several workstations on one project database, and a workstation killed while it writes: each
// is a process of its own (schreib_kind) saving through the form's routines. On a server the
// server is also stopped under them as if the machine lost power.
#include "TestProjekt.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QtTest>

class TstMehrplatz : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    QStringList alleRaeume, raeume; // the rooms, those the next workstation books

    std::unique_ptr<QProcess> starte(const QString& art, quint32 seed, int anzahl) {
        auto proc = std::make_unique<QProcess>();
        proc->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc->start(
            QStringLiteral(TOVO_SCHREIB_KIND),
            QStringList{p->dir.path(), art, QString::number(seed), QString::number(anzahl)} +
                raeume);
        return proc;
    }

    int zahl(const QString& sql) { return p->wert(sql).toInt(); }
    // Pairs of bookings not archived in one room whose times overlap.
    int ueberschneidungen() {
        return zahl(QStringLiteral(
            "SELECT count(*) FROM T_fm_belegung a JOIN T_fm_belegung b ON a.rb_id = b.rb_id AND "
            "a.Rec_ID < b.Rec_ID WHERE a.bArchiviert = 0 AND b.bArchiviert = 0 AND a.dt_von + "
            "a.tm_von < b.dt_bis + b.tm_bis AND b.dt_von + b.tm_von < a.dt_bis + a.tm_bis"));
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>();
        const int32_t typ = p->raumart(QStringLiteral("Besprechung"));
        raeume.clear();
        for (const char* name : {"A", "B", "C"})
            alleRaeume << QString::number(p->raum(QLatin1String(name), typ));
        raeume = alleRaeume;
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    // Two workstations booking single dates and one saving series, in the same rooms or each in
    // its own: what they report as saved is stored under numbers of its own, without overlaps.
    void gleichzeitig_data() {
        QTest::addColumn<bool>("eigeneRaeume");
        QTest::newRow("dieselben Räume") << false;
        QTest::newRow("verschiedene Räume") << true;
    }
    void gleichzeitig() {
        QFETCH(bool, eigeneRaeume);
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo() << "seed" << seed;
        std::unique_ptr<QProcess> kinder[3];
        const char* arten[] = {"einzel", "einzel", "serie"};
        for (int i = 0; i < 3; ++i) {
            if (eigeneRaeume)
                raeume = QStringList{alleRaeume[i]};
            kinder[i] = starte(QLatin1String(arten[i]), seed + i, i < 2 ? 300 : 40);
        }
        int gemeldet = 0, summe = 0; // saves reported, bookings in them
        for (auto& kind : kinder) {
            QVERIFY(kind->waitForFinished(120000));
            QCOMPARE(kind->exitStatus(), QProcess::NormalExit);
            QCOMPARE(kind->exitCode(), 0);
            for (const QByteArray& zeile : kind->readAllStandardOutput().split('\n')) {
                const QList<QByteArray> teile = zeile.split(' ');
                if (teile.size() != 3 || teile[0] != "OK")
                    continue;
                ++gemeldet;
                summe += teile[2].toInt();
            }
        }
        QVERIFY(gemeldet > 20);
        // Every booking stored was reported, and each save under a number of its own.
        QCOMPARE(p->anzahlBelegungen(), summe);
        QCOMPARE(zahl(QStringLiteral("SELECT count(DISTINCT lAuftrNr) FROM T_fm_belegung")),
                 gemeldet);
        QCOMPARE(ueberschneidungen(), 0);
    }

    // A workstation killed at random moments while it writes: the database stays sound, every
    // series whole and edited throughout or not at all, the counter above every number used.
    void abgebrochen() {
        QRandomGenerator zufall(QRandomGenerator::global()->generate());
        for (int runde = 0; runde < 20; ++runde) {
            auto kind = starte(QStringLiteral("dauernd"), zufall.generate(), 0);
            const int schritte = 1 + zufall.bounded(9);
            for (int gelesen = 0; gelesen < schritte;) {
                QVERIFY(kind->canReadLine() || kind->waitForReadyRead(10000));
                while (kind->canReadLine() && gelesen < schritte)
                    gelesen += kind->readLine().startsWith('.');
            }
            // A little further into the step, by a random amount.
            QElapsedTimer uhr;
            uhr.start();
            const qint64 bis = zufall.bounded(4000) * 1000;
            while (uhr.nsecsElapsed() < bis) {
            }
            // On a server every other round the server stops instead, and starts again.
            if (TestAufServer() && runde % 2 == 1) {
                QVERIFY(PostgresServer::Instanz().Stoppe(QStringLiteral("immediate")));
                QVERIFY2(PostgresServer::Instanz().Starte(),
                         qPrintable(PostgresServer::Instanz().error()));
                QSqlDatabase::database(gDb).close();
                QVERIFY(p->db.OpenDb());
            }
            kind->kill();
            QVERIFY(kind->waitForFinished(10000));

            if (!TestAufServer())
                QCOMPARE(p->wert(QStringLiteral("PRAGMA integrity_check")).toString(),
                         QStringLiteral("ok"));
            QCOMPARE(zahl(QStringLiteral(
                         "SELECT count(*) FROM (SELECT lAuftrNr FROM T_fm_belegung "
                         "WHERE stSerieBem <> '' GROUP BY lAuftrNr HAVING count(*) <> 8 "
                         "OR count(DISTINCT Best) <> 1 OR count(DISTINCT tm_von) <> 1)")),
                     0);
            QVERIFY(zahl(QStringLiteral("SELECT lNextNr FROM T_NextNr")) >
                    zahl(QStringLiteral("SELECT coalesce(max(lAuftrNr), 0) FROM T_fm_belegung")));
        }
        QVERIFY(p->anzahlBelegungen() > 0);
        QCOMPARE(ueberschneidungen(), 0);
    }
};

QTEST_GUILESS_MAIN(TstMehrplatz)
#include "tst_mehrplatz.moc"

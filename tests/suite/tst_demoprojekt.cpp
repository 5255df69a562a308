#include "CRvDb.h"
#include "DemoProjekt.h"
#include "GebDb.h"
#include "RaumNrFormat.h"
#include "StammdatenDb.h"
#include "TestBelegungen.h"
#include "TestUtil.h"
#include "TovoTools.h"

#include <QMap>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class TstDemoProjekt : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_proj;
    QString Exe() const { return TovoBinDir() + QLatin1Char('/'); }

    // The reservation database of a project, opened for reading.
    static std::unique_ptr<CRvDb> Rv(const QString& proj) {
        auto rv = std::make_unique<CRvDb>();
        rv->SetDbPath(proj + "TovoRaumverw.mdb");
        rv->OpenDb();
        return rv;
    }
    // Order, room, day, times and event of every booking.
    static QStringList Bookings(const QString& proj) {
        CBelegungRecColl coll;
        QStringList out;
        if (GespeicherteBelegungen(Rv(proj)->ConnectionName(), coll))
            for (const CBelegungRec* b : coll)
                out << QStringLiteral("%1 %2 %3 %4 %5 %6")
                           .arg(b->lAuftrNr)
                           .arg(b->rb_id)
                           .arg(b->dt_von)
                           .arg(b->tm_von)
                           .arg(b->tm_bis)
                           .arg(b->Verst);
        return out;
    }

private slots:
    void initTestCase() {
        m_proj = m_dir.filePath("demo") + QLatin1Char('/');
        QDir().mkpath(m_proj);
        QString error;
        QVERIFY2(CreateDemoProject(Exe(), m_proj, &error), qPrintable(error));
    }

    void roomsMatchTheBuildingStructure() {
        auto rv = Rv(m_proj);
        CAnzeigeRecColl rooms;
        QVERIFY(rv->ReadAllrb_AnzeigeRec2Coll(&rooms) && rooms.Count() >= 12);
        CRaumartRecColl arten;
        QVERIFY(rv->ReadAllRaumartRec2Coll(&arten) && arten.Count() >= 3);

        CGebDb geb;
        QVERIFY(geb.OpenJet(QString(), QString(), m_proj + "TovoGebaeude.mdb") &&
                CRaumNrFormat(&geb).CheckFormat(QStringLiteral("S.G.BE.R")));
        for (int i = 1; i <= rooms.Count(); ++i) {
            const CAnzeigeRec* r = rooms.Item(i);
            QVERIFY(r->lGebraumId > 0);
            QCOMPARE(r->RaumNr, geb.LangeRaumNr(r->lGebraumId));
            QVERIFY(arten.Item(CRaumartRecColl::MakeIndex(r->lRaumartId)) && r->IANZAHLPERS > 0);
            QVERIFY(QRegularExpression("^[WPCMRFLNASGB]*$").match(r->stAusstattung).hasMatch());
            QVERIFY(QRegularExpression("^[KUO]*$").match(r->STSTUHLANORDNUNG).hasMatch());
        }
    }

    // The demo books through the write path, which refuses conflicts itself.
    void bookingsOnWorkingDays() {
        auto rv = Rv(m_proj);
        CBelegungRecColl coll;
        QVERIFY(GespeicherteBelegungen(rv->ConnectionName(), coll));
        QVERIFY(coll.Count() >= 60 && coll.Count() <= 120);

        const double heute = TovoDate::today().value();
        QMap<int32_t, QVector<const CBelegungRec*>> orders;
        int32_t maxNr = 0;
        for (int i = 1; i <= coll.Count(); ++i) {
            const CBelegungRec* b = coll.Item(i);
            QCOMPARE(b->dt_von, b->dt_bis);
            QVERIFY(std::abs(b->dt_von - heute) <= 35 &&
                    TovoDate(b->dt_von).weekdayMondayFirst() <= 5);
            const long von = std::lround(b->tm_von * 1440), bis = std::lround(b->tm_bis * 1440);
            QVERIFY(von >= 8 * 60 && bis <= 18 * 60 && von < bis);
            orders[b->lAuftrNr].append(b);
            maxNr = std::max(maxNr, b->lAuftrNr);
            QVERIFY(!b->Best.isEmpty() && !b->Verst.isEmpty());
            // Persons as the form writes them: "Name, Vorname", no salutation.
            QVERIFY(QRegularExpression("^(?!Frau |Herr )[^,]+, [^,]+$").match(b->Best).hasMatch());
        }
        // Shared numbers belong to series only, and the counter is beyond every number.
        int series = 0;
        for (const auto& bookings : orders) {
            series += bookings.size() > 1;
            QCOMPARE(bookings[0]->stSerieBem.isEmpty(), bookings.size() == 1);
            for (const CBelegungRec* b : bookings)
                QCOMPARE(b->stSerieBem, bookings[0]->stSerieBem);
        }
        QVERIFY(series >= 1);
        QSqlQuery q(QSqlDatabase::database(rv->ConnectionName()));
        QVERIFY(q.exec("SELECT lNextNr FROM T_NextNr") && q.next());
        QCOMPARE(q.value(0).toInt(), maxNr + 1);
    }

    void masterDataAndSettings() {
        CStammdatenDb stamm;
        QVERIFY(stamm.OpenJet(QString(), QString(), m_proj + "TovoStammdaten.mdb", nullptr) &&
                stamm.Firmen().size() >= 6 && stamm.Personen().size() == 15);
        Firma f;
        for (const Person& p : stamm.Personen()) // every person belongs to a company
            QVERIFY(stamm.ReadFirma(p.lFirmaId, f) && f.stPlz.size() == 5);

        CMitarbeiterRecColl ma;
        QVERIFY(Rv(m_proj)->ReadAllMitarbeiter2Coll(&ma) && ma.Count() >= 8 && ma.Count() <= 10);
        int imported = 0;
        for (int i = 1; i <= ma.Count(); ++i) {
            const CMitarbeiterRec* m = ma.Item(i);
            if (m->stPersNr.isEmpty())
                continue;
            ++imported;
            Person p;
            QVERIFY(stamm.ReadPerson(m->lAnsprechId, p));
            QCOMPARE(p.stPersNr, m->stPersNr);
        }
        QVERIFY(imported > 0 && imported < ma.Count());

        QCOMPARE(CTovoTools::Instance().ReadIniValue(m_proj + "TovoRaumVerw.ini", "Raumverwaltung",
                                                     "Mailname", "x"),
                 QStringLiteral("Raumverwaltung"));
    }

    void sameWeekSameDemo() {
        const QString proj = m_dir.filePath("b/");
        QString error;
        QVERIFY2(QDir().mkpath(proj) && CreateDemoProject(Exe(), proj, &error), qPrintable(error));
        const QStringList demo = Bookings(m_proj);
        QVERIFY(!demo.isEmpty());
        QCOMPARE(Bookings(proj), demo);
    }

    void existingProjectIsRefused() {
        const QFileInfo before(m_proj + "TovoRaumverw.mdb");
        QString error;
        QVERIFY(!CreateDemoProject(Exe(), m_proj, &error) && error.contains("TovoRaumverw.mdb"));
        QCOMPARE(QFileInfo(m_proj + "TovoRaumverw.mdb").lastModified(), before.lastModified());
    }

    void failureLeavesTheDirectoryEmpty() {
        QTemporaryDir noTemplate;
        const QString proj = m_dir.filePath("leer") + QLatin1Char('/');
        QDir().mkpath(proj);
        QString error;
        QVERIFY(!CreateDemoProject(noTemplate.path(), proj, &error) && !error.isEmpty() &&
                QDir(proj).isEmpty());

        // A damaged template fails only after the other databases were made: they go again.
        QVERIFY(QDir(noTemplate.path()).mkpath("Leeres Projekt"));
        QFile bad(noTemplate.filePath("Leeres Projekt/TovoRaumverw.mdb"));
        QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write(QByteArray(4096, 'x')) == 4096);
        bad.close();
        QVERIFY(!CreateDemoProject(noTemplate.path(), proj, &error) && !error.isEmpty());
        QCOMPARE(QDir(proj).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_GUILESS_MAIN(TstDemoProjekt)
#include "tst_demoprojekt.moc"

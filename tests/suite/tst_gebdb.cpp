#include "GebDb.h"
#include "RaumNrFormat.h"

#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

class TstGebDb : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // A room whose long number has the given number of parts: it hangs below a chain of
    // (parts - 1) higher nodes.
    static void AddRoom(CGebDb& db, int parts, const QString& nr) {
        int32_t parent = 0;
        for (int ebene = 5 - parts; ebene < 4; ++ebene)
            parent = db.AddNode(parent, ebene, QString::number(ebene), QStringLiteral("x"));
        QVERIFY(db.AddNode(parent, 4, nr, QStringLiteral("Raum")) > 0);
    }

private slots:
    void treeAndLongNumbers() {
        CGebDb db;
        QVERIFY2(db.OpenJet(m_dir.path(), QString(), Path("baum.mdb")), qPrintable(db.LastError()));
        const int32_t site = db.AddNode(0, 1, "1", "Standort Nord");
        const int32_t haus = db.AddNode(site, 2, "2", "Haus B");
        const int32_t og3 = db.AddNode(haus, 3, "03", "3. OG");
        const int32_t og1 = db.AddNode(haus, 3, "01", "1. OG");
        const int32_t r115 = db.AddNode(og3, 4, "115", "Raum Rhein");
        const int32_t r120 = db.AddNode(og1, 4, "120", "Saal \"Europa\"");
        QVERIFY(site && haus && og3 && og1 && r115 && r120);

        QCOMPARE(db.LangeRaumNr(r115), QStringLiteral("1.2.03.115"));
        QCOMPARE(db.LangeRaumNr(og3), QStringLiteral("1.2.03"));
        QCOMPARE(db.LangeRaumNr(4711), QString());

        // Only rooms count as room numbers.
        QStringList rooms = db.AlleRaumNummern();
        rooms.sort();
        QCOMPARE(rooms, (QStringList{"1.2.01.120", "1.2.03.115"}));
        QCOMPARE(db.AllNodes().size(), 6);
    }

    void addNodeRefusesBrokenTrees_data() {
        QTest::addColumn<bool>("knownParent");
        QTest::addColumn<int>("ebene");
        QTest::newRow("unknown parent") << false << 4;
        QTest::newRow("level 0") << true << 0;
        QTest::newRow("level 5") << true << 5;
        QTest::newRow("same level as parent") << true << 2;
        QTest::newRow("above its parent") << true << 1;
    }
    void addNodeRefusesBrokenTrees() {
        QFETCH(bool, knownParent);
        QFETCH(int, ebene);
        CGebDb db;
        QVERIFY(db.OpenJet(QString(), QString(), Path(QTest::currentDataTag()) + ".mdb"));
        const int32_t haus = db.AddNode(0, 2, "9", "Haus");
        QVERIFY(haus > 0);
        QCOMPARE(db.AddNode(knownParent ? haus : haus + 100, ebene, "1", "x"), 0);
        QVERIFY(!db.LastError().isEmpty());
        QCOMPARE(db.AllNodes().size(), 1);
    }

    void missingFileIsCreatedAndKeepsItsData() {
        const QString path = Path("TovoGebaeude.mdb");
        QVERIFY(!QFile::exists(path));
        {
            CGebDb db;
            QVERIFY2(db.OpenJet(QString(), QString(), path), qPrintable(db.LastError()));
            QVERIFY(db.IsOpen() && db.AllNodes().isEmpty() && db.LastError().isEmpty() &&
                    db.AddNode(0, 1, "7", "Standort"));
        }
        QVERIFY(QFile::exists(path));
        CGebDb again;
        QVERIFY(again.OpenJet(QString(), QString(), path));
        QCOMPARE(again.AllNodes().value(0).stNr, QStringLiteral("7"));
    }

    void openByConnectionText_data() {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("ok");
        const QString file = Path("conn.mdb");
        QTest::newRow("plain path") << file << false << true;
        QTest::newRow("DATABASE=") << "DATABASE=" + file + ";" << false << true;
        QTest::newRow("other keys around")
            << "UID=x; Database=" + file + " ;PWD=y" << false << true;
        QTest::newRow("no database key") << QStringLiteral("UID=x;PWD=y") << false << false;
        QTest::newRow("directory missing") << Path("fehlt/conn.mdb") << false << false;
        QTest::newRow("read-only creates nothing") << Path("nur-lesen.mdb") << true << false;
    }
    void openByConnectionText() {
        QFETCH(QString, connStr);
        QFETCH(bool, readOnly);
        QFETCH(bool, ok);
        CGebDb db;
        QCOMPARE(db.OpenConn(QString(), QString(), connStr, readOnly), ok);
        QCOMPARE(db.IsOpen(), ok);
        QCOMPARE(db.LastError().isEmpty(), ok);
        if (readOnly)
            QVERIFY(!QFile::exists(connStr));
    }

    void twoObjectsOpenAtOnceAndCloseCleanly() {
        const QStringList before = QSqlDatabase::connectionNames();
        {
            CGebDb a, b;
            QVERIFY(a.OpenJet(QString(), QString(), Path("a.mdb")) &&
                    b.OpenJet(QString(), QString(), Path("b.mdb")) && a.AddNode(0, 1, "A", "a"));
            QCOMPARE(b.AllNodes().size(), 0);
            QCOMPARE(a.AllNodes().size(), 1);
            b.Close();
            QVERIFY(!b.IsOpen() && a.IsOpen());
            QCOMPARE(b.AddNode(0, 1, "B", "b"), 0);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }

    void checkFormat_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QList<int>>("roomParts");
        QTest::addColumn<bool>("expected");
        QTest::newRow("4-part format, 2-part rooms") << "S.G.BE.R" << QList<int>{2, 2} << false;
        QTest::newRow("E.R, 2-part rooms") << "E.R" << QList<int>{2, 2} << true;
        QTest::newRow("4-part format, 4-part rooms") << "S.G.BE.R" << QList<int>{4, 4} << true;
        QTest::newRow("E.R, 4-part rooms") << "E.R" << QList<int>{4} << false;
        QTest::newRow("one room out of line") << "S.G.BE.R" << QList<int>{4, 4, 3} << false;
        QTest::newRow("no rooms") << "S.G.BE.R" << QList<int>{} << true;
    }
    void checkFormat() {
        QFETCH(QString, format);
        QFETCH(QList<int>, roomParts);
        QTemporaryDir dir;
        CGebDb db;
        QVERIFY2(db.OpenJet(dir.path(), QString(), dir.filePath("TovoGebaeude.mdb")),
                 qPrintable(db.LastError()));
        int n = 100;
        for (int parts : roomParts)
            AddRoom(db, parts, QString::number(++n));
        CRaumNrFormat check(&db);
        check.SetAppPath(dir.path());
        QTEST(check.CheckFormat(format), "expected");
    }

    void withoutBuildingDatabase() {
        QVERIFY(CRaumNrFormat().CheckFormat(QStringLiteral("S.G.BE.R")));
        CGebDb closed;
        QVERIFY(CRaumNrFormat(&closed).CheckFormat(QStringLiteral("E.R")));
    }
};

QTEST_GUILESS_MAIN(TstGebDb)
#include "tst_gebdb.moc"

#include "GebDb.h"

#include <QFile>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QtTest>

class TstGebDb : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

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

        // Children by number, whatever the order of creation.
        const QVector<GebNode> etagen = db.Children(haus);
        QCOMPARE(etagen.size(), 2);
        QCOMPARE(etagen[0].lId, og1);
        QCOMPARE(etagen[1].stNr, QStringLiteral("03"));
        QCOMPARE(etagen[1].lParentId, haus);
        QCOMPARE(etagen[1].iEbene, 3);
        QCOMPARE(db.Children(og1).value(0).stBez, QStringLiteral("Saal \"Europa\""));

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
            QVERIFY(db.IsOpen());
            QVERIFY(db.AllNodes().isEmpty());
            QVERIFY(db.LastError().isEmpty());
            QVERIFY(db.AddNode(0, 1, "7", "Standort"));
        }
        QVERIFY(QFile::exists(path));
        CGebDb again;
        QVERIFY(again.OpenJet(QString(), QString(), path));
        QCOMPARE(again.AllNodes().value(0).stNr, QStringLiteral("7"));
    }

    void openByConnectionText_data() {
        QTest::addColumn<QString>("connStr");
        QTest::addColumn<bool>("ok");
        const QString file = Path("conn.mdb");
        QTest::newRow("plain path") << file << true;
        QTest::newRow("DATABASE=") << "DATABASE=" + file + ";" << true;
        QTest::newRow("other keys around") << "UID=x; Database=" + file + " ;PWD=y" << true;
        QTest::newRow("no database key") << QStringLiteral("UID=x;PWD=y") << false;
        QTest::newRow("directory missing") << Path("fehlt/conn.mdb") << false;
    }
    void openByConnectionText() {
        QFETCH(QString, connStr);
        QFETCH(bool, ok);
        CGebDb db;
        QCOMPARE(db.OpenConn(QString(), QString(), connStr, false), ok);
        QCOMPARE(db.IsOpen(), ok);
        QCOMPARE(db.LastError().isEmpty(), ok);
    }

    void readOnlyConnectionCreatesNothing() {
        CGebDb db;
        QVERIFY(!db.OpenConn(QString(), QString(), Path("nur-lesen.mdb"), true));
        QVERIFY(!QFile::exists(Path("nur-lesen.mdb")));
    }

    void foreignFileIsRefusedUntouched() {
        const QString path = Path("text.mdb");
        const QByteArray text("Dies ist keine Datenbank, sondern ein Text mit etwas Inhalt.\n");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.close();
        CGebDb db;
        QVERIFY(!db.OpenJet(QString(), QString(), path));
        QVERIFY(!db.IsOpen());
        QVERIFY(db.LastError().contains("text.mdb"));
        QFile back(path);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), text);
    }

    void twoObjectsOpenAtOnceAndCloseCleanly() {
        const QStringList before = QSqlDatabase::connectionNames();
        {
            CGebDb a, b;
            QVERIFY(a.OpenJet(QString(), QString(), Path("a.mdb")));
            QVERIFY(b.OpenJet(QString(), QString(), Path("b.mdb")));
            QVERIFY(a.AddNode(0, 1, "A", "a"));
            QCOMPARE(b.AllNodes().size(), 0);
            QCOMPARE(a.AllNodes().size(), 1);
            b.Close();
            QVERIFY(!b.IsOpen());
            QVERIFY(a.IsOpen());
            QCOMPARE(b.AddNode(0, 1, "B", "b"), 0);
        }
        QCOMPARE(QSqlDatabase::connectionNames(), before);
    }
};

QTEST_GUILESS_MAIN(TstGebDb)
#include "tst_gebdb.moc"

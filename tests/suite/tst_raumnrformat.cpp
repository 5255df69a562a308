#include "GebDb.h"
#include "RaumNrFormat.h"

#include <QTemporaryDir>
#include <QtTest>

// A room-number check against building structures of different depth.
class TstRaumNrFormat : public QObject {
    Q_OBJECT

    // Builds rooms whose long numbers have the given numbers of parts: the room hangs below a
    // chain of (parts - 1) higher nodes.
    static void AddRoom(CGebDb& db, int parts, const QString& nr) {
        int32_t parent = 0;
        for (int ebene = 5 - parts; ebene < 4; ++ebene)
            parent = db.AddNode(parent, ebene, QString::number(ebene), QStringLiteral("x"));
        QVERIFY(db.AddNode(parent, 4, nr, QStringLiteral("Raum")) > 0);
    }

private slots:
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
        QFETCH(bool, expected);
        QTemporaryDir dir;
        CGebDb db;
        QVERIFY2(db.OpenJet(dir.path(), QString(), dir.filePath("TovoGebaeude.mdb")),
                 qPrintable(db.LastError()));
        int n = 100;
        for (int parts : roomParts)
            AddRoom(db, parts, QString::number(++n));
        CRaumNrFormat check(&db);
        check.SetAppPath(dir.path());
        QCOMPARE(check.CheckFormat(format), expected);
    }

    void withoutBuildingDatabase() {
        QVERIFY(CRaumNrFormat().CheckFormat(QStringLiteral("S.G.BE.R")));
        CGebDb closed;
        QVERIFY(CRaumNrFormat(&closed).CheckFormat(QStringLiteral("E.R")));
    }
};

QTEST_GUILESS_MAIN(TstRaumNrFormat)
#include "tst_raumnrformat.moc"

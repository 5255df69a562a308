#include "RecColl.h"

#include <QtTest>

namespace {
CMitarbeiterRec rec(int id, const QString& name = QString()) {
    CMitarbeiterRec r;
    r.lId = id;
    r.stName = name;
    return r;
}

// Ids in collection order.
QString ids(const CMitarbeiterRecColl& c) {
    QStringList out;
    for (const CMitarbeiterRec* r : c)
        out << QString::number(r->lId);
    return out.join(QLatin1Char(' '));
}
} // namespace

class TstCollections : public QObject {
    Q_OBJECT

private slots:
    void emptyCollection() {
        CMitarbeiterRecColl c;
        CMitarbeiterRec dummy;
        CMitarbeiterRec* out = &dummy;
        QVERIFY(!c.GetNext(out));
        QVERIFY(!out);
        out = &dummy;
        QVERIFY(!c.GetPrev(out));
        QVERIFY(!out);
        QVERIFY(!c.RemoveOnPos());
        QCOMPARE(c.CurPosition(), 0);
    }

    // Ops: N = GetNext, P = GetPrev, X = RemoveOnPos, R = ResetIndex. Each op yields
    // "<id or t/f or ->@<position>" (R only "@<position>").
    void cursor_data() {
        QTest::addColumn<QString>("ops");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("rest");
        QTest::newRow("forward") << "N N N N"
                                 << "10@1 20@2 30@3 -@3"
                                 << "10 20 30";
        QTest::newRow("backward from start") << "P P P P"
                                             << "30@3 20@2 10@1 -@1"
                                             << "10 20 30";
        QTest::newRow("next at end after prev") << "P N"
                                                << "30@3 -@3"
                                                << "10 20 30";
        QTest::newRow("turn around") << "N N P N"
                                     << "10@1 20@2 10@1 20@2"
                                     << "10 20 30";
        QTest::newRow("remove first, walk on") << "N X N"
                                               << "10@1 t@0 20@1"
                                               << "20 30";
        QTest::newRow("remove last") << "N N N X N"
                                     << "10@1 20@2 30@3 t@2 -@2"
                                     << "10 20";
        QTest::newRow("remove after reset") << "N R X"
                                            << "10@1 @0 f@0"
                                            << "10 20 30";
        QTest::newRow("reset restarts") << "N N R N"
                                        << "10@1 20@2 @0 10@1"
                                        << "10 20 30";
    }
    void cursor() {
        QFETCH(QString, ops);
        QFETCH(QString, expected);
        QFETCH(QString, rest);
        CMitarbeiterRecColl c;
        for (int id : {10, 20, 30})
            QVERIFY(c.Append(rec(id)));
        QStringList got;
        for (const QString& op : ops.split(QLatin1Char(' '))) {
            CMitarbeiterRec* r = nullptr;
            QString res;
            if (op == QLatin1String("N") || op == QLatin1String("P")) {
                const bool ok = op == QLatin1String("N") ? c.GetNext(r) : c.GetPrev(r);
                QCOMPARE(ok, r != nullptr);
                res = r ? QString::number(r->lId) : QStringLiteral("-");
            } else if (op == QLatin1String("X")) {
                res = c.RemoveOnPos() ? QStringLiteral("t") : QStringLiteral("f");
            } else {
                c.ResetIndex();
            }
            got << res + QLatin1Char('@') + QString::number(c.CurPosition());
        }
        QCOMPARE(got.join(QLatin1Char(' ')), expected);
        QCOMPARE(ids(c), rest);
    }

    void deleteWhileWalking() {
        CMitarbeiterRecColl c;
        for (int id : {1, 2, 4, 6, 7, 8})
            c.Append(rec(id));
        c.ResetIndex();
        CMitarbeiterRec* r = nullptr;
        while (c.GetNext(r))
            if (r->lId % 2 == 0)
                QVERIFY(c.RemoveOnPos());
        QCOMPARE(ids(c), QStringLiteral("1 7"));
    }

    void appendCopiesAndKeys() {
        CMitarbeiterRecColl c;
        CMitarbeiterRec a = rec(17, QStringLiteral("Alt"));
        QVERIFY(c.Append(a));
        a.stName = QStringLiteral("Geändert");
        QCOMPARE(c.Item(QStringLiteral("17$"))->stName, QStringLiteral("Alt"));

        CMitarbeiterRec* r = nullptr;
        c.GetNext(r);
        QVERIFY(!c.Append(rec(17, QStringLiteral("Doppelt"))));
        QCOMPARE(c.Count(), 1);
        QCOMPARE(c.Item(1)->stName, QStringLiteral("Alt"));
        QVERIFY(c.Append(rec(18)));
        QCOMPARE(c.CurPosition(), 1); // appending leaves the cursor alone
        QVERIFY(!c.Item(0));
        QVERIFY(!c.Item(3));
        QVERIFY(!c.Item(QStringLiteral("17")));
        QVERIFY(!c.Append(static_cast<const CMitarbeiterRec*>(nullptr)));
    }

    void appendRef() {
        CMitarbeiterRecColl c;
        c.Append(rec(5));
        auto own = std::make_unique<CMitarbeiterRec>(rec(5, QStringLiteral("Ref")));
        CMitarbeiterRec* raw = own.get();
        QVERIFY(c.AppendRef(own));
        QVERIFY(!own);
        QCOMPARE(c.Item(2), raw);
        QCOMPARE(c.Item(QStringLiteral("5$"))->stName, QString()); // the keyed one, not the ref
        QVERIFY(c.RemoveOn(QStringLiteral("5$")));
        QCOMPARE(c.Item(1), raw);
        QVERIFY(!c.Item(QStringLiteral("5$")));
        std::unique_ptr<CMitarbeiterRec> none;
        QVERIFY(!c.AppendRef(none));
    }

    void removeOn_data() {
        QTest::addColumn<QString>("key"); // empty: remove by position
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("rest");
        QTest::newRow("missing key") << "99$" << 0 << false << 2 << "10 20 30";
        QTest::newRow("key") << "20$" << 0 << true << 0 << "10 30";
        QTest::newRow("position") << "" << 3 << true << 0 << "10 20";
        QTest::newRow("position 0") << "" << 0 << false << 2 << "10 20 30";
        QTest::newRow("beyond count") << "" << 4 << false << 2 << "10 20 30";
    }
    void removeOn() {
        QFETCH(QString, key);
        QFETCH(int, position);
        CMitarbeiterRecColl c;
        for (int id : {10, 20, 30})
            c.Append(rec(id));
        CMitarbeiterRec* r = nullptr;
        c.GetNext(r);
        c.GetNext(r);
        QFETCH(bool, ok);
        QFETCH(int, cursor);
        QFETCH(QString, rest);
        QCOMPARE(key.isEmpty() ? c.RemoveOn(position) : c.RemoveOn(key), ok);
        QCOMPARE(c.CurPosition(), cursor);
        QCOMPARE(ids(c), rest);
        // The key of a removed record is free again.
        if (key == QLatin1String("20$"))
            QVERIFY(c.Append(rec(20)));
    }
};

QTEST_GUILESS_MAIN(TstCollections)
#include "tst_collections.moc"

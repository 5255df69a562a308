#include "StammdatenDb.h"
#include "TovoRecht.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Person MakePerson(int32_t firmaId, const QString& name, const QString& text) {
    Person p;
    p.lFirmaId = firmaId;
    p.stAnrede = QStringLiteral("Frau");
    p.stVorname = text;
    p.stName = name;
    p.stTelefon = QStringLiteral("0221 4711-0");
    p.stTelefax = text + QStringLiteral("-fax");
    p.stEmail = QStringLiteral("a.b@c.example");
    p.stKostenstelle = text + QStringLiteral("-kst");
    p.stAbteilung = text + QStringLiteral("-abt");
    p.stPersNr = QStringLiteral("0815");
    return p;
}

bool Same(const Person& a, const Person& b) {
    return a.lId == b.lId && a.lFirmaId == b.lFirmaId && a.stAnrede == b.stAnrede &&
           a.stVorname == b.stVorname && a.stName == b.stName && a.stTelefon == b.stTelefon &&
           a.stTelefax == b.stTelefax && a.stEmail == b.stEmail &&
           a.stKostenstelle == b.stKostenstelle && a.stAbteilung == b.stAbteilung &&
           a.stPersNr == b.stPersNr;
}

} // namespace

class TstStammdatenDb : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    // Each test works on a database file of its own.
    QString NewPath() { return m_dir.filePath(QStringLiteral("stamm%1.mdb").arg(++m_files)); }

private slots:
    void roundTripKeepsEveryCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes") << QStringLiteral("O'Brien \"der Ältere\"");
        QTest::newRow("umlauts") << QStringLiteral("Jürgen Größe-Übel ÄÖÜäöüß");
        QTest::newRow("sql") << QStringLiteral("x'); DROP TABLE T_Person; --");
        QTest::newRow("separators") << QStringLiteral("a;b=c\\d%e_f");
        QTest::newRow("other scripts") << QStringLiteral("Łódź – İstanbul €");
        QTest::newRow("empty") << QString();
    }
    void roundTripKeepsEveryCharacter() {
        QFETCH(QString, text);
        CStammdatenDb db;
        QVERIFY2(db.OpenJet(QString(), QString(), NewPath(), nullptr), qPrintable(db.LastError()));
        Firma f;
        f.stName = text;
        f.stStrasse = text + QStringLiteral(" 1");
        f.stPlz = QStringLiteral("01067");
        f.stOrt = text;
        QVERIFY2(db.SaveFirma(f), qPrintable(db.LastError()));
        QVERIFY(f.lId > 0);
        Person p = MakePerson(f.lId, text, text);
        QVERIFY2(db.SavePerson(p), qPrintable(db.LastError()));
        QVERIFY(p.lId > 0);

        Firma f2;
        QVERIFY(db.ReadFirma(f.lId, f2));
        QCOMPARE(f2.lId, f.lId);
        QCOMPARE(f2.stName, text);
        QCOMPARE(f2.stStrasse, f.stStrasse);
        QCOMPARE(f2.stPlz, QStringLiteral("01067"));
        QCOMPARE(f2.stOrt, text);
        Person p2;
        QVERIFY(db.ReadPerson(p.lId, p2));
        QVERIFY(Same(p, p2));
        QCOMPARE(db.Personen().size(), 1);
    }

    void personsByCompanyAndByName() {
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma a, b;
        a.stName = QStringLiteral("Zeta AG");
        b.stName = QStringLiteral("Alpha GmbH");
        QVERIFY(db.SaveFirma(a) && db.SaveFirma(b));
        QCOMPARE(db.Firmen().value(0).lId, b.lId);

        for (auto [firma, name] :
             {std::pair{a.lId, "Weber"}, {b.lId, "Krause"}, {a.lId, "Albers"}, {0, "Ohnefirma"}}) {
            Person p = MakePerson(firma, QString::fromUtf8(name), QStringLiteral("v"));
            QVERIFY(db.SavePerson(p));
        }
        auto names = [&](int32_t firmaId) {
            QStringList out;
            for (const Person& p : db.Personen(firmaId))
                out << p.stName;
            return out;
        };
        QCOMPARE(names(a.lId), (QStringList{"Albers", "Weber"}));
        QCOMPARE(names(b.lId), QStringList{"Krause"});
        QCOMPARE(names(0), QStringList{"Ohnefirma"});
        QCOMPARE(names(-1), (QStringList{"Albers", "Krause", "Ohnefirma", "Weber"}));
        QVERIFY(names(a.lId + b.lId + 10).isEmpty());
    }

    void updateAndDelete() {
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma f;
        f.stName = QStringLiteral("Alt");
        QVERIFY(db.SaveFirma(f));
        const int32_t id = f.lId;
        f.stName = QStringLiteral("Neu");
        QVERIFY(db.SaveFirma(f));
        QCOMPARE(f.lId, id);
        QCOMPARE(db.Firmen().size(), 1);
        QCOMPARE(db.Firmen().value(0).stName, QStringLiteral("Neu"));

        Person p = MakePerson(id, QStringLiteral("Muster"), QStringLiteral("x"));
        QVERIFY(db.SavePerson(p));
        // A company with persons stays; without them it goes.
        QVERIFY(!db.DeleteFirma(id));
        QVERIFY(!db.LastError().isEmpty());
        QVERIFY(db.DeletePerson(p.lId));
        QVERIFY(db.DeleteFirma(id));
        QVERIFY(db.Firmen().isEmpty());

        Person gone;
        QVERIFY(!db.ReadPerson(p.lId, gone));
        QVERIFY(!db.LastError().isEmpty());
    }

    void refusesWhatCannotBeDone_data() {
        QTest::addColumn<int>("what");
        QTest::newRow("update of an unknown company") << 0;
        QTest::newRow("update of an unknown person") << 1;
        QTest::newRow("person of an unknown company") << 2;
        QTest::newRow("delete of an unknown company") << 3;
        QTest::newRow("delete of an unknown person") << 4;
    }
    void refusesWhatCannotBeDone() {
        QFETCH(int, what);
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma f;
        f.lId = 99;
        Person p = MakePerson(0, QStringLiteral("X"), QStringLiteral("y"));
        bool ok = true;
        switch (what) {
        case 0:
            ok = db.SaveFirma(f);
            break;
        case 1:
            p.lId = 99;
            ok = db.SavePerson(p);
            break;
        case 2:
            p.lFirmaId = 99;
            ok = db.SavePerson(p);
            break;
        case 3:
            ok = db.DeleteFirma(99);
            break;
        case 4:
            ok = db.DeletePerson(99);
            break;
        }
        QVERIFY(!ok);
        QVERIFY(!db.LastError().isEmpty());
        QVERIFY(db.Firmen().isEmpty());
        QVERIFY(db.Personen().isEmpty());
    }

    void readingRightRefusesWriting() {
        const QString path = NewPath();
        {
            CStammdatenDb db;
            QVERIFY(db.OpenJet(QString(), QString(), path, nullptr));
            Firma f;
            f.stName = QStringLiteral("Bleibt");
            QVERIFY(db.SaveFirma(f));
        }
        CTovoRecht lesen;
        lesen.SetZugriff(QStringLiteral("L"));
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), path, &lesen));
        QCOMPARE(db.Firmen().size(), 1);
        Firma f;
        f.stName = QStringLiteral("Neu");
        QVERIFY(!db.SaveFirma(f));
        QVERIFY(!db.DeleteFirma(db.Firmen().value(0).lId));
        QCOMPARE(db.Firmen().size(), 1);
    }

    void missingFileIsCreatedOnlyWhenWritable() {
        const QString path = NewPath();
        CStammdatenDb db;
        QVERIFY(!db.OpenConn(QString(), "DATABASE=" + path + ";", QString(), true, nullptr));
        QVERIFY(!QFile::exists(path));
        QVERIFY2(db.OpenConn(QString(), "DATABASE=" + path + ";", QString(), false, nullptr),
                 qPrintable(db.LastError()));
        QVERIFY(QFile::exists(path));
        QVERIFY(db.Firmen().isEmpty() && db.Personen().isEmpty());
        QVERIFY(db.LastError().isEmpty());
        db.Close();
        QVERIFY(!db.IsOpen());
        QVERIFY(db.Firmen().isEmpty());
        QVERIFY(!db.LastError().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstStammdatenDb)
#include "tst_stammdatendb.moc"

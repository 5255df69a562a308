// The master data: the database of companies and persons, and the window that edits it.
#include "Bearbeitbar.h"
#include "ScriptedPrompt.h"
#include "StammdatenDb.h"
#include "TovoRecht.h"
#include "TovoTextbox.h"
#include "TypeText.h"
#include "frmStammdaten.h"

#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

template <class T> T* Find(QObject* dlg, const char* name) {
    T* w = dlg->findChild<T*>(QLatin1String(name));
    if (!w)
        qFatal("control %s is missing", name);
    return w;
}

void Type(QObject* dlg, const char* box, const QString& text) {
    auto* ed = Find<TovoTextbox>(dlg, box);
    ed->clear();
    TypeText(ed, text);
}

void Click(QObject* dlg, const char* button) {
    Find<QPushButton>(dlg, button)->click();
}

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

Firma MakeFirma(const QString& name, int32_t id = 0) {
    Firma f;
    f.lId = id;
    f.stName = name;
    return f;
}

// Every field, to compare whole rows.
QStringList Felder(const Firma& f) {
    return {QString::number(f.lId), f.stName, f.stStrasse, f.stPlz, f.stOrt};
}
QStringList Felder(const Person& p) {
    return QStringList{QString::number(p.lId), QString::number(p.lFirmaId)}
           << p.stAnrede << p.stVorname << p.stName << p.stTelefon << p.stTelefax << p.stEmail
           << p.stKostenstelle << p.stAbteilung << p.stPersNr;
}

} // namespace

using DbOp = std::function<bool(CStammdatenDb&)>;
Q_DECLARE_METATYPE(DbOp)

class TstFrmStammdaten : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    int32_t m_firmaId = 0;
    QString NewPath() { return m_dir.filePath(QStringLiteral("stamm%1.mdb").arg(++m_files)); }

    // A database of its own for each test; optionally with a company and a person in it.
    bool Open(CStammdatenDb& db, bool firma, bool person) {
        if (!db.OpenJet({}, {}, m_dir.filePath(QString::number(++m_files)), nullptr))
            return false;
        Firma f;
        f.stName = QStringLiteral("Alpha GmbH");
        if (firma && !db.SaveFirma(f))
            return false;
        m_firmaId = f.lId;
        Person p;
        p.lFirmaId = f.lId;
        p.stName = QStringLiteral("Krause");
        p.stPersNr = QStringLiteral("0815"); // not shown in the window
        return !person || db.SavePerson(p);
    }

private slots:
    void cleanup() { goRecht.reset(); }

    void addAndChangeThroughTheWidgets() {
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, false, false));
        frmStammdaten dlg(&db, nullptr);
        Click(&dlg, "pbFirmaSpeichern"); // without a name nothing is saved
        QCOMPARE(prompt.shown.size(), 1);
        QVERIFY(db.Firmen().isEmpty() && !dlg.f_bChange);

        prompt.clear();
        Type(&dlg, "edFirmaName", QString::fromUtf8("Müller & Söhne 'GmbH'; 100%"));
        Type(&dlg, "edFirmaStrasse", QString::fromUtf8("Hauptstraße 1"));
        Click(&dlg, "pbFirmaSpeichern");
        QCOMPARE(prompt.beeps, 2);
        QVERIFY(dlg.f_bChange);
        const Firma f = db.Firmen().value(0);
        QCOMPARE(f.stName, QString::fromUtf8("Müller & Söhne GmbH; 100%"));
        QCOMPARE(f.stStrasse, QString::fromUtf8("Hauptstraße 1"));
        QCOMPARE(Find<QListWidget>(&dlg, "lbFirmen")->currentItem()->text(), f.stName);

        Click(&dlg, "pbPersonNeu");
        Type(&dlg, "edPersonVorname", QString::fromUtf8("Jürgen"));
        Type(&dlg, "edPersonName", QStringLiteral("O'Neill"));
        Type(&dlg, "edPersonEmail", QStringLiteral("j.oneill@example.de"));
        Click(&dlg, "pbPersonSpeichern");
        // Saving the selected person again changes it rather than adding another.
        Type(&dlg, "edPersonTelefax", QStringLiteral("0351 4711-9"));
        Click(&dlg, "pbPersonSpeichern");
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(db.Personen(f.lId).size(), 1);
        const Person p = db.Personen(f.lId)[0];
        QCOMPARE(p.stName, QStringLiteral("ONeill"));
        QCOMPARE(p.stEmail, QStringLiteral("j.oneill@example.de"));
        QCOMPARE(p.stTelefax, QStringLiteral("0351 4711-9"));
        QCOMPARE(Find<QListWidget>(&dlg, "lbPersonen")->item(0)->text(),
                 QString::fromUtf8("ONeill, Jürgen"));
    }

    void changingKeepsWhatIsNotShown() {
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, true, true));
        frmStammdaten dlg(&db, nullptr); // opens on the first company
        Find<QListWidget>(&dlg, "lbPersonen")->setCurrentRow(0);
        Type(&dlg, "edPersonAbteilung", QStringLiteral("Einkauf"));
        Click(&dlg, "pbPersonSpeichern");
        Type(&dlg, "edFirmaName", QStringLiteral("Alpha AG"));
        Click(&dlg, "pbFirmaSpeichern");
        QVERIFY(prompt.shown.isEmpty());
        QCOMPARE(Find<TovoTextbox>(&dlg, "edPersonName")->text(), QStringLiteral("Krause"));
        QCOMPARE(db.Firmen().value(0).stName, QStringLiteral("Alpha AG"));
        const Person p = db.Personen(m_firmaId).value(0);
        QCOMPARE(p.stAbteilung, QStringLiteral("Einkauf"));
        QCOMPARE(p.stPersNr, QStringLiteral("0815"));
    }

    void deleteAsksFirst_data() {
        QTest::addColumn<bool>("person");    // delete the person, else the company
        QTest::addColumn<bool>("hasPerson"); // the company has a person
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<int>("messages");
        QTest::newRow("person, no") << true << true << false << false << 1;
        QTest::newRow("person, yes") << true << true << true << true << 1;
        QTest::newRow("company, no") << false << false << false << false << 1;
        QTest::newRow("company, yes") << false << false << true << true << 1;
        QTest::newRow("company with a person, yes") << false << true << true << false << 2;
    }
    void deleteAsksFirst() {
        QFETCH(bool, person);
        QFETCH(bool, hasPerson);
        QFETCH(bool, yes);
        QFETCH(bool, deleted);
        ScriptedPrompt prompt;
        CStammdatenDb db;
        QVERIFY(Open(db, true, hasPerson));
        frmStammdaten dlg(&db, nullptr);
        auto* list = Find<QListWidget>(&dlg, person ? "lbPersonen" : "lbFirmen");
        list->setCurrentRow(0);
        prompt.answer(yes ? PromptResult::Yes : PromptResult::No);
        Click(&dlg, person ? "pbPersonLoeschen" : "pbFirmaLoeschen");

        QTEST(int(prompt.shown.size()), "messages");
        QCOMPARE(prompt.shown[0].text,
                 QStringLiteral("Wollen Sie diesen Eintrag wirklich löschen ?"));
        QCOMPARE(prompt.shown[0].buttons, PromptButtons::YesNo);
        if (prompt.shown.size() > 1) // why the database refused
            QCOMPARE(prompt.last().text, db.LastError());
        QCOMPARE(dlg.f_bChange, deleted);
        const auto left = person ? db.Personen(m_firmaId).size() : db.Firmen().size();
        QCOMPARE(left, deleted ? 0 : 1);
        QCOMPARE(list->count(), int(left));
    }

    void rightsEnableWriting_data() {
        QTest::addColumn<QString>("zugriff");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("full") << "S" << true;
        QTest::newRow("read only") << "L" << false;
    }
    void rightsEnableWriting() {
        QFETCH(QString, zugriff);
        QFETCH(bool, enabled);
        goRecht = std::make_shared<CTovoRecht>();
        goRecht->SetZugriff(zugriff);
        CStammdatenDb db;
        QVERIFY(Open(db, true, true));
        frmStammdaten dlg(&db, nullptr);
        Find<QListWidget>(&dlg, "lbPersonen")->setCurrentRow(0);
        for (const char* name : {"pbFirmaNeu", "pbFirmaSpeichern", "pbFirmaLoeschen", "pbPersonNeu",
                                 "pbPersonSpeichern", "pbPersonLoeschen"})
            QVERIFY2(Find<QPushButton>(&dlg, name)->isEnabled() == enabled, name);
        QCOMPARE(Bearbeitbar(&dlg).isEmpty(), !enabled);
    }

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
        Firma f{0, text, text + QStringLiteral(" 1"), QStringLiteral("01067"), text};
        QVERIFY2(db.SaveFirma(f), qPrintable(db.LastError()));
        Person p = MakePerson(f.lId, text, text);
        QVERIFY2(db.SavePerson(p), qPrintable(db.LastError()));
        QVERIFY(f.lId > 0 && p.lId > 0);

        Firma f2;
        QVERIFY(db.ReadFirma(f.lId, f2));
        QCOMPARE(Felder(f2), Felder(f));
        Person p2;
        QVERIFY(db.ReadPerson(p.lId, p2));
        QCOMPARE(Felder(p2), Felder(p));
        QCOMPARE(db.Personen().size(), 1);
    }

    void personsByCompanyAndByName() {
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr));
        Firma a = MakeFirma(QStringLiteral("Zeta AG")), b = MakeFirma(QStringLiteral("Alpha GmbH"));
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

    void refusesWhatCannotBeDone_data() {
        QTest::addColumn<DbOp>("op");
        auto row = [](const char* name, DbOp op) { QTest::newRow(name) << op; };
        row("update of an unknown company", [](CStammdatenDb& db) {
            Firma f = MakeFirma(QStringLiteral("X"), 99);
            return db.SaveFirma(f);
        });
        row("update of an unknown person", [](CStammdatenDb& db) {
            Person p = MakePerson(0, QStringLiteral("X"), QStringLiteral("y"));
            p.lId = 99;
            return db.SavePerson(p);
        });
        row("person of an unknown company", [](CStammdatenDb& db) {
            Person p = MakePerson(99, QStringLiteral("X"), QStringLiteral("y"));
            return db.SavePerson(p);
        });
        row("delete of an unknown company", [](CStammdatenDb& db) { return db.DeleteFirma(99); });
        row("delete of an unknown person", [](CStammdatenDb& db) { return db.DeletePerson(99); });
    }
    void refusesWhatCannotBeDone() {
        QFETCH(DbOp, op);
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), NewPath(), nullptr) && !op(db) &&
                !db.LastError().isEmpty() && db.Firmen().isEmpty() && db.Personen().isEmpty());
    }

    void readingRightRefusesWriting() {
        const QString path = NewPath();
        {
            CStammdatenDb db;
            QVERIFY(db.OpenJet(QString(), QString(), path, nullptr));
            Firma f = MakeFirma(QStringLiteral("Bleibt"));
            QVERIFY(db.SaveFirma(f));
        }
        CTovoRecht lesen;
        lesen.SetZugriff(QStringLiteral("L"));
        CStammdatenDb db;
        QVERIFY(db.OpenJet(QString(), QString(), path, &lesen));
        Firma f = MakeFirma(QStringLiteral("Neu"));
        QVERIFY(!db.SaveFirma(f) && !db.DeleteFirma(db.Firmen().value(0).lId));
        QCOMPARE(db.Firmen().size(), 1);
    }

    // (Creating a missing file only when writable is checked with the building database, which
    // opens the same way.)
    void closedDatabaseReadsNothing() {
        CStammdatenDb db;
        QVERIFY(db.OpenConn(QString(), "DATABASE=" + NewPath() + ";", QString(), false, nullptr) &&
                db.Firmen().isEmpty() && db.LastError().isEmpty());
        db.Close();
        QVERIFY(!db.IsOpen() && db.Firmen().isEmpty() && !db.LastError().isEmpty());
    }
};

QTEST_MAIN(TstFrmStammdaten)
#include "tst_frmstammdaten.moc"

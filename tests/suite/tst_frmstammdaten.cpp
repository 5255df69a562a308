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

} // namespace

class TstFrmStammdaten : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;
    int32_t m_firmaId = 0;

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
        QCOMPARE(prompt.shown[0].title, QStringLiteral("Achtung !"));
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
        for (const char* name :
             {"pbFirmaSpeichern", "pbFirmaLoeschen", "pbPersonSpeichern", "pbPersonLoeschen"})
            QVERIFY2(Find<QPushButton>(&dlg, name)->isEnabled() == enabled, name);
    }
};

QTEST_MAIN(TstFrmStammdaten)
#include "tst_frmstammdaten.moc"

// The employee form: new next to the one shown, taking over a person, deleting the last one.
#include "StammGrid.h"
#include "StammdatenDb.h"
#include "TestProjekt.h"
#include "TovoTextbox.h"
#include "frmMitarbeiter.h"
#include "frmPersonWahl.h"

#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

namespace {
int32_t Mitarbeiter(TestProjekt& p, const QString& name, const QString& vorname) {
    CMitarbeiterRec m;
    m.stName = name;
    m.stVorname = vorname;
    m.lAnsprechId = 77;
    p.ok = gRvDb->AddNewMitarbeiterRec(&m) && p.ok;
    return m.lId;
}
QStringList Namen() {
    CMitarbeiterRecColl coll;
    gRvDb->ReadAllMitarbeiter2Coll(&coll);
    QStringList t;
    for (int i = 1; i <= coll.Count(); ++i)
        t << coll.Item(i)->stVorname + ' ' + coll.Item(i)->stName;
    return t;
}
} // namespace

class TestMitarbeiter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void speichern_data() {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("danach");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("neu neben dem gezeigten")
            << true << "Özdemir 🙂" << QStringList{"Karl Berg", "Eva Özdemir 🙂"} << 0;
        QTest::newRow("geändert") << false << "Bergmann" << QStringList{"Eva Bergmann"} << 0;
        QTest::newRow("ohne Namen") << true << "" << QStringList{"Karl Berg"} << 1;
    }
    void speichern() {
        QFETCH(bool, neu);
        QFETCH(QString, name);
        QFETCH(int, meldungen);
        TestProjekt p;
        const int32_t berg = Mitarbeiter(p, "Berg", "Karl");
        frmMitarbeiter form;
        form.Form_Activate();
        QCOMPARE(form.edName->text(), QStringLiteral("Berg"));
        if (neu) {
            form.pbNeu->click();
            QVERIFY(form.edName->text().isEmpty() && form.edVorname->text().isEmpty());
            if (!name.isEmpty())
                form.edVorname->setText("Eva");
        } else {
            form.edVorname->setText("Eva");
        }
        form.edName->setText(name);
        form.edKostenstelle->setText("4711");
        form.pbSave->click();
        QCOMPARE(p.prompt.shown.size(), meldungen);
        QTEST(Namen(), "danach");
        QCOMPARE(form.fgAnzeige->rowCount(), Namen().size());
        CMitarbeiterRec alt;
        alt.lId = berg;
        gRvDb->ReadMitarbeiterRec(&alt);
        QCOMPARE(alt.lAnsprechId, 77); // kept, not edited by the form
        if (meldungen == 0)
            QCOMPARE(form.Aktuell()->STKOSTENSTELLE, QStringLiteral("4711"));
    }

    void letztenLoeschen() {
        TestProjekt p;
        Mitarbeiter(p, "Berg", "Karl");
        frmMitarbeiter form;
        form.Form_Activate();
        form.pbDel->click();
        QCOMPARE(p.prompt.last().title, QStringLiteral("Löschen"));
        QCOMPARE(Namen(), QStringList());
        QCOMPARE(form.fgAnzeige->rowCount(), 0);
        QCOMPARE(form.fgAnzeige->columnCount(), 12);
        QVERIFY(form.edName->text().isEmpty() && !form.Aktuell());
    }

    void ausStammdaten() {
        TestProjekt p;
        CStammdatenDb stamm;
        QVERIFY(stamm.OpenJet(QString(), QString(), p.dir.filePath("TovoStammdaten.mdb"),
                              goRecht.get()));
        Firma f;
        f.stName = "Müller & Söhne GmbH";
        QVERIFY(stamm.SaveFirma(f));
        Person per;
        per.lFirmaId = f.lId;
        per.stName = "Kahn";
        per.stVorname = "Lena";
        per.stAnrede = "Frau";
        per.stEmail = "l.kahn@example.org";
        per.stPersNr = "0815";
        per.stFunktion = "Leitung";
        per.stBemerkung = "nur vormittags";
        QVERIFY(stamm.SavePerson(per));

        frmMitarbeiter form;
        form.f_StammDb = &stamm;
        form.Form_Activate();
        StammGrid::ZeigeModal = [](QDialog& d) {
            auto& wahl = static_cast<frmPersonWahl&>(d);
            wahl.lbPersonen->setCurrentRow(0);
            wahl.pbOK->click();
            return wahl.result();
        };
        form.pbGetStamm->click();
        QCOMPARE(QStringList({form.edAnrede->text(), form.edVorname->text(), form.edName->text(),
                              form.edEMail->text(), form.edFirma->text(), form.edPersNr->text(),
                              form.edFunktion->text(), form.edBemerkung->text()}),
                 QStringList({"Frau", "Lena", "Kahn", "l.kahn@example.org", "Müller & Söhne GmbH",
                              "", "Leitung", "nur vormittags"}));
        QCOMPARE(Namen(), QStringList()); // nothing written before saving
        form.pbSave->click();
        QCOMPARE(Namen(), QStringList{"Lena Kahn"});
    }
};

QTEST_MAIN(TestMitarbeiter)
#include "tst_mitarbeiter.moc"

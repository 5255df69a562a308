// The document buttons of the reservation form: the booking as the form shows it goes into the
// print table and its report into the preview.
#include "AntragProjekt.h"
#include "Bericht.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

class TestFrmAntragDruck : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    QStringList vorschau; // titles of the previews shown

private Q_SLOTS:
    void initTestCase() {
        Bericht::ZeigeVorschau = [this](QDialog& d) {
            vorschau << d.windowTitle();
            return 0;
        };
    }
    void init() {
        p = std::make_unique<AntragProjekt>();
        vorschau.clear();
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void dokument_data() {
        QTest::addColumn<int>("knopf");
        QTest::addColumn<QString>("titel");
        QTest::newRow("Bestelldaten") << 1 << QStringLiteral("Bestelldaten");
        QTest::newRow("Rückantwort") << 2 << QStringLiteral("Rückantwort");
        QTest::newRow("Hinweisschild") << 3 << QStringLiteral("Hinweisschild");
        QTest::newRow("Umbau") << 4 << QStringLiteral("Umbau");
        QTest::newRow("Rechnung") << 5 << QStringLiteral("Rechnung");
    }
    void dokument() {
        QFETCH(int, knopf);
        QFETCH(QString, titel);
        Firma f;
        QVERIFY(p->stamm.ReadFirma(p->firma, f));
        f.stStrasse = QStringLiteral("Hauptstr. 5");
        f.stPlz = QStringLiteral("01067");
        f.stOrt = QStringLiteral("Dresden");
        QVERIFY(p->stamm.SaveFirma(f));
        CBelegungRec satz = p->satz(p->raumB, Tag(2, 9), Tag(2, 10));
        satz.lFirma1 = p->firma;
        satz.Inst = QStringLiteral("Stadtwerke");
        frmAntrag form;
        p->oeffne(form, satz);
        // What the form shows now counts, not what is stored.
        form.tfVerst->setText(QStringLiteral("Klausur"));
        form.Check2[2]->setChecked(true);
        form.cmdDruck[knopf]->click();
        QCOMPARE(p->texte(), QStringList());
        QCOMPARE(vorschau, QStringList{QStringLiteral("Druckvorschau – ") + titel});
        QCOMPARE(p->wert(QStringLiteral("SELECT Kurzbez || '|' || Verst || '|' || Aust || '|' || "
                                        "stStrasse || '|' || stPlzOrt FROM t_tmp_Druck"))
                     .toString(),
                 QStringLiteral("Raum B|Klausur|Projektor|Hauptstr. 5|01067 Dresden"));
    }

    void ohneRaum() {
        frmAntrag form;
        form.NeuerAntrag(Tag(0));
        p->oeffne(form);
        form.coFreeRooms->clear();
        form.SetzeGewaehltenRaum(QString(), QString());
        p->prompt.clear();
        form.cmdDruck_Click(1);
        QCOMPARE(p->texte(), QStringList{QStringLiteral("Es wurde kein Raum ausgewählt!")});
        QVERIFY(vorschau.isEmpty());
    }
};

QTEST_MAIN(TestFrmAntragDruck)
#include "tst_frmantrag_druck.moc"

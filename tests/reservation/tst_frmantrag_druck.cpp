// The reservation form's documents and size: the booking as the form shows it goes into the
// print table and its report into the preview; the form on a small screen.
#include "AntragProjekt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>

class TestFrmAntragDruck : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    QStringList vorschau; // titles of the previews shown

private Q_SLOTS:
    void init() {
        p = std::make_unique<AntragProjekt>();
        p->modal.immer([this](QPrintPreviewDialog& d) { vorschau << d.windowTitle(); });
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

    void fitsSmallScreenAndKeepsItsSize() {
        frmAntrag form;
        form.NeuerAntragImRaum(p->raumA, Tag(0, 9));
        p->oeffne(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QSize start = form.size();
        QVERIFY2(start.height() <= 700, qPrintable(QString::number(start.height())));
        QVERIFY(start.width() <= 1300);

        // The note under the room appears without the form jumping.
        form.lbNichtverfuegbar->show();
        QCoreApplication::processEvents();
        QCOMPARE(form.size(), start);

        // Smaller works, and the fields grow with a bigger form.
        QVERIFY(form.minimumSizeHint().height() < start.height());
        const int verst = form.tfVerst->width();
        form.resize(start.width() + 200, start.height() + 100);
        QCoreApplication::processEvents();
        QVERIFY(form.tfVerst->width() > verst);
    }

    void readOnlyFormDefinesNoSeries() {
        goRecht->SetZugriff(QStringLiteral("L"));
        frmAntrag form;
        form.NeuerAntragImRaum(p->raumA, Tag(0, 9));
        p->oeffne(form);
        QVERIFY(!form.pbSerie->isEnabled() && !form.pbSave->isEnabled());
    }
};

QTEST_MAIN(TestFrmAntragDruck)
#include "tst_frmantrag_druck.moc"

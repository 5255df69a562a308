// The room-type form: names refused or stored, deleting only unused types, read-only rights.
#include "TestProjekt.h"
#include "TovoTextbox.h"
#include "frmRaumArt.h"

#include <QListWidget>
#include <QPushButton>
#include <QtTest>

namespace {
QStringList Liste(const QListWidget* lb) {
    QStringList t;
    for (int i = 0; i < lb->count(); ++i)
        t << lb->item(i)->text();
    return t;
}
QStringList InDb(TestProjekt& p) {
    QStringList t;
    CRaumartRecColl coll;
    gRvDb->ReadAllRaumartRec2Coll(&coll);
    for (int i = 1; i <= coll.Count(); ++i)
        t << coll.Item(i)->stRaumArt;
    Q_UNUSED(p);
    return t;
}
} // namespace

class TestRaumArt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void speichern_data() {
        QTest::addColumn<int>("zeile"); // -1 new, else the entry renamed
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QStringList>("danach");
        const QString dup = QStringLiteral("Es gibt bereits eine solche Raumart!");
        const QString lang = QString(500, QChar(u'ä'));
        QTest::newRow("leer") << -1 << "   "
                              << "Bezeichnung eingeben!" << QStringList{"Seminar", "Büro"};
        QTest::newRow("doppelt neu") << -1 << "seminar" << dup << QStringList{"Seminar", "Büro"};
        QTest::newRow("doppelt umbenannt")
            << 1 << "Seminar" << dup << QStringList{"Seminar", "Büro"};
        QTest::newRow("eigener Name") << 1 << "Büro" << QString() << QStringList{"Seminar", "Büro"};
        QTest::newRow("umbenannt")
            << 0 << "Schulung 🎓" << QString() << QStringList{"Schulung 🎓", "Büro"};
        QTest::newRow("500 Zeichen")
            << -1 << lang << QString() << QStringList{"Seminar", "Büro", lang};
    }
    void speichern() {
        QFETCH(int, zeile);
        QFETCH(QString, name);
        QFETCH(QString, meldung);
        QFETCH(QStringList, danach);
        TestProjekt p;
        p.raumart("Seminar");
        p.raumart("Büro");
        frmRaumArt form;
        form.Form_Activate();
        if (zeile < 0)
            form.pbNeu->click();
        else
            form.lbRaumArt->setCurrentRow(zeile);
        form.edRaumArt->setText(name);
        form.pbSave->click();
        QCOMPARE(p.texte().join("|"), meldung);
        QCOMPARE(Liste(form.lbRaumArt), danach);
        QCOMPARE(InDb(p), danach);
        QCOMPARE(form.f_bChange, meldung.isEmpty());
    }

    void loeschen_data() {
        QTest::addColumn<bool>("belegt");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QStringList>("danach");
        QTest::newRow("benutzt") << true << int(PromptResult::Yes)
                                 << QStringList{"Seminar", "Büro"};
        QTest::newRow("Nein") << false << int(PromptResult::No) << QStringList{"Seminar", "Büro"};
        QTest::newRow("frei") << false << int(PromptResult::Yes) << QStringList{"Seminar"};
    }
    void loeschen() {
        QFETCH(bool, belegt);
        QFETCH(int, antwort);
        QFETCH(QStringList, danach);
        TestProjekt p;
        p.raumart("Seminar");
        const int32_t buero = p.raumart("Büro");
        if (belegt)
            p.raum("Raum 1", buero);
        frmRaumArt form;
        form.Form_Activate();
        form.lbRaumArt->setCurrentRow(1);
        p.prompt.answer(PromptResult(antwort));
        form.pbDel->click();
        QCOMPARE(p.prompt.shown.first().title, QStringLiteral("Löschen"));
        if (belegt)
            QCOMPARE(p.prompt.last().text,
                     QStringLiteral("Die Raumart kann nicht gelöscht "
                                    "werden! Es existieren Räume dieser Art!"));
        QCOMPARE(Liste(form.lbRaumArt), danach);
        QCOMPARE(InDb(p), danach);
    }

    void nurLesen() {
        TestProjekt p;
        p.raumart("Seminar");
        goRecht->SetZugriff("L");
        frmRaumArt form;
        form.Form_Activate();
        QVERIFY(!form.pbNeu->isEnabled() && !form.pbSave->isEnabled() && !form.pbDel->isEnabled());
        form.edRaumArt->setText("Anders");
        form.pbSave_Click();
        QCOMPARE(InDb(p), QStringList{"Seminar"});
    }
};

QTEST_MAIN(TestRaumArt)
#include "tst_raumart.moc"

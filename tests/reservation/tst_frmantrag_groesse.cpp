// The reservation form on a small screen: its default size, a size that stays when the
// availability note appears, growing fields, and read-only access.
#include "AntragProjekt.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

class TestFrmAntragGroesse : public QObject {
    Q_OBJECT

    std::unique_ptr<AntragProjekt> p;
    std::unique_ptr<frmAntrag> form;

private Q_SLOTS:
    void init() {
        p = std::make_unique<AntragProjekt>();
        QVERIFY(p->ok);
        form = std::make_unique<frmAntrag>();
    }
    void cleanup() {
        form.reset();
        p.reset();
    }

    void fitsSmallScreenAndKeepsItsSize() {
        form->NeuerAntragImRaum(p->raumA, Tag(0, 9));
        p->oeffne(*form);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        const QSize start = form->size();
        QVERIFY2(start.height() <= 700, qPrintable(QString::number(start.height())));
        QVERIFY(start.width() <= 1300);

        // The note under the room appears without the form jumping.
        form->lbNichtverfuegbar->show();
        QCoreApplication::processEvents();
        QCOMPARE(form->size(), start);

        // Smaller works, and the fields grow with a bigger form.
        QVERIFY(form->minimumSizeHint().height() < start.height());
        const int verst = form->tfVerst->width();
        form->resize(start.width() + 200, start.height() + 100);
        QCoreApplication::processEvents();
        QVERIFY(form->tfVerst->width() > verst);
    }

    void readOnlyFormDefinesNoSeries() {
        goRecht->SetZugriff(QStringLiteral("L"));
        form->NeuerAntragImRaum(p->raumA, Tag(0, 9));
        p->oeffne(*form);
        QVERIFY(!form->pbSerie->isEnabled() && !form->pbSave->isEnabled());
    }
};

QTEST_MAIN(TestFrmAntragGroesse)
#include "tst_frmantrag_groesse.moc"

#include "frmKalender.h"

#include "DatumsFeld.h"
#include "ErrorGuard.h"
#include "TovoDate.h"

#include <QCalendarWidget>
#include <QVBoxLayout>

frmKalender::frmKalender(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Kalender"));
    setModal(true);
    Kalender = new QCalendarWidget(this);
    Kalender->setObjectName(QStringLiteral("Kalender"));
    Kalender->setFirstDayOfWeek(Qt::Monday);
    Kalender->setGridVisible(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Kalender);
    connect(Kalender, &QCalendarWidget::clicked, this,
            [this](const QDate& d) { Kalender_DateClick(d); });
    f_datKalender = TovoDate::today().value();
}

void frmKalender::showEvent(QShowEvent* event) {
    Form_Activate();
    QDialog::showEvent(event);
}

void frmKalender::Form_Activate() {
    Kalender->setSelectedDate(DatumsFeld::NachQDate(f_datKalender));
    setFixedSize(Kalender->sizeHint());
}

void frmKalender::Kalender_DateClick(const QDate& date) {
    RunGuarded(QStringLiteral("frmKalender.Kalender_DateClick"), [&] {
        f_datKalender = DatumsFeld::AusQDate(date);
        accept();
    });
}

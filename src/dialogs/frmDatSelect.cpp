#include "frmDatSelect.h"

#include "DatumsFeld.h"
#include "ErrorGuard.h"
#include "Prompt.h"

#include <QCalendarWidget>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmDatSelect::frmDatSelect(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Datum wählen"));
    setModal(true);
    llHinweis = new QLabel(this);
    llHinweis->setObjectName(QStringLiteral("llHinweis"));
    llHinweis->setWordWrap(true);
    llHinweis->setVisible(false);
    edReportDatum = new QLineEdit(this);
    edReportDatum->setObjectName(QStringLiteral("edReportDatum"));
    MonthView1 = new QCalendarWidget(this);
    MonthView1->setObjectName(QStringLiteral("MonthView1"));
    MonthView1->setFirstDayOfWeek(Qt::Monday);
    MonthView1->setGridVisible(true);
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* feld = new QFormLayout;
    feld->addRow(QStringLiteral("Datum:"), edReportDatum);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pbOK);
    buttons->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(llHinweis);
    layout->addLayout(feld);
    layout->addWidget(MonthView1);
    layout->addLayout(buttons);

    connect(MonthView1, &QCalendarWidget::clicked, this,
            [this](const QDate& d) { MonthView1_DateClick(d); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOk_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
    Form_Activate(TovoDate::today().value());
}

void frmDatSelect::Form_Activate(double heute) {
    RunGuarded(QStringLiteral("frmDatSelect.Form_Activate"), [&] {
        edReportDatum->setText(DatumsFeld::Text(heute));
        MonthView1->setSelectedDate(DatumsFeld::NachQDate(heute));
    });
}

void frmDatSelect::SetHinweis(const QString& text) {
    llHinweis->setText(text);
    llHinweis->setVisible(!text.isEmpty());
}

void frmDatSelect::MonthView1_DateClick(const QDate& date) {
    RunGuarded(QStringLiteral("frmDatSelect.MonthView1_DateClick"), [&] {
        edReportDatum->setText(DatumsFeld::Text(DatumsFeld::AusQDate(date)));
        pbOK->setFocus();
    });
}

void frmDatSelect::pbOk_Click() {
    RunGuarded(QStringLiteral("frmDatSelect.pbOk_Click"), [&] {
        double datum = 0;
        if (!DatumsFeld::Read(edReportDatum, datum)) {
            MsgBox(QStringLiteral("Bitte ein gültiges Datum eingeben (zum Beispiel 15.03.2026)."),
                   PromptButtons::Ok, PromptIcon::Exclamation);
            edReportDatum->setFocus();
            return;
        }
        f_datSelect = datum;
        accept();
    });
}

void frmDatSelect::pbCancel_Click() {
    RunGuarded(QStringLiteral("frmDatSelect.pbCancel_Click"), [&] {
        f_datSelect = TovoDate::kNoDate;
        reject();
    });
}

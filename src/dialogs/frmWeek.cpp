#include "frmWeek.h"

#include "DatumsFeld.h"
#include "TovoDate.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

frmWeek::frmWeek(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Woche wählen"));
    setModal(true);
    txWeek = new QLabel(this);
    txWeek->setObjectName(QStringLiteral("txWeek"));
    txWeek->setAlignment(Qt::AlignCenter);
    txWeek->setMinimumWidth(200);
    pbMinus = new QPushButton(QStringLiteral("<"), this);
    pbMinus->setObjectName(QStringLiteral("pbMinus"));
    pbMinus->setToolTip(QStringLiteral("Eine Woche zurück"));
    pbPlus = new QPushButton(QStringLiteral(">"), this);
    pbPlus->setObjectName(QStringLiteral("pbPlus"));
    pbPlus->setToolTip(QStringLiteral("Eine Woche vor"));
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* woche = new QHBoxLayout;
    woche->addWidget(pbMinus);
    woche->addWidget(txWeek, 1);
    woche->addWidget(pbPlus);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pbOK);
    buttons->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(woche);
    layout->addLayout(buttons);

    connect(pbMinus, &QPushButton::clicked, this, [this] { pbMinus_Click(); });
    connect(pbPlus, &QPushButton::clicked, this, [this] { pbPlus_Click(); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOK_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
    Form_Load(TovoDate::today().value());
}

void frmWeek::Form_Load(double heute) {
    const TovoDate tag(std::floor(heute));
    f_datVon = tag.addDays(1 - tag.weekdayMondayFirst()).value();
    f_datBis = f_datVon + 6;
    f_bOk = false;
    ZeigeWoche();
}

void frmWeek::ZeigeWoche() {
    txWeek->setText(DatumsFeld::Text(f_datVon) + QStringLiteral(" - ") +
                    DatumsFeld::Text(f_datBis));
}

void frmWeek::pbMinus_Click() {
    f_datVon -= 7;
    f_datBis -= 7;
    ZeigeWoche();
}

void frmWeek::pbPlus_Click() {
    f_datVon += 7;
    f_datBis += 7;
    ZeigeWoche();
}

void frmWeek::pbOK_Click() {
    f_bOk = true;
    accept();
}

void frmWeek::pbCancel_Click() {
    f_bOk = false;
    reject();
}

#include "frmZeitraum.h"

#include "ErrorGuard.h"
#include "Prompt.h"
#include "TovoDate.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmZeitraum::frmZeitraum(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Zeitraum wählen"));
    setModal(true);

    auto* monate = new QGroupBox(QStringLiteral("Zeitraum"), this);
    auto* raster = new QGridLayout(monate);
    Option1Group = new QButtonGroup(this);
    for (int i = 0; i <= 12; ++i) {
        const QString text = i == 0 ? QStringLiteral("Ganzes Jahr") : TovoDate::monthName(i);
        Option1[i] = new QRadioButton(text, monate);
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1Group->addButton(Option1[i], i);
        if (i == 0)
            raster->addWidget(Option1[i], 0, 0, 1, 3);
        else
            raster->addWidget(Option1[i], 1 + (i - 1) / 3, (i - 1) % 3);
    }

    edJahr = new QLineEdit(this);
    edJahr->setObjectName(QStringLiteral("edJahr"));
    edJahr->setAlignment(Qt::AlignCenter);
    edJahr->setMaxLength(4);
    Minus = new QPushButton(QStringLiteral("-"), this);
    Minus->setObjectName(QStringLiteral("Minus"));
    Minus->setToolTip(QStringLiteral("Ein Jahr zurück"));
    Plus = new QPushButton(QStringLiteral("+"), this);
    Plus->setObjectName(QStringLiteral("Plus"));
    Plus->setToolTip(QStringLiteral("Ein Jahr vor"));
    OK = new QPushButton(QStringLiteral("&OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Abbruch = new QPushButton(QStringLiteral("&Abbruch"), this);
    Abbruch->setObjectName(QStringLiteral("Abbruch"));

    auto* jahr = new QHBoxLayout;
    jahr->addWidget(Minus);
    jahr->addWidget(edJahr, 1);
    jahr->addWidget(Plus);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Abbruch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(jahr);
    layout->addWidget(monate);
    layout->addLayout(buttons);

    connect(Minus, &QPushButton::clicked, this, [this] { Minus_Click(); });
    connect(Plus, &QPushButton::clicked, this, [this] { Plus_Click(); });
    connect(OK, &QPushButton::clicked, this, [this] { OK_Click(); });
    connect(Abbruch, &QPushButton::clicked, this, [this] { abbruch_Click(); });
    Form_Load(TovoDate::today().value());
}

void frmZeitraum::Form_Load(double heute) {
    const TovoDate tag(heute);
    f_bOk = false;
    edJahr->setText(tag.format(QStringLiteral("yyyy")));
    Option1[tag.month()]->setChecked(true);
}

bool frmZeitraum::ReadJahr(int& jahr) const {
    bool ok = false;
    jahr = edJahr->text().trimmed().toInt(&ok);
    return ok && jahr >= 100 && jahr <= 9999;
}

void frmZeitraum::Minus_Click() {
    int jahr = 0;
    if (ReadJahr(jahr) && jahr > 100)
        edJahr->setText(QString::number(jahr - 1));
}

void frmZeitraum::Plus_Click() {
    int jahr = 0;
    if (ReadJahr(jahr) && jahr < 9999)
        edJahr->setText(QString::number(jahr + 1));
}

void frmZeitraum::OK_Click() {
    RunGuarded(QStringLiteral("frmZeitraum.OK_Click"), [&] {
        int jahr = 0;
        if (!ReadJahr(jahr)) {
            MsgBox(QStringLiteral("Bitte ein gültiges Jahr eingeben (zum Beispiel 2026)."),
                   PromptButtons::Ok, PromptIcon::Exclamation);
            edJahr->setFocus();
            return;
        }
        const int monat = qMax(0, Option1Group->checkedId());
        f_iJahr = jahr;
        f_iMonat = monat;
        f_stReport = monat == 0
                         ? edJahr->text().trimmed()
                         : TovoDate::monthName(monat) + QLatin1Char(' ') + QString::number(jahr);
        f_bOk = true;
        accept();
    });
}

void frmZeitraum::abbruch_Click() {
    RunGuarded(QStringLiteral("frmZeitraum.abbruch_Click"), [&] {
        f_bOk = false;
        reject();
    });
}

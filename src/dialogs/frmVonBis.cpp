#include "frmVonBis.h"

#include "DatumsFeld.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "Prompt.h"
#include "TovoDate.h"
#include "frmKalender.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmVonBis::frmVonBis(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Zeitraum wählen"));
    setModal(true);
    const auto feld = [this](const char* name) {
        auto* ed = new QLineEdit(this);
        ed->setObjectName(QLatin1String(name));
        return ed;
    };
    const auto kalenderKnopf = [this](const char* name) {
        auto* pb = new QPushButton(QStringLiteral("..."), this);
        pb->setObjectName(QLatin1String(name));
        pb->setToolTip(QStringLiteral("Datum im Kalender wählen"));
        return pb;
    };
    edVonDatum = feld("edVonDatum");
    edBisDatum = feld("edBisDatum");
    pbVonDatum = kalenderKnopf("pbVonDatum");
    pbBisDatum = kalenderKnopf("pbBisDatum");
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* raster = new QGridLayout;
    raster->addWidget(new QLabel(QStringLiteral("Von:"), this), 0, 0);
    raster->addWidget(edVonDatum, 0, 1);
    raster->addWidget(pbVonDatum, 0, 2);
    raster->addWidget(new QLabel(QStringLiteral("Bis:"), this), 1, 0);
    raster->addWidget(edBisDatum, 1, 1);
    raster->addWidget(pbBisDatum, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pbOK);
    buttons->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(raster);
    layout->addLayout(buttons);

    connect(edVonDatum, &QLineEdit::textChanged, this, [this] { edVonDatum_Change(); });
    connect(edBisDatum, &QLineEdit::textChanged, this, [this] { edBisDatum_Change(); });
    connect(pbVonDatum, &QPushButton::clicked, this, [this] { pbVonDatum_Click(); });
    connect(pbBisDatum, &QPushButton::clicked, this, [this] { pbBisDatum_Click(); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOk_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
    Form_Load(TovoDate::today().value());
}

void frmVonBis::Form_Load(double heute) {
    RunGuarded(QStringLiteral("frmVonBis.Form_Load"), [&] {
        const TovoDate tag(heute);
        const TovoDate erster = TovoDate::fromParts(tag.year(), tag.month(), 1);
        f_bOk = false;
        f_datVon = erster.value();
        f_datBis = erster.addMonths(1).value() - 1;
        edVonDatum->setText(DatumsFeld::Text(f_datVon));
        edBisDatum->setText(DatumsFeld::Text(f_datBis));
    });
}

void frmVonBis::PruefeOK() {
    pbOK->setEnabled(!edVonDatum->text().trimmed().isEmpty() &&
                     !edBisDatum->text().trimmed().isEmpty());
}

void frmVonBis::edVonDatum_Change() {
    RunGuarded(QStringLiteral("frmVonBis.edVonDatum_Change"), [&] { PruefeOK(); });
}

void frmVonBis::edBisDatum_Change() {
    RunGuarded(QStringLiteral("frmVonBis.edBisDatum_Change"), [&] { PruefeOK(); });
}

void frmVonBis::WaehleDatum(QLineEdit* feld, QPushButton* knopf) {
    frmKalender kalender(this);
    double datum = 0;
    if (DatumsFeld::Read(feld, datum))
        kalender.f_datKalender = datum;
    kalender.move(knopf->mapToGlobal(QPoint(0, knopf->height())));
    if (ZeigeModal(kalender) == QDialog::Accepted)
        feld->setText(DatumsFeld::Text(kalender.f_datKalender));
}

void frmVonBis::pbVonDatum_Click() {
    RunGuarded(QStringLiteral("frmVonBis.pbVonDatum_Click"),
               [&] { WaehleDatum(edVonDatum, pbVonDatum); });
}

void frmVonBis::pbBisDatum_Click() {
    RunGuarded(QStringLiteral("frmVonBis.pbBisDatum_Click"),
               [&] { WaehleDatum(edBisDatum, pbBisDatum); });
}

void frmVonBis::pbOk_Click() {
    RunGuarded(QStringLiteral("frmVonBis.pbOk_Click"), [&] {
        double von = 0;
        double bis = 0;
        QLineEdit* falsch = !DatumsFeld::Read(edVonDatum, von)   ? edVonDatum
                            : !DatumsFeld::Read(edBisDatum, bis) ? edBisDatum
                                                                 : nullptr;
        if (falsch) {
            MsgBox(QStringLiteral("Bitte ein gültiges Datum eingeben (zum Beispiel 15.03.2026)."),
                   PromptButtons::Ok, PromptIcon::Exclamation);
            falsch->setFocus();
            return;
        }
        if (von > bis) {
            MsgBox(QStringLiteral("Das Von-Datum liegt nach dem Bis-Datum."), PromptButtons::Ok,
                   PromptIcon::Exclamation);
            edBisDatum->setFocus();
            return;
        }
        f_datVon = von;
        f_datBis = bis;
        f_bOk = true;
        accept();
    });
}

void frmVonBis::pbCancel_Click() {
    RunGuarded(QStringLiteral("frmVonBis.pbCancel_Click"), [&] {
        f_bOk = false;
        reject();
    });
}

#include "frmTextAnzeige.h"

#include "ModalDialog.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

frmTextAnzeige::frmTextAnzeige(const QString& titel, const QString& text, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(titel);
    edText = new QPlainTextEdit(this);
    edText->setObjectName(QStringLiteral("edText"));
    edText->setReadOnly(true);
    edText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edText->setPlainText(text);
    pbDrucken = new QPushButton(QStringLiteral("&Drucken …"), this);
    pbDrucken->setObjectName(QStringLiteral("pbDrucken"));
    pbSchliessen = new QPushButton(QStringLiteral("&Schließen"), this);
    pbSchliessen->setObjectName(QStringLiteral("pbSchliessen"));
    pbSchliessen->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(pbDrucken);
    knoepfe->addWidget(pbSchliessen);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edText);
    layout->addLayout(knoepfe);
    resize(560, 560);

    connect(pbDrucken, &QPushButton::clicked, this, [this] { pbDrucken_Click(); });
    connect(pbSchliessen, &QPushButton::clicked, this, &QDialog::accept);
}

void frmTextAnzeige::pbDrucken_Click() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (ZeigeModal(dialog) == QDialog::Accepted)
        edText->print(&printer);
}

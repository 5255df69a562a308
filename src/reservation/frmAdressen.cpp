#include "frmAdressen.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

frmAdressen::frmAdressen(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAdressen"));
    setWindowTitle(QStringLiteral("Adresse suchen"));
    auto* v = new QVBoxLayout(this);
    auto* zeile = new QHBoxLayout;
    zeile->addWidget(new QLabel(QStringLiteral("Suchen:")));
    edSuche = new QLineEdit;
    edSuche->setObjectName(QStringLiteral("edSuche"));
    edSuche->setClearButtonEnabled(true);
    zeile->addWidget(edSuche, 1);
    v->addLayout(zeile);

    lvAdressen = new QTreeWidget;
    lvAdressen->setObjectName(QStringLiteral("lvAdressen"));
    lvAdressen->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("E-Mail"), QStringLiteral("Herkunft")});
    lvAdressen->setRootIsDecorated(false);
    lvAdressen->setAllColumnsShowFocus(true);
    lvAdressen->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvAdressen->header()->setStretchLastSection(true);
    v->addWidget(lvAdressen, 1);

    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    knoepfe->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Übernehmen"));
    knoepfe->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Abbrechen"));
    v->addWidget(knoepfe);
    resize(640, 380);

    connect(edSuche, &QLineEdit::textChanged, this, &frmAdressen::Filtern);
    connect(knoepfe, &QDialogButtonBox::accepted, this, &frmAdressen::pbOk_Click);
    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lvAdressen, &QTreeWidget::itemDoubleClicked, this, &frmAdressen::pbOk_Click);
}

void frmAdressen::Setze(const QVector<MailText::AdressEintrag>& buch, const QString& suche) {
    lvAdressen->clear();
    for (const MailText::AdressEintrag& e : buch)
        new QTreeWidgetItem(lvAdressen, {e.name, e.adresse, e.herkunft});
    edSuche->setText(suche);
    Filtern(suche);
    // A search that finds nothing shows everything rather than an empty list.
    if (!lvAdressen->currentItem() && !suche.isEmpty())
        edSuche->clear();
}

void frmAdressen::Filtern(const QString& text) {
    const QString suche = text.trimmed();
    QTreeWidgetItem* erster = nullptr;
    for (int i = 0; i < lvAdressen->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = lvAdressen->topLevelItem(i);
        const bool passt = suche.isEmpty() || item->text(0).contains(suche, Qt::CaseInsensitive) ||
                           item->text(1).contains(suche, Qt::CaseInsensitive);
        item->setHidden(!passt);
        if (passt && !erster)
            erster = item;
    }
    lvAdressen->setCurrentItem(erster);
}

void frmAdressen::pbOk_Click() {
    const QTreeWidgetItem* item = lvAdressen->currentItem();
    if (!item || item->isHidden())
        return;
    f_stAdresse = item->text(1);
    accept();
}

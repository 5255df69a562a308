#include "frmGebStruSel.h"

#include "ErrorGuard.h"
#include "GebDb.h"
#include "RaumMaske.h"

#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kEbeneRaum = 4;
const QString kAnlegenHinweis =
    QStringLiteral(" Sie wird unter „Bearbeiten → Stammdaten → Gebäudestruktur“ angelegt.");

} // namespace

frmGebStruSel::frmGebStruSel(CGebDb* gebStru, const QString& stFormat, QWidget* parent)
    : QDialog(parent), m_geb(gebStru), m_format(stFormat) {
    setObjectName(QStringLiteral("frmGebStruSel"));
    setWindowTitle(QStringLiteral("Raum aus der Gebäudestruktur wählen"));
    setModal(true);
    setSizeGripEnabled(true);

    tvGebstru = new QTreeWidget(this);
    tvGebstru->setObjectName(QStringLiteral("tvGebstru"));
    llHinweis = new QLabel(this);
    llHinweis->setObjectName(QStringLiteral("llHinweis"));
    llHinweis->setWordWrap(true);
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbOK->setEnabled(false);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(llHinweis, 1);
    knoepfe->addWidget(pbOK);
    knoepfe->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tvGebstru, 1);
    layout->addLayout(knoepfe);
    resize(480, 520);

    connect(tvGebstru, &QTreeWidget::currentItemChanged, this, [this] { tvGebstru_NodeClick(); });
    connect(tvGebstru, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (pbOK->isEnabled())
            pbOK_Click();
    });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOK_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
    Fuelle();
}

void frmGebStruSel::Fuelle() {
    RunGuarded(QStringLiteral("frmGebStruSel.Form_Load"), [&] {
        BaumFuellen(tvGebstru, {});
        if (!m_geb || !m_geb->IsOpen()) {
            llHinweis->setText(QStringLiteral("Keine Gebäudestruktur vorhanden.") +
                               kAnlegenHinweis);
            return;
        }
        const QVector<GebNode> alle = m_geb->AllNodes();
        BaumFuellen(tvGebstru, alle);
        llHinweis->setText(alle.isEmpty()
                               ? QStringLiteral("Die Gebäudestruktur ist leer.") + kAnlegenHinweis
                               : QStringLiteral("Bitte einen Raum wählen."));
    });
}

void frmGebStruSel::BaumFuellen(QTreeWidget* baum, const QVector<GebNode>& alle) {
    baum->clear();
    baum->setHeaderLabels({QStringLiteral("Gebäudestruktur"), QStringLiteral("Art")});
    baum->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    baum->header()->setStretchLastSection(false);
    QHash<int32_t, QTreeWidgetItem*> items;
    for (const GebNode& n : alle) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, n.stBez.isEmpty() ? n.stNr : n.stNr + QStringLiteral("  ") + n.stBez);
        item->setText(1, GebEbenenName(n.iEbene));
        item->setData(0, kRolleId, n.lId);
        item->setData(0, kRolleEbene, n.iEbene);
        item->setData(0, kRolleNr, n.stNr);
        item->setData(0, kRolleBez, n.stBez);
        items.insert(n.lId, item);
    }
    for (const GebNode& n : alle) {
        QTreeWidgetItem* eltern = items.value(n.lParentId);
        if (eltern && n.lParentId != n.lId)
            eltern->addChild(items.value(n.lId));
        else
            baum->addTopLevelItem(items.value(n.lId));
    }
    baum->expandAll();
}

int32_t frmGebStruSel::GewaehlterRaum() const {
    const QTreeWidgetItem* item = tvGebstru->currentItem();
    if (!item || item->data(0, kRolleEbene).toInt() != kEbeneRaum)
        return 0;
    return item->data(0, kRolleId).toInt();
}

bool frmGebStruSel::WaehleKnoten(int32_t id) {
    QTreeWidgetItemIterator it(tvGebstru);
    for (; *it; ++it)
        if ((*it)->data(0, kRolleId).toInt() == id) {
            tvGebstru->setCurrentItem(*it);
            return true;
        }
    return false;
}

void frmGebStruSel::tvGebstru_NodeClick() {
    pbOK->setEnabled(GewaehlterRaum() != 0);
}

void frmGebStruSel::pbOK_Click() {
    RunGuarded(QStringLiteral("frmGebStruSel.pbOK_Click"), [&] {
        const int32_t raum = GewaehlterRaum();
        if (raum == 0 || !m_geb)
            return;
        f_lRaumId = raum;
        f_stRaumNr = RaumMaske::GetRaumNrFormat(*m_geb, raum, m_format);
        accept();
    });
}

void frmGebStruSel::pbCancel_Click() {
    f_lRaumId = 0;
    f_stRaumNr.clear();
    reject();
}

#include "frmKonflikte.h"

#include "TovoDate.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString Zeit(double von, double bis) {
    const TovoDate v(von), b(bis);
    const QString anfang = v.format(QStringLiteral("dd.MM.yyyy HH:mm"));
    if (v.datePart() == b.datePart())
        return anfang + QStringLiteral("–") + b.format(QStringLiteral("HH:mm"));
    return anfang + QStringLiteral(" – ") + b.format(QStringLiteral("dd.MM.yyyy HH:mm"));
}

QString Beschreibung(const ZeitPlanKonflikte::Belegung& b, const ZeitPlanTerminListe& termine,
                     const QHash<int64_t, QString>& namen) {
    QString name =
        b.balken >= 0 && b.balken < termine.size() ? termine[b.balken].stName.trimmed() : QString();
    name = namen.value(b.lId, name);
    const double von = b.balken >= 0 && b.balken < termine.size() ? termine[b.balken].DtVon : b.von;
    const double bis = b.balken >= 0 && b.balken < termine.size() ? termine[b.balken].DtBis : b.bis;
    return Zeit(von, bis) + QStringLiteral("  ") + name;
}
} // namespace

frmKonflikte::frmKonflikte(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmKonflikte"));
    setWindowTitle(QStringLiteral("Konflikte"));
    setModal(true);

    auto* hinweis = new QLabel(QStringLiteral(
        "Diese Belegungen überschneiden sich im angezeigten Zeitraum. Ein Doppelklick zeigt sie "
        "im Plan."));
    hinweis->setWordWrap(true);
    lvKonflikte = new QTreeWidget;
    lvKonflikte->setObjectName(QStringLiteral("lvKonflikte"));
    lvKonflikte->setRootIsDecorated(false);
    lvKonflikte->setAlternatingRowColors(true);
    lvKonflikte->setHeaderLabels({QStringLiteral("Raum"), QStringLiteral("Belegung"),
                                  QStringLiteral("überschneidet sich mit")});
    auto* knoepfe = new QDialogButtonBox(QDialogButtonBox::Close);
    knoepfe->button(QDialogButtonBox::Close)->setText(QStringLiteral("S&chließen"));

    auto* v = new QVBoxLayout(this);
    v->addWidget(hinweis);
    v->addWidget(lvKonflikte, 1);
    v->addWidget(knoepfe);

    connect(knoepfe, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(lvKonflikte, &QTreeWidget::itemActivated, this, [this] { lvKonflikte_DblClick(); });
    resize(900, 360);
}

void frmKonflikte::Laden(const QVector<ZeitPlanKonflikte::Paar>& paare,
                         const ZeitPlanRaumListe& raeume, const ZeitPlanTerminListe& termine,
                         const QHash<int64_t, QString>& namen) {
    lvKonflikte->clear();
    for (int i = 0; i < paare.size(); ++i) {
        const auto& paar = paare[i];
        QString raum;
        for (const ZeitPlanRaum& r : raeume)
            if (r.lId == paar.erste.raumId)
                raum = r.stName;
        auto* item = new QTreeWidgetItem({raum, Beschreibung(paar.erste, termine, namen),
                                          Beschreibung(paar.zweite, termine, namen)});
        item->setData(0, Qt::UserRole, i);
        lvKonflikte->addTopLevelItem(item);
    }
    int breite = 0;
    for (int c = 0; c < 3; ++c) {
        lvKonflikte->resizeColumnToContents(c);
        breite += lvKonflikte->columnWidth(c);
    }
    // As wide as the lines, as far as the screen allows.
    const QRect bildschirm = screen() ? screen()->availableGeometry() : QRect(0, 0, 1366, 768);
    resize(std::clamp(breite + 60, 600, bildschirm.width() - 60), height());
    if (lvKonflikte->topLevelItemCount() > 0)
        lvKonflikte->setCurrentItem(lvKonflikte->topLevelItem(0));
}

void frmKonflikte::lvKonflikte_DblClick() {
    QTreeWidgetItem* item = lvKonflikte->currentItem();
    if (!item)
        return;
    m_gewaehlt = item->data(0, Qt::UserRole).toInt();
    accept();
}

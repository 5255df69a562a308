#include "frmPersonWahl.h"

#include "ErrorGuard.h"
#include "StammdatenDb.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmPersonWahl::frmPersonWahl(CStammdatenDb* db, QWidget* parent) : QDialog(parent), m_db(db) {
    setObjectName(QStringLiteral("frmPersonWahl"));
    setWindowTitle(QStringLiteral("Person aus den Stammdaten wählen"));
    setModal(true);
    setSizeGripEnabled(true);
    edSuche = new QLineEdit(this);
    edSuche->setObjectName(QStringLiteral("edSuche"));
    edSuche->setPlaceholderText(QStringLiteral("Suchen nach Name, Vorname oder Firma"));
    edSuche->setClearButtonEnabled(true);
    lbPersonen = new QListWidget(this);
    lbPersonen->setObjectName(QStringLiteral("lbPersonen"));
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(pbOK);
    knoepfe->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edSuche);
    layout->addWidget(lbPersonen, 1);
    layout->addLayout(knoepfe);
    resize(440, 480);

    RunGuarded(QStringLiteral("frmPersonWahl.Form_Load"), [&] {
        if (!m_db || !m_db->IsOpen()) {
            lbPersonen->addItem(QStringLiteral("(Keine Stammdaten vorhanden)"));
            lbPersonen->item(0)->setFlags(Qt::NoItemFlags);
            return;
        }
        QHash<int32_t, QString> firmen;
        for (const Firma& f : m_db->Firmen())
            firmen.insert(f.lId, f.stName);
        for (const Person& p : m_db->Personen()) {
            QString text = p.stName;
            if (!p.stVorname.isEmpty())
                text += QStringLiteral(", ") + p.stVorname;
            const QString firma = firmen.value(p.lFirmaId);
            if (!firma.isEmpty())
                text += QStringLiteral(" (") + firma + QLatin1Char(')');
            auto* item = new QListWidgetItem(text, lbPersonen);
            item->setData(Qt::UserRole, p.lId);
        }
    });

    connect(edSuche, &QLineEdit::textChanged, this, [this] { edSuche_Change(); });
    connect(lbPersonen, &QListWidget::itemDoubleClicked, this, [this] { pbOK_Click(); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOK_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmPersonWahl::edSuche_Change() {
    const QString suche = edSuche->text().trimmed();
    for (int i = 0; i < lbPersonen->count(); ++i) {
        QListWidgetItem* item = lbPersonen->item(i);
        item->setHidden(!suche.isEmpty() && !item->text().contains(suche, Qt::CaseInsensitive));
    }
}

void frmPersonWahl::pbOK_Click() {
    QListWidgetItem* item = lbPersonen->currentItem();
    const int32_t id = item && !item->isHidden() ? item->data(Qt::UserRole).toInt() : 0;
    if (id == 0)
        return;
    f_lPersonId = id;
    accept();
}

#include "frmRaumArt.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "ListControlAdapter.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "StammGrid.h"
#include "TovoTextbox.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {
const QString kSpeichern = QStringLiteral("Speichern");
const QString kLoeschen = QStringLiteral("Löschen");
} // namespace

frmRaumArt::frmRaumArt(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmRaumArt"));
    setWindowTitle(QStringLiteral("Raumarten"));
    setModal(true);
    setSizeGripEnabled(true);

    lbRaumArt = new QListWidget(this);
    lbRaumArt->setObjectName(QStringLiteral("lbRaumArt"));
    edRaumArt = new TovoTextbox(this);
    edRaumArt->setObjectName(QStringLiteral("edRaumArt"));
    pbNeu = StammGrid::Knopf(this, QStringLiteral("pbNeu"), QStringLiteral("&Neu"));
    pbSave = StammGrid::Knopf(this, QStringLiteral("pbSave"), QStringLiteral("&Speichern"));
    pbDel = StammGrid::Knopf(this, QStringLiteral("pbDel"), QStringLiteral("&Löschen"));
    pbEnde = StammGrid::Knopf(this, QStringLiteral("pbEnde"), QStringLiteral("&Ende"));

    auto* knoepfe = new QVBoxLayout;
    for (QPushButton* pb : {pbNeu, pbSave, pbDel})
        knoepfe->addWidget(pb);
    knoepfe->addStretch();
    knoepfe->addWidget(pbEnde);
    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Raumarten:"), this), 0, 0);
    layout->addWidget(lbRaumArt, 1, 0);
    layout->addLayout(knoepfe, 1, 1, 3, 1);
    layout->addWidget(new QLabel(QStringLiteral("Bezeichnung:"), this), 2, 0);
    layout->addWidget(edRaumArt, 3, 0);
    layout->setRowStretch(1, 1);
    resize(460, 420);

    connect(lbRaumArt, &QListWidget::currentRowChanged, this, [this] { lbRaumArt_Click(); });
    connect(pbNeu, &QPushButton::clicked, this, [this] { pbNeu_Click(); });
    connect(pbSave, &QPushButton::clicked, this, [this] { pbSave_Click(); });
    connect(pbDel, &QPushButton::clicked, this, [this] { pbDel_Click(); });
    connect(pbEnde, &QPushButton::clicked, this, &QDialog::accept);
    connect(new QShortcut(QKeySequence::Save, this), &QShortcut::activated, pbSave,
            &QPushButton::click);
    connect(edRaumArt, &QLineEdit::returnPressed, this, [this] { pbSave_Click(); });
    Form_Load();
}

void frmRaumArt::showEvent(QShowEvent* event) {
    if (!m_aktiviert)
        Form_Activate();
    QDialog::showEvent(event);
}

void frmRaumArt::Form_Load() {
    RunGuarded(QStringLiteral("frmRaumArt.Form_Load"), [&] {
        m_alle.Clear();
        if (!gRvDb)
            return;
        gRvDb->ReadAllRaumartRec2Coll(&m_alle);
        const QSignalBlocker block(lbRaumArt);
        ListWidgetListControl liste(lbRaumArt);
        gRvDb->ReadAllRaumartRec2Ctrl(&liste, false);
    });
}

void frmRaumArt::Form_Activate() {
    m_aktiviert = true;
    RunGuarded(QStringLiteral("frmRaumArt.Form_Activate"), [&] {
        if (NurLesen()) {
            pbNeu->setEnabled(false);
            pbSave->setEnabled(false);
            pbDel->setEnabled(false);
            edRaumArt->setReadOnly(true);
        }
        if (lbRaumArt->count() > 0)
            lbRaumArt->setCurrentRow(0);
        else if (!NurLesen())
            pbNeu_Click(); // an empty project starts with its first room type
    });
}

void frmRaumArt::lbRaumArt_Click() {
    RunGuarded(QStringLiteral("frmRaumArt.lbRaumArt_Click"), [&] {
        QListWidgetItem* item = lbRaumArt->currentItem();
        if (!item || !gRvDb)
            return;
        edRaumArt->setEnabled(true);
        m_aktuell = std::make_unique<CRaumartRec>();
        m_aktuell->lId = item->data(Qt::UserRole).toInt();
        gRvDb->ReadRaumartRec(m_aktuell.get());
        if (!m_aktuell->stRaumArt.isEmpty())
            edRaumArt->setText(m_aktuell->stRaumArt);
    });
}

void frmRaumArt::pbNeu_Click() {
    RunGuarded(QStringLiteral("frmRaumArt.pbNeu_Click"), [&] {
        m_aktuell.reset();
        {
            const QSignalBlocker block(lbRaumArt);
            lbRaumArt->setCurrentRow(-1);
        }
        edRaumArt->setEnabled(true);
        edRaumArt->clear();
        edRaumArt->setFocus();
    });
}

void frmRaumArt::pbSave_Click() {
    RunGuarded(QStringLiteral("frmRaumArt.pbSave_Click"), [&] {
        if (NurLesen() || !gRvDb)
            return;
        const QString name = edRaumArt->text();
        if (name.trimmed().isEmpty()) {
            MsgBox(QStringLiteral("Bezeichnung eingeben!"));
            edRaumArt->setFocus();
            return;
        }
        CRaumartRec gefunden;
        gefunden.stRaumArt = name;
        // The read succeeds without a row too; then the id stays 0.
        const bool gibtEs = gRvDb->ReadRaumartRecByName(&gefunden) && gefunden.lId != 0;
        if (gibtEs && (!m_aktuell || gefunden.lId != m_aktuell->lId)) {
            MsgBox(QStringLiteral("Es gibt bereits eine solche Raumart!"), PromptButtons::Ok,
                   PromptIcon::Critical, kSpeichern);
            return;
        }
        if (m_aktuell) {
            CRaumartRec neu = *m_aktuell;
            neu.stRaumArt = name;
            if (!StammGrid::Gespeichert(gRvDb->EditRaumartRec(&neu)))
                return;
            *m_aktuell = neu;
            if (QListWidgetItem* item = lbRaumArt->currentItem())
                item->setText(name);
        } else {
            auto neu = std::make_unique<CRaumartRec>();
            neu->stRaumArt = name;
            if (!StammGrid::Gespeichert(gRvDb->AddNewRaumartRec(neu.get())))
                return;
            auto* item = new QListWidgetItem(name);
            item->setData(Qt::UserRole, neu->lId);
            m_aktuell = std::move(neu);
            const QSignalBlocker block(lbRaumArt);
            lbRaumArt->addItem(item);
            lbRaumArt->setCurrentItem(item);
        }
        m_alle.Clear();
        gRvDb->ReadAllRaumartRec2Coll(&m_alle);
        f_bChange = true;
    });
}

void frmRaumArt::pbDel_Click() {
    RunGuarded(QStringLiteral("frmRaumArt.pbDel_Click"), [&] {
        if (NurLesen() || !gRvDb || !m_aktuell)
            return;
        if (!StammGrid::LoeschenBestaetigt())
            return;
        CRaumartRec rec = *m_aktuell;
        CAnzeigeRec raum;
        raum.lRaumartId = rec.lId;
        if (gRvDb->ReadRaumByArt(&raum) && raum.az_ID != 0) {
            MsgBox(QStringLiteral("Die Raumart kann nicht gelöscht werden! ") +
                       QStringLiteral("Es existieren Räume dieser Art!"),
                   PromptButtons::Ok, PromptIcon::Critical, kLoeschen);
            return;
        }
        if (!StammGrid::Geloescht(gRvDb->DelRaumartRec(rec.lId)))
            return;
        {
            const QSignalBlocker block(lbRaumArt);
            delete lbRaumArt->takeItem(lbRaumArt->currentRow());
            lbRaumArt->setCurrentRow(-1);
        }
        m_aktuell.reset();
        edRaumArt->clear();
        f_bChange = true;
    });
}

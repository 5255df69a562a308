#include "frmNetzpult.h"

#include "AntragsSperre.h"
#include "ErrorGuard.h"
#include "ModalDialog.h"
#include "NetzpultAntraege.h"
#include "NetzpultPublish.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "ToolsNetzpult.h"
#include "TovoRecht.h"
#include "TovoTools.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kIniSection = QStringLiteral("Netzpult");
const QString kIniKey = QStringLiteral("ListView");
// Designed widths of the 21 columns.
constexpr int kBreiten[21] = {70, 110, 120, 85, 60,  85,  60, 130, 130, 100, 160,
                              70, 160, 70,  80, 160, 130, 80, 85,  85,  90};
} // namespace

frmNetzpult::frmNetzpult(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNetzpult"));
    setWindowTitle(QStringLiteral("Daten vom Netzpult"));

    lvOrders = new QTreeWidget(this);
    lvOrders->setObjectName(QStringLiteral("lvOrders"));
    lvOrders->setRootIsDecorated(false);
    lvOrders->setUniformRowHeights(true);
    lvOrders->setAllColumnsShowFocus(true);
    lvOrders->setSelectionMode(QAbstractItemView::SingleSelection);
    lvOrders->setHeaderLabels(NetzpultSpaltenTitel());
    lvOrders->setMouseTracking(true);
    lvOrders->header()->setStretchLastSection(false);
    for (int i = 0; i < 21; ++i)
        lvOrders->setColumnWidth(i, kBreiten[i]);

    llHinweis = new QLabel(QStringLiteral("Antrag mit Doppelklick öffnen"), this);
    pbAkt = new QPushButton(QStringLiteral("&Aktualisieren"), this);
    pbDelete = new QPushButton(QStringLiteral("&Löschen"), this);
    pbWork = new QPushButton(QStringLiteral("&Übernehmen nach Tovo"), this);
    pbOK = new QPushButton(QStringLiteral("&Schließen"), this);
    pbAkt->setObjectName(QStringLiteral("pbAkt"));
    pbDelete->setObjectName(QStringLiteral("pbDelete"));
    pbWork->setObjectName(QStringLiteral("pbWork"));
    pbOK->setObjectName(QStringLiteral("pbOK"));

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(llHinweis);
    knoepfe->addStretch();
    for (QPushButton* b : {pbAkt, pbDelete, pbWork, pbOK}) {
        b->setAutoDefault(false);
        knoepfe->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvOrders);
    layout->addLayout(knoepfe);
    resize(1100, 480);

    connect(pbAkt, &QPushButton::clicked, this, [this] { pbAkt_Click(); });
    connect(pbDelete, &QPushButton::clicked, this, [this] { pbDelete_Click(); });
    connect(pbWork, &QPushButton::clicked, this, [this] { pbWork_Click(); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOK_Click(); });
    connect(lvOrders, &QTreeWidget::itemClicked, this, [this] { lvOrders_Click(); });
    connect(lvOrders, &QTreeWidget::itemDoubleClicked, this, [this] { lvOrders_DblClick(); });
    connect(lvOrders, &QTreeWidget::itemEntered, this,
            [this](QTreeWidgetItem* item) { lvOrders_MouseMove(item); });
}

void frmNetzpult::Oeffnen(QWidget* parent, CStammdatenDb* stammDb, const QString& client) {
    if (!ToolsNetzpult::PruefeNetzpultType())
        return;
    frmNetzpult form(parent);
    form.f_StammDb = stammDb;
    form.f_stClient = client;
    const bool geladen = RunGuarded(QStringLiteral("frmNetzpult.Form_Load"), [&] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Zurueck {
            ~Zurueck() { QApplication::restoreOverrideCursor(); }
        } zurueck;
        CNetzpultVerbindung verbindung;
        verbindung.OeffnenOderFehler();
        QString error;
        if (!NetzpultPublish::NummeriereAntraege(verbindung.db(), true, &error))
            RaiseError(error);
        form.FillList(verbindung);
    });
    if (geladen)
        ZeigeModal(form);
}

void frmNetzpult::FillList(CNetzpultVerbindung& verbindung) {
    QVector<NetzpultAntrag> antraege;
    QString error;
    if (!NetzpultAntraege::Read(verbindung.db(), antraege, &error))
        RaiseError(error);
    lvOrders->clear();
    m_antraege = antraege;
    for (const NetzpultAntrag& a : std::as_const(m_antraege)) {
        auto* item = new QTreeWidgetItem(lvOrders, a.Spalten());
        item->setData(0, Qt::UserRole, a.Schluessel());
    }
    if (lvOrders->topLevelItemCount() == 0)
        pbWork->setEnabled(false);
}

void frmNetzpult::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_aktiviert)
        Form_Activate();
}

bool frmNetzpult::DarfBearbeiten() const {
    return !goRecht || goRecht->Zugriff() == QLatin1String("S");
}

void frmNetzpult::Form_Activate() {
    m_aktiviert = true;
    RunGuarded(QStringLiteral("frmNetzpult.Form_Activate"), [&] {
        if (!DarfBearbeiten()) {
            pbDelete->setEnabled(false);
            pbWork->setEnabled(false);
        }
        // Stored widths below 60 leave the designed width.
        const QStringList breiten =
            CTovoTools::Instance()
                .ReadIniValue(gstProjektDir + kIniFileName, kIniSection, kIniKey, QString())
                .split(QLatin1Char('|'));
        for (int i = 0; i < breiten.size() && i < lvOrders->columnCount(); ++i) {
            bool ok = false;
            const int b = breiten[i].trimmed().toInt(&ok);
            if (ok && b >= 60)
                lvOrders->setColumnWidth(i, b);
        }
        if (lvOrders->topLevelItemCount() == 0)
            pbWork->setEnabled(false);
    });
}

void frmNetzpult::pbAkt_Click() {
    RunGuarded(QStringLiteral("frmNetzpult.pbAkt_Click"), [&] {
        CNetzpultVerbindung verbindung;
        verbindung.OeffnenOderFehler();
        QString error;
        if (!NetzpultPublish::NummeriereAntraege(verbindung.db(), false, &error))
            RaiseError(error);
        FillList(verbindung);
        if (lvOrders->topLevelItemCount() > 0 && DarfBearbeiten())
            pbWork->setEnabled(lvOrders->currentItem() != nullptr);
    });
}

const NetzpultAntrag* frmNetzpult::Markiert() const {
    QTreeWidgetItem* item = lvOrders->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    const int i = lvOrders->indexOfTopLevelItem(item);
    return i >= 0 && i < m_antraege.size() ? &m_antraege[i] : nullptr;
}

void frmNetzpult::ZeileEntfernen(int32_t wunschId) {
    for (int i = 0; i < m_antraege.size(); ++i) {
        if (m_antraege[i].lWunschId == wunschId) {
            delete lvOrders->takeTopLevelItem(i);
            m_antraege.removeAt(i);
            break;
        }
    }
    if (lvOrders->topLevelItemCount() == 0)
        pbWork->setEnabled(false);
}

bool frmNetzpult::LoeschenNachFrage(const NetzpultAntrag& antrag, const QString& frage) {
    if (MsgBox(frage, PromptButtons::YesNo) != PromptResult::Yes)
        return false;
    CNetzpultVerbindung verbindung;
    verbindung.OeffnenOderFehler();
    QString error;
    bool geloescht = false;
    if (!NetzpultAntraege::Loesche(verbindung.db(), antrag, geloescht, &error))
        RaiseError(error);
    // Gone either way: deleted now, or by someone else before.
    ZeileEntfernen(antrag.lWunschId);
    return geloescht;
}

void frmNetzpult::pbDelete_Click() {
    RunGuarded(QStringLiteral("frmNetzpult.pbDelete_Click"), [&] {
        const NetzpultAntrag* a = Markiert();
        if (!a)
            return;
        const NetzpultAntrag antrag = *a;
        LoeschenNachFrage(antrag,
                          QStringLiteral("Wirklich den markierten Reservierungswunsch löschen ?"));
    });
}

void frmNetzpult::pbOK_Click() {
    RunGuarded(QStringLiteral("frmNetzpult.pbOK_Click"), [&] {
        QStringList breiten;
        for (int i = 0; i < lvOrders->columnCount(); ++i)
            breiten << QString::number(lvOrders->columnWidth(i));
        CTovoTools::Instance().WriteIniValue(gstProjektDir + kIniFileName, kIniSection, kIniKey,
                                             breiten.join(QLatin1Char('|')));
    });
    accept();
}

void frmNetzpult::lvOrders_Click() {
    if (DarfBearbeiten() && lvOrders->currentItem())
        pbWork->setEnabled(true);
}

void frmNetzpult::lvOrders_DblClick() {
    if (DarfBearbeiten())
        pbWork_Click();
}

void frmNetzpult::lvOrders_MouseMove(QTreeWidgetItem* item) {
    if (!item)
        return;
    QStringList teile;
    for (int spalte : {2, 3, 4, 5, 6, 7, 8})
        teile << item->text(spalte).trimmed();
    lvOrders->setToolTip(teile.join(QLatin1Char('/')));
}

void frmNetzpult::pbWork_Click() {
    RunGuarded(QStringLiteral("frmNetzpult.pbWork_Click"), [&] {
        const NetzpultAntrag* markiert = Markiert();
        if (!markiert)
            return;
        const NetzpultAntrag zeile = *markiert;
        // Claimed before anything opens and held until the take-over is done, the request
        // deleted included: a second workstation is turned away meanwhile.
        CAntragsSperre sperre;
        if (!sperre.Beanspruchen(zeile)) {
            MsgBox(QStringLiteral("Der Antrag wird gerade an einem anderen Arbeitsplatz "
                                  "übernommen."));
            return;
        }
        // Read again under the claim: another workstation may have taken it over and deleted it,
        // or a publication renumbered it, since the list was filled.
        QString error;
        int32_t nummer = 0;
        if (!NetzpultAntraege::Finde(sperre.db(), zeile, nummer, &error))
            RaiseError(error);
        if (nummer == 0) {
            MsgBox(QStringLiteral("Der markierte Antrag ist im Netzpult nicht mehr vorhanden.") +
                   QLatin1Char('\n') + QStringLiteral("Bitte aktualisieren Sie die Liste."));
            return;
        }

        if (zeile.IstAenderung())
            AenderungUebernehmen(zeile);
        else
            NeuenAntragUebernehmen(zeile);
    });
}

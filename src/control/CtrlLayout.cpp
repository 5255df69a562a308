// Building the control's window: toolbar, menus, date controls, the time plans and the grid.
#include "TovoRaumverwCtrl.h"

#include "TovoZeitPlan.h"

#include <QAction>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QAction* addMenuEntry(QMenu* menu, QMap<int, QAction*>& map, int index, const QString& caption,
                      const QString& objectPrefix) {
    QAction* a = caption == QLatin1String("-") ? menu->addSeparator() : menu->addAction(caption);
    a->setObjectName(objectPrefix + QString::number(index));
    a->setData(index);
    map.insert(index, a);
    return a;
}
} // namespace

void TovoRaumverwCtrl::BuildToolbar() {
    MainToolbar = new QToolBar(this);
    MainToolbar->setObjectName(QStringLiteral("MainToolbar"));
    MainToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    MainToolbar->setIconSize(QSize(20, 20));

    auto add = [&](const QString& key, const QString& text, const QString& tip,
                   QStyle::StandardPixmap icon) {
        QAction* a = MainToolbar->addAction(style()->standardIcon(icon), text);
        // The button shows the icon text; set explicitly it keeps its mnemonic.
        a->setIconText(text);
        a->setObjectName(key);
        a->setToolTip(tip);
        MainToolbarButtons.insert(key, a);
        return a;
    };
    add(QStringLiteral("New"), QStringLiteral("&Neu"), QStringLiteral("Neuer Antrag"),
        QStyle::SP_FileIcon);
    QAction* anzeige = add(QStringLiteral("Anzeige"), QStringLiteral("An&zeige"),
                           QStringLiteral("Ansicht ändern"), QStyle::SP_FileDialogDetailedView);
    auto* anzeigeMenu = new QMenu(this);
    for (auto [key, text] :
         {std::pair{QStringLiteral("Graf"), QStringLiteral("&Grafisch")},
          std::pair{QStringLiteral("GrafInfo"), QStringLiteral("Graf mit &Rauminfo")},
          std::pair{QStringLiteral("Tab"), QStringLiteral("&Tabellarisch")}}) {
        QAction* a = anzeigeMenu->addAction(text);
        a->setObjectName(key);
        a->setCheckable(true);
        AnzeigeButtonMenus.insert(key, a);
    }
    AnzeigeButtonMenus.value(QStringLiteral("Graf"))->setChecked(true);
    anzeige->setMenu(anzeigeMenu);
    if (auto* b = qobject_cast<QToolButton*>(MainToolbar->widgetForAction(anzeige)))
        b->setPopupMode(QToolButton::MenuButtonPopup);
    add(QStringLiteral("Intranet"), QStringLiteral("Netz&pult"), QStringLiteral("Netzpult updaten"),
        QStyle::SP_BrowserReload);
    add(QStringLiteral("Aktuell"), QStringLiteral("A&ktuell"),
        QStringLiteral("Aktueller Zeitraum: 'Heute' ist in der Mitte"),
        QStyle::SP_DialogApplyButton);
    add(QStringLiteral("Standard"), QStringLiteral("St&andard"),
        QStringLiteral("Standardansicht: Montag bzw,1. bzw. Januar links"), QStyle::SP_ArrowLeft);
}

void TovoRaumverwCtrl::BuildMenus() {
    m_mnuBearbeitenMenu = new QMenu(QStringLiteral("&Bearbeiten"), this);
    m_mnuBearbeitenMenu->setObjectName(QStringLiteral("mnuBearbeitenMenu"));
    const std::pair<int, const char*> bearbeiten[] = {{2, "&Rückgängig"},
                                                      {3, "-"},
                                                      {5, "Raumar&ten"},
                                                      {10, "Ra&umdaten"},
                                                      {20, "&Mitarbeiter"},
                                                      {25, "-"},
                                                      {30, "&Antrag"},
                                                      {31, "e&xterne Anträge"},
                                                      {32, "&Netzpult updaten"},
                                                      {35, "-"},
                                                      {40, "Archi&vierungsdatum ändern"},
                                                      {50, "&Wiederherstellen"},
                                                      {55, "-"},
                                                      {60, "Au&ftragnummer"},
                                                      {65, "-"},
                                                      {70, "Modul &schließen"}};
    for (auto [index, caption] : bearbeiten)
        addMenuEntry(m_mnuBearbeitenMenu, mnuBearbeiten, index, QString::fromUtf8(caption),
                     QStringLiteral("mnuBearbeiten_"));
    // The suite's master data that the rooms and the form draw on.
    auto* stamm = new QMenu(QStringLiteral("Stamm&daten"), m_mnuBearbeitenMenu);
    stamm->setObjectName(QStringLiteral("mnuStammdatenMenu"));
    addMenuEntry(stamm, mnuBearbeiten, 22, QStringLiteral("&Gebäudestruktur…"),
                 QStringLiteral("mnuBearbeiten_"));
    addMenuEntry(stamm, mnuBearbeiten, 23, QStringLiteral("&Firmen und Personen…"),
                 QStringLiteral("mnuBearbeiten_"));
    m_mnuBearbeitenMenu->insertMenu(mnuBearbeiten.value(25), stamm);

    m_mnuReportMenu = new QMenu(QStringLiteral("Aus&wertungen"), this);
    m_mnuReportMenu->setObjectName(QStringLiteral("mnuReportMenu"));
    const std::pair<int, const char*> reports[] = {
        {5, "&Report von...bis"},           {10, "&Wochenübersicht"},
        {20, "&Monats-/Jahressübersicht"},  {30, "&Kostenübersicht"},
        {40, "Übersicht &Auslastung"},      {200, "Tagesübersicht nach &Zeit"},
        {300, "Tagesübersicht raumw&eise"}, {400, "Tagesübersicht nach Raumar&ten"}};
    for (auto [index, caption] : reports)
        addMenuEntry(m_mnuReportMenu, mnuReport, index, QString::fromUtf8(caption),
                     QStringLiteral("mnuReport_"));

    m_mnuAnsichtMenu = new QMenu(QStringLiteral("&Darstellung"), this);
    m_mnuAnsichtMenu->setObjectName(QStringLiteral("mnuAnsichtMenu"));
    const std::pair<int, const char*> ansicht[] = {
        {10, "&Grafisch"}, {15, "Grafisch mit &Rauminfo"}, {20, "&Tabellarisch"}};
    for (auto [index, caption] : ansicht)
        addMenuEntry(m_mnuAnsichtMenu, mnuAnsicht, index, QString::fromUtf8(caption),
                     QStringLiteral("mnuAnsicht_"))
            ->setCheckable(true);
    mnuAnsicht.value(10)->setChecked(true);
    m_mnuAnsichtMenu->addSeparator();
    addMenuEntry(m_mnuAnsichtMenu, mnuAnsicht, 30, QStringLiteral("&Konflikte anzeigen"),
                 QStringLiteral("mnuAnsicht_"));
}

void TovoRaumverwCtrl::BuildWidgets() {
    BuildToolbar();
    BuildMenus();

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    root->addWidget(MainToolbar);

    FramePict = new QScrollArea(this);
    FramePict->setObjectName(QStringLiteral("FramePict"));
    FramePict->setWidgetResizable(true);
    FramePict->setFrameShape(QFrame::NoFrame);
    root->addWidget(FramePict, 1);

    CtrlPict = new QWidget;
    CtrlPict->setObjectName(QStringLiteral("CtrlPict"));
    CtrlPict->setMinimumSize(900, 360);
    FramePict->setWidget(CtrlPict);
    auto* inner = new QVBoxLayout(CtrlPict);
    inner->setContentsMargins(6, 6, 6, 6);

    // First row: room-type filter, period, steps and dates.
    auto* bar = new QHBoxLayout;
    inner->addLayout(bar);
    auto* raumartLabel = new QLabel(QStringLiteral("&Raumart:"), CtrlPict);
    coRaumart = new QComboBox(CtrlPict);
    coRaumart->setObjectName(QStringLiteral("coRaumart"));
    coRaumart->setMinimumContentsLength(18);
    raumartLabel->setBuddy(coRaumart);
    bar->addWidget(raumartLabel);
    bar->addWidget(coRaumart);

    frZeitraum = new QGroupBox(CtrlPict);
    frZeitraum->setObjectName(QStringLiteral("frZeitraum"));
    auto* zr = new QHBoxLayout(frZeitraum);
    zr->setContentsMargins(6, 2, 6, 2);
    opZeitraumGroup = new QButtonGroup(this);
    const char* zeitraum[] = {"Ta&g", "W&oche", "&Monat", "&Jahr"};
    for (int i = 0; i < 4; ++i) {
        opZeitraum[i] = new QRadioButton(QString::fromUtf8(zeitraum[i]), frZeitraum);
        opZeitraum[i]->setObjectName(QStringLiteral("opZeitraum_%1").arg(i));
        opZeitraumGroup->addButton(opZeitraum[i], i);
        zr->addWidget(opZeitraum[i]);
    }
    opZeitraum[1]->setChecked(true);
    bar->addWidget(frZeitraum);

    const char* schritte[] = {"<<<", "<", ">", ">>>"};
    for (int i = 0; i < 4; ++i) {
        btZeit[i] = new QPushButton(QString::fromUtf8(schritte[i]), CtrlPict);
        btZeit[i]->setObjectName(QStringLiteral("btZeit_%1").arg(i));
        btZeit[i]->setMaximumWidth(44);
        bar->addWidget(btZeit[i]);
    }

    auto makeDateEdit = [&](const QString& name) {
        auto* e = new QLineEdit(CtrlPict);
        e->setObjectName(name);
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000")) + 16);
        return e;
    };
    auto makeDateButton = [&](int index) {
        auto* b = new QToolButton(CtrlPict);
        b->setObjectName(QStringLiteral("pbDatum_%1").arg(index));
        b->setText(QStringLiteral("…"));
        b->setToolTip(QStringLiteral("Kalender"));
        pbDatum[index] = b;
        return b;
    };
    edStartDatum = makeDateEdit(QStringLiteral("edStartDatum"));
    edEndDatum = makeDateEdit(QStringLiteral("edEndDatum"));
    edEndDatum->setReadOnly(true);
    llVon = new QLabel(CtrlPict);
    llVon->setObjectName(QStringLiteral("llVon"));
    llBis = new QLabel(CtrlPict);
    llBis->setObjectName(QStringLiteral("llBis"));
    llBisText = new QLabel(QStringLiteral("bis"), CtrlPict);
    bar->addSpacing(8);
    bar->addWidget(edStartDatum);
    bar->addWidget(makeDateButton(1));
    bar->addWidget(llVon);
    bar->addWidget(llBisText);
    bar->addWidget(edEndDatum);
    bar->addWidget(llBis);

    // Day controls of the table view.
    btDatL = new QPushButton(QStringLiteral("<"), CtrlPict);
    btDatL->setObjectName(QStringLiteral("btDatL"));
    btDatL->setToolTip(QStringLiteral("ein Tag zurück"));
    btDatL->setMaximumWidth(32);
    edAktDatum = makeDateEdit(QStringLiteral("edAktDatum"));
    btDatR = new QPushButton(QStringLiteral(">"), CtrlPict);
    btDatR->setObjectName(QStringLiteral("btDatR"));
    btDatR->setToolTip(QStringLiteral("ein Tag weiter"));
    btDatR->setMaximumWidth(32);
    bar->addWidget(btDatL);
    bar->addWidget(edAktDatum);
    bar->addWidget(makeDateButton(0));
    bar->addWidget(btDatR);
    bar->addStretch(1);

    // The time plans, with their own vertical scroll bar.
    ZeitPic = new QWidget(CtrlPict);
    ZeitPic->setObjectName(QStringLiteral("ZeitPic"));
    auto* zeitLayout = new QGridLayout(ZeitPic);
    zeitLayout->setContentsMargins(0, 0, 0, 0);
    zeitLayout->setSpacing(2);
    TovoZeitPlan1 = new TovoZeitPlan(ZeitPic);
    TovoZeitPlan1->setObjectName(QStringLiteral("TovoZeitPlan1"));
    VInScroll = new QScrollBar(Qt::Vertical, ZeitPic);
    VInScroll->setObjectName(QStringLiteral("VInScroll"));
    TovoZeitPlan2 = new TovoZeitPlan(ZeitPic);
    TovoZeitPlan2->setObjectName(QStringLiteral("TovoZeitPlan2"));
    // The overview strip is used by mouse; the keyboard works in the main plan.
    TovoZeitPlan2->setFocusPolicy(Qt::NoFocus);
    zeitLayout->addWidget(TovoZeitPlan1, 0, 0);
    zeitLayout->addWidget(VInScroll, 0, 1);
    zeitLayout->addWidget(TovoZeitPlan2, 1, 0, 1, 2);
    zeitLayout->setRowStretch(0, 1);
    inner->addWidget(ZeitPic, 1);

    fgMain = new QTableWidget(CtrlPict);
    fgMain->setObjectName(QStringLiteral("fgMain"));
    fgMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgMain->verticalHeader()->setVisible(false);
    fgMain->verticalHeader()->setDefaultSectionSize(fgMain->fontMetrics().height() + 8);
    fgMain->setWordWrap(false);
    fgMain->setAlternatingRowColors(true);
    inner->addWidget(fgMain, 1);

    llArchiv = new QLabel(CtrlPict);
    llArchiv->setObjectName(QStringLiteral("llArchiv"));
    inner->addWidget(llArchiv);

    mvDatum = new QCalendarWidget(this);
    mvDatum->setObjectName(QStringLiteral("mvDatum"));
    mvDatum->setWindowFlags(Qt::Popup);
    mvDatum->setGridVisible(true);
    mvDatum->hide();

    SetVisuality(true);
    ConnectHandlers();
}

void TovoRaumverwCtrl::resizeEvent(QResizeEvent* event) {
    // Layouts keep the toolbar on top and let the frame take the rest; the scroll area shows its
    // bars when the window is smaller than the inner area.
    QWidget::resizeEvent(event);
}

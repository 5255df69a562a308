// The widgets of the room form.
#include "RaumMaske.h"
#include "StammGrid.h"
#include "TovoTextbox.h"
#include "frmRaum.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
struct Haken {
    const char* name;
    const char* text;
};
// In the order of RaumMaske::kAusstattung.
const Haken kHaken[12] = {{"cbWhiteboard", "Whiteboard"},
                          {"cbProjektor", "Projektor"},
                          {"cbLaptop", "Laptop"},
                          {"cbMikrofon", "Mikrofon"},
                          {"cbRednerpult", "Rednerpult"},
                          {"cbFlipchart", "Flipchart"},
                          {"cbLeinwand", "Leinwand"},
                          {"cbLan", "Netzwerk (LAN)"},
                          {"cbAudioanlage", "Audioanlage"},
                          {"cbMediensteuerung", "Mediensteuerung"},
                          {"cbGrossbildschirm", "Großbildschirm"},
                          {"cbSmartboard", "Smartboard"}};
} // namespace

void frmRaum::BuildLayout() {
    setObjectName(QStringLiteral("frmRaum"));
    setWindowTitle(QStringLiteral("Raumdaten"));
    setModal(true);
    setSizeGripEnabled(true);

    MainToolbar = new QToolBar(this);
    MainToolbar->setObjectName(QStringLiteral("MainToolbar"));
    MainToolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    const auto knopf = [this](const QString& key, const QString& text, const QString& tip,
                              QStyle::StandardPixmap bild) {
        QAction* a = MainToolbar->addAction(style()->standardIcon(bild), text);
        // The button shows the icon text; set explicitly it keeps its mnemonic.
        a->setIconText(text);
        a->setObjectName(QStringLiteral("MainToolbar_") + key);
        a->setToolTip(tip);
        MainToolbarButtons.insert(key, a);
        connect(a, &QAction::triggered, this, [this, key] { MainToolbar_ButtonClick(key); });
    };
    knopf(QStringLiteral("New"), QStringLiteral("&Neu"), QStringLiteral("Neuer Raum"),
          QStyle::SP_FileIcon);
    knopf(QStringLiteral("Save"), QStringLiteral("&Speichern"),
          QStringLiteral("Raum speichern (Strg+S)"), QStyle::SP_DialogSaveButton);
    knopf(QStringLiteral("Delete"), QStringLiteral("&Löschen"), QStringLiteral("Raum löschen"),
          QStyle::SP_TrashIcon);
    MainToolbarButtons.value(QStringLiteral("Save"))->setShortcut(QKeySequence::Save);
    MainToolbarButtons.value(QStringLiteral("Save"))->setEnabled(false);

    fgAnzeige = StammGrid::Neu(this, "fgAnzeige", RaumMaske::SpaltenTitel());
    fgAnzeige->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    fgAnzeige->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    fgAnzeige->setColumnWidth(0, 180);

    const auto zahl = [this](const char* name) {
        auto* ed = new TovoTextbox(this, TovoTextbox::Art::Zahl);
        ed->setObjectName(QLatin1String(name));
        ed->setMaxLength(5);
        ed->setMaximumWidth(80);
        return ed;
    };
    edName = new TovoTextbox(this);
    edName->setObjectName(QStringLiteral("edName"));
    edRaumNr = new TovoTextbox(this);
    edRaumNr->setObjectName(QStringLiteral("edRaumNr"));
    pbGebStru = new QPushButton(QStringLiteral("&Gebäudestruktur..."), this);
    pbGebStru->setObjectName(QStringLiteral("pbGebStru"));
    pbGebStru->setAutoDefault(false);
    pbGebStru->setToolTip(QStringLiteral("Raumnummer aus der Gebäudestruktur übernehmen"));
    coRaumart = new QComboBox(this);
    coRaumart->setObjectName(QStringLiteral("coRaumart"));
    coStuhlanordnung = new QComboBox(this);
    coStuhlanordnung->setObjectName(QStringLiteral("coStuhlanordnung"));
    coStuhlanordnung->addItems(RaumMaske::StuhlTexte());
    edAnzahlPers = zahl("edAnzahlPers");
    edMaxAnzahlPTische = zahl("edMaxAnzahlPTische");
    edFestAnzahlPTische = zahl("edFestAnzahlPTische");

    auto* maske = new QGridLayout;
    auto label = [this](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, this);
        l->setBuddy(buddy);
        return l;
    };
    maske->addWidget(label(QStringLiteral("Na&me:"), edName), 0, 0);
    maske->addWidget(edName, 0, 1);
    maske->addWidget(label(QStringLiteral("Raum-N&r.:"), edRaumNr), 0, 2);
    auto* nr = new QHBoxLayout;
    nr->addWidget(edRaumNr, 1);
    nr->addWidget(pbGebStru);
    maske->addLayout(nr, 0, 3);
    maske->addWidget(label(QStringLiteral("Raum&art:"), coRaumart), 1, 0);
    maske->addWidget(coRaumart, 1, 1);
    maske->addWidget(label(QStringLiteral("S&tuhlanordnung:"), coStuhlanordnung), 1, 2);
    maske->addWidget(coStuhlanordnung, 1, 3);
    auto* zahlen = new QHBoxLayout;
    zahlen->addWidget(label(QStringLiteral("&Personen:"), edAnzahlPers));
    zahlen->addWidget(edAnzahlPers);
    zahlen->addSpacing(16);
    zahlen->addWidget(label(QStringLiteral("Tische ma&x.:"), edMaxAnzahlPTische));
    zahlen->addWidget(edMaxAnzahlPTische);
    zahlen->addSpacing(16);
    zahlen->addWidget(label(QStringLiteral("Tische &fest:"), edFestAnzahlPTische));
    zahlen->addWidget(edFestAnzahlPTische);
    zahlen->addStretch();
    maske->addLayout(zahlen, 2, 0, 1, 4);
    maske->setColumnStretch(1, 1);
    maske->setColumnStretch(3, 1);

    auto* ausstattung = new QGroupBox(QStringLiteral("Ausstattung"), this);
    auto* haken = new QGridLayout(ausstattung);
    for (int i = 0; i < 12; ++i) {
        cbAusstattung[i] = new QCheckBox(QString::fromUtf8(kHaken[i].text), ausstattung);
        cbAusstattung[i]->setObjectName(QLatin1String(kHaken[i].name));
        haken->addWidget(cbAusstattung[i], i / 6, i % 6);
    }

    pbEnde = new QPushButton(QStringLiteral("&Ende"), this);
    pbEnde->setObjectName(QStringLiteral("pbEnde"));
    pbEnde->setAutoDefault(false);
    auto* unten = new QHBoxLayout;
    unten->addStretch();
    unten->addWidget(pbEnde);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(MainToolbar);
    layout->addWidget(fgAnzeige, 1);
    layout->addLayout(maske);
    layout->addWidget(ausstattung);
    layout->addLayout(unten);
    resize(1100, 640);

    connect(fgAnzeige, &QTableWidget::currentCellChanged, this,
            [this](int row) { fgAnzeige_Click(row); });
    connect(pbGebStru, &QPushButton::clicked, this, [this] { pbGebStru_Click(); });
    connect(pbEnde, &QPushButton::clicked, this, [this] { pbEnde_Click(); });
    for (QLineEdit* ed : {static_cast<QLineEdit*>(edName), static_cast<QLineEdit*>(edAnzahlPers),
                          static_cast<QLineEdit*>(edMaxAnzahlPTische),
                          static_cast<QLineEdit*>(edFestAnzahlPTische)})
        connect(ed, &QLineEdit::textChanged, this, [this] { MaskeGeaendert(); });
    connect(edRaumNr, &QLineEdit::textChanged, this, [this] { MaskeGeaendert(); });
    // A number typed by hand no longer belongs to the room picked from the building structure.
    connect(edRaumNr, &QLineEdit::textEdited, this, [this] { m_lGebraumId = 0; });
    for (QComboBox* co : {coRaumart, coStuhlanordnung})
        connect(co, &QComboBox::currentIndexChanged, this, [this] { MaskeGeaendert(); });
    for (QCheckBox* cb : cbAusstattung)
        connect(cb, &QCheckBox::toggled, this, [this] { MaskeGeaendert(); });
}

#include "frmGebStruktur.h"

#include "CRvDb.h"
#include "ErrorGuard.h"
#include "GebDb.h"
#include "NurLesen.h"
#include "Prompt.h"
#include "RecColl.h"
#include "RvGlobals.h"
#include "StammGrid.h"
#include "TovoTextbox.h"
#include "frmGebStruSel.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
const QString kTitel = QStringLiteral("Gebäudestruktur");
const char* const kNeu[5] = {"", "Neuer &Standort", "Neues &Gebäude", "Neue &Etage", "Neuer &Raum"};
const char* const kEbeneMit[5] = {"", "einen Standort", "ein Gebäude", "eine Etage", "einen Raum"};
} // namespace

frmGebStruktur::frmGebStruktur(CGebDb* geb, QWidget* parent) : QDialog(parent), m_geb(geb) {
    setObjectName(QStringLiteral("frmGebStruktur"));
    setWindowTitle(kTitel);
    setModal(true);
    setSizeGripEnabled(true);

    tvGebstru = new QTreeWidget(this);
    tvGebstru->setObjectName(QStringLiteral("tvGebstru"));
    llEintrag = new QLabel(this);
    llEintrag->setObjectName(QStringLiteral("llEintrag"));
    llEintrag->setWordWrap(true);
    // Two lines always, so that the fields below stay where they are.
    llEintrag->setMinimumHeight(llEintrag->fontMetrics().lineSpacing() * 2 + 4);
    llEintrag->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    edNr = new TovoTextbox(this);
    edNr->setObjectName(QStringLiteral("edNr"));
    edNr->setMaxLength(20);
    edBez = new TovoTextbox(this);
    edBez->setObjectName(QStringLiteral("edBez"));
    edBez->setMaxLength(100);
    for (int e = 1; e <= 4; ++e)
        pbNeu[e] =
            StammGrid::Knopf(this, QStringLiteral("pbNeu%1").arg(e), QString::fromUtf8(kNeu[e]));
    pbSpeichern =
        StammGrid::Knopf(this, QStringLiteral("pbSpeichern"), QStringLiteral("S&peichern"));
    pbLoeschen = StammGrid::Knopf(this, QStringLiteral("pbLoeschen"), QStringLiteral("&Löschen"));
    pbEnde = StammGrid::Knopf(this, QStringLiteral("pbEnde"), QStringLiteral("Schließen"));
    pbSpeichern->setDefault(true); // Enter in a field saves the entry

    auto* felder = new QFormLayout;
    felder->addRow(llEintrag);
    felder->addRow(QStringLiteral("&Nummer:"), edNr);
    felder->addRow(QStringLiteral("&Bezeichnung:"), edBez);
    auto* speichern = new QHBoxLayout;
    speichern->addStretch(1);
    speichern->addWidget(pbSpeichern);
    speichern->addWidget(pbLoeschen);
    felder->addRow(speichern);
    auto* neu = new QGridLayout;
    for (int e = 1; e <= 4; ++e)
        neu->addWidget(pbNeu[e], (e - 1) / 2, (e - 1) % 2);
    auto* rechts = new QVBoxLayout;
    rechts->addLayout(neu);
    rechts->addSpacing(12);
    rechts->addLayout(felder);
    rechts->addStretch(1);
    auto* ende = new QHBoxLayout;
    ende->addStretch(1);
    ende->addWidget(pbEnde);
    rechts->addLayout(ende);
    // Wide enough for a designation like "Verwaltungszentrum Rheinufer".
    edBez->setMinimumWidth(edBez->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 34);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(tvGebstru, 1);
    layout->addLayout(rechts);
    resize(900, 560);

    connect(tvGebstru, &QTreeWidget::currentItemChanged, this, [this] { tvGebstru_NodeClick(); });
    for (int e = 1; e <= 4; ++e)
        connect(pbNeu[e], &QPushButton::clicked, this, [this, e] { pbNeu_Click(e); });
    connect(pbSpeichern, &QPushButton::clicked, this, [this] { pbSpeichern_Click(); });
    connect(pbLoeschen, &QPushButton::clicked, this, [this] { pbLoeschen_Click(); });
    connect(pbEnde, &QPushButton::clicked, this, &QDialog::accept);

    if (NurLesen() || !m_geb || !m_geb->IsOpen())
        MaskeNurLesen(this);
    Fuelle(0);
}

void frmGebStruktur::Fuelle(int32_t waehlen) {
    RunGuarded(QStringLiteral("frmGebStruktur.Form_Load"), [&] {
        const QSignalBlocker block(tvGebstru);
        QVector<GebNode> alle;
        if (m_geb && m_geb->IsOpen()) {
            alle = m_geb->AllNodes();
            if (!m_geb->LastError().isEmpty())
                RaiseError(m_geb->LastError());
        }
        frmGebStruSel::BaumFuellen(tvGebstru, alle);
        if (!WaehleKnoten(waehlen) && tvGebstru->topLevelItemCount() > 0)
            tvGebstru->setCurrentItem(tvGebstru->topLevelItem(0));
    });
    tvGebstru_NodeClick();
}

bool frmGebStruktur::WaehleKnoten(int32_t id) {
    for (QTreeWidgetItemIterator it(tvGebstru); *it; ++it)
        if (id != 0 && (*it)->data(0, frmGebStruSel::kRolleId).toInt() == id) {
            tvGebstru->setCurrentItem(*it);
            return true;
        }
    return false;
}

int32_t frmGebStruktur::Knoten() const {
    const QTreeWidgetItem* item = tvGebstru->currentItem();
    return item ? item->data(0, frmGebStruSel::kRolleId).toInt() : 0;
}

int32_t frmGebStruktur::Eltern() const {
    const QTreeWidgetItem* item = tvGebstru->currentItem();
    return item && item->parent() ? item->parent()->data(0, frmGebStruSel::kRolleId).toInt() : 0;
}

int32_t frmGebStruktur::Vorfahr(int ebene) const {
    for (const QTreeWidgetItem* item = tvGebstru->currentItem(); item; item = item->parent())
        if (item->data(0, frmGebStruSel::kRolleEbene).toInt() == ebene)
            return item->data(0, frmGebStruSel::kRolleId).toInt();
    return 0;
}

QString frmGebStruktur::NaechsteNr(int32_t eltern) const {
    int hoechste = 0;
    int breite = 1;
    for (const GebNode& n : m_geb->Children(eltern)) {
        hoechste = std::max(hoechste, n.stNr.toInt());
        breite = std::max(breite, static_cast<int>(n.stNr.size()));
    }
    return QStringLiteral("%1").arg(hoechste + 1, breite, 10, QLatin1Char('0'));
}

void frmGebStruktur::Knoepfe() {
    const bool schreiben = !NurLesen() && m_geb && m_geb->IsOpen();
    pbNeu[1]->setEnabled(schreiben);
    for (int e = 2; e <= 4; ++e)
        pbNeu[e]->setEnabled(schreiben && Vorfahr(e - 1) != 0);
    pbSpeichern->setEnabled(schreiben && (m_neuEbene != 0 || Knoten() != 0));
    pbLoeschen->setEnabled(schreiben && m_neuEbene == 0 && Knoten() != 0);
}

void frmGebStruktur::tvGebstru_NodeClick() {
    m_neuEbene = 0;
    const QTreeWidgetItem* item = tvGebstru->currentItem();
    const QString nr = item ? item->data(0, frmGebStruSel::kRolleNr).toString() : QString();
    llEintrag->setText(
        item ? GebEbenenName(item->data(0, frmGebStruSel::kRolleEbene).toInt()) + QLatin1Char(' ') +
                   nr
             : QStringLiteral("Die Gebäudestruktur ist leer: legen Sie mit „Neuer Standort“ "
                              "den ersten Eintrag an."));
    edNr->setText(nr);
    edBez->setText(item ? item->data(0, frmGebStruSel::kRolleBez).toString() : QString());
    Knoepfe();
}

void frmGebStruktur::pbNeu_Click(int ebene) {
    RunGuarded(QStringLiteral("frmGebStruktur.pbNeu_Click"), [&] {
        if (ebene < 1 || ebene > 4 || !m_geb)
            return;
        const int32_t eltern = ebene == 1 ? 0 : Vorfahr(ebene - 1);
        if (ebene > 1 && eltern == 0) {
            MsgBox(QStringLiteral("Bitte wählen Sie zuerst %1.")
                       .arg(QString::fromUtf8(kEbeneMit[ebene - 1])),
                   PromptButtons::Ok, PromptIcon::Information, kTitel);
            return;
        }
        m_neuEbene = ebene;
        m_neuEltern = eltern;
        llEintrag->setText(QStringLiteral("Neu: ") + GebEbenenName(ebene));
        edNr->setText(NaechsteNr(eltern));
        edBez->clear();
        Knoepfe();
        edNr->setFocus();
        edNr->selectAll();
    });
}

void frmGebStruktur::pbSpeichern_Click() {
    RunGuarded(QStringLiteral("frmGebStruktur.pbSpeichern_Click"), [&] {
        if (!m_geb || NurLesen())
            return;
        const QString nr = edNr->text().trimmed();
        const QString bez = edBez->text().trimmed();
        const auto fehler = [&](const QString& text) {
            MsgBox(text, PromptButtons::Ok, PromptIcon::Exclamation, kTitel);
            edNr->setFocus();
        };
        // The number is one part of the long room number, whose parts are joined by ".".
        if (nr.isEmpty())
            return fehler(QStringLiteral("Bitte geben Sie eine Nummer ein!"));
        if (nr.contains(QLatin1Char('.')))
            return fehler(QStringLiteral("Die Nummer darf keinen Punkt enthalten: die Teile "
                                         "der Raumnummer werden durch Punkte getrennt."));
        const int32_t id = m_neuEbene ? 0 : Knoten();
        const int32_t eltern = m_neuEbene ? m_neuEltern : Eltern();
        for (const GebNode& n : m_geb->Children(eltern))
            if (n.lId != id && n.stNr.compare(nr, Qt::CaseInsensitive) == 0)
                return fehler(
                    QStringLiteral("Die Nummer %1 gibt es an dieser Stelle schon!").arg(nr));
        int32_t gespeichert = id;
        if (m_neuEbene)
            gespeichert = m_geb->AddNode(eltern, m_neuEbene, nr, bez);
        else if (id == 0 || !m_geb->AendereNode(id, nr, bez))
            gespeichert = 0;
        if (gespeichert == 0)
            RaiseError(m_geb->LastError());
        f_bChange = true;
        Fuelle(gespeichert);
    });
}

void frmGebStruktur::pbLoeschen_Click() {
    RunGuarded(QStringLiteral("frmGebStruktur.pbLoeschen_Click"), [&] {
        const int32_t id = Knoten();
        if (!m_geb || id == 0 || NurLesen())
            return;
        // What goes with it, and the rooms of the reservation whose numbers come from there.
        QSet<int32_t> weg{id};
        int vorher = -1;
        const QVector<GebNode> alle = m_geb->AllNodes();
        while (vorher != weg.size()) {
            vorher = static_cast<int>(weg.size());
            for (const GebNode& n : alle)
                if (weg.contains(n.lParentId))
                    weg.insert(n.lId);
        }
        QStringList raeume;
        CAnzeigeRecColl alleRaeume;
        if (gRvDb && gRvDb->ReadAllrb_AnzeigeRec2Coll(&alleRaeume))
            for (const CAnzeigeRec* r : alleRaeume)
                if (r->lGebraumId != 0 && weg.contains(r->lGebraumId))
                    raeume << r->Kurzbez;
        QString frage = tvGebstru->currentItem()->text(0).simplified();
        frage = weg.size() > 1 ? QStringLiteral("'%1' mit allen %2 Einträgen darunter wirklich "
                                                "löschen?")
                                     .arg(frage)
                                     .arg(weg.size() - 1)
                               : QStringLiteral("'%1' wirklich löschen?").arg(frage);
        if (!raeume.isEmpty())
            frage += QStringLiteral("\nDie Raumnummern von %1 stammen von dort.")
                         .arg(raeume.join(QStringLiteral(", ")));
        if (MsgBox(frage, PromptButtons::YesNo, PromptIcon::Question, QStringLiteral("Löschen")) !=
            PromptResult::Yes)
            return;
        if (!m_geb->LoescheNode(id))
            RaiseError(m_geb->LastError());
        f_bChange = true;
        Fuelle(Eltern());
    });
}

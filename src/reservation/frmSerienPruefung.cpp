#include "frmSerienPruefung.h"

#include "ErrorGuard.h"
#include "Prompt.h"
#include "SerienPruefungModel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The choice column edited with a list of the row's possible choices.
class WahlDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* co = new QComboBox(parent);
        if (const auto* m = qobject_cast<const SerienPruefungModel*>(index.model()))
            for (const auto& [text, wert] : m->Optionen(index.row()))
                co->addItem(text, wert);
        // A pick is taken over at once, not only when the editor loses the focus.
        connect(co, QOverload<int>::of(&QComboBox::activated), co, [this, co] {
            auto* self = const_cast<WahlDelegate*>(this);
            emit self->commitData(co);
            emit self->closeEditor(co);
        });
        return co;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* co = static_cast<QComboBox*>(editor);
        co->setCurrentIndex(co->findData(index.data(Qt::EditRole)));
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* co = static_cast<QComboBox*>(editor);
        if (co->currentIndex() >= 0)
            model->setData(index, co->currentData(), Qt::EditRole);
    }
};

} // namespace

frmSerienPruefung::frmSerienPruefung(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Serienprüfung"));
    setModal(true);
    resize(1180, 560);

    lbSumme = new QLabel(this);
    lvTermine = new QTableView(this);
    m_model = new SerienPruefungModel(f_Ergebnis, this);
    lvTermine->setModel(m_model);
    lvTermine->setItemDelegateForColumn(SerienPruefungModel::Auswahl, new WahlDelegate(lvTermine));
    lvTermine->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvTermine->setEditTriggers(QAbstractItemView::AllEditTriggers);
    lvTermine->verticalHeader()->setDefaultSectionSize(22);
    // Fixed widths: measuring 32,767 rows would hold up the opening.
    const int breiten[] = {80, 80, 90, 130, 0, 170, 170};
    for (int i = 0; i < SerienPruefungModel::AnzahlSpalten; ++i)
        lvTermine->setColumnWidth(i, breiten[i]);
    lvTermine->horizontalHeader()->setSectionResizeMode(SerienPruefungModel::Status,
                                                        QHeaderView::Stretch);

    pbAlleAuslassen = new QPushButton(QStringLiteral("Alle belegten aus&lassen"), this);
    pbAlleVerschieben = new QPushButton(QStringLiteral("Alle in freie Räume &verschieben"), this);
    pbOk = new QPushButton(QStringLiteral("&Übernehmen"), this);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbOk->setDefault(true);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(pbAlleAuslassen);
    knoepfe->addWidget(pbAlleVerschieben);
    knoepfe->addStretch();
    knoepfe->addWidget(pbOk);
    knoepfe->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbSumme);
    layout->addWidget(lvTermine, 1);
    layout->addLayout(knoepfe);

    connect(pbAlleAuslassen, &QPushButton::clicked, this, [this] { pbAlleAuslassen_Click(); });
    connect(pbAlleVerschieben, &QPushButton::clicked, this, [this] { pbAlleVerschieben_Click(); });
    connect(pbOk, &QPushButton::clicked, this, [this] { pbOk_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] { SummeZeigen(); });
}

bool frmSerienPruefung::Laden(const SerienPruefung::Anfrage& anfrage) {
    return RunGuarded<bool>(QStringLiteral("frmSerienPruefung.Laden"), false, [&] {
        QProgressDialog fortschritt(QStringLiteral("Die Termine werden geprüft …"),
                                    QStringLiteral("Abbrechen"), 0, anfrage.termine.size(),
                                    parentWidget());
        fortschritt.setWindowTitle(QStringLiteral("Serienprüfung"));
        fortschritt.setWindowModality(Qt::WindowModal);
        fortschritt.setMinimumDuration(500);
        QString error;
        SerienPruefung::Ergebnis neu;
        const bool ok = SerienPruefung::Pruefen(
            anfrage, neu,
            [&](int fertig, int gesamt) {
                fortschritt.setMaximum(gesamt);
                fortschritt.setValue(fertig);
                return !fortschritt.wasCanceled();
            },
            &error);
        fortschritt.reset();
        if (!ok) {
            if (!error.isEmpty())
                RaiseError(error);
            return false;
        }
        m_model->Ersetzen(std::move(neu));
        SummeZeigen();
        return true;
    });
}

void frmSerienPruefung::SummeZeigen() {
    const int anzahl = f_Ergebnis.termine.size();
    const int aus = f_Ergebnis.AnzahlAusgelassen();
    lbSumme->setText(
        QStringLiteral("%1 Termine, davon %2 belegt; es werden %3 Termine gespeichert, "
                       "%4 ausgelassen.")
            .arg(anzahl)
            .arg(f_Ergebnis.AnzahlBelegt())
            .arg(anzahl - aus)
            .arg(aus));
}

void frmSerienPruefung::pbAlleAuslassen_Click() {
    SerienPruefung::AlleBelegtenAuslassen(f_Ergebnis);
    m_model->AllesGeaendert();
}

void frmSerienPruefung::pbAlleVerschieben_Click() {
    SerienPruefung::AlleVerschieben(f_Ergebnis);
    m_model->AllesGeaendert();
}

void frmSerienPruefung::pbOk_Click() {
    if (SerienPruefung::Auswahl(f_Ergebnis).isEmpty()) {
        MsgBox(
            QStringLiteral("Es sind alle Termine ausgelassen. Wählen Sie mindestens einen Termin "
                           "aus!"),
            PromptButtons::Ok, PromptIcon::Information, QStringLiteral("Serienprüfung"));
        return;
    }
    f_bUebernommen = true;
    accept();
}

void frmSerienPruefung::pbCancel_Click() {
    f_bUebernommen = false;
    QDialog::reject();
}

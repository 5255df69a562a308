#include "frmNextNr.h"

#include "Prompt.h"
#include "R_Main.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kTitel = QStringLiteral("Nächste Auftragsnummer");

bool NurFensterWechsel(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
}
} // namespace

frmNextNr::frmNextNr(QWidget* parent) : QDialog(parent) {
    setWindowTitle(kTitel);
    setModal(true);

    edOrderNr = new QLineEdit(this);
    edOrderNr->setObjectName(QStringLiteral("edOrderNr"));
    pbOK = new QPushButton(QStringLiteral("&OK"), this);
    pbOK->setObjectName(QStringLiteral("pbOK"));
    pbOK->setDefault(true);
    pbOK->setEnabled(false);
    pbCancel = new QPushButton(QStringLiteral("&Abbrechen"), this);
    pbCancel->setObjectName(QStringLiteral("pbCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(pbOK);
    buttons->addWidget(pbCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(edOrderNr);
    layout->addLayout(buttons);
    // Wide enough that the title bar shows the whole title.
    setMinimumWidth(fontMetrics().horizontalAdvance(kTitel) + 140);

    edOrderNr->installEventFilter(this);
    connect(edOrderNr, &QLineEdit::textChanged, this, [this] { edOrderNr_Change(); });
    connect(pbOK, &QPushButton::clicked, this, [this] { pbOK_Click(); });
    connect(pbCancel, &QPushButton::clicked, this, [this] { pbCancel_Click(); });
}

bool frmNextNr::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edOrderNr) {
        if (event->type() == QEvent::FocusOut) {
            m_nurFensterWechsel = NurFensterWechsel(static_cast<QFocusEvent*>(event)->reason());
        } else if (event->type() == QEvent::FocusIn) {
            if (m_nurFensterWechsel)
                m_nurFensterWechsel = false;
            else // after the focus change is through, not inside it
                QMetaObject::invokeMethod(
                    this, [this] { edOrderNr_GotFocus(); }, Qt::QueuedConnection);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmNextNr::edOrderNr_GotFocus() {
    MsgBox(QStringLiteral("Das Ändern der Auftragsnummer kann zu Problemen führen"),
           PromptButtons::Ok, PromptIcon::Information, kTitel);
}

void frmNextNr::edOrderNr_Change() {
    bool ok = false;
    const int32_t nummer = edOrderNr->text().trimmed().toInt(&ok);
    pbOK->setEnabled(ok && nummer > 0);
}

void frmNextNr::pbOK_Click() {
    bool ok = false;
    const int32_t nummer = edOrderNr->text().trimmed().toInt(&ok);
    if (!ok || nummer <= 0)
        return;
    // A number in use is refused here, not only by the next save.
    if (R_Main::ExistsAuftragNr(nummer)) {
        MsgBox(SchreibPfad::NummerVergebenMeldung(nummer), PromptButtons::Ok, PromptIcon::Critical,
               QStringLiteral("Problem"));
        edOrderNr->selectAll();
        return;
    }
    lOrderNr = nummer;
    accept();
}

void frmNextNr::pbCancel_Click() {
    lOrderNr = -1;
    reject();
}

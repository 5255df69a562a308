#include "QtPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {
QMessageBox::Icon toIcon(PromptIcon icon) {
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Critical:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toButtons(PromptButtons b) {
    switch (b) {
    case PromptButtons::Ok:
        return QMessageBox::Ok;
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

PromptResult fromButton(int b) {
    switch (b) {
    case QMessageBox::Ok:
        return PromptResult::Ok;
    case QMessageBox::Yes:
        return PromptResult::Yes;
    case QMessageBox::No:
        return PromptResult::No;
    case QMessageBox::Retry:
        return PromptResult::Retry;
    case QMessageBox::Abort:
        return PromptResult::Abort;
    case QMessageBox::Ignore:
        return PromptResult::Ignore;
    default:
        return PromptResult::Cancel;
    }
}
} // namespace

PromptResult QtPrompt::show(const PromptMessage& m) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(toIcon(m.icon), m.title, m.text, toButtons(m.buttons), parent);
    // The standard buttons in the order PromptButtons names them.
    const QMessageBox::StandardButton reihe[] = {
        QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore, QMessageBox::Yes,
        QMessageBox::No,    QMessageBox::Ok,    QMessageBox::Cancel};
    qsizetype text = 0;
    for (QMessageBox::StandardButton b : reihe)
        if (QAbstractButton* knopf = box.button(b); knopf && text < m.knopfTexte.size())
            knopf->setText(m.knopfTexte[text++]);
    QPushButton* zusatz = nullptr;
    if (!m.zusatzKnopf.isEmpty())
        zusatz = box.addButton(m.zusatzKnopf, QMessageBox::ActionRole);
    const int knopf = box.exec();
    if (zusatz && box.clickedButton() == zusatz)
        return PromptResult::Zusatz;
    return fromButton(knopf);
}

void QtPrompt::beep() {
    QApplication::beep();
}

#include "TovoTextbox.h"

#include "Currency.h"
#include "Prompt.h"
#include "TovoDate.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const QLocale& German() {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german;
}

QString CheckSetOf(TovoTextbox::Art art) {
    switch (art) {
    case TovoTextbox::Art::Datum:
        return QStringLiteral("0123456789.");
    case TovoTextbox::Art::Zeit:
        return QStringLiteral("0123456789:");
    case TovoTextbox::Art::Zahl:
        return QStringLiteral("0123456789");
    case TovoTextbox::Art::Geld:
        return QStringLiteral("+-0123456789,.");
    case TovoTextbox::Art::Dezimal:
        return QStringLiteral("0123456789,");
    case TovoTextbox::Art::Text:
        break;
    }
    return QString();
}

} // namespace

TovoTextbox::TovoTextbox(QWidget* parent, Art art) : QLineEdit(parent), m_art(art) {
    setArt(art);
}

void TovoTextbox::setArt(Art art) {
    m_art = art;
    m_checkSet = CheckSetOf(art);
}

bool TovoTextbox::accepts(QChar c) const {
    if (!c.isPrint())
        return false;
    if (m_art == Art::Text)
        return c != QLatin1Char('"') && c != QLatin1Char('\'');
    return m_checkSet.contains(c);
}

QString TovoTextbox::filtered(const QString& text, bool& refused) const {
    QString out;
    out.reserve(text.size());
    refused = false;
    for (QChar c : text) {
        if (accepts(c))
            out += c;
        else
            refused = true;
    }
    return out;
}

void TovoTextbox::keyPressEvent(QKeyEvent* event) {
    if (!isReadOnly()) {
        if (event->matches(QKeySequence::Paste)) {
            insertFromPaste();
            event->accept();
            return;
        }
        // Keys that type something printable must belong to the check set; editing and
        // navigation keys (no text or control characters) and shortcuts (Ctrl or Meta without
        // AltGr) pass.
        const QString typed = event->text();
        const bool shortcut = (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) &&
                              !(event->modifiers() & Qt::AltModifier);
        const bool printable =
            !shortcut && !typed.isEmpty() &&
            std::all_of(typed.begin(), typed.end(), [](QChar c) { return c.isPrint(); });
        bool refused = false;
        if (printable)
            filtered(typed, refused);
        if (refused) {
            Beep();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TovoTextbox::insertFromPaste() {
    if (isReadOnly())
        return;
    QString text = QGuiApplication::clipboard()->text();
    if (m_art != Art::Text)
        text = text.trimmed();
    bool refused = false;
    const QString accepted = filtered(text, refused);
    if (refused)
        Beep();
    insert(accepted);
}

void TovoTextbox::contextMenuEvent(QContextMenuEvent* event) {
    // The menu's paste goes through the same filter as Ctrl+V. Qt's menu names its actions only
    // by their (translated) texts.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction* action : menu->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == pasteText) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &TovoTextbox::insertFromPaste);
            break;
        }
    }
    menu->exec(event->globalPos());
}

void TovoTextbox::dropEvent(QDropEvent* event) {
    bool refused = false;
    if (event->mimeData()->hasText())
        filtered(event->mimeData()->text(), refused);
    if (refused) {
        Beep();
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

bool TovoTextbox::parse(double& out) const {
    const QString t = text().trimmed();
    out = 0.0;
    if (!std::all_of(t.begin(), t.end(), [this](QChar c) { return accepts(c); }))
        return false;
    bool ok = true;
    switch (m_art) {
    case Art::Datum: {
        TovoDate d = TovoDate::noDate();
        ok = t.isEmpty() || TovoDate::parse(t, d);
        out = d.value();
        break;
    }
    case Art::Zeit: {
        TovoDate d;
        ok = !t.isEmpty() && TovoDate::parse(t, d);
        out = d.value();
        break;
    }
    case Art::Zahl:
        if (!t.isEmpty())
            out = t.toDouble(&ok);
        break;
    case Art::Geld: {
        Currency c;
        ok = Currency::parse(t, c);
        out = c.toDouble();
        break;
    }
    case Art::Dezimal:
    case Art::Text:
        if (!t.isEmpty())
            out = German().toDouble(t, &ok);
        ok = ok || m_art == Art::Text; // any text is a valid text
        break;
    }
    return ok;
}

bool TovoTextbox::IsValid() const {
    double value = 0.0;
    return parse(value);
}

double TovoTextbox::Value() const {
    double value = 0.0;
    if (parse(value))
        return value;
    return m_art == Art::Datum ? TovoDate::kNoDate : 0.0;
}

void TovoTextbox::SetValue(double value) {
    switch (m_art) {
    case Art::Datum:
        setText(IsNoDate(value) ? QString() : TovoDate(value).toShortDateText());
        break;
    case Art::Zeit:
        setText(TovoDate(value).format(QStringLiteral("hh:mm")));
        break;
    case Art::Zahl:
        setText(QString::number(std::llround(value)));
        break;
    case Art::Geld:
        setText(FormatGeld(value));
        break;
    case Art::Dezimal:
        setText(FormatDezimal(value));
        break;
    case Art::Text:
        setText(German().toString(value, 'g', 15).remove(German().groupSeparator()));
        break;
    }
}

QString TovoTextbox::FormatGeld(double value) {
    return Currency::fromDouble(value).toDisplayText();
}

QString TovoTextbox::FormatDezimal(double value) {
    // Rounded to cents from four decimals as money is, so that 2,345 shows 2,35.
    const int64_t raw = Currency::fromDouble(value).raw();
    const int64_t cents = ((raw < 0 ? -raw : raw) + 50) / 100;
    return (raw < 0 && cents > 0 ? QStringLiteral("-") : QString()) + QString::number(cents / 100) +
           QLatin1Char(',') + QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

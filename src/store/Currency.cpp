#include "Currency.h"

#include <QLocale>

QString Currency::toDisplayText() const {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german.toString(toDouble(), 'f', 2);
}

bool Currency::parse(const QString& input, Currency& out) {
    QString text = input.trimmed();
    if (text.isEmpty()) {
        out = Currency();
        return true;
    }
    static const QLocale german(QLocale::German, QLocale::Germany);
    bool ok = false;
    double v = german.toDouble(text, &ok);
    if (!ok)
        v = QLocale::c().toDouble(text, &ok);
    if (!ok)
        return false;
    out = fromDouble(v);
    return true;
}

#include "Currency.h"

#include <QLocale>

namespace {
// Largest amount the fixed point holds, in whole units.
constexpr double kMaxUnits = 922337203685477.0;
} // namespace

QString Currency::toDisplayText() const {
    // Exact decimal rounding to cents, half away from zero (1,005 shows as 1,01); going through
    // a double would show 1,00.
    const bool negative = m_raw < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(m_raw) : m_raw;
    const uint64_t cents = (magnitude + 50) / 100;
    QString units = QString::number(cents / 100);
    for (qsizetype i = units.size() - 3; i > 0; i -= 3)
        units.insert(i, QLatin1Char('.'));
    QString text =
        units + QLatin1Char(',') + QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
    return negative && cents > 0 ? QString(QLatin1Char('-') + text) : text;
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
    // "nan", "inf" and amounts beyond the fixed point's range are no money.
    if (!ok || !std::isfinite(v) || std::fabs(v) > kMaxUnits)
        return false;
    out = fromDouble(v);
    return true;
}

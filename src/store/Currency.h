#pragma once

#include <QString>
#include <cmath>
#include <cstdint>

// Money as fixed point with four decimals, as the database's currency columns hold it.
class Currency {
public:
    static constexpr int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t raw) {
        Currency c;
        c.m_raw = raw;
        return c;
    }
    static Currency fromDouble(double value) {
        return fromRaw(static_cast<int64_t>(std::llround(value * kScale)));
    }

    constexpr int64_t raw() const { return m_raw; }
    constexpr double toDouble() const { return static_cast<double>(m_raw) / kScale; }

    constexpr Currency operator+(Currency o) const { return fromRaw(m_raw + o.m_raw); }
    constexpr Currency operator-(Currency o) const { return fromRaw(m_raw - o.m_raw); }
    Currency& operator+=(Currency o) {
        m_raw += o.m_raw;
        return *this;
    }
    friend constexpr bool operator==(Currency a, Currency b) = default;
    friend constexpr auto operator<=>(Currency a, Currency b) = default;

    // German display "##,##0.00": thousands separated by ".", two decimals after ",".
    QString toDisplayText() const;
    // Reads "1.234,50", "1234,5", "1234.50" and "" (= 0). Returns false for anything else.
    static bool parse(const QString& text, Currency& out);

private:
    int64_t m_raw = 0;
};

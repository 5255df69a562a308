#include "SerienBerechnung.h"

#include "ErrorGuard.h"

#include <algorithm>

namespace R_Main {

namespace {

const QString kMsgNichtBerechenbar =
    QStringLiteral("Die Termine der Serie lassen sich nicht berechnen!");
const QString kMsgZuViele =
    QStringLiteral("Eine Terminserie darf höchstens %1 Termine haben!").arg(kMaxTermine);
const QString kMsgJahr9999 = QStringLiteral("Die Terminserie reicht über das Jahr 9999 hinaus!");

// Weekday index of d: 0 = Monday ... 6 = Sunday.
int weekdayIndex(TovoDate d) {
    return d.weekdayMondayFirst() - 1;
}

TovoDate firstOfMonth(TovoDate d) {
    return TovoDate::fromParts(d.year(), d.month(), 1);
}

// Day `day` of the month; a day the month does not have gives its last day (31 -> 30.04.,
// 29.02. -> 28.02. outside leap years), as month arithmetic does.
TovoDate dayOfMonth(int year, int month, int day) {
    const TovoDate first = TovoDate::fromParts(year, month, 1);
    const int length = int(TovoDate::fromParts(year, month + 1, 1) - first);
    return first.addDays(std::clamp(day, 1, length) - 1);
}

TovoDate daily(const CSerienFkt& rule, TovoDate d, bool bFirst) {
    if (rule.Daily() == 0) { // every working day; holidays are not considered
        TovoDate c = bFirst ? d : d.addDays(1);
        while (c.weekdayMondayFirst() >= 6)
            c = c.addDays(1);
        return c;
    }
    return bFirst ? d : d.addDays(rule.Daily());
}

TovoDate weekly(const std::array<uint8_t, 7>& flags, int weeks, TovoDate d, bool bFirst) {
    int i0 = weekdayIndex(d) + (bFirst ? 0 : 1);
    TovoDate c = d;
    for (;;) {
        for (int i = i0; i < 7; ++i)
            if (flags[i])
                return GetNextWDay(c, i);
        c = GetMondayOfWeek(c.addDays(7.0 * weeks));
        i0 = 0;
    }
}

TovoDate monthly(const CSerienFkt& rule, TovoDate d, bool bFirst) {
    if (rule.Day() == 0) { // k-th weekday
        if (bFirst)
            return GetAnzDayArt(rule.Anz(), rule.DayArt(), d);
        return GetAnzDayArt(rule.Anz(), rule.DayArt(), firstOfMonth(d.addMonths(rule.FreqMonth())));
    }
    if (!bFirst) // keeps a clamped day: 31.01. -> 29.02. -> 29.03.
        return d.addMonths(rule.FreqMonth());
    TovoDate r = dayOfMonth(d.year(), d.month(), rule.Day());
    if (r < d)
        r = r.addMonths(rule.FreqMonth());
    return r;
}

TovoDate yearly(const CSerienFkt& rule, TovoDate d, bool bFirst) {
    auto inYear = [&](int year) {
        if (rule.Day() >= 1)
            return dayOfMonth(year, rule.Month(), rule.Day());
        return GetAnzDayArt(rule.Anz(), rule.DayArt(), TovoDate::fromParts(year, rule.Month(), 1));
    };
    TovoDate r = inYear(bFirst ? d.year() : d.year() + 1);
    if (bFirst && r < d)
        r = inYear(d.year() + 1);
    return r;
}

} // namespace

TovoDate GetMondayOfWeek(TovoDate d) {
    return d.datePart().addDays(-weekdayIndex(d));
}

TovoDate GetNextWDay(TovoDate d, int n) {
    return GetMondayOfWeek(d).addDays(n);
}

void GetBits(int b, std::array<uint8_t, 7>& flags) {
    for (int i = 0; i < 7; ++i)
        flags[i] = (b >> i) & 1 ? 1 : 0;
}

TovoDate GetAnzDayArt(int k, int w, TovoDate d) {
    if (k < 1 || k > 5 || w < 1 || w > 7) // no such weekday: nothing to search
        return d;
    TovoDate c = d;
    for (;;) {
        const int m = c.month();
        TovoDate f = firstOfMonth(c);
        const int x = f.weekdayMondayFirst();
        if (x > w)
            f = f.addDays(7 - x + w);
        else if (x < w)
            f = f.addDays(w - x);
        f = f.addDays(7.0 * (k - 1));
        if (k == 5 && f.month() != m) // no fifth one: the fourth is the last
            f = f.addDays(-7);
        if (f >= d)
            return f;
        c = f.addMonths(1);
    }
}

TovoDate GetNextDate(const CSerienFkt& rule, TovoDate d, bool bFirst) {
    d = d.datePart();
    TovoDate result(TovoDate::kNullDate);
    if (rule.Daily() >= 0)
        result = daily(rule, d, bFirst);
    if (rule.Weekly() >= 0) {
        std::array<uint8_t, 7> flags{};
        GetBits(rule.Weekday(), flags);
        if (std::none_of(flags.begin(), flags.end(), [](uint8_t f) { return f != 0; }))
            return d;
        result = weekly(flags, rule.Weekly(), d, bFirst);
    }
    if (rule.FreqMonth() >= 1)
        result = monthly(rule, d, bFirst);
    if (rule.Month() >= 1)
        result = yearly(rule, d, bFirst);
    return result;
}

namespace {

// The series' dates one after the other, with the checks that keep every walk finite.
class Walk {
public:
    explicit Walk(const CSerienFkt& rule) : m_rule(rule) {}

    TovoDate first() {
        if (m_rule.datBeginn().isNoDate())
            RaiseError(kMsgNichtBerechenbar);
        const TovoDate c = GetNextDate(m_rule, m_rule.datBeginn(), true);
        if (c < m_rule.datBeginn())
            RaiseError(kMsgNichtBerechenbar);
        check(c);
        return c;
    }
    TovoDate next(TovoDate c) {
        const TovoDate n = GetNextDate(m_rule, c, false);
        if (n <= c)
            RaiseError(kMsgNichtBerechenbar);
        return n;
    }
    // Before a date is visited.
    void check(TovoDate c) {
        if (c >= TovoDate::kNoDate)
            RaiseError(kMsgJahr9999);
        if (++m_count > kMaxTermine)
            RaiseError(kMsgZuViele);
    }
    int count() const { return m_count; }

private:
    const CSerienFkt& m_rule;
    int m_count = 0;
};

} // namespace

int ForEachTermin(const CSerienFkt& rule, const std::function<bool(TovoDate)>& visit) {
    Walk walk(rule);
    TovoDate c = walk.first();
    while (visit(c) && c < rule.datEnde()) {
        c = walk.next(c);
        if (c > rule.datEnde())
            break;
        walk.check(c);
    }
    return walk.count();
}

int AnzahlTermine(const CSerienFkt& rule) {
    return ForEachTermin(rule, [](TovoDate) { return true; });
}

TovoDate NthTermin(const CSerienFkt& rule, int n) {
    Walk walk(rule);
    TovoDate c = walk.first();
    for (int i = 1; i < n; ++i) {
        c = walk.next(c);
        walk.check(c);
    }
    return c;
}

} // namespace R_Main

#pragma once

#include "CSerienFkt.h"
#include "TovoDate.h"

#include <array>
#include <cstdint>
#include <functional>

// The dates of a series. Weekday indexes run from 0 = Monday to 6 = Sunday, weekday numbers
// (DayArt) from 1 = Monday to 7 = Sunday. All dates here are whole days.
namespace R_Main {

// The most dates one series may have.
inline constexpr int kMaxTermine = 32767;

// The Monday on or before d.
TovoDate GetMondayOfWeek(TovoDate d);
// The weekday with index n (0 = Monday) of d's week.
TovoDate GetNextWDay(TovoDate d, int n);
// flags[i] = 1 when bit 2^i of b is set, else 0.
void GetBits(int b, std::array<uint8_t, 7>& flags);
// The first date on or after d that is the k-th weekday w of its month (k = 5: the last one).
// k outside 1..5 or w outside 1..7 give d unchanged.
TovoDate GetAnzDayArt(int k, int w, TovoDate d);
// bFirst: the first date of the series on or after d (d is the start date); otherwise the date
// that follows the series date d. A rule without a pattern gives the zero date 30.12.1899, a
// weekly rule without a weekday gives d.
TovoDate GetNextDate(const CSerienFkt& rule, TovoDate d, bool bFirst);

// Walks the series from datBeginn: the first date, then each following one up to datEnde. The
// first date counts even when it lies after datEnde. visit may return false to stop early.
// Returns the number of dates visited. Raises an error (before visiting it) for a date beyond
// kMaxTermine or beyond the year 9999, and for a rule whose dates do not advance.
int ForEachTermin(const CSerienFkt& rule, const std::function<bool(TovoDate)>& visit);
// The number of dates from datBeginn to datEnde.
int AnzahlTermine(const CSerienFkt& rule);
// The n-th date (n >= 1) of the series from datBeginn, whatever datEnde says.
TovoDate NthTermin(const CSerienFkt& rule, int n);

} // namespace R_Main

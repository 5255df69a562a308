#pragma once

#include "TovoDate.h"

#include <cstdint>

// The rule of a series of dates ("Terminserie"): start and end, times of day, the number of
// dates and one of the patterns below. It lives in memory only; a saved series consists of its
// bookings (one order number, the description in stSerieBem).
//
// Pattern fields (the series dialog fills exactly one pattern):
//   every n days                 Daily = n
//   every working day            Daily = 0
//   every n weeks on weekdays    Weekly = n, Weekday = bit set (Monday 1 ... Sunday 64)
//   every m months on day d      FreqMonth = m, Day = d
//   every m months, k-th weekday FreqMonth = m, Anz = k (5 = last), DayArt = w (1 = Monday)
//   every year on day d of mo    Month = mo, Day = d
//   every year, k-th weekday     Month = mo, Anz = k, DayArt = w
// Unused fields keep their Reset values: Daily and Weekly -1, all others 0.
class CSerienFkt {
public:
    // Weekday bits.
    enum : int {
        Montag = 1,
        Dienstag = 2,
        Mittwoch = 4,
        Donnerstag = 8,
        Freitag = 16,
        Samstag = 32,
        Sonntag = 64
    };

    CSerienFkt() { Reset(); }
    void Reset();

    // Rules are not stored, so the key and the series number stay 0.
    int32_t Id() const { return m_Id; }
    int32_t SerieId() const { return m_SerieId; }
    void SetSerieId(int32_t value) { m_SerieId = value; }

    // First and last day of the series; only the date part is kept.
    TovoDate datBeginn() const { return m_datBeginn; }
    void SetdatBeginn(TovoDate value) { m_datBeginn = value.datePart(); }
    TovoDate datEnde() const { return m_datEnde; }
    void SetdatEnde(TovoDate value) { m_datEnde = value.datePart(); }

    int AnzTermin() const { return m_AnzTermin; }
    void SetAnzTermin(int value) { m_AnzTermin = value; }

    // Times of day of every date.
    TovoDate TimeBeginn() const { return m_TimeBeginn; }
    void SetTimeBeginn(TovoDate value) { m_TimeBeginn = value; }
    TovoDate TimeEnde() const { return m_TimeEnde; }
    void SetTimeEnde(TovoDate value) { m_TimeEnde = value; }

    int Daily() const { return m_Daily; }
    void SetDaily(int value) { m_Daily = value; }
    int Weekly() const { return m_Weekly; }
    void SetWeekly(int value) { m_Weekly = value; }
    int Weekday() const { return m_Weekday; }
    void SetWeekday(int value) { m_Weekday = value; }
    int FreqMonth() const { return m_FreqMonth; }
    void SetFreqMonth(int value) { m_FreqMonth = value; }
    int Month() const { return m_Month; }
    void SetMonth(int value) { m_Month = value; }
    int Day() const { return m_Day; }
    void SetDay(int value) { m_Day = value; }
    int Anz() const { return m_Anz; }
    void SetAnz(int value) { m_Anz = value; }
    int DayArt() const { return m_DayArt; }
    void SetDayArt(int value) { m_DayArt = value; }

    // Public holidays among the dates are not booked (they stay dates of the rule).
    bool FeiertageAuslassen() const { return m_bFeiertageAuslassen; }
    void SetFeiertageAuslassen(bool value) { m_bFeiertageAuslassen = value; }

private:
    int32_t m_Id = 0;
    int32_t m_SerieId = 0;
    TovoDate m_datBeginn;
    TovoDate m_datEnde;
    int m_AnzTermin = 0;
    TovoDate m_TimeBeginn;
    TovoDate m_TimeEnde;
    int m_Daily = -1;
    int m_Weekly = -1;
    int m_Weekday = 0;
    int m_FreqMonth = 0;
    int m_Month = 0;
    int m_Day = 0;
    int m_Anz = 0;
    int m_DayArt = 0;
    bool m_bFeiertageAuslassen = false;
};

#include "CSerienFkt.h"

void CSerienFkt::Reset() {
    m_Id = 0;
    m_SerieId = 0;
    m_datBeginn = TovoDate::noDate();
    m_datEnde = TovoDate::noDate();
    m_AnzTermin = 0;
    m_TimeBeginn = TovoDate::noDate();
    m_TimeEnde = TovoDate::noDate();
    m_Daily = -1; // 0 would mean every working day
    m_Weekly = -1;
    m_Weekday = 0;
    m_FreqMonth = 0;
    m_Month = 0;
    m_Day = 0;
    m_Anz = 0;
    m_DayArt = 0;
    m_bFeiertageAuslassen = false;
}

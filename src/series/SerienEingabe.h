#pragma once

#include "CSerienFkt.h"

#include <QString>
#include <array>

// What the series dialog's fields hold, as the user left them. Numbers stay texts, because the
// description repeats some of them as typed ("Alle 02 Tage"); list choices are item numbers
// (0 = nothing chosen).
struct SerienEingabe {
    enum class Muster { Taeglich, Woechentlich, Monatlich, Jaehrlich };

    QString stBeginn;      // edBeginn
    QString stEnde;        // edEnde
    QString stAnzTerm;     // edAnzTerm
    bool bEndeNach = true; // obEndeNach, else obEndeDatum
    QString stTimeBeginn;  // edTimeBeginn
    QString stTimeEnde;    // edTimeEnde

    Muster muster = Muster::Taeglich;
    bool bJedenArb = false; // obJedenArb, else obJeden
    QString stFreqTag;
    QString stFreqWeek;
    std::array<bool, 7> bWeekday{}; // Monday ... Sunday
    bool bMonatAmTag = true;        // monthly: obRule(0), else obRule(1)
    bool bJahrAmTag = true;         // yearly: obRule(2), else obRule(3)
    QString stDay;
    std::array<QString, 2> stFreqMonth;
    int iAnz = 0;
    int iDayArt = 0;
    QString stDayYear;
    std::array<int, 2> iMonth{};
    int iAnzYear = 0;
    int iDayArtYear = 0;
};

// Why the fields give no rule: the message, the object name of the field to focus and, for an
// end before the start, the corrected text of that field.
struct SerienAblehnung {
    QString stMeldung;
    QString stFeld;
    QString stKorrektur; // null = the field keeps its text
    // The end before the start is reported on every recalculation, not only on OK.
    bool bImmerMelden = false;
};

// Builds the rule and its description from the fields. False when the fields give no series;
// `ablehnung` says why. The rule is reset first; on the end before the start it holds dates and
// times but no pattern.
bool FillRecord(const SerienEingabe& in, CSerienFkt& rule, QString& stBeschreibung,
                SerienAblehnung& ablehnung);

// "Montag" ... "Sonntag" for the weekday bits, Monday first, joined by ", ".
QString WeekdayNames(int weekdayBits);

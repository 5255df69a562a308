#include "SerienEingabe.h"

#include "SerienBerechnung.h"

#include <QStringList>

namespace {

const QString kMsgEndeVorAnfang = QStringLiteral("Terminende darf nicht vor Terminanfang liegen!");
const QString kMsgDatum = QStringLiteral("Geben Sie ein gültiges Datum ein!");
const QString kMsgZeit = QStringLiteral("Geben Sie eine gültige Uhrzeit ein!");
const QString kMsgAnzahl =
    QStringLiteral("Geben Sie eine Anzahl von Terminen zwischen 1 und %1 ein!")
        .arg(R_Main::kMaxTermine);
const QString kMsgFrequenz = QStringLiteral("Geben Sie eine Zahl größer als 0 ein!");
const QString kMsgWochentag = QStringLiteral("Wählen Sie mindestens einen Wochentag aus!");
const QString kMsgTag = QStringLiteral("Geben Sie einen Tag zwischen 1 und %1 ein!");
const QString kMsgMonat = QStringLiteral("Wählen Sie einen Monat aus!");

// A refusal, thrown inside FillRecord and caught at its end.
struct Refusal {
    QString feld;
    QString meldung;
};

// The number of a digits field; empty or unreadable counts as 0.
int number(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? n : 0;
}

// Empty means no date; anything else must be a date.
TovoDate date(const QString& text, const char* feld) {
    if (text.trimmed().isEmpty())
        return TovoDate::noDate();
    TovoDate d;
    if (!TovoDate::parse(text, d))
        throw Refusal{QLatin1String(feld), kMsgDatum};
    return d.datePart();
}

// Empty means 00:00.
TovoDate time(const QString& text, const char* feld) {
    if (text.trimmed().isEmpty())
        return TovoDate(0.0);
    TovoDate t;
    if (!TovoDate::parse(text, t))
        throw Refusal{QLatin1String(feld), kMsgZeit};
    return t.timePart();
}

int frequency(const QString& text, const char* feld) {
    const int n = number(text);
    if (n < 1)
        throw Refusal{QLatin1String(feld), kMsgFrequenz};
    return n;
}

// The longest the month can be (February 29).
int maxDays(int month) {
    return int(TovoDate::fromParts(2000, month + 1, 1) - TovoDate::fromParts(2000, month, 1));
}

int dayOf(const QString& text, int month, const char* feld) {
    const int max = month >= 1 && month <= 12 ? maxDays(month) : 31;
    const int d = number(text);
    if (d < 1 || d > max)
        throw Refusal{QLatin1String(feld), kMsgTag.arg(max)};
    return d;
}

int monthOf(int item, const char* feld) {
    if (item < 1 || item > 12)
        throw Refusal{QLatin1String(feld), kMsgMonat};
    return item;
}

// Fills the pattern of the chosen option and returns its description.
QString fillPattern(const SerienEingabe& in, CSerienFkt& rule) {
    using M = SerienEingabe::Muster;
    switch (in.muster) {
    case M::Taeglich:
        if (in.bJedenArb) {
            rule.SetDaily(0);
            return QStringLiteral("Jeden Arbeitstag");
        }
        rule.SetDaily(frequency(in.stFreqTag, "edFreqTag"));
        return QStringLiteral("Alle ") + in.stFreqTag + QStringLiteral(" Tage");
    case M::Woechentlich: {
        int bits = 0;
        for (int i = 0; i < 7; ++i)
            if (in.bWeekday[i])
                bits |= 1 << i;
        const int weeks = frequency(in.stFreqWeek, "edFreqWeek");
        if (bits == 0)
            throw Refusal{QStringLiteral("cbWeekday_0"), kMsgWochentag};
        rule.SetWeekday(bits);
        rule.SetWeekly(weeks);
        return QStringLiteral("Alle ") + in.stFreqWeek + QStringLiteral(" Wochen, am ") +
               WeekdayNames(bits);
    }
    case M::Monatlich:
        if (in.bMonatAmTag) {
            rule.SetFreqMonth(frequency(in.stFreqMonth[0], "edFreqMonth_0"));
            rule.SetDay(dayOf(in.stDay, 0, "edDay"));
            return QStringLiteral("Am ") + in.stDay + QStringLiteral(". Tag jedes ") +
                   in.stFreqMonth[0] + QStringLiteral(". Monats");
        }
        rule.SetFreqMonth(frequency(in.stFreqMonth[1], "edFreqMonth_1"));
        rule.SetAnz(in.iAnz);
        rule.SetDayArt(in.iDayArt);
        return QStringLiteral("Am %1. %2 jedes %3. Monats")
            .arg(rule.Anz())
            .arg(TovoDate::weekdayName(rule.DayArt()))
            .arg(rule.FreqMonth());
    case M::Jaehrlich:
        if (in.bJahrAmTag) {
            rule.SetMonth(monthOf(in.iMonth[0], "coMonth_0"));
            rule.SetDay(dayOf(in.stDayYear, rule.Month(), "edDayYear"));
            return QStringLiteral("Jährlich am %1. %2")
                .arg(rule.Day())
                .arg(TovoDate::monthName(rule.Month()));
        }
        rule.SetMonth(monthOf(in.iMonth[1], "coMonth_1"));
        rule.SetAnz(in.iAnzYear);
        rule.SetDayArt(in.iDayArtYear);
        return QStringLiteral("Jährlich am %1. %2 im %3")
            .arg(rule.Anz())
            .arg(TovoDate::weekdayName(rule.DayArt()))
            .arg(TovoDate::monthName(rule.Month()));
    }
    return {};
}

} // namespace

QString WeekdayNames(int weekdayBits) {
    QStringList names;
    for (int i = 0; i < 7; ++i)
        if (weekdayBits & (1 << i))
            names << TovoDate::weekdayName(i + 1);
    return names.join(QStringLiteral(", "));
}

bool FillRecord(const SerienEingabe& in, CSerienFkt& rule, QString& stBeschreibung,
                SerienAblehnung& ablehnung) {
    rule.Reset();
    stBeschreibung.clear();
    ablehnung = SerienAblehnung();
    try {
        const TovoDate beginn = date(in.stBeginn, "edBeginn");
        const TovoDate ende = date(in.stEnde, "edEnde");
        const TovoDate tmBeginn = time(in.stTimeBeginn, "edTimeBeginn");
        const TovoDate tmEnde = time(in.stTimeEnde, "edTimeEnde");
        rule.SetdatBeginn(beginn);
        rule.SetdatEnde(ende);
        rule.SetAnzTermin(std::min(number(in.stAnzTerm), R_Main::kMaxTermine));
        rule.SetTimeBeginn(tmBeginn);
        rule.SetTimeEnde(tmEnde);

        if (beginn.isNoDate())
            throw Refusal{QStringLiteral("edBeginn"), kMsgDatum};
        if (!in.bEndeNach && ende.isNoDate())
            throw Refusal{QStringLiteral("edEnde"), kMsgDatum};
        // With an end after a number of dates the end date is calculated, not entered: only the
        // times of a one-day series can then be the wrong way round.
        if (!in.bEndeNach && beginn > ende) {
            ablehnung = {kMsgEndeVorAnfang, QStringLiteral("edEnde"),
                         beginn.addDays(1).toShortDateText(), true};
            return false;
        }
        if (beginn == ende && tmBeginn > tmEnde) {
            ablehnung = {kMsgEndeVorAnfang, QStringLiteral("edTimeEnde"),
                         tmBeginn.addHours(1).timePart().format(QStringLiteral("hh:nn")), true};
            return false;
        }
        if (in.bEndeNach) {
            const int n = in.stAnzTerm.trimmed().isEmpty() ? 1 : number(in.stAnzTerm);
            if (n < 1 || n > R_Main::kMaxTermine)
                throw Refusal{QStringLiteral("edAnzTerm"), kMsgAnzahl};
        }
        stBeschreibung = fillPattern(in, rule);
        return true;
    } catch (const Refusal& r) {
        CSerienFkt dates = rule;
        rule.Reset();
        rule.SetdatBeginn(dates.datBeginn());
        rule.SetdatEnde(dates.datEnde());
        rule.SetAnzTermin(dates.AnzTermin());
        rule.SetTimeBeginn(dates.TimeBeginn());
        rule.SetTimeEnde(dates.TimeEnde());
        stBeschreibung.clear();
        ablehnung = {r.meldung, r.feld, QString(), false};
        return false;
    }
}

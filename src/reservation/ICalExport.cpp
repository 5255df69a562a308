#include "ICalExport.h"

#include "CRvDb.h"
#include "CSerienFkt.h"
#include "RecColl.h"
#include "RvGlobals.h"
#include "SerienBerechnung.h"
#include "TovoDate.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTimeZone>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace ICalExport {

namespace {

const QString kTzid = QStringLiteral("Europe/Berlin");
const QString kUidDomain = QStringLiteral("@tovo-raumverwaltung");

// Central European time with the summer time rules in force since 1996.
const char kVTimezone[] = "BEGIN:VTIMEZONE\r\n"
                          "TZID:Europe/Berlin\r\n"
                          "BEGIN:DAYLIGHT\r\n"
                          "TZOFFSETFROM:+0100\r\n"
                          "TZOFFSETTO:+0200\r\n"
                          "TZNAME:CEST\r\n"
                          "DTSTART:19700329T020000\r\n"
                          "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
                          "END:DAYLIGHT\r\n"
                          "BEGIN:STANDARD\r\n"
                          "TZOFFSETFROM:+0200\r\n"
                          "TZOFFSETTO:+0100\r\n"
                          "TZNAME:CET\r\n"
                          "DTSTART:19701025T030000\r\n"
                          "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"
                          "END:STANDARD\r\n"
                          "END:VTIMEZONE\r\n";

const char* const kTage[] = {"MO", "TU", "WE", "TH", "FR", "SA", "SU"};

int64_t TagNr(double d) {
    return static_cast<int64_t>(std::floor(d));
}

// Local date and time as 20260316T100000.
QString LokalZeit(double datum, double zeit) {
    const TovoDate t(TovoDate(datum).datePart().value() + TovoDate(zeit).timePart().value());
    return t.format(QStringLiteral("yyyyMMdd")) + QLatin1Char('T') +
           t.format(QStringLiteral("hhmmss"));
}

QString DatumZeit(double datum, double zeit) {
    const TovoDate t(datum + TovoDate(zeit).timePart().value());
    return t.toShortDateText() + QLatin1Char(' ') + t.format(QStringLiteral("hh:mm"));
}

// The RRULE of a series rule whose dates it reproduces exactly, or "".
QString RegelAlsRRule(const CSerienFkt& r) {
    if (r.Month() >= 1) {
        // A 29 February would be moved to 1 March in other years by the calculation.
        if (r.Day() < 1 || r.Day() > 28 || r.FreqMonth() != 0)
            return {};
        return QStringLiteral("FREQ=YEARLY;BYMONTH=%1;BYMONTHDAY=%2").arg(r.Month()).arg(r.Day());
    }
    if (r.FreqMonth() >= 1) {
        if (r.Day() >= 1)
            // Days past the 28th are clamped to the month's end, which an RRULE cannot say.
            return r.Day() <= 28 ? QStringLiteral("FREQ=MONTHLY;INTERVAL=%1;BYMONTHDAY=%2")
                                       .arg(r.FreqMonth())
                                       .arg(r.Day())
                                 : QString();
        if (r.Anz() < 1 || r.Anz() > 5 || r.DayArt() < 1 || r.DayArt() > 7)
            return {};
        return QStringLiteral("FREQ=MONTHLY;INTERVAL=%1;BYDAY=%2%3")
            .arg(r.FreqMonth())
            .arg(r.Anz() == 5 ? -1 : r.Anz())
            .arg(QLatin1String(kTage[r.DayArt() - 1]));
    }
    if (r.Weekly() >= 1) {
        QStringList tage;
        for (int i = 0; i < 7; ++i)
            if (r.Weekday() & (1 << i))
                tage << QLatin1String(kTage[i]);
        if (tage.isEmpty())
            return {};
        return QStringLiteral("FREQ=WEEKLY;INTERVAL=%1;BYDAY=%2;WKST=MO")
            .arg(r.Weekly())
            .arg(tage.join(QLatin1Char(',')));
    }
    if (r.Daily() == 0)
        return QStringLiteral("FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR;WKST=MO");
    if (r.Daily() >= 1)
        return QStringLiteral("FREQ=DAILY;INTERVAL=%1").arg(r.Daily());
    return {};
}

// A rule recognised from the dates: every n days (or weeks) from the first to the last, the
// missing ones to be excluded. Dates without a common step of at most 28 days give "".
QString SchrittRegel(const QVector<int64_t>& tage, QVector<int64_t>& regelTage) {
    regelTage.clear();
    if (tage.size() < 2)
        return {};
    int64_t schritt = 0;
    for (int i = 1; i < tage.size(); ++i)
        schritt = std::gcd(schritt, tage[i] - tage[i - 1]);
    if (schritt < 1 || schritt > 28)
        return {};
    const int64_t anzahl = (tage.last() - tage.first()) / schritt + 1;
    // Not more excluded dates than kept ones: else the dates are listed.
    if (anzahl > 2 * tage.size())
        return {};
    for (int64_t t = tage.first(); t <= tage.last(); t += schritt)
        regelTage.append(t);
    return schritt % 7 == 0 ? QStringLiteral("FREQ=WEEKLY;INTERVAL=%1").arg(schritt / 7)
                            : QStringLiteral("FREQ=DAILY;INTERVAL=%1").arg(schritt);
}

class Schreiber {
public:
    void zeile(const QString& name, const QString& wert) {
        m_out += FoldLine((name + QLatin1Char(':') + wert).toUtf8());
    }
    void roh(const char* text) { m_out += text; }
    QByteArray text() const { return m_out; }

private:
    QByteArray m_out;
};

QString Beschreibung(const CBelegungRec& b) {
    QStringList teile;
    if (!b.Bem.trimmed().isEmpty())
        teile << b.Bem.trimmed();
    if (!IsNoDate(b.Udt_von))
        teile << QStringLiteral("Umbau: ") + DatumZeit(b.Udt_von, b.Utm_von) +
                     QStringLiteral(" – ") +
                     (IsNoDate(b.Udt_bis) ? DatumZeit(b.dt_von, b.tm_von)
                                          : DatumZeit(b.Udt_bis, b.Utm_bis));
    if (!IsNoDate(b.Rdt_bis))
        teile << QStringLiteral("Rückbau: ") +
                     (IsNoDate(b.Rdt_von) ? DatumZeit(b.dt_bis, b.tm_bis)
                                          : DatumZeit(b.Rdt_von, b.Rtm_von)) +
                     QStringLiteral(" – ") + DatumZeit(b.Rdt_bis, b.Rtm_bis);
    return teile.join(QLatin1Char('\n'));
}

QString Zeitliste(const QVector<int64_t>& tage, double zeit) {
    QStringList werte;
    for (const int64_t t : tage)
        werte << LokalZeit(static_cast<double>(t), zeit);
    return werte.join(QLatin1Char(','));
}

// What a VEVENT says beyond its booking: the recurrence of a series, or which date of the
// series it replaces.
struct Wiederholung {
    QString rrule;
    QVector<int64_t> exdates;
    QVector<int64_t> rdates;
    QString recurrenceId; // local date and time of the replaced date
};

void Ereignis(Schreiber& w, const CBelegungRec& b, const RaumName& raumName, const QString& uid,
              const QString& stempel, const Wiederholung& wdh = {}) {
    const QString& rrule = wdh.rrule;
    const QVector<int64_t>& exdates = wdh.exdates;
    const QVector<int64_t>& rdates = wdh.rdates;
    w.roh("BEGIN:VEVENT\r\n");
    w.zeile(QStringLiteral("UID"), uid);
    w.zeile(QStringLiteral("DTSTAMP"), stempel);
    if (!wdh.recurrenceId.isEmpty())
        w.zeile(QStringLiteral("RECURRENCE-ID;TZID=") + kTzid, wdh.recurrenceId);
    w.zeile(QStringLiteral("DTSTART;TZID=") + kTzid, LokalZeit(b.dt_von, b.tm_von));
    w.zeile(QStringLiteral("DTEND;TZID=") + kTzid, LokalZeit(b.dt_bis, b.tm_bis));
    if (!rrule.isEmpty())
        w.zeile(QStringLiteral("RRULE"), rrule);
    if (!exdates.isEmpty())
        w.zeile(QStringLiteral("EXDATE;TZID=") + kTzid, Zeitliste(exdates, b.tm_von));
    if (!rdates.isEmpty())
        w.zeile(QStringLiteral("RDATE;TZID=") + kTzid, Zeitliste(rdates, b.tm_von));
    w.zeile(QStringLiteral("SUMMARY"), EscapeText(b.Verst.trimmed()));
    const QString raum = raumName ? raumName(b.rb_id) : QString();
    if (!raum.isEmpty())
        w.zeile(QStringLiteral("LOCATION"), EscapeText(raum));
    const QString beschreibung = Beschreibung(b);
    if (!beschreibung.isEmpty())
        w.zeile(QStringLiteral("DESCRIPTION"), EscapeText(beschreibung));
    if (!b.Best.trimmed().isEmpty())
        w.zeile(QStringLiteral("X-TOVO-BESTELLER"), EscapeText(b.Best.trimmed()));
    w.roh("END:VEVENT\r\n");
}

bool GleicheZeit(double a, double b) {
    return std::llround(TovoDate(a).timePart().value() * 86400.0) ==
           std::llround(TovoDate(b).timePart().value() * 86400.0);
}

} // namespace

QString EscapeText(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char(';') || c == QLatin1Char(',')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (c == QLatin1Char('\r')) {
            out += QStringLiteral("\\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == QLatin1Char('\n')) {
            out += QStringLiteral("\\n");
        } else if (c.unicode() < 0x20 && c != QLatin1Char('\t')) {
            // Other control characters are not allowed in TEXT.
            continue;
        } else {
            out += c;
        }
    }
    return out;
}

QByteArray FoldLine(const QByteArray& line) {
    QByteArray out;
    int start = 0;
    int grenze = 75; // the first line; continuation lines have 74 after their blank
    while (line.size() - start > grenze) {
        int ende = start + grenze;
        // Never between the bytes of one character: back to the start of a UTF-8 sequence.
        while (ende > start && (static_cast<unsigned char>(line[ende]) & 0xC0) == 0x80)
            --ende;
        out += line.mid(start, ende - start);
        out += "\r\n ";
        start = ende;
        grenze = 74;
    }
    out += line.mid(start);
    out += "\r\n";
    return out;
}

Auftragsserie Zerlege(const QVector<CBelegungRec>& buchungen, const CSerienFkt* regel) {
    Auftragsserie z;
    z.buchungen = buchungen;
    QVector<CBelegungRec>& sortiert = z.buchungen;
    std::sort(sortiert.begin(), sortiert.end(), [](const CBelegungRec& a, const CBelegungRec& b) {
        return a.dt_von != b.dt_von ? a.dt_von < b.dt_von : a.Rec_ID < b.Rec_ID;
    });
    if (sortiert.size() < 2)
        return z;

    // The series: one-day bookings in the order's most used room at the first one's times.
    QHash<int32_t, int> proRaum;
    for (const CBelegungRec& b : sortiert)
        ++proRaum[b.rb_id];
    int32_t raum = sortiert.first().rb_id;
    for (auto it = proRaum.cbegin(); it != proRaum.cend(); ++it)
        if (it.value() > proRaum.value(raum))
            raum = it.key();
    int erste = -1;
    for (int i = 0; i < sortiert.size(); ++i) {
        const CBelegungRec& b = sortiert[i];
        if (b.rb_id != raum || TagNr(b.dt_von) != TagNr(b.dt_bis))
            continue;
        if (erste < 0)
            erste = i;
        if (GleicheZeit(b.tm_von, sortiert[erste].tm_von) &&
            GleicheZeit(b.tm_bis, sortiert[erste].tm_bis))
            z.serie.append(i);
    }
    if (z.serie.size() < 2) {
        z.serie.clear();
        return z;
    }

    QVector<int64_t> tage;
    for (const int i : z.serie)
        tage.append(TagNr(sortiert[i].dt_von));
    const QSet<int64_t> serienTage(tage.begin(), tage.end());
    QVector<int64_t> alleTage = tage;
    for (const CBelegungRec& b : sortiert)
        if (TagNr(b.dt_von) == TagNr(b.dt_bis) && !serienTage.contains(TagNr(b.dt_von)))
            alleTage.append(TagNr(b.dt_von));
    std::sort(alleTage.begin(), alleTage.end());
    alleTage.erase(std::unique(alleTage.begin(), alleTage.end()), alleTage.end());

    // The rule's own dates when its RRULE covers every booked date, else a step rule.
    QString rrule;
    if (regel) {
        rrule = RegelAlsRRule(*regel);
        if (!rrule.isEmpty()) {
            R_Main::ForEachTermin(*regel, [&](TovoDate t) {
                z.regelTage.append(TagNr(t.value()));
                return true;
            });
            if (!std::includes(z.regelTage.begin(), z.regelTage.end(), tage.begin(), tage.end()))
                rrule.clear();
        }
    }
    if (rrule.isEmpty())
        rrule = SchrittRegel(alleTage, z.regelTage);
    if (rrule.isEmpty())
        rrule = SchrittRegel(tage, z.regelTage);
    if (rrule.isEmpty()) {
        z.regelTage.clear();
        return z;
    }

    // Bookings of the order on a date of the rule but in another room or at other times replace
    // that date; the rule's dates without any booking are left out.
    QSet<int64_t> ersetzt;
    QVector<int64_t> belegt = tage;
    for (int i = 0; i < sortiert.size(); ++i) {
        const CBelegungRec& b = sortiert[i];
        const int64_t tag = TagNr(b.dt_von);
        if (tag == TagNr(b.dt_bis) && !serienTage.contains(tag) && !ersetzt.contains(tag) &&
            std::binary_search(z.regelTage.begin(), z.regelTage.end(), tag)) {
            z.ersatz.append(i);
            ersetzt.insert(tag);
            belegt.append(tag);
        }
    }
    std::sort(belegt.begin(), belegt.end());
    std::set_difference(z.regelTage.begin(), z.regelTage.end(), belegt.begin(), belegt.end(),
                        std::back_inserter(z.ausgelassen));
    z.rrule = rrule + QStringLiteral(";COUNT=%1").arg(z.regelTage.size());
    return z;
}

QString IcsText(const QVector<CBelegungRec>& buchungen, const RaumName& raumName,
                const CSerienFkt* regel) {
    Schreiber w;
    w.roh("BEGIN:VCALENDAR\r\n"
          "VERSION:2.0\r\n"
          "PRODID:-//Tovo//Raumverwaltung//DE\r\n"
          "CALSCALE:GREGORIAN\r\n"
          "METHOD:PUBLISH\r\n");
    w.roh(kVTimezone);
    const QString stempel =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));

    const Auftragsserie z = Zerlege(buchungen, regel);
    const QVector<CBelegungRec>& sortiert = z.buchungen;
    QSet<int> geschrieben(z.serie.begin(), z.serie.end());
    if (!z.serie.isEmpty()) {
        CBelegungRec kopf = sortiert[z.serie.first()];
        const QString uid = QStringLiteral("auftrag-%1").arg(kopf.lAuftrNr) + kUidDomain;
        Wiederholung wdh;
        if (!z.rrule.isEmpty()) {
            wdh.rrule = z.rrule;
            wdh.exdates = z.ausgelassen;
            kopf.dt_von = kopf.dt_bis = static_cast<double>(z.regelTage.first());
        } else {
            for (int i = 1; i < z.serie.size(); ++i)
                wdh.rdates.append(TagNr(sortiert[z.serie[i]].dt_von));
        }
        Ereignis(w, kopf, raumName, uid, stempel, wdh);
        for (const int i : z.ersatz) {
            Wiederholung statt;
            statt.recurrenceId = LokalZeit(sortiert[i].dt_von, kopf.tm_von);
            Ereignis(w, sortiert[i], raumName, uid, stempel, statt);
            geschrieben.insert(i);
        }
    }
    for (int i = 0; i < sortiert.size(); ++i) {
        if (geschrieben.contains(i))
            continue;
        const CBelegungRec& b = sortiert[i];
        Ereignis(w, b, raumName, QStringLiteral("belegung-%1").arg(b.Rec_ID) + kUidDomain, stempel);
    }
    w.roh("END:VCALENDAR\r\n");
    return QString::fromUtf8(w.text());
}

RaumName ProjektRaeume() {
    auto cache = std::make_shared<QHash<int32_t, QString>>();
    return [cache](int32_t id) {
        if (!cache->contains(id)) {
            CAnzeigeRec raum;
            raum.az_ID = id;
            cache->insert(id, gRvDb && gRvDb->Readrb_AnzeigeRec(&raum) ? raum.Kurzbez : QString());
        }
        return cache->value(id);
    };
}

bool ReadGespeichert(int32_t lAuftrNr, int32_t recId, QVector<CBelegungRec>& out, QString* error) {
    out.clear();
    const auto fehler = [error](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!gRvDb)
        return fehler(QStringLiteral("Die Datenbank ist nicht geöffnet."));
    if (lAuftrNr != 0) {
        CBelegungRecColl coll;
        if (!gRvDb->ReadAuftrag2Coll(lAuftrNr, &coll) || coll.Count() == 0)
            return fehler(gRvDb->LastError().isEmpty()
                              ? QStringLiteral("Der Auftrag %1 hat keine Belegung.").arg(lAuftrNr)
                              : gRvDb->LastError());
        for (const CBelegungRec* b : coll)
            out.append(*b);
        return true;
    }
    CBelegungRec b;
    b.Rec_ID = recId;
    if (recId == 0 || !gRvDb->Readfm_belegungRec(&b) || b.Rec_ID != recId)
        return fehler(recId == 0 ? QStringLiteral("Die Reservierung wurde noch nicht gespeichert!")
                                 : gRvDb->LastError());
    out.append(b);
    return true;
}

} // namespace ICalExport

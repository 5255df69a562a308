#include "Feiertage.h"

#include "Allg_Hilfsfkt.h"
#include "RvGlobals.h"

#include <QHash>
#include <QMutex>
#include <algorithm>

namespace Feiertage {

namespace {

// States where a holiday applies; a holiday with an empty list applies everywhere.
struct Regel {
    int monat = 0; // 0: days after Easter Sunday in `tag`
    int tag = 0;
    const char* name;
    QStringList laender;
    int abJahr = 0;
    int bisJahr = 9999;
};

const QVector<Regel>& Regeln() {
    static const QVector<Regel> regeln = {
        {1, 1, "Neujahr", {}},
        {1, 6, "Heilige Drei Könige", {"BW", "BY", "ST"}},
        {3, 8, "Internationaler Frauentag", {"BE"}, 2019},
        {3, 8, "Internationaler Frauentag", {"MV"}, 2023},
        // One-off: the 75th and 80th anniversary of the end of the war in Europe.
        {5, 8, "Tag der Befreiung", {"BE"}, 2020, 2020},
        {5, 8, "Tag der Befreiung", {"BE"}, 2025, 2025},
        {0, -2, "Karfreitag", {}},
        {0, 0, "Ostersonntag", {"BB"}},
        {0, 1, "Ostermontag", {}},
        {5, 1, "Tag der Arbeit", {}},
        {0, 39, "Christi Himmelfahrt", {}},
        {0, 49, "Pfingstsonntag", {"BB"}},
        {0, 50, "Pfingstmontag", {}},
        {0, 60, "Fronleichnam", {"BW", "BY", "HE", "NW", "RP", "SL"}},
        {8, 15, "Mariä Himmelfahrt", {"SL"}},
        {9, 20, "Weltkindertag", {"TH"}, 2019},
        {10, 3, "Tag der Deutschen Einheit", {}, 1990},
        {10, 31, "Reformationstag", {"BB", "MV", "SN", "ST", "TH"}},
        {10, 31, "Reformationstag", {"HB", "HH", "NI", "SH"}, 2018},
        {10, 31, "Reformationstag", {}, 2017, 2017},
        {11, 1, "Allerheiligen", {"BW", "BY", "NW", "RP", "SL"}},
        {12, 25, "1. Weihnachtstag", {}},
        {12, 26, "2. Weihnachtstag", {}},
    };
    return regeln;
}

// The Wednesday before 23 November.
TovoDate BussUndBettag(int jahr) {
    TovoDate d = TovoDate::fromParts(jahr, 11, 22);
    while (d.weekdayMondayFirst() != 3)
        d = d.addDays(-1);
    return d;
}

QHash<QString, QHash<qint64, QString>>& Cache() {
    static QHash<QString, QHash<qint64, QString>> cache;
    return cache;
}

QMutex& CacheMutex() {
    static QMutex mutex;
    return mutex;
}

} // namespace

TovoDate Ostersonntag(int jahr) {
    // Anonymous Gregorian algorithm (Meeus/Jones/Butcher).
    const int a = jahr % 19;
    const int b = jahr / 100;
    const int c = jahr % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int monat = (h + l - 7 * m + 114) / 31;
    const int tag = (h + l - 7 * m + 114) % 31 + 1;
    return TovoDate::fromParts(jahr, monat, tag);
}

QVector<Feiertag> ImJahr(int jahr, const QString& land) {
    const QString code = land.trimmed().toUpper();
    const TovoDate ostern = Ostersonntag(jahr);
    QVector<Feiertag> out;
    for (const Regel& r : Regeln()) {
        if (jahr < r.abJahr || jahr > r.bisJahr)
            continue;
        if (!r.laender.isEmpty() && !r.laender.contains(code))
            continue;
        const TovoDate datum =
            r.monat == 0 ? ostern.addDays(r.tag) : TovoDate::fromParts(jahr, r.monat, r.tag);
        const QString name = QString::fromUtf8(r.name);
        // The same day from two rules (Reformationstag 2017) counts once.
        if (std::none_of(out.begin(), out.end(),
                         [&](const Feiertag& f) { return f.datum == datum; }))
            out.append({datum, name});
    }
    // A holiday everywhere until 1994, since then in Saxony only.
    if (jahr <= 1994 || code == QLatin1String("SN"))
        out.append({BussUndBettag(jahr), QStringLiteral("Buß- und Bettag")});
    std::sort(out.begin(), out.end(), [](const Feiertag& a, const Feiertag& b) {
        return a.datum.value() < b.datum.value();
    });
    return out;
}

QString Name(TovoDate tag, const QString& land) {
    const TovoDate d = tag.datePart();
    if (d.isNoDate() || d.value() < 1)
        return {};
    const int jahr = d.year();
    const QString key = land.trimmed().toUpper() + QLatin1Char('/') + QString::number(jahr);
    QMutexLocker lock(&CacheMutex());
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it == cache.end()) {
        QHash<qint64, QString> tage;
        for (const Feiertag& f : ImJahr(jahr, land))
            tage.insert(static_cast<qint64>(f.datum.value()), f.name);
        it = cache.insert(key, tage);
    }
    return it->value(static_cast<qint64>(d.value()));
}

QString ProjektLand() {
    // Read once per project, like the other settings of TovoRaumVerw.ini.
    static QString projekt;
    static QString land;
    QMutexLocker lock(&CacheMutex());
    if (projekt.isNull() || projekt != gstProjektDir) {
        projekt = gstProjektDir.isNull() ? QStringLiteral("") : gstProjektDir;
        land = Allg_Hilfsfkt::ReadIniValue(QStringLiteral("Feiertage"), QStringLiteral("Land"),
                                           QString())
                   .trimmed()
                   .toUpper();
    }
    return land;
}

} // namespace Feiertage

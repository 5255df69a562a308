#include "BerichtDaten.h"

#include "DruckTabelle.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace BerichtDaten {
namespace {

using kainjow::mustache::data;

const QLocale& deutsch() {
    static const QLocale german(QLocale::German, QLocale::Germany);
    return german;
}

std::string s(const QString& text) {
    return text.toStdString();
}

const char* const kKosten[7] = {"Miete",      "Umbau",      "Pausch", "Technik",
                                "Tageskraft", "Sicherheit", "Sonst"};
const char* const kKostenText[7] = {"Raummiete",  "Umbau",      "Pauschale", "Technik",
                                    "Tageskraft", "Sicherheit", "Sonstiges"};
const char* const kDaten[6] = {"dt_von", "dt_bis", "Udt_von", "Udt_bis", "Rdt_von", "Rdt_bis"};

bool gesetzt(const QVariant& tag) {
    return !tag.isNull() && tag.toDouble() > 0 && !IsNoDate(tag.toDouble());
}

// "16.03.2026 08:00 – 10:00", the end's date only when it differs; "" without a start.
QString spanne(const QVariant& dv, const QString& tv, const QVariant& db, const QString& tb) {
    if (!gesetzt(dv))
        return {};
    QString text = Datum(dv.toDouble());
    if (!tv.isEmpty())
        text += QLatin1Char(' ') + tv;
    text += QStringLiteral(" – ");
    if (gesetzt(db) && std::floor(db.toDouble()) != std::floor(dv.toDouble()))
        text += Datum(db.toDouble()) + QLatin1Char(' ');
    text += tb;
    return text.trimmed();
}

struct Zeile {
    QSqlRecord rec;
    QString gruppe;        // heading of its group
    double kosten[8] = {}; // the seven costs and their sum
    // What the rows are sorted by, read once: a year's list sorts 100,000 rows.
    double dtVon = 0;
    QString tmVon, kurzbez;
};

QString text(const Zeile& z, const char* feld) {
    return z.rec.value(QLatin1String(feld)).toString();
}

data zeileDaten(const Zeile& z) {
    data d;
    for (int i = 0; i < z.rec.count(); ++i)
        d.set(s(DruckTabelle::Spaltenname(z.rec.fieldName(i))), s(z.rec.value(i).toString()));
    for (const char* feld : kDaten) {
        const QVariant v = z.rec.value(QLatin1String(feld));
        d.set(feld, s(gesetzt(v) ? Datum(v.toDouble()) : QString()));
    }
    const int auftrag = z.rec.value(QStringLiteral("lAuftrNr")).toInt();
    d.set("lAuftrNr", s(auftrag ? QString::number(auftrag) : QString()));
    d.set("UmbAufwand", s(Zahl(z.rec.value(QStringLiteral("UmbAufwand")).toDouble())));

    data kostenzeilen{data::type::list};
    for (int i = 0; i < 7; ++i) {
        d.set(kKosten[i], s(Geld(z.kosten[i])));
        if (z.kosten[i] != 0) {
            data k;
            k.set("Bezeichnung", kKostenText[i]);
            k.set("Betrag", s(Geld(z.kosten[i])));
            kostenzeilen.push_back(k);
        }
    }
    d.set("hatKosten", !kostenzeilen.is_empty_list());
    d.set("Kostenzeilen", kostenzeilen);
    d.set("Kostensumme", s(Geld(z.kosten[7])));

    const QVariant von = z.rec.value(QStringLiteral("dt_von"));
    if (gesetzt(von)) {
        const TovoDate tag(von.toDouble());
        d.set("Wochentag", s(TovoDate::weekdayName(tag.weekdayMondayFirst())));
        d.set("Datum", s(tag.format(QStringLiteral("ddd, dd.mm.yyyy"))));
    }
    const QString tmVon = text(z, "tm_von"), tmBis = text(z, "tm_bis");
    d.set("Zeit", s(tmVon + QStringLiteral(" – ") + tmBis));
    const QVariant bis = z.rec.value(QStringLiteral("dt_bis"));
    d.set("Termin", s(spanne(von, tmVon, bis, tmBis)));
    // Within a list by day: the times, with the dates only for a booking over several days.
    const bool mehrtaegig =
        gesetzt(von) && gesetzt(bis) && std::floor(von.toDouble()) != std::floor(bis.toDouble());
    const auto kurz = [](const QVariant& tag) {
        return TovoDate(tag.toDouble()).format(QStringLiteral("dd.mm."));
    };
    const QString spanneText =
        mehrtaegig ? QString(kurz(von) + QLatin1Char(' ') + tmVon + QStringLiteral(" – ") +
                             kurz(bis) + QLatin1Char(' ') + tmBis)
                   : QString(tmVon + QStringLiteral(" – ") + tmBis);
    d.set("Spanne", s(spanneText));
    const QString umbau = spanne(z.rec.value(QStringLiteral("Udt_von")), text(z, "Utm_von"),
                                 z.rec.value(QStringLiteral("Udt_bis")), text(z, "Utm_bis"));
    const QString rueckbau = spanne(z.rec.value(QStringLiteral("Rdt_von")), text(z, "Rtm_von"),
                                    z.rec.value(QStringLiteral("Rdt_bis")), text(z, "Rtm_bis"));
    // In lists: only the times when the span lies on the booking's first day.
    const auto kurzeSpanne = [&](const char* dv, const char* tv, const char* tb) {
        const QVariant tag = z.rec.value(QLatin1String(dv));
        if (!gesetzt(tag))
            return QString();
        const QString zeiten = text(z, tv) + QStringLiteral(" – ") + text(z, tb);
        if (gesetzt(von) && std::floor(tag.toDouble()) == std::floor(von.toDouble()))
            return zeiten;
        return QString(kurz(tag) + QLatin1Char(' ') + zeiten);
    };
    d.set("UmbauUhr", s(kurzeSpanne("Udt_von", "Utm_von", "Utm_bis")));
    d.set("RueckbauUhr", s(kurzeSpanne("Rdt_von", "Rtm_von", "Rtm_bis")));
    d.set("Umbauzeit", s(umbau));
    d.set("Rueckbauzeit", s(rueckbau));
    d.set("hatUmbau", !umbau.isEmpty());
    d.set("hatRueckbau", !rueckbau.isEmpty());
    return d;
}

// The library copies every value it is given; the lists of a long report are moved in instead,
// so that each row is built once and copied only into its group.
void anhaengen(data& liste, data&& wert) {
    const_cast<kainjow::mustache::basic_list<std::string>&>(liste.list_value())
        .push_back(std::move(wert));
}
void setze(data& objekt, const std::string& name, data&& wert) {
    objekt.set(name, data(false));
    *const_cast<data*>(objekt.get(name)) = std::move(wert);
}

// Sum.* of the costs of some rows, and their number.
data summen(const QVector<const Zeile*>& zeilen) {
    double summe[8] = {};
    for (const Zeile* z : zeilen)
        for (int i = 0; i < 8; ++i)
            summe[i] += z->kosten[i];
    data d;
    for (int i = 0; i < 7; ++i)
        d.set(kKosten[i], s(Geld(summe[i])));
    d.set("Kostensumme", s(Geld(summe[7])));
    return d;
}

bool raumarten(const QString& connection, QHash<int, QString>& out, QString* error) {
    QSqlQuery q(Verbindung(connection));
    if (!q.exec(QStringLiteral("SELECT a.az_ID, r.stRaumArt FROM T_rb_Anzeige a "
                               "LEFT JOIN T_Raumart r ON r.lId = a.lRaumartId"))) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    while (q.next())
        out.insert(q.value(0).toInt(), q.value(1).toString());
    return true;
}

QString belegungen(qsizetype n) {
    return n == 1 ? QStringLiteral("1 Belegung") : QStringLiteral("%1 Belegungen").arg(n);
}

int vergleiche(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive);
}

} // namespace

QString Geld(double betrag) {
    return deutsch().toString(betrag, 'f', 2);
}

QString Datum(double tag) {
    if (tag <= 0 || IsNoDate(tag))
        return {};
    return TovoDate(tag).toShortDateText();
}

QString Zahl(double wert) {
    return deutsch().toString(wert, 'g', 10);
}

bool Read(const QString& connection, const BerichtArt& art, data& out, QString* error) {
    QSqlQuery q;
    if (!DruckTabelle::ReadZeilen(connection, q, error))
        return false;
    QHash<int, QString> arten;
    if (art.gruppe == BerichtGruppe::Raumart && !raumarten(connection, arten, error))
        return false;

    QVector<Zeile> zeilen;
    while (q.next()) {
        Zeile z;
        z.rec = q.record();
        z.dtVon = z.rec.value(QStringLiteral("dt_von")).toDouble();
        z.tmVon = text(z, "tm_von");
        z.kurzbez = text(z, "Kurzbez");
        for (int i = 0; i < 7; ++i) {
            z.kosten[i] = z.rec.value(QLatin1String(kKosten[i])).toDouble();
            z.kosten[7] += z.kosten[i];
        }
        switch (art.gruppe) {
        case BerichtGruppe::Datum:
            z.gruppe = z.rec.value(QStringLiteral("dt_von")).isNull()
                           ? QString()
                           : TovoDate(z.rec.value(QStringLiteral("dt_von")).toDouble())
                                 .format(QStringLiteral("dddd, dd.mm.yyyy"));
            break;
        case BerichtGruppe::Raum:
            z.gruppe = z.kurzbez;
            break;
        case BerichtGruppe::Raumart:
            z.gruppe = arten.value(z.rec.value(QStringLiteral("rb")).toInt());
            if (z.gruppe.isEmpty())
                z.gruppe = QStringLiteral("(ohne Raumart)");
            break;
        case BerichtGruppe::Keine:
            break;
        }
        zeilen.append(z);
    }

    // By start, then the day lists by time and the room-wise lists by room first.
    std::stable_sort(zeilen.begin(), zeilen.end(), [](const Zeile& a, const Zeile& b) {
        if (a.dtVon != b.dtVon)
            return a.dtVon < b.dtVon;
        const int zeit = a.tmVon.compare(b.tmVon);
        return zeit != 0 ? zeit < 0 : vergleiche(a.kurzbez, b.kurzbez) < 0;
    });
    const auto zeit = [](const Zeile& a, const Zeile& b) { return a.tmVon < b.tmVon; };
    const auto raum = [](const Zeile& a, const Zeile& b) {
        return vergleiche(a.kurzbez, b.kurzbez) < 0;
    };
    if (art.familie == BerichtFamilie::Tag)
        std::stable_sort(zeilen.begin(), zeilen.end(), zeit);
    if (art.gruppe == BerichtGruppe::Raum || art.gruppe == BerichtGruppe::Raumart)
        std::stable_sort(zeilen.begin(), zeilen.end(), raum);
    if (art.gruppe == BerichtGruppe::Raumart)
        std::stable_sort(zeilen.begin(), zeilen.end(), [](const Zeile& a, const Zeile& b) {
            return vergleiche(a.gruppe, b.gruppe) < 0;
        });

    out = data();
    out.set("Titel", s(art.titel));
    out.set("Druckdatum", s(TovoDate::now().format(QStringLiteral("dd.mm.yyyy"))));
    out.set("Anzahl", s(QString::number(zeilen.size())));
    out.set("Belegungen", s(belegungen(zeilen.size())));
    out.set("leer", zeilen.isEmpty());
    out.set("Info", s(zeilen.isEmpty() ? QString() : text(zeilen.first(), "Info")));
    out.set("Zeitraum", *out.get("Info"));

    data alle{data::type::list};
    data gruppen{data::type::list};
    QVector<const Zeile*> alleZeiger, gruppe;
    data gruppenZeilen{data::type::list};
    const auto schliesseGruppe = [&] {
        if (gruppe.isEmpty())
            return;
        data g;
        g.set("Gruppe", s(gruppe.first()->gruppe));
        g.set("Anzahl", s(QString::number(gruppe.size())));
        g.set("Belegungen", s(belegungen(gruppe.size())));
        g.set("Summe", summen(gruppe));
        setze(g, "zeilen", std::move(gruppenZeilen));
        anhaengen(gruppen, std::move(g));
        gruppe.clear();
        gruppenZeilen = data{data::type::list};
    };
    for (const Zeile& z : zeilen) {
        if (!gruppe.isEmpty() && gruppe.first()->gruppe != z.gruppe)
            schliesseGruppe();
        data d = zeileDaten(z);
        alle.push_back(d);
        anhaengen(gruppenZeilen, std::move(d));
        gruppe.append(&z);
        alleZeiger.append(&z);
    }
    schliesseGruppe();
    setze(out, "zeilen", std::move(alle));
    setze(out, "gruppen", std::move(gruppen));
    out.set("Summe", summen(alleZeiger));

    if (art.familie == BerichtFamilie::Auslastung && !zeilen.isEmpty()) {
        data mittel;
        for (int i = 0; i < 3; ++i) {
            double summe = 0;
            for (const Zeile& z : zeilen)
                summe += z.kosten[i];
            mittel.set(kKosten[i], s(Geld(summe / zeilen.size())));
        }
        out.set("Mittel", mittel);
    }
    if (art.familie == BerichtFamilie::Dokument && !zeilen.isEmpty()) {
        const data erste = zeileDaten(zeilen.first());
        for (int i = 0; i < zeilen.first().rec.count(); ++i) {
            const std::string name = s(zeilen.first().rec.fieldName(i));
            if (const data* v = erste.get(name))
                out.set(name, *v);
        }
        for (const char* name :
             {"Wochentag", "Datum", "Zeit", "Spanne", "Termin", "Umbauzeit", "Rueckbauzeit",
              "hatUmbau", "hatRueckbau", "Kostensumme", "Kostenzeilen", "hatKosten"})
            if (const data* v = erste.get(name))
                out.set(name, *v);
    }
    return true;
}

} // namespace BerichtDaten

namespace BerichtDaten {
namespace {

// HTML escaping of every value; line breaks of multi-line remarks become <br>.
std::string escape(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        case '{':
            out += "&#123;";
            break;
        case '}':
            out += "&#125;";
            break;
        case '\n':
            out += "<br>";
            break;
        case '\r':
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The parser's English message in German, with the line of its position.
QString fehlerText(const std::string& meldung, const std::string& vorlage, int& zeile) {
    zeile = 1;
    const auto at = meldung.rfind(" at ");
    if (at != std::string::npos) {
        const std::size_t pos = std::strtoull(meldung.c_str() + at + 4, nullptr, 10);
        zeile +=
            int(std::count(vorlage.begin(), vorlage.begin() + std::min(pos, vorlage.size()), '\n'));
    }
    const auto name = [&] {
        const auto a = meldung.find('"'), b = meldung.rfind('"');
        return a != std::string::npos && b > a
                   ? QString::fromStdString(meldung.substr(a + 1, b - a - 1))
                   : QString();
    };
    if (meldung.rfind("Unclosed tag", 0) == 0)
        return QStringLiteral("ein Platzhalter wird nicht mit }} geschlossen");
    if (meldung.rfind("Unclosed section", 0) == 0)
        return QStringLiteral("der Abschnitt „%1“ wird nicht geschlossen").arg(name());
    if (meldung.rfind("Unopened section", 0) == 0)
        return QStringLiteral("der Abschnitt „%1“ wird geschlossen, aber nicht geöffnet")
            .arg(name());
    if (meldung.rfind("Invalid set delimiter", 0) == 0)
        return QStringLiteral("ungültige Angabe der Begrenzungszeichen");
    return QString::fromStdString(meldung);
}

// Templates are a few pages of HTML; these bounds keep a broken or hostile one from taking the
// machine's memory: the text, the sections inside sections, and the HTML it makes.
constexpr qsizetype kVorlageHoechstens = 1024 * 1024;
constexpr int kTiefeHoechstens = 32;
constexpr std::size_t kHtmlHoechstens = 256 * 1024 * 1024;

// The deepest nesting of sections, following changes of the delimiters ({{=<% %>=}}).
int abschnittTiefe(const std::string& text) {
    std::string auf = "{{", zu = "}}";
    int tiefe = 0, tiefste = 0;
    for (std::size_t pos = text.find(auf); pos != std::string::npos; pos = text.find(auf, pos)) {
        const std::size_t innen = pos + auf.size();
        const std::size_t ende = text.find(zu, innen);
        if (ende == std::string::npos || innen >= text.size())
            break;
        const char art = text[innen];
        if (art == '#' || art == '^')
            tiefste = std::max(tiefste, ++tiefe);
        else if (art == '/')
            --tiefe;
        else if (art == '=' && ende > innen + 1 && text[ende - 1] == '=') {
            const std::string neu = text.substr(innen + 1, ende - innen - 2);
            const auto leer = neu.find(' ');
            if (leer != std::string::npos) {
                auf = neu.substr(0, leer);
                zu = neu.substr(neu.find_first_not_of(' ', leer));
            }
        }
        pos = ende + zu.size();
        if (auf.empty() || zu.empty())
            break;
    }
    return tiefste;
}

struct ZuGross {};

// The template filled in, stopped by ZuGross when the HTML outgrows its bound.
bool rendereBegrenzt(const std::string& text, const QString& datei, const data& daten,
                     std::string& ergebnis, QString* error) {
    kainjow::mustache::mustache tmpl(text);
    if (!tmpl.is_valid()) {
        int zeile = 1;
        const QString grund = fehlerText(tmpl.error_message(), text, zeile);
        if (error)
            *error = QStringLiteral("Die Berichtsvorlage „%1“ enthält in Zeile %2 einen Fehler: "
                                    "%3.")
                         .arg(datei)
                         .arg(zeile)
                         .arg(grund);
        return false;
    }
    tmpl.set_custom_escape(escape);
    tmpl.render(daten, [&](const std::string& teil) {
        if (ergebnis.size() + teil.size() > kHtmlHoechstens)
            throw ZuGross();
        ergebnis += teil;
    });
    if (!tmpl.is_valid()) {
        if (error)
            *error = QStringLiteral("Die Berichtsvorlage „%1“ kann nicht ausgefüllt werden: %2.")
                         .arg(datei, QString::fromStdString(tmpl.error_message()));
        return false;
    }
    return true;
}

} // namespace

bool Rendern(const QString& vorlage, const QString& datei, const data& daten, QString& html,
             QString* error) {
    const auto melde = [&](const QString& grund) {
        if (error)
            *error = QStringLiteral("Die Berichtsvorlage „%1“ kann nicht ausgefüllt werden: %2.")
                         .arg(datei, grund);
        return false;
    };
    if (vorlage.size() > kVorlageHoechstens)
        return melde(QStringLiteral("sie ist größer als %1 KB").arg(kVorlageHoechstens / 1024));
    const std::string text = vorlage.toStdString();
    if (abschnittTiefe(text) > kTiefeHoechstens)
        return melde(QStringLiteral("sie schachtelt mehr als %1 Abschnitte ineinander")
                         .arg(kTiefeHoechstens));
    try {
        std::string ergebnis;
        if (!rendereBegrenzt(text, datei, daten, ergebnis, error))
            return false;
        html = QString::fromStdString(ergebnis);
        return true;
    } catch (const ZuGross&) {
        return melde(QStringLiteral("der Bericht würde größer als %1 MB")
                         .arg(kHtmlHoechstens / (1024 * 1024)));
    } catch (const std::bad_alloc&) {
        return melde(QStringLiteral("der Arbeitsspeicher reicht nicht aus"));
    }
}

} // namespace BerichtDaten

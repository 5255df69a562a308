#include "Befehlszeile.h"

#include <QHash>
#include <QSet>
#include <utility>

namespace {

struct Option {
    const char* name;
    char kurz;        // 0: none
    const char* wert; // nullptr: a switch
    const char* text;
};

const Option kOptionen[] = {
    {"help", 'h', nullptr, "Zeigt diese Hilfe."},
    {"version", 'v', nullptr, "Zeigt die Version."},
    {"nur-lesen", 'l', nullptr, "Öffnet das Projekt nur zum Lesen (keine Änderungen)."},
    {"bericht", 0, "NAME",
     "Schreibt die Übersicht NAME ohne Fenster als PDF:\n"
     "Repwo, Repmo, Repko, RepAusl, RepTaZ, RepTaR oder RepTa."},
    {"von", 0, "DATUM", "Beginn des Zeitraums (Repwo)."},
    {"bis", 0, "DATUM", "Ende des Zeitraums (Repwo)."},
    {"datum", 0, "DATUM", "Tag des Berichts (RepTaZ, RepTaR, RepTa); bei Repwo dessen Woche."},
    {"monat", 0, "M", "Monat 1 bis 12, 0 für das ganze Jahr (Repmo, Repko, RepAusl)."},
    {"jahr", 0, "J", "Jahr, vierstellig (Repmo, Repko, RepAusl)."},
    {"pdf", 0, "DATEI", "Zieldatei des Berichts."},
    {"datenbank-einrichten", 0, "VERBINDUNG",
     "Legt die Tabellen in einer leeren PostgreSQL-Datenbank an und stellt das Projekt auf sie "
     "um (VERBINDUNG z. B. \"host=db dbname=raum user=raum\")."},
    {"auf-server-uebertragen", 0, "VERBINDUNG",
     "Überträgt die Datenbank des Projekts in eine leere PostgreSQL-Datenbank und stellt das "
     "Projekt auf sie um."},
};

const Option* finde(const QString& name, bool kurz) {
    for (const Option& o : kOptionen)
        if (kurz ? name.size() == 1 && o.kurz == name.at(0) : name == QLatin1String(o.name))
            return &o;
    return nullptr;
}

} // namespace

Befehlszeile ReadBefehlszeile(const QStringList& argumente) {
    Befehlszeile b;
    const auto fehler = [&b](const QString& meldung) {
        b.aktion = Befehlszeile::Aktion::Fehler;
        b.meldung = meldung;
        return b;
    };
    QHash<QString, QString> werte;
    QSet<QString> schalter;
    QStringList positionen;
    bool nurNochArgumente = false;
    for (qsizetype i = 1; i < argumente.size(); ++i) {
        const QString& a = argumente[i];
        if (nurNochArgumente || !a.startsWith(QLatin1Char('-')) || a.size() == 1) {
            positionen << a;
            continue;
        }
        if (a == QLatin1String("--")) {
            nurNochArgumente = true;
            continue;
        }
        const bool lang = a.startsWith(QLatin1String("--"));
        const qsizetype gleich = lang ? a.indexOf(QLatin1Char('=')) : -1;
        const QString name = a.mid(lang ? 2 : 1, gleich < 0 ? -1 : gleich - 2);
        const Option* o = finde(name, !lang);
        if (!o)
            return fehler(QStringLiteral("Unbekannte Option „%1“.").arg(a.left(gleich)));
        const QString anzeige = QStringLiteral("--") + QLatin1String(o->name);
        if (!o->wert) {
            if (gleich >= 0)
                return fehler(QStringLiteral("Die Option „%1“ nimmt keinen Wert.").arg(anzeige));
            schalter.insert(QLatin1String(o->name));
        } else if (gleich >= 0) {
            werte.insert(QLatin1String(o->name), a.mid(gleich + 1));
        } else if (i + 1 < argumente.size()) {
            werte.insert(QLatin1String(o->name), argumente[++i]);
        } else {
            return fehler(QStringLiteral("Zur Option „%1“ fehlt der Wert %2.")
                              .arg(anzeige, QLatin1String(o->wert)));
        }
    }
    if (schalter.contains(QStringLiteral("help"))) {
        b.aktion = Befehlszeile::Aktion::Hilfe;
        return b;
    }
    if (schalter.contains(QStringLiteral("version"))) {
        b.aktion = Befehlszeile::Aktion::Version;
        return b;
    }
    if (positionen.size() > 1)
        return fehler(QStringLiteral("Zu viele Argumente: „%1“. Erwartet wird höchstens ein "
                                     "Projektverzeichnis.")
                          .arg(positionen.join(QStringLiteral("“, „"))));
    b.projekt = positionen.value(0);
    b.nurLesen = schalter.contains(QStringLiteral("nur-lesen"));
    for (const auto& [name, aktion] : {std::pair{QStringLiteral("datenbank-einrichten"),
                                                 Befehlszeile::Aktion::DatenbankEinrichten},
                                       std::pair{QStringLiteral("auf-server-uebertragen"),
                                                 Befehlszeile::Aktion::AufServerUebertragen}}) {
        if (!werte.contains(name))
            continue;
        if (werte.size() > 1)
            return fehler(QStringLiteral("Die Option „--%1“ gilt nur allein.").arg(name));
        if (b.projekt.isEmpty())
            return fehler(
                QStringLiteral("Zur Option „--%1“ fehlt das Projektverzeichnis.").arg(name));
        b.aktion = aktion;
        b.verbindung = werte.value(name);
        return b;
    }
    if (!werte.contains(QStringLiteral("bericht"))) {
        if (!werte.isEmpty())
            return fehler(QStringLiteral("Die Option „--%1“ gilt nur zusammen mit --bericht.")
                              .arg(werte.keys().first()));
        return b;
    }
    b.aktion = Befehlszeile::Aktion::Bericht;
    b.bericht = BerichtAuftrag{b.projekt,
                               werte.value(QStringLiteral("bericht")),
                               werte.value(QStringLiteral("von")),
                               werte.value(QStringLiteral("bis")),
                               werte.value(QStringLiteral("monat")),
                               werte.value(QStringLiteral("jahr")),
                               werte.value(QStringLiteral("datum")),
                               werte.value(QStringLiteral("pdf"))};
    return b;
}

QString HilfeText() {
    QString text = QStringLiteral(
        "Aufruf: tovo-raumverw [OPTIONEN] [PROJEKTVERZEICHNIS]\n"
        "Tovo Raumverwaltung: Belegung von Besprechungs- und Veranstaltungsräumen.\n"
        "Ohne Projektverzeichnis öffnet das Programm das Demoprojekt (beim ersten Mal angelegt).\n"
        "\nOptionen:\n");
    // Continued lines of a text start under its first line: indent, option column, one space.
    constexpr int kSpalte = 20;
    const QString einzug = QLatin1Char('\n') + QString(2 + kSpalte + 1, QLatin1Char(' '));
    for (const Option& o : kOptionen) {
        QString links =
            o.kurz ? QStringLiteral("-%1, ").arg(QLatin1Char(o.kurz)) : QStringLiteral("    ");
        links += QStringLiteral("--") + QLatin1String(o.name);
        if (o.wert)
            links += QLatin1Char(' ') + QLatin1String(o.wert);
        text += QStringLiteral("  ") + links.leftJustified(kSpalte) + QLatin1Char(' ') +
                QString::fromUtf8(o.text).replace(QLatin1Char('\n'), einzug) + QLatin1Char('\n');
    }
    text += QStringLiteral(
        "\nEin DATUM wird als TT.MM.JJJJ oder „heute“ angegeben. Beispiel:\n"
        "  tovo-raumverw ~/Projekte/Rathaus --bericht RepAusl --monat 3 --jahr 2026 \\\n"
        "      --pdf auslastung.pdf\n"
        "\nRückgabewerte: 0 in Ordnung, 1 Fehler beim Öffnen oder Schreiben, 2 falscher Aufruf.\n");
    return text;
}

QString VersionText() {
    return QStringLiteral("tovo-raumverw " TOVO_VERSION "\n");
}

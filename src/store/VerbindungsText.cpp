#include "VerbindungsText.h"

#include "SqlConnection.h"

namespace {

// "nach 'pwd'" for the key a fault follows, so that the user finds the place without the
// message showing any value.
QString Stelle(const QString& vorigerSchluessel) {
    return vorigerSchluessel.isEmpty()
               ? QStringLiteral("am Anfang")
               : QStringLiteral("nach dem Wert von '%1'").arg(vorigerSchluessel);
}

} // namespace

bool ZerlegeVerbindungsText(const QString& text, VerbindungsPaare& paare, QString* error) {
    VerbindungsPaare ergebnis;
    QString voriger;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype gleich = text.indexOf(QLatin1Char('='), i);
        const qsizetype semikolon = text.indexOf(QLatin1Char(';'), i);
        if (gleich < 0 || (semikolon >= 0 && semikolon < gleich)) {
            // A piece without "=": only blanks are allowed there. It is most often the rest of
            // a value that holds ";" without braces.
            const qsizetype ende = semikolon < 0 ? n : semikolon;
            if (!text.mid(i, ende - i).trimmed().isEmpty())
                return Fehlschlag(
                    error, QStringLiteral("Die Verbindungsangabe enthält %1 einen Teil ohne "
                                          "'='. Ein Wert mit ';' muss in geschweiften Klammern "
                                          "stehen, etwa Pwd={...}.")
                               .arg(Stelle(voriger)));
            i = ende + 1;
            continue;
        }
        const QString key = text.mid(i, gleich - i).trimmed().toLower();
        i = gleich + 1;
        while (i < n && text.at(i).isSpace())
            ++i;

        QString value;
        if (i < n && text.at(i) == QLatin1Char('{')) {
            ++i;
            bool geschlossen = false;
            while (i < n) {
                const QChar c = text.at(i);
                if (c == QLatin1Char('}')) {
                    if (i + 1 < n && text.at(i + 1) == QLatin1Char('}')) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    geschlossen = true;
                    ++i;
                    break;
                }
                value += c;
                ++i;
            }
            if (!geschlossen)
                return Fehlschlag(error, QStringLiteral("In der Verbindungsangabe fehlt nach '%1' "
                                                        "eine schließende Klammer '}'.")
                                             .arg(key));
            const qsizetype ende = text.indexOf(QLatin1Char(';'), i);
            if (!text.mid(i, (ende < 0 ? n : ende) - i).trimmed().isEmpty())
                return Fehlschlag(error, QStringLiteral("In der Verbindungsangabe folgt auf den "
                                                        "Wert von '%1' in Klammern noch Text vor "
                                                        "dem nächsten ';'.")
                                             .arg(key));
            i = ende < 0 ? n : ende + 1;
        } else {
            const qsizetype ende = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (ende < 0 ? n : ende) - i).trimmed();
            i = ende < 0 ? n : ende + 1;
        }
        ergebnis.append({key, value});
        voriger = key;
    }
    paare = ergebnis;
    return true;
}

QString VerbindungsWert(const VerbindungsPaare& paare,
                        std::initializer_list<const char*> schluessel) {
    QString gefunden;
    for (const auto& [key, value] : paare)
        for (const char* s : schluessel)
            if (key == QLatin1String(s))
                gefunden = value;
    return gefunden;
}

bool ZerlegeLibpqText(const QString& text, VerbindungsPaare& paare, QString* error) {
    VerbindungsPaare ergebnis;
    QString voriger;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto leer = [&] {
        while (i < n && text.at(i).isSpace())
            ++i;
    };
    for (leer(); i < n; leer()) {
        QString key;
        while (i < n && (text.at(i).isLetterOrNumber() || text.at(i) == QLatin1Char('_')))
            key += text.at(i++);
        leer();
        if (key.isEmpty() || i >= n || text.at(i) != QLatin1Char('='))
            return Fehlschlag(error,
                              QStringLiteral("Die Verbindungsangabe enthält %1 keinen Teil der "
                                             "Form Schlüssel=Wert.")
                                  .arg(Stelle(voriger)));
        ++i;
        leer();
        QString value;
        const bool inQuotes = i < n && text.at(i) == QLatin1Char('\'');
        if (inQuotes)
            ++i;
        bool geschlossen = !inQuotes;
        while (i < n) {
            const QChar c = text.at(i);
            if (inQuotes ? c == QLatin1Char('\'') : c.isSpace()) {
                geschlossen = true;
                ++i;
                break;
            }
            if (c == QLatin1Char('\\') && i + 1 < n)
                ++i;
            value += text.at(i++);
        }
        if (!geschlossen)
            return Fehlschlag(error, QStringLiteral("In der Verbindungsangabe fehlt nach '%1' ein "
                                                    "schließendes Hochkomma.")
                                         .arg(key.toLower()));
        voriger = key.toLower();
        ergebnis.append({voriger, value});
    }
    paare = ergebnis;
    return true;
}

#include "OdbcConnText.h"

namespace {

bool fehler(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

} // namespace

bool ParseOdbcConnText(const QString& text, OdbcConnText& out, QString* error) {
    OdbcConnText result;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        // key
        const qsizetype gleich = text.indexOf(QLatin1Char('='), i);
        const qsizetype semikolon = text.indexOf(QLatin1Char(';'), i);
        if (gleich < 0 || (semikolon >= 0 && semikolon < gleich)) {
            // A piece without "=": only blanks are allowed there.
            const qsizetype ende = semikolon < 0 ? n : semikolon;
            if (!text.mid(i, ende - i).trimmed().isEmpty())
                return fehler(error, QStringLiteral("Die Verbindungsangabe '%1' enthält keinen "
                                                    "Wert.")
                                         .arg(text.mid(i, ende - i).trimmed()));
            i = ende + 1;
            continue;
        }
        const QString key = text.mid(i, gleich - i).trimmed().toLower();
        i = gleich + 1;
        while (i < n && text.at(i).isSpace())
            ++i;

        // value, plain or in braces
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
                return fehler(error, QStringLiteral("In der Verbindungsangabe fehlt eine "
                                                    "schließende Klammer '}'."));
            const qsizetype ende = text.indexOf(QLatin1Char(';'), i);
            const QString rest = text.mid(i, (ende < 0 ? n : ende) - i).trimmed();
            if (!rest.isEmpty())
                return fehler(error, QStringLiteral("Nach dem Wert von '%1' folgt unerwartet "
                                                    "'%2'.")
                                         .arg(key, rest));
            i = ende < 0 ? n : ende + 1;
        } else {
            const qsizetype ende = text.indexOf(QLatin1Char(';'), i);
            value = text.mid(i, (ende < 0 ? n : ende) - i).trimmed();
            i = ende < 0 ? n : ende + 1;
        }

        if (key == QLatin1String("server") || key == QLatin1String("host")) {
            result.server = value;
        } else if (key == QLatin1String("port")) {
            bool ok = false;
            const int port = value.toInt(&ok);
            if (!ok || port <= 0 || port > 65535)
                return fehler(error, QStringLiteral("Die Portnummer '%1' der Verbindungsangabe "
                                                    "ist ungültig.")
                                         .arg(value));
            result.port = port;
        } else if (key == QLatin1String("database") || key == QLatin1String("db")) {
            result.database = value;
        } else if (key == QLatin1String("uid") || key == QLatin1String("user")) {
            result.user = value;
        } else if (key == QLatin1String("pwd") || key == QLatin1String("password")) {
            result.password = value;
        }
    }
    out = result;
    return true;
}

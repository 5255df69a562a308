#include "Allg_Hilfsfkt.h"

#include "Cp1252.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoTools.h"

#include <QDir>
#include <QLocale>
#include <QSet>
#include <cmath>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {
// The most a value can carry: the read buffer holds 2048 characters with the terminating NUL.
constexpr qsizetype kMaxValueLength = 2047;

// A number as the German system reads it ("15", "1,5"), also in C notation ("1.5").
bool toDouble(const QString& text, double& out) {
    static const QLocale german(QLocale::German, QLocale::Germany);
    bool ok = false;
    double v = german.toDouble(text.trimmed(), &ok);
    if (!ok)
        v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}
} // namespace

namespace Allg_Hilfsfkt {

QString ReadIniValue(const QString& section, const QString& key, const QString& defaultValue) {
    try {
        const QString file = WithTrailingSeparator(gstProjektDir) + kIniFileName;
        const QString value = CTovoTools::Instance()
                                  .ReadIniValue(file, section, key, defaultValue)
                                  .left(kMaxValueLength);
        return value.isEmpty() ? defaultValue : value;
    } catch (...) {
        return defaultValue;
    }
}

QString GetWinUserName() {
    QString name = qEnvironmentVariable("USER");
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME");
    if (name.isEmpty()) {
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
            name = QString::fromLocal8Bit(pw->pw_name);
    }
    return name;
}

void ReadGlobalSettings() {
    gstProjektDir = WithTrailingSeparator(gstProjektDir);
    // The least gap between two bookings: whole minutes from 0 to a day. Anything else would
    // let bookings overlap or switch the test off, so it counts as 0, and the user is told once.
    const QString text = ReadIniValue(QStringLiteral("RAUMVERWALTUNG"), QStringLiteral("Toleranz"),
                                      QStringLiteral("0"));
    double minutes = 0;
    if (!toDouble(text, minutes) || minutes < 0 || minutes > 1440) {
        static QSet<QString> gemeldet;
        const QString datei = WithTrailingSeparator(gstProjektDir) + kIniFileName;
        if (!gemeldet.contains(datei + QLatin1Char('|') + text)) {
            gemeldet.insert(datei + QLatin1Char('|') + text);
            MsgBox(QStringLiteral("Der Wert \"%1\" des Schlüssels \"Toleranz\" im Abschnitt "
                                  "[RAUMVERWALTUNG] der Datei %2 ist ungültig. Erlaubt sind 0 bis "
                                  "1440 Minuten; es wird 0 verwendet.")
                       .arg(text, QDir::toNativeSeparators(datei)),
                   PromptButtons::Ok, PromptIcon::Exclamation);
        }
        minutes = 0;
    }
    gdToleranz = minutes / 1440.0;
    gstMailname = ReadIniValue(QStringLiteral("Raumverwaltung"), QStringLiteral("Mailname"),
                               GetWinUserName());
}

int GetTokenCount(const QString& text, const QString& separator) {
    if (text.isEmpty())
        return 0;
    if (separator.isEmpty())
        return 1;
    int count = 1;
    for (qsizetype pos = text.indexOf(separator); pos >= 0; pos = text.indexOf(separator, pos + 1))
        ++count;
    return count;
}

QString GetToken(const QString& text, const QString& separator, int index) {
    const int count = GetTokenCount(text, separator);
    if (text.isEmpty() || index == 0 || std::abs(index) > count)
        return QString();
    if (separator.isEmpty())
        return text;
    const int field = index > 0 ? index : count + index + 1;
    const QStringList fields = text.split(separator);
    return field <= fields.size() ? fields[field - 1] : QString();
}

bool IstWahr(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0 ||
        t.compare(QLatin1String("WAHR"), Qt::CaseInsensitive) == 0)
        return true;
    bool zahl = false;
    const double v = t.toDouble(&zahl);
    return zahl && v != 0.0;
}

QString WithTrailingSeparator(const QString& dir) {
    if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir;
    return dir + QLatin1Char('/');
}

} // namespace Allg_Hilfsfkt

QString UFT8_To_ASCII(const QString& text, bool unicode) {
    if (!unicode)
        return text;
    // The code of a character in code page 1252. Text that went through Latin-1 carries the C1
    // control of the same number where 1252 has „ – œ Ÿ; it counts with that number as well.
    auto code = [](QChar c) {
        const int b = Cp1252::fromUnicode(c);
        return b >= 0 ? b : (c.unicode() >= 0x80 && c.unicode() <= 0x9F ? c.unicode() : -1);
    };
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (code(text[i]) != 195) {
            out += text[i];
            continue;
        }
        if (++i >= text.size())
            break; // a lone lead character at the end is dropped
        switch (code(text[i])) {
        case 132:
            out += QChar(0x00C4); // Ä
            break;
        case 150:
            out += QChar(0x00D6); // Ö
            break;
        case 156:
            out += QChar(0x00DC); // Ü
            break;
        case 159:
            out += QChar(0x00DF); // ß
            break;
        case 164:
            out += QChar(0x00E4); // ä
            break;
        case 182:
            out += QChar(0x00F6); // ö
            break;
        case 188:
            out += QChar(0x00FC); // ü
            break;
        default:
            break; // any other pair is dropped
        }
    }
    return out;
}

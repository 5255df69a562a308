#include "MailNachricht.h"

#include <QLocale>
#include <QRegularExpression>
#include <QUuid>
#include <algorithm>

namespace MailNachricht {

namespace {

const QByteArray kCrLf = QByteArrayLiteral("\r\n");
// Longest line of a header with encoded words, and what "=?UTF-8?Q?" and "?=" take of a word.
constexpr int kZeile = 76;
constexpr int kWortRahmen = 12;
constexpr int kMinWort = kWortRahmen + 12;
// Longest line of the body before a soft line break ("=" comes on top).
constexpr int kQpZeile = 75;

const char kHex[] = "0123456789ABCDEF";

void HexAnhaengen(QByteArray& out, uchar byte) {
    out += '=';
    out += kHex[byte >> 4];
    out += kHex[byte & 0x0F];
}

// A header text on one line: control characters (CR and LF above all) become blanks.
QString EineZeile(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return out.trimmed();
}

bool NurAscii(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Letters, digits and the signs an atom may hold (RFC 5322 atext), and blanks between atoms.
bool IstAtomText(const QString& text) {
    static const QRegularExpression rx(
        QRegularExpression::anchoredPattern(QStringLiteral("[A-Za-z0-9!#$%&'*+/=?^_`{|}~ -]*")));
    return rx.match(text).hasMatch();
}

// Encoded words "=?UTF-8?Q?...?=" (RFC 2047) of a text, split at whole characters and joined by
// folding line breaks so that no line grows beyond 76 characters; `belegt` characters stand on
// the first line already. Only the characters allowed in a phrase stay literal, so the words fit
// subjects and names alike.
QByteArray KodierteWoerter(const QString& text, int belegt) {
    QByteArray out;
    QByteArray wort;
    int platz = std::max(kMinWort, kZeile - belegt) - kWortRahmen;
    const auto abschliessen = [&] {
        if (!out.isEmpty())
            out += kCrLf + ' ';
        out += "=?UTF-8?Q?" + wort + "?=";
        wort.clear();
        platz = kZeile - 1 - kWortRahmen;
    };
    for (const uint z : text.toUcs4()) {
        QByteArray stueck;
        const char32_t zeichen = z;
        for (const char ch : QString::fromUcs4(&zeichen, 1).toUtf8()) {
            const auto b = static_cast<uchar>(ch);
            if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') ||
                b == '!' || b == '*' || b == '+' || b == '-' || b == '/')
                stueck += static_cast<char>(b);
            else if (b == ' ')
                stueck += '_';
            else
                HexAnhaengen(stueck, b);
        }
        if (!wort.isEmpty() && wort.size() + stueck.size() > platz)
            abschliessen();
        wort += stueck;
    }
    abschliessen();
    return out;
}

// An ASCII header text folded before blanks so that its lines keep to 76 characters where the
// words allow; `belegt` characters stand on the first line already. Empty when a word is too
// long for any line the standard allows.
QByteArray Gefaltet(const QByteArray& text, int belegt) {
    constexpr int kHoechstens = 998;
    QByteArray out;
    int zeile = belegt;
    for (const QByteArray& wort : text.split(' ')) {
        if (!out.isEmpty() || zeile > belegt) {
            if (zeile + 1 + wort.size() > kZeile && zeile > 1) {
                out += kCrLf;
                zeile = 0;
            }
            out += ' ';
            ++zeile;
        }
        out += wort;
        zeile += static_cast<int>(wort.size());
        if (zeile > kHoechstens)
            return QByteArray();
    }
    return out;
}

// Characters after the last line break.
int LetzteZeile(const QByteArray& text) {
    return static_cast<int>(text.size() - (text.lastIndexOf('\n') + 1));
}

// A display name: as it is when it is made of atoms, quoted when it is other ASCII, else
// encoded words.
QByteArray Anzeigename(const QString& name, int belegt) {
    // A long name is folded before its blanks; one that cannot be goes as encoded words.
    QByteArray ascii;
    if (IstAtomText(name) && !name.contains(QLatin1String("=?"))) {
        ascii = name.toLatin1();
    } else if (NurAscii(name) && !name.contains(QLatin1String("=?"))) {
        QString q = name;
        q.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        q.replace(QLatin1Char('"'), QLatin1String("\\\""));
        ascii = '"' + q.toLatin1() + '"';
    }
    const QByteArray gefaltet = ascii.isEmpty() ? QByteArray() : Gefaltet(ascii, belegt);
    return gefaltet.isEmpty() ? KodierteWoerter(name, belegt) : gefaltet;
}

QByteArray EineAdresse(const Adresse& a, int belegt) {
    // An address never carries blanks, brackets or line breaks; a bad one was refused before.
    QString adresse = EineZeile(a.adresse);
    adresse.remove(QRegularExpression(QStringLiteral("[\\s<>,]")));
    const QString name = EineZeile(a.name);
    const QByteArray winkel = '<' + adresse.toUtf8() + '>';
    if (name.isEmpty())
        return winkel;
    const QByteArray anzeige = Anzeigename(name, belegt);
    const int zeile = (anzeige.contains('\n') ? 0 : belegt) + LetzteZeile(anzeige);
    return anzeige + (zeile + 1 + winkel.size() > kZeile ? kCrLf + ' ' : QByteArray(" ")) + winkel;
}

QByteArray Kopf(const char* name, const QByteArray& wert) {
    return QByteArray(name) + ": " + wert + kCrLf;
}

// What a header's name and ": " take of its first line.
int Belegt(const char* name) {
    return static_cast<int>(qstrlen(name)) + 2;
}

} // namespace

bool IstGueltigeAdresse(const QString& adresse) {
    static const QRegularExpression rx(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+(\\.[A-Za-z0-9!#$%&'*+/=?^_`{|}~-]+)*"
                       "@[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,"
                       "61}[A-Za-z0-9])?)*")));
    if (adresse.size() > 254 || adresse.indexOf(QLatin1Char('@')) > 64)
        return false;
    return rx.match(adresse).hasMatch();
}

QString UngueltigeAdresse(const Nachricht& n) {
    if (!IstGueltigeAdresse(n.von.adresse))
        return n.von.adresse;
    for (const QVector<Adresse>* liste : {&n.an, &n.cc})
        for (const Adresse& a : *liste)
            if (!IstGueltigeAdresse(a.adresse))
                return a.adresse;
    return QString();
}

QByteArray QuotedPrintable(const QString& text) {
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList zeilen = normal.split(QLatin1Char('\n'));

    QByteArray out;
    for (qsizetype z = 0; z < zeilen.size(); ++z) {
        if (z > 0)
            out += kCrLf;
        const QByteArray bytes = zeilen[z].toUtf8();
        int laenge = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const auto b = static_cast<uchar>(bytes[i]);
            const bool letztes = i == bytes.size() - 1;
            QByteArray stueck;
            if ((b == ' ' || b == '\t') && !letztes)
                stueck += static_cast<char>(b);
            else if (b == '.' && i == 0)
                HexAnhaengen(stueck, b); // a lone "." would end the SMTP data
            else if (b >= 33 && b <= 126 && b != '=')
                stueck += static_cast<char>(b);
            else
                HexAnhaengen(stueck, b);
            if (laenge + stueck.size() > kQpZeile) {
                out += '=' + kCrLf;
                laenge = 0;
            }
            out += stueck;
            laenge += static_cast<int>(stueck.size());
        }
    }
    return out;
}

QByteArray KopfText(const QString& text, int belegt) {
    const QString zeile = EineZeile(text);
    if (NurAscii(zeile) && !zeile.contains(QLatin1String("=?")))
        if (const QByteArray gefaltet = Gefaltet(zeile.toLatin1(), belegt); !gefaltet.isEmpty())
            return gefaltet;
    return KodierteWoerter(zeile, belegt);
}

QByteArray AdressKopf(const QVector<Adresse>& liste, int belegt) {
    QByteArray out;
    for (const Adresse& a : liste) {
        if (!out.isEmpty())
            out += ',' + kCrLf + ' ';
        out += EineAdresse(a, out.isEmpty() ? belegt : 1);
    }
    return out;
}

QByteArray DatumsKopf(const QDateTime& zeit) {
    const QLocale c = QLocale::c();
    const int versatz = zeit.offsetFromUtc() / 60;
    const int betrag = versatz < 0 ? -versatz : versatz;
    const QString zone =
        QString::asprintf("%c%02d%02d", versatz < 0 ? '-' : '+', betrag / 60, betrag % 60);
    return (c.toString(zeit, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss")) + QLatin1Char(' ') + zone)
        .toLatin1();
}

QString NeueMessageId(const QString& absender) {
    const QString domain = IstGueltigeAdresse(absender)
                               ? absender.mid(absender.lastIndexOf(QLatin1Char('@')) + 1)
                               : QStringLiteral("tovo.invalid");
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + QLatin1Char('@') + domain;
}

QByteArray Mime(const Nachricht& n) {
    const QDateTime datum = n.datum.isValid() ? n.datum : QDateTime::currentDateTime();
    QString id = EineZeile(n.messageId);
    id.remove(QRegularExpression(QStringLiteral("[\\s<>]")));
    if (id.isEmpty())
        id = NeueMessageId(n.von.adresse);

    QByteArray out;
    out += Kopf("Date", DatumsKopf(datum));
    out += Kopf("From", EineAdresse(n.von, Belegt("From")));
    out += Kopf("To", AdressKopf(n.an, Belegt("To")));
    if (!n.cc.isEmpty())
        out += Kopf("Cc", AdressKopf(n.cc, Belegt("Cc")));
    out += Kopf("Subject", KopfText(n.betreff, Belegt("Subject")));
    out += Kopf("Message-ID", '<' + id.toUtf8() + '>');
    out += Kopf("MIME-Version", "1.0");
    QByteArray text = QuotedPrintable(n.text);
    if (!text.isEmpty() && !text.endsWith(kCrLf))
        text += kCrLf;
    const QByteArray textKopf = Kopf("Content-Type", "text/plain; charset=UTF-8") +
                                Kopf("Content-Transfer-Encoding", "quoted-printable");
    if (n.anhaenge.isEmpty())
        return out + textKopf + kCrLf + text;

    // "=_" never starts a line of quoted-printable or base64 text, so no part holds the boundary.
    const QByteArray grenze = "=_tovo_" + QUuid::createUuid().toString(QUuid::Id128).toLatin1();
    out += Kopf("Content-Type", "multipart/mixed; boundary=\"" + grenze + '"');
    out += kCrLf;
    out += "--" + grenze + kCrLf + textKopf + kCrLf + text;
    for (const Anhang& a : n.anhaenge) {
        QString name = EineZeile(a.dateiname);
        name.remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9 ._-]")));
        if (name.isEmpty())
            name = QStringLiteral("Anhang");
        const QByteArray typ = EineZeile(QString::fromLatin1(a.typ)).toLatin1();
        const bool istText = typ.startsWith("text/");
        out += "--" + grenze + kCrLf;
        out += Kopf("Content-Type",
                    typ + (istText ? "; charset=UTF-8" : "") + "; name=\"" + name.toLatin1() + '"');
        out += Kopf("Content-Disposition", "attachment; filename=\"" + name.toLatin1() + '"');
        out += Kopf("Content-Transfer-Encoding", "base64");
        out += kCrLf;
        const QByteArray b64 = a.daten.toBase64();
        for (qsizetype i = 0; i < b64.size(); i += 76)
            out += b64.mid(i, 76) + kCrLf;
    }
    out += "--" + grenze + "--" + kCrLf;
    return out;
}

} // namespace MailNachricht

#include "MailText.h"

#include "CRvDb.h"
#include "Cp1252.h"
#include "MailNachricht.h"
#include "RecColl.h"
#include "StammdatenDb.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace MailText {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The built-in text, with the placeholders that the template would use.
QString EingebauterText(bool umwandeln, bool mitSerie) {
    QStringList z;
    z << (umwandeln ? QStringLiteral("Hiermit bestaetigen wir Ihre Raumreservierung")
                    : QStringLiteral("Hiermit bestätigen wir Ihre Raumreservierung"))
      << QStringLiteral("zu folgender Veranstaltung:") << QString()
      << QStringLiteral("#Veranstaltung#") << QStringLiteral("#Bemerkung#")
      << QStringLiteral("#VonDatum# #VonZeit# bis #BisDatum# #BisZeit#")
      << QStringLiteral("Raum: #Raum#");
    if (mitSerie)
        z << QStringLiteral("Serie: #Serie#");
    z << QStringLiteral("Bitte teilen Sie uns rechtzeitig mit, wenn der Raum nicht ") +
             (umwandeln ? QStringLiteral("benoetigt wird.") : QStringLiteral("benötigt wird."))
      << (umwandeln ? QStringLiteral(
                          "Wir moechten Sie bitten, den Raum sauber und ordentlich zu verlassen.")
                    : QStringLiteral(
                          "Wir möchten Sie bitten, den Raum sauber und ordentlich zu verlassen."))
      << QString() << QStringLiteral("Hausdienste") << QStringLiteral("#AktDatum#");
    return z.join(kCrLf);
}

// A name as compared: quotes gone, blanks simplified, lower case.
QString Vergleichsform(QString name) {
    name.remove(QLatin1Char('"'));
    name.remove(QLatin1Char('\''));
    return name.simplified().toLower();
}

} // namespace

QString Sonderzeichen(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case 0xE4:
            out += QLatin1String("ae");
            break;
        case 0xF6:
            out += QLatin1String("oe");
            break;
        case 0xFC:
            out += QLatin1String("ue");
            break;
        case 0xC4:
            out += QLatin1String("Ae");
            break;
        case 0xD6:
            out += QLatin1String("Oe");
            break;
        case 0xDC:
            out += QLatin1String("Ue");
            break;
        case 0xDF:
            out += QLatin1String("ss");
            break;
        case 0x1E9E:
            out += QLatin1String("SS");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString LiesVorlage(const QString& pfad) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = datei.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString inhalt = utf8.decode(bytes);
    if (utf8.hasError())
        inhalt = Cp1252::decode(bytes);
    if (inhalt.startsWith(QChar(0xFEFF)))
        inhalt.remove(0, 1);

    QStringList zeilen = inhalt.split(QLatin1Char('\n'));
    if (inhalt.endsWith(QLatin1Char('\n')))
        zeilen.removeLast();
    QString text;
    for (QString zeile : zeilen) {
        if (zeile.endsWith(QLatin1Char('\r')))
            zeile.chop(1);
        if (zeile.startsWith(QLatin1Char('\'')))
            continue;
        text += zeile + kCrLf;
    }
    return text;
}

QString Text(const QString& vorlage, const Felder& f, bool umwandeln) {
    QString text = vorlage.isEmpty() ? EingebauterText(umwandeln, !f.serie.isEmpty()) : vorlage;
    if (umwandeln)
        text = Sonderzeichen(text);
    const auto umw = [umwandeln](const QString& s) { return umwandeln ? Sonderzeichen(s) : s; };

    // One pass, so that a value holding a placeholder's name is not replaced again.
    static const QRegularExpression platzhalter(
        QStringLiteral("#(Veranstaltung|Bemerkung|VonDatum|VonZeit|BisDatum|BisZeit|Raum|"
                       "Ausstattung|Personenzahl|AktDatum|Serie)#"));
    QString out;
    qsizetype pos = 0;
    for (auto it = platzhalter.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(pos, m.capturedStart() - pos);
        const QString name = m.captured(1);
        if (name == QLatin1String("Veranstaltung"))
            out += umw(f.veranstaltung);
        else if (name == QLatin1String("Bemerkung"))
            out += umw(f.bemerkung);
        else if (name == QLatin1String("VonDatum"))
            out += f.vonDatum;
        else if (name == QLatin1String("VonZeit"))
            out += f.vonZeit;
        else if (name == QLatin1String("BisDatum"))
            out += f.bisDatum;
        else if (name == QLatin1String("BisZeit"))
            out += f.bisZeit;
        else if (name == QLatin1String("Raum"))
            out += umw(f.raum);
        else if (name == QLatin1String("Ausstattung"))
            out += umw(f.ausstattung);
        else if (name == QLatin1String("Personenzahl"))
            out += f.personenzahl;
        else if (name == QLatin1String("AktDatum"))
            out += f.aktDatum;
        else
            out += f.serie;
        pos = m.capturedEnd();
    }
    out += QStringView(text).mid(pos);
    return out;
}

QStringList CcAdressen(const QString& cc) {
    QStringList out;
    for (const QString& teil : cc.split(QLatin1Char(';'))) {
        const QString a = teil.trimmed();
        if (!a.isEmpty())
            out << a;
    }
    return out;
}

QVector<AdressEintrag> Adressbuch(CRvDb* db, const CStammdatenDb* stamm) {
    QVector<AdressEintrag> buch;
    const auto name = [](const QString& nachname, const QString& vorname) {
        return vorname.trimmed().isEmpty()
                   ? nachname.trimmed()
                   : nachname.trimmed() + QStringLiteral(", ") + vorname.trimmed();
    };
    if (db) {
        CMitarbeiterRecColl mitarbeiter;
        if (db->ReadAllMitarbeiter2Coll(&mitarbeiter))
            for (const CMitarbeiterRec* m : mitarbeiter)
                if (!m->STEMAIL.trimmed().isEmpty())
                    buch.append({name(m->stName, m->stVorname), m->STEMAIL.trimmed(),
                                 QStringLiteral("Mitarbeiter")});
    }
    if (stamm && stamm->IsOpen()) {
        // A person who is an employee as well, with the same address, is listed once.
        QSet<QString> bekannt;
        for (const AdressEintrag& e : buch)
            bekannt.insert(Vergleichsform(e.name) + QLatin1Char('|') + e.adresse.toLower());
        for (const Person& p : stamm->Personen()) {
            const AdressEintrag e{name(p.stName, p.stVorname), p.stEmail.trimmed(),
                                  QStringLiteral("Stammdaten")};
            if (!e.adresse.isEmpty() &&
                !bekannt.contains(Vergleichsform(e.name) + QLatin1Char('|') + e.adresse.toLower()))
                buch.append(e);
        }
    }
    return buch;
}

QString AdresseZu(const QString& besteller, const QVector<AdressEintrag>& buch) {
    const QString gesucht = Vergleichsform(besteller);
    if (gesucht.isEmpty())
        return QString();
    for (const AdressEintrag& e : buch) {
        const QString name = Vergleichsform(e.name);
        QString umgedreht = name;
        const qsizetype komma = name.indexOf(QLatin1Char(','));
        if (komma >= 0)
            umgedreht =
                QString(name.mid(komma + 1) + QLatin1Char(' ') + name.left(komma)).simplified();
        if ((gesucht == name || gesucht == umgedreht) &&
            MailNachricht::IstGueltigeAdresse(e.adresse))
            return e.adresse;
    }
    return QString();
}

QByteArray Tuerschild(const QString& raumNr, const QString& raumName, const QString& firma,
                      const QString& veranstaltung, const QString& datum, const QString& beginn,
                      const QString& ende) {
    const QChar cr(13);
    const QString text =
        QChar(12) + QStringLiteral("Raum:        ") + raumNr + QStringLiteral("  ") + raumName +
        cr + cr + QStringLiteral("Veranstalter:") + firma + cr + QStringLiteral("Betrifft:    ") +
        veranstaltung + cr + QStringLiteral("Datum:       ") + datum + cr +
        QStringLiteral("Beginn:      ") + beginn + cr + QStringLiteral("Ende:        ") + ende;
    return Cp1252::encode(text);
}

} // namespace MailText

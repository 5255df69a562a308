#include "MailText.h"

#include "CRvDb.h"
#include "Cp1252.h"
#include "MailNachricht.h"
#include "RecColl.h"
#include "StammdatenDb.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

namespace MailText {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// The built-in text, with the placeholders that the template would use.
QString EingebauterText(bool umwandeln, bool mitSerie, bool mitTerminen) {
    QStringList z;
    z << (umwandeln ? QStringLiteral("Hiermit bestaetigen wir Ihre Raumreservierung")
                    : QStringLiteral("Hiermit bestätigen wir Ihre Raumreservierung"))
      << QStringLiteral("zu folgender Veranstaltung:") << QString()
      << QStringLiteral("#Veranstaltung#") << QStringLiteral("#Bemerkung#")
      << QStringLiteral("#VonDatum# #VonZeit# bis #BisDatum# #BisZeit#")
      << QStringLiteral("Raum: #Raum#");
    if (mitSerie)
        z << QStringLiteral("Serie: #Serie#");
    if (mitTerminen)
        z << QStringLiteral("Termine:") << QStringLiteral("#Termine#") << QString();
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

QString ReadVorlage(const QString& pfad) {
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
    QString text = vorlage.isEmpty()
                       ? EingebauterText(umwandeln, !f.serie.isEmpty(), f.termine.contains(kCrLf))
                       : vorlage;
    if (umwandeln)
        text = Sonderzeichen(text);
    const auto umw = [umwandeln](const QString& s) { return umwandeln ? Sonderzeichen(s) : s; };

    // One pass, so that a value holding a placeholder's name is not replaced again. Typed
    // texts go through the conversion; numbers, dates and times need none.
    const QHash<QString, QString> werte = {
        {QStringLiteral("Veranstaltung"), umw(f.veranstaltung)},
        {QStringLiteral("Bemerkung"), umw(f.bemerkung)},
        {QStringLiteral("VonDatum"), f.vonDatum},
        {QStringLiteral("VonZeit"), f.vonZeit},
        {QStringLiteral("BisDatum"), f.bisDatum},
        {QStringLiteral("BisZeit"), f.bisZeit},
        {QStringLiteral("Raum"), umw(f.raum)},
        {QStringLiteral("Ausstattung"), umw(f.ausstattung)},
        {QStringLiteral("Personenzahl"), f.personenzahl},
        {QStringLiteral("AktDatum"), f.aktDatum},
        {QStringLiteral("Serie"), f.serie},
        {QStringLiteral("Firma"), umw(f.firma)},
        {QStringLiteral("Ansprechpartner"), umw(f.ansprechpartner)},
        {QStringLiteral("Telefon"), f.telefon},
        {QStringLiteral("Stuhlanordnung"), umw(f.stuhlanordnung)},
        {QStringLiteral("Beteiligtentische"), f.tische},
        {QStringLiteral("Termine"), umw(f.termine)},
    };
    static const QRegularExpression platzhalter(
        QStringLiteral("#(Veranstaltung|Bemerkung|VonDatum|VonZeit|BisDatum|BisZeit|Raum|"
                       "Ausstattung|Personenzahl|AktDatum|Serie|Firma|Ansprechpartner|Telefon|"
                       "Stuhlanordnung|Beteiligtentische|Termine)#"));
    QString out;
    qsizetype pos = 0;
    for (auto it = platzhalter.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(pos, m.capturedStart() - pos);
        out += werte.value(m.captured(1));
        pos = m.capturedEnd();
    }
    out += QStringView(text).mid(pos);
    return out;
}

QString TerminListe(const QVector<CBelegungRec>& buchungen, const ICalExport::RaumName& raumName,
                    const CSerienFkt* regel) {
    const ICalExport::Auftragsserie z = ICalExport::Zerlege(buchungen, regel);
    const QSet<int> regulaer(z.serie.begin(), z.serie.end());
    const auto tag = [](double d) -> QString {
        const TovoDate t = TovoDate(d).datePart();
        return TovoDate::weekdayName(t.weekdayMondayFirst()).left(2) + QLatin1Char(' ') +
               t.toShortDateText();
    };
    const auto uhr = [](double d) {
        return TovoDate(d).timePart().format(QStringLiteral("hh:nn"));
    };
    QVector<QPair<double, QString>> zeilen;
    for (int i = 0; i < z.buchungen.size(); ++i) {
        const CBelegungRec& b = z.buchungen[i];
        QString zeile = tag(b.dt_von) + QLatin1Char(' ') + uhr(b.tm_von) + QStringLiteral(" - ");
        if (TovoDate(b.dt_bis).datePart() != TovoDate(b.dt_von).datePart())
            zeile += TovoDate(b.dt_bis).toShortDateText() + QLatin1Char(' ');
        zeile += uhr(b.tm_bis);
        const QString raum = raumName ? raumName(b.rb_id) : QString();
        if (!raum.isEmpty())
            zeile += QStringLiteral("  ") + raum;
        if (!regulaer.isEmpty() && !regulaer.contains(i))
            zeile += QStringLiteral(" (verlegt)");
        zeilen.append({TovoDate(b.dt_von).datePart().value(), zeile});
    }
    for (const int64_t t : z.ausgelassen)
        zeilen.append(
            {static_cast<double>(t), tag(static_cast<double>(t)) + QStringLiteral(" entfällt")});
    std::stable_sort(zeilen.begin(), zeilen.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    QStringList text;
    for (const auto& z2 : zeilen)
        text << z2.second;
    return text.join(kCrLf);
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

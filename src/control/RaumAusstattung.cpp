#include "RaumAusstattung.h"

#include <QStringList>
#include <iterator>

namespace RaumAusstattung {

namespace {
struct Eintrag {
    char code;
    const char* kurz;
    const char* lang;
};
const Eintrag kEintraege[] = {
    {'W', "Whiteboard", "Whiteboard"},   {'P', "Beamer", "Projektor"},
    {'C', "Laptop", "Laptop"},           {'M', "Mikro", "Mikrofon"},
    {'R', "Pult", "Rednerpult"},         {'F', "Flipchart", "Flipchart"},
    {'L', "Leinwand", "Leinwand"},       {'N', "LAN", "Netzwerk"},
    {'A', "Audio", "Audioanlage"},       {'S', "Medien", "Mediensteuerung"},
    {'G', "Großbild", "Großbildschirm"}, {'B', "Smartboard", "Smartboard"}};

QString Liste(const QString& buchstaben, bool kurz) {
    QStringList namen;
    for (const Eintrag& e : kEintraege)
        if (buchstaben.contains(QLatin1Char(e.code)))
            namen << QString::fromUtf8(kurz ? e.kurz : e.lang);
    return namen.join(QStringLiteral(", "));
}

QString Stuhlanordnungen(const QString& codes) {
    QStringList namen;
    if (codes.contains(QLatin1Char('K')))
        namen << QStringLiteral("Kino");
    if (codes.contains(QLatin1Char('U')))
        namen << QStringLiteral("Theater");
    if (codes.contains(QLatin1Char('O')))
        namen << QStringLiteral("Kreis");
    return namen.join(QStringLiteral(", "));
}
} // namespace

QString Kurz(const QString& buchstaben) {
    return Liste(buchstaben, true);
}

QString Lang(const QString& buchstaben) {
    return Liste(buchstaben, false);
}

QString Tip(const CAnzeigeRec& raum, const QString& raumart) {
    QStringList zeilen;
    zeilen << (raum.RaumNr.isEmpty()
                   ? raum.Kurzbez
                   : raum.Kurzbez + QStringLiteral(" (") + raum.RaumNr + QLatin1Char(')'));
    if (!raumart.isEmpty())
        zeilen << QStringLiteral("Raumart: ") + raumart;
    if (raum.IANZAHLPERS > 0)
        zeilen << QStringLiteral("Personen: max. %1").arg(raum.IANZAHLPERS);
    if (raum.IPTISCHE > 0 || raum.IPTISCHEFEST > 0)
        zeilen << QStringLiteral("Beteiligtentische: %1 fest, max. %2")
                      .arg(raum.IPTISCHEFEST)
                      .arg(raum.IPTISCHE);
    const QString stuehle = Stuhlanordnungen(raum.STSTUHLANORDNUNG);
    if (!stuehle.isEmpty())
        zeilen << QStringLiteral("Stuhlanordnung: ") + stuehle;
    const QString ausstattung = Lang(raum.stAusstattung);
    zeilen << QStringLiteral("Ausstattung: ") +
                  (ausstattung.isEmpty() ? QStringLiteral("keine") : ausstattung);
    return zeilen.join(QLatin1Char('\n'));
}

} // namespace RaumAusstattung

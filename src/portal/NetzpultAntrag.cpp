#include "NetzpultAntrag.h"

namespace {
QString DatumText(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}
} // namespace

QString NetzpultAntrag::ArtText() const {
    if (status == QLatin1String("B"))
        return QStringLiteral("Neu");
    if (status == QLatin1String("K"))
        return QStringLiteral("Änd.");
    return QString();
}

QStringList NetzpultAntrag::Spalten() const {
    return {
        ArtText(), raumart,   wunschraum, DatumText(von), zeitVon,   DatumText(bis), zeitBis,
        name,      firma,     tel,        email,          kst,       nutzung,        anzPers,
        stuhl,     bemerkung, sonstiges,  ptische,        datumErst, datumKorr,      ausstattung};
}

QString NetzpultAntrag::Schluessel() const {
    return QStringLiteral("$/%1/%2/%3").arg(lWunschId).arg(lRaumId).arg(lBelegId);
}

QStringList NetzpultSpaltenTitel() {
    return {QStringLiteral("Neu/Änd."),      QStringLiteral("Raumart"),
            QStringLiteral("Wunschraum"),    QStringLiteral("Von"),
            QStringLiteral("Uhrzeit"),       QStringLiteral("Bis"),
            QStringLiteral("Uhrzeit"),       QStringLiteral("Besteller"),
            QStringLiteral("Firma"),         QStringLiteral("Telefon"),
            QStringLiteral("Email"),         QStringLiteral("KST"),
            QStringLiteral("Veranstaltung"), QStringLiteral("AnzPers"),
            QStringLiteral("Bestuhlung"),    QStringLiteral("Bemerkung"),
            QStringLiteral("Bem. Ausst."),   QStringLiteral("Bet.-tische"),
            QStringLiteral("Dat.Erst."),     QStringLiteral("Dat.Korr."),
            QStringLiteral("Ausstattung")};
}

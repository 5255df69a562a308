#include "RaumMaske.h"

#include "Allg_Hilfsfkt.h"
#include "GebDb.h"

#include <QHash>
#include <algorithm>

namespace RaumMaske {

Haken AusstattungLesen(const QString& stAusstattung) {
    Haken haken{};
    for (int i = 0; i < kAusstattung.size(); ++i)
        haken[i] = stAusstattung.contains(kAusstattung[i]);
    return haken;
}

QString AusstattungSchreiben(const Haken& haken) {
    QString s;
    for (int i = 0; i < kAusstattung.size(); ++i)
        if (haken[i])
            s += kAusstattung[i];
    return s;
}

QStringList StuhlTexte() {
    return {QString(),
            QStringLiteral("Kino(K)"),
            QStringLiteral("Theater(U)"),
            QStringLiteral("Kreis(O)"),
            QStringLiteral("Kino(K)+ Theater(U)"),
            QStringLiteral("Kino(K)+Kreis(O)"),
            QStringLiteral("Theater(U)+Kreis(O)"),
            QStringLiteral("Kino(K)+Theater(U)+Kreis(O)")};
}

namespace {
const QStringList& Codes() {
    static const QStringList codes = {QString(),
                                      QStringLiteral("K"),
                                      QStringLiteral("U"),
                                      QStringLiteral("O"),
                                      QStringLiteral("KU"),
                                      QStringLiteral("KO"),
                                      QStringLiteral("UO"),
                                      QStringLiteral("KUO")};
    return codes;
}

QString Sortiert(QString s) {
    std::sort(s.begin(), s.end());
    return s;
}
} // namespace

QString StuhlCode(int index) {
    return index >= 0 && index < Codes().size() ? Codes()[index] : QString();
}

int StuhlIndex(const QString& code) {
    // The letters may come in any order; each may occur once.
    const QString gesucht = Sortiert(code);
    for (int i = 1; i < Codes().size(); ++i)
        if (Sortiert(Codes()[i]) == gesucht)
            return i;
    return 0;
}

QStringList SpaltenTitel() {
    QStringList titel = {QStringLiteral("Name"), QStringLiteral("Raum-Nr."),
                         QStringLiteral("Raumart"), QStringLiteral("Stühle"),
                         QStringLiteral("Personen")};
    const QStringList ausstattung = {QStringLiteral("LAN"),
                                     QStringLiteral("Laptop"),
                                     QStringLiteral("Leinwand"),
                                     QStringLiteral("Projektor"),
                                     QStringLiteral("Rednerpult"),
                                     QStringLiteral("Mikrofon"),
                                     QStringLiteral("Audio"),
                                     QStringLiteral("Flipchart"),
                                     QStringLiteral("Whiteboard"),
                                     QStringLiteral("Mediensteuerung"),
                                     QStringLiteral("Großbildschirm"),
                                     QStringLiteral("Smartboard")};
    titel << ausstattung << QStringLiteral("Tische fest") << QStringLiteral("Tische max.");
    return titel;
}

QVariantList Zeile(const CAnzeigeRec& raum, const QString& raumart) {
    QVariantList z = {raum.Kurzbez, raum.RaumNr, raumart, raum.STSTUHLANORDNUNG,
                      int(raum.IANZAHLPERS)};
    for (const QChar c : kAusstattungSpalten)
        z << (raum.stAusstattung.contains(c) ? QStringLiteral("x") : QString());
    z << int(raum.IPTISCHEFEST) << int(raum.IPTISCHE);
    return z;
}

bool ReadAnzahl(const QString& text, const QString& feld, int16_t& wert, QString& meldung) {
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        wert = 0;
        return true;
    }
    bool ok = false;
    const int zahl = t.toInt(&ok);
    if (!ok || zahl < 0 || zahl > 32767) {
        meldung = QStringLiteral("Im Feld '%1' ist nur eine ganze Zahl von 0 bis 32767 "
                                 "erlaubt (eingegeben: '%2').")
                      .arg(feld, t);
        return false;
    }
    wert = static_cast<int16_t>(zahl);
    return true;
}

QString GetRaumNrFormat(const CGebDb& geb, int32_t raumId, const QString& format) {
    QHash<int32_t, GebNode> knoten;
    for (const GebNode& n : geb.AllNodes())
        knoten.insert(n.lId, n);
    // The parts of the chain from the room up, by level.
    QHash<int, QString> teil;
    for (int32_t id = raumId, tiefe = 0; id != 0 && tiefe < 16; ++tiefe) {
        const auto it = knoten.constFind(id);
        if (it == knoten.constEnd())
            break;
        teil.insert(it->iEbene, it->stNr);
        id = it->lParentId;
    }
    const auto ebene = [](const QString& buchstaben) {
        const QString b = buchstaben.trimmed().toUpper();
        if (b == QLatin1String("S"))
            return 1;
        if (b == QLatin1String("G"))
            return 2;
        if (b == QLatin1String("BE") || b == QLatin1String("E"))
            return 3;
        if (b == QLatin1String("R"))
            return 4;
        return 0;
    };
    QStringList teile;
    bool mitRaum = false;
    for (int i = 1; i <= 3; ++i) {
        const int e = ebene(Allg_Hilfsfkt::GetToken(format, QStringLiteral("."), i));
        if (e == 0)
            continue;
        mitRaum = mitRaum || e == 4;
        teile << teil.value(e);
    }
    if (!mitRaum)
        teile << teil.value(4);
    QString nr = teile.join(QLatin1Char('.'));
    nr.remove(QLatin1Char('"'));
    nr.remove(QLatin1Char('\''));
    return nr;
}

} // namespace RaumMaske

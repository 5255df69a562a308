#include "TerminEingabe.h"

#include "TovoDate.h"

#include <QRegularExpression>

namespace {

constexpr int64_t kMinutenProTag = 1440;

// What the form calls the moments in its labels.
const char* const kNamen[TerminEingabe::kMomente] = {
    "Beginn", "Ende", "Beginn Umbau", "Ende Umbau", "Beginn Rückbau", "Ende Rückbau"};

// A date as the boxes take it ("16.3.26", "16.03.2026"): day number, false when it is none.
bool ReadTag(const QString& text, int64_t& tag) {
    static const QRegularExpression form(QStringLiteral(R"(^\d{1,2}\.\d{1,2}\.(\d{2}|\d{4})$)"));
    TovoDate d;
    if (!form.match(text.trimmed()).hasMatch() || !TovoDate::parse(text, d))
        return false;
    tag = static_cast<int64_t>(d.datePart().value());
    return true;
}

bool ReadUhrzeit(const QString& text, int64_t& minuten) {
    static const QRegularExpression form(QStringLiteral(R"(^\d{1,2}:\d{1,2}$)"));
    TovoDate d;
    if (!form.match(text.trimmed()).hasMatch() || !TovoDate::parse(text, d))
        return false;
    const QTime t = d.toQTime();
    minuten = t.hour() * 60 + t.minute();
    return true;
}

QString TagText(int64_t tag) {
    return TovoDate(static_cast<double>(tag)).toShortDateText();
}

int64_t TagVon(int64_t minuten) {
    return minuten >= 0 ? minuten / kMinutenProTag
                        : -((-minuten + kMinutenProTag - 1) / kMinutenProTag);
}

} // namespace

// --- when the checks run -----------------------------------------------------------------------

void TerminEingabe::Bearbeitet(int box) {
    m_bearbeitet |= 1u << box;
    m_offen[Gruppe(box)] = true;
}

TerminEingabe::Verlassen TerminEingabe::Verlasse(int box, int ziel) {
    Verlassen v;
    const int moment = box / 2;
    const QString getippt = text[box].trimmed();
    QString t = getippt;
    int64_t wert = 0;
    if (box % 2) {
        if (t.startsWith(QLatin1String("24")))
            t = QStringLiteral("00") + t.mid(2);
        if (t.isEmpty() && moment <= Ende)
            t = QStringLiteral("00:00");
        if (!t.isEmpty() && !ReadUhrzeit(t, wert)) {
            v.meldung = QString::fromUtf8(kNamen[moment]) + QStringLiteral(": ") + getippt +
                        QStringLiteral(" ist keine gültige Uhrzeit.");
            return v;
        }
    } else if (!t.isEmpty()) {
        if (!ReadTag(t, wert)) {
            v.meldung = QString::fromUtf8(kNamen[moment]) + QStringLiteral(": ") + getippt +
                        QStringLiteral(" ist kein gültiges Datum.");
            return v;
        }
        t = TagText(wert);
    }
    if (t != getippt)
        text[box] = t;

    // A time typed in the hour after midnight, start or end, puts the end on the next day.
    const bool neuGetippt = m_bearbeitet & (1u << box);
    m_bearbeitet &= ~(1u << box);
    if ((box == Zeit(Beginn) || box == Zeit(Ende)) && neuGetippt && wert < 60 && HatDatum(Beginn) &&
        HatDatum(Ende)) {
        int64_t von = 0, bis = 0;
        ReadTag(text[Datum(Beginn)], von);
        ReadTag(text[Datum(Ende)], bis);
        if (von == bis)
            text[Datum(Ende)] = TagText(von + 1);
    }

    const int gruppe = Gruppe(box);
    if (m_offen[gruppe] && (ziel == kAussen || Gruppe(ziel) != gruppe)) {
        m_offen[gruppe] = false;
        v.spanne = true;
    }
    return v;
}

bool TerminEingabe::SpanneOffen() {
    const bool offen = m_offen[0] || m_offen[1];
    m_offen = {};
    return offen;
}

// --- moments -----------------------------------------------------------------------------------

bool TerminEingabe::HatDatum(int moment) const {
    int64_t tag = 0;
    return ReadTag(text[Datum(moment)], tag) && tag < static_cast<int64_t>(TovoDate::kNoDate);
}

bool TerminEingabe::Zeitpunkt(int moment, int64_t& minuten) const {
    int64_t tag = 0, zeit = 0;
    if (!HatDatum(moment) || !ReadUhrzeit(text[Zeit(moment)], zeit))
        return false;
    ReadTag(text[Datum(moment)], tag);
    minuten = tag * kMinutenProTag + zeit;
    return true;
}

int64_t TerminEingabe::Minuten(int moment) const {
    int64_t tag = 0, zeit = 0;
    ReadTag(text[Datum(moment)], tag);
    ReadUhrzeit(text[Zeit(moment)], zeit);
    return tag * kMinutenProTag + zeit;
}

void TerminEingabe::Setze(int moment, int64_t minuten) {
    const int64_t tag = TagVon(minuten);
    const int64_t m = minuten - tag * kMinutenProTag;
    text[Datum(moment)] = TagText(tag);
    text[Zeit(moment)] = QStringLiteral("%1:%2")
                             .arg(m / 60, 2, 10, QLatin1Char('0'))
                             .arg(m % 60, 2, 10, QLatin1Char('0'));
}

// --- the checks --------------------------------------------------------------------------------

QVector<TerminEingabe::Meldung> TerminEingabe::Bau() {
    QVector<Meldung> meldungen;
    int64_t beginn = 0, ende = 0;
    const bool mitBeginn = Zeitpunkt(Beginn, beginn);
    const bool mitEnde = Zeitpunkt(Ende, ende);
    // A span whose two dates are empty is not asked for and stays alone.
    const bool umbau = HatDatum(UmbauBeginn) || HatDatum(UmbauEnde);
    const bool rueckbau = HatDatum(RueckbauBeginn) || HatDatum(RueckbauEnde);
    const auto tagVon = [&](int moment) {
        int64_t tag = 0;
        ReadTag(text[Datum(moment)], tag);
        return tag;
    };

    if (umbau && mitBeginn) {
        for (int i : {UmbauBeginn, UmbauEnde}) {
            int64_t m = 0;
            if (!Zeitpunkt(i, m) || m <= beginn)
                continue;
            meldungen.append({QStringLiteral("Umbauzeit muß vor Terminende liegen!"), true});
            if (tagVon(i) != tagVon(Beginn))
                text[Datum(i)] = TagText(tagVon(Beginn));
            else
                Setze(i, beginn - 10);
        }
    }
    if (rueckbau && mitEnde) {
        for (int i : {RueckbauBeginn, RueckbauEnde}) {
            int64_t m = 0;
            if (!Zeitpunkt(i, m) || m >= ende)
                continue;
            meldungen.append({QStringLiteral("Rückbauzeit muß nach Terminende liegen!"), true});
            if (tagVon(i) != tagVon(Ende))
                text[Datum(i)] = TagText(tagVon(Ende));
            else
                Setze(i, ende + 10);
        }
    }
    for (int s : {UmbauBeginn, RueckbauBeginn}) {
        int64_t anfang = 0, schluss = 0;
        if (!(s == UmbauBeginn ? umbau : rueckbau) || !Zeitpunkt(s, anfang) ||
            !Zeitpunkt(s + 1, schluss) || anfang < schluss)
            continue;
        meldungen.append({QStringLiteral("Bauanfang muß vor Bauende liegen!"), false});
        // The end moves with its date, also across midnight.
        Setze(s + 1, anfang + 10);
    }
    return meldungen;
}

QString TerminEingabe::BuchungsSpanne() const {
    if (HatDatum(Beginn) && HatDatum(Ende) && Minuten(Ende) <= Minuten(Beginn))
        return QStringLiteral("Ende Termin muss später sein als Anfang Termin !");
    return QString();
}

TerminEingabe::Befund TerminEingabe::VorDemSpeichern() const {
    if (!HatDatum(Beginn) || !HatDatum(Ende))
        return {QStringLiteral("Anfangs- und Enddatum setzen!")};
    if (const QString spanne = BuchungsSpanne(); !spanne.isEmpty())
        return {spanne};
    const bool umbauVon = HatDatum(UmbauBeginn), umbauBis = HatDatum(UmbauEnde);
    const bool rueckVon = HatDatum(RueckbauBeginn), rueckBis = HatDatum(RueckbauEnde);
    if (umbauVon && !umbauBis)
        return {
            QStringLiteral("Für den Umbau fehlt das Ende! Auf Terminbeginn setzen und speichern ?"),
            0};
    if (rueckBis && !rueckVon)
        return {QStringLiteral(
                    "Für den Rückbau fehlt der Anfang! Auf Terminende setzen und speichern ?"),
                1};
    if (umbauBis && !umbauVon)
        return {QStringLiteral("Für den Umbau fehlt der Anfang !")};
    if (rueckVon && !rueckBis)
        return {QStringLiteral("Für den Rückbau fehlt das Ende !")};
    if (umbauVon && Minuten(UmbauEnde) <= Minuten(UmbauBeginn))
        return {QStringLiteral("Ende Umbau muss später sein als Anfang Umbau !")};
    if (rueckVon && Minuten(RueckbauEnde) <= Minuten(RueckbauBeginn))
        return {QStringLiteral("Ende Rückbau muss später sein als Anfang Rückbau !")};
    if (umbauBis && Minuten(UmbauEnde) > Minuten(Beginn))
        return {QStringLiteral("Ende Umbau ist später als Beginn des Termins !")};
    if (rueckVon && Minuten(RueckbauBeginn) < Minuten(Ende))
        return {QStringLiteral("Anfang Rückbau ist früher als Ende des Termins !")};
    return {};
}

void TerminEingabe::FrageAnnehmen(int frage) {
    if (frage == 0)
        Setze(UmbauEnde, Minuten(Beginn));
    else if (frage == 1)
        Setze(RueckbauBeginn, Minuten(Ende));
}

double TerminEingabe::Aufwand() const {
    int64_t minuten = 0;
    for (int s : {UmbauBeginn, RueckbauBeginn})
        if (HatDatum(s) && HatDatum(s + 1))
            minuten += Minuten(s + 1) - Minuten(s);
    return static_cast<float>(minuten) / 60.0f;
}

void TerminEingabe::Vorschlagen(int index) {
    if (index == 0 && HatDatum(Beginn)) {
        const int64_t anfang = Minuten(Beginn) - 90;
        Setze(UmbauBeginn, anfang);
        Setze(UmbauEnde, anfang + 60);
    } else if (index == 1 && HatDatum(Ende)) {
        const int64_t anfang = Minuten(Ende) + 30;
        Setze(RueckbauBeginn, anfang);
        Setze(RueckbauEnde, anfang + 60);
    }
}

#include "NetzpultTexte.h"

#include "NetzpultAntrag.h"
#include "Records.h"
#include "TovoDate.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace NetzpultTexte {

namespace {

// Bit 2^(i-1) has the letter at index i-1.
constexpr char kBuchstaben[] = "WPCMRFLNASGB";

const char* const kNamen[12] = {"Whiteboard",  "Projektor",       "Laptop",   "Mikrofon",
                                "Rednerpult",  "Flipchart",       "Leinwand", "Netzwerk",
                                "Audioanlage", "Mediensteuerung", nullptr,    "Smartboard"};

} // namespace

QString AusstattungBuchstaben(int32_t aust) {
    // The stored value is read as a 16-bit number; letters in falling bit order.
    int v = static_cast<int16_t>(aust);
    QString out;
    for (int i = 12; i >= 1 && v >= 1; --i) {
        const int bit = 1 << (i - 1);
        if (bit <= v) {
            out += QLatin1Char(kBuchstaben[i - 1]);
            v -= bit;
        }
    }
    return out;
}

int32_t AusstattungBits(const QString& buchstaben) {
    int32_t bits = 0;
    for (int i = 0; i < 12; ++i)
        if (buchstaben.contains(QLatin1Char(kBuchstaben[i])))
            bits |= int32_t(1) << i;
    return bits;
}

QString AusstattungNamen(int32_t aust, bool antrag) {
    QString out;
    for (int i = 0; i < 12; ++i) {
        if (!(aust & (int32_t(1) << i)) || !kNamen[i])
            continue;
        const QString name =
            (i == 4 && antrag) ? QStringLiteral("Renderpult") : QString::fromLatin1(kNamen[i]);
        out += QStringLiteral(", ") + name;
    }
    return out.mid(2);
}

QString PTischeListe(int maximum, int fest) {
    if (maximum == 0)
        return QString();
    const bool festOk = fest == 0 || fest == 2 || fest == 4 || fest == 6;
    if (maximum % 2 != 0 || maximum < 2 || maximum > 16 || !festOk || fest > maximum)
        return QStringLiteral("0");
    QStringList zahlen;
    for (int n = fest; n <= maximum; n += 2)
        zahlen << QString::number(n);
    return zahlen.join(QLatin1Char('|'));
}

int PersonenZahl(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    if (ok)
        return n;
    const double d = QLocale(QLocale::German).toDouble(t, &ok);
    if (ok && std::isfinite(d) && std::fabs(d) < 2e9)
        return static_cast<int>(std::lround(d));
    return 0;
}

QString BestellDatumText(double datum) {
    const TovoDate d(datum);
    if (d.isNoDate() || d.datePart().value() == TovoDate::kNullDate)
        return QString();
    return d.format(QStringLiteral("dd.MM.yyyy"));
}

QString ZeitText(double zeit) {
    // Whole minutes, so that 08:29:59.9 from rounding reads 08:30.
    const long minuten = std::lround(TovoDate(zeit).timePart().value() * 1440.0) % 1440;
    return QStringLiteral("%1:%2")
        .arg(minuten / 60, 2, 10, QLatin1Char('0'))
        .arg(minuten % 60, 2, 10, QLatin1Char('0'));
}

QString StuhlText(const QString& code) {
    if (code == QLatin1String("K"))
        return QStringLiteral("Kino");
    if (code == QLatin1String("O"))
        return QStringLiteral("Kreis");
    if (code == QLatin1String("U"))
        return QStringLiteral("Theater");
    if (code.isEmpty())
        return QStringLiteral("belassen");
    return code;
}

AntragsZeit NormalisiereZeit(const QString& text) {
    AntragsZeit r;
    QString t = text.trimmed();
    if (t.isEmpty()) {
        r.zeit = QStringLiteral("8:00");
        r.status = ZeitStatus::Leer;
        return r;
    }
    if (t.size() == 1)
        t = QLatin1Char('0') + t + QStringLiteral(":00");
    else if (t.size() == 5 && t.at(2) == QLatin1Char('.'))
        t[2] = QLatin1Char(':');
    else if (t.size() == 2)
        t += QStringLiteral(":00");
    if (t == QLatin1String("24:00")) {
        t = QStringLiteral("00:00");
        r.naechsterTag = true;
    }
    static const QRegularExpression zeit(QStringLiteral("^(\\d{1,2}):(\\d{2})$"));
    const QRegularExpressionMatch m = zeit.match(t);
    if (!m.hasMatch() || m.captured(1).toInt() > 23 || m.captured(2).toInt() > 59) {
        r.zeit = QStringLiteral("8:00");
        r.naechsterTag = false;
        r.status = ZeitStatus::Ungueltig;
        return r;
    }
    r.zeit = t;
    return r;
}

void AntragInBelegung(const NetzpultAntrag& antrag, CBelegungRec& rec, QStringList& hinweise,
                      const AntragsTermin* termin) {
    if (termin) {
        auto tag = [&](const QDate& d, const AntragsZeit& zeit, const QString& wort) {
            if (d.isValid())
                return TovoDate::fromDate(d).value() + (zeit.naechsterTag ? 1 : 0);
            hinweise << QStringLiteral("Das %1 des Antrags ist kein gültiges Datum und wurde "
                                       "nicht übernommen.")
                            .arg(wort);
            return TovoDate::kNoDate;
        };
        rec.dt_von = tag(antrag.von, termin->beginn, QStringLiteral("Anfangsdatum"));
        rec.dt_bis = tag(antrag.bis, termin->ende, QStringLiteral("Enddatum"));
        TovoDate t;
        rec.tm_von = TovoDate::parse(termin->beginn.zeit, t) ? t.timePart().value() : 0.0;
        rec.tm_bis = TovoDate::parse(termin->ende.zeit, t) ? t.timePart().value() : 0.0;
    }
    rec.Best = antrag.name;
    rec.Inst = antrag.firma;
    rec.Tel = antrag.tel;
    rec.STEMAIL = antrag.email;
    rec.KST = antrag.kst;
    rec.Verst = antrag.nutzung;
    const QString personen = antrag.anzPers.trimmed();
    bool zahl = false;
    personen.toInt(&zahl);
    if (zahl || personen.isEmpty())
        rec.Pers = personen;
    else
        hinweise << QStringLiteral("Die Personenzahl '%1' des Antrags ist keine Zahl und wurde "
                                   "nicht übernommen.")
                        .arg(antrag.anzPers);
    rec.STSTUHLANORDNUNG = antrag.stuhl;
    rec.Bem = antrag.bemerkung;
    rec.Austbem = antrag.sonstiges;
    const int tische = antrag.ptische.trimmed().toInt(&zahl);
    rec.IPTISCHE = zahl && tische >= 0 && tische <= 32767 ? static_cast<int16_t>(tische) : 0;
    rec.Aust = AusstattungBits(antrag.ausstattung);
    // Order dates only where the request holds dates; others stay as they were.
    TovoDate datum;
    if (TovoDate::parse(antrag.datumErst.trimmed(), datum)) {
        rec.datErstBestellung = datum.datePart().value();
        rec.datBestellung = rec.datErstBestellung;
    }
    if (TovoDate::parse(antrag.datumKorr.trimmed(), datum))
        rec.datKorrektur = datum.datePart().value();
}

QStringList AenderungsBericht(const CBelegungRec& alt, const QString& raum,
                              const NetzpultAntrag& neu) {
    auto zeitpunkt = [](double datum, double zeit) -> QString {
        return TovoDate(datum).format(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ') +
               ZeitText(zeit);
    };
    const QString trenner = QStringLiteral("-----------------------------------");
    QStringList z;
    z << QStringLiteral("Beantragte Änderung einer Reservierung") << QStringLiteral("Raum: ") + raum
      << QStringLiteral("Beginn: ") + zeitpunkt(alt.dt_von, alt.tm_von)
      << QStringLiteral("Ende: ") + zeitpunkt(alt.dt_bis, alt.tm_bis) << trenner
      << QStringLiteral("Alt:")
      << QStringLiteral("Ausstattung: ") + AusstattungNamen(alt.Aust, false)
      << QStringLiteral("Ansprechpartner: ") + alt.Best << QStringLiteral("Telefon: ") + alt.Tel
      << QStringLiteral("Besteller: ") + alt.Inst << QStringLiteral("Personen: ") + alt.Pers
      << QStringLiteral("Veranstaltung: ") + alt.Verst << QStringLiteral("KST: ") + alt.KST
      << QStringLiteral("Bemerkung: ") + alt.Bem << QStringLiteral("Sonstiges: ") + alt.Austbem
      << QStringLiteral("Email: ") + alt.STEMAIL
      << QStringLiteral("Stuhlanordnung: ") + StuhlText(alt.STSTUHLANORDNUNG)
      << QStringLiteral("Beteiligtentische: ") + QString::number(alt.IPTISCHE) << trenner
      << QStringLiteral("Neu:")
      << QStringLiteral("Ausstattung: ") + AusstattungNamen(AusstattungBits(neu.ausstattung), true)
      << QStringLiteral("Ansprechpartner: ") + neu.name << QStringLiteral("Telefon: ") + neu.tel
      << QStringLiteral("Besteller: ") + neu.firma << QStringLiteral("Personen: ") + neu.anzPers
      << QStringLiteral("Veranstaltung : ") + neu.nutzung << QStringLiteral("KST: ") + neu.kst
      << QStringLiteral("Bemerkung: ") + neu.bemerkung
      << QStringLiteral("Sonstiges: ") + neu.sonstiges << QStringLiteral("Email: ") + neu.email
      << QStringLiteral("Stuhlanordnung: ") + StuhlText(neu.stuhl)
      << QStringLiteral("Beteiligtentische: ") + neu.ptische;
    return z;
}

} // namespace NetzpultTexte

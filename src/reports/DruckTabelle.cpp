#include "DruckTabelle.h"

#include "Allg_Hilfsfkt.h"
#include "BelegungsZeitraum.h"
#include "Dialekt.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <cmath>

namespace DruckTabelle {
namespace {

const QString kNoDate = QStringLiteral("2958465");

// The connection's own print table, made when missing: two users printing at once never mix
// their rows, and the project database is only read, so other users keep saving.
bool Vorbereiten(QSqlDatabase& db, QString* error) {
    QSqlError fehler;
    if (Dialekt::Von(db).DruckTabelleVorbereiten(db, &fehler))
        return true;
    if (error)
        *error = fehler.text().trimmed();
    return false;
}

bool leeren(QSqlDatabase& db, QString* error) {
    QSqlQuery q(db);
    return q.exec(QStringLiteral("DELETE FROM t_tmp_Druck")) || SqlFehler(q, error);
}

// The rows of one preparation go into the emptied print table in one transaction; what is not
// committed is rolled back when the scope ends.
bool beginne(SchreibTransaktion& t, QString* error) {
    return (t.offen() || SqlFehler(t.fehler(), error)) && Vorbereiten(t.db(), error) &&
           leeren(t.db(), error);
}

bool schliesse(SchreibTransaktion& t, QString* error) {
    return t.commit() || SqlFehler(t.fehler(), error);
}

// A time column as the text "hh:mm" (the seconds dropped); "" for a missing time, or when the
// date column that goes with it holds no date (set-up and clear-down not set).
QString uhrzeit(const QString& spalte, const QString& datum = QString()) {
    // Minutes of the day; 100 + hours and 100 + minutes give the two digits with leading zero.
    const QString minuten =
        QStringLiteral("(CAST(FLOOR(%1 * 1440 + 0.5) AS INTEGER) % 1440)").arg(spalte);
    const QString ohneDatum =
        datum.isEmpty() ? QString()
                        : QStringLiteral(" OR %1 IS NULL OR %1 >= %2").arg(datum, kNoDate);
    return QStringLiteral("CASE WHEN %1 IS NULL OR %1 >= %3%4 THEN '' ELSE "
                          "SUBSTR(CAST(100 + %2 / 60 AS TEXT), 2) || ':' || "
                          "SUBSTR(CAST(100 + %2 % 60 AS TEXT), 2) END")
        .arg(spalte, minuten, kNoDate, ohneDatum);
}

// The columns a list copies from each booking, and what it copies into them. The day list
// clips the two times to its day, the month list rounds the costs and trims the set-up remark.
enum class Liste { Zeitraum, Tag, Monat };

QString kopie(const Dialekt& dialekt, Liste liste) {
    const bool monat = liste == Liste::Monat;
    const auto geld = [&](const char* spalte) {
        const QString s = QStringLiteral("b.") + QLatin1String(spalte);
        return monat ? QStringLiteral("ROUND(CAST(%1 AS NUMERIC), 2)").arg(s) : s;
    };
    QString tmVon = uhrzeit(QStringLiteral("b.tm_von"));
    QString tmBis = uhrzeit(QStringLiteral("b.tm_bis"));
    if (liste == Liste::Tag) {
        tmVon = QStringLiteral("CASE WHEN b.dt_von < ? THEN '00:00' ELSE %1 END").arg(tmVon);
        tmBis = QStringLiteral("CASE WHEN b.dt_bis > ? THEN '00:00' ELSE %1 END").arg(tmBis);
    }
    const QStringList werte = {
        QStringLiteral("b.lAuftrNr"),
        QStringLiteral("a.Kurzbez"),
        QStringLiteral("b.rb_id"),
        QStringLiteral("b.KST"),
        QStringLiteral("b.dt_von"),
        tmVon,
        QStringLiteral("b.dt_bis"),
        tmBis,
        QStringLiteral("b.Best"),
        QStringLiteral("b.Inst"),
        QStringLiteral("b.Pers"),
        QStringLiteral("b.Verst"),
        geld("Miete"),
        geld("Umbau"),
        geld("Pausch"),
        geld("Technik"),
        geld("Tageskraft"),
        geld("Sicherheit"),
        geld("Sonst"),
        monat ? QStringLiteral("RTRIM(b.UmbBem)") : QStringLiteral("b.UmbBem"),
        QStringLiteral("b.Udt_von"),
        uhrzeit(QStringLiteral("b.Utm_von"), QStringLiteral("b.Udt_von")),
        QStringLiteral("b.Udt_bis"),
        uhrzeit(QStringLiteral("b.Utm_bis"), QStringLiteral("b.Udt_bis")),
        QStringLiteral("b.Rdt_von"),
        uhrzeit(QStringLiteral("b.Rtm_von"), QStringLiteral("b.Rdt_von")),
        QStringLiteral("b.Rdt_bis"),
        uhrzeit(QStringLiteral("b.Rtm_bis"), QStringLiteral("b.Rdt_bis")),
        QStringLiteral("?"), // Info
    };
    return QStringLiteral(
               "INSERT INTO t_tmp_Druck (lAuftrNr, Kurzbez, rb, Kst, dt_von, tm_von, dt_bis, "
               "tm_bis, Best, Inst, Pers, Verst, Miete, Umbau, Pausch, Technik, Tageskraft, "
               "Sicherheit, Sonst, UmbBem, Udt_von, Utm_von, Udt_bis, Utm_bis, Rdt_von, Rtm_von, "
               "Rdt_bis, Rtm_bis, Info) SELECT ") +
           werte.join(QStringLiteral(", ")) + QStringLiteral(" FROM T_rb_Anzeige a CROSS JOIN ") +
           BelegungsZeitraum::Quelle(dialekt, QStringLiteral("a.az_ID")) +
           QStringLiteral(" WHERE b.dt_bis >= ? AND b.dt_von <= ?");
}

QString vomBis(double von, double bis) {
    return QStringLiteral("vom ") + TovoDate(von).toShortDateText() + QStringLiteral(" bis ") +
           TovoDate(bis).toShortDateText();
}

// Empties the table and copies the bookings from `von` to `bis` in one transaction.
bool kopiere(const QString& connection, Liste liste, double von, double bis, const QString& info,
             QString* error) {
    SchreibTransaktion t(Verbindung(connection), SchreibTransaktion::Art::NurTemporaer);
    if (!beginne(t, error))
        return false;
    QVariantList binds;
    if (liste == Liste::Tag)
        binds << von << bis;
    binds << info << von << bis << bis << von << bis;
    QSqlQuery q(t.db());
    if (!ExecBound(q, kopie(Dialekt::Von(t.db()), liste), binds))
        return SqlFehler(q, error);
    return schliesse(t, error);
}

// The minutes of a set-up or clear-down span clipped to the period; NULL when one end is not
// set. Each of the two ends takes the binds (E, E, S, S) in this order.
QString bauMinuten(const char* dtVon, const char* tmVon, const char* dtBis, const char* tmBis) {
    const auto zeit = [](const char* tm) {
        return QStringLiteral("(CASE WHEN b.%1 IS NULL OR b.%1 >= 1 THEN 0 ELSE b.%1 END)")
            .arg(QLatin1String(tm));
    };
    return QStringLiteral("SUM(CASE WHEN b.%1 IS NULL OR b.%1 >= %5 OR b.%3 IS NULL OR b.%3 >= %5 "
                          "THEN NULL ELSE ROUND(((CASE WHEN b.%3 < ? THEN b.%3 + %4 ELSE ? END) - "
                          "(CASE WHEN b.%1 >= ? THEN b.%1 + %2 ELSE ? END)) * 1440) END)")
        .arg(QLatin1String(dtVon), zeit(tmVon), QLatin1String(dtBis), zeit(tmBis), kNoDate);
}

bool auslastung(const QString& connection, double von, double bis, int tage, const QString& info,
                QString* error) {
    SchreibTransaktion t(Verbindung(connection), SchreibTransaktion::Art::NurTemporaer);
    if (!beginne(t, error))
        return false;
    QSqlQuery q(t.db());
    q.setForwardOnly(true);
    const QString sql =
        QStringLiteral(
            "SELECT a.Kurzbez, SUM(ROUND(((CASE WHEN b.dt_bis < ? THEN b.dt_bis + b.tm_bis "
            "ELSE ? END) - (CASE WHEN b.dt_von >= ? THEN b.dt_von + b.tm_von ELSE ? END)) * "
            "1440)), ") +
        bauMinuten("Udt_von", "Utm_von", "Udt_bis", "Utm_bis") + QStringLiteral(", ") +
        bauMinuten("Rdt_von", "Rtm_von", "Rdt_bis", "Rtm_bis") +
        QStringLiteral(" FROM T_rb_Anzeige a CROSS JOIN ") +
        BelegungsZeitraum::Quelle(Dialekt::Von(t.db()), QStringLiteral("a.az_ID")) +
        QStringLiteral(
            " WHERE b.dt_von < ? AND b.dt_bis > ? GROUP BY a.Kurzbez ORDER BY a.Kurzbez");
    const QVariantList ende = {bis, bis, von, von};
    if (!ExecBound(q, sql, ende + ende + ende + QVariantList{von, bis, bis, bis, von}))
        return SqlFehler(q, error);
    struct Zeile {
        QString kurzbez;
        double nutzung, bau;
    };
    QVector<Zeile> zeilen;
    while (q.next())
        zeilen.append({q.value(0).toString(), q.value(1).toDouble(),
                       q.value(2).toDouble() + q.value(3).toDouble()});
    if (HasSqlError(q))
        return SqlFehler(q, error);
    q.finish();

    const double basis = tage * 6.0; // minutes of a 10-hour day per per cent
    QSqlQuery ins(t.db());
    if (!ins.prepare(QStringLiteral("INSERT INTO t_tmp_Druck (Kurzbez, Miete, Umbau, Pausch, "
                                    "Info) VALUES (?, ?, ?, ?, ?)")))
        return SqlFehler(ins, error);
    for (const Zeile& z : zeilen) {
        const double miete = basis > 0 ? z.nutzung / basis : 0;
        const double umbau = basis > 0 ? z.bau / basis : 0;
        for (const QVariant& v : QVariantList{z.kurzbez, miete, umbau, 100 - miete - umbau, info})
            ins.addBindValue(v);
        if (!ins.exec())
            return SqlFehler(ins, error);
    }
    return schliesse(t, error);
}

} // namespace

bool Zeitraum(const QString& connection, double von, double bis, QString* error) {
    von = std::floor(von);
    bis = std::floor(bis);
    return kopiere(connection, Liste::Zeitraum, von, bis, vomBis(von, bis), error);
}

bool Tag(const QString& connection, double tag, QString* error) {
    tag = std::floor(tag);
    return kopiere(connection, Liste::Tag, tag, tag, vomBis(tag, tag), error);
}

void MonatsZeitraum(int iMonat, int jahr, double& von, double& bis) {
    von = TovoDate::fromParts(jahr, iMonat == 0 ? 1 : iMonat, 1).value();
    bis = iMonat == 0 || iMonat == 12 ? TovoDate::fromParts(jahr + 1, 1, 1).value()
                                      : TovoDate::fromParts(jahr, iMonat + 1, 1).value();
}

QString ZeitraumText(int iMonat, int jahr) {
    if (iMonat == 0)
        return QString::number(jahr);
    return TovoDate::monthName(iMonat) + QLatin1Char(' ') + QString::number(jahr);
}

int ArbeitsTage(int iMonat) {
    const auto monat = [](int m) {
        // The key is the month's short name as dates write it ("Jan", "Mrz", ...).
        const QString key = TovoDate::fromParts(2000, m, 1).format(QStringLiteral("mmm"));
        bool ok = false;
        const int tage =
            Allg_Hilfsfkt::ReadIniValue(QStringLiteral("ARBEITSTAGE"), key, QStringLiteral("21"))
                .trimmed()
                .toInt(&ok);
        return ok ? tage : 21;
    };
    if (iMonat >= 1 && iMonat <= 12)
        return monat(iMonat);
    int summe = 0;
    for (int m = 1; m <= 12; ++m)
        summe += monat(m);
    return summe;
}

bool Save_Rpt(const QString& connection, int iMonat, const QString& stJahr, bool mitAuslastung,
              const QString& info, QString* error) {
    bool ok = false;
    int jahr = stJahr.trimmed().toInt(&ok);
    if (!ok || iMonat < 0 || iMonat > 12) {
        if (error)
            *error =
                QStringLiteral("Ungültiger Zeitraum: Monat %1, Jahr „%2“.").arg(iMonat).arg(stJahr);
        return false;
    }
    if (jahr < 100) // a two-digit year as the calendar reads it
        jahr += jahr < 30 ? 2000 : 1900;
    double von = 0, bis = 0;
    MonatsZeitraum(iMonat, jahr, von, bis);
    const QString text = info.isEmpty() ? ZeitraumText(iMonat, jahr) : info;
    if (mitAuslastung)
        return auslastung(connection, von, bis, ArbeitsTage(iMonat), text, error);
    return kopiere(connection, Liste::Monat, von, bis, text, error);
}

QString AusstattungNamen(int32_t aust) {
    static const char* const kNamen[12] = {"Whiteboard",      "Projektor",       "Laptop",
                                           "Mikrofon",        "Rednerpult",      "Flipchart",
                                           "Leinwand",        "Netzwerk",        "Videoanlage",
                                           "Mediensteuerung", "Grossbildschirm", "Smartboard"};
    QStringList namen;
    for (int i = 0; i < 12; ++i)
        if (aust & (int32_t(1) << i))
            namen << QLatin1String(kNamen[i]);
    return namen.join(QStringLiteral(", "));
}

QString BelegMeldung(BelegErgebnis ergebnis) {
    switch (ergebnis) {
    case BelegErgebnis::KeinRaum:
        return QStringLiteral("Es wurde kein Raum ausgewählt!");
    case BelegErgebnis::Unvollstaendig:
        return QStringLiteral("Angaben unvollständig!");
    default:
        return {};
    }
}

QString StuhlanordnungText(const QString& code) {
    const QString c = code.trimmed();
    if (c.isEmpty() || c == QLatin1String("(-)"))
        return QStringLiteral("belassen");
    if (c == QLatin1String("K") || c == QLatin1String("(K)") || c == QLatin1String("(II)"))
        return QStringLiteral("Kino (II)");
    if (c == QLatin1String("U") || c == QLatin1String("(U)"))
        return QStringLiteral("Theater (U)");
    if (c == QLatin1String("O") || c == QLatin1String("(O)"))
        return QStringLiteral("Ring-Form (O)");
    return c;
}

namespace {

// Print tables of projects made before the documents showed the seating lack its columns.
bool SitzordnungSpalten(const QString& connection, QString* error) {
    QSqlDatabase db = Verbindung(connection);
    if (!Vorbereiten(db, error))
        return false;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT * FROM t_tmp_Druck WHERE 1 = 0")))
        return SqlFehler(q, error);
    const QSqlRecord spalten = q.record();
    for (const char* spalte : {"STSTUHLANORDNUNG TEXT", "IPTISCHE INTEGER"}) {
        const QString def = QLatin1String(spalte);
        if (!spalten.contains(def.section(QLatin1Char(' '), 0, 0)) &&
            !q.exec(QStringLiteral("ALTER TABLE t_tmp_Druck ADD COLUMN ") + def))
            return SqlFehler(q, error);
    }
    return true;
}

} // namespace

BelegErgebnis Beleg(const QString& connection, const BelegDruck& daten, QString* error) {
    const CBelegungRec& b = daten.beleg;
    QString kurzbez = daten.kurzbez;
    if (b.Rec_ID != 0) {
        QSqlQuery q(Verbindung(connection));
        if (!ExecBound(q,
                       QStringLiteral("SELECT a.Kurzbez FROM T_rb_Anzeige a INNER JOIN "
                                      "T_fm_belegung b ON a.az_ID = b.rb_id WHERE b.Rec_ID = ?"),
                       {b.Rec_ID})) {
            SqlFehler(q, error);
            return BelegErgebnis::Datenbankfehler;
        }
        if (q.next())
            kurzbez = q.value(0).toString();
    }
    if (kurzbez.trimmed().isEmpty())
        return BelegErgebnis::KeinRaum;
    const auto fehlt = [](double d) { return d <= 0 || IsNoDate(d); };
    if (fehlt(b.dt_von) || fehlt(b.dt_bis))
        return BelegErgebnis::Unvollstaendig;

    const auto datum = [](double d) { return IsNoDate(d) ? QVariant() : QVariant(d); };
    const auto zeit = [](double t, double tag = 0) {
        return IsNoDate(t) || IsNoDate(tag)
                   ? QString()
                   : TovoDate(t).timePart().format(QStringLiteral("hh:nn"));
    };
    if (!SitzordnungSpalten(connection, error))
        return BelegErgebnis::Datenbankfehler;
    SchreibTransaktion t(Verbindung(connection), SchreibTransaktion::Art::NurTemporaer);
    if (!beginne(t, error))
        return BelegErgebnis::Datenbankfehler;
    QSqlQuery q(t.db());
    const QVariantList werte = {
        b.lAuftrNr,
        kurzbez,
        b.dt_von,
        zeit(b.tm_von),
        b.dt_bis,
        zeit(b.tm_bis),
        b.Best,
        b.Tel,
        b.Fax,
        b.Inst,
        b.KST,
        b.Pers,
        b.Verst,
        b.Bem,
        b.Miete.toDouble(),
        b.Umbau.toDouble(),
        b.UmbBem,
        b.Pausch.toDouble(),
        b.Technik.toDouble(),
        b.Tageskraft.toDouble(),
        b.Sicherheit.toDouble(),
        b.Sonst.toDouble(),
        datum(b.Udt_von),
        zeit(b.Utm_von, b.Udt_von),
        datum(b.Udt_bis),
        zeit(b.Utm_bis, b.Udt_bis),
        datum(b.Rdt_von),
        zeit(b.Rtm_von, b.Rdt_von),
        datum(b.Rdt_bis),
        zeit(b.Rtm_bis, b.Rdt_bis),
        b.UmbBereit,
        b.UmbAufwand,
        b.Austbem,
        AusstattungNamen(b.Aust),
        b.stSerieBem,
        daten.strasse,
        daten.plzOrt,
        b.rb_id,
        StuhlanordnungText(b.STSTUHLANORDNUNG),
        b.IPTISCHE > 0 ? QVariant(b.IPTISCHE) : QVariant(),
    };
    if (!ExecBound(
            q,
            QStringLiteral("INSERT INTO t_tmp_Druck (lAuftrNr, Kurzbez, dt_von, tm_von, dt_bis, "
                           "tm_bis, Best, Tel, Fax, Inst, Kst, Pers, Verst, Bem, Miete, Umbau, "
                           "UmbBem, Pausch, Technik, Tageskraft, Sicherheit, Sonst, Udt_von, "
                           "Utm_von, Udt_bis, Utm_bis, Rdt_von, Rtm_von, Rdt_bis, Rtm_bis, "
                           "UmbBereit, UmbAufwand, AustBem, Aust, stSerieBem, stStrasse, stPlzOrt, "
                           "rb, STSTUHLANORDNUNG, IPTISCHE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                           "?, ?, ?, ?, ?, ?, ?)"),
            werte)) {
        SqlFehler(q, error);
        return BelegErgebnis::Datenbankfehler;
    }
    return schliesse(t, error) ? BelegErgebnis::Ok : BelegErgebnis::Datenbankfehler;
}

bool ReadZeilen(const QString& connection, QSqlQuery& q, QString* error) {
    QSqlDatabase db = Verbindung(connection);
    q = QSqlQuery(db);
    q.setForwardOnly(true);
    if (!Vorbereiten(db, error))
        return false;
    return q.exec(QStringLiteral("SELECT * FROM t_tmp_Druck ORDER BY ") +
                  Dialekt::Von(db).DruckFolge()) ||
           SqlFehler(q, error);
}

QString Spaltenname(const QString& gelesen) {
    static const QStringList spalten = {
        QStringLiteral("lAuftrNr"),   QStringLiteral("Kurzbez"),
        QStringLiteral("dt_von"),     QStringLiteral("tm_von"),
        QStringLiteral("dt_bis"),     QStringLiteral("tm_bis"),
        QStringLiteral("Best"),       QStringLiteral("Tel"),
        QStringLiteral("Fax"),        QStringLiteral("Inst"),
        QStringLiteral("Kst"),        QStringLiteral("Pers"),
        QStringLiteral("Verst"),      QStringLiteral("Bem"),
        QStringLiteral("Miete"),      QStringLiteral("Umbau"),
        QStringLiteral("UmbBem"),     QStringLiteral("Pausch"),
        QStringLiteral("Technik"),    QStringLiteral("Tageskraft"),
        QStringLiteral("Sicherheit"), QStringLiteral("Sonst"),
        QStringLiteral("Udt_von"),    QStringLiteral("Utm_von"),
        QStringLiteral("Udt_bis"),    QStringLiteral("Utm_bis"),
        QStringLiteral("Rdt_von"),    QStringLiteral("Rtm_von"),
        QStringLiteral("Rdt_bis"),    QStringLiteral("Rtm_bis"),
        QStringLiteral("UmbBereit"),  QStringLiteral("UmbAufwand"),
        QStringLiteral("AustBem"),    QStringLiteral("Aust"),
        QStringLiteral("stSerieBem"), QStringLiteral("stStrasse"),
        QStringLiteral("stPlzOrt"),   QStringLiteral("rb"),
        QStringLiteral("Info"),       QStringLiteral("STSTUHLANORDNUNG"),
        QStringLiteral("IPTISCHE")};
    for (const QString& s : spalten)
        if (s.compare(gelesen, Qt::CaseInsensitive) == 0)
            return s;
    return gelesen;
}

} // namespace DruckTabelle

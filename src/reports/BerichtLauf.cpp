#include "BerichtLauf.h"

#include "Bericht.h"
#include "DruckTabelle.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

bool BerichtVorbereiten(const QString& connection, const BerichtArt& art, const BerichtZeitraum& z,
                        QString* error) {
    switch (art.familie) {
    case BerichtFamilie::Zeitraum:
        return DruckTabelle::Zeitraum(connection, z.von, z.bis, error);
    case BerichtFamilie::Tag:
        return DruckTabelle::Tag(connection, z.von, error);
    case BerichtFamilie::Monat:
    case BerichtFamilie::Kosten:
    case BerichtFamilie::Auslastung:
        return DruckTabelle::Save_Rpt(connection, z.monat, QString::number(z.jahr),
                                      art.familie == BerichtFamilie::Auslastung, z.info, error);
    case BerichtFamilie::Dokument:
        break;
    }
    if (error)
        *error = QStringLiteral("Der Bericht „%1“ gehört zu einer einzelnen Belegung und wird "
                                "aus dem Antrag gedruckt.")
                     .arg(art.name);
    return false;
}

QString ZeitraumUeberschrift(const BerichtArt& art, const BerichtZeitraum& z) {
    switch (art.familie) {
    case BerichtFamilie::Zeitraum:
        return QStringLiteral("vom ") + TovoDate(z.von).toShortDateText() +
               QStringLiteral(" bis ") + TovoDate(z.bis).toShortDateText();
    case BerichtFamilie::Tag:
        return TovoDate(z.von).format(QStringLiteral("dddd, dd.mm.yyyy"));
    case BerichtFamilie::Monat:
    case BerichtFamilie::Kosten:
    case BerichtFamilie::Auslastung:
        return z.info.isEmpty() ? DruckTabelle::ZeitraumText(z.monat, z.jahr) : z.info;
    case BerichtFamilie::Dokument:
        break;
    }
    return {};
}

namespace {

bool datum(const QString& text, const char* option, double& out, QString& meldung) {
    TovoDate d;
    if (text.trimmed().compare(QStringLiteral("heute"), Qt::CaseInsensitive) == 0)
        d = TovoDate::today();
    else if (!TovoDate::parse(text, d)) {
        meldung = QStringLiteral("„%1“ ist kein gültiges Datum für --%2 (erwartet: TT.MM.JJJJ).")
                      .arg(text, QLatin1String(option));
        return false;
    }
    out = std::floor(d.value());
    return true;
}

bool zahl(const QString& text, const char* option, int min, int max, int& out, QString& meldung) {
    bool ok = false;
    out = text.trimmed().toInt(&ok);
    if (!ok || out < min || out > max) {
        meldung = QStringLiteral("„%1“ ist kein gültiger Wert für --%2 (%3 bis %4).")
                      .arg(text, QLatin1String(option))
                      .arg(min)
                      .arg(max);
        return false;
    }
    return true;
}

// The period of the command line, checked against what the report needs.
bool zeitraum(const BerichtAuftrag& a, const BerichtArt& art, BerichtZeitraum& z,
              QString& meldung) {
    switch (art.familie) {
    case BerichtFamilie::Zeitraum:
        if (!a.von.isEmpty() || !a.bis.isEmpty()) {
            if (a.von.isEmpty() || a.bis.isEmpty()) {
                meldung = QStringLiteral("Bitte --von und --bis zusammen angeben.");
                return false;
            }
            if (!datum(a.von, "von", z.von, meldung) || !datum(a.bis, "bis", z.bis, meldung))
                return false;
            if (z.von > z.bis) {
                meldung = QStringLiteral("Das Datum von --von liegt nach dem von --bis.");
                return false;
            }
            return true;
        }
        if (!a.datum.isEmpty()) { // the week (Monday to Sunday) of that day
            if (!datum(a.datum, "datum", z.von, meldung))
                return false;
            z.von -= TovoDate(z.von).weekdayMondayFirst() - 1;
            z.bis = z.von + 6;
            return true;
        }
        meldung = QStringLiteral("Der Bericht „%1“ braucht --von DATUM --bis DATUM oder "
                                 "--datum DATUM (die Woche dieses Tages).")
                      .arg(art.name);
        return false;
    case BerichtFamilie::Tag: {
        const QString tag = a.datum.isEmpty() ? a.von : a.datum;
        if (tag.isEmpty()) {
            meldung = QStringLiteral("Der Bericht „%1“ braucht --datum DATUM.").arg(art.name);
            return false;
        }
        return datum(tag, "datum", z.von, meldung);
    }
    case BerichtFamilie::Monat:
    case BerichtFamilie::Kosten:
    case BerichtFamilie::Auslastung:
        if (a.jahr.isEmpty()) {
            meldung = QStringLiteral("Der Bericht „%1“ braucht --jahr J (und --monat M für einen "
                                     "Monat).")
                          .arg(art.name);
            return false;
        }
        if (!zahl(a.jahr, "jahr", 1900, 9998, z.jahr, meldung))
            return false;
        return a.monat.isEmpty() || zahl(a.monat, "monat", 0, 12, z.monat, meldung);
    case BerichtFamilie::Dokument:
        break;
    }
    meldung = QStringLiteral("Der Bericht „%1“ gehört zu einer einzelnen Belegung und wird aus "
                             "dem Antrag gedruckt.")
                  .arg(art.name);
    return false;
}

QString berichtNamen() {
    QStringList namen;
    for (const BerichtArt& b : AlleBerichte())
        if (b.familie != BerichtFamilie::Dokument)
            namen << b.name;
    return namen.join(QStringLiteral(", "));
}

} // namespace

int BerichtAlsPdf(const BerichtAuftrag& a, QString& meldung) {
    const BerichtArt* art = FindeBericht(a.name);
    if (!art) {
        meldung = QStringLiteral("Unbekannter Bericht „%1“. Möglich sind: %2.")
                      .arg(a.name, berichtNamen());
        return 2;
    }
    if (a.pdf.isEmpty()) {
        meldung = QStringLiteral("Bitte mit --pdf DATEI angeben, wohin der Bericht geschrieben "
                                 "wird.");
        return 2;
    }
    BerichtZeitraum z;
    if (!zeitraum(a, *art, z, meldung))
        return 2;

    const QString dir = QDir(a.projektDir).absolutePath() + QLatin1Char('/');
    DatenbankOrt ort;
    if (!ReadDatenbankOrt(dir, ort, &meldung))
        return 1;
    if (!ort.aufServer() && !QFileInfo::exists(ort.ort)) {
        meldung = QStringLiteral("Im Projektverzeichnis „%1“ gibt es keine Datei %2.")
                      .arg(QDir::toNativeSeparators(dir), kDbFileName);
        return 1;
    }
    const QString verbindung = UniqueConnectionName(QStringLiteral("bericht"));
    QString fehler;
    // Reports only read the project: a write-protected file prints as well. A server session
    // open for reading only could not make its own print table.
    if (!OeffneDatenbank(ort, verbindung, !ort.aufServer(), &fehler)) {
        meldung = (ort.aufServer()
                       ? QStringLiteral("Die Datenbank auf dem Server kann nicht geöffnet werden.")
                       : QStringLiteral("Die Datenbank „%1“ kann nicht geöffnet werden.")
                             .arg(QDir::toNativeSeparators(ort.ort))) +
                  QLatin1Char('\n') + fehler;
        return 1;
    }
    gstProjektDir = dir;
    gstDbPath = dir + kDbFileName;
    gDbOrt = ort;
    gstReportDir = dir + QStringLiteral("Report/");

    int rc = 0;
    Bericht bericht;
    if (!BerichtVorbereiten(verbindung, *art, z, &fehler)) {
        meldung = QStringLiteral("Die Druckdaten können nicht vorbereitet werden.\n") + fehler;
        rc = 1;
    } else if (!bericht.Erstellen(verbindung, *art, &meldung, ZeitraumUeberschrift(*art, z)) ||
               !bericht.SchreibePdf(a.pdf, &meldung)) {
        rc = 1;
    }
    CloseSqliteConnection(verbindung);
    return rc;
}

#include "DatenbankOrt.h"

#include "RvGlobals.h"
#include "TovoTools.h"

namespace {
const QString kAbschnitt = QStringLiteral("Datenbank");
}

bool ReadDatenbankOrt(const QString& projektDir, DatenbankOrt& ort, QString* error) {
    const CTovoTools& tools = CTovoTools::Instance();
    const QString ini = projektDir + kIniFileName;
    const QString typ =
        tools.ReadIniValue(ini, kAbschnitt, QStringLiteral("Typ"), QString()).trimmed();
    if (typ.isEmpty() || typ.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        ort = {DbTyp::SQLite, projektDir + kDbFileName};
        return true;
    }
    const auto fehler = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (typ.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) != 0)
        return fehler(QStringLiteral("Der Datenbanktyp im Abschnitt [Datenbank] von %1 ist "
                                     "unbekannt. Möglich sind SQLite und PostgreSQL.")
                          .arg(kIniFileName));
    const QString verbindung =
        tools.ReadIniValue(ini, kAbschnitt, QStringLiteral("Verbindung"), QString()).trimmed();
    if (verbindung.isEmpty())
        return fehler(QStringLiteral("Im Abschnitt [Datenbank] von %1 fehlt die Verbindung zum "
                                     "Server (Verbindung=host=... dbname=... user=...).")
                          .arg(kIniFileName));
    ort = {DbTyp::PostgreSQL, verbindung};
    return true;
}

bool SchreibeServerOrt(const QString& projektDir, const QString& verbindung) {
    const CTovoTools& tools = CTovoTools::Instance();
    const QString ini = projektDir + kIniFileName;
    // The type last: until it is written the project keeps its file.
    return tools.WriteIniValue(ini, kAbschnitt, QStringLiteral("Verbindung"), verbindung) &&
           tools.WriteIniValue(ini, kAbschnitt, QStringLiteral("Typ"),
                               QStringLiteral("PostgreSQL"));
}

bool OeffneDatenbank(const DatenbankOrt& ort, const QString& name, bool readOnly, QString* error) {
    return Dialekt::Fuer(ort.typ).Oeffne(ort.ort, name, readOnly, error);
}

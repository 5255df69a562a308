#pragma once

#include <QSqlDatabase>
#include <QString>

// Settings and connection of the intranet portal Netzpult (section "WebMDB" of the project's
// TovoRaumVerw.ini).
namespace ToolsNetzpult {

// The portal connection text "DBPATH". A section without any key first gains "DBPATH=".
QString GetWebMDB();
// "NetzpultType" as a number; 0 when missing or not a number. 1 = server database.
long GetNetzpultType();
// True for portal kind 1; otherwise the user is told "Die Raumverwaltung erfordert Daten in
// mySQL." and the result is false.
bool PruefeNetzpultType();

inline const QString kNurMySql = QStringLiteral("Die Raumverwaltung erfordert Daten in mySQL.");

} // namespace ToolsNetzpult

// One connection to the portal's server database through Qt's MySQL driver, closed and removed
// again when the object goes. The connection text is the ODBC-style "DBPATH" value.
class CNetzpultVerbindung {
public:
    CNetzpultVerbindung() = default;
    ~CNetzpultVerbindung();
    CNetzpultVerbindung(const CNetzpultVerbindung&) = delete;
    CNetzpultVerbindung& operator=(const CNetzpultVerbindung&) = delete;

    // False with a German sentence (and the driver's text) in `error`.
    bool Oeffnen(const QString& connText, QString* error);
    // Opens with GetWebMDB(); throws RvError on failure.
    void OeffnenOderFehler();
    QSqlDatabase db() const;
    void Schliessen();

private:
    QString m_name;
};

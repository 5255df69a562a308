#pragma once

#include <QSqlDatabase>
#include <QSqlError>
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
// "Timeout": seconds a portal connection waits to connect and for each read and write; 30 when
// missing or not a positive number.
int GetTimeout();

inline constexpr int kStandardTimeout = 30;

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

    // Connects with `timeoutSek` for connecting and for every read and write. False with a
    // German sentence (and the driver's text) in `error` and the driver's error in `sqlFehler`.
    bool Oeffnen(const QString& connText, int timeoutSek, QString* error,
                 QSqlError* sqlFehler = nullptr);
    // Opens with GetWebMDB() and GetTimeout(); throws RvError on failure.
    void OeffnenOderFehler();
    QSqlDatabase db() const;
    // The portal connected to, "server:port/database".
    QString Ziel() const { return m_ziel; }
    void Schliessen();

private:
    QString m_name;
    QString m_ziel;
};

#include "ToolsNetzpult.h"

#include "ErrorGuard.h"
#include "OdbcConnText.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "TovoTools.h"

#include <QSqlError>

namespace ToolsNetzpult {

namespace {
const QString kSection = QStringLiteral("WebMDB");

QString IniDatei() {
    return gstProjektDir + kIniFileName;
}
} // namespace

QString GetWebMDB() {
    const CTovoTools& tools = CTovoTools::Instance();
    if (tools.ReadIniSection(IniDatei(), kSection).isEmpty())
        tools.WriteIniValue(IniDatei(), kSection, QStringLiteral("DBPATH"), QString());
    return tools.ReadIniValue(IniDatei(), kSection, QStringLiteral("DBPATH"), QString()).trimmed();
}

long GetNetzpultType() {
    const QString text = CTovoTools::Instance().ReadIniValue(
        IniDatei(), kSection, QStringLiteral("NetzpultType"), QStringLiteral("0"));
    bool ok = false;
    const long typ = text.trimmed().toLong(&ok);
    return ok ? typ : 0;
}

bool PruefeNetzpultType() {
    if (GetNetzpultType() == 1)
        return true;
    MsgBox(kNurMySql);
    return false;
}

int GetTimeout() {
    bool ok = false;
    const int sekunden = CTovoTools::Instance()
                             .ReadIniValue(IniDatei(), kSection, QStringLiteral("Timeout"),
                                           QString::number(kStandardTimeout))
                             .trimmed()
                             .toInt(&ok);
    return ok && sekunden > 0 ? sekunden : kStandardTimeout;
}

} // namespace ToolsNetzpult

CNetzpultVerbindung::~CNetzpultVerbindung() {
    Schliessen();
}

bool CNetzpultVerbindung::Oeffnen(const QString& connText, int timeoutSek, QString* error,
                                  QSqlError* sqlFehler) {
    Schliessen();
    auto fehler = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (connText.trimmed().isEmpty())
        return fehler(QStringLiteral("Für das Netzpult ist keine Verbindung eingetragen "
                                     "(TovoRaumVerw.ini, Abschnitt \"WebMDB\", \"DBPATH\")."));
    OdbcConnText teile;
    QString parseFehler;
    if (!ParseOdbcConnText(connText, teile, &parseFehler))
        return fehler(parseFehler);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QMYSQL")))
        return fehler(QStringLiteral("Der MySQL-Treiber für das Netzpult ist nicht installiert."));

    m_name = UniqueConnectionName(QStringLiteral("netzpult"));
    QSqlError treiberFehler;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_name);
        db.setHostName(teile.server);
        db.setPort(teile.port);
        db.setDatabaseName(teile.database);
        db.setUserName(teile.user);
        db.setPassword(teile.password);
        // A server that stops answering ends every wait after the timeout instead of hanging.
        db.setConnectOptions(
            QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%1;"
                           "MYSQL_OPT_WRITE_TIMEOUT=%1")
                .arg(std::max(1, timeoutSek)));
        if (db.open()) {
            m_ziel =
                QStringLiteral("%1:%2/%3").arg(teile.server).arg(teile.port).arg(teile.database);
            return true;
        }
        treiberFehler = db.lastError();
    }
    Schliessen();
    if (sqlFehler)
        *sqlFehler = treiberFehler;
    // The driver names the server; our sentence quotes nothing of the connection text.
    return fehler(QStringLiteral("Die Verbindung zum Netzpult konnte nicht hergestellt werden.") +
                  QStringLiteral("\r\n") + treiberFehler.text());
}

void CNetzpultVerbindung::OeffnenOderFehler() {
    QString error;
    if (!Oeffnen(ToolsNetzpult::GetWebMDB(), ToolsNetzpult::GetTimeout(), &error))
        RaiseError(error);
}

QSqlDatabase CNetzpultVerbindung::db() const {
    return QSqlDatabase::database(m_name, false);
}

void CNetzpultVerbindung::Schliessen() {
    if (m_name.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
    m_ziel.clear();
}

#include "OdbcConnText.h"

#include "VerbindungsText.h"

bool ParseOdbcConnText(const QString& text, OdbcConnText& out, QString* error) {
    VerbindungsPaare paare;
    if (!ZerlegeVerbindungsText(text, paare, error))
        return false;
    OdbcConnText result;
    if (const QString server = VerbindungsWert(paare, {"server", "host"}); !server.isEmpty())
        result.server = server;
    result.database = VerbindungsWert(paare, {"database", "db"});
    result.user = VerbindungsWert(paare, {"uid", "user"});
    result.password = VerbindungsWert(paare, {"pwd", "password"});
    const QString port = VerbindungsWert(paare, {"port"});
    if (!port.isEmpty()) {
        bool ok = false;
        result.port = port.toInt(&ok);
        if (!ok || result.port <= 0 || result.port > 65535) {
            if (error)
                *error = QStringLiteral("Die Portnummer der Verbindungsangabe ist ungültig.");
            return false;
        }
    }
    out = result;
    return true;
}

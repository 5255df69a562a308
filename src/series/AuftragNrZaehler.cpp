#include "AuftragNrZaehler.h"

#include "CRvDb.h"

#include <QSqlQuery>

namespace R_Main {

AuftragNrQuelle ZaehlerAusTabelle(CRvDb* db) {
    auto connection = [db] {
        return QSqlDatabase::database(db ? db->ConnectionName() : QString(), false);
    };
    AuftragNrQuelle quelle;
    quelle.GetNextAuftragNr = [connection]() -> int32_t {
        QSqlDatabase con = connection();
        if (!con.isOpen())
            return -1;
        QSqlQuery q(con);
        if (q.exec(QStringLiteral("SELECT lNextNr FROM T_NextNr LIMIT 1")) && q.next())
            return q.value(0).toInt();
        return -1;
    };
    quelle.SetNextAuftragNr = [connection](int32_t nr) {
        QSqlDatabase con = connection();
        if (!con.isOpen())
            return false;
        QSqlQuery q(con);
        q.prepare(QStringLiteral("UPDATE T_NextNr SET lNextNr = ?"));
        q.addBindValue(nr);
        if (!q.exec())
            return false;
        if (q.numRowsAffected() > 0)
            return true;
        q.prepare(QStringLiteral("INSERT INTO T_NextNr (lNextNr) VALUES (?)"));
        q.addBindValue(nr);
        return q.exec();
    };
    return quelle;
}

} // namespace R_Main

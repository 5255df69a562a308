#include "StammdatenQueries.h"

#include "SqlConnection.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cmath>

namespace StammdatenQueries {

bool ZaehleBelegungen(const QString& connection, int32_t raumId, double abTag, int& gesamt,
                      int& zukunft, QString* error) {
    gesamt = zukunft = 0;
    QSqlQuery q(Verbindung(connection));
    if (!ExecBound(q,
                   QStringLiteral("SELECT COUNT(*), "
                                  "COALESCE(SUM(CASE WHEN dt_bis >= ? THEN 1 ELSE 0 END), 0) "
                                  "FROM T_fm_belegung WHERE rb_id = ?"),
                   {std::floor(abTag), raumId}) ||
        !q.next()) {
        if (error)
            *error = q.lastError().text();
        return false;
    }
    gesamt = q.value(0).toInt();
    zukunft = q.value(1).toInt();
    return true;
}

} // namespace StammdatenQueries

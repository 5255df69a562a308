#include "Dialekt.h"

#include <QSqlDriver>

const Dialekt& SqliteDialekt();
const Dialekt& PostgresDialekt();

// The first column of every row of a query of the engine's catalogue; empty when it fails.
QStringList ErsteSpalte(QSqlDatabase& db, const QString& sql) {
    QStringList werte;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.exec(sql))
        while (q.next())
            werte << q.value(0).toString();
    return werte;
}

// The order-number counter read by `sql`: the first row's number, none without a row.
bool ZaehlerLesen(QSqlDatabase& db, const QString& sql, std::optional<int32_t>& zaehler,
                  QSqlError* error) {
    zaehler.reset();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (q.exec(sql)) {
        if (q.next())
            zaehler = q.value(0).toInt();
        if (q.lastError().type() == QSqlError::NoError)
            return true;
    }
    if (error)
        *error = q.lastError();
    return false;
}

const Dialekt& Dialekt::Von(const QSqlDatabase& db) {
    return db.driverName() == QLatin1String("QPSQL") ? PostgresDialekt() : SqliteDialekt();
}

const Dialekt& Dialekt::Von(const QSqlDriver* driver) {
    return driver && driver->dbmsType() == QSqlDriver::PostgreSQL ? PostgresDialekt()
                                                                  : SqliteDialekt();
}

const Dialekt& Dialekt::Fuer(DbTyp typ) {
    return typ == DbTyp::PostgreSQL ? PostgresDialekt() : SqliteDialekt();
}

#include "Dialekt.h"

#include <QSqlDriver>

const Dialekt& SqliteDialekt();
const Dialekt& PostgresDialekt();

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

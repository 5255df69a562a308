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

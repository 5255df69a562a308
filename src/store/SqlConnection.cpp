#include "SqlConnection.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

bool OpenSqliteConnection(const QString& path, const QString& connectionName, bool readOnly,
                          QString* error) {
    QString failure;
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        failure = QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(path);
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        // The URI form with an explicit mode keeps SQLite from creating a missing file.
        QUrl uri = QUrl::fromLocalFile(info.absoluteFilePath());
        uri.setQuery(readOnly ? QStringLiteral("mode=ro") : QStringLiteral("mode=rw"));
        db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000") +
                             (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            // SQLite reads the header only on the first statement: a foreign file fails here.
            QSqlQuery probe(db);
            if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
                failure = probe.lastError().text();
                if (failure.trimmed().isEmpty())
                    failure = QStringLiteral("Die Datei ist keine Datenbank.");
            }
        }
    }
    if (failure.isEmpty())
        return true;
    if (error)
        *error = failure;
    CloseSqliteConnection(connectionName);
    return false;
}

void CloseSqliteConnection(const QString& connectionName) {
    if (connectionName.isEmpty() || !QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QString UniqueConnectionName(const QString& prefix) {
    static QAtomicInt counter;
    return prefix + QLatin1Char('_') + QString::number(counter.fetchAndAddRelaxed(1) + 1);
}

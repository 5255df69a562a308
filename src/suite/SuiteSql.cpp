#include "SuiteSql.h"

#include "VerbindungsText.h"

#include "SqlConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// Runs the statements of a schema. "ALTER TABLE t ADD COLUMN c ..." adds a column that files of
// older versions lack: skipped where the column exists, and its failure (a file that cannot be
// written) keeps nobody from reading what is there.
bool SchemaAnwenden(const QSqlDatabase& db, const QStringList& schema, QString& error) {
    static const QRegularExpression spalte(QStringLiteral("^ALTER TABLE (\\w+) ADD COLUMN (\\w+)"),
                                           QRegularExpression::CaseInsensitiveOption);
    QSqlQuery q(db);
    for (const QString& statement : schema) {
        const QRegularExpressionMatch m = spalte.match(statement);
        if (m.hasMatch()) {
            if (!db.record(m.captured(1)).contains(m.captured(2)))
                q.exec(statement);
        } else if (!q.exec(statement)) {
            error = q.lastError().text();
            return false;
        }
    }
    return true;
}

// Creates an empty database file with the given tables.
bool CreateDbFile(const QString& path, const QStringList& schema, QString& error) {
    const QString name = UniqueConnectionName(QStringLiteral("TovoSuiteCreate"));
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            error = db.lastError().text();
            ok = false;
        } else {
            ok = SchemaAnwenden(db, schema, error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!ok)
        QFile::remove(path);
    return ok;
}

} // namespace

bool OpenSuiteDb(const QString& path, const QString& prefix, bool readOnly,
                 const QStringList& schema, QString& connection, QString& error) {
    connection.clear();
    error.clear();
    if (path.trimmed().isEmpty()) {
        error = QStringLiteral("Es wurde keine Datei angegeben.");
        return false;
    }
    QFileInfo info(path);
    if (!info.exists()) {
        if (readOnly) {
            error = QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(path);
            return false;
        }
        if (!info.absoluteDir().exists()) {
            error =
                QStringLiteral("Das Verzeichnis \"%1\" existiert nicht.").arg(info.absolutePath());
            return false;
        }
        if (!CreateDbFile(info.absoluteFilePath(), schema, error))
            return false;
    }

    const QString name = UniqueConnectionName(prefix);
    if (!OpenSqliteConnection(info.absoluteFilePath(), name, readOnly, &error))
        return false;
    if (!readOnly) {
        // An older or foreign-made file may lack a table or a column; add what is missing.
        QString failure;
        if (!SchemaAnwenden(QSqlDatabase::database(name, false), schema, failure)) {
            CloseSqliteConnection(name);
            error = failure;
            return false;
        }
    }
    connection = name;
    return true;
}

QString DbPathFromConnStr(const QString& connStr) {
    const QString text = connStr.trimmed();
    if (!text.contains(QLatin1Char('=')))
        return text;
    VerbindungsPaare paare;
    if (!ZerlegeVerbindungsText(text, paare))
        return QString();
    QString value = VerbindungsWert(paare, {"database", "dbq", "data source"});
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"')))
        value = value.mid(1, value.size() - 2);
    return value;
}

QString SuiteError(const QString& sentence, const QString& driverText) {
    if (driverText.trimmed().isEmpty())
        return sentence;
    return sentence + QStringLiteral("\r\n") + driverText;
}

QString SuiteError(const QString& sentence, const QSqlQuery& query) {
    return SuiteError(sentence, query.lastError().text());
}

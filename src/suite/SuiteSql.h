#pragma once

#include <QSqlQuery>
#include <QString>
#include <QStringList>

// Shared plumbing of the suite's small SQLite databases.

// Opens the database file under a new connection name (prefix + number). A missing file is
// created when the connection may write; the statements of `schema` (CREATE ... IF NOT EXISTS,
// and ALTER TABLE ... ADD COLUMN for columns added later) then make sure that the tables and
// columns exist. On failure no connection remains and `error` holds the
// driver's text.
bool OpenSuiteDb(const QString& path, const QString& prefix, bool readOnly,
                 const QStringList& schema, QString& connection, QString& error);

// The file named by a connection text: "DATABASE=<path>;" (also "DBQ=" or "Data Source="), or
// the text itself when it holds no "=" at all. Empty when neither applies.
QString DbPathFromConnStr(const QString& connStr);

// The message for a failed step: the sentence, and the driver's text on a new line when there
// is one.
QString SuiteError(const QString& sentence, const QString& driverText);
QString SuiteError(const QString& sentence, const QSqlQuery& query);

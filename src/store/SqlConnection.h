#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>

class QSqlQuery;

// Opens an existing SQLite database file under a new Qt SQL connection name. A missing file is
// never created, and a file that is not an SQLite database is refused without being touched.
// On failure the connection is removed again and `error` holds the driver's text.
bool OpenSqliteConnection(const QString& path, const QString& connectionName, bool readOnly,
                          QString* error);
// The SQLite URI of a file as the connections above use it.
QString SqliteFileUri(const QString& path, bool readOnly);
// Closes and removes a connection opened above; nothing happens for an unknown name.
void CloseSqliteConnection(const QString& connectionName);
// A connection name not used before in this process, with the given prefix.
QString UniqueConnectionName(const QString& prefix);

// Gives the connection its own print table: a temporary t_tmp_Druck with the columns of the
// project's one, made on first use and gone when the connection closes. Its name hides the
// project's table on this connection, so two users preparing reports at once never see each
// other's rows, and a write-protected project prints too.
bool PrivateDruckTabelle(const QString& connectionName, QString* error);

// The text with every lone UTF-16 surrogate (half a pair, as a broken paste leaves it) replaced by
// U+FFFD. The database would read such a half as the start of a pair and swallow the character
// after it.
QString OhneEinzelneSurrogate(const QString& text);

// Prepares and runs a statement with positional values bound in order; texts are stored without
// lone surrogates.
bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& binds = {});
// True when the query's last step failed.
bool HasSqlError(const QSqlQuery& query);

// A write transaction on an SQLite connection: BEGIN IMMEDIATE takes the write lock at once, so a
// database held by another workstation fails here (after the busy timeout) and not halfway.
// Rolled back unless committed.
class SchreibTransaktion {
public:
    explicit SchreibTransaktion(QSqlDatabase db);
    ~SchreibTransaktion();
    SchreibTransaktion(const SchreibTransaktion&) = delete;
    SchreibTransaktion& operator=(const SchreibTransaktion&) = delete;

    bool offen() const { return m_offen; }
    bool commit();
    // What failed in BEGIN or COMMIT.
    QSqlError fehler() const { return m_fehler; }

private:
    QSqlDatabase m_db;
    bool m_offen = false;
    QSqlError m_fehler;
};

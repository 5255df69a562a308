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
// Closes and removes a connection of either engine; nothing happens for an unknown name.
void CloseSqliteConnection(const QString& connectionName);
// The connection by name. A server connection the driver closed because the server went away
// is opened again first: the action after a lost connection reconnects.
QSqlDatabase Verbindung(const QString& connectionName);
// The driver's text of a failure; for a lost server connection led by a German sentence saying
// so.
QString FehlerText(const QSqlDatabase& db, const QSqlError& error);
// What the user reads when the server connection was lost.
QString GetrenntMeldung();
// A connection name not used before in this process, with the given prefix.
QString UniqueConnectionName(const QString& prefix);

// The text with every lone UTF-16 surrogate (half a pair, as a broken paste leaves it) replaced by
// U+FFFD. The database would read such a half as the start of a pair and swallow the character
// after it.
QString OhneEinzelneSurrogate(const QString& text);

// Runs a statement with the values of its placeholders "?" in order, passed as the engine's
// dialect passes them; texts are stored without lone surrogates.
bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& binds = {});
// True when the query's last step failed.
bool HasSqlError(const QSqlQuery& query);

// Always false, with `text` in `error` when it is given: the one way a helper reports a failure.
bool Fehlschlag(QString* error, const QString& text);
// For a failed step: always false, with the driver's text (or, when the driver gives none, that
// the database is not open) in `error` when it is given.
bool SqlFehler(const QSqlError& fehler, QString* error);
bool SqlFehler(const QSqlQuery& query, QString* error);

// A transaction on one connection, rolled back unless committed. For writing, the dialect's
// begin statement takes the write lock at once (SQLite: BEGIN IMMEDIATE), so a database held by
// another workstation fails here, after the busy timeout, and not halfway. A transaction that
// only fills the connection's temporary tables begins plainly and leaves the project unlocked:
// a write-protected project, or one another user is saving to, still works.
class SchreibTransaktion {
public:
    enum class Art { Schreiben, NurTemporaer };
    explicit SchreibTransaktion(QSqlDatabase db, Art art = Art::Schreiben);
    ~SchreibTransaktion();
    SchreibTransaktion(const SchreibTransaktion&) = delete;
    SchreibTransaktion& operator=(const SchreibTransaktion&) = delete;

    bool offen() const { return m_offen; }
    bool commit();
    // What failed in BEGIN or COMMIT.
    QSqlError fehler() const { return m_fehler; }
    // The connection, opened again when the server connection was found lost at BEGIN.
    QSqlDatabase& db() { return m_db; }
    // The transaction was ended by a COMMIT sent along with other statements.
    void beendet() { m_offen = false; }

private:
    QSqlDatabase m_db;
    bool m_offen = false;
    QSqlError m_fehler;
};

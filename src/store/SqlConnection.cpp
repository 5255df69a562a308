#include "SqlConnection.h"

#include "Dialekt.h"
#include "SqlitePlaner.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

QString SqliteFileUri(const QString& path, bool readOnly) {
    // Absolute and percent-encoded, so that "?", "#", "%" and umlauts in folder names survive;
    // the explicit mode keeps SQLite from creating a missing file.
    QString abs = QFileInfo(path).absoluteFilePath();
    if (!abs.startsWith(QLatin1Char('/')))
        abs.prepend(QLatin1Char('/'));
    const QByteArray encoded = QUrl::toPercentEncoding(abs, "/:");
    return QStringLiteral("file://") + QString::fromLatin1(encoded) +
           (readOnly ? QStringLiteral("?mode=ro") : QStringLiteral("?mode=rw"));
}

bool OpenSqliteConnection(const QString& path, const QString& connectionName, bool readOnly,
                          QString* error) {
    QString failure;
    QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        failure = QStringLiteral("Die Datei \"%1\" wurde nicht gefunden.").arg(path);
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(SqliteFileUri(info.absoluteFilePath(), readOnly));
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
            } else {
                // The room tests pass their dates through temporary tables: kept in memory.
                probe.exec(QStringLiteral("PRAGMA temp_store = MEMORY"));
                SqlitePlaner::VerbindungEinrichten(db);
            }
            if (failure.isEmpty() && !readOnly) {
                // Project folders lie on network drives, where the locks of a write-ahead log
                // do not work: keep the rollback journal, and let every commit reach the disk
                // before it counts, so that a crash or a lost connection never leaves half a
                // write behind.
                probe.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
                probe.exec(QStringLiteral("PRAGMA synchronous = FULL"));
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

QSqlDatabase Verbindung(const QString& connectionName) {
    QSqlDatabase db = QSqlDatabase::database(connectionName, false);
    // A server connection found lost is opened again; the driver does not always notice the
    // loss itself (a statement sent through libpq directly), so it is closed first.
    if (db.isValid() && Dialekt::Von(db).Typ() == DbTyp::PostgreSQL &&
        Dialekt::Von(db).Art(db, QSqlError()) == DbFehlerArt::Getrennt) {
        db.close();
        db.open();
    }
    return db;
}

QString FehlerText(const QSqlDatabase& db, const QSqlError& error) {
    const QString text = error.text().trimmed();
    if (Dialekt::Von(db).Art(db, error) != DbFehlerArt::Getrennt)
        return text;
    return GetrenntMeldung() + (text.isEmpty() ? QString() : QStringLiteral("\r\n") + text);
}

QString GetrenntMeldung() {
    return QStringLiteral("Die Verbindung zum Datenbankserver ist unterbrochen. Beim nächsten "
                          "Schritt wird sie neu aufgebaut.");
}

QString UniqueConnectionName(const QString& prefix) {
    static QAtomicInt counter;
    return prefix + QLatin1Char('_') + QString::number(counter.fetchAndAddRelaxed(1) + 1);
}

QString OhneEinzelneSurrogate(const QString& text) {
    const auto einzeln = [&](qsizetype i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate())
            return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
        return c.isLowSurrogate() && (i == 0 || !text.at(i - 1).isHighSurrogate());
    };
    QString result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSurrogate() || !einzeln(i))
            continue;
        if (result.isNull())
            result = text;
        result[i] = QChar::ReplacementCharacter;
    }
    return result.isNull() ? text : result;
}

bool ExecBound(QSqlQuery& query, const QString& sql, const QVariantList& binds) {
    if (binds.isEmpty())
        return query.exec(sql);
    QVariantList werte;
    werte.reserve(binds.size());
    for (const QVariant& v : binds)
        werte << (v.typeId() == QMetaType::QString ? QVariant(OhneEinzelneSurrogate(v.toString()))
                                                   : v);
    return Dialekt::Von(query.driver()).Ausfuehren(query, sql, werte);
}

bool HasSqlError(const QSqlQuery& query) {
    return query.lastError().type() != QSqlError::NoError;
}

bool Fehlschlag(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

bool SqlFehler(const QSqlError& fehler, QString* error) {
    const QString text = fehler.text().trimmed();
    return Fehlschlag(error,
                      text.isEmpty() ? QStringLiteral("Die Datenbank ist nicht geöffnet.") : text);
}

bool SqlFehler(const QSqlQuery& query, QString* error) {
    return SqlFehler(query.lastError(), error);
}

SchreibTransaktion::SchreibTransaktion(QSqlDatabase db, Art art) : m_db(std::move(db)) {
    const QString beginn = art == Art::Schreiben ? Dialekt::Von(m_db).BeginnSchreiben()
                                                 : Dialekt::Von(m_db).BeginnTemporaer();
    QSqlQuery q(m_db);
    m_offen = m_db.isOpen() && q.exec(beginn);
    // A server connection found lost at its first statement has done nothing yet: opened
    // again, the transaction goes ahead as if nothing had happened.
    if (!m_offen && m_db.isOpen() &&
        Dialekt::Von(m_db).Art(m_db, q.lastError()) == DbFehlerArt::Getrennt) {
        m_db = Verbindung(m_db.connectionName());
        q = QSqlQuery(m_db);
        m_offen = m_db.isOpen() && q.exec(beginn);
    }
    if (!m_offen)
        m_fehler = m_db.isOpen() ? q.lastError() : m_db.lastError();
}

SchreibTransaktion::~SchreibTransaktion() {
    if (m_offen)
        QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
}

bool SchreibTransaktion::commit() {
    QSqlQuery q(m_db);
    if (!m_offen || !q.exec(QStringLiteral("COMMIT"))) {
        if (m_offen)
            m_fehler = q.lastError();
        return false;
    }
    m_offen = false;
    return true;
}

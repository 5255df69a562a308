#include "ZeilenStrom.h"

#include "SqlConnection.h"

#include <QHash>
#include <QMutex>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <charconv>
#include <functional>
#include <initializer_list>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <utility>
#include <vector>

QString PostgresText(const QSqlDriver* driver, const QString& sql, const QVariantList& werte);
QString PlatzhalterErsetzt(const QString& sql, qsizetype anzahl,
                           const std::function<QString(qsizetype)>& ersatz);

namespace {

// Any engine: the rows through QtSql.
class QtSqlStrom final : public ZeilenStrom {
public:
    explicit QtSqlStrom(QSqlDatabase db) : m_q(db) { m_q.setForwardOnly(true); }
    bool Starte(const QString& sql, const QVariantList& werte) {
        return ExecBound(m_q, sql, werte);
    }
    bool Naechste() override { return m_q.next(); }
    bool Leer(int spalte) const override { return m_q.isNull(spalte); }
    double Zahl(int spalte) const override { return m_q.value(spalte).toDouble(); }
    int32_t Ganzzahl(int spalte) const override { return m_q.value(spalte).toInt(); }
    QString Text(int spalte) const override { return m_q.value(spalte).toString(); }
    bool Fehler(QString* error) const override {
        return HasSqlError(m_q) && !SqlFehler(m_q, error);
    }

private:
    QSqlQuery m_q;
};

// An SQLite connection: the rows straight from the library, on the connection's own handle (same
// transaction, same busy timeout). Qt's driver uses the system's library, as this one does.
class SqliteStrom final : public ZeilenStrom {
public:
    explicit SqliteStrom(sqlite3* db) : m_db(db) {}
    ~SqliteStrom() override { sqlite3_finalize(m_st); }

    bool Starte(const QString& sql, const QVariantList& werte) {
        m_rc = sqlite3_prepare16_v2(m_db, sql.utf16(), static_cast<int>(sql.size() * 2), &m_st,
                                    nullptr);
        for (int i = 0; m_rc == SQLITE_OK && i < werte.size(); ++i)
            m_rc = Binde(i + 1, werte[i]);
        return m_rc == SQLITE_OK;
    }
    bool Naechste() override {
        if (m_rc != SQLITE_OK && m_rc != SQLITE_ROW)
            return false;
        m_rc = sqlite3_step(m_st);
        return m_rc == SQLITE_ROW;
    }
    bool Leer(int spalte) const override {
        return sqlite3_column_type(m_st, spalte) == SQLITE_NULL;
    }
    double Zahl(int spalte) const override { return sqlite3_column_double(m_st, spalte); }
    int32_t Ganzzahl(int spalte) const override { return sqlite3_column_int(m_st, spalte); }
    QString Text(int spalte) const override {
        const auto* text = static_cast<const QChar*>(sqlite3_column_text16(m_st, spalte));
        return QString(text, sqlite3_column_bytes16(m_st, spalte) / 2);
    }
    bool Fehler(QString* error) const override {
        if (m_rc == SQLITE_OK || m_rc == SQLITE_ROW || m_rc == SQLITE_DONE)
            return false;
        return !Fehlschlag(error, QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

private:
    int Binde(int nr, const QVariant& wert) {
        if (wert.isNull())
            return sqlite3_bind_null(m_st, nr);
        switch (wert.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(m_st, nr, wert.toDouble());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            return sqlite3_bind_int64(m_st, nr, wert.toLongLong());
        default: {
            const QByteArray text = wert.toString().toUtf8();
            return sqlite3_bind_text(m_st, nr, text.constData(), static_cast<int>(text.size()),
                                     SQLITE_TRANSIENT);
        }
        }
    }

    sqlite3* m_db;
    sqlite3_stmt* m_st = nullptr;
    int m_rc = SQLITE_OK;
};

// The statements a server connection has prepared, by their text and the types of their
// values. A connection opened again has a new server process and none.
class Vorbereitete {
public:
    // The name the statement `schluessel` is prepared under on `verbindung`; empty when it is
    // not, and then `neu` receives a name to prepare it under.
    static QByteArray Name(PGconn* verbindung, const QString& schluessel, QByteArray* neu) {
        QMutexLocker locker(&sperre());
        Vorbereitete& v = von(verbindung);
        const QByteArray name = v.m_namen.value(schluessel);
        if (name.isEmpty() && neu)
            *neu = "tovo_" + QByteArray::number(v.m_naechste++);
        return name;
    }
    // Records a statement the server has accepted.
    static void Merken(PGconn* verbindung, const QString& schluessel, const QByteArray& name) {
        QMutexLocker locker(&sperre());
        von(verbindung).m_namen.insert(schluessel, name);
    }

private:
    static QMutex& sperre() {
        static QMutex m;
        return m;
    }
    static Vorbereitete& von(PGconn* verbindung) {
        static QHash<PGconn*, Vorbereitete> alle;
        Vorbereitete& v = alle[verbindung];
        if (v.m_prozess != PQbackendPID(verbindung)) {
            v = Vorbereitete();
            v.m_prozess = PQbackendPID(verbindung);
        }
        return v;
    }
    int m_prozess = 0;
    int m_naechste = 0;
    QHash<QString, QByteArray> m_namen;
};

// The server numbers its placeholders: $1, $2, ...
QByteArray ServerText(const QString& sql, qsizetype anzahl) {
    return PlatzhalterErsetzt(
               sql, anzahl,
               [](qsizetype n) -> QString { return QLatin1Char('$') + QString::number(n + 1); })
        .toUtf8();
}

// The server's type of a value (0: the server infers it from the statement).
Oid TypVon(const QVariant& wert) {
    switch (wert.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return 701; // float8
    case QMetaType::Int:
        return 23; // int4
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return 20; // int8
    case QMetaType::Bool:
        return 16; // bool
    default:
        return 0;
    }
}

QByteArray TextVon(const QVariant& wert) {
    switch (wert.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(wert.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::Bool:
        return wert.toBool() ? "t" : "f";
    default:
        return wert.toString().toUtf8();
    }
}

// The values of a statement as libpq takes them, and the key of its plan.
struct ServerWerte {
    ServerWerte(const QString& sql, const QVariantList& werte) : sql(sql), schluessel(sql) {
        for (const QVariant& wert : werte) {
            texte.push_back(wert.isNull() ? QByteArray() : TextVon(wert));
            typen.push_back(TypVon(wert));
            schluessel += QLatin1Char(' ') + QString::number(typen.back());
        }
        for (qsizetype i = 0; i < werte.size(); ++i)
            zeiger.push_back(werte[i].isNull() ? nullptr : texte[i].constData());
    }
    int anzahl() const { return static_cast<int>(typen.size()); }
    // The statement as the server reads it; only needed where it is not prepared yet.
    QByteArray text() const { return ServerText(sql, anzahl()); }

    QString sql;
    QString schluessel;
    std::vector<QByteArray> texte;
    std::vector<const char*> zeiger;
    std::vector<Oid> typen;
};

// A server connection: the whole result in one round trip through libpq, on the connection's
// own handle, the values read from their text as they come.
class PostgresStrom final : public ZeilenStrom {
public:
    // A query QtSql read forward may have rows left on the connection; they are dropped, as
    // the driver itself does before its next statement.
    explicit PostgresStrom(PGconn* verbindung) : m_verbindung(verbindung) {
        while (PGresult* rest = PQgetResult(m_verbindung))
            PQclear(rest);
    }
    ~PostgresStrom() override {
        if (m_teile.empty())
            PQclear(m_ergebnis);
        for (PGresult* teil : m_teile)
            PQclear(teil);
    }

    bool Starte(const QString& text) {
        m_ergebnis = PQexec(m_verbindung, text.toUtf8().constData());
        return !Fehler(nullptr);
    }

    // Prepares the statement on first use on this connection, then sends only its values.
    bool StarteVorbereitet(const QString& sql, const QVariantList& werte) {
        const ServerWerte w(sql, werte);
        QByteArray neu;
        QByteArray name = Vorbereitete::Name(m_verbindung, w.schluessel, &neu);
        if (name.isEmpty()) {
            m_ergebnis = PQprepare(m_verbindung, neu.constData(), w.text().constData(), w.anzahl(),
                                   w.typen.data());
            if (Fehler(nullptr))
                return false;
            PQclear(m_ergebnis);
            m_ergebnis = nullptr;
            Vorbereitete::Merken(m_verbindung, w.schluessel, neu);
            name = neu;
        }
        m_ergebnis = PQexecPrepared(m_verbindung, name.constData(), w.anzahl(), w.zeiger.data(),
                                    nullptr, nullptr, 0);
        return !Fehler(nullptr);
    }
    // The statements in libpq's pipeline: sent at once, answered in turn. The rows are those of
    // statement `zeilenVon`.
    bool StarteStapel(const QVector<Anweisung>& anweisungen, qsizetype zeilenVon,
                      QSqlError* error) {
        // What the server answers, in turn: for each statement its preparation, when it is kept
        // and new on this connection, and its run.
        struct Antwort {
            qsizetype anweisung;
            QString schluessel;     // a preparation: the statement's key
            QByteArray vorbereitet; // and the name it is prepared under
        };
        std::vector<Antwort> antworten;
        bool gesendet = PQenterPipelineMode(m_verbindung) == 1;
        for (qsizetype i = 0; gesendet && i < anweisungen.size(); ++i) {
            const ServerWerte w(anweisungen[i].sql, anweisungen[i].werte);
            if (anweisungen[i].plan == Plan::Behalten) {
                QByteArray neu;
                QByteArray name = Vorbereitete::Name(m_verbindung, w.schluessel, &neu);
                if (name.isEmpty()) {
                    gesendet = PQsendPrepare(m_verbindung, neu.constData(), w.text().constData(),
                                             w.anzahl(), w.typen.data()) == 1;
                    antworten.push_back({i, w.schluessel, neu});
                    name = neu;
                }
                gesendet =
                    gesendet && PQsendQueryPrepared(m_verbindung, name.constData(), w.anzahl(),
                                                    w.zeiger.data(), nullptr, nullptr, 0) == 1;
            } else {
                gesendet =
                    PQsendQueryParams(m_verbindung, w.text().constData(), w.anzahl(),
                                      w.typen.data(), w.zeiger.data(), nullptr, nullptr, 0) == 1;
            }
            antworten.push_back({i, {}, {}});
        }
        if (!gesendet || PQpipelineSync(m_verbindung) != 1) {
            // What was sent is answered up to the end of the pipeline; then the connection takes
            // single statements again.
            StapelFehler(nullptr, error);
            PQpipelineSync(m_verbindung);
            for (size_t n = 0;
                 n <= 2 * antworten.size() + 1 && PQstatus(m_verbindung) == CONNECTION_OK &&
                 !PQexitPipelineMode(m_verbindung);
                 ++n)
                PQclear(PQgetResult(m_verbindung));
            return false;
        }

        // Each answer ends with a null. The first statement may come row by row: libpq keeps the
        // single-row mode QtSql asked for its last query into a pipeline's first statement.
        bool ok = true;
        for (const Antwort& antwort : antworten) {
            while (PGresult* r = PQgetResult(m_verbindung)) {
                const ExecStatusType status = PQresultStatus(r);
                if (status == PGRES_FATAL_ERROR && ok)
                    ok = StapelFehler(r, error);
                else if (status == PGRES_COMMAND_OK && !antwort.vorbereitet.isEmpty())
                    Vorbereitete::Merken(m_verbindung, antwort.schluessel, antwort.vorbereitet);
                else if (antwort.vorbereitet.isEmpty() && antwort.anweisung == zeilenVon)
                    m_teile.push_back(std::exchange(r, nullptr));
                PQclear(r);
            }
        }
        PQclear(PQgetResult(m_verbindung)); // the pipeline's end
        PQexitPipelineMode(m_verbindung);
        m_ergebnis = m_teile.empty() ? nullptr : m_teile.front();
        return ok && (m_ergebnis || StapelFehler(nullptr, error));
    }

    bool Naechste() override {
        while (m_ergebnis) {
            if (++m_zeile < PQntuples(m_ergebnis))
                return true;
            if (++m_teil >= m_teile.size())
                return false;
            m_ergebnis = m_teile[m_teil];
            m_zeile = -1;
        }
        return false;
    }
    bool Leer(int spalte) const override { return PQgetisnull(m_ergebnis, m_zeile, spalte); }
    double Zahl(int spalte) const override { return Wert<double>(spalte); }
    int32_t Ganzzahl(int spalte) const override { return Wert<int32_t>(spalte); }
    QString Text(int spalte) const override {
        return QString::fromUtf8(PQgetvalue(m_ergebnis, m_zeile, spalte),
                                 PQgetlength(m_ergebnis, m_zeile, spalte));
    }
    bool Fehler(QString* error) const override {
        const ExecStatusType status = PQresultStatus(m_ergebnis);
        if (m_ergebnis && (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK ||
                           status == PGRES_SINGLE_TUPLE))
            return false;
        return !Fehlschlag(error, QString::fromUtf8(PQerrorMessage(m_verbindung)).trimmed());
    }

private:
    // False with the failure of `r` (or of the connection) in `error`, with the server's code.
    bool StapelFehler(const PGresult* r, QSqlError* error) const {
        if (error) {
            const char* code = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
            *error = QSqlError(
                QString(),
                QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(m_verbindung))
                    .trimmed(),
                QSqlError::StatementError, code ? QString::fromLatin1(code) : QString());
        }
        return false;
    }

    // Independent of the locale, which may write a decimal comma.
    template <class T> T Wert(int spalte) const {
        const char* text = PQgetvalue(m_ergebnis, m_zeile, spalte);
        T wert{};
        std::from_chars(text, text + PQgetlength(m_ergebnis, m_zeile, spalte), wert);
        return wert;
    }

    PGconn* m_verbindung;
    PGresult* m_ergebnis = nullptr; // the rows being read
    std::vector<PGresult*> m_teile; // a batch's rows, when they came in several parts
    size_t m_teil = 0;
    int m_zeile = -1;
};

// The library's handle of an open connection whose driver names its type as one of `typen`, or
// null.
template <class Handle>
Handle* HandleVon(const QSqlDatabase& db, std::initializer_list<const char*> typen) {
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::none_of(typen.begin(), typen.end(), [&](const char* typ) {
            return qstrcmp(handle.typeName(), typ) == 0;
        }))
        return nullptr;
    return *static_cast<Handle* const*>(handle.data());
}

} // namespace

PGconn* PostgresHandle(const QSqlDatabase& db) {
    return HandleVon<PGconn>(db, {"PGconn*", "pg_conn*"});
}

std::unique_ptr<ZeilenStrom> ZeilenStrom::Oeffne(QSqlDatabase db, const QString& sql,
                                                 const QVariantList& werte, QString* error,
                                                 Plan plan) {
    std::unique_ptr<ZeilenStrom> strom;
    bool ok = false;
    if (auto* handle = HandleVon<sqlite3>(db, {"sqlite3*"})) {
        auto s = std::make_unique<SqliteStrom>(handle);
        ok = s->Starte(sql, werte);
        strom = std::move(s);
    } else if (auto* handle = PostgresHandle(db)) {
        auto s = std::make_unique<PostgresStrom>(handle);
        ok = plan == Plan::Behalten ? s->StarteVorbereitet(sql, werte)
                                    : s->Starte(PostgresText(db.driver(), sql, werte));
        strom = std::move(s);
    } else {
        auto s = std::make_unique<QtSqlStrom>(db);
        ok = s->Starte(sql, werte);
        strom = std::move(s);
    }
    if (ok)
        return strom;
    strom->Fehler(error);
    return nullptr;
}

std::unique_ptr<ZeilenStrom> ZeilenStrom::Oeffne(QSqlDatabase db, const QVector<Anweisung>& vorher,
                                                 const QString& sql, const QVariantList& werte,
                                                 QString* error, Plan plan) {
    if (PostgresHandle(db)) {
        QVector<Anweisung> alle = vorher;
        alle.append({sql, werte, plan});
        QSqlError fehler;
        auto strom = Stapel(db, alle, vorher.size(), &fehler);
        if (!strom)
            Fehlschlag(error, fehler.text().trimmed());
        return strom;
    }
    QSqlQuery q(db);
    for (const Anweisung& a : vorher)
        if (!ExecBound(q, a.sql, a.werte)) {
            SqlFehler(q, error);
            return nullptr;
        }
    return Oeffne(db, sql, werte, error, plan);
}

std::unique_ptr<ZeilenStrom> ZeilenStrom::Stapel(QSqlDatabase db,
                                                 const QVector<Anweisung>& anweisungen,
                                                 qsizetype zeilenVon, QSqlError* error) {
    PGconn* handle = PostgresHandle(db);
    if (!handle) {
        if (error)
            *error = QSqlError(QString(), QStringLiteral("Keine Verbindung zum Datenbankserver."),
                               QSqlError::ConnectionError);
        return nullptr;
    }
    auto strom = std::make_unique<PostgresStrom>(handle);
    if (!strom->StarteStapel(anweisungen, zeilenVon, error))
        return nullptr;
    return strom;
}

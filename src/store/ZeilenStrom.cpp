#include "ZeilenStrom.h"

#include "Dialekt.h"
#include "SqlConnection.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>
#include <sqlite3.h>

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

sqlite3* SqliteHandle(const QSqlDatabase& db) {
    if (Dialekt::Von(db).Typ() != DbTyp::SQLite || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

} // namespace

std::unique_ptr<ZeilenStrom> ZeilenStrom::Oeffne(QSqlDatabase db, const QString& sql,
                                                 const QVariantList& werte, QString* error) {
    std::unique_ptr<ZeilenStrom> strom;
    bool ok = false;
    if (sqlite3* handle = SqliteHandle(db)) {
        auto s = std::make_unique<SqliteStrom>(handle);
        ok = s->Starte(sql, werte);
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

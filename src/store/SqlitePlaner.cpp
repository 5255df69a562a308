#include "SqlitePlaner.h"

#include "SqlConnection.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <sqlite3.h>

namespace SqlitePlaner {

namespace {

// Rows looked at per index when statistics are gathered: enough for the planner, and quick on
// millions of rows.
constexpr int kStichprobe = 1000;
// Statistics are gathered again when the rows have more than doubled (or halved) since, and
// not for a handful of rows.
constexpr double kFaktor = 2.0;
constexpr double kSockel = 100.0;
// The planner's Bloom filter (SQLITE_BloomFilter of sqliteInt.h), as sqlite3_test_control
// switches it off.
constexpr unsigned kBloomFilter = 0x00080000;

sqlite3* Verbindung(QSqlDatabase db) {
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

QString Bezeichner(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

void VerbindungEinrichten(QSqlDatabase db) {
    if (sqlite3* verbindung = Verbindung(db))
        sqlite3_test_control(SQLITE_TESTCTRL_OPTIMIZATIONS, verbindung, kBloomFilter);
}

// PRAGMA optimize would do the same, but the SQLite of Debian 12 (3.40) looks only at tables
// queried on the connection before, and only after 25-fold growth.
void StatistikPflegen(QSqlDatabase db) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = 'sqlite_stat1'")) ||
        !q.next())
        return;
    const bool hatStatistik = q.value(0).toInt() > 0;
    q.finish();

    // Per table with indexes: the rows its statistics were gathered at, or -1 when an index
    // has none.
    QHash<QString, double> gezaehlt;
    const QString sql =
        hatStatistik
            ? QStringLiteral("SELECT m.tbl_name, s.stat FROM sqlite_master m LEFT JOIN "
                             "sqlite_stat1 s ON s.idx = m.name WHERE m.type = 'index' AND "
                             "m.sql IS NOT NULL")
            : QStringLiteral("SELECT tbl_name, NULL FROM sqlite_master WHERE type = 'index' AND "
                             "sql IS NOT NULL");
    if (!q.exec(sql))
        return;
    while (q.next()) {
        const QString tabelle = q.value(0).toString();
        const double zeilen =
            q.value(1).isNull() ? -1
                                : q.value(1).toString().section(QLatin1Char(' '), 0, 0).toDouble();
        gezaehlt[tabelle] =
            gezaehlt.contains(tabelle) ? std::min(gezaehlt[tabelle], zeilen) : zeilen;
    }
    q.finish();

    QStringList analysieren;
    for (auto it = gezaehlt.cbegin(); it != gezaehlt.cend(); ++it) {
        // The highest key estimates the rows without counting them; an empty table has nothing
        // to measure.
        if (!q.exec(QStringLiteral("SELECT MAX(rowid) FROM ") + Bezeichner(it.key())) || !q.next())
            continue;
        const bool leer = q.value(0).isNull();
        const double zeilen = q.value(0).toDouble();
        q.finish();
        if (leer)
            continue;
        if (it.value() < 0 || zeilen > kFaktor * it.value() + kSockel ||
            zeilen * kFaktor + kSockel < it.value())
            analysieren << it.key();
    }
    if (analysieren.isEmpty())
        return;
    q.exec(QStringLiteral("PRAGMA analysis_limit = %1").arg(kStichprobe));
    for (const QString& tabelle : analysieren)
        q.exec(QStringLiteral("ANALYZE ") + Bezeichner(tabelle));
}

QStringList Abfrageplan(QSqlDatabase db, const QString& sql) {
    QStringList schritte;
    sqlite3* verbindung = Verbindung(db);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray text = QByteArrayLiteral("EXPLAIN QUERY PLAN ") + sql.toUtf8();
    if (!verbindung || sqlite3_prepare_v2(verbindung, text.constData(), int(text.size()), &stmt,
                                          nullptr) != SQLITE_OK)
        return schritte;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        schritte << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)));
    sqlite3_finalize(stmt);
    return schritte;
}

bool LiestNurBereiche(const QStringList& plan, const QString& alias) {
    const QRegularExpression liest(
        QStringLiteral("\\b(SEARCH|SCAN) %1\\b").arg(QRegularExpression::escape(alias)));
    const QRegularExpression bereich(
        QStringLiteral("^SEARCH \\S+ USING (COVERING )?INDEX \\S+ \\((.*)\\)$"));
    const QRegularExpression filter(
        QStringLiteral("^BLOOM FILTER ON %1\\b").arg(QRegularExpression::escape(alias)));
    bool gelesen = false;
    for (const QString& schritt : plan) {
        if (filter.match(schritt).hasMatch())
            return false;
        if (!liest.match(schritt).hasMatch())
            continue;
        const QRegularExpressionMatch m = bereich.match(schritt);
        if (!m.hasMatch() || !m.captured(2).contains(QLatin1String(">?")) ||
            !m.captured(2).contains(QLatin1String("<?")))
            return false;
        gelesen = true;
    }
    return gelesen;
}

Mitschnitt::Mitschnitt(QSqlDatabase db) : m_verbindung(Verbindung(db)) {
    if (m_verbindung)
        sqlite3_trace_v2(static_cast<sqlite3*>(m_verbindung), SQLITE_TRACE_STMT, &Aufzeichnen,
                         this);
}

Mitschnitt::~Mitschnitt() {
    if (m_verbindung)
        sqlite3_trace_v2(static_cast<sqlite3*>(m_verbindung), 0, nullptr, nullptr);
}

int Mitschnitt::Aufzeichnen(unsigned, void* selbst, void* anweisung, void*) {
    static_cast<Mitschnitt*>(selbst)->m_anweisungen
        << QString::fromUtf8(sqlite3_sql(static_cast<sqlite3_stmt*>(anweisung)));
    return 0;
}

Stand Datenstand(QSqlDatabase db) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    Stand s{-1, -1};
    if (q.exec(QStringLiteral("PRAGMA data_version")) && q.next())
        s.first = q.value(0).toLongLong();
    q.finish();
    if (q.exec(QStringLiteral("SELECT total_changes()")) && q.next())
        s.second = q.value(0).toLongLong();
    return s;
}

} // namespace SqlitePlaner

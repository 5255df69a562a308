#include "Dialekt.h"

#include "SqlConnection.h"

#include <QSqlQuery>
#include <QVariant>

QStringList ErsteSpalte(QSqlDatabase& db, const QString& sql);

namespace {

// Statistics are gathered again when the booking table has grown this many times over.
constexpr double kStatistikWachstum = 10.0;
// What the planner assumes of a table while it is too small to be measured: rows in the
// table, then rows per value of the index's first column, of its first two columns.
struct Annahme {
    const char* tabelle;
    const char* index;
    const char* stat;
};
const Annahme kAnnahmen[] = {
    {"T_fm_belegung", "IX_belegung_rb_dt", "100000 500 2"},
    {"T_fm_belegung", "IX_belegung_auftr", "100000 2"},
    {"T_fm_belegung", "IX_belegung_dt_bis", "100000 30"},
    {"T_fm_belegung", "IX_belegung_rb_bis", "100000 500 2"},
    {"T_fm_belegung", "IX_belegung_rb_ubis", "100000 500 2"},
    {"T_fm_belegung", "IX_belegung_rb_rbis", "100000 500 2"},
    {"T_rb_Anzeige", "IX_anzeige_kurzbez", "200 1"},
    {"T_rb_Anzeige", "IX_anzeige_raumart", "200 25"},
};

class Sqlite final : public Dialekt {
public:
    DbTyp Typ() const override { return DbTyp::SQLite; }

    bool Oeffne(const QString& ort, const QString& name, bool readOnly,
                QString* error) const override {
        return OpenSqliteConnection(ort, name, readOnly, error);
    }

    bool Ausfuehren(QSqlQuery& q, const QString& sql, const QVariantList& werte) const override {
        if (!q.prepare(sql))
            return false;
        for (const QVariant& v : werte)
            q.addBindValue(v);
        return q.exec();
    }

    // BEGIN IMMEDIATE takes the file's write lock at once: nobody writes between the test and
    // the write, so rooms and counter need no locks of their own.
    QString BeginnSchreiben() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    bool SperreRaeume(QSqlDatabase&, QVector<int32_t>, QSqlError*) const override { return true; }
    bool SperreZaehler(QSqlDatabase&, QSqlError*) const override { return true; }

    QStringList TermineLeeren() const override {
        return {QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_termine (nr INTEGER PRIMARY "
                               "KEY, raum INTEGER NOT NULL, von REAL NOT NULL, bis REAL NOT NULL)"),
                QStringLiteral("CREATE INDEX IF NOT EXISTS temp.tovo_termine_raum_von ON "
                               "tovo_termine (raum, von)"),
                QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_ausser (rec_id INTEGER "
                               "PRIMARY KEY)"),
                QStringLiteral("DELETE FROM temp.tovo_termine"),
                QStringLiteral("DELETE FROM temp.tovo_ausser")};
    }
    QString TermineEinfuegen() const override {
        return QStringLiteral("INSERT INTO temp.tovo_termine (nr, raum, von, bis) "
                              "SELECT key, json_extract(value, '$[0]'), "
                              "json_extract(value, '$[1]'), json_extract(value, '$[2]') "
                              "FROM json_each(?)");
    }
    QString AusserEinfuegen() const override {
        return QStringLiteral("INSERT OR IGNORE INTO temp.tovo_ausser (rec_id) "
                              "SELECT value FROM json_each(?)");
    }

    bool DruckTabelleVorbereiten(QSqlDatabase&, QSqlError*) const override { return true; }
    QString DruckFolge() const override { return QStringLiteral("rowid"); }

    QString OhneGrossKlein(const QString& ausdruck) const override {
        return ausdruck + QStringLiteral(" COLLATE NOCASE");
    }

    QStringList Indexe(QSqlDatabase& db) const override {
        return ErsteSpalte(db,
                           QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'"));
    }

    // Gathered when an index has no figures yet, and again when the booking table has outgrown
    // the figures the planner has.
    void StatistikPflegen(QSqlDatabase& db) const override {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        double gezaehlt = -1;
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name = "
                                  "'sqlite_stat1'")) &&
            q.next() && q.value(0).toInt() > 0) {
            q.finish();
            // An index without figures counts as nothing measured.
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master m WHERE m.type = "
                                      "'index' AND m.sql IS NOT NULL AND NOT EXISTS (SELECT 1 "
                                      "FROM sqlite_stat1 s WHERE s.idx = m.name)")) &&
                q.next() && q.value(0).toInt() == 0) {
                q.finish();
                if (q.exec(QStringLiteral("SELECT stat FROM sqlite_stat1 WHERE tbl = "
                                          "'T_fm_belegung' LIMIT 1")) &&
                    q.next())
                    gezaehlt = q.value(0).toString().section(QLatin1Char(' '), 0, 0).toDouble();
            }
        }
        q.finish();
        if (gezaehlt >= 0) {
            // The highest key estimates the rows without counting them.
            if (!q.exec(QStringLiteral("SELECT MAX(Rec_ID) FROM T_fm_belegung")) || !q.next() ||
                q.value(0).toDouble() <= kStatistikWachstum * gezaehlt + 1000)
                return;
            q.finish();
        }
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return;
        // A sample per index is enough for the planner and keeps this quick on large projects.
        bool ok = q.exec(QStringLiteral("PRAGMA analysis_limit = 1000")) &&
                  q.exec(QStringLiteral("ANALYZE"));
        // Empty tables leave the planner without figures, and without them it walks through
        // every booking instead of the date ranges of the indexes as the tables fill. Figures
        // of a large project stand in until real ones are gathered on a later open.
        for (const Annahme& a : kAnnahmen) {
            if (!ok)
                break;
            ok = ExecBound(q, QStringLiteral("SELECT COUNT(*) FROM sqlite_stat1 WHERE tbl = ?"),
                           {QLatin1String(a.tabelle)}) &&
                 q.next();
            const bool fehlt = ok && q.value(0).toInt() == 0;
            q.finish();
            if (fehlt)
                ok = ExecBound(q,
                               QStringLiteral("INSERT INTO sqlite_stat1 (tbl, idx, stat) "
                                              "SELECT ?, ?, ? WHERE EXISTS (SELECT 1 FROM "
                                              "sqlite_master WHERE type = 'index' AND name = ?)"),
                               {QLatin1String(a.tabelle), QLatin1String(a.index),
                                QLatin1String(a.stat), QLatin1String(a.index)});
        }
        q.finish();
        q.exec(ok ? QStringLiteral("COMMIT") : QStringLiteral("ROLLBACK"));
    }

    // A lock held by another connection is BUSY (5) or LOCKED (6), possibly with an extended
    // code in the upper bits.
    DbFehlerArt Art(const QSqlDatabase&, const QSqlError& error) const override {
        bool zahl = false;
        const int code = error.nativeErrorCode().toInt(&zahl);
        return zahl && ((code & 0xff) == 5 || (code & 0xff) == 6) ? DbFehlerArt::Belegt
                                                                  : DbFehlerArt::Sonstiges;
    }
};

} // namespace

const Dialekt& SqliteDialekt() {
    static const Sqlite dialekt;
    return dialekt;
}

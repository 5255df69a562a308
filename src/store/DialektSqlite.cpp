#include "Dialekt.h"

#include "AenderungsJournal.h"
#include "Records.h"
#include "ReservationQueries.h"
#include "SqlConnection.h"
#include "SqlitePlaner.h"
#include "ZeilenAbbildung.h"

#include <QSqlQuery>
#include <QVariant>
#include <limits>

QStringList ErsteSpalte(QSqlDatabase& db, const QString& sql);
bool ZaehlerLesen(QSqlDatabase& db, const QString& sql, std::optional<int32_t>& zaehler,
                  QSqlError* error);

namespace {

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
    QString BeginnTemporaer() const override { return QStringLiteral("BEGIN"); }
    bool SperreRaeume(QSqlDatabase&, QVector<int32_t>, QSqlError*) const override { return true; }

    bool AuftragEintragen(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen,
                          std::optional<int32_t> wunsch, Auftrag& auftrag,
                          QSqlError* error) const override {
        QSqlDatabase& db = tx.db();
        std::optional<int32_t> zaehler;
        if (!ZaehlerLesen(db, QStringLiteral("SELECT lNextNr FROM T_NextNr LIMIT 1"), zaehler,
                          error))
            return false;
        auftrag = Auftrag();
        auftrag.nummer = wunsch.value_or(zaehler.value_or(-1));
        QString text;
        const auto gescheitert = [&] {
            if (error)
                *error = QSqlError(QString(), text, QSqlError::StatementError);
            return false;
        };
        if (!ReservationQueries::AuftragNrVergeben(db.connectionName(), auftrag.nummer,
                                                   auftrag.vergeben, &text))
            return gescheitert();
        if (auftrag.vergeben)
            return true;

        {
            QSqlQuery ins(db);
            ins.setForwardOnly(true);
            // Row by row: the driver binds the values of many rows far more slowly than it runs the
            // statement of one row again.
            for (CBelegungRec b : buchungen) {
                b.lAuftrNr = auftrag.nummer;
                if (!ExecBound(ins,
                               ZeilenAbbildung::insertSql<CBelegungRec>() +
                                   QStringLiteral(" RETURNING Rec_ID"),
                               ZeilenAbbildung::fieldValues(b)) ||
                    !ins.next()) {
                    if (error)
                        *error = ins.lastError();
                    return false;
                }
                auftrag.ids.append(ins.value(0).toInt());
            }
        } // the statement done before COMMIT
        if (!AenderungsJournal::Vermerke(db, AenderungsJournal::Art::Belegung, auftrag.ids, error))
            return false;
        if (auftrag.nummer < std::numeric_limits<int32_t>::max() &&
            !ReservationQueries::WriteNextNr(db.connectionName(), auftrag.nummer + 1, &text))
            return gescheitert();
        if (tx.commit())
            return true;
        if (error)
            *error = tx.fehler();
        return false;
    }

    QStringList TermineLeeren(QSqlDatabase&) const override {
        return {QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_termine (nr INTEGER PRIMARY "
                               "KEY, raum INTEGER NOT NULL, von REAL NOT NULL, bis REAL NOT NULL)"),
                QStringLiteral("CREATE INDEX IF NOT EXISTS temp.tovo_termine_raum_von ON "
                               "tovo_termine (raum, von)"),
                QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_ausser (rec_id INTEGER "
                               "PRIMARY KEY)"),
                QStringLiteral("DELETE FROM temp.tovo_termine"),
                QStringLiteral("DELETE FROM temp.tovo_ausser")};
    }
    QString TermineAusText() const override {
        return QStringLiteral("(SELECT key AS nr, json_extract(value, '$[0]') AS raum, "
                              "json_extract(value, '$[1]') AS von, json_extract(value, '$[2]') AS "
                              "bis FROM json_each(?))");
    }
    QString IdsAusText() const override {
        return QStringLiteral("(SELECT DISTINCT value AS id FROM json_each(?))");
    }

    bool DruckTabelleVorbereiten(QSqlDatabase& db, QSqlError* error) const override {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS t_tmp_Druck AS "
                                  "SELECT * FROM main.t_tmp_Druck WHERE 0")))
            return true;
        if (error)
            *error = q.lastError();
        return false;
    }
    QString DruckFolge() const override { return QStringLiteral("rowid"); }

    QString Kleinster(const QString& liste) const override {
        return QStringLiteral("min(%1)").arg(liste);
    }
    QString Groesster(const QString& liste) const override {
        return QStringLiteral("max(%1)").arg(liste);
    }
    // A comparison is the number 1 or 0. The projects' indexes are built from this very text.
    QString Stufe(const QString& wert, const QVector<int>& grenzen) const override {
        QStringList teile;
        for (const int grenze : grenzen)
            teile << QStringLiteral("(%1 >= %2)").arg(wert).arg(grenze);
        return QLatin1Char('(') + teile.join(QStringLiteral(" + ")) + QLatin1Char(')');
    }

    // A CROSS JOIN keeps its place in SQLite's join order.
    QString JeZeile(const QString& tabelle, const QString& alias,
                    const QString& bedingung) const override {
        return QStringLiteral("CROSS JOIN %1 %2 ON %3").arg(tabelle, alias, bedingung);
    }

    QString OhneGrossKlein(const QString& ausdruck) const override {
        return ausdruck + QStringLiteral(" COLLATE NOCASE");
    }

    QHash<QString, QString> Indexe(QSqlDatabase& db) const override {
        QHash<QString, QString> indexe;
        for (const QString& name :
             ErsteSpalte(db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")))
            indexe.insert(name.toLower(), QString());
        return indexe;
    }
    // No marks: the program's index texts on SQLite never change, so that no project file is
    // ever rebuilt on its shared drive.
    QStringList IndexAnlegen(const QString& name, const QString& spalten) const override {
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2").arg(name, spalten)};
    }
    QString IndexMarke(const QString&) const override { return QString(); }

    void StatistikPflegen(QSqlDatabase& db) const override { SqlitePlaner::StatistikPflegen(db); }

    Stand Datenstand(QSqlDatabase& db) const override { return SqlitePlaner::Datenstand(db); }

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

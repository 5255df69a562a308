#include "Dialekt.h"

#include "Records.h"
#include "SqlConnection.h"
#include "VerbindungsText.h"
#include "ZeilenAbbildung.h"
#include "ZeilenStrom.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <libpq-fe.h>

PGconn* PostgresHandle(const QSqlDatabase& db);

// `sql` with its first `anzahl` placeholders "?" outside quoted texts and names replaced by
// `ersatz` of their number (from 0).
QString PlatzhalterErsetzt(const QString& sql, qsizetype anzahl,
                           const std::function<QString(qsizetype)>& ersatz) {
    QString text;
    text.reserve(sql.size() + anzahl * 8);
    qsizetype naechster = 0;
    QChar zeichen; // the quote the text is inside of, or null
    for (const QChar c : sql) {
        if (!zeichen.isNull()) {
            if (c == zeichen)
                zeichen = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            zeichen = c;
        } else if (c == QLatin1Char('?') && naechster < anzahl) {
            text += ersatz(naechster++);
            continue;
        }
        text += c;
    }
    return text;
}

// The placeholders replaced by the values as the driver writes them.
QString PostgresText(const QSqlDriver* driver, const QString& sql, const QVariantList& werte) {
    return PlatzhalterErsetzt(sql, werte.size(), [&](qsizetype n) {
        QSqlField feld(QString(), werte[n].metaType());
        feld.setValue(werte[n]);
        return driver->formatValue(feld);
    });
}

namespace {

// The statement behind AuftragEintragen, with the columns `spalten` written.
QString AuftragSql(const QStringList& spalten) {
    QStringList werte;
    for (const QString& spalte : spalten)
        werte << (spalte == QLatin1String("lAuftrNr") ? QStringLiteral("frei.nr")
                                                      : QStringLiteral("r.") + spalte);
    return QStringLiteral(
               "WITH z AS (SELECT COALESCE(CAST(? AS integer), "
               "(SELECT lNextNr FROM T_NextNr LIMIT 1), -1) AS nr), "
               "frei AS (SELECT nr FROM z WHERE NOT EXISTS "
               "(SELECT 1 FROM T_fm_belegung WHERE lAuftrNr = z.nr)), "
               "neu AS (INSERT INTO T_fm_belegung (%1) SELECT %2 FROM frei CROSS JOIN "
               "json_populate_recordset(NULL::T_fm_belegung, CAST(? AS json)) WITH ORDINALITY "
               "AS r ORDER BY r.ordinality RETURNING Rec_ID), "
               "journal AS (INSERT INTO T_Aenderung (stArt, lId) SELECT 'B', Rec_ID FROM neu "
               "ON CONFLICT (stArt, lId) DO UPDATE SET lNr = DEFAULT), "
               "weiter AS (UPDATE T_NextNr SET lNextNr = frei.nr + 1 FROM frei "
               "WHERE frei.nr < 2147483647), "
               "erster AS (INSERT INTO T_NextNr (lNextNr) SELECT frei.nr + 1 FROM frei "
               "WHERE frei.nr < 2147483647 AND NOT EXISTS (SELECT 1 FROM T_NextNr)) "
               "SELECT z.nr, (SELECT CAST(count(*) AS integer) FROM frei), neu.Rec_ID "
               "FROM z LEFT JOIN neu ON true ORDER BY neu.Rec_ID")
        .arg(spalten.join(QStringLiteral(", ")), werte.join(QStringLiteral(", ")));
}

// How long a statement waits for a lock another workstation holds, as SQLite's busy timeout.
constexpr int kSperrWarteMs = 5000;
// How long opening waits for a server that does not answer, unless the text says otherwise.
constexpr int kVerbindenSekunden = 10;

// A value for libpq's connection text, in quotes.
QString Quoted(QString wert) {
    wert.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    wert.replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + wert + QLatin1Char('\'');
}

class Postgres final : public Dialekt {
public:
    DbTyp Typ() const override { return DbTyp::PostgreSQL; }

    // The password is never part of the text: libpq reads it from ~/.pgpass or PGPASSWORD.
    bool Oeffne(const QString& ort, const QString& name, bool readOnly,
                QString* error) const override {
        VerbindungsPaare paare;
        if (!ZerlegeLibpqText(ort, paare, error))
            return false;
        QString host, datenbank, benutzer;
        int port = -1;
        QStringList weitere;
        // Each session waits for locks as long as SQLite would and keeps notices to itself. The
        // statements it prepares are those run again and again (the tests and writes of every
        // save): planned once for any values, where the server would otherwise plan the room
        // test anew each time, which costs more than running it.
        QString sitzung = QStringLiteral("-c lock_timeout=%1 -c client_min_messages=warning "
                                         "-c plan_cache_mode=force_generic_plan")
                              .arg(kSperrWarteMs);
        if (readOnly)
            sitzung += QStringLiteral(" -c default_transaction_read_only=on");
        bool zeitGesetzt = false;
        for (const auto& [key, value] : paare) {
            if (key == QLatin1String("password"))
                return Fehlschlag(error,
                                  QStringLiteral("Das Kennwort gehört nicht in die "
                                                 "Verbindungsangabe. Der Server liest es aus "
                                                 "der Datei ~/.pgpass oder aus der Umgebung "
                                                 "(PGPASSWORD)."));
            if (value.contains(QLatin1Char(';')))
                return Fehlschlag(error,
                                  QStringLiteral("Der Wert von '%1' in der Verbindungsangabe "
                                                 "darf kein ';' enthalten.")
                                      .arg(key));
            if (key == QLatin1String("host")) {
                host = value;
            } else if (key == QLatin1String("dbname")) {
                datenbank = value;
            } else if (key == QLatin1String("user")) {
                benutzer = value;
            } else if (key == QLatin1String("port")) {
                bool zahl = false;
                port = value.toInt(&zahl);
                if (!zahl || port <= 0 || port > 65535)
                    return Fehlschlag(error,
                                      QStringLiteral("Der Wert von 'port' in der "
                                                     "Verbindungsangabe ist keine Portnummer."));
            } else if (key == QLatin1String("options")) {
                sitzung += QLatin1Char(' ') + value;
            } else {
                zeitGesetzt = zeitGesetzt || key == QLatin1String("connect_timeout");
                weitere << key + QLatin1Char('=') + Quoted(value);
            }
        }
        if (!zeitGesetzt)
            weitere << QStringLiteral("connect_timeout=%1").arg(kVerbindenSekunden);
        weitere << QStringLiteral("options=") + Quoted(sitzung);

        QString failure;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            if (!db.isValid()) {
                failure = QStringLiteral("Der Treiber für PostgreSQL fehlt (Paket "
                                         "libqt6sql6-psql).");
            } else {
                db.setHostName(host);
                db.setPort(port);
                db.setDatabaseName(datenbank);
                db.setUserName(benutzer);
                db.setConnectOptions(weitere.join(QLatin1Char(';')));
                if (!db.open())
                    failure = db.lastError().text().trimmed();
            }
        }
        if (failure.isEmpty())
            return true;
        CloseSqliteConnection(name);
        return Fehlschlag(error, failure);
    }

    bool Ausfuehren(QSqlQuery& q, const QString& sql, const QVariantList& werte) const override {
        return q.exec(PostgresText(q.driver(), sql, werte));
    }

    QString BeginnSchreiben() const override { return QStringLiteral("BEGIN"); }
    // A write-protected project's session is read-only, and the server creates no table there,
    // not even a temporary one, unless the transaction says otherwise.
    QString BeginnTemporaer() const override { return QStringLiteral("BEGIN READ WRITE"); }

    bool SperreRaeume(QSqlDatabase& db, QVector<int32_t> raeume, QSqlError* error) const override {
        std::sort(raeume.begin(), raeume.end());
        raeume.erase(std::unique(raeume.begin(), raeume.end()), raeume.end());
        QStringList ids;
        for (const int32_t id : raeume)
            ids << QString::number(id);
        // Every write runs it: the server keeps its plan.
        return ZeilenStrom::Stapel(
                   db,
                   {{QStringLiteral("SELECT az_ID FROM T_rb_Anzeige WHERE az_ID = "
                                    "ANY (CAST(? AS integer[])) ORDER BY az_ID FOR UPDATE"),
                     {QVariant(QLatin1Char('{') + ids.join(QLatin1Char(',')) + QLatin1Char('}'))},
                     ZeilenStrom::Plan::Behalten}},
                   0, error) != nullptr;
    }

    // The counter is locked as a table: an empty one has no row to lock, and a lock taken by a
    // statement of its own gives the statement after it a view of the data from after the wait.
    // That statement does the rest: the number, its test, the rows (from one JSON text, typed by
    // the table's row), the journal and the counter; COMMIT goes with them. The counter is then
    // held for the server's work alone, never for a round trip to the workstation.
    bool AuftragEintragen(SchreibTransaktion& tx, const QVector<CBelegungRec>& buchungen,
                          std::optional<int32_t> wunsch, Auftrag& auftrag,
                          QSqlError* error) const override {
        const QStringList spalten = ZeilenAbbildung::dataColumns<CBelegungRec>();
        QJsonArray zeilen;
        for (CBelegungRec b : buchungen) {
            const QVariantList werte = ZeilenAbbildung::fieldValues(b);
            QJsonObject zeile;
            for (qsizetype i = 0; i < spalten.size(); ++i)
                zeile.insert(spalten[i].toLower(), QJsonValue::fromVariant(werte[i]));
            zeilen.append(zeile);
        }
        const auto ergebnis = ZeilenStrom::Stapel(
            tx.db(),
            {{QStringLiteral("LOCK TABLE T_NextNr IN EXCLUSIVE MODE"), {}},
             {AuftragSql(spalten),
              {wunsch ? QVariant(*wunsch) : QVariant(),
               QString::fromUtf8(QJsonDocument(zeilen).toJson(QJsonDocument::Compact))},
              ZeilenStrom::Plan::Behalten},
             {QStringLiteral("COMMIT"), {}}},
            1, error);
        if (!ergebnis)
            return false;
        tx.beendet();
        auftrag = Auftrag{};
        while (ergebnis->Naechste()) {
            auftrag.nummer = ergebnis->Ganzzahl(0);
            auftrag.vergeben = ergebnis->Ganzzahl(1) == 0;
            if (!ergebnis->Leer(2))
                auftrag.ids.append(ergebnis->Ganzzahl(2));
        }
        return true;
    }

    // The tables live as long as the session. Outside a transaction they are created in one of
    // their own, which may do so in a read-only session too.
    QStringList TermineLeeren(QSqlDatabase& db) const override {
        QStringList anweisungen{
            QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_termine (nr integer PRIMARY "
                           "KEY, raum integer NOT NULL, von double precision NOT NULL, "
                           "bis double precision NOT NULL)"),
            QStringLiteral("CREATE INDEX IF NOT EXISTS tovo_termine_raum_von ON "
                           "tovo_termine (raum, von)"),
            QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS tovo_ausser (rec_id integer "
                           "PRIMARY KEY)")};
        PGconn* handle = PostgresHandle(db);
        if (handle && PQtransactionStatus(handle) == PQTRANS_IDLE) {
            anweisungen.prepend(BeginnTemporaer());
            anweisungen.append(QStringLiteral("COMMIT"));
        }
        return anweisungen + QStringList{QStringLiteral("DELETE FROM tovo_termine"),
                                         QStringLiteral("DELETE FROM tovo_ausser")};
    }
    QString TermineAusText() const override {
        return QStringLiteral(
            "(SELECT CAST(o AS integer) - 1 AS nr, CAST(e->>0 AS integer) AS raum, "
            "CAST(e->>1 AS double precision) AS von, CAST(e->>2 AS double precision) AS bis "
            "FROM json_array_elements(CAST(? AS json)) WITH ORDINALITY AS x(e, o))");
    }
    QString IdsAusText() const override {
        return QStringLiteral("(SELECT DISTINCT CAST(v AS integer) AS id "
                              "FROM json_array_elements_text(CAST(? AS json)) AS x(v))");
    }

    // A temporary table of the same name comes first in every statement of the session.
    bool DruckTabelleVorbereiten(QSqlDatabase& db, QSqlError* error) const override {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS t_tmp_Druck "
                                  "(LIKE t_tmp_Druck INCLUDING DEFAULTS, tovo_zeile bigserial)")))
            return true;
        if (error)
            *error = q.lastError();
        return false;
    }
    QString DruckFolge() const override { return QStringLiteral("tovo_zeile"); }

    QString Kleinster(const QString& liste) const override {
        return QStringLiteral("LEAST(%1)").arg(liste);
    }
    QString Groesster(const QString& liste) const override {
        return QStringLiteral("GREATEST(%1)").arg(liste);
    }
    // The value computed once, where a comparison per limit would compute it for each: every
    // booking written computes it for the index, while the order-number counter is held.
    QString Stufe(const QString& wert, const QVector<int>& grenzen) const override {
        QStringList liste;
        for (const int grenze : grenzen)
            liste << QString::number(grenze);
        return QStringLiteral("width_bucket(%1, CAST(ARRAY[%2] AS double precision[]))")
            .arg(wert, liste.join(QStringLiteral(", ")));
    }

    // The server would join the tables in the order its statistics suggest, and hash a small
    // one; a lateral subquery is read for each row before it, and OFFSET 0 keeps the planner
    // from folding it into the outer query.
    QString JeZeile(const QString& tabelle, const QString& alias,
                    const QString& bedingung) const override {
        return QStringLiteral("CROSS JOIN LATERAL (SELECT * FROM %1 %2 WHERE %3 OFFSET 0) %2")
            .arg(tabelle, alias, bedingung);
    }

    QString OhneGrossKlein(const QString& ausdruck) const override {
        return QStringLiteral("lower(%1)").arg(ausdruck);
    }

    QHash<QString, QString> Indexe(QSqlDatabase& db) const override {
        // The catalogue itself: the view pg_indexes costs ten times as much on every open.
        QHash<QString, QString> indexe;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (q.exec(QStringLiteral("SELECT relname, obj_description(oid, 'pg_class') FROM pg_class "
                                  "WHERE relkind = 'i' AND pg_table_is_visible(oid)")))
            while (q.next())
                indexe.insert(q.value(0).toString().toLower(), q.value(1).toString());
        return indexe;
    }
    // The mark is the index's comment: the definition it was made from.
    QStringList IndexAnlegen(const QString& name, const QString& spalten) const override {
        QString marke = IndexMarke(spalten);
        return {QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2").arg(name, spalten),
                QStringLiteral("COMMENT ON INDEX %1 IS '%2'")
                    .arg(name, marke.replace(QLatin1Char('\''), QStringLiteral("''")))};
    }
    QString IndexMarke(const QString& spalten) const override { return spalten; }

    // The server's autovacuum keeps the figures up as tables grow; only tables never measured
    // (a database just set up or filled) are measured here.
    void StatistikPflegen(QSqlDatabase& db) const override {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        QStringList tabellen;
        if (q.exec(QStringLiteral("SELECT c.relname FROM pg_class c WHERE c.relkind = 'r' AND "
                                  "c.reltuples < 0 AND c.relname IN ('t_fm_belegung', "
                                  "'t_rb_anzeige') AND pg_table_is_visible(c.oid)")))
            while (q.next())
                tabellen << q.value(0).toString();
        for (const QString& t : tabellen)
            q.exec(QStringLiteral("ANALYZE ") + t);
    }

    // The position in the server's write-ahead log moves with every commit (of any database of
    // the cluster, which costs no more than a read too many).
    Stand Datenstand(QSqlDatabase& db) const override {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (q.exec(QStringLiteral("SELECT CAST(pg_current_wal_lsn() - '0/0' AS bigint)")) &&
            q.next())
            return {q.value(0).toLongLong(), 0};
        return {-1, -1};
    }

    DbFehlerArt Art(const QSqlDatabase& db, const QSqlError& error) const override {
        // The driver closes the connection when it finds the server gone; a statement sent
        // through libpq itself leaves the driver unaware.
        if (!db.isOpen())
            return DbFehlerArt::Getrennt;
        if (PGconn* handle = PostgresHandle(db); handle && PQstatus(handle) == CONNECTION_BAD)
            return DbFehlerArt::Getrennt;
        const QString code = error.nativeErrorCode();
        // lock_not_available (the lock timeout), deadlock_detected, serialization_failure
        if (code == QLatin1String("55P03") || code == QLatin1String("40P01") ||
            code == QLatin1String("40001"))
            return DbFehlerArt::Belegt;
        // connection exceptions, and the server shutting down or starting
        if (code.startsWith(QLatin1String("08")) || code.startsWith(QLatin1String("57P")))
            return DbFehlerArt::Getrennt;
        return DbFehlerArt::Sonstiges;
    }
};

} // namespace

const Dialekt& PostgresDialekt() {
    static const Postgres dialekt;
    return dialekt;
}

#include "AenderungsJournal.h"

#include "Dialekt.h"
#include "SqlConnection.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>

namespace AenderungsJournal {

namespace {

// The same tables as in the schema file, for project databases made before them.
const char* const kAnlegen[] = {
    "CREATE TABLE IF NOT EXISTS T_Aenderung (lNr INTEGER PRIMARY KEY AUTOINCREMENT, "
    "stArt TEXT NOT NULL, lId INTEGER NOT NULL)",
    "CREATE UNIQUE INDEX IF NOT EXISTS IX_aenderung_art_id ON T_Aenderung (stArt, lId)",
    "CREATE TABLE IF NOT EXISTS T_NetzpultStand (stZiel TEXT NOT NULL DEFAULT '')",
};

QString ArtText(Art art) {
    return QString(QLatin1Char(static_cast<char>(art)));
}

bool AnlegenOhneTransaktion(QSqlDatabase db) {
    QSqlQuery q(db);
    for (const char* sql : kAnlegen)
        if (!q.exec(QLatin1String(sql)))
            return false;
    return true;
}

// Prepares a statement on the journal; a database without the journal gains it first (inside
// the caller's transaction).
bool Vorbereiten(QSqlQuery& q, QSqlDatabase db, const QString& sql) {
    return q.prepare(sql) || (AnlegenOhneTransaktion(db) && q.prepare(sql));
}

// Runs a statement on the journal, as Vorbereiten() would prepare it.
bool Schreiben(QSqlQuery& q, QSqlDatabase db, const QString& sql, const QVariantList& werte,
               QSqlError* error) {
    if (ExecBound(q, sql, werte))
        return true;
    const QSqlError erster = q.lastError();
    if (AnlegenOhneTransaktion(db) && ExecBound(q, sql, werte))
        return true;
    if (error)
        *error = erster;
    return false;
}

// Keys per statement, far below the placeholder limits.
constexpr qsizetype kProAnweisung = 400;

} // namespace

bool Vermerke(QSqlDatabase db, Art art, const QVector<int32_t>& ids, QSqlError* error) {
    // Each key once; a key noted before moves to the end of the journal.
    QVector<int32_t> schluessel;
    QSet<int32_t> gesehen;
    for (const int32_t id : ids)
        if (!gesehen.contains(id)) {
            gesehen.insert(id);
            schluessel.append(id);
        }
    QSqlQuery q(db);
    for (qsizetype ab = 0; ab < schluessel.size(); ab += kProAnweisung) {
        const qsizetype n = std::min(kProAnweisung, schluessel.size() - ab);
        QVariantList weg{ArtText(art)}, neu;
        for (qsizetype i = ab; i < ab + n; ++i) {
            weg << schluessel[i];
            neu << ArtText(art) << schluessel[i];
        }
        const QString marken = QStringLiteral("?") + QStringLiteral(", ?").repeated(n - 1);
        const QString zeilen =
            QStringLiteral("(?, ?)") + QStringLiteral(", (?, ?)").repeated(n - 1);
        if (!Schreiben(q, db,
                       QStringLiteral("DELETE FROM T_Aenderung WHERE stArt = ? AND lId IN (%1)")
                           .arg(marken),
                       weg, error) ||
            !Schreiben(q, db,
                       QStringLiteral("INSERT INTO T_Aenderung (stArt, lId) VALUES ") + zeilen, neu,
                       error))
            return false;
    }
    return true;
}

bool VermerkeBelegungen(QSqlDatabase db, const QString& bedingung, const QVariantList& werte,
                        QSqlError* error) {
    const QString auswahl = QStringLiteral(" FROM T_fm_belegung WHERE ") + bedingung;
    QSqlQuery q(db);
    return Schreiben(q, db,
                     QStringLiteral("DELETE FROM T_Aenderung WHERE stArt = 'B' AND lId IN "
                                    "(SELECT Rec_ID") +
                         auswahl + QLatin1Char(')'),
                     werte, error) &&
           Schreiben(q, db,
                     QStringLiteral("INSERT INTO T_Aenderung (stArt, lId) SELECT 'B', Rec_ID") +
                         auswahl + QStringLiteral(" ORDER BY Rec_ID"),
                     werte, error);
}

bool ReadStand(QSqlDatabase db, Stand& stand, QString* error) {
    stand = Stand();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!Vorbereiten(q, db,
                     QStringLiteral("SELECT COUNT(*), COALESCE(MAX(lNr), 0) FROM "
                                    "T_Aenderung")) ||
        !q.exec() || !q.next())
        return SqlFehler(q, error);
    stand.eintraege = q.value(0).toLongLong();
    stand.bisNr = q.value(1).toLongLong();
    q.finish();
    if (!q.exec(QStringLiteral("SELECT stZiel FROM T_NetzpultStand LIMIT 1")))
        return SqlFehler(q, error);
    if (q.next())
        stand.ziel = q.value(0).toString();
    return true;
}

bool ReadSchluessel(QSqlDatabase db, Art art, qint64 bisNr, QVector<int32_t>& ids, QString* error) {
    ids.clear();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!ExecBound(q,
                   QStringLiteral("SELECT lId FROM T_Aenderung WHERE stArt = ? AND lNr <= ? "
                                  "ORDER BY lId"),
                   {ArtText(art), bisNr}))
        return SqlFehler(q, error);
    while (q.next())
        ids.append(q.value(0).toInt());
    return !HasSqlError(q) || SqlFehler(q, error);
}

bool Abschliessen(QSqlDatabase db, qint64 bisNr, const QString* ziel, QString* error) {
    SchreibTransaktion tx(db);
    if (!tx.offen())
        return SqlFehler(tx.fehler(), error);
    QSqlQuery q(db);
    if (!ExecBound(q, QStringLiteral("DELETE FROM T_Aenderung WHERE lNr <= ?"), {bisNr}))
        return SqlFehler(q, error);
    if (ziel &&
        (!ExecBound(q, QStringLiteral("DELETE FROM T_NetzpultStand")) ||
         !ExecBound(q, QStringLiteral("INSERT INTO T_NetzpultStand (stZiel) VALUES (?)"), {*ziel})))
        return SqlFehler(q, error);
    return tx.commit() || SqlFehler(tx.fehler(), error);
}

bool Anlegen(QSqlDatabase db) {
    // A server database has the journal from its schema. Only in a reservation database: a
    // foreign file stays untouched.
    if (Dialekt::Von(db).Typ() != DbTyp::SQLite)
        return true;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT SUM(name = 'T_fm_belegung'), COUNT(*) FROM sqlite_master "
                               "WHERE name IN ('T_fm_belegung', 'T_Aenderung', "
                               "'IX_aenderung_art_id', 'T_NetzpultStand')")) ||
        !q.next() || q.value(0).toInt() == 0)
        return false;
    if (q.value(1).toInt() == 4)
        return true;
    q.finish();
    SchreibTransaktion tx(db);
    return tx.offen() && AnlegenOhneTransaktion(db) && tx.commit();
}

} // namespace AenderungsJournal

#include "WebQueries.h"

#include "SqlConnection.h"
#include "ZeilenAbbildung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace WebQueries {

namespace {

// "?, ?, ..." for a list of keys.
QString Marken(qsizetype anzahl) {
    QString out;
    for (qsizetype i = 0; i < anzahl; ++i)
        out += i == 0 ? QStringLiteral("?") : QStringLiteral(", ?");
    return out;
}

QVariantList Werte(const QVector<int32_t>& ids) {
    QVariantList out;
    out.reserve(ids.size());
    for (const int32_t id : ids)
        out.append(id);
    return out;
}

// Reads the rows of `sql` into `out`; an empty list of keys reads nothing.
template <class Rec>
bool ReadRows(const QString& connection, const QString& sql, const QVariantList& binds,
              QVector<Rec>& out, QString* error, const QVector<int32_t>* ids = nullptr) {
    out.clear();
    if (ids && ids->isEmpty())
        return true;
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    bool ok = ExecBound(q, sql, binds);
    if (ok) {
        const ZeilenAbbildung::RowReader<Rec> reader(q.record());
        Rec row;
        while (ok && q.next()) {
            ok = reader.read(q, row);
            out.append(row);
        }
        ok = ok && !HasSqlError(q);
    }
    if (!ok && error)
        *error = HasSqlError(q) ? q.lastError().text().trimmed()
                                : QStringLiteral("Eine Zeile hat unerwartete Werte.");
    return ok;
}

// The keys of `ids` as an IN list, or no condition for all.
QString Auswahl(const QString& spalte, const QVector<int32_t>* ids) {
    return ids ? QStringLiteral(" WHERE %1 IN (%2)").arg(spalte, Marken(ids->size())) : QString();
}

} // namespace

bool BelegungenAb(const QString& connection, int32_t nachId, int anzahl, QVector<CBelegungRec>& out,
                  QString* error) {
    return ReadRows(
        connection,
        QStringLiteral("SELECT * FROM T_fm_belegung WHERE Rec_ID > ? AND bArchiviert = 0 "
                       "ORDER BY Rec_ID LIMIT ?"),
        {nachId, anzahl}, out, error);
}

bool Belegungen(const QString& connection, const QVector<int32_t>& ids, QVector<CBelegungRec>& out,
                QString* error) {
    return ReadRows(connection,
                    QStringLiteral("SELECT * FROM T_fm_belegung") +
                        Auswahl(QStringLiteral("Rec_ID"), &ids) +
                        QStringLiteral(" AND bArchiviert = 0 ORDER BY Rec_ID"),
                    Werte(ids), out, error, &ids);
}

bool HoechsteBelegung(const QString& connection, int32_t& id, QString* error) {
    QSqlQuery q(QSqlDatabase::database(connection, false));
    if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(Rec_ID), 0) FROM T_fm_belegung")) ||
        !q.next()) {
        if (error)
            *error = q.lastError().text().trimmed();
        return false;
    }
    id = q.value(0).toInt();
    return true;
}

bool RaeumeDerArten(const QString& connection, const QVector<int32_t>& artIds,
                    QVector<int32_t>& out, QString* error) {
    QVector<CAnzeigeRec> raeume;
    if (!ReadRows(connection,
                  QStringLiteral("SELECT * FROM T_rb_Anzeige") +
                      Auswahl(QStringLiteral("lRaumartId"), &artIds),
                  Werte(artIds), raeume, error, &artIds))
        return false;
    out.clear();
    for (const CAnzeigeRec& r : std::as_const(raeume))
        out.append(r.az_ID);
    return true;
}

bool Raumarten(const QString& connection, const QVector<int32_t>* ids, QVector<CRaumartRec>& out,
               QString* error) {
    return ReadRows(connection,
                    QStringLiteral("SELECT * FROM T_Raumart") +
                        Auswahl(QStringLiteral("lId"), ids) + QStringLiteral(" ORDER BY lId"),
                    ids ? Werte(*ids) : QVariantList(), out, error, ids);
}

} // namespace WebQueries

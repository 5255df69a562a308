#pragma once

#include "Records.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <QVariantList>
#include <QVector>

// The rows the publication writes to the portal's three tables and the statements that write
// and delete them by the reservation's keys, values always bound. No widgets.
namespace NetzpultZeilen {

// A portal table as the publication writes it.
struct Tabelle {
    QString name;
    QString schluessel;  // the column holding the reservation's key
    QString bedingung;   // what marks a published row ("" = every row is one)
    QStringList spalten; // in the order of Werte()
};
const Tabelle& Raumarten();
const Tabelle& Raeume();
const Tabelle& Belegungen();

QVariantList Werte(const CRaumartRec& art);
QVariantList Werte(const CAnzeigeRec& raum);
QVariantList Werte(const CBelegungRec& belegung);

// Rows per multi-row INSERT.
inline constexpr int kBlockZeilen = 400;

// Inserts the rows with multi-row INSERT statements of up to kBlockZeilen rows.
bool Einfuegen(QSqlDatabase db, const Tabelle& t, const QVector<QVariantList>& zeilen,
               QSqlError* error);
// Deletes the published rows whose key is one of `ids`.
bool Loeschen(QSqlDatabase db, const Tabelle& t, const QVector<int32_t>& ids, QSqlError* error);

} // namespace NetzpultZeilen

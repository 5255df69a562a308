#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <cstdint>

// The change journal: the bookings, rooms and room types written since the portal last learnt
// of them, by kind and key. Every write of these tables records its keys here inside its own
// transaction, so the publication carries over just what changed and reads the rows as they
// are then. It removes the entries it applied only after the portal committed them.
namespace AenderungsJournal {

enum class Art : char { Belegung = 'B', Raum = 'R', Raumart = 'A' };

// Records keys inside the caller's transaction. A key recorded before gets a new number, so a
// publication that read the older entry does not remove this one.
bool Vermerke(QSqlDatabase db, Art art, const QVector<int32_t>& ids, QSqlError* error);
// Records the bookings that `bedingung` (an SQL condition on T_fm_belegung with `werte` bound in
// order) selects, before the caller changes or deletes them.
bool VermerkeBelegungen(QSqlDatabase db, const QString& bedingung, const QVariantList& werte,
                        QSqlError* error);

struct Stand {
    qint64 eintraege = 0; // entries up to bisNr
    qint64 bisNr = 0;     // the highest entry number; 0 = none
    QString ziel;         // the portal the last full copy went to; empty = none yet
};
bool ReadStand(QSqlDatabase db, Stand& stand, QString* error);
// The keys of one kind recorded up to `bisNr`, ascending.
bool ReadSchluessel(QSqlDatabase db, Art art, qint64 bisNr, QVector<int32_t>& ids, QString* error);
// After the portal committed: removes the entries up to `bisNr` (newer ones stay) and, after a
// full copy, remembers the portal it went to. One write transaction.
bool Abschliessen(QSqlDatabase db, qint64 bisNr, const QString* ziel, QString* error);

// Creates the journal in a reservation database made before it existed; true when it is there.
bool Anlegen(QSqlDatabase db);

} // namespace AenderungsJournal

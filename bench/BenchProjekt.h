#pragma once

// Fills a project database for the benchmarks: room types, rooms, and bookings spread evenly
// over a span of days, no two bookings of a room overlapping (set-up and clear-down included)
// as long as a room has at most kSlotsProTag bookings a day. Everything is written in one
// transaction by prepared inserts that make the rows inside SQLite, so half a million bookings
// take a few seconds.
//
//   BenchProjekt::Optionen o;
//   o.belegungen = 500000;
//   o.ersterTag = TovoDate::fromParts(2024, 1, 1);
//   QString error;
//   if (!BenchProjekt::Erzeuge(connection, o, &error)) ...
#include "TovoDate.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <algorithm>

namespace BenchProjekt {

struct Optionen {
    int raumarten = 8;
    int raeume = 200;
    int belegungen = 100000;
    double ersterTag = 45292;  // 1.1.2024
    double tage = 5 * 365.0;   // the bookings of a room are spread evenly over these days
    int umbauJede = 3;         // every n-th booking has set-up and clear-down spans (0 = none)
    int archivierteJede = 0;   // every n-th booking is archived (0 = none)
    int auftragNrStart = 1000; // booking n (counted from 0) gets order number start + n
};

// At most this many bookings of a room fit on one day without overlapping.
inline constexpr int kSlotsProTag = 4;

// The rooms get the ids 1..raeume when the tables were empty; room r has the room type
// (r - 1) % raumarten + 1 and the short name "Raum 001" ...
inline int RaumartVon(const Optionen& o, int raum) {
    return (raum - 1) % o.raumarten + 1;
}

inline bool Erzeuge(const QString& connection, const Optionen& o, QString* error) {
    QSqlDatabase db = QSqlDatabase::database(connection, false);
    QSqlQuery q(db);
    auto fail = [&](const QSqlError& e) {
        if (error)
            *error = e.text();
        db.rollback();
        return false;
    };
    // A large page cache keeps the index pages in memory while the rows go in.
    q.exec(QStringLiteral("PRAGMA cache_size = -262144"));
    if (!db.transaction())
        return fail(db.lastError());

    if (!q.prepare(QStringLiteral("INSERT INTO T_Raumart (stRaumArt) VALUES (?)")))
        return fail(q.lastError());
    for (int t = 1; t <= o.raumarten; ++t) {
        q.bindValue(0, QStringLiteral("Raumart %1").arg(t));
        if (!q.exec())
            return fail(q.lastError());
    }
    if (!q.prepare(QStringLiteral("INSERT INTO T_rb_Anzeige (RaumNr, Kurzbez, lRaumartId, "
                                  "IANZAHLPERS, stAusstattung) VALUES (?, ?, ?, ?, ?)")))
        return fail(q.lastError());
    for (int r = 1; r <= o.raeume; ++r) {
        q.bindValue(0, QStringLiteral("1.1.%1.%2").arg(r / 50).arg(r, 3, 10, QLatin1Char('0')));
        q.bindValue(1, QStringLiteral("Raum %1").arg(r, 3, 10, QLatin1Char('0')));
        q.bindValue(2, RaumartVon(o, r));
        q.bindValue(3, 10 + r % 40);
        q.bindValue(4, QStringLiteral("WPB"));
        if (!q.exec())
            return fail(q.lastError());
    }

    // One statement per room makes its bookings: row i lies on day floor(first + i * step) in
    // slot i % 4, so up to four bookings of one day never meet. Slot s: set-up from 7:00 + 4s,
    // the booking from 8:00 or 8:30 (+ 4s) for one or two hours, clear-down for half an hour
    // after it; the next slot starts at 11:00 + 4s. The variations come from a hash of the
    // running number n.
    const QString mitBau = QStringLiteral("CASE WHEN bau THEN %1 ELSE 2958465 END");
    if (!q.prepare(
            QStringLiteral(
                "WITH RECURSIVE seq(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM seq WHERE i + 1 < "
                ":anzahl), "
                "z AS (SELECT i, :n0 + i AS n, CAST(:erster + i * :schritt AS INTEGER) AS tag "
                "FROM seq), "
                "w AS (SELECT n, tag, (8 + 4 * (i % 4) + ((n * 2654435761) % 4294967296) / 8192 "
                "% 2 * 0.5) / 24.0 AS von, (1 + (n * 40503) % 65536 / 1024 % 2) / 24.0 AS dauer, "
                ":umbau > 0 AND n % :umbau = 0 AS bau, "
                ":archiv > 0 AND n % :archiv = 0 AS archiv FROM z) "
                "INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, dt_bis, tm_bis, "
                "Best, Verst, STEMAIL, Udt_von, Utm_von, Udt_bis, Utm_bis, Rdt_von, Rtm_von, "
                "Rdt_bis, Rtm_bis, bArchiviert, datBestellung, datErstBestellung) "
                "SELECT :nrStart + n, :raum, tag, von, tag, von + dauer, "
                "'Besteller ' || (n % 997), 'Veranstaltung ' || (n % 113), "
                "'person' || (n % 997) || '@firma.example', ") +
            mitBau.arg(QStringLiteral("tag")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("von - 1 / 24.0")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("tag")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("von")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("tag")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("von + dauer")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("tag")) + QStringLiteral(", ") +
            mitBau.arg(QStringLiteral("von + dauer + 1 / 48.0")) +
            QStringLiteral(", CASE WHEN archiv THEN -1 ELSE 0 END, tag - 14, tag - 14 FROM w")))
        return fail(q.lastError());
    int n = 0;
    for (int r = 1; r <= o.raeume; ++r) {
        // The first rooms take the remainder, so the total is exact.
        const int proRaum = o.belegungen / o.raeume + (r <= o.belegungen % o.raeume ? 1 : 0);
        if (proRaum == 0)
            continue;
        q.bindValue(QStringLiteral(":anzahl"), proRaum);
        q.bindValue(QStringLiteral(":n0"), n);
        q.bindValue(QStringLiteral(":erster"), o.ersterTag);
        q.bindValue(QStringLiteral(":schritt"), o.tage / proRaum);
        q.bindValue(QStringLiteral(":umbau"), o.umbauJede);
        q.bindValue(QStringLiteral(":archiv"), o.archivierteJede);
        q.bindValue(QStringLiteral(":nrStart"), o.auftragNrStart);
        q.bindValue(QStringLiteral(":raum"), r);
        if (!q.exec())
            return fail(q.lastError());
        n += proRaum;
    }

    // The counter lies above every order number, as the program keeps it.
    if (!q.prepare(QStringLiteral("UPDATE T_NextNr SET lNextNr = ?")))
        return fail(q.lastError());
    q.bindValue(0, o.auftragNrStart + n);
    if (!q.exec())
        return fail(q.lastError());
    if (!db.commit())
        return fail(db.lastError());
    q.exec(QStringLiteral("PRAGMA cache_size = -2000"));
    // Fresh statistics, as the program keeps them for a grown project.
    q.exec(QStringLiteral("ANALYZE"));
    return true;
}

} // namespace BenchProjekt

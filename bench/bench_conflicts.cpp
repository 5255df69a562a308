// Measures the room tests and the series save on a large generated project against hand-written
// SQL answering the same question on the same database, and prints the figures, last the line
// "series_check_ratio=S free_rooms_ratio=F savejour_ratio=J" (medians of the runs):
//   S = conflict test of a 365-date series in one room / one query finding the same dates
//   F = free-room search over 200 rooms / one query finding the same free rooms
//   J = SaveJour of 365 dates / a bare prepared INSERT of the same rows in one transaction
// Usage: bench_conflicts [bookings] [runs]   (defaults 100000 and 7)
#include "BenchProjekt.h"
#include "CRvDb.h"
#include "CSerienFkt.h"
#include "KonfliktSuche.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "SerienSpeichern.h"
#include "SqlConnection.h"
#include "TovoDate.h"
#include "ZeilenAbbildung.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double Median(QVector<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0.0 : v[v.size() / 2];
}

double Millisekunden(const std::function<void()>& f) {
    QElapsedTimer uhr;
    uhr.start();
    f();
    return uhr.nsecsElapsed() / 1e6;
}

// The hand-written queries join the bookings first: SQLite 3.40 answers the other join order
// wrongly when it puts a Bloom filter on the expression index.
//
// The stored booking's span and the conflict rule written out in SQL, for a date `tag` with the
// times `von`, `bis` (fractions of a day) and the tolerance `tol` in days: SQL text over the
// table alias b with the placeholders replaced.
QString RegelSql(const QString& tag, const QString& von, const QString& bis, const QString& tol) {
    const QString ab = Konflikt::BelegtAbSql();
    const QString ende = Konflikt::BelegtBisSql();
    const QString abZeit = QStringLiteral("(CASE WHEN Udt_von IS NULL OR (Udt_von >= 2958465 AND "
                                          "Udt_von < 2958466) THEN tm_von ELSE "
                                          "coalesce(Utm_von, 0) END)");
    const QString endeZeit = QStringLiteral("(CASE WHEN Rdt_bis IS NULL OR (Rdt_bis >= 2958465 "
                                            "AND Rdt_bis < 2958466) THEN tm_bis ELSE "
                                            "coalesce(Rtm_bis, 0) END)");
    return QStringLiteral("%1 >= %5 AND %2 <= %5 AND NOT ("
                          "(CAST(%1 AS INTEGER) = %5 AND %4 + %8 <= %6) OR "
                          "(CAST(%2 AS INTEGER) = %5 AND %7 + %8 <= %3))")
        .arg(ende, ab, abZeit, endeZeit, tag, von, bis, tol);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int belegungen = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int laeufe = std::max(5, argc > 2 ? std::atoi(argv[2]) : 7);

    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("TovoRaumverw.mdb"));
    const QString vorlage = QString::fromLocal8Bit(qgetenv("TOVO_BIN_DIR")).isEmpty()
                                ? QCoreApplication::applicationDirPath()
                                : QString::fromLocal8Bit(qgetenv("TOVO_BIN_DIR"));
    if (!QFile::copy(vorlage + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb"), pfad)) {
        std::fprintf(stderr, "template database not found\n");
        return 1;
    }
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner);
    CRvDb db;
    db.SetDbPath(pfad);
    db.SetOpenReadOnly(false);
    gDb = QStringLiteral("bench");
    if (!db.OpenDb() || !OpenSqliteConnection(pfad, gDb, false, nullptr)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(pfad));
        return 1;
    }
    gRvDb = &db;
    gdToleranz = 15 / 1440.0;

    BenchProjekt::Optionen o;
    o.belegungen = belegungen;
    o.archivierteJede = 50;
    QString error;
    QElapsedTimer uhr;
    uhr.start();
    if (!BenchProjekt::Erzeuge(gDb, o, &error)) {
        std::fprintf(stderr, "generating failed: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("generated %d bookings in %d rooms in %.0f ms\n", belegungen, o.raeume,
                uhr.nsecsElapsed() / 1e6);

    // The dates lie in the last year of the history, where new bookings go.
    const double erster = o.ersterTag + 4 * 365;
    const double von = 16 / 24.0 + 30 / 1440.0, bis = 17 / 24.0 + 30 / 1440.0;
    const int32_t raum = 1;
    const QString tol = QString::number(gdToleranz, 'g', 17);
    QSqlDatabase con = QSqlDatabase::database(gDb);

    // --- series check: 365 dates of one room -------------------------------------------------
    QVector<Konflikt::Termin> termine;
    for (int i = 0; i < 365; ++i)
        termine.append({raum, Konflikt::Spanne(erster + i, von, erster + i, bis)});
    QStringList werte;
    for (int i = 0; i < 365; ++i)
        werte << QStringLiteral("(%1)").arg(erster + i, 0, 'f', 0);
    const QString serieSql =
        QStringLiteral("WITH t(tag) AS (VALUES %1) SELECT DISTINCT t.tag FROM T_fm_belegung b "
                       "CROSS JOIN t ON %2 WHERE b.rb_id = ? AND %3 >= ? AND "
                       "%4 <= ? ORDER BY t.tag")
            .arg(werte.join(QLatin1Char(',')),
                 RegelSql(QStringLiteral("t.tag"), QString::number(von, 'g', 17),
                          QString::number(bis, 'g', 17), tol),
                 Konflikt::BelegtBisSql(), Konflikt::BelegtAbSql());
    QSet<int> unsere, ihre;
    QVector<double> serieUns, serieSql_;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        serieUns << Millisekunden([&] {
            unsere.clear();
            Konflikt::Konflikte(
                gDb, termine, {}, gdToleranz, Konflikt::Lesart::Raumtest,
                [&](const Konflikt::Treffer& t) {
                    unsere.insert(t.termin);
                    return true;
                },
                &error);
        });
        serieSql_ << Millisekunden([&] {
            ihre.clear();
            QSqlQuery q(con);
            q.setForwardOnly(true);
            if (!ExecBound(q, serieSql, {raum, erster - 2, erster + 366}))
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            while (q.next())
                ihre.insert(int(q.value(0).toDouble() - erster));
        });
    }
    std::printf("series check: %.2f ms, hand-written query %.2f ms, %lld and %lld conflicting "
                "dates\n",
                Median(serieUns), Median(serieSql_), qlonglong(unsere.size()),
                qlonglong(ihre.size()));

    // --- free-room search: all 200 rooms for one span
    // --------------------------------------------- A day on which the rooms are booked in the
    // afternoon, and a time that some of the bookings leave free.
    const double tag =
        erster + (unsere.isEmpty() ? 100 : *std::min_element(unsere.cbegin(), unsere.cend()));
    const double freiVon = 17 / 24.0 + 45 / 1440.0, freiBis = 18 / 24.0 + 30 / 1440.0;
    R_Main::FreiAnfrage anfrage;
    anfrage.spanne = Konflikt::Spanne(tag, freiVon, tag, freiBis);
    const QString freiSql =
        QStringLiteral("SELECT r.az_ID FROM T_rb_Anzeige r WHERE NOT EXISTS (SELECT 1 FROM "
                       "T_fm_belegung b WHERE b.rb_id = r.az_ID AND %1 >= "
                       "? AND %2) ORDER BY r.Kurzbez")
            .arg(Konflikt::BelegtBisSql(),
                 RegelSql(QString::number(tag, 'f', 0), QString::number(freiVon, 'g', 17),
                          QString::number(freiBis, 'g', 17), tol));
    QVector<R_Main::FreierRaum> frei;
    int freiSqlAnzahl = 0;
    QVector<double> freiUns, freiRef;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        bool nichtAlle = false;
        freiUns << Millisekunden([&] { R_Main::Free(anfrage, 0, 0, frei, nichtAlle); });
        freiRef << Millisekunden([&] {
            freiSqlAnzahl = 0;
            QSqlQuery q(con);
            q.setForwardOnly(true);
            if (!ExecBound(q, freiSql, {tag - 2}))
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            while (q.next())
                ++freiSqlAnzahl;
        });
    }
    std::printf("free rooms: %.2f ms, hand-written query %.2f ms, %lld and %d free\n",
                Median(freiUns), Median(freiRef), qlonglong(frei.size()), freiSqlAnzahl);

    // --- SaveJour of 365 dates against a bare INSERT ------------------------------------------
    CSerienFkt regel;
    regel.SetdatBeginn(TovoDate(erster));
    regel.SetdatEnde(TovoDate(erster + 364));
    regel.SetDaily(1);
    CBelegungRec muster;
    muster.rb_id = raum;
    muster.tm_von = 23 / 24.0 + 20 / 1440.0; // after the last slot of the day
    muster.tm_bis = 23 / 24.0 + 50 / 1440.0;
    muster.Best = QStringLiteral("Bench");
    muster.stSerieBem = QStringLiteral("Alle 1 Tage");
    QSqlQuery aufraeumen(con);
    QVector<double> jour, bare;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        CBelegungRec b = muster;
        jour << Millisekunden([&] {
            if (!R_Main::SaveJour(regel, b, &db, {}))
                std::fprintf(stderr, "SaveJour failed\n");
        });
        aufraeumen.exec(QStringLiteral("DELETE FROM T_fm_belegung WHERE Best = 'Bench'"));
        bare << Millisekunden([&] {
            con.transaction();
            QSqlQuery q(con);
            q.prepare(ZeilenAbbildung::insertSql<CBelegungRec>());
            CBelegungRec zeile = muster;
            zeile.lAuftrNr = 1;
            for (int i = 0; i < 365; ++i) {
                zeile.dt_von = zeile.dt_bis = erster + i;
                ZeilenAbbildung::bindFields(q, zeile);
                q.exec();
            }
            con.commit();
        });
        aufraeumen.exec(QStringLiteral("DELETE FROM T_fm_belegung WHERE Best = 'Bench'"));
    }
    std::printf("SaveJour of 365 dates: %.2f ms, bare INSERT %.2f ms\n", Median(jour),
                Median(bare));

    const double s = Median(serieUns) / Median(serieSql_);
    const double f = Median(freiUns) / Median(freiRef);
    const double j = Median(jour) / Median(bare);
    std::printf("series_check_ratio=%.2f free_rooms_ratio=%.2f savejour_ratio=%.2f\n", s, f, j);
    gRvDb = nullptr;
    CloseSqliteConnection(gDb);
    return 0;
}

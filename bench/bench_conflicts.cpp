// Measures the room tests of the reservation form and the saving of a series on a project made
// by the program (BenchProjekt.h), each against hand-written SQL that answers the same question
// bounded by the same dates, on the same database with the program's indexes. Prints the
// figures, last the line "series_check_ratio=S free_rooms_ratio=F savejour_ratio=J":
//   S = the form's check of a 365-date series in one room (R_Main::SindFrei) / one query that
//       finds the conflicting dates, a bounded EXISTS per date
//   F = the form's free-room search (R_Main::Free) over 200 rooms / one NOT EXISTS query
//   J = SaveJour of 365 dates / the bounded check and a prepared INSERT of the rows in one
//       transaction
// Each figure is the median of `runs` runs after a warm-up, numerator and baseline in turns.
// Usage: bench_conflicts [bookings] [runs]   (defaults 100000 and 9)
#include "BenchProjekt.h"
#include "BenchSerie.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "SerienSpeichern.h"
#include "SqlConnection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

double Ms(const std::function<void()>& f) {
    QElapsedTimer uhr;
    uhr.start();
    f();
    return uhr.nsecsElapsed() / 1e6;
}

// Numerator and baseline in turns after a warm-up of each, `danach` untimed after every run;
// their medians.
std::pair<double, double> Vergleich(
    int laeufe, const std::function<void()>& unser, const std::function<void()>& basis,
    const std::function<void()>& danach = [] {}) {
    QVector<double> a, b;
    for (int i = 0; i <= laeufe; ++i) {
        const double x = Ms(unser);
        danach();
        const double y = Ms(basis);
        danach();
        if (i > 0) {
            a << x;
            b << y;
        }
    }
    return {Median(a), Median(b)};
}

// A stored booking b in the way of a date `tag` from `von` to `bis` (fractions of a day), with
// the tolerance `tol`: the generated bookings lie within one day, their set-up and clear-down
// times (where set) included.
const char* const kImWeg =
    "b.rb_id = %1 AND b.dt_von >= %2 - 1 AND b.dt_von <= %2 AND "
    "CAST(b.dt_von AS INTEGER) = CAST(%2 AS INTEGER) AND "
    "(CASE WHEN b.Rdt_bis IS NULL OR b.Rdt_bis >= 2958465 THEN b.tm_bis ELSE b.Rtm_bis END) + "
    "%5 > %3 AND %4 + %5 > "
    "(CASE WHEN b.Udt_von IS NULL OR b.Udt_von >= 2958465 THEN b.tm_von ELSE b.Utm_von END)";

QString ImWeg(const QString& raum, const QString& tag, double von, double bis, double tol) {
    return QString::fromLatin1(kImWeg).arg(raum, tag, QString::number(von, 'g', 17),
                                           QString::number(bis, 'g', 17),
                                           QString::number(tol, 'g', 17));
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int belegungen = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int laeufe = std::max(5, argc > 2 ? std::atoi(argv[2]) : 9);

    QTemporaryDir dir;
    BenchProjekt::Optionen o;
    o.belegungen = belegungen;
    o.archivBis = TovoDate::today().value() - 2 * 365;
    QString error;
    if (!BenchProjekt::Bereitstellen(dir.path(), o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    // Opened as the program opens a project: CRvDb, and the direct connection of the views.
    const QString pfad = dir.filePath(QStringLiteral("TovoRaumverw.mdb"));
    CRvDb db;
    db.SetDbPath(pfad);
    db.SetOpenReadOnly(false);
    gDb = QStringLiteral("bench");
    if (!db.OpenDb() || !OpenSqliteConnection(pfad, gDb, false, &error)) {
        std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(pfad), qPrintable(error));
        return 1;
    }
    gRvDb = &db;
    gdToleranz = 15 / 1440.0;
    QSqlDatabase con = QSqlDatabase::database(gDb);

    // The dates: the year from next month on, where new bookings go, in the afternoon.
    const TovoDate heute = TovoDate::today();
    const double erster = TovoDate::fromParts(heute.year(), heute.month(), 1).addMonths(1);
    const double von = 16 / 24.0 + 30 / 1440.0, bis = 17 / 24.0 + 30 / 1440.0;

    // --- series check: 365 dates of room 1 --------------------------------------------------
    QVector<Konflikt::Termin> termine;
    QStringList tage;
    for (int i = 0; i < 365; ++i) {
        termine.append({1, Konflikt::Spanne(erster + i, von, erster + i, bis)});
        tage << QStringLiteral("(%1)").arg(erster + i, 0, 'f', 0);
    }
    const auto serieSqlFuer = [&](double v, double b) {
        return QStringLiteral("WITH t(tag) AS (VALUES %1) SELECT t.tag FROM t WHERE EXISTS "
                              "(SELECT 1 FROM T_fm_belegung b WHERE %2) ORDER BY t.tag")
            .arg(tage.join(QLatin1Char(',')),
                 ImWeg(QStringLiteral("1"), QStringLiteral("t.tag"), v, b, gdToleranz));
    };
    const QString serieSql = serieSqlFuer(von, bis);
    int konflikt = -1, belegt = 0;
    const auto [serieUns, serieRef] = Vergleich(
        laeufe, [&] { R_Main::SindFrei(termine, {}, konflikt); },
        [&] {
            QSqlQuery q(con);
            q.setForwardOnly(true);
            if (!q.exec(serieSql))
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            for (belegt = 0; q.next();)
                ++belegt;
        });
    std::printf("series check: %.2f ms (first conflict at date %d), hand-written %.2f ms "
                "(%d conflicting dates)\n",
                serieUns, konflikt, serieRef, belegt);

    // --- free-room search: all 200 rooms for one span ----------------------------------------
    const double tag = erster + 10;
    R_Main::FreiAnfrage anfrage;
    anfrage.spanne = Konflikt::Spanne(tag, von, tag, bis);
    const QString freiSql = QStringLiteral("SELECT r.az_ID FROM T_rb_Anzeige r WHERE NOT EXISTS "
                                           "(SELECT 1 FROM T_fm_belegung b WHERE %1) "
                                           "ORDER BY r.Kurzbez")
                                .arg(ImWeg(QStringLiteral("r.az_ID"), QString::number(tag, 'f', 0),
                                           von, bis, gdToleranz));
    QVector<R_Main::FreierRaum> frei;
    int freiRef = 0;
    const auto [freiUns, freiBasis] = Vergleich(
        laeufe,
        [&] {
            bool nichtAlle = false;
            R_Main::Free(anfrage, 0, 0, frei, nichtAlle);
        },
        [&] {
            QSqlQuery q(con);
            q.setForwardOnly(true);
            if (!q.exec(freiSql))
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
            for (freiRef = 0; q.next();)
                ++freiRef;
        });
    std::printf("free rooms: %.2f ms, hand-written %.2f ms, %lld and %d free\n", freiUns, freiBasis,
                qlonglong(frei.size()), freiRef);

    // --- SaveJour of 365 dates against the check and a bare INSERT -------------------------
    const CSerienFkt regel = BenchSerie::Regel(erster);
    const CBelegungRec muster = BenchSerie::Muster();
    const QString pruefSql = serieSqlFuer(muster.tm_von, muster.tm_bis);
    const auto aufraeumen = [&] {
        QSqlQuery(con).exec(QStringLiteral("DELETE FROM T_fm_belegung WHERE Best = 'Bench'"));
    };
    const auto [jour, bare] = Vergleich(
        laeufe,
        [&] {
            CBelegungRec b = muster;
            if (!R_Main::SaveJour(regel, b, &db, {}))
                std::fprintf(stderr, "SaveJour failed\n");
        },
        [&] {
            QSqlQuery q(con);
            q.exec(QStringLiteral("BEGIN IMMEDIATE"));
            q.exec(pruefSql);
            while (q.next()) {
            }
            q.prepare(QStringLiteral(
                "INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, dt_bis, tm_bis, "
                "Best, Tel, Fax, Inst, KST, Pers, Verst, Bem, stSerieBem, Udt_von, Utm_von, "
                "Udt_bis, Utm_bis, Rdt_von, Rtm_von, Rdt_bis, Rtm_bis) VALUES (1, 1, ?, ?, ?, ?, "
                "?, '', '', '', '', '', '', '', ?, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
                "NULL)"));
            for (int i = 0; i < 365; ++i) {
                for (const QVariant& v :
                     {QVariant(erster + i), QVariant(muster.tm_von), QVariant(erster + i),
                      QVariant(muster.tm_bis), QVariant(muster.Best), QVariant(muster.stSerieBem)})
                    q.addBindValue(v);
                q.exec();
            }
            q.exec(QStringLiteral("UPDATE T_NextNr SET lNextNr = lNextNr + 1"));
            q.exec(QStringLiteral("COMMIT"));
        },
        aufraeumen);
    std::printf("SaveJour of 365 dates: %.2f ms, check and bare INSERT %.2f ms\n", jour, bare);

    std::printf("series_check_ratio=%.2f free_rooms_ratio=%.2f savejour_ratio=%.2f\n",
                serieUns / serieRef, freiUns / freiBasis, jour / bare);
    gRvDb = nullptr;
    con = QSqlDatabase();
    CloseSqliteConnection(gDb);
    return 0;
}

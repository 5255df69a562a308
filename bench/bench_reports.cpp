// Measures the preparation of the print table on a project made by the program (BenchProjekt.h,
// every booking of the first years archived) against hand-written SQL that copies the same rows,
// read room by room through the program's index on room and start day, bounded on both sides by
// the same dates. Prints the figures, last the line
// "prepare_ratio=R old_year_ratio=O usage_ratio=U":
//   R = the period list of the last whole year / the hand-written copy of it
//   O = the same for the first year of the project
//   U = the usage statistics of the last whole year / the hand-written copy of that year
// Medians of 5 runs after a warm-up, in turns.
// Usage: bench_reports [bookings]   (default 500000, at 100,000 a year)
#include "BenchProjekt.h"
#include "Bericht.h"
#include "BerichtArt.h"
#include "DruckTabelle.h"
#include "RvGlobals.h"
#include "SqlConnection.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

double Ms(const std::function<bool()>& f, bool& ok) {
    QElapsedTimer t;
    t.start();
    ok = f() && ok;
    return t.nsecsElapsed() / 1e6;
}

// Medians of both after a warm-up, in turns.
std::pair<double, double> Vergleich(const std::function<bool()>& unser,
                                    const std::function<bool()>& basis, bool& ok) {
    QVector<double> a, b;
    for (int i = 0; i <= 5; ++i) {
        const double x = Ms(unser, ok), y = Ms(basis, ok);
        if (i > 0) {
            a << x;
            b << y;
        }
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int bookings = argc > 1 ? atoi(argv[1]) : 500000;

    QTemporaryDir dir;
    BenchProjekt::Optionen o;
    o.belegungen = bookings;
    const TovoDate heute = TovoDate::today();
    o.archivBis = TovoDate::fromParts(heute.year() - 1, 1, 1);
    QString error;
    if (!BenchProjekt::Bereitstellen(dir.path(), o, &error)) {
        fprintf(stderr, "Projekt nicht erzeugt: %s\n", qPrintable(error));
        return 1;
    }
    const QString path = dir.filePath(QStringLiteral("TovoRaumverw.mdb"));
    CRvDb rvDb;
    rvDb.SetDbPath(path);
    rvDb.SetOpenReadOnly(false);
    const QString con = QStringLiteral("bench");
    if (!rvDb.OpenDb() || !OpenSqliteConnection(path, con, false, &error)) {
        fprintf(stderr, "Projekt nicht geöffnet: %s\n", qPrintable(error));
        return 1;
    }
    gstProjektDir = dir.path() + QLatin1Char('/');
    QSqlDatabase db = QSqlDatabase::database(con);

    // The bookings of the days `von` to `bis` copied as the period list copies them.
    const auto kopie = [&](double von, double bis) {
        // Into a print table of this connection's own, as the preparations write.
        QSqlQuery q(db);
        return q.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS t_tmp_Druck AS SELECT * "
                                     "FROM main.t_tmp_Druck WHERE 0")) &&
               q.exec(QStringLiteral("BEGIN")) &&
               q.exec(QStringLiteral("DELETE FROM t_tmp_Druck")) &&
               ExecBound(
                   q,
                   QStringLiteral(
                       "INSERT INTO t_tmp_Druck (lAuftrNr, Kurzbez, rb, Kst, dt_von, tm_von, "
                       "dt_bis, tm_bis, Best, Inst, Pers, Verst, Miete, Umbau, Pausch, Technik, "
                       "Tageskraft, Sicherheit, Sonst, UmbBem, Udt_von, Utm_von, Udt_bis, "
                       "Utm_bis, Rdt_von, Rtm_von, Rdt_bis, Rtm_bis, Info) "
                       "SELECT b.lAuftrNr, a.Kurzbez, b.rb_id, b.KST, b.dt_von, b.tm_von, "
                       "b.dt_bis, b.tm_bis, b.Best, b.Inst, b.Pers, b.Verst, b.Miete, b.Umbau, "
                       "b.Pausch, b.Technik, b.Tageskraft, b.Sicherheit, b.Sonst, b.UmbBem, "
                       "b.Udt_von, b.Utm_von, b.Udt_bis, b.Utm_bis, b.Rdt_von, b.Rtm_von, "
                       "b.Rdt_bis, b.Rtm_bis, ? FROM T_rb_Anzeige a CROSS JOIN T_fm_belegung b "
                       "WHERE b.rb_id = a.az_ID AND b.dt_von >= ? - 1 AND b.dt_von <= ? AND "
                       "b.dt_bis >= ?"),
                   {QStringLiteral("Jahr"), von, bis, von}) &&
               q.exec(QStringLiteral("COMMIT"));
    };
    const int letztesJahr = heute.year() - 1;
    const int erstesJahr = static_cast<int>(TovoDate(o.ersterTag()).year()) + 1;
    bool ok = true;
    const auto jahr = [&](int j) {
        double von = 0, bis = 0;
        DruckTabelle::MonatsZeitraum(0, j, von, bis);
        return std::pair{von, bis - 1};
    };
    const auto [vonNeu, bisNeu] = jahr(letztesJahr);
    const auto [vonAlt, bisAlt] = jahr(erstesJahr);
    const auto [neu, neuBasis] =
        Vergleich([&] { return DruckTabelle::Zeitraum(con, vonNeu, bisNeu, &error); },
                  [&] { return kopie(vonNeu, bisNeu); }, ok);
    QSqlQuery count(db);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM t_tmp_Druck"));
    count.next();
    const int rows = count.value(0).toInt();
    count.finish();
    const auto [alt, altBasis] =
        Vergleich([&] { return DruckTabelle::Zeitraum(con, vonAlt, bisAlt, &error); },
                  [&] { return kopie(vonAlt, bisAlt); }, ok);
    const auto [usage, usageBasis] = Vergleich(
        [&] {
            return DruckTabelle::Save_Rpt(con, 0, QString::number(letztesJahr), true, {}, &error);
        },
        [&] { return kopie(vonNeu, bisNeu); }, ok);

    // Rendering: the usage statistics of the year and the period list of a week. The print
    // table still holds the year's bookings of the last hand-written copy: the statistics are
    // prepared again first, one row per room, as the program prints them.
    ok = ok && DruckTabelle::Save_Rpt(con, 0, QString::number(letztesJahr), true, {}, &error);
    QElapsedTimer timer;
    timer.start();
    Bericht ausl;
    ok = ok && ausl.Erstellen(con, *FindeBericht(QStringLiteral("RepAusl")), &error) &&
         ausl.SchreibePdf(dir.filePath(QStringLiteral("ausl.pdf")), &error);
    const double renderUsage = timer.nsecsElapsed() / 1e6;
    timer.restart();
    Bericht woche;
    ok = ok && DruckTabelle::Zeitraum(con, heute.value() - 7, heute.value() - 1, &error) &&
         woche.Erstellen(con, *FindeBericht(QStringLiteral("Repwo")), &error) &&
         woche.SchreibePdf(dir.filePath(QStringLiteral("woche.pdf")), &error);
    const double renderWeek = timer.nsecsElapsed() / 1e6;
    if (!ok) {
        fprintf(stderr, "Fehler: %s\n", qPrintable(error));
        return 1;
    }
    printf("bookings=%d rows_in_year=%d years %d and %d\n", bookings, rows, letztesJahr,
           erstesJahr);
    printf("period_list_ms: last year %.1f (hand-written %.1f), first year %.1f (%.1f)\n", neu,
           neuBasis, alt, altBasis);
    printf("usage_ms: %.1f (hand-written copy %.1f)\n", usage, usageBasis);
    printf("render_usage_pdf_ms=%.1f prepare_render_week_pdf_ms=%.1f\n", renderUsage, renderWeek);
    printf("prepare_ratio=%.2f old_year_ratio=%.2f usage_ratio=%.2f\n", neu / neuBasis,
           alt / altBasis, usage / usageBasis);
    db = QSqlDatabase();
    CloseSqliteConnection(con);
    return 0;
}

// Measures the preparation of the print table on a year with many bookings (made by the shared
// generator of BenchProjekt.h) and prints the figures, last the line
// "prepare_ratio=R usage_ratio=U":
//   R = preparing the year's period list / one bare INSERT ... SELECT of the same rows
//   U = preparing the year's usage statistics / the same bare copy
// Usage: bench_reports [rooms] [bookings]   (defaults 200 and 100000)
#include "BenchProjekt.h"
#include "Bericht.h"
#include "BerichtArt.h"
#include "DruckTabelle.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

double median(const std::function<bool()>& run, int times = 5) {
    QVector<double> t;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1;
        t << timer.nsecsElapsed() / 1e6;
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rooms = argc > 1 ? atoi(argv[1]) : 200;
    const int bookings = argc > 2 ? atoi(argv[2]) : 100000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("TovoRaumverw.mdb"));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/Leeres Projekt/") +
                    kDbFileName,
                path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    const QString con = QStringLiteral("bench");
    QString error;
    // A year of bookings, every tenth archived (the lists include archived bookings).
    BenchProjekt::Optionen o;
    o.raeume = rooms;
    o.belegungen = bookings;
    o.ersterTag = TovoDate::fromParts(2026, 1, 1).value();
    o.tage = 365;
    o.archivierteJede = 10;
    if (!OpenSqliteConnection(path, con, false, &error) || !BenchProjekt::Erzeuge(con, o, &error)) {
        fprintf(stderr, "Projekt nicht erzeugt: %s\n", qPrintable(error));
        return 1;
    }
    gstProjektDir = dir.path() + QLatin1Char('/');
    const double von = TovoDate::fromParts(2026, 1, 1).value();
    const double bis = TovoDate::fromParts(2026, 12, 31).value();

    QSqlDatabase db = QSqlDatabase::database(con);
    const double bare = median([&] {
        // Into a print table of this connection's own, as the preparations write.
        QSqlQuery q(db);
        return q.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS t_tmp_Druck AS SELECT * "
                                     "FROM main.t_tmp_Druck WHERE 0")) &&
               q.exec(QStringLiteral("BEGIN")) &&
               q.exec(QStringLiteral("DELETE FROM t_tmp_Druck")) &&
               ExecBound(q,
                         QStringLiteral(
                             "INSERT INTO t_tmp_Druck (lAuftrNr, Kurzbez, rb, Kst, dt_von, tm_von, "
                             "dt_bis, tm_bis, Best, Inst, Pers, Verst, Miete, Umbau, Pausch, "
                             "Technik, Tageskraft, Sicherheit, Sonst, UmbBem, Udt_von, Utm_von, "
                             "Udt_bis, Utm_bis, Rdt_von, Rtm_von, Rdt_bis, Rtm_bis, Info) "
                             "SELECT b.lAuftrNr, a.Kurzbez, b.rb_id, b.KST, b.dt_von, b.tm_von, "
                             "b.dt_bis, b.tm_bis, b.Best, b.Inst, b.Pers, b.Verst, b.Miete, "
                             "b.Umbau, b.Pausch, b.Technik, b.Tageskraft, b.Sicherheit, b.Sonst, "
                             "b.UmbBem, b.Udt_von, b.Utm_von, b.Udt_bis, b.Utm_bis, b.Rdt_von, "
                             "b.Rtm_von, b.Rdt_bis, b.Rtm_bis, ? FROM T_rb_Anzeige a INNER JOIN "
                             "T_fm_belegung b ON a.az_ID = b.rb_id WHERE b.dt_bis >= ? AND "
                             "b.dt_von <= ?"),
                         {QStringLiteral("Jahr"), von, bis}) &&
               q.exec(QStringLiteral("COMMIT"));
    });
    const double prepare = median([&] { return DruckTabelle::Zeitraum(con, von, bis, &error); });
    QSqlQuery count(db);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM t_tmp_Druck"));
    count.next();
    const int rows = count.value(0).toInt();
    count.finish();
    const double usage = median(
        [&] { return DruckTabelle::Save_Rpt(con, 0, QStringLiteral("2026"), true, {}, &error); });

    // Rendering: the usage statistics of the year and the period list of one week.
    QElapsedTimer timer;
    timer.start();
    Bericht ausl;
    const bool ok1 = ausl.Erstellen(con, *FindeBericht(QStringLiteral("RepAusl")), &error) &&
                     ausl.SchreibePdf(dir.filePath(QStringLiteral("ausl.pdf")), &error);
    const double renderUsage = timer.nsecsElapsed() / 1e6;
    timer.restart();
    const bool ok2 = DruckTabelle::Zeitraum(con, TovoDate::fromParts(2026, 3, 16),
                                            TovoDate::fromParts(2026, 3, 22), &error);
    Bericht woche;
    const bool ok3 = woche.Erstellen(con, *FindeBericht(QStringLiteral("Repwo")), &error) &&
                     woche.SchreibePdf(dir.filePath(QStringLiteral("woche.pdf")), &error);
    const double renderWeek = timer.nsecsElapsed() / 1e6;
    if (prepare < 0 || usage < 0 || bare < 0 || !ok1 || !ok2 || !ok3) {
        fprintf(stderr, "Fehler: %s\n", qPrintable(error));
        return 1;
    }
    printf("rooms=%d bookings=%d rows_in_year=%d\n", rooms, bookings, rows);
    printf("bare_copy_ms=%.1f prepare_period_ms=%.1f prepare_usage_ms=%.1f\n", bare, prepare,
           usage);
    printf("render_usage_pdf_ms=%.1f prepare_render_week_pdf_ms=%.1f\n", renderUsage, renderWeek);
    printf("prepare_ratio=%.2f usage_ratio=%.2f\n", prepare / bare, usage / bare);
    db = QSqlDatabase();
    CloseSqliteConnection(con);
    return 0;
}

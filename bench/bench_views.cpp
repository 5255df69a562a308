// Measures the occupancy views on a large generated project and prints the figures, last the
// line "rebuild_ratio=R paint_ratio=P":
//   R = graphical rebuild time / bare scan of the same rows through Qt SQL
//   P = paint time of a week with 100,000 bookings loaded / with 10,000 loaded
// Usage: bench_views [rooms] [bookings]   (defaults 200 and 100000)
#include "BenchProjekt.h"
#include "CRvDb.h"
#include "Prompt.h"
#include "RvGlobals.h"
#include "TovoDate.h"
#include "TovoRaumverwCtrl.h"
#include "TovoZeitPlan.h"
#include "ViewQueries.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

// Best of a few runs, in milliseconds.
double best(int runs, const std::function<void()>& f) {
    double bestMs = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        bestMs = std::min(bestMs, t.nsecsElapsed() / 1e6);
    }
    return bestMs;
}

void print(const char* name, double value) {
    std::printf("%s: %.3f\n", name, value);
}
void count(const char* name, qsizetype value) {
    std::printf("%s: %lld\n", name, static_cast<long long>(value));
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rooms = argc > 1 ? std::max(8, atoi(argv[1])) : 200;
    const int bookings = argc > 2 ? std::max(rooms, atoi(argv[2])) : 100000;

    QTemporaryDir dir;
    TovoRaumverwCtrl ctrl;
    ctrl.resize(1400, 900);
    if (!ctrl.OpenDb(QCoreApplication::applicationDirPath(), dir.path(), QString(), nullptr)) {
        std::fprintf(stderr, "Projekt konnte nicht geöffnet werden\n");
        return 1;
    }
    const double firstDay = TovoDate::fromParts(2024, 1, 1).value();
    QElapsedTimer gen;
    gen.start();
    const std::clock_t cpu0 = std::clock();
    BenchProjekt::Optionen opt;
    opt.raeume = rooms;
    opt.belegungen = bookings;
    opt.ersterTag = firstDay;
    QString genError;
    if (!BenchProjekt::Erzeuge(gDb, opt, &genError)) {
        std::fprintf(stderr, "%s\n", qPrintable(genError));
        return 1;
    }
    print("generate_ms", gen.elapsed());
    print("generate_cpu_ms", (std::clock() - cpu0) * 1000.0 / CLOCKS_PER_SEC);
    if (qEnvironmentVariableIsSet("NUR_ERZEUGEN"))
        return 0;
    count("rooms", rooms);
    count("bookings", bookings);

    ctrl.Data2Ctrl();
    const double rebuildMs = best(3, [&] { ctrl.SetzeAnsichtNeu(); });
    const double scanMs = best(3, [&] {
        QSqlQuery q(QSqlDatabase::database(gDb));
        q.setForwardOnly(true);
        q.exec(ViewQueries::BalkenSql(false));
        const int cols = q.record().count();
        double sink = 0;
        while (q.next())
            for (int c = 0; c < cols; ++c)
                sink += q.value(c).isNull() ? 0 : 1;
        if (sink < 0)
            std::printf("%f\n", sink);
    });
    count("bars_loaded", ctrl.TovoZeitPlan1->Termine().size());
    print("rebuild_ms", rebuildMs);
    print("bare_scan_ms", scanMs);

    // Paint a week in the first months, once with the first tenth of the bookings loaded and
    // once with all of them: the visible bars are the same.
    const ZeitPlanRaumListe raeume = ctrl.TovoZeitPlan1->Raeume();
    ZeitPlanTerminListe alle = ctrl.TovoZeitPlan1->Termine();
    ZeitPlanTerminListe zehntel;
    const double grenze = firstDay + 5 * 365.0 / 10;
    for (const auto& t : alle)
        if (t.DtVon < grenze)
            zehntel.append(t);
    TovoZeitPlan plan;
    plan.resize(1400, 900);
    plan.SetZeitraum(TovoZeitPlan::Woche);
    plan.SetDatumVon(firstDay + 63);
    QImage image(plan.size(), QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] {
        for (int i = 0; i < 20; ++i)
            plan.render(&image);
    };
    plan.Laden(raeume, zehntel);
    paint(); // warm caches and fonts before measuring
    const double paintSmall = best(5, paint) / 20;
    plan.Laden(raeume, alle);
    const double paintLarge = best(5, paint) / 20;
    QSet<int64_t> ids;
    for (const auto& t : zehntel)
        ids.insert(t.lId);
    count("paint_week_bookings_small", ids.size());
    print("paint_week_ms_small", paintSmall);
    print("paint_week_ms_large", paintLarge);

    const QString tag = TovoDate(firstDay + 63).sqlDateText();
    const double gridMs = best(3, [&] { ctrl.FillGrid(tag); });
    print("fillgrid_day_ms", gridMs);
    count("fillgrid_rows", ctrl.fgMain->rowCount());

    std::printf("rebuild_ratio=%.2f paint_ratio=%.2f\n", rebuildMs / scanMs,
                paintLarge / paintSmall);
    ctrl.CloseDb();
    return 0;
}

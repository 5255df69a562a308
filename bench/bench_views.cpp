// Measures the occupancy views on a large generated project and prints the figures, last the
// line "rebuild_ratio=R paint_ratio=P":
//   R = graphical rebuild time / bare scan of the same rows through Qt SQL
//   P = paint time of a week with 100,000 bookings loaded / with 10,000 loaded
// Usage: bench_views [rooms] [bookings]   (defaults 200 and 100000)
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
#include <functional>

namespace {

constexpr int kTypes = 8;

// Fills the project: rooms in room types, bookings spread over five years without overlaps in
// a room; every third booking has set-up and clear-down spans.
bool generate(const QString& connection, int rooms, int bookings, double firstDay) {
    QSqlDatabase db = QSqlDatabase::database(connection);
    QSqlQuery q(db);
    db.transaction();
    for (int t = 1; t <= kTypes; ++t) {
        q.prepare(QStringLiteral("INSERT INTO T_Raumart (stRaumArt) VALUES (?)"));
        q.addBindValue(QStringLiteral("Raumart %1").arg(t));
        q.exec();
    }
    for (int r = 1; r <= rooms; ++r) {
        q.prepare(
            QStringLiteral("INSERT INTO T_rb_Anzeige (RaumNr, Kurzbez, lRaumartId, IANZAHLPERS, "
                           "stAusstattung) VALUES (?, ?, ?, ?, ?)"));
        q.addBindValue(QStringLiteral("1.1.%1.%2").arg(r / 50).arg(r, 3, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("Raum %1").arg(r, 3, 10, QLatin1Char('0')));
        q.addBindValue((r - 1) % kTypes + 1);
        q.addBindValue(10 + r % 40);
        q.addBindValue(QStringLiteral("WPB"));
        if (!q.exec())
            return false;
    }
    QRandomGenerator rng(4711);
    const int perRoom = bookings / rooms;
    const double span = 5 * 365.0;
    q.prepare(
        QStringLiteral("INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, dt_bis, "
                       "tm_bis, Best, Verst, STEMAIL, "
                       "Udt_von, Utm_von, Udt_bis, Utm_bis, Rdt_von, Rtm_von, Rdt_bis, Rtm_bis) "
                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    int n = 0;
    for (int r = 1; r <= rooms; ++r) {
        const double step = span / perRoom;
        for (int i = 0; i < perRoom; ++i, ++n) {
            const double day = std::floor(firstDay + i * step);
            const double von = (8 + rng.bounded(6)) / 24.0;
            const double bis = von + (1 + rng.bounded(3)) / 24.0;
            const bool bau = n % 3 == 0;
            const QVariant none = TovoDate::kNoDate;
            q.addBindValue(1000 + n);
            q.addBindValue(r);
            q.addBindValue(day);
            q.addBindValue(von);
            q.addBindValue(day);
            q.addBindValue(bis);
            q.addBindValue(QStringLiteral("Besteller %1").arg(n % 997));
            q.addBindValue(QStringLiteral("Veranstaltung %1").arg(n % 113));
            q.addBindValue(QStringLiteral("person%1@firma.example").arg(n % 997));
            q.addBindValue(bau ? QVariant(day) : none);
            q.addBindValue(bau ? QVariant(von - 1 / 24.0) : none);
            q.addBindValue(bau ? QVariant(day) : none);
            q.addBindValue(bau ? QVariant(von) : none);
            q.addBindValue(bau ? QVariant(day) : none);
            q.addBindValue(bau ? QVariant(bis) : none);
            q.addBindValue(bau ? QVariant(day) : none);
            q.addBindValue(bau ? QVariant(bis + 0.5 / 24.0) : none);
            if (!q.exec()) {
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
                return false;
            }
        }
    }
    return db.commit();
}

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
    if (!generate(gDb, rooms, bookings, firstDay))
        return 1;
    print("generate_ms", gen.elapsed());
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

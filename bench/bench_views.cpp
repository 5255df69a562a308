// Measures the occupancy views against the length of the booking history. Two projects with
// the same rooms and the same bookings per day, reaching half a year beyond today, differ only
// in how far back their history reaches: 10,000 bookings against 500,000 (ten years of a busy
// site).
// Each measurement runs in a child process of its own, so that its memory peak is its own:
//   history_ratio = (open until first paint + rebuild of a week), large / small project
//   rss_ratio     = peak memory of the process, large / small project
//   paint_ratio   = paint of a week with two years of bookings loaded / with ten weeks loaded
// Medians of `runs` child runs each; the last line holds all ratios as name=value.
// Usage: bench_views [rooms] [small] [large] [runs]   (defaults 200 10000 500000 5)
#include "BenchProjekt.h"
#include "RvGlobals.h"
#include "SqlConnection.h"
#include "TovoDate.h"
#include "TovoRaumverwCtrl.h"
#include "TovoZeitPlan.h"
#include "ZeitPlanLesen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

// Bookings per year of the generated site.
constexpr int kProJahr = 50000;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double ms(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

QString exeDir() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

// A project folder with `bookings` bookings at kProJahr a year, as the program makes it.
bool makeProject(const QString& dir, int rooms, int bookings) {
    BenchProjekt::Optionen o;
    o.raeume = rooms;
    o.belegungen = bookings;
    o.proJahr = kProJahr;
    QString error;
    QElapsedTimer t;
    t.start();
    if (!BenchProjekt::Bereitstellen(dir, o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    std::printf("project_%d_ms: %.0f\n", bookings, ms(t));
    return true;
}

// Peak resident memory of this process in KiB. The kernel's VmHWM belongs to the process image
// since its exec; getrusage's figure would carry over the parent's peak from before the exec.
long peakRssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Child: opens the project as the host does, until the first paint, then rebuilds the week.
int measureOpen(const QString& dir) {
    QImage image(1400, 900, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer t;
    t.start();
    TovoRaumverwCtrl ctrl;
    ctrl.resize(image.size());
    if (!ctrl.OpenDb(exeDir(), dir, QString(), nullptr))
        return 1;
    ctrl.Data2Ctrl();
    ctrl.render(&image);
    const double firstPaint = ms(t);
    std::vector<double> rebuilds;
    for (int i = 0; i < 5; ++i) {
        t.restart();
        ctrl.SetzeAnsichtNeu();
        ctrl.render(&image);
        rebuilds.push_back(ms(t));
    }
    std::printf("first_paint_ms=%.3f rebuild_ms=%.3f rss_kb=%ld bars=%lld\n", firstPaint,
                median(rebuilds), peakRssKb(),
                static_cast<long long>(ctrl.TovoZeitPlan1->Termine().size()));
    ctrl.CloseDb();
    return 0;
}

// Runs a child on the project and reads its figures.
bool runChild(const QString& dir, std::map<QString, double>& out) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--oeffnen"), dir});
    if (!p.waitForFinished(600000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", p.readAllStandardError().constData());
        return false;
    }
    const QStringList lines =
        QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    for (const QString& pair : lines.last().split(QLatin1Char(' '))) {
        const QString key = pair.section(QLatin1Char('='), 0, 0);
        out[key] = pair.section(QLatin1Char('='), 1).toDouble();
    }
    return true;
}

// Paint of a week with a short and a long span of bookings loaded: the visible bars are the same.
double paintRatio(const QString& dir) {
    const QString conn = UniqueConnectionName(QStringLiteral("bench"));
    if (!OpenSqliteConnection(dir + QStringLiteral("/TovoRaumverw.mdb"), conn, true, nullptr))
        return 0;
    const double heute = TovoDate::today().value();
    ZeitPlanTerminListe kurz, lang;
    QString error;
    ZeitPlanLesen::ReadTermine(conn, 0, {heute - 35, heute + 35}, kurz, &error);
    ZeitPlanLesen::ReadTermine(conn, 0, {heute - 365, heute + 365}, lang, &error);
    ZeitPlanRaumListe raeume;
    for (int r = 1; r <= 200; ++r)
        raeume.append({r, QStringLiteral("Raum %1").arg(r), QString(), QString(), QString()});
    CloseSqliteConnection(conn);

    TovoZeitPlan plan;
    plan.resize(1400, 900);
    plan.SetZeitraum(TovoZeitPlan::Woche);
    plan.SetAnzeigedatum(heute);
    QImage image(plan.size(), QImage::Format_ARGB32_Premultiplied);
    auto paint = [&] {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 20; ++i)
            plan.render(&image);
        return ms(t) / 20;
    };
    std::vector<double> small, large;
    for (int i = 0; i < 5; ++i) {
        plan.Laden(raeume, kurz);
        paint();
        small.push_back(paint());
        plan.Laden(raeume, lang);
        paint();
        large.push_back(paint());
    }
    std::printf("paint_week_ms_small: %.3f (%lld bars)\npaint_week_ms_large: %.3f (%lld bars)\n",
                median(small), static_cast<long long>(kurz.size()), median(large),
                static_cast<long long>(lang.size()));
    return median(large) / median(small);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--oeffnen"))
        return measureOpen(QString::fromLocal8Bit(argv[2]));

    const int rooms = argc > 1 ? std::max(8, atoi(argv[1])) : 200;
    const int small = argc > 2 ? std::max(rooms, atoi(argv[2])) : 10000;
    const int large = argc > 3 ? std::max(small, atoi(argv[3])) : 500000;
    const int runs = argc > 4 ? std::max(1, atoi(argv[4])) : 5;

    QTemporaryDir smallDir, largeDir;
    if (!makeProject(smallDir.path(), rooms, small) || !makeProject(largeDir.path(), rooms, large))
        return 1;

    // One run each to warm the file cache, then the measured runs in turns.
    std::map<QString, double> figures;
    if (!runChild(smallDir.path(), figures) || !runChild(largeDir.path(), figures))
        return 1;
    std::map<QString, std::vector<double>> s, l;
    for (int i = 0; i < runs; ++i) {
        for (auto [dir, into] : {std::pair{&smallDir, &s}, std::pair{&largeDir, &l}}) {
            figures.clear();
            if (!runChild(dir->path(), figures))
                return 1;
            for (const auto& [k, v] : figures)
                (*into)[k].push_back(v);
        }
    }
    auto both = [&](const QString& key) { return std::pair{median(s[key]), median(l[key])}; };
    for (const char* key : {"first_paint_ms", "rebuild_ms", "rss_kb", "bars"}) {
        const auto [a, b] = both(QLatin1String(key));
        std::printf("%s: %.3f (%d) / %.3f (%d)\n", key, a, small, b, large);
    }
    const auto [fpS, fpL] = both(QStringLiteral("first_paint_ms"));
    const auto [rbS, rbL] = both(QStringLiteral("rebuild_ms"));
    const auto [rssS, rssL] = both(QStringLiteral("rss_kb"));
    const double paint = paintRatio(largeDir.path());
    std::printf("history_ratio=%.2f paint_ratio=%.2f rss_ratio=%.2f\n", (fpL + rbL) / (fpS + rbS),
                paint, rssL / rssS);
    return 0;
}

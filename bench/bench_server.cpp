// Measures the reservation database on a PostgreSQL server against the SQLite file, on the same
// machine. It starts its own cluster (every commit on disk, as a real server keeps it), generates
// a project of `bookings` bookings as the program leaves it (as an SQLite file), and moves a
// copy of it to the server with the program's own transfer:
//   parallel_ratio    = bookings saved per second by 8 processes, each in a room of its own,
//                       server / file (each process saves single bookings as the form does,
//                       all of them at the same time, after one save of its own beforehand)
//   server_open_ratio = open until the first paint of the occupancy view, server / file
// Medians of `runs` runs each; the last line holds both ratios as name=value.
// Usage: bench_server [bookings] [saves per process] [runs]   (defaults 100000 200 5)
// 200 saves each (1,600 a run) measure the writers at work rather than their first second.
#include "BenchMessung.h"
#include "CRvDb.h"
#include "DatenbankOrt.h"
#include "PostgresServer.h"
#include "Prompt.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "ServerEinrichtung.h"
#include "SqlConnection.h"
#include "TovoDate.h"
#include "TovoRaumverwCtrl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace BenchMessung;

constexpr int kSchreiber = 8;

// Child: opens the project as the host does, until the first paint.
int measureOpen(const QString& dir) {
    QImage image(1400, 900, QImage::Format_ARGB32_Premultiplied);
    TovoRaumverwCtrl ctrl;
    const double ms = ErsteDarstellungMs(ctrl, dir, image);
    if (ms < 0)
        return 1;
    std::printf("%.3f\n", ms);
    ctrl.CloseDb();
    return 0;
}

// A user who answers "Wiederholen" when another workstation holds the database.
class Wiederholen : public IPrompt {
public:
    PromptResult show(const PromptMessage& m) override {
        return m.buttons == PromptButtons::RetryCancel ? PromptResult::Retry : PromptResult::Ok;
    }
    void beep() override {}
};

// One evening booking in room `raum` on day `tag`, saved as the form saves it.
bool speichere(int32_t raum, double tag) {
    CBelegungRec b;
    b.rb_id = raum;
    b.dt_von = b.dt_bis = tag;
    b.tm_von = 20 / 24.0;
    b.tm_bis = 21 / 24.0;
    b.Best = QStringLiteral("Messung");
    b.Verst = QStringLiteral("Abendtermin");
    return R_Main::SpeichereBelegung(b);
}

// Child: opens the project and saves one booking on the day before `tag` (a workstation that has
// been at work a while: a new connection plans its statements first), says "bereit", waits for a
// line on stdin, then saves `anzahl` single bookings in room `raum` from day `tag` on, one a
// day; prints how many were stored.
int schreibe(const QString& dir, int32_t raum, double tag, int anzahl) {
    DatenbankOrt ort;
    if (!ReadDatenbankOrt(dir + QLatin1Char('/'), ort, nullptr))
        return 1;
    CRvDb db;
    db.SetDatenbankOrt(ort);
    db.SetOpenReadOnly(false);
    if (!db.OpenDb())
        return 1;
    gRvDb = &db;
    gDbOrt = ort;
    gDb = UniqueConnectionName(QStringLiteral("gDb"));
    if (!OeffneDatenbank(ort, gDb, false, nullptr))
        return 1;
    Wiederholen prompt;
    SetPrompt(&prompt);
    if (!speichere(raum, tag - 1))
        return 1;
    std::printf("bereit\n");
    std::fflush(stdout);
    std::string los;
    std::getline(std::cin, los);
    int gespeichert = 0;
    for (int i = 0; i < anzahl; ++i)
        gespeichert += speichere(raum, tag + i) ? 1 : 0;
    std::printf("%d\n", gespeichert);
    std::fflush(stdout);
    SetPrompt(nullptr);
    CloseSqliteConnection(gDb);
    return 0;
}

bool endedWell(QProcess& p) {
    return p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The last line a child printed; empty when it failed.
QString childResult(QProcess& p) {
    if (!endedWell(p))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed().section(QLatin1Char('\n'), -1);
}

double openMs(const QString& dir) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--oeffnen"), dir});
    const QString r = childResult(p);
    return r.isEmpty() ? -1 : r.toDouble();
}

// Bookings saved per second by kSchreiber processes at once, counted from the moment all of
// them are open until the last one has saved its bookings. `runde` moves the days, so that every
// run writes free days of its own.
double throughput(const QString& dir, int anzahl, int runde) {
    std::vector<std::unique_ptr<QProcess>> kinder;
    // After the last generated bookings, so that every save finds its day free; the day before
    // the first is free too (each run leaves one day out).
    const double tag = BenchProjekt::StandardEnde() + 30 + runde * (anzahl + 1);
    for (int k = 0; k < kSchreiber; ++k) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--schreiben"), dir, QString::number(k + 1),
                  QString::number(tag, 'f', 0), QString::number(anzahl)});
        kinder.push_back(std::move(p));
    }
    for (auto& p : kinder)
        if (!p->waitForReadyRead(120000) || !p->readLine().startsWith("bereit"))
            return -1;
    QElapsedTimer t;
    t.start();
    // Passed on at once: a QProcess hands its buffer to the pipe only while someone waits on it,
    // and the children would otherwise start one after the other.
    for (auto& p : kinder)
        p->write("los\n");
    for (auto& p : kinder)
        if (!p->waitForBytesWritten(10000))
            return -1;
    // Until the last one has said how many it saved: the end of a process is no part of saving.
    int gespeichert = 0;
    for (auto& p : kinder) {
        while (!p->canReadLine())
            if (!p->waitForReadyRead(600000))
                return -1;
        gespeichert += p->readLine().trimmed().toInt();
    }
    const double sekunden = t.nsecsElapsed() / 1e9;
    for (auto& p : kinder)
        if (!endedWell(*p))
            return -1;
    if (gespeichert != kSchreiber * anzahl)
        std::fprintf(stderr, "only %d of %d bookings saved\n", gespeichert, kSchreiber * anzahl);
    return gespeichert / sekunden;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && QLatin1String(argv[1]) == QLatin1String("--oeffnen"))
        return measureOpen(QString::fromLocal8Bit(argv[2]));
    if (argc == 6 && QLatin1String(argv[1]) == QLatin1String("--schreiben"))
        return schreibe(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atof(argv[4]),
                        atoi(argv[5]));

    const int bookings = argc > 1 ? std::max(1000, atoi(argv[1])) : 100000;
    const int saves = argc > 2 ? std::max(1, atoi(argv[2])) : 200;
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;

    PostgresServer server(true);
    if (!server.ok()) {
        std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(server.error()));
        return 1;
    }
    QTemporaryDir dateiDir, serverDir;
    QString error;
    QElapsedTimer t;
    t.start();
    BenchProjekt::Optionen o;
    o.belegungen = bookings;
    if (!ProjektMitBuchungen(dateiDir.path(), o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("generate_ms: %lld\n", t.restart());
    const QString datenbank = server.NeueDatenbank(&error, true);
    if (datenbank.isEmpty() ||
        !QFile::copy(dateiDir.filePath(kDbFileName), serverDir.filePath(kDbFileName)) ||
        !ServerEinrichtung::Uebertragen(
            serverDir.path() + QLatin1Char('/'), server.Verbindung(datenbank),
            [](const QString&) {}, &error)) {
        std::fprintf(stderr, "transfer: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("transfer_ms: %lld\n", t.elapsed());

    // One run each to warm the caches, then the measured runs in turns.
    std::vector<double> openFile, openServer, writeFile, writeServer;
    if (openMs(dateiDir.path()) < 0 || openMs(serverDir.path()) < 0)
        return 1;
    for (int i = 0; i < runs; ++i) {
        openFile.push_back(openMs(dateiDir.path()));
        openServer.push_back(openMs(serverDir.path()));
        writeFile.push_back(throughput(dateiDir.path(), saves, i));
        writeServer.push_back(throughput(serverDir.path(), saves, i));
        if (std::min({openFile.back(), openServer.back(), writeFile.back(), writeServer.back()}) <
            0)
            return 1;
    }
    std::printf("first_paint_ms: %.1f (file) / %.1f (server)\n", median(openFile),
                median(openServer));
    std::printf("saves_per_s: %.1f (file) / %.1f (server), %d processes\n", median(writeFile),
                median(writeServer), kSchreiber);
    std::printf("parallel_ratio=%.2f server_open_ratio=%.2f\n",
                median(writeServer) / median(writeFile), median(openServer) / median(openFile));
    return 0;
}

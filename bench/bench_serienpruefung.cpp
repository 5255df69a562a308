// Measures the check of a new series on a generated project and prints the figures, last the
// line "per_date_ratio=R model_ratio=M":
//   R = time per date of a series of 32,767 dates / of a series of 1,024 dates
//   M = time to open the overview's model on 32,767 dates / on 1,024 dates, per date
// Usage: bench_serienpruefung [rooms] [bookings]   (defaults 20 and 20000)
#include "BenchProjekt.h"
#include "CRvDb.h"
#include "RvGlobals.h"
#include "SerienPruefung.h"
#include "SerienPruefungModel.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

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
    std::printf("%s=%.3f\n", name, value);
}

// One room type with `rooms` rooms; the bookings spread over the 90 years from `firstDay`, made
// as the program makes them.
bool generate(const QString& dir, int rooms, int bookings, double firstDay) {
    BenchProjekt::Optionen o;
    o.raumarten = 1;
    o.raeume = rooms;
    o.belegungen = bookings;
    o.letzterTag = firstDay + 32767;
    o.proJahr = std::max(1, static_cast<int>(bookings * 365.0 / 32767));
    QString error;
    if (!BenchProjekt::Bereitstellen(dir, o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    return true;
}

SerienPruefung::Anfrage anfrage(double firstDay, int dates) {
    SerienPruefung::Anfrage a;
    for (int i = 0; i < dates; ++i)
        a.termine.append(TovoDate(firstDay + i));
    a.zeitVon = 10.0 / 24;
    a.zeitBis = 12.0 / 24;
    a.raumId = 1;
    a.raumartId = 1;
    a.land = QStringLiteral("NW");
    return a;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int rooms = argc > 1 ? std::max(2, atoi(argv[1])) : 20;
    const int bookings = argc > 2 ? std::max(1, atoi(argv[2])) : 20000;

    QTemporaryDir dir;
    const double firstDay = TovoDate::fromParts(2027, 1, 4).value();
    if (!generate(dir.path(), rooms, bookings, firstDay))
        return 1;
    const QString path = dir.filePath(QStringLiteral("TovoRaumverw.mdb"));
    CRvDb db; // opened as the program opens a project
    db.SetDbPath(path);
    db.SetOpenReadOnly(false);
    gDb = QStringLiteral("bench");
    if (!db.OpenDb() || !OpenSqliteConnection(path, gDb, false, nullptr))
        return 1;

    auto messen = [&](int dates, double& modellMs) {
        const SerienPruefung::Anfrage a = anfrage(firstDay, dates);
        SerienPruefung::Ergebnis e;
        const double ms = best(3, [&] { SerienPruefung::Pruefen(a, e, {}, nullptr); });
        modellMs = best(3, [&] {
            SerienPruefungModel m(e);
            for (int r = 0; r < m.rowCount(); ++r)
                m.index(r, SerienPruefungModel::Status).data();
        });
        std::printf("dates_%d_taken=%d\n", dates, e.AnzahlBelegt());
        return ms;
    };
    double modellKlein = 0, modellGross = 0;
    const double klein = messen(1024, modellKlein);
    const double gross = messen(32767, modellGross);
    print("check_ms_1024", klein);
    print("check_ms_32767", gross);
    print("model_ms_32767", modellGross);
    std::printf("per_date_ratio=%.2f model_ratio=%.2f\n", (gross / 32767) / (klein / 1024),
                (modellGross / 32767) / (modellKlein / 1024));
    return 0;
}

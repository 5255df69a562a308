#pragma once

// What the benchmarks that open whole projects share: medians, the program's folder, a project
// folder filled by the generator, and the open of a project until its first paint.
#include "BenchProjekt.h"
#include "CRvDb.h"
#include "RvGlobals.h"
#include "TovoRaumverwCtrl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <algorithm>
#include <vector>

namespace BenchMessung {

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline QString exeDir() {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

// The project folder `dir` made by the generator as the program leaves it.
inline bool ProjektMitBuchungen(const QString& dir, const BenchProjekt::Optionen& o,
                                QString* error) {
    return BenchProjekt::Bereitstellen(dir, o, error);
}

// Opens the project in `dir` as the host does and paints it into `image`: the milliseconds
// until the first paint, or -1 when the project does not open.
inline double ErsteDarstellungMs(TovoRaumverwCtrl& ctrl, const QString& dir, QImage& image) {
    QElapsedTimer t;
    t.start();
    ctrl.resize(image.size());
    if (!ctrl.OpenDb(exeDir(), dir, QString(), nullptr))
        return -1;
    ctrl.Data2Ctrl();
    ctrl.render(&image);
    return t.nsecsElapsed() / 1e6;
}

} // namespace BenchMessung

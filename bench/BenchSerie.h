#pragma once

// The series the benchmarks save: every day of a year in room 1, late in the evening, after the
// last clear-down of the generated bookings (BenchProjekt.h, 23:00 at the latest) and the
// quarter of an hour of tolerance, so that it meets none of them and is saved.
#include "CSerienFkt.h"
#include "Records.h"

namespace BenchSerie {

inline CSerienFkt Regel(double erster) {
    CSerienFkt regel;
    regel.SetdatBeginn(TovoDate(erster));
    regel.SetdatEnde(TovoDate(erster + 364));
    regel.SetDaily(1);
    return regel;
}

inline CBelegungRec Muster() {
    CBelegungRec b;
    b.rb_id = 1;
    b.tm_von = 23 / 24.0 + 20 / 1440.0;
    b.tm_bis = 23 / 24.0 + 50 / 1440.0;
    b.Best = QStringLiteral("Bench");
    b.stSerieBem = QStringLiteral("Alle 1 Tage");
    return b;
}

} // namespace BenchSerie

// A workstation of its own for the tests of concurrent and interrupted writing, saving through
// the form's routines: `schreib_kind DIR ART SEED ANZAHL RAUM...` with ART "einzel" (single
// bookings, tested first), "serie" (four weekly dates) or "dauernd" (without end: a series, its
// edit, a single save, each step announced by a line "."). Every save prints "OK <order> <n>".
#include "CRvDb.h"
#include "CSerienFkt.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "SerienSpeichern.h"
#include "SqlConnection.h"
#include "TovoDate.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdio>

namespace {

// At once, so that the test reads the line while the process still runs.
void Melde(const QString& zeile) {
    std::puts(qPrintable(zeile));
    std::fflush(stdout);
}

// Monday 1 June 2026 plus n days.
double Tag(int n) {
    return TovoDate::fromParts(2026, 6, 1 + n).value();
}

CBelegungRec Satz(int32_t raum, double tag, int vonMinute, int dauer, const QString& best) {
    CBelegungRec b;
    b.rb_id = raum;
    b.dt_von = b.dt_bis = tag;
    b.tm_von = vonMinute / 1440.0;
    b.tm_bis = (vonMinute + dauer) / 1440.0;
    b.Best = best;
    b.Verst = QStringLiteral("Probe");
    return b;
}

CSerienFkt Woechentlich(double beginn, int wochen) {
    CSerienFkt r;
    r.SetdatBeginn(TovoDate(beginn));
    r.SetdatEnde(TovoDate(beginn + 7 * (wochen - 1)));
    r.SetWeekly(1);
    r.SetWeekday(1 << (TovoDate(beginn).weekdayMondayFirst() - 1));
    return r;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 6)
        return 2;
    DatenbankOrt ort;
    if (!ReadDatenbankOrt(args[1] + QLatin1Char('/'), ort, nullptr))
        return 3;
    const QString art = args[2];
    QRandomGenerator zufall(args[3].toUInt());
    const int anzahl = args[4].toInt();
    QVector<int32_t> raeume;
    for (qsizetype i = 5; i < args.size(); ++i)
        raeume << args[i].toInt();

    CRvDb db;
    db.SetDatenbankOrt(ort);
    db.SetOpenReadOnly(false);
    if (!db.OpenDb())
        return 3;
    gRvDb = &db;
    gDbOrt = ort;
    gDb = UniqueConnectionName(QStringLiteral("gDb"));
    if (!OeffneDatenbank(ort, gDb, false, nullptr))
        return 3;
    gdToleranz = 0;
    R_Main::gNextNrDialog = [](int32_t) { return -1; };
    const auto raum = [&] { return raeume[zufall.bounded(int(raeume.size()))]; };

    const bool serie = art == QLatin1String("serie");
    for (int i = 0; i < anzahl; ++i) {
        CBelegungRec b = Satz(raum(), Tag(zufall.bounded(serie ? 7 : 28)),
                              8 * 60 + 15 * zufall.bounded(40), 30 + 15 * zufall.bounded(10),
                              serie ? QStringLiteral("Serie") : QStringLiteral("Einzel"));
        if (serie) {
            b.stSerieBem = QStringLiteral("Alle 1 Wochen");
            if (R_Main::SaveJour(Woechentlich(b.dt_von, 4), b, &db, {}))
                Melde(QStringLiteral("OK %1 4").arg(b.lAuftrNr));
        } else if (R_Main::IsFreeRoom(b.rb_id, b) && R_Main::SpeichereBelegung(b)) {
            Melde(QStringLiteral("OK %1 1").arg(b.lAuftrNr));
        }
    }
    if (art == QLatin1String("dauernd")) {
        // Each order lies on days of its own, far from the others, so that every step writes.
        for (int runde = 0;; ++runde) {
            const double tag = Tag(400 + 70 * (zufall.bounded(1000)));
            CBelegungRec b = Satz(raum(), 0, 9 * 60, 60, QStringLiteral("Serie"));
            b.stSerieBem = QStringLiteral("Alle 1 Wochen");
            Melde(QStringLiteral("."));
            if (!R_Main::SaveJour(Woechentlich(tag, 8), b, &db, {}))
                continue;
            CBelegungRecColl auftrag;
            if (!db.ReadAuftrag2Coll(b.lAuftrNr, &auftrag))
                continue;
            CBelegungRec vorlage = *auftrag.Item(1);
            vorlage.Best = QStringLiteral("Geändert %1").arg(runde);
            vorlage.tm_von = 10 * 60 / 1440.0;
            vorlage.tm_bis = 12 * 60 / 1440.0;
            Melde(QStringLiteral("."));
            R_Main::SaveSerieEdit(vorlage, auftrag, &db);
            CBelegungRec einzel = Satz(raum(), tag + 1, 9 * 60, 60, QStringLiteral("Einzel"));
            Melde(QStringLiteral("."));
            R_Main::SpeichereBelegung(einzel);
        }
    }
    CloseSqliteConnection(gDb);
    return 0;
}

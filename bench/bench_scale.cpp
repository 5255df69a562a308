// Measures what a user does on a small and on a large project of the same site (200 rooms, the
// same bookings a year, the large one only reaching further back; both made by the program, see
// BenchProjekt.h) and prints for each operation the median time on both, last the line
//   scale_<op>=large/small ... first_paint_vs_bare=F
// (publish: the portal publication after one saved booking, on a MariaDB server of its own)
// with F = (open until the first paint of the large project - the same on an empty project) /
// a bare read, through the SQLite C API, of the bookings of the days the plan loads.
// Each run is a child process that opens the project as the host does and then works on it;
// the figures are medians over the runs.
// Usage: bench_scale [small] [large] [runs]   (defaults 100000 2000000 5)
#include "BenchProjekt.h"
#include "BenchSerie.h"
#include "DruckTabelle.h"
#include "MariaDbServer.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "SchreibPfad.h"
#include "SerienPruefung.h"
#include "SerienSpeichern.h"
#include "TovoRaumverwCtrl.h"
#include "TovoTools.h"
#include "TovoZeitPlan.h"
#include "UpdateNetzpult.h"
#include "ZeitPlanLesen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <sqlite3.h>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Ms(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

// One warm-up, then the median of `mal` runs.
double MedianVon(int mal, const std::function<void()>& f) {
    f();
    std::vector<double> t;
    for (int i = 0; i < mal; ++i)
        t.push_back(Ms(f));
    return Median(t);
}

void Warte(TovoRaumverwCtrl& ctrl) {
    QElapsedTimer t;
    t.start();
    while (ctrl.StreifenLaedt() && t.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

// The child: opens the project until the first paint, then works on it. Prints name=value.
int Kind(const QString& ordner, bool nurOeffnen) {
    QImage bild(1400, 900, QImage::Format_ARGB32_Premultiplied);
    std::map<std::string, double> werte;
    std::unique_ptr<TovoRaumverwCtrl> ctrl;
    // The whole open, and its parts (not compared: "part_").
    werte["open"] = Ms([&] {
        werte["part_construct"] = Ms([&] {
            ctrl = std::make_unique<TovoRaumverwCtrl>();
            ctrl->resize(bild.size());
        });
        werte["part_opendb"] = Ms([&] {
            if (!ctrl->OpenDb(QCoreApplication::applicationDirPath(), ordner, QString(), nullptr))
                std::exit(1);
        });
        werte["part_data2ctrl"] = Ms([&] { ctrl->Data2Ctrl(); });
        werte["part_paint"] = Ms([&] { ctrl->render(&bild); });
    });
    Warte(*ctrl);
    if (!nurOeffnen) {
        // A week ahead stays within what was read; the second week reads.
        std::vector<double> woche;
        for (int i = 0; i < 5; ++i) {
            ctrl->btZeit_Click(3);
            ctrl->render(&bild);
            woche.push_back(Ms([&] {
                ctrl->btZeit_Click(3);
                ctrl->render(&bild);
            }));
        }
        werte["next_week"] = Median(woche);
        werte["month"] = Ms([&] {
            ctrl->opZeitraum_Click(2);
            ctrl->render(&bild);
        });
        Warte(*ctrl);

        // The form's work, in the year from next month on: the series check of 365 dates in a
        // room, the free rooms of a date, saving the series, its overview.
        const TovoDate heute = TovoDate::today();
        const double erster = TovoDate::fromParts(heute.year(), heute.month(), 1).addMonths(1);
        const double von = 17 / 24.0 + 15 / 1440.0, bis = 18 / 24.0;
        QVector<Konflikt::Termin> termine;
        for (int i = 0; i < 365; ++i)
            termine.append({1, Konflikt::Spanne(erster + i, von, erster + i, bis)});
        werte["series_check"] = MedianVon(5, [&] {
            int konflikt = -1;
            R_Main::SindFrei(termine, {}, konflikt);
        });
        R_Main::FreiAnfrage anfrage;
        anfrage.spanne = Konflikt::Spanne(erster + 10, von, erster + 10, bis);
        werte["free_rooms"] = MedianVon(5, [&] {
            QVector<R_Main::FreierRaum> frei;
            bool nichtAlle = false;
            R_Main::Free(anfrage, 0, 0, frei, nichtAlle);
        });
        const CSerienFkt regel = BenchSerie::Regel(erster);
        std::vector<double> jour;
        for (int i = 0; i < 6; ++i) {
            CBelegungRec b = BenchSerie::Muster();
            const double ms = Ms([&] { R_Main::SaveJour(regel, b, gRvDb, {}); });
            if (i > 0)
                jour.push_back(ms);
            SchreibPfad::LoescheAuftrag(gRvDb->ConnectionName(), b.lAuftrNr);
        }
        werte["savejour"] = Median(jour);
        SerienPruefung::Anfrage pruefung;
        for (int i = 0; i < 365; ++i)
            pruefung.termine.append(TovoDate(erster + i));
        pruefung.zeitVon = von;
        pruefung.zeitBis = bis;
        pruefung.raumId = 1;
        pruefung.raumartId = 1;
        pruefung.land = QStringLiteral("NW");
        werte["series_overview"] = MedianVon(5, [&] {
            SerienPruefung::Ergebnis e;
            SerienPruefung::Pruefen(pruefung, e, {}, nullptr);
        });
        // The period list of last week.
        werte["period_list"] = MedianVon(5, [&] {
            QString error;
            DruckTabelle::Zeitraum(gDb, heute.value() - 7, heute.value() - 1, &error);
        });
        // The publication after one saved booking, as the control's timer runs it once the form
        // closed. The first call brings the portal up to date (a full copy on the warm-up run).
        if (!Netzpult::UpdateSQLNetzpult(ctrl.get()))
            std::exit(2);
        std::vector<double> publish;
        for (int i = 0; i < 5; ++i) {
            QVector<CBelegungRec> neu(1);
            neu[0] = BenchSerie::Muster();
            neu[0].stSerieBem.clear();
            neu[0].dt_von = neu[0].dt_bis = erster + 400 + i;
            if (!SchreibPfad::NeuerAuftrag(gRvDb->ConnectionName(), neu, 0).ok())
                std::exit(3);
            publish.push_back(Ms([&] { Netzpult::UpdateSQLNetzpult(ctrl.get()); }));
            SchreibPfad::LoescheAuftrag(gRvDb->ConnectionName(), neu[0].lAuftrNr);
            Netzpult::UpdateSQLNetzpult(ctrl.get());
        }
        werte["publish"] = Median(publish);
    }
    ctrl->CloseDb();
    for (const auto& [k, v] : werte)
        std::printf("%s=%.3f ", k.c_str(), v);
    std::printf("\n");
    return 0;
}

bool Kinderlauf(const QString& ordner, bool nurOeffnen, std::map<std::string, double>& out) {
    QProcess p;
    QStringList args{QStringLiteral("--kind"), ordner};
    if (nurOeffnen)
        args << QStringLiteral("--nur-oeffnen");
    p.start(QCoreApplication::applicationFilePath(), args);
    if (!p.waitForFinished(1800000) || p.exitCode() != 0) {
        std::fprintf(stderr, "%s\n", p.readAllStandardError().constData());
        return false;
    }
    const QStringList zeilen =
        QString::fromUtf8(p.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    for (const QString& paar : zeilen.last().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out[paar.section(QLatin1Char('='), 0, 0).toStdString()] =
            paar.section(QLatin1Char('='), 1).toDouble();
    return true;
}

// The bookings of the days the plan loads for this week, read room by room through the index
// on room and start day in one transaction, every column the plan shows read once: the least any
// reading can do.
double BlankesLesen(const QString& ordner) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2((ordner + QStringLiteral("/TovoRaumverw.mdb")).toUtf8().constData(), &db,
                        SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return 0;
    const TovoDate heute = TovoDate::today();
    const double montag = heute.value() - heute.weekdayMondayFirst() + 1;
    const ViewQueries::Zeitfenster f = ZeitPlanLesen::FensterFuer(montag, montag + 7);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Rec_ID, rb_id, Best, Verst, STEMAIL, dt_von, tm_von, dt_bis, "
                       "tm_bis, Udt_von, Utm_von, Udt_bis, Utm_bis, Rdt_von, Rtm_von, Rdt_bis, "
                       "Rtm_bis FROM T_fm_belegung WHERE rb_id = ? AND dt_von >= ? AND "
                       "dt_von <= ? AND bArchiviert = 0",
                       -1, &st, nullptr);
    long zeilen = 0;
    const double ms = MedianVon(7, [&] {
        zeilen = 0;
        // One read transaction, as the plan's one statement has.
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        for (int raum = 1; raum <= 200; ++raum) {
            sqlite3_reset(st);
            sqlite3_bind_int(st, 1, raum);
            sqlite3_bind_double(st, 2, f.von - 1);
            sqlite3_bind_double(st, 3, f.bis);
            while (sqlite3_step(st) == SQLITE_ROW) {
                for (int c = 0; c < 17; ++c)
                    if (sqlite3_column_type(st, c) == SQLITE_TEXT)
                        sqlite3_column_text(st, c);
                    else
                        sqlite3_column_double(st, c);
                ++zeilen;
            }
        }
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3_finalize(st);
    sqlite3_close(db);
    std::printf("bare_read_ms: %.3f (%ld bookings)\n", ms, zeilen);
    return ms;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc >= 3 && QLatin1String(argv[1]) == QLatin1String("--kind"))
        return Kind(QString::fromLocal8Bit(argv[2]), argc > 3);

    const int klein = argc > 1 ? std::max(1000, atoi(argv[1])) : 100000;
    const int gross = argc > 2 ? std::max(klein, atoi(argv[2])) : 2000000;
    const int laeufe = argc > 3 ? std::max(5, atoi(argv[3])) : 5;

    QTemporaryDir leer, kleinDir, grossDir;
    QString error;
    BenchProjekt::Optionen o;
    o.belegungen = klein;
    if (!BenchProjekt::Bereitstellen(kleinDir.path(), o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    o.belegungen = gross;
    if (!BenchProjekt::Bereitstellen(grossDir.path(), o, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }

    // Each project publishes into a portal of its own on a throw-away server.
    MariaDbServer server;
    for (auto [dir, portal] : {std::pair{&kleinDir, "klein"}, std::pair{&grossDir, "gross"}}) {
        const QString ini = dir->path() + QLatin1Char('/') + kIniFileName;
        if (!server.ok() || !server.CreatePortal(QLatin1String(portal), &error)) {
            std::fprintf(stderr, "%s %s\n", qPrintable(server.error()), qPrintable(error));
            return 1;
        }
        CTovoTools::Instance().WriteIniValue(ini, "WebMDB", "DBPATH",
                                             server.ConnText(QLatin1String(portal)));
        CTovoTools::Instance().WriteIniValue(ini, "WebMDB", "NetzpultType", "1");
    }

    // A warm-up run each, then the measured ones in turns.
    std::map<std::string, double> lauf;
    if (!Kinderlauf(leer.path(), true, lauf) || !Kinderlauf(kleinDir.path(), false, lauf) ||
        !Kinderlauf(grossDir.path(), false, lauf))
        return 1;
    std::map<std::string, std::vector<double>> leerW, kleinW, grossW;
    for (int i = 0; i < laeufe; ++i) {
        for (auto [dir, into, nur] :
             {std::tuple{&leer, &leerW, true}, std::tuple{&kleinDir, &kleinW, false},
              std::tuple{&grossDir, &grossW, false}}) {
            lauf.clear();
            if (!Kinderlauf(dir->path(), nur, lauf))
                return 1;
            for (const auto& [k, v] : lauf)
                (*into)[k].push_back(v);
        }
    }
    const double blank = BlankesLesen(grossDir.path());
    BlankesLesen(kleinDir.path());
    QString letzte;
    for (const auto& [k, v] : kleinW) {
        const double s = Median(v), l = Median(grossW[k]);
        std::printf("%s_ms: %.3f (%d) / %.3f (%d)\n", k.c_str(), s, klein, l, gross);
        if (k.rfind("part_", 0) == 0)
            continue; // the parts of the open explain it, the open itself is compared
        letzte +=
            QStringLiteral("scale_%1=%2 ").arg(QString::fromStdString(k)).arg(l / s, 0, 'f', 2);
    }
    for (const auto& [k, v] : leerW)
        std::printf("empty project %s_ms: %.3f\n", k.c_str(), Median(v));
    const double fp = (Median(grossW["open"]) - Median(leerW["open"])) / blank;
    std::printf("%sfirst_paint_vs_bare=%.2f\n", qPrintable(letzte), fp);
    return 0;
}

#pragma once

// Projects for the benchmarks, made the way the program makes them: the empty project database
// beside the program, opened by CRvDb (which gives it the program's indexes and statistics),
// room types and rooms through CRvDb, every booking through the write path in orders of one
// room and one month, in the order of time, and archiving through CRvDb. Nothing else touches
// the file: no ANALYZE, no index of its own. Only durability is relaxed while filling (no
// waiting for the disk at each commit), which leaves the file as it would be otherwise.
//
// The site has a constant number of bookings a year, so a bigger project only reaches further
// back; the last bookings lie at least six months after today. Room r (1..raeume) is "Raum 001"
// ... of room type (r - 1) % raumarten + 1; its bookings are spread evenly, at most four a day,
// each in a slot of its own (set-up one hour before and clear-down half an hour after every
// umbauJede-th one), so that no two overlap.
//
//   BenchProjekt::Optionen o;
//   o.belegungen = 2000000;
//   QString error;
//   if (!BenchProjekt::Bereitstellen(ordner, o, &error)) ...   // cached copy, made once
#include "CRvDb.h"
#include "SchreibPfad.h"
#include "TovoDate.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace BenchProjekt {

// The first day of the month seven months after today's: at least six months ahead, and the
// same for every project made within a month (which the cache relies on).
inline double StandardEnde() {
    const TovoDate heute = TovoDate::today();
    return TovoDate::fromParts(heute.year(), heute.month(), 1).addMonths(7).value();
}

struct Optionen {
    int raumarten = 8;
    int raeume = 200;
    int belegungen = 100000;
    int proJahr = 100000;               // bookings a year
    double letzterTag = StandardEnde(); // the day of the last bookings
    int umbauJede = 3;                  // every n-th booking has set-up and clear-down (0 = none)
    double archivBis = 0;               // archived: the bookings ending before this day (0 = none)

    double ersterTag() const { return letzterTag - belegungen * 365.0 / proJahr; }
    QString schluessel() const {
        return QStringLiteral("%1-%2-%3-%4-%5-%6-%7")
            .arg(raumarten)
            .arg(raeume)
            .arg(belegungen)
            .arg(proJahr)
            .arg(letzterTag)
            .arg(umbauJede)
            .arg(archivBis);
    }
};

inline QString ProgrammOrdner() {
    const QString env = qEnvironmentVariable("TOVO_BIN_DIR");
    return env.isEmpty() ? QCoreApplication::applicationDirPath() : env;
}

// Makes the project database in the folder `ordner` (which must exist).
inline bool Erzeuge(const QString& ordner, const Optionen& o, QString* error) {
    auto fehler = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    const QString pfad = ordner + QStringLiteral("/TovoRaumverw.mdb");
    QFile::remove(pfad);
    if (!QFile::copy(ProgrammOrdner() + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb"), pfad))
        return fehler(QStringLiteral("Die leere Projektdatenbank fehlt neben dem Programm."));
    QFile::setPermissions(pfad, QFile::ReadOwner | QFile::WriteOwner);
    CRvDb db;
    db.SetDbPath(pfad);
    db.SetOpenReadOnly(false);
    if (!db.OpenDb())
        return fehler(db.LastError());
    {
        QSqlQuery q(QSqlDatabase::database(db.ConnectionName()));
        q.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }

    for (int t = 1; t <= o.raumarten; ++t) {
        CRaumartRec art;
        art.stRaumArt = QStringLiteral("Raumart %1").arg(t);
        if (!db.AddNewRaumartRec(&art))
            return fehler(db.LastError());
    }
    for (int r = 1; r <= o.raeume; ++r) {
        CAnzeigeRec raum;
        raum.RaumNr = QStringLiteral("1.1.%1.%2").arg(r / 50).arg(r, 3, 10, QLatin1Char('0'));
        raum.Kurzbez = QStringLiteral("Raum %1").arg(r, 3, 10, QLatin1Char('0'));
        raum.lRaumartId = (r - 1) % o.raumarten + 1;
        raum.IANZAHLPERS = static_cast<int16_t>(10 + r % 40);
        raum.stAusstattung = QStringLiteral("WPB");
        raum.STSTUHLANORDNUNG = QStringLiteral("Parlament");
        raum.IPTISCHE = static_cast<int16_t>(2 * (r % 9));
        if (!db.AddNewrb_AnzeigeRec(&raum))
            return fehler(db.LastError());
    }

    // Booking i of a room lies on day floor(first + i * step) in slot i % 4; the variations come
    // from a hash of the running number n.
    const int proRaum = o.belegungen / o.raeume;
    const int rest = o.belegungen % o.raeume;
    const double schritt = 365.0 * o.raeume / o.proJahr;
    const double erster = o.ersterTag();
    auto buchung = [&](int raum, int i, int n) {
        CBelegungRec b;
        b.rb_id = raum;
        b.dt_von = b.dt_bis = std::floor(erster + i * schritt);
        const uint32_t h = static_cast<uint32_t>(n) * 2654435761u;
        b.tm_von = (8 + 4 * (i % 4) + (h >> 13) % 2 * 0.5) / 24.0;
        b.tm_bis = b.tm_von + (1 + (h >> 17) % 2) / 24.0;
        b.Best = QStringLiteral("Besteller %1").arg(n % 997);
        b.Tel = QStringLiteral("0221 %1").arg(100000 + n % 89999);
        b.Inst = QStringLiteral("Firma %1").arg(n % 113);
        b.KST = QStringLiteral("KST %1").arg(n % 31);
        b.Pers = QString::number(5 + n % 30);
        b.Verst = QStringLiteral("Veranstaltung %1").arg(n % 113);
        b.Bem = QStringLiteral("Bemerkung %1").arg(n % 211);
        b.Aust = static_cast<int32_t>(h % 4096);
        b.STEMAIL = QStringLiteral("person%1@firma.example").arg(n % 997);
        b.datBestellung = b.datErstBestellung = b.dt_von - 14;
        if (o.umbauJede > 0 && n % o.umbauJede == 0) {
            b.Udt_von = b.Udt_bis = b.Rdt_von = b.Rdt_bis = b.dt_von;
            b.Utm_von = b.tm_von - 1 / 24.0;
            b.Utm_bis = b.tm_von;
            b.Rtm_von = b.tm_bis;
            b.Rtm_bis = b.tm_bis + 1 / 48.0;
        }
        return b;
    };

    // Month by month, one order per room with its bookings of that month.
    QVector<int> naechste(o.raeume + 1, 0); // per room: the next booking's index
    int n = 0;
    QElapsedTimer uhr;
    uhr.start();
    for (double monatEnde = erster + 30.4375;; monatEnde += 30.4375) {
        bool weitere = false;
        for (int r = 1; r <= o.raeume; ++r) {
            const int anzahl = proRaum + (r <= rest ? 1 : 0);
            QVector<CBelegungRec> auftrag;
            int& i = naechste[r];
            while (i < anzahl && erster + i * schritt < monatEnde)
                auftrag.append(buchung(r, i++, n++));
            weitere = weitere || i < anzahl;
            if (auftrag.isEmpty())
                continue;
            const SchreibPfad::Ergebnis e =
                SchreibPfad::NeuerAuftrag(db.ConnectionName(), auftrag, 0.0);
            if (!e.ok())
                return fehler(QStringLiteral("Auftrag nicht gespeichert: %1 %2 %3")
                                  .arg(int(e.status))
                                  .arg(e.meldung, e.fehler));
        }
        if (!weitere)
            break;
        if (uhr.elapsed() > 10000) {
            std::fprintf(stderr, "  %d Belegungen ...\n", n);
            uhr.restart();
        }
    }
    if (o.archivBis > 0) {
        const SchreibPfad::ArchivErgebnis a = db.ArchiviereBelegungen(o.archivBis, 15 / 1440.0);
        if (!a.ok())
            return fehler(
                QStringLiteral("Archivieren gescheitert: %1 %2").arg(a.meldung, a.fehler));
    }
    db.CloseDb();
    return true;
}

// Copies the project with these options into the folder `ordner`, generating it first into a
// cache folder below the system's temporary folder when it is not there yet.
inline bool Bereitstellen(const QString& ordner, const Optionen& o, QString* error) {
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(o.schluessel().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(12));
    const QString cache = QDir::tempPath() + QStringLiteral("/tovo-bench-projekte/") + hash;
    const QString fertig = cache + QStringLiteral("/fertig");
    if (!QFile::exists(fertig)) {
        QDir(cache).removeRecursively();
        if (!QDir().mkpath(cache))
            return false;
        std::fprintf(stderr, "Erzeuge Projekt %s (%d Belegungen) in %s\n",
                     qPrintable(o.schluessel()), o.belegungen, qPrintable(cache));
        if (!Erzeuge(cache, o, error))
            return false;
        QFile marke(fertig);
        marke.open(QIODevice::WriteOnly);
    }
    const QString ziel = ordner + QStringLiteral("/TovoRaumverw.mdb");
    QFile::remove(ziel);
    if (!QFile::copy(cache + QStringLiteral("/TovoRaumverw.mdb"), ziel)) {
        if (error)
            *error = QStringLiteral("Kopie nach %1 gescheitert.").arg(ziel);
        return false;
    }
    QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner);
    return true;
}

} // namespace BenchProjekt

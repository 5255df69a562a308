// Measures publishing to the portal on a throw-away MariaDB server and prints the figures, last
// the line "publish_ratio=R republish_ratio=S":
//   R = time of a whole publication (reading the project, room types, rooms, bookings, one
//       transaction) / a bare multi-row INSERT of the same booking rows in one transaction
//   S = the same for a second publication that replaces the first
// Usage: bench_portal [rooms] [bookings]   (defaults 200 and 100000)
#include "MariaDbServer.h"
#include "NetzpultPublish.h"
#include "SqlConnection.h"
#include "TestUtil.h"
#include "TovoDate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

bool Fuellen(const QString& pfad, int raeume, int belegungen) {
    const QString name = UniqueConnectionName(QStringLiteral("bench"));
    bool ok = OpenSqliteConnection(pfad, name, false, nullptr);
    {
        QSqlDatabase db = QSqlDatabase::database(name);
        QSqlQuery q(db);
        ok = ok && db.transaction();
        for (int t = 1; t <= 8; ++t) {
            q.prepare(QStringLiteral("INSERT INTO T_Raumart (stRaumArt) VALUES (?)"));
            q.addBindValue(QStringLiteral("Raumart %1").arg(t));
            ok = ok && q.exec();
        }
        for (int r = 1; r <= raeume; ++r) {
            q.prepare(QStringLiteral("INSERT INTO T_rb_Anzeige (RaumNr, Kurzbez, lRaumartId, "
                                     "IANZAHLPERS, stAusstattung, IPTISCHE, IPTISCHEFEST) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?)"));
            for (const QVariant& v :
                 QVariantList{QStringLiteral("1.%1").arg(r), QStringLiteral("Raum %1").arg(r),
                              1 + r % 8, 10 + r % 40, QStringLiteral("WPB"), 2 * (r % 9), 0})
                q.addBindValue(v);
            ok = ok && q.exec();
        }
        const double start = TovoDate::fromParts(2026, 1, 5).value();
        q.prepare(QStringLiteral("INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, "
                                 "dt_bis, tm_bis, Best, Tel, Inst, KST, Pers, Verst, Bem, Aust, "
                                 "STEMAIL, IPTISCHE, datBestellung) VALUES "
                                 "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < belegungen; ++i) {
            const double tag = start + i / raeume / 4;
            const double zeit = (8 + 2 * (i % 4)) / 24.0;
            for (const QVariant& v : QVariantList{
                     i + 1, 1 + i % raeume, tag, zeit, tag, zeit + 1.5 / 24,
                     QStringLiteral("Besteller %1").arg(i % 997), QStringLiteral("0711 %1").arg(i),
                     QStringLiteral("Firma %1").arg(i % 113), QStringLiteral("KST %1").arg(i % 31),
                     QString::number(5 + i % 30), QStringLiteral("Veranstaltung Nummer %1").arg(i),
                     QStringLiteral("Bemerkung zur Belegung %1").arg(i), i % 4096,
                     QStringLiteral("person%1@example.org").arg(i % 997), 2 * (i % 5), tag - 7})
                q.addBindValue(v);
            ok = ok && q.exec();
        }
        ok = ok && db.commit();
    }
    CloseSqliteConnection(name);
    return ok;
}

// Seconds of a bare multi-row INSERT of the rows in one transaction.
double BareInsert(QSqlDatabase db, const QVector<QVariantList>& zeilen) {
    QSqlQuery(db).exec(QStringLiteral("DELETE FROM T_BELEGUNG_BARE"));
    QElapsedTimer t;
    t.start();
    db.transaction();
    QString error;
    if (!NetzpultPublish::EinfuegenInBloecken(
            db, QStringLiteral("T_BELEGUNG_BARE"), NetzpultPublish::BelegungsSpalten(),
            zeilen.size(), [&](qint64 i) { return zeilen[i]; }, {}, &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
    db.commit();
    return t.nsecsElapsed() / 1e9;
}

double Publish(QSqlDatabase db, const QString& pfad) {
    QElapsedTimer t;
    t.start();
    NetzpultPublish::Daten daten;
    QString error;
    if (!NetzpultPublish::LeseDaten({DbTyp::SQLite, pfad}, daten, &error) ||
        !NetzpultPublish::Veroeffentliche(db, daten, {}, &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int raeume = argc > 1 ? std::max(1, atoi(argv[1])) : 200;
    const int belegungen = argc > 2 ? std::max(1, atoi(argv[2])) : 100000;

    QTemporaryDir dir;
    const QString pfad = CopyTemplateTo(dir.path());
    if (!Fuellen(pfad, raeume, belegungen)) {
        std::fprintf(stderr, "Projekt konnte nicht gefüllt werden\n");
        return 1;
    }
    MariaDbServer server;
    QString error;
    if (!server.ok() || !server.CreatePortal(QStringLiteral("netzpult"), &error)) {
        std::fprintf(stderr, "%s %s\n", qPrintable(server.error()), qPrintable(error));
        return 1;
    }
    QString name;
    double bare = 0, erst = 0, zweit = 0;
    {
        QSqlDatabase db = server.Connect(QStringLiteral("netzpult"), &name);
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE T_BELEGUNG_BARE LIKE T_BELEGUNG"));

        // The same booking rows, made ready before the clock starts.
        NetzpultPublish::Daten daten;
        NetzpultPublish::LeseDaten({DbTyp::SQLite, pfad}, daten, &error);
        QVector<QVariantList> zeilen;
        zeilen.reserve(daten.belegungen.Count());
        for (const CBelegungRec* b : daten.belegungen)
            zeilen.append(NetzpultPublish::BelegungsWerte(*b));

        bare = BareInsert(db, zeilen);
        erst = Publish(db, pfad);
        const double bare2 = BareInsert(db, zeilen);
        zweit = Publish(db, pfad);
        bare = std::min(bare, bare2);
    }
    QSqlDatabase::removeDatabase(name);

    std::printf("rooms=%d bookings=%d\n", raeume, belegungen);
    std::printf("bare insert: %.3f s\n", bare);
    std::printf("first publication: %.3f s\n", erst);
    std::printf("second publication: %.3f s\n", zweit);
    std::printf("publish_ratio=%.2f republish_ratio=%.2f\n", erst / bare, zweit / bare);
    return 0;
}

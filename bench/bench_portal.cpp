// Measures publishing to the portal on a throw-away MariaDB server, the way the control runs it
// (Netzpult::UpdateSQLNetzpult: worker thread, progress window, both connections of its own),
// against hand-written plain SQL doing the same work. Last line:
//   change_ratio=R full_ratio=S
//   R = median time of the publication after one booking saved through the write path
//       / median time of a hand-written one: open both connections, read the change journal and
//       that booking, delete its published row and insert it anew, renumber the requests,
//       commit, strike the entry from the journal
//   S = median time of the full copy (the menu command) / median time of a hand-written full
//       copy: one DELETE of the published bookings, one SELECT of the bookings not archived,
//       multi-row INSERTs of 400 rows, one transaction
// Also printed: the medians themselves and the peak memory of the full copy (VmHWM).
// Usage: bench_portal [bookings] [runs]   (defaults 100000 and 5)
#include "BenchProjekt.h"
#include "CRvDb.h"
#include "MariaDbServer.h"
#include "RvGlobals.h"
#include "SchreibPfad.h"
#include "SqlConnection.h"
#include "TestUtil.h"
#include "TovoTools.h"
#include "UpdateNetzpult.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {

double Sekunden(const std::function<void()>& lauf) {
    QElapsedTimer t;
    t.start();
    lauf();
    return t.nsecsElapsed() / 1e9;
}

double Median(QVector<double> werte) {
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() / 2];
}

// Peak resident memory since the last reset, in MB.
double SpitzeMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith("VmHWM:"))
            return zeile.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}
void SpitzeZuruecksetzen() {
    malloc_trim(0); // what the generator freed does not count
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// --- the hand-written baseline -----------------------------------------------------------------

const char* const kSpalten =
    "LBELEGID,DTDATUMVON,STZEITVON,DTDATUMBIS,STZEITBIS,STDATUMERST,STDATUMKORR,LRAUMID,"
    "BRESERVIERT,STNAME,STTEL,STFIRMA,STKOSTENSTELLE,STEMAIL,STAUSSTATTUNG,STSONSTIGES,"
    "STSTUHLANORDNUNG,IANZAHLPERSONEN,STBEMERKUNG,STNUTZUNG,STPTISCHE,STSTATUS,LWUNSCHID";
const char* const kLesen =
    "SELECT Rec_ID, dt_von, tm_von, dt_bis, tm_bis, datBestellung, rb_id, Best, Tel, Inst, KST, "
    "STEMAIL, Aust, Austbem, STSTUHLANORDNUNG, Pers, Bem, Verst, IPTISCHE FROM T_fm_belegung ";

// The 23 values of a published row from a row of kLesen.
void Werte(const QSqlQuery& q, QVariantList& out) {
    const auto datum = [](double d) { return QDate(1899, 12, 30).addDays(qint64(d)); };
    const auto zeit = [](double t) {
        return QTime(0, 0).addSecs(int(std::lround((t - std::floor(t)) * 86400))).toString("HH:mm");
    };
    const auto text = [&](int i) {
        return q.value(i).isNull() ? QString("") : q.value(i).toString();
    };
    const double bestellt = q.value(5).toDouble();
    QString aust = QString("");
    const int bits = q.value(12).toInt();
    for (int i = 11; i >= 0; --i)
        if (bits & (1 << i))
            aust += QLatin1Char("WPCMRFLNASGB"[i]);
    out << q.value(0) << datum(q.value(1).toDouble()) << zeit(q.value(2).toDouble())
        << datum(q.value(3).toDouble()) << zeit(q.value(4).toDouble())
        << (q.value(5).isNull() || bestellt < 2 || bestellt >= 2958465
                ? QString("")
                : datum(bestellt).toString("dd.MM.yyyy"))
        << QString("") << q.value(6) << 1 << text(7) << text(8) << text(9) << text(10) << text(11)
        << aust << text(13) << text(14) << q.value(15).toString().toInt() << text(16) << text(17)
        << QString::number(q.value(18).toInt()) << QString("R") << 0;
}

struct Handarbeit {
    QString projekt, portal;
    Handarbeit(const QString& pfad, const MariaDbServer& server) {
        projekt = QStringLiteral("hand_projekt");
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), projekt);
        db.setDatabaseName(pfad);
        db.open();
        server.Connect(QStringLiteral("netzpult"), &portal);
    }
    ~Handarbeit() {
        QSqlDatabase::database(projekt).close();
        QSqlDatabase::removeDatabase(projekt);
        QSqlDatabase::removeDatabase(portal);
    }
    QSqlDatabase p() { return QSqlDatabase::database(portal); }

    void einfuegen(QVector<QVariantList>& zeilen) {
        QString sql = QStringLiteral("INSERT INTO T_BELEGUNG (%1) VALUES ").arg(kSpalten);
        for (int r = 0; r < zeilen.size(); ++r)
            sql += (r ? QStringLiteral(",") : QString()) +
                   QStringLiteral("(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
        QSqlQuery ins(p());
        ins.prepare(sql);
        int i = 0;
        for (const QVariantList& z : zeilen)
            for (const QVariant& v : z)
                ins.bindValue(i++, v);
        if (!ins.exec())
            std::fprintf(stderr, "%s\n", qPrintable(ins.lastError().text()));
        zeilen.clear();
    }
    void nummerieren() {
        QSqlQuery q(p());
        q.exec(QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = 0 WHERE LWUNSCHID <> 0"));
        q.exec(QStringLiteral("SET @n := 0"));
        q.exec(QStringLiteral("UPDATE T_BELEGUNG SET LWUNSCHID = (@n := @n + 1) WHERE "
                              "BRESERVIERT=0"));
    }
    // The change as the journal names it: read it, replace its published row, renumber, commit,
    // and strike it from the journal.
    void eine() {
        QSqlQuery q(QSqlDatabase::database(projekt));
        q.exec(QStringLiteral("SELECT MAX(lNr), MAX(lId) FROM T_Aenderung"));
        q.next();
        const QVariant nr = q.value(0), recId = q.value(1);
        q.prepare(QLatin1String(kLesen) + QStringLiteral("WHERE Rec_ID = ?"));
        q.addBindValue(recId);
        q.exec();
        QVector<QVariantList> zeilen(1);
        if (q.next())
            Werte(q, zeilen[0]);
        p().transaction();
        QSqlQuery del(p());
        del.prepare(QStringLiteral("DELETE FROM T_BELEGUNG WHERE LBELEGID = ? AND BRESERVIERT<>0"));
        del.addBindValue(recId);
        del.exec();
        einfuegen(zeilen);
        nummerieren();
        p().commit();
        q.prepare(QStringLiteral("DELETE FROM T_Aenderung WHERE lNr <= ?"));
        q.addBindValue(nr);
        q.exec();
    }
    void alle() {
        QSqlQuery q(QSqlDatabase::database(projekt));
        q.setForwardOnly(true);
        q.exec(QLatin1String(kLesen) + QStringLiteral("WHERE bArchiviert = 0 ORDER BY Rec_ID"));
        p().transaction();
        QSqlQuery(p()).exec(QStringLiteral("DELETE FROM T_BELEGUNG WHERE BRESERVIERT<>0"));
        QVector<QVariantList> zeilen;
        while (q.next()) {
            zeilen.append(QVariantList());
            Werte(q, zeilen.last());
            if (zeilen.size() == 400)
                einfuegen(zeilen);
        }
        if (!zeilen.isEmpty())
            einfuegen(zeilen);
        nummerieren();
        p().commit();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int belegungen = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int laeufe = argc > 2 ? std::max(5, atoi(argv[2])) : 5;

    QTemporaryDir dir;
    gstProjektDir = dir.path() + QLatin1Char('/');
    gstDbPath = CopyTemplateTo(dir.path());
    {
        const QString name = UniqueConnectionName(QStringLiteral("fuellen"));
        BenchProjekt::Optionen o;
        o.belegungen = belegungen;
        QString error;
        const bool ok = OpenSqliteConnection(gstDbPath, name, false, &error) &&
                        BenchProjekt::Erzeuge(name, o, &error);
        CloseSqliteConnection(name);
        if (!ok) {
            std::fprintf(stderr, "Projekt konnte nicht gefüllt werden: %s\n", qPrintable(error));
            return 1;
        }
    }
    MariaDbServer server;
    QString error;
    if (!server.ok() || !server.CreatePortal(QStringLiteral("netzpult"), &error)) {
        std::fprintf(stderr, "%s %s\n", qPrintable(server.error()), qPrintable(error));
        return 1;
    }
    const QString ini = gstProjektDir + kIniFileName;
    CTovoTools::Instance().WriteIniValue(ini, "WebMDB", "DBPATH", server.ConnText());
    CTovoTools::Instance().WriteIniValue(ini, "WebMDB", "NetzpultType", "1");

    // The project as the program opens it.
    CRvDb rv;
    rv.SetDbPath(gstDbPath);
    rv.SetOpenReadOnly(false);
    if (!rv.OpenDb()) {
        std::fprintf(stderr, "%s\n", qPrintable(rv.LastError()));
        return 1;
    }
    gRvDb = &rv;

    const auto veroeffentlichen = [](Netzpult::Umfang umfang) {
        return Sekunden([&] {
            if (!Netzpult::UpdateSQLNetzpult(nullptr, umfang))
                std::fprintf(stderr, "Veröffentlichung fehlgeschlagen\n");
        });
    };
    SpitzeZuruecksetzen();
    const double erste = veroeffentlichen(Netzpult::Umfang::Aenderungen);
    const double spitzeMb = SpitzeMb();

    QVector<double> aenderung, handEine, voll, handAlle;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        QVector<CBelegungRec> neu(1);
        neu[0].rb_id = 1 + lauf;
        // Far ahead, where no generated booking is in the way.
        neu[0].dt_von = neu[0].dt_bis = TovoDate::today().value() + 20 * 365 + lauf;
        neu[0].tm_von = 0.25;
        neu[0].tm_bis = 0.3;
        neu[0].Best = QStringLiteral("Bench");
        if (!SchreibPfad::NeuerAuftrag(rv.ConnectionName(), neu, 0).ok())
            std::fprintf(stderr, "Speichern fehlgeschlagen\n");
        aenderung << veroeffentlichen(Netzpult::Umfang::Aenderungen);
        // The same change once more, by hand; the connections are part of the work.
        if (!SchreibPfad::Aendern(rv.ConnectionName(), neu, 0).ok())
            std::fprintf(stderr, "Speichern fehlgeschlagen\n");
        handEine << Sekunden([&] { Handarbeit(gstDbPath, server).eine(); });
    }
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        voll << veroeffentlichen(Netzpult::Umfang::Vollstaendig);
        handAlle << Sekunden([&] { Handarbeit(gstDbPath, server).alle(); });
    }
    gRvDb = nullptr;

    std::printf("bookings=%d runs=%d\n", belegungen, laeufe);
    std::printf("first publication (full copy into an empty portal): %.3f s, peak %.0f MB\n", erste,
                spitzeMb);
    std::printf("after one saved booking: %.4f s, hand-written %.4f s\n", Median(aenderung),
                Median(handEine));
    std::printf("full copy: %.3f s, hand-written %.3f s\n", Median(voll), Median(handAlle));
    std::printf("full_copy_peak_mb=%.0f\n", spitzeMb);
    std::printf("change_ratio=%.2f full_ratio=%.2f\n", Median(aenderung) / Median(handEine),
                Median(voll) / Median(handAlle));
    return 0;
}

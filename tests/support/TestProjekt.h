#pragma once

// A temporary project: a copy of the template database (in the server runs a new database on the
// test's PostgreSQL cluster) opened as gRvDb and gDb, no tolerance, full rights, a scripted
// prompt. TestProjekt(false) gives only folder, rights and prompt, for a project the control opens.
#include "CRvDb.h"
#include "PostgresServer.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "SqlConnection.h"
#include "TestBelegungen.h"
#include "TestUtil.h"
#if __has_include("TovoRecht.h")
#include "TovoRecht.h"
#define TOVO_TEST_MIT_RECHT
#endif

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <cmath>
#include <memory>

// Monday 16.03.2026 plus n days, plus hours; a time of day; the date as the forms show it.
inline double Tag(int n, double stunden = 0) {
    return TovoDate::fromParts(2026, 3, 16 + n).value() + stunden / 24;
}
inline double Uhr(int h, int m = 0) {
    return (h * 60 + m) / 1440.0;
}
inline QString TagText(int n) {
    return TovoDate(Tag(n)).toShortDateText();
}

// Every field of a record as "name=value", to compare whole records at once.
template <class Rec> QStringList Felder(Rec rec) {
    QStringList out;
    rec.visitFields([&](const char* name, auto&& f, NullRule) {
        using T = std::decay_t<decltype(f)>;
        QString v;
        if constexpr (std::is_same_v<T, DateField>)
            v = QString::number(f.value, 'g', 15);
        else if constexpr (std::is_same_v<T, double>)
            v = QString::number(f, 'g', 15);
        else if constexpr (std::is_same_v<T, Currency>)
            v = QString::number(f.raw());
        else if constexpr (std::is_same_v<T, QString>)
            v = f;
        else
            v = QString::number(f);
        out << QLatin1String(name) + QLatin1Char('=') + v;
    });
    return out;
}

class TestProjekt {
public:
    explicit TestProjekt(bool oeffnen = true) : m_offen(oeffnen) {
        gdToleranz = 0;
#ifdef TOVO_TEST_MIT_RECHT
        goRecht = std::make_shared<CTovoRecht>();
#endif
        gstProjektDir = dir.path() + QLatin1Char('/');
        if (TestAufServer()) {
            PostgresServer& server = PostgresServer::Instanz();
            QString fehler = server.error();
            m_datenbank = server.NeueDatenbank(&fehler);
            if (m_datenbank.isEmpty())
                qCritical("PostgreSQL: %s", qPrintable(fehler));
            gDbOrt = {DbTyp::PostgreSQL, server.Verbindung(m_datenbank)};
            ok = !m_datenbank.isEmpty() && SchreibeServerOrt(gstProjektDir, gDbOrt.ort);
        } else {
            // Opened by the control, the project receives the template itself.
            path = oeffnen ? CopyTemplateTo(dir.path()) : gstProjektDir + kDbFileName;
            gDbOrt = {DbTyp::SQLite, path};
        }
        if (!oeffnen)
            return;
        db.SetDatenbankOrt(gDbOrt);
        db.SetOpenReadOnly(false);
        ok = ok && db.OpenDb();
        gRvDb = &db;
        gDb = UniqueConnectionName(QStringLiteral("gDb"));
        ok = ok && OeffneDatenbank(gDbOrt, gDb, false, nullptr);
    }
    ~TestProjekt() {
#ifdef TOVO_TEST_MIT_RECHT
        goRecht.reset();
#endif
        if (m_offen) {
            CloseSqliteConnection(gDb);
            gDb.clear();
            gRvDb = nullptr;
            db.CloseDb();
        }
        if (!m_datenbank.isEmpty())
            PostgresServer::Instanz().Entferne(m_datenbank);
    }
    TestProjekt(const TestProjekt&) = delete;
    TestProjekt& operator=(const TestProjekt&) = delete;

    int32_t raumart(const QString& name) {
        CRaumartRec r;
        r.stRaumArt = name;
        ok = gRvDb->AddNewRaumartRec(&r) && ok;
        return r.lId;
    }
    int32_t raum(CAnzeigeRec r) {
        ok = gRvDb->AddNewrb_AnzeigeRec(&r) && ok;
        return r.az_ID;
    }
    int32_t raum(const QString& name, int32_t art, const QString& nr = QString()) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.lRaumartId = art;
        r.RaumNr = nr;
        return raum(r);
    }

    // A booking of a room from `von` to `bis` (day numbers with the time of day; times are kept
    // to the second), ordered by "Berg, Karl" for a "Sitzung".
    static CBelegungRec satz(int32_t raumId, double von, double bis, int32_t auftrNr = 500) {
        const auto teile = [](double t, double& datum, double& zeit) {
            datum = std::floor(t);
            zeit = std::round((t - datum) * 86400) / 86400;
        };
        CBelegungRec b;
        b.rb_id = raumId;
        b.lAuftrNr = auftrNr;
        teile(von, b.dt_von, b.tm_von);
        teile(bis, b.dt_bis, b.tm_bis);
        b.Best = QStringLiteral("Berg, Karl");
        b.Verst = QStringLiteral("Sitzung");
        b.datErstBestellung = b.datBestellung = Tag(-10);
        return b;
    }
    std::shared_ptr<CBelegungRec> buche(CBelegungRec b) {
        QVector<TestBelegung> zeile{{b, false, {}}};
        ok = BelegungenEinlagern(gRvDb->ConnectionName(), zeile) && ok;
        return std::make_shared<CBelegungRec>(zeile[0].rec);
    }
    int32_t buche(int32_t raumId, double von, double bis, int32_t auftrNr = 500) {
        return buche(satz(raumId, von, bis, auftrNr))->Rec_ID;
    }
    CBelegungRec lies(int32_t recId) {
        CBelegungRec b;
        b.Rec_ID = recId;
        gRvDb->Readfm_belegungRec(&b);
        return b;
    }
    void archiviere(int32_t recId) {
        wert(QStringLiteral("UPDATE T_fm_belegung SET bArchiviert = -1 WHERE Rec_ID = ?"), {recId});
    }

    // The first value of a statement on gDb (a warning when it fails).
    QVariant wert(const QString& sql, const QVariantList& binds = {}) {
        QSqlQuery q(QSqlDatabase::database(gDb));
        if (!ExecBound(q, sql, binds))
            qWarning() << sql << q.lastError().text();
        return q.isSelect() && q.next() ? q.value(0) : QVariant();
    }
    int anzahlBelegungen() {
        return wert(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung")).toInt();
    }

    QStringList texte() const {
        return prompt.texte();
    }
    DatenbankOrt ort() const {
        return db.Ort();
    }

    QTemporaryDir dir;
    QString path;
    CRvDb db;
    ScriptedPrompt prompt;
    bool ok = true;

private:
    bool m_offen;
    QString m_datenbank; // on the server
};

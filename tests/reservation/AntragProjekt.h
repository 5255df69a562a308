#pragma once

// A real project for the reservation form's tests: the template database with one room type and
// two rooms, the master data with a company and two persons, full rights and a scripted prompt.
#include "CRvDb.h"
#include "R_Main.h"
#include "RvGlobals.h"
#include "ScriptedPrompt.h"
#include "SqlConnection.h"
#include "StammdatenDb.h"
#include "TestUtil.h"
#include "TovoRecht.h"
#include "frmAntrag.h"

#include <QComboBox>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// Monday 16.03.2026 plus n days.
inline double Tag(int n) {
    return TovoDate::fromParts(2026, 3, 16 + n).value();
}
inline double Uhr(int h, int m = 0) {
    return (h * 60 + m) / 1440.0;
}
inline QString TagText(int n) {
    return TovoDate(Tag(n)).toShortDateText();
}

class AntragProjekt {
public:
    AntragProjekt() {
        const QString path = CopyTemplateTo(dir.path());
        gstProjektDir = dir.path() + QLatin1Char('/');
        db.SetDbPath(path);
        db.SetOpenReadOnly(false);
        ok = db.OpenDb();
        gRvDb = &db;
        gDb = UniqueConnectionName(QStringLiteral("gDb"));
        ok = ok && OpenSqliteConnection(path, gDb, false, nullptr);
        gdToleranz = 0;
        gstMailname = QStringLiteral("Hausdienste");
        gbUpdatePending = false;
        goRecht = std::make_shared<CTovoRecht>();
        R_Main::gNextNrDialog = [](int32_t) { return -1; };

        CRaumartRec art;
        art.stRaumArt = QStringLiteral("Besprechung");
        ok = ok && db.AddNewRaumartRec(&art);
        typ = art.lId;
        raumA =
            raum(QStringLiteral("Raum A"), QStringLiteral("WPB"), QStringLiteral("UOK"), 30, 10, 4);
        raumB = raum(QStringLiteral("Raum B"), QStringLiteral("WPCMRFLNASGB"), QStringLiteral("K"),
                     80, 20, 0);

        ok = ok && stamm.OpenJet(QString(), QString(), dir.path() + QStringLiteral("/Stamm.mdb"),
                                 nullptr);
        Firma f;
        f.stName = QStringLiteral("Stadtwerke");
        ok = ok && stamm.SaveFirma(f);
        firma = f.lId;
        Person p;
        p.lFirmaId = firma;
        p.stName = QStringLiteral("O'Neill");
        p.stVorname = QStringLiteral("Anna");
        p.stTelefon = QStringLiteral("0351 1234");
        p.stTelefax = QStringLiteral("0351 1235");
        p.stEmail = QStringLiteral("anna@stadtwerke.de");
        p.stKostenstelle = QStringLiteral("4711");
        ok = ok && stamm.SavePerson(p);
        anna = p.lId;
        Person q;
        q.lFirmaId = firma;
        q.stName = QStringLiteral("Berg");
        q.stVorname = QStringLiteral("Karl");
        ok = ok && stamm.SavePerson(q);
        karl = q.lId;
    }
    ~AntragProjekt() {
        R_Main::gNextNrDialog = nullptr;
        goRecht.reset();
        CloseSqliteConnection(gDb);
        gDb.clear();
        gRvDb = nullptr;
        db.CloseDb();
    }

    int32_t raum(const QString& name, const QString& ausstattung, const QString& stuhl, int pers,
                 int tische, int fest) {
        CAnzeigeRec r;
        r.Kurzbez = name;
        r.lRaumartId = typ;
        r.stAusstattung = ausstattung;
        r.STSTUHLANORDNUNG = stuhl;
        r.IANZAHLPERS = static_cast<int16_t>(pers);
        r.IPTISCHE = static_cast<int16_t>(tische);
        r.IPTISCHEFEST = static_cast<int16_t>(fest);
        ok = ok && db.AddNewrb_AnzeigeRec(&r);
        return r.az_ID;
    }

    // A booking of a room on day n from hh:mm to hh:mm, stored under its own order number.
    CBelegungRec satz(int32_t raumId, int n, double von, double bis, int32_t auftrNr = 500) {
        CBelegungRec b;
        b.rb_id = raumId;
        b.lAuftrNr = auftrNr;
        b.dt_von = Tag(n);
        b.tm_von = von;
        b.dt_bis = Tag(n);
        b.tm_bis = bis;
        b.Best = QStringLiteral("Berg, Karl");
        b.Verst = QStringLiteral("Sitzung");
        b.datErstBestellung = Tag(-10);
        b.datBestellung = Tag(-10);
        return b;
    }
    std::shared_ptr<CBelegungRec> buche(CBelegungRec b) {
        db.AddNewfm_belegungRec(&b);
        return std::make_shared<CBelegungRec>(b);
    }
    CBelegungRec lies(int32_t recId) {
        CBelegungRec b;
        b.Rec_ID = recId;
        db.Readfm_belegungRec(&b);
        return b;
    }
    QVariant wert(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database(gDb));
        if (!q.exec(sql))
            qWarning() << sql << q.lastError().text();
        return q.next() ? q.value(0) : QVariant();
    }
    int anzahlBelegungen() {
        return wert(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung")).toInt();
    }

    // Opens the form as the occupancy control does and runs its load and activation.
    void oeffne(frmAntrag& form) {
        form.f_StammDb = &stamm;
        form.Form_Load();
        form.Form_Activate();
    }

    // The texts of the messages shown so far.
    QStringList texte() const {
        QStringList t;
        for (const PromptMessage& m : prompt.shown)
            t << m.text;
        return t;
    }

    QTemporaryDir dir;
    CRvDb db;
    CStammdatenDb stamm;
    ScriptedPrompt prompt;
    bool ok = true;
    int32_t typ = 0, raumA = 0, raumB = 0, firma = 0, anna = 0, karl = 0;
};

#include "Dialekt.h"
#include "KonfliktSuche.h"
#include "SchreibPfad.h"
#include "TestProjekt.h"
#include "ZeilenAbbildung.h"

#include <QRegularExpression>
#include <QSqlRecord>
#include <QTest>

namespace {

const QString kAdd = "Der Datensatz konnte nicht gespeichert werden!";
const QString kEdit = "Der Datensatz konnte nicht aktualisiert werden!";
const QString kRead = "Der Datensatz konnte nicht gelesen werden!";
const QString kDel = "Der Datensatz konnte nicht gelöscht werden!";
const QString kColl = "Die Datensätze konnten nicht in die Liste gelesen werden!";
const QString kCtrl = "Die Datensätze konnten nicht ins Listenfeld gelesen werden!";
const QString kStructure = "Die Struktur der Datenbank ist ungültig!";
const QString kOdd = "O'Brien \"Saal\"; Größe=1 -- ü%_";

using Items = QList<QPair<QString, int32_t>>;

class FakeList : public IListControl {
public:
    void Clear() override { items.clear(); }
    void AddItem(const QString& text) override { items.append({text, -1}); }
    int NewIndex() const override { return ListCount() - 1; }
    int32_t ItemData(int index) const override { return items.at(index).second; }
    void SetItemData(int index, int32_t value) override { items[index].second = value; }
    int ListCount() const override { return int(items.size()); }
    QString List(int index) const override { return items.at(index).first; }

    Items items;
};

// Records and containers the common-frame cases work on; keys and numbers that do not exist.
struct Scratch {
    Scratch() {
        emp.lId = 3;
        bel.Rec_ID = 999;
        list.AddItem("alt");
    }
    CMitarbeiterRec emp;
    CBelegungRec bel;
    CAnzeigeRec room;
    CRaumartRecColl arts;
    FakeList list;
};

// Gives every field but the key a distinct value derived from `seed` (odd characters in texts).
template <class Rec> void fill(Rec& rec, int seed) {
    int i = 0;
    rec.visitFields([&](const char* name, auto&& f, NullRule) {
        using T = std::decay_t<decltype(f)>;
        if (qstrcmp(name, Rec::kKey) == 0)
            return;
        ++i;
        if constexpr (std::is_same_v<T, QString>)
            f = kOdd + QString::number(seed * 100 + i);
        else if constexpr (std::is_same_v<T, DateField>)
            f.value = 45000 + seed + i / 4.0;
        else if constexpr (std::is_same_v<T, Currency>)
            f = Currency::fromDouble(seed + i + 0.1234);
        else if constexpr (std::is_same_v<T, bool>)
            f = seed % 2 == 1;
        else if constexpr (std::is_same_v<T, double>)
            f = seed + i / 8.0;
        else
            f = T(seed * 100 + i);
    });
}

} // namespace

using DbOp = std::function<bool(CRvDb&, Scratch&)>;
Q_DECLARE_METATYPE(DbOp)

class TestCRvDb : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    CRvDb& db() { return p->db; }
    int32_t raum = 0;
    QString kurz; // a second connection that waits only briefly for a lock (20 ms)

    void kurzeVerbindung() {
        raum = p->raum("A", p->raumart("T"));
        kurz = UniqueConnectionName("kurz");
        if (TestAufServer()) {
            QVERIFY(
                OeffneDatenbank({DbTyp::PostgreSQL, p->ort().ort + " options='-c lock_timeout=20'"},
                                kurz, false, nullptr));
            return;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", kurz);
        db.setDatabaseName(p->path);
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=20");
        QVERIFY(db.open());
    }

    QVariantList column(const QString& select) {
        QVariantList out;
        QSqlQuery q(QSqlDatabase::database(gDb));
        q.exec(select);
        while (q.next())
            out << q.value(0);
        return out;
    }

private slots:
    void init() {
        // Catches "connection still in use" and every other stray warning.
        QTest::failOnWarning(QRegularExpression(".*"));
        p = std::make_unique<TestProjekt>();
        QVERIFY2(p->ok, qPrintable(db().LastError()));
    }
    void cleanup() {
        if (!kurz.isEmpty())
            QSqlDatabase::removeDatabase(std::exchange(kurz, QString()));
        p.reset();
    }

    void openDb_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("empty path") << "empty";
        if (TestAufServer()) {
            QTest::newRow("no server") << "server";
            QTest::newRow("password in the text") << "password";
            return;
        }
        QTest::newRow("missing file") << "missing";
        QTest::newRow("not a database") << "garbage";
        QTest::newRow("odd folder name") << "odd";
    }
    void openDb() {
        QFETCH(QString, kind);
        CRvDb db;
        QString path;
        QByteArray garbage = QByteArray("Dies ist keine Datenbank.\n").repeated(200);
        if (kind == "missing") {
            path = p->dir.filePath("fehlt.mdb");
        } else if (kind == "garbage") {
            path = p->dir.filePath("kaputt.mdb");
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(garbage) == garbage.size());
        } else if (kind == "odd") {
            QVERIFY(QDir(p->dir.path()).mkpath("Projekt #1 ?%20 Müller"));
            path = CopyTemplateTo(p->dir.filePath("Projekt #1 ?%20 Müller"));
        } else if (kind != "empty") {
            // Refused with the reason, and no value of the text in the message.
            db.SetDatenbankOrt(
                {DbTyp::PostgreSQL, kind == "server" ? QString("host=127.0.0.1 port=1 user=geheim")
                                                     : p->ort().ort + " password=geheim"});
            QVERIFY(!db.OpenDb());
            const QString head = "Die Datenbank auf dem Server konnte nicht geöffnet werden!\r\n";
            QVERIFY(db.LastError().startsWith(head) && db.LastError().size() > head.size());
            QVERIFY2(!db.LastError().contains("geheim"), qPrintable(db.LastError()));
            return;
        }
        db.SetOpenReadOnly(false);
        db.SetDbPath(path);
        const bool ok = db.OpenDb();
        QCOMPARE(ok, kind == "odd");
        QCOMPARE(db.IsOpen(), ok);
        if (kind == "empty" || kind == "odd") {
            QCOMPARE(db.LastError(), QString());
            return;
        }
        const QString head = "Die Datenbank " + path + " konnte nicht geöffnet werden!\r\n";
        QVERIFY2(db.LastError().startsWith(head), qPrintable(db.LastError()));
        QVERIFY(db.LastError().size() > head.size());
        if (kind == "missing") {
            QVERIFY(!QFile::exists(path));
        } else {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), garbage);
        }
    }

    void commonFrame_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<DbOp>("op");
        QTest::addColumn<QString>("message");
#define ROW(name, open, expr, msg)                                                                 \
    QTest::newRow(name) << open                                                                    \
                        << DbOp([](CRvDb& d, [[maybe_unused]] Scratch& s) { return expr; })        \
                        << QString(msg)
        ROW("closed add", false, d.AddNewMitarbeiterRec(&s.emp) || s.emp.lId != 0, kAdd);
        ROW("closed edit", false, d.EditMitarbeiterRec(&s.emp), kEdit);
        ROW("closed read", false, d.ReadRaumByLang(&s.room), kRead);
        ROW("closed delete", false, d.DelRaumartRec(1), kDel);
        ROW("closed coll", false, d.ReadAllRaumartRec2Coll(&s.arts), kColl);
        ROW("closed ctrl", false, d.ReadAllRaumartRec2Ctrl(&s.list, true) || s.list.ListCount(),
            kCtrl);
        ROW("closed structure", false, d.IsValidDb(), kStructure);
        ROW("null record", true, d.AddNewMitarbeiterRec(nullptr), "");
        ROW("null coll", true, d.ReadAuftrag2Coll(1, nullptr), "");
        ROW("edit unknown", true, d.EditMitarbeiterRec(&s.emp), kEdit);
        ROW("read unknown", true, d.Readfm_belegungRec(&s.bel), kRead);
        ROW("delete unknown", true, d.DelRaumartRec(999), kDel);
#undef ROW
    }
    void commonFrame() {
        QFETCH(bool, open);
        QFETCH(DbOp, op);
        QFETCH(QString, message);
        if (!open)
            db().CloseDb();
        QVERIFY(!db().DelRaumartRec(-5)); // leaves a message that the next call resets
        Scratch scratch;
        QVERIFY(!op(db(), scratch));
        QCOMPARE(db().LastError(), message);
    }

    void roundTrip_data() {
        QTest::addColumn<int>("table");
        int table = 0;
        for (const char* name : {"bookings", "rooms", "room types", "employees"})
            QTest::newRow(name) << table++;
    }
    void roundTrip() {
        QFETCH(int, table);
        auto check = [this](auto rec, auto add, auto edit, auto read) {
            using Rec = decltype(rec);
            fill(rec, 1);
            rec.key() = 4711; // the database assigns the key
            QVERIFY2(add(rec), qPrintable(db().LastError()));
            QVERIFY(rec.key() > 0 && rec.key() != 4711);
            for (int seed : {1, 2}) {
                if (seed == 2) {
                    fill(rec, 2);
                    QVERIFY2(edit(rec), qPrintable(db().LastError()));
                }
                Rec back;
                back.key() = rec.key();
                QVERIFY2(read(back), qPrintable(db().LastError()));
                QCOMPARE(Felder(back), Felder(rec));
                QCOMPARE(db().LastError(), QString());
            }
        };
        // Bookings are written by the write path and read back here.
        const QString c = db().ConnectionName();
        const auto buche = [&](CBelegungRec& b) {
            QVector<CBelegungRec> v{b};
            const bool ok = SchreibPfad::NeuerAuftrag(c, v, 0, b.lAuftrNr).ok();
            b = v[0];
            return ok;
        };
        const auto aendere = [&](CBelegungRec& b) { return SchreibPfad::Aendern(c, {b}, 0).ok(); };
        const auto mit = [this](auto f) { return [this, f](auto& r) { return (db().*f)(&r); }; };
        if (table == 0)
            check(CBelegungRec(), buche, aendere, mit(&CRvDb::Readfm_belegungRec));
        else if (table == 1)
            check(CAnzeigeRec(), mit(&CRvDb::AddNewrb_AnzeigeRec), mit(&CRvDb::Editrb_AnzeigeRec),
                  mit(&CRvDb::Readrb_AnzeigeRec));
        else if (table == 2)
            check(CRaumartRec(), mit(&CRvDb::AddNewRaumartRec), mit(&CRvDb::EditRaumartRec),
                  mit(&CRvDb::ReadRaumartRec));
        else
            check(CMitarbeiterRec(), mit(&CRvDb::AddNewMitarbeiterRec),
                  mit(&CRvDb::EditMitarbeiterRec), mit(&CRvDb::ReadMitarbeiterRec));
    }

    void loneSurrogatesRepaired() {
        // Half a pair, as a broken paste leaves it, must not swallow the character after it.
        CAnzeigeRec r;
        r.Kurzbez = "A" + QChar(0xD83D) + "B" + QChar(0xDE00) + "\U0001F600";
        QVERIFY(db().AddNewrb_AnzeigeRec(&r));
        CAnzeigeRec back;
        back.az_ID = r.az_ID;
        QVERIFY(db().Readrb_AnzeigeRec(&back));
        QCOMPARE(back.Kurzbez, "A\uFFFDB\uFFFD\U0001F600");
    }

    void nullColumns() {
        p->wert("INSERT INTO T_fm_belegung (lAuftrNr) VALUES (7)");
        p->wert("INSERT INTO T_rb_Anzeige (Kurzbez) VALUES ('leer')");
        CBelegungRecColl bookings;
        QVERIFY2(db().ReadAuftrag2Coll(7, &bookings), qPrintable(db().LastError()));
        const CBelegungRec& b = *bookings.Item(1);
        QCOMPARE(std::tuple(b.Udt_von, b.datBestellung, b.stSerieBem, b.IPTISCHE),
                 std::tuple(TovoDate::kNoDate, 0.0, QString(), int16_t(0)));
        CAnzeigeRecColl rooms;
        QVERIFY(db().ReadAllrb_AnzeigeRec2Coll(&rooms) && rooms.Count() == 1 &&
                rooms.Item(1)->IANZAHLPERS == 0);

        // A null where the table allows none is a read error.
        p->wert("DROP TABLE T_Raumart");
        p->wert("CREATE TABLE T_Raumart (lId INTEGER PRIMARY KEY, stRaumArt TEXT)");
        p->wert("INSERT INTO T_Raumart (lId, stRaumArt) VALUES (1, 'Saal'), (2, NULL)");
        CRaumartRec art;
        art.lId = 2;
        QVERIFY(!db().ReadRaumartRec(&art));
        QCOMPARE(db().LastError(), kRead);
        CRaumartRecColl arts;
        QVERIFY(!db().ReadAllRaumartRec2Coll(&arts));
        QCOMPARE(db().LastError(), kColl);
        QCOMPARE(arts.Count(), 1); // what was read before stays

        // Reads of chosen columns take such a null as 0 or "" and leave the others unread.
        QSqlQuery q(QSqlDatabase::database(gDb));
        QVERIFY(q.exec("SELECT NULL AS Best, 3 AS RB_ID, NULL AS dt_von") && q.next());
        CBelegungRec alt;
        QVERIFY(ZeilenAbbildung::RowReader<CBelegungRec>(q.record(),
                                                         ZeilenAbbildung::Spalten::Gewaehlte)
                    .read(q, alt));
        QCOMPARE(std::tuple(alt.Best, alt.rb_id, alt.dt_von, alt.Udt_von),
                 std::tuple(QString(), 3, 0.0, TovoDate::kNoDate));
    }

    void reads() {
        p->wert("INSERT INTO T_Raumart (stRaumArt) VALUES ('Saal')");
        const int32_t zebra = p->raum("Zebra", 1);
        const int32_t alpha = p->raum("alpha", 1);
        const int32_t odd = p->raum(kOdd, 999); // its type does not exist
        const int32_t b1 = p->buche(zebra, 45010, 45010, 5);
        const int32_t b2 = p->buche(alpha, 45001, 45002, 5);
        p->buche(alpha, 45005, 45005, 6);
        p->archiviere(b2);

        auto keys = [](const auto& coll) {
            QList<int32_t> out;
            for (auto* r : coll)
                out << r->key();
            return out;
        };
        CBelegungRecColl bookings;
        QVERIFY(db().ReadAuftrag2Coll(5, &bookings));
        QCOMPARE(keys(bookings), (QList<int32_t>{b2, b1})); // by start date, archived included

        CAnzeigeRecColl rooms;
        QVERIFY(db().ReadAllrb_AnzeigeRec2Coll(&rooms));
        QCOMPARE(rooms.Count(), 3);
        QCOMPARE(rooms.Item(1)->Kurzbez, QString("alpha"));
        QVERIFY(db().ReadAllRoomsForWeb(&rooms));
        QCOMPARE(keys(rooms), (QList<int32_t>{zebra, alpha}));
        QCOMPARE(rooms.Item(1)->RArt, QString("Saal"));

        CAnzeigeRec r, byArt;
        r.Kurzbez = kOdd;
        byArt.lRaumartId = 999;
        QVERIFY(db().ReadRaumByLang(&r) && db().ReadRaumByArt(&byArt));
        QCOMPARE(std::pair(r.az_ID, byArt.Kurzbez), std::pair(odd, kOdd));
        CRaumartRec art;
        art.stRaumArt = "Saal";
        QVERIFY(db().ReadRaumartRecByName(&art));
        QCOMPARE(art.lId, 1);
        // Nothing found: true, record untouched; callers look at the key.
        CAnzeigeRec none;
        none.Kurzbez = "Gibt es nicht";
        none.lRaumartId = 2;
        const QStringList before = Felder(none);
        QVERIFY(db().ReadRaumByLang(&none) && db().ReadRaumByArt(&none));
        QCOMPARE(Felder(none), before);
    }

    void roomTypeList() {
        FakeList list;
        list.AddItem("alt"); // cleared first
        QVERIFY(db().ReadAllRaumartRec2Ctrl(&list, true));
        QCOMPARE(list.items, (Items{{"Alle", 0}}));
        p->wert("INSERT INTO T_Raumart (stRaumArt) VALUES ('B'), ('A')");
        QVERIFY(db().ReadAllRaumartRec2Ctrl(&list, false));
        QCOMPARE(list.items, (Items{{"B", 1}, {"A", 2}}));
    }

    void isValidDb_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("names"); // what the message says beyond the first line
        QTest::newRow("no T_NextNr")
            << "DROP TABLE T_NextNr" << false << "Die Tabelle T_NextNr fehlt.";
        QTest::newRow("no T_Raumart") << "DROP TABLE T_Raumart" << true << "";
        QTest::newRow("a booking column")
            << "ALTER TABLE T_fm_belegung DROP COLUMN bArchiviert" << false
            << "In der Tabelle T_fm_belegung fehlt die Spalte bArchiviert.";
        QTest::newRow("two room columns, one employee column")
            << "ALTER TABLE T_rb_Anzeige DROP COLUMN RaumNr;"
               "ALTER TABLE T_rb_Anzeige DROP COLUMN IPTISCHEFEST;"
               "ALTER TABLE T_Mitarbeiter DROP COLUMN STEMAIL"
            << false
            << "In der Tabelle T_rb_Anzeige fehlen die Spalten RaumNr, IPTISCHEFEST.\r\n"
               "In der Tabelle T_Mitarbeiter fehlt die Spalte STEMAIL.";
        if (!TestAufServer()) // the server folds unquoted names itself
            QTest::newRow("column names in other case")
                << "ALTER TABLE T_NextNr RENAME COLUMN lNextNr TO LNEXTNR" << true << "";
    }
    void isValidDb() {
        QFETCH(QString, change);
        QFETCH(bool, valid);
        QFETCH(QString, names);
        for (const QString& sql : change.split(';'))
            p->wert(sql);
        QCOMPARE(db().IsValidDb(), valid);
        if (!valid)
            QCOMPARE(db().LastError(), kStructure + "\r\n" + names);
    }

    // A project database of an earlier version gains the indexes of the reads and the change
    // journal on its next writable open and loses the indexes no read uses; a read-only open
    // leaves the file alone. The planner's statistics follow the rows: none while the tables
    // are empty, gathered when a long series fills them, again on an open after the rows have
    // halved.
    void indexesOnOpen() {
        QSqlDatabase d = QSqlDatabase::database(gDb);
        const auto indexe = [&] {
            QStringList namen =
                Dialekt::Von(d).Indexe(d).keys().filter(QRegularExpression("^ix_belegung_"));
            namen.sort();
            return namen;
        };
        const auto gezaehlt = [&] {
            return p->wert("SELECT stat FROM sqlite_stat1 WHERE idx = 'IX_belegung_zeitraum'")
                .toString()
                .section(' ', 0, 0)
                .toInt();
        };
        const auto oeffnen = [&] {
            db().SetDatenbankOrt(p->ort());
            db().SetOpenReadOnly(false);
            QVERIFY(db().OpenDb());
        };
        const QStringList alle = indexe();
        QVERIFY(alle.contains("ix_belegung_zeitraum"));
        p->wert("DROP INDEX IX_belegung_zeitraum");
        p->wert("CREATE INDEX IX_belegung_rb_bis ON T_fm_belegung (rb_id, dt_bis)");
        if (!TestAufServer())
            p->wert("DROP TABLE T_Aenderung");
        const QStringList alt = indexe();
        CRvDb lesend;
        lesend.SetDatenbankOrt(p->ort());
        QVERIFY(lesend.OpenDb());
        QCOMPARE(indexe(), alt);
        oeffnen();
        QCOMPARE(indexe(), alle);
        // The server keeps its statistics itself. An index it has from an earlier definition is
        // made anew.
        if (TestAufServer()) {
            const QString spalten = "SELECT indnatts FROM pg_index WHERE indexrelid = "
                                    "'ix_belegung_zeitraum'::regclass";
            p->wert("DROP INDEX IX_belegung_zeitraum");
            p->wert("CREATE INDEX IX_belegung_zeitraum ON T_fm_belegung (rb_id, dt_von)");
            oeffnen();
            QCOMPARE(p->wert(spalten), 4);
            return;
        }
        QCOMPARE(p->wert("SELECT COUNT(*) FROM sqlite_master WHERE name = 'sqlite_stat1'"), 0);
        QCOMPARE(p->wert("SELECT COUNT(*) FROM sqlite_master WHERE name IN ('T_Aenderung', "
                         "'IX_aenderung_art_id')"),
                 2);

        int32_t auftrag = 0;
        for (const int anzahl : {150, 300}) {
            QVector<CBelegungRec> serie;
            for (int i = 0; i < anzahl; ++i)
                serie << TestProjekt::satz(1, 45000 + i + 0.4 + anzahl, 45000 + i + 0.5 + anzahl);
            const SchreibPfad::Ergebnis e =
                SchreibPfad::NeuerAuftrag(db().ConnectionName(), serie, 0);
            QVERIFY(e.ok());
            auftrag = e.auftrNr;
        }
        QCOMPARE(gezaehlt(), 450);
        QVERIFY(SchreibPfad::LoescheAuftrag(db().ConnectionName(), auftrag).ok());
        QCOMPARE(gezaehlt(), 450);
        oeffnen();
        QCOMPARE(gezaehlt(), 150);
    }

    // The project's tables have the template's columns, on the server too.
    void sameColumnsAsTemplate() {
        const QString name = UniqueConnectionName("vorlage");
        QVERIFY(OpenSqliteConnection(TemplateDbPath(), name, true, nullptr));
        const auto spalten = [](QSqlDatabase d, const QString& tabelle) {
            QSqlQuery q(d);
            q.exec("SELECT * FROM " + tabelle + " WHERE 1 = 0");
            QStringList namen;
            for (int i = 0; i < q.record().count(); ++i)
                namen << q.record().fieldName(i).toLower();
            return namen;
        };
        for (const QString& t : QSqlDatabase::database(name).tables())
            if (!t.startsWith("sqlite_"))
                QCOMPARE(spalten(QSqlDatabase::database(gDb), t),
                         spalten(QSqlDatabase::database(name), t));
        CloseSqliteConnection(name);
    }

    // A project file moved to an empty server database arrives whole: archived bookings, odd
    // texts, the counter, and keys that go on above those the file handed out. A database that
    // holds tables is refused, by either command, and the project stays on its file.
    void transferToServer() {
        if (!TestAufServer())
            QSKIP("Nur gegen einen Server.");
        QTemporaryDir projekt;
        const QString dir = projekt.path() + '/';
        const QString datei = UniqueConnectionName("datei");
        QVERIFY(OpenSqliteConnection(CopyTemplateTo(projekt.path()), datei, false, nullptr));
        {
            QSqlQuery q(QSqlDatabase::database(datei));
            const QString neu =
                "INSERT INTO T_fm_belegung (lAuftrNr, rb_id, dt_von, tm_von, dt_bis, "
                "Best, bArchiviert) VALUES (?, 1, 46000, 0.1, 46000, ?, ?)";
            QVERIFY(ExecBound(q, "INSERT INTO T_rb_Anzeige (Kurzbez) VALUES (?)", {kOdd}));
            QVERIFY(ExecBound(q, neu, {7, kOdd, 0}) && ExecBound(q, neu, {8, "alt", -1}));
            QVERIFY(ExecBound(q, neu, {9, "weg", 0}) && ExecBound(q, "DELETE FROM T_fm_belegung "
                                                                     "WHERE lAuftrNr = 9"));
            QVERIFY(ExecBound(q, "UPDATE T_NextNr SET lNextNr = 500"));
        }
        CloseSqliteConnection(datei);

        PostgresServer& server = PostgresServer::Instanz();
        QString error;
        for (const auto& schritt :
             {&ServerEinrichtung::Uebertragen, &ServerEinrichtung::Einrichten})
            QVERIFY(!schritt(
                        dir, p->ort().ort, [](const QString&) {}, &error) &&
                    error.contains("nicht leer"));
        DatenbankOrt ort;
        QVERIFY(ReadDatenbankOrt(dir, ort, nullptr) && !ort.aufServer());
        const QString leer = server.NeueDatenbank(&error, true);
        QVERIFY2(ServerEinrichtung::Uebertragen(
                     dir, server.Verbindung(leer), [](const QString&) {}, &error),
                 qPrintable(error));
        QVERIFY(ReadDatenbankOrt(dir, ort, nullptr) && ort.aufServer());
        const QString ziel = UniqueConnectionName("ziel");
        QVERIFY(OeffneDatenbank(ort, ziel, false, nullptr));
        {
            QSqlQuery q(QSqlDatabase::database(ziel));
            QVERIFY(q.exec("SELECT string_agg(Best || ':' || bArchiviert || ':' || tm_von, ',' "
                           "ORDER BY Rec_ID), max(Rec_ID), (SELECT lNextNr FROM T_NextNr), "
                           "(SELECT Kurzbez FROM T_rb_Anzeige) FROM T_fm_belegung") &&
                    q.next());
            QCOMPARE(q.value(0).toString(), kOdd + ":0:0.1,alt:-1:0.1");
            QCOMPARE(q.value(1).toInt(), 2);
            QCOMPARE(q.value(2).toInt(), 500);
            QCOMPARE(q.value(3).toString(), kOdd);
            QVERIFY(q.exec("INSERT INTO T_fm_belegung (lAuftrNr) VALUES (10) RETURNING Rec_ID") &&
                    q.next());
            QCOMPARE(q.value(0).toInt(), 4);
        }
        CloseSqliteConnection(ziel);
        server.Entferne(leer);
    }

    void deleteRoomTakesBookings() {
        const int32_t a = p->raum("A", 1);
        const int32_t b = p->raum("B", 1);
        p->buche(a, 45000, 45000);
        const int32_t archived = p->buche(a, 44000, 44000);
        const int32_t keep = p->buche(b, 45000, 45000);
        p->buche(999, 45000, 45000); // a booking of a room that is gone already
        p->archiviere(archived);
        QVERIFY(db().Delrb_AnzeigeRec(a) && !db().Delrb_AnzeigeRec(999));
        QCOMPARE(db().LastError(), kDel);
        QCOMPARE(column("SELECT Rec_ID FROM T_fm_belegung"), QVariantList{keep});
        QCOMPARE(column("SELECT az_ID FROM T_rb_Anzeige"), QVariantList{b});
    }

    void archive() {
        for (double bis : {45010.0, 45020.0, 45030.0})
            p->buche(1, bis, bis);
        auto archivedEnds = [this] {
            return column("SELECT dt_bis FROM T_fm_belegung WHERE bArchiviert = -1 ORDER BY 1");
        };
        QVERIFY(db().ArchiviereBelegungen(45025, 0).ok());
        QCOMPARE(archivedEnds(), (QVariantList{45010.0, 45020.0}));
        QVERIFY(db().ArchiviereBelegungen(45020.75, 0).ok()); // the time of day does not count
        QCOMPARE(archivedEnds(), QVariantList{45010.0});
        QVERIFY(db().ArchiviereBelegungen(45031, 0).ok() &&
                db().DeArchiviereBelegungen(45015, 0).ok());
        QCOMPARE(archivedEnds(), QVariantList{45010.0});
        QVERIFY(db().DeArchiviereBelegungen(45000, 0).ok());
        QCOMPARE(archivedEnds(), QVariantList());
    }

    void readOnlyDatabase() {
        ScriptedPrompt prompt;
        CRvDb other; // read-only by default, beside the writable one
        other.SetDatenbankOrt(p->ort());
        QVERIFY(other.OpenDb() && other.ConnectionName() != db().ConnectionName());
        // Looking for free rooms writes nothing of the project.
        raum = p->raum("A", p->raumart("T"));
        p->buche(TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 5));
        QSet<int32_t> belegt;
        QString error;
        for (int mal = 0; mal < 2; ++mal)
            QVERIFY2(Konflikt::BelegteRaeume(other.ConnectionName(), 0,
                                             {Konflikt::Spanne(Tag(0), Uhr(8), Tag(0), Uhr(11))},
                                             {}, 0, belegt, &error),
                     qPrintable(error));
        QCOMPARE(belegt, QSet<int32_t>{raum});
        CRaumartRec art;
        art.lId = 5;
        QVERIFY(!other.AddNewRaumartRec(&art));
        QCOMPARE(art.lId, 0);
        QVERIFY2(other.LastError().startsWith(kAdd + "\r\n"), qPrintable(other.LastError()));

        // The archive operations return the failure; nothing is shown.
        QCOMPARE(other.ArchiviereBelegungen(45000, 0).status, SchreibPfad::Status::Fehler);
        other.CloseDb();
        QCOMPARE(other.DeArchiviereBelegungen(45000, 0).status, SchreibPfad::Status::Fehler);
        QCOMPARE(prompt.shown.size(), 0);
    }

    // The write path when another workstation holds the database, when part of a change cannot
    // be written, and when the server goes away: nothing is half written, and the user may try
    // again.
    void busy_data() {
        QTest::addColumn<QString>("sperre");
        // On the server, what the other one holds; SQLite holds the whole file either way.
        QTest::newRow("room") << "UPDATE T_rb_Anzeige SET Kurzbez = Kurzbez";
        QTest::newRow("counter") << "UPDATE T_NextNr SET lNextNr = lNextNr";
    }
    void busy() {
        QFETCH(QString, sperre);
        kurzeVerbindung();
        // Another workstation writes.
        p->wert(Dialekt::Von(QSqlDatabase::database(gDb)).BeginnSchreiben());
        p->wert(sperre);
        QVector<CBelegungRec> neu{TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 0),
                                  TestProjekt::satz(raum, Tag(1, 9), Tag(1, 10), 0)};
        QCOMPARE(SchreibPfad::NeuerAuftrag(kurz, neu, 0).status, SchreibPfad::Status::Belegt);

        // "Wiederholen" once the other one is done writes everything.
        p->prompt.antwort = [&](const PromptMessage&) {
            p->wert("ROLLBACK");
            return PromptResult::Retry;
        };
        SchreibPfad::Ergebnis e;
        QVERIFY(SchreibPfad::Ausfuehren(
            [&](std::optional<int32_t> nr) { return SchreibPfad::NeuerAuftrag(kurz, neu, 0, nr); },
            {}, &e));
        QCOMPARE(p->prompt.texte(),
                 QStringList{"Die Datenbank wird gerade von einem anderen Arbeitsplatz "
                             "beschrieben. Bitte versuchen Sie es in einigen Sekunden erneut."});
        QCOMPARE(p->prompt.last().buttons, PromptButtons::RetryCancel);
        QCOMPARE(p->anzahlBelegungen(), 2);
        QVERIFY(neu[0].Rec_ID > 0 && neu[0].lAuftrNr == e.auftrNr && neu[1].lAuftrNr == e.auftrNr);
    }

    // A change of two bookings of which one was deleted meanwhile changes neither.
    void allOrNothing() {
        kurzeVerbindung();
        QVector<CBelegungRec> zwei{*p->buche(TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 5)),
                                   *p->buche(TestProjekt::satz(raum, Tag(1, 9), Tag(1, 10), 5))};
        p->wert("DELETE FROM T_fm_belegung WHERE Rec_ID = ?", {zwei[1].Rec_ID});
        for (CBelegungRec& b : zwei)
            b.Best = "Neu";
        const SchreibPfad::Ergebnis e = SchreibPfad::Aendern(kurz, zwei, 0);
        QCOMPARE(e.status, SchreibPfad::Status::Fehler);
        QCOMPARE(p->lies(zwei[0].Rec_ID).Best, "Berg, Karl");
    }

    // A server that went away: the save is refused with the German message, nothing is written,
    // and once the server is back the next save opens the connection again.
    void serverGone() {
        if (!TestAufServer())
            QSKIP("Eine SQLite-Datei hat keinen Server.");
        kurzeVerbindung();
        PostgresServer& server = PostgresServer::Instanz();
        QVector<CBelegungRec> neu{TestProjekt::satz(raum, Tag(0, 9), Tag(0, 10), 0)};
        QVERIFY(server.Stoppe("immediate"));
        QVERIFY(!SchreibPfad::Ausfuehren(
            [&](std::optional<int32_t> nr) { return SchreibPfad::NeuerAuftrag(kurz, neu, 0, nr); },
            {}));
        QVERIFY(server.Starte());
        QCOMPARE(p->prompt.shown.size(), 1);
        QVERIFY(p->prompt.last().text.startsWith(GetrenntMeldung()));
        QCOMPARE(SchreibPfad::NeuerAuftrag(kurz, neu, 0).status, SchreibPfad::Status::Ok);
        QSqlDatabase::database(gDb).close(); // lost as well; opened again by the next statement
        QCOMPARE(p->anzahlBelegungen(), 1);
    }

    // A booking 10-12 with set-up 9:00-9:30 and clear-down 12:30-13:00, and another at 14-15;
    // moved by hours at its start and end.
    void moveBookings_data() {
        QTest::addColumn<double>("beginn");
        QTest::addColumn<double>("ende");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("an hour later, set-up and clear-down follow")
            << 1.0 << 1.0 << "11:00-13:00 U 10:00-10:30 R 13:30-14:00";
        QTest::newRow("end stretched, only the clear-down follows")
            << 0.0 << 1.0 << "10:00-13:00 U 09:00-09:30 R 13:30-14:00";
        QTest::newRow("clear-down into the other booking, nothing written")
            << 1.5 << 1.5 << "10:00-12:00 U 09:00-09:30 R 12:30-13:00";
    }
    void moveBookings() {
        QFETCH(double, beginn);
        QFETCH(double, ende);
        kurzeVerbindung();
        CBelegungRec b = TestProjekt::satz(raum, Tag(0, 10), Tag(0, 12), 5);
        b.Udt_von = b.Udt_bis = b.Rdt_von = b.Rdt_bis = Tag(0);
        b.Utm_von = Uhr(9);
        b.Utm_bis = Uhr(9, 30);
        b.Rtm_von = Uhr(12, 30);
        b.Rtm_bis = Uhr(13);
        b = *p->buche(b);
        const int32_t andere = p->buche(raum, Tag(0, 14), Tag(0, 15), 6);
        SchreibPfad::Verlegung v = SchreibPfad::LageVon(b);
        v.beginn += beginn / 24;
        v.ende += ende / 24;
        QVector<CBelegungRec> vorher;
        const SchreibPfad::Ergebnis e = SchreibPfad::Verlegen(kurz, {v}, 0, &vorher);
        QFETCH(QString, gespeichert);
        QCOMPARE(e.ok(), !gespeichert.startsWith(QLatin1String("10:00-12")));
        QCOMPARE(e.imWeg.Rec_ID, e.ok() ? 0 : andere);
        QCOMPARE(Felder(vorher.value(0)), Felder(b));
        const CBelegungRec n = p->lies(b.Rec_ID);
        const auto z = [](double t) { return TovoDate(t).format("hh:mm"); };
        QCOMPARE(z(n.tm_von) + '-' + z(n.tm_bis) + " U " + z(n.Utm_von) + '-' + z(n.Utm_bis) +
                     " R " + z(n.Rtm_von) + '-' + z(n.Rtm_bis),
                 gespeichert);
        // Back where it was, as an undo moves it.
        QVERIFY(SchreibPfad::Verlegen(kurz, {SchreibPfad::LageVon(b)}, 0).ok());
        QCOMPARE(Felder(p->lies(b.Rec_ID)), Felder(b));
    }
};

QTEST_GUILESS_MAIN(TestCRvDb)
#include "tst_crvdb.moc"

#include "CRvDb.h"
#include "ScriptedPrompt.h"
#include "SerienSpeichern.h"
#include "SerienTestUtil.h"
#include "TestUtil.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace R_Main;

namespace {

TovoDate Zeit(int h, int m = 0) {
    return TovoDate::fromParts(1899, 12, 30, h, m);
}

// A booking of room `raum` on one day, 10:00-12:00.
CBelegungRec buchung(int32_t raum, QDate tag, int32_t auftrNr = 0) {
    CBelegungRec b;
    b.rb_id = raum;
    b.lAuftrNr = auftrNr;
    b.dt_von = b.dt_bis = TovoDate::fromDate(tag).value();
    b.tm_von = Zeit(10).value();
    b.tm_bis = Zeit(12).value();
    b.Best = QStringLiteral("Müller");
    b.Verst = QStringLiteral("Teamrunde");
    return b;
}

} // namespace

class TstSpeichern : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    CRvDb* m_db = nullptr;

    QSqlQuery sql(const QString& text) {
        QSqlQuery q(QSqlDatabase::database(m_db->ConnectionName()));
        if (!q.exec(text))
            qWarning() << text << q.lastError().text();
        return q;
    }
    int zahl(const QString& text) {
        QSqlQuery q = sql(text);
        return q.next() ? q.value(0).toInt() : -999;
    }
    QList<CBelegungRec> auftrag(int32_t nr) {
        CBelegungRecColl coll;
        if (!m_db->ReadAuftrag2Coll(nr, &coll))
            qWarning() << m_db->LastError();
        QList<CBelegungRec> out;
        for (int32_t i = 1; i <= coll.Count(); ++i)
            out << *coll.Item(i);
        return out;
    }

private slots:
    void init() {
        m_db = new CRvDb;
        m_db->SetDbPath(CopyTemplateTo(m_dir.path()));
        m_db->SetOpenOptions(false);
        m_db->SetOpenReadOnly(false);
        QVERIFY2(m_db->OpenDb(), qPrintable(m_db->LastError()));
    }
    void cleanup() {
        delete m_db;
        m_db = nullptr;
    }

    void saveJour_data() {
        QTest::addColumn<QString>("regel");
        QTest::addColumn<QDate>("beginn");
        QTest::addColumn<QDate>("ende");
        QTest::addColumn<int>("zaehler"); // -1: empty counter table
        QTest::addColumn<QList<QDate>>("termine");

        QTest::newRow("12 dates Monday and Thursday")
            << "W1:9" << D(3, 6, 2024) << D(11, 7, 2024) << 500
            << QList<QDate>{D(3, 6, 2024),  D(6, 6, 2024),  D(10, 6, 2024), D(13, 6, 2024),
                            D(17, 6, 2024), D(20, 6, 2024), D(24, 6, 2024), D(27, 6, 2024),
                            D(1, 7, 2024),  D(4, 7, 2024),  D(8, 7, 2024),  D(11, 7, 2024)};
        QTest::newRow("first date after the end")
            << "W1:1" << D(4, 6, 2024) << D(5, 6, 2024) << 42 << QList<QDate>{D(10, 6, 2024)};
        QTest::newRow("empty counter") << "D0" << D(7, 6, 2024) << D(10, 6, 2024) << -1
                                       << QList<QDate>{D(7, 6, 2024), D(10, 6, 2024)};
    }
    void saveJour() {
        QFETCH(QString, regel);
        QFETCH(QDate, beginn);
        QFETCH(QDate, ende);
        QFETCH(int, zaehler);
        QFETCH(QList<QDate>, termine);
        ScriptedPrompt prompt;
        if (zaehler < 0)
            sql(QStringLiteral("DELETE FROM T_NextNr"));
        else
            sql(QStringLiteral("UPDATE T_NextNr SET lNextNr = %1").arg(zaehler));

        CBelegungRec rec = buchung(7, D(1, 1, 2024));
        rec.stSerieBem = QStringLiteral("Alle 1 Wochen, am Montag, Donnerstag");
        QVERIFY(SaveJour(Regel(regel, beginn, ende), rec, m_db,
                         ZaehlerInTabelle(m_db->ConnectionName())));
        QVERIFY(prompt.shown.isEmpty());

        const QList<CBelegungRec> rows = auftrag(zaehler);
        QCOMPARE(zahl(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung")), int(termine.size()));
        QCOMPARE(rows.size(), termine.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(TovoDate(rows[i].dt_von).toQDate(), termine[i]);
            QCOMPARE(rows[i].dt_bis, rows[i].dt_von);
            QCOMPARE(TovoDate(rows[i].tm_von).toQTime(), QTime(10, 0));
            QCOMPARE(TovoDate(rows[i].tm_bis).toQTime(), QTime(12, 0));
            QCOMPARE(rows[i].rb_id, 7);
            QCOMPARE(rows[i].Best, QStringLiteral("Müller"));
            QCOMPARE(rows[i].stSerieBem, rec.stSerieBem);
        }
        QCOMPARE(zahl(QStringLiteral("SELECT COUNT(*) FROM T_NextNr")), 1);
        QCOMPARE(zahl(QStringLiteral("SELECT lNextNr FROM T_NextNr")), zaehler + 1);
    }

    // A series that cannot be walked writes nothing and leaves the counter alone.
    void saveJourZuViele() {
        ScriptedPrompt prompt;
        sql(QStringLiteral("UPDATE T_NextNr SET lNextNr = 77"));
        CBelegungRec rec = buchung(7, D(1, 1, 2000));
        QVERIFY(!SaveJour(Regel(QStringLiteral("D1"), D(1, 1, 2000), D(31, 12, 2099)), rec, m_db,
                          ZaehlerInTabelle(m_db->ConnectionName())));
        QCOMPARE(prompt.shown.size(), 1);
        QCOMPARE(prompt.last().text,
                 QStringLiteral(
                     "Eine Terminserie darf höchstens 32767 Termine haben!\nR_Main.SaveJour"));
        QCOMPARE(zahl(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung")), 0);
        QCOMPARE(zahl(QStringLiteral("SELECT lNextNr FROM T_NextNr")), 77);
    }

    void saveSerieEdit_data() {
        QTest::addColumn<int>("vorlageRaum");
        QTest::addColumn<QList<int>>("raeume"); // rooms of the four bookings before
        QTest::addColumn<QList<int>>("danach"); // and after
        QTest::addColumn<int>("geschrieben");   // bookings updated
        QTest::newRow("template with a room")
            << 9 << QList<int>{7, 7, 8, 8} << QList<int>{9, 9, 9, 9} << 4;
        QTest::newRow("template without room")
            << 0 << QList<int>{7, 7, 8, 8} << QList<int>{7, 7, 8, 8} << 4;
        QTest::newRow("a booking without room stops")
            << 0 << QList<int>{7, 8, 0, 8} << QList<int>{7, 8, 0, 8} << 2;
    }
    void saveSerieEdit() {
        QFETCH(int, vorlageRaum);
        QFETCH(QList<int>, raeume);
        QFETCH(QList<int>, danach);
        QFETCH(int, geschrieben);
        ScriptedPrompt prompt;
        const QList<QDate> tage{D(3, 6, 2024), D(10, 6, 2024), D(17, 6, 2024), D(24, 6, 2024)};
        for (int i = 0; i < 4; ++i) {
            CBelegungRec b = buchung(raeume[i], tage[i], 900);
            QVERIFY(m_db->AddNewfm_belegungRec(&b));
        }
        CBelegungRecColl coll;
        QVERIFY(m_db->ReadAuftrag2Coll(900, &coll));
        QList<int32_t> keys;
        for (int32_t i = 1; i <= coll.Count(); ++i)
            keys << coll.Item(i)->Rec_ID;

        // The second booking as edited on the form: other times, requester and room.
        CBelegungRec vorlage = *coll.Item(2);
        vorlage.tm_von = Zeit(14, 30).value();
        vorlage.tm_bis = Zeit(16).value();
        vorlage.Best = QStringLiteral("Schäfer");
        vorlage.bEMail = true;
        vorlage.rb_id = vorlageRaum;

        QCOMPARE(SaveSerieEdit(vorlage, coll, m_db), geschrieben == 4);
        if (geschrieben < 4) {
            QCOMPARE(prompt.shown.size(), 1);
            QCOMPARE(prompt.last().text, QStringLiteral("Wählen Sie einen Raum aus!"));
            QCOMPARE(prompt.last().title, QStringLiteral("Speichern"));
            QCOMPARE(prompt.last().icon, PromptIcon::Information);
        } else {
            QVERIFY(prompt.shown.isEmpty());
        }

        const QList<CBelegungRec> rows = auftrag(900);
        QCOMPARE(rows.size(), 4);
        for (int i = 0; i < 4; ++i) {
            const bool neu = i < geschrieben;
            QCOMPARE(rows[i].Rec_ID, keys[i]);
            QCOMPARE(rows[i].lAuftrNr, 900);
            QCOMPARE(TovoDate(rows[i].dt_von).toQDate(), tage[i]);
            QCOMPARE(TovoDate(rows[i].dt_bis).toQDate(), tage[i]);
            QCOMPARE(rows[i].rb_id, danach[i]);
            QCOMPARE(TovoDate(rows[i].tm_von).toQTime(), neu ? QTime(14, 30) : QTime(10, 0));
            QCOMPARE(rows[i].Best, neu ? QStringLiteral("Schäfer") : QStringLiteral("Müller"));
            QCOMPARE(rows[i].bEMail, neu);
        }
    }
};

QTEST_GUILESS_MAIN(TstSpeichern)
#include "tst_speichern.moc"

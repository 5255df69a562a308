// The preparations of the print table on a real project database.
#include "DruckTabelle.h"
#include "TestProjekt.h"

#include <QSqlRecord>
#include <QtTest>

namespace {
double Am(int monat, int tag, int jahr = 2026) {
    return TovoDate::fromParts(jahr, monat, tag).value();
}
} // namespace

class TestDruckTabelle : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProjekt> p;
    int32_t typ = 0, saal = 0, raum = 0;
    QString fehler;

    // The print table's rows by start and room, each as the listed columns joined by "|".
    QStringList druck(const QString& spalten) {
        QSqlQuery q(QSqlDatabase::database(gDb));
        q.exec(QStringLiteral("SELECT %1 FROM t_tmp_Druck ORDER BY dt_von, Kurzbez").arg(spalten));
        QStringList out;
        while (q.next()) {
            QStringList z;
            for (int i = 0; i < q.record().count(); ++i)
                z << (q.value(i).isNull() ? QString() : q.value(i).toString());
            out << z.join(QLatin1Char('|'));
        }
        return out;
    }
    // A booking with set-up before and clear-down after it (times as day fractions).
    int32_t mitBau(int32_t raumId, double tag, double von, double bis, double uVon, double rBis) {
        CBelegungRec b = TestProjekt::satz(raumId, tag + von, tag + bis);
        b.Udt_von = b.Udt_bis = b.Rdt_von = b.Rdt_bis = tag;
        b.Utm_von = uVon;
        b.Utm_bis = von;
        b.Rtm_von = bis;
        b.Rtm_bis = rBis;
        return p->buche(b)->Rec_ID;
    }

private Q_SLOTS:
    void init() {
        p = std::make_unique<TestProjekt>();
        typ = p->raumart("Saal");
        saal = p->raum("Saal 1", typ);
        raum = p->raum("Raum 2", typ);
        QVERIFY(p->ok);
    }
    void cleanup() { p.reset(); }

    void tagesliste_data() {
        QTest::addColumn<int>("tag");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("erster Tag") << 10 << QStringList{"14:00|00:00"};
        QTest::newRow("mittlerer Tag") << 11 << QStringList{"00:00|00:00"};
        QTest::newRow("letzter Tag") << 12 << QStringList{"00:00|10:00"};
        QTest::newRow("danach") << 13 << QStringList{};
    }
    void tagesliste() {
        QFETCH(int, tag);
        QFETCH(QStringList, zeilen);
        p->buche(saal, Am(3, 10) + Uhr(14), Am(3, 12) + Uhr(10));
        QVERIFY2(DruckTabelle::Tag(gDb, Am(3, tag) + Uhr(9), &fehler), qPrintable(fehler));
        QCOMPARE(druck("tm_von, tm_bis"), zeilen);
    }

    // A period list holds archived bookings too, times as "hh:mm" and no time where a set-up
    // span is not set; preparing again replaces the rows.
    void zeitraumliste() {
        p->archiviere(p->buche(saal, Am(3, 2) + Uhr(8, 30), Am(3, 2) + Uhr(9, 45)));
        mitBau(raum, Am(3, 3), Uhr(10), Uhr(11), Uhr(9, 30), Uhr(11, 15));
        p->buche(saal, Am(3, 9) + Uhr(8), Am(3, 9) + Uhr(9)); // after the period
        QVERIFY(DruckTabelle::Tag(gDb, Am(3, 9), &fehler));
        QVERIFY2(DruckTabelle::Zeitraum(gDb, Am(3, 2), Am(3, 8), &fehler), qPrintable(fehler));
        QCOMPARE(druck("Kurzbez, tm_von, tm_bis, Utm_von, Rtm_bis, Info"),
                 (QStringList{
                     "Saal 1|08:30|09:45|||vom 02.03.2026 bis 08.03.2026",
                     "Raum 2|10:00|11:00|09:30|11:15|vom 02.03.2026 bis 08.03.2026",
                 }));
    }

    // A write-protected project prints too.
    void schreibgeschuetzt() {
        p->buche(saal, Am(3, 10) + Uhr(14), Am(3, 10) + Uhr(15));
        CRvDb nurLesen;
        nurLesen.SetDatenbankOrt(p->ort());
        QVERIFY(nurLesen.OpenDb());
        QVERIFY2(DruckTabelle::Tag(nurLesen.ConnectionName(), Am(3, 10), &fehler),
                 qPrintable(fehler));
        QSqlQuery q(QSqlDatabase::database(nurLesen.ConnectionName()));
        QVERIFY(q.exec("SELECT COUNT(*) FROM t_tmp_Druck") && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
    }

    void monatsliste() {
        CBelegungRec b = TestProjekt::satz(saal, Am(4, 7) + Uhr(8), Am(4, 7) + Uhr(9));
        b.Miete = Currency::fromDouble(12.3456);
        b.UmbBem = "Tische  ";
        p->buche(b);
        p->buche(saal, Am(5, 7) + Uhr(8), Am(5, 7) + Uhr(9));
        QVERIFY2(DruckTabelle::Save_Rpt(gDb, 4, "2026", false, QString(), &fehler),
                 qPrintable(fehler));
        QCOMPARE(druck("Miete, UmbBem, Info"), QStringList{"12.35|Tische|April 2026"});
    }

    // Usage: minutes clipped to the period, per cent of working days of 10 hours.
    void auslastung_data() {
        QTest::addColumn<int>("monat");
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("zeilen");
        // Saal 1: 31.12. 22:00 to 01.01. 02:00 counts 120 minutes of December.
        // Raum 2: 15.12. 10:00-11:00 with set-up from 09:30 and clear-down to 11:30.
        QTest::newRow("Dezember, Vorgabe 21 Tage")
            << 12 << QByteArray()
            << QStringList{"Raum 2|0.476|0.476|99.048", "Saal 1|0.952|0|99.048"};
        QTest::newRow("Dezember, 20 Tage") << 12 << QByteArray("[ARBEITSTAGE]\nDez=20\n")
                                           << QStringList{"Raum 2|0.5|0.5|99", "Saal 1|1|0|99"};
        // The whole year: 10 + 11 x 20 = 230 days.
        QTest::newRow("ganzes Jahr")
            << 0
            << QByteArray("[ARBEITSTAGE]\nJan=10\nFeb=20\nMrz=20\nApr=20\nMai=20\nJun=20\nJul=20\n"
                          "Aug=20\nSep=20\nOkt=20\nNov=20\nDez=20\n")
            << QStringList{"Raum 2|0.043|0.043|99.913", "Saal 1|0.087|0|99.913"};
    }
    void auslastung() {
        QFETCH(int, monat);
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, zeilen);
        if (!ini.isEmpty()) {
            QFile datei(gstProjektDir + kIniFileName);
            QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(ini) > 0);
        }
        p->buche(saal, Am(12, 31) + Uhr(22), Am(1, 1, 2027) + Uhr(2));
        p->buche(saal, Am(1, 5, 2027) + Uhr(8), Am(1, 5, 2027) + Uhr(18)); // next year
        mitBau(raum, Am(12, 15), Uhr(10), Uhr(11), Uhr(9, 30), Uhr(11, 30));
        QVERIFY2(DruckTabelle::Save_Rpt(gDb, monat, "2026", true, QString(), &fehler),
                 qPrintable(fehler));
        QCOMPARE(druck(QStringLiteral("Kurzbez, ROUND(CAST(Miete AS NUMERIC), 3), "
                                      "ROUND(CAST(Umbau AS NUMERIC), 3), "
                                      "ROUND(CAST(Pausch AS NUMERIC), 3)")),
                 zeilen);
    }

    void beleg_data() {
        QTest::addColumn<QString>("kurzbez");
        QTest::addColumn<double>("von");
        QTest::addColumn<int>("ergebnis");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<bool>("gespeichert");
        const QStringList voll{"Saal 1|08:00|Whiteboard, Grossbildschirm|Hauptstr. 1|12345 Ort||"};
        const int ok = int(DruckTabelle::BelegErgebnis::Ok);
        QTest::newRow("vollständig") << "Saal 1" << Am(3, 2) << ok << voll << false;
        // A stored booking prints the room it is stored with.
        QTest::newRow("gespeichert") << "Raum 2" << Am(3, 2) << ok << voll << true;
        QTest::newRow("ohne Raum")
            << QString() << Am(3, 2) << int(DruckTabelle::BelegErgebnis::KeinRaum) << QStringList{}
            << false;
        QTest::newRow("ohne Datum")
            << "Saal 1" << 0.0 << int(DruckTabelle::BelegErgebnis::Unvollstaendig) << QStringList{}
            << false;
    }
    void beleg() {
        QFETCH(QString, kurzbez);
        QFETCH(double, von);
        QFETCH(int, ergebnis);
        QFETCH(QStringList, zeilen);
        QFETCH(bool, gespeichert);
        DruckTabelle::BelegDruck d;
        d.beleg = gespeichert ? p->lies(p->buche(saal, Am(3, 2) + Uhr(8), Am(3, 2) + Uhr(9)))
                              : TestProjekt::satz(0, Am(3, 2) + Uhr(8), Am(3, 2) + Uhr(9));
        d.beleg.dt_von = von;
        d.beleg.Aust = 1025;
        d.kurzbez = kurzbez;
        d.strasse = "Hauptstr. 1";
        d.plzOrt = "12345 Ort";
        QCOMPARE(int(DruckTabelle::Beleg(gDb, d, &fehler)), ergebnis);
        if (ergebnis == int(DruckTabelle::BelegErgebnis::Ok))
            QCOMPARE(druck(QStringLiteral("Kurzbez, tm_von, Aust, stStrasse, stPlzOrt, Udt_von, "
                                          "Utm_von")),
                     zeilen);
    }
};

QTEST_GUILESS_MAIN(TestDruckTabelle)
#include "tst_drucktabelle.moc"

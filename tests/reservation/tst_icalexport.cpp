// The iCalendar file read back by libical: events, their dates, UIDs and escaped texts.
#include "CSerienFkt.h"
#include "ICalExport.h"
#include "IcsLesen.h"

#include <QtTest>

using namespace IcsLesen;

namespace {

CBelegungRec Buchung(int32_t recId, int tag, int32_t raum = 1) {
    CBelegungRec b = TestProjekt::satz(raum, Tag(tag, 10), Tag(tag, 12), 88);
    b.Rec_ID = recId;
    return b;
}

QString Raum(int32_t id) {
    return id == 1 ? QStringLiteral("Raum A") : QStringLiteral("Raum C");
}

} // namespace

class TestICalExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void singleBookingWithAwkwardText() {
        CBelegungRec b = Buchung(42, 0);
        b.Verst = QStringLiteral("Sitzung; Teil 1, Raum\\Flur");
        b.Bem = QStringLiteral("Bitte Kaffee\r\nund Wasser – Grüße, Jörg");
        b.Udt_von = Tag(0);
        b.Utm_von = Uhr(8);
        const QString ics = ICalExport::IcsText({b}, Raum);
        const auto ev = Lesen(ics);
        QCOMPARE(ev.size(), 1);
        QCOMPARE(ev[0].uid, QStringLiteral("belegung-42@tovo-raumverwaltung"));
        QCOMPARE(ev[0].summary, b.Verst);
        QCOMPARE(ev[0].location, QStringLiteral("Raum A"));
        QCOMPARE(ev[0].description,
                 QStringLiteral("Bitte Kaffee\nund Wasser – Grüße, Jörg\nUmbau: 16.03.2026 08:00 – "
                                "16.03.2026 10:00"));
        QCOMPARE(ev[0].tage, Tage({0}));
        QCOMPARE(ev[0].stunde, 10);
        QCOMPARE(ev[0].tzid, QStringLiteral("Europe/Berlin"));
        QVERIFY(ics.contains(QStringLiteral("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n")));
        // The same booking exported again keeps its UID.
        QCOMPARE(Lesen(ICalExport::IcsText({b}, Raum))[0].uid, ev[0].uid);
    }

    // Text values as RFC 5545 writes them, worked out by hand: backslash, semicolon and comma
    // escaped, any line break as "\n", other control characters dropped.
    void escapeText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        auto row = [](const char* name, const char* text, const char* escaped) {
            QTest::newRow(name) << QString(text) << QString(escaped);
        };
        row("separators", "a;b,c\\d", "a\\;b\\,c\\\\d");
        row("line breaks", "x\r\ny\nz\rw", "x\\ny\\nz\\nw");
        row("control characters", "Tab\tKlingel\x07", "Tab\tKlingel");
    }
    void escapeText() {
        QFETCH(QString, text);
        QTEST(ICalExport::EscapeText(text), "escaped");
    }

    void foldingKeepsCharactersWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QString(300, QLatin1Char('x'));
        QTest::newRow("umlauts") << QString(120, QChar(0x00FC));
        QTest::newRow("mixed with emoji") << QString(QStringLiteral("a€😀ö")).repeated(30);
    }
    void foldingKeepsCharactersWhole() {
        QFETCH(QString, text);
        CBelegungRec b = Buchung(1, 0);
        b.Bem = text;
        const QByteArray ics = ICalExport::IcsText({b}, Raum).toUtf8();
        for (const QByteArray& zeile : ics.split('\n')) {
            QVERIFY2(zeile.size() <= 76, zeile.constData()); // 75 octets and the CR
            QVERIFY(!QString::fromUtf8(zeile).contains(QChar::ReplacementCharacter));
        }
        QCOMPARE(Lesen(QString::fromUtf8(ics))[0].description, text);
    }

    // A series of four Mondays: the order as saved, with the rule or read back without it.
    void series_data() {
        QTest::addColumn<QVector<int>>("tage"); // booked in room A
        QTest::addColumn<bool>("mitRegel");
        QTest::addColumn<QString>("art"); // what the file says: RRULE or RDATE
        QTest::newRow("every date as the rule") << QVector<int>{0, 7, 14, 21} << true << "RRULE";
        QTest::newRow("one left out, one moved") << QVector<int>{0, 21} << true << "EXDATE";
        QTest::newRow("read back without rule") << QVector<int>{0, 7, 21} << false << "EXDATE";
        QTest::newRow("irregular dates") << QVector<int>{0, 3, 10} << false << "RDATE";
    }
    void series() {
        QFETCH(QVector<int>, tage);
        QFETCH(bool, mitRegel);
        QFETCH(QString, art);
        CSerienFkt regel;
        regel.SetdatBeginn(TovoDate(Tag(0)));
        regel.SetdatEnde(TovoDate(Tag(21)));
        regel.SetWeekly(1);
        regel.SetWeekday(CSerienFkt::Montag);
        QVector<CBelegungRec> buchungen;
        for (int t : tage)
            buchungen << Buchung(100 + t, t);
        const bool verschoben = tage.size() == 2;
        if (verschoben)
            buchungen << Buchung(107, 7, 2);

        const QString ics = ICalExport::IcsText(buchungen, Raum, mitRegel ? &regel : nullptr);
        QVERIFY(ics.contains(art + QLatin1Char(';')) || ics.contains(art + QLatin1Char(':')));
        const auto ev = Lesen(ics);
        QCOMPARE(ev.size(), verschoben ? 2 : 1);
        QCOMPARE(ev[0].uid, QStringLiteral("auftrag-88@tovo-raumverwaltung"));
        QVector<QDate> erwartet;
        for (int t : tage)
            erwartet << TovoDate(Tag(t)).toQDate();
        if (verschoben) {
            // The moved date stays a date of the series, replaced in room C.
            erwartet = Tage({0, 7, 21});
            QCOMPARE(ev[1].uid, ev[0].uid);
            QCOMPARE(ev[1].recurrenceId, TovoDate(Tag(7)).toQDate());
            QCOMPARE(ev[1].location, QStringLiteral("Raum C"));
        }
        QCOMPARE(ev[0].tage, erwartet);
    }
};

QTEST_GUILESS_MAIN(TestICalExport)
#include "tst_icalexport.moc"

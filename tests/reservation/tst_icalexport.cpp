// The iCalendar file read back by libical: events, their dates, UIDs and escaped texts.
#include "CSerienFkt.h"
#include "ICalExport.h"
#include "TestProjekt.h"

#include <QtTest>
#include <libical/ical.h>

namespace {

CBelegungRec Buchung(int32_t recId, int tag, int32_t raum = 1) {
    CBelegungRec b = TestProjekt::satz(raum, Tag(tag, 10), Tag(tag, 12), 88);
    b.Rec_ID = recId;
    return b;
}

QString Raum(int32_t id) {
    return id == 1 ? QStringLiteral("Raum A") : QStringLiteral("Raum C");
}

struct Ereignis {
    QString uid, summary, location, description;
    QVector<QDate> tage; // every occurrence
    QDate recurrenceId;  // the date of the series this event replaces
    int stunde = -1;
    QString tzid;
};

QDate Datum(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

// The events of the text, each with its occurrences from DTSTART, RRULE, RDATE and EXDATE.
QVector<Ereignis> Lesen(const QString& ics) {
    QVector<Ereignis> out;
    icalcomponent* cal = icalparser_parse_string(ics.toUtf8().constData());
    if (!cal)
        return out;
    for (icalcomponent* e = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); e;
         e = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        Ereignis r;
        r.uid = QString::fromUtf8(icalcomponent_get_uid(e));
        r.summary = QString::fromUtf8(icalcomponent_get_summary(e));
        r.location = QString::fromUtf8(icalcomponent_get_location(e));
        r.description = QString::fromUtf8(icalcomponent_get_description(e));
        if (icalcomponent_get_first_property(e, ICAL_RECURRENCEID_PROPERTY))
            r.recurrenceId = Datum(icalcomponent_get_recurrenceid(e));
        icalproperty* start = icalcomponent_get_first_property(e, ICAL_DTSTART_PROPERTY);
        const icaltimetype dtstart = icalproperty_get_dtstart(start);
        r.stunde = dtstart.hour;
        if (icalparameter* tz = icalproperty_get_first_parameter(start, ICAL_TZID_PARAMETER))
            r.tzid = QString::fromUtf8(icalparameter_get_tzid(tz));
        QVector<QDate> tage;
        if (icalproperty* rr = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY)) {
            icalrecur_iterator* it = icalrecur_iterator_new(icalproperty_get_rrule(rr), dtstart);
            for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
                 t = icalrecur_iterator_next(it))
                tage << Datum(t);
            icalrecur_iterator_free(it);
        } else {
            tage << Datum(dtstart);
        }
        for (icalproperty* rd = icalcomponent_get_first_property(e, ICAL_RDATE_PROPERTY); rd;
             rd = icalcomponent_get_next_property(e, ICAL_RDATE_PROPERTY))
            tage << Datum(icalproperty_get_rdate(rd).time);
        for (icalproperty* ex = icalcomponent_get_first_property(e, ICAL_EXDATE_PROPERTY); ex;
             ex = icalcomponent_get_next_property(e, ICAL_EXDATE_PROPERTY))
            tage.removeAll(Datum(icalproperty_get_exdate(ex)));
        std::sort(tage.begin(), tage.end());
        r.tage = tage;
        out << r;
    }
    icalcomponent_free(cal);
    return out;
}

QVector<QDate> Tage(std::initializer_list<int> n) {
    QVector<QDate> out;
    for (int t : n)
        out << TovoDate(Tag(t)).toQDate();
    return out;
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

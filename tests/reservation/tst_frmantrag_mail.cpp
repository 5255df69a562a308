// The calendar file read back by libical, and the reservation form's mail and door notice through
// a real SMTP server and a real pseudo-terminal pair.
#include "AntragProjekt.h"
#include "CSerienFkt.h"
#include "ICalExport.h"
#include "MailText.h"
#include "PtyPaar.h"
#include "SmtpSenke.h"
#include "TovoTools.h"
#include "frmAdressen.h"

#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <algorithm>
#include <arpa/inet.h>
#include <libical/ical.h>

namespace {

struct Ereignis {
    QString uid, summary, location, description;
    QVector<QDate> tage; // every occurrence
    QDate recurrenceId;  // the date of the series this event replaces
};

QDate Datum(const icaltimetype& t) {
    return QDate(t.year, t.month, t.day);
}

// The events of an iCalendar text as libical, an independent RFC 5545 parser, reads them.
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
        const icaltimetype dtstart = icalcomponent_get_dtstart(e);
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

CBelegungRec Buchung(int32_t recId, int tag) {
    CBelegungRec b = TestProjekt::satz(1, Tag(tag, 10), Tag(tag, 12), 88);
    b.Rec_ID = recId;
    return b;
}

QString Raum(int32_t) {
    return QStringLiteral("Raum A");
}

void SetzeIni(const QString& section, const QString& key, const QString& value) {
    CTovoTools::Instance().WriteIniValue(gstProjektDir + kIniFileName, section, key, value);
}

// A port of 127.0.0.1 on which nothing listens: one the system just handed out, closed again.
int FreierPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t laenge = sizeof a;
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &laenge);
    ::close(s);
    return ntohs(a.sin_port);
}

} // namespace

class TstFrmAntragMail : public QObject {
    Q_OBJECT
private slots:
    void singleBookingWithAwkwardText() {
        CBelegungRec b = Buchung(42, 0);
        b.Verst = QStringLiteral("Sitzung; Teil 1, Raum\\Flur");
        // Characters of one to four bytes, so that some fall on a fold.
        const QString lang = QStringLiteral("a€😀ö").repeated(30);
        b.Bem = QStringLiteral("Bitte Kaffee\r\nund Wasser – Grüße, Jörg ") + lang;
        b.Udt_von = Tag(0);
        b.Utm_von = Uhr(8);
        const QString ics = ICalExport::IcsText({b}, Raum);
        for (const QByteArray& zeile : ics.toUtf8().split('\n')) {
            QVERIFY2(zeile.size() <= 76, zeile.constData()); // 75 octets and the CR
            QVERIFY(!QString::fromUtf8(zeile).contains(QChar::ReplacementCharacter));
        }
        const auto ev = Lesen(ics);
        QCOMPARE(ev.size(), 1);
        QCOMPARE(ev[0].uid, QStringLiteral("belegung-42@tovo-raumverwaltung"));
        QCOMPARE(ev[0].summary, b.Verst);
        QCOMPARE(ev[0].location, QStringLiteral("Raum A"));
        QCOMPARE(ev[0].description,
                 QStringLiteral("Bitte Kaffee\nund Wasser – Grüße, Jörg ") + lang +
                     QStringLiteral("\nUmbau: 16.03.2026 08:00 – 16.03.2026 10:00"));
        QCOMPARE(ev[0].tage, Tage({0}));
        QVERIFY(ics.contains(QStringLiteral("BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n")) &&
                ics.contains(QStringLiteral("\nDTSTART;TZID=Europe/Berlin:20260316T100000\r\n")));
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

    // A series of four Mondays: the order as saved, with the rule or read back without it.
    void series_data() {
        QTest::addColumn<QVector<int>>("tage"); // booked in room A
        QTest::addColumn<bool>("mitRegel");
        QTest::addColumn<QString>("art"); // what the file says
        QTest::newRow("every date as the rule") << QVector<int>{0, 7, 14, 21} << true << "RRULE";
        QTest::newRow("one left out of the rule") << QVector<int>{0, 7, 21} << true << "EXDATE";
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

        const QString ics = ICalExport::IcsText(buchungen, Raum, mitRegel ? &regel : nullptr);
        QVERIFY(ics.contains(art + QLatin1Char(';')) || ics.contains(art + QLatin1Char(':')));
        const auto ev = Lesen(ics);
        QCOMPARE(ev.size(), 1);
        QCOMPARE(ev[0].uid, QStringLiteral("auftrag-88@tovo-raumverwaltung"));
        QVector<QDate> erwartet;
        for (int t : tage)
            erwartet << TovoDate(Tag(t)).toQDate();
        QCOMPARE(ev[0].tage, erwartet);
    }

    void text_data() {
        QTest::addColumn<QByteArray>("vorlage"); // null = no file
        QTest::addColumn<bool>("umwandeln");
        QTest::addColumn<QString>("serie");
        QTest::addColumn<QString>("erwartet");

        const QString eingebaut = QStringLiteral(
            "Hiermit bestätigen wir Ihre Raumreservierung\r\nzu folgender Veranstaltung:\r\n\r\n"
            "Übergabe\r\nmit Kaffee\r\n03.05.2024 10:00 bis 03.05.2024 12:30\r\nRaum: A\r\n"
            "Serie: Jeden Freitag\r\n"
            "Bitte teilen Sie uns rechtzeitig mit, wenn der Raum nicht benötigt wird.\r\n"
            "Wir möchten Sie bitten, den Raum sauber und ordentlich zu verlassen.\r\n\r\n"
            "Hausdienste\r\n06.12.2026");
        auto row = [](const char* name, const QByteArray& vorlage, bool umwandeln,
                      const QString& serie, const QString& erwartet) {
            QTest::newRow(name) << vorlage << umwandeln << serie << erwartet;
        };
        row("Kommentarzeile, letzte Zeile ohne Umbruch",
            "'nur intern\n#Veranstaltung# fuer #Personenzahl#", false, {}, "Übergabe fuer 12\r\n");
        row("Platzhalter zweimal", "#Raum# und #Raum#, #Ausstattung#\r\n#Serie#|#AktDatum#\r\n",
            false, "S", "A und A, Whiteboard\r\nS|06.12.2026\r\n");
        row("Personen und Ausstattung",
            "#Firma#|#Ansprechpartner#|#Telefon#|#Stuhlanordnung#|#Beteiligtentische#", true, {},
            "Muell AG|Berg, Karl|0351|Kino (II)|6\r\n");
        row("Umwandeln mit Vorlage in Windows-1252",
            "Gr\xFC\xDF"
            "e zu #Veranstaltung# (#BisZeit#)\r\n",
            true, {}, "Gruesse zu Uebergabe (12:30)\r\n");
        row("nur Kommentare: eingebauter Text", "'a\n'b\n", false, "Jeden Freitag", eingebaut);
    }

    void text() {
        QFETCH(QByteArray, vorlage);
        QFETCH(bool, umwandeln);
        QFETCH(QString, serie);
        QFETCH(QString, erwartet);

        QTemporaryDir dir;
        const QString pfad = dir.filePath(MailText::kVorlage);
        if (!vorlage.isNull()) {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(vorlage);
        }
        // The fields in the order they are declared, #Veranstaltung# to #Beteiligtentische#.
        const MailText::Felder felder{"Übergabe",   "mit Kaffee", "03.05.2024", "10:00",
                                      "03.05.2024", "12:30",      "A",          "Whiteboard",
                                      "12",         "06.12.2026", serie,        "Müll AG",
                                      "Berg, Karl", "0351",       "Kino (II)",  "6"};
        QCOMPARE(MailText::Text(MailText::ReadVorlage(pfad), felder, umwandeln), erwartet);
    }

    // The confirmation mail through a real SMTP server: to whom it goes, what it says, the
    // calendar file attached; or, when it cannot go, why, with nothing sent and nothing stored.
    void versand_data() {
        QTest::addColumn<int>("termine");     // 0 = a new reservation not yet saved
        QTest::addColumn<QString>("adresse"); // on the booking; empty = looked up
        QTest::addColumn<QString>("an");      // empty = not sent
        QTest::addColumn<QString>("meldung"); // if not sent: the start of the last message
        QTest::addColumn<QString>("auch");    // and what else it holds
        QTest::addColumn<QString>("suche");   // typed into the address picker; empty = none
        QTest::addColumn<QString>("best");
        QTest::addColumn<bool>("erreichbar");
        auto row = [](const char* name, int termine, const char* adresse, const char* an,
                      const char* meldung = "", const char* auch = "", const char* suche = "",
                      const char* best = "Berg, Karl", bool erreichbar = true) {
            QTest::newRow(name) << termine << QString(adresse) << QString(an)
                                << QString::fromUtf8(meldung) << QString::fromUtf8(auch)
                                << QString(suche) << QString(best) << erreichbar;
        };
        row("einzeln, Besteller unter den Mitarbeitern", 1, "", "karl.berg@tovo.example");
        row("Auftrag mit drei Terminen", 3, "anna@stadtwerke.de", "anna@stadtwerke.de");
        row("Adresse suchen", 1, "", "anna@stadtwerke.de", "", "", "neill");
        // The server takes the message but confirms only after the time limit: it counts as sent,
        // and it is sent once.
        row("Server bestätigt zu spät", 1, "spaet@stadtwerke.de", "spaet@stadtwerke.de");
        row("neue Reservierung ungespeichert", 0, "", "",
            "Die Reservierung muss erst gespeichert werden!");
        row("Server nicht erreichbar", 1, "anna@stadtwerke.de", "",
            "Beim Verbinden mit dem Mail-System gab es ein Problem!\nDer Mail-Server '127.0.0.1' "
            "ist an Port ",
            "\nfrmAntrag.pbEMail_Click", "", "Berg, Karl", false);
        row("Server lehnt Empfänger ab", 1, "abgelehnt@tovo.example", "",
            "Beim Versenden der Nachricht gab es ein Problem!\n", "550 5.1.1 Postfach unbekannt");
        row("Zeilenumbruch in der Adresse", 1, "anna@stadtwerke.de\r\nBcc: boese@example.org", "",
            "Die e-mail-Adresse 'anna@stadtwerke.de", "Bcc: boese@example.org' ist ungültig!");
        row("Besteller ohne Adresse", 1, "", "", "Dem Besteller ist keine e-mail zugeordnet!", "",
            "", "Niemand, Nina");
    }

    void versand() {
        QFETCH(int, termine);
        QFETCH(QString, adresse);
        QFETCH(QString, an);
        QFETCH(QString, suche);
        QFETCH(QString, best);
        QFETCH(bool, erreichbar);
        SmtpSenke& senke = Senke();
        QVERIFY2(senke.ok(), qPrintable(senke.fehler));
        AntragProjekt p;
        // A server on 127.0.0.1 without encryption, with two copy addresses.
        gstMailname = QStringLiteral("Hausdienste Süd");
        SetzeIni(QStringLiteral("Mail"), QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
        SetzeIni(QStringLiteral("Mail"), QStringLiteral("Port"),
                 QString::number(erreichbar ? senke.port : FreierPort()));
        SetzeIni(QStringLiteral("Mail"), QStringLiteral("Verschluesselung"),
                 QStringLiteral("none"));
        SetzeIni(QStringLiteral("Mail"), QStringLiteral("Absender"),
                 QStringLiteral("raumverwaltung@tovo.example"));
        SetzeIni(QStringLiteral("Mail"), QStringLiteral("Timeout"), QStringLiteral("2"));
        SetzeIni(QStringLiteral("Mailadressen"), QStringLiteral("Cc"),
                 QStringLiteral("hausdienst@tovo.example; technik@tovo.example"));
        CMitarbeiterRec m;
        m.stName = QStringLiteral("Berg");
        m.stVorname = QStringLiteral("Karl");
        m.STEMAIL = QStringLiteral("karl.berg@tovo.example");
        QVERIFY(gRvDb->AddNewMitarbeiterRec(&m));

        frmAntrag form;
        CBelegungRec b = TestProjekt::satz(p.raumA, Tag(0, 10), Tag(0, 12), 600);
        b.Verst = QStringLiteral("Übergabe der Schlüssel");
        b.STEMAIL = adresse;
        b.Best = best;
        if (termine == 0) {
            form.NeuerAntragImRaum(p.raumA, Tag(0, 10));
            p.oeffne(form);
            form.coPerson[0]->setEditText(best);
            form.SetGeaendert(true);
        } else if (termine == 1) {
            p.oeffne(form, b);
        } else {
            // Weekly with the third week left out and the last date moved to another room.
            for (int i = 0; i < termine; ++i) {
                b.dt_von = b.dt_bis = Tag(i < 2 ? 7 * i : 21);
                b.rb_id = i < 2 ? p.raumA : p.raumB;
                p.buche(b);
            }
            auto auftrag = std::make_shared<CBelegungRecColl>();
            QVERIFY(gRvDb->ReadAuftrag2Coll(600, auftrag.get()));
            form.OeffneAuftrag(auftrag);
            p.oeffne(form);
        }
        form.cbMailAddress->setChecked(!suche.isEmpty());
        if (!suche.isEmpty())
            p.modal.einmal([&](frmAdressen& picker) {
                picker.edSuche->setText(suche);
                picker.pbOk_Click();
            });
        const int32_t id = form.f_RecBelegung ? form.f_RecBelegung->Rec_ID : 0;
        const QStringList vorher = Felder(p.lies(id));
        p.prompt.clear();

        form.pbEMail_Click();

        if (an.isEmpty()) {
            QFETCH(QString, meldung);
            QFETCH(QString, auch);
            const QString text = p.texte().value(p.texte().size() - 1);
            QVERIFY2(text.startsWith(meldung) && text.contains(auch) &&
                         !text.contains(QLatin1String("gesendet!")),
                     qPrintable(text));
            QCOMPARE(senke.nachrichten().size(), 0);
            QVERIFY(!form.cbMail->isChecked());
            QCOMPARE(p.anzahlBelegungen(), termine);
            QCOMPARE(Felder(p.lies(id)), vorher);
            return;
        }
        QCOMPARE(p.texte(), QStringList({QStringLiteral("Die Reservierungsinformation wurde an '") +
                                         an + QStringLiteral("' gesendet!")}));
        QCOMPARE(p.prompt.last().title, QStringLiteral("Mail-Nachricht"));
        const QList<QJsonObject> post = senke.nachrichten();
        QCOMPARE(post.size(), 1);
        const QJsonObject mail = post.first();
        QCOMPARE(mail[QStringLiteral("rcpt_tos")].toArray().toVariantList(),
                 QVariantList({an, QStringLiteral("hausdienst@tovo.example"),
                               QStringLiteral("technik@tovo.example")}));
        const QStringList kopf{mail[QStringLiteral("cc")].toString(),
                               mail[QStringLiteral("subject")].toString(),
                               mail[QStringLiteral("from_name")].toString(),
                               mail[QStringLiteral("mail_from")].toString()};
        QCOMPARE(kopf, (QStringList{"hausdienst@tovo.example, technik@tovo.example", "Reservierung",
                                    "Hausdienste Süd", "raumverwaltung@tovo.example"}));
        const QString body = mail[QStringLiteral("body")].toString();
        QVERIFY2(
            body.startsWith(QStringLiteral("Hiermit bestätigen wir Ihre Raumreservierung\r\n")) &&
                body.contains(QStringLiteral("\r\nÜbergabe der Schlüssel\r\n")) &&
                body.contains(termine == 1
                                  ? QStringLiteral("\r\nRaum: Raum A\r\n")
                                  : QStringLiteral("\r\nTermine:\r\n"
                                                   "Mo 16.03.2026 10:00 - 12:00  Raum A\r\n"
                                                   "Mo 23.03.2026 10:00 - 12:00  Raum A\r\n"
                                                   "Mo 30.03.2026 entfällt\r\n"
                                                   "Mo 06.04.2026 10:00 - 12:00  Raum B "
                                                   "(verlegt)\r\n")),
            qPrintable(body));
        QCOMPARE(body.contains(QLatin1String("Termine:")), termine > 1);
        // The calendar file, as the recipient's calendar reads it.
        const QJsonArray anhaenge = mail[QStringLiteral("attachments")].toArray();
        QCOMPARE(anhaenge.size(), 1);
        const QJsonObject ics = anhaenge.first().toObject();
        QCOMPARE(ics[QStringLiteral("content_type")].toString(), QStringLiteral("text/calendar"));
        QVERIFY(ics[QStringLiteral("filename")].toString().endsWith(QLatin1String(".ics")));
        const auto ereignisse = Lesen(ics[QStringLiteral("content")].toString());
        QCOMPARE(ereignisse.size(), termine == 1 ? 1 : 2);
        QCOMPARE(ereignisse[0].tage, termine == 1 ? Tage({0}) : Tage({0, 7, 21}));
        if (termine > 1) {
            // The moved date stays a date of the series, replaced in room B.
            QCOMPARE(
                std::tuple(ereignisse[1].uid, ereignisse[1].recurrenceId, ereignisse[1].location),
                std::tuple(ereignisse[0].uid, TovoDate(Tag(21)).toQDate(),
                           QStringLiteral("Raum B")));
        }

        // The flag is stored on every booking of the order, the address with it.
        QVERIFY(form.cbMail->isChecked());
        QCOMPARE(p.wert(QStringLiteral("SELECT COUNT(*) FROM T_fm_belegung WHERE bEMail <> 0 AND "
                                       "STEMAIL = ?"),
                        {an})
                     .toInt(),
                 termine);
        QCOMPARE(p.anzahlBelegungen(), termine);
    }

    // The door notice goes to the display's serial port; a port that is not there is named.
    void doorDisplay_data() {
        QTest::addColumn<bool>("vorhanden");
        QTest::newRow("pseudo-terminal") << true;
        QTest::newRow("no such device") << false;
    }

    void doorDisplay() {
        QFETCH(bool, vorhanden);
        PtyPaar pty;
        QVERIFY2(pty.ok(), qPrintable(pty.fehler));
        AntragProjekt p;
        const QString geraet = vorhanden ? pty.geraet : QStringLiteral("/dev/tovo-kein-display");
        SetzeIni(QStringLiteral("Display"), QStringLiteral("Port"), geraet);
        p.wert(QStringLiteral("UPDATE T_rb_Anzeige SET RaumNr = '1.02' WHERE az_ID = ?"),
               {p.raumA});
        CBelegungRec b = TestProjekt::satz(p.raumA, Tag(0, 10), Tag(0, 11.5));
        b.Inst = QStringLiteral("Stadtwerke");
        b.Verst = QStringLiteral("Übergabe");
        frmAntrag form;
        p.oeffne(form, b);

        form.pbPrint2Com_Click();

        if (!vorhanden) {
            QCOMPARE(p.prompt.shown.size(), 1);
            QCOMPARE(p.prompt.last().icon, PromptIcon::Critical);
            const QString text = p.texte().first();
            QVERIFY2(text.contains(geraet) &&
                         text.endsWith(QLatin1String("\nfrmAntrag.pbPrint2Com")),
                     qPrintable(text));
            return;
        }
        QCOMPARE(p.texte(), QStringList());
        const QByteArray erwartet = QByteArray("\x0c"
                                               "Raum:        1.02  Raum A\r\r"
                                               "Veranstalter:Stadtwerke\r"
                                               "Betrifft:    \xdc"
                                               "bergabe\r"
                                               "Datum:       16.03.2026\r"
                                               "Beginn:      10:00\r"
                                               "Ende:        11:30");
        QCOMPARE(pty.lies(erwartet.size()), erwartet);
        QVERIFY(
            form.sbStatus->currentMessage().startsWith(QStringLiteral("Hinweisschild für Raum A")));
    }
};

QTEST_MAIN(TstFrmAntragMail)
#include "tst_frmantrag_mail.moc"

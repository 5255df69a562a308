// Mail as a mail reader sees it, through a real SMTP server; address checks; display ports.
#include "DisplayPort.h"
#include "MailNachricht.h"
#include "SmtpSenke.h"
#include "SmtpVersand.h"

#include <QJsonArray>
#include <QtTest>

using MailNachricht::Adresse;

class TstSmtp : public QObject {
    Q_OBJECT
private slots:
    void nachricht_data();
    void nachricht();
    void starttlsFehlt();
    void adresse_data();
    void adresse();
    void geraet();
};

void TstSmtp::nachricht_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("betreff");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("nameGelesen");
    QTest::addColumn<QString>("betreffGelesen");
    // What a mail reader shows is the name and subject sent, unless given otherwise.
    const auto row = [](const char* tag, const QString& name, const QString& betreff,
                        const QString& text = QStringLiteral("Hallo"), QString nameGelesen = {},
                        QString betreffGelesen = {}) {
        QTest::newRow(tag) << name << betreff << text << (nameGelesen.isNull() ? name : nameGelesen)
                           << (betreffGelesen.isNull() ? betreff : betreffGelesen);
    };
    row("Zeilenumbruch im Betreff", "Hausdienste", "Reservierung\r\nBcc: boese@example.org",
        "Hallo", {}, "Reservierung  Bcc: boese@example.org");
    row("Zeilenumbruch im Namen mit Umlaut", "Jürgen\nBcc: boese@example.org", "Reservierung",
        "Hallo", "Jürgen Bcc: boese@example.org");
    row("Komma und Anführungszeichen im Namen", "Berg, \"Kalle\" Karl", "Reservierung");
    // Long enough for several encoded words and soft line breaks; a line that starts with a
    // dot, a trailing blank and an equals sign must come back as they were.
    const QString lang = QStringLiteral("Größere Übergabe der Schlüssel für den Saal „Süd“ – ") +
                         QString(40, QLatin1Char('x')) + QStringLiteral(" äöü ÄÖÜ ß € ✓ 😀");
    // Folded before blanks; a word too long for any line goes as encoded words.
    const QString langerName =
        QStringLiteral("Hausdienste, Abteilung Nord ").repeated(70).trimmed();
    row("Name aus 2000 Zeichen", langerName, langerName);
    row("Betreff aus einem Wort von 2000 Zeichen", "Hausdienste", QString(2000, QLatin1Char('N')));
    row("lange Zeilen, Punkt, Leerzeichen am Ende", "Hausdienste Süd", lang,
        lang + QStringLiteral("\r\n.\r\nEnde mit Leerzeichen \r\na=b\n\nletzte Zeile"));
}

void TstSmtp::nachricht() {
    QFETCH(QString, name);
    QFETCH(QString, betreff);
    QFETCH(QString, text);

    SmtpSenke& senke = Senke();
    QVERIFY2(senke.ok(), qPrintable(senke.fehler));
    SmtpVersand::Einstellungen e;
    e.server = QStringLiteral("127.0.0.1");
    e.port = senke.port;
    e.absender = QStringLiteral("raum@tovo.example");
    MailNachricht::Nachricht n;
    n.von = {name, e.absender};
    n.an = {{name, QStringLiteral("anna@example.org")}};
    n.cc = {{QString(), QStringLiteral("cc@example.org")}};
    n.betreff = betreff;
    n.text = text;
    const SmtpVersand::Ergebnis r = SmtpVersand::Sende(e, n);
    QVERIFY2(r.ok(), qPrintable(r.grund));

    const QList<QJsonObject> post = senke.nachrichten();
    QCOMPARE(post.size(), 1);
    const QJsonObject m = post.first();
    // Only the intended recipients, and every header once: nothing was injected.
    QCOMPARE(m[QStringLiteral("rcpt_tos")].toArray().toVariantList(),
             QVariantList({QStringLiteral("anna@example.org"), QStringLiteral("cc@example.org")}));
    QStringList koepfe;
    for (const QJsonValue& k : m[QStringLiteral("header_names")].toArray())
        koepfe << k.toString().toLower();
    koepfe.sort();
    QCOMPARE(koepfe, QStringList({"cc", "content-transfer-encoding", "content-type", "date", "from",
                                  "message-id", "mime-version", "subject", "to"}));
    QCOMPARE(m[QStringLiteral("defects")].toArray().size(), 0);

    QTEST(m[QStringLiteral("subject")].toString(), "betreffGelesen");
    QTEST(m[QStringLiteral("from_name")].toString(), "nameGelesen");
    const auto zeilen = [](QString t) { return t.replace(QLatin1String("\r\n"), "\n"); };
    QCOMPARE(zeilen(m[QStringLiteral("body")].toString()), zeilen(text) + '\n');
    QVERIFY(m[QStringLiteral("message_id")].toString().endsWith(QLatin1String("@tovo.example>")));

    // On the wire no line is longer than the standard allows.
    for (const QByteArray& zeile : senke.roh(1).split('\n'))
        QVERIFY2(zeile.size() <= 78, zeile.constData());
}

// Encryption that was asked for is never dropped: a server without STARTTLS gets nothing.
void TstSmtp::starttlsFehlt() {
    SmtpSenke& senke = Senke();
    QVERIFY2(senke.ok(), qPrintable(senke.fehler));
    SmtpVersand::Einstellungen e;
    e.server = QStringLiteral("127.0.0.1");
    e.port = senke.port;
    e.verschluesselung = SmtpVersand::Verschluesselung::StartTls;
    e.benutzer = QStringLiteral("raum");
    e.passwort = QStringLiteral("geheim-4711");
    MailNachricht::Nachricht n;
    n.von = {QString(), QStringLiteral("raum@tovo.example")};
    n.an = {{QString(), QStringLiteral("anna@example.org")}};
    n.text = QStringLiteral("Hallo");

    const SmtpVersand::Ergebnis r = SmtpVersand::Sende(e, n);
    QVERIFY(r.fehler == SmtpVersand::Schritt::Verbinden);
    QVERIFY2(r.grund.startsWith(QStringLiteral("Der Mail-Server bietet keine Verschlüsselung")) &&
                 !r.grund.contains(e.passwort),
             qPrintable(r.grund));
    QCOMPARE(senke.nachrichten().size(), 0);
}

void TstSmtp::adresse_data() {
    QTest::addColumn<QString>("adresse");
    QTest::addColumn<bool>("gueltig");
    QTest::newRow("einfach") << QStringLiteral("anna@stadtwerke.de") << true;
    QTest::newRow("Punkte und Plus") << QStringLiteral("k.berg+raum@mail.tovo-gmbh.de") << true;
    QTest::newRow("Zeilenumbruch") << QStringLiteral("anna@a.de\r\nBcc: b@c.de") << false;
    QTest::newRow("LF am Ende") << QStringLiteral("anna@a.de\n") << false;
    QTest::newRow("Umlaut") << QStringLiteral("müller@a.de") << false;
    QTest::newRow("Leerzeichen") << QStringLiteral("anna berg@a.de") << false;
    QTest::newRow("Winkel") << QStringLiteral("<anna@a.de>") << false;
    QTest::newRow("ohne @") << QStringLiteral("anna.a.de") << false;
    QTest::newRow("doppelter Punkt") << QStringLiteral("anna..berg@a.de") << false;
}

void TstSmtp::adresse() {
    QFETCH(QString, adresse);
    QTEST(MailNachricht::IstGueltigeAdresse(adresse), "gueltig");
}

void TstSmtp::geraet() {
    QCOMPARE(DisplayPort::Geraet(QStringLiteral("Com1")), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(DisplayPort::Geraet(QStringLiteral("COM2:")), QStringLiteral("/dev/ttyS1"));
    QCOMPARE(DisplayPort::Geraet(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
}

QTEST_GUILESS_MAIN(TstSmtp)
#include "tst_smtp.moc"

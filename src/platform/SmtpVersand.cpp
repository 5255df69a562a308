#include "SmtpVersand.h"

#include "Allg_Hilfsfkt.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <curl/curl.h>
#include <mutex>

namespace SmtpVersand {

namespace {

QString IniWert(const char* key) {
    return Allg_Hilfsfkt::ReadIniValue(QStringLiteral("Mail"), QLatin1String(key), QString())
        .trimmed();
}

void CurlEinmalStarten() {
    static std::once_flag einmal;
    std::call_once(einmal, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What one transfer needs in libcurl's callbacks.
struct Uebertragung {
    QByteArray daten;
    qsizetype gelesen = 0;
    QByteArray empfangen;  // the server's lines not yet complete
    QStringList antwort;   // the lines of the server's current reply
    QStringList ablehnung; // the last reply that refused something (4xx or 5xx)
    bool antwortFertig = true;
    bool mailFromGesendet = false;
    bool datenUebergeben = false;  // every byte of the message went to libcurl
    int ablehnungen = 0;           // refusing replies so far
    int ablehnungenVorDemEnde = 0; // of those, the ones before the message was handed over
};

size_t Lesen(char* puffer, size_t groesse, size_t anzahl, void* zeiger) {
    auto* u = static_cast<Uebertragung*>(zeiger);
    const qsizetype rest = u->daten.size() - u->gelesen;
    const qsizetype n = std::min<qsizetype>(rest, static_cast<qsizetype>(groesse * anzahl));
    if (n > 0) {
        memcpy(puffer, u->daten.constData() + u->gelesen, static_cast<size_t>(n));
        u->gelesen += n;
    }
    if (u->gelesen == u->daten.size() && !u->datenUebergeben) {
        u->datenUebergeben = true;
        u->ablehnungenVorDemEnde = u->ablehnungen;
    }
    return static_cast<size_t>(std::max<qsizetype>(n, 0));
}

// Keeps the server's replies (and notes when the envelope began). What the client sends is not
// kept: it holds the login.
int Protokoll(CURL*, curl_infotype art, char* text, size_t laenge, void* zeiger) {
    auto* u = static_cast<Uebertragung*>(zeiger);
    if (art == CURLINFO_HEADER_OUT) {
        if (laenge >= 9 && qstrnicmp(text, "MAIL FROM", 9) == 0)
            u->mailFromGesendet = true;
        return 0;
    }
    if (art != CURLINFO_HEADER_IN)
        return 0;
    u->empfangen.append(text, static_cast<qsizetype>(laenge));
    qsizetype ende;
    while ((ende = u->empfangen.indexOf('\n')) >= 0) {
        const QString zeile = QString::fromUtf8(u->empfangen.left(ende)).trimmed();
        u->empfangen.remove(0, ende + 1);
        if (u->antwortFertig)
            u->antwort.clear();
        u->antwort << zeile;
        // "250-..." goes on, "250 ..." ends a reply.
        u->antwortFertig = zeile.size() < 4 || zeile.at(3) != QLatin1Char('-');
        if (u->antwortFertig &&
            (zeile.startsWith(QLatin1Char('4')) || zeile.startsWith(QLatin1Char('5')))) {
            u->ablehnung = u->antwort;
            ++u->ablehnungen;
        }
    }
    return 0;
}

QByteArray Winkel(const QString& adresse) {
    return '<' + adresse.toUtf8() + '>';
}

int StandardPort(Verschluesselung v) {
    switch (v) {
    case Verschluesselung::StartTls:
        return 587;
    case Verschluesselung::Tls:
        return 465;
    case Verschluesselung::Keine:
        break;
    }
    return 25;
}

QString Erklaerung(CURLcode code, const QString& server, int port) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Der Mail-Server '") + server + QStringLiteral("' ist unbekannt.");
    case CURLE_COULDNT_CONNECT:
        return QStringLiteral("Der Mail-Server '") + server + QStringLiteral("' ist an Port ") +
               QString::number(port) + QStringLiteral(" nicht erreichbar.");
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Der Mail-Server antwortet nicht.");
    case CURLE_USE_SSL_FAILED:
        return QStringLiteral("Der Mail-Server bietet keine Verschlüsselung (STARTTLS) an.");
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Die verschlüsselte Verbindung zum Mail-Server kam nicht zustande.");
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Der Mail-Server hat die Anmeldung abgelehnt.");
    default:
        return QString();
    }
}

} // namespace

Einstellungen AusIni() {
    Einstellungen e;
    e.server = IniWert("Server");
    e.benutzer = IniWert("Benutzer");
    e.passwort =
        Allg_Hilfsfkt::ReadIniValue(QStringLiteral("Mail"), QStringLiteral("Passwort"), QString());
    e.absender = IniWert("Absender");
    bool sekunden = false;
    const int zeitlimit = IniWert("Timeout").toInt(&sekunden);
    if (sekunden && zeitlimit > 0)
        e.zeitlimitSekunden = std::min(zeitlimit, 3600);

    const QString art = IniWert("Verschluesselung");
    if (art.isEmpty() || art.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0 ||
        art.compare(QLatin1String("keine"), Qt::CaseInsensitive) == 0)
        e.verschluesselung = Verschluesselung::Keine;
    else if (art.compare(QLatin1String("STARTTLS"), Qt::CaseInsensitive) == 0)
        e.verschluesselung = Verschluesselung::StartTls;
    else if (art.compare(QLatin1String("TLS"), Qt::CaseInsensitive) == 0 ||
             art.compare(QLatin1String("SSL"), Qt::CaseInsensitive) == 0)
        e.verschluesselung = Verschluesselung::Tls;
    else
        e.fehler = QStringLiteral("Unbekannte Verschlüsselung '") + art +
                   QStringLiteral("' (möglich sind none, STARTTLS und TLS).");

    const QString port = IniWert("Port");
    bool zahl = true;
    e.port = port.isEmpty() ? 0 : port.toInt(&zahl);
    if (!zahl || e.port < 0 || e.port > 65535)
        e.fehler =
            QStringLiteral("Der Port '") + port + QStringLiteral("' ist keine gültige Zahl.");
    if (e.absender.isEmpty())
        e.fehler = QStringLiteral("Es ist keine Absenderadresse eingetragen (TovoRaumVerw.ini, "
                                  "Abschnitt \"Mail\", Schlüssel \"Absender\").");
    if (e.server.isEmpty())
        e.fehler = QStringLiteral("Es ist kein Mail-Server eingetragen (TovoRaumVerw.ini, "
                                  "Abschnitt \"Mail\", Schlüssel \"Server\").");
    return e;
}

namespace {

// One attempt within `frist` milliseconds.
Ergebnis Versuch(const Einstellungen& e, const MailNachricht::Nachricht& nachricht, qint64 frist) {
    Ergebnis ergebnis;
    CurlEinmalStarten();
    CURL* curl = curl_easy_init();
    if (!curl) {
        ergebnis.fehler = Schritt::Verbinden;
        ergebnis.grund = QStringLiteral("Die Mail-Bibliothek ließ sich nicht starten.");
        return ergebnis;
    }

    Uebertragung u;
    u.daten = MailNachricht::Mime(nachricht);
    char fehlerPuffer[CURL_ERROR_SIZE] = {};

    const QString host =
        e.server.contains(QLatin1Char(':')) && !e.server.startsWith(QLatin1Char('['))
            ? QLatin1Char('[') + e.server + QLatin1Char(']')
            : e.server;
    const int port = e.port > 0 ? e.port : StandardPort(e.verschluesselung);
    const QByteArray url = (e.verschluesselung == Verschluesselung::Tls ? QStringLiteral("smtps://")
                                                                        : QStringLiteral("smtp://"))
                               .toUtf8() +
                           host.toUtf8() + ':' + QByteArray::number(port);
    const QByteArray von = Winkel(nachricht.von.adresse);
    const QByteArray benutzer = e.benutzer.toUtf8();
    const QByteArray passwort = e.passwort.toUtf8();

    curl_slist* empfaenger = nullptr;
    QList<QByteArray> adressen;
    for (const QVector<MailNachricht::Adresse>* liste : {&nachricht.an, &nachricht.cc})
        for (const MailNachricht::Adresse& a : *liste)
            adressen << Winkel(a.adresse);
    for (const QByteArray& a : adressen)
        empfaenger = curl_slist_append(empfaenger, a.constData());

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, von.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, empfaenger);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, Lesen);
    curl_easy_setopt(curl, CURLOPT_READDATA, &u);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(u.daten.size()));
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, fehlerPuffer);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(std::min<qint64>(frist, 15000)));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(frist));
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, Protokoll);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &u);
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L); // feeds Protokoll only; nothing is printed
    if (e.verschluesselung == Verschluesselung::StartTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
    if (!benutzer.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, benutzer.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, passwort.constData());
    }

    const CURLcode code = curl_easy_perform(curl);
    curl_slist_free_all(empfaenger);
    curl_easy_cleanup(curl);
    if (code == CURLE_OK)
        return ergebnis;
    // The whole message went out and nobody refused it: a server that takes its time with the
    // receipt (or a line that drops it) has the message. Sending again would deliver it twice.
    if (u.datenUebergeben && u.ablehnungen == u.ablehnungenVorDemEnde &&
        (code == CURLE_OPERATION_TIMEDOUT || code == CURLE_RECV_ERROR ||
         code == CURLE_GOT_NOTHING)) {
        ergebnis.unbestaetigt = true;
        return ergebnis;
    }

    ergebnis.fehler = u.mailFromGesendet ? Schritt::Versenden : Schritt::Verbinden;
    // A German sentence for the usual troubles, then the server's reply when it refused, else
    // libcurl's own reason.
    const QString grund =
        !u.ablehnung.isEmpty()
            ? u.ablehnung.join(QLatin1Char('\n'))
            : QString::fromUtf8(fehlerPuffer[0] ? fehlerPuffer : curl_easy_strerror(code));
    const QString satz = Erklaerung(code, e.server, port);
    ergebnis.grund = satz.isEmpty() ? grund : satz + QLatin1Char('\n') + grund;
    return ergebnis;
}

} // namespace

Ergebnis Sende(const Einstellungen& e, const MailNachricht::Nachricht& nachricht) {
    if (!e.fehler.isEmpty()) {
        Ergebnis ergebnis;
        ergebnis.fehler = Schritt::Verbinden;
        ergebnis.grund = e.fehler;
        return ergebnis;
    }
    const QDeadlineTimer frist(std::chrono::seconds(std::max(1, e.zeitlimitSekunden)));
    Ergebnis ergebnis = Versuch(e, nachricht, frist.remainingTime());
    // Once more when the server took nothing, if a second attempt still has time.
    if (ergebnis.fehler == Schritt::Verbinden && frist.remainingTime() >= 1000)
        ergebnis = Versuch(e, nachricht, frist.remainingTime());
    return ergebnis;
}

} // namespace SmtpVersand

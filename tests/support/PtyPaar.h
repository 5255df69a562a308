#pragma once

// Two connected pseudo-terminals from socat standing in for a serial line: what is written to
// `geraet` can be read from the other end. Started by the constructor, stopped by the
// destructor; when socat cannot start, `fehler` says why.
#include "TestServer.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStringList>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

class PtyPaar {
public:
    PtyPaar() {
        m_prozess.start(QStringLiteral("socat"),
                        {QStringLiteral("-d"), QStringLiteral("-d"),
                         QStringLiteral("pty,raw,echo=0"), QStringLiteral("pty,raw,echo=0")});
        if (!m_prozess.waitForStarted(10000)) {
            fehler = QStringLiteral("socat startet nicht: ") + m_prozess.errorString();
            return;
        }
        // socat names both devices ("PTY is /dev/pts/N") and then starts relaying.
        static const QRegularExpression pty(QStringLiteral("PTY is (\\S+)"));
        const QByteArray ausgabe = ReadBis(
            m_prozess,
            [](const QByteArray& a) { return a.contains("starting data transfer loop"); }, true);
        QStringList geraete;
        for (auto it = pty.globalMatch(QString::fromUtf8(ausgabe)); it.hasNext();)
            geraete << it.next().captured(1);
        if (geraete.size() != 2 || !ausgabe.contains("starting data transfer loop")) {
            fehler = QStringLiteral("socat liefert kein Pty-Paar: ") + QString::fromUtf8(ausgabe);
            return;
        }
        geraet = geraete[0];
        m_gegenseite =
            ::open(geraete[1].toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (m_gegenseite < 0)
            fehler = QStringLiteral("Gegenseite lässt sich nicht öffnen: ") + geraete[1];
    }
    ~PtyPaar() {
        if (m_gegenseite >= 0)
            ::close(m_gegenseite);
        StoppeProzess(m_prozess);
    }
    PtyPaar(const PtyPaar&) = delete;
    PtyPaar& operator=(const PtyPaar&) = delete;

    bool ok() const { return fehler.isEmpty(); }

    // Reads from the other end until `anzahl` bytes came or `ms` passed, then what is left
    // within a short while (so that extra bytes show up as well).
    QByteArray lies(qsizetype anzahl, int ms = 5000) {
        QByteArray out;
        QDeadlineTimer frist(ms);
        bool nachlauf = false;
        while (!frist.hasExpired()) {
            pollfd p{m_gegenseite, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(std::max<qint64>(1, frist.remainingTime()))) <= 0)
                break;
            char puffer[256];
            const ssize_t n = ::read(m_gegenseite, puffer, sizeof puffer);
            if (n <= 0)
                break;
            out.append(puffer, n);
            if (out.size() >= anzahl && !nachlauf) {
                frist = QDeadlineTimer(100);
                nachlauf = true;
            }
        }
        return out;
    }

    QString geraet; // the end to write to
    QString fehler;

private:
    QProcess m_prozess;
    int m_gegenseite = -1;
};

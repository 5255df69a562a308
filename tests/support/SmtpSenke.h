#pragma once

// A real SMTP server for the tests: smtp_senke.py (python3-aiosmtpd) writing every message it
// takes to a temporary folder. When it cannot start, `fehler` says why.
#include "TestServer.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

class SmtpSenke {
public:
    SmtpSenke() {
        // Debian's interpreter, where the package lives, before any other on the path.
        const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                                   ? QStringLiteral("/usr/bin/python3")
                                   : QStringLiteral("python3");
        m_prozess.setProgram(python);
        m_prozess.setArguments({QStringLiteral(TOVO_TEST_SUPPORT_DIR "/smtp_senke.py"),
                                m_ordner.path(), QStringLiteral("--stdin")});
        m_prozess.setProcessChannelMode(QProcess::MergedChannels);
        m_prozess.start();
        if (!m_prozess.waitForStarted(10000)) {
            fehler = QStringLiteral("SMTP-Senke startet nicht: ") + m_prozess.errorString();
            return;
        }
        // The sink prints "READY <port>" once it listens; bounded wait for that line.
        static const QRegularExpression bereit(QStringLiteral("READY (\\d+)"));
        const QByteArray ausgabe = ReadBis(m_prozess, [](const QByteArray& a) {
            return bereit.match(QString::fromUtf8(a)).hasMatch();
        });
        port = bereit.match(QString::fromUtf8(ausgabe)).captured(1).toInt();
        if (port == 0)
            fehler = QStringLiteral("SMTP-Senke meldet sich nicht bereit: ") +
                     QString::fromUtf8(ausgabe + m_prozess.readAll());
    }
    ~SmtpSenke() {
        m_prozess.closeWriteChannel();
        StoppeProzess(m_prozess);
    }
    SmtpSenke(const SmtpSenke&) = delete;
    SmtpSenke& operator=(const SmtpSenke&) = delete;

    bool ok() const { return port != 0; }

    // The messages taken since the last leeren(), as the sink decoded them, in order.
    QList<QJsonObject> nachrichten() const {
        QList<QJsonObject> out;
        for (int n = m_gelesen + 1;; ++n) {
            QFile datei(m_ordner.filePath(QString::number(n) + QStringLiteral(".json")));
            if (!datei.open(QIODevice::ReadOnly))
                return out;
            out << QJsonDocument::fromJson(datei.readAll()).object();
        }
    }
    // The raw data of message n (from 1) of those.
    QByteArray roh(int n) const {
        QFile datei(m_ordner.filePath(QString::number(m_gelesen + n) + QStringLiteral(".eml")));
        return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
    }
    // Forgets the messages taken so far.
    void leeren() { m_gelesen += static_cast<int>(nachrichten().size()); }

    int port = 0;
    QString fehler;

private:
    QTemporaryDir m_ordner;
    QProcess m_prozess;
    int m_gelesen = 0;
};

// The sink of the test executable, started on first use; its earlier messages are forgotten.
inline SmtpSenke& Senke() {
    static SmtpSenke senke;
    senke.leeren();
    return senke;
}

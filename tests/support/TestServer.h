#pragma once

// What the throw-away servers of the tests share: a temporary folder, a free port on 127.0.0.1,
// finding and running the server's programs, and stopping a process that runs on.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// Asks a process to end, and kills it when it does not within `ms`.
inline void StoppeProzess(QProcess& p, int ms = 5000) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(ms)) {
        p.kill();
        p.waitForFinished(2000);
    }
}

// Reads the output of a starting process until `fertig` holds for all of it, at most 20 seconds.
template <class Fertig> QByteArray ReadBis(QProcess& p, Fertig fertig, bool fehlerKanal = false) {
    QByteArray ausgabe;
    for (int i = 0; i < 100 && !fertig(ausgabe); ++i) {
        if (!p.waitForReadyRead(200) && p.state() != QProcess::Running)
            break;
        ausgabe += fehlerKanal ? p.readAllStandardError() : p.readAll();
    }
    return ausgabe;
}

class TestServer {
public:
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

protected:
    explicit TestServer(const char* art, const char* log)
        : m_dir(QDir::tempPath() + QStringLiteral("/tovo-%1-XXXXXX").arg(QLatin1String(art))),
          m_log(m_dir.filePath(QLatin1String(log))) {
        if (!m_dir.isValid())
            m_error = QStringLiteral("no temporary directory");
        m_port = FreePort();
    }

    // A port on 127.0.0.1 that nothing listens on at the moment.
    static int FreePort() {
        int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        int port = 0;
        if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        ::close(s);
        return port;
    }

    // A server program on the path, in the sbin folders or in PostgreSQL's versioned folders.
    static QString Program(const QString& name) {
        QStringList dirs;
        const QString pg = QStringLiteral("/usr/lib/postgresql/");
        for (const QString& v : QDir(pg).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            dirs << pg + v + QStringLiteral("/bin");
        const QString p = QStandardPaths::findExecutable(name, dirs << QStringLiteral("/usr/sbin")
                                                                    << QStringLiteral("/usr/bin"));
        return p.isEmpty() ? QStandardPaths::findExecutable(name) : p;
    }

    // Runs a server program to its end (as `nutzer` when given); false with its output.
    bool Laufe(const QString& name, QStringList args, const QString& nutzer = QString()) {
        QString program = Program(name);
        if (program.isEmpty())
            return Fehler(name + QStringLiteral(" not found"));
        if (!nutzer.isEmpty()) {
            args = QStringList{QStringLiteral("-u"), nutzer, QStringLiteral("--"), program} + args;
            program = QStringLiteral("runuser");
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(program, args);
        if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0)
            return Fehler(name + QStringLiteral(" failed: ") +
                          QString::fromLocal8Bit(p.readAll().right(1500)) + LogTail());
        return true;
    }

    bool Fehler(const QString& text) {
        m_error = text;
        return false;
    }

    QString LogTail() const {
        QFile log(m_log);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(1500))
                                             : QString();
    }

    QTemporaryDir m_dir;
    const QString m_log; // the server's log file
    int m_port = 0;
    bool m_ok = false;
    QString m_error;
};

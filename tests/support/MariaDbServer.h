#pragma once

// A throw-away MariaDB server for the portal tests and the benchmark: its own data directory
// under a temporary folder, a free port on 127.0.0.1, its own socket, no grant tables. A test
// executable starts one in initTestCase and drops it in cleanupTestCase; it stops with the object.
// Nothing of the system's own database service is touched.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class MariaDbServer {
public:
    MariaDbServer() { m_ok = start(); }
    ~MariaDbServer() { stop(); }
    MariaDbServer(const MariaDbServer&) = delete;
    MariaDbServer& operator=(const MariaDbServer&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    int port() const { return m_port; }
    // The server's process, to freeze it with SIGSTOP.
    qint64 pid() const { return m_process.processId(); }

    // The connection text as an installation keeps it in "DBPATH".
    QString ConnText(const QString& database = QStringLiteral("netzpult")) const {
        return QStringLiteral("Driver={MySQL ODBC 8.0 Unicode Driver};Server=127.0.0.1;Port=%1;"
                              "Database=%2;Uid=root;Pwd=;")
            .arg(m_port)
            .arg(database);
    }

    // A new connection (to be removed by the caller with QSqlDatabase::removeDatabase).
    QSqlDatabase Connect(const QString& database, QString* name = nullptr) const {
        const QString n = QStringLiteral("mariadb_") + QUuid::createUuid().toString(QUuid::Id128);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), n);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setUserName(QStringLiteral("root"));
        db.setDatabaseName(database);
        db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5"));
        db.open();
        if (name)
            *name = n;
        return db;
    }

    // Drops and creates `database` with the portal's three tables. False with the reason.
    bool CreatePortal(const QString& database, QString* error = nullptr) {
        QString name;
        bool ok = true;
        {
            QSqlDatabase db = Connect(QString(), &name);
            QStringList statements = {
                QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(database),
                QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE "
                               "utf8mb4_unicode_ci")
                    .arg(database),
                QStringLiteral("USE `%1`").arg(database)};
            QFile ddl(QStringLiteral(TOVO_NETZPULT_DDL));
            if (!ddl.open(QIODevice::ReadOnly)) {
                ok = false;
                if (error)
                    *error = QStringLiteral("DDL not readable: ") + ddl.fileName();
            }
            QString text = QString::fromUtf8(ddl.readAll());
            QStringList lines;
            for (const QString& line : text.split(QLatin1Char('\n')))
                if (!line.trimmed().startsWith(QLatin1String("--")))
                    lines << line;
            for (const QString& s : lines.join(QLatin1Char('\n')).split(QLatin1Char(';')))
                if (!s.trimmed().isEmpty())
                    statements << s;
            QSqlQuery q(db);
            for (const QString& s : statements) {
                if (!ok)
                    break;
                if (!q.exec(s)) {
                    ok = false;
                    if (error)
                        *error = q.lastError().text() + QStringLiteral(" in ") + s;
                }
            }
            if (!db.isOpen() && error) {
                ok = false;
                *error = db.lastError().text();
            }
        }
        QSqlDatabase::removeDatabase(name);
        return ok;
    }

    // A port on 127.0.0.1 that nothing listens on at the moment.
    static int FreePort() {
        int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        int port = 0;
        socklen_t len = sizeof(addr);
        if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        ::close(s);
        return port;
    }

private:
    static QString Program(const QString& name) {
        QString p = QStandardPaths::findExecutable(name);
        if (p.isEmpty())
            p = QStandardPaths::findExecutable(
                name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
        return p;
    }

    QString LogTail() const {
        QFile log(m_dir.path() + QStringLiteral("/server.log"));
        if (!log.open(QIODevice::ReadOnly))
            return QString();
        const QByteArray all = log.readAll();
        return QString::fromUtf8(all.right(1500));
    }

    bool start() {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary directory");
            return false;
        }
        const QString data = m_dir.path() + QStringLiteral("/data");
        QDir().mkpath(data);
        const QString installDb = Program(QStringLiteral("mariadb-install-db"));
        const QString server = Program(QStringLiteral("mariadbd"));
        if (installDb.isEmpty() || server.isEmpty()) {
            m_error = QStringLiteral("mariadb-install-db or mariadbd not found (package "
                                     "mariadb-server)");
            return false;
        }
        QStringList userArg;
        if (::geteuid() == 0)
            userArg << QStringLiteral("--user=root");

        QProcess install;
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(installDb, QStringList{QStringLiteral("--no-defaults"),
                                             QStringLiteral("--auth-root-authentication-method="
                                                            "normal"),
                                             QStringLiteral("--skip-test-db"),
                                             QStringLiteral("--datadir=") + data} +
                                     userArg);
        if (!install.waitForFinished(180000) || install.exitCode() != 0) {
            m_error = QStringLiteral("mariadb-install-db failed: ") +
                      QString::fromUtf8(install.readAll().right(1500));
            return false;
        }

        m_port = FreePort();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_dir.path() + QStringLiteral("/server.log"));
        m_process.start(
            server,
            QStringList{
                QStringLiteral("--no-defaults"), QStringLiteral("--datadir=") + data,
                QStringLiteral("--socket=") + m_dir.path() + QStringLiteral("/mysqld.sock"),
                QStringLiteral("--pid-file=") + m_dir.path() + QStringLiteral("/mysqld.pid"),
                // Own folder for temporary tables: /tmp is shared with every other test run.
                QStringLiteral("--tmpdir=") + m_dir.path(), QStringLiteral("--port=%1").arg(m_port),
                QStringLiteral("--bind-address=127.0.0.1"), QStringLiteral("--skip-grant-tables"),
                QStringLiteral("--skip-log-bin"), QStringLiteral("--innodb-buffer-pool-size=128M"),
                QStringLiteral("--innodb-flush-log-at-trx-commit=2"),
                QStringLiteral("--innodb-doublewrite=0"),
                QStringLiteral("--max-allowed-packet=64M")} +
                userArg);
        if (!m_process.waitForStarted(20000)) {
            m_error = QStringLiteral("mariadbd did not start: ") + m_process.errorString();
            return false;
        }
        // Ready once a connection succeeds; bounded, and the pause is the wait for its exit.
        for (int attempt = 0; attempt < 600; ++attempt) {
            if (m_process.state() != QProcess::Running) {
                m_error = QStringLiteral("mariadbd ended: ") + LogTail();
                return false;
            }
            QString name;
            bool open = false;
            {
                QSqlDatabase db = Connect(QString(), &name);
                open = db.isOpen();
            }
            QSqlDatabase::removeDatabase(name);
            if (open)
                return true;
            m_process.waitForFinished(100);
        }
        m_error = QStringLiteral("mariadbd not ready within a minute: ") + LogTail();
        return false;
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(30000)) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/tovo-mariadb-XXXXXX")};
    QProcess m_process;
    int m_port = 0;
    bool m_ok = false;
    QString m_error;
};

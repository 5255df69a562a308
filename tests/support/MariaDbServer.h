#pragma once

// A throw-away MariaDB server for the portal tests and the benchmark, without grant tables; it
// stops with the object. Nothing of the system's own database service is touched.
#include "TestServer.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

class MariaDbServer : public TestServer {
public:
    MariaDbServer() : TestServer("mariadb", "server.log") { m_ok = m_error.isEmpty() && start(); }
    ~MariaDbServer() { StoppeProzess(m_process, 30000); }

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
        QFile ddl(QStringLiteral(TOVO_NETZPULT_DDL));
        QStringList statements = {
            QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(database),
            QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci")
                .arg(database),
            QStringLiteral("USE `%1`").arg(database)};
        QString text, fehler;
        if (!ddl.open(QIODevice::ReadOnly))
            fehler = QStringLiteral("DDL not readable: ") + ddl.fileName();
        for (const QString& line : QString::fromUtf8(ddl.readAll()).split(QLatin1Char('\n')))
            if (!line.trimmed().startsWith(QLatin1String("--")))
                text += line + QLatin1Char('\n');
        for (const QString& s : text.split(QLatin1Char(';')))
            if (!s.trimmed().isEmpty())
                statements << s;
        QString name;
        {
            QSqlDatabase db = Connect(QString(), &name);
            QSqlQuery q(db);
            for (qsizetype i = 0; fehler.isEmpty() && i < statements.size(); ++i)
                if (!q.exec(statements[i]))
                    fehler = q.lastError().text() + QStringLiteral(" in ") + statements[i];
        }
        QSqlDatabase::removeDatabase(name);
        if (error)
            *error = fehler;
        return fehler.isEmpty();
    }

private:
    bool start() {
        const QString data = m_dir.path() + QStringLiteral("/data");
        QDir().mkpath(data);
        const QString server = Program(QStringLiteral("mariadbd"));
        if (server.isEmpty())
            return Fehler(QStringLiteral("mariadbd not found (package mariadb-server)"));
        QStringList userArg;
        if (::geteuid() == 0)
            userArg << QStringLiteral("--user=root");
        if (!Laufe(QStringLiteral("mariadb-install-db"),
                   QStringList{QStringLiteral("--no-defaults"),
                               QStringLiteral("--auth-root-authentication-method=normal"),
                               QStringLiteral("--skip-test-db"),
                               QStringLiteral("--datadir=") + data} +
                       userArg))
            return false;

        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_log);
        // Its own folder for temporary tables too: /tmp is shared with every other test run.
        m_process.start(server, QStringLiteral("--no-defaults --datadir=%1 --socket=%2/mysqld.sock "
                                               "--pid-file=%2/mysqld.pid --tmpdir=%2 --port=%3 "
                                               "--bind-address=127.0.0.1 --skip-grant-tables "
                                               "--skip-log-bin --innodb-buffer-pool-size=128M "
                                               "--innodb-flush-log-at-trx-commit=2 "
                                               "--innodb-doublewrite=0 --max-allowed-packet=64M")
                                        .arg(data, m_dir.path())
                                        .arg(m_port)
                                        .split(QLatin1Char(' ')) +
                                    userArg);
        if (!m_process.waitForStarted(20000))
            return Fehler(QStringLiteral("mariadbd did not start: ") + m_process.errorString());
        // Ready once a connection succeeds; bounded, and the pause is the wait for its exit.
        for (int attempt = 0; attempt < 600; ++attempt) {
            if (m_process.state() != QProcess::Running)
                return Fehler(QStringLiteral("mariadbd ended: ") + LogTail());
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
        return Fehler(QStringLiteral("mariadbd not ready within a minute: ") + LogTail());
    }

    QProcess m_process;
};

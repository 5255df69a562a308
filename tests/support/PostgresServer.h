#pragma once

// A throw-away PostgreSQL cluster: initdb and pg_ctl into a temporary folder, a free port on
// 127.0.0.1, trust for local connections. initdb refuses root, so a test run as root runs the
// server as Debian's user postgres. Started once per test executable (Instanz), stopped at its
// end; a cluster that does not start fails every test that needs it, with the reason.
#include "MariaDbServer.h"
#include "ServerEinrichtung.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <pwd.h>
#include <unistd.h>

class PostgresServer {
public:
    static PostgresServer& Instanz() {
        if (!s_instanz) {
            s_instanz = new PostgresServer;
            // Stopped while the application still exists, before static objects go.
            qAddPostRoutine([] {
                delete s_instanz;
                s_instanz = nullptr;
            });
        }
        return *s_instanz;
    }
    // `dauerhaft`: every commit reaches the disk, as on a real server; the tests do without.
    explicit PostgresServer(bool dauerhaft = false) : m_dauerhaft(dauerhaft) { m_ok = start(); }
    ~PostgresServer() {
        QSqlDatabase::removeDatabase(kVerwaltung);
        if (m_gestartet)
            Stoppe(QStringLiteral("fast"));
    }
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    int port() const { return m_port; }

    // The connection text of a database, as a project keeps it.
    QString Verbindung(const QString& datenbank) const {
        return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=tovo connect_timeout=5")
            .arg(m_port)
            .arg(datenbank);
    }

    // A new database with the program's tables (`leer`: without any); the name is empty when
    // that fails (reason in `error`).
    QString NeueDatenbank(QString* error, bool leer = false) {
        static int nummer = 0;
        const QString name = QStringLiteral("p%1").arg(++nummer);
        if (!m_ok ||
            !Sql(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                     .arg(name, leer ? QStringLiteral("template0") : QStringLiteral("vorlage")),
                 error))
            return QString();
        return name;
    }
    // Drops a database, with whatever connections it still has.
    void Entferne(const QString& datenbank) {
        Sql(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(datenbank), nullptr);
    }

    // Stops the server ("immediate": as if the machine lost power) and starts it again.
    bool Stoppe(const QString& art) { return PgCtl({"stop", "-m", art}); }
    bool Starte() {
        return PgCtl(
            {"start", "-w", "-t", "120", "-l", m_dir.path() + QStringLiteral("/log"), "-o",
             QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 "
                            "-c max_connections=200%3")
                 .arg(m_port)
                 .arg(m_dir.path(),
                      m_dauerhaft ? QString()
                                  : QStringLiteral(" -c fsync=off -c full_page_writes=off"))});
    }

private:
    inline static PostgresServer* s_instanz = nullptr;

    inline static const QString kVerwaltung = QStringLiteral("postgres_verwaltung");

    bool Sql(const QString& sql, QString* error) {
        const QString& name = kVerwaltung;
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::contains(name)
                                  ? QSqlDatabase::database(name)
                                  : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            if (!db.isOpen()) {
                db.setHostName(QStringLiteral("127.0.0.1"));
                db.setPort(m_port);
                db.setUserName(QStringLiteral("tovo"));
                db.setDatabaseName(QStringLiteral("postgres"));
                db.open();
            }
            QSqlQuery q(db);
            ok = q.exec(sql);
            if (!ok && error)
                *error = q.lastError().text();
        }
        return ok;
    }

    static QString Program(const QString& name) {
        for (const QString& dir : QDir(QStringLiteral("/usr/lib/postgresql"))
                                      .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (QFile::exists(QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(dir, name)))
                return QStringLiteral("/usr/lib/postgresql/%1/bin/%2").arg(dir, name);
        return QStandardPaths::findExecutable(name);
    }

    // Runs a server program, as postgres when we are root; false with its output.
    bool Laufe(const QString& name, QStringList args) {
        QString program = Program(name);
        if (program.isEmpty()) {
            m_error = name + QStringLiteral(" not found (package postgresql)");
            return false;
        }
        if (::geteuid() == 0) {
            args.prepend(program);
            args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"),
                               QStringLiteral("--")} +
                   args;
            program = QStringLiteral("runuser");
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(program, args);
        if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit ||
            p.exitCode() != 0) {
            m_error = name + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAll()) +
                      LogTail();
            return false;
        }
        return true;
    }
    bool PgCtl(QStringList args) {
        return Laufe(QStringLiteral("pg_ctl"),
                     QStringList{QStringLiteral("-D"), m_dir.path() + QStringLiteral("/data")} +
                         args);
    }

    QString LogTail() const {
        QFile log(m_dir.path() + QStringLiteral("/log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(1500))
                                             : QString();
    }

    bool start() {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary directory");
            return false;
        }
        if (::geteuid() == 0) {
            const passwd* pg = ::getpwnam("postgres");
            if (!pg ||
                ::chown(QFile::encodeName(m_dir.path()).constData(), pg->pw_uid, pg->pw_gid) != 0) {
                m_error = QStringLiteral("running as root, but there is no user postgres to "
                                         "run the server (package postgresql)");
                return false;
            }
        }
        m_port = MariaDbServer::FreePort();
        if (!Laufe(QStringLiteral("initdb"),
                   {QStringLiteral("-D"), m_dir.path() + QStringLiteral("/data"),
                    QStringLiteral("-U"), QStringLiteral("tovo"), QStringLiteral("--auth=trust"),
                    QStringLiteral("-E"), QStringLiteral("UTF8"),
                    QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")}) ||
            !Starte())
            return false;
        m_gestartet = m_ok = true;
        // The template every project database starts from, set up as the program does it.
        QTemporaryDir projekt;
        QString fehler;
        if (!Sql(QStringLiteral("CREATE DATABASE vorlage"), &fehler) ||
            !ServerEinrichtung::Einrichten(
                projekt.path() + QLatin1Char('/'), Verbindung(QStringLiteral("vorlage")),
                [](const QString&) {}, &fehler)) {
            m_error = QStringLiteral("the template database could not be set up: ") + fehler;
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/tovo-postgres-XXXXXX")};
    int m_port = 0;
    bool m_dauerhaft = false;
    bool m_ok = false;
    bool m_gestartet = false;
    QString m_error;
};

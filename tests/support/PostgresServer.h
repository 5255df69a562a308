#pragma once

// A throw-away PostgreSQL cluster with trust for local connections, started once per test
// executable (Instanz); when it does not start, every test that needs it fails with the reason.
#include "ServerEinrichtung.h"
#include "TestServer.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <pwd.h>

class PostgresServer : public TestServer {
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
    explicit PostgresServer(bool dauerhaft = false)
        : TestServer("postgres", "log"), m_dauerhaft(dauerhaft) {
        m_ok = m_error.isEmpty() && start();
    }
    ~PostgresServer() {
        QSqlDatabase::removeDatabase(kVerwaltung);
        if (m_gestartet)
            Stoppe(QStringLiteral("fast"));
    }
    // The connection text of a database, as a project keeps it.
    QString Verbindung(const QString& datenbank) const {
        return QStringLiteral("host=127.0.0.1 port=%1 dbname=%2 user=tovo connect_timeout=5")
            .arg(m_port)
            .arg(datenbank);
    }

    // A new database with the program's tables (`leer`: without any); empty when that fails.
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
            {"start", "-w", "-t", "120", "-l", m_log, "-o",
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
        QSqlDatabase db = QSqlDatabase::contains(kVerwaltung)
                              ? QSqlDatabase::database(kVerwaltung)
                              : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kVerwaltung);
        if (!db.isOpen()) {
            db.setHostName(QStringLiteral("127.0.0.1"));
            db.setPort(m_port);
            db.setUserName(QStringLiteral("tovo"));
            db.setDatabaseName(QStringLiteral("postgres"));
            db.open();
        }
        QSqlQuery q(db);
        const bool ok = q.exec(sql);
        if (!ok && error)
            *error = q.lastError().text();
        return ok;
    }

    bool PgCtl(QStringList args) {
        return Laufe(QStringLiteral("pg_ctl"),
                     QStringList{QStringLiteral("-D"), m_dir.path() + QStringLiteral("/data")} +
                         args,
                     Nutzer());
    }

    // initdb refuses root: then the server runs as postgres.
    static QString Nutzer() { return ::geteuid() == 0 ? QStringLiteral("postgres") : QString(); }

    bool start() {
        if (::geteuid() == 0) {
            const passwd* pg = ::getpwnam("postgres");
            if (!pg ||
                ::chown(QFile::encodeName(m_dir.path()).constData(), pg->pw_uid, pg->pw_gid) != 0)
                return Fehler(QStringLiteral("running as root, but there is no user postgres to "
                                             "run the server (package postgresql)"));
        }
        if (!Laufe(QStringLiteral("initdb"),
                   {QStringLiteral("-D"), m_dir.path() + QStringLiteral("/data"),
                    QStringLiteral("-U"), QStringLiteral("tovo"), QStringLiteral("--auth=trust"),
                    QStringLiteral("-E"), QStringLiteral("UTF8"),
                    QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")},
                   Nutzer()) ||
            !Starte())
            return false;
        m_gestartet = m_ok = true;
        // The template every project database starts from, set up as the program does it.
        QTemporaryDir projekt;
        QString fehler;
        if (!Sql(QStringLiteral("CREATE DATABASE vorlage"), &fehler) ||
            !ServerEinrichtung::Einrichten(
                projekt.path() + QLatin1Char('/'), Verbindung(QStringLiteral("vorlage")),
                [](const QString&) {}, &fehler))
            return Fehler(QStringLiteral("the template database could not be set up: ") + fehler);
        return true;
    }

    bool m_dauerhaft = false;
    bool m_gestartet = false;
};

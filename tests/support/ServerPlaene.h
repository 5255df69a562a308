#pragma once

// The plans the PostgreSQL server runs on one connection, as it executes them: the server's
// auto_explain module sends each plan to the connection as a notice, which is kept here.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QStringList>
#include <libpq-fe.h>

class ServerPlaene {
public:
    explicit ServerPlaene(QSqlDatabase db) {
        const QVariant handle = db.driver()->handle();
        m_verbindung = *static_cast<PGconn* const*>(handle.data());
        QSqlQuery q(db);
        for (const char* sql :
             {"LOAD 'auto_explain'", "SET auto_explain.log_min_duration = 0",
              "SET auto_explain.log_format = 'json'", "SET auto_explain.log_level = 'notice'",
              "SET client_min_messages = notice"})
            m_bereit = q.exec(QString::fromLatin1(sql)) && m_bereit;
        m_vorher = PQsetNoticeProcessor(m_verbindung, &Aufzeichnen, this);
    }
    ~ServerPlaene() { PQsetNoticeProcessor(m_verbindung, m_vorher, nullptr); }
    ServerPlaene(const ServerPlaene&) = delete;
    ServerPlaene& operator=(const ServerPlaene&) = delete;

    bool Bereit() const { return m_bereit; }
    const QList<QJsonObject>& Plaene() const { return m_plaene; }

    // The scans of `tabelle` in `plan`, as the server describes them (lower-case name).
    static QList<QJsonObject> Scans(const QJsonObject& plan, const QString& tabelle) {
        QList<QJsonObject> scans;
        if (plan.value(QStringLiteral("Relation Name")).toString() == tabelle)
            scans << plan;
        for (const QJsonValue& teil : plan.value(QStringLiteral("Plans")).toArray())
            scans << Scans(teil.toObject(), tabelle);
        return scans;
    }

private:
    static void Aufzeichnen(void* selbst, const char* meldung) {
        const QByteArray text(meldung);
        const qsizetype json = text.indexOf('{');
        if (json < 0)
            return;
        const QJsonObject plan = QJsonDocument::fromJson(text.mid(json)).object();
        if (plan.contains(QStringLiteral("Plan")))
            static_cast<ServerPlaene*>(selbst)->m_plaene
                << plan.value(QStringLiteral("Plan")).toObject();
    }

    PGconn* m_verbindung = nullptr;
    PQnoticeProcessor m_vorher = nullptr;
    bool m_bereit = true;
    QList<QJsonObject> m_plaene;
};

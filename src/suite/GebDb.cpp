#include "GebDb.h"

#include "SqlConnection.h"
#include "SuiteSql.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

const QStringList kSchema = {
    QStringLiteral("CREATE TABLE IF NOT EXISTS T_GebStruktur ("
                   "lId INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "lParentId INTEGER NOT NULL DEFAULT 0, "
                   "iEbene INTEGER NOT NULL DEFAULT 0, "
                   "stNr TEXT NOT NULL DEFAULT '', "
                   "stBez TEXT NOT NULL DEFAULT '')"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS IX_GebStruktur_Parent ON T_GebStruktur (lParentId)"),
};

const QString kSelect =
    QStringLiteral("SELECT lId, lParentId, iEbene, stNr, stBez FROM T_GebStruktur");

constexpr int kEbeneRaum = 4;
// Deeper chains than this can only come from a damaged file (a node its own ancestor).
constexpr int kMaxTiefe = 32;

GebNode NodeFrom(const QSqlQuery& q) {
    GebNode n;
    n.lId = q.value(0).toInt();
    n.lParentId = q.value(1).toInt();
    n.iEbene = q.value(2).toInt();
    n.stNr = q.value(3).toString();
    n.stBez = q.value(4).toString();
    return n;
}

// The parts of a node's number from the site down, or an empty list when the chain breaks.
QString LangeNr(const QHash<int32_t, GebNode>& nodes, int32_t id) {
    QStringList parts;
    int32_t current = id;
    for (int depth = 0; current != 0; ++depth) {
        auto it = nodes.constFind(current);
        if (it == nodes.constEnd() || depth >= kMaxTiefe)
            return QString();
        parts.prepend(it->stNr);
        current = it->lParentId;
    }
    return parts.join(QLatin1Char('.'));
}

} // namespace

QString GebEbenenName(int ebene) {
    switch (ebene) {
    case 1:
        return QStringLiteral("Standort");
    case 2:
        return QStringLiteral("Gebäude");
    case 3:
        return QStringLiteral("Etage");
    case 4:
        return QStringLiteral("Raum");
    default:
        return QString();
    }
}

CGebDb::CGebDb() = default;

CGebDb::~CGebDb() {
    Close();
}

bool CGebDb::OpenJet(const QString&, const QString&, const QString& path) {
    Close();
    m_lastError.clear();
    QString error;
    if (!OpenSuiteDb(path, QStringLiteral("TovoGebDb"), false, kSchema, m_connection, error)) {
        m_lastError = SuiteError(
            QStringLiteral("Die Gebäudedatenbank %1 konnte nicht geöffnet werden!").arg(path),
            error);
        return false;
    }
    return true;
}

bool CGebDb::OpenConn(const QString&, const QString&, const QString& connStr, bool readOnly) {
    Close();
    m_lastError.clear();
    const QString path = DbPathFromConnStr(connStr);
    if (path.isEmpty()) {
        m_lastError = QStringLiteral("Die Verbindungsangabe nennt keine Gebäudedatenbank.");
        return false;
    }
    QString error;
    if (!OpenSuiteDb(path, QStringLiteral("TovoGebDb"), readOnly, kSchema, m_connection, error)) {
        m_lastError = SuiteError(
            QStringLiteral("Die Gebäudedatenbank %1 konnte nicht geöffnet werden!").arg(path),
            error);
        return false;
    }
    return true;
}

void CGebDb::Close() {
    CloseSqliteConnection(m_connection);
    m_connection.clear();
}

bool CGebDb::IsOpen() const {
    return !m_connection.isEmpty() && QSqlDatabase::database(m_connection, false).isOpen();
}

int32_t CGebDb::AddNode(int32_t parentId, int ebene, const QString& nr, const QString& bez) {
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = QStringLiteral("Die Gebäudedatenbank ist nicht geöffnet.");
        return 0;
    }
    if (ebene < 1 || ebene > kEbeneRaum) {
        m_lastError =
            QStringLiteral("Die Ebene %1 gibt es in der Gebäudestruktur nicht.").arg(ebene);
        return 0;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (parentId != 0) {
        q.prepare(QStringLiteral("SELECT iEbene FROM T_GebStruktur WHERE lId = ?"));
        q.addBindValue(parentId);
        if (!q.exec()) {
            m_lastError =
                SuiteError(QStringLiteral("Der Datensatz konnte nicht gelesen werden!"), q);
            return 0;
        }
        if (!q.next()) {
            m_lastError = QStringLiteral("Der übergeordnete Eintrag wurde nicht gefunden.");
            return 0;
        }
        if (q.value(0).toInt() >= ebene) {
            m_lastError = QStringLiteral("Der Eintrag muss unter einer höheren Ebene liegen.");
            return 0;
        }
    }
    q.prepare(QStringLiteral(
        "INSERT INTO T_GebStruktur (lParentId, iEbene, stNr, stBez) VALUES (?, ?, ?, ?)"));
    q.addBindValue(parentId);
    q.addBindValue(ebene);
    q.addBindValue(OhneEinzelneSurrogate(nr));
    q.addBindValue(OhneEinzelneSurrogate(bez));
    if (!q.exec()) {
        m_lastError =
            SuiteError(QStringLiteral("Der Datensatz konnte nicht gespeichert werden!"), q);
        return 0;
    }
    return q.lastInsertId().toInt();
}

bool CGebDb::AendereNode(int32_t id, const QString& nr, const QString& bez) {
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = QStringLiteral("Die Gebäudedatenbank ist nicht geöffnet.");
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("UPDATE T_GebStruktur SET stNr = ?, stBez = ? WHERE lId = ?"));
    q.addBindValue(nr);
    q.addBindValue(bez);
    q.addBindValue(id);
    if (!q.exec()) {
        m_lastError =
            SuiteError(QStringLiteral("Der Datensatz konnte nicht gespeichert werden!"), q);
        return false;
    }
    if (q.numRowsAffected() != 1) {
        m_lastError = QStringLiteral("Der Eintrag wurde nicht gefunden.");
        return false;
    }
    return true;
}

bool CGebDb::LoescheNode(int32_t id) {
    const QVector<GebNode> alle = AllNodes();
    if (!m_lastError.isEmpty())
        return false;
    // The node and its descendants, level by level.
    QVector<int32_t> weg{id};
    for (int i = 0; i < weg.size() && i < alle.size() + 1; ++i)
        for (const GebNode& n : alle)
            if (n.lParentId == weg[i] && !weg.contains(n.lId))
                weg.append(n.lId);
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        m_lastError = SuiteError(QStringLiteral("Der Eintrag konnte nicht gelöscht werden!"),
                                 db.lastError().text());
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM T_GebStruktur WHERE lId = ?"));
    for (const int32_t n : weg) {
        q.addBindValue(n);
        if (!q.exec()) {
            m_lastError =
                SuiteError(QStringLiteral("Der Eintrag konnte nicht gelöscht werden!"), q);
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        m_lastError = SuiteError(QStringLiteral("Der Eintrag konnte nicht gelöscht werden!"),
                                 db.lastError().text());
        db.rollback();
        return false;
    }
    return true;
}

QVector<GebNode> CGebDb::Children(int32_t parentId) const {
    m_lastError.clear();
    QVector<GebNode> result;
    if (!IsOpen()) {
        m_lastError = QStringLiteral("Die Gebäudedatenbank ist nicht geöffnet.");
        return result;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(kSelect + QStringLiteral(" WHERE lParentId = ? ORDER BY stNr, lId"));
    q.addBindValue(parentId);
    if (!q.exec()) {
        m_lastError = SuiteError(QStringLiteral("Die Datensätze konnten nicht gelesen werden!"), q);
        return result;
    }
    while (q.next())
        result.append(NodeFrom(q));
    return result;
}

QVector<GebNode> CGebDb::AllNodes() const {
    m_lastError.clear();
    QVector<GebNode> result;
    if (!IsOpen()) {
        m_lastError = QStringLiteral("Die Gebäudedatenbank ist nicht geöffnet.");
        return result;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(kSelect + QStringLiteral(" ORDER BY lId"))) {
        m_lastError = SuiteError(QStringLiteral("Die Datensätze konnten nicht gelesen werden!"), q);
        return result;
    }
    while (q.next())
        result.append(NodeFrom(q));
    return result;
}

QString CGebDb::LangeRaumNr(int32_t roomNodeId) const {
    QHash<int32_t, GebNode> nodes;
    for (const GebNode& n : AllNodes())
        nodes.insert(n.lId, n);
    return LangeNr(nodes, roomNodeId);
}

QStringList CGebDb::AlleRaumNummern() const {
    const QVector<GebNode> all = AllNodes();
    QHash<int32_t, GebNode> nodes;
    for (const GebNode& n : all)
        nodes.insert(n.lId, n);
    QStringList result;
    for (const GebNode& n : all)
        if (n.iEbene == kEbeneRaum)
            result.append(LangeNr(nodes, n.lId));
    return result;
}

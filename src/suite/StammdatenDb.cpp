#include "StammdatenDb.h"

#include "ZeilenAbbildung.h"

#include "SqlConnection.h"
#include "SuiteSql.h"
#include "TovoRecht.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

const QStringList kSchema = {
    QStringLiteral("CREATE TABLE IF NOT EXISTS T_Firma ("
                   "lId INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "stName TEXT NOT NULL DEFAULT '', "
                   "stStrasse TEXT NOT NULL DEFAULT '', "
                   "stPlz TEXT NOT NULL DEFAULT '', "
                   "stOrt TEXT NOT NULL DEFAULT '')"),
    QStringLiteral("CREATE TABLE IF NOT EXISTS T_Person ("
                   "lId INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "lFirmaId INTEGER NOT NULL DEFAULT 0, "
                   "stAnrede TEXT NOT NULL DEFAULT '', "
                   "stVorname TEXT NOT NULL DEFAULT '', "
                   "stName TEXT NOT NULL DEFAULT '', "
                   "stTelefon TEXT NOT NULL DEFAULT '', "
                   "stTelefax TEXT NOT NULL DEFAULT '', "
                   "stEmail TEXT NOT NULL DEFAULT '', "
                   "stKostenstelle TEXT NOT NULL DEFAULT '', "
                   "stAbteilung TEXT NOT NULL DEFAULT '', "
                   "stPersNr TEXT NOT NULL DEFAULT '')"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS IX_Person_Firma ON T_Person (lFirmaId)"),
    QStringLiteral("ALTER TABLE T_Person ADD COLUMN stFunktion TEXT NOT NULL DEFAULT ''"),
    QStringLiteral("ALTER TABLE T_Person ADD COLUMN stBemerkung TEXT NOT NULL DEFAULT ''"),
};

const QString kFirmaSelect =
    QStringLiteral("SELECT lId, stName, stStrasse, stPlz, stOrt FROM T_Firma");
// Every column, so that a file that could not gain the newer columns is read all the same.
const QString kPersonSelect = QStringLiteral("SELECT * FROM T_Person");

const QString kNichtOffen = QStringLiteral("Die Stammdatenbank ist nicht geöffnet.");
const QString kLesen = QStringLiteral("Der Datensatz konnte nicht gelesen werden!");
const QString kListe = QStringLiteral("Die Datensätze konnten nicht gelesen werden!");
const QString kSpeichern = QStringLiteral("Der Datensatz konnte nicht gespeichert werden!");
const QString kLoeschen = QStringLiteral("Der Datensatz konnte nicht gelöscht werden!");
const QString kNichtGefunden = QStringLiteral("Der Datensatz wurde nicht gefunden.");

Firma FirmaFrom(const QSqlQuery& q) {
    Firma f;
    f.lId = q.value(0).toInt();
    f.stName = q.value(1).toString();
    f.stStrasse = q.value(2).toString();
    f.stPlz = q.value(3).toString();
    f.stOrt = q.value(4).toString();
    return f;
}

Person PersonFrom(const QSqlQuery& q) {
    const QSqlRecord r = q.record();
    const auto text = [&](const char* spalte) { return r.value(QLatin1String(spalte)).toString(); };
    Person p;
    p.lId = r.value(QStringLiteral("lId")).toInt();
    p.lFirmaId = r.value(QStringLiteral("lFirmaId")).toInt();
    p.stAnrede = text("stAnrede");
    p.stVorname = text("stVorname");
    p.stName = text("stName");
    p.stTelefon = text("stTelefon");
    p.stTelefax = text("stTelefax");
    p.stEmail = text("stEmail");
    p.stKostenstelle = text("stKostenstelle");
    p.stAbteilung = text("stAbteilung");
    p.stPersNr = text("stPersNr");
    p.stFunktion = text("stFunktion");
    p.stBemerkung = text("stBemerkung");
    return p;
}

// SQLite refuses NULL in the NOT NULL columns: a null QString is bound as "".
QVariant Text(const QString& s) {
    return ZeilenAbbildung::dbValue(s);
}

} // namespace

CStammdatenDb::CStammdatenDb() = default;

CStammdatenDb::~CStammdatenDb() {
    Close();
}

bool CStammdatenDb::OpenJet(const QString&, const QString&, const QString& path,
                            CTovoRecht* recht) {
    return Open(path, false, recht);
}

bool CStammdatenDb::OpenConn(const QString&, const QString& connStr, const QString&, bool readOnly,
                             CTovoRecht* recht) {
    Close();
    m_lastError.clear();
    const QString path = DbPathFromConnStr(connStr);
    if (path.isEmpty()) {
        m_lastError = QStringLiteral("Die Verbindungsangabe nennt keine Stammdatenbank.");
        return false;
    }
    return Open(path, readOnly, recht);
}

bool CStammdatenDb::Open(const QString& path, bool readOnly, CTovoRecht* recht) {
    Close();
    m_lastError.clear();
    QString error;
    if (!OpenSuiteDb(path, QStringLiteral("TovoStammdatenDb"), readOnly, kSchema, m_connection,
                     error)) {
        m_lastError = SuiteError(
            QStringLiteral("Die Stammdatenbank %1 konnte nicht geöffnet werden!").arg(path), error);
        return false;
    }
    m_readOnly = readOnly || (recht && !recht->DarfSchreiben());
    return true;
}

void CStammdatenDb::Close() {
    CloseSqliteConnection(m_connection);
    m_connection.clear();
    m_readOnly = false;
}

bool CStammdatenDb::IsOpen() const {
    return !m_connection.isEmpty() && QSqlDatabase::database(m_connection, false).isOpen();
}

bool CStammdatenDb::CheckWritable() {
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = kNichtOffen;
        return false;
    }
    if (m_readOnly) {
        m_lastError = QStringLiteral("Die Stammdaten dürfen nur gelesen werden.");
        return false;
    }
    return true;
}

QVector<Firma> CStammdatenDb::Firmen() const {
    m_lastError.clear();
    QVector<Firma> result;
    if (!IsOpen()) {
        m_lastError = kNichtOffen;
        return result;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(kFirmaSelect + QStringLiteral(" ORDER BY stName, lId"))) {
        m_lastError = SuiteError(kListe, q);
        return result;
    }
    while (q.next())
        result.append(FirmaFrom(q));
    return result;
}

QVector<Person> CStammdatenDb::Personen(int32_t firmaId) const {
    m_lastError.clear();
    QVector<Person> result;
    if (!IsOpen()) {
        m_lastError = kNichtOffen;
        return result;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    const QString order = QStringLiteral(" ORDER BY stName, stVorname, lId");
    if (firmaId < 0) {
        q.prepare(kPersonSelect + order);
    } else {
        q.prepare(kPersonSelect + QStringLiteral(" WHERE lFirmaId = ?") + order);
        q.addBindValue(firmaId);
    }
    if (!q.exec()) {
        m_lastError = SuiteError(kListe, q);
        return result;
    }
    while (q.next())
        result.append(PersonFrom(q));
    return result;
}

bool CStammdatenDb::ReadFirma(int32_t id, Firma& out) const {
    return readOne(kFirmaSelect, id, FirmaFrom, out);
}

bool CStammdatenDb::ReadPerson(int32_t id, Person& out) const {
    return readOne(kPersonSelect, id, PersonFrom, out);
}

template <class T, class From>
bool CStammdatenDb::readOne(const QString& select, int32_t id, From from, T& out) const {
    m_lastError.clear();
    if (!IsOpen()) {
        m_lastError = kNichtOffen;
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(select + QStringLiteral(" WHERE lId = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        m_lastError = SuiteError(kLesen, q);
        return false;
    }
    if (!q.next()) {
        m_lastError = kNichtGefunden;
        return false;
    }
    out = from(q);
    return true;
}

bool CStammdatenDb::SaveFirma(Firma& f) {
    if (!CheckWritable())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (f.lId == 0)
        q.prepare(QStringLiteral(
            "INSERT INTO T_Firma (stName, stStrasse, stPlz, stOrt) VALUES (?, ?, ?, ?)"));
    else
        q.prepare(QStringLiteral(
            "UPDATE T_Firma SET stName = ?, stStrasse = ?, stPlz = ?, stOrt = ? WHERE lId = ?"));
    q.addBindValue(Text(f.stName));
    q.addBindValue(Text(f.stStrasse));
    q.addBindValue(Text(f.stPlz));
    q.addBindValue(Text(f.stOrt));
    return finishSave(q, f.lId);
}

bool CStammdatenDb::finishSave(QSqlQuery& q, int32_t& id) {
    // An update binds the id last; an insert learns it from the database.
    if (id != 0)
        q.addBindValue(id);
    if (!q.exec()) {
        m_lastError = SuiteError(kSpeichern, q);
        return false;
    }
    if (id == 0) {
        id = q.lastInsertId().toInt();
    } else if (q.numRowsAffected() < 1) {
        m_lastError = kNichtGefunden;
        return false;
    }
    return true;
}

bool CStammdatenDb::SavePerson(Person& p) {
    if (!CheckWritable())
        return false;
    if (p.lFirmaId != 0) {
        Firma firma;
        if (!ReadFirma(p.lFirmaId, firma)) {
            m_lastError = SuiteError(QStringLiteral("Die Firma der Person gibt es nicht."),
                                     m_lastError == kNichtGefunden ? QString() : m_lastError);
            return false;
        }
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (p.lId == 0)
        q.prepare(QStringLiteral(
            "INSERT INTO T_Person (lFirmaId, stAnrede, stVorname, stName, stTelefon, stTelefax, "
            "stEmail, stKostenstelle, stAbteilung, stPersNr, stFunktion, stBemerkung) VALUES (?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    else
        q.prepare(QStringLiteral(
            "UPDATE T_Person SET lFirmaId = ?, stAnrede = ?, stVorname = ?, stName = ?, "
            "stTelefon = ?, stTelefax = ?, stEmail = ?, stKostenstelle = ?, stAbteilung = ?, "
            "stPersNr = ?, stFunktion = ?, stBemerkung = ? WHERE lId = ?"));
    q.addBindValue(p.lFirmaId);
    for (const QString* s :
         {&p.stAnrede, &p.stVorname, &p.stName, &p.stTelefon, &p.stTelefax, &p.stEmail,
          &p.stKostenstelle, &p.stAbteilung, &p.stPersNr, &p.stFunktion, &p.stBemerkung})
        q.addBindValue(Text(*s));
    return finishSave(q, p.lId);
}

bool CStammdatenDb::DeleteFirma(int32_t id) {
    if (!CheckWritable())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT count(*) FROM T_Person WHERE lFirmaId = ?"));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) {
        m_lastError = SuiteError(kLoeschen, q);
        return false;
    }
    if (q.value(0).toInt() > 0) {
        m_lastError = QStringLiteral("Die Firma kann nicht gelöscht werden! "
                                     "Es gibt noch Personen dieser Firma.");
        return false;
    }
    return deleteById(q, QStringLiteral("DELETE FROM T_Firma WHERE lId = ?"), id);
}

bool CStammdatenDb::DeletePerson(int32_t id) {
    if (!CheckWritable())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    return deleteById(q, QStringLiteral("DELETE FROM T_Person WHERE lId = ?"), id);
}

bool CStammdatenDb::deleteById(QSqlQuery& q, const QString& sql, int32_t id) {
    q.prepare(sql);
    q.addBindValue(id);
    if (!q.exec()) {
        m_lastError = SuiteError(kLoeschen, q);
        return false;
    }
    if (q.numRowsAffected() < 1) {
        m_lastError = kNichtGefunden;
        return false;
    }
    return true;
}

#pragma once

#include <QString>
#include <QVector>
#include <cstdint>

class CTovoRecht;
class QSqlQuery;

// Master-data database of the suite (TovoStammdaten.mdb, SQLite): companies and persons.
struct Firma {
    int32_t lId = 0;
    QString stName;
    QString stStrasse;
    QString stPlz;
    QString stOrt;
};

// Every member has an initialiser, so designated initialisers may name only what they set.
struct Person {
    int32_t lId = 0;
    int32_t lFirmaId = 0;
    QString stAnrede{};
    QString stVorname{};
    QString stName{};
    QString stTelefon{};
    QString stTelefax{};
    QString stEmail{};
    QString stKostenstelle{};
    QString stAbteilung{};
    QString stPersNr{};
    QString stFunktion{};
    QString stBemerkung{};
};

class CStammdatenDb {
public:
    CStammdatenDb();
    ~CStammdatenDb();
    CStammdatenDb(const CStammdatenDb&) = delete;
    CStammdatenDb& operator=(const CStammdatenDb&) = delete;

    // Opens the file; a missing file is created with empty tables.
    bool OpenJet(const QString& exeDir, const QString& client, const QString& path,
                 CTovoRecht* recht);
    bool OpenConn(const QString& exeDir, const QString& connStr, const QString& client,
                  bool readOnly, CTovoRecht* recht);
    void Close();
    bool IsOpen() const;
    QString LastError() const { return m_lastError; }

    QVector<Firma> Firmen() const;                        // by name
    QVector<Person> Personen(int32_t firmaId = -1) const; // -1 = all persons, by name
    bool ReadFirma(int32_t id, Firma& out) const;
    bool ReadPerson(int32_t id, Person& out) const;
    // Adds (lId 0) or updates a row; the id is set on adding. A person's company (lFirmaId other
    // than 0) must exist. Writing needs a connection that may write and the right "S".
    bool SaveFirma(Firma& f);
    bool SavePerson(Person& p);
    // A company that still has persons is not deleted.
    bool DeleteFirma(int32_t id);
    bool DeletePerson(int32_t id);

private:
    // Runs a prepared insert or update of the row with that id (0 = insert, id set afterwards).
    bool finishSave(QSqlQuery& q, int32_t& id);
    // Deletes the row with that id; a missing row is an error.
    bool deleteById(QSqlQuery& q, const QString& sql, int32_t id);
    // One row by id through `select` and a row reader.
    template <class T, class From>
    bool readOne(const QString& select, int32_t id, From from, T& out) const;
    bool Open(const QString& path, bool readOnly, CTovoRecht* recht);
    bool CheckWritable();

    QString m_connection;
    mutable QString m_lastError; // also set by the reading methods
    bool m_readOnly = false;     // opened read-only, or the rights allow reading only
};

#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>

// Building-structure database of the suite (TovoGebaeude.mdb, SQLite): a tree of sites
// ("Standort"), buildings ("Gebaeude"), floors ("Etage") and rooms ("Raum"). Room numbers are
// kept in the long format, the parts joined by "." (e.g. "1.2.03.115" for S.G.BE.R).
// The levels, as the picker and the editor name them: "Standort", "Gebäude", "Etage", "Raum".
QString GebEbenenName(int ebene);

struct GebNode {
    int32_t lId = 0;
    int32_t lParentId = 0; // 0 for a site
    int iEbene = 0;        // 1 site, 2 building, 3 floor, 4 room
    QString stNr;          // the node's own part of the room number
    QString stBez;         // designation
};

class CGebDb {
public:
    CGebDb();
    ~CGebDb();
    CGebDb(const CGebDb&) = delete;
    CGebDb& operator=(const CGebDb&) = delete;

    // Opens the file; a missing file is created with the empty structure.
    bool OpenJet(const QString& exeDir, const QString& client, const QString& path);
    // Opens by connection string (for the suite a file path, or "DATABASE=path;").
    bool OpenConn(const QString& exeDir, const QString& client, const QString& connStr,
                  bool readOnly);
    void Close();
    bool IsOpen() const;
    QString LastError() const { return m_lastError; }

    // Adds a node, returns its id (0 on failure).
    int32_t AddNode(int32_t parentId, int ebene, const QString& nr, const QString& bez);
    // Changes a node's number part and designation.
    bool AendereNode(int32_t id, const QString& nr, const QString& bez);
    // Deletes a node and everything below it, all or nothing.
    bool LoescheNode(int32_t id);
    QVector<GebNode> Children(int32_t parentId) const;
    QVector<GebNode> AllNodes() const;
    // The long room number of a room node: the parts from the site down, joined by ".".
    QString LangeRaumNr(int32_t roomNodeId) const;
    // Every room's long number.
    QStringList AlleRaumNummern() const;

private:
    QString m_connection;
    mutable QString m_lastError; // also set by the reading methods
};

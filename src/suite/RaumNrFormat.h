#pragma once

#include <QString>

class CGebDb;

// Room-number format checker of the building-structure component: tells whether the room
// numbers stored in the building structure follow the configured long format.
class CRaumNrFormat {
public:
    explicit CRaumNrFormat(CGebDb* gebDb = nullptr) : m_gebDb(gebDb) {}
    void SetAppPath(const QString& client) { m_client = client; }
    void Ask() {}
    // True when every stored long room number has as many parts as the format ("S.G.BE.R" has 4).
    bool CheckFormat(const QString& format) const;
    // The building-structure object handed to the room form.
    CGebDb* GebStru(int kind) const { return kind == 2 ? m_gebDb : nullptr; }

private:
    CGebDb* m_gebDb;
    QString m_client;
};

#pragma once

#include "NetzpultAntrag.h"
#include "ToolsNetzpult.h"

#include <QSqlDatabase>
#include <QString>

// The claim on a portal request while one workstation takes it over, so that no second one opens
// it meanwhile: a named lock on the portal server, held by a connection of its own. It is given
// up when the object goes, and by the server when the program dies (the session ends) or the
// connection has been idle for longer than a take-over may last.
class CAntragsSperre {
public:
    CAntragsSperre() = default;
    ~CAntragsSperre();
    CAntragsSperre(const CAntragsSperre&) = delete;
    CAntragsSperre& operator=(const CAntragsSperre&) = delete;

    // Claims the request without waiting; false when another workstation holds it. Throws
    // RvError when the portal cannot be reached.
    bool Beanspruchen(const NetzpultAntrag& antrag);
    // The claiming connection, to read the request again under the claim.
    QSqlDatabase db() const { return m_verbindung.db(); }

private:
    CNetzpultVerbindung m_verbindung;
    QString m_schluessel; // the request's part of the lock's name while claimed
};

#include "RaumNrFormat.h"

#include "GebDb.h"

bool CRaumNrFormat::CheckFormat(const QString& format) const {
    // Without a building structure there is nothing that could be in the wrong format.
    if (!m_gebDb || !m_gebDb->IsOpen())
        return true;
    const qsizetype teile = format.trimmed().split(QLatin1Char('.')).size();
    const QStringList nummern = m_gebDb->AlleRaumNummern();
    for (const QString& nr : nummern)
        if (nr.split(QLatin1Char('.')).size() != teile)
            return false;
    return true;
}

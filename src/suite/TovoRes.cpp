#include "TovoRes.h"

#include <QFileInfo>

CTovoRes* gRes = nullptr;

namespace {

const QLatin1String kLibraryName("TovoRes.dll");

} // namespace

bool CTovoRes::LoadLibrary(const QString& name) {
    // The library is known by its file name, wherever the caller looks for it.
    if (QFileInfo(name.trimmed()).fileName().compare(kLibraryName, Qt::CaseInsensitive) != 0)
        return false;
    m_strings.clear();
    m_strings.insert(kDateFormat, QStringLiteral("dd.MM.yyyy"));
    return true;
}

QString CTovoRes::GetString(int id) const {
    return m_strings.value(id);
}

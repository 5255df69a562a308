#include "ProgrammOrt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// Set by the build from the install layout, e.g. "../share/tovo-raumverw".
#ifndef TOVO_DATEN_RELATIV
#define TOVO_DATEN_RELATIV "../share/tovo-raumverw"
#endif

namespace ProgrammOrt {

QString DatenVerzeichnis(const QString& programmDir) {
    const QDir bin(programmDir);
    const QString orte[] = {bin.absolutePath(), QDir::cleanPath(bin.absoluteFilePath(
                                                    QStringLiteral(TOVO_DATEN_RELATIV)))};
    for (const QString& ort : orte)
        if (QFileInfo::exists(ort + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb")))
            return ort + QLatin1Char('/');
    return orte[0] + QLatin1Char('/');
}

QString DatenVerzeichnis() {
    return DatenVerzeichnis(QCoreApplication::applicationDirPath());
}

} // namespace ProgrammOrt

#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>

// Where the built program and its data lie: set by CTest, else beside the executable.
inline QString TovoBinDir() {
    QString dir = qEnvironmentVariable("TOVO_BIN_DIR");
    return dir.isEmpty() ? QCoreApplication::applicationDirPath() : dir;
}

// True in the runs of a test against a PostgreSQL server (CTest label postgresql); the same
// test runs against SQLite as well.
inline bool TestAufServer() {
    return qEnvironmentVariable("TOVO_TEST_DB") == QLatin1String("postgresql");
}

// The empty template database built from the schema.
inline QString TemplateDbPath() {
    return TovoBinDir() + QStringLiteral("/Leeres Projekt/TovoRaumverw.mdb");
}

// Copies the template to a new file and returns its path.
inline QString CopyTemplateTo(const QString& dir,
                              const QString& name = QStringLiteral("TovoRaumverw.mdb")) {
    QString path = dir + QLatin1Char('/') + name;
    QFile::remove(path);
    QFile::copy(TemplateDbPath(), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return path;
}

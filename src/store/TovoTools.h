#pragma once

#include <QString>
#include <QStringList>

// The suite's shared tools object: INI files with the semantics of the Windows private-profile
// functions, and date conversions. One instance serves the whole process.
class CTovoTools {
public:
    static CTovoTools& Instance();

    // The value of the key, or the default when file, section or key is missing. Section and key
    // names are compared without regard to case. Files in Windows-1252 or UTF-8 are read.
    QString ReadIniValue(const QString& file, const QString& section, const QString& key,
                         const QString& defaultValue) const;
    // Afterwards the key holds the value; file and section are created when missing. Every other
    // line and comment stays as it was, and the file keeps its encoding. False when the file
    // cannot be written.
    bool WriteIniValue(const QString& file, const QString& section, const QString& key,
                       const QString& value) const;
    // The section's entries as "key=value" texts, in file order; empty for a missing section.
    QStringList ReadIniSection(const QString& file, const QString& section) const;

    // "#m/d/yyyy#"
    QString JetDateLiteral(double date) const;
    // Format text for date fields.
    QString DateDisplayFormat() const { return QStringLiteral("dd.MM.yyyy"); }
};

#pragma once

#include <QHash>
#include <QString>

// Resource strings of the suite's resource library, looked up by number.
class CTovoRes {
public:
    // Loads the named library; our strings are built in, so this always succeeds for "TovoRes.dll".
    bool LoadLibrary(const QString& name);
    // The text of a resource string, or "" when there is none.
    QString GetString(int id) const;

    static constexpr int kDateFormat = 1258; // date format of the date fields

private:
    QHash<int, QString> m_strings;
};

extern CTovoRes* gRes;

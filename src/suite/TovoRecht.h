#pragma once

#include <QString>
#include <memory>

// Access-rights object of the suite: level "S" allows writing, "L" only reading.
class CTovoRecht {
public:
    QString Zugriff() const { return m_zugriff; }
    void SetZugriff(const QString& level) { m_zugriff = level; }
    bool DarfSchreiben() const {
        return m_zugriff.compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    }

private:
    QString m_zugriff = QStringLiteral("S");
};

// The rights object handed in by the host (set when a project is opened).
extern std::shared_ptr<CTovoRecht> goRecht;

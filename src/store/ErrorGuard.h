#pragma once

#include <QString>
#include <exception>
#include <functional>

// A runtime error of the system: a description as the user reads it.
class RvError : public std::exception {
public:
    explicit RvError(QString description) : m_description(std::move(description)) {
        m_utf8 = m_description.toUtf8();
    }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

// Throws RvError with the description; the guard around the handler reports it.
[[noreturn]] void RaiseError(const QString& description);

// Runs a handler the way every procedure of the system traps its errors: whatever it throws is
// shown as a critical message "description" + line break + "Module.Procedure", and the handler
// ends. Returns true when the handler ran to its end.
bool RunGuarded(const QString& procedure, const std::function<void()>& handler);

// The same for handlers with a result: on an error the result stays at `initial`.
template <class T>
T RunGuarded(const QString& procedure, T initial, const std::function<T()>& handler) {
    T result = initial;
    RunGuarded(procedure, [&] { result = handler(); });
    return result;
}

// Shows an error the same way, for callers that caught it themselves.
void ShowError(const QString& description, const QString& procedure);

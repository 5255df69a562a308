#include "ErrorGuard.h"

#include "Prompt.h"

void RaiseError(const QString& description) {
    throw RvError(description);
}

void ShowError(const QString& description, const QString& procedure) {
    MsgBox(description + QLatin1Char('\n') + procedure, PromptButtons::Ok, PromptIcon::Critical);
}

bool RunGuarded(const QString& procedure, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const RvError& e) {
        ShowError(e.description(), procedure);
    } catch (const std::exception& e) {
        ShowError(QString::fromLocal8Bit(e.what()), procedure);
    } catch (...) {
        ShowError(QStringLiteral("Unbekannter Fehler"), procedure);
    }
    return false;
}

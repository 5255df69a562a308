#pragma once

#include <QString>
#include <QStringList>

// Every message box, question and beep of the system goes through this service. Production
// installs the Qt implementation (dialogs/QtPrompt); tests install a scripted one.

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
// Zusatz: the message's additional button (PromptMessage::zusatzKnopf) was pressed.
enum class PromptResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore, Zusatz };

// Every member has an initialiser, so designated initialisers may name only what they set.
struct PromptMessage {
    QString title{};
    QString text{};
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::Ok;
    QString zusatzKnopf{}; // caption of an additional button after the standard ones; "" = none
    // Captions replacing those of the standard buttons, in their order ("Nur diesen Termin",
    // "Ganze Serie", "Abbrechen" for Yes, No, Cancel); empty = the usual captions.
    QStringList knopfTexte{};
};

class IPrompt {
public:
    virtual ~IPrompt() = default;
    virtual PromptResult show(const PromptMessage& message) = 0;
    virtual void beep() = 0;
};

// The caption of the system's message boxes unless a caller names another.
inline const QString kDefaultTitle = QStringLiteral("Tovo");

// The installed service; a silent one that answers Ok/Yes until something is installed.
IPrompt& Prompt();
// Installs a service (not owned); nullptr goes back to the silent default.
void SetPrompt(IPrompt* prompt);

// Short forms for the usual calls.
PromptResult MsgBox(const QString& text, PromptButtons buttons = PromptButtons::Ok,
                    PromptIcon icon = PromptIcon::None, const QString& title = kDefaultTitle);
void Beep();

#include "Prompt.h"

namespace {
class SilentPrompt : public IPrompt {
public:
    PromptResult show(const PromptMessage& m) override {
        switch (m.buttons) {
        case PromptButtons::YesNo:
        case PromptButtons::YesNoCancel:
            return PromptResult::Yes;
        case PromptButtons::RetryCancel:
            return PromptResult::Cancel;
        case PromptButtons::AbortRetryIgnore:
            return PromptResult::Abort;
        default:
            return PromptResult::Ok;
        }
    }
    void beep() override {}
};

SilentPrompt gSilent;
IPrompt* gPrompt = nullptr;
} // namespace

IPrompt& Prompt() {
    return gPrompt ? *gPrompt : gSilent;
}

void SetPrompt(IPrompt* prompt) {
    gPrompt = prompt;
}

PromptResult MsgBox(const QString& text, PromptButtons buttons, PromptIcon icon,
                    const QString& title) {
    return Prompt().show({title, text, icon, buttons, QString()});
}

void Beep() {
    Prompt().beep();
}

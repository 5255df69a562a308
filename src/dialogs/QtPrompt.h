#pragma once

#include "Prompt.h"

class QWidget;

// The production prompt service: Qt message boxes, parented to the active window.
class QtPrompt : public IPrompt {
public:
    PromptResult show(const PromptMessage& message) override;
    void beep() override;
};

#pragma once

#include "Prompt.h"

#include <QList>
#include <QQueue>
#include <QStringList>

// Prompt service for tests: records every message and answers from a queue (Ok/Yes by default).
class ScriptedPrompt : public IPrompt {
public:
    ScriptedPrompt() { SetPrompt(this); }
    ~ScriptedPrompt() override { SetPrompt(nullptr); }

    PromptResult show(const PromptMessage& message) override {
        shown.append(message);
        if (!answers.isEmpty())
            return answers.dequeue();
        return message.buttons == PromptButtons::YesNo ||
                       message.buttons == PromptButtons::YesNoCancel
                   ? PromptResult::Yes
                   : PromptResult::Ok;
    }
    void beep() override { ++beeps; }

    void answer(PromptResult r) { answers.enqueue(r); }
    const PromptMessage& last() const { return shown.last(); }
    // The texts of the messages shown so far.
    QStringList texte() const {
        QStringList t;
        for (const PromptMessage& m : shown)
            t << m.text;
        return t;
    }
    void clear() {
        shown.clear();
        answers.clear();
        beeps = 0;
    }

    QList<PromptMessage> shown;
    QQueue<PromptResult> answers;
    int beeps = 0;
};

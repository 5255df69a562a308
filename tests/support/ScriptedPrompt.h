#pragma once

#include "Prompt.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Prompt service for tests: records every message and answers through `antwort` when set, else
// from a queue, else with Ok/Yes.
class ScriptedPrompt : public IPrompt {
public:
    ScriptedPrompt() { SetPrompt(this); }
    ~ScriptedPrompt() override { SetPrompt(nullptr); }

    PromptResult show(const PromptMessage& message) override {
        shown.append(message);
        if (antwort)
            return antwort(message);
        return answers.isEmpty() ? standard(message) : answers.dequeue();
    }
    static PromptResult standard(const PromptMessage& m) {
        const bool frage =
            m.buttons == PromptButtons::YesNo || m.buttons == PromptButtons::YesNoCancel;
        return frage ? PromptResult::Yes : PromptResult::Ok;
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
    std::function<PromptResult(const PromptMessage&)> antwort;
    int beeps = 0;
};

#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <deque>
#include <vector>

// Records every box and answers from a script; a box the script did not expect fails the
// test. Install it with a ScopedPrompter.
class ScriptedPrompter : public Prompter {
public:
    struct Box {
        QString text;
        QString title;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::OK;
    };

    // The next box must be exactly this one; it is answered with answer.
    void Expect(const QString& text, const QString& title, MsgIcon icon, MsgButtons buttons,
                MsgResult answer = MsgResult::OK);
    // The next input box must show this prompt; it is answered with reply.
    void ExpectInput(const QString& prompt, const QString& reply);

    const std::vector<Box>& Shown() const { return shown_; }
    bool Done() const { return script_.empty(); }

    MsgResult Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    QString Input(const QString& prompt, const QString& title, const QString& defaultText) override;

private:
    struct Step {
        bool input = false;
        Box box;
        MsgResult answer = MsgResult::OK;
        QString reply;
    };
    std::deque<Step> script_;
    std::vector<Box> shown_;
};

// Installs a fresh ScriptedPrompter for a scope and checks that its script was used up.
class ScopedPrompter {
public:
    ScopedPrompter();
    ~ScopedPrompter();
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;
    ScriptedPrompter* operator->() { return prompter_; }
    ScriptedPrompter& operator*() { return *prompter_; }

private:
    ScriptedPrompter* prompter_; // owned by the installed slot
    std::unique_ptr<Prompter> previous_;
};

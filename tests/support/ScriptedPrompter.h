#pragma once

#include "platform/Prompter.h"

#include <QString>
#include <deque>
#include <string>

// Answers every box from a script; a box the script did not expect, or one that differs from
// it in any part, fails the test. Install it with a ScopedPrompter.
class ScriptedPrompter : public Prompter {
public:
    // The next box must be exactly this one; it is answered with answer.
    void Expect(const QString& text, const QString& title = "Pimora", MsgIcon icon = MsgIcon::None,
                MsgButtons buttons = MsgButtons::OK, MsgResult answer = MsgResult::OK);
    // The program's error box: "Error: <message>", "Desc: <desc>", critical, OK only.
    void ExpectError(const QString& message, const QString& title, const QString& desc);
    // The same, for a description whose end is the engine's own words (a check's findings).
    void ExpectErrorStartingWith(const QString& message, const QString& title,
                                 const QString& descStart);
    // The next input box must show this prompt and title; it is answered with reply.
    void ExpectInput(const QString& prompt, const QString& title, const QString& reply);
    bool Done() const { return script_.empty(); }

    MsgResult Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                      const QString& title) override;
    QString Input(const QString& prompt, const QString& title, const QString& defaultText) override;

private:
    struct Step {
        bool input = false;
        QString text, title;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::OK;
        MsgResult answer = MsgResult::OK;
        QString reply;
        bool prefix = false; // text is how the box's text begins
        std::string Describe() const;
    };
    // The next step, which must be of the kind shown; null after reporting a stray box.
    const Step* Next(const Step& shown);
    std::deque<Step> script_;
    Step current_;
};

// Installs a fresh ScriptedPrompter for a scope and checks that its script was used up.
class ScopedPrompter {
public:
    ScopedPrompter();
    ~ScopedPrompter();
    ScopedPrompter(const ScopedPrompter&) = delete;
    ScopedPrompter& operator=(const ScopedPrompter&) = delete;
    ScriptedPrompter* operator->() { return prompter_; }

private:
    ScriptedPrompter* prompter_; // owned by the installed slot
    std::unique_ptr<Prompter> previous_;
};

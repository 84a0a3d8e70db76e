#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

std::string ScriptedPrompter::Step::Describe() const {
    return QString("%1 \"%2\" titled \"%3\", icon %4, buttons %5")
        .arg(input ? "input box" : "box", text, title)
        .arg(static_cast<int>(icon))
        .arg(static_cast<int>(buttons))
        .toStdString();
}

void ScriptedPrompter::Expect(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons, MsgResult answer) {
    script_.push_back({false, text, title, icon, buttons, answer, {}});
}

void ScriptedPrompter::ExpectError(const QString& message, const QString& title,
                                   const QString& desc) {
    Expect("Error: " + message + "\r\nDesc: " + desc, title, MsgIcon::Critical, MsgButtons::OK);
}

void ScriptedPrompter::ExpectErrorStartingWith(const QString& message, const QString& title,
                                               const QString& descStart) {
    ExpectError(message, title, descStart);
    script_.back().prefix = true;
}

void ScriptedPrompter::ExpectInput(const QString& prompt, const QString& title,
                                   const QString& reply) {
    script_.push_back({true, prompt, title, MsgIcon::None, MsgButtons::OKCancel, {}, reply});
}

const ScriptedPrompter::Step* ScriptedPrompter::Next(const Step& shown) {
    if (script_.empty() || script_.front().input != shown.input) {
        ADD_FAILURE() << "unexpected " << shown.Describe();
        return nullptr;
    }
    current_ = script_.front();
    script_.pop_front();
    Step seen = shown;
    if (current_.prefix && seen.text.startsWith(current_.text))
        seen.text.truncate(current_.text.size());
    EXPECT_EQ(current_.Describe(), seen.Describe());
    return &current_;
}

MsgResult ScriptedPrompter::Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                                    const QString& title) {
    const Step* s = Next({false, text, title, icon, buttons, {}, {}});
    return s ? s->answer : buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
}

QString ScriptedPrompter::Input(const QString& prompt, const QString& title, const QString&) {
    const Step* s = Next({true, prompt, title, MsgIcon::None, MsgButtons::OKCancel, {}, {}});
    return s ? s->reply : QString();
}

ScopedPrompter::ScopedPrompter() {
    auto owned = std::make_unique<ScriptedPrompter>();
    prompter_ = owned.get();
    previous_ = InstallPrompter(std::move(owned));
}

ScopedPrompter::~ScopedPrompter() {
    EXPECT_TRUE(prompter_->Done()) << "the script expected more boxes than were shown";
    InstallPrompter(std::move(previous_));
}

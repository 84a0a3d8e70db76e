#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {
const char* Name(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::None:
        return "none";
    case MsgIcon::Critical:
        return "critical";
    case MsgIcon::Question:
        return "question";
    case MsgIcon::Exclamation:
        return "exclamation";
    case MsgIcon::Information:
        return "information";
    }
    return "?";
}
} // namespace

void ScriptedPrompter::Expect(const QString& text, const QString& title, MsgIcon icon,
                              MsgButtons buttons, MsgResult answer) {
    Step s;
    s.box = {text, title, icon, buttons};
    s.answer = answer;
    script_.push_back(s);
}

void ScriptedPrompter::ExpectInput(const QString& prompt, const QString& reply) {
    Step s;
    s.input = true;
    s.box.text = prompt;
    s.reply = reply;
    script_.push_back(s);
}

MsgResult ScriptedPrompter::Message(const QString& text, MsgButtons buttons, MsgIcon icon,
                                    const QString& title) {
    shown_.push_back({text, title, icon, buttons});
    if (script_.empty() || script_.front().input) {
        ADD_FAILURE() << "unexpected box: \"" << text.toStdString() << "\" titled \""
                      << title.toStdString() << "\" icon " << Name(icon);
        return buttons == MsgButtons::OK ? MsgResult::OK : MsgResult::No;
    }
    Step s = script_.front();
    script_.pop_front();
    EXPECT_EQ(s.box.text.toStdString(), text.toStdString());
    EXPECT_EQ(s.box.title.toStdString(), title.toStdString());
    EXPECT_STREQ(Name(s.box.icon), Name(icon)) << "for box " << text.toStdString();
    EXPECT_EQ(static_cast<int>(s.box.buttons), static_cast<int>(buttons))
        << "for box " << text.toStdString();
    return s.answer;
}

QString ScriptedPrompter::Input(const QString& prompt, const QString& title,
                                const QString& defaultText) {
    Q_UNUSED(defaultText);
    shown_.push_back({prompt, title, MsgIcon::None, MsgButtons::OKCancel});
    if (script_.empty() || !script_.front().input) {
        ADD_FAILURE() << "unexpected input box: \"" << prompt.toStdString() << "\"";
        return {};
    }
    Step s = script_.front();
    script_.pop_front();
    EXPECT_EQ(s.box.text.toStdString(), prompt.toStdString());
    return s.reply;
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

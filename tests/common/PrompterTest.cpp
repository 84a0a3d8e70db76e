#include "support/ScriptedPrompter.h"

#include "platform/Application.h"

#include <gtest/gtest.h>

TEST(Prompter, UntitledBoxShowsApplicationTitle) {
    ScopedPrompter p;
    p->Expect("hello", "Pimora", MsgIcon::None, MsgButtons::OK);
    EXPECT_EQ(MsgBox("hello"), MsgResult::OK);
    p->Expect("Sure?", "Q", MsgIcon::Question, MsgButtons::YesNo, MsgResult::No);
    EXPECT_EQ(MsgBox("Sure?", MsgButtons::YesNo, MsgIcon::Question, "Q"), MsgResult::No);
}

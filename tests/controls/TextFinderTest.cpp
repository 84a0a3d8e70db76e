#include "support/ScriptedPrompter.h"

#include "controls/TextFinder.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

struct Find : ::testing::Test {
    Find() {
        finder.SetBox("1", &journal);
        finder.SetBox("3", &note);
    }
    // Runs one find and gives the selection it leaves in the box as "start-end".
    QString Run(const char* mode, const char* function, const QString& text, bool matchCase,
                QPlainTextEdit& box) {
        finder.FindText(mode, function, text, matchCase);
        return QString("%1-%2")
            .arg(box.textCursor().selectionStart())
            .arg(box.textCursor().selectionEnd());
    }
    void ExpectAgain(const char* where, MsgResult answer) {
        prompter->Expect(QString("No more instances found!  Would you like to search from the "
                                 "top%1 again?")
                             .arg(where),
                         "Find Next", MsgIcon::Exclamation, MsgButtons::YesNo, answer);
    }
    QPlainTextEdit journal, note;
    TextFinder finder;
    ScopedPrompter prompter;
};

TEST_F(Find, StepsThroughMatchesThenOffersTheTop) {
    note.setPlainText("aaaa");
    EXPECT_EQ(Run("N", "3", "aa", false, note), "0-2") << "no current match: from the top";
    EXPECT_EQ(finder.LastFindPos, 3);
    EXPECT_EQ(Run("N", "3", "aa", false, note), "2-4");
    ExpectAgain(" of the node", MsgResult::Yes);
    EXPECT_EQ(Run("N", "3", "aa", false, note), "0-2");
    Run("N", "3", "aa", false, note);
    ExpectAgain(" of the node", MsgResult::No);
    Run("N", "3", "aa", false, note);
    EXPECT_EQ(finder.LastFindPos, 0);
    EXPECT_EQ(Run("N", "3", "aa", false, note), "0-2") << "after No, from the top unasked";
}

TEST_F(Find, TheJournalHasItsOwnQuestionAndCaseCountsWhenAsked) {
    journal.setPlainText("Café ABC");
    EXPECT_EQ(Run("F", "1", "CAFÉ", false, journal), "0-4");
    ExpectAgain("", MsgResult::No);
    Run("N", "1", "CAFÉ", false, journal);
    prompter->Expect("Cannot find 'abc'!", "Not Found", MsgIcon::Critical);
    Run("F", "1", "abc", true, journal);
    EXPECT_EQ(finder.LastFindPos, 0);
}

TEST_F(Find, FunctionsWithoutABoxAreSilentAndUnknownOnesReported) {
    note.setPlainText("text");
    for (const char* code : {"0", "2", "4"})
        finder.FindText("F", code, "t", false);
    prompter->Expect("Find Text's Function not recognized!");
    finder.FindText("F", "7", "t", false);
    EXPECT_EQ(finder.LastFindPos, 0);
}

} // namespace

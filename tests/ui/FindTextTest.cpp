#include "support/ScriptedPrompter.h"

#include "ui/widgets/FindText.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

namespace {

struct Find : ::testing::Test {
    Find() {
        finder.SetBox(QStringLiteral("1"), &journal);
        finder.SetBox(QStringLiteral("3"), &note);
    }
    QString Selected(const QPlainTextEdit& box) const {
        return QString::number(box.textCursor().selectionStart()) + '-' +
               QString::number(box.textCursor().selectionEnd());
    }
    QPlainTextEdit journal, note;
    TextFinder finder;
    ScopedPrompter prompter;
};

TEST_F(Find, StepsThroughMatchesThenOffersTheTop) {
    note.setPlainText(QStringLiteral("aaaa"));
    const QString again = QStringLiteral("No more instances found!  Would you like to search from "
                                         "the top of the node again?");
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    EXPECT_EQ(Selected(note), QStringLiteral("0-2")) << "no current match: from the top";
    EXPECT_EQ(finder.LastFindPos, 3);
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    EXPECT_EQ(Selected(note), QStringLiteral("2-4"));
    prompter->Expect(again, QStringLiteral("Find Next"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::Yes);
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    EXPECT_EQ(Selected(note), QStringLiteral("0-2"));
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    prompter->Expect(again, QStringLiteral("Find Next"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::No);
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    EXPECT_EQ(finder.LastFindPos, 0);
    // After No the next click starts from the top without asking.
    finder.FindText(QStringLiteral("N"), QStringLiteral("3"), QStringLiteral("aa"), false);
    EXPECT_EQ(Selected(note), QStringLiteral("0-2"));
}

TEST_F(Find, TheJournalHasItsOwnQuestionAndCaseCountsWhenAsked) {
    journal.setPlainText(QStringLiteral("Café ABC"));
    finder.FindText(QStringLiteral("F"), QStringLiteral("1"), QStringLiteral("CAFÉ"), false);
    EXPECT_EQ(Selected(journal), QStringLiteral("0-4"));
    prompter->Expect(QStringLiteral("No more instances found!  Would you like to search from the "
                                    "top again?"),
                     QStringLiteral("Find Next"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::No);
    finder.FindText(QStringLiteral("N"), QStringLiteral("1"), QStringLiteral("CAFÉ"), false);
    prompter->Expect(QStringLiteral("Cannot find 'abc'!"), QStringLiteral("Not Found"),
                     MsgIcon::Critical, MsgButtons::OK);
    finder.FindText(QStringLiteral("F"), QStringLiteral("1"), QStringLiteral("abc"), true);
    EXPECT_EQ(finder.LastFindPos, 0);
}

TEST_F(Find, FunctionsWithoutABoxAreSilentAndUnknownOnesReported) {
    note.setPlainText(QStringLiteral("text"));
    for (const char* code : {"0", "2", "4"})
        finder.FindText(QStringLiteral("F"), QString::fromLatin1(code), QStringLiteral("t"), false);
    prompter->Expect(QStringLiteral("Find Text's Function not recognized!"),
                     QStringLiteral("Pimora"), MsgIcon::None, MsgButtons::OK);
    finder.FindText(QStringLiteral("F"), QStringLiteral("7"), QStringLiteral("t"), false);
    EXPECT_EQ(finder.LastFindPos, 0);
}

} // namespace

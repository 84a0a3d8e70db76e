#include "ThoughtsFixture.h"

#include "thoughts/ThoughtsSearch.h"

#include <QTreeWidget>

namespace {

class ThoughtsSearching : public Thoughts {
protected:
    void SetUp() override {
        Thoughts::SetUp();
        Row(QStringLiteral("w"), QStringLiteral("Work"), QStringLiteral("Thoughts"), "plans");
        Row(QStringLiteral("i"), QStringLiteral("Ideas 50%"), QStringLiteral("w"),
            "it's 50% done\nabc and ABC and Straße");
        Row(QStringLiteral("h"), QStringLiteral("Home"), QStringLiteral("Thoughts"),
            "50 percent of abc");
        Open();
        search = &part->Search();
        tabs->SelectKey(QStringLiteral("SEARCH"));
    }
    void Search(const QString& text, bool all) {
        search->txtThoSearch->setText(text);
        (all ? search->optThoSearchAll : search->optThoSearchNode)->setChecked(true);
        search->cmdThoSearch->click();
    }
    QStringList Listed() const {
        QStringList out;
        for (int i = 0; i < search->lvwThoSearch->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = search->lvwThoSearch->topLevelItem(i);
            out << item->text(0) + '|' + item->text(1) + '|' + item->text(2);
        }
        return out;
    }
    QString Selected() const { return note->textCursor().selectedText(); }

    ThoughtsSearch* search = nullptr;
};

TEST_F(ThoughtsSearching, AllNodesMatchNotesAndCaptionsWithLiteralPercentSigns) {
    EXPECT_TRUE(search->chkThoCaseSensitive->isEnabled());
    Search(QStringLiteral("  50%  "), true);
    EXPECT_FALSE(search->chkThoCaseSensitive->isEnabled());
    EXPECT_EQ(Listed(), QStringList({"Ideas 50%|thoughts://Work/Ideas 50%|i"}));
    EXPECT_EQ(search->lblFound->text(), QStringLiteral("1"));
    Search(QStringLiteral("a_c"), true);
    EXPECT_EQ(Listed().size(), 2) << "_ is any one character";
    Search(QStringLiteral("it's"), true);
    EXPECT_EQ(Listed().size(), 1);
    Search(QStringLiteral("HOME"), true);
    EXPECT_EQ(Listed(), QStringList({"Home|thoughts://Home|h"})) << "captions count";
    ExpectBox(QStringLiteral("Nothing found!"));
    Search(QStringLiteral("zebra"), true);
    EXPECT_EQ(search->lblFound->text(), QStringLiteral("0"));
    ExpectBox(QStringLiteral("Please enter a string to search for!"), MsgButtons::OK, MsgResult::OK,
              QStringLiteral("Nothing to search!"), MsgIcon::Exclamation);
    Search(QStringLiteral("   "), true);

    // Headers sort, one order flag for the whole list, kept for the next search.
    Search(QStringLiteral("abc"), true);
    search->lvwThoSearch_ColumnClick(0); // the first click turns the order: descending
    EXPECT_EQ(Listed().first().left(4), QStringLiteral("Idea"));
    search->lvwThoSearch_ColumnClick(1);
    EXPECT_EQ(Listed().first().left(4), QStringLiteral("Home"));
    Search(QStringLiteral("n"), true);
    EXPECT_EQ(Listed(), QStringList({"Home|thoughts://Home|h", "Work|thoughts://Work|w",
                                     "Ideas 50%|thoughts://Work/Ideas 50%|i"}));

    // A double-click opens the node, its note and its location.
    QTreeWidgetItem* home =
        search->lvwThoSearch->findItems(QStringLiteral("Home"), Qt::MatchExactly)[0];
    search->lvwThoSearch->setCurrentItem(home);
    search->lvwThoSearch_DblClick();
    EXPECT_EQ(tree->currentItem(), tree->Node(QStringLiteral("h")));
    EXPECT_EQ(note->toPlainText(), QStringLiteral("50 percent of abc"));
    EXPECT_EQ(location->text(), QStringLiteral("thoughts://Home"));
    EXPECT_EQ(tabs->currentIndex(), 0);

    search->cmdSearchClear->click();
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_TRUE(search->txtThoSearch->text().isEmpty());
}

TEST_F(ThoughtsSearching, TheSelectedNodeIsSearchedAndTheFindGoesOnFromTheMatch) {
    Click(QStringLiteral("i"));
    tabs->SelectKey(QStringLiteral("SEARCH"));
    Search(QStringLiteral("abc"), false);
    EXPECT_EQ(tabs->currentIndex(), 0) << "the note is brought to the front";
    auto* find = Named<QWidget>(window.get(), "fraThoFindThisNode");
    EXPECT_FALSE(find->isHidden());
    EXPECT_EQ(Named<QLineEdit>(window.get(), "txtThoFind")->text(), QStringLiteral("abc"));
    EXPECT_EQ(note->textCursor().selectionStart(), 14);
    EXPECT_EQ(search->lblFound->text(), QStringLiteral("0"));
    // Find goes on from the match: the next one is the capital ABC.
    Named<QPushButton>(window.get(), "cmdFindNext")->click();
    EXPECT_EQ(Selected(), QStringLiteral("ABC"));
    EXPECT_EQ(note->textCursor().selectionStart(), 22);

    // Case Sensitive: the database finds the row, the note does not hold the text so.
    search->chkThoCaseSensitive->setChecked(true);
    ExpectBox(QStringLiteral("Cannot find 'DONE'!"), MsgButtons::OK, MsgResult::OK,
              QStringLiteral("Not Found"), MsgIcon::Critical);
    Search(QStringLiteral("DONE"), false);
    // Folding case reaches beyond ASCII, one letter for one letter.
    search->chkThoCaseSensitive->setChecked(false);
    ExpectBox(QStringLiteral("Nothing found!"));
    Search(QStringLiteral("STRASSE"), false);
    Search(QStringLiteral("STRAßE"), false);
    EXPECT_EQ(Selected(), QStringLiteral("Straße"));

    // The root has no row.
    Click(QStringLiteral("Thoughts"));
    EXPECT_TRUE(find->isHidden()) << "selecting a node closes the find frame";
    ExpectBox(QStringLiteral("Nothing found!"));
    Search(QStringLiteral("abc"), false);
}

TEST_F(ThoughtsSearching, AResultWhoseNodeIsNotInTheTreeIsReported) {
    Row(QStringLiteral("late"), QStringLiteral("Added since the build"), QStringLiteral("Thoughts"),
        "abc");
    prompter->Expect(
        QStringLiteral("Error: Error while doing Thoughts search!\r\nDesc: Element not "
                       "found"),
        QStringLiteral("Search Error!"), MsgIcon::Critical, MsgButtons::OK);
    Search(QStringLiteral("abc"), true);
    EXPECT_EQ(search->lblFound->text(), QStringLiteral("0")) << "the count is not updated";
    prompter->Expect(QStringLiteral("Error: Error while getting to node!\r\nDesc: Element not "
                                    "found"),
                     QStringLiteral("Node Error!"), MsgIcon::Critical, MsgButtons::OK);
    part->GoToNode(QStringLiteral("late"));
}

} // namespace

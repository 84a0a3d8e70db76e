#include "ThoughtsFixture.h"

#include "thoughts/ThoughtsSearch.h"

namespace {

const QString kStamp = "20261205093000";

QString CountBox(int rows, int counted) {
    return QString("There are currently: \r\n%1 database Thought nodes; and \r\n%2 counted Thought "
                   "nodes in the current tree!")
        .arg(rows)
        .arg(counted);
}

TEST_F(Thoughts, TheTreeShowsReachableRowsInNameOrderWithTheirImagesAndLocations) {
    Row("20260101000002", "Work", "Thoughts");
    Row("20260101000001", "Home", "Thoughts");
    Row("c1", "Ideas", "20260101000002", "idea");
    Row("d1", "  Deep  ", "c1");
    Row("o1", "Orphan", "missing");
    Row("s1", "Self", "s1");
    Open();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    EXPECT_EQ(root->text(0), "Thoughts");
    EXPECT_EQ(ThoughtTree::Image(root), 2);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(tree->currentItem(), root);
    EXPECT_EQ(Children("Thoughts"), QStringList({"Home[5/5]", "Work[3/4]"}));
    EXPECT_EQ(Children("20260101000002"), QStringList({"Ideas[3/4]"}));
    EXPECT_EQ(Children("c1"), QStringList({"Deep[5/5]"}));
    EXPECT_FALSE(tree->Node("o1") || tree->Node("s1"));
    EXPECT_EQ(location->text(), "thoughts://");
    EXPECT_FALSE(note->isEnabled()) << "the root has no note";
    Click("d1");
    EXPECT_EQ(location->text(), "thoughts://Work/Ideas/Deep");
    Click("c1");
    EXPECT_TRUE(note->isEnabled());
    EXPECT_EQ(note->toPlainText(), "idea");
    Click("Thoughts");
    EXPECT_FALSE(note->isEnabled());
    EXPECT_TRUE(note->toPlainText().isEmpty());
    // Six rows, four counted: the discrepancy lines follow.
    prompter->Expect(CountBox(6, 4) +
                     "\r\n\r\nHmm... looks like we have a discrepancy.  \r\nTry "
                     "refreshing the Thoughts Tree.  \r\nIf it persists, please e-mail "
                     "me at pimora.author@example.org.");
    Menu("mnuThoCountNodes");
}

TEST_F(Thoughts, AChainTenThousandDeepAndACycleBuildWithoutHarm) {
    gConn->BeginTrans();
    Row("n0", "level 0", "Thoughts");
    for (int i = 1; i < 10000; ++i)
        Row(QString("n%1").arg(i), QString("level %1").arg(i), QString("n%1").arg(i - 1));
    Row("x", "x", "y");
    Row("y", "y", "x");
    gConn->CommitTrans();
    Open();
    EXPECT_EQ(part->CountedNodes(), 10000);
    ASSERT_TRUE(tree->Node("n9999"));
    EXPECT_EQ(ThoughtTree::Image(tree->Node("n9999")), 5);
    EXPECT_EQ(ThoughtTree::Image(tree->Node("n9998")), 3);
    EXPECT_FALSE(tree->Node("x"));
}

TEST_F(Thoughts, TheNoteBeingTypedIsWrittenAtEveryMomentThatSavesIt) {
    Row("a", "A", "Thoughts", "old a");
    Row("b", "B", "Thoughts");
    Open();
    // Selecting another node: only spaces are trimmed, tabs and line breaks stay.
    Click("a");
    note->clear();
    Type("  it's a café\t\n  ");
    Click("b");
    EXPECT_EQ(NoteOf("a"), "it's a café\t\n");
    // A tab click.
    Type("by tab");
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    EXPECT_EQ(NoteOf("b"), "by tab");
    tabs->setCurrentIndex(0);
    // Focus leaving the tree for another control.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Type(" and focus");
    tree->setFocus();
    location->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(NoteOf("b"), "by tab and focus");
    // Refreshing writes first, then rebuilds (the root is selected again).
    Type(" and refresh");
    Menu("mnuRefreshThoughts");
    EXPECT_EQ(NoteOf("b"), "by tab and focus and refresh");
    EXPECT_EQ(Current(), "Thoughts");
    // A new node writes the note it empties.
    Click("a");
    Type(" before new");
    Menu("mnuNodeNew");
    EXPECT_EQ(NoteOf("a"), "it's a café\t\n before new");
    EXPECT_TRUE(note->toPlainText().isEmpty());
    // Closing the window.
    Type("born at close");
    CloseForGood(window);
    folder.Connect();
    EXPECT_EQ(NoteOf(kStamp), "born at close");
}

TEST_F(Thoughts, NewNodesAreNamedFromTheClockAndNeverCollide) {
    Row("leaf", "Leaf", "Thoughts");
    // A row the tree does not show already holds the second name.
    Row(kStamp + ".01", "hidden", "nowhere");
    Open();
    Menu("mnuNodeNew"); // under the root
    tree->SelectQuietly(Node("Thoughts"));
    Menu("mnuNodeNew");
    EXPECT_EQ(ThoughtTree::Image(Node("Thoughts")), 2);
    tree->SelectQuietly(Node("leaf"));
    Menu("mnuNodeNew");
    EXPECT_EQ(Rows("select thoname, thocaption, thoparent from pmthoughts where thocaption = "
                   "'New Node' order by thoname"),
              "('20261205093000','New Node','Thoughts')"
              "('20261205093000.01.02','New Node','Thoughts')"
              "('20261205093000.01.02.03','New Node','leaf')");
    EXPECT_EQ(Children("leaf"), QStringList({"New Node[5/0]"}));
    EXPECT_EQ(ThoughtTree::Image(Node("leaf")), 3) << "a leaf with a new child is a folder at once";
    EXPECT_EQ(ThoughtTree::SelectedImage(Node("leaf")), 4);
    EXPECT_TRUE(Node("leaf")->isExpanded());
    EXPECT_EQ(Current(), kStamp + ".01.02.03");
}

// After New Node under the root, the usual first step, the new node's note can be typed
// once it is clicked, though it is already the selected node.
TEST_F(Thoughts, AClickOnTheSelectedNodeRunsTheSelectionAgain) {
    Open();
    Menu("mnuNodeNew");
    ASSERT_EQ(Current(), kStamp);
    EXPECT_FALSE(note->isEnabled()) << "New Node leaves the box as the root had it";
    Click(kStamp);
    EXPECT_TRUE(note->isEnabled());
    EXPECT_EQ(location->text(), "thoughts://New Node");
    Type("first words");
    part->ShowThoughtsFind(true);
    Click(kStamp); // saves, and closes the find frame
    EXPECT_EQ(NoteOf(kStamp), "first words");
    EXPECT_TRUE(C<QWidget>("fraThoFindThisNode")->isHidden());
    EXPECT_EQ(note->toPlainText(), "first words");
}

TEST_F(Thoughts, DeletingALeafOrABranchAsksAndCleansUp) {
    Row("p", "Parent", "Thoughts");
    Row("only", "Only child", "p");
    Row("top", "Top", "Thoughts");
    Row("k1", "First", "top");
    Row("k2", "Grandchild", "k1");
    Row("k3", "Second", "top");
    Open();
    prompter->Expect("Cannot delete Thoughts!");
    Menu("mnuNodeDelete");
    Click("only");
    Menu("mnuNodeDelete");
    EXPECT_FALSE(tree->Node("only"));
    EXPECT_EQ(ThoughtTree::Image(Node("p")), 5) << "a leaf again";
    EXPECT_EQ(Current(), "p");
    EXPECT_EQ(Count("select * from pmthoughts where thoname = 'only'"), 0);

    const QString ask = "There are child nodes dependent on this node.  Are you sure you want to "
                        "delete this node and all its dependents?";
    Click("top");
    prompter->Expect(ask, "Delete Node?", MsgIcon::None, MsgButtons::YesNo, MsgResult::No);
    Menu("mnuNodeDelete");
    EXPECT_EQ(Count("select * from pmthoughts"), 5);
    prompter->Expect(ask, "Delete Node?", MsgIcon::None, MsgButtons::YesNo, MsgResult::Yes);
    for (const char* box : {"Deleting First!", "Deleting Grandchild!", "Deleting Second!", "Done!"})
        prompter->Expect(box);
    Menu("mnuNodeDelete");
    EXPECT_EQ(Rows("select thoname from pmthoughts"), "('p')");
    EXPECT_EQ(Children("Thoughts"), QStringList({"Parent[5/5]"}));
    EXPECT_EQ(Current(), "Thoughts");
    // The only child of the root: the root keeps its image.
    Click("p");
    Menu("mnuNodeDelete");
    EXPECT_EQ(ThoughtTree::Image(Node("Thoughts")), 2);
}

TEST_F(Thoughts, RenamingByDialogAndInPlace) {
    Row("n", "Name", "Thoughts");
    Open();
    prompter->Expect("Cannot rename Thoughts!  Email me your idea instead! :)");
    Menu("mnuNodeRename");
    prompter->Expect("Cannot rename Root Node!");
    QTest::keyClick(tree, Qt::Key_F2);

    Click("n");
    auto caption = [] { return Scalar("select thocaption from pmthoughts").toString(); };
    for (const char* answer : {"  O'Brien's  ", "   "}) {
        prompter->ExpectInput("Please input the new name for the node.",
                              "Rename Node " + Node("n")->text(0), answer);
        Menu("mnuNodeRename");
        EXPECT_EQ(Node("n")->text(0), "  O'Brien's  ") << "as typed until the rebuild";
        EXPECT_EQ(caption(), "O'Brien's") << "trimmed in the table; an empty answer does nothing";
    }
    EXPECT_EQ(gSQL, "update pmThoughts set thoCaption = 'O''Brien''s' where thoname = 'n'");
    // In place: F2, type, Enter writes; Escape writes nothing.
    tree->setFocus();
    for (auto [text, key] :
         {std::pair{" Plans ", Qt::Key_Return}, std::pair{"abandoned", Qt::Key_Escape}}) {
        QTest::keyClick(tree, Qt::Key_F2);
        auto* editor = tree->findChild<QLineEdit*>();
        ASSERT_TRUE(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, key);
        DeleteClosedWindows(); // the edit is committed after the key, then the editor goes
        DeleteClosedWindows();
        EXPECT_EQ(caption(), "Plans");
        EXPECT_EQ(Node("n")->text(0), " Plans ");
    }
    EXPECT_EQ(gSQL, "update pmThoughts set thocaption = 'Plans' where thoname = 'n'");
}

TEST_F(Thoughts, ClearingAsksTwiceAndCountingFollows) {
    Row("a", "A", "Thoughts");
    Open();
    prompter->Expect(CountBox(1, 1));
    Menu("mnuThoCountNodes");
    const QString warning = "This will erase all the data you have stored in Thoughts!  \r\nYou "
                            "will not be able to recover these data.  Are you absolutely \r\nsure "
                            "you want to do this?";
    prompter->Expect(warning, "Clear Thoughts?", MsgIcon::Critical, MsgButtons::YesNo,
                     MsgResult::No);
    Menu("mnuMaintClearThoughts");
    EXPECT_EQ(Count("select * from pmthoughts"), 1);
    prompter->Expect(warning, "Clear Thoughts?", MsgIcon::Critical, MsgButtons::YesNo,
                     MsgResult::Yes);
    prompter->Expect("The clearing is successfully completed.  Here's hoping you know what you're "
                     "doing...");
    Menu("mnuMaintClearThoughts");
    EXPECT_EQ(Count("select * from pmthoughts"), 0);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    prompter->Expect(CountBox(0, 0));
    Menu("mnuThoCountNodes");
}

class ThoughtsSearching : public Thoughts {
protected:
    void SetUp() override {
        Thoughts::SetUp();
        Row("w", "Work", "Thoughts", "plans");
        Row("i", "Ideas 50%", "w", "it's 50% done\nabc and ABC and Straße");
        Row("h", "Home", "Thoughts", "50 percent of abc");
        Open();
        search = &part->Search();
        tabs->SelectKey("SEARCH");
    }
    void Search(const QString& text, bool all) {
        Named<QLineEdit>(window.get(), "txtThoSearch")->setText(text);
        (all ? Named<QRadioButton>(window.get(), "optThoSearchAll")
             : Named<QRadioButton>(window.get(), "optThoSearchNode"))
            ->setChecked(true);
        Named<QPushButton>(window.get(), "cmdThoSearch")->click();
    }
    QStringList Found() const {
        QStringList out;
        for (int i = 0; i < Named<QTreeWidget>(window.get(), "lvwThoSearch")->topLevelItemCount();
             ++i) {
            const QTreeWidgetItem* item =
                Named<QTreeWidget>(window.get(), "lvwThoSearch")->topLevelItem(i);
            out << item->text(0) + '|' + item->text(1) + '|' + item->text(2);
        }
        return out;
    }
    QString Selected() const {
        return QString("%1:%2")
            .arg(note->textCursor().selectionStart())
            .arg(note->textCursor().selectedText());
    }
    ThoughtsSearch* search = nullptr;
};

TEST_F(ThoughtsSearching, AllNodesMatchNotesAndCaptionsWithLiteralPercentSigns) {
    EXPECT_TRUE(Named<QCheckBox>(window.get(), "chkThoCaseSensitive")->isEnabled());
    Search("  50%  ", true);
    EXPECT_FALSE(Named<QCheckBox>(window.get(), "chkThoCaseSensitive")->isEnabled());
    EXPECT_EQ(Found(), QStringList({"Ideas 50%|thoughts://Work/Ideas 50%|i"}));
    EXPECT_EQ(Named<QLabel>(window.get(), "lblFound")->text(), "1");
    Search("a_c", true);
    EXPECT_EQ(Found().size(), 2) << "_ is any one character";
    Search("it's", true);
    EXPECT_EQ(Found().size(), 1);
    Search("HOME", true);
    EXPECT_EQ(Found(), QStringList({"Home|thoughts://Home|h"})) << "captions count";
    prompter->Expect("Nothing found!");
    Search("zebra", true);
    EXPECT_EQ(Named<QLabel>(window.get(), "lblFound")->text(), "0");
    prompter->Expect("Please enter a string to search for!", "Nothing to search!",
                     MsgIcon::Exclamation);
    Search("   ", true);

    Search("n", true);
    QStringList found = Found();
    found.sort();
    EXPECT_EQ(found, QStringList({"Home|thoughts://Home|h", "Ideas 50%|thoughts://Work/Ideas 50%|i",
                                  "Work|thoughts://Work|w"}));
    // A double-click opens the node, its note and its location.
    Named<QTreeWidget>(window.get(), "lvwThoSearch")
        ->setCurrentItem(
            Named<QTreeWidget>(window.get(), "lvwThoSearch")->findItems("Home", {})[0]);
    search->lvwThoSearch_DblClick();
    EXPECT_EQ(Current(), "h");
    EXPECT_EQ(note->toPlainText(), "50 percent of abc");
    EXPECT_EQ(location->text(), "thoughts://Home");
    EXPECT_EQ(tabs->currentIndex(), 0);
    Named<QPushButton>(window.get(), "cmdSearchClear")->click();
    EXPECT_TRUE(Found().isEmpty());
    EXPECT_TRUE(Named<QLineEdit>(window.get(), "txtThoSearch")->text().isEmpty());
}

// One double-click or one Enter opens a result once: a node deleted since the search is
// reported once, and a click only selects.
TEST_F(ThoughtsSearching, AResultOpensOncePerDoubleClickOrEnter) {
    Search("n", true);
    QTreeWidget* list = Named<QTreeWidget>(window.get(), "lvwThoSearch");
    auto item = [&](const char* caption) { return list->findItems(caption, {}).value(0); };
    auto at = [&](const char* caption) { return list->visualItemRect(item(caption)).center(); };
    Click("h");
    Menu("mnuNodeDelete"); // a leaf goes without a question
    tabs->SelectKey("SEARCH");
    prompter->ExpectError("Error while getting to node!", "Node Error!", "Element not found");
    DoubleClick(list->viewport(), at("Home"));
    EXPECT_TRUE(prompter->Done());
    prompter->ExpectError("Error while getting to node!", "Node Error!", "Element not found");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at("Work"));
    EXPECT_EQ(Current(), "Thoughts") << "a click only selects";
    DoubleClick(list->viewport(), at("Work"));
    EXPECT_EQ(Current(), "w");
    EXPECT_EQ(note->toPlainText(), "plans");
    EXPECT_EQ(location->text(), "thoughts://Work");
}

TEST_F(ThoughtsSearching, TheSelectedNodeIsSearchedAndTheFindGoesOnFromTheMatch) {
    Click("i");
    tabs->SelectKey("SEARCH");
    Search("abc", false);
    EXPECT_EQ(tabs->currentIndex(), 0) << "the note is brought to the front";
    auto* find = Named<QWidget>(window.get(), "fraThoFindThisNode");
    EXPECT_FALSE(find->isHidden());
    EXPECT_EQ(Named<QLineEdit>(window.get(), "txtThoFind")->text(), "abc");
    EXPECT_EQ(Selected(), "14:abc");
    EXPECT_EQ(Named<QLabel>(window.get(), "lblFound")->text(), "0");
    Named<QPushButton>(window.get(), "cmdFindNext")->click();
    EXPECT_EQ(Selected(), "22:ABC");

    // Case Sensitive: the database finds the row, the note does not hold the text so.
    Named<QCheckBox>(window.get(), "chkThoCaseSensitive")->setChecked(true);
    prompter->Expect("Cannot find 'DONE'!", "Not Found", MsgIcon::Critical);
    Search("DONE", false);
    // Folding case reaches beyond ASCII, one letter for one letter.
    Named<QCheckBox>(window.get(), "chkThoCaseSensitive")->setChecked(false);
    prompter->Expect("Nothing found!");
    Search("STRASSE", false);
    Search("STRAßE", false);
    EXPECT_EQ(Selected(), "30:Straße");

    // The root has no row.
    Click("Thoughts");
    EXPECT_TRUE(find->isHidden()) << "selecting a node closes the find frame";
    prompter->Expect("Nothing found!");
    Search("abc", false);
}

TEST_F(ThoughtsSearching, AResultWhoseNodeIsNotInTheTreeIsReported) {
    Row("late", "Added since the build", "Thoughts", "abc");
    prompter->ExpectError("Error while doing Thoughts search!", "Search Error!",
                          "Element not found");
    Search("abc", true);
    EXPECT_EQ(Named<QLabel>(window.get(), "lblFound")->text(), "0") << "the count is not updated";
    prompter->ExpectError("Error while getting to node!", "Node Error!", "Element not found");
    part->GoToNode("late");
}

} // namespace

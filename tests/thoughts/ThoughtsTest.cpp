#include "ThoughtsFixture.h"

namespace {

const QString kStamp = QStringLiteral("20261205093000");

TEST_F(Thoughts, TheTreeShowsReachableRowsInNameOrderWithTheirImagesAndLocations) {
    Row(QStringLiteral("20260101000002"), QStringLiteral("Work"), QStringLiteral("Thoughts"));
    Row(QStringLiteral("20260101000001"), QStringLiteral("Home"), QStringLiteral("Thoughts"));
    Row(QStringLiteral("c1"), QStringLiteral("Ideas"), QStringLiteral("20260101000002"), "idea");
    Row(QStringLiteral("d1"), QStringLiteral("  Deep  "), QStringLiteral("c1"));
    Row(QStringLiteral("o1"), QStringLiteral("Orphan"), QStringLiteral("missing"));
    Row(QStringLiteral("s1"), QStringLiteral("Self"), QStringLiteral("s1"));
    Open();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(root->text(0), QStringLiteral("Thoughts"));
    EXPECT_EQ(ThoughtTree::Image(root), 2);
    EXPECT_TRUE(root->isExpanded());
    EXPECT_EQ(tree->currentItem(), root);
    EXPECT_EQ(Children(QStringLiteral("Thoughts")), QStringList({"Home[5/5]", "Work[3/4]"}));
    EXPECT_EQ(Children(QStringLiteral("20260101000002")), QStringList({"Ideas[3/4]"}));
    EXPECT_EQ(Children(QStringLiteral("c1")), QStringList({"Deep[5/5]"}));
    EXPECT_FALSE(tree->Node(QStringLiteral("o1")) || tree->Node(QStringLiteral("s1")));
    EXPECT_EQ(part->ThoughtNodeCount, 4);
    EXPECT_EQ(location->text(), QStringLiteral("thoughts://"));
    EXPECT_FALSE(note->isEnabled()) << "the root has no note";
    EXPECT_EQ(part->ilsThoughts.Count(), 7);
    EXPECT_EQ(part->ilsThoughts.Key(5), QStringLiteral("Node"));

    Click(QStringLiteral("d1"));
    EXPECT_EQ(location->text(), QStringLiteral("thoughts://Work/Ideas/Deep"));
    Click(QStringLiteral("c1"));
    EXPECT_TRUE(note->isEnabled());
    EXPECT_EQ(note->toPlainText(), QStringLiteral("idea"));
    Click(QStringLiteral("Thoughts"));
    EXPECT_FALSE(note->isEnabled());
    EXPECT_TRUE(note->toPlainText().isEmpty());

    // Six rows, four counted: the discrepancy lines follow.
    ExpectBox(
        QStringLiteral("There are currently: \r\n6 database Thought nodes; and \r\n4 counted "
                       "Thought nodes in the current tree!\r\n\r\nHmm... looks like we have a "
                       "discrepancy.  \r\nTry refreshing the Thoughts Tree.  \r\nIf it "
                       "persists, please e-mail me at pimora.author@example.org."));
    window->Action(QStringLiteral("mnuThoCountNodes"))->trigger();
}

TEST_F(Thoughts, AChainTenThousandDeepAndACycleBuildWithoutHarm) {
    gConn->BeginTrans();
    Row(QStringLiteral("n0"), QStringLiteral("level 0"), QStringLiteral("Thoughts"));
    for (int i = 1; i < 10000; ++i)
        Row(QStringLiteral("n%1").arg(i), QStringLiteral("level %1").arg(i),
            QStringLiteral("n%1").arg(i - 1));
    Row(QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("y"));
    Row(QStringLiteral("y"), QStringLiteral("y"), QStringLiteral("x"));
    gConn->CommitTrans();
    Open();
    EXPECT_EQ(part->ThoughtNodeCount, 10000);
    ASSERT_TRUE(tree->Node(QStringLiteral("n9999")));
    EXPECT_EQ(ThoughtTree::Image(tree->Node(QStringLiteral("n9999"))), 5);
    EXPECT_EQ(ThoughtTree::Image(tree->Node(QStringLiteral("n9998"))), 3);
    EXPECT_FALSE(tree->Node(QStringLiteral("x")));
}

TEST_F(Thoughts, TheNoteBeingTypedIsWrittenAtEveryMomentThatSavesIt) {
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"), "old a");
    Row(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Thoughts"));
    Open();
    // Selecting another node: only spaces are trimmed, tabs and line breaks stay.
    Click(QStringLiteral("a"));
    note->clear();
    Type(QStringLiteral("  it's a café\t\n  "));
    Click(QStringLiteral("b"));
    EXPECT_EQ(NoteOf(QStringLiteral("a")), QStringLiteral("it's a café\t\n"));
    // A tab click.
    Type(QStringLiteral("by tab"));
    QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
    EXPECT_EQ(NoteOf(QStringLiteral("b")), QStringLiteral("by tab"));
    tabs->setCurrentIndex(0);
    // Focus leaving the tree for another control.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Type(QStringLiteral(" and focus"));
    tree->setFocus();
    location->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(NoteOf(QStringLiteral("b")), QStringLiteral("by tab and focus"));
    // Refreshing writes first, then rebuilds (the root is selected again).
    Type(QStringLiteral(" and refresh"));
    window->Action(QStringLiteral("mnuRefreshThoughts"))->trigger();
    EXPECT_EQ(NoteOf(QStringLiteral("b")), QStringLiteral("by tab and focus and refresh"));
    EXPECT_EQ(tree->currentItem(), tree->Node(QStringLiteral("Thoughts")));
    // A new node writes the note it empties.
    Click(QStringLiteral("a"));
    Type(QStringLiteral(" before new"));
    Popup("mnuNodeNew");
    EXPECT_EQ(NoteOf(QStringLiteral("a")), QStringLiteral("it's a café\t\n before new"));
    EXPECT_TRUE(note->toPlainText().isEmpty());
    // Closing the window.
    Type(QStringLiteral("born at close"));
    CloseWindow();
    folder.Connect();
    EXPECT_EQ(NoteOf(kStamp), QStringLiteral("born at close"));
}

TEST_F(Thoughts, NewNodesAreNamedFromTheClockAndNeverCollide) {
    Row(QStringLiteral("leaf"), QStringLiteral("Leaf"), QStringLiteral("Thoughts"));
    // A row the tree does not show already holds the second name.
    Row(kStamp + QStringLiteral(".01"), QStringLiteral("hidden"), QStringLiteral("nowhere"));
    Open();
    Popup("mnuNodeNew"); // under the root
    tree->SelectQuietly(Node(QStringLiteral("Thoughts")));
    Popup("mnuNodeNew");
    EXPECT_EQ(ThoughtTree::Image(Node(QStringLiteral("Thoughts"))), 2);
    tree->SelectQuietly(Node(QStringLiteral("leaf")));
    Popup("mnuNodeNew");
    EXPECT_EQ(Rows(QStringLiteral("select thoname, thocaption, thoparent from pmthoughts where "
                                  "thocaption = 'New Node' order by thoname")),
              QStringLiteral("('20261205093000','New Node','Thoughts')"
                             "('20261205093000.01.02','New Node','Thoughts')"
                             "('20261205093000.01.02.03','New Node','leaf')"));
    EXPECT_TRUE(tree->Node(kStamp + QStringLiteral(".01.02.03")));
    QTreeWidgetItem* leaf = Node(QStringLiteral("leaf"));
    EXPECT_EQ(ThoughtTree::Image(leaf), 3) << "a leaf with a new child is a folder at once";
    EXPECT_EQ(ThoughtTree::SelectedImage(leaf), 4);
    EXPECT_TRUE(leaf->isExpanded());
    EXPECT_EQ(Children(QStringLiteral("leaf")), QStringList({"New Node[5/0]"}));
    EXPECT_EQ(ThoughtTree::Key(tree->currentItem()), kStamp + QStringLiteral(".01.02.03"));
}

TEST_F(Thoughts, DeletingALeafOrABranchAsksAndCleansUp) {
    Row(QStringLiteral("p"), QStringLiteral("Parent"), QStringLiteral("Thoughts"));
    Row(QStringLiteral("only"), QStringLiteral("Only child"), QStringLiteral("p"));
    Row(QStringLiteral("top"), QStringLiteral("Top"), QStringLiteral("Thoughts"));
    Row(QStringLiteral("k1"), QStringLiteral("First"), QStringLiteral("top"));
    Row(QStringLiteral("k2"), QStringLiteral("Grandchild"), QStringLiteral("k1"));
    Row(QStringLiteral("k3"), QStringLiteral("Second"), QStringLiteral("top"));
    Open();
    ExpectBox(QStringLiteral("Cannot delete Thoughts!"));
    Popup("mnuNodeDelete");

    Click(QStringLiteral("only"));
    Popup("mnuNodeDelete");
    EXPECT_FALSE(tree->Node(QStringLiteral("only")));
    EXPECT_EQ(ThoughtTree::Image(Node(QStringLiteral("p"))), 5) << "a leaf again";
    EXPECT_EQ(tree->currentItem(), Node(QStringLiteral("p")));
    EXPECT_EQ(Count(QStringLiteral("select * from pmthoughts where thoname = 'only'")), 0);

    const QString ask =
        QStringLiteral("There are child nodes dependent on this node.  Are you sure "
                       "you want to delete this node and all its dependents?");
    Click(QStringLiteral("top"));
    ExpectBox(ask, MsgButtons::YesNo, MsgResult::No, QStringLiteral("Delete Node?"));
    Popup("mnuNodeDelete");
    EXPECT_EQ(Count(QStringLiteral("select * from pmthoughts")), 5);

    ExpectBox(ask, MsgButtons::YesNo, MsgResult::Yes, QStringLiteral("Delete Node?"));
    ExpectBox(QStringLiteral("Deleting First!"));
    ExpectBox(QStringLiteral("Deleting Grandchild!"));
    ExpectBox(QStringLiteral("Deleting Second!"));
    ExpectBox(QStringLiteral("Done!"));
    Popup("mnuNodeDelete");
    EXPECT_EQ(Rows(QStringLiteral("select thoname from pmthoughts")), QStringLiteral("('p')"));
    EXPECT_EQ(Children(QStringLiteral("Thoughts")), QStringList({"Parent[5/5]"}));
    EXPECT_EQ(tree->currentItem(), Node(QStringLiteral("Thoughts")));

    // The only child of the root: the root keeps its image.
    Click(QStringLiteral("p"));
    Popup("mnuNodeDelete");
    EXPECT_EQ(ThoughtTree::Image(Node(QStringLiteral("Thoughts"))), 2);
}

TEST_F(Thoughts, RenamingByDialogAndInPlace) {
    Row(QStringLiteral("n"), QStringLiteral("Name"), QStringLiteral("Thoughts"));
    Open();
    ExpectBox(QStringLiteral("Cannot rename Thoughts!  Email me your idea instead! :)"));
    Popup("mnuNodeRename");
    ExpectBox(QStringLiteral("Cannot rename Root Node!"));
    QTest::keyClick(tree, Qt::Key_F2);

    Click(QStringLiteral("n"));
    prompter->ExpectInput(QStringLiteral("Please input the new name for the node."),
                          QStringLiteral("  O'Brien's  "));
    Popup("mnuNodeRename");
    EXPECT_EQ(prompter->Shown().back().title, QStringLiteral("Rename Node Name"));
    EXPECT_EQ(Node(QStringLiteral("n"))->text(0), QStringLiteral("  O'Brien's  "));
    EXPECT_EQ(Scalar(QStringLiteral("select thocaption from pmthoughts")).toString(),
              QStringLiteral("O'Brien's"));
    prompter->ExpectInput(QStringLiteral("Please input the new name for the node."),
                          QStringLiteral("   "));
    Popup("mnuNodeRename");
    EXPECT_EQ(Scalar(QStringLiteral("select thocaption from pmthoughts")).toString(),
              QStringLiteral("O'Brien's"));

    // In place: F2, type, Enter writes; Escape writes nothing.
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_F2);
    auto* editor = tree->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral(" Plans "));
    QTest::keyClick(editor, Qt::Key_Return);
    DeleteClosedWindows(); // the edit is committed after the key
    EXPECT_EQ(Scalar(QStringLiteral("select thocaption from pmthoughts")).toString(),
              QStringLiteral("Plans"));
    DeleteClosedWindows(); // the finished editor goes
    QTest::keyClick(tree, Qt::Key_F2);
    editor = tree->findChild<QLineEdit*>();
    ASSERT_TRUE(editor);
    QTest::keyClicks(editor, QStringLiteral("abandoned"));
    QTest::keyClick(editor, Qt::Key_Escape);
    DeleteClosedWindows();
    EXPECT_EQ(Scalar(QStringLiteral("select thocaption from pmthoughts")).toString(),
              QStringLiteral("Plans"));
    EXPECT_EQ(Node(QStringLiteral("n"))->text(0), QStringLiteral(" Plans "));
}

TEST_F(Thoughts, ClearingAndCounting) {
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"));
    Open();
    ExpectBox(QStringLiteral("There are currently: \r\n1 database Thought nodes; and \r\n1 counted "
                             "Thought nodes in the current tree!"));
    window->Action(QStringLiteral("mnuThoCountNodes"))->trigger();

    const QString warning =
        QStringLiteral("This will erase all the data you have stored in Thoughts!  \r\nYou will "
                       "not be able to recover these data.  Are you absolutely \r\nsure you want "
                       "to do this?");
    ExpectBox(warning, MsgButtons::YesNo, MsgResult::No, QStringLiteral("Clear Thoughts?"),
              MsgIcon::Critical);
    window->Action(QStringLiteral("mnuMaintClearThoughts"))->trigger();
    EXPECT_EQ(Count(QStringLiteral("select * from pmthoughts")), 1);
    ExpectBox(warning, MsgButtons::YesNo, MsgResult::Yes, QStringLiteral("Clear Thoughts?"),
              MsgIcon::Critical);
    ExpectBox(QStringLiteral("The clearing is successfully completed.  Here's hoping you know "
                             "what you're doing..."));
    window->Action(QStringLiteral("mnuMaintClearThoughts"))->trigger();
    EXPECT_EQ(Count(QStringLiteral("select * from pmthoughts")), 0);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
    ExpectBox(QStringLiteral("There are currently: \r\n0 database Thought nodes; and \r\n0 counted "
                             "Thought nodes in the current tree!"));
    window->Action(QStringLiteral("mnuThoCountNodes"))->trigger();
}

TEST_F(Thoughts, TheRightButtonAndTheMenuKeyOpenThePopUpWithoutSelecting) {
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"));
    Open();
    window->show();
    QMenu* popup = part->mnuThoughtsMenu;
    QTreeWidgetItem* a = Node(QStringLiteral("a"));
    const QPoint at = tree->visualItemRect(a).center();
    QTest::mousePress(tree->viewport(), Qt::RightButton, {}, at);
    EXPECT_FALSE(popup->isVisible());
    QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, at);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_EQ(tree->currentItem(), Node(QStringLiteral("Thoughts"))) << "nothing is selected";
    popup->hide();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QCoreApplication::sendEvent(tree, &key);
    EXPECT_TRUE(popup->isVisible());
    popup->hide();
}

} // namespace

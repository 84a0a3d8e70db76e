// When the database fails under the Thoughts: one box, and nothing typed or stored is lost.
#include "ThoughtsFixture.h"

#include "controls/IdleSaver.h"

namespace {

class ThoughtsFaults : public Thoughts {
protected:
    void ExpectSaveError(const QString& desc = TableFault::kRefused) {
        prompter->ExpectError("Error while Saving Thought!", "Error!", desc);
    }
};

TEST_F(ThoughtsFaults, ANoteThatCannotBeSavedKeepsItsNodeAndTextAndNoNodeIsAdded) {
    Row("it's", "Quoted", "Thoughts", "kept");
    Row("b", "B", "Thoughts");
    Row("leaf", "Leaf", "Thoughts");
    Open();
    {
        TableFault fault("pmthoughts", TableFault::RefusesWrites);
        // A node whose row cannot be written leaves the tree as it was.
        tree->SelectQuietly(Node("leaf"));
        prompter->ExpectError("Error while adding node!", "Error!", TableFault::kRefused);
        Menu("mnuNodeNew");
        EXPECT_EQ(Node("leaf")->childCount(), 0);
        EXPECT_EQ(ThoughtTree::Image(Node("leaf")), 5) << "still a leaf";
        Click("it's");
        Type(" and more");
        ExpectSaveError();
        Click("b");
        EXPECT_EQ(Current(), "it's");
        EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>({Node("it's")}))
            << "what is highlighted is what the commands act on";
        EXPECT_EQ(note->toPlainText(), "kept and more");
        ExpectSaveError(); // each try to leave tries the save again
        QTest::keyClick(tree, Qt::Key_Down);
        EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>({Node("it's")}));
        // A tab click saves once, and so reports once.
        ExpectSaveError();
        QTest::mouseClick(tabs->Bar(), Qt::LeftButton, {}, tabs->Bar()->tabRect(1).center());
        tabs->SelectKey("THOUGHT");
        // A new node is not made over a note that could not be written.
        ExpectSaveError();
        Menu("mnuNodeNew");
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 3);
        EXPECT_EQ(Count("select * from pmthoughts"), 3);
    }
    Click("b");
    EXPECT_EQ(NoteOf("it''s"), "kept and more");
}

// A leaf is deleted while notes cannot be written: its parent is shown, and what is typed
// next belongs to the parent, never to a neighbour of the deleted node.
TEST_F(ThoughtsFaults, ADeletedLeafsTextNeverBecomesAnotherNodesNote) {
    Row("p", "Parent", "Thoughts", "parent's");
    Row("a", "A", "p", "a's");
    Row("b", "B", "p", "b's");
    Open();
    Click("a");
    Type(" typed");
    {
        TableFault fault("pmthoughts", TableFault::RefusesUpdates);
        Menu("mnuNodeDelete");
    }
    EXPECT_FALSE(tree->Node("a"));
    EXPECT_EQ(Current(), "p");
    EXPECT_EQ(tree->selectedItems(), QList<QTreeWidgetItem*>({Node("p")}));
    EXPECT_EQ(note->toPlainText(), "parent's");
    Type(" and more");
    Click("b");
    EXPECT_EQ(NoteOf("b"), "b's");
    EXPECT_EQ(NoteOf("p"), "parent's and more");
}

TEST_F(ThoughtsFaults, ANoteThatCannotBeLoadedIsNeverWrittenOver) {
    Row("a", "A", "Thoughts", "stored");
    Row("b", "B", "Thoughts");
    Open();
    {
        TableFault fault("pmthoughts", TableFault::RowsUnreadable);
        ExpectSaveError("The database engine could not run the statement: malformed JSON");
        Click("a");
        EXPECT_TRUE(note->isReadOnly());
    }
    note->setPlainText(QString());
    Click("b");
    EXPECT_EQ(NoteOf("a"), "stored");
    EXPECT_FALSE(note->isReadOnly());
}

TEST_F(ThoughtsFaults, ANoteIsSavedAfterAPauseAndAVisitWritesNothing) {
    IdleSaver::SetDelay(1);
    Row("a", "A", "Thoughts", "stored a");
    Row("b", "B", "Thoughts", "stored b");
    Open();
    Click("a");
    Exec("update pmthoughts set thodata = 'elsewhere' where thoname = 'a'");
    QTest::qWait(40);
    EXPECT_EQ(NoteOf("a"), "elsewhere") << "a visit writes nothing";
    Click("b");
    Type(" typed");
    EXPECT_TRUE(QTest::qWaitFor([&] { return NoteOf("b") == "stored b typed"; }));
    {
        TableFault fault("pmthoughts", TableFault::RefusesWrites);
        ExpectSaveError();
        Type(" again");
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompter->Done(); }));
        QTest::qWait(40); // a second box would fail the test here
    }
    Type("!");
    EXPECT_TRUE(QTest::qWaitFor([&] { return NoteOf("b") == "stored b typed again!"; }));
    IdleSaver::SetDelay(2000);
}

} // namespace

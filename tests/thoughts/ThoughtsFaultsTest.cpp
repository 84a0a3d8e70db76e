// When the database fails under the Thoughts: one box, and nothing typed or stored is lost.
#include "ThoughtsFixture.h"

#include "support/DiskFull.h"
#include "support/TableFault.h"

#include "ui/widgets/IdleSaver.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QString kRefused =
    QStringLiteral("The change was refused by the database: refused for the test");

TEST_F(Thoughts, ANoteThatCannotBeSavedKeepsItsNodeAndText) {
    Row(QStringLiteral("it's"), QStringLiteral("Quoted"), QStringLiteral("Thoughts"), "kept");
    Row(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Thoughts"));
    Open();
    Click(QStringLiteral("it's"));
    EXPECT_EQ(note->toPlainText(), QStringLiteral("kept"));
    Type(QStringLiteral(" and more"));
    {
        TableFault fault(QStringLiteral("pmthoughts"), TableFault::RefusesWrites);
        const QString box =
            QStringLiteral("Error: Error while Saving Thought!\r\nDesc: ") + kRefused;
        prompter->Expect(box, QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
        Click(QStringLiteral("b"));
        EXPECT_EQ(ThoughtTree::Key(tree->currentItem()), QStringLiteral("it's"));
        EXPECT_EQ(note->toPlainText(), QStringLiteral("kept and more"));
        // A new node is not made over a note that could not be written.
        prompter->Expect(box, QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
        Popup("mnuNodeNew");
        EXPECT_EQ(Count(QStringLiteral("select * from pmthoughts")), 2);
        EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
    }
    Click(QStringLiteral("b"));
    EXPECT_EQ(NoteOf(QStringLiteral("it''s")), QStringLiteral("kept and more"));
}

TEST_F(Thoughts, ANoteThatCannotBeLoadedIsNeverWrittenOver) {
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"), "stored");
    Row(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Thoughts"));
    Open();
    {
        TableFault fault(QStringLiteral("pmthoughts"), TableFault::RowsUnreadable);
        prompter->Expect(QStringLiteral("Error: Error while Saving Thought!\r\nDesc: The database "
                                        "engine could not run the statement: malformed JSON"),
                         QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
        Click(QStringLiteral("a"));
        EXPECT_TRUE(note->isReadOnly());
    }
    note->setPlainText(QString());
    Click(QStringLiteral("b"));
    EXPECT_EQ(NoteOf(QStringLiteral("a")), QStringLiteral("stored"));
    EXPECT_FALSE(note->isReadOnly());
}

TEST_F(Thoughts, ANodeWhoseRowCannotBeWrittenLeavesTheTree) {
    Row(QStringLiteral("leaf"), QStringLiteral("Leaf"), QStringLiteral("Thoughts"));
    Open();
    tree->SelectQuietly(Node(QStringLiteral("leaf")));
    TableFault fault(QStringLiteral("pmthoughts"), TableFault::RefusesWrites);
    prompter->Expect(QStringLiteral("Error: Error while adding node!\r\nDesc: ") + kRefused,
                     QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    Popup("mnuNodeNew");
    EXPECT_EQ(Node(QStringLiteral("leaf"))->childCount(), 0);
    EXPECT_EQ(ThoughtTree::Image(Node(QStringLiteral("leaf"))), 5) << "still a leaf";
}

TEST_F(Thoughts, AFullDiskKeepsTheNodeItsNoteAndTheFileAsTheyWere) {
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"), "before");
    Row(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Thoughts"));
    Open();
    Click(QStringLiteral("a"));
    const QString text = QStringLiteral("before") + QString(100'000, QLatin1Char('y'));
    Type(QString(100'000, QLatin1Char('y')));
    const QString db = folder.File(QStringLiteral("pengkalan.dat"));
    {
        DiskFull full(std::max(QFileInfo(db).size(), QFileInfo(db + "-wal").size()) + 8192);
        prompter->Expect(QStringLiteral("Error: Error while Saving Thought!\r\nDesc: The database "
                                        "file '") +
                             db +
                             QStringLiteral("' cannot be written: disk I/O error (File too "
                                            "large)"),
                         QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
        Click(QStringLiteral("b"));
        EXPECT_EQ(ThoughtTree::Key(tree->currentItem()), QStringLiteral("a"));
        EXPECT_EQ(note->toPlainText(), text);
    }
    EXPECT_TRUE(IntegrityOk());
    EXPECT_EQ(NoteOf(QStringLiteral("a")), QStringLiteral("before"));
    Click(QStringLiteral("b"));
    EXPECT_EQ(NoteOf(QStringLiteral("a")), text);
}

TEST_F(Thoughts, ANoteIsSavedAfterAPauseAndAVisitWritesNothing) {
    IdleSaver::SetDelay(1);
    Row(QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("Thoughts"), "stored a");
    Row(QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Thoughts"), "stored b");
    Open();
    Click(QStringLiteral("a"));
    Exec(QStringLiteral("update pmthoughts set thodata = 'elsewhere' where thoname = 'a'"));
    QTest::qWait(40);
    EXPECT_EQ(NoteOf(QStringLiteral("a")), QStringLiteral("elsewhere")) << "a visit writes nothing";
    Click(QStringLiteral("b"));
    Type(QStringLiteral(" typed"));
    QTest::qWait(40);
    EXPECT_EQ(NoteOf(QStringLiteral("b")), QStringLiteral("stored b typed"));
    {
        TableFault fault(QStringLiteral("pmthoughts"), TableFault::RefusesWrites);
        prompter->Expect(QStringLiteral("Error: Error while Saving Thought!\r\nDesc: ") + kRefused,
                         QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
        Type(QStringLiteral(" again"));
        QTest::qWait(40);
        QTest::qWait(40);
    }
    Type(QStringLiteral("!"));
    QTest::qWait(40);
    EXPECT_EQ(NoteOf(QStringLiteral("b")), QStringLiteral("stored b typed again!"));
    IdleSaver::SetDelay(2000);
}

} // namespace

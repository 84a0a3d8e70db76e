// What the calendar does when the database fails under it: each failure is reported once, in
// the system's words, and nothing typed or stored is lost.
#include "CalendarFixture.h"

#include "controls/IdleSaver.h"

#include <QFileInfo>
#include <algorithm>

namespace {

const QString kUnreadable = "The database engine could not run the statement: malformed JSON";

class CalendarFaults : public Calendar {
protected:
    void ExpectSaveError(const QString& desc = TableFault::kRefused) {
        prompter->ExpectError("Error while saving information!", "Database Error!", desc);
    }
};

TEST_F(CalendarFaults, AFailedDayLoadLeavesTheStoredJournalAlone) {
    AddJournal("06 Dec 2026", "kept safe");
    Show("December", 2026);
    ClickDay(5);
    {
        TableFault fault("pmcalendar", TableFault::Missing);
        prompter->ExpectError("Error while retrieving Calendar values!", "DB Error!",
                              "The database engine cannot find the input table or query "
                              "'pmcalendar'.  Make sure it exists and that its name is spelled "
                              "correctly.");
        ClickDay(6);
        EXPECT_EQ(lblSelDate->text(), "6 December 2026");
        EXPECT_TRUE(journal->isReadOnly());
    }
    // Whatever reaches the box now, leaving the day must not replace what it holds.
    journal->setPlainText(QString());
    ClickDay(7);
    EXPECT_EQ(Stored("06 Dec 2026"), "('kept safe')");
    ClickDay(6);
    EXPECT_FALSE(journal->isReadOnly());
    EXPECT_EQ(journal->toPlainText(), "kept safe");
}

TEST_F(CalendarFaults, UnreadableFilledDaysAreReportedAndTheMonthIsStillDrawn) {
    AddJournal("05 Jan 2027", "x");
    AddEvent("12 Jan 2027", "Birthday", "");
    TableFault fault("pmcaleventdate", TableFault::RowsUnreadable);
    prompter->ExpectError("Error while getting Filled Days!", "Error!", kUnreadable);
    Show("January", 2027);
    EXPECT_EQ(lblCalMonth->text(), "January 2027");
    EXPECT_EQ(CellOf(31), QPoint(6, 0));
    EXPECT_EQ(ColourOf(5), CalFilledColor) << "the journals read before the failure count";
    EXPECT_EQ(ColourOf(12), CalNormalColor);
}

TEST_F(CalendarFaults, AJournalOrEventThatCannotBeSavedKeepsItsDayAndEditor) {
    Show("December", 2026);
    ClickDay(5);
    Type("precious");
    SetEvent("Birthday", "cake", QTime(9, 0), QTime(10, 0));
    {
        TableFault fault("pmcaleventdate", TableFault::RefusesWrites);
        ExpectSaveError();
        Press("cmdCalEventSave");
        ExpectSaveError();
        ClickDay(6);
        EXPECT_EQ(lblSelDate->text(), "5 December 2026");
        EXPECT_EQ(cboEvent->currentText(), "Birthday");
        EXPECT_EQ(txtEventDetails->text(), "cake");
        EXPECT_EQ(dtpEndTime->time(), QTime(10, 0));
        EXPECT_EQ(Count("select * from pmcaleventdate"), 0);
    }
    {
        TableFault fault("pmcalendar", TableFault::RefusesWrites);
        ExpectSaveError();
        ClickDay(6); // the event goes in now, the journal does not
        EXPECT_EQ(lblSelDate->text(), "5 December 2026");
        EXPECT_EQ(model->CurrentText(), "5");
        EXPECT_EQ(journal->toPlainText(), "precious");
        // A walk of several moves stops at the first refusal: one box, not one a step.
        ExpectSaveError();
        Press("cmdNextMonth");
        EXPECT_EQ(lblCalMonth->text(), "December 2026");
        EXPECT_EQ(lblSelDate->text(), "5 December 2026");
    }
    ClickDay(6);
    EXPECT_EQ(Stored("05 Dec 2026"), "('precious')");
    EXPECT_EQ(Rows("select eventdetails from pmcaleventdate"), "('cake')");
}

TEST_F(CalendarFaults, AListThatCannotBeRefreshedIsReportedAfterSaveAndDelete) {
    Exec("insert into pmcalevent (calevent,caleventdesc) values ('Meeting','')");
    Show("December", 2026);
    ClickDay(5);
    SetEvent("Meeting", "stays", QTime(8, 0), QTime(9, 0));
    Press("cmdCalEventSave");
    TableFault fault("pmcaleventdate", TableFault::RowsUnreadable, "calevent = 'Meeting'");
    SetEvent("Birthday", "cake", QTime(9, 0), QTime(10, 0));
    prompter->ExpectError("Error while retrieving Event for the Day!", "Error!", kUnreadable);
    Press("cmdCalEventSave");
    EXPECT_EQ(Count("select calevent from pmcaleventdate"), 2) << "saved";
    EXPECT_EQ(cboEvent->currentText(), "Birthday");
    prompter->ExpectError("Error while retrieving Event for the Day!", "Error!", kUnreadable);
    Press("cmdCalEventDelete");
    EXPECT_EQ(Rows("select calevent from pmcaleventdate"), "('Meeting')");
}

TEST_F(CalendarFaults, AFullDiskKeepsTheDayItsTextAndTheFileAsTheyWere) {
    AddJournal("05 Dec 2026", "before");
    Show("December", 2026);
    ClickDay(5);
    const QString typed(100'000, 'x');
    Type(typed);
    const QString db = folder.File("pengkalan.dat");
    {
        // Nothing of the database may grow past what it holds now.
        DiskFull full(std::max(QFileInfo(db).size(), QFileInfo(db + "-wal").size()) + 8192);
        ExpectSaveError("The database file '" + db +
                        "' cannot be written: disk I/O error (File too large)");
        ClickDay(6);
        EXPECT_EQ(lblSelDate->text(), "5 December 2026");
        EXPECT_EQ(journal->toPlainText(), typed + "before");
    }
    EXPECT_EQ(Scalar("pragma integrity_check").toString(), "ok");
    EXPECT_EQ(Stored("05 Dec 2026"), "('before')");
    ClickDay(6); // space is back
    EXPECT_EQ(Stored("05 Dec 2026"), "('" + typed + "before')");
}

TEST_F(CalendarFaults, ClosingWhenTheDayCannotBeSavedLetsTheUserKeepTheText) {
    Show("December", 2026);
    ClickDay(5);
    Type("kept");
    const QString question = "What you typed could not be saved and is still in its box. Close "
                             "Pimora anyway and lose it?";
    TableFault fault("pmcalendar", TableFault::RefusesWrites);
    ExpectSaveError();
    prompter->Expect(question, "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(journal->toPlainText(), "kept");
    ASSERT_TRUE(gConn) << "the database stays open for the next try";
    ExpectSaveError();
    prompter->Expect(question, "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(gConn);
}

TEST_F(CalendarFaults, TypingIsSavedAfterAPauseAndAVisitWritesNothing) {
    IdleSaver::SetDelay(1);
    AddJournal("06 Dec 2026", "stored");
    Show("December", 2026);
    ClickDay(5);
    Type("typed");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Stored("05 Dec 2026") == "('typed')"; }))
        << "saved without leaving";
    // A visit arms nothing: what changes behind the window stays.
    ClickDay(6);
    Exec("update pmcalendar set caljournal = 'elsewhere' where caldate = #06 Dec 2026#");
    QTest::qWait(40);
    EXPECT_EQ(Stored("06 Dec 2026"), "('elsewhere')");
    // A pause that cannot save reports once; the next keystroke tries again.
    {
        TableFault fault("pmcalendar", TableFault::RefusesWrites);
        ExpectSaveError();
        Type(" more");
        EXPECT_TRUE(QTest::qWaitFor([&] { return prompter->Done(); }));
        QTest::qWait(40); // a second box would fail the test here
    }
    Type("!");
    EXPECT_TRUE(QTest::qWaitFor([&] { return Stored("06 Dec 2026") == "(' more!stored')"; }))
        << "typed at the start";
    IdleSaver::SetDelay(2000);
}

} // namespace

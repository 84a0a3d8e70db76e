// What the calendar does when the database fails under it: each failure is reported once, in
// the system's words, and nothing typed or stored is lost.
#include "CalendarFixture.h"

#include "support/DiskFull.h"
#include "support/TableFault.h"

#include "ui/widgets/IdleSaver.h"

#include <QFileInfo>
#include <algorithm>

namespace {

QString Box(const char* message, const QString& description) {
    return QStringLiteral("Error: ") + QString::fromLatin1(message) + QStringLiteral("\r\nDesc: ") +
           description;
}

const QString kNoCalendar =
    QStringLiteral("The database engine cannot find the input table or query 'pmcalendar'.  Make "
                   "sure it exists and that its name is spelled correctly.");
const QString kRefused =
    QStringLiteral("The change was refused by the database: refused for the test");
const QString kUnreadable =
    QStringLiteral("The database engine could not run the statement: malformed JSON");

TEST_F(Calendar, AFailedDayLoadLeavesTheStoredJournalAlone) {
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('06 Dec 2026',"
                        "'kept safe')"));
    Show("December", 2026);
    ClickDay(5);
    {
        TableFault fault(QStringLiteral("pmcalendar"), TableFault::Missing);
        prompter->Expect(Box("Error while retrieving Calendar values!", kNoCalendar),
                         QStringLiteral("DB Error!"), MsgIcon::Critical, MsgButtons::OK);
        ClickDay(6);
        EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("6 December 2026"));
        EXPECT_TRUE(cal->rtfCalQJournal->isReadOnly());
    }
    // Whatever reaches the box now, leaving the day must not replace what it holds.
    cal->rtfCalQJournal->setPlainText(QString());
    ClickDay(7);
    EXPECT_EQ(Journal("06 Dec 2026"), QStringLiteral("('kept safe')"));
    ClickDay(6);
    EXPECT_FALSE(cal->rtfCalQJournal->isReadOnly());
    EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), QStringLiteral("kept safe"));
}

TEST_F(Calendar, UnreadableFilledDaysAreReportedAndTheMonthIsStillDrawn) {
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 Jan 2027','x')"));
    Exec(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,"
                        "timeend) values (#12 Jan 2027#,'Birthday','',#12:00:00 AM#,#12:00:00 "
                        "AM#)"));
    TableFault fault(QStringLiteral("pmcaleventdate"), TableFault::RowsUnreadable);
    prompter->Expect(Box("Error while getting Filled Days!", kUnreadable), QStringLiteral("Error!"),
                     MsgIcon::Critical, MsgButtons::OK);
    Show("January", 2027);
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("January 2027"));
    EXPECT_EQ(CellOf(31), QPoint(6, 0));
    EXPECT_EQ(ColourOf(5), CalFilledColor) << "the journals read before the failure count";
    EXPECT_EQ(ColourOf(12), CalNormalColor);
}

TEST_F(Calendar, AJournalThatCannotBeSavedKeepsItsDayAndText) {
    Show("December", 2026);
    ClickDay(5);
    Type(cal->rtfCalQJournal, QStringLiteral("precious"));
    {
        TableFault fault(QStringLiteral("pmcalendar"), TableFault::RefusesWrites);
        const QString box = Box("Error while saving information!", kRefused);
        prompter->Expect(box, QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
        ClickDay(6);
        EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("5 December 2026"));
        EXPECT_EQ(cal->flxCalModel->CurrentText(), QStringLiteral("5"));
        EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), QStringLiteral("precious"));
        // A walk of several moves stops at the first refusal: one box, not one a step.
        prompter->Expect(box, QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
        cal->cmdNextMonth->click();
        EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("December 2026"));
        EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("5 December 2026"));
    }
    ClickDay(6);
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('precious')"));
}

TEST_F(Calendar, AnEventThatCannotBeSavedKeepsTheEditor) {
    Show("December", 2026);
    ClickDay(5);
    SetEvent(QStringLiteral("Birthday"), QStringLiteral("cake"), QTime(9, 0), QTime(10, 0));
    TableFault fault(QStringLiteral("pmcaleventdate"), TableFault::RefusesWrites);
    const QString box = Box("Error while saving information!", kRefused);
    prompter->Expect(box, QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
    cal->cmdCalEventSave->click();
    prompter->Expect(box, QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
    ClickDay(6);
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("5 December 2026"));
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("Birthday"));
    EXPECT_EQ(cal->txtEventDetails->text(), QStringLiteral("cake"));
    EXPECT_EQ(cal->dtpEndTime->time(), QTime(10, 0));
    EXPECT_EQ(Count(QStringLiteral("select * from pmcaleventdate")), 0);
}

TEST_F(Calendar, AListThatCannotBeRefreshedIsReportedAfterSaveAndDelete) {
    Exec(QStringLiteral("insert into pmcalevent (calevent,caleventdesc) values ('Meeting','')"));
    Show("December", 2026);
    ClickDay(5);
    SetEvent(QStringLiteral("Meeting"), QStringLiteral("stays"), QTime(8, 0), QTime(9, 0));
    cal->cmdCalEventSave->click();
    TableFault fault(QStringLiteral("pmcaleventdate"), TableFault::RowsUnreadable,
                     QStringLiteral("calevent = 'Meeting'"));
    const QString box = Box("Error while retrieving Event for the Day!", kUnreadable);
    SetEvent(QStringLiteral("Birthday"), QStringLiteral("cake"), QTime(9, 0), QTime(10, 0));
    prompter->Expect(box, QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    cal->cmdCalEventSave->click();
    EXPECT_EQ(Count(QStringLiteral("select calevent from pmcaleventdate")), 2) << "saved";
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("Birthday"));
    prompter->Expect(box, QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    cal->cmdCalEventDelete->click();
    EXPECT_EQ(Rows(QStringLiteral("select calevent from pmcaleventdate")),
              QStringLiteral("('Meeting')"));
}

// The file a full disk stops at: nothing of the database may grow past what it holds now.
long long FullAt(const AppFolder& folder) {
    const QString db = folder.File(QStringLiteral("pengkalan.dat"));
    return std::max(QFileInfo(db).size(), QFileInfo(db + QStringLiteral("-wal")).size()) + 8192;
}

TEST_F(Calendar, AFullDiskKeepsTheDayItsTextAndTheFileAsTheyWere) {
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026',"
                        "'before')"));
    Show("December", 2026);
    ClickDay(5);
    const QString text = QString(100'000, QLatin1Char('x')) + QStringLiteral("before");
    Type(cal->rtfCalQJournal, QString(100'000, QLatin1Char('x')));
    {
        DiskFull full(FullAt(folder));
        prompter->Expect(Box("Error while saving information!",
                             QStringLiteral("The database file '") +
                                 folder.File(QStringLiteral("pengkalan.dat")) +
                                 QStringLiteral("' cannot be written: disk I/O error (File too "
                                                "large)")),
                         QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
        ClickDay(6);
        EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("5 December 2026"));
        EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), text);
    }
    EXPECT_TRUE(IntegrityOk());
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('before')"));
    ClickDay(6); // space is back
    EXPECT_EQ(Scalar(QStringLiteral("select caljournal from pmcalendar where caldate = #05 Dec "
                                    "2026#"))
                  .toString(),
              text);
}

TEST_F(Calendar, TypingIsSavedAfterAPauseAndAVisitWritesNothing) {
    IdleSaver::SetDelay(1);
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('06 Dec 2026',"
                        "'stored')"));
    Show("December", 2026);
    ClickDay(5);
    Type(cal->rtfCalQJournal, QStringLiteral("typed"));
    QTest::qWait(40);
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('typed')")) << "saved without leaving";
    // A visit arms nothing: what changes behind the window stays.
    ClickDay(6);
    Exec(QStringLiteral("update pmcalendar set caljournal = 'elsewhere' where caldate = #06 Dec "
                        "2026#"));
    QTest::qWait(40);
    EXPECT_EQ(Journal("06 Dec 2026"), QStringLiteral("('elsewhere')"));
    // A pause that cannot save reports once; the next keystroke tries again.
    {
        TableFault fault(QStringLiteral("pmcalendar"), TableFault::RefusesWrites);
        prompter->Expect(Box("Error while saving information!", kRefused),
                         QStringLiteral("Database Error!"), MsgIcon::Critical, MsgButtons::OK);
        Type(cal->rtfCalQJournal, QStringLiteral(" more"));
        QTest::qWait(40);
        QTest::qWait(40);
    }
    Type(cal->rtfCalQJournal, QStringLiteral("!"));
    QTest::qWait(40);
    EXPECT_EQ(Journal("06 Dec 2026"), QStringLiteral("(' more!stored')")) << "typed at the start";
    IdleSaver::SetDelay(2000);
}

} // namespace

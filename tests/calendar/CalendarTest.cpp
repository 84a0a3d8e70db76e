#include "CalendarFixture.h"

#include "support/Render.h"

#include "ui/widgets/Twips.h"
#include <QAccessible>

#include <QLayout>
#include <QTest>

namespace {

TEST_F(Calendar, StartsOnTodayInTheCurrentMonth) {
    const QDate today = QDate::currentDate();
    EXPECT_EQ(cal->lblSelDate->text(), SelectedDayText(today));
    EXPECT_EQ(cal->lblCalMonth->text(),
              MonthName(today.month()) + QLatin1Char(' ') + QString::number(today.year()));
    EXPECT_EQ(cal->flxCalModel->CurrentText(), QString::number(today.day()));
    EXPECT_EQ(cal->flxCalModel->BackColor(cal->flxCalModel->Row(), cal->flxCalModel->Col()),
              QColor(255, 255, 0));
    QStringList headers;
    for (int c = 0; c < 7; ++c)
        headers << cal->flxCalModel->Text(0, c);
    EXPECT_EQ(headers.join(' '), QStringLiteral("Sun Mon Tues Wed Thurs Fri Sat"));
    EXPECT_EQ(cal->cboMonth->count(), 12);
    EXPECT_EQ(cal->cboYear->count(), 56);
    EXPECT_EQ(cal->cboYear->itemText(0), QStringLiteral("1995"));
    EXPECT_EQ(cal->cboYear->itemText(55), QStringLiteral("2050"));
    EXPECT_EQ(cal->dtpStartTime->text(), QStringLiteral("12:00 AM"));
    EXPECT_EQ(cal->cboEvent->count(), 2);
}

TEST_F(Calendar, MonthsAreLaidOutSundayToSaturday) {
    Show("August", 2026); // 31 days from a Saturday: all six weeks
    EXPECT_EQ(Weeks(),
              QStringList({". . . . . . 1", "2 3 4 5 6 7 8", "9 10 11 12 13 14 15",
                           "16 17 18 19 20 21 22", "23 24 25 26 27 28 29", "30 31 . . . . ."}));
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("1 August 2026"));
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("August 2026"));
    EXPECT_EQ(cal->flxCalModel->Row(), 1);
    EXPECT_EQ(cal->flxCalModel->Col(), 6);

    Show("February", 2026); // 28 days from a Sunday: four weeks exactly
    EXPECT_EQ(Weeks(), QStringList({"1 2 3 4 5 6 7", "8 9 10 11 12 13 14", "15 16 17 18 19 20 21",
                                    "22 23 24 25 26 27 28", ". . . . . . .", ". . . . . . ."}));

    Show("February", 2028); // a leap February, from a Tuesday
    EXPECT_EQ(CellOf(29), QPoint(5, 2));
    EXPECT_EQ(Weeks().last(), QStringLiteral(". . . . . . ."));
}

TEST_F(Calendar, NavigationCrossesMonthAndYearEnds) {
    Show("December", 2026);
    ClickDay(31);
    cal->cmdNextDay->click();
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("January 2027"));
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("1 January 2027"));
    EXPECT_EQ(cal->flxCalModel->CurrentText(), QStringLiteral("1"));
    cal->cmdPrevDay->click();
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("31 December 2026"));
    // The menu items do the same.
    window->Action(QStringLiteral("mnuNextMonth"))->trigger();
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("January 2027"));
    window->Action(QStringLiteral("mnuPrevMonth"))->trigger();
    window->Action(QStringLiteral("mnuPrevMonth"))->trigger();
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("1 November 2026"));
    window->Action(QStringLiteral("mnuNextDay"))->trigger();
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("2 November 2026"));

    Show("December", 2050);
    cal->cmdNextMonth->click();
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("January 2051"));
    EXPECT_EQ(cal->cboYear->currentText(), QStringLiteral("2051"));

    // Arrow keys move like clicks; the header row cannot be reached.
    Show("December", 2026);
    ClickDay(6); // a Sunday in the second week
    QTest::keyClick(cal->flxCal, Qt::Key_Right);
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("7 December 2026"));
    QTest::keyClick(cal->flxCal, Qt::Key_Left);
    QTest::keyClick(cal->flxCal, Qt::Key_Up);
    EXPECT_EQ(cal->flxCalModel->Row(), 1);
    EXPECT_TRUE(cal->lblSelDate->text().isEmpty()) << "row 1, column 0 is before the 1st";
    QTest::keyClick(cal->flxCal, Qt::Key_Up);
    EXPECT_EQ(cal->flxCalModel->Row(), 1);

    window->Action(QStringLiteral("mnuToday"))->trigger();
    EXPECT_EQ(cal->lblSelDate->text(), SelectedDayText(QDate::currentDate()));
}

TEST_F(Calendar, ABlankCellClearsTheDayAndIsPaintedNormalWhenLeft) {
    Show("August", 2026);
    ClickDay(3);
    Type(cal->rtfCalQJournal, QStringLiteral("kept"));
    Click(1, 0); // before the 1st
    EXPECT_TRUE(cal->lblSelDate->text().isEmpty());
    EXPECT_TRUE(cal->rtfCalQJournal->toPlainText().isEmpty());
    EXPECT_EQ(Journal("03 Aug 2026"), QStringLiteral("('kept')"));
    // Typed on a blank cell: discarded; the day buttons do nothing.
    Type(cal->rtfCalQJournal, QStringLiteral("lost"));
    cal->cmdNextDay->click();
    EXPECT_TRUE(cal->lblSelDate->text().isEmpty());
    Click(1, 1);
    EXPECT_EQ(cal->flxCalModel->BackColor(1, 1), CalSelectedColor);
    EXPECT_EQ(cal->flxCalModel->BackColor(1, 0), CalNormalColor);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 1);
}

TEST_F(Calendar, JournalIsSavedWhenLeavingAndRemovedWhenEmptied) {
    Show("December", 2026);
    ClickDay(5);
    const QString text = QStringLiteral("Ahmad's day — café, naïve 'quotes'");
    Type(cal->rtfCalQJournal, text);
    ClickDay(6);
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('") + text + QStringLiteral("')"));
    EXPECT_EQ(ColourOf(5), CalFilledColor);
    ClickDay(5);
    EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), text);
    // An opened day is a fresh text: the caret at its start, nothing of another day to undo.
    EXPECT_EQ(cal->rtfCalQJournal->textCursor().position(), 0);
    EXPECT_FALSE(cal->rtfCalQJournal->document()->isUndoAvailable());
    cal->rtfCalQJournal->moveCursor(QTextCursor::End);
    Type(cal->rtfCalQJournal, QStringLiteral(" more"));
    ClickDay(7);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 1);
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('") + text + QStringLiteral(" more')"));

    // Only blanks left: the row goes.
    ClickDay(5);
    cal->rtfCalQJournal->selectAll();
    QTest::keyClick(cal->rtfCalQJournal, Qt::Key_Delete);
    Type(cal->rtfCalQJournal, QStringLiteral("   "));
    ClickDay(6);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 0);
    // All text deleted: the day is normal again.
    Type(cal->rtfCalQJournal, QStringLiteral("brief"));
    ClickDay(5);
    EXPECT_EQ(ColourOf(6), CalFilledColor);
    ClickDay(6);
    cal->rtfCalQJournal->clear();
    ClickDay(7);
    EXPECT_EQ(ColourOf(6), CalNormalColor);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 0);
}

TEST_F(Calendar, VisitingADayWritesNothing) {
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('05 Dec 2026','  "
                        "padded  ')"));
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('10 Dec 2026','   "
                        "')"));
    Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('15 Mar 2030','far "
                        "away')"));
    Exec(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,"
                        "timeend) values (#12 Dec 2026#,'Birthday','',#12:00:00 AM#,#12:00:00 "
                        "AM#)"));
    Show("December", 2026);
    EXPECT_EQ(ColourOf(5), CalFilledColor);
    EXPECT_EQ(ColourOf(10), CalNormalColor) << "a journal of blanks is not marked";
    EXPECT_EQ(ColourOf(12), CalFilledColor) << "an event marks its day";
    ClickDay(5);
    EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), QStringLiteral("padded"));
    // Changed behind the window's back: leaving must not write the loaded text over it.
    Exec(QStringLiteral("update pmcalendar set caljournal = 'elsewhere' where caldate = #05 Dec "
                        "2026#"));
    ClickDay(6);
    cal->cmdNextMonth->click();
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('elsewhere')"));
    EXPECT_EQ(Journal("15 Mar 2030"), QStringLiteral("('far away')"));
}

TEST_F(Calendar, EventsAreSavedReplacedListedAndDeleted) {
    Show("December", 2026);
    ClickDay(5);
    SetEvent(QStringLiteral("Birthday"), QStringLiteral("cake"), QTime(9, 30), QTime(21, 5));
    cal->cmdCalEventSave->click();
    EXPECT_EQ(Listed(), QStringList({"Birthday|cake"}));
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("Birthday")) << "kept after a save";
    SetEvent(QStringLiteral("Birthday"), QStringLiteral("party"), QTime(10, 0), QTime(11, 0));
    cal->cmdCalEventSave->click();
    EXPECT_EQ(Rows(QStringLiteral("select * from pmcaleventdate")),
              QStringLiteral("(#2026-12-05#,'Birthday','party',@10:00:00,@11:00:00)"));
    SetEvent(QStringLiteral("O'Brien's day"), QStringLiteral("it's on"), QTime(0, 0), QTime(1, 0));
    cal->cmdCalEventSave->click();
    EXPECT_EQ(Listed().size(), 2);

    cal->cmdCalEventClear->click();
    EXPECT_TRUE(cal->cboEvent->currentText().isEmpty());
    QTreeWidgetItem* item =
        cal->lvwDayEvents->findItems(QStringLiteral("O'Brien's day"), Qt::MatchExactly).value(0);
    ASSERT_TRUE(item);
    const QRect rect = cal->lvwDayEvents->visualItemRect(item);
    QTest::mouseClick(cal->lvwDayEvents->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(cal->cboEvent->currentText(), QStringLiteral("O'Brien's day"));
    EXPECT_EQ(cal->txtEventDetails->text(), QStringLiteral("it's on"));
    EXPECT_EQ(cal->dtpEndTime->time(), QTime(1, 0));
    cal->cmdCalEventDelete->click();
    EXPECT_EQ(Listed(), QStringList({"Birthday|party"}));
    EXPECT_TRUE(cal->cboEvent->currentText().isEmpty()) << "the editor empties after a delete";

    // A type the day does not have: nothing changes, the editor empties.
    cal->cboEvent->setEditText(QStringLiteral("O'Brien's day"));
    cal->cmdCalEventDelete->click();
    EXPECT_EQ(Listed(), QStringList({"Birthday|party"}));
    EXPECT_TRUE(cal->cboEvent->currentText().isEmpty());

    // The day is marked by its event alone.
    ClickDay(6);
    EXPECT_EQ(ColourOf(5), CalFilledColor);
}

TEST_F(Calendar, UnknownTypesAreLoudOnSaveAndQuietOnLeaving) {
    Show("December", 2026);
    ClickDay(5);
    SetEvent(QStringLiteral("Picnic"), QStringLiteral("park"), QTime(12, 0), QTime(13, 0));
    prompter->Expect(QStringLiteral("There isn't an event called 'Picnic'!  Please make sure that "
                                    "the event is matches any one of those in the Drop-down "
                                    "box!"),
                     QStringLiteral("Pimora"), MsgIcon::Information, MsgButtons::OK);
    cal->cmdCalEventSave->click();
    SetEvent(QStringLiteral("Picnic"), QStringLiteral("park"), QTime(12, 0), QTime(13, 0));
    ClickDay(6); // quiet
    SetEvent(QStringLiteral("   "), QStringLiteral("details only"), QTime(1, 0), QTime(2, 0));
    cal->cmdCalEventSave->click(); // a blank name does nothing
    ClickDay(7);
    EXPECT_EQ(Count(QStringLiteral("select * from pmcaleventdate")), 0);

    // A known type typed in is saved when the user simply moves on.
    SetEvent(QStringLiteral("birthday"), QStringLiteral("moved on"), QTime(8, 0), QTime(9, 0));
    ClickDay(8);
    EXPECT_EQ(Rows(QStringLiteral("select caldate, calevent, eventdetails from pmcaleventdate")),
              QStringLiteral("(#2026-12-07#,'birthday','moved on')"));
}

TEST_F(Calendar, ClosingSavesThePendingDay) {
    Show("December", 2026);
    ClickDay(24);
    Type(cal->rtfCalQJournal, QStringLiteral("Christmas Eve"));
    SetEvent(QStringLiteral("Birthday"), QStringLiteral("unsaved"), QTime(18, 0), QTime(19, 0));
    CloseWindow();
    EXPECT_FALSE(gConn);
    folder.Connect();
    EXPECT_EQ(Journal("24 Dec 2026"), QStringLiteral("('Christmas Eve')"));
    EXPECT_EQ(Rows(QStringLiteral("select eventdetails from pmcaleventdate where caldate = #24 "
                                  "Dec 2026#")),
              QStringLiteral("('unsaved')"));
}

TEST_F(Calendar, ClosingWithHalfAnEventSavesNoEvent) {
    Show("December", 2026);
    ClickDay(24);
    SetEvent(QString(), QStringLiteral("details without a type"), QTime(18, 0), QTime(19, 0));
    CloseWindow();
    folder.Connect();
    EXPECT_EQ(Count(QStringLiteral("select * from pmcaleventdate")), 0);
}

TEST_F(Calendar, MonthJumpGoesOrRefuses) {
    Show("December", 2026);
    window->show();
    QTest::mouseDClick(cal->lblCalMonth, Qt::LeftButton);
    EXPECT_TRUE(cal->fraEditMonthYear->isVisible());
    const QString refusal = QStringLiteral("Please choose a month from January to December and "
                                           "type a year from 100 to 9999.");
    cal->cboMonth->setCurrentText(QStringLiteral("Smarch"));
    prompter->Expect(refusal, QStringLiteral("Pimora"), MsgIcon::Exclamation, MsgButtons::OK);
    cal->cmdOK->click();
    EXPECT_TRUE(cal->fraEditMonthYear->isVisible());
    cal->cboMonth->setCurrentText(QStringLiteral("March"));
    cal->cboYear->setCurrentText(QStringLiteral("20x1"));
    prompter->Expect(refusal, QStringLiteral("Pimora"), MsgIcon::Exclamation, MsgButtons::OK);
    cal->cmdOK->click();
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("December 2026"));
    cal->cboYear->setCurrentText(QStringLiteral("2031"));
    cal->cmdOK->click();
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("March 2031"));
    EXPECT_FALSE(cal->fraEditMonthYear->isVisible());
    // Navigating with the buttons closes an open jump frame; Enter on the label opens it.
    cal->lblCalMonth->setFocus();
    QTest::keyClick(cal->lblCalMonth, Qt::Key_Return);
    EXPECT_TRUE(cal->fraEditMonthYear->isVisible());
    cal->cmdPrevMonth->click();
    EXPECT_FALSE(cal->fraEditMonthYear->isVisible());
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("February 2031"));

    // What leads to drawing refuses a month it cannot draw: nothing is drawn or left.
    ClickDay(3);
    EXPECT_FALSE(cal->grid->RenderCalMonth(QStringLiteral("Dec"), QStringLiteral("2026")));
    EXPECT_FALSE(cal->grid->RenderCalMonth(QStringLiteral("March"), QStringLiteral("99")));
    EXPECT_EQ(cal->lblCalMonth->text(), QStringLiteral("February 2031"));
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("3 February 2031"));
}

TEST_F(Calendar, TheGridShowsItsDaysToAssistiveTechnology) {
    Show("August", 2026);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(cal->flxCal);
    ASSERT_TRUE(grid && grid->tableInterface());
    QAccessibleTableInterface* table = grid->tableInterface();
    EXPECT_EQ(table->rowCount(), 6);
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->columnDescription(0), QStringLiteral("Sun"));
    EXPECT_EQ(table->columnDescription(4), QStringLiteral("Thurs"));
    auto cell = [&](int row, int col) { return table->cellAt(row, col)->text(QAccessible::Name); };
    EXPECT_EQ(cell(0, 6), QStringLiteral("1"));
    EXPECT_EQ(cell(5, 1), QStringLiteral("31"));
    EXPECT_EQ(cell(5, 2), QString());
}

TEST_F(Calendar, SwapTradesTheGridAndTheEvents) {
    auto tops = [&] {
        return QPoint(GeometryTwips(cal->fraCal).top, GeometryTwips(cal->fraDayEvents).top);
    };
    EXPECT_EQ(tops(), QPoint(900, 6840));
    window->Action(QStringLiteral("mnuSwapCal"))->trigger();
    EXPECT_EQ(tops(), QPoint(4080, 900));
    EXPECT_EQ(GeometryTwips(cal->fraDayEvents).height, 3195);
    window->Action(QStringLiteral("mnuSwapCal"))->trigger();
    EXPECT_EQ(tops(), QPoint(900, 6840));
}

} // namespace

#include "CalendarFixture.h"

#include "calendar/CalendarSearch.h"
#include "calendar/DayEventsPanel.h"
#include "calendar/JournalPanel.h"
#include "calendar/frmEvents.h"
#include "calendar/frmEventsBrowse.h"
#include "common/AppGlobals.h"
#include "controls/TabStrip.h"
#include "controls/Twips.h"

#include <QAccessible>
#include <QFrame>
#include <QGroupBox>
#include <QProxyStyle>
#include <QSignalSpy>

namespace {

TEST_F(Calendar, MonthsAreLaidOutSundayToSaturdayFromToday) {
    EXPECT_EQ(lblSelDate->text(), SelectedDayText(QDate::currentDate()));

    // The weeks as assistive technology reads them from the grid.
    QAccessibleTableInterface* table =
        QAccessible::queryAccessibleInterface(flxCal)->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->columnDescription(0), "Sun");
    auto weeks = [&] {
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c) {
                const QString day = table->cellAt(r, c)->text(QAccessible::Name);
                cells << (day.isEmpty() ? "." : day);
            }
            rows << cells.join(' ');
        }
        return rows;
    };
    Show("August", 2026); // 31 days from a Saturday: all six weeks
    EXPECT_EQ(weeks(),
              QStringList({". . . . . . 1", "2 3 4 5 6 7 8", "9 10 11 12 13 14 15",
                           "16 17 18 19 20 21 22", "23 24 25 26 27 28 29", "30 31 . . . . ."}));
    EXPECT_EQ(lblSelDate->text(), "1 August 2026");
    EXPECT_EQ(lblCalMonth->text(), "August 2026");
    EXPECT_EQ(QPoint(model->Row(), model->Col()), QPoint(1, 6));
    Show("February", 2026); // 28 days from a Sunday: four weeks exactly
    EXPECT_EQ(weeks(), QStringList({"1 2 3 4 5 6 7", "8 9 10 11 12 13 14", "15 16 17 18 19 20 21",
                                    "22 23 24 25 26 27 28", ". . . . . . .", ". . . . . . ."}));
    Show("February", 2028); // a leap February, from a Tuesday
    EXPECT_EQ(CellOf(29), QPoint(5, 2));
    EXPECT_EQ(weeks().last(), ". . . . . . .");
}

TEST_F(Calendar, NavigationCrossesMonthAndYearEnds) {
    Show("December", 2026);
    ClickDay(31);
    Press("cmdNextDay");
    EXPECT_EQ(lblCalMonth->text(), "January 2027");
    EXPECT_EQ(lblSelDate->text(), "1 January 2027");
    EXPECT_EQ(model->CurrentText(), "1");
    Press("cmdPrevDay");
    EXPECT_EQ(lblSelDate->text(), "31 December 2026");
    Menu("mnuNextMonth");
    EXPECT_EQ(lblCalMonth->text(), "January 2027");
    Menu("mnuPrevMonth");
    Menu("mnuPrevMonth");
    EXPECT_EQ(lblSelDate->text(), "1 November 2026");
    Menu("mnuNextDay");
    EXPECT_EQ(lblSelDate->text(), "2 November 2026");
    Show("December", 2050);
    Press("cmdNextMonth");
    EXPECT_EQ(lblCalMonth->text(), "January 2051");
    EXPECT_EQ(C<QComboBox>("cboYear")->currentText(), "2051");

    // Arrow keys move like clicks; the header row cannot be reached.
    Show("December", 2026);
    ClickDay(6); // a Sunday in the second week
    QTest::keyClick(flxCal, Qt::Key_Right);
    EXPECT_EQ(lblSelDate->text(), "7 December 2026");
    QTest::keyClick(flxCal, Qt::Key_Left);
    QTest::keyClick(flxCal, Qt::Key_Up);
    EXPECT_EQ(model->Row(), 1);
    EXPECT_TRUE(lblSelDate->text().isEmpty()) << "row 1, column 0 is before the 1st";
    QTest::keyClick(flxCal, Qt::Key_Up);
    EXPECT_EQ(model->Row(), 1);
    Menu("mnuToday");
    EXPECT_EQ(lblSelDate->text(), SelectedDayText(QDate::currentDate()));
}

TEST_F(Calendar, ABlankCellClearsTheDayAndKeepsNothingTypedOnIt) {
    Show("August", 2026);
    ClickDay(3);
    Type("kept");
    Click(1, 0); // before the 1st
    EXPECT_TRUE(lblSelDate->text().isEmpty());
    EXPECT_TRUE(journal->toPlainText().isEmpty());
    EXPECT_EQ(Stored("03 Aug 2026"), "('kept')");
    Type("lost");
    Press("cmdNextDay"); // does nothing here
    EXPECT_TRUE(lblSelDate->text().isEmpty());
    Click(1, 1);
    EXPECT_EQ(model->BackColor(1, 1), CalSelectedColor);
    EXPECT_EQ(model->BackColor(1, 0), CalNormalColor);
    EXPECT_EQ(Count("select * from pmcalendar"), 1);
}

TEST_F(Calendar, AJournalIsInsertedUpdatedAndDeletedWhenLeftAndItsDayMarked) {
    Show("December", 2026);
    ClickDay(5);
    const QString text = "Ahmad's day — café, naïve 'quotes'";
    Type(text);
    ClickDay(6);
    EXPECT_EQ(Stored("05 Dec 2026"), "('" + text + "')");
    EXPECT_EQ(ColourOf(5), CalFilledColor);
    ClickDay(5);
    EXPECT_EQ(journal->toPlainText(), text);
    // An opened day is a fresh text: the caret at its start, nothing of another day to undo.
    EXPECT_EQ(journal->textCursor().position(), 0);
    EXPECT_FALSE(journal->document()->isUndoAvailable());
    journal->moveCursor(QTextCursor::End);
    Type(" more");
    ClickDay(7);
    EXPECT_EQ(Count("select * from pmcalendar"), 1);
    EXPECT_EQ(Stored("05 Dec 2026"), "('" + text + " more')");

    // Only blanks left: the row goes.
    ClickDay(5);
    journal->selectAll();
    QTest::keyClick(journal, Qt::Key_Delete);
    Type("   ");
    ClickDay(6);
    EXPECT_EQ(Count("select * from pmcalendar"), 0);
    // All text deleted: the day is normal again.
    Type("brief");
    ClickDay(5);
    EXPECT_EQ(ColourOf(6), CalFilledColor);
    ClickDay(6);
    journal->clear();
    ClickDay(7);
    EXPECT_EQ(ColourOf(6), CalNormalColor);
    EXPECT_EQ(Count("select * from pmcalendar"), 0);
}

TEST_F(Calendar, DrawingMarksFilledDaysAndVisitingWritesNothing) {
    AddJournal("05 Dec 2026", "  padded  ");
    AddJournal("10 Dec 2026", "   ");
    AddJournal("15 Mar 2030", "far away");
    AddEvent("12 Dec 2026", "Birthday", "");
    Show("December", 2026);
    EXPECT_EQ(ColourOf(5), CalFilledColor);
    EXPECT_EQ(ColourOf(10), CalNormalColor) << "a journal of blanks is not marked";
    EXPECT_EQ(ColourOf(12), CalFilledColor) << "an event marks its day";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ClickDay(5);
    EXPECT_EQ(journal->toPlainText(), "padded");
    // On screen, the focused grid's current day is yellow and a filled day light blue; the
    // focus shows without tinting either.
    ASSERT_TRUE(flxCal->hasFocus());
    const QImage shot = flxCal->viewport()->grab().toImage();
    auto pixel = [&](int day) {
        const QPoint rc = CellOf(day);
        return shot.pixelColor(flxCal->CellRect(rc.x(), rc.y()).center());
    };
    EXPECT_EQ(pixel(5), QColor(255, 255, 0));
    EXPECT_EQ(pixel(12), QColor(128, 128, 255));
    // Changed behind the window's back: leaving must not write the loaded text over it.
    Exec("update pmcalendar set caljournal = 'elsewhere' where caldate = #05 Dec 2026#");
    ClickDay(6);
    Press("cmdNextMonth");
    EXPECT_EQ(Stored("05 Dec 2026"), "('elsewhere')");
    EXPECT_EQ(Stored("15 Mar 2030"), "('far away')");
}

TEST_F(Calendar, EventsAreSavedReplacedListedClickedBackAndDeleted) {
    Show("December", 2026);
    ClickDay(5);
    SetEvent("Birthday", "cake", QTime(9, 30), QTime(21, 5));
    Press("cmdCalEventSave");
    EXPECT_EQ(Listed(), QStringList({"Birthday|cake"}));
    EXPECT_EQ(cboEvent->currentText(), "Birthday") << "kept after a save";
    SetEvent("Birthday", "party", QTime(10, 0), QTime(11, 0));
    Press("cmdCalEventSave");
    EXPECT_EQ(Rows("select * from pmcaleventdate"),
              "(#2026-12-05#,'Birthday','party',@10:00:00,@11:00:00)");
    SetEvent("O'Brien's day", "it's on", QTime(0, 0), QTime(1, 0));
    Press("cmdCalEventSave");
    EXPECT_EQ(Listed().size(), 2);

    Press("cmdCalEventClear");
    EXPECT_TRUE(cboEvent->currentText().isEmpty());
    ClickItem(lvwDayEvents, "O'Brien's day");
    EXPECT_EQ(cboEvent->currentText(), "O'Brien's day");
    EXPECT_EQ(txtEventDetails->text(), "it's on");
    EXPECT_EQ(dtpEndTime->time(), QTime(1, 0));
    Press("cmdCalEventDelete");
    EXPECT_EQ(Listed(), QStringList({"Birthday|party"}));
    EXPECT_TRUE(cboEvent->currentText().isEmpty()) << "the editor empties after a delete";
    // A type the day does not have: nothing changes, the editor empties.
    cboEvent->setEditText("O'Brien's day");
    Press("cmdCalEventDelete");
    EXPECT_EQ(Listed(), QStringList({"Birthday|party"}));
    EXPECT_TRUE(cboEvent->currentText().isEmpty());
    ClickDay(6);
    EXPECT_EQ(ColourOf(5), CalFilledColor) << "marked by its event alone";
}

TEST_F(Calendar, UnknownTypesAreLoudOnSaveAndQuietOnLeaving) {
    Show("December", 2026);
    ClickDay(5);
    SetEvent("Picnic", "park", QTime(12, 0), QTime(13, 0));
    prompter->Expect("There isn't an event called 'Picnic'!  Please make sure that the event is "
                     "matches any one of those in the Drop-down box!",
                     "Pimora", MsgIcon::Information);
    Press("cmdCalEventSave");
    SetEvent("Picnic", "park", QTime(12, 0), QTime(13, 0));
    ClickDay(6); // quiet
    SetEvent("   ", "details only", QTime(1, 0), QTime(2, 0));
    Press("cmdCalEventSave"); // a blank name does nothing
    ClickDay(7);
    EXPECT_EQ(Count("select * from pmcaleventdate"), 0);
    // A known type typed in is saved when the user simply moves on.
    SetEvent("birthday", "moved on", QTime(8, 0), QTime(9, 0));
    ClickDay(8);
    EXPECT_EQ(Rows("select caldate, calevent, eventdetails from pmcaleventdate"),
              "(#2026-12-07#,'birthday','moved on')");
}

TEST_F(Calendar, ClosingSavesThePendingDayButNoEventWithoutAType) {
    for (const char* type : {"Birthday", ""}) {
        Show("December", 2026);
        ClickDay(24);
        Type(*type ? "Christmas Eve" : "");
        SetEvent(type, type + QString(" unsaved"), QTime(18, 0), QTime(19, 0));
        CloseForGood(window);
        EXPECT_FALSE(gConn);
        folder.Connect();
        EXPECT_EQ(Stored("24 Dec 2026"), "('Christmas Eve')");
        EXPECT_EQ(Rows("select caldate, eventdetails from pmcaleventdate"),
                  "(#2026-12-24#,'Birthday unsaved')");
        Open();
    }
}

TEST_F(Calendar, TheMonthJumpGoesOrRefusesAndTheSwapTradesPlaces) {
    Show("December", 2026);
    window->show();
    auto* jump = C<QFrame>("fraEditMonthYear");
    auto* cboMonth = C<QComboBox>("cboMonth");
    auto* cboYear = C<QComboBox>("cboYear");
    QTest::mouseDClick(lblCalMonth, Qt::LeftButton);
    EXPECT_TRUE(jump->isVisible());
    for (auto [month, year] : {std::pair{"Smarch", "2031"}, std::pair{"March", "20x1"}}) {
        cboMonth->setCurrentText(month);
        cboYear->setCurrentText(year);
        prompter->Expect("Please choose a month from January to December and type a year from "
                         "100 to 9999.",
                         "Pimora", MsgIcon::Exclamation);
        Press("cmdOK");
        EXPECT_TRUE(jump->isVisible());
    }
    EXPECT_EQ(lblCalMonth->text(), "December 2026");
    cboYear->setCurrentText("2031");
    Press("cmdOK");
    EXPECT_EQ(lblCalMonth->text(), "March 2031");
    EXPECT_FALSE(jump->isVisible());
    // Enter on the label opens it; navigating with the buttons closes it.
    lblCalMonth->setFocus();
    QTest::keyClick(lblCalMonth, Qt::Key_Return);
    EXPECT_TRUE(jump->isVisible());
    Press("cmdPrevMonth");
    EXPECT_FALSE(jump->isVisible());
    EXPECT_EQ(lblCalMonth->text(), "February 2031");

    auto tops = [&] {
        return QPoint(GeometryTwips(C<QFrame>("fraCal")).top,
                      GeometryTwips(C<QWidget>("fraDayEvents")).top);
    };
    EXPECT_EQ(tops(), QPoint(900, 6840));
    Menu("mnuSwapCal");
    EXPECT_EQ(tops(), QPoint(4080, 900));
    Menu("mnuSwapCal");
    EXPECT_EQ(tops(), QPoint(900, 6840));
}

TEST_F(Calendar, EventTypesAreAddedDescribedAndDeletedUnlessUsed) {
    AddEvent("05 Dec 2026", "Birthday", "");
    Show("December", 2026);
    ClickDay(6);
    cboEvent->setEditText("half-typed");
    auto types = [](QTreeWidget* list) {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(0) + '|' + list->topLevelItem(i)->text(1);
        return out;
    };
    DialogDriver driver([&](QDialog& d) {
        auto& dialog = dynamic_cast<frmEvents&>(d);
        EXPECT_EQ(types(Named<QTreeWidget>(&dialog, "lvwEvents")),
                  QStringList({"Birthday|", "O'Brien's day|"}));
        Named<QLineEdit>(&dialog, "txtEvent")->setText("  Anniversary  ");
        Named<QLineEdit>(&dialog, "txtDesc")->setText(" yearly ");
        Named<QPushButton>(&dialog, "cmdEventSave")->click();
        EXPECT_TRUE(Named<QLineEdit>(&dialog, "txtEvent")->text().isEmpty() &&
                    Named<QLineEdit>(&dialog, "txtDesc")->text().isEmpty());
        EXPECT_EQ(cboEvent->findText("Anniversary"), 0) << "the day's list has it at once";
        ClickItem(Named<QTreeWidget>(&dialog, "lvwEvents"), "Birthday");
        EXPECT_EQ(Named<QLineEdit>(&dialog, "txtEvent")->text(), "Birthday");
        Named<QLineEdit>(&dialog, "txtDesc")->setText("Cake");
        Named<QPushButton>(&dialog, "cmdEventSave")->click();
        prompter->Expect("Please key in an Event Name!", "Pimora", MsgIcon::Exclamation);
        Named<QLineEdit>(&dialog, "txtEvent")->setText("   ");
        Named<QPushButton>(&dialog, "cmdEventSave")->click();

        ClickItem(Named<QTreeWidget>(&dialog, "lvwEvents"), "Birthday");
        prompter->Expect("The Event is currently being used, and cannot be deleted!");
        Named<QPushButton>(&dialog, "cmdEventDel")->click();
        EXPECT_TRUE(Named<QLineEdit>(&dialog, "txtEvent")->text().isEmpty()) << "emptied anyway";
        Named<QLineEdit>(&dialog, "txtEvent")->setText(" Zebra ");
        prompter->Expect("There is no such Event (Zebra) to delete!");
        Named<QPushButton>(&dialog, "cmdEventDel")->click();
        ClickItem(Named<QTreeWidget>(&dialog, "lvwEvents"), "O'Brien's day");
        Named<QPushButton>(&dialog, "cmdEventDel")->click();
        Named<QPushButton>(&dialog, "Command3")->click();
        return dialog.result();
    });
    Menu("mnuMaintEvents");
    EXPECT_EQ(driver.Shown(), 1);
    EXPECT_EQ(Rows("select calevent, caleventdesc from pmcalevent order by calevent"),
              "('Anniversary',' yearly ')('Birthday','Cake')");
    EXPECT_EQ(cboEvent->currentText(), "half-typed") << "kept over refills";
}

TEST_F(Calendar, TheBrowserPutsItsChoiceInTheEditorAndWritesNothing) {
    Show("December", 2026);
    ClickDay(5);
    int round = 0;
    DialogDriver driver([&](QDialog& d) {
        auto& browser = dynamic_cast<frmEventsBrowse&>(d);
        if (++round == 1) {
            ClickItem(Named<QTreeWidget>(&browser, "lvwEvents"), "O'Brien's day");
            Named<QPushButton>(&browser, "cmdSelect")->click();
        } else if (round == 2) {
            Named<QPushButton>(&browser, "cmdCancel")->click();
        } else {
            const QPoint at =
                Named<QTreeWidget>(&browser, "lvwEvents")
                    ->visualItemRect(Named<QTreeWidget>(&browser, "lvwEvents")->topLevelItem(0))
                    .center();
            QTest::mouseClick(Named<QTreeWidget>(&browser, "lvwEvents")->viewport(), Qt::LeftButton,
                              {}, at);
            QTest::mouseDClick(Named<QTreeWidget>(&browser, "lvwEvents")->viewport(),
                               Qt::LeftButton, {}, at);
        }
        return browser.result();
    });
    for (const char* expected : {"O'Brien's day", "O'Brien's day", "Birthday"}) {
        Named<QPushButton>(window.get(), "cmdBrowseEvents")->click();
        EXPECT_EQ(cboEvent->currentText(), expected) << round;
    }
    EXPECT_EQ(Count("select * from pmcaleventdate"), 0);
}

// A desktop whose lists open an item on a single click.
class SingleClickActivates : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_ItemView_ActivateItemOnSingleClick)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

class CalendarSearching : public Calendar {
protected:
    void SetUp() override {
        Calendar::SetUp();
        search = &part->Search();
    }
    void SearchJournal(const QString& text, bool all = true) {
        Named<QLineEdit>(window.get(), "txtCalSearch")->setText(text);
        (all ? Named<QRadioButton>(window.get(), "optCalSearchAll")
             : Named<QRadioButton>(window.get(), "optCalSearchToday"))
            ->setChecked(true);
        Named<QPushButton>(window.get(), "cmdCalSearch")->click();
    }
    void SearchEvents(const QString& text, QRadioButton* mode) {
        Named<QLineEdit>(window.get(), "txtCalEventsSearch")->setText(text);
        mode->setChecked(true);
        Named<QPushButton>(window.get(), "cmdCalEventsSearch")->click();
    }
    QStringList Found(int columns = 1) const {
        QStringList out;
        for (int i = 0; i < Named<QTreeWidget>(window.get(), "lvwCalSearch")->topLevelItemCount();
             ++i) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << Named<QTreeWidget>(window.get(), "lvwCalSearch")->topLevelItem(i)->text(c);
            out << cells.join('|');
        }
        return out;
    }
    QString Selected() const {
        const QTextCursor c = journal->textCursor();
        return QString("%1:%2").arg(c.selectionStart()).arg(c.selectedText());
    }
    void ExpectNothingFound() { prompter->Expect("Nothing found!"); }
    CalendarSearch* search = nullptr;
};

TEST_F(CalendarSearching, JournalsAreListedNewestFirstWithLiteralPercentSigns) {
    AddJournal("05 Dec 2026", "it's 50% done");
    AddJournal("06 Jan 2027", "50 percent, it's early");
    AddJournal("03 Nov 2026", "nothing much");
    SearchJournal("  it's  ");
    EXPECT_EQ(Found(2),
              QStringList({"2027-01-06|50 percent, it's early", "2026-12-05|it's 50% done"}));
    EXPECT_EQ(Named<QLabel>(window.get(), "lblCalendarFound")->text(), "2");
    SearchJournal("50%");
    EXPECT_EQ(Found(), QStringList({"2026-12-05"}));
    ExpectNothingFound();
    SearchJournal("zebra");
    EXPECT_TRUE(Found().isEmpty());
    EXPECT_EQ(Named<QLabel>(window.get(), "lblCalendarFound")->text(), "0");
    prompter->Expect("Please enter a string to search for!", "Nothing to search!",
                     MsgIcon::Exclamation);
    SearchJournal("   ");

    Named<QPushButton>(window.get(), "cmdCalSearchClear")->click();
    EXPECT_TRUE(Found().isEmpty());
    EXPECT_TRUE(Named<QLineEdit>(window.get(), "txtCalSearch")->text().isEmpty());
}

TEST_F(CalendarSearching, AnyTextAUserTypesIsSearchedForAsItIs) {
    AddJournal("05 Dec 2026", "[x] it's #1 * a?b ! ünïcödé");
    const std::pair<QString, bool> texts[] = {
        {"it's", true},      {"[", true},
        {"[x]", true},       {"#1", true},
        {"a?b", true},       {"!", true},
        {"ÜNÏCÖDÉ", true},   {"_", true},
        {"]'; drop", false}, {QString(10000, 'x'), false},
    };
    for (const auto& [text, found] : texts) {
        if (!found)
            ExpectNothingFound();
        SearchJournal(text);
        EXPECT_EQ(Found(), found ? QStringList({"2026-12-05"}) : QStringList())
            << text.left(20).toStdString();
    }
    EXPECT_EQ(Count("select * from pmcalendar"), 1);
}

TEST_F(CalendarSearching, TheSelectedDayIsSearchedAndTheFindBarStepsAndWraps) {
    AddJournal("05 Dec 2026", "Cat and cat and CAT");
    Show("December", 2026);
    ClickDay(5);
    auto* tabs = C<TabStrip>("tabCalendar");
    tabs->SelectKey("Search");
    EXPECT_FALSE(Named<QCheckBox>(window.get(), "chkCalSearchCase")->isEnabled())
        << "only for the selected day";
    Named<QRadioButton>(window.get(), "optCalSearchToday")->setChecked(true);
    EXPECT_TRUE(Named<QCheckBox>(window.get(), "chkCalSearchCase")->isEnabled());
    SearchJournal("cat", false);
    EXPECT_EQ(tabs->currentIndex(), 0) << "the journal comes to the front";
    EXPECT_FALSE(Named<QGroupBox>(window.get(), "fraCalFindToday")->isHidden());
    EXPECT_EQ(Selected(), "0:Cat");
    EXPECT_EQ(Named<QLineEdit>(window.get(), "txtCalFind")->text(), "cat");
    EXPECT_EQ(Named<QLabel>(window.get(), "lblCalendarFound")->text(), "0");
    Named<QPushButton>(window.get(), "cmdCalFind")->click();
    EXPECT_EQ(Selected(), "8:cat");
    Named<QPushButton>(window.get(), "cmdCalFind")->click();
    EXPECT_EQ(Selected(), "16:CAT");
    prompter->Expect("No more instances found!  Would you like to search from the top again?",
                     "Find Next", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::Yes);
    Named<QPushButton>(window.get(), "cmdCalFind")->click();
    EXPECT_EQ(Selected(), "0:Cat");
    Named<QPushButton>(window.get(), "cmdCalFindClose")->click();
    EXPECT_TRUE(Named<QGroupBox>(window.get(), "fraCalFindToday")->isHidden());

    // The database ignores case; the find does not when asked to.
    Named<QCheckBox>(window.get(), "chkCalSearchCase")->setChecked(true);
    prompter->Expect("Cannot find 'cAt'!", "Not Found", MsgIcon::Critical);
    SearchJournal("cAt", false);
    ClickDay(6);
    EXPECT_TRUE(Named<QGroupBox>(window.get(), "fraCalFindToday")->isHidden())
        << "entering a day hides the bar";
    ExpectNothingFound();
    SearchJournal("cat", false);
    // No day selected: the day cannot be written, and the search says so.
    Click(1, 0);
    prompter->ExpectError("Error while doing Calendar search!", "Search Error!",
                          "Syntax error in date in query expression '##'.");
    SearchJournal("cat", false);
}

TEST_F(CalendarSearching, EventsAreSearchedInTheirThreeWaysOneLineAnEvent) {
    AddEvent("05 Dec 2026", "Birthday", "cake for Ann");
    AddEvent("05 Dec 2026", "O''Brien''s day", "birthday party");
    AddEvent("01 Jan 2027", "Birthday", "none");
    SearchEvents("BIRTHDAY", Named<QRadioButton>(window.get(), "optCalEventsAll"));
    QStringList found = Found(3);
    EXPECT_EQ(found.value(0), "2027-01-01|Birthday|none") << "newest first";
    found.sort(); // a day's events come in any order
    EXPECT_EQ(found,
              QStringList({"2026-12-05|Birthday|cake for Ann",
                           "2026-12-05|O'Brien's day|birthday party", "2027-01-01|Birthday|none"}));
    SearchEvents("birthday", Named<QRadioButton>(window.get(), "optCalEventsTitleOnly"));
    EXPECT_EQ(Named<QLabel>(window.get(), "lblCalendarFound")->text(), "2");
    SearchEvents("birthday", Named<QRadioButton>(window.get(), "optCalEventsDescOnly"));
    EXPECT_EQ(Found(2), QStringList({"2026-12-05|O'Brien's day"}));
    Named<QPushButton>(window.get(), "cmdCalEventsClear")->click();
    EXPECT_EQ(Named<QLabel>(window.get(), "lblCalendarFound")->text(), "0");
}

TEST_F(CalendarSearching, AResultOpensItsOwnDayWhateverTheDateFormat) {
    AddJournal("03 Feb 2027", "far ahead");
    gShortDateFormat = "dd/mm/yyyy";
    Show("December", 2026);
    ClickDay(5);
    Type("typed before the search");
    SearchJournal("far");
    EXPECT_EQ(Found(), QStringList({"03/02/2027"}));
    // One double-click opens the day once, even where the desktop activates items on a
    // single click (there a click only selects); Enter opens it once too.
    QTreeWidget* list = Named<QTreeWidget>(window.get(), "lvwCalSearch");
    QSignalSpy opened(search, &CalendarSearch::dayChosen);
    SingleClickActivates style;
    list->setStyle(&style);
    const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(opened.size(), 0);
    DoubleClick(list->viewport(), at);
    EXPECT_EQ(opened.size(), 1);
    list->setStyle(nullptr);
    EXPECT_EQ(lblSelDate->text(), "3 February 2027");
    EXPECT_EQ(journal->toPlainText(), "far ahead");
    EXPECT_EQ(C<TabStrip>("tabCalendar")->currentIndex(), 0);
    EXPECT_EQ(Stored("05 Dec 2026"), "('typed before the search')");
    C<TabStrip>("tabCalendar")->SelectKey("Search");
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(opened.size(), 2);
    // An empty format writes the general date; one that shows no day falls back to ISO.
    gShortDateFormat = "";
    SearchJournal("far");
    EXPECT_EQ(Found(), QStringList({"2/3/27"}));
    EXPECT_EQ(ResultDateText(QDate(2027, 2, 3), "!!"), "2027-02-03");
}

} // namespace

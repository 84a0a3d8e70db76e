#include "CalendarFixture.h"

#include "calendar/CalendarSearch.h"
#include "calendar/JournalPanel.h"
#include "common/AppGlobals.h"
#include "ui/widgets/TabStrip.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class CalendarSearching : public Calendar {
protected:
    void SetUp() override {
        Calendar::SetUp();
        search = &cal->part->Search();
        journal = &cal->part->Journal();
    }
    void WriteJournal(const char* day, const char* text) {
        QString t = QString::fromUtf8(text);
        Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values ('%1','%2')")
                 .arg(QString::fromLatin1(day), t.replace('\'', "''")));
    }
    void Event(const char* day, const char* type, const char* details) {
        Exec(QStringLiteral("insert into pmcaleventdate (caldate,calevent,eventdetails,timestart,"
                            "timeend) values (#%1#,'%2','%3',#12:00:00 AM#,#12:00:00 AM#)")
                 .arg(QString::fromLatin1(day), QString::fromLatin1(type),
                      QString::fromLatin1(details)));
    }
    void SearchJournal(const QString& text, bool all = true) {
        search->txtCalSearch->setText(text);
        (all ? search->optCalSearchAll : search->optCalSearchToday)->setChecked(true);
        search->cmdCalSearch->click();
    }
    void SearchEvents(const QString& text, QRadioButton* mode) {
        search->txtCalEventsSearch->setText(text);
        mode->setChecked(true);
        search->cmdCalEventsSearch->click();
    }
    QStringList Listed(int columns = 2) const {
        QStringList out;
        for (int i = 0; i < search->lvwCalSearch->topLevelItemCount(); ++i) {
            QStringList cells;
            for (int c = 0; c < columns; ++c)
                cells << search->lvwCalSearch->topLevelItem(i)->text(c);
            out << cells.join('|');
        }
        return out;
    }
    QString Selected() const {
        const QTextCursor c = cal->rtfCalQJournal->textCursor();
        return QStringLiteral("%1:%2").arg(c.selectionStart()).arg(c.selectedText());
    }
    void ExpectNothingFound() {
        prompter->Expect(QStringLiteral("Nothing found!"), QStringLiteral("Pimora"), MsgIcon::None,
                         MsgButtons::OK);
    }
    CalendarSearch* search = nullptr;
    JournalPanel* journal = nullptr;
};

TEST_F(CalendarSearching, JournalsAreListedNewestFirstWithLiteralPercentSigns) {
    WriteJournal("05 Dec 2026", "it's 50% done");
    WriteJournal("06 Jan 2027", "50 percent, it's early");
    WriteJournal("03 Nov 2026", "nothing much");
    EXPECT_FALSE(search->chkCalSearchCase->isEnabled());
    SearchJournal(QStringLiteral("  it's  "));
    EXPECT_EQ(Listed(),
              QStringList({"2027-01-06|50 percent, it's early", "2026-12-05|it's 50% done"}));
    EXPECT_EQ(search->lvwCalSearch->headerItem()->text(1), QStringLiteral("Journal Entries"));
    EXPECT_EQ(search->lblCalendarFound->text(), QStringLiteral("2"));
    SearchJournal(QStringLiteral("50%"));
    EXPECT_EQ(Listed(1), QStringList({"2026-12-05"}));
    ExpectNothingFound();
    SearchJournal(QStringLiteral("zebra"));
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(search->lblCalendarFound->text(), QStringLiteral("0"));
    prompter->Expect(QStringLiteral("Please enter a string to search for!"),
                     QStringLiteral("Nothing to search!"), MsgIcon::Exclamation, MsgButtons::OK);
    SearchJournal(QStringLiteral("   "));

    // A header click turns the order and keeps it for the next search.
    SearchJournal(QStringLiteral("it's"));
    search->lvwCalSearch_ColumnClick(0);
    EXPECT_EQ(Listed(1), QStringList({"2027-01-06", "2026-12-05"}));
    search->lvwCalSearch_ColumnClick(0);
    EXPECT_EQ(Listed(1), QStringList({"2026-12-05", "2027-01-06"}));
    search->cmdCalSearchClear->click();
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_TRUE(search->txtCalSearch->text().isEmpty());
}

TEST_F(CalendarSearching, AnyTextAUserTypesRunsTheOneStatementItMakes) {
    WriteJournal("05 Dec 2026", "[x] it's #1 * a?b ! ünïcödé");
    const QString texts[] = {QStringLiteral("it's"),     QStringLiteral("["),
                             QStringLiteral("[x]"),      QStringLiteral("#1"),
                             QStringLiteral("a?b"),      QStringLiteral("!"),
                             QStringLiteral("ÜNÏCÖDÉ"),  QStringLiteral("_"),
                             QStringLiteral("]'; drop"), QString(10000, QLatin1Char('x'))};
    for (const QString& text : texts) {
        search->txtCalSearch->setText(text);
        const int before = static_cast<int>(prompter->Shown().size());
        prompter->Expect(QStringLiteral("Nothing found!"), QStringLiteral("Pimora"), MsgIcon::None,
                         MsgButtons::OK);
        search->optCalSearchAll->setChecked(true);
        search->cmdCalSearch->click();
        QString pattern = text.trimmed();
        pattern.replace('%', "[%]").replace('\'', "''");
        EXPECT_EQ(gSQL, QStringLiteral("select * from pmcalendar where caljournal like '%") +
                            pattern + QStringLiteral("%' order by caldate desc"));
        if (static_cast<int>(prompter->Shown().size()) == before) {
            // Found: the box the script expected was not shown, so take it back.
            EXPECT_EQ(Listed(1), QStringList({"2026-12-05"})) << text.left(20).toStdString();
            prompter->Message(QStringLiteral("Nothing found!"), MsgButtons::OK, MsgIcon::None,
                              QStringLiteral("Pimora"));
        }
    }
    EXPECT_EQ(Count(QStringLiteral("select * from pmcalendar")), 1);
}

TEST_F(CalendarSearching, TheSelectedDayIsSearchedAndTheFindBarStepsAndWraps) {
    WriteJournal("05 Dec 2026", "Cat and cat and CAT");
    Show("December", 2026);
    ClickDay(5);
    auto* tabs = Named<TabStrip>(window.get(), "tabCalendar");
    tabs->SelectKey(QStringLiteral("Search"));
    search->optCalSearchToday->setChecked(true);
    EXPECT_TRUE(search->chkCalSearchCase->isEnabled());
    SearchJournal(QStringLiteral("cat"), false);
    EXPECT_EQ(tabs->currentIndex(), 0) << "the journal comes to the front";
    EXPECT_FALSE(journal->fraCalFindToday->isHidden());
    EXPECT_EQ(Selected(), QStringLiteral("0:Cat"));
    EXPECT_EQ(journal->txtCalFind->text(), QStringLiteral("cat"));
    EXPECT_EQ(search->lblCalendarFound->text(), QStringLiteral("0"));
    journal->cmdCalFind->click();
    EXPECT_EQ(Selected(), QStringLiteral("8:cat"));
    journal->cmdCalFind->click();
    EXPECT_EQ(Selected(), QStringLiteral("16:CAT"));
    prompter->Expect(QStringLiteral("No more instances found!  Would you like to search from the "
                                    "top again?"),
                     QStringLiteral("Find Next"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::Yes);
    journal->cmdCalFind->click();
    EXPECT_EQ(Selected(), QStringLiteral("0:Cat"));
    journal->cmdCalFindClose->click();
    EXPECT_TRUE(journal->fraCalFindToday->isHidden());

    // The database ignores case; the find does not when asked to.
    search->chkCalSearchCase->setChecked(true);
    prompter->Expect(QStringLiteral("Cannot find 'cAt'!"), QStringLiteral("Not Found"),
                     MsgIcon::Critical, MsgButtons::OK);
    SearchJournal(QStringLiteral("cAt"), false);
    // Entering a day hides the bar.
    ClickDay(6);
    EXPECT_TRUE(journal->fraCalFindToday->isHidden());
    ExpectNothingFound();
    SearchJournal(QStringLiteral("cat"), false);
    // No day selected: the day cannot be written, and the search says so.
    Click(1, 0);
    prompter->Expect(QStringLiteral("Error: Error while doing Calendar search!\r\nDesc: Syntax "
                                    "error in date in query expression '##'."),
                     QStringLiteral("Search Error!"), MsgIcon::Critical, MsgButtons::OK);
    SearchJournal(QStringLiteral("cat"), false);
}

TEST_F(CalendarSearching, EventsAreSearchedInTheirThreeWays) {
    Event("05 Dec 2026", "Birthday", "cake for Ann");
    Event("05 Dec 2026", "O''Brien''s day", "birthday party");
    Event("01 Jan 2027", "Birthday", "none");
    SearchEvents(QStringLiteral("BIRTHDAY"), search->optCalEventsAll);
    QStringList listed = Listed(3);
    EXPECT_EQ(listed.value(0), QStringLiteral("2027-01-01|Birthday|none")) << "newest first";
    listed.sort(); // one line per event; a day's events come in any order
    EXPECT_EQ(listed,
              QStringList({"2026-12-05|Birthday|cake for Ann",
                           "2026-12-05|O'Brien's day|birthday party", "2027-01-01|Birthday|none"}));
    EXPECT_EQ(search->lvwCalSearch->headerItem()->text(2), QStringLiteral("Event Details"));
    SearchEvents(QStringLiteral("birthday"), search->optCalEventsTitleOnly);
    EXPECT_EQ(search->lblCalendarFound->text(), QStringLiteral("2"));
    SearchEvents(QStringLiteral("birthday"), search->optCalEventsDescOnly);
    EXPECT_EQ(Listed(2), QStringList({"2026-12-05|O'Brien's day"}));
    search->cmdCalEventsClear->click();
    EXPECT_EQ(search->lblCalendarFound->text(), QStringLiteral("0"));
}

TEST_F(CalendarSearching, AResultOpensItsOwnDayWhateverTheDateFormat) {
    WriteJournal("03 Feb 2027", "far ahead");
    gShortDateFormat = QStringLiteral("dd/mm/yyyy");
    Show("December", 2026);
    ClickDay(5);
    Type(cal->rtfCalQJournal, QStringLiteral("typed before the search"));
    SearchJournal(QStringLiteral("far"));
    EXPECT_EQ(Listed(1), QStringList({"03/02/2027"}));
    search->lvwCalSearch->setCurrentItem(search->lvwCalSearch->topLevelItem(0));
    search->lvwCalSearch_DblClick();
    EXPECT_EQ(cal->lblSelDate->text(), QStringLiteral("3 February 2027"));
    EXPECT_EQ(cal->rtfCalQJournal->toPlainText(), QStringLiteral("far ahead"));
    EXPECT_EQ(Named<TabStrip>(window.get(), "tabCalendar")->currentIndex(), 0);
    EXPECT_EQ(Journal("05 Dec 2026"), QStringLiteral("('typed before the search')"));

    EXPECT_EQ(ResultDateText(QDate(2027, 2, 3), QString()), QStringLiteral("2027-02-03"));
    EXPECT_EQ(ResultDateText(QDate(2027, 2, 3), QStringLiteral("!!")),
              QStringLiteral("2027-02-03"));
    EXPECT_EQ(ResultDateText(QDate(2027, 2, 3), QStringLiteral("d mmm yyyy")),
              QStringLiteral("3 Feb 2027"));
}

} // namespace

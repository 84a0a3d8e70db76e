#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <vector>

struct TwipsSetting;

class CalendarGrid;
class CalendarSearch;
class DayEventsPanel;
class JournalPanel;
class QAction;
class QFrame;
class QMenu;
class TabStrip;
class TextFinder;

// The Calendar function: fills its function frame with the month grid and its navigation,
// the day's events, the journal and the search tabs, and fills its menu. It wires the
// panels: entering a day loads it into them, leaving it saves them.
class CalendarPart : public QObject {
    Q_OBJECT
public:
    CalendarPart(QFrame* frame, QMenu* menu, TextFinder& finder);
    ~CalendarPart() override;

    // The set-up at the window's load; the menu's items work from then on.
    void BuildCalendarTab();
    void PopulateHeadsUp() {}
    void flxCal_EnterCell();
    void flxCal_LeaveCell();
    void ClearCalendarEntry();
    void mnuSwapCal_Click();
    void mnuMaintEvents_Click();
    // Shows the month of a day, selects the day and brings its journal to the front.
    void FindDay(const QDate& day);
    // After the database was replaced: the event types, the month and the selected day again.
    void ShowRestoredData();
    void ShowCalendarFind(bool show);
    // The calendar's share of closing the window: the pending event, then the journal.
    // False when something typed could not be saved (its error has been shown).
    bool SavePendingWork();
    // The sizes the window's resize rules set on the calendar's controls.
    void ApplySizes(const std::vector<TwipsSetting>& settings);
    // The journal's top in twips: lower while its find bar is open.
    int JournalTop() const;

    CalendarGrid& Grid() const { return *grid_; }
    JournalPanel& Journal() const { return *journal_; }
    DayEventsPanel& Events() const { return *events_; }
    CalendarSearch& Search() const { return *search_; }

private:
    TabStrip* tabCalendar = nullptr;
    TabStrip* tabSearchCalendar = nullptr;
    QWidget* fraCalDiary = nullptr;
    QWidget* fraCalSearch = nullptr;
    QWidget* fraSearchJournal = nullptr;
    QWidget* fraSearchEvents = nullptr;

    void BuildMenu(QMenu* menu);

    QFrame* frame_;
    CalendarGrid* grid_ = nullptr;
    JournalPanel* journal_ = nullptr;
    DayEventsPanel* events_ = nullptr;
    CalendarSearch* search_ = nullptr;
    TextFinder& finder_;
    QList<QAction*> actions_;
};

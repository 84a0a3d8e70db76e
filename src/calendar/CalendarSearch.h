#pragma once

#include "store/CalendarStore.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <vector>

struct TwipsSetting;

class QCheckBox;
class CalendarGrid;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

// The calendar's Search tab: journals (every day, or the selected day, which hands the
// match to the journal's find bar) and events, with the shared results list. A result asks
// for its day; it does not show it itself.
class CalendarSearch : public QObject {
    Q_OBJECT
public:
    // grid: its selected day is the day a selected-day search reads.
    CalendarSearch(QWidget* searchFrame, QWidget* journalFrame, QWidget* eventsFrame,
                   const CalendarGrid& grid);

    // The options as the set-up chooses them: every journal, every field of the events.
    void ChooseDefaults();
    // The sizes the window's resize rules set on the results list.
    void ApplySizes(const std::vector<TwipsSetting>& settings);
    void SetResultsLvw(const QString& sSearchType);
    void cmdCalSearch_Click();
    void cmdCalEventsSearch_Click();
    void cmdCalSearchClear_Click();
    void cmdCalEventsClear_Click();
    void lvwCalSearch_ColumnClick(int column);
    void lvwCalSearch_DblClick();

signals:
    // A result was opened: show this day.
    void dayChosen(const QDate& day);
    // The selected day's journal holds the text: find it there.
    void foundInDay(const QString& what, bool caseSensitive);

private:
    QLineEdit* txtCalSearch = nullptr;
    QPushButton* cmdCalSearch = nullptr;
    QPushButton* cmdCalSearchClear = nullptr;
    QRadioButton* optCalSearchAll = nullptr;
    QRadioButton* optCalSearchToday = nullptr;
    QCheckBox* chkCalSearchCase = nullptr;
    QLineEdit* txtCalEventsSearch = nullptr;
    QPushButton* cmdCalEventsSearch = nullptr;
    QPushButton* cmdCalEventsClear = nullptr;
    QRadioButton* optCalEventsAll = nullptr;
    QRadioButton* optCalEventsTitleOnly = nullptr;
    QRadioButton* optCalEventsDescOnly = nullptr;
    QTreeWidget* lvwCalSearch = nullptr;
    QLabel* lblCalendarFound = nullptr;

    // Lists what a search found, or says that it found nothing.
    void List(QList<CalendarStore::Found> found, bool events);

    const CalendarGrid& grid_;
    bool descending_ = false; // the list's order, turned by every header click
};

// The date of a result as the user's short-date format writes it (an empty one: the general
// date); a format that shows no part of a date falls back to yyyy-mm-dd.
QString ResultDateText(const QDate& day, const QString& format);

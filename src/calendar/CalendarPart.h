#pragma once

#include "calendar/CalGrid.h"

#include <QObject>
#include <QString>

class frmMain;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;
class QVBoxLayout;

// The Calendar function of the main window: the month grid and its navigation, the day's
// journal and the day's events.
class CalendarPart : public QObject {
    Q_OBJECT
public:
    explicit CalendarPart(frmMain& form);

    // Month grid and navigation.
    void RenderCalFrame();
    void RenderCalMonth(const QString& month, const QString& year);
    void PopulateCalendarCombos();
    void PopulateFilledDays(const QDate& firstDay);
    void NavigateCalByDay(const QString& day, const QString& direction);
    void flxCal_EnterCell();
    void flxCal_LeaveCell();
    void cmdPrevMonth_Click();
    void cmdNextMonth_Click();
    void cmdPrevDay_Click();
    void cmdNextDay_Click();
    void cmdCalToday_Click();
    void cmdOK_Click();
    void lblCalMonth_DblClick();
    void mnuSwapCal_Click();
    void PopulateHeadsUp() {}

    // Journal.
    void ClearCalendarEntry();
    bool SaveCalendarEntry(const QString& day);

    // Events.
    void PopulateEventsCombo();
    void RefreshEventsList();
    bool SaveEventEntry(const QString& day, bool quiet);
    bool DeleteEventEntry(const QString& day);
    void cmdCalEventSave_Click();
    void cmdCalEventDelete_Click();
    void cmdCalEventClear_Click();
    void lvwDayEvents_Click();

    // The calendar's share of closing the window.
    void SavePendingWork();

    CalGridModel flxCalModel;
    CalGridView* flxCal = nullptr;
    QFrame* fraCal = nullptr;
    QWidget* fraDayEvents = nullptr;
    QFrame* fraEditMonthYear = nullptr;
    QPushButton* cmdPrevMonth = nullptr;
    QPushButton* cmdPrevDay = nullptr;
    QPushButton* cmdCalToday = nullptr;
    QPushButton* cmdNextDay = nullptr;
    QPushButton* cmdNextMonth = nullptr;
    QLabel* lblCalMonth = nullptr;
    QLabel* lblSelDate = nullptr;
    QComboBox* cboMonth = nullptr;
    QComboBox* cboYear = nullptr;
    QPushButton* cmdOK = nullptr;
    QPlainTextEdit* rtfCalQJournal = nullptr;
    QTreeWidget* lvwDayEvents = nullptr;
    QComboBox* cboEvent = nullptr;
    QPushButton* cmdBrowseEvents = nullptr;
    QLineEdit* txtEventDetails = nullptr;
    QTimeEdit* dtpStartTime = nullptr;
    QTimeEdit* dtpEndTime = nullptr;
    QPushButton* cmdCalEventSave = nullptr;
    QPushButton* cmdCalEventDelete = nullptr;
    QPushButton* cmdCalEventClear = nullptr;

    bool JournalChanged = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGridFrame(QWidget* parent);
    void BuildEventsFrame(QWidget* parent);
    void BuildJournal(QWidget* parent);
    void LeaveCurrentDay();
    void SelectDay(int day);
    void LoadJournal();
    void ClearEventEditor();
    void ShowEventMissing(const QString& name);
    bool DayOfText(const QString& text, QDate& day) const;

    frmMain& form_;
    QVBoxLayout* leftColumn_ = nullptr;
    bool calendarOnTop_ = true;
    bool dayLoadFailed_ = false;
};

#pragma once

#include "controls/Twips.h"

#include <QObject>
#include <QString>

class CalGridModel;
class CalGridView;
class QComboBox;
class QDate;
class QFrame;
class QLabel;
class QPushButton;

// The month grid with its navigation: the frame fraCal with the day and month buttons, the
// month label and its jump, the grid and the selected-day label.
class CalendarGrid : public QObject {
    Q_OBJECT
public:
    explicit CalendarGrid(QWidget* parent);

    void PopulateCalendarCombos();
    void RenderCalFrame();
    // Draws a month named in full English with its year and selects its first day. Refuses
    // (false, nothing drawn) a month or year that does not name one from 100 to 9999, and
    // stops (false) when the day being left could not be saved.
    bool RenderCalMonth(const QString& month, const QString& year);
    void PopulateFilledDays(const QDate& firstDay);
    void NavigateCalByDay(const QString& day, const QString& direction);
    // Leaves the current day, draws its month when another is shown, and selects the day.
    // False when the day being left could not be saved: it stays selected.
    bool GoToDay(const QDate& day);
    // Moves the current cell off the current day, so that the day is left and saved.
    bool LeaveCurrentDay();

    // The selected day as its label shows it ("5 December 2026"), or empty.
    QString SelectedDay() const;
    // The label follows the current cell: its day of the shown month, or nothing for a blank
    // cell.
    void ShowSelectedDay();
    // The cells, their colours and the current cell.
    CalGridModel& Cells() const;
    // The frame's place in the function frame, in twips.
    TwipsRect Place() const;
    void Place(const TwipsRect& at);

    void cmdPrevMonth_Click();
    void cmdNextMonth_Click();
    void cmdPrevDay_Click();
    void cmdNextDay_Click();
    void cmdCalToday_Click();
    void cmdOK_Click();
    void lblCalMonth_DblClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame* fraCal = nullptr;
    CalGridView* flxCal = nullptr;
    CalGridModel* flxCalModel = nullptr; // owned by flxCal
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

    bool SelectDay(int day);
    bool ShowMonthOf(const QDate& day);
};

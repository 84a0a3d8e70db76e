#pragma once

#include "controls/Twips.h"

#include <QObject>
#include <QString>

class QComboBox;
class CalendarGrid;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;

// The selected day's events: the frame fraDayEvents with the list and the event editor.
class DayEventsPanel : public QObject {
    Q_OBJECT
public:
    // grid: its selected day is the day the list shows.
    DayEventsPanel(QWidget* parent, const CalendarGrid& grid);

    void PopulateEventsCombo();
    // Lists the selected day's events; throws the engine's error for the caller to report.
    void RefreshEventsList();
    // RefreshEventsList for callers without a handler of their own: a failure is reported.
    void RefreshEventsListReporting();
    bool SaveEventEntry(const QString& day, bool quiet);
    bool DeleteEventEntry(const QString& day);
    // Empties the list and the editor.
    void Clear();
    void ClearEventEditor();
    // Something typed in the editor: a type or details.
    bool EditorHasAnything() const;
    // Both a type and details: what closing the window saves.
    bool EditorHasBoth() const;
    int EventCount() const;

    // The frame's place in the function frame, in twips.
    TwipsRect Place() const;
    void Place(const TwipsRect& at);

    void cmdCalEventSave_Click();
    void cmdCalEventDelete_Click();
    void cmdCalEventClear_Click();
    // Picks a type from the browser into the editor; nothing is written.
    void cmdBrowseEvents_Click();
    void lvwDayEvents_Click();

private:
    QWidget* fraDayEvents = nullptr;
    QTreeWidget* lvwDayEvents = nullptr;
    QComboBox* cboEvent = nullptr;
    QPushButton* cmdBrowseEvents = nullptr;
    QLineEdit* txtEventDetails = nullptr;
    QTimeEdit* dtpStartTime = nullptr;
    QTimeEdit* dtpEndTime = nullptr;
    QPushButton* cmdCalEventSave = nullptr;
    QPushButton* cmdCalEventDelete = nullptr;
    QPushButton* cmdCalEventClear = nullptr;

    void ShowEventMissing(const QString& name);

    const CalendarGrid& grid_;
};

#pragma once

#include <QObject>
#include <QString>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QTreeWidget;

// The selected day's events: the frame fraDayEvents with the list and the event editor.
class DayEventsPanel : public QObject {
    Q_OBJECT
public:
    // selectedDay: the grid's selected-day label, the day the list shows.
    DayEventsPanel(QWidget* parent, const QLabel& selectedDay);

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

    void cmdCalEventSave_Click();
    void cmdCalEventDelete_Click();
    void cmdCalEventClear_Click();
    // Picks a type from the browser into the editor; nothing is written.
    void cmdBrowseEvents_Click();
    void lvwDayEvents_Click();

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

private:
    void ShowEventMissing(const QString& name);

    const QLabel& selectedDay_;
};

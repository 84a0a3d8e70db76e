#pragma once

#include <QObject>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class IdleSaver;
class TextFinder;

// The day's journal: the box rtfCalQJournal in the frame fraCalDiary, loaded when a day is
// entered and saved when it is left, with the find bar "Find in Calendar" above it.
class JournalPanel : public QObject {
    Q_OBJECT
public:
    // selectedDay: the grid's selected-day label, which decides whether anything is saved.
    JournalPanel(QWidget* frame, const QLabel& selectedDay, TextFinder& finder);

    void ShowCalendarFind(bool show);
    void cmdCalFind_Click();

    void Clear();
    // Loads the selected day's journal; throws the engine's error for the caller to report.
    void LoadJournal();
    // After a failed load the day is unknown: the box is read-only and nothing is saved for
    // the day until a day is entered again, so an empty box never replaces a stored journal.
    void SetLoadFailed(bool failed);
    bool SaveCalendarEntry(const QString& day);
    bool HasText() const;

    QPlainTextEdit* rtfCalQJournal = nullptr;
    QGroupBox* fraCalFindToday = nullptr;
    QLineEdit* txtCalFind = nullptr;
    QPushButton* cmdCalFind = nullptr;
    QCheckBox* chkCalFindCaseSensitive = nullptr;
    QPushButton* cmdCalFindClose = nullptr;
    bool JournalChanged = false;

private:
    const QLabel& selectedDay_;
    TextFinder& finder_;
    IdleSaver* saver_ = nullptr;
    bool loading_ = false; // text set by the program, not typed
    bool loadFailed_ = false;
};

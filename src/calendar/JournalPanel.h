#pragma once

#include <QObject>
#include <QString>
#include <vector>

struct TwipsSetting;

class QCheckBox;
class QGroupBox;
class CalendarGrid;
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
    // grid: its selected day decides whether anything is saved.
    JournalPanel(QWidget* frame, const CalendarGrid& grid, TextFinder& finder);

    void ShowCalendarFind(bool show);
    void cmdCalFind_Click();

    void Clear();
    // Loads the selected day's journal; throws the engine's error for the caller to report.
    void LoadJournal();
    // After a failed load the day is unknown: the box is read-only and nothing is saved for
    // the day until a day is entered again, so an empty box never replaces a stored journal.
    void SetLoadFailed(bool failed);
    bool SaveCalendarEntry(const QString& day);
    // A day was entered: what the box holds is the day's own text, not an edit.
    void MarkUnchanged() { JournalChanged = false; }
    // The find bar's text, so that its button goes on from a match found elsewhere.
    void SetFindText(const QString& text);
    // The box's top in twips: lower while the find bar is open.
    int Top() const;
    void ApplySizes(const std::vector<TwipsSetting>& settings);
    bool HasText() const;

private:
    QPlainTextEdit* rtfCalQJournal = nullptr;
    QGroupBox* fraCalFindToday = nullptr;
    QLineEdit* txtCalFind = nullptr;
    QPushButton* cmdCalFind = nullptr;
    QCheckBox* chkCalFindCaseSensitive = nullptr;
    QPushButton* cmdCalFindClose = nullptr;
    bool JournalChanged = false;

    const CalendarGrid& grid_;
    TextFinder& finder_;
    IdleSaver* saver_ = nullptr;
    bool loading_ = false; // text set by the program, not typed
    bool loadFailed_ = false;
};

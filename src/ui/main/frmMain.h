#pragma once

#include <QMainWindow>
#include <array>
#include <memory>

class CalendarPart;
class ListBar;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStackedWidget;
class TabStrip;

// The main window: function list, function frames, menus and status bar.
// The steps of its load and unload are virtual so later parts and tests can take part.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    // Loads the window (its set-up runs once) and shows it.
    void Load();

    void HideAllFrames();
    void FunctionsActivate(short index);
    void ActivateFrame(short index);
    void lstbarMain_ItemClick(const QString& caption);
    void ChooseFunctionFromMenu(short index);

    virtual void ProggyUnloadStuff();

    QFrame* fraFunc(int index) const { return fraFunc_.at(static_cast<size_t>(index)); }
    QLabel* lblFunc(int index) const { return lblFunc_.at(static_cast<size_t>(index)); }

    // The Calendar function's controls and procedures.
    std::unique_ptr<CalendarPart> calendar;

    bool bThoughtsLoaded = false;
    int LastFindPos = 0; // shared by the journal's find and the Thoughts find

    // Controls, named as the system names them.
    ListBar* lstbarMain = nullptr;
    TabStrip* tabCalendar = nullptr;
    TabStrip* tabSearchCalendar = nullptr;
    TabStrip* tabThoughts = nullptr;
    TabStrip* tabAddBookMain = nullptr;
    QWidget* fraCalDiary = nullptr;
    QWidget* fraCalSearch = nullptr;
    QWidget* fraSearchJournal = nullptr;
    QWidget* fraSearchEvents = nullptr;
    QWidget* fraThoughts2 = nullptr;
    QWidget* fraThoughtsSearch = nullptr;
    QWidget* fraABPeople = nullptr;
    QWidget* fraABGroups = nullptr;
    QLabel* sbMainDate = nullptr;

    QMenu* mnuFile = nullptr;
    QMenu* mnuFunctions = nullptr;
    QMenu* mnuCal = nullptr;
    QMenu* mnuThoughts = nullptr;
    QMenu* mnuAddBook = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuHelp = nullptr;

    QAction* Action(const QString& name) const;

protected:
    // Load steps, in the order the load runs them.
    virtual bool CheckVersion();
    virtual void LoadPreferences();
    virtual void SetupStatusBar();
    virtual void BuildListBar();
    virtual void BuildCalendarTab();
    virtual void BuildThoughtsTab();
    virtual void BuildAddBookTab();
    virtual void Form_Resize();
    virtual void RefreshThoughtsTree();
    virtual void Form_Unload();

    void ApplyToolTips(bool enable);
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void BuildMenus();
    void BuildFrames();
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = {}, bool enabled = true);

    std::array<QFrame*, 11> fraFunc_{};
    std::array<QLabel*, 11> lblFunc_{};
    bool loaded_ = false;
    bool unloaded_ = false;
};

// Creates the main window, loads and shows it; it is deleted when it closes.
frmMain* ShowMainWindow();

#pragma once

#include "controls/TextFinder.h"

#include <QMainWindow>
#include <array>
#include <functional>

namespace Exchange {
struct CalendarPlan;
struct ThoughtsPlan;
} // namespace Exchange
namespace Backups {
struct Entry;
}
class AddressBookPart;
class CalendarPart;
class ListBar;
class MainTray;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class ThoughtsPart;

// The main window composes the functions: the function list, one frame per function with
// its title, switching, the File, Functions, Options and Help menus, the status bar, and
// the load and unload. Each function fills its own frame and menu.
// The steps of the load and unload are virtual so tests can watch their order.
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
    void mnuPref_Click();
    void mnuFileRestore_Click();
    void mnuFileExport_Click();
    void mnuFileImport_Click();
    void mnuAbout_Click();

signals:
    // The unload ran and was not refused: work saved, database closed, icon removed.
    void unloaded();

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
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void ShowFrame(int index);
    bool RestoreBackup(const Backups::Entry& entry);
    bool ImportPlans(const Exchange::CalendarPlan& calendar, const Exchange::ThoughtsPlan& thoughts,
                     const QString& parentKey, const std::function<bool(int, int)>& progress);
    // The resize rules applied to the named controls at the window's size now.
    void ApplyLayout();
    void BuildMenus();
    void BuildFrames();
    QFrame* fraFunc(int index) const { return fraFunc_.at(static_cast<size_t>(index)); }
    QLabel* lblFunc(int index) const { return lblFunc_.at(static_cast<size_t>(index)); }

    ListBar* lstbarMain = nullptr;
    QLabel* sbMainDate = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuFunctions = nullptr;
    QMenu* mnuCal = nullptr;
    QMenu* mnuThoughts = nullptr;
    QMenu* mnuAddBook = nullptr;
    QMenu* mnuOptions = nullptr;
    QMenu* mnuHelp = nullptr;
    // The find routine of the journal and the note, with the position they share.
    TextFinder finder;

    std::array<QFrame*, 11> fraFunc_{};
    std::array<QLabel*, 11> lblFunc_{};
    CalendarPart* calendar_ = nullptr;       // owned by fraFunc(1)
    ThoughtsPart* thoughts_ = nullptr;       // owned by fraFunc(3)
    AddressBookPart* addressBook_ = nullptr; // owned by fraFunc(4)
    MainTray* tray_ = nullptr;               // owned by the window
    bool loaded_ = false;
    bool unloaded_ = false;
    bool workSaved_ = true;     // set by ProggyUnloadStuff
    bool closeRefused_ = false; // set by Form_Unload
    bool sized_ = false;
};

// Creates the main window, loads and shows it; it is deleted when it closes, and once it has
// unloaded the program ends.
frmMain* ShowMainWindow();

// The Help menu's message and read-me document.
void mnuProgHelp_Click();
void mnuReadMe_Click();

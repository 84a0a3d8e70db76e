#pragma once

#include "support/AppFolder.h"
#include "support/ScriptedPrompter.h"

#include "data/modDB.h"
#include "shell/frmMain.h"

// The controls the window tests work, as a user would.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class QDialog;

// The visible top-level window of a type, or null.
template <class T> T* VisibleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

// The control of a type carrying a name, found as a user's automation would find it; a test
// fails when there is none.
template <class T> T* Named(const QObject* in, const QString& name) {
    T* found = in->findChild<T*>(name);
    if (!found)
        ADD_FAILURE() << "no control named " << name.toStdString();
    return found;
}

// A double-click as the window system delivers it: press, release, double-click, release.
inline void DoubleClick(QWidget* w, QPoint at) {
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w, Qt::LeftButton, {}, at);
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

// The menu item of a window under its name; a test fails when there is none, and so does an
// item that cannot be used.
QAction* ActionOf(const QObject* window, const QString& name);
template <class W> QAction* ActionOf(const std::unique_ptr<W>& window, const QString& name) {
    return ActionOf(window.get(), name);
}

// Closes every window a test left open and lets Qt delete those that asked for it.
void CloseAllWindows();
void DeleteClosedWindows();

// Closes a window as the user does, and lets it be deleted as the program's own are.
template <class W> void CloseForGood(std::unique_ptr<W>& window) {
    W* w = window.release();
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->close();
    DeleteClosedWindows();
}

// Drives the modal dialogs the program opens in a scope: each is handed to drive, which
// works its controls as a user would, and what drive returns is the dialog's result.
class DialogDriver {
public:
    explicit DialogDriver(std::function<int(QDialog&)> drive);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    int Shown() const { return shown_; }

private:
    std::function<int(QDialog&)> drive_;
    std::function<int(QDialog&)> previous_;
    int shown_ = 0;
};

// Closes the windows a test opened when the scope ends; declare it after the folder and the
// prompter so the windows close while both are still there.
class WindowsGuard {
public:
    WindowsGuard() = default;
    ~WindowsGuard() { CloseAllWindows(); }
    WindowsGuard(const WindowsGuard&) = delete;
    WindowsGuard& operator=(const WindowsGuard&) = delete;
};

// The main window on the test's own database, with the boxes scripted, as a user meets it.
class WindowTest : public ::testing::Test {
protected:
    // A row of preferences, as every database in use has.
    void SetUp() override { Exec("insert into pmpref (pwd) values ('')"); }
    void Open() {
        window = std::make_unique<frmMain>();
        window->Load();
    }
    void Menu(const char* action) { ActionOf(window, action)->trigger(); }
    template <class T = QPushButton> T* C(const char* name) { return Named<T>(window.get(), name); }

    AppFolder folder;
    ScopedPrompter prompter;
    std::unique_ptr<frmMain> window;
};

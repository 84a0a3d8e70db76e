#pragma once

#include <QApplication>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

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
template <class T> T* Named(const QObject* in, const char* name) {
    T* found = in->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        ADD_FAILURE() << "no control named " << name;
    return found;
}

// Closes every window a test left open and lets Qt delete those that asked for it.
void CloseAllWindows();
void DeleteClosedWindows();

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

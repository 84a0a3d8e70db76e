#pragma once

#include <QApplication>
#include <QWidget>

// The visible top-level window of a type, or null.
template <class T> T* VisibleWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

// Closes every window a test left open and lets Qt delete those that asked for it.
void CloseAllWindows();
void DeleteClosedWindows();

// Closes the windows a test opened when the scope ends; declare it after the folder and the
// prompter so the windows close while both are still there.
class WindowsGuard {
public:
    WindowsGuard() = default;
    ~WindowsGuard() { CloseAllWindows(); }
    WindowsGuard(const WindowsGuard&) = delete;
    WindowsGuard& operator=(const WindowsGuard&) = delete;
};

#pragma once

#include "platform/TrayIcon.h"

#include <QObject>

class QMenu;
class QWidget;

// The application-wide notification-icon record, filled once the main window has loaded.
extern NotifyIconData gTrayIcon;

// The main window's notification-area icon: minimising with the preference on hides the
// window behind it; a double-click (or a click, on trays that report no double-click) brings
// the window back maximised and removes the icon; its menu offers Restore (the icon stays)
// and Exit. Starting Pimora again while it sits in the tray brings it back the same way.
class MainTray : public QObject {
    Q_OBJECT
public:
    explicit MainTray(QWidget* window);

    // The record of the window, its icon and the tip.
    void FillRecord();
    // At a minimise: true when the window went to the tray (the preference is on and the
    // desktop has a notification area).
    bool MinimiseToTray();
    void Remove();
    void mnuSystrayRestore_Click();

private:
    TrayIcon* icon = nullptr; // owned by this object
    QMenu* mnuSystray = nullptr;

    void OnMouseMessage(int message, const QPoint& at);
    void Restore();

    QWidget* window_;
};

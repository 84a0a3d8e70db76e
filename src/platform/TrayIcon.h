#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <optional>

class QSystemTrayIcon;

// The notification-icon record, with the fields the platform's call took.
struct NotifyIconData {
    quint32 cbSize = 88;            // the record's size
    quintptr hWnd = 0;              // the window that hears the icon's events
    quint32 uID = 1;                // the icon's identifier
    quint32 uFlags = 7;             // message, icon and tip are valid
    quint32 uCallbackMessage = 512; // the mouse-move message the events arrive as
    QIcon hIcon;                    // the window's own icon
    QString szTip;                  // "Pimora", a NUL, then spaces to 64 characters
};

// The icon in the desktop's notification area. Its mouse events arrive as the numbers of
// the platform's mouse messages: 515 for a double-click, 517 for the right button released.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int NIM_ADD = 0;
    static constexpr int NIM_DELETE = 2;
    static constexpr int WM_LBUTTONDBLCLK = 515;
    static constexpr int WM_RBUTTONUP = 517;

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    // Adds (NIM_ADD) or removes (NIM_DELETE) the icon; adding a shown icon changes nothing.
    bool Shell_NotifyIcon(int message, const NotifyIconData& data);
    bool Shown() const { return shown_; }
    QString Tip() const { return tip_; }

    // Whether the desktop has a notification area at all; tests decide it for themselves.
    static bool Available();
    static void OverrideAvailable(std::optional<bool> available);

signals:
    void mouseMessage(int message, const QPoint& globalPos);

private:
    QSystemTrayIcon* icon_ = nullptr; // made at the first NIM_ADD, owned by this object
    bool shown_ = false;
    QString tip_;
};

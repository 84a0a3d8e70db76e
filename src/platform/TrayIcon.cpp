#include "platform/TrayIcon.h"

#include <QCursor>
#include <QSystemTrayIcon>

namespace {
std::optional<bool> g_available;
} // namespace

TrayIcon::TrayIcon(QObject* parent) : QObject(parent) {}

TrayIcon::~TrayIcon() = default;

bool TrayIcon::Available() {
    return g_available ? *g_available : QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::OverrideAvailable(std::optional<bool> available) {
    g_available = available;
}

bool TrayIcon::Shell_NotifyIcon(int message, const NotifyIconData& data) {
    if (message == NIM_ADD) {
        // The tip is what stands before the NUL.
        tip_ = data.szTip.left(data.szTip.indexOf(QChar(0)));
        shown_ = true;
        // Only a desktop that has a notification area gets a real icon.
        if (Available()) {
            if (!icon_) {
                icon_ = new QSystemTrayIcon(this);
                icon_->setObjectName(QStringLiteral("gTrayIcon"));
                // Trays that speak StatusNotifierItem report a left click as Trigger and
                // never as a double-click: both bring the window back.
                connect(icon_, &QSystemTrayIcon::activated, this,
                        [this](QSystemTrayIcon::ActivationReason why) {
                            if (why == QSystemTrayIcon::DoubleClick ||
                                why == QSystemTrayIcon::Trigger)
                                emit mouseMessage(WM_LBUTTONDBLCLK, QCursor::pos());
                            else if (why == QSystemTrayIcon::Context)
                                emit mouseMessage(WM_RBUTTONUP, QCursor::pos());
                        });
            }
            icon_->setIcon(data.hIcon);
            icon_->setToolTip(tip_);
            if (QSystemTrayIcon::isSystemTrayAvailable())
                icon_->show();
        }
        return true;
    }
    if (message == NIM_DELETE) {
        shown_ = false;
        if (icon_)
            icon_->hide();
        return true;
    }
    return false;
}

#include "shell/MainTray.h"

#include "common/AppGlobals.h"
#include "platform/SingleInstance.h"

#include <QMenu>
#include <QWidget>

NotifyIconData gTrayIcon;

MainTray::MainTray(QWidget* window) : QObject(window), icon(new TrayIcon(this)), window_(window) {
    mnuSystray = new QMenu(QStringLiteral("Systray"), window);
    mnuSystray->setObjectName(QStringLiteral("mnuSystray"));
    QAction* restore = mnuSystray->addAction(QStringLiteral("&Restore"));
    restore->setObjectName(QStringLiteral("mnuSystrayRestore"));
    QAction* exit = mnuSystray->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuSystrayExit"));
    connect(restore, &QAction::triggered, this, &MainTray::mnuSystrayRestore_Click);
    connect(exit, &QAction::triggered, window, &QWidget::close);
    connect(icon, &TrayIcon::mouseMessage, this, &MainTray::OnMouseMessage);
    // A hidden window cannot be brought forward by its title.
    connect(&SingleInstance::Instance(), &SingleInstance::activateRequested, this, [this] {
        if (icon->Shown() && window_->isHidden())
            OnMouseMessage(TrayIcon::WM_LBUTTONDBLCLK, QPoint());
    });
}

void MainTray::FillRecord() {
    gTrayIcon = NotifyIconData{};
    gTrayIcon.hWnd = static_cast<quintptr>(window_->winId());
    gTrayIcon.hIcon = window_->windowIcon();
    QString tip = QStringLiteral("Pimora");
    tip += QChar(0);
    gTrayIcon.szTip = tip.leftJustified(64, QLatin1Char(' '));
}

bool MainTray::MinimiseToTray() {
    // Only where something can bring the window back is it hidden.
    if (gMinimizeToSystray != QLatin1String("Y") || !TrayIcon::Available())
        return false;
    window_->hide();
    icon->Shell_NotifyIcon(TrayIcon::NIM_ADD, gTrayIcon);
    return true;
}

void MainTray::Remove() {
    icon->Shell_NotifyIcon(TrayIcon::NIM_DELETE, gTrayIcon);
}

void MainTray::Restore() {
    window_->setWindowState(Qt::WindowMaximized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void MainTray::mnuSystrayRestore_Click() {
    Restore();
}

void MainTray::OnMouseMessage(int message, const QPoint& at) {
    if (message == TrayIcon::WM_LBUTTONDBLCLK) {
        Restore();
        Remove();
    } else if (message == TrayIcon::WM_RBUTTONUP) {
        window_->activateWindow();
        mnuSystray->popup(at);
    }
}

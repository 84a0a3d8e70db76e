#include "Windows.h"

#include "platform/Application.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEvent>

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

void CloseAllWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->close();
    DeleteClosedWindows();
}

DialogDriver::DialogDriver(std::function<int(QDialog&)> drive) : drive_(std::move(drive)) {
    previous_ = InstallModalRunner([this](QDialog& dialog) {
        ++shown_;
        dialog.show();
        const int result = drive_(dialog);
        dialog.hide();
        return result;
    });
}

DialogDriver::~DialogDriver() {
    InstallModalRunner(std::move(previous_));
}

QAction* ActionOf(const QObject* window, const QString& name) {
    QAction* action = window->findChild<QAction*>(name);
    if (!action)
        ADD_FAILURE() << "no menu item named " << name.toStdString();
    return action;
}

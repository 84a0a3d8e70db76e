#include "Windows.h"

#include <QCoreApplication>
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

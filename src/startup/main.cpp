#include "startup/modMain.h"

#include <QApplication>
#ifdef PIMORA_QUIT_WHEN_SHOWN
#include <QTimer>
#include <cstdio>
#endif

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pimora"));
    QApplication::setApplicationVersion(QStringLiteral("0.9.7"));
    // Desktops match the running program to its entry and icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("pimora"));
    Main();
    if (!AnyWindowOpen())
        return 0;
#ifdef PIMORA_QUIT_WHEN_SHOWN
    // The start-up benchmark's probe: the window is up, so the start is over; one byte on
    // standard output says so.
    QTimer::singleShot(0, &app, [] {
        std::fputc('!', stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
#endif
    return QApplication::exec();
}

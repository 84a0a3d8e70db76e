#include "startup/modMain.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pimora"));
    QApplication::setApplicationVersion(QStringLiteral("0.9.7"));
    Main();
    if (!AnyWindowOpen())
        return 0;
    return QApplication::exec();
}

// mkicons FOLDER: draws Pimora's icon at the sizes desktops use, as FOLDER/NxN/apps/pimora.png.
#include "controls/ImageList.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicons FOLDER\n");
        return 2;
    }
    const QIcon icon = AppIcon();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!QDir().mkpath(folder) ||
            !icon.pixmap(size, size).save(folder + QStringLiteral("/pimora.png"))) {
            std::fprintf(stderr, "mkicons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}

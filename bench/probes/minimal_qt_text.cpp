// The second reference: the same program with one line of text in its window. Laying out any
// text loads the font database (fontconfig reads every file of its configuration), which the
// empty window puts off until it ends, after its clock has stopped.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Pimora"), &window));
    window.show();
    QTimer::singleShot(0, &app, [] {
        std::fputc('!', stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}

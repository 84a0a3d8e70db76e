// Resident memory of a real start on twenty years of entries: after the window is shown,
// after switching to Thoughts, and after a journal search that lists every day.
#include "../LargeDb.h"
#include "platform/Application.h"
#include "shell/frmMain.h"
#include "startup/modMain.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

long StatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

void Report(const char* moment) {
    QApplication::processEvents();
    std::printf("%-44s resident %6.1f MB (peak %6.1f MB)\n", moment, StatusKb("VmRSS") / 1024.0,
                StatusKb("VmHWM") / 1024.0);
}

template <typename T> T* Find(QWidget& in, const char* name) {
    return in.findChild<T*>(QString::fromLatin1(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString large = LargeDatabase();
    QTemporaryDir folder;
    if (large.isEmpty() || !QFile::copy(large, folder.filePath(QStringLiteral("pengkalan.dat"))))
        return 1;
    App::SetPath(folder.path());
    Main();
    frmMain* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<frmMain*>(w))
            window = m;
    if (!window)
        return 1;
    Report("after start-up (calendar shown)");
    window->lstbarMain_ItemClick(QStringLiteral("Thoughts"));
    Report("after switching to Thoughts");
    window->lstbarMain_ItemClick(QStringLiteral("Calendar"));
    Find<QRadioButton>(*window, "optCalSearchAll")->setChecked(true);
    Find<QLineEdit>(*window, "txtCalSearch")->setText(QStringLiteral("Dear diary"));
    Find<QPushButton>(*window, "cmdCalSearch")->click();
    const QString hits = Find<QLabel>(*window, "lblCalendarFound")->text();
    std::printf("journal search listed %s days\n", qPrintable(hits));
    Report("after a journal search listing every day");
    return 0;
}

#include "platform/Application.h"

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString g_title = QStringLiteral("Pimora");
QString g_path;
ModalRunner g_modal;
ShellOpener g_opener;
} // namespace

QString App::Title() {
    return g_title;
}
void App::SetTitle(const QString& title) {
    g_title = title;
}

QString App::Path() {
    if (!g_path.isEmpty())
        return g_path;
    return QApplication::applicationDirPath();
}

void App::SetPath(const QString& folder) {
    g_path = folder;
    while (g_path.size() > 1 && g_path.endsWith('/'))
        g_path.chop(1);
}

namespace {

QString UserDataFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // The base directory rule: a relative value is invalid and is ignored.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(base + QStringLiteral("/pimora"));
}

} // namespace

QString App::DataPath() {
    const QString program = Path();
    const QFileInfo database(program + QStringLiteral("/pengkalan.dat"));
    // A database already beside the program stays the one, writable or not: a read-only one
    // is refused as such rather than silently replaced by an empty one elsewhere.
    if (database.exists() || database.isSymLink() ||
        ::access(QFile::encodeName(program).constData(), W_OK) == 0)
        return program;
    return UserDataFolder();
}

QString App::MakeDataPath() {
    const QString folder = DataPath();
    QString made;
    for (const QString& part : folder.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        made += QLatin1Char('/') + part;
        const QByteArray path = QFile::encodeName(made);
        if (::mkdir(path.constData(), 0700) == 0 || errno == EEXIST)
            continue;
        // A folder above that exists but cannot be listed still lets its child be made.
        struct stat st;
        if (::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
            continue;
        return QStringLiteral("%1: %2").arg(made, QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!QFileInfo(folder).isDir())
        return QStringLiteral("%1: Not a directory").arg(folder);
    return {};
}

bool App::PrevInstance() {
    return !SingleInstance::Instance().Claim(g_title);
}

bool AppActivate(const QString& title) {
    return SingleInstance::Instance().RequestActivate(title);
}

int ShowModal(QDialog& dialog) {
    if (g_modal)
        return g_modal(dialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    return dialog.exec();
}

ModalRunner InstallModalRunner(ModalRunner runner) {
    std::swap(g_modal, runner);
    return runner;
}

ShellOpener InstallShellOpener(ShellOpener opener) {
    std::swap(g_opener, opener);
    return opener;
}

bool ShellOpen(const QString& target) {
    if (g_opener)
        return g_opener(target);
    const QFileInfo info(target);
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

void Beep() {
    QApplication::beep();
}

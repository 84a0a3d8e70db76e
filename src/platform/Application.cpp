#include "platform/Application.h"

#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QUrl>

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

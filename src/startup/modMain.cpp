#include "startup/modMain.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/ImageList.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "security/frmLogin.h"
#include "shell/frmMain.h"
#include "store/PreferenceStore.h"

#include <QApplication>
#include <QWidget>

void Main() {
    // Every window, the login's too, shows Pimora's icon.
    QApplication::setWindowIcon(AppIcon());
    if (App::PrevInstance()) {
        const QString title = App::Title();
        App::SetTitle(QStringLiteral("Duplicate Instance"));
        AppActivate(title);
        return;
    }
    if (!OpenDatabase())
        return;

    bool protectedByPassword = false;
    try {
        if (const std::optional<QString> stored = PreferenceStore::StoredPassword())
            protectedByPassword = !stored->isEmpty();
        else
            PreferenceStore::AddEmptyRow();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting password!"), QStringLiteral("Error!"), e);
        return;
    }
    if (protectedByPassword)
        ShowLogin();
    else
        ShowMainWindow();
}

frmLogin* ShowLogin() {
    frmLogin* login = ShowLoginWindow();
    QObject::connect(login, &frmLogin::loginSucceeded, [] { ShowMainWindow(); });
    return login;
}

bool AnyWindowOpen() {
    const auto windows = QApplication::topLevelWidgets();
    for (const QWidget* w : windows)
        if (w->isVisible())
            return true;
    return false;
}

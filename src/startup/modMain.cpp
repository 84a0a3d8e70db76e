#include "startup/modMain.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "data/Recordset.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "security/frmLogin.h"
#include "ui/main/frmMain.h"
#include "ui/widgets/ImageList.h"

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
    Recordset rs;
    try {
        gSQL = QStringLiteral("select pwd from pmpref");
        rs.Open(gSQL, *gConn);
        if (rs.Eof()) {
            gSQL = QStringLiteral("insert into pmpref (pwd) values ('')");
            gConn->Execute(gSQL);
        } else {
            protectedByPassword = !NullToEmpty(rs.Field(QStringLiteral("pwd"))).isEmpty();
        }
        rs.Close();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting password!"), QStringLiteral("Error!"), e);
        rs.CloseIfOpen();
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

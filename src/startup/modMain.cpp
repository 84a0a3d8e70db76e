#include "startup/modMain.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/BackupGuard.h"
#include "controls/ImageList.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "platform/Prompter.h"
#include "security/frmLogin.h"
#include "shell/frmMain.h"
#include "store/Backups.h"
#include "store/Database.h"
#include "store/PreferenceStore.h"

#include <QApplication>
#include <QWidget>

namespace {

// A damaged database is offered the newest copy that passes its check; the damaged file is
// kept aside. False when there is none, or the user keeps the refusal.
bool RecoverDamaged(const RuntimeError&) {
    std::optional<Backups::Entry> sound;
    try {
        sound = Backups::NewestSound();
    } catch (const RuntimeError&) {
        return false;
    }
    if (!sound || MsgBox(QStringLiteral("The database file is damaged. Restore the backup of %1?")
                             .arg(Backups::When(sound->made)),
                         MsgButtons::YesNo, MsgIcon::Exclamation) != MsgResult::Yes)
        return false;
    try {
        Backups::ReplaceDamaged(*sound);
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while restoring a backup!"),
                  QStringLiteral("Backup Error!"), e);
        return false;
    }
}

// The first start of a day copies the database, and the copy's check is the day's check of
// the file: a damaged one is refused as it is at opening, with the same offer.
bool OpenWithDailyBackup() {
    if (!OpenDatabase(RecoverDamaged))
        return false;
    try {
        if (!Backups::DailyDue())
            return true;
        CopyProgressDialog progress(QStringLiteral("Making a backup..."), nullptr);
        Backups::Make(Backups::Reason::Daily, progress.Callback());
    } catch (const RuntimeError& e) {
        if (e.Kind() != ErrorKind::Damaged) {
            ShowError(QStringLiteral("Error while making a backup!"),
                      QStringLiteral("Backup Error!"), e);
            return true;
        }
        gConn.reset();
        if (RecoverDamaged(e))
            return OpenDatabase(RecoverDamaged);
        ShowError(QStringLiteral("Error Connecting to Database!"),
                  QStringLiteral("DB Connection Error"), e);
        return false;
    }
    return true;
}

} // namespace

namespace {

// Reads the password row, adding the row a database without one gets; false when it cannot be
// read (reported).
bool ReadPasswordRow(bool& protectedByPassword) {
    try {
        if (const std::optional<QString> stored = PreferenceStore::StoredPassword())
            protectedByPassword = !stored->isEmpty();
        else
            PreferenceStore::AddEmptyRow();
        return true;
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting password!"), QStringLiteral("Error!"), e);
        return false;
    }
}

// An encrypted database is opened by the answer to the login: nothing of it is read before.
void ShowUnlock() {
    frmLogin* login = ShowLoginWindow(frmLogin::Checks::DatabaseKey);
    QObject::connect(login, &frmLogin::loginSucceeded, [] {
        bool protectedByPassword = false;
        if (OpenWithDailyBackup() && ReadPasswordRow(protectedByPassword))
            ShowMainWindow();
    });
}

} // namespace

void Main() {
    // Every window, the login's too, shows Pimora's icon.
    QApplication::setWindowIcon(AppIcon());
    if (App::PrevInstance()) {
        const QString title = App::Title();
        App::SetTitle(QStringLiteral("Duplicate Instance"));
        AppActivate(title);
        return;
    }
    if (Database::KindOfFile() == Database::FileKind::Encrypted) {
        ShowUnlock();
        return;
    }
    if (!OpenWithDailyBackup())
        return;

    bool protectedByPassword = false;
    if (!ReadPasswordRow(protectedByPassword))
        return;
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

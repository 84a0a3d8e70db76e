#include "security/frmPreferences.h"

#include "common/AppGlobals.h"
#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/BackupGuard.h"
#include "controls/ImageList.h"
#include "controls/MaskedEdit.h"
#include "controls/TabStrip.h"
#include "controls/Twips.h"
#include "platform/Prompter.h"
#include "platform/TrayIcon.h"
#include "security/Password.h"
#include "store/Database.h"
#include "store/PreferenceStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kPlaceholder = QStringLiteral("**********");
} // namespace

frmPreferences::frmPreferences(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    tabPref = new TabStrip(this, QStringLiteral("tabPref"), TabStrip::FramesFollow);
    tabPref->setMinimumSize(TwipsToPixels(6000), TwipsToPixels(3300));
    fraPrefSystem =
        tabPref->AddFrame(QStringLiteral("fraPrefSystem"), QStringLiteral("System Options"));
    fraPrefDisplay =
        tabPref->AddFrame(QStringLiteral("fraPrefDisplay"), QStringLiteral("Display Options"));

    chkEnablePwd = new QCheckBox(QStringLiteral("Enable Password Protection"), fraPrefSystem);
    chkEnablePwd->setObjectName(QStringLiteral("chkEnablePwd"));
    fraPwd = new QWidget(fraPrefSystem);
    fraPwd->setObjectName(QStringLiteral("fraPwd"));
    Label1 = new QLabel(QStringLiteral("Enter Password:"), fraPwd);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtPassword = new QLineEdit(fraPwd);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    Label2 = new QLabel(QStringLiteral("Re-enter Password:"), fraPwd);
    Label2->setObjectName(QStringLiteral("Label2"));
    txtPassword2 = new QLineEdit(fraPwd);
    txtPassword2->setObjectName(QStringLiteral("txtPassword2"));
    Label1->setBuddy(txtPassword);
    Label2->setBuddy(txtPassword2);
    for (QLineEdit* box : {txtPassword, txtPassword2}) {
        MaskWithHash(box);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this] { bPasswordDirty = true; });
    }
    auto* fields = new QGridLayout(fraPwd);
    fields->addWidget(Label1, 0, 0);
    fields->addWidget(txtPassword, 0, 1);
    fields->addWidget(Label2, 1, 0);
    fields->addWidget(txtPassword2, 1, 1);
    chkEncryptDB = new QCheckBox(QStringLiteral("Encrypt the database file with this password"),
                                 fraPrefSystem);
    chkEncryptDB->setObjectName(QStringLiteral("chkEncryptDB"));
    auto* system = new QVBoxLayout(fraPrefSystem);
    system->addWidget(chkEnablePwd);
    system->addWidget(fraPwd);
    system->addWidget(chkEncryptDB);
    system->addStretch(1);
    connect(chkEnablePwd, &QCheckBox::toggled, this, &frmPreferences::chkEnablePwd_Click);
    connect(txtPassword, &QLineEdit::textChanged, this, &frmPreferences::EnableEncryptDB);

    Frame1 = new QGroupBox(QStringLiteral("Settings"), fraPrefDisplay);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    chkMinToSystray = new QCheckBox(QStringLiteral("Minimize to System Tray"), Frame1);
    chkMinToSystray->setObjectName(QStringLiteral("chkMinToSystray"));
    chkEnableTooltips = new QCheckBox(QStringLiteral("Enable Tooltips"), Frame1);
    chkEnableTooltips->setObjectName(QStringLiteral("chkEnableTooltips"));
    auto* settings = new QVBoxLayout(Frame1);
    settings->addWidget(chkMinToSystray);
    if (!TrayIcon::Available()) {
        // Minimising never hides the window where nothing could bring it back.
        auto* note = new QLabel(QStringLiteral("This desktop has no notification area: a "
                                               "minimised Pimora stays on the taskbar."),
                                Frame1);
        note->setObjectName(QStringLiteral("lblNoSystray"));
        note->setWordWrap(true);
        settings->addWidget(note);
    }
    settings->addWidget(chkEnableTooltips);
    auto* display = new QVBoxLayout(fraPrefDisplay);
    display->addWidget(Frame1);
    display->addStretch(1);

    cmdSave = new QPushButton(QStringLiteral("&Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    cmdExit = new QPushButton(QStringLiteral("&Close"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);
    connect(cmdSave, &QPushButton::clicked, this, &frmPreferences::cmdSave_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabPref, 1);
    layout->addLayout(buttons);

    tabPref->AddTab(QStringLiteral("System"), QStringLiteral("System"),
                    PictureIcon(Picture::Search));
    tabPref->AddTab(QStringLiteral("Display"), QStringLiteral("Display"),
                    PictureIcon(Picture::People));
    tabPref->setCurrentIndex(0);
    PopulatePref();
    tabPref->BringToFront(fraPrefSystem);
    bPasswordDirty = false;
}

bool frmPreferences::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && (watched == txtPassword || watched == txtPassword2))
        // After the focus has settled, or a mouse click would undo the selection.
        QTimer::singleShot(0, static_cast<QLineEdit*>(watched), &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

void frmPreferences::ColourPasswordFields(bool enabled) {
    for (QLineEdit* box : {txtPassword, txtPassword2}) {
        QPalette p = box->palette();
        p.setColor(QPalette::Base, palette().color(enabled ? QPalette::Base : QPalette::Button));
        box->setPalette(p);
    }
}

void frmPreferences::PopulatePref() {
    try {
        if (const auto stored = PreferenceStore::Load()) {
            if (!stored->password.isEmpty()) {
                chkEnablePwd->setChecked(true);
                txtPassword->setText(kPlaceholder);
                txtPassword2->setText(kPlaceholder);
            } else {
                chkEnablePwd->setChecked(false);
                ColourPasswordFields(false);
                fraPwd->setEnabled(false);
            }
            bEncrypted = Database::IsEncrypted();
            chkEncryptDB->setChecked(bEncrypted);
            chkMinToSystray->setChecked(stored->minimizeToSystray == QLatin1String("Y"));
            chkEnableTooltips->setChecked(stored->enableToolTips == QLatin1String("Y"));
        }
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while Populating the Preferences window!"),
                  QStringLiteral("Error!"), e);
    }
    EnableEncryptDB();
}

// The file is encrypted with a password: one set, or being typed.
void frmPreferences::EnableEncryptDB() {
    chkEncryptDB->setEnabled(chkEnablePwd->isChecked() && !txtPassword->text().isEmpty());
}

void frmPreferences::chkEnablePwd_Click() {
    const bool on = chkEnablePwd->isChecked();
    if (!on) {
        txtPassword->clear();
        txtPassword2->clear();
    }
    ColourPasswordFields(on);
    fraPwd->setEnabled(on);
    bPasswordDirty = true;
    EnableEncryptDB();
}

bool frmPreferences::CheckPassword() {
    if (!chkEnablePwd->isChecked())
        return true;
    const QString first = TrimSpaces(txtPassword->text());
    const QString second = TrimSpaces(txtPassword2->text());
    if (first.isEmpty() || second.isEmpty()) {
        MsgBox(QStringLiteral("Please fill in the Password fields before saving!"));
        return false;
    }
    if (txtPassword->text() == kPlaceholder) {
        MsgBox(QStringLiteral("Please change the password first!"));
        return false;
    }
    if (first != second) {
        MsgBox(QStringLiteral("The passwords do not match!  Please re-enter the passwords."));
        return false;
    }
    return true;
}

void frmPreferences::SavePassword() {
    if (!chkEnablePwd->isChecked()) {
        PreferenceStore::RemovePassword();
        return;
    }
    // The password is kept as its hash, never as the text itself.
    QString hash = HashPassword(TrimSpaces(txtPassword->text()));
    if (hash.isEmpty())
        throw RuntimeError(7, QStringLiteral("Out of memory"), QStringLiteral("Pimora"));
    PreferenceStore::SetPassword(hash);
}

bool frmPreferences::SaveEncryption() {
    const bool wanted = chkEnablePwd->isChecked() && chkEncryptDB->isChecked();
    // A new password typed in both boxes; the placeholder is not the password.
    const bool typed = bPasswordDirty && chkEnablePwd->isChecked();
    const QString password = TrimSpaces(txtPassword->text());
    QStringList removed;
    if (wanted && !bEncrypted) {
        if (!typed) {
            // Only its hash is kept: the key is made from the password itself.
            MsgBox(QStringLiteral("Please key in the password in both fields: the database "
                                  "file is encrypted with it."));
            txtPassword->setFocus();
            return false;
        }
        if (MsgBox(QStringLiteral("Without this password nobody can read anything Pimora "
                                  "holds, and a forgotten password cannot be recovered. "
                                  "Encrypt the database now?"),
                   MsgButtons::YesNo, MsgIcon::Exclamation) != MsgResult::Yes)
            return false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        CopyProgressDialog progress(QStringLiteral("Encrypting the database..."), this);
        removed = Database::Encrypt(password, progress.Callback());
    } else if (!wanted && bEncrypted) {
        if (MsgBox(QStringLiteral("Store the database unencrypted? Anyone who can read the file "
                                  "can then read everything in it."),
                   MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
            return false;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        CopyProgressDialog progress(QStringLiteral("Storing the database unencrypted..."), this);
        removed = Database::Decrypt(progress.Callback());
    } else if (wanted && typed) {
        // A new password: the file follows it in the same save.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        CopyProgressDialog progress(QStringLiteral("Encrypting the database..."), this);
        removed = Database::Encrypt(password, progress.Callback());
    } else {
        return true;
    }
    bEncrypted = wanted;
    if (wanted) {
        if (const QStringList plain = Database::PlainCopiesLeft(); !plain.isEmpty())
            MsgBox(QStringLiteral("These damaged files beside the database were kept as they "
                                  "are and are not encrypted: %1. Delete them once you no "
                                  "longer need them.")
                       .arg(plain.join(QStringLiteral(", "))),
                   MsgButtons::OK, MsgIcon::Exclamation);
    }
    if (!removed.isEmpty())
        MsgBox(QStringLiteral("These backups could not be written again as the database now is, "
                              "and were removed: %1")
                   .arg(removed.join(QStringLiteral(", "))),
               MsgButtons::OK, MsgIcon::Exclamation);
    return true;
}

void frmPreferences::cmdSave_Click() {
    try {
        if (bPasswordDirty && !CheckPassword())
            return;
        // The file first: should it fail, the stored password still matches it.
        if (!SaveEncryption())
            return;
        if (bPasswordDirty)
            SavePassword();
        bPasswordDirty = false;
        const bool tray = chkMinToSystray->isChecked();
        gMinimizeToSystray = tray ? QStringLiteral("Y") : QStringLiteral("N");
        PreferenceStore::SetMinimizeToSystray(tray);
        const bool tips = chkEnableTooltips->isChecked();
        gEnableToolTips = tips ? QStringLiteral("Y") : QStringLiteral("N");
        PreferenceStore::SetEnableToolTips(tips);
        accept();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while Saving the Preferences window!"),
                  QStringLiteral("Error!"), e);
    }
}

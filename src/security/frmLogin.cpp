#include "security/frmLogin.h"

#include "common/RuntimeError.h"
#include "common/modQXCommFunc.h"
#include "controls/MaskedEdit.h"
#include "platform/Prompter.h"
#include "security/Password.h"
#include "store/Database.h"
#include "store/PreferenceStore.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QVBoxLayout>

frmLogin::frmLogin(Checks checks) : checks_(checks) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Pimora - Login"));
    setModal(false);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DialogYesButton).pixmap(32));

    Frame1 = new QGroupBox(QStringLiteral("Please key in Password"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(QStringLiteral("Password:"), Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtPassword = new QLineEdit(Frame1);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    MaskWithHash(txtPassword);
    Label1->setBuddy(txtPassword);
    auto* fields = new QHBoxLayout(Frame1);
    fields->addWidget(Label1);
    fields->addWidget(txtPassword, 1);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setAutoDefault(true);
    cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdExit);
    auto* top = new QHBoxLayout;
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addWidget(Frame1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    setTabOrder(txtPassword, cmdOK);
    setTabOrder(cmdOK, cmdExit);
    txtPassword->setFocus();
    txtPassword->installEventFilter(this);

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmLogin::cmdExit_Click);
    iTries = 0;
}

bool frmLogin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtPassword) {
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            cmdExit_Click();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            txtPassword->selectAll();
            return false;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmLogin::keyPressEvent(QKeyEvent* event) {
    // Escape belongs to the password field alone; elsewhere it does nothing.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmLogin::cmdExit_Click() {
    // An encrypted database is not open yet.
    if (checks_ == Checks::StoredPassword)
        Database::Close();
    close();
}

// The login has succeeded whatever happens here: a hash that cannot be written leaves the
// plain text in place, and the next login tries again.
void frmLogin::StoreHash(const QString& password) {
    QString hash = HashPassword(password);
    if (hash.isEmpty())
        return;
    try {
        PreferenceStore::SetPassword(hash);
    } catch (const RuntimeError&) {
    }
}

frmLogin::Answer frmLogin::Check(const QString& typed) {
    if (checks_ == Checks::DatabaseKey) {
        // Making the key takes about a second, by design.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        return Database::Unlock(typed) == Database::UnlockResult::Opened ? Answer::Opens
                                                                         : Answer::Wrong;
    }
    const std::optional<QString> stored = PreferenceStore::StoredPassword();
    if (!stored) {
        MsgBox(QStringLiteral("No password defined!"), MsgButtons::OK, MsgIcon::Critical,
               QStringLiteral("Pimora - Login"));
        return Answer::NoPassword;
    }
    if (!PasswordMatches(*stored, typed))
        return Answer::Wrong;
    // A password kept as plain text by an older version is kept as its hash from now.
    if (!IsPasswordHash(*stored))
        StoreHash(*stored);
    return Answer::Opens;
}

void frmLogin::cmdOK_Click() {
    try {
        const Answer answer = Check(txtPassword->text());
        if (answer == Answer::Opens) {
            emit loginSucceeded();
            close();
            return;
        }
        if (answer == Answer::Wrong) {
            ++iTries;
            MsgBox(QStringLiteral("Incorrect Password!"), MsgButtons::OK, MsgIcon::Critical,
                   QStringLiteral("Pimora: Login Failed"));
            txtPassword->clear();
            txtPassword->setFocus();
        }
        if (iTries > 2)
            close();
    } catch (const RuntimeError& e) {
        ShowError(QStringLiteral("Error while getting password!"), QStringLiteral("Error!"), e);
    }
}

frmLogin* ShowLoginWindow(frmLogin::Checks checks) {
    auto* w = new frmLogin(checks); // deleted by Qt when it closes
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
    return w;
}

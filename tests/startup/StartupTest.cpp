#include "support/AppFolder.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"
#include "support/Windows.h"

#include "data/modDB.h"
#include "security/Password.h"
#include "security/frmLogin.h"
#include "startup/modMain.h"
#include "ui/main/frmMain.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <sodium.h>

namespace {

class Startup : public ::testing::Test {
protected:
    void TearDown() override { CloseAllWindows(); }
};

TEST_F(Startup, WithoutAPasswordTheMainWindowOpensDirectly) {
    for (const char* pwd : std::initializer_list<const char*>{nullptr, "''", "NULL", "'   '"}) {
        AppFolder folder(AppFolder::WithDatabase);
        if (pwd)
            Exec(QStringLiteral("insert into pmpref (pwd) values (%1)")
                     .arg(QString::fromLatin1(pwd)));
        gConn.reset(); // Main opens it itself
        ScopedPrompter p;
        WindowsGuard windows;
        Main();
        EXPECT_TRUE(VisibleWindow<frmMain>()) << (pwd ? pwd : "no row");
        EXPECT_FALSE(VisibleWindow<frmLogin>());
        if (!pwd) {
            // An empty preferences table gets its row.
            EXPECT_EQ(Rows(QStringLiteral("select pwd from pmpref")), QStringLiteral("('')"));
        }
        CloseAllWindows();
        EXPECT_FALSE(gConn) << "closing the main window closes the database";
    }
}

TEST_F(Startup, APasswordAsksFirst) {
    AppFolder folder;
    Exec(QStringLiteral("insert into pmpref (pwd) values ('secret')"));
    gConn.reset();
    ScopedPrompter p;
    WindowsGuard windows;
    Main();
    EXPECT_TRUE(VisibleWindow<frmLogin>());
    EXPECT_FALSE(VisibleWindow<frmMain>());
}

TEST_F(Startup, NoWindowWhenTheDatabaseCannotBeOpened) {
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Database file (pengkalan.dat) file is not found!  Would you like to "
                             "create a new database file?"),
              QStringLiteral("Create new database?"), MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::No);
    Main();
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_FALSE(QFileInfo::exists(folder.File(QStringLiteral("pengkalan.dat"))));
}

TEST_F(Startup, FirstStartCreatesTheDatabaseAndOpensTheMainWindow) {
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Database file (pengkalan.dat) file is not found!  Would you like to "
                             "create a new database file?"),
              QStringLiteral("Create new database?"), MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::Yes);
    Main();
    EXPECT_TRUE(VisibleWindow<frmMain>());
    EXPECT_EQ(Rows(QStringLiteral("select pwd from pmpref")), QStringLiteral("('')"));
}

TEST_F(Startup, APasswordThatCannotBeReadEndsTheStart) {
    AppFolder folder;
    Exec(QStringLiteral("drop table pmPref"));
    gConn.reset();
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Error: Error while getting password!\r\nDesc: The database engine "
                             "cannot find the input table or query 'pmpref'.  Make sure it exists "
                             "and that its name is spelled correctly."),
              QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    Main();
    EXPECT_FALSE(AnyWindowOpen());
}

class Login : public Startup {
protected:
    frmLogin* Start(const QString& stored) {
        folder_ = std::make_unique<AppFolder>();
        QString quoted = stored;
        Exec(QStringLiteral("insert into pmpref (pwd) values ('") + quoted.replace("'", "''") +
             QStringLiteral("')"));
        return ShowLogin();
    }
    void Type(frmLogin* login, const QString& text) {
        login->txtPassword->clear();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        // Qt Test types ASCII only; other text is put in as an input method would.
        if (ascii)
            QTest::keyClicks(login->txtPassword, text);
        else
            login->txtPassword->insert(text);
        QTest::keyClick(login->txtPassword, Qt::Key_Return);
    }
    std::unique_ptr<AppFolder> folder_;
};

TEST_F(Login, TheStoredPasswordExactlyOpensTheMainWindow) {
    frmLogin* login = Start(QStringLiteral("Secret"));
    ASSERT_EQ(login->txtPassword->echoMode(), QLineEdit::Password);
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Incorrect Password!"), QStringLiteral("Pimora: Login Failed"),
              MsgIcon::Critical, MsgButtons::OK);
    p->Expect(QStringLiteral("Incorrect Password!"), QStringLiteral("Pimora: Login Failed"),
              MsgIcon::Critical, MsgButtons::OK);
    Type(login, QStringLiteral("secret"));
    EXPECT_TRUE(login->isVisible());
    EXPECT_TRUE(login->txtPassword->text().isEmpty());
    Type(login, QStringLiteral(" Secret"));
    EXPECT_TRUE(login->isVisible());
    EXPECT_EQ(login->iTries, 2);
    Type(login, QStringLiteral("Secret"));
    EXPECT_TRUE(VisibleWindow<frmMain>());
    EXPECT_FALSE(VisibleWindow<frmLogin>());
    // The plain text an older version kept is its hash from now on.
    const QString stored = Scalar(QStringLiteral("select pwd from pmpref")).toString();
    EXPECT_TRUE(IsPasswordHash(stored)) << stored.toStdString();
    EXPECT_TRUE(PasswordMatches(stored, QStringLiteral("Secret")));
}

TEST_F(Login, ThreeWrongAnswersEndTheProgram) {
    frmLogin* login = Start(QStringLiteral("Secret"));
    ScopedPrompter p;
    WindowsGuard windows;
    for (int i = 0; i < 3; ++i)
        p->Expect(QStringLiteral("Incorrect Password!"), QStringLiteral("Pimora: Login Failed"),
                  MsgIcon::Critical, MsgButtons::OK);
    for (int i = 0; i < 3; ++i)
        Type(login, QStringLiteral("guess"));
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_TRUE(gConn) << "this path leaves the connection to the end of the process";
}

TEST_F(Login, EscapeInThePasswordFieldIsExit) {
    frmLogin* login = Start(QStringLiteral("Secret"));
    ScopedPrompter p;
    WindowsGuard windows;
    QTest::keyClick(login->txtPassword, Qt::Key_Escape);
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_FALSE(gConn);
}

TEST_F(Login, AStoredHashIsVerified) {
    ASSERT_GE(sodium_init(), 0);
    char hash[crypto_pwhash_STRBYTES];
    const QByteArray pass = QStringLiteral("pässword").toUtf8();
    ASSERT_EQ(crypto_pwhash_str(hash, pass.constData(),
                                static_cast<unsigned long long>(pass.size()),
                                crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN),
              0);
    frmLogin* login = Start(QString::fromLatin1(hash));
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Incorrect Password!"), QStringLiteral("Pimora: Login Failed"),
              MsgIcon::Critical, MsgButtons::OK);
    Type(login, QString::fromLatin1(hash)); // the hash itself is not the password
    Type(login, QStringLiteral("pässword"));
    EXPECT_TRUE(VisibleWindow<frmMain>());
}

TEST_F(Login, UnreadablePasswordKeepsTheDialogOpen) {
    frmLogin* login = Start(QStringLiteral("Secret"));
    Exec(QStringLiteral("drop table pmPref"));
    ScopedPrompter p;
    WindowsGuard windows;
    p->Expect(QStringLiteral("Error: Error while getting password!\r\nDesc: The database engine "
                             "cannot find the input table or query 'pmpref'.  Make sure it exists "
                             "and that its name is spelled correctly."),
              QStringLiteral("Error!"), MsgIcon::Critical, MsgButtons::OK);
    Type(login, QStringLiteral("Secret"));
    EXPECT_TRUE(login->isVisible());
}

} // namespace

#include "support/Windows.h"

#include "platform/Application.h"
#include "platform/Clock.h"
#include "platform/SingleInstance.h"
#include "platform/TrayIcon.h"
#include "security/Password.h"
#include "security/frmLogin.h"
#include "startup/modMain.h"
#include "store/Backups.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <sodium.h>

namespace {

const QString kNoPref = "The database engine cannot find the input table or query 'pmpref'.  "
                        "Make sure it exists and that its name is spelled correctly.";

QByteArray Hash(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

class Startup : public ::testing::Test {
protected:
    void TearDown() override { CloseAllWindows(); }
};

TEST_F(Startup, ThePasswordDecidesBetweenTheMainWindowAndTheLogin) {
    // No row at all, then stored passwords that are no password, then a real one.
    for (const char* pwd : {"", "''", "NULL", "'   '", "'secret'"}) {
        AppFolder folder;
        if (*pwd)
            Exec(QString("insert into pmpref (pwd) values (%1)").arg(pwd));
        gConn.reset(); // Main opens it itself
        ScopedPrompter p;
        WindowsGuard windows;
        Main();
        const bool asks = QString(pwd) == "'secret'";
        EXPECT_EQ(VisibleWindow<frmMain>() != nullptr, !asks) << pwd;
        EXPECT_EQ(VisibleWindow<frmLogin>() != nullptr, asks) << pwd;
        if (!*pwd) {
            EXPECT_EQ(Rows("select pwd from pmpref"), "('')") << "an empty table gets its row";
        }
        CloseAllWindows();
        EXPECT_TRUE(asks || !gConn) << "closing the main window closes the database";
    }
}

TEST_F(Startup, AMissingDatabaseIsCreatedOnYesAndOnNoNothingOpens) {
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        AppFolder folder(AppFolder::WithTemplate);
        ScopedPrompter p;
        WindowsGuard windows;
        p->Expect("Database file (pengkalan.dat) file is not found!  Would you like to create a "
                  "new database file?",
                  "Create new database?", MsgIcon::Exclamation, MsgButtons::YesNo, answer);
        Main();
        const bool yes = answer == MsgResult::Yes;
        EXPECT_EQ(VisibleWindow<frmMain>() != nullptr, yes);
        EXPECT_EQ(AnyWindowOpen(), yes);
        EXPECT_EQ(QFileInfo::exists(folder.File("pengkalan.dat")), yes);
        if (!yes) {
            EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList({"kosg.dat"}));
        } else {
            EXPECT_EQ(QFileInfo(folder.File("pengkalan.dat")).permissions() & ~QFile::ReadUser &
                          ~QFile::WriteUser & ~QFile::ReadOwner & ~QFile::WriteOwner,
                      QFile::Permissions())
                << "for its owner only";
            EXPECT_EQ(Rows("select pwd from pmpref"), "('')");
            EXPECT_EQ(Rows("select dbver from pmversion"), "('0.9.7')");
        }
    }
}

TEST_F(Startup, APasswordThatCannotBeReadEndsTheStart) {
    AppFolder folder;
    Exec("drop table pmPref");
    gConn.reset();
    ScopedPrompter p;
    WindowsGuard windows;
    p->ExpectError("Error while getting password!", "Error!", kNoPref);
    Main();
    EXPECT_FALSE(AnyWindowOpen());
}

// After the unload the program ends, however the window was closed: Qt's last-window rule
// does not see a window hidden in the tray.
TEST_F(Startup, ExitEndsTheProgramEvenFromTheTrayAndLetsTheNextStartIn) {
    TrayIcon::OverrideAvailable(true);
    for (const char* how : {"tray exit while hidden", "close box while minimised"}) {
        AppFolder folder;
        const bool tray = QString(how).startsWith("tray");
        Exec(QString("insert into pmpref (pwd, minimizetosystray) values ('', '%1')")
                 .arg(tray ? "Y" : "N"));
        gConn.reset();
        ScopedPrompter p;
        WindowsGuard windows;
        Main();
        frmMain* w = VisibleWindow<frmMain>();
        ASSERT_TRUE(w) << how;
        w->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_EQ(w->isVisible(), !tray) << how;
        QTimer::singleShot(0, w, [w, tray] {
            if (tray)
                ActionOf(w, "mnuSystrayExit")->trigger();
            else
                w->close();
        });
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        giveUp.start(10000);
        EXPECT_EQ(QApplication::exec(), 0) << how << ": the event loop did not end";
        giveUp.stop();
        EXPECT_FALSE(gConn);
        SingleInstance& instance = SingleInstance::Instance();
        EXPECT_TRUE(instance.Claim(App::Title())) << how << ": a new start would be turned away";
        instance.Release();
    }
    TrayIcon::OverrideAvailable(std::nullopt);
}

class Login : public Startup {
protected:
    frmLogin* Start(QString stored) {
        folder_.reset(); // its end resets what the next one sets up
        folder_ = std::make_unique<AppFolder>();
        Exec("insert into pmpref (pwd) values ('" + stored.replace("'", "''") + "')");
        return ShowLogin();
    }
    void Type(frmLogin* login, const QString& text) {
        Named<QLineEdit>(login, "txtPassword")->clear();
        // Qt Test types ASCII only; other text is put in as an input method would.
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii)
            QTest::keyClicks(Named<QLineEdit>(login, "txtPassword"), text);
        else
            Named<QLineEdit>(login, "txtPassword")->insert(text);
        QTest::keyClick(Named<QLineEdit>(login, "txtPassword"), Qt::Key_Return);
    }
    void ExpectIncorrect(ScopedPrompter& p, int times = 1) {
        for (int i = 0; i < times; ++i)
            p->Expect("Incorrect Password!", "Pimora: Login Failed", MsgIcon::Critical);
    }
    std::unique_ptr<AppFolder> folder_;
};

TEST_F(Login, TheStoredPasswordExactlyOpensTheMainWindowAndIsHashedFromThen) {
    frmLogin* login = Start("Secret");
    ASSERT_EQ(Named<QLineEdit>(login, "txtPassword")->echoMode(), QLineEdit::Password);
    ScopedPrompter p;
    WindowsGuard windows;
    ExpectIncorrect(p, 2);
    Type(login, "secret");
    EXPECT_TRUE(login->isVisible());
    EXPECT_TRUE(Named<QLineEdit>(login, "txtPassword")->text().isEmpty());
    Type(login, " Secret");
    Type(login, "Secret");
    EXPECT_TRUE(VisibleWindow<frmMain>());
    EXPECT_FALSE(VisibleWindow<frmLogin>());
    const QString stored = Scalar("select pwd from pmpref").toString();
    EXPECT_TRUE(IsPasswordHash(stored)) << stored.toStdString();
    EXPECT_TRUE(PasswordMatches(stored, "Secret"));
}

TEST_F(Login, ThreeWrongAnswersOrEscapeEndTheProgram) {
    for (bool escape : {false, true}) {
        frmLogin* login = Start("Secret");
        ScopedPrompter p;
        WindowsGuard windows;
        if (escape) {
            QTest::keyClick(Named<QLineEdit>(login, "txtPassword"), Qt::Key_Escape);
        } else {
            ExpectIncorrect(p, 3);
            for (int i = 0; i < 3; ++i)
                Type(login, "guess");
        }
        EXPECT_FALSE(AnyWindowOpen());
        // Three failures leave the connection to the end of the process; Escape closes it.
        EXPECT_EQ(gConn != nullptr, !escape);
    }
}

TEST_F(Login, AStoredHashIsVerifiedAndAnUnreadableOneKeepsTheDialogOpen) {
    ASSERT_GE(sodium_init(), 0);
    char hash[crypto_pwhash_STRBYTES];
    const QByteArray pass = QString("pässword").toUtf8();
    ASSERT_EQ(crypto_pwhash_str(hash, pass.constData(),
                                static_cast<unsigned long long>(pass.size()),
                                crypto_pwhash_OPSLIMIT_MIN, crypto_pwhash_MEMLIMIT_MIN),
              0);
    frmLogin* login = Start(hash);
    ScopedPrompter p;
    WindowsGuard windows;
    ExpectIncorrect(p);
    Type(login, hash); // the hash itself is not the password
    Exec("alter table pmPref rename to pmPrefAway");
    p->ExpectError("Error while getting password!", "Error!", kNoPref);
    Type(login, "pässword");
    EXPECT_TRUE(login->isVisible());
    Exec("alter table pmPrefAway rename to pmPref");
    Type(login, "pässword");
    EXPECT_TRUE(VisibleWindow<frmMain>());
}

// A file damaged in its middle opens, so the first start of a day finds it, with the check of
// its daily copy; the newest copy that passes its own check is offered, the damaged file is
// kept aside, and No keeps the refusal.
TEST_F(Startup, ADamagedFileIsOfferedTheNewestSoundCopyAndKeptAside) {
    for (MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
        AppFolder folder;
        Exec("insert into pmpref (pwd) values ('')");
        Exec("insert into pmcalendar (caldate, caljournal) values (#2026-12-05#, 'before')");
        gConn.reset();
        Clock::Set(QDateTime(QDate(2026, 12, 5), QTime(8, 0)));
        {
            ScopedPrompter p;
            WindowsGuard windows;
            Main();
            ASSERT_TRUE(VisibleWindow<frmMain>());
        }
        ASSERT_FALSE(gConn);
        ASSERT_EQ(Backups::List().size(), 1);
        const QString db = folder.File("pengkalan.dat");
        QFile file(db);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_GT(file.size(), 4 * 4096);
        file.seek(4096); // every page after the first, which names the tables
        file.write(QByteArray(int(file.size()) - 4096, '\xA5'));
        file.close();
        const QByteArray damaged = Hash(db);

        Clock::Set(QDateTime(QDate(2026, 12, 6), QTime(8, 0, 1)));
        ScopedPrompter p;
        WindowsGuard windows;
        p->Expect("The database file is damaged. Restore the backup of 5 Dec 2026 08:00:00?",
                  "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, answer);
        const bool yes = answer == MsgResult::Yes;
        if (!yes)
            p->ExpectErrorStartingWith("Error Connecting to Database!", "DB Connection Error",
                                       "The database file '" + db + "' is damaged: ");
        Main();
        EXPECT_EQ(VisibleWindow<frmMain>() != nullptr, yes);
        const QString aside = db + ".damaged-20261206-080001";
        EXPECT_EQ(QFileInfo::exists(aside), yes);
        EXPECT_EQ(Hash(yes ? aside : db), damaged) << "the damaged file is never changed";
        if (yes) {
            EXPECT_EQ(Rows("select caljournal from pmcalendar"), "('before')");
        }
        EXPECT_EQ(Backups::List().size(), 1) << "no copy of a damaged file is kept";
        CloseAllWindows();
        Clock::Reset();
    }
}

} // namespace

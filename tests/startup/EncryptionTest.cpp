// The encrypted database as its user meets it: turned on in the preferences, opened by the
// login alone, given a new password, and stored in the clear again.
#include "support/Windows.h"

#include "data/SealedFormat.h"
#include "data/SealedVfs.h"
#include "platform/SingleInstance.h"
#include "security/frmLogin.h"
#include "security/frmPreferences.h"
#include "startup/modMain.h"
#include "store/Backups.h"

#include <QDir>
#include <QFile>

namespace {

const QString kMarker = QStringLiteral("Kilimanjaro-Señora-73");
const QString kLater = QStringLiteral("Zanzibar-Ümit-19");
const QString kEncrypt = QStringLiteral(
    "Without this password nobody can read anything Pimora holds, and a forgotten password "
    "cannot be recovered. Encrypt the database now?");
const QString kDecrypt = QStringLiteral("Store the database unencrypted? Anyone who can read "
                                        "the file can then read everything in it.");

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool Sealed(const QString& path) {
    return Bytes(path).startsWith(QByteArray(Sealed::kMagic, Sealed::kMagicSize));
}

class Encryption : public ::testing::Test {
protected:
    void TearDown() override { CloseAllWindows(); }

    void Preferences(const std::function<void(frmPreferences&)>& drive) {
        DialogDriver driver([&](QDialog& d) {
            auto& dialog = dynamic_cast<frmPreferences&>(d);
            drive(dialog);
            if (dialog.isVisible())
                Named<QPushButton>(&dialog, "cmdExit")->click();
            return dialog.result();
        });
        ActionOf(VisibleWindow<frmMain>(), "mnuPref")->trigger();
        EXPECT_EQ(driver.Shown(), 1);
    }
    void SetPassword(frmPreferences& dialog, const QString& password) {
        Named<QLineEdit>(&dialog, "txtPassword")->setText(password);
        Named<QLineEdit>(&dialog, "txtPassword2")->setText(password);
    }
    void Answer(frmLogin* login, const QString& text) {
        Named<QLineEdit>(login, "txtPassword")->setText(text);
        QTest::keyClick(Named<QLineEdit>(login, "txtPassword"), Qt::Key_Return);
    }
    // A fresh start: the login for an encrypted file, and nothing of the file opened yet.
    frmLogin* StartLocked() {
        CloseAllWindows();
        DeleteClosedWindows();
        // As the end of the last process would.
        SingleInstance::Instance().Release();
        SealedVfs::SetSessionKey(nullptr);
        Main();
        EXPECT_FALSE(VisibleWindow<frmMain>());
        EXPECT_FALSE(gConn) << "nothing is read before the password";
        return VisibleWindow<frmLogin>();
    }
};

TEST_F(Encryption, TurnedOnNothingTypedStaysInTheClearAndOnlyThePasswordOpensIt) {
    AppFolder folder;
    Exec("insert into pmpref (pwd) values ('')");
    Exec("insert into pmcalevent (calevent) values ('Meeting')");
    Exec("insert into pmcalendar (caldate,caljournal) values (#01 Dec 2026#,'" + kMarker + "')");
    Exec("insert into pmcaleventdate (caldate,calevent,eventdetails) values (#02 Dec 2026#,"
         "'Meeting','" +
         kMarker + "')");
    Exec("insert into pmthoughts (thoname,thocaption,thoparent,thodata) values ('n1','Note',"
         "'root','" +
         kMarker + "')");
    gConn.reset();
    const QString db = folder.File("pengkalan.dat");
    // What a crash in a rewrite leaves, and a damaged file kept aside in the clear.
    QFile::copy(db, db + ".rewrite-1x2y");
    QFile::copy(db, db + ".damaged-20261201-080000");
    ScopedPrompter p;
    WindowsGuard windows;
    Main(); // the day's first start makes a plain backup holding the marker
    ASSERT_TRUE(VisibleWindow<frmMain>());
    EXPECT_FALSE(QFileInfo::exists(db + ".rewrite-1x2y")) << "an unfinished rewrite goes";
    ASSERT_EQ(Backups::List().size(), 1);
    ASSERT_FALSE(FilesHolding(folder.Path(), kMarker).isEmpty());

    Preferences([&](frmPreferences& dialog) {
        auto* encrypt = Named<QCheckBox>(&dialog, "chkEncryptDB");
        EXPECT_FALSE(encrypt->isEnabled()) << "no password, nothing to encrypt with";
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(true);
        SetPassword(dialog, "Open Sesame");
        EXPECT_TRUE(encrypt->isEnabled());
        encrypt->setChecked(true);
        p->Expect(kEncrypt, "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_TRUE(dialog.isVisible()) << "No goes back to the dialog";
        EXPECT_FALSE(Sealed(db));
        p->Expect(kEncrypt, "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::Yes);
        p->Expect("These damaged files beside the database were kept as they are and are not "
                  "encrypted: pengkalan.dat.damaged-20261201-080000. Delete them once you no "
                  "longer need them.",
                  "Pimora", MsgIcon::Exclamation);
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    QFile::remove(db + ".damaged-20261201-080000"); // as the user was asked to
    EXPECT_TRUE(Sealed(db));
    ASSERT_EQ(Backups::List().size(), 1);
    EXPECT_TRUE(Sealed(Backups::List()[0].path)) << "the backup is encrypted too";
    EXPECT_EQ(FilesHolding(folder.Path(), kMarker), QStringList());

    // Typed now, it goes to the log first, sealed as well.
    auto* journal = Named<QPlainTextEdit>(VisibleWindow<frmMain>(), "rtfCalQJournal");
    journal->selectAll();
    journal->insertPlainText(kLater);
    Named<QPushButton>(VisibleWindow<frmMain>(), "cmdNextDay")->click();
    EXPECT_EQ(Count("select * from pmcalendar where caljournal = '" + kLater + "'"), 1);
    EXPECT_EQ(FilesHolding(folder.Path(), kLater), QStringList());

    CloseAllWindows();
    ASSERT_FALSE(gConn);
    const QByteArray closed = Bytes(db);
    frmLogin* login = StartLocked();
    ASSERT_TRUE(login);
    for (int i = 0; i < 3; ++i)
        p->Expect("Incorrect Password!", "Pimora: Login Failed", MsgIcon::Critical);
    for (const char* wrong : {"open sesame", "Open Sesame ", "guess"})
        Answer(login, wrong);
    EXPECT_FALSE(AnyWindowOpen()) << "three wrong answers end the program";
    EXPECT_EQ(Bytes(db), closed) << "and leave the file as it was";
    EXPECT_FALSE(QFileInfo::exists(db + "-wal"));

    login = StartLocked();
    ASSERT_TRUE(login);
    Answer(login, "Open Sesame");
    ASSERT_TRUE(VisibleWindow<frmMain>());
    EXPECT_EQ(Count("select * from pmcalendar where caljournal = '" + kLater + "'"), 1);

    // A new password re-encrypts it in the same save.
    Preferences([&](frmPreferences& dialog) {
        EXPECT_TRUE(Named<QCheckBox>(&dialog, "chkEncryptDB")->isChecked());
        SetPassword(dialog, "Second key");
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    login = StartLocked();
    ASSERT_TRUE(login);
    p->Expect("Incorrect Password!", "Pimora: Login Failed", MsgIcon::Critical);
    Answer(login, "Open Sesame");
    Answer(login, "Second key");
    ASSERT_TRUE(VisibleWindow<frmMain>());
    EXPECT_EQ(Count("select * from pmthoughts where thodata = '" + kMarker + "'"), 1);
    EXPECT_TRUE(Sealed(Backups::List()[0].path));

    // In the clear again, after its own question; the scan above would have found it.
    Preferences([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkEncryptDB")->setChecked(false);
        p->Expect(kDecrypt, "Pimora", MsgIcon::Question, MsgButtons::YesNo, MsgResult::Yes);
        Named<QPushButton>(&dialog, "cmdSave")->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    });
    EXPECT_TRUE(Bytes(db).startsWith("SQLite format 3"));
    EXPECT_FALSE(Sealed(Backups::List()[0].path));
    EXPECT_TRUE(FilesHolding(folder.Path(), kMarker).contains(db));
    CloseAllWindows();
    p->Expect("Incorrect Password!", "Pimora: Login Failed", MsgIcon::Critical);
    SingleInstance::Instance().Release();
    Main();
    login = VisibleWindow<frmLogin>();
    ASSERT_TRUE(login) << "the password still gates the start";
    EXPECT_TRUE(gConn) << "a plain file is open behind the login";
    Answer(login, "Open Sesame");
    Answer(login, "Second key");
    EXPECT_TRUE(VisibleWindow<frmMain>());
}

// A page that fails its check is damage: reported, never read around, and the newest sound
// backup offered; a damaged header is reported before any password is asked for.
TEST_F(Encryption, DamageIsReportedAndTheBackupOffered) {
    AppFolder folder;
    Exec("insert into pmpref (pwd) values ('')");
    Exec("insert into pmcalendar (caldate,caljournal) values (#01 Dec 2026#,'kept')");
    gConn.reset();
    const QString db = folder.File("pengkalan.dat");
    ScopedPrompter p;
    WindowsGuard windows;
    Main();
    Preferences([&](frmPreferences& dialog) {
        Named<QCheckBox>(&dialog, "chkEnablePwd")->setChecked(true);
        SetPassword(dialog, "pw");
        Named<QCheckBox>(&dialog, "chkEncryptDB")->setChecked(true);
        p->Expect(kEncrypt, "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::Yes);
        Named<QPushButton>(&dialog, "cmdSave")->click();
    });
    CloseAllWindows();
    ASSERT_TRUE(Sealed(db));
    const Backups::Entry backup = Backups::List().value(0);
    ASSERT_TRUE(Sealed(backup.path));

    QByteArray bytes = Bytes(db);
    bytes[Sealed::kHeaderSize + 300] ^= 0x01; // SQLite's first page, read at every opening
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    frmLogin* login = StartLocked();
    ASSERT_TRUE(login);
    p->Expect("The database file is damaged. Restore the backup of " + Backups::When(backup.made) +
                  "?",
              "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
    p->ExpectErrorStartingWith("Error Connecting to Database!", "DB Connection Error",
                               "The database file '" + db +
                                   "' is damaged or was changed outside Pimora");
    Answer(login, "pw");
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_EQ(Bytes(db), bytes) << "the damaged file is left as it is";

    login = StartLocked();
    p->Expect("The database file is damaged. Restore the backup of " + Backups::When(backup.made) +
                  "?",
              "Pimora", MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::Yes);
    Answer(login, "pw");
    ASSERT_TRUE(VisibleWindow<frmMain>());
    EXPECT_EQ(Rows("select caljournal from pmcalendar"), "('kept')");
    CloseAllWindows();

    // A header that does not pass its own check names the damage before any login.
    bytes = Bytes(db);
    bytes[50] ^= 0x01;
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    p->ExpectErrorStartingWith("Error Connecting to Database!", "DB Connection Error",
                               "The database file '" + db +
                                   "' is damaged or was changed outside Pimora: its header");
    SingleInstance::Instance().Release();
    SealedVfs::SetSessionKey(nullptr);
    Main();
    EXPECT_FALSE(AnyWindowOpen());
    EXPECT_EQ(Bytes(db), bytes);
}

} // namespace

// Finding, creating and upgrading pengkalan.dat: the exact boxes, and no file changed where
// the program must not change it.
#include "support/AppFolder.h"
#include "support/ScriptedPrompter.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "data/modDB.h"
#include "platform/Application.h"
#include "store/Backups.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

const QString kAsk = "Database file (pengkalan.dat) file is not found!  Would you like to create "
                     "a new database file?";
const QString kCritical = "Critical Error - Pimora cannot continue!";

QByteArray Snapshot(const QString& path) {
    QFile f(path);
    if (QFileInfo(path).isDir() || !f.open(QIODevice::ReadOnly))
        return "not a readable file";
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList Files(const AppFolder& folder) {
    return QDir(folder.Path())
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

void Write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void RawExec(const QString& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(db);
}

TEST(OpenDatabase, OursIsOpenedWithoutQuestionsWithOrWithoutItsStamp) {
    for (const char* stamp : {"", "pragma application_id = 0"}) {
        AppFolder folder(AppFolder::WithTemplate);
        folder.CopyTemplateTo("pengkalan.dat");
        if (*stamp)
            RawExec(folder.File("pengkalan.dat"), stamp);
        const QByteArray before = Snapshot(folder.File("kosg.dat"));
        ScopedPrompter p;
        ASSERT_TRUE(OpenDatabase()) << stamp;
        EXPECT_EQ(gConn->State(), ObjectState::Open);
        EXPECT_EQ(Snapshot(folder.File("kosg.dat")), before);
    }
}

// Creating a missing file on Yes, or not on No, is checked from the start (Startup).
TEST(OpenDatabase, WithoutTheTemplateOrTheRoomToCopyItNothingIsLeftBehind) {
    {
        AppFolder folder(AppFolder::Empty);
        ScopedPrompter p;
        p->Expect("Error: Cannot find database file!  Download Pimora again to ensure you have "
                  "the complete Pimora package!\r\nDesc: Could not find file '" +
                      folder.File("pengkalan.dat") + "'.",
                  kCritical, MsgIcon::Critical);
        EXPECT_FALSE(OpenDatabase());
        EXPECT_TRUE(Files(folder).isEmpty());
    }
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    p->Expect(kAsk, "Create new database?", MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::Yes);
    p->Expect("Error: Cannot create the database file (pengkalan.dat)!\r\nDesc: Could not write '" +
                  folder.File("pengkalan.dat") + "': File too large",
              kCritical, MsgIcon::Critical);
    {
        DiskFull full(4096); // the template does not fit
        EXPECT_FALSE(OpenDatabase());
    }
    EXPECT_FALSE(gConn);
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat"}));
}

TEST(OpenDatabase, AFileThatIsNotOursIsReportedOnceAndLeftAlone) {
    QByteArray jet(8192, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    const QString kLeft = " The file was left as it is.";
    struct Case {
        std::function<void(const AppFolder&, const QString&)> make;
        QString desc; // %1 is the file
    };
    auto bytes = [](QByteArray b) {
        return [b](const AppFolder&, const QString& f) { Write(f, b); };
    };
    auto sql = [](const char* s) {
        return [s](const AppFolder&, const QString& f) { RawExec(f, s); };
    };
    const Case cases[] = {
        {bytes(jet), "The file '%1' is a Microsoft Jet database, as kept by the Windows version of "
                     "Pimora; this version keeps its data in another format and cannot open it." +
                         kLeft},
        {bytes(QByteArray(5000, 'x')),
         "The file '%1' is not a Pimora database: it is not an SQLite database file." + kLeft},
        {bytes({}), "The file '%1' is empty: it is not a Pimora database."},
        {bytes(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5A')),
         "The database file '%1' is damaged or cannot be used: file is not a database"},
        {sql("create table notes (body text); insert into notes values ('mine')"),
         "The file '%1' is an SQLite database, but not a Pimora database: it belongs to another "
         "program." +
             kLeft},
        {[](const AppFolder& folder, const QString&) {
             ASSERT_TRUE(QDir(folder.Path()).mkdir("pengkalan.dat"));
         },
         "'%1' is a folder, not a database file. It was left as it is."},
    };
    for (const Case& c : cases) {
        AppFolder folder(AppFolder::WithTemplate);
        const QString db = folder.File("pengkalan.dat");
        c.make(folder, db);
        const QByteArray before = Snapshot(db);
        ScopedPrompter p;
        p->Expect("Error: Error Connecting to Database!\r\nDesc: " + c.desc.arg(db),
                  "DB Connection Error", MsgIcon::Critical);
        EXPECT_FALSE(OpenDatabase());
        EXPECT_EQ(Snapshot(db), before) << c.desc.toStdString();
        EXPECT_EQ(Files(folder), QStringList({"kosg.dat", "pengkalan.dat"}));
    }
}

// Schema versions as older releases left them.
const QStringList k095 = {"drop table pmPref", "create table pmPref (pwd TEXT)",
                          "insert into pmpref (pwd) values ('kept')",
                          "update pmVersion set dbver = '0.9.5'"};
const QStringList k096 = {
    "drop table pmPref", "create table pmPref (pwd TEXT, ShortDateFormat TEXT(25))",
    "insert into pmpref (pwd) values ('kept')", "update pmVersion set dbver = ' 0.9.6 '"};

TEST(CheckDBVersion, EachStartingPointEndsWhereItShould) {
    const QString kCorrupted = "Database version has been corrupted!  Errors may occur when "
                               "Pimora is in operation.  Backup your pengkalan.dat immediately!";
    const QString today = VbFormat(QDate::currentDate(), "dd mmm yyyy");
    struct Case {
        QStringList setup;
        bool ok;
        QString box, title; // none when empty
        QString pref, version;
    };
    const Case cases[] = {
        {{}, true, {}, {}, "", "('0.9.7','07 Dec 2026')"},
        {k096, true, {}, {}, "('kept',NULL,'N','Y')", "('0.9.7','07 Dec 2026')"},
        {k095, true, {}, {}, "('kept','yyyy-mm-dd','N','Y')", "('0.9.7','07 Dec 2026')"},
        // No version table: the oldest version, dated today (in a CHAR column, as text).
        {k095 + QStringList{"drop table pmVersion"},
         true,
         {},
         {},
         "('kept','yyyy-mm-dd','N','Y')",
         "('0.9.7','" + today + "')"},
        {k095 + QStringList{"delete from pmversion"}, true,
         "No record in pmVersion table, which is strange...", "Pimora", "('kept')", ""},
        {{"update pmVersion set dbver = NULL"},
         false,
         kCorrupted,
         "Pimora Critical error!",
         "",
         "(NULL,'07 Dec 2026')"},
        {{"update pmVersion set dbver = '1.0'"},
         false,
         kCorrupted,
         "Pimora Critical error!",
         "",
         "('1.0','07 Dec 2026')"},
        {{"update pmVersion set dbver = '0.9.7.1'"},
         false,
         kCorrupted,
         "Pimora Critical error!",
         "",
         "('0.9.7.1','07 Dec 2026')"},
    };
    for (const Case& c : cases) {
        AppFolder folder;
        for (const QString& s : c.setup)
            Exec(s);
        ScopedPrompter p;
        if (!c.box.isEmpty())
            p->Expect(c.box, c.title, c.title == "Pimora" ? MsgIcon::None : MsgIcon::Critical);
        EXPECT_EQ(CheckDBVersion(), c.ok) << c.setup.join("; ").toStdString();
        EXPECT_EQ(Rows("select * from pmpref"), c.pref) << c.setup.join("; ").toStdString();
        EXPECT_EQ(Rows("select dbver, verdate from pmversion"), c.version);
    }
}

TEST(CheckDBVersion, AFailedStepLeavesTheDatabaseAsBeforeItAndTheNextStartFinishes) {
    AppFolder folder;
    for (const QString& s : k096)
        Exec(s);
    // The second column of the step already exists, so the step fails half-way.
    Exec("ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)");
    const QString before = Rows("select * from pmpref");
    ScopedPrompter p;
    p->Expect("Error: Error while determining DB version!\r\nDesc: Field 'EnableToolTips' "
              "already exists in the table.",
              "DB Error!", MsgIcon::Critical);
    EXPECT_FALSE(CheckDBVersion());
    EXPECT_EQ(Rows("select * from pmpref"), before);
    EXPECT_EQ(Rows("select dbver from pmversion"), "(' 0.9.6 ')");
    for (const QString& s : k096)
        Exec(s);
    EXPECT_TRUE(CheckDBVersion());
    EXPECT_EQ(Rows("select dbver from pmversion"), "('0.9.7')");
    EXPECT_EQ(Count("select * from pmpref where enabletooltips = 'y'"), 1)
        << "a text column the upgrade adds ignores case like the others";

    Exec("drop table pmPref");
    p->Expect("Error: Error while determining DB version!\r\nDesc: The database engine cannot "
              "find the input table or query 'pmPref'.  Make sure it exists and that its name is "
              "spelled correctly.",
              "DB Error!", MsgIcon::Critical);
    Exec("update pmVersion set dbver = '0.9.5'");
    EXPECT_FALSE(CheckDBVersion());
    EXPECT_EQ(Rows("select dbver from pmversion"), "('0.9.5')");
}

// A bind mount for the rest of a scope: root writes through file modes, so a folder or file is
// made read-only by mounting it so.
class BindMount {
public:
    BindMount(const QString& source, const QString& target, bool readOnly)
        : target_(QFile::encodeName(target)) {
        const QByteArray from = QFile::encodeName(source);
        ok_ = ::mount(from.constData(), target_.constData(), nullptr, MS_BIND, nullptr) == 0;
        if (ok_ && readOnly &&
            ::mount(nullptr, target_.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) != 0) {
            ::umount(target_.constData());
            ok_ = false;
        }
    }
    ~BindMount() {
        if (ok_)
            ::umount2(target_.constData(), MNT_DETACH);
    }
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;
    bool ok() const { return ok_; }

private:
    QByteArray target_;
    bool ok_ = false;
};

// The file cannot be written, or it can but its folder cannot hold the journal's side files.
TEST(OpenDatabase, AReadOnlyFileOrFolderIsReportedOnceAndNothingIsWritten) {
    AppFolder folder(AppFolder::WithTemplate);
    folder.CopyTemplateTo("pengkalan.dat");
    folder.CopyTemplateTo("writable.dat");
    const QString db = folder.File("pengkalan.dat");
    const QByteArray before = Snapshot(db);
    BindMount ro(folder.Path(), folder.Path(), true);
    if (!ro.ok())
        GTEST_SKIP() << "this user may not mount";
    const QString kSays = "Error: Error Connecting to Database!\r\nDesc: ";
    {
        ScopedPrompter p;
        p->Expect(kSays + "The database file '" + db +
                      "' cannot be written: Read-only file system. It was left as it is.",
                  "DB Connection Error", MsgIcon::Critical);
        EXPECT_FALSE(OpenDatabase());
    }
    {
        QTemporaryDir elsewhere;
        const QString file = elsewhere.filePath("pengkalan.dat");
        ASSERT_TRUE(QFile::copy(db, file));
        BindMount writable(file, db, false);
        ASSERT_TRUE(writable.ok());
        ScopedPrompter p;
        p->Expect(kSays + "Pimora cannot write in the folder '" + folder.Path() +
                      "' that holds its database file: Read-only file system. The file was left "
                      "as it is.",
                  "DB Connection Error", MsgIcon::Critical);
        EXPECT_FALSE(OpenDatabase());
    }
    EXPECT_FALSE(gConn);
    EXPECT_EQ(Snapshot(db), before);
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat", "pengkalan.dat", "writable.dat"}));
}

// An environment variable set for the rest of a scope; an invalid value unsets it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), before_(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, before_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool had_;
    QByteArray before_;
};

int ModeOf(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

TEST(DataPath, BesideAWritableProgramElseInTheUsersDataFolder) {
    AppFolder folder(AppFolder::WithTemplate);
    QTemporaryDir user;
    const QString home = user.filePath("home");
    ScopedEnv homeVar("HOME", QFile::encodeName(home));
    ScopedEnv xdg("XDG_DATA_HOME", QFile::encodeName(user.filePath("data")));
    EXPECT_EQ(App::DataPath(), folder.Path()) << "a build or a portable copy";

    BindMount ro(folder.Path(), folder.Path(), true);
    if (!ro.ok())
        GTEST_SKIP() << "this user may not mount";
    EXPECT_EQ(App::DataPath(), user.filePath("data/pimora"));
    EXPECT_FALSE(QFileInfo::exists(user.filePath("data"))) << "deciding makes nothing";
    for (const QByteArray& invalid : {QByteArray("relative/data"), QByteArray(""), QByteArray()}) {
        ScopedEnv other("XDG_DATA_HOME", invalid);
        EXPECT_EQ(App::DataPath(), home + "/.local/share/pimora") << invalid.constData();
    }
}

// An installed copy: the question as ever, the file made in the user's folder, the program's
// folder untouched; the backups follow the file.
TEST(OpenDatabase, AReadOnlyProgramFolderCreatesTheDatabaseInTheUsersDataFolder) {
    AppFolder folder(AppFolder::WithTemplate);
    QTemporaryDir user;
    const QString home = user.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    ScopedEnv homeVar("HOME", QFile::encodeName(home));
    ScopedEnv xdg("XDG_DATA_HOME", QByteArray());
    const QByteArray templateBefore = Snapshot(folder.File("kosg.dat"));
    BindMount ro(folder.Path(), folder.Path(), true);
    if (!ro.ok())
        GTEST_SKIP() << "this user may not mount";
    const QString data = home + "/.local/share/pimora";
    {
        ScopedPrompter p;
        p->Expect(kAsk, "Create new database?", MsgIcon::Exclamation, MsgButtons::YesNo,
                  MsgResult::Yes);
        ASSERT_TRUE(OpenDatabase());
    }
    EXPECT_EQ(DatabaseFile(), data + "/pengkalan.dat");
    EXPECT_EQ(Backups::Folder(), data + "/backups");
    EXPECT_EQ(Count("select * from pmversion"), 1) << "a copy of the template";
    EXPECT_EQ(ModeOf(data + "/pengkalan.dat"), 0600);
    for (const QString& made : {home + "/.local", home + "/.local/share", data})
        EXPECT_EQ(ModeOf(made), 0700) << made.toStdString();
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat"}));
    EXPECT_EQ(Snapshot(folder.File("kosg.dat")), templateBefore);
    ASSERT_TRUE(CloseDatabase());

    // The next start finds it there without asking.
    ScopedPrompter again;
    ASSERT_TRUE(OpenDatabase());
    EXPECT_EQ(DatabaseFile(), data + "/pengkalan.dat");
}

// Where the user's data folder cannot be made, the create fails in the system's words.
TEST(OpenDatabase, AUserDataFolderThatCannotBeMadeIsReportedOnce) {
    AppFolder folder(AppFolder::WithTemplate);
    QTemporaryDir user;
    const QString blocker = user.filePath("data");
    Write(blocker, "a file where the folder should be");
    ScopedEnv xdg("XDG_DATA_HOME", QFile::encodeName(blocker));
    BindMount ro(folder.Path(), folder.Path(), true);
    if (!ro.ok())
        GTEST_SKIP() << "this user may not mount";
    ScopedPrompter p;
    p->Expect(kAsk, "Create new database?", MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::Yes);
    p->Expect("Error: Cannot create the database file (pengkalan.dat)!\r\nDesc: Could not make "
              "the folder " +
                  blocker + "/pimora: Not a directory",
              kCritical, MsgIcon::Critical);
    EXPECT_FALSE(OpenDatabase());
    EXPECT_FALSE(gConn);
}

} // namespace

#include "support/AppFolder.h"
#include "support/DiskFull.h"
#include "support/Render.h"
#include "support/ScriptedPrompter.h"

#include "common/RuntimeError.h"
#include "common/VbDate.h"
#include "data/modDB.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kAsk = QStringLiteral("Database file (pengkalan.dat) file is not found!  Would you "
                                    "like to create a new database file?");

QByteArray Hash(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList Files(const AppFolder& folder) {
    return QDir(folder.Path())
        .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(OpenDatabase, PresentFileIsOpenedWithoutQuestions) {
    AppFolder folder(AppFolder::WithTemplate);
    folder.CopyTemplateTo(QStringLiteral("pengkalan.dat"));
    const QByteArray before = Hash(folder.File(QStringLiteral("kosg.dat")));
    ScopedPrompter p;
    ASSERT_TRUE(OpenDatabase());
    ASSERT_TRUE(gConn);
    EXPECT_EQ(gConn->State(), ObjectState::Open);
    EXPECT_EQ(Hash(folder.File(QStringLiteral("kosg.dat"))), before);
    EXPECT_TRUE(p->Shown().empty());
}

TEST(OpenDatabase, MissingFileIsCreatedFromTheTemplateOnYes) {
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    p->Expect(kAsk, QStringLiteral("Create new database?"), MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::Yes);
    ASSERT_TRUE(OpenDatabase());
    EXPECT_EQ(gConn->State(), ObjectState::Open);
    EXPECT_TRUE(QFileInfo::exists(folder.File(QStringLiteral("kosg.dat"))));
    const QFileInfo db(folder.File(QStringLiteral("pengkalan.dat")));
    ASSERT_TRUE(db.exists());
    EXPECT_EQ(db.permissions() &
                  (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFile::Permissions());
    EXPECT_EQ(Rows(QStringLiteral("select dbver from pmversion")), QStringLiteral("('0.9.7')"));
    gConn->Close();
    gConn.reset();
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat", "pengkalan.dat"}));
}

TEST(OpenDatabase, DecliningLeavesTheFolderAsItWas) {
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    p->Expect(kAsk, QStringLiteral("Create new database?"), MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::No);
    EXPECT_FALSE(OpenDatabase());
    EXPECT_FALSE(gConn);
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat"}));
}

TEST(OpenDatabase, WithoutTheTemplateOnlyTheCriticalMessageShows) {
    AppFolder folder(AppFolder::Empty);
    ScopedPrompter p;
    p->Expect(
        QStringLiteral("Error: Cannot find database file!  Download Pimora again to ensure "
                       "you have the complete Pimora package!\r\nDesc: Could not find file '") +
            folder.File(QStringLiteral("pengkalan.dat")) + QStringLiteral("'."),
        QStringLiteral("Critical Error - Pimora cannot continue!"), MsgIcon::Critical,
        MsgButtons::OK);
    EXPECT_FALSE(OpenDatabase());
    EXPECT_TRUE(Files(folder).isEmpty());
}

TEST(OpenDatabase, AFileThatIsNotOursIsReportedAndLeftAlone) {
    AppFolder folder(AppFolder::WithTemplate);
    QByteArray jet(8192, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    {
        QFile f(folder.File(QStringLiteral("pengkalan.dat")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(jet);
    }
    const QByteArray before = Hash(folder.File(QStringLiteral("pengkalan.dat")));
    ScopedPrompter p;
    p->Expect(QStringLiteral("Error: Error Connecting to Database!\r\nDesc: The file '") +
                  folder.File(QStringLiteral("pengkalan.dat")) +
                  QStringLiteral("' is a Microsoft Jet database, as kept by the Windows version "
                                 "of Pimora; this version keeps its data in another format and "
                                 "cannot open it. The file was left as it is."),
              QStringLiteral("DB Connection Error"), MsgIcon::Critical, MsgButtons::OK);
    EXPECT_FALSE(OpenDatabase());
    EXPECT_EQ(Hash(folder.File(QStringLiteral("pengkalan.dat"))), before);
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat", "pengkalan.dat"}));
}

TEST(OpenDatabase, AFailedCopyIsReportedAndLeavesNothingBehind) {
    AppFolder folder(AppFolder::WithTemplate);
    ScopedPrompter p;
    p->Expect(kAsk, QStringLiteral("Create new database?"), MsgIcon::Exclamation, MsgButtons::YesNo,
              MsgResult::Yes);
    p->Expect(QStringLiteral("Error: Cannot create the database file (pengkalan.dat)!\r\nDesc: "
                             "Could not write '") +
                  folder.File(QStringLiteral("pengkalan.dat")) +
                  QStringLiteral("': File too large"),
              QStringLiteral("Critical Error - Pimora cannot continue!"), MsgIcon::Critical,
              MsgButtons::OK);
    {
        DiskFull full(4096); // the template does not fit
        EXPECT_FALSE(OpenDatabase());
    }
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat"}));
}

TEST(OpenDatabase, AFolderOrAnotherProgramsDatabaseIsReportedOnceAndLeftAlone) {
    AppFolder folder(AppFolder::WithTemplate);
    const QString db = folder.File(QStringLiteral("pengkalan.dat"));
    ASSERT_TRUE(QDir(folder.Path()).mkdir(QStringLiteral("pengkalan.dat")));
    {
        ScopedPrompter p;
        p->Expect(QStringLiteral("Error: Error Connecting to Database!\r\nDesc: '") + db +
                      QStringLiteral("' is a folder, not a database file. It was left as it is."),
                  QStringLiteral("DB Connection Error"), MsgIcon::Critical, MsgButtons::OK);
        EXPECT_FALSE(OpenDatabase());
        EXPECT_TRUE(QFileInfo(db).isDir());
    }
    ASSERT_TRUE(QDir(folder.Path()).rmdir(QStringLiteral("pengkalan.dat")));
    {
        QFile f(db);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4000, '\x5A'));
    }
    const QByteArray before = Hash(db);
    ScopedPrompter p;
    p->Expect(QStringLiteral("Error: Error Connecting to Database!\r\nDesc: The database file '") +
                  db + QStringLiteral("' is damaged or cannot be used: file is not a database"),
              QStringLiteral("DB Connection Error"), MsgIcon::Critical, MsgButtons::OK);
    EXPECT_FALSE(OpenDatabase());
    EXPECT_EQ(Hash(db), before);
    EXPECT_EQ(Files(folder), QStringList({"kosg.dat", "pengkalan.dat"}));
}

TEST(OpenDatabase, MissingFileElsewhereIsAnOrdinaryFailure) {
    const RuntimeError inside(1, {}, {}, ErrorKind::FileNotFound, QStringLiteral("/opt/App/x.dat"));
    EXPECT_TRUE(IsMissingDatabaseError(inside, QStringLiteral("/opt/App")));
    EXPECT_FALSE(IsMissingDatabaseError(inside, QStringLiteral("/opt/app")));
    EXPECT_FALSE(IsMissingDatabaseError(
        RuntimeError(1, {}, {}, ErrorKind::General, QStringLiteral("/opt/App/x.dat")),
        QStringLiteral("/opt/App")));
}

TEST(CloseDatabase, ASecondCloseIsReported) {
    AppFolder folder;
    ScopedPrompter p;
    EXPECT_TRUE(CloseDatabase());
    EXPECT_FALSE(gConn);
    p->Expect(QStringLiteral("Error: Error Disconnecting from Database\r\nDesc: Object variable or "
                             "With block variable not set"),
              QStringLiteral("DB Connection Error!"), MsgIcon::Critical, MsgButtons::OK);
    EXPECT_FALSE(CloseDatabase());
}

// Schema versions as older releases left them.
void MakeVersion(const char* version) {
    Exec(QStringLiteral("drop table pmPref"));
    if (QByteArray(version) == "0.9.6")
        Exec(QStringLiteral("create table pmPref (pwd TEXT, ShortDateFormat TEXT(25))"));
    else
        Exec(QStringLiteral("create table pmPref (pwd TEXT)"));
    Exec(QStringLiteral("insert into pmpref (pwd) values ('kept')"));
    Exec(QStringLiteral("update pmVersion set dbver = '") + QString::fromLatin1(version) +
         QStringLiteral("'"));
}

TEST(CheckDBVersion, CurrentDatabaseIsLeftUntouched) {
    AppFolder folder;
    ScopedPrompter p;
    const QString before = Rows(QStringLiteral("select * from pmversion"));
    EXPECT_TRUE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select * from pmversion")), before);
    EXPECT_EQ(Rows(QStringLiteral("select * from pmpref")), QString());
}

TEST(CheckDBVersion, OlderDatabasesAreUpgradedStepByStep) {
    for (const char* version : {"0.9.6", "0.9.5", " 0.9.6 "}) {
        AppFolder folder;
        MakeVersion(QByteArray(version).trimmed() == "0.9.6" ? "0.9.6" : "0.9.5");
        Exec(QStringLiteral("update pmVersion set dbver = '") + QString::fromLatin1(version) +
             QStringLiteral("'"));
        ScopedPrompter p;
        EXPECT_TRUE(CheckDBVersion()) << version;
        const QString expected = QByteArray(version).trimmed() == "0.9.6"
                                     ? QStringLiteral("('kept',NULL,'N','Y')")
                                     : QStringLiteral("('kept','yyyy-mm-dd','N','Y')");
        EXPECT_EQ(Rows(QStringLiteral("select pwd, shortdateformat, minimizetosystray, "
                                      "enabletooltips from pmpref")),
                  expected)
            << version;
        EXPECT_EQ(Rows(QStringLiteral("select dbver, verdate from pmversion")),
                  QStringLiteral("('0.9.7','07 Dec 2026')"));
    }
}

TEST(CheckDBVersion, MissingVersionTableMeansTheOldestVersion) {
    AppFolder folder;
    MakeVersion("0.9.5");
    Exec(QStringLiteral("drop table pmVersion"));
    ScopedPrompter p;
    EXPECT_TRUE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select dbver, verdate from pmversion")),
              QStringLiteral("('0.9.7','") +
                  VbFormat(QDate::currentDate(), QStringLiteral("dd mmm yyyy")) +
                  QStringLiteral("')"));
    EXPECT_EQ(Rows(QStringLiteral("select shortdateformat, minimizetosystray, enabletooltips "
                                  "from pmpref")),
              QStringLiteral("('yyyy-mm-dd','N','Y')"));
}

TEST(CheckDBVersion, EmptyVersionTableStartsWithoutUpgrade) {
    AppFolder folder;
    MakeVersion("0.9.5");
    Exec(QStringLiteral("delete from pmversion"));
    ScopedPrompter p;
    p->Expect(QStringLiteral("No record in pmVersion table, which is strange..."),
              QStringLiteral("Pimora"), MsgIcon::None, MsgButtons::OK);
    EXPECT_TRUE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select * from pmpref")), QStringLiteral("('kept')"));
}

TEST(CheckDBVersion, UnknownOrNullVersionIsRefused) {
    for (const char* update :
         {"update pmVersion set dbver = NULL", "update pmVersion set dbver = '1.0'",
          "update pmVersion set dbver = '0.9.7.1'"}) {
        AppFolder folder;
        Exec(QString::fromLatin1(update));
        ScopedPrompter p;
        p->Expect(QStringLiteral("Database version has been corrupted!  Errors may occur when "
                                 "Pimora is in operation.  Backup your pengkalan.dat "
                                 "immediately!"),
                  QStringLiteral("Pimora Critical error!"), MsgIcon::Critical, MsgButtons::OK);
        EXPECT_FALSE(CheckDBVersion()) << update;
    }
}

TEST(CheckDBVersion, AFailedStepLeavesTheDatabaseAsBeforeIt) {
    AppFolder folder;
    MakeVersion("0.9.6");
    // The second column of the step already exists, so the step fails half-way.
    Exec(QStringLiteral("ALTER TABLE pmPref ADD COLUMN EnableToolTips TEXT(1)"));
    const QString before = Rows(QStringLiteral("select * from pmpref"));
    ScopedPrompter p;
    p->Expect(QStringLiteral("Error: Error while determining DB version!\r\nDesc: Field "
                             "'EnableToolTips' already exists in the table."),
              QStringLiteral("DB Error!"), MsgIcon::Critical, MsgButtons::OK);
    EXPECT_FALSE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select * from pmpref")), before);
    EXPECT_EQ(Rows(QStringLiteral("select dbver from pmversion")), QStringLiteral("('0.9.6')"));

    // Once the cause is gone the next start finishes the upgrade.
    Exec(QStringLiteral("drop table pmPref"));
    Exec(QStringLiteral("create table pmPref (pwd TEXT, ShortDateFormat TEXT(25))"));
    Exec(QStringLiteral("insert into pmpref (pwd) values ('kept')"));
    EXPECT_TRUE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select dbver from pmversion")), QStringLiteral("('0.9.7')"));
}

TEST(CheckDBVersion, MissingPreferencesTableIsAnError) {
    AppFolder folder;
    MakeVersion("0.9.5");
    Exec(QStringLiteral("drop table pmPref"));
    ScopedPrompter p;
    p->Expect(QStringLiteral("Error: Error while determining DB version!\r\nDesc: The database "
                             "engine cannot find the input table or query 'pmPref'.  Make sure "
                             "it exists and that its name is spelled correctly."),
              QStringLiteral("DB Error!"), MsgIcon::Critical, MsgButtons::OK);
    EXPECT_FALSE(CheckDBVersion());
    EXPECT_EQ(Rows(QStringLiteral("select dbver from pmversion")), QStringLiteral("('0.9.5')"));
}

} // namespace

// The encrypted database through the engine: what reaches the disk, what a changed byte does,
// and the rewrites between plain and sealed.
#include "support/AppFolder.h"

#include "common/RuntimeError.h"
#include "data/SealedFormat.h"
#include "data/SealedVfs.h"
#include "data/modDB.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const QString kMarker = QStringLiteral("Zanzibar-7f3q secret of Ümit");

// A key made quickly: the header keeps the limits, so a test need not pay the real ones.
std::shared_ptr<const Sealed::Key> QuickKey(const char* password) {
    Sealed::KdfParams params = Sealed::Key::FreshParams();
    params.opslimit = 1;
    params.memlimit = 8192;
    auto key = Sealed::Key::Derive(password, params);
    EXPECT_TRUE(key);
    return key;
}

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// The marker in a journal, an event's details and a note, and many days to fill pages.
void TypeMarker(const QString& marker) {
    Exec("insert into pmcalendar (caldate,caljournal) values (#01 Dec 2026#,'" + marker + "')");
    Exec("insert into pmcalevent (calevent) values ('Meeting')");
    Exec("insert into pmcaleventdate (caldate,calevent,eventdetails) values (#02 Dec 2026#,"
         "'Meeting','" +
         marker + "')");
    Exec("insert into pmthoughts (thoname,thocaption,thoparent,thodata) values ('n1','Note',"
         "'root','" +
         marker + "')");
    for (int day = 1; day <= 120; ++day)
        Exec(QStringLiteral("insert into pmcalendar (caldate,caljournal) values (#%1#,'%2')")
                 .arg(QDate(2020, 1, 1).addDays(day).toString("dd MMM yyyy"),
                      QString("Day %1 ").arg(day).repeated(60)));
}

TEST(Sealed, ARewriteSealsEveryFileAndNothingTypedIsLeftInTheClear) {
    AppFolder folder;
    TypeMarker(kMarker);
    const auto key = QuickKey("correct horse");
    gConn->Rewrite(key);
    SealedVfs::SetSessionKey(key);
    const QString db = DatabaseFile();
    EXPECT_TRUE(Bytes(db).startsWith(QByteArray(Sealed::kMagic, Sealed::kMagicSize)));
    EXPECT_EQ(Scalar("select caljournal from pmcalendar where caldate = #01 Dec 2026#"), kMarker);

    // What is typed now goes to the log: the files as a kill would leave them.
    const QString later = QStringLiteral("Later-Kilimanjaro-9x");
    Exec("update pmthoughts set thodata = '" + later + "' where thoname = 'n1'");
    Exec("update pmcaleventdate set eventdetails = '" + later + "'");
    ASSERT_GT(QFileInfo(db + "-wal").size(), 0);
    const QString crashed = folder.File("crashed");
    QDir().mkpath(crashed);
    for (const QString side : {"", "-wal", "-shm"})
        ASSERT_TRUE(QFile::copy(db + side, crashed + "/pengkalan.dat" + side));
    EXPECT_EQ(FilesHolding(folder.Path(), kMarker), QStringList());
    EXPECT_EQ(FilesHolding(folder.Path(), later), QStringList());

    // The copy opens as after a kill: the log is read back through its seals.
    auto running = std::move(gConn);
    gConn = std::make_unique<Connection>();
    gConn->Open("Data Source=" + crashed + "/pengkalan.dat", key);
    EXPECT_EQ(Scalar("select thodata from pmthoughts where thoname = 'n1'"), later);
    EXPECT_EQ(Scalar("select eventdetails from pmcaleventdate"), later);
    EXPECT_EQ(Count("select * from pmcalendar"), 121);
    gConn = std::move(running);

    // Back in the clear, the same search finds it: the scan above could have.
    gConn->Rewrite(nullptr);
    EXPECT_TRUE(Bytes(db).startsWith("SQLite format 3"));
    EXPECT_EQ(Scalar("select thodata from pmthoughts where thoname = 'n1'"), later);
    EXPECT_FALSE(FilesHolding(folder.Path(), kMarker).isEmpty());
}

// A sealed database of a few dozen pages, closed: its bytes as they rest on the disk.
QByteArray MakeSealed(const AppFolder& folder, const std::shared_ptr<const Sealed::Key>& key) {
    TypeMarker(kMarker);
    gConn->Rewrite(key);
    SealedVfs::SetSessionKey(key);
    gConn->Close();
    gConn.reset();
    return Bytes(folder.File("pengkalan.dat"));
}

// Opens the file and reads every table and index; the error it meets, if any.
std::optional<RuntimeError> ReadAll(const QString& path) {
    try {
        gConn = std::make_unique<Connection>();
        gConn->Open("Data Source=" + path);
        for (const char* sql : {"select * from pmcalendar", "select * from pmthoughts",
                                "select * from pmcaleventdate", "select * from pmcalevent"})
            Count(sql);
        if (const QString fault = gConn->QuickCheck(); !fault.isEmpty())
            return RuntimeError(1, fault, "quick_check", ErrorKind::Damaged);
        return std::nullopt;
    } catch (const RuntimeError& e) {
        return e;
    }
}

TEST(Sealed, AChangedByteAMovedPageACutOrAnotherVersionIsDamageAndNothingIsWritten) {
    AppFolder folder;
    const auto key = QuickKey("pw");
    const QByteArray pristine = MakeSealed(folder, key);
    const QString db = folder.File("pengkalan.dat");
    const int page = 4096;
    const int pages = (pristine.size() - Sealed::kHeaderSize) / page;
    ASSERT_GT(pages, 20);
    ASSERT_FALSE(ReadAll(db)) << "the pristine file must read";
    gConn.reset();

    auto expectDamage = [&](const QByteArray& changed, const QString& what) {
        Write(db, changed);
        const std::optional<RuntimeError> e = ReadAll(db);
        gConn.reset();
        ASSERT_TRUE(e) << what.toStdString() << " was read as data";
        EXPECT_EQ(e->Kind(), ErrorKind::Damaged)
            << what.toStdString() << ": " << e->Description().toStdString();
        // What the user is told names it, unless only the check found it.
        if (e->Source() != "quick_check") {
            EXPECT_TRUE(e->Description().contains("damaged or was changed outside Pimora"))
                << what.toStdString() << ": " << e->Description().toStdString();
        }
        EXPECT_EQ(Bytes(db), changed) << what.toStdString();
    };
    for (int n = 0; n < pages; ++n) {
        QByteArray flipped = pristine;
        flipped[Sealed::kHeaderSize + n * page + (n * 131) % (page - 1)] ^= 0x10;
        expectDamage(flipped, QString("byte flipped in page %1").arg(n + 1));
    }
    QByteArray moved = pristine;
    moved.replace(Sealed::kHeaderSize + 5 * page, page,
                  pristine.mid(Sealed::kHeaderSize + 4 * page, page));
    expectDamage(moved, "page 5 copied over page 6");
    expectDamage(pristine.left(pristine.size() - page), "last page cut off");
    expectDamage(pristine.left(pristine.size() - 100), "cut inside a page");
    QByteArray version = pristine;
    version[19] = 2;
    expectDamage(version, "header of format 2");
    QByteArray salt = pristine;
    salt[45] ^= 1;
    expectDamage(salt, "salt changed");
}

TEST(Sealed, OnlyItsOwnKeyOpensItAndAWrongOneChangesNothing) {
    AppFolder folder;
    const QByteArray pristine = MakeSealed(folder, QuickKey("right"));
    const QString db = folder.File("pengkalan.dat");
    Connection wrong;
    const RuntimeError e = ErrorOf([&] { wrong.Open("Data Source=" + db, QuickKey("right")); });
    EXPECT_TRUE(e.Description().contains("password does not open"))
        << e.Description().toStdString();
    SealedVfs::SetSessionKey(nullptr);
    EXPECT_TRUE(ErrorOf([&] { wrong.Open("Data Source=" + db); })
                    .Description()
                    .contains("opens with its password only"));
    // Nor does SQLite's own reading of it get anywhere.
    sqlite3* raw = nullptr;
    sqlite3_open_v2(db.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    EXPECT_NE(sqlite3_exec(raw, "select * from pmcalendar", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close_v2(raw);
    EXPECT_EQ(Bytes(db), pristine);
    EXPECT_FALSE(QFileInfo::exists(db + "-wal"));
}

TEST(Sealed, TheRollbackJournalIsSealedAndPlaysBack) {
    AppFolder folder;
    const auto key = QuickKey("pw");
    MakeSealed(folder, key);
    const QString db = folder.File("pengkalan.dat");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(SealedVfs::Uri(db, key).constData(), &raw,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr),
              SQLITE_OK);
    auto exec = [&](const QString& sql) {
        char* err = nullptr;
        const int rc = sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "") << " in " << sql.toStdString();
        sqlite3_free(err);
    };
    exec("PRAGMA journal_mode=PERSIST");
    exec("PRAGMA cache_size=2");
    // The journal keeps the pages as they were, the marker among them.
    exec("BEGIN");
    exec("update pmcalendar set caljournal = 'gone ' || caljournal");
    EXPECT_GT(QFileInfo(db + "-journal").size(), 4096 * 4);
    EXPECT_EQ(FilesHolding(folder.Path(), kMarker), QStringList());
    exec("ROLLBACK");
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "select caljournal from pmcalendar where caljournal like 'Zanzibar%'",
                       -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_EQ(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))),
              kMarker);
    sqlite3_finalize(stmt);
    exec("PRAGMA journal_mode=WAL");
    sqlite3_close_v2(raw);
}

// A scan has pages opened ahead of it; another connection then rewrites them in the file.
TEST(Sealed, PagesOpenedAheadNeverOutliveAChangeMadeByAnotherConnection) {
    AppFolder folder;
    const auto key = QuickKey("pw");
    MakeSealed(folder, key);
    folder.Connect();
    const QString db = folder.File("pengkalan.dat");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(SealedVfs::Uri(db, key).constData(), &other,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr),
              SQLITE_OK);
    for (int round = 0; round < 4; ++round) {
        const QString text = QString("round %1 ").arg(round).repeated(40 + round);
        EXPECT_EQ(Count("select * from pmcalendar order by caldate desc"), 121);
        EXPECT_EQ(Count("select * from pmcalendar order by caldate"), 121);
        const QByteArray sql = "update pmcalendar set caljournal = '" + text.toUtf8() +
                               "'; PRAGMA wal_checkpoint(TRUNCATE);";
        ASSERT_EQ(sqlite3_exec(other, sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(Count("select * from pmcalendar where caljournal = '" + text + "'"), 121)
            << "round " << round;
        EXPECT_EQ(Count("select * from pmcalendar where caljournal = '" + text +
                        "' order by caldate desc"),
                  121)
            << "round " << round;
    }
    sqlite3_close_v2(other);
}

TEST(Sealed, ADatabaseWithoutRoomForSealsIsLaidOutAgain) {
    AppFolder folder;
    gConn.reset();
    const QString db = folder.File("pengkalan.dat");
    {
        // As a version before seals made it: the template's tables in pages without room.
        QFile::remove(db);
        sqlite3* raw = nullptr;
        sqlite3_open_v2(db.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr);
        const QByteArray attach = "ATTACH '" + folder.File("kosg.dat").toUtf8() + "' AS t";
        ASSERT_EQ(sqlite3_exec(raw, attach.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, "select sql, name, type from t.sqlite_master where sql not null",
                           -1, &stmt, nullptr);
        QStringList make, fill;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            make << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            const QString name =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
            if (QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))) == "table")
                fill << "insert into main." + name + " select * from t." + name;
        }
        sqlite3_finalize(stmt);
        for (const QString& sql : make + fill)
            ASSERT_EQ(sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, nullptr),
                      SQLITE_OK)
                << sql.toStdString();
        sqlite3_close_v2(raw);
        ASSERT_EQ(Bytes(db)[20], 0);
    }
    folder.Connect();
    TypeMarker(kMarker);
    const auto key = QuickKey("pw");
    int reported = 0;
    gConn->Rewrite(key, [&](int done, int total) {
        EXPECT_LE(done, total);
        ++reported;
        return true;
    });
    SealedVfs::SetSessionKey(key);
    EXPECT_GT(reported, 0);
    EXPECT_EQ(Count("select * from pmcalendar"), 121);
    EXPECT_EQ(Scalar("select thodata from pmthoughts"), kMarker);
    EXPECT_EQ(FilesHolding(folder.Path(), kMarker), QStringList());
}

} // namespace

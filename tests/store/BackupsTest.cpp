// Copies of the database: whole and private when listed, gone by the retention rule and by no
// other, never half written, and put back in one transaction.
#include "support/AppFolder.h"

#include "data/modDB.h"
#include "platform/Clock.h"
#include "store/Backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QDateTime kMoment(QDate(2026, 12, 7), QTime(14, 5, 9));

struct ClockGuard {
    ~ClockGuard() { Clock::Reset(); }
};

QStringList Names() {
    QStringList out;
    for (const Backups::Entry& e : Backups::List())
        out << QFileInfo(e.path).fileName();
    return out;
}

TEST(Backups, ACopyIsWholePrivateNamedForItsReasonAndHoldsWhatTheDatabaseHeld) {
    AppFolder folder;
    ClockGuard clock;
    Clock::Set(kMoment);
    Exec("insert into pmcalendar (caldate, caljournal) values (#2026-12-07#, 'it''s mine')");
    Exec("insert into pmthoughts (thoname, thocaption, thoparent) values ('a', 'A', 'Thoughts')");
    EXPECT_TRUE(Backups::DailyDue());
    const Backups::Entry first = Backups::Make(Backups::Reason::ClearThoughts);
    const Backups::Entry second = Backups::Make(Backups::Reason::ClearThoughts);
    const Backups::Entry daily = Backups::Make(Backups::Reason::Daily);
    EXPECT_FALSE(Backups::DailyDue());
    // Newest first; the copies of one second are numbered in the order they were made.
    EXPECT_EQ(Names(), QStringList({"pengkalan-20261207-140509-daily-3.dat",
                                    "pengkalan-20261207-140509-clear-thoughts-2.dat",
                                    "pengkalan-20261207-140509-clear-thoughts.dat"}));
    EXPECT_EQ(QDir(Backups::Folder()).entryList(QDir::Files | QDir::Hidden).size(), 3)
        << "no journal, log or unfinished copy beside them";
    EXPECT_EQ(QFileInfo(Backups::Folder()).permissions() & 0x0077, 0);
    EXPECT_EQ(QFile::permissions(first.path),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(Backups::When(first.made), "7 Dec 2026 14:05:09");
    EXPECT_EQ(Backups::Label(second.reason), "Before Clear Thoughts");
    EXPECT_EQ(first.size, QFileInfo(first.path).size());
    const Backups::Contents held = Backups::ContentsOf(daily);
    EXPECT_EQ(QString("%1 %2 %3").arg(held.journalDays).arg(held.events).arg(held.thoughtNodes),
              "1 0 1");
    EXPECT_TRUE(Backups::NewestSound().has_value());
}

TEST(Backups, SixtyDaysKeepTheNewestSevenDailyCopiesAndThirtyDaysOfTheOthers) {
    AppFolder folder;
    ClockGuard clock;
    const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
    QString first;
    for (int day = 0; day < 60; ++day) {
        Clock::Set(start.addDays(day));
        Backups::Make(Backups::Reason::Daily);
        if (day % 10 == 0) {
            Clock::Set(start.addDays(day).addSecs(60));
            const Backups::Entry e = Backups::Make(Backups::Reason::DeleteNode);
            if (day == 0)
                first = e.path;
        }
    }
    QStringList daily, others;
    for (const Backups::Entry& e : Backups::List())
        (e.reason == Backups::Reason::Daily ? daily : others) << e.made.date().toString("MM-dd");
    EXPECT_EQ(daily, QStringList({"03-01", "02-28", "02-27", "02-26", "02-25", "02-24", "02-23"}));
    // The last is made on 1 March, and keeps what was made since 30 January.
    EXPECT_EQ(others, QStringList({"02-20", "02-10", "01-31"}));
    // Forty days later a copy about to be used stays, however old; the others of its age go.
    QString feb10, feb20;
    for (const Backups::Entry& e : Backups::List())
        if (e.made.date() == QDate(2026, 2, 10) || e.made.date() == QDate(2026, 2, 20))
            (e.made.date().day() == 10 ? feb10 : feb20) = e.path;
    Clock::Set(start.addDays(100));
    const Backups::Entry made = Backups::Make(Backups::Reason::Restore, {}, feb20);
    EXPECT_TRUE(QFileInfo::exists(feb20));
    EXPECT_FALSE(QFileInfo::exists(feb10));
    EXPECT_TRUE(QFileInfo::exists(made.path));
    EXPECT_FALSE(QFileInfo::exists(first));
}

TEST(Backups, ACopyOnAFullDiskFailsWholeAndLeavesNothingBehind) {
    AppFolder folder;
    ClockGuard clock;
    Clock::Set(kMoment);
    Exec("insert into pmcalendar (caldate, caljournal) values (#2026-12-07#, '" +
         QString(200'000, 'x') + "')");
    {
        DiskFull full(64 * 1024);
        EXPECT_THROW(Backups::Make(Backups::Reason::Daily), RuntimeError);
    }
    EXPECT_EQ(QDir(Backups::Folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_TRUE(Backups::DailyDue());
    EXPECT_EQ(Count("select * from pmcalendar"), 1);
}

TEST(Backups, ARestorePutsBackEverythingAndTheConnectionGoesOn) {
    AppFolder folder;
    ClockGuard clock;
    Clock::Set(kMoment);
    Exec("insert into pmthoughts (thoname, thocaption, thoparent) values ('a', 'A', 'Thoughts')");
    const Backups::Entry copy = Backups::Make(Backups::Reason::ClearThoughts);
    Exec("delete from pmthoughts");
    Exec("insert into pmcalendar (caldate, caljournal) values (#2026-12-07#, 'later')");
    int reported = 0;
    Backups::RestoreInto(copy, [&](int done, int total) {
        reported += done <= total;
        return true;
    });
    EXPECT_GT(reported, 0);
    EXPECT_EQ(Rows("select thoname from pmthoughts"), "('a')");
    EXPECT_EQ(Count("select * from pmcalendar"), 0);
    Exec("insert into pmthoughts (thoname, thocaption, thoparent) values ('b', 'B', 'a')");
    EXPECT_EQ(Count("select * from pmthoughts"), 2);
    EXPECT_EQ(Scalar("pragma integrity_check").toString(), "ok");
    // A copy that is no database is refused before anything is replaced.
    QFile broken(copy.path);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write(QByteArray(8192, 'x'));
    broken.close();
    EXPECT_THROW(Backups::RestoreInto(copy), RuntimeError);
    EXPECT_EQ(Count("select * from pmthoughts"), 2);
}

} // namespace

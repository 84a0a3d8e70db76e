// Kills the crash driver at random moments and checks after every kill that the file is
// whole, that Pimora opens it, and that every operation the driver finished is in it.
// PIMORA_CRASH_KILLS sets how many kills (5 here; scripts/crash-run.sh runs 500). Encrypted,
// no file of the folder but the driver's own log ever holds a word the driver types.
#include "CrashLog.h"

#include "support/AppFolder.h"

#include "data/SealedFormat.h"
#include "data/SealedVfs.h"
#include "data/modDB.h"
#include "platform/Application.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <sqlite3.h>

namespace {

QString Integrity(const QString& file, const std::shared_ptr<const Sealed::Key>& key) {
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(SealedVfs::Uri(file, key).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        sqlite3_prepare_v2(db, "pragma integrity_check", -1, &check, nullptr);
        result =
            sqlite3_step(check) == SQLITE_ROW
                ? QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)))
                : QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return result;
}

void Append(const QString& log, const QByteArray& record) {
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(record + "\t\n");
}

const char kPassword[] = "crash password";

void KillAtRandomMoments(bool encrypted) {
    const int kills = std::max(1, qEnvironmentVariableIntValue("PIMORA_CRASH_KILLS"));
    const int wanted = qEnvironmentVariableIsSet("PIMORA_CRASH_KILLS") ? kills : 5;
    AppFolder folder;
    Exec(QStringLiteral("insert into pmpref (pwd) values ('')"));
    std::shared_ptr<const Sealed::Key> key;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (encrypted) {
        // Cheap limits, kept in the header: the driver's start must not eat its short life.
        Sealed::KdfParams params = Sealed::Key::FreshParams();
        params.opslimit = 1;
        params.memlimit = 8192;
        key = Sealed::Key::Derive(kPassword, params);
        gConn->Rewrite(key);
        SealedVfs::SetSessionKey(key);
        environment.insert(QStringLiteral("PIMORA_CRASH_PASSWORD"), QString::fromLatin1(kPassword));
    }
    gConn.reset();
    const QString db = folder.File(QStringLiteral("pengkalan.dat"));
    const QString log = folder.File(QStringLiteral("crash.log"));
    std::mt19937 rng(20261207);
    int failures = 0;
    for (int k = 0; k < wanted; ++k) {
        QProcess driver;
        driver.setProcessEnvironment(environment);
        driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        driver.start(QStringLiteral(PIMORA_CRASH_DRIVER),
                     {folder.Path(), log, QString::number(k + 1)});
        ASSERT_TRUE(driver.waitForStarted(5000));
        QThread::msleep(300 + rng() % 1200);
        ASSERT_EQ(driver.state(), QProcess::Running) << "the driver ended by itself";
        driver.kill();
        driver.waitForFinished();

        EXPECT_EQ(Integrity(db, key), QStringLiteral("ok")) << "after kill " << k + 1;
        if (encrypted) {
            QStringList clear = FilesHolding(folder.Path(), QStringLiteral("Kilimanjaro")) +
                                FilesHolding(folder.Path(), QStringLiteral("Señora"));
            clear.removeAll(log);
            EXPECT_EQ(clear, QStringList()) << "after kill " << k + 1;
        }
        ASSERT_TRUE(OpenDatabase()) << "Pimora cannot open the file after kill " << k + 1;
        EXPECT_TRUE(CheckDBVersion());
        CrashLog::Replay replay = CrashLog::Read(log);
        const CrashLog::Model actual = CrashLog::Actual();
        bool applied = false;
        // A node added in flight that reached the file is named now, so that a later restore
        // of a copy holding it is judged by what the file really held.
        const QString added = CrashLog::NodeAddedInFlight(replay, actual);
        if (!added.isEmpty())
            replay.inFlight->args << added;
        const QStringList lost = CrashLog::Differences(replay, actual, &applied);
        failures += lost.isEmpty() ? 0 : 1;
        EXPECT_TRUE(lost.isEmpty()) << "after kill " << k + 1 << ":\n"
                                    << lost.join('\n').toStdString();
        if (replay.inFlight)
            Append(log, !applied          ? QByteArray("RESOLVED\t0")
                        : added.isEmpty() ? QByteArray("RESOLVED\t1")
                                          : "RESOLVED\t1\t" + added.toUtf8());
        CloseDatabase();
    }
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray all = f.readAll();
    const int done = static_cast<int>(all.count("\nDONE\t"));
    std::printf(
        "crash run%s: %d kills, %d operations done (%d restores, %d backups, %d clearings), "
        "%d kills with a loss\n",
        encrypted ? " (encrypted)" : "", wanted, done, static_cast<int>(all.count("\nDONE\tR\t")),
        static_cast<int>(all.count("\nDONE\tBK\t")), static_cast<int>(all.count("\nDONE\tCT")),
        failures);
    EXPECT_GT(done, 0) << "the driver did nothing before it was killed";
}

TEST(Crash, AKillAtAnyMomentLosesNothingThatWasDone) {
    KillAtRandomMoments(false);
}

TEST(Crash, EncryptedAKillLosesNothingAndLeavesNothingInTheClear) {
    KillAtRandomMoments(true);
}

} // namespace

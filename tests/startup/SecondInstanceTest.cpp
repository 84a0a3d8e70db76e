#include "support/AppFolder.h"

#include "platform/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray Hash(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// The first instance is this test process, listening under the real name; the second is the
// real program started from a folder of its own.
TEST(SecondInstance, EndsAtOnceWithoutTouchingTheDatabaseAndCallsTheFirstForward) {
    SingleInstance::SetScope(QString());
    SingleInstance& first = SingleInstance::Instance();
    ASSERT_TRUE(first.Claim(QStringLiteral("Pimora")))
        << "another Pimora runs for this user; close it to run this test";
    QSignalSpy asked(&first, &SingleInstance::activateRequested);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString exe = dir.filePath(QStringLiteral("pimora"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIMORA_EXE), exe));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), dir.filePath("pengkalan.dat")));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray before = Hash(dir.filePath(QStringLiteral("pengkalan.dat")));
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(exe, {});
    ASSERT_TRUE(second.waitForStarted(5000));
    // Serve the first instance's socket while the second runs.
    QElapsedTimer clock;
    clock.start();
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 15000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.waitForFinished(20);
    }
    if (second.state() != QProcess::NotRunning) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the second instance did not end";
    }
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    for (int i = 0; i < 50 && asked.isEmpty(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.at(0).at(0).toString(), QStringLiteral("Pimora"));
    EXPECT_EQ(Hash(dir.filePath(QStringLiteral("pengkalan.dat"))), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore) << "no -wal or -shm appeared";
    first.Release();
}

// Two starts at the same instant: one opens, the other ends at once.
TEST(SecondInstance, TwoStartsAtTheSameInstantMakeOneInstance) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString exe = dir.filePath(QStringLiteral("pimora"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIMORA_EXE), exe));
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIMORA_TEMPLATE_DB), dir.filePath("pengkalan.dat")));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess a, b;
    for (QProcess* p : {&a, &b})
        p->setProcessEnvironment(env);
    a.start(exe, {});
    b.start(exe, {});
    ASSERT_TRUE(a.waitForStarted(5000) && b.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (a.state() == QProcess::Running && b.state() == QProcess::Running &&
           clock.elapsed() < 15000)
        a.waitForFinished(20) || b.waitForFinished(20);
    // Whoever ended, the other must still run a while later.
    QTest::qWait(500);
    const int running = (a.state() == QProcess::Running) + (b.state() == QProcess::Running);
    QProcess& ended = a.state() == QProcess::Running ? b : a;
    EXPECT_EQ(running, 1);
    EXPECT_EQ(ended.exitCode(), 0);
    for (QProcess* p : {&a, &b}) {
        p->kill();
        p->waitForFinished();
    }
}

} // namespace

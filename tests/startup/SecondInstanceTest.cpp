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

// The real program in a folder of its own with a database, ready to start offscreen.
struct Installed {
    Installed() {
        EXPECT_TRUE(QFile::copy(PIMORA_EXE, exe));
        EXPECT_TRUE(QFile::copy(PIMORA_TEMPLATE_DB, dir.filePath("pengkalan.dat")));
        QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void Start(QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(exe, {});
    }
    QByteArray Hash() {
        QFile f(dir.filePath("pengkalan.dat"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    QTemporaryDir dir;
    QString exe = dir.filePath("pimora");
};

// The first instance is this test process, listening under the real name.
TEST(SecondInstance, EndsAtOnceWithoutTouchingTheDatabaseAndCallsTheFirstForward) {
    SingleInstance::SetScope(QString());
    SingleInstance& first = SingleInstance::Instance();
    ASSERT_TRUE(first.Claim("Pimora")) << "another Pimora runs for this user; close it first";
    QSignalSpy asked(&first, &SingleInstance::activateRequested);
    Installed app;
    const QByteArray before = app.Hash();
    const QStringList filesBefore = QDir(app.dir.path()).entryList(QDir::Files);
    QProcess second;
    app.Start(second);
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
    EXPECT_EQ(asked.at(0).at(0).toString(), "Pimora");
    EXPECT_EQ(app.Hash(), before);
    EXPECT_EQ(QDir(app.dir.path()).entryList(QDir::Files), filesBefore) << "no -wal or -shm";
    first.Release();
}

TEST(SecondInstance, TwoStartsAtTheSameInstantMakeOneInstance) {
    Installed app;
    QProcess a, b;
    app.Start(a);
    app.Start(b);
    ASSERT_TRUE(a.waitForStarted(5000) && b.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (a.state() == QProcess::Running && b.state() == QProcess::Running &&
           clock.elapsed() < 15000)
        a.waitForFinished(20) || b.waitForFinished(20);
    // Whoever ended, the other must still run a while later.
    QTest::qWait(500);
    EXPECT_EQ((a.state() == QProcess::Running) + (b.state() == QProcess::Running), 1);
    EXPECT_EQ((a.state() == QProcess::Running ? b : a).exitCode(), 0);
    for (QProcess* p : {&a, &b}) {
        p->kill();
        p->waitForFinished();
    }
}

} // namespace

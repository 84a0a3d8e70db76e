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
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

// What a crashed instance leaves behind, and what a stranger sends, never stops the next one.
TEST(SecondInstance, ALeftoverSocketIsReplacedAndJunkFromACallerIsIgnored) {
    SingleInstance::SetScope("leftover");
    const QString name = SingleInstance::ServerName("Pimora");
    const QByteArray path = QFile::encodeName(QDir(QDir::tempPath()).filePath(name));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
    memcpy(address.sun_path, path.constData(), size_t(path.size()));
    auto raw = [&] {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_GE(fd, 0);
        return fd;
    };
    ::unlink(path.constData());
    const int dead = raw(); // bound and never listened on: a crashed holder's file
    ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(dead);
    SingleInstance& first = SingleInstance::Instance();
    EXPECT_FALSE(first.OtherRunning("Pimora"));
    ASSERT_TRUE(first.Claim("Pimora"));
    struct stat st {};
    ASSERT_EQ(stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u) << "other users may not call this instance";
    QSignalSpy asked(&first, &SingleInstance::activateRequested);
    // A stranger's line without an end, longer than any title, then a hang-up mid-line.
    for (int size : {5000, 10}) {
        const int junk = raw();
        ASSERT_EQ(::connect(junk, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const QByteArray bytes(size, 'x');
        EXPECT_EQ(send(junk, bytes.constData(), size_t(size), MSG_NOSIGNAL), size);
        QTest::qWait(50);
        close(junk);
    }
    EXPECT_TRUE(first.OtherRunning("Pimora"));
    EXPECT_TRUE(first.RequestActivate("Pimora"));
    EXPECT_TRUE(asked.wait(2000));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.at(0).at(0).toString(), "Pimora");
    first.Release();
    EXPECT_FALSE(QFile::exists(QFile::decodeName(path))) << "the socket goes with the instance";
    EXPECT_FALSE(first.OtherRunning("Pimora"));
    SingleInstance::SetScope(QString());
}

} // namespace

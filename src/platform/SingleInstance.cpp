#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {
constexpr int kWaitMs = 1000;
const QByteArray kActivate = "activate:";
QString g_scope;
} // namespace

void SingleInstance::SetScope(const QString& scope) {
    g_scope = scope;
}

SingleInstance& SingleInstance::Instance() {
    static SingleInstance instance;
    return instance;
}

SingleInstance::SingleInstance() {
    connect(this, &SingleInstance::activateRequested, this,
            [](const QString& title) { ActivateWindowByTitle(title); });
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::ServerName(const QString& title) {
    QString safe;
    for (QChar c : title)
        safe += c.isLetterOrNumber() ? c : QChar('_');
    QString name = QStringLiteral("pimora-%1-%2").arg(safe).arg(getuid());
    if (!g_scope.isEmpty())
        name += QLatin1Char('-') + g_scope;
    return name;
}

bool SingleInstance::OtherRunning(const QString& title) {
    QLocalSocket probe;
    probe.connectToServer(ServerName(title));
    return probe.waitForConnected(kWaitMs);
}

bool SingleInstance::Claim(const QString& title) {
    const QString name = ServerName(title);
    // The lock decides which of two starts at the same instant is the one: it is held for the
    // life of the process. It is an advisory lock rather than a lock file with a process number
    // in it, so nothing is written or flushed to disk at start, and a crashed holder's lock is
    // gone with it.
    auto lock = std::make_unique<FileLock>();
    switch (lock->TryLock(QDir(QDir::tempPath()).filePath(name + ".lock"))) {
    case FileLock::Result::HeldElsewhere:
        return false;
    case FileLock::Result::Unavailable:
        // No lock can be made here at all: the program runs, only unguarded.
        return true;
    case FileLock::Result::Taken:
        break;
    }
    lock_ = std::move(lock);
    // Whatever socket is left under the name belongs to no running instance.
    QLocalServer::removeServer(name);
    auto server = std::make_unique<QLocalServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (server->listen(name)) {
        connect(server.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
        server_ = std::move(server);
    }
    return true;
}

void SingleInstance::Release() {
    server_.reset();
    lock_.reset();
}

bool SingleInstance::RequestActivate(const QString& title) {
    QLocalSocket socket;
    socket.connectToServer(ServerName(title));
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kActivate + title.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kWaitMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::OnConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                if (line.startsWith(kActivate))
                    emit activateRequested(QString::fromUtf8(line.mid(kActivate.size())));
            }
        });
    }
}

bool ActivateWindowByTitle(const QString& title) {
    QWidget* found = nullptr;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows)
        if (w->isVisible() && w->windowTitle() == title) {
            found = w;
            break;
        }
    if (!found)
        for (QWidget* w : windows)
            if (w->isVisible() && w->windowTitle().startsWith(title)) {
                found = w;
                break;
            }
    if (!found)
        return false;
    if (found->isMinimized())
        found->showNormal();
    found->raise();
    found->activateWindow();
    return true;
}

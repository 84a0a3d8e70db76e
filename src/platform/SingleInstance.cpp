#include "platform/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QWidget>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

// Plain Unix-domain sockets rather than Qt's network module: the module and the libraries it
// brings (Kerberos, proxies) would be loaded at every start for one short message.
namespace {
constexpr int kWaitMs = 1000;
const QByteArray kActivate = "activate:";
QString g_scope;

// A descriptor closed with its owner.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

QByteArray SocketPath(const QString& name) {
    return QFile::encodeName(QDir(QDir::tempPath()).filePath(name));
}

// False when the path does not fit an address.
bool Address(const QByteArray& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
    return true;
}

// A socket connected to the instance listening under the name, waiting at most kWaitMs; -1
// when none answers.
int ConnectTo(const QString& name) {
    sockaddr_un address;
    if (!Address(SocketPath(name), address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    // A listener whose queue is full makes connect wait: the send timeout bounds the wait.
    const timeval wait{kWaitMs / 1000, (kWaitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    int rc;
    do
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

struct SingleInstance::Listener {
    Fd fd;
    QByteArray path;
    std::unique_ptr<QSocketNotifier> notifier;
    explicit Listener(int socket) : fd(socket) {}
    ~Listener() {
        notifier.reset();
        ::unlink(path.constData());
    }
};

struct SingleInstance::Caller {
    Fd fd;
    QByteArray pending;
    std::unique_ptr<QSocketNotifier> notifier;
    explicit Caller(int socket) : fd(socket) {}
};

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
    const Fd probe(ConnectTo(ServerName(title)));
    return probe.get() >= 0;
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
    const QByteArray path = SocketPath(name);
    sockaddr_un address;
    if (!Address(path, address))
        return true;
    // Whatever socket is left under the name belongs to no running instance.
    ::unlink(path.constData());
    auto listener = std::make_unique<Listener>(
        ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (listener->fd.get() < 0)
        return true;
    // Only this user may ask this instance for anything.
    const mode_t mask = ::umask(0077);
    const bool bound = ::bind(listener->fd.get(), reinterpret_cast<const sockaddr*>(&address),
                              sizeof address) == 0;
    ::umask(mask);
    if (!bound)
        return true;
    listener->path = path;
    if (::listen(listener->fd.get(), 8) != 0)
        return true;
    listener->notifier =
        std::make_unique<QSocketNotifier>(listener->fd.get(), QSocketNotifier::Read);
    connect(listener->notifier.get(), &QSocketNotifier::activated, this,
            &SingleInstance::OnConnection);
    listener_ = std::move(listener);
    return true;
}

void SingleInstance::Release() {
    callers_.clear();
    listener_.reset();
    lock_.reset();
}

bool SingleInstance::RequestActivate(const QString& title) {
    const Fd socket(ConnectTo(ServerName(title)));
    if (socket.get() < 0)
        return false;
    const QByteArray message = kActivate + title.toUtf8() + '\n';
    qsizetype sent = 0;
    while (sent < message.size()) {
        const ssize_t n = ::send(socket.get(), message.constData() + sent,
                                 static_cast<size_t>(message.size() - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

void SingleInstance::OnConnection() {
    for (;;) {
        const int fd =
            ::accept4(listener_->fd.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        auto caller = std::make_unique<Caller>(fd);
        Caller* raw = caller.get();
        caller->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(caller->notifier.get(), &QSocketNotifier::activated, this,
                [this, raw] { OnReadable(raw); });
        callers_.push_back(std::move(caller));
    }
}

void SingleInstance::OnReadable(Caller* caller) {
    char buffer[512];
    bool open = true;
    for (;;) {
        const ssize_t n = ::recv(caller->fd.get(), buffer, sizeof buffer, 0);
        if (n > 0) {
            caller->pending.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        open = n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        break;
    }
    QStringList titles;
    for (qsizetype end; (end = caller->pending.indexOf('\n')) >= 0;) {
        const QByteArray line = caller->pending.left(end).trimmed();
        caller->pending.remove(0, end + 1);
        if (line.startsWith(kActivate))
            titles << QString::fromUtf8(line.mid(kActivate.size()));
    }
    // A caller that hung up, or one that sends a line longer than any title, is let go, from
    // the event loop: this runs inside its notifier's signal.
    if (!open || caller->pending.size() > 4096) {
        caller->notifier->setEnabled(false);
        const auto it = std::find_if(callers_.begin(), callers_.end(),
                                     [caller](const auto& c) { return c.get() == caller; });
        if (it != callers_.end()) {
            std::shared_ptr<Caller> gone(std::move(*it));
            callers_.erase(it);
            QMetaObject::invokeMethod(
                this, [gone] {}, Qt::QueuedConnection);
        }
    }
    for (const QString& title : std::as_const(titles))
        emit activateRequested(title);
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

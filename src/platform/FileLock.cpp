#include "platform/FileLock.h"

#include <QFile>
#include <QString>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_);
}

FileLock::Result FileLock::TryLock(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        ::close(fd);
        return reason == EWOULDBLOCK ? Result::HeldElsewhere : Result::Unavailable;
    }
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = fd;
    return Result::Taken;
}

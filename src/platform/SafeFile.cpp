#include "platform/SafeFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

FileWriteResult Failed(int err) {
    return {false, QString::fromLocal8Bit(std::strerror(err))};
}

// Closes and removes the temporary file unless it was renamed into place.
class TempFile {
public:
    explicit TempFile(const QString& beside)
        : name_(QFile::encodeName(beside + QStringLiteral(".XXXXXX"))), fd_(mkstemp(name_.data())) {
    }
    ~TempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_ && fd_ >= 0)
            ::unlink(name_.constData());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int fd() const { return fd_; }
    const char* name() const { return name_.constData(); }
    void MarkRenamed() { renamed_ = true; }

private:
    QByteArray name_;
    int fd_;
    bool renamed_ = false;
};

// The rename itself reaches the disk with the folder's entry.
void SyncFolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : QFile::encodeName(path.left(std::max<qsizetype>(1, slash)));
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

FileWriteResult WriteFileReplacing(const QString& path, const QByteArray& data, int mode) {
    const QByteArray target = QFile::encodeName(path);
    if (mode < 0) {
        struct stat st {};
        if (::stat(target.constData(), &st) == 0)
            mode = static_cast<int>(st.st_mode & 07777);
    }
    TempFile temp(path);
    if (temp.fd() < 0)
        return Failed(errno);
    qsizetype written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(temp.fd(), data.constData() + written,
                                  static_cast<size_t>(data.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return Failed(n < 0 ? errno : ENOSPC);
        written += n;
    }
    if (mode < 0) {
        // mkstemp makes 0600; a new file otherwise gets what the user's umask allows.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = static_cast<int>(0666 & ~mask);
    }
    if (::fchmod(temp.fd(), static_cast<mode_t>(mode)) != 0 || ::fsync(temp.fd()) != 0)
        return Failed(errno);
    if (::rename(temp.name(), target.constData()) != 0)
        return Failed(errno);
    temp.MarkRenamed();
    SyncFolderOf(path);
    return {true, {}};
}

FileWriteResult RenameDurably(const QString& from, const QString& to) {
    const QByteArray source = QFile::encodeName(from);
    const int fd = ::open(source.constData(), O_RDONLY);
    if (fd < 0)
        return Failed(errno);
    const bool synced = ::fsync(fd) == 0;
    const int err = errno;
    ::close(fd);
    if (!synced)
        return Failed(err);
    if (::rename(source.constData(), QFile::encodeName(to).constData()) != 0)
        return Failed(errno);
    SyncFolderOf(to);
    return {true, {}};
}

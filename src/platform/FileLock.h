#pragma once

class QString;

// An exclusive advisory lock on a file, held while the object lives. The system lets go of it
// when the process ends, however it ends, so a crashed holder leaves nothing to clean up.
class FileLock {
public:
    enum class Result { Taken, HeldElsewhere, Unavailable };
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    Result TryLock(const QString& path);

private:
    int fd_ = -1;
};

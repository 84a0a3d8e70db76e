// Whole-database copies through SQLite's online backup, in both directions.
#include "data/Connection.h"

#include "data/DatabaseCopy.h"
#include "data/EngineErrors.h"

#include <QFile>
#include <QUrl>
#include <cstring>
#include <sqlite3.h>

namespace {

constexpr int kPagesPerStep = 1024;

// Runs a backup to its end in steps, reporting each; false when the progress stopped it.
// rc is then SQLITE_DONE, or the error that ended it.
bool RunBackup(sqlite3_backup* backup, const Connection::CopyProgress& progress, int& rc) {
    for (;;) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        const int total = sqlite3_backup_pagecount(backup);
        const int done = total - sqlite3_backup_remaining(backup);
        if (rc == SQLITE_DONE) {
            if (progress)
                progress(total, total);
            return true;
        }
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(10);
        else if (rc != SQLITE_OK)
            return true;
        if (progress && !progress(done, total))
            return false;
    }
}

QByteArray ReadOnlyUri(const QString& path) {
    return QUrl::fromLocalFile(path).toEncoded() + "?immutable=1";
}

// What stopped a copy, with the system's own reason when it gave one.
RuntimeError CopyFailed(int rc, const QString& path, const QString& msg, int systemErrno = 0) {
    const int primary = rc & 0xff;
    if (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB)
        return EngineError::Damaged(
            path, QStringLiteral("The database file '%1' is damaged: %2").arg(path, msg));
    const QString why =
        systemErrno
            ? QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(systemErrno)))
            : QString();
    return EngineError::General(
        (primary == SQLITE_FULL ? QStringLiteral("the disk is full: ") : QString()) + msg + why,
        ErrorKind::FileAccess, path);
}

// A handle on another file, closed with its owner.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
    QString Message() const { return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"); }
};

} // namespace

void Connection::CopyTo(const QString& path, const CopyProgress& progress) {
    RequireOpen();
    Handle target;
    int rc =
        sqlite3_open_v2(QFile::encodeName(path).constData(), &target.db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, target.Message());
    // An unfinished copy is thrown away, and a finished one reaches the disk when it is put in
    // place: the copy itself needs no journal and no syncs of its own.
    sqlite3_exec(target.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    sqlite3_backup* backup = sqlite3_backup_init(target.db, "main", db_, "main");
    if (!backup)
        throw CopyFailed(sqlite3_errcode(target.db), path, target.Message());
    const bool finished = RunBackup(backup, progress, rc);
    sqlite3_backup_finish(backup);
    if (!finished)
        throw EngineError::General(QStringLiteral("The copy was cancelled."), ErrorKind::General,
                                   path);
    if (rc != SQLITE_DONE) {
        // The source's own failure says more than the target's.
        const int sourceRc = sqlite3_errcode(db_);
        if ((sourceRc & 0xff) == SQLITE_CORRUPT || (sourceRc & 0xff) == SQLITE_NOTADB)
            throw CopyFailed(sourceRc, path_, QString::fromUtf8(sqlite3_errmsg(db_)));
        throw CopyFailed(rc, path, target.Message(), sqlite3_system_errno(target.db));
    }
    // The copy stands alone: no write-ahead log is ever made beside it.
    char* err = nullptr;
    rc = sqlite3_exec(target.db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, &err);
    sqlite3_free(err);
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, target.Message());
    rc = sqlite3_close(target.db);
    target.db = nullptr;
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, QStringLiteral("the file could not be closed"));
}

void Connection::ReplaceWith(const QString& path, const CopyProgress& progress) {
    RequireOpen();
    if (transactionDepth_ > 0)
        throw EngineError::General(QStringLiteral("The database cannot be replaced while a "
                                                  "change is being made."));
    Handle source;
    int rc = sqlite3_open_v2(ReadOnlyUri(path).constData(), &source.db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, source.Message());
    // Statements prepared on the old schema must not outlive it.
    ClearStatements();
    sqlite3_backup* backup = sqlite3_backup_init(db_, "main", source.db, "main");
    if (!backup)
        throw CopyFailed(sqlite3_errcode(db_), path_, QString::fromUtf8(sqlite3_errmsg(db_)));
    const bool finished = RunBackup(backup, progress, rc);
    sqlite3_backup_finish(backup);
    if (!finished)
        throw EngineError::General(QStringLiteral("The restore was cancelled."));
    if (rc != SQLITE_DONE)
        throw CopyFailed(rc, path, source.Message());
    LoadSchema();
}

QString Connection::QuickCheck() {
    RequireOpen();
    return DatabaseCopy::QuickCheckOf(db_);
}

#include "data/CopyEngine.h"

#include "data/EngineErrors.h"
#include "data/SealedFormat.h"
#include "data/SealedVfs.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace CopyEngine {

namespace {

constexpr int kPagesPerStep = 1024;
// How often, in engine steps, a copy without pages of its own reports.
constexpr int kStepsPerReport = 20000;

int PageCount(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    int pages = 0;
    if (sqlite3_prepare_v2(db, "PRAGMA page_count", -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW)
        pages = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return pages;
}

// The bytes each page of the source leaves for a seal.
int ReserveOf(sqlite3* db) {
    int reserve = -1; // asks without changing it
    sqlite3_file_control(db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
    return reserve;
}

struct Watch {
    const Progress* progress = nullptr;
    uint64_t start = 0;
    int total = 0;
    bool stopped = false;
};

int ReportSealed(void* arg) {
    auto& w = *static_cast<Watch*>(arg);
    const auto sealed = static_cast<int>(
        std::min<uint64_t>(SealedVfs::PagesSealed() - w.start, static_cast<uint64_t>(w.total)));
    if (!(*w.progress)(sealed, std::max(w.total, 1))) {
        w.stopped = true;
        return 1;
    }
    return 0;
}

// A page holds no room for its seal in a database made before there were seals: the copy is
// then made by VACUUM INTO, which lays every page out again with the room asked for.
void VacuumInto(sqlite3* source, const QString& sourcePath, const QString& path,
                const std::shared_ptr<const Sealed::Key>& key, const Progress& progress) {
    int reserve = Sealed::kReserve;
    sqlite3_file_control(source, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
    Watch watch{&progress, SealedVfs::PagesSealed(), PageCount(source)};
    if (progress)
        sqlite3_progress_handler(source, kStepsPerReport, ReportSealed, &watch);
    const QByteArray uri = SealedVfs::Uri(path, key);
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(source, "VACUUM INTO ?1", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(stmt, 1, uri.constData(), static_cast<int>(uri.size()), SQLITE_STATIC);
        rc = sqlite3_step(stmt);
    }
    const QString msg = QString::fromUtf8(sqlite3_errmsg(source));
    const int systemErrno = sqlite3_system_errno(source);
    sqlite3_finalize(stmt);
    sqlite3_progress_handler(source, 0, nullptr, nullptr);
    int none = 0;
    sqlite3_file_control(source, "main", SQLITE_FCNTL_RESERVE_BYTES, &none);
    if (watch.stopped)
        throw EngineError::General(QStringLiteral("The copy was cancelled."), ErrorKind::General,
                                   path);
    if (rc != SQLITE_DONE)
        throw CopyFailed(rc, IsDamage(rc) ? sourcePath : path, msg, systemErrno);
    if (progress)
        progress(watch.total, watch.total);
}

} // namespace

Handle::~Handle() {
    sqlite3_close_v2(db);
}

QString Handle::Message() const {
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory");
}

bool IsDamage(int rc) {
    return (rc & 0xff) == SQLITE_CORRUPT || (rc & 0xff) == SQLITE_NOTADB || rc == SQLITE_IOERR_DATA;
}

QString DamageText(int rc, const QString& path, const QString& msg) {
    if (rc == SQLITE_IOERR_DATA)
        return QStringLiteral("The database file '%1' is damaged or was changed outside Pimora: "
                              "a part of it does not pass its check. Nothing was read from that "
                              "part, and the file was left as it is.")
            .arg(path);
    // Pages that open but do not fit together: the whole file was cut or pieced together.
    if (SealedVfs::FileIsSealed(path))
        return QStringLiteral("The database file '%1' is damaged or was changed outside Pimora: "
                              "%2. The file was left as it is.")
            .arg(path, msg);
    return QStringLiteral("The database file '%1' is damaged: %2").arg(path, msg);
}

bool RunBackup(sqlite3_backup* backup, const Progress& progress, int& rc) {
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

RuntimeError CopyFailed(int rc, const QString& path, const QString& msg, int systemErrno) {
    if (IsDamage(rc))
        return EngineError::Damaged(path, DamageText(rc, path, msg));
    const QString why =
        systemErrno
            ? QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(systemErrno)))
            : QString();
    return EngineError::General(
        ((rc & 0xff) == SQLITE_FULL ? QStringLiteral("the disk is full: ") : QString()) + msg + why,
        ErrorKind::FileAccess, path);
}

void CopyInto(sqlite3* source, const QString& sourcePath, const QString& path,
              const std::shared_ptr<const Sealed::Key>& key, const Progress& progress) {
    if (key && ReserveOf(source) < Sealed::kReserve) {
        VacuumInto(source, sourcePath, path, key, progress);
        return;
    }
    Handle target;
    int rc = sqlite3_open_v2(SealedVfs::Uri(path, key).constData(), &target.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX |
                                 SQLITE_OPEN_URI,
                             nullptr);
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, target.Message());
    // An unfinished copy is thrown away, and a finished one reaches the disk when it is put in
    // place: the copy itself needs no journal and no syncs of its own.
    sqlite3_exec(target.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    sqlite3_backup* backup = sqlite3_backup_init(target.db, "main", source, "main");
    if (!backup)
        throw CopyFailed(sqlite3_errcode(target.db), path, target.Message());
    const bool finished = RunBackup(backup, progress, rc);
    sqlite3_backup_finish(backup);
    if (!finished)
        throw EngineError::General(QStringLiteral("The copy was cancelled."), ErrorKind::General,
                                   path);
    if (rc != SQLITE_DONE) {
        // The source's own failure says more than the target's.
        const int sourceRc = sqlite3_errcode(source);
        if (IsDamage(sourceRc))
            throw CopyFailed(sourceRc, sourcePath, QString::fromUtf8(sqlite3_errmsg(source)));
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

} // namespace CopyEngine

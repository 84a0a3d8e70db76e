// Whole-database copies through SQLite's online backup, in both directions, and the rewrite
// of the open database under another key.
#include "data/Connection.h"

#include "data/CopyEngine.h"
#include "data/DatabaseCopy.h"
#include "data/EngineErrors.h"
#include "data/SealedFormat.h"
#include "data/SealedVfs.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sqlite3.h>

using CopyEngine::CopyFailed;

void Connection::CopyTo(const QString& path, const CopyProgress& progress) {
    CopyTo(path, key_, progress);
}

void Connection::CopyTo(const QString& path, const std::shared_ptr<const Sealed::Key>& key,
                        const CopyProgress& progress) {
    RequireOpen();
    CopyEngine::CopyInto(db_, path_, path, key, progress);
}

void Connection::ReplaceWith(const QString& path, const CopyProgress& progress) {
    RequireOpen();
    if (transactionDepth_ > 0)
        throw EngineError::General(QStringLiteral("The database cannot be replaced while a "
                                                  "change is being made."));
    CopyEngine::Handle source;
    const QByteArray uri = SealedVfs::Uri(path, SealedVfs::KeyFor(path), "immutable=1");
    int rc = sqlite3_open_v2(uri.constData(), &source.db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        throw CopyFailed(rc, path, source.Message());
    // Statements prepared on the old schema must not outlive it.
    ClearStatements();
    sqlite3_backup* backup = sqlite3_backup_init(db_, "main", source.db, "main");
    if (!backup)
        throw CopyFailed(sqlite3_errcode(db_), path_, QString::fromUtf8(sqlite3_errmsg(db_)));
    const bool finished = CopyEngine::RunBackup(backup, progress, rc);
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

QString Connection::RewritePrefix(const QString& path) {
    return path + QStringLiteral(".rewrite-");
}

void Connection::Rewrite(const std::shared_ptr<const Sealed::Key>& key,
                         const CopyProgress& progress) {
    RequireOpen();
    if (transactionDepth_ > 0)
        throw EngineError::General(QStringLiteral("The database cannot be rewritten while a "
                                                  "change is being made."));
    const QString path = path_;
    const QString target =
        RewritePrefix(path) + QString::number(QRandomGenerator::system()->generate64(), 36);
    auto discard = [&] {
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-journal"));
    };
    try {
        CopyTo(target, key, progress);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        if (const QString fault = DatabaseCopy::Check(target, key); !fault.isEmpty())
            throw EngineError::General(
                QStringLiteral("The rewritten database did not pass its check: %1").arg(fault),
                ErrorKind::FileAccess, target);
    } catch (...) {
        discard();
        throw;
    }
    // With the connection closed its log has been folded in and is gone, so nothing of the old
    // file can be replayed onto the new one.
    const std::shared_ptr<const Sealed::Key> before = key_;
    try {
        Close();
    } catch (...) {
        discard();
        if (!db_)
            Open(QStringLiteral("Data Source=") + path, before);
        throw;
    }
    const QString wal = path + QStringLiteral("-wal");
    const bool logLeft = QFileInfo(wal).exists() && QFileInfo(wal).size() > 0;
    const FileWriteResult moved =
        logLeft ? FileWriteResult{false, QStringLiteral("its log is still in use")}
                : RenameDurably(target, path);
    if (!moved.ok) {
        discard();
        Open(QStringLiteral("Data Source=") + path, before);
        throw EngineError::General(
            QStringLiteral("The rewritten database cannot be put in place of '%1': %2. The "
                           "database was left as it was.")
                .arg(path, moved.error),
            ErrorKind::FileAccess, path);
    }
    QFile::remove(wal);
    QFile::remove(path + QStringLiteral("-shm"));
    Open(QStringLiteral("Data Source=") + path, key);
}

#include "data/DatabaseCopy.h"

#include "data/CopyEngine.h"
#include "data/EngineErrors.h"
#include "data/SealedVfs.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace DatabaseCopy {

namespace {

// A read-only handle on a file nothing else changes while it is open.
struct Handle {
    Handle(const QString& path, bool mapped, std::shared_ptr<const Sealed::Key> key)
        : key_(std::move(key)) {
        const QByteArray uri = SealedVfs::Uri(path, key_, "immutable=1");
        rc = sqlite3_open_v2(uri.constData(), &db,
                             SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        // A check reads every page once: mapped, it takes half the time. A count reads a few
        // pages, and mapping the whole file would cost more than it saves.
        if (rc == SQLITE_OK && mapped)
            sqlite3_exec(db, "PRAGMA mmap_size=268435456", nullptr, nullptr, nullptr);
    }
    ~Handle() { sqlite3_close_v2(db); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    QString Message() const { return QString::fromUtf8(db ? sqlite3_errmsg(db) : "out of memory"); }
    std::shared_ptr<const Sealed::Key> key_;
    sqlite3* db = nullptr;
    int rc = SQLITE_OK;
};

} // namespace

QString QuickCheckOf(sqlite3* db) {
    sqlite3_stmt* stmt = nullptr;
    QString found;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr);
    while (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto* line = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const QString text = QString::fromUtf8(line ? line : "");
        if (text != QLatin1String("ok"))
            found += (found.isEmpty() ? QString() : QStringLiteral("; ")) + text;
        rc = SQLITE_OK;
    }
    if (rc != SQLITE_DONE && found.isEmpty())
        found = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    return found;
}

QString Check(const QString& path) {
    return Check(path, SealedVfs::KeyFor(path));
}

QString Check(const QString& path, const std::shared_ptr<const Sealed::Key>& key) {
    if (!QFileInfo(path).isFile())
        return QStringLiteral("the file is missing");
    if (SealedVfs::FileIsSealed(path) && !key)
        return QStringLiteral("the file is encrypted with another password");
    Handle file(path, true, key);
    return file.rc == SQLITE_OK ? QuickCheckOf(file.db) : file.Message();
}

void Reseal(const QString& path, const std::shared_ptr<const Sealed::Key>& from,
            const std::shared_ptr<const Sealed::Key>& key) {
    const QString target = path + QStringLiteral(".reseal");
    QFile::remove(target);
    try {
        {
            Handle source(path, false, SealedVfs::FileIsSealed(path) ? from : nullptr);
            if (source.rc != SQLITE_OK)
                throw CopyEngine::CopyFailed(source.rc, path, source.Message());
            CopyEngine::CopyInto(source.db, path, target, key, {});
        }
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        if (const QString fault = Check(target, key); !fault.isEmpty())
            throw EngineError::Damaged(path, fault);
        if (const FileWriteResult moved = RenameDurably(target, path); !moved.ok)
            throw EngineError::General(moved.error, ErrorKind::FileAccess, path);
    } catch (...) {
        QFile::remove(target);
        throw;
    }
}

Summary Summarize(const QString& path) {
    Handle file(path, false, SealedVfs::KeyFor(path));
    auto count = [&](const char* sql) -> qint64 {
        sqlite3_stmt* stmt = nullptr;
        int rc = file.rc;
        qint64 n = 0;
        if (rc == SQLITE_OK)
            rc = sqlite3_prepare_v2(file.db, sql, -1, &stmt, nullptr);
        if (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            n = sqlite3_column_int64(stmt, 0);
            rc = SQLITE_OK;
        }
        sqlite3_finalize(stmt);
        if (rc != SQLITE_OK)
            throw EngineError::General(
                QStringLiteral("The backup '%1' cannot be read: %2").arg(path, file.Message()),
                ErrorKind::FileAccess, path);
        return n;
    };
    Summary s;
    s.journalDays = count("select count(*) from pmcalendar");
    s.events = count("select count(*) from pmcaleventdate");
    s.thoughtNodes = count("select count(*) from pmthoughts");
    return s;
}

} // namespace DatabaseCopy

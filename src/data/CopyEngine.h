#pragma once

#include "common/RuntimeError.h"

#include <QString>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_backup;

namespace Sealed {
class Key;
}

// Whole-database copies into new files, sealed or plain, for the connection, the backups and
// the rewrite that turns encryption on, off or to a new password.
namespace CopyEngine {

// Pages copied so far and pages in all; returning false stops the copy.
using Progress = std::function<bool(int done, int total)>;

// Writes the database of source as it stands into a new file at path, sealed with key when
// there is one. The copy keeps no journal and is not synced: it is put in place by the caller.
// Throws FileAccess (Damaged when the source cannot be read); what was written stays for the
// caller to remove.
void CopyInto(sqlite3* source, const QString& sourcePath, const QString& path,
              const std::shared_ptr<const Sealed::Key>& key, const Progress& progress);

// Runs a backup to its end in steps, reporting each; false when the progress stopped it.
// rc is then SQLITE_DONE, or the error that ended it.
bool RunBackup(sqlite3_backup* backup, const Progress& progress, int& rc);

// What stopped a copy, with the system's own reason when it gave one.
RuntimeError CopyFailed(int rc, const QString& path, const QString& msg, int systemErrno = 0);

// Whether rc says a file of ours cannot be read as it was written.
bool IsDamage(int rc);
// The description of a damaged file, sealed or plain.
QString DamageText(int rc, const QString& path, const QString& msg);

// A handle on another file, closed with its owner.
struct Handle {
    sqlite3* db = nullptr;
    ~Handle();
    QString Message() const;
};

} // namespace CopyEngine

#pragma once

#include <QString>

#include <memory>

struct sqlite3;
namespace Sealed {
class Key;
}

// Looks at a database file that is not the open one (a backup) on a short-lived read-only
// connection of its own. The file is never changed, and no journal is made beside it.
namespace DatabaseCopy {

// Empty when PRAGMA quick_check finds the open database sound, else what it found.
QString QuickCheckOf(sqlite3* db);

// Empty when the file opens and passes PRAGMA quick_check; otherwise the reason. An
// encrypted file is opened with the session's key, or with the key given.
QString Check(const QString& path);
QString Check(const QString& path, const std::shared_ptr<const Sealed::Key>& key);

// Writes the file again sealed with key (plain without one), in place of itself; a failure
// leaves it as it was. from: the key it is sealed with now.
void Reseal(const QString& path, const std::shared_ptr<const Sealed::Key>& from,
            const std::shared_ptr<const Sealed::Key>& key);

struct Summary {
    qint64 journalDays = 0;
    qint64 events = 0;
    qint64 thoughtNodes = 0;
};
// What the file holds. Throws the engine's RuntimeError when it cannot be read.
Summary Summarize(const QString& path);

} // namespace DatabaseCopy

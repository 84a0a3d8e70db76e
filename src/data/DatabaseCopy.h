#pragma once

#include <QString>

struct sqlite3;

// Looks at a database file that is not the open one (a backup) on a short-lived read-only
// connection of its own. The file is never changed, and no journal is made beside it.
namespace DatabaseCopy {

// Empty when PRAGMA quick_check finds the open database sound, else what it found.
QString QuickCheckOf(sqlite3* db);

// Empty when the file opens and passes PRAGMA quick_check; otherwise the reason.
QString Check(const QString& path);

struct Summary {
    qint64 journalDays = 0;
    qint64 events = 0;
    qint64 thoughtNodes = 0;
};
// What the file holds. Throws the engine's RuntimeError when it cannot be read.
Summary Summarize(const QString& path);

} // namespace DatabaseCopy

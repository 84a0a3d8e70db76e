#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace Sealed {
class Key;
}

// Copies of the database in the backups folder beside it: made from the open connection,
// checked, then put in place under their final name, so a copy that is listed is whole.
// Nothing here reports an error: the engine's RuntimeError goes to the caller.
namespace Backups {

enum class Reason { Daily, Upgrade, ClearThoughts, DeleteNode, Import, Restore, OnRequest };

struct Entry {
    QString path;
    QDateTime made;
    Reason reason = Reason::Daily;
    qint64 size = 0;
};

// Pages copied so far and in all; false cancels.
using Progress = std::function<bool(int done, int total)>;

QString Folder();
// The folder, made owner-only when it is new. Throws when it cannot be made.
QString EnsureFolder();
// What the list calls a reason: "Daily", "Before upgrade", ...
QString Label(Reason reason);
// The moment as the user is shown it: "7 Dec 2026 14:05:09".
QString When(const QDateTime& made);

// Copies the open database and keeps what the retention rule keeps, never the new copy. A
// copy that does not pass its check is removed and the database reported damaged.
// alsoKeep: a copy about to be used, kept whatever the rule says.
Entry Make(Reason reason, const Progress& progress = {}, const QString& alsoKeep = {});
// Every copy, newest first.
QList<Entry> List();
struct Contents {
    qint64 journalDays = 0;
    qint64 events = 0;
    qint64 thoughtNodes = 0;
};
// Read from the copy on a short-lived read-only connection; throws when it cannot be read.
Contents ContentsOf(const Entry& entry);
// True until a daily copy of today exists.
bool DailyDue();
// The newest seven daily copies and every other copy of the last thirty days stay; keep
// stays whatever its age. Unfinished copies left by a crash go too.
void Prune(const QStringList& keep = {});

// The newest copy that passes its check, if any.
std::optional<Entry> NewestSound();
// Replaces the open database with a copy, in one transaction.
void RestoreInto(const Entry& entry, const Progress& progress = {});
// With the database closed: moves the damaged file aside (never deleting it) as
// pengkalan.dat.damaged-YYYYMMDD-HHMMSS and puts the copy in its place. Returns the name it
// was moved to.
QString ReplaceDamaged(const Entry& entry);

// Writes every copy again sealed with key (plain without one), as the database now is; from:
// the key they are sealed with. A copy that cannot be written again is removed, since it
// would keep what the database no longer does: the names of those are returned. progress:
// copies done and in all.
QStringList Reseal(const std::shared_ptr<const Sealed::Key>& from,
                   const std::shared_ptr<const Sealed::Key>& key, const Progress& progress = {});

} // namespace Backups

#include "store/Backups.h"

#include "data/DatabaseCopy.h"
#include "data/EngineErrors.h"
#include "data/modDB.h"
#include "platform/Clock.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>

namespace Backups {

namespace {

constexpr int kDailyKept = 7;
constexpr int kOtherDays = 30;
const QString kPart = QStringLiteral(".part");

struct ReasonName {
    Reason reason;
    const char* file;
    const char* label;
};
constexpr ReasonName kReasons[] = {
    {Reason::Daily, "daily", "Daily"},
    {Reason::Upgrade, "upgrade", "Before upgrade"},
    {Reason::ClearThoughts, "clear-thoughts", "Before Clear Thoughts"},
    {Reason::DeleteNode, "delete-node", "Before deleting a node"},
    {Reason::Import, "import", "Before import"},
    {Reason::Restore, "restore", "Before restore"},
    {Reason::OnRequest, "on-request", "On request"},
};

const ReasonName& NameOf(Reason reason) {
    return *std::find_if(std::begin(kReasons), std::end(kReasons),
                         [reason](const ReasonName& r) { return r.reason == reason; });
}

// pengkalan-YYYYMMDD-HHMMSS-REASON.dat, with -N before .dat for the Nth copy of one second.
std::optional<Entry> Parse(const QFileInfo& file, int* sequence = nullptr) {
    static const QRegularExpression name(
        QStringLiteral("^pengkalan-(\\d{8}-\\d{6})-([a-z]+(?:-[a-z]+)*)(?:-(\\d+))?\\.dat$"));
    const QRegularExpressionMatch m = name.match(file.fileName());
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime made = QDateTime::fromString(m.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    const auto reason = std::find_if(std::begin(kReasons), std::end(kReasons), [&](auto& r) {
        return m.captured(2) == QLatin1String(r.file);
    });
    if (!made.isValid() || reason == std::end(kReasons))
        return std::nullopt;
    if (sequence)
        *sequence = m.captured(3).isEmpty() ? 1 : m.captured(3).toInt();
    return Entry{file.absoluteFilePath(), made, reason->reason, file.size()};
}

// The copies of one second are numbered in the order they were made, whatever their reason.
QString FreeName(const QString& folder, const QDateTime& now, Reason reason) {
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString stem =
        QStringLiteral("pengkalan-%1-%2").arg(stamp, QLatin1String(NameOf(reason).file));
    const qsizetype taken =
        QDir(folder)
            .entryList({QStringLiteral("pengkalan-%1-*.dat").arg(stamp)}, QDir::Files)
            .size();
    for (qsizetype n = taken + 1;; ++n) {
        const QString name =
            n == 1 ? stem + QStringLiteral(".dat") : stem + QStringLiteral("-%1.dat").arg(n);
        if (!QFileInfo::exists(folder + '/' + name))
            return folder + '/' + name;
    }
}

void Remove(const QString& path) {
    QFile::remove(path);
}

} // namespace

QString Folder() {
    return QFileInfo(DatabaseFile()).absolutePath() + QStringLiteral("/backups");
}

QString EnsureFolder() {
    const QString folder = Folder();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw EngineError::General(
            QStringLiteral("The backups folder '%1' cannot be made.").arg(folder),
            ErrorKind::FileAccess, folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

QString Label(Reason reason) {
    return QString::fromLatin1(NameOf(reason).label);
}

QString When(const QDateTime& made) {
    return QLocale::c().toString(made, QStringLiteral("d MMM yyyy HH:mm:ss"));
}

Entry Make(Reason reason, const Progress& progress, const QString& alsoKeep) {
    if (!gConn)
        throw EngineError::ObjectClosed();
    const QString folder = EnsureFolder();
    const QDateTime now = Clock::Now();
    const QString path = FreeName(folder, now, reason);
    const QString part = path + kPart;
    Remove(part);
    try {
        gConn->CopyTo(part, progress);
    } catch (const RuntimeError& e) {
        Remove(part);
        if (e.Kind() == ErrorKind::Damaged)
            throw;
        throw EngineError::General(
            QStringLiteral("The backup '%1' cannot be written: %2").arg(path, e.Description()),
            ErrorKind::FileAccess, path);
    }
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    if (const QString fault = DatabaseCopy::Check(part, gConn->Key()); !fault.isEmpty()) {
        Remove(part);
        throw EngineError::Damaged(
            gConn->FilePath(),
            QStringLiteral("The database file '%1' is damaged: %2").arg(gConn->FilePath(), fault));
    }
    if (const FileWriteResult moved = RenameDurably(part, path); !moved.ok) {
        Remove(part);
        throw EngineError::General(
            QStringLiteral("The backup '%1' cannot be written: %2").arg(path, moved.error),
            ErrorKind::FileAccess, path);
    }
    Prune({path, alsoKeep});
    const QFileInfo made(path);
    return Entry{made.absoluteFilePath(), now, reason, made.size()};
}

QList<Entry> List() {
    std::vector<std::pair<Entry, int>> found;
    const QFileInfoList files =
        QDir(Folder()).entryInfoList({QStringLiteral("pengkalan-*.dat")}, QDir::Files);
    for (const QFileInfo& f : files) {
        int sequence = 1;
        if (std::optional<Entry> e = Parse(f, &sequence))
            found.emplace_back(*e, sequence);
    }
    std::sort(found.begin(), found.end(), [](const auto& x, const auto& y) {
        return x.first.made != y.first.made ? x.first.made > y.first.made : x.second > y.second;
    });
    QList<Entry> out;
    for (const auto& found1 : found)
        out << found1.first;
    return out;
}

Contents ContentsOf(const Entry& entry) {
    const DatabaseCopy::Summary s = DatabaseCopy::Summarize(entry.path);
    return Contents{s.journalDays, s.events, s.thoughtNodes};
}

bool DailyDue() {
    const QDate today = Clock::Today();
    const QList<Entry> all = List();
    return std::none_of(all.begin(), all.end(), [&](const Entry& e) {
        return e.reason == Reason::Daily && e.made.date() == today;
    });
}

void Prune(const QStringList& keep) {
    QStringList kept;
    for (const QString& k : keep)
        if (!k.isEmpty())
            kept << QFileInfo(k).absoluteFilePath();
    const QDir folder(Folder());
    for (const QFileInfo& f : folder.entryInfoList(
             {QStringLiteral("*") + kPart, QStringLiteral("*.reseal")}, QDir::Files))
        Remove(f.absoluteFilePath());
    const QDateTime oldest = Clock::Now().addDays(-kOtherDays);
    int daily = 0;
    for (const Entry& e : List()) { // newest first
        const bool stays = e.reason == Reason::Daily ? ++daily <= kDailyKept : e.made >= oldest;
        if (!stays && !kept.contains(e.path))
            Remove(e.path);
    }
}

std::optional<Entry> NewestSound() {
    for (const Entry& e : List())
        if (DatabaseCopy::Check(e.path).isEmpty())
            return e;
    return std::nullopt;
}

void RestoreInto(const Entry& entry, const Progress& progress) {
    if (!gConn)
        throw EngineError::ObjectClosed();
    if (const QString fault = DatabaseCopy::Check(entry.path); !fault.isEmpty())
        throw EngineError::Damaged(
            entry.path, QStringLiteral("The backup '%1' is damaged: %2").arg(entry.path, fault));
    gConn->ReplaceWith(entry.path, progress);
}

QString ReplaceDamaged(const Entry& entry) {
    const QString db = DatabaseFile();
    const QString aside =
        db + QStringLiteral(".damaged-") + Clock::Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString incoming = db + QStringLiteral(".restoring");
    Remove(incoming);
    if (!QFile::copy(entry.path, incoming)) {
        Remove(incoming);
        throw EngineError::General(
            QStringLiteral("The backup '%1' cannot be copied beside the database.").arg(entry.path),
            ErrorKind::FileAccess, incoming);
    }
    QFile::setPermissions(incoming, QFile::ReadOwner | QFile::WriteOwner);
    // The damaged file's journal belongs with it.
    for (const QString& side : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFileInfo::exists(db + side))
            QFile::rename(db + side, aside + side);
    if (!QFile::rename(db, aside)) {
        Remove(incoming);
        throw EngineError::General(
            QStringLiteral("The damaged database cannot be moved aside to '%1'.").arg(aside),
            ErrorKind::FileAccess, db);
    }
    if (const FileWriteResult moved = RenameDurably(incoming, db); !moved.ok)
        throw EngineError::General(
            QStringLiteral("The backup cannot be put in place of the database: %1. The damaged "
                           "file is kept as '%2'.")
                .arg(moved.error, aside),
            ErrorKind::FileAccess, db);
    return aside;
}

QStringList Reseal(const std::shared_ptr<const Sealed::Key>& from,
                   const std::shared_ptr<const Sealed::Key>& key, const Progress& progress) {
    QStringList removed;
    const QList<Entry> all = List();
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (progress)
            progress(static_cast<int>(i), static_cast<int>(all.size()));
        try {
            DatabaseCopy::Reseal(all[i].path, from, key);
        } catch (const RuntimeError&) {
            Remove(all[i].path);
            removed << QFileInfo(all[i].path).fileName();
        }
    }
    if (progress && !all.isEmpty())
        progress(static_cast<int>(all.size()), static_cast<int>(all.size()));
    return removed;
}

} // namespace Backups

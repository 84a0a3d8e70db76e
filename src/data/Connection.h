#pragma once

#include "data/JetSql.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Recordset;
namespace Sealed {
class Key;
}

enum class ObjectState { Closed = 0, Open = 1 };

// The one connection to the database: Jet-dialect texts run on SQLite.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "...;Data Source=<file>;..." Throws FileNotFound for a missing file and NotADatabase for
    // a file that is not one of ours. An encrypted file opens with the session's key.
    void Open(const QString& connectionString);
    // The same with the key an encrypted file is opened with (none: a plain file).
    void Open(const QString& connectionString, std::shared_ptr<const Sealed::Key> key);
    void Close();
    ObjectState State() const { return db_ ? ObjectState::Open : ObjectState::Closed; }
    const QString& FilePath() const { return path_; }
    // The key the file is sealed with; none for a plain file.
    const std::shared_ptr<const Sealed::Key>& Key() const { return key_; }

    // Runs a statement that returns no rows; each is its own transaction unless one is open.
    void Execute(const QString& sql);

    // Pages copied so far and pages in all; returning false stops the copy.
    using CopyProgress = std::function<bool(int done, int total)>;
    // Writes the database as it stands now into a new file (SQLite's online backup), which
    // keeps no journal of its own. Throws FileAccess on a full disk; what was written stays
    // for the caller to remove.
    // The copy is sealed as the database is.
    void CopyTo(const QString& path, const CopyProgress& progress = {});
    // The same sealed with key, or plain without one.
    void CopyTo(const QString& path, const std::shared_ptr<const Sealed::Key>& key,
                const CopyProgress& progress = {});
    // Replaces the whole database with the one in the file, in one transaction: a crash
    // leaves either all of the old or all of the new.
    void ReplaceWith(const QString& path, const CopyProgress& progress = {});
    // Writes the database into a new file sealed with key (plain without one), checks it and
    // puts it in place of the old one by a rename, then opens it. A failure before the rename
    // leaves the old file open as it was.
    void Rewrite(const std::shared_ptr<const Sealed::Key>& key, const CopyProgress& progress = {});
    // What the unfinished new files of a rewrite of path start with.
    static QString RewritePrefix(const QString& path);
    // Empty when PRAGMA quick_check finds the database sound, else what it found.
    QString QuickCheck();

    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

    // The data source named by a connection string.
    static QString DataSourceOf(const QString& connectionString);

    // The columns of a statement's result: names, positions by lower-case name, and kinds.
    struct ColumnInfo {
        QStringList names;
        QHash<QString, int> byName;
        std::vector<ColumnKind> kinds;
    };

private:
    friend class Recordset;
    struct Prepared {
        sqlite3_stmt* stmt = nullptr;
        TranslatedStatement plan;
        std::shared_ptr<const ColumnInfo> columns; // worked out once, on first use
    };
    // The prepared statement for a text, its literals bound; reset it after use.
    Prepared& Prepare(const QString& sql);
    // The result columns of a prepared statement, kept with it while they still hold.
    static std::shared_ptr<const ColumnInfo> ColumnsOf(Prepared& prepared);
    void LoadSchema();
    void ClearStatements();
    // Throws the engine's error for a failed call; preparing: the statement did not compile.
    [[noreturn]] void Fail(int rc, bool preparing = false) const;
    void RequireOpen() const;
    // Keeps the system's error of a failed step, before the engine's clean-up changes it.
    void NoteSystemError(int rc);

    sqlite3* db_ = nullptr;
    QString path_;
    std::shared_ptr<const Sealed::Key> key_;
    SchemaKinds schema_;
    QHash<QString, Prepared> statements_;
    int transactionDepth_ = 0;
    int lastSystemErrno_ = 0;
};

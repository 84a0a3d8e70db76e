#pragma once

#include "data/JetSql.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Recordset;

enum class ObjectState { Closed = 0, Open = 1 };

// The one connection to the database: Jet-dialect texts run on SQLite.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "...;Data Source=<file>;..." Throws FileNotFound for a missing file and NotADatabase for
    // a file that is not one of ours.
    void Open(const QString& connectionString);
    void Close();
    ObjectState State() const { return db_ ? ObjectState::Open : ObjectState::Closed; }
    const QString& FilePath() const { return path_; }

    // Runs a statement that returns no rows; each is its own transaction unless one is open.
    void Execute(const QString& sql);

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
    SchemaKinds schema_;
    QHash<QString, Prepared> statements_;
    int transactionDepth_ = 0;
    int lastSystemErrno_ = 0;
};

#include "data/Connection.h"

#include "data/CopyEngine.h"
#include "data/EngineErrors.h"
#include "data/JetLike.h"
#include "data/SealedFormat.h"
#include "data/SealedVfs.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

namespace {

constexpr int kMaxCachedStatements = 256;
// What schema.sql stamps on every database it makes.
constexpr int kPimoraApplicationId = 1346981199;

void JetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto text = [](sqlite3_value* v) {
        const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string_view(data ? data : "", static_cast<size_t>(sqlite3_value_bytes(v)));
    };
    const auto* cached = static_cast<const JetLikePattern*>(sqlite3_get_auxdata(ctx, 0));
    std::unique_ptr<JetLikePattern> fresh;
    if (!cached) {
        const std::string_view p = text(argv[0]);
        fresh = std::make_unique<JetLikePattern>(
            QString::fromUtf8(p.data(), static_cast<qsizetype>(p.size())));
    }
    const JetLikePattern& pattern = cached ? *cached : *fresh;
    sqlite3_result_int(ctx, pattern.MatchesUtf8(text(argv[1])) ? 1 : 0);
    if (fresh)
        sqlite3_set_auxdata(ctx, 0, fresh.release(),
                            [](void* p) { delete static_cast<JetLikePattern*>(p); });
}

using EngineError::NotADatabase;

using CopyEngine::IsDamage;

// A file of ours that SQLite cannot read is damaged; any other failure leaves it unusable.
RuntimeError Unusable(int rc, const QString& path, const QString& msg) {
    if (rc == SQLITE_IOERR_DATA || (IsDamage(rc) && SealedVfs::FileIsSealed(path)))
        return EngineError::Damaged(path, CopyEngine::DamageText(rc, path, msg));
    const QString text =
        QStringLiteral("The database file '%1' is damaged or cannot be used: %2").arg(path, msg);
    return IsDamage(rc) ? EngineError::Damaged(path, text) : NotADatabase(path, text);
}

RuntimeError SealedDamage(const QString& path, const QString& what) {
    return EngineError::Damaged(
        path, QStringLiteral("The database file '%1' is damaged or was changed outside Pimora: "
                             "%2. It was left as it is.")
                  .arg(path, what));
}

// An encrypted file is whole before SQLite sees it: a sound header, and whole pages after it.
void CheckSealedFile(const QString& path, const QByteArray& head, qint64 size) {
    Sealed::Header header;
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    switch (Sealed::ReadHeader(bytes, static_cast<size_t>(head.size()), header)) {
    case Sealed::HeaderState::OtherVersion:
        throw SealedDamage(path, QStringLiteral("its header says it was written in format %1, "
                                                "which this version of Pimora does not know")
                                     .arg(header.version));
    case Sealed::HeaderState::Damaged:
        throw SealedDamage(path, QStringLiteral("its header does not pass its check"));
    case Sealed::HeaderState::NotSealed:
    case Sealed::HeaderState::Sound:
        break;
    }
    const qint64 pages = size - Sealed::kHeaderSize;
    if (pages < header.pageSize || pages % header.pageSize != 0)
        throw SealedDamage(path, QStringLiteral("it has been cut short"));
}

// SQLite would open a file it cannot write read-only, or fail on the journal's side files
// with "unable to open database file"; everything typed would then be refused later, one save
// at a time. The file and its folder must both take writes.
void CheckCanWrite(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    for (const QString& target : {path, folder}) {
        if (::access(QFile::encodeName(target).constData(), W_OK) == 0)
            continue;
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        throw EngineError::General(
            target == path
                ? QStringLiteral("The database file '%1' cannot be written: %2. It was left as "
                                 "it is.")
                      .arg(path, reason)
                : QStringLiteral("Pimora cannot write in the folder '%1' that holds its database "
                                 "file: %2. The file was left as it is.")
                      .arg(folder, reason),
            ErrorKind::FileAccess, path);
    }
}

// What a file that SQLite would not take is, in words the user can act on. True for an
// encrypted file.
bool CheckFileIsOurs(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw EngineError::General(
            QStringLiteral("The database file '%1' cannot be read: %2").arg(path, f.errorString()),
            ErrorKind::FileAccess, path);
    const QByteArray head = f.read(Sealed::kHeaderSize);
    if (head.isEmpty())
        throw NotADatabase(path, QStringLiteral("The file '%1' is empty: it is not a Pimora "
                                                "database.")
                                     .arg(path));
    if (head.startsWith(QByteArray("SQLite format 3\0", 16)))
        return false;
    if (Sealed::IsSealed(reinterpret_cast<const uint8_t*>(head.constData()),
                         static_cast<size_t>(head.size()))) {
        CheckSealedFile(path, head, f.size());
        return true;
    }
    if (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB")
        throw NotADatabase(path, QStringLiteral("The file '%1' is a Microsoft Jet database, as "
                                                "kept by the Windows version of Pimora; this "
                                                "version keeps its data in another format and "
                                                "cannot open it. The file was left as it is.")
                                     .arg(path));
    throw NotADatabase(path, QStringLiteral("The file '%1' is not a Pimora database: it is not "
                                            "an SQLite database file. The file was left as it "
                                            "is.")
                                 .arg(path));
}

} // namespace

Connection::Connection() = default;

Connection::~Connection() {
    if (db_) {
        ClearStatements();
        sqlite3_close_v2(db_);
    }
}

QString Connection::DataSourceOf(const QString& connectionString) {
    for (const QString& part : connectionString.split(QLatin1Char(';'))) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0 &&
            part.left(eq).trimmed().compare(QLatin1String("Data Source"), Qt::CaseInsensitive) == 0)
            return part.mid(eq + 1).trimmed();
    }
    return {};
}

namespace {

// Runs a statement of our own that must work on any SQLite file we keep.
void Pragma(sqlite3* db, const char* sql, const QString& path) {
    char* err = nullptr;
    if (const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err); rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(err ? err : "failed");
        sqlite3_free(err);
        throw Unusable(rc, path, msg);
    }
}

int IntOf(sqlite3* db, const char* sql, const QString& path) {
    sqlite3_stmt* stmt = nullptr;
    int value = 0;
    int rc = sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int(stmt, 0);
            rc = SQLITE_OK;
        }
    }
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(stmt);
    if (rc != SQLITE_OK)
        throw Unusable(rc, path, msg);
    return value;
}

// Another program's SQLite file is refused before anything is written to it. A database of
// ours made before the stamp existed still has our tables.
void CheckSchemaIsOurs(sqlite3* db, const QString& path) {
    if (IntOf(db, "PRAGMA application_id", path) == kPimoraApplicationId)
        return;
    const int ours = IntOf(db,
                           "select count(*) from sqlite_master where type = 'table' and "
                           "lower(name) in ('pmpref', 'pmversion', 'pmcalendar', 'pmcalevent', "
                           "'pmcaleventdate', 'pmthoughts')",
                           path);
    if (ours == 0)
        throw NotADatabase(path, QStringLiteral("The file '%1' is an SQLite database, but not a "
                                                "Pimora database: it belongs to another "
                                                "program. The file was left as it is.")
                                     .arg(path));
}

} // namespace

void Connection::Open(const QString& connectionString) {
    Open(connectionString, SealedVfs::KeyFor(DataSourceOf(connectionString)));
}

void Connection::Open(const QString& connectionString, std::shared_ptr<const Sealed::Key> key) {
    if (db_)
        throw EngineError::ObjectOpen();
    const QString path = DataSourceOf(connectionString);
    const QFileInfo file(path);
    if (file.isDir())
        throw NotADatabase(path, QStringLiteral("'%1' is a folder, not a database file. It was "
                                                "left as it is.")
                                     .arg(path));
    if (path.isEmpty() || !file.isFile())
        throw EngineError::FileNotFound(path);
    const bool sealed = CheckFileIsOurs(path);
    if (sealed && !key)
        throw EngineError::General(
            QStringLiteral("The database file '%1' is encrypted: it opens with its password "
                           "only.")
                .arg(path),
            ErrorKind::FileAccess, path);
    if (!sealed)
        key.reset();
    else if (!SealedVfs::KeyOpensFile(path, *key))
        throw EngineError::General(
            QStringLiteral("The password does not open the database file '%1'.").arg(path),
            ErrorKind::FileAccess, path);
    CheckCanWrite(path);

    sqlite3* db = nullptr;
    // One thread uses a connection: it needs no lock of its own.
    const int rc =
        sqlite3_open_v2(SealedVfs::Uri(path, key).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
        const int extended = db ? sqlite3_extended_errcode(db) : rc;
        sqlite3_close_v2(db);
        if (IsDamage(extended))
            throw Unusable(extended, path, msg);
        throw EngineError::General(
            QStringLiteral("The database file '%1' cannot be opened: %2").arg(path, msg),
            ErrorKind::FileAccess, path);
    }
    db_ = db;
    path_ = path;
    key_ = std::move(key);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 3000);
    try {
        CheckSchemaIsOurs(db_, path);
        // A statement that returned has reached the disk; WAL keeps that affordable.
        Pragma(db_, "PRAGMA journal_mode=WAL", path);
        Pragma(db_, "PRAGMA synchronous=FULL", path);
        // Sorts and temporary tables never reach the disk, where they would be in the clear;
        // and a whole diary fits the page cache, so a search reads and opens each page once.
        Pragma(db_, "PRAGMA temp_store=MEMORY", path);
        Pragma(db_, "PRAGMA cache_size=-131072", path);
        sqlite3_create_function_v2(db_, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   JetLike, nullptr, nullptr, nullptr);
        LoadSchema();
    } catch (...) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
        path_.clear();
        key_.reset();
        throw;
    }
}

void Connection::LoadSchema() {
    schema_.clear();
    sqlite3_stmt* tables = nullptr;
    auto damaged = [this] {
        return Unusable(sqlite3_errcode(db_), path_, QString::fromUtf8(sqlite3_errmsg(db_)));
    };
    if (sqlite3_prepare_v2(db_, "select name from sqlite_master where type = 'table'", -1, &tables,
                           nullptr) != SQLITE_OK)
        throw damaged();
    QStringList names;
    int rc;
    while ((rc = sqlite3_step(tables)) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(tables, 0)));
    sqlite3_finalize(tables);
    if (rc != SQLITE_DONE)
        throw damaged();
    for (const QString& name : names) {
        sqlite3_stmt* info = nullptr;
        const QByteArray sql = "PRAGMA table_info(\"" + name.toUtf8().replace('"', "\"\"") + "\")";
        if (sqlite3_prepare_v2(db_, sql.constData(), -1, &info, nullptr) != SQLITE_OK)
            continue;
        QHash<QString, ColumnKind>& columns = schema_[name.toLower()];
        while (sqlite3_step(info) == SQLITE_ROW) {
            const auto* col = reinterpret_cast<const char*>(sqlite3_column_text(info, 1));
            const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info, 2));
            columns.insert(QString::fromUtf8(col).toLower(),
                           ColumnKindOf(QString::fromUtf8(type ? type : "")));
        }
        sqlite3_finalize(info);
    }
}

void Connection::ClearStatements() {
    for (const Prepared& p : std::as_const(statements_))
        sqlite3_finalize(p.stmt);
    statements_.clear();
}

void Connection::Close() {
    RequireOpen();
    ClearStatements();
    if (transactionDepth_ > 0)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionDepth_ = 0;
    // A closed file is complete on its own, without its write-ahead log.
    sqlite3_exec(db_, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    const int rc = sqlite3_close(db_);
    if (rc != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw EngineError::General(msg);
    }
    db_ = nullptr;
    path_.clear();
    key_.reset();
    schema_.clear();
}

void Connection::RequireOpen() const {
    if (!db_)
        throw EngineError::ObjectClosed();
}

void Connection::Fail(int rc, bool preparing) const {
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db_));
    const int primary = rc & 0xff;
    if (msg.startsWith(QLatin1String("no such table: "))) {
        QString table = msg.mid(15);
        if (table.startsWith(QLatin1String("main.")))
            table = table.mid(5);
        throw EngineError::MissingTable(table);
    }
    if (primary == SQLITE_CONSTRAINT) {
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY)
            throw EngineError::General(
                QStringLiteral("The changes you requested to the table were not successful "
                               "because they would create duplicate values in the index, primary "
                               "key, or relationship. (") +
                    msg + QLatin1Char(')'),
                ErrorKind::Constraint);
        throw EngineError::General(QStringLiteral("The change was refused by the database: ") +
                                   msg);
    }
    if (msg.startsWith(QLatin1String("duplicate column name: ")))
        throw EngineError::General(
            QStringLiteral("Field '%1' already exists in the table.").arg(msg.mid(23)));
    if (IsDamage(rc))
        throw EngineError::Damaged(path_, CopyEngine::DamageText(rc, path_, msg));
    if (primary == SQLITE_FULL)
        throw EngineError::General(QStringLiteral("The disk is full: ") + msg,
                                   ErrorKind::FileAccess, path_);
    if (primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR ||
        primary == SQLITE_PERM) {
        // The system's own reason (a full disk, a file too large) is the one that helps.
        const int err = lastSystemErrno_;
        const QString why =
            err ? QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(err)))
                : QString();
        throw EngineError::General(
            QStringLiteral("The database file '%1' cannot be written: %2%3").arg(path_, msg, why),
            ErrorKind::FileAccess, path_);
    }
    if (primary == SQLITE_ERROR && preparing)
        throw EngineError::General(QStringLiteral("Syntax error in SQL statement: ") + msg,
                                   ErrorKind::Syntax);
    if (primary == SQLITE_ERROR)
        throw EngineError::General(QStringLiteral("The database engine could not run the "
                                                  "statement: ") +
                                   msg);
    throw EngineError::General(msg);
}

Connection::Prepared& Connection::Prepare(const QString& sql) {
    RequireOpen();
    const JetStatement split = SplitJet(sql);
    auto it = statements_.find(split.shape);
    if (it == statements_.end()) {
        Prepared p;
        p.plan = TranslateJet(split, schema_);
        const QByteArray text = p.plan.sqlite.toUtf8();
        const char* tail = nullptr;
        const int rc = sqlite3_prepare_v3(db_, text.constData(), static_cast<int>(text.size()),
                                          SQLITE_PREPARE_PERSISTENT, &p.stmt, &tail);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(p.stmt);
            Fail(rc, true);
        }
        if (!p.stmt)
            throw EngineError::General(QStringLiteral("Invalid SQL statement."), ErrorKind::Syntax);
        if (statements_.size() >= kMaxCachedStatements)
            ClearStatements();
        it = statements_.insert(split.shape, p);
    }
    Prepared& prepared = *it;
    for (size_t i = 0; i < split.literals.size(); ++i) {
        const QByteArray value = BindValue(split.literals[i], prepared.plan.binds[i]).toUtf8();
        sqlite3_bind_text(prepared.stmt, static_cast<int>(i + 1), value.constData(),
                          static_cast<int>(value.size()), SQLITE_TRANSIENT);
    }
    return prepared;
}

std::shared_ptr<const Connection::ColumnInfo> Connection::ColumnsOf(Prepared& prepared) {
    sqlite3_stmt* stmt = prepared.stmt;
    const int count = sqlite3_column_count(stmt);
    // A statement the engine prepared again after a change of schema may have other columns.
    if (prepared.columns && static_cast<int>(prepared.columns->kinds.size()) == count)
        return prepared.columns;
    auto info = std::make_shared<ColumnInfo>();
    info->kinds.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        info->names << name;
        info->byName.insert(name.toLower(), i);
        const char* declared = sqlite3_column_decltype(stmt, i);
        info->kinds.push_back(ColumnKindOf(QString::fromLatin1(declared ? declared : "")));
    }
    prepared.columns = info;
    return info;
}

void Connection::Execute(const QString& sql) {
    Prepared& prepared = Prepare(sql);
    sqlite3_stmt* stmt = prepared.stmt;
    const bool changesSchema = prepared.plan.changesSchema;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    NoteSystemError(rc);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE)
        Fail(rc);
    if (changesSchema) {
        ClearStatements();
        LoadSchema();
    }
}

void Connection::NoteSystemError(int rc) {
    const int err = errno; // the failed call's, before anything else runs
    lastSystemErrno_ = 0;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        lastSystemErrno_ = sqlite3_system_errno(db_) ? sqlite3_system_errno(db_) : err;
}

void Connection::BeginTrans() {
    RequireOpen();
    if (transactionDepth_ > 0)
        throw EngineError::General(QStringLiteral("A transaction is already open."));
    const int rc = sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc);
    transactionDepth_ = 1;
}

void Connection::CommitTrans() {
    RequireOpen();
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Fail(rc);
    transactionDepth_ = 0;
}

void Connection::RollbackTrans() {
    RequireOpen();
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    transactionDepth_ = 0;
    // A rolled-back ALTER leaves the cached column kinds stale.
    ClearStatements();
    LoadSchema();
}

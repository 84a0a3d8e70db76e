// The encrypted database, page by page.
//
// A sealed pengkalan.dat is a plain header of kHeaderSize bytes (magic, format version, page
// size, Argon2id limits and salt, a random file id, a verifier sealed with the key, and a
// checksum), then SQLite's pages, each sealed with XChaCha20-Poly1305: the first
// size - 40 bytes encrypted, a random nonce and the tag in the 40 bytes SQLite reserves at the
// end of every page. The associated data binds a page to its file id, its kind of file and
// its place: the page number in the database; the frame header's page number, commit size
// and salts, and the offset, in the write-ahead log; the page number and offset in a rollback
// journal. A page moved, swapped or taken from another file fails its tag, and a page that
// fails is an error (SQLITE_IOERR_DATA), never data.
//
// SQLite's own bytes that hold nothing typed stay plain: the log's header and frame headers,
// the journal's headers, page numbers and checksums, and the shared-memory index. The log is
// told apart by its layout (a 32-byte header, then frames of a 24-byte header and a page);
// the journal by its (headers on 512-byte boundaries, records of a 4-byte page number, the
// page, a 4-byte checksum, so a page always starts 4 bytes past a multiple of 8). A write to a
// sealed file that is none of these is refused rather than written in the clear. Temporary
// files have no name to find their key by: sealed connections keep them in memory.
#include "data/SealedVfs.h"

#include "data/SealedFile.h"
#include "data/SealedFormat.h"

#include <QFile>
#include <QUrl>
#include <map>
#include <mutex>
#include <new>
#include <sqlite3.h>

namespace {

using Sealed::Header;
using Sealed::Key;
using Sealed::kHeaderSize;
using SealedFile::Context;
using SealedFile::F;
using SealedFile::File;
using SealedFile::Role;
using SealedFile::State;

// Keys lent to connections, by the number their URI names.
struct Lent {
    std::mutex mutex;
    std::map<uint64_t, std::weak_ptr<const Key>> keys;
    uint64_t next = 1;
    std::shared_ptr<const Key> session;
};
Lent& Keys() {
    static Lent lent;
    return lent;
}

std::shared_ptr<const Key> LentKey(const char* name) {
    const sqlite3_int64 id = sqlite3_uri_int64(name, "pimora_key", 0);
    if (id <= 0)
        return nullptr;
    Lent& lent = Keys();
    std::lock_guard lock(lent.mutex);
    const auto it = lent.keys.find(static_cast<uint64_t>(id));
    return it == lent.keys.end() ? nullptr : it->second.lock();
}

// The role of a main database file, from its first bytes and the key it was opened with.
int DatabaseRole(File* file, const char* name, State& s) {
    const std::shared_ptr<const Key> key = LentKey(name);
    if (sqlite3_uri_int64(name, "pimora_key", 0) > 0 && !key)
        return SQLITE_CANTOPEN;
    uint8_t head[kHeaderSize];
    int rc = file->real->pMethods->xRead(file->real, head, kHeaderSize, 0);
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ)
        return rc;
    sqlite3_int64 size = 0;
    file->real->pMethods->xFileSize(file->real, &size);
    const bool sealed = Sealed::IsSealed(head, static_cast<size_t>(size));
    if (!key)
        return sealed ? SQLITE_NOTADB : SQLITE_OK; // a sealed file opens only with its key
    auto ctx = std::make_shared<Context>();
    ctx->key = key;
    if (size > 0) {
        if (!sealed)
            return SQLITE_NOTADB; // a plain file is not opened as a sealed one
        if (Sealed::ReadHeader(head, static_cast<size_t>(size), ctx->header) !=
                Sealed::HeaderState::Sound ||
            !Sealed::KeyOpens(*key, head))
            return SQLITE_NOTADB;
        ctx->headerWritten = true;
        s.page.resize(static_cast<size_t>(ctx->header.pageSize));
    }
    s.role = Role::Database;
    s.ctx = std::move(ctx);
    return SQLITE_OK;
}

// A log or journal belongs to its database: sealed when that is.
void CompanionRole(const char* name, Role role, State& s) {
    sqlite3_file* db = sqlite3_database_file_object(name);
    if (!db || db->pMethods != &SealedFile::methods)
        return;
    const State* main = F(db)->state;
    if (main && main->role == Role::Database) {
        s.role = role;
        s.ctx = main->ctx;
        if (SealedFile::PageSize(s) > 0)
            s.page.resize(static_cast<size_t>(SealedFile::PageSize(s)));
    }
}

int Open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = F(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->state = new (std::nothrow) State;
    if (!file->state)
        return SQLITE_NOMEM;
    int rc = SealedFile::real->xOpen(SealedFile::real, name, file->real, flags, outFlags);
    if (rc == SQLITE_OK && name) {
        if (flags & SQLITE_OPEN_MAIN_DB)
            rc = DatabaseRole(file, name, *file->state);
        else if (flags & SQLITE_OPEN_WAL)
            CompanionRole(name, Role::Wal, *file->state);
        else if (flags & SQLITE_OPEN_MAIN_JOURNAL)
            CompanionRole(name, Role::Journal, *file->state);
    }
    if (rc != SQLITE_OK) {
        if (file->real->pMethods)
            file->real->pMethods->xClose(file->real);
        delete file->state;
        file->state = nullptr;
        return rc;
    }
    file->base.pMethods = &SealedFile::methods;
    return SQLITE_OK;
}

// The VFS calls that are not about one file go to SQLite's own.
int Delete(sqlite3_vfs*, const char* name, int sync) {
    return SealedFile::real->xDelete(SealedFile::real, name, sync);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return SealedFile::real->xAccess(SealedFile::real, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return SealedFile::real->xFullPathname(SealedFile::real, name, n, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) {
    return SealedFile::real->xDlOpen(SealedFile::real, name);
}
void DlError(sqlite3_vfs*, int n, char* out) {
    SealedFile::real->xDlError(SealedFile::real, n, out);
}
void (*DlSym(sqlite3_vfs*, void* lib, const char* sym))(void) {
    return SealedFile::real->xDlSym(SealedFile::real, lib, sym);
}
void DlClose(sqlite3_vfs*, void* lib) {
    SealedFile::real->xDlClose(SealedFile::real, lib);
}
int Randomness(sqlite3_vfs*, int n, char* out) {
    return SealedFile::real->xRandomness(SealedFile::real, n, out);
}
int Sleep(sqlite3_vfs*, int micro) {
    return SealedFile::real->xSleep(SealedFile::real, micro);
}
int CurrentTime(sqlite3_vfs*, double* out) {
    return SealedFile::real->xCurrentTime(SealedFile::real, out);
}
int GetLastError(sqlite3_vfs*, int n, char* out) {
    return SealedFile::real->xGetLastError
               ? SealedFile::real->xGetLastError(SealedFile::real, n, out)
               : 0;
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return SealedFile::real->xCurrentTimeInt64(SealedFile::real, out);
}

} // namespace

namespace SealedVfs {

void Install() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_initialize();
        SealedFile::real = sqlite3_vfs_find(nullptr);
        static sqlite3_vfs vfs{};
        vfs.iVersion = 2;
        vfs.szOsFile = static_cast<int>(sizeof(File)) + SealedFile::real->szOsFile;
        vfs.mxPathname = SealedFile::real->mxPathname;
        vfs.zName = "pimora-sealed";
        vfs.xOpen = Open;
        vfs.xDelete = Delete;
        vfs.xAccess = Access;
        vfs.xFullPathname = FullPathname;
        vfs.xDlOpen = DlOpen;
        vfs.xDlError = DlError;
        vfs.xDlSym = DlSym;
        vfs.xDlClose = DlClose;
        vfs.xRandomness = Randomness;
        vfs.xSleep = Sleep;
        vfs.xCurrentTime = CurrentTime;
        vfs.xGetLastError = GetLastError;
        vfs.xCurrentTimeInt64 = CurrentTimeInt64;
        sqlite3_vfs_register(&vfs, 1);
    });
}

QByteArray Uri(const QString& path, const std::shared_ptr<const Key>& key, const char* extra) {
    Install();
    QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    QByteArray query;
    if (key) {
        Lent& lent = Keys();
        std::lock_guard lock(lent.mutex);
        std::erase_if(lent.keys, [](const auto& entry) { return entry.second.expired(); });
        const uint64_t id = lent.next++;
        lent.keys[id] = key;
        query = "pimora_key=" + QByteArray::number(static_cast<qulonglong>(id));
    }
    if (extra && *extra)
        query += (query.isEmpty() ? "" : "&") + QByteArray(extra);
    return query.isEmpty() ? uri : uri + '?' + query;
}

std::shared_ptr<const Key> SessionKey() {
    Lent& lent = Keys();
    std::lock_guard lock(lent.mutex);
    return lent.session;
}

void SetSessionKey(std::shared_ptr<const Key> key) {
    Lent& lent = Keys();
    std::lock_guard lock(lent.mutex);
    lent.session = std::move(key);
}

namespace {
QByteArray HeadOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(kHeaderSize) : QByteArray();
}
} // namespace

bool FileIsSealed(const QString& path) {
    const QByteArray head = HeadOf(path);
    return Sealed::IsSealed(reinterpret_cast<const uint8_t*>(head.constData()),
                            static_cast<size_t>(head.size()));
}

std::shared_ptr<const Key> KeyFor(const QString& path) {
    return FileIsSealed(path) ? SessionKey() : nullptr;
}

bool KeyOpensFile(const QString& path, const Key& key) {
    const QByteArray head = HeadOf(path);
    Header header;
    return Sealed::ReadHeader(reinterpret_cast<const uint8_t*>(head.constData()),
                              static_cast<size_t>(head.size()),
                              header) == Sealed::HeaderState::Sound &&
           Sealed::KeyOpens(key, reinterpret_cast<const uint8_t*>(head.constData()));
}

uint64_t PagesSealed() {
    return SealedFile::pagesSealed.load();
}

} // namespace SealedVfs
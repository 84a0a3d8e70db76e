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

#include "data/SealedFormat.h"

#include <QFile>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <sqlite3.h>
#include <vector>

namespace {

using Sealed::Binding;
using Sealed::Header;
using Sealed::Key;
using Sealed::kHeaderSize;

constexpr int kWalHeader = 32;
constexpr int kFrameHeader = 24;

std::atomic<uint64_t> gPagesSealed{0};

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

// What every file of one sealed database shares: its key and header.
struct Context {
    std::shared_ptr<const Key> key;
    Header header;
    bool headerWritten = false;
};

enum class Role { Plain, Database, Wal, Journal };

struct State {
    Role role = Role::Plain;
    std::shared_ptr<Context> ctx;
    std::vector<uint8_t> page;
    // The log frame header or journal page number written last, for the page that follows.
    int64_t lastOffset = -1;
    std::array<uint8_t, kFrameHeader> last{};
};

struct File {
    sqlite3_file base;
    State* state;
    sqlite3_file* real;
};

sqlite3_vfs* gReal = nullptr;
sqlite3_io_methods gMethods;

File* F(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}
sqlite3_file* Real(sqlite3_file* f) {
    return F(f)->real;
}

int PageSize(const State& s) {
    return s.ctx ? s.ctx->header.pageSize : 0;
}

uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Reads exactly n bytes of the underlying file; SQLITE_IOERR_SHORT_READ when it ends first.
int ReadRaw(sqlite3_file* f, void* buf, int n, sqlite3_int64 at) {
    return Real(f)->pMethods->xRead(Real(f), buf, n, at);
}

Binding BindingOf(const State& s, uint8_t kind) {
    Binding b;
    b.kind = kind;
    b.fileId = s.ctx->header.fileId;
    return b;
}

// The frame header (or journal page number) in front of the page at offset. A write follows
// the header this connection wrote just before it; a read takes what is on the disk, which
// another connection may have written since.
bool FrameHeaderBefore(sqlite3_file* f, sqlite3_int64 offset, uint8_t* out, int size,
                       bool writing) {
    State& s = *F(f)->state;
    if (writing && s.lastOffset == offset - size) {
        std::memcpy(out, s.last.data(), static_cast<size_t>(size));
        return true;
    }
    return ReadRaw(f, out, size, offset - size) == SQLITE_OK;
}

// --- the database file: pages behind the header -------------------------------------------

int DbRead(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    auto* out = static_cast<uint8_t*>(buf);
    const int size = PageSize(s);
    if (!s.ctx->headerWritten) { // a new file: nothing in it yet
        std::memset(out, 0, static_cast<size_t>(amount));
        return SQLITE_IOERR_SHORT_READ;
    }
    while (amount > 0) {
        const sqlite3_int64 index = offset / size;
        const int within = static_cast<int>(offset % size);
        const int n = std::min(amount, size - within);
        const int rc = ReadRaw(f, s.page.data(), size, kHeaderSize + index * size);
        if (rc == SQLITE_IOERR_SHORT_READ) {
            // Past the end reads as nothing; a page cut short is damage.
            if (std::any_of(s.page.begin(), s.page.end(), [](uint8_t b) { return b != 0; }))
                return SQLITE_IOERR_DATA;
            std::memset(out, 0, static_cast<size_t>(amount));
            return SQLITE_IOERR_SHORT_READ;
        }
        if (rc != SQLITE_OK)
            return rc;
        Binding b = BindingOf(s, 'D');
        b.pgno = static_cast<uint32_t>(index + 1);
        if (n == size) { // a whole page, as SQLite reads them: opened where it goes
            if (!Sealed::OpenPageInto(*s.ctx->key, b, s.page.data(), out,
                                      static_cast<size_t>(size)))
                return SQLITE_IOERR_DATA;
        } else {
            if (!Sealed::OpenPage(*s.ctx->key, b, s.page.data(), static_cast<size_t>(size)))
                return SQLITE_IOERR_DATA;
            std::memcpy(out, s.page.data() + within, static_cast<size_t>(n));
        }
        out += n;
        offset += n;
        amount -= n;
    }
    return SQLITE_OK;
}

bool ValidPageSize(int size) {
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

int DbWrite(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    Context& ctx = *s.ctx;
    if (!ctx.headerWritten) {
        // The first page SQLite writes says the page size the header keeps.
        if (!ValidPageSize(amount))
            return SQLITE_IOERR_WRITE;
        const auto header = Sealed::NewHeader(*ctx.key, amount, ctx.header);
        const int rc = Real(f)->pMethods->xWrite(Real(f), header.data(), kHeaderSize, 0);
        if (rc != SQLITE_OK)
            return rc;
        ctx.headerWritten = true;
        s.page.resize(static_cast<size_t>(amount));
    }
    const int size = PageSize(s);
    if (amount != size || offset % size != 0)
        return SQLITE_IOERR_WRITE;
    const auto* in = static_cast<const uint8_t*>(buf);
    if (offset == 0) {
        // SQLite must leave the seal its room, and agree on the page size.
        const int stated = (in[16] << 8 | in[17]) == 1 ? 65536 : (in[16] << 8 | in[17]);
        if (in[20] < Sealed::kReserve || stated != size)
            return SQLITE_IOERR_WRITE;
    }
    std::memcpy(s.page.data(), in, static_cast<size_t>(size));
    Binding b = BindingOf(s, 'D');
    b.pgno = static_cast<uint32_t>(offset / size + 1);
    Sealed::SealPage(*ctx.key, b, s.page.data(), static_cast<size_t>(size));
    ++gPagesSealed;
    return Real(f)->pMethods->xWrite(Real(f), s.page.data(), size, kHeaderSize + offset);
}

int DbTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return Real(f)->pMethods->xTruncate(Real(f), kHeaderSize + size);
}

int DbFileSize(sqlite3_file* f, sqlite3_int64* size) {
    const int rc = Real(f)->pMethods->xFileSize(Real(f), size);
    if (rc == SQLITE_OK)
        *size = *size > kHeaderSize ? *size - kHeaderSize : 0;
    return rc;
}

// --- the write-ahead log: frames of a plain header and a sealed page -----------------------

// The frame a log offset falls in, and how far into it.
struct FramePlace {
    sqlite3_int64 start = 0;
    sqlite3_int64 within = -1;
};
FramePlace PlaceInLog(const State& s, sqlite3_int64 offset) {
    const int size = PageSize(s);
    if (size == 0 || offset < kWalHeader)
        return {};
    const sqlite3_int64 frame = kFrameHeader + size;
    const sqlite3_int64 rel = offset - kWalHeader;
    return {offset - rel % frame, rel % frame};
}

Binding LogBinding(const State& s, const uint8_t* frameHeader, sqlite3_int64 pageOffset) {
    Binding b = BindingOf(s, 'W');
    b.pgno = Be32(frameHeader);
    b.offset = static_cast<uint64_t>(pageOffset);
    std::memcpy(b.frame.data(), frameHeader, b.frame.size());
    return b;
}

int WalRead(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    const int size = PageSize(s);
    const FramePlace place = PlaceInLog(s, offset);
    auto* out = static_cast<uint8_t*>(buf);
    if (place.within == 0 && amount == kFrameHeader + size) {
        // The log's recovery reads whole frames and tells a bad one by its checksum, over the
        // page as SQLite wrote it: a page that does not open is left sealed, so the checksum
        // fails and the log ends there, as it would for a torn frame.
        const int rc = ReadRaw(f, buf, amount, offset);
        if (rc != SQLITE_OK)
            return rc;
        const Binding b = LogBinding(s, out, offset + kFrameHeader);
        Sealed::OpenPage(*s.ctx->key, b, out + kFrameHeader, static_cast<size_t>(size));
        return SQLITE_OK;
    }
    if (place.within == kFrameHeader && amount == size) {
        uint8_t header[kFrameHeader];
        if (!FrameHeaderBefore(f, offset, header, kFrameHeader, false))
            return SQLITE_IOERR_READ;
        const int rc = ReadRaw(f, buf, amount, offset);
        if (rc != SQLITE_OK)
            return rc;
        // A frame the log's recovery accepted: one that fails now was changed since.
        if (!Sealed::OpenPage(*s.ctx->key, LogBinding(s, header, offset), out,
                              static_cast<size_t>(size)))
            return SQLITE_IOERR_DATA;
        return SQLITE_OK;
    }
    return ReadRaw(f, buf, amount, offset); // the log header, frame headers
}

int WalWrite(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    const int size = PageSize(s);
    const FramePlace place = PlaceInLog(s, offset);
    sqlite3_file* real = Real(f);
    if ((offset == 0 && amount == kWalHeader) || (place.within == 0 && amount == kFrameHeader)) {
        if (amount == kFrameHeader) {
            std::memcpy(s.last.data(), buf, kFrameHeader);
            s.lastOffset = offset;
        }
        return real->pMethods->xWrite(real, buf, amount, offset);
    }
    if (place.within != kFrameHeader || amount != size)
        return SQLITE_IOERR_WRITE;
    uint8_t header[kFrameHeader];
    if (!FrameHeaderBefore(f, offset, header, kFrameHeader, true))
        return SQLITE_IOERR_WRITE;
    std::memcpy(s.page.data(), buf, static_cast<size_t>(size));
    Sealed::SealPage(*s.ctx->key, LogBinding(s, header, offset), s.page.data(),
                     static_cast<size_t>(size));
    ++gPagesSealed;
    return real->pMethods->xWrite(real, s.page.data(), size, offset);
}

// --- the rollback journal: records of a page number, a sealed page and a checksum ---------

bool IsJournalPage(const State& s, int amount, sqlite3_int64 offset) {
    return amount == PageSize(s) && amount > 0 && offset % 8 == 4;
}

Binding JournalBinding(const State& s, const uint8_t* pgno, sqlite3_int64 offset) {
    Binding b = BindingOf(s, 'J');
    b.pgno = Be32(pgno);
    b.offset = static_cast<uint64_t>(offset);
    return b;
}

int JournalRead(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    if (!IsJournalPage(s, amount, offset))
        return ReadRaw(f, buf, amount, offset);
    uint8_t pgno[4];
    if (!FrameHeaderBefore(f, offset, pgno, 4, false))
        return SQLITE_IOERR_READ;
    const int rc = ReadRaw(f, buf, amount, offset);
    if (rc != SQLITE_OK)
        return rc;
    if (!Sealed::OpenPage(*s.ctx->key, JournalBinding(s, pgno, offset), static_cast<uint8_t*>(buf),
                          static_cast<size_t>(amount)))
        return SQLITE_IOERR_DATA;
    return SQLITE_OK;
}

int JournalWrite(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    State& s = *F(f)->state;
    sqlite3_file* real = Real(f);
    if (!IsJournalPage(s, amount, offset)) {
        if (amount == 4) {
            std::memcpy(s.last.data(), buf, 4);
            s.lastOffset = offset;
        }
        return real->pMethods->xWrite(real, buf, amount, offset);
    }
    uint8_t pgno[4];
    if (!FrameHeaderBefore(f, offset, pgno, 4, true))
        return SQLITE_IOERR_WRITE;
    std::memcpy(s.page.data(), buf, static_cast<size_t>(amount));
    Sealed::SealPage(*s.ctx->key, JournalBinding(s, pgno, offset), s.page.data(),
                     static_cast<size_t>(amount));
    ++gPagesSealed;
    return real->pMethods->xWrite(real, s.page.data(), amount, offset);
}

// --- the methods, by the file's role --------------------------------------------------------

int Close(sqlite3_file* f) {
    const int rc = Real(f)->pMethods ? Real(f)->pMethods->xClose(Real(f)) : SQLITE_OK;
    delete F(f)->state;
    F(f)->state = nullptr;
    return rc;
}

int Read(sqlite3_file* f, void* buf, int amount, sqlite3_int64 offset) {
    switch (F(f)->state->role) {
    case Role::Database:
        return DbRead(f, buf, amount, offset);
    case Role::Wal:
        return WalRead(f, buf, amount, offset);
    case Role::Journal:
        return JournalRead(f, buf, amount, offset);
    case Role::Plain:
        break;
    }
    return ReadRaw(f, buf, amount, offset);
}

int Write(sqlite3_file* f, const void* buf, int amount, sqlite3_int64 offset) {
    const State& s = *F(f)->state;
    if (s.role != Role::Plain && s.role != Role::Database && PageSize(s) > 0 &&
        s.page.size() != static_cast<size_t>(PageSize(s)))
        F(f)->state->page.resize(static_cast<size_t>(PageSize(s)));
    switch (s.role) {
    case Role::Database:
        return DbWrite(f, buf, amount, offset);
    case Role::Wal:
        return WalWrite(f, buf, amount, offset);
    case Role::Journal:
        return JournalWrite(f, buf, amount, offset);
    case Role::Plain:
        break;
    }
    return Real(f)->pMethods->xWrite(Real(f), buf, amount, offset);
}

int Truncate(sqlite3_file* f, sqlite3_int64 size) {
    if (F(f)->state->role == Role::Database)
        return DbTruncate(f, size);
    return Real(f)->pMethods->xTruncate(Real(f), size);
}

int FileSize(sqlite3_file* f, sqlite3_int64* size) {
    if (F(f)->state->role == Role::Database)
        return DbFileSize(f, size);
    return Real(f)->pMethods->xFileSize(Real(f), size);
}

int FileControl(sqlite3_file* f, int op, void* arg) {
    if (op == SQLITE_FCNTL_SIZE_HINT && F(f)->state->role == Role::Database) {
        sqlite3_int64 hint = *static_cast<sqlite3_int64*>(arg) + kHeaderSize;
        return Real(f)->pMethods->xFileControl(Real(f), op, &hint);
    }
    return Real(f)->pMethods->xFileControl(Real(f), op, arg);
}

// The rest is the underlying file's business.
int Sync(sqlite3_file* f, int flags) {
    return Real(f)->pMethods->xSync(Real(f), flags);
}
int Lock(sqlite3_file* f, int level) {
    return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
    return Real(f)->pMethods->xUnlock(Real(f), level);
}
int CheckReservedLock(sqlite3_file* f, int* out) {
    return Real(f)->pMethods->xCheckReservedLock(Real(f), out);
}
int SectorSize(sqlite3_file* f) {
    return Real(f)->pMethods->xSectorSize(Real(f));
}
int DeviceCharacteristics(sqlite3_file* f) {
    return Real(f)->pMethods->xDeviceCharacteristics(Real(f));
}
int ShmMap(sqlite3_file* f, int region, int size, int extend, void volatile** out) {
    return Real(f)->pMethods->xShmMap(Real(f), region, size, extend, out);
}
int ShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) {
    Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file* f, int deleteFlag) {
    return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
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
    if (!db || db->pMethods != &gMethods)
        return;
    const State* main = F(db)->state;
    if (main && main->role == Role::Database) {
        s.role = role;
        s.ctx = main->ctx;
        if (PageSize(s) > 0)
            s.page.resize(static_cast<size_t>(PageSize(s)));
    }
}

int Open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    File* file = F(f);
    file->base.pMethods = nullptr;
    file->real = reinterpret_cast<sqlite3_file*>(file + 1);
    file->state = new (std::nothrow) State;
    if (!file->state)
        return SQLITE_NOMEM;
    int rc = gReal->xOpen(gReal, name, file->real, flags, outFlags);
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
    file->base.pMethods = &gMethods;
    return SQLITE_OK;
}

// The VFS calls that are not about one file go to SQLite's own.
int Delete(sqlite3_vfs*, const char* name, int sync) {
    return gReal->xDelete(gReal, name, sync);
}
int Access(sqlite3_vfs*, const char* name, int flags, int* out) {
    return gReal->xAccess(gReal, name, flags, out);
}
int FullPathname(sqlite3_vfs*, const char* name, int n, char* out) {
    return gReal->xFullPathname(gReal, name, n, out);
}
void* DlOpen(sqlite3_vfs*, const char* name) {
    return gReal->xDlOpen(gReal, name);
}
void DlError(sqlite3_vfs*, int n, char* out) {
    gReal->xDlError(gReal, n, out);
}
void (*DlSym(sqlite3_vfs*, void* lib, const char* sym))(void) {
    return gReal->xDlSym(gReal, lib, sym);
}
void DlClose(sqlite3_vfs*, void* lib) {
    gReal->xDlClose(gReal, lib);
}
int Randomness(sqlite3_vfs*, int n, char* out) {
    return gReal->xRandomness(gReal, n, out);
}
int Sleep(sqlite3_vfs*, int micro) {
    return gReal->xSleep(gReal, micro);
}
int CurrentTime(sqlite3_vfs*, double* out) {
    return gReal->xCurrentTime(gReal, out);
}
int GetLastError(sqlite3_vfs*, int n, char* out) {
    return gReal->xGetLastError ? gReal->xGetLastError(gReal, n, out) : 0;
}
int CurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return gReal->xCurrentTimeInt64(gReal, out);
}

} // namespace

namespace SealedVfs {

void Install() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_initialize();
        gReal = sqlite3_vfs_find(nullptr);
        gMethods = {};
        gMethods.iVersion = 2; // no memory-mapped pages: every read comes through here
        gMethods.xClose = Close;
        gMethods.xRead = Read;
        gMethods.xWrite = Write;
        gMethods.xTruncate = Truncate;
        gMethods.xSync = Sync;
        gMethods.xFileSize = FileSize;
        gMethods.xLock = Lock;
        gMethods.xUnlock = Unlock;
        gMethods.xCheckReservedLock = CheckReservedLock;
        gMethods.xFileControl = FileControl;
        gMethods.xSectorSize = SectorSize;
        gMethods.xDeviceCharacteristics = DeviceCharacteristics;
        gMethods.xShmMap = ShmMap;
        gMethods.xShmLock = ShmLock;
        gMethods.xShmBarrier = ShmBarrier;
        gMethods.xShmUnmap = ShmUnmap;
        static sqlite3_vfs vfs{};
        vfs.iVersion = 2;
        vfs.szOsFile = static_cast<int>(sizeof(File)) + gReal->szOsFile;
        vfs.mxPathname = gReal->mxPathname;
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
    return gPagesSealed.load();
}

} // namespace SealedVfs

#include "data/SealedFile.h"

#include <algorithm>
#include <cstring>

namespace SealedFile {

sqlite3_vfs* real = nullptr;
std::atomic<uint64_t> pagesSealed{0};

namespace {

using Sealed::Binding;
using Sealed::kHeaderSize;

constexpr int kWalHeader = 32;
constexpr int kFrameHeader = 24;

sqlite3_file* Real(sqlite3_file* f) {
    return F(f)->real;
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
        if (n == size && s.ahead.Take(index, out)) {
            out += n;
            offset += n;
            amount -= n;
            continue;
        }
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
            s.ahead.Note(index, Real(f), *s.ctx->key, BindingOf(s, 'D'), size);
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
    s.ahead.Drop();
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
    ++pagesSealed;
    return Real(f)->pMethods->xWrite(Real(f), s.page.data(), size, kHeaderSize + offset);
}

int DbTruncate(sqlite3_file* f, sqlite3_int64 size) {
    F(f)->state->ahead.Drop();
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
    ++pagesSealed;
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
    ++pagesSealed;
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
// Another connection may change the file between two locks: pages opened ahead go.
int Lock(sqlite3_file* f, int level) {
    F(f)->state->ahead.Drop();
    return Real(f)->pMethods->xLock(Real(f), level);
}
int Unlock(sqlite3_file* f, int level) {
    F(f)->state->ahead.Drop();
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
    F(f)->state->ahead.Drop(); // a read transaction of the log begins or ends
    return Real(f)->pMethods->xShmLock(Real(f), offset, n, flags);
}
void ShmBarrier(sqlite3_file* f) {
    Real(f)->pMethods->xShmBarrier(Real(f));
}
int ShmUnmap(sqlite3_file* f, int deleteFlag) {
    return Real(f)->pMethods->xShmUnmap(Real(f), deleteFlag);
}

} // namespace

const sqlite3_io_methods methods = {
    2, // no memory-mapped pages: every read comes through here
    Close,       Read,       Write,
    Truncate,    Sync,       FileSize,
    Lock,        Unlock,     CheckReservedLock,
    FileControl, SectorSize, DeviceCharacteristics,
    ShmMap,      ShmLock,    ShmBarrier,
    ShmUnmap,    nullptr,    nullptr,
};

} // namespace SealedFile

#pragma once

// The files of the sealed VFS, within the data floor: what each open file keeps, and the
// methods that seal and open its pages.
#include "data/ReadAhead.h"
#include "data/SealedFormat.h"

#include <array>
#include <atomic>
#include <memory>
#include <sqlite3.h>
#include <vector>

namespace SealedFile {

// What every file of one sealed database shares: its key and header.
struct Context {
    std::shared_ptr<const Sealed::Key> key;
    Sealed::Header header;
    bool headerWritten = false;
};

enum class Role { Plain, Database, Wal, Journal };

struct State {
    Role role = Role::Plain;
    std::shared_ptr<Context> ctx;
    std::vector<uint8_t> page;
    // The log frame header or journal page number written last, for the page that follows.
    int64_t lastOffset = -1;
    std::array<uint8_t, 24> last{};
    ReadAhead ahead; // last: it stops before the key it uses goes
};

struct File {
    sqlite3_file base;
    State* state;
    sqlite3_file* real;
};

// SQLite's own VFS, under this one.
extern sqlite3_vfs* real;
// The methods of every file the VFS opens.
extern const sqlite3_io_methods methods;
// Pages sealed so far.
extern std::atomic<uint64_t> pagesSealed;

inline File* F(sqlite3_file* f) {
    return reinterpret_cast<File*>(f);
}
inline int PageSize(const State& s) {
    return s.ctx ? s.ctx->header.pageSize : 0;
}

} // namespace SealedFile

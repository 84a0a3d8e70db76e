#pragma once

#include "data/SealedFormat.h"

#include <cstdint>
#include <memory>

struct sqlite3_file;

// Pages of a sealed database opened ahead of SQLite on a second thread while it reads the
// file front to back (a search, a copy), so that the cipher runs beside the engine instead of
// in front of it. What it holds is dropped whenever the file may have changed: at every lock
// and every write.
class ReadAhead {
public:
    ReadAhead();
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Puts page index (counted from 0) into out when it was opened ahead; false otherwise.
    bool Take(int64_t index, uint8_t* out);
    // After page index was read from the file: when reads go one way, the pages beyond it are
    // read at once and opened on the second thread. base: the binding of the file's pages.
    void Note(int64_t index, sqlite3_file* real, const Sealed::Key& key,
              const Sealed::Binding& base, int pageSize);
    void Drop();

private:
    struct Batch;
    void Start(int64_t first, int wanted, sqlite3_file* real, const Sealed::Key& key,
               const Sealed::Binding& base, int pageSize);
    std::unique_ptr<Batch> batch_;
    int64_t last_ = -2;
    int direction_ = 0; // of the reads before, +1 or -1
    int scan_ = 0;      // reads in a row in that direction
};

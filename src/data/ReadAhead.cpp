#include "data/ReadAhead.h"

#include <atomic>
#include <cstring>
#include <sqlite3.h>
#include <thread>
#include <vector>

namespace {

constexpr int kPagesAhead = 64;
// Reads that go forward by at most this many pages count as one scan.
constexpr int64_t kScanStep = 8;
constexpr int kScanAfter = 8;

// A page is opened by whichever thread comes to it first: SQLite's, when it needs one the other
// thread has not started on, so that both work on the cipher.
enum : uint8_t { kPending, kClaimed, kOpened, kRefused };

bool Claim(std::atomic<uint8_t>& state) {
    uint8_t pending = kPending;
    return state.compare_exchange_strong(pending, kClaimed, std::memory_order_acq_rel);
}

} // namespace

struct ReadAhead::Batch {
    int64_t first = 0;
    int count = 0;
    int size = 0;
    int direction = 1;
    const Sealed::Key* key = nullptr;
    Sealed::Binding base;
    std::vector<uint8_t> pages;
    std::unique_ptr<std::atomic<uint8_t>[]> state;
    std::atomic<bool> cancel{false};
    std::thread worker;

    ~Batch() {
        cancel = true;
        if (worker.joinable())
            worker.join();
    }
    uint8_t* Page(size_t slot) { return pages.data() + slot * static_cast<size_t>(size); }
    void Open(size_t slot) {
        Sealed::Binding binding = base;
        binding.pgno = static_cast<uint32_t>(first + static_cast<int64_t>(slot) + 1);
        const bool opened = Sealed::OpenPage(*key, binding, Page(slot), static_cast<size_t>(size));
        state[slot].store(opened ? kOpened : kRefused, std::memory_order_release);
    }
};

ReadAhead::ReadAhead() = default;

ReadAhead::~ReadAhead() = default;

void ReadAhead::Drop() {
    batch_.reset();
    last_ = -2;
    scan_ = 0;
    direction_ = 0;
}

bool ReadAhead::Take(int64_t index, uint8_t* out) {
    Batch* b = batch_.get();
    if (!b || index < b->first || index >= b->first + b->count)
        return false;
    const auto slot = static_cast<size_t>(index - b->first);
    if (Claim(b->state[slot]))
        b->Open(slot);
    uint8_t state;
    while ((state = b->state[slot].load(std::memory_order_acquire)) == kClaimed)
        std::this_thread::yield(); // the other thread is in the middle of it
    if (state != kOpened)
        return false; // read again in the ordinary way, which reports it
    std::memcpy(out, b->Page(slot), static_cast<size_t>(b->size));
    last_ = index;
    return true;
}

void ReadAhead::Note(int64_t index, sqlite3_file* real, const Sealed::Key& key,
                     const Sealed::Binding& base, int pageSize) {
    // A table read in the order of its key goes forward through the file, in the reverse
    // order ("order by caldate desc") backward.
    const int direction = index > last_ && index <= last_ + kScanStep   ? 1
                          : index < last_ && index >= last_ - kScanStep ? -1
                                                                        : 0;
    scan_ = direction != 0 && direction == direction_ ? scan_ + 1 : 0;
    direction_ = direction;
    last_ = index;
    if (scan_ + 1 >= kScanAfter)
        Start(direction > 0 ? index + 1 : std::max<int64_t>(0, index - kPagesAhead),
              direction > 0 ? kPagesAhead
                            : static_cast<int>(index - std::max<int64_t>(0, index - kPagesAhead)),
              real, key, base, pageSize);
}

void ReadAhead::Start(int64_t first, int wanted, sqlite3_file* real, const Sealed::Key& key,
                      const Sealed::Binding& base, int pageSize) {
    batch_.reset();
    sqlite3_int64 fileSize = 0;
    if (real->pMethods->xFileSize(real, &fileSize) != SQLITE_OK)
        return;
    const int64_t pagesInFile = (fileSize - Sealed::kHeaderSize) / pageSize;
    const int count = static_cast<int>(std::min<int64_t>(wanted, pagesInFile - first));
    if (count < 2)
        return;
    auto b = std::make_unique<Batch>();
    b->first = first;
    b->count = count;
    b->size = pageSize;
    b->pages.resize(static_cast<size_t>(count) * static_cast<size_t>(pageSize));
    // One read for all of them; a read that fails leaves them to be read one by one.
    if (real->pMethods->xRead(real, b->pages.data(), static_cast<int>(b->pages.size()),
                              Sealed::kHeaderSize + first * pageSize) != SQLITE_OK)
        return;
    b->state = std::make_unique<std::atomic<uint8_t>[]>(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        b->state[i].store(kPending, std::memory_order_relaxed);
    b->direction = direction_;
    b->key = &key;
    b->base = base;
    Batch* raw = b.get();
    b->worker = std::thread([raw] {
        // In the order SQLite will ask for them.
        for (int n = 0; n < raw->count && !raw->cancel.load(std::memory_order_relaxed); ++n) {
            const auto slot = static_cast<size_t>(raw->direction > 0 ? n : raw->count - 1 - n);
            if (Claim(raw->state[slot]))
                raw->Open(slot);
        }
    });
    batch_ = std::move(b);
}

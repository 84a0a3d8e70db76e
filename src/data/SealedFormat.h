#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// The encrypted file format, without any file: the plain header in front of the pages, the
// key made from a password, and the sealing of one page. The VFS in SealedVfs.cpp moves these
// bytes between SQLite and the disk.
namespace Sealed {

inline constexpr int kHeaderSize = 4096; // one block in front of SQLite's first page
inline constexpr int kNonceSize = 24;
inline constexpr int kTagSize = 16;
inline constexpr int kReserve = kNonceSize + kTagSize; // at the end of every page
inline constexpr int kFormatVersion = 1;
inline constexpr int kSaltSize = 16;
inline constexpr int kFileIdSize = 16;
// What a sealed file starts with, instead of "SQLite format 3".
inline constexpr char kMagic[] = "Pimora sealed\n\0\0";
inline constexpr size_t kMagicSize = 16;

struct KdfParams {
    quint64 opslimit = 0;
    quint64 memlimit = 0;
    std::array<uint8_t, kSaltSize> salt{};
};

// The password's key, in memory that is never swapped out and is wiped when it goes.
class Key {
public:
    // Argon2id; nothing when the memory it needs cannot be had.
    static std::shared_ptr<const Key> Derive(const QByteArray& password, const KdfParams& params);
    // Libsodium's moderate limits and a new random salt.
    static KdfParams FreshParams();

    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key();
    const uint8_t* Bytes() const { return bytes_.data(); }
    const KdfParams& Params() const { return params_; }

private:
    Key() = default;
    std::array<uint8_t, 32> bytes_{};
    KdfParams params_;
};

struct Header {
    int version = 0;
    int pageSize = 0;
    KdfParams kdf;
    std::array<uint8_t, kFileIdSize> fileId{};
};

enum class HeaderState {
    NotSealed, // does not start with the magic
    Sound,
    Damaged, // starts with the magic, but its check fails or it is cut short
    OtherVersion,
};
// Reads a header from the first bytes of a file.
HeaderState ReadHeader(const uint8_t* bytes, size_t size, Header& header);
bool IsSealed(const uint8_t* bytes, size_t size);
// A header for a new file sealed with key, with a fresh file id.
std::array<uint8_t, kHeaderSize> NewHeader(const Key& key, int pageSize, Header& header);
// Whether the key is the one the header was written with (its verifier opens).
bool KeyOpens(const Key& key, const uint8_t* headerBytes);

// What a page is bound to: which file, which kind of file, where in it.
struct Binding {
    uint8_t kind = 'D'; // 'D' database, 'W' write-ahead log, 'J' rollback journal
    std::array<uint8_t, kFileIdSize> fileId{};
    uint32_t pgno = 0;
    uint64_t offset = 0;
    std::array<uint8_t, 16> frame{}; // the start of a log frame's header: page, size, salts
};

// Seals a page in place: its first size - kReserve bytes are encrypted, the nonce and tag go
// in the reserved bytes.
void SealPage(const Key& key, const Binding& binding, uint8_t* page, size_t size);
// Opens a page in place; false, with the page unchanged, when it is not one this key sealed
// for this place. The reserved bytes read back as zeros, as SQLite wrote them.
bool OpenPage(const Key& key, const Binding& binding, uint8_t* page, size_t size);
// The same from sealed into out (size bytes each, apart); out holds nothing usable when it
// fails.
bool OpenPageInto(const Key& key, const Binding& binding, const uint8_t* sealed, uint8_t* out,
                  size_t size);

} // namespace Sealed

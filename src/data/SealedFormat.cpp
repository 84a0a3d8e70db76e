#include "data/SealedFormat.h"

#include <cstring>
#include <sodium.h>

namespace Sealed {

namespace {

// Where the header keeps what it holds.
constexpr size_t kVersionAt = 16;
constexpr size_t kPageSizeAt = 20;
constexpr size_t kOpsAt = 24;
constexpr size_t kMemAt = 32;
constexpr size_t kSaltAt = 40;
constexpr size_t kFileIdAt = 56;
constexpr size_t kCheckNonceAt = 72;
constexpr size_t kCheckTagAt = 96;
constexpr size_t kChecksumAt = 112;
constexpr size_t kUsed = 128;
// Limits no header of ours goes beyond: a forged one must not make the start take minutes.
constexpr quint64 kMaxOps = 64;
constexpr quint64 kMaxMem = quint64(1) << 30;

void Put(uint8_t* at, quint64 value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        at[i] = static_cast<uint8_t>(value & 0xff);
}
quint64 Get(const uint8_t* at, int bytes) {
    quint64 value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | at[i];
    return value;
}

bool Ready() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

void Checksum(const uint8_t* header, uint8_t* out) {
    crypto_generichash(out, 16, header, kChecksumAt, nullptr, 0);
}

bool ValidPageSize(quint64 size) {
    return size >= 512 && size <= 65536 && (size & (size - 1)) == 0;
}

std::array<uint8_t, 45> AdOf(const Binding& b) {
    std::array<uint8_t, 45> ad{};
    ad[0] = b.kind;
    std::memcpy(ad.data() + 1, b.fileId.data(), kFileIdSize);
    Put(ad.data() + 17, b.pgno, 4);
    Put(ad.data() + 21, b.offset, 8);
    std::memcpy(ad.data() + 29, b.frame.data(), b.frame.size());
    return ad;
}

} // namespace

std::shared_ptr<const Key> Key::Derive(const QByteArray& password, const KdfParams& params) {
    if (!Ready())
        return nullptr;
    std::shared_ptr<Key> key(new Key);
    // Locking may be refused (a low RLIMIT_MEMLOCK); the key is still wiped when it goes.
    sodium_mlock(key->bytes_.data(), key->bytes_.size());
    key->params_ = params;
    if (crypto_pwhash(key->bytes_.data(), key->bytes_.size(), password.constData(),
                      static_cast<unsigned long long>(password.size()), params.salt.data(),
                      params.opslimit, static_cast<size_t>(params.memlimit),
                      crypto_pwhash_ALG_ARGON2ID13) != 0)
        return nullptr;
    return key;
}

Key::~Key() {
    sodium_munlock(bytes_.data(), bytes_.size()); // wipes it too
}

KdfParams Key::FreshParams() {
    KdfParams params;
    params.opslimit = crypto_pwhash_OPSLIMIT_MODERATE;
    params.memlimit = crypto_pwhash_MEMLIMIT_MODERATE;
    if (Ready())
        randombytes_buf(params.salt.data(), params.salt.size());
    return params;
}

bool IsSealed(const uint8_t* bytes, size_t size) {
    return size >= kMagicSize && std::memcmp(bytes, kMagic, kMagicSize) == 0;
}

HeaderState ReadHeader(const uint8_t* bytes, size_t size, Header& header) {
    if (!IsSealed(bytes, size))
        return HeaderState::NotSealed;
    if (size < kUsed || !Ready())
        return HeaderState::Damaged;
    header.version = static_cast<int>(Get(bytes + kVersionAt, 4));
    if (header.version != kFormatVersion)
        return HeaderState::OtherVersion;
    uint8_t sum[16];
    Checksum(bytes, sum);
    if (sodium_memcmp(sum, bytes + kChecksumAt, sizeof sum) != 0)
        return HeaderState::Damaged;
    const quint64 pageSize = Get(bytes + kPageSizeAt, 4);
    header.kdf.opslimit = Get(bytes + kOpsAt, 8);
    header.kdf.memlimit = Get(bytes + kMemAt, 8);
    if (!ValidPageSize(pageSize) || header.kdf.opslimit < crypto_pwhash_OPSLIMIT_MIN ||
        header.kdf.opslimit > kMaxOps || header.kdf.memlimit < crypto_pwhash_MEMLIMIT_MIN ||
        header.kdf.memlimit > kMaxMem)
        return HeaderState::Damaged;
    header.pageSize = static_cast<int>(pageSize);
    std::memcpy(header.kdf.salt.data(), bytes + kSaltAt, kSaltSize);
    std::memcpy(header.fileId.data(), bytes + kFileIdAt, kFileIdSize);
    return HeaderState::Sound;
}

std::array<uint8_t, kHeaderSize> NewHeader(const Key& key, int pageSize, Header& header) {
    std::array<uint8_t, kHeaderSize> bytes{};
    uint8_t* b = bytes.data();
    std::memcpy(b, kMagic, kMagicSize);
    Put(b + kVersionAt, kFormatVersion, 4);
    Put(b + kPageSizeAt, static_cast<quint64>(pageSize), 4);
    Put(b + kOpsAt, key.Params().opslimit, 8);
    Put(b + kMemAt, key.Params().memlimit, 8);
    std::memcpy(b + kSaltAt, key.Params().salt.data(), kSaltSize);
    if (Ready()) {
        randombytes_buf(b + kFileIdAt, kFileIdSize);
        randombytes_buf(b + kCheckNonceAt, kNonceSize);
    }
    // The verifier: an empty message sealed over everything before it, so a wrong password
    // is told from a damaged page.
    uint8_t none[1] = {0};
    crypto_aead_xchacha20poly1305_ietf_encrypt_detached(none, b + kCheckTagAt, nullptr, none, 0, b,
                                                        kCheckNonceAt, nullptr, b + kCheckNonceAt,
                                                        key.Bytes());
    Checksum(b, b + kChecksumAt);
    header.version = kFormatVersion;
    header.pageSize = pageSize;
    header.kdf = key.Params();
    std::memcpy(header.fileId.data(), b + kFileIdAt, kFileIdSize);
    return bytes;
}

bool KeyOpens(const Key& key, const uint8_t* b) {
    uint8_t none[1] = {0};
    return crypto_aead_xchacha20poly1305_ietf_decrypt_detached(none, nullptr, none, 0,
                                                               b + kCheckTagAt, b, kCheckNonceAt,
                                                               b + kCheckNonceAt, key.Bytes()) == 0;
}

void SealPage(const Key& key, const Binding& binding, uint8_t* page, size_t size) {
    const size_t body = size - kReserve;
    uint8_t* nonce = page + body;
    uint8_t* tag = nonce + kNonceSize;
    randombytes_buf(nonce, kNonceSize);
    const auto ad = AdOf(binding);
    crypto_aead_xchacha20poly1305_ietf_encrypt_detached(page, tag, nullptr, page, body, ad.data(),
                                                        ad.size(), nullptr, nonce, key.Bytes());
}

bool OpenPageInto(const Key& key, const Binding& binding, const uint8_t* sealed, uint8_t* out,
                  size_t size) {
    if (size <= static_cast<size_t>(kReserve))
        return false;
    const size_t body = size - kReserve;
    const uint8_t* nonce = sealed + body;
    const uint8_t* tag = nonce + kNonceSize;
    const auto ad = AdOf(binding);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt_detached(
            out, nullptr, sealed, body, tag, ad.data(), ad.size(), nonce, key.Bytes()) != 0)
        return false;
    std::memset(out + body, 0, kReserve);
    return true;
}

bool OpenPage(const Key& key, const Binding& binding, uint8_t* page, size_t size) {
    // Through a copy: a forged page must come back as it was, never half opened.
    thread_local std::array<uint8_t, 65536> plain;
    if (size > plain.size() || !OpenPageInto(key, binding, page, plain.data(), size))
        return false;
    std::memcpy(page, plain.data(), size);
    return true;
}

} // namespace Sealed

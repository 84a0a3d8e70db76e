#include "cipher/clsDES.h"

#include "cipher/CodePage1252.h"
#include "cipher/modCrypto.h"
#include "platform/Prompter.h"
#include "platform/SafeFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>

namespace {

constexpr long kVbObjectError = -2147221504;
const char* const kSource = "clsDES";

// FIPS 46-3 tables, 1-based bit numbers as the standard prints them.
constexpr std::array<std::uint8_t, 56> kPC1 = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4};
constexpr std::array<std::uint8_t, 48> kPC2 = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32};
constexpr std::array<std::uint8_t, 16> kShifts = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};
constexpr std::array<std::uint8_t, 32> kP = {16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23,
                                             26, 5, 18, 31, 10, 2,  8,  24, 14, 32, 27,
                                             3,  9, 19, 13, 30, 6,  22, 11, 4,  25};
constexpr std::uint8_t kS[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11}};

using SPTable = std::array<std::array<std::uint32_t, 64>, 8>;

// S-box s followed by P, indexed by the six input bits b1..b6 read as a number. Entries are
// rotated right by 3 to match the rotated halves the rounds work on.
constexpr SPTable MakeSP() {
    SPTable sp{};
    for (int s = 0; s < 8; ++s) {
        for (int x = 0; x < 64; ++x) {
            const int row = ((x >> 4) & 2) | (x & 1);
            const int col = (x >> 1) & 15;
            const std::uint32_t f = std::uint32_t(kS[s][row * 16 + col]) << (28 - 4 * s);
            std::uint32_t out = 0;
            for (int i = 0; i < 32; ++i)
                out |= ((f >> (32 - kP[i])) & 1u) << (31 - i);
            sp[s][x] = std::rotr(out, 3);
        }
    }
    return sp;
}
constexpr SPTable kSP = MakeSP();

constexpr bool SBoxRowsArePermutations() {
    for (const auto& box : kS) {
        for (int row = 0; row < 4; ++row) {
            unsigned seen = 0;
            for (int col = 0; col < 16; ++col)
                seen |= 1u << box[row * 16 + col];
            if (seen != 0xFFFF)
                return false;
        }
    }
    return true;
}
static_assert(SBoxRowsArePermutations());

inline std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}
inline void Store32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

// Swaps the bits of a selected by mask m, shifted by n, with those of b.
inline void SwapBits(std::uint32_t& a, std::uint32_t& b, int n, std::uint32_t m) {
    const std::uint32_t t = ((a >> n) ^ b) & m;
    b ^= t;
    a ^= t << n;
}

// IP on the block's two big-endian halves, then the rotation the rounds work in.
inline void InitialPerm(std::uint32_t& l, std::uint32_t& r) {
    SwapBits(l, r, 4, 0x0f0f0f0f);
    SwapBits(l, r, 16, 0x0000ffff);
    SwapBits(r, l, 2, 0x33333333);
    SwapBits(r, l, 8, 0x00ff00ff);
    SwapBits(l, r, 1, 0x55555555);
    l = std::rotr(l, 3);
    r = std::rotr(r, 3);
}

// Each swap is its own inverse, so IP⁻¹ is the same swaps backwards.
inline void FinalPerm(std::uint32_t& l, std::uint32_t& r) {
    l = std::rotl(l, 3);
    r = std::rotl(r, 3);
    SwapBits(l, r, 1, 0x55555555);
    SwapBits(r, l, 8, 0x00ff00ff);
    SwapBits(r, l, 2, 0x33333333);
    SwapBits(l, r, 16, 0x0000ffff);
    SwapBits(l, r, 4, 0x0f0f0f0f);
}

// With the half rotated right by 3, the expanded groups 0,2,4,6 of E(r) sit on byte
// boundaries, and groups 1,3,5,7 sit 4 bits lower (their subkey word is pre-rotated to
// match), so every index is one XOR, shift and mask away from the half.
inline std::uint32_t F(std::uint32_t r, std::uint32_t kEven, std::uint32_t kOdd) {
    const std::uint32_t u = r ^ kEven;
    const std::uint32_t v = r ^ kOdd;
    return kSP[0][(u >> 24) & 63] ^ kSP[2][(u >> 16) & 63] ^ kSP[4][(u >> 8) & 63] ^
           kSP[6][u & 63] ^ kSP[1][(v >> 20) & 63] ^ kSP[3][(v >> 12) & 63] ^
           kSP[5][(v >> 4) & 63] ^ kSP[7][std::rotl(v, 4) & 63];
}

// The sixteen rounds on IP-permuted halves; leaves the pre-output (R16, L16) in (l, r).
inline void Rounds(std::uint32_t& l, std::uint32_t& r, const std::uint32_t* ks) {
#pragma GCC unroll 8
    for (int i = 0; i < 32; i += 4) {
        l ^= F(r, ks[i], ks[i + 1]);
        r ^= F(l, ks[i + 2], ks[i + 3]);
    }
    std::swap(l, r);
}

// CBC is linear through IP, so the chain is kept permuted: IP(p ^ c) = IP(p) ^ IP(c), and
// IP of a ciphertext block is the pre-output that made it. That keeps IP⁻¹ and IP off the
// chain's critical path.
void CbcEncrypt(std::uint8_t* p, std::uint8_t* end, const std::uint32_t* ks, std::uint32_t& chainL,
                std::uint32_t& chainR) {
    std::uint32_t cl = chainL, cr = chainR;
    for (; p < end; p += 8) {
        std::uint32_t l = Load32(p), r = Load32(p + 4);
        InitialPerm(l, r);
        l ^= cl;
        r ^= cr;
        Rounds(l, r, ks);
        cl = l;
        cr = r;
        FinalPerm(l, r);
        Store32(p, l);
        Store32(p + 4, r);
    }
    chainL = cl;
    chainR = cr;
}

// W independent blocks in flight at once, so their table look-ups overlap.
template <int W>
inline void CbcDecryptGroup(std::uint8_t* p, const std::uint32_t* ks, std::uint32_t& chainL,
                            std::uint32_t& chainR) {
    std::uint32_t l[W], r[W], il[W + 1], ir[W + 1];
    il[0] = chainL;
    ir[0] = chainR;
    for (int w = 0; w < W; ++w) {
        l[w] = Load32(p + 8 * w);
        r[w] = Load32(p + 8 * w + 4);
        InitialPerm(l[w], r[w]);
        il[w + 1] = l[w];
        ir[w + 1] = r[w];
    }
#pragma GCC unroll 8
    for (int i = 0; i < 32; i += 4) {
        for (int w = 0; w < W; ++w)
            l[w] ^= F(r[w], ks[i], ks[i + 1]);
        for (int w = 0; w < W; ++w)
            r[w] ^= F(l[w], ks[i + 2], ks[i + 3]);
    }
    for (int w = 0; w < W; ++w) {
        std::uint32_t ol = r[w] ^ il[w], orr = l[w] ^ ir[w];
        FinalPerm(ol, orr);
        Store32(p + 8 * w, ol);
        Store32(p + 8 * w + 4, orr);
    }
    chainL = il[W];
    chainR = ir[W];
}

// Three lanes keep GCC's straight-line vectorizer off the lanes, which at four packs them
// into SIMD registers and loses more on the table indices than it gains.
constexpr int kDecryptLanes = 3;

void CbcDecrypt(std::uint8_t* p, std::uint8_t* end, const std::uint32_t* ks, std::uint32_t& chainL,
                std::uint32_t& chainR) {
    for (; end - p >= 8 * kDecryptLanes; p += 8 * kDecryptLanes)
        CbcDecryptGroup<kDecryptLanes>(p, ks, chainL, chainR);
    for (; p < end; p += 8)
        CbcDecryptGroup<1>(p, ks, chainL, chainR);
}

// Round to nearest, ties to even, whatever the floating-point mode.
double RoundHalfEven(double x) {
    const double f = std::floor(x);
    const double d = x - f;
    if (d > 0.5)
        return f + 1;
    if (d < 0.5)
        return f;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// Raises a percentage after the block at offset i when i has reached the threshold, so
// a long run raises at most one event per whole percent, and ends with 100.
class ProgressSteps {
public:
    ProgressSteps(const std::function<void(qint32)>& sink, qint64 total)
        : sink_(sink), total_(total) {}

    // The offset of the next block whose step raises an event, at or after from.
    qint64 NextFiring(qint64 from) const {
        const qint64 aligned = (next_ + 7) / 8 * 8;
        return std::max(from, aligned);
    }
    void Fire(qint64 offset) {
        const auto percent =
            static_cast<qint32>(std::trunc((double(offset) / double(total_)) * 100));
        next_ = static_cast<qint64>(RoundHalfEven(((percent + 1) / 100.0) * double(total_) + 1));
        Raise(percent);
    }
    void Finish() {
        if (last_ != 100)
            Raise(100);
    }

private:
    void Raise(qint32 percent) {
        last_ = percent;
        if (sink_)
            sink_(percent);
    }
    const std::function<void(qint32)>& sink_;
    qint64 total_;
    qint64 next_ = 0;
    qint32 last_ = 0;
};

// Runs the chained transform over the whole array, stopping only where a progress event is
// due so the inner loop carries no per-block test.
template <typename Chain>
void ChainWithProgress(std::uint8_t* data, qint64 total, const std::uint32_t* ks,
                       const std::function<void(qint32)>& sink, Chain chain) {
    ProgressSteps progress(sink, total);
    std::uint32_t cl = 0, cr = 0;
    qint64 i = 0;
    while (i < total) {
        const qint64 fire = progress.NextFiring(i);
        if (fire >= total) {
            chain(data + i, data + total, ks, cl, cr);
            break;
        }
        chain(data + i, data + fire + 8, ks, cl, cr);
        progress.Fire(fire);
        i = fire + 8;
    }
    progress.Finish();
}

// Frame lengths must fit the signed 32-bit size descriptor.
constexpr qint64 kMaxData = 2147483647 - 19;

QString ErrorText(const char* lead, const RuntimeError& e) {
    return QString::fromLatin1(lead) + "\r\nNo: " + QString::number(e.Number()) +
           "\r\nDesc: " + e.Description() + "\r\nSource: " + e.Source();
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(75, "Path/File access error", kSource, ErrorKind::FileAccess, path);
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeError(75, "Path/File access error", kSource, ErrorKind::FileAccess, path);
    return data;
}

// Through a temporary file in the same folder, renamed into place only when complete.
void WriteReplacing(const QString& path, const QByteArray& data) {
    if (!WriteFileReplacing(path, data).ok)
        throw RuntimeError(75, "Path/File access error", kSource, ErrorKind::FileAccess, path);
}

} // namespace

void clsDES::Key(const QString& New_Value) {
    if (New_Value == keyText_)
        return;
    keyText_ = New_Value;

    const QByteArray bytes = CodePage1252::FromUnicode(New_Value);
    const qsizetype n = std::min<qsizetype>({8, New_Value.size(), bytes.size()});
    std::uint8_t key[64] = {};
    for (qsizetype i = 0; i < n; ++i) {
        for (int k = 0; k < 8; ++k)
            key[8 * i + k] = (static_cast<unsigned char>(bytes[i]) >> (7 - k)) & 1;
    }

    std::uint8_t cd[56];
    for (int i = 0; i < 56; ++i)
        cd[i] = key[kPC1[i] - 1];
    for (int round = 0; round < 16; ++round) {
        for (int s = 0; s < kShifts[round]; ++s) {
            std::rotate(cd, cd + 1, cd + 28);
            std::rotate(cd + 28, cd + 29, cd + 56);
        }
        std::uint32_t group[8] = {};
        for (int j = 0; j < 48; ++j)
            group[j / 6] = (group[j / 6] << 1) | cd[kPC2[j] - 1];
        encKeys_[2 * round] = group[0] << 24 | group[2] << 16 | group[4] << 8 | group[6];
        encKeys_[2 * round + 1] =
            std::rotr(group[1] << 24 | group[3] << 16 | group[5] << 8 | group[7], 4);
    }
    for (int round = 0; round < 16; ++round) {
        decKeys_[2 * round] = encKeys_[2 * (15 - round)];
        decKeys_[2 * round + 1] = encKeys_[2 * (15 - round) + 1];
    }
}

void clsDES::EncryptBlock(Block& block) const {
    std::uint32_t l = Load32(block.data()), r = Load32(block.data() + 4);
    InitialPerm(l, r);
    Rounds(l, r, encKeys_.data());
    FinalPerm(l, r);
    Store32(block.data(), l);
    Store32(block.data() + 4, r);
}

void clsDES::DecryptBlock(Block& block) const {
    std::uint32_t l = Load32(block.data()), r = Load32(block.data() + 4);
    InitialPerm(l, r);
    Rounds(l, r, decKeys_.data());
    FinalPerm(l, r);
    Store32(block.data(), l);
    Store32(block.data() + 4, r);
}

void clsDES::Encrypt(QByteArray& bytes) {
    const qint64 length = bytes.size();
    if (length > kMaxData)
        throw RuntimeError(6, "Overflow", kSource, ErrorKind::Overflow);
    const qint64 total = (length + 12 + 7) / 8 * 8;
    bytes.resize(total);
    auto* d = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::memmove(d + 12, d, length);
    std::memset(d + 12 + length, 0, total - 12 - length);
    for (int k = 0; k < 4; ++k)
        d[8 + k] = std::uint8_t(quint32(length) >> (8 * k));
    for (int half = 0; half < 2; ++half) {
        const double r = QRandomGenerator::global()->generateDouble();
        const auto value = static_cast<quint32>(RoundHalfEven(r * 2147483647.0));
        for (int k = 0; k < 4; ++k)
            d[4 * half + k] = std::uint8_t(value >> (8 * k));
    }
    ChainWithProgress(d, total, encKeys_.data(), Progress, CbcEncrypt);
}

void clsDES::Decrypt(QByteArray& bytes) {
    const qint64 total = bytes.size();
    // Checked before any work, so a refused input is left as it was.
    if (total < 16 || total % 8 != 0)
        throw RuntimeError(kVbObjectError, "Incorrect length in DES decryption", kSource);
    auto* d = reinterpret_cast<std::uint8_t*>(bytes.data());
    ChainWithProgress(d, total, decKeys_.data(), Progress, CbcDecrypt);
    const qint32 length = static_cast<qint32>(quint32(d[8]) | quint32(d[9]) << 8 |
                                              quint32(d[10]) << 16 | quint32(d[11]) << 24);
    if (length < 0 || total - length < 12 || total - length > 19)
        throw RuntimeError(kVbObjectError, "Incorrect size descriptor in DES decryption", kSource);
    std::memmove(d, d + 12, length);
    bytes.resize(length);
}

std::optional<RuntimeError> clsDES::TryTransform(QByteArray& bytes, const QString& key,
                                                 bool encrypt) {
    std::optional<RuntimeError> failure;
    try {
        if (!key.isEmpty())
            Key(key);
        if (encrypt)
            Encrypt(bytes);
        else
            Decrypt(bytes);
    } catch (const RuntimeError& e) {
        failure = e;
    } catch (const std::bad_alloc&) {
        failure = RuntimeError(7, "Out of memory", kSource);
    } catch (const std::exception& e) {
        failure = RuntimeError(51, QString::fromLocal8Bit(e.what()), kSource);
    }
    if (failure && encrypt)
        MsgBox(ErrorText("Something is wrong during encryption!  Please close program once "
                         "operation is finished and ensure the changes was successfully made.",
                         *failure),
               MsgButtons::OK, MsgIcon::Critical, "Encryption Error");
    else if (failure)
        MsgBox(ErrorText("Something is wrong during decryption!  Please check the DSN Password "
                         "file before proceeding any further.",
                         *failure),
               MsgButtons::OK, MsgIcon::Critical, "Decryption Error");
    return failure;
}

std::optional<RuntimeError> clsDES::TryEncrypt(QByteArray& bytes, const QString& key) {
    return TryTransform(bytes, key, true);
}

std::optional<RuntimeError> clsDES::TryDecrypt(QByteArray& bytes, const QString& key) {
    return TryTransform(bytes, key, false);
}

void clsDES::EncryptByte(QByteArray& ByteArray, const QString& Key) {
    TryEncrypt(ByteArray, Key);
}

void clsDES::DecryptByte(QByteArray& ByteArray, const QString& Key) {
    TryDecrypt(ByteArray, Key);
}

QString clsDES::EncryptString(const QString& Text, const QString& Key) {
    QByteArray bytes = CodePage1252::FromUnicode(Text);
    TryEncrypt(bytes, Key);
    return CodePage1252::ToUnicode(bytes);
}

QString clsDES::DecryptString(const QString& Text, const QString& Key) {
    QByteArray bytes = CodePage1252::FromUnicode(Text);
    TryDecrypt(bytes, Key);
    return CodePage1252::ToUnicode(bytes);
}

void clsDES::TransformFile(const QString& source, const QString& dest, const QString& key,
                           bool encrypt) {
    if (!FileExists(source))
        throw RuntimeError(kVbObjectError,
                           encrypt ? "Error in Skipjack EncryptFile procedure (Source file does "
                                     "not exist)."
                                   : "Error in Skipjack DecryptFile procedure (Source file does "
                                     "not exist).",
                           kSource, ErrorKind::FileNotFound, source);
    QByteArray data = ReadWholeFile(source);
    // The user has already seen the box; the caller learns of it, and nothing is written.
    if (auto failure = encrypt ? TryEncrypt(data, key) : TryDecrypt(data, key))
        throw *failure;
    WriteReplacing(dest, data);
}

void clsDES::EncryptFile(const QString& SourceFile, const QString& DestFile, const QString& Key) {
    TransformFile(SourceFile, DestFile, Key, true);
}

void clsDES::DecryptFile(const QString& SourceFile, const QString& DestFile, const QString& Key) {
    TransformFile(SourceFile, DestFile, Key, false);
}

#pragma once

// OpenSSL's legacy DES API is the reference the cipher is checked against.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include "cipher/CodePage1252.h"
#include "cipher/clsDES.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <cstring>
#include <random>

using Block8 = std::array<std::uint8_t, 8>;

struct DesBlockAccess {
    static Block8 Encrypt(const clsDES& des, Block8 b) {
        des.EncryptBlock(b);
        return b;
    }
    static Block8 Decrypt(const clsDES& des, Block8 b) {
        des.DecryptBlock(b);
        return b;
    }
};

inline Block8 Hex8(const char* hex) {
    Block8 b{};
    const QByteArray raw = QByteArray::fromHex(hex);
    std::memcpy(b.data(), raw.constData(), 8);
    return b;
}

// A key text whose code-page bytes are exactly these eight bytes.
inline QString KeyText(const Block8& key) {
    return CodePage1252::ToUnicode(
        QByteArray(reinterpret_cast<const char*>(key.data()), key.size()));
}

inline Block8 OsslEcb(const Block8& key, const Block8& in, bool encrypt) {
    DES_cblock k;
    std::memcpy(k, key.data(), 8);
    DES_key_schedule ks;
    DES_set_key_unchecked(&k, &ks);
    DES_cblock src, dst;
    std::memcpy(src, in.data(), 8);
    DES_ecb_encrypt(&src, &dst, &ks, encrypt ? DES_ENCRYPT : DES_DECRYPT);
    Block8 out;
    std::memcpy(out.data(), dst, 8);
    return out;
}

// CBC with a zero IV over a whole number of blocks.
inline QByteArray OsslCbc(const Block8& key, const QByteArray& in, bool encrypt) {
    DES_cblock k;
    std::memcpy(k, key.data(), 8);
    DES_key_schedule ks;
    DES_set_key_unchecked(&k, &ks);
    DES_cblock iv = {};
    QByteArray out(in.size(), '\0');
    DES_ncbc_encrypt(reinterpret_cast<const unsigned char*>(in.constData()),
                     reinterpret_cast<unsigned char*>(out.data()), in.size(), &ks, &iv,
                     encrypt ? DES_ENCRYPT : DES_DECRYPT);
    return out;
}

inline QByteArray RandomBytes(std::mt19937& rng, qsizetype n) {
    QByteArray out(n, '\0');
    for (auto& c : out)
        c = static_cast<char>(rng() & 0xFF);
    return out;
}

inline Block8 RandomBlock(std::mt19937& rng) {
    Block8 b;
    for (auto& c : b)
        c = static_cast<std::uint8_t>(rng() & 0xFF);
    return b;
}

inline qint32 LittleEndian32(const QByteArray& a, qsizetype at) {
    quint32 v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(a[at + k]);
    return static_cast<qint32>(v);
}

// A frame as any standard implementation would lay it out, random first block included.
inline QByteArray MakeFrame(std::mt19937& rng, const QByteArray& data, qint32 descriptor) {
    QByteArray frame = RandomBytes(rng, 8);
    frame[3] = static_cast<char>(frame[3] & 0x7F);
    frame[7] = static_cast<char>(frame[7] & 0x7F);
    for (int k = 0; k < 4; ++k)
        frame.append(static_cast<char>(quint32(descriptor) >> (8 * k)));
    frame.append(data);
    while (frame.size() % 8 != 0)
        frame.append('\0');
    return frame;
}

inline QString DecryptionBox(const QString& desc) {
    return "Something is wrong during decryption!  Please check the DSN Password file before "
           "proceeding any further.\r\nNo: -2147221504\r\nDesc: " +
           desc + "\r\nSource: clsDES";
}

// The cipher against OpenSSL's legacy DES, the reference at hand: blocks, key texts, frames,
// strings and files.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/des.h>

#include "support/AppFolder.h"
#include "support/ScriptedPrompter.h"

#include "cipher/CodePage1252.h"
#include "cipher/clsDES.h"
#include "cipher/modCrypto.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <vector>

struct DesBlockAccess {
    static QByteArray Run(const clsDES& des, const QByteArray& in, bool encrypt) {
        std::array<std::uint8_t, 8> b;
        std::memcpy(b.data(), in.constData(), 8);
        encrypt ? des.EncryptBlock(b) : des.DecryptBlock(b);
        return QByteArray(reinterpret_cast<const char*>(b.data()), 8);
    }
};

namespace {

const QString kKey = "Secret!";
const QByteArray kKeyBytes("Secret!\0", 8);
const char* kBadSize = "Incorrect size descriptor in DES decryption";

// CBC with a zero IV over whole blocks; on a single block that is ECB.
QByteArray Ossl(const QByteArray& key, const QByteArray& in, bool encrypt) {
    DES_cblock k, iv = {};
    std::memcpy(k, key.constData(), 8);
    DES_key_schedule ks;
    DES_set_key_unchecked(&k, &ks);
    QByteArray out(in.size(), '\0');
    DES_ncbc_encrypt(reinterpret_cast<const unsigned char*>(in.constData()),
                     reinterpret_cast<unsigned char*>(out.data()), in.size(), &ks, &iv,
                     encrypt ? DES_ENCRYPT : DES_DECRYPT);
    return out;
}

QByteArray RandomBytes(std::mt19937& rng, qsizetype n) {
    QByteArray out(n, '\0');
    for (auto& c : out)
        c = static_cast<char>(rng() & 0xFF);
    return out;
}

qint32 SizeOf(const QByteArray& frame) {
    return qFromLittleEndian<qint32>(frame.constData() + 8);
}

// A frame as any standard implementation lays it out: random block, size, data, zero padding.
QByteArray MakeFrame(std::mt19937& rng, const QByteArray& data, qint32 size) {
    QByteArray frame = RandomBytes(rng, 8) + QByteArray(4, '\0') + data;
    qToLittleEndian(size, frame.data() + 8);
    frame.resize((frame.size() + 7) / 8 * 8, '\0');
    return frame;
}

void ExpectDecryptionBox(ScopedPrompter& p, const char* desc) {
    p->Expect(QString("Something is wrong during decryption!  Please check the DSN Password file "
                      "before proceeding any further.\r\nNo: -2147221504\r\nDesc: ") +
                  desc + "\r\nSource: clsDES",
              "Decryption Error", MsgIcon::Critical);
}

// FIPS 81 (ECB example), NIST SP 800-17 (variable plaintext, variable key, permutation) and
// the all-zero key; then random keys, whose parity bits OpenSSL ignores as DES must.
TEST(DesBlock, MatchesKnownAnswersAndOpenSsl) {
    const char* vectors[][3] = {
        {"0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},
        {"0123456789abcdef", "68652074696d6520", "6a271787ab8883f9"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
        {"0101010101010101", "4000000000000000", "dd7f121ca5015619"},
        {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
        {"1046913489980131", "0000000000000000", "88d55e54f54c97b4"},
        {"0000000000000000", "0000000000000000", "8ca64de9c1b123a7"},
    };
    for (const auto& v : vectors) {
        clsDES des;
        des.Key(CodePage1252::ToUnicode(QByteArray::fromHex(v[0])));
        const QByteArray plain = QByteArray::fromHex(v[1]), cipher = QByteArray::fromHex(v[2]);
        EXPECT_EQ(DesBlockAccess::Run(des, plain, true), cipher) << v[0];
        EXPECT_EQ(DesBlockAccess::Run(des, cipher, false), plain) << v[0];
    }
    std::mt19937 rng(46);
    for (int k = 0; k < 300; ++k) {
        const QByteArray key = RandomBytes(rng, 8);
        clsDES des;
        des.Key(CodePage1252::ToUnicode(key));
        for (int b = 0; b < 16; ++b) {
            const QByteArray block = RandomBytes(rng, 8);
            ASSERT_EQ(DesBlockAccess::Run(des, block, true), Ossl(key, block, true));
            ASSERT_EQ(DesBlockAccess::Run(des, block, false), Ossl(key, block, false));
        }
    }
}

TEST(DesKey, TextIsItsFirstEightCodePageBytesAndChangesTakeEffect) {
    std::mt19937 rng(8);
    const QByteArray block = RandomBytes(rng, 8);
    auto under = [&](const QString& text) {
        clsDES des;
        des.Key(text);
        return DesBlockAccess::Run(des, block, true);
    };
    const std::pair<QString, const char*> cases[] = {
        {"", "0000000000000000"},
        {"a", "6100000000000000"},
        {"abcdefghXYZ", "6162636465666768"},
        {"Secret", "5365637265740000"},
        {"€é™ü", "80e999fc00000000"},
        {"Āb", "3f62000000000000"}, // not on the page: '?'
    };
    for (const auto& [text, hex] : cases)
        EXPECT_EQ(under(text), Ossl(QByteArray::fromHex(hex), block, true)) << hex;
    EXPECT_EQ(under("abcdefgh"), under("`bcdefgi")) << "only the parity bits differ";
    // Unset is the all-zero key; the subkeys follow every change of the text and only then.
    clsDES des;
    EXPECT_EQ(DesBlockAccess::Run(des, block, true), under(""));
    for (const char* text : {"key A", "key A", "key B", "key A", ""}) {
        des.Key(text);
        EXPECT_EQ(DesBlockAccess::Run(des, block, true), under(text)) << text;
    }
}

TEST(DesString, RoundTripsEveryByteOfTheCodePageAndReportsFailures) {
    ScopedPrompter p;
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    const QString page = CodePage1252::ToUnicode(all);
    ASSERT_EQ(page.size(), 256);
    // The typographic range, the five undefined bytes, and Latin-1 on either side.
    const std::pair<int, int> chars[] = {
        {0x80, 0x20AC}, {0x85, 0x2026}, {0x99, 0x2122}, {0x9F, 0x0178}, {0x81, 0x81}, {0x8D, 0x8D},
        {0x8F, 0x8F},   {0x90, 0x90},   {0x9D, 0x9D},   {0xE9, 0xE9},   {0x41, 0x41}};
    for (auto [byte, unicode] : chars)
        EXPECT_EQ(page[byte].unicode(), unicode) << byte;
    // U+0080 is not on the page (0x80 is the euro sign); a surrogate pair is one character.
    EXPECT_EQ(CodePage1252::FromUnicode(QString::fromUtf8("a\u0080\u0100\u4E2D\U0001F600z\u20AC")),
              QByteArray("a????z\x80"));
    clsDES des;
    const QString secret = des.EncryptString(page, "string key");
    EXPECT_EQ(secret.size(), 272);
    EXPECT_EQ(clsDES().DecryptString(secret, "string key"), page);
    // Each character of the encrypted form is one ciphertext byte.
    EXPECT_EQ(Ossl("string k", CodePage1252::FromUnicode(secret), false).mid(12, 256), all);

    // A failed decryption has shown its box and gives back what the array then held.
    ExpectDecryptionBox(p, kBadSize);
    EXPECT_EQ(des.DecryptString(des.EncryptString("hello", "k"), "other").size(), 24);
    ExpectDecryptionBox(p, "Incorrect length in DES decryption");
    EXPECT_EQ(des.DecryptString("not encrypted"), "not encrypted");
}

TEST(DesFrame, LayoutIsWhatOpenSslReadsAndItsFramesDecrypt) {
    ScopedPrompter p;
    std::mt19937 rng(1);
    clsDES des;
    for (qsizetype length = 0; length <= 40; ++length) {
        const QByteArray data = RandomBytes(rng, length);
        QByteArray bytes = data;
        des.EncryptByte(bytes, kKey);
        const qsizetype frameSize = (length + 12 + 7) / 8 * 8;
        ASSERT_EQ(bytes.size(), frameSize) << length;
        const QByteArray frame = Ossl(kKeyBytes, bytes, false);
        EXPECT_EQ(SizeOf(frame), length);
        EXPECT_EQ(frame.mid(12), data + QByteArray(frameSize - 12 - length, '\0')) << length;
    }
    // The random first block changes every block of the same data.
    QByteArray one(40, 'a'), two = one;
    des.EncryptByte(one);
    des.EncryptByte(two);
    for (qsizetype i = 0; i < one.size(); i += 8)
        EXPECT_NE(one.mid(i, 8), two.mid(i, 8)) << "block at " << i;
    // Lengths across the lane groups and their remainders, and one through every percent.
    std::vector<qsizetype> lengths{0, (1 << 20) + 3};
    for (int k = 0; k < 60; ++k)
        lengths.push_back(rng() % 3000);
    for (qsizetype length : lengths) {
        const QByteArray data = RandomBytes(rng, length);
        QByteArray bytes = Ossl(kKeyBytes, MakeFrame(rng, data, qint32(length)), true);
        des.DecryptByte(bytes);
        ASSERT_EQ(bytes, data) << length;
        des.EncryptByte(bytes);
        ASSERT_EQ(Ossl(kKeyBytes, bytes, false).mid(12, length), data) << length;
        des.DecryptByte(bytes);
        ASSERT_EQ(bytes, data) << length;
    }
}

// Raised at most once per whole percent, rising, always from 0 to 100; a long run gives each.
TEST(DesFrame, ProgressSteps) {
    ScopedPrompter p;
    clsDES des;
    std::vector<qint32> log;
    des.Progress = [&](qint32 percent) { log.push_back(percent); };
    std::vector<qint32> every(101);
    std::iota(every.begin(), every.end(), 0);
    const std::pair<qsizetype, std::vector<qint32>> cases[] = {
        {0, {0, 50, 100}}, {5, {0, 33, 66, 100}}, {1000, {}}, {400000, every}};
    for (const auto& [length, expected] : cases) {
        QByteArray bytes(length, 'q');
        for (bool encrypt : {true, false}) {
            log.clear();
            encrypt ? des.EncryptByte(bytes, kKey) : des.DecryptByte(bytes);
            if (!expected.empty()) {
                EXPECT_EQ(log, expected) << length;
            }
            EXPECT_TRUE(log.front() == 0 && log.back() == 100) << length;
            EXPECT_TRUE(std::is_sorted(log.begin(), log.end()) &&
                        std::adjacent_find(log.begin(), log.end()) == log.end())
                << length;
        }
    }
}

TEST(DesFrame, BadInputIsRefusedWithItsBoxAndAKeyGivenStaysInForce) {
    ScopedPrompter p;
    std::mt19937 rng(3);
    clsDES des;
    // Short or ragged input is refused before any work: nothing changes.
    for (qsizetype length : {0, 1, 7, 8, 12, 15, 17, 23, 33}) {
        const QByteArray original = RandomBytes(rng, length);
        QByteArray bytes = original;
        ExpectDecryptionBox(p, "Incorrect length in DES decryption");
        des.DecryptByte(bytes, kKey);
        EXPECT_EQ(bytes, original) << length;
    }
    // A negative size lies within the window of the length check, a size the frame cannot
    // hold outside it; a garbled size block or another key is either.
    std::vector<std::pair<QByteArray, QString>> frames;
    for (qint32 size : {-1, -3, 5, 1000})
        frames.push_back({Ossl(kKeyBytes, MakeFrame(rng, "abcd", size), true), ""});
    QByteArray right("keep me, some data that matters");
    des.EncryptByte(right);
    QByteArray garbled = right;
    garbled[9] = static_cast<char>(garbled[9] ^ 0x10);
    frames.push_back({garbled, ""});
    frames.push_back({right, "other"});
    frames.push_back({right, ""}); // the other key stays in force
    for (const auto& [frame, key] : frames) {
        QByteArray bytes = frame;
        ExpectDecryptionBox(p, kBadSize);
        des.DecryptByte(bytes, key);
        EXPECT_EQ(bytes.size(), frame.size()) << "left decrypted in place, unframed";
    }
    des.DecryptByte(right, kKey);
    EXPECT_EQ(right, "keep me, some data that matters");

    // A failure while encrypting has its own box.
    des.Progress = [](qint32 percent) {
        if (percent == 100)
            throw RuntimeError(123, "listener failed", "test");
    };
    p->Expect("Something is wrong during encryption!  Please close program once operation is "
              "finished and ensure the changes was successfully made.\r\nNo: 123\r\nDesc: "
              "listener failed\r\nSource: test",
              "Encryption Error", MsgIcon::Critical);
    QByteArray bytes("x");
    des.EncryptByte(bytes);
    EXPECT_EQ(bytes.size(), 16);
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

QString Write(const AppFolder& dir, const char* name, const QByteArray& data) {
    QFile f(dir.File(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
    return f.fileName();
}

// Nothing but the named files is left in the folder (no temporary files).
QStringList Entries(const AppFolder& dir) {
    return QDir(dir.Path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

TEST(DesFile, RoundTripsOverALongerDestinationAndInPlace) {
    AppFolder dir(AppFolder::Empty);
    ScopedPrompter p;
    std::mt19937 rng(5);
    const QByteArray data = RandomBytes(rng, 100003);
    const QString plain = Write(dir, "plain.bin", data);
    const QString secret = Write(dir, "secret.bin", QByteArray(300000, 'o'));
    const QString back = Write(dir, "back.bin", "old");
    clsDES des;
    des.EncryptFile(plain, secret, kKey);
    const QByteArray frame = Ossl(kKeyBytes, Read(secret), false);
    EXPECT_EQ(frame.size(), (data.size() + 12 + 7) / 8 * 8);
    EXPECT_EQ(frame.mid(12, data.size()), data);
    clsDES().DecryptFile(secret, back, kKey);
    EXPECT_EQ(Read(back), data);
    des.EncryptFile(back, back);
    EXPECT_EQ(Ossl(kKeyBytes, Read(back), false).mid(12, data.size()), data);
    des.DecryptFile(back, back);
    EXPECT_EQ(Read(back), data);
    EXPECT_EQ(Read(plain), data);
    EXPECT_EQ(Entries(dir), QStringList({"back.bin", "plain.bin", "secret.bin"}));
    EXPECT_TRUE(FileExists(plain) && FileExists(Write(dir, "empty.bin", "")));
    EXPECT_FALSE(FileExists(dir.File("missing.bin")) || FileExists(dir.Path()) ||
                 FileExists(QString()));
}

TEST(DesFile, FailuresRaiseAndLeaveEveryFileAsItWas) {
    AppFolder dir(AppFolder::Empty);
    ScopedPrompter p;
    clsDES des;
    const QString missing = dir.File("missing.bin");
    const QString dest = Write(dir, "dest.bin", "previous");
    for (bool encrypt : {true, false}) {
        const RuntimeError e = ErrorOf([&] {
            encrypt ? des.EncryptFile(missing, dest, kKey) : des.DecryptFile(missing, dest, kKey);
        });
        EXPECT_EQ(e.Number(), -2147221504);
        EXPECT_EQ(e.Description(), QString("Error in Skipjack %1 procedure (Source file does not "
                                           "exist).")
                                       .arg(encrypt ? "EncryptFile" : "DecryptFile"));
        EXPECT_EQ(e.Kind(), ErrorKind::FileNotFound);
        EXPECT_EQ(e.Detail(), missing);
    }
    const QString secret = Write(dir, "secret.bin", "data");
    des.EncryptFile(secret, secret, kKey);
    const QByteArray cipher = Read(secret);
    for (const QString& target : {dest, secret}) {
        ExpectDecryptionBox(p, kBadSize);
        EXPECT_THROW(des.DecryptFile(secret, target, "wrong key"), RuntimeError);
    }
    const RuntimeError e = ErrorOf([&] { des.EncryptFile(secret, dir.File("no/such/out.bin")); });
    EXPECT_EQ(e.Kind(), ErrorKind::FileAccess);
    EXPECT_EQ(e.Number(), 75);
    EXPECT_EQ(Read(secret), cipher);
    EXPECT_EQ(Read(dest), "previous");
    EXPECT_EQ(Entries(dir), QStringList({"dest.bin", "secret.bin"}));
}

} // namespace

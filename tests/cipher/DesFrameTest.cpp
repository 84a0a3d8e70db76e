#include "DesTestSupport.h"
#include "support/ScriptedPrompter.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

const QString kKey = QStringLiteral("Secret!");
const Block8 kKeyBytes = Hex8("5365637265742100");

// Records every Progress event of an instance.
struct ProgressLog {
    explicit ProgressLog(clsDES& des) {
        des.Progress = [this](qint32 p) { values.push_back(p); };
    }
    std::vector<qint32> values;
};

// The progress rule written out block by block, to check the faster stepping against.
std::vector<qint32> ExpectedProgress(qint64 total) {
    std::vector<qint32> out;
    double next = 0;
    for (qint64 i = 0; i < total; i += 8) {
        if (double(i) >= next) {
            const auto percent = static_cast<qint32>(std::trunc(double(i) / double(total) * 100));
            next = std::nearbyint((percent + 1) / 100.0 * double(total) + 1);
            out.push_back(percent);
        }
    }
    if (out.back() != 100)
        out.push_back(100);
    return out;
}

} // namespace

TEST(DesFrame, LayoutSeenByOpenSsl) {
    ScopedPrompter p;
    std::mt19937 rng(1);
    for (qsizetype length = 0; length <= 40; ++length) {
        const QByteArray data = RandomBytes(rng, length);
        QByteArray bytes = data;
        clsDES des;
        des.EncryptByte(bytes, kKey);

        const qsizetype frameSize = (length + 12 + 7) / 8 * 8;
        ASSERT_EQ(bytes.size(), frameSize) << length;
        const QByteArray frame = OsslCbc(kKeyBytes, bytes, false);
        EXPECT_GE(LittleEndian32(frame, 0), 0);
        EXPECT_GE(LittleEndian32(frame, 4), 0);
        EXPECT_EQ(LittleEndian32(frame, 8), length);
        EXPECT_EQ(frame.mid(12, length), data);
        EXPECT_EQ(frame.mid(12 + length), QByteArray(frameSize - 12 - length, '\0')) << length;
    }
    // The edges of the size classes: 0-4 bytes give 16, 5-12 give 24, 13-20 give 32.
    for (auto [length, size] : {std::pair{0, 16}, {4, 16}, {5, 24}, {12, 24}, {13, 32}, {20, 32}}) {
        QByteArray bytes(length, 'x');
        clsDES().EncryptByte(bytes, kKey);
        EXPECT_EQ(bytes.size(), size) << length;
    }
}

TEST(DesFrame, StandardFramesDecryptAndBack) {
    ScopedPrompter p;
    std::mt19937 rng(2);
    clsDES des;
    des.Key(kKey);
    // Lengths across the lane groups and their remainders, and one long enough to step
    // through every percent.
    std::vector<qsizetype> lengths;
    for (int k = 0; k < 60; ++k)
        lengths.push_back(rng() % 3000);
    lengths.push_back(0);
    lengths.push_back((1 << 20) + 3);
    for (qsizetype length : lengths) {
        const QByteArray data = RandomBytes(rng, length);
        QByteArray bytes = OsslCbc(kKeyBytes, MakeFrame(rng, data, qint32(length)), true);
        des.DecryptByte(bytes);
        ASSERT_EQ(bytes, data) << length;

        des.EncryptByte(bytes);
        ASSERT_EQ(OsslCbc(kKeyBytes, bytes, false).mid(12, length), data) << length;
        des.DecryptByte(bytes);
        ASSERT_EQ(bytes, data) << length;
    }
}

TEST(DesFrame, RandomFirstBlockChangesEveryCiphertextBlock) {
    ScopedPrompter p;
    const QByteArray data(40, 'a');
    QByteArray one = data, two = data;
    clsDES des;
    des.EncryptByte(one, kKey);
    des.EncryptByte(two);
    ASSERT_EQ(one.size(), two.size());
    for (qsizetype i = 0; i < one.size(); i += 8)
        EXPECT_NE(one.mid(i, 8), two.mid(i, 8)) << "block at " << i;
    des.DecryptByte(one);
    des.DecryptByte(two);
    EXPECT_EQ(one, data);
    EXPECT_EQ(two, data);
}

TEST(DesFrame, ProgressSteps) {
    ScopedPrompter p;
    clsDES des;
    ProgressLog log(des);
    QByteArray bytes(5, 'z');
    des.EncryptByte(bytes, kKey); // 24-byte frame
    EXPECT_EQ(log.values, (std::vector<qint32>{0, 33, 66, 100}));
    log.values.clear();
    des.DecryptByte(bytes);
    EXPECT_EQ(log.values, (std::vector<qint32>{0, 33, 66, 100}));

    log.values.clear();
    QByteArray small;
    des.EncryptByte(small); // 16-byte frame
    EXPECT_EQ(log.values, (std::vector<qint32>{0, 50, 100}));

    for (qsizetype length : {100, 1000, 99999, 400000}) {
        QByteArray big(length, 'q');
        log.values.clear();
        des.EncryptByte(big);
        EXPECT_EQ(log.values, ExpectedProgress(big.size())) << length;
        const qint64 total = big.size();
        log.values.clear();
        des.DecryptByte(big);
        EXPECT_EQ(log.values, ExpectedProgress(total)) << length;
    }
}

TEST(DesFrame, KeyArgumentReplacesTheKeyEmptyKeepsIt) {
    ScopedPrompter p;
    const QByteArray data("keep me");
    QByteArray bytes = data;
    clsDES des;
    des.EncryptByte(bytes, "first");
    QByteArray copy = bytes;
    des.DecryptByte(copy);
    EXPECT_EQ(copy, data);

    // Under another key the frame does not check out; that key then stays in force.
    p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
              MsgIcon::Critical, MsgButtons::OK);
    copy = bytes;
    des.DecryptByte(copy, "second");
    EXPECT_EQ(copy.size(), bytes.size()); // left decrypted in place, unframed
    p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
              MsgIcon::Critical, MsgButtons::OK);
    copy = bytes;
    des.DecryptByte(copy);
    copy = bytes;
    des.DecryptByte(copy, "first");
    EXPECT_EQ(copy, data);
}

TEST(DesFrame, DamagedFrameIsReported) {
    ScopedPrompter p;
    QByteArray bytes("some data that matters");
    clsDES des;
    des.EncryptByte(bytes, kKey);
    bytes[9] = static_cast<char>(bytes[9] ^ 0x10); // garbles the block holding the size
    p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
              MsgIcon::Critical, MsgButtons::OK);
    des.DecryptByte(bytes);
}

TEST(DesFrame, ImpossibleSizesAreRefused) {
    ScopedPrompter p;
    std::mt19937 rng(3);
    clsDES des;
    des.Key(kKey);
    // A negative size lies within the window of the length check, and a size the frame
    // cannot hold lies outside it.
    for (qint32 descriptor : {-1, -3, 5, 1000}) {
        const QByteArray cipher = OsslCbc(kKeyBytes, MakeFrame(rng, "abcd", descriptor), true);
        QByteArray bytes = cipher;
        p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
                  MsgIcon::Critical, MsgButtons::OK);
        des.DecryptByte(bytes);
        EXPECT_EQ(bytes.size(), cipher.size()) << descriptor;
    }
}

TEST(DesFrame, ShortAndOddLengthsAreRefusedUntouched) {
    ScopedPrompter p;
    std::mt19937 rng(4);
    clsDES des;
    for (qsizetype length : {0, 1, 7, 8, 12, 15, 17, 23, 33}) {
        const QByteArray original = RandomBytes(rng, length);
        QByteArray bytes = original;
        p->Expect(DecryptionBox("Incorrect length in DES decryption"), "Decryption Error",
                  MsgIcon::Critical, MsgButtons::OK);
        des.DecryptByte(bytes, kKey);
        EXPECT_EQ(bytes, original) << length;
    }
}

TEST(DesFrame, EncryptionFailureIsReported) {
    ScopedPrompter p;
    clsDES des;
    des.Progress = [](qint32 percent) {
        if (percent == 100)
            throw RuntimeError(123, "listener failed", "test");
    };
    p->Expect("Something is wrong during encryption!  Please close program once operation is "
              "finished and ensure the changes was successfully made.\r\nNo: 123\r\nDesc: "
              "listener failed\r\nSource: test",
              "Encryption Error", MsgIcon::Critical, MsgButtons::OK);
    QByteArray bytes("x");
    des.EncryptByte(bytes, kKey);
    EXPECT_EQ(bytes.size(), 16);
}

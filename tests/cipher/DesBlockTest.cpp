#include "DesTestSupport.h"

#include <gtest/gtest.h>

namespace {

Block8 EncryptWith(const QString& keyText, const Block8& block) {
    clsDES des;
    des.Key(keyText);
    return DesBlockAccess::Encrypt(des, block);
}

} // namespace

// FIPS 81 (ECB example) and NIST SP 800-17 (variable plaintext, variable key and
// permutation tests), plus the all-zero key.
TEST(DesBlock, KnownAnswers) {
    struct Vector {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector vectors[] = {
        {"0123456789abcdef", "4e6f772069732074", "3fa40e8a984d4815"},
        {"0123456789abcdef", "68652074696d6520", "6a271787ab8883f9"},
        {"0123456789abcdef", "666f7220616c6c20", "893d51ec4b563b53"},
        {"0101010101010101", "8000000000000000", "95f8a5e5dd31d900"},
        {"0101010101010101", "4000000000000000", "dd7f121ca5015619"},
        {"8001010101010101", "0000000000000000", "95a8d72813daa94d"},
        {"1046913489980131", "0000000000000000", "88d55e54f54c97b4"},
        {"0000000000000000", "0000000000000000", "8ca64de9c1b123a7"},
    };
    for (const auto& v : vectors) {
        clsDES des;
        des.Key(KeyText(Hex8(v.key)));
        EXPECT_EQ(DesBlockAccess::Encrypt(des, Hex8(v.plain)), Hex8(v.cipher)) << v.key;
        EXPECT_EQ(DesBlockAccess::Decrypt(des, Hex8(v.cipher)), Hex8(v.plain)) << v.key;
    }
}

TEST(DesBlock, MatchesOpenSslOnRandomKeysAndBlocks) {
    std::mt19937 rng(46);
    for (int k = 0; k < 300; ++k) {
        const Block8 key = RandomBlock(rng);
        clsDES des;
        des.Key(KeyText(key));
        for (int b = 0; b < 16; ++b) {
            const Block8 block = RandomBlock(rng);
            const Block8 enc = DesBlockAccess::Encrypt(des, block);
            ASSERT_EQ(enc, OsslEcb(key, block, true));
            ASSERT_EQ(DesBlockAccess::Decrypt(des, block), OsslEcb(key, block, false));
            ASSERT_EQ(DesBlockAccess::Decrypt(des, enc), block);
        }
    }
}

TEST(DesKey, UnsetAndEmptyKeysAreTheAllZeroKey) {
    std::mt19937 rng(7);
    const Block8 zero{};
    const Block8 block = RandomBlock(rng);
    clsDES des;
    EXPECT_EQ(DesBlockAccess::Encrypt(des, block), OsslEcb(zero, block, true));
    des.Key("something");
    EXPECT_NE(DesBlockAccess::Encrypt(des, block), OsslEcb(zero, block, true));
    des.Key("");
    EXPECT_EQ(DesBlockAccess::Encrypt(des, block), OsslEcb(zero, block, true));
}

TEST(DesKey, TextBecomesEightCodePageBytesZeroPadded) {
    std::mt19937 rng(8);
    const Block8 block = RandomBlock(rng);

    // Short texts are padded on the right with zero bytes.
    EXPECT_EQ(EncryptWith("abc", block), OsslEcb(Hex8("6162630000000000"), block, true));
    EXPECT_EQ(EncryptWith("a", block), OsslEcb(Hex8("6100000000000000"), block, true));
    // Characters after the eighth are ignored.
    EXPECT_EQ(EncryptWith("abcdefghXYZ", block), OsslEcb(Hex8("6162636465666768"), block, true));
    EXPECT_EQ(EncryptWith("abcdefgh", block), EncryptWith("abcdefgh and more", block));
    // Non-ASCII characters go through Windows-1252, one byte each.
    EXPECT_EQ(EncryptWith(QString::fromUtf8("€é™ü"), block),
              OsslEcb(Hex8("80e999fc00000000"), block, true));
    // A character the code page lacks is a '?'.
    EXPECT_EQ(EncryptWith(QString::fromUtf8("Āb"), block), EncryptWith("?b", block));
    // Letter case matters.
    EXPECT_NE(EncryptWith("Secret", block), EncryptWith("secret", block));
}

TEST(DesKey, ParityBitsNeverReachTheSubkeys) {
    std::mt19937 rng(9);
    for (int trial = 0; trial < 50; ++trial) {
        Block8 key = RandomBlock(rng);
        Block8 flipped = key;
        for (auto& byte : flipped)
            byte ^= static_cast<std::uint8_t>(rng() & 1);
        const Block8 block = RandomBlock(rng);
        ASSERT_EQ(EncryptWith(KeyText(key), block), EncryptWith(KeyText(flipped), block));
    }
    const Block8 block = RandomBlock(rng);
    EXPECT_EQ(EncryptWith("abcdefgh", block), EncryptWith("`bcdefgi", block));
}

TEST(DesKey, ReassigningKeepsOrReplacesTheSubkeys) {
    std::mt19937 rng(10);
    const Block8 block = RandomBlock(rng);
    const Block8 underA = EncryptWith("key A", block);
    const Block8 underB = EncryptWith("key B", block);
    ASSERT_NE(underA, underB);

    clsDES des;
    des.Key("key A");
    des.Key("key A");
    EXPECT_EQ(DesBlockAccess::Encrypt(des, block), underA);
    des.Key("key B");
    EXPECT_EQ(DesBlockAccess::Encrypt(des, block), underB);
    des.Key("key A");
    EXPECT_EQ(DesBlockAccess::Encrypt(des, block), underA);
}

#include "DesTestSupport.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace {

QByteArray AllBytes() {
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    return all;
}

} // namespace

TEST(CodePage1252, EveryByteSurvivesText) {
    const QByteArray all = AllBytes();
    const QString text = CodePage1252::ToUnicode(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(CodePage1252::FromUnicode(text), all);
    // A few characters of the typographic range, the undefined bytes and Latin-1.
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x85], QChar(0x2026));
    EXPECT_EQ(text[0x99], QChar(0x2122));
    EXPECT_EQ(text[0x9F], QChar(0x0178));
    for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(text[undefined], QChar(undefined));
    EXPECT_EQ(text[0xE9], QChar(0xE9));
    EXPECT_EQ(text[0x41], QChar('A'));
}

TEST(CodePage1252, CharactersOutsideThePageBecomeQuestionMarks) {
    // U+0080 is not on the page (0x80 is the euro sign); a surrogate pair is one character.
    const QString text = QString::fromUtf8("a\u0080\u0100\u4E2D\U0001F600z\u20AC");
    EXPECT_EQ(CodePage1252::FromUnicode(text), QByteArray("a????z\x80"));
}

TEST(DesString, RoundTripsEveryCharacterOfThePage) {
    ScopedPrompter p;
    const QString text = CodePage1252::ToUnicode(AllBytes()) + QString::fromUtf8("€ and more");
    clsDES des;
    const QString secret = des.EncryptString(text, "string key");
    EXPECT_EQ(secret.size(), (text.size() + 12 + 7) / 8 * 8);
    EXPECT_EQ(des.DecryptString(secret), text);
    EXPECT_EQ(clsDES().DecryptString(secret, "string key"), text);

    // Each character of the encrypted form is one ciphertext byte.
    const QByteArray frame =
        OsslCbc(Hex8("737472696e67206b"), CodePage1252::FromUnicode(secret), false);
    EXPECT_EQ(frame.mid(12, text.size()), CodePage1252::FromUnicode(text));
}

TEST(DesString, EmptyTextAndFailures) {
    ScopedPrompter p;
    clsDES des;
    const QString secret = des.EncryptString("", "k");
    EXPECT_EQ(secret.size(), 16);
    EXPECT_EQ(des.DecryptString(secret), QString());

    // A failed decryption has shown its box and gives back what the array then held.
    p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
              MsgIcon::Critical, MsgButtons::OK);
    EXPECT_EQ(des.DecryptString(des.EncryptString("hello", "k"), "other").size(), 24);
    p->Expect(DecryptionBox("Incorrect length in DES decryption"), "Decryption Error",
              MsgIcon::Critical, MsgButtons::OK);
    EXPECT_EQ(des.DecryptString("not encrypted"), QString("not encrypted"));
}

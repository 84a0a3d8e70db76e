#include "DesTestSupport.h"
#include "cipher/modCrypto.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("file key");
const Block8 kKeyBytes = Hex8("66696c65206b6579");

void Write(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(data), data.size());
}

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// Nothing but the named files is left in the folder (no temporary files).
QStringList Entries(const QTemporaryDir& dir) {
    return QDir(dir.path())
        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

TEST(DesFile, FileExists) {
    QTemporaryDir dir;
    const QString file = dir.filePath("a.bin");
    const QString empty = dir.filePath("empty.bin");
    Write(file, "abc");
    Write(empty, "");
    EXPECT_TRUE(FileExists(file));
    EXPECT_TRUE(FileExists(empty));
    EXPECT_FALSE(FileExists(dir.filePath("missing.bin")));
    EXPECT_FALSE(FileExists(dir.path()));
    EXPECT_FALSE(FileExists(QString()));
}

TEST(DesFile, RoundTripReplacingAnExistingDestination) {
    ScopedPrompter p;
    std::mt19937 rng(5);
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.bin");
    const QString secret = dir.filePath("secret.bin");
    const QString back = dir.filePath("back.bin");
    const QByteArray data = RandomBytes(rng, 100003);
    Write(plain, data);
    Write(secret, QByteArray(300000, 'o')); // longer than what replaces it
    Write(back, "old");

    clsDES des;
    des.EncryptFile(plain, secret, kKey);
    const QByteArray cipher = Read(secret);
    ASSERT_EQ(cipher.size(), (data.size() + 12 + 7) / 8 * 8);
    const QByteArray frame = OsslCbc(kKeyBytes, cipher, false);
    EXPECT_EQ(LittleEndian32(frame, 8), data.size());
    EXPECT_EQ(frame.mid(12, data.size()), data);

    clsDES().DecryptFile(secret, back, kKey);
    EXPECT_EQ(Read(back), data);
    EXPECT_EQ(Read(plain), data);
    EXPECT_EQ(Entries(dir), (QStringList{"back.bin", "plain.bin", "secret.bin"}));
}

TEST(DesFile, InPlace) {
    ScopedPrompter p;
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    const QByteArray data("in place, twice over");
    Write(path, data);
    clsDES des;
    des.EncryptFile(path, path, kKey);
    EXPECT_EQ(OsslCbc(kKeyBytes, Read(path), false).mid(12, data.size()), data);
    des.DecryptFile(path, path);
    EXPECT_EQ(Read(path), data);
    EXPECT_EQ(Entries(dir), QStringList{"notes.txt"});
}

TEST(DesFile, MissingSourceRaisesAndWritesNothing) {
    ScopedPrompter p;
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.bin");
    const QString dest = dir.filePath("dest.bin");
    Write(dest, "untouched");
    clsDES des;
    struct Case {
        bool encrypt;
        const char* description;
    };
    for (const Case& c :
         {Case{true, "Error in Skipjack EncryptFile procedure (Source file does not exist)."},
          Case{false, "Error in Skipjack DecryptFile procedure (Source file does not exist)."}}) {
        try {
            if (c.encrypt)
                des.EncryptFile(missing, dest, kKey);
            else
                des.DecryptFile(missing, dest, kKey);
            ADD_FAILURE() << "no error for " << c.description;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), -2147221504);
            EXPECT_EQ(e.Description(), QString(c.description));
            EXPECT_EQ(e.Kind(), ErrorKind::FileNotFound);
            EXPECT_EQ(e.Detail(), missing);
        }
    }
    EXPECT_EQ(Read(dest), QByteArray("untouched"));
    EXPECT_EQ(Entries(dir), QStringList{"dest.bin"});
}

TEST(DesFile, FailedDecryptionKeepsSourceAndDestination) {
    ScopedPrompter p;
    QTemporaryDir dir;
    const QString secret = dir.filePath("secret.bin");
    const QString dest = dir.filePath("dest.bin");
    Write(secret, "data");
    clsDES des;
    des.EncryptFile(secret, secret, kKey);
    const QByteArray cipher = Read(secret);
    Write(dest, "previous");

    for (const QString& target : {dest, secret}) {
        p->Expect(DecryptionBox("Incorrect size descriptor in DES decryption"), "Decryption Error",
                  MsgIcon::Critical, MsgButtons::OK);
        EXPECT_THROW(des.DecryptFile(secret, target, "wrong key"), RuntimeError);
    }
    EXPECT_EQ(Read(secret), cipher);
    EXPECT_EQ(Read(dest), QByteArray("previous"));
    EXPECT_EQ(Entries(dir), (QStringList{"dest.bin", "secret.bin"}));
}

TEST(DesFile, UnwritableDestinationRaises) {
    ScopedPrompter p;
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.bin");
    Write(plain, "data");
    try {
        clsDES().EncryptFile(plain, dir.filePath("no/such/folder/out.bin"), kKey);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Kind(), ErrorKind::FileAccess);
        EXPECT_EQ(e.Number(), 75);
    }
    EXPECT_EQ(Read(plain), QByteArray("data"));
}

#pragma once

#include "common/RuntimeError.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

// DES (FIPS 46-3) under a text key, with a self-describing frame for data of any length:
//   8 random bytes | data length, int32 little-endian | data | zero padding to 8
// chained in CBC mode with a zero IV, so any standard DES-CBC can read it.
class clsDES {
public:
    clsDES() = default;

    // Write-only. The key is the first eight characters of the text in the ANSI code page,
    // zero padded; the subkeys are recomputed only when the text changes.
    void Key(const QString& New_Value);

    // A non-empty Key argument replaces the key for this and later calls. The byte and
    // string forms trap their own errors and show them in a message box.
    void EncryptByte(QByteArray& ByteArray, const QString& Key = {});
    void DecryptByte(QByteArray& ByteArray, const QString& Key = {});
    QString EncryptString(const QString& Text, const QString& Key = {});
    QString DecryptString(const QString& Text, const QString& Key = {});
    // These raise RuntimeError to the caller and never leave a half-written destination.
    void EncryptFile(const QString& SourceFile, const QString& DestFile, const QString& Key = {});
    void DecryptFile(const QString& SourceFile, const QString& DestFile, const QString& Key = {});

    // Raised synchronously, at most once per whole percent, always ending with 100.
    std::function<void(qint32 Percent)> Progress;

private:
    friend struct DesBlockAccess; // lets tests reach the single-block transform

    using Block = std::array<std::uint8_t, 8>;
    void EncryptBlock(Block& block) const;
    void DecryptBlock(Block& block) const;

    // Run the operation, show any error in the message box and hand it back.
    std::optional<RuntimeError> TryTransform(QByteArray& bytes, const QString& key, bool encrypt);
    std::optional<RuntimeError> TryEncrypt(QByteArray& bytes, const QString& key);
    std::optional<RuntimeError> TryDecrypt(QByteArray& bytes, const QString& key);
    void Encrypt(QByteArray& bytes);
    void Decrypt(QByteArray& bytes);
    void TransformFile(const QString& source, const QString& dest, const QString& key,
                       bool encrypt);

    QString keyText_;
    // Per round, the eight 6-bit subkey groups packed and rotated as the round function reads
    // them: the even groups in one word, the odd groups in the next.
    std::array<std::uint32_t, 32> encKeys_{};
    std::array<std::uint32_t, 32> decKeys_{};
};

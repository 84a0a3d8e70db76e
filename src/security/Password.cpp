#include "security/Password.h"

#include <sodium.h>

bool IsPasswordHash(const QString& stored) {
    return stored.startsWith(QLatin1String("$argon2id$"));
}

bool PasswordMatches(const QString& stored, const QString& typed) {
    if (IsPasswordHash(stored)) {
        if (sodium_init() < 0)
            return false;
        const QByteArray hash = stored.toUtf8();
        const QByteArray pass = typed.toUtf8();
        return crypto_pwhash_str_verify(hash.constData(), pass.constData(),
                                        static_cast<unsigned long long>(pass.size())) == 0;
    }
    return stored == typed;
}

QString HashPassword(const QString& password) {
    if (sodium_init() < 0)
        return {};
    const QByteArray pass = password.toUtf8();
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, pass.constData(), static_cast<unsigned long long>(pass.size()),
                          crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        return {};
    return QString::fromLatin1(hash);
}

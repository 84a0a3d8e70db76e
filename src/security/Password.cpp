#include "security/Password.h"

#include <sodium.h>

bool PasswordMatches(const QString& stored, const QString& typed) {
    if (stored.startsWith(QLatin1String("$argon2id$"))) {
        if (sodium_init() < 0)
            return false;
        const QByteArray hash = stored.toUtf8();
        const QByteArray pass = typed.toUtf8();
        return crypto_pwhash_str_verify(hash.constData(), pass.constData(),
                                        static_cast<unsigned long long>(pass.size())) == 0;
    }
    return stored == typed;
}

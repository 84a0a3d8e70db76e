#pragma once

#include <QString>

// The stored password is an Argon2id hash string; a plain text left by an older version
// still counts. The typed text is taken as it is, so case and spaces count.
bool PasswordMatches(const QString& stored, const QString& typed);
bool IsPasswordHash(const QString& stored);
// The hash to store for a password (libsodium's interactive limits); empty when the hash
// could not be made.
QString HashPassword(const QString& password);

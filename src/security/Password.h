#pragma once

#include <QString>

// The stored password as plain text, or an Argon2id hash string; the typed text is taken
// as it is.
bool PasswordMatches(const QString& stored, const QString& typed);

#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>

namespace Sealed {
class Key;
}

// The VFS every connection of the program goes through. A file opened with a key is sealed
// page by page; one opened without is passed to SQLite's own VFS untouched.
namespace SealedVfs {

// Puts the VFS in place as SQLite's default; once, and before the first connection.
void Install();

// The URI that opens path through the VFS, sealed with key when there is one. The key is
// lent for as long as the caller keeps it. extra: more URI parameters ("immutable=1").
QByteArray Uri(const QString& path, const std::shared_ptr<const Sealed::Key>& key,
               const char* extra = nullptr);

// The key of the user's files in this session: set once the password has opened the
// database, so the backups beside it open too.
std::shared_ptr<const Sealed::Key> SessionKey();
void SetSessionKey(std::shared_ptr<const Sealed::Key> key);

// Whether the file at path starts as an encrypted one does.
bool FileIsSealed(const QString& path);
// The session's key for an encrypted file, none for a plain one.
std::shared_ptr<const Sealed::Key> KeyFor(const QString& path);
// Whether key is the one the encrypted file at path was written with.
bool KeyOpensFile(const QString& path, const Sealed::Key& key);

// Pages sealed by this process so far: the progress of a copy that reports none itself.
uint64_t PagesSealed();

} // namespace SealedVfs

#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The database file as the windows know it: its schema brought up to date, its encryption,
// and closed at the end. Opening it and everything else about the file belongs to the
// start-up.
namespace Database {

// The schema version the program requires.
QString RequiredVersion();
// Brings the schema up to date, calling beforeUpgrade once before it changes anything; false
// when the main window must skip its set-up (reported).
bool CheckVersion(const std::function<void()>& beforeUpgrade = {});
void Close();

// What pengkalan.dat is, from its first bytes alone.
enum class FileKind {
    Plain,     // or missing: opened as ever
    Encrypted, // opens with its password
    Damaged,   // encrypted, but its header is not whole
};
FileKind KindOfFile();
// Whether the open database is encrypted.
bool IsEncrypted();

enum class UnlockResult { Opened, WrongPassword };
// Tries the password as the key of the encrypted pengkalan.dat; when it is, the file can be
// opened. Reads the header only: the file is never changed.
UnlockResult Unlock(const QString& password);

// Pages (or backups) done so far and in all; false cancels.
using Progress = std::function<bool(int done, int total)>;
// Writes the open database again encrypted with password (or, with none, in the clear), in
// place of the old file, and the backups after it. The backups that could not be written
// again are removed: their names are returned. A failure before the database is replaced
// leaves everything as it was.
QStringList Encrypt(const QString& password, const Progress& progress = {});
QStringList Decrypt(const Progress& progress = {});
// The damaged files kept aside beside the database that are not encrypted: they are never
// deleted by Pimora, so the user is told.
QStringList PlainCopiesLeft();

} // namespace Database

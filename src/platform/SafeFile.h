#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's contents as a whole: the data goes to a temporary file in the same
// folder, reaches the disk, and is then renamed over the destination. A failure at any
// point leaves the destination as it was and no temporary file behind.
struct FileWriteResult {
    bool ok = false;
    QString error; // the system's reason when not ok
};

// mode: the new file's permission bits; -1 keeps those of the file it replaces (or the
// process default for a new file).
FileWriteResult WriteFileReplacing(const QString& path, const QByteArray& data, int mode = -1);

// Puts a finished file in place under its final name: its data reaches the disk first, then
// the rename with its folder's entry. The destination is replaced when it exists.
FileWriteResult RenameDurably(const QString& from, const QString& to);

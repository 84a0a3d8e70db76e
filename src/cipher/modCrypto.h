#pragma once

#include <QString>

// True when the file's length can be read; a folder or a missing path gives false.
bool FileExists(const QString& path);

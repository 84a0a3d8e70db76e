#include "cipher/modCrypto.h"

#include <QFile>
#include <filesystem>
#include <system_error>

bool FileExists(const QString& path) {
    if (path.isEmpty())
        return false;
    std::error_code ec;
    (void)std::filesystem::file_size(QFile::encodeName(path).toStdString(), ec);
    return !ec;
}

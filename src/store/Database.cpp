#include "store/Database.h"

#include "common/RuntimeError.h"
#include "data/SealedFormat.h"
#include "data/SealedVfs.h"
#include "data/modDB.h"
#include "store/Backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString Database::RequiredVersion() {
    return CURRENT_DB_VERSION;
}

bool Database::CheckVersion(const std::function<void()>& beforeUpgrade) {
    return CheckDBVersion(beforeUpgrade);
}

void Database::Close() {
    CloseDatabase();
}

namespace {

QByteArray HeadOfDatabase() {
    QFile f(DatabaseFile());
    return f.open(QIODevice::ReadOnly) ? f.read(Sealed::kHeaderSize) : QByteArray();
}

QStringList Reseal(const std::shared_ptr<const Sealed::Key>& key,
                   const Database::Progress& progress) {
    if (!gConn)
        throw RuntimeError(91, QStringLiteral("Object variable or With block variable not set"),
                           QStringLiteral("Pimora"));
    const std::shared_ptr<const Sealed::Key> before = gConn->Key();
    gConn->Rewrite(key, progress);
    SealedVfs::SetSessionKey(key);
    return Backups::Reseal(before, key, progress);
}

} // namespace

Database::FileKind Database::KindOfFile() {
    const QByteArray head = HeadOfDatabase();
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    Sealed::Header header;
    switch (Sealed::ReadHeader(bytes, static_cast<size_t>(head.size()), header)) {
    case Sealed::HeaderState::NotSealed:
        return FileKind::Plain;
    case Sealed::HeaderState::Sound:
        return FileKind::Encrypted;
    case Sealed::HeaderState::Damaged:
    case Sealed::HeaderState::OtherVersion:
        break;
    }
    return FileKind::Damaged;
}

bool Database::IsEncrypted() {
    return gConn && gConn->Key();
}

Database::UnlockResult Database::Unlock(const QString& password) {
    const QByteArray head = HeadOfDatabase();
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    Sealed::Header header;
    if (Sealed::ReadHeader(bytes, static_cast<size_t>(head.size()), header) !=
        Sealed::HeaderState::Sound)
        throw RuntimeError(-2147467259,
                           QStringLiteral("The database file '%1' is damaged or was changed "
                                          "outside Pimora: its header does not pass its check.")
                               .arg(DatabaseFile()),
                           QStringLiteral("Pimora"), ErrorKind::Damaged, DatabaseFile());
    const auto key = Sealed::Key::Derive(password.toUtf8(), header.kdf);
    if (!key)
        throw RuntimeError(7, QStringLiteral("Out of memory"), QStringLiteral("Pimora"));
    if (!Sealed::KeyOpens(*key, bytes))
        return UnlockResult::WrongPassword;
    SealedVfs::SetSessionKey(key);
    return UnlockResult::Opened;
}

QStringList Database::Encrypt(const QString& password, const Progress& progress) {
    const auto key = Sealed::Key::Derive(password.toUtf8(), Sealed::Key::FreshParams());
    if (!key)
        throw RuntimeError(7, QStringLiteral("Out of memory"), QStringLiteral("Pimora"));
    return Reseal(key, progress);
}

QStringList Database::Decrypt(const Progress& progress) {
    return Reseal(nullptr, progress);
}

QStringList Database::PlainCopiesLeft() {
    const QFileInfo db(DatabaseFile());
    const QDir folder = db.absoluteDir();
    QStringList plain;
    for (const QString& name :
         folder.entryList({db.fileName() + QStringLiteral(".damaged-*")}, QDir::Files, QDir::Name))
        // Its log and index went aside with it, and go with it.
        if (!name.endsWith(QLatin1String("-wal")) && !name.endsWith(QLatin1String("-shm")) &&
            !SealedVfs::FileIsSealed(folder.filePath(name)))
            plain << name;
    return plain;
}

// The page-open path of the encrypted database. The first byte picks what the rest is:
// 0: a header, read and tried with the key: it must never be taken for one the key wrote;
// 1: a page and the place it is read at, opened as it is: every one is a forgery;
// 2: a page sealed here, then changed where the input says (a byte, its page number, its
//    kind, its file): it opens only when nothing changed, and then as it was;
// 3: pages behind a sound header, read by SQLite through the VFS: no page opens, and nothing
//    crashes on the way.
#include "FuzzSupport.h"

#include "data/SealedFormat.h"
#include "data/SealedVfs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstring>
#include <sqlite3.h>
#include <vector>

namespace {

const Sealed::Key& TheKey() {
    static const std::shared_ptr<const Sealed::Key> key = [] {
        Sealed::KdfParams params;
        params.opslimit = 1;
        params.memlimit = 8192;
        return Sealed::Key::Derive("fuzz", params);
    }();
    if (!key)
        Broken("no key");
    return *key;
}

Sealed::Binding BindingFrom(const uint8_t* data, size_t size) {
    Sealed::Binding b;
    const uint8_t kinds[] = {'D', 'W', 'J'};
    if (size > 0)
        b.kind = kinds[data[0] % 3];
    if (size >= 5)
        std::memcpy(&b.pgno, data + 1, 4);
    if (size >= 13)
        std::memcpy(&b.offset, data + 5, 8);
    return b;
}

void Header(const uint8_t* data, size_t size) {
    Sealed::Header header;
    if (Sealed::ReadHeader(data, size, header) == Sealed::HeaderState::Sound &&
        Sealed::KeyOpens(TheKey(), data))
        Broken("a header the key never wrote was taken for its own");
}

void Forgery(const uint8_t* data, size_t size) {
    if (size < 13)
        return;
    const Sealed::Binding b = BindingFrom(data, 13);
    std::vector<uint8_t> page(data + 13, data + size);
    const std::vector<uint8_t> before = page;
    if (Sealed::OpenPage(TheKey(), b, page.data(), page.size()))
        Broken("a page the key never sealed opened");
    if (page != before)
        Broken("a refused page was changed");
}

void Changed(const uint8_t* data, size_t size) {
    if (size < 20)
        return;
    const Sealed::Binding b = BindingFrom(data, 13);
    const size_t pageSize = size_t(512) << (data[13] % 4);
    std::vector<uint8_t> plain(pageSize, 0);
    std::memcpy(plain.data(), data + 20, std::min(size - 20, pageSize - Sealed::kReserve));
    std::vector<uint8_t> sealed = plain;
    Sealed::SealPage(TheKey(), b, sealed.data(), sealed.size());
    Sealed::Binding read = b;
    std::vector<uint8_t> page = sealed;
    switch (data[14] % 5) {
    case 0: // nothing changed
        break;
    case 1: {
        uint32_t at = 0;
        std::memcpy(&at, data + 15, 4);
        page[at % page.size()] ^= static_cast<uint8_t>(data[19] | 1);
        break;
    }
    case 2:
        read.pgno ^= 1u << (data[15] % 32);
        break;
    case 3:
        read.kind = read.kind == 'D' ? 'W' : 'D';
        break;
    case 4:
        read.fileId[data[15] % read.fileId.size()] ^= static_cast<uint8_t>(data[16] | 1);
        break;
    }
    const bool same =
        page == sealed && read.pgno == b.pgno && read.kind == b.kind && read.fileId == b.fileId;
    const bool opened = Sealed::OpenPage(TheKey(), read, page.data(), page.size());
    if (opened != same)
        Broken(same ? "a sealed page did not open" : "a changed page opened");
    if (opened && page != plain)
        Broken("a page did not open to what was sealed");
}

void ThroughSqlite(const uint8_t* data, size_t size) {
    static const QString path = QDir::temp().filePath(
        QStringLiteral("fuzz-sealed-%1.dat").arg(QCoreApplication::applicationPid()));
    Sealed::Header header;
    const auto head = Sealed::NewHeader(TheKey(), 4096, header);
    QByteArray file(reinterpret_cast<const char*>(head.data()), Sealed::kHeaderSize);
    QByteArray pages(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    pages.resize((pages.size() + 4095) / 4096 * 4096, '\0');
    file += pages;
    {
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            Broken("cannot write the file");
        out.write(file);
    }
    const std::shared_ptr<const Sealed::Key> key(&TheKey(), [](const Sealed::Key*) {});
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(SealedVfs::Uri(path, key, "immutable=1").constData(), &db,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_exec(db, "PRAGMA quick_check", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK && size > 0)
            Broken("pages the key never sealed were read as a database");
    }
    sqlite3_close_v2(db);
    QFile::remove(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    switch (data[0] % 4) {
    case 0:
        Header(data + 1, size - 1);
        break;
    case 1:
        Forgery(data + 1, size - 1);
        break;
    case 2:
        Changed(data + 1, size - 1);
        break;
    case 3:
        ThroughSqlite(data + 1, std::min<size_t>(size - 1, 4 * 4096));
        break;
    }
    return 0;
}

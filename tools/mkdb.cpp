// Builds an SQLite database file from an SQL script: mkdb SCRIPT OUTPUT.
// The file is written beside OUTPUT and renamed into place, so a failed build leaves none.
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mkdb SCRIPT OUTPUT\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "mkdb: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream script;
    script << in.rdbuf();

    const std::string out = argv[2];
    const std::string tmp = out + ".part";
    std::remove(tmp.c_str());
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        std::fprintf(stderr, "mkdb: cannot create %s: %s\n", tmp.c_str(), sqlite3_errmsg(db));
        sqlite3_close(db);
        return 1;
    }
    // Every page keeps room for the seal of an encrypted database (a 24-byte nonce and a
    // 16-byte tag), so turning encryption on is a copy of the pages.
    int reserve = 40;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_RESERVE_BYTES, &reserve);
    char* error = nullptr;
    const std::string all = "BEGIN;\n" + script.str() + "\nCOMMIT;";
    if (sqlite3_exec(db, all.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: %s: %s\n", argv[1], error ? error : "failed");
        sqlite3_free(error);
        sqlite3_close(db);
        std::remove(tmp.c_str());
        return 1;
    }
    sqlite3_close(db);
    if (std::rename(tmp.c_str(), out.c_str()) != 0) {
        std::perror("mkdb: rename");
        std::remove(tmp.c_str());
        return 1;
    }
    return 0;
}

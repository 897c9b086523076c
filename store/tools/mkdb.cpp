// Builds the configuration database from versioned SQL text.
// usage: mkdb OUTPUT.sqlite FILE.sql...
// The file is written under a temporary name and renamed when complete, so a failed
// build never leaves a half-made database behind.
#include <sqlite3.h>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mkdb OUTPUT.sqlite FILE.sql...\n");
        return 2;
    }
    const std::string out = argv[1];
    const std::string tmp = out + ".tmp";
    std::filesystem::remove(tmp);
    sqlite3* db = nullptr;
    if (sqlite3_open(tmp.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: cannot create %s\n", tmp.c_str());
        return 1;
    }
    char* err = nullptr;
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "mkdb: cannot read %s\n", argv[i]);
            sqlite3_close(db);
            return 1;
        }
        std::stringstream ss;
        ss << in.rdbuf();
        if (sqlite3_exec(db, ss.str().c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "mkdb: %s: %s\n", argv[i], err ? err : "error");
            sqlite3_free(err);
            sqlite3_close(db);
            std::filesystem::remove(tmp);
            return 1;
        }
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: commit: %s\n", err ? err : "error");
        sqlite3_close(db);
        return 1;
    }
    // Write-ahead logging: a commit costs one flush of the log instead of several of the file,
    // and stays atomic and durable. The mode is kept in the file.
    if (sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "mkdb: journal mode: %s\n", err ? err : "error");
        sqlite3_close(db);
        return 1;
    }
    sqlite3_close(db);
    std::filesystem::rename(tmp, out);
    return 0;
}

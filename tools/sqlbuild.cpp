// Usage: sqlbuild OUTPUT.db SCRIPT.sql [SCRIPT.sql ...]
// Writes a fresh database: the output is replaced, never appended to.
#include <cstdio>
#include <fstream>
#include <sqlite3.h>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.db SCRIPT.sql [SCRIPT.sql ...]\n", argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    const std::string temporary = output + ".part";
    std::remove(temporary.c_str());

    sqlite3* db = nullptr;
    if (sqlite3_open(temporary.c_str(), &db) != SQLITE_OK) {
        std::fprintf(stderr, "sqlbuild: cannot create %s: %s\n", temporary.c_str(), sqlite3_errmsg(db));
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "sqlbuild: cannot read %s\n", argv[i]);
            sqlite3_close(db);
            return 1;
        }
        std::stringstream text;
        text << in.rdbuf();
        char* message = nullptr;
        if (sqlite3_exec(db, text.str().c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
            std::fprintf(stderr, "sqlbuild: %s: %s\n", argv[i], message ? message : "error");
            sqlite3_free(message);
            sqlite3_close(db);
            return 1;
        }
    }
    sqlite3_exec(db, "VACUUM;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::fprintf(stderr, "sqlbuild: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}

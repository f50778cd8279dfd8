// Helpers shared by the table tests: a scratch directory that disappears
// with the test, files written and read byte for byte, and SQLite databases
// made from SQL scripts.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

class CScratchDir {
public:
    CScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvin-tables-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch directory";
        root = name.data();
    }
    ~CScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    CScratchDir(const CScratchDir &) = delete;
    CScratchDir &operator=(const CScratchDir &) = delete;

    std::string Path(const std::string &name) const { return (root / name).string(); }
    std::string Dir() const { return root.string(); }

    // Writes the bytes as given (no newline translation); returns the path.
    std::string Write(const std::string &name, const std::string &bytes) const {
        std::ofstream out(Path(name), std::ios::binary | std::ios::trunc);
        out << bytes;
        return Path(name);
    }

    std::string Read(const std::string &name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    bool Exists(const std::string &name) const { return std::filesystem::exists(Path(name)); }

    // Creates a database file from an SQL script; returns its path.
    std::string MakeDatabase(const std::string &name, const std::string &script) const {
        sqlite3 *db = nullptr;
        std::string path = Path(name);
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        char *error = nullptr;
        EXPECT_EQ(sqlite3_exec(db, script.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        return path;
    }

    // The rows of a query over a database, each as its columns' values
    // written "type:text" (type i, r, t or null), joined by "|".
    std::vector<std::string> Query(const std::string &name, const std::string &sql) const {
        std::vector<std::string> rows;
        sqlite3 *db = nullptr;
        EXPECT_EQ(sqlite3_open_v2(Path(name).c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
        sqlite3_stmt *statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        while (statement != nullptr && sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                if (c > 0) row += "|";
                row += Describe(statement, c);
            }
            rows.push_back(row);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return rows;
    }

private:
    static std::string Describe(sqlite3_stmt *statement, int column) {
        const unsigned char *text = sqlite3_column_text(statement, column);
        std::string value = text ? reinterpret_cast<const char *>(text) : "";
        switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: return "i:" + value;
        case SQLITE_FLOAT: return "r:" + value;
        case SQLITE_NULL: return "null";
        default: return "t:" + value;
        }
    }

    std::filesystem::path root;
};

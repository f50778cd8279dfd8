// One open SQLite database file, with the prepared statements kept for reuse.
//
// A connection is opened either read-only or read-write, never with the
// right to create the file, in SQLite's defensive mode and without trusting
// functions named in the database's schema. Statements that the tables run
// over and over (a lookup by key in every step of a batch) are prepared once:
// `Acquire` hands out an idle statement for the SQL text or prepares one, and
// `Release` resets it and keeps it for the next call.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "tables/sqlite_table_shape.h"

struct sqlite3;
struct sqlite3_stmt;

class CSqliteConnection {
public:
    // Null when the file does not exist or cannot be opened as a database.
    static std::shared_ptr<CSqliteConnection> Open(const std::string &path, bool writable);
    ~CSqliteConnection();
    CSqliteConnection(const CSqliteConnection &) = delete;
    CSqliteConnection &operator=(const CSqliteConnection &) = delete;

    // An idle statement for `sql`, reset, with no bindings; null when the
    // text does not prepare as exactly one statement.
    sqlite3_stmt *Acquire(const std::string &sql);
    // Gives a statement from Acquire back for reuse.
    void Release(sqlite3_stmt *statement);

    // True while the path still names the file this connection opened (it
    // may have been replaced since).
    bool StillNames(const std::string &path) const;
    // True when the database file is the file with this device and inode.
    bool IsFile(uint64_t device, uint64_t inode) const { return fileDevice == device && fileInode == inode; }

    sqlite3 *Handle() const { return db; }

    // A table's columns and what follows from them; no columns when there
    // is no such table. Reading them runs a pragma that SQLite prepares anew
    // each time, so they are kept until the schema's version (which every
    // change of a definition counts) moves. A shape handed out stays valid
    // for its holder after that; it is only no longer the current one.
    std::shared_ptr<CSqliteTableShape> TableShape(const std::string &tableName);

private:
    CSqliteConnection(sqlite3 *database, dev_t device, ino_t inode);

    sqlite3 *db;
    dev_t fileDevice;
    ino_t fileInode;
    // The kept statements by SQL text, and those of them handed out. A
    // statement given back is found by its address, so its text need not be
    // read out and hashed again.
    struct CKeptStatement {
        sqlite3_stmt *statement = nullptr;
        bool busy = false;
    };
    std::unordered_map<std::string, CKeptStatement> kept;
    std::unordered_map<sqlite3_stmt *, CKeptStatement *> handedOut;
    // Shapes of the tables asked for, read at the schema version below.
    std::unordered_map<std::string, std::shared_ptr<CSqliteTableShape>> shapes;
    int64_t shapesVersion = -1;
};

// Prepares exactly one statement: 2 (and a null statement) when the text has
// an error, holds no statement, or has a second statement after the first.
int PrepareSingleStatement(sqlite3 *db, const std::string &sql, sqlite3_stmt *&statement);

// The text of a column of the statement's current row; "" for NULL.
const char *ColumnText(sqlite3_stmt *statement, int column);

// The text in double quotes, with inner quotes doubled: a name SQL reads
// literally whatever characters it holds.
std::string QuoteIdentifier(const char *name);

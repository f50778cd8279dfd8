#include "tables/sqlite_connection.h"

#include <sqlite3.h>
#include <sys/stat.h>

namespace {

constexpr int kBusyTimeoutMs = 5000;

bool StatFile(const std::string &path, struct stat &info) {
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// True when the text from `tail` on holds no further statement (only blanks,
// comments and semicolons).
bool OnlyEmptyStatementsFollow(sqlite3 *db, const char *tail) {
    while (tail != nullptr && *tail != '\0') {
        sqlite3_stmt *extra = nullptr;
        const char *next = nullptr;
        int rc = sqlite3_prepare_v2(db, tail, -1, &extra, &next);
        if (rc != SQLITE_OK) return false;
        if (extra != nullptr) {
            sqlite3_finalize(extra);
            return false;
        }
        if (next == tail) return false;  // no progress: refuse rather than loop
        tail = next;
    }
    return true;
}

}  // namespace

int PrepareSingleStatement(sqlite3 *db, const std::string &sql, sqlite3_stmt *&statement) {
    statement = nullptr;
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()) + 1, &statement, &tail) != SQLITE_OK ||
        statement == nullptr || !OnlyEmptyStatementsFollow(db, tail)) {
        sqlite3_finalize(statement);
        statement = nullptr;
        return 2;
    }
    return 0;
}

std::string QuoteIdentifier(const char *name) {
    std::string quoted = "\"";
    for (const char *c = name; *c != '\0'; ++c) {
        if (*c == '"') quoted += '"';
        quoted += *c;
    }
    return quoted + "\"";
}

std::shared_ptr<CSqliteConnection> CSqliteConnection::Open(const std::string &path, bool writable) {
    // SQLite would create a missing file only with SQLITE_OPEN_CREATE, which
    // is never passed; the check also refuses directories and devices.
    struct stat info;
    if (path.empty() || !StatFile(path, info)) return nullptr;
    // A connection belongs to one engine, which one thread uses at a time
    // (every consultation, session and check has its own): SQLite need not
    // lock it around every call, a fiftieth of a batch case read from it.
    int flags = (writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX;
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // A file that is not a database opens fine and fails at the first read.
    if (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return nullptr;
    }
    return std::shared_ptr<CSqliteConnection>(new CSqliteConnection(db, info.st_dev, info.st_ino));
}

CSqliteConnection::CSqliteConnection(sqlite3 *database, dev_t device, ino_t inode)
    : db(database), fileDevice(device), fileInode(inode) {}

CSqliteConnection::~CSqliteConnection() {
    for (auto &entry : kept) sqlite3_finalize(entry.second.statement);
    sqlite3_close(db);
}

sqlite3_stmt *CSqliteConnection::Acquire(const std::string &sql) {
    auto found = kept.find(sql);
    if (found != kept.end() && !found->second.busy) {
        found->second.busy = true;
        handedOut.emplace(found->second.statement, &found->second);
        return found->second.statement;
    }
    sqlite3_stmt *statement = nullptr;
    PrepareSingleStatement(db, sql, statement);
    return statement;
}

void CSqliteConnection::Release(sqlite3_stmt *statement) {
    if (statement == nullptr) return;
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    auto out = handedOut.find(statement);
    if (out != handedOut.end()) {
        out->second->busy = false;
        handedOut.erase(out);
        return;
    }
    // A statement prepared while the kept one of its text was in use, or
    // the first of its text: kept when there is none yet.
    std::string sql = sqlite3_sql(statement);
    auto [entry, added] = kept.try_emplace(sql);
    if (!added) {
        sqlite3_finalize(statement);
        return;
    }
    entry->second.statement = statement;
}

const char *ColumnText(sqlite3_stmt *statement, int column) {
    const unsigned char *text = sqlite3_column_text(statement, column);
    return text == nullptr ? "" : reinterpret_cast<const char *>(text);
}

std::shared_ptr<CSqliteTableShape> CSqliteConnection::TableShape(const std::string &tableName) {
    int64_t version = -1;
    if (sqlite3_stmt *schema = Acquire("PRAGMA schema_version")) {
        if (sqlite3_step(schema) == SQLITE_ROW) version = sqlite3_column_int64(schema, 0);
        Release(schema);
    }
    // Without a version nothing is kept: the columns are read every time.
    if (version < 0 || version != shapesVersion) shapes.clear();
    shapesVersion = version;
    auto known = shapes.find(tableName);
    if (known != shapes.end() && version >= 0) return known->second;
    CSqliteTableShape::CColumnInfo columns;
    if (sqlite3_stmt *statement = Acquire("SELECT name, type FROM pragma_table_info(?1)")) {
        sqlite3_bind_text(statement, 1, tableName.c_str(), static_cast<int>(tableName.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW)
            columns.emplace_back(ColumnText(statement, 0), ColumnText(statement, 1));
        Release(statement);
    }
    auto shape = std::make_shared<CSqliteTableShape>(tableName, std::move(columns));
    shapes[tableName] = shape;
    return shape;
}

bool CSqliteConnection::StillNames(const std::string &path) const {
    // SQLite tells whether its file was deleted or renamed since it opened
    // it; the comparison of the file numbers catches a file moved in over it.
    int moved = 1;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || moved) return false;
    struct stat info;
    return StatFile(path, info) && info.st_dev == fileDevice && info.st_ino == fileInode;
}

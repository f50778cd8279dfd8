#include "tables/sqlite_engine.h"

#include <sqlite3.h>
#include <strings.h>

#include <optional>
#include <vector>

#include "foundation/option_store.h"
#include "foundation/written_file_name.h"
#include "foundation/safe_file.h"
#include "tables/sqlite_connection.h"
#include "tables/sqlite_values.h"
#include "tables/field_names.h"
#include "tables/table_environment.h"

namespace {

int BindValue(sqlite3_stmt *statement, int index, const CSqliteValue &value) {
    switch (value.kind) {
    case CSqliteValue::Kind::Integer: return sqlite3_bind_int64(statement, index, value.integer);
    case CSqliteValue::Kind::Real: return sqlite3_bind_double(statement, index, value.real);
    case CSqliteValue::Kind::Text:
        return sqlite3_bind_text(statement, index, value.text.c_str(), static_cast<int>(value.text.size()),
                                 SQLITE_TRANSIENT);
    case CSqliteValue::Kind::Null: break;
    }
    return sqlite3_bind_null(statement, index);
}

// A table of an SQLite database, opened for reading or appending.
class CSqliteTable : public CEngineTable {
public:
    CSqliteTable(std::shared_ptr<CSqliteConnection> connection, std::string tableName,
                 std::shared_ptr<CSqliteTableShape> tableShape)
        : db(std::move(connection)), name(std::move(tableName)), shape(std::move(tableShape)),
          fields(shape->Fields()) {}
    ~CSqliteTable() override { Close(); }

    int32_t FieldNames(CStringVector &names) override {
        if (!db) return 2;
        names.Reset();
        for (int32_t i = 0; i < shape->Names().Count(); ++i) names.Add(shape->Names().At(i));
        return 0;
    }

    int32_t SetFilter(const CString &keyColumn, const CString &keyValue) override {
        int32_t key = -1;
        if (!db || FindField(keyColumn, key) != 0) return 2;
        ReleaseCursor();
        cursor = db->Acquire(shape->FilteredSelectText(static_cast<size_t>(key)));
        if (cursor == nullptr) return 2;
        return sqlite3_bind_text(cursor, 1, keyValue.Text(), keyValue.Length(), SQLITE_TRANSIENT) == SQLITE_OK ? 0 : 2;
    }

    int32_t First() override {
        if (!db) return 2;
        if (cursor == nullptr) cursor = db->Acquire(shape->SelectText());
        if (cursor == nullptr) return 2;
        sqlite3_reset(cursor);
        hasRow = sqlite3_step(cursor) == SQLITE_ROW;
        return hasRow ? 0 : 2;
    }

    int32_t FieldCount() override { return static_cast<int32_t>(fields.size()); }

    bool IsNull(int32_t position) override {
        return OnRecord(position) && sqlite3_column_type(cursor, position) == SQLITE_NULL;
    }

    int32_t FieldText(int32_t position, CString &text) override {
        if (!OnRecord(position)) return 2;
        text = ColumnText(cursor, position);
        return 0;
    }

    int32_t Append() override {
        if (!db) return 2;
        pending.assign(fields.size(), std::nullopt);
        appending = true;
        return 0;
    }

    int32_t FindField(const CString &fieldName, int32_t &position) override {
        for (size_t i = 0; i < fields.size(); ++i) {
            // SQLite's own names are case-insensitive
            if (!fieldName.IsEmpty() && strcasecmp(fields[i].name.c_str(), fieldName.Text()) == 0) {
                position = static_cast<int32_t>(i);
                return 0;
            }
        }
        return 2;
    }

    int32_t SetFieldText(int32_t position, const CString &text) override {
        if (!appending || position < 0 || position >= FieldCount()) return 2;
        pending[position] = ValueForField(fields[position].affinity, text.Text());
        return 0;
    }

    int32_t Post() override {
        if (!db || !appending) return 2;
        appending = false;
        std::string columns, marks;
        std::vector<const CSqliteValue *> values;
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!pending[i]) continue;
            columns += (values.empty() ? "" : ", ") + QuoteIdentifier(fields[i].name.c_str());
            marks += values.empty() ? "?" : ", ?";
            values.push_back(&*pending[i]);
        }
        std::string sql = "INSERT INTO " + QuoteIdentifier(name.c_str());
        sql += values.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + marks + ")";
        sqlite3_stmt *insert = db->Acquire(sql);
        if (insert == nullptr) return 2;
        bool bound = true;
        for (size_t i = 0; i < values.size(); ++i)
            bound = bound && BindValue(insert, static_cast<int>(i) + 1, *values[i]) == SQLITE_OK;
        bool stored = bound && sqlite3_step(insert) == SQLITE_DONE;
        db->Release(insert);
        return stored ? 0 : 2;
    }

    void Close() override {
        ReleaseCursor();
        db.reset();
        appending = false;
    }

private:
    bool OnRecord(int32_t position) const {
        return hasRow && position >= 0 && static_cast<size_t>(position) < fields.size();
    }

    void ReleaseCursor() {
        if (db && cursor != nullptr) db->Release(cursor);
        cursor = nullptr;
        hasRow = false;
    }

    std::shared_ptr<CSqliteConnection> db;  // null once closed
    std::string name;
    std::shared_ptr<CSqliteTableShape> shape;  // kept by the connection while the schema stays
    const std::vector<CSqliteField> &fields;   // the shape's
    sqlite3_stmt *cursor = nullptr;  // the filtered selection
    bool hasRow = false;
    std::vector<std::optional<CSqliteValue>> pending;  // the appended record
    bool appending = false;
};

// The rows of one reading statement.
class CSqliteQuery : public CEngineQuery {
public:
    CSqliteQuery(std::shared_ptr<CSqliteConnection> connection, sqlite3_stmt *prepared)
        : db(std::move(connection)), statement(prepared) {}
    ~CSqliteQuery() override { CloseQuery(); }

    int32_t NextRow(bool &hasRow) override {
        hasRow = false;
        if (statement == nullptr) return 2;
        int rc = sqlite3_step(statement);
        hasRow = rc == SQLITE_ROW;
        return hasRow || rc == SQLITE_DONE ? 0 : 2;
    }

    int32_t FirstColumnText(CString &text) override {
        if (statement == nullptr || sqlite3_data_count(statement) == 0) return 2;
        text = ColumnText(statement, 0);
        return 0;
    }

    void CloseQuery() override {
        sqlite3_finalize(statement);
        statement = nullptr;
        db.reset();
    }

private:
    std::shared_ptr<CSqliteConnection> db;
    sqlite3_stmt *statement;
};

// The shape of a table; no fields when it does not exist.
std::shared_ptr<CSqliteTableShape> ReadShape(CSqliteConnection &db, const std::string &tableName) {
    // A name with a NUL in it names no table; SQLite would stop at the NUL.
    if (tableName.find('\0') != std::string::npos)
        return std::make_shared<CSqliteTableShape>(tableName, CSqliteTableShape::CColumnInfo());
    return db.TableShape(tableName);
}

// The fields of a table in declaration order, with their declared types;
// none when it does not exist.
std::vector<CSqliteField> ReadFields(CSqliteConnection &db, const std::string &tableName,
                                     std::vector<CEngineField> *declared = nullptr) {
    const std::shared_ptr<CSqliteTableShape> shape = ReadShape(db, tableName);
    if (declared != nullptr)
        for (const auto &[name, type] : shape->Columns()) declared->push_back({name, type});
    return shape->Fields();
}

std::optional<std::string> ColumnValue(sqlite3_stmt *statement, int column) {
    if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
    return std::string(ColumnText(statement, column),
                       static_cast<size_t>(sqlite3_column_bytes(statement, column)));
}

}  // namespace

CSqliteEngine::CSqliteEngine(const CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

CSqliteEngine::~CSqliteEngine() = default;

std::string CSqliteEngine::DatabasePath(const CString &alias) const {
    if (alias.IsEmpty()) return std::string();
    std::string defined;
    if (environment.aliasStore != nullptr &&
        environment.aliasStore->ReadText(CTableEnvironment::kAliasKey, alias.Text(), defined))
        return environment.ResolvePath(CString(defined.c_str()));
    return environment.ResolvePath(alias);
}

void CSqliteEngine::ReleaseConnections() {
    for (auto entry = connections.begin(); entry != connections.end();) {
        if (entry->second.use_count() == 1)
            entry = connections.erase(entry);
        else
            ++entry;
    }
}

bool CSqliteEngine::IsDefinedAlias(const CString &alias) const {
    std::string defined;
    return environment.aliasStore != nullptr &&
           environment.aliasStore->ReadText(CTableEnvironment::kAliasKey, alias.Text(), defined);
}

bool CSqliteEngine::MayAppendTo(const CString &alias, uint64_t &device, uint64_t &inode) {
    if (!IsWritableFileName(alias.Text())) {
        lastFailure = kOutsideFolderReason;
        return false;
    }
    return quorvin::CheckExistingFile(environment.baseDirectory.Text(), alias.Text(), device, inode, lastFailure);
}

std::shared_ptr<CSqliteConnection> CSqliteEngine::Connection(const CString &alias, bool writable) {
    std::string path = DatabasePath(alias);
    if (path.empty()) return nullptr;
    uint64_t device = 0, inode = 0;
    const bool checked = writable && !IsDefinedAlias(alias);
    if (checked && !MayAppendTo(alias, device, inode)) return nullptr;
    std::string key = (writable ? "rw:" : "ro:") + path;
    auto cached = connections.find(key);
    std::shared_ptr<CSqliteConnection> opened;
    if (cached != connections.end() && cached->second->StillNames(path))
        opened = cached->second;
    else
        opened = CSqliteConnection::Open(path, writable);
    // What opened must be the file that was checked, not one put in its place.
    if (opened && checked && !opened->IsFile(device, inode)) {
        lastFailure = "the database file changed while it was opened";
        opened.reset();
    }
    if (opened)
        connections[key] = opened;
    else
        connections.erase(key);
    if (!opened && lastFailure.empty()) lastFailure = "cannot open the database " + path;
    return opened;
}

int32_t CSqliteEngine::OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                                 std::unique_ptr<CEngineTable> &table) {
    table.reset();
    lastFailure.clear();
    if (tableName.IsEmpty()) return 2;
    std::shared_ptr<CSqliteConnection> db = Connection(alias, access == CEngineAccess::Append);
    if (!db) return 2;
    std::shared_ptr<CSqliteTableShape> shape = ReadShape(*db, tableName.Text());
    if (shape->Fields().empty()) {
        lastFailure = std::string("no table ") + tableName.Text();
        return 2;
    }
    table = std::make_unique<CSqliteTable>(std::move(db), tableName.Text(), std::move(shape));
    return 0;
}

int32_t CSqliteEngine::RunQuery(const CString &alias, const CString &queryText,
                                std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    lastFailure.clear();
    std::shared_ptr<CSqliteConnection> db = Connection(alias, false);
    if (!db) return 2;
    sqlite3_stmt *statement = nullptr;
    if (PrepareSingleStatement(db->Handle(), queryText.Text(), statement) != 0) return 2;
    if (!sqlite3_stmt_readonly(statement)) {
        sqlite3_finalize(statement);
        return 2;
    }
    query = std::make_unique<CSqliteQuery>(std::move(db), statement);
    return 0;
}

int32_t CSqliteEngine::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                   const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    lastFailure.clear();
    std::shared_ptr<CSqliteConnection> db = Connection(alias, false);
    if (!db) return 2;
    // SQLite reads a quoted name that is no column as a text: the key column
    // must be one of the table's.
    const std::vector<CSqliteField> fields = ReadFields(*db, tableName.Text());
    const int key = FieldIndex(fields, keyColumn.Text());
    if (key < 0) {
        lastFailure = std::string("no field ") + keyColumn.Text() + " in table " + tableName.Text();
        return 2;
    }
    std::string sql = "SELECT " + QuoteIdentifier(fields[key].name.c_str()) + " FROM " + QuoteIdentifier(tableName.Text());
    if (!condition.IsEmpty()) sql += std::string(" WHERE ") + condition.Text();
    return RunQuery(alias, CString(sql.c_str()), query);
}

int32_t CSqliteEngine::ListTables(const CString &alias, std::vector<std::string> &tables) {
    tables.clear();
    lastFailure.clear();
    std::shared_ptr<CSqliteConnection> db = Connection(alias, false);
    if (!db) return 2;
    sqlite3_stmt *names = db->Acquire(
        "SELECT name FROM sqlite_schema WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite!_%' ESCAPE '!' "
        "ORDER BY name");
    if (names == nullptr) return 2;
    while (sqlite3_step(names) == SQLITE_ROW) tables.push_back(ColumnText(names, 0));
    db->Release(names);
    return 0;
}

int32_t CSqliteEngine::ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) {
    fields.clear();
    lastFailure.clear();
    std::shared_ptr<CSqliteConnection> db = Connection(alias, false);
    if (!db) return 2;
    if (ReadFields(*db, tableName.Text(), &fields).empty()) {
        lastFailure = std::string("no table ") + tableName.Text();
        return 2;
    }
    return 0;
}

int32_t CSqliteEngine::QueryRecords(const CString &alias, const CRecordQuery &request, CRecordPage &page) {
    page = CRecordPage();
    lastFailure.clear();
    std::shared_ptr<CSqliteConnection> db = Connection(alias, false);
    if (!db) return 2;
    const std::vector<CSqliteField> fields = ReadFields(*db, request.table);
    if (fields.empty()) {
        lastFailure = "no table " + request.table;
        return 2;
    }
    std::string columns;
    for (const CSqliteField &field : fields) {
        columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(field.name.c_str());
        page.columns.push_back(field.name);
    }
    std::string sql = "SELECT " + columns + " FROM " + QuoteIdentifier(request.table.c_str());
    const int field = FieldIndex(fields, request.field);
    if (!request.field.empty() && field < 0) {
        lastFailure = "no field " + request.field + " in table " + request.table;
        return 2;
    }
    if (field >= 0)
        sql += " WHERE " + QuoteIdentifier(fields[field].name.c_str()) + " " + ComparisonOperator(request.comparison) +
               " ?3";
    sql += " LIMIT ?1 OFFSET ?2";
    sqlite3_stmt *rows = db->Acquire(sql);
    if (rows == nullptr) return 2;
    sqlite3_bind_int64(rows, 1, static_cast<int64_t>(request.limit) + 1);
    sqlite3_bind_int64(rows, 2, request.offset);
    if (field >= 0)
        sqlite3_bind_text(rows, 3, request.value.c_str(), static_cast<int>(request.value.size()), SQLITE_TRANSIENT);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(rows)) == SQLITE_ROW) {
        if (static_cast<int64_t>(page.rows.size()) == request.limit) {
            page.more = true;
            break;
        }
        std::vector<std::optional<std::string>> values;
        for (size_t column = 0; column < fields.size(); ++column)
            values.push_back(ColumnValue(rows, static_cast<int>(column)));
        page.rows.push_back(std::move(values));
    }
    db->Release(rows);
    return rc == SQLITE_ROW || rc == SQLITE_DONE ? 0 : 2;
}

namespace {

bool RunStatement(CSqliteConnection &db, const char *sql) {
    return sqlite3_exec(db.Handle(), sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

int32_t CSqliteEngine::BeginAppending(const CString &alias) {
    lastFailure.clear();
    if (appendGroups.count(alias.Text()) != 0) return 2;
    std::shared_ptr<CSqliteConnection> db = Connection(alias, true);
    // IMMEDIATE takes the write lock now, so another writer waits here (up
    // to the busy timeout) rather than fail in the middle of the group.
    if (!db || !RunStatement(*db, "BEGIN IMMEDIATE")) {
        if (lastFailure.empty()) lastFailure = "cannot start writing the database";
        return 2;
    }
    appendGroups[alias.Text()] = std::move(db);
    return 0;
}

int32_t CSqliteEngine::EndAppending(const CString &alias) {
    lastFailure.clear();
    auto group = appendGroups.find(alias.Text());
    if (group == appendGroups.end()) return 2;
    std::shared_ptr<CSqliteConnection> db = std::move(group->second);
    appendGroups.erase(group);
    // An error that rolled the transaction back already leaves none to end.
    if (sqlite3_get_autocommit(db->Handle()) != 0) return 0;
    if (RunStatement(*db, "COMMIT")) return 0;
    lastFailure = sqlite3_errmsg(db->Handle());
    RunStatement(*db, "ROLLBACK");
    return 2;
}

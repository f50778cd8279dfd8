#include "tables/postgres_engine.h"

#include <strings.h>

#include <map>
#include <optional>
#include <vector>

#include "tables/postgres_connection.h"
#include "tables/postgres_values.h"
#include "tables/field_names.h"
#include "tables/table_environment.h"

struct CPgField {
    std::string name;
    std::string type;
    CPgFieldKind kind;
};

struct CPgTableInfo {
    std::string quotedName;  // schema and table, quoted
    std::vector<CPgField> fields;

    // What reading keeps of a table between records (see OpenTable): the
    // connection it was looked up on, its field names, the reading
    // statement of each key field, and whether a record found the table
    // changed since.
    std::weak_ptr<CPgConnection> lookedUpOn;
    std::vector<CString> names;
    std::map<int, std::string> selectByKey;
    bool stale = false;
};

namespace {

constexpr const char *kRelationKinds = "c.relkind IN ('r', 'v', 'm', 'p', 'f')";

std::string Value(const PGresult *result, int row, int column) {
    return std::string(PQgetvalue(result, row, column), PQgetlength(result, row, column));
}

std::string ColumnList(const CPgConnection &db, const std::vector<CPgField> &fields) {
    std::string columns;
    for (const CPgField &field : fields) columns += (columns.empty() ? "" : ", ") + db.QuoteIdentifier(field.name);
    return columns;
}

// A table of a server, opened for reading or appending.
class CPgTable : public CEngineTable {
public:
    // `kept`: the table's description was looked up before, not just now.
    // A failure to read is said in `failure` (the engine's, which outlives
    // its tables), naming the database by `alias`.
    CPgTable(std::shared_ptr<CPgConnection> connection, std::shared_ptr<CPgTableInfo> table, bool kept,
             std::string *failure, const CString &alias)
        : db(std::move(connection)), info(std::move(table)), wasKept(kept), engineFailure(failure),
          databaseAlias(alias) {}
    ~CPgTable() override { Close(); }

    int32_t FieldNames(CStringVector &names) override {
        if (!db) return 2;
        names.Reset();
        if (info->names.size() != info->fields.size()) {
            info->names.clear();
            for (const CPgField &field : info->fields) info->names.emplace_back(field.name.c_str());
        }
        for (const CString &name : info->names) names.Add(name);
        return 0;
    }

    int32_t SetFilter(const CString &keyColumn, const CString &keyValue) override {
        const int key = FieldIndex(info->fields, keyColumn.Text());
        if (!db || key < 0) return 2;
        // Every column, so that a record shows whether the table still has
        // the fields it was opened with.
        auto [select, added] = info->selectByKey.try_emplace(key);
        if (added)
            select->second = "SELECT * FROM " + info->quotedName + " WHERE " +
                             db->QuoteIdentifier(info->fields[key].name) + " = $1 LIMIT 1";
        filterSql = &select->second;
        filterValue = keyValue.Text();
        return 0;
    }

    int32_t First() override {
        if (!db || filterSql == nullptr) return 2;
        rows = db->Run(*filterSql, {filterValue});
        if (Succeeded(rows) && HasTheFields(rows.get())) return PQntuples(rows.get()) > 0 ? 0 : 2;
        // The table changed since it was looked up (a column added, dropped
        // or renamed, the table dropped), or the statement failed: the next
        // opening looks the table up again. A lost connection is not
        // retried: the batch ends on it.
        rows.reset();
        info->stale = true;
        if (engineFailure != nullptr)
            *engineFailure = "database " + WithoutPassword(databaseAlias.Text()) + ": " + db->LastError();
        db->Forget(*filterSql);
        return wasKept && !db->Broken() ? kEngineTableChanged : 2;
    }

    int32_t FieldCount() override { return static_cast<int32_t>(info->fields.size()); }

    bool IsNull(int32_t position) override { return OnRecord(position) && PQgetisnull(rows.get(), 0, position); }

    int32_t FieldText(int32_t position, CString &text) override {
        if (!OnRecord(position)) return 2;
        // libpq ends every value with a zero byte; a text value holds none.
        text = PQgetvalue(rows.get(), 0, position);
        return 0;
    }

    int32_t Append() override {
        if (!db) return 2;
        pending.assign(info->fields.size(), CPgFieldValue());
        appending = true;
        return 0;
    }

    int32_t FindField(const CString &fieldName, int32_t &position) override {
        const int found = FieldIndex(info->fields, fieldName.Text());
        if (found < 0) return 2;
        position = found;
        return 0;
    }

    int32_t SetFieldText(int32_t position, const CString &text) override {
        if (!appending || position < 0 || position >= FieldCount()) return 2;
        pending[position] = PgValueForField(info->fields[position].kind, text.Text());
        return pending[position].set ? 0 : 2;
    }

    int32_t Post() override {
        if (!db || !appending) return 2;
        appending = false;
        std::string columns, marks;
        CPgParams values;
        for (size_t i = 0; i < info->fields.size(); ++i) {
            if (!pending[i].set) continue;
            columns += (values.empty() ? "" : ", ") + db->QuoteIdentifier(info->fields[i].name);
            values.push_back(pending[i].text);
            marks += (values.size() == 1 ? "$" : ", $") + std::to_string(values.size());
        }
        std::string sql = "INSERT INTO " + info->quotedName;
        sql += values.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + marks + ")";
        if (Succeeded(db->Run(sql, values))) return 0;
        // A failed statement stored nothing (each record is committed by
        // itself). The table kept from an earlier record may have changed:
        // the caller opens it again, looked up afresh.
        if (!wasKept || db->Broken()) return 2;
        info->stale = true;
        db->Forget(sql);
        return kEngineTableChanged;
    }

    void Close() override {
        rows.reset();
        db.reset();
        appending = false;
    }

private:
    bool OnRecord(int32_t position) const {
        return rows && PQntuples(rows.get()) > 0 && position >= 0 && static_cast<size_t>(position) < info->fields.size();
    }

    // Whether the result has the table's fields as they were looked up.
    bool HasTheFields(const PGresult *result) const {
        if (PQnfields(result) != static_cast<int>(info->fields.size())) return false;
        for (size_t i = 0; i < info->fields.size(); ++i)
            if (info->fields[i].name != PQfname(result, static_cast<int>(i))) return false;
        return true;
    }

    std::shared_ptr<CPgConnection> db;  // null once closed
    std::shared_ptr<CPgTableInfo> info;
    bool wasKept;
    std::string *engineFailure;
    CString databaseAlias;
    const std::string *filterSql = nullptr;  // kept in `info`
    std::string filterValue;
    CPgResult rows;
    std::vector<CPgFieldValue> pending;
    bool appending = false;
};

// The rows of one reading statement, fetched one at a time inside a read-only
// transaction that ends with the query.
class CPgQuery : public CEngineQuery {
public:
    CPgQuery(std::shared_ptr<CPgConnection> connection, CPgResult first)
        : db(std::move(connection)), next(std::move(first)) {}
    ~CPgQuery() override { CloseQuery(); }

    int32_t NextRow(bool &hasRow) override {
        hasRow = false;
        current.reset();
        if (!db) return 2;
        CPgResult result = next ? std::move(next) : CPgResult(PQgetResult(db->Handle()));
        if (!result) return 0;  // every row read
        const ExecStatusType status = PQresultStatus(result.get());
        if (status == PGRES_SINGLE_TUPLE) {
            current = std::move(result);
            hasRow = true;
            return 0;
        }
        return status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK ? 0 : 2;
    }

    int32_t FirstColumnText(CString &text) override {
        if (!current || PQnfields(current.get()) == 0) return 2;
        text = PQgetisnull(current.get(), 0, 0) ? "" : Value(current.get(), 0, 0).c_str();
        return 0;
    }

    void CloseQuery() override {
        if (!db) return;
        current.reset();
        next.reset();
        // Rows not read are not wanted: ask the server to stop sending them.
        if (PQtransactionStatus(db->Handle()) == PQTRANS_ACTIVE) {
            if (PGcancel *cancel = PQgetCancel(db->Handle())) {
                char error[256];
                PQcancel(cancel, error, sizeof error);
                PQfreeCancel(cancel);
            }
        }
        while (PGresult *rest = PQgetResult(db->Handle())) PQclear(rest);
        db->RunOnce("ROLLBACK");
        db.reset();
    }

private:
    std::shared_ptr<CPgConnection> db;
    CPgResult next;     // fetched, not yet handed out
    CPgResult current;  // the current row
};

}  // namespace

CPostgresEngine::CPostgresEngine(const CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

CPostgresEngine::~CPostgresEngine() = default;

int32_t CPostgresEngine::Fail(const std::string &reason) {
    lastFailure = reason;
    return 2;
}

std::shared_ptr<CPgConnection> CPostgresEngine::Connection(const CString &alias) {
    const CDatabaseLocation where = environment.Locate(alias);
    if (where.location.empty()) return nullptr;
    auto cached = connections.find(where.location);
    if (cached != connections.end() && !cached->second->Broken()) return cached->second;
    std::string reason;
    std::shared_ptr<CPgConnection> opened = CPgConnection::Open(where.location, reason);
    if (!opened) {
        // The callers name the database; the reason is the server's.
        lastFailure = "cannot connect: " + reason;
        if (cached != connections.end()) connections.erase(cached);
        return nullptr;
    }
    connections[where.location] = opened;
    return opened;
}

bool CPostgresEngine::ConnectionLost(const CString &alias) const {
    auto cached = connections.find(environment.Locate(alias).location);
    return cached != connections.end() && cached->second->Broken();
}

bool CPostgresEngine::FindTable(CPgConnection &db, const CString &alias, const std::string &tableName,
                                CPgTableInfo &info) {
    const std::string missing = "no table " + tableName + " in database " + WithoutPassword(alias.Text());
    if (tableName.empty() || tableName.find('\0') != std::string::npos) return Fail(missing) == 0;
    CPgResult table = db.Run(std::string("SELECT c.oid, n.nspname, c.relname FROM pg_catalog.pg_class c "
                                         "JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace WHERE ") +
                                 kRelationKinds +
                                 " AND pg_catalog.pg_table_is_visible(c.oid) AND lower(c.relname) = lower($1::text) "
                                 "ORDER BY c.relname = $1::text DESC, c.relname LIMIT 1",
                             {tableName});
    if (!Succeeded(table)) return Fail("database " + WithoutPassword(alias.Text()) + ": " + db.LastError()) == 0;
    if (PQntuples(table.get()) == 0) return Fail(missing) == 0;
    info.quotedName = db.QuoteIdentifier(Value(table.get(), 0, 1)) + "." + db.QuoteIdentifier(Value(table.get(), 0, 2));
    CPgResult columns = db.Run("SELECT a.attname, pg_catalog.format_type(a.atttypid, a.atttypmod), t.typcategory, "
                               "t.typname FROM pg_catalog.pg_attribute a JOIN pg_catalog.pg_type t ON t.oid = a.atttypid "
                               "WHERE a.attrelid = $1::oid AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum",
                               {Value(table.get(), 0, 0)});
    if (!Succeeded(columns)) return Fail("database " + WithoutPassword(alias.Text()) + ": " + db.LastError()) == 0;
    info.fields.clear();
    for (int row = 0; row < PQntuples(columns.get()); ++row) {
        const std::string type = Value(columns.get(), row, 1);
        info.fields.push_back({Value(columns.get(), row, 0), type, PgFieldKind(Value(columns.get(), row, 2), type)});
    }
    return true;
}

int32_t CPostgresEngine::OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                                   std::unique_ptr<CEngineTable> &table) {
    table.reset();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    if (!db) return 2;
    const bool reading = access == CEngineAccess::Read;
    if (!reading && !grouping) {
        auto info = std::make_shared<CPgTableInfo>();
        if (!FindTable(*db, alias, tableName.Text(), *info)) return 2;
        table = std::make_unique<CPgTable>(std::move(db), std::move(info), false, nullptr, alias);
        return 0;
    }
    // A batch reads a record of the same table for every case, and appends
    // its verdicts to the same table: the table is looked up once (two round
    // trips to the server) and kept while the records read show it
    // unchanged, or while the group's records are stored.
    // By connection: the alias was located once already, to connect.
    auto &tables = reading ? readTables : appendTables;
    const auto key = std::make_pair(db.get(), std::string(tableName.Text()));
    std::shared_ptr<CPgTableInfo> &kept = tables[key];
    const bool usable = kept && !kept->stale && kept->lookedUpOn.lock() == db;
    if (!usable) {
        auto info = std::make_shared<CPgTableInfo>();
        if (!FindTable(*db, alias, tableName.Text(), *info)) {
            tables.erase(key);
            return 2;
        }
        info->lookedUpOn = db;
        kept = std::move(info);
    }
    table = std::make_unique<CPgTable>(std::move(db), kept, usable, reading ? &lastFailure : nullptr, alias);
    return 0;
}

int32_t CPostgresEngine::BeginAppending(const CString & /*alias*/) {
    grouping = true;
    return 0;
}

int32_t CPostgresEngine::EndAppending(const CString & /*alias*/) {
    // A column added meanwhile is filled from the next group on.
    grouping = false;
    appendTables.clear();
    return 0;
}

int32_t CPostgresEngine::RunQuery(const CString &alias, const CString &queryText,
                                  std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    if (!db) return 2;
    if (!Succeeded(db->RunOnce("BEGIN READ ONLY"))) return Fail(db->LastError());
    // The extended protocol takes a single statement; a second one, like a
    // write in the read-only transaction, is an error of the first result.
    CPgResult first;
    if (PQsendQueryParams(db->Handle(), queryText.Text(), 0, nullptr, nullptr, nullptr, nullptr, 0) == 1 &&
        PQsetSingleRowMode(db->Handle()) == 1)
        first.reset(PQgetResult(db->Handle()));
    if (!Succeeded(first)) {
        lastFailure = db->LastError();
        first.reset();
        while (PGresult *rest = PQgetResult(db->Handle())) PQclear(rest);
        db->RunOnce("ROLLBACK");
        return 2;
    }
    query = std::make_unique<CPgQuery>(std::move(db), std::move(first));
    return 0;
}

int32_t CPostgresEngine::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                     const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    query.reset();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    CPgTableInfo info;
    if (!db || !FindTable(*db, alias, tableName.Text(), info)) return 2;
    const int key = FieldIndex(info.fields, keyColumn.Text());
    if (key < 0) return Fail(std::string("no field ") + keyColumn.Text() + " in table " + tableName.Text());
    std::string sql = "SELECT " + db->QuoteIdentifier(info.fields[key].name) + " FROM " + info.quotedName;
    if (!condition.IsEmpty()) sql += std::string(" WHERE ") + condition.Text();
    return RunQuery(alias, CString(sql.c_str()), query);
}

int32_t CPostgresEngine::ListTables(const CString &alias, std::vector<std::string> &tables) {
    tables.clear();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    if (!db) return 2;
    CPgResult names = db->Run(std::string("SELECT c.relname FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                                          "ON n.oid = c.relnamespace WHERE ") +
                                  kRelationKinds +
                                  " AND pg_catalog.pg_table_is_visible(c.oid) AND n.nspname NOT IN "
                                  "('pg_catalog', 'information_schema') ORDER BY c.relname",
                              {});
    if (!Succeeded(names)) return Fail(db->LastError());
    for (int row = 0; row < PQntuples(names.get()); ++row) tables.push_back(Value(names.get(), row, 0));
    return 0;
}

int32_t CPostgresEngine::ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) {
    fields.clear();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    CPgTableInfo info;
    if (!db || !FindTable(*db, alias, tableName.Text(), info)) return 2;
    for (const CPgField &field : info.fields) fields.push_back({field.name, field.type});
    return 0;
}

int32_t CPostgresEngine::QueryRecords(const CString &alias, const CRecordQuery &request, CRecordPage &page) {
    page = CRecordPage();
    lastFailure.clear();
    std::shared_ptr<CPgConnection> db = Connection(alias);
    CPgTableInfo info;
    if (!db || !FindTable(*db, alias, request.table, info)) return 2;
    std::string sql = "SELECT " + ColumnList(*db, info.fields) + " FROM " + info.quotedName;
    CPgParams params;
    if (!request.field.empty()) {
        const int field = FieldIndex(info.fields, request.field);
        if (field < 0) return Fail("no field " + request.field + " in table " + request.table);
        sql += " WHERE " + db->QuoteIdentifier(info.fields[field].name) + " " +
               ComparisonOperator(request.comparison) + " $1";
        params.push_back(request.value);
    }
    params.push_back(std::to_string(request.limit + 1));
    params.push_back(std::to_string(request.offset));
    sql += " LIMIT $" + std::to_string(params.size() - 1) + " OFFSET $" + std::to_string(params.size());
    CPgResult rows = db->RunOnce(sql, params);
    if (!Succeeded(rows)) return Fail(db->LastError());
    for (const CPgField &field : info.fields) page.columns.push_back(field.name);
    const int count = PQntuples(rows.get());
    page.more = count > request.limit;
    for (int row = 0; row < count && row < request.limit; ++row) {
        std::vector<std::optional<std::string>> values;
        for (int column = 0; column < PQnfields(rows.get()); ++column)
            values.push_back(PQgetisnull(rows.get(), row, column) ? std::nullopt
                                                                  : std::optional(Value(rows.get(), row, column)));
        page.rows.push_back(std::move(values));
    }
    return 0;
}

// The database engine on a PostgreSQL server, through libpq: an alias's
// location is a connection URI or keyword string, a table is a table or
// view on the connection's search path.
//
// It behaves as the SQLite engine does: a table is found by its name without
// regard to case, fields are read as the server's text of their value (null
// is "?" to the input table), the key and every other value are bound as
// parameters, never pasted into SQL, and numeric columns receive numbers.
// Names from a knowledge base are only ever compared with the catalog; the
// SQL quotes the catalog's own names with PQescapeIdentifier. The batch
// query runs as one statement in a READ ONLY transaction and is read row by
// row (single-row mode), so a large batch does not fill memory. Connections
// stay open between calls; a broken one is opened again at the next table
// or query, and until then `ConnectionLost` tells the batch to end. A table
// read record by record is looked up in the catalog once; every record read
// shows whether its columns are still those, and a table that changed is
// looked up again (`kEngineTableChanged`). A table appended to within a
// group (BeginAppending to EndAppending) is looked up at the group's first
// record and kept to its end; a record it cannot store has the table looked
// up again. Every record is stored (committed) by itself, in a group too.
// Messages name the alias and the server's reason, never a password.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "tables/database_engine.h"

class CTableEnvironment;
class CPgConnection;
struct CPgTableInfo;

class CPostgresEngine : public CDatabaseEngine {
public:
    explicit CPostgresEngine(const CTableEnvironment &environment);
    ~CPostgresEngine() override;

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override;
    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override;
    int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                        const CString &condition, std::unique_ptr<CEngineQuery> &query) override;
    std::string LastFailure() const override { return lastFailure; }
    bool ConnectionLost(const CString &alias) const override;
    // Only mark the group: the descriptions of the tables appended to are
    // kept while it is open.
    int32_t BeginAppending(const CString &alias) override;
    int32_t EndAppending(const CString &alias) override;

    int32_t ListTables(const CString &alias, std::vector<std::string> &tables) override;
    int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) override;
    int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) override;

private:
    std::shared_ptr<CPgConnection> Connection(const CString &alias);
    // The table of that name (any case) on the search path; false, with the
    // failure said, when there is none.
    bool FindTable(CPgConnection &db, const CString &alias, const std::string &tableName, CPgTableInfo &info);
    int32_t Fail(const std::string &reason);

    const CTableEnvironment &environment;
    std::map<std::string, std::shared_ptr<CPgConnection>> connections;  // by location
    // By connection and name; an entry counts only while its connection lives.
    std::map<std::pair<const CPgConnection *, std::string>, std::shared_ptr<CPgTableInfo>> readTables;
    // The same for tables appended to, kept only while a group is open.
    std::map<std::pair<const CPgConnection *, std::string>, std::shared_ptr<CPgTableInfo>> appendTables;
    bool grouping = false;
    std::string lastFailure;
};

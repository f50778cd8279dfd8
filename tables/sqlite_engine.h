// The database engine on SQLite 3: an alias names an SQLite database file,
// a table is an SQLite table (or view, for reading).
//
// An alias is looked up in the environment's option store; an alias that is
// not defined there is itself taken as the path of the database file. A
// relative path is resolved against the knowledge base's directory. Reading
// (records and queries) goes through a read-only connection, appending
// through a read-write one; neither may create a file. Connections and the
// statements of lookups by key are kept open between calls, so a batch run
// prepares its lookup once; a connection is reopened when its file has been
// replaced.
//
// A database that a knowledge base names for appending by a path of its own
// (not an alias the user defined) is written only when it lies below the
// knowledge base's folder and is reached without a symbolic link, like every
// other file a knowledge base writes.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "tables/database_engine.h"

class CTableEnvironment;
class CSqliteConnection;

class CSqliteEngine : public CDatabaseEngine {
public:
    explicit CSqliteEngine(const CTableEnvironment &environment);
    ~CSqliteEngine() override;

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override;
    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override;
    int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                        const CString &condition, std::unique_ptr<CEngineQuery> &query) override;
    std::string LastFailure() const override { return lastFailure; }
    // A group of appends is one write transaction on the alias's read-write
    // connection, which the tables opened meanwhile share.
    int32_t BeginAppending(const CString &alias) override;
    int32_t EndAppending(const CString &alias) override;

    int32_t ListTables(const CString &alias, std::vector<std::string> &tables) override;
    int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) override;
    int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) override;

    // The database file an alias names; empty for an empty alias.
    std::string DatabasePath(const CString &alias) const;
    // Closes the connections that no open table or query uses any more.
    void ReleaseConnections();

private:
    std::shared_ptr<CSqliteConnection> Connection(const CString &alias, bool writable);
    // For appending to a database the knowledge base names by path: true when
    // the path may be written, with the file's identity to check what opens.
    bool MayAppendTo(const CString &alias, uint64_t &device, uint64_t &inode);
    bool IsDefinedAlias(const CString &alias) const;

    const CTableEnvironment &environment;
    std::map<std::string, std::shared_ptr<CSqliteConnection>> connections;  // by mode and path
    std::map<std::string, std::shared_ptr<CSqliteConnection>> appendGroups;  // by alias, while open
    std::string lastFailure;
};

// The database engine: the relational store behind the engine kinds of input
// table, output table and batch iterator.
//
// A database is named by an alias; a table of it is opened by alias and
// table name. The operations are those the tables call, in the order they call
// them:
//   reading a record:  OpenTable, FieldNames, SetFilter, First, then per field
//                      IsNull and FieldText, Close;
//   writing a record:  OpenTable, FieldNames, Append, then per field FindField
//                      and SetFieldText, Post, Close;
//   collecting keys:   RunKeyQuery (or RunQuery), then per row NextRow and
//                      FirstColumnText, CloseQuery;
//   browsing:          ListTables, ListFields, QueryRecords.
// Every engine error is the result 2 and carries no message; the callers fail
// quietly. Texts are single bytes. Numbers reach the engine as texts with a
// decimal comma ("0,500000"); the engine stores them as numbers where the
// field is numeric.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/string_collections.h"

// What First gives for a table whose fields changed since it was opened.
inline constexpr int32_t kEngineTableChanged = 3;

// What a table is opened for: reading records, or appending one.
enum class CEngineAccess { Read, Append };

// A table opened by the engine. Destroying it closes it.
class CEngineTable {
public:
    CEngineTable() = default;
    virtual ~CEngineTable() = default;
    CEngineTable(const CEngineTable &) = delete;
    CEngineTable &operator=(const CEngineTable &) = delete;

    // The table's field names, in field order.
    virtual int32_t FieldNames(CStringVector &names) = 0;

    // Reading
    // Lets only the records pass whose field `keyColumn` equals `keyValue`:
    // the filter keyColumn='keyValue'. The value is passed as data, so a
    // quote in it is an ordinary character. 2 when the field is unknown.
    virtual int32_t SetFilter(const CString &keyColumn, const CString &keyValue) = 0;
    // Makes the first record that passes the filter current; 2 when there is
    // none, kEngineTableChanged when the table changed since the engine
    // looked it up (the engine forgets what it knew: open it again).
    virtual int32_t First() = 0;
    // Of the current record: the number of fields, whether a field is null,
    // and a field's value as text.
    virtual int32_t FieldCount() = 0;
    virtual bool IsNull(int32_t position) = 0;
    virtual int32_t FieldText(int32_t position, CString &text) = 0;

    // Appending
    // Starts a new record with every field unset.
    virtual int32_t Append() = 0;
    // The position of the field called `name`; 2 when there is none.
    virtual int32_t FindField(const CString &name, int32_t &position) = 0;
    // Sets a field of the new record from a text; an error affects only that
    // field.
    virtual int32_t SetFieldText(int32_t position, const CString &text) = 0;
    // Stores the new record; kEngineTableChanged when the engine kept the
    // table from an earlier record and it changed since (nothing was
    // stored: open it again).
    virtual int32_t Post() = 0;

    // Releases the table; later calls fail.
    virtual void Close() = 0;
};

// The result rows of a query, read one after another. Destroying it closes it.
class CEngineQuery {
public:
    CEngineQuery() = default;
    virtual ~CEngineQuery() = default;
    CEngineQuery(const CEngineQuery &) = delete;
    CEngineQuery &operator=(const CEngineQuery &) = delete;

    // Moves to the next result row (the first at the first call); `hasRow`
    // is false after the last. 2 on an engine error.
    virtual int32_t NextRow(bool &hasRow) = 0;
    // The text of the current row's first column ("" when it is null).
    virtual int32_t FirstColumnText(CString &text) = 0;
    virtual void CloseQuery() = 0;
};

// A field as the browser shows it: its name and its type as the database
// declares it ("REAL", "character varying(20)", "N(10,2)").
struct CEngineField {
    std::string name;
    std::string type;
};

// The comparisons a record query offers.
enum class CComparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };

// The SQL operator of a comparison ("=", "<>", "<", ...).
const char *ComparisonOperator(CComparison comparison);

// Which records a record query selects: those whose `field` compares with
// `value` as asked (every record when the field is empty), from `offset` on,
// at most `limit` of them. The value is always passed as data.
struct CRecordQuery {
    std::string table;
    std::string field;
    CComparison comparison = CComparison::Equal;
    std::string value;
    int64_t offset = 0;
    int32_t limit = 100;
};

// One page of records: the column names, the rows (a null field has no
// value), and whether more records follow the page.
struct CRecordPage {
    std::vector<std::string> columns;
    std::vector<std::vector<std::optional<std::string>>> rows;
    bool more = false;
};

class CDatabaseEngine {
public:
    CDatabaseEngine() = default;
    virtual ~CDatabaseEngine() = default;
    CDatabaseEngine(const CDatabaseEngine &) = delete;
    CDatabaseEngine &operator=(const CDatabaseEngine &) = delete;

    // Opens a table of the database named by `alias`; 2 when the alias, the
    // database or the table does not exist. Opening never creates a database.
    virtual int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                              std::unique_ptr<CEngineTable> &table) = 0;
    // Runs one reading statement against the database named by `alias`;
    // 2 when it fails, would change the database, or is followed by another
    // statement.
    virtual int32_t RunQuery(const CString &alias, const CString &queryText,
                             std::unique_ptr<CEngineQuery> &query) = 0;
    // Runs the batch's key query: the key column of every record of the
    // table, of those that meet the knowledge base's SQL `condition` when it
    // is not empty. Engines that know their tables quote the names; the
    // default hands the text of KeyQueryText to RunQuery.
    virtual int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                const CString &condition, std::unique_ptr<CEngineQuery> &query);
    // Why the last operation failed, for the user; empty when the engine
    // does not say. It never holds a password.
    virtual std::string LastFailure() const { return std::string(); }
    // True once the connection to the database of `alias` broke, until it is
    // opened again: a batch over it ends rather than fail case after case.
    virtual bool ConnectionLost(const CString & /*alias*/) const { return false; }
    // Appending many records at once: the records appended to the database
    // of `alias` between BeginAppending and EndAppending are stored together
    // (one transaction, where the engine has them), so that a long run of
    // them does not wait for the disk at every record. A process that dies
    // before EndAppending loses the group's records and no earlier ones. The
    // default stores every record by itself; 2 when the group cannot start,
    // and the records are then stored one by one.
    virtual int32_t BeginAppending(const CString & /*alias*/) { return 0; }
    virtual int32_t EndAppending(const CString & /*alias*/) { return 0; }

    // Browsing; each fails with 2 unless the engine offers it.
    // The tables (and views) of a database, sorted by name.
    virtual int32_t ListTables(const CString &alias, std::vector<std::string> &tables);
    // The fields of a table in field order, with their declared types.
    virtual int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields);
    // One page of the records a query selects.
    virtual int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page);
};

// The key query's text: "select <key column> from <table> [where
// <condition>]".
CString KeyQueryText(const CString &keyColumn, const CString &tableName, const CString &condition);

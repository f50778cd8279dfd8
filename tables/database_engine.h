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
//   collecting keys:   RunQuery, then per row NextRow and FirstColumnText,
//                      CloseQuery.
// Every engine error is the result 2 and carries no message; the callers fail
// quietly. Texts are single bytes. Numbers reach the engine as texts with a
// decimal comma ("0,500000"); the engine stores them as numbers where the
// field is numeric.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "foundation/string_collections.h"

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
    // none.
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
    // Stores the new record.
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
    // Why the last OpenTable or RunQuery failed, for the user; empty when
    // the engine does not say.
    virtual std::string LastFailure() const { return std::string(); }
};

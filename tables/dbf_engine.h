// The database engine over dBASE files: an alias's location is a directory,
// and each .dbf file in it is a table named after the file (without the
// extension; names compare without regard to case).
//
// Tables are read (input records, batch keys, the browser) and appended to
// (output records) with the file's own field types: a numeric field receives
// a number, a null field reads as "?" to the input table. A table name is
// only ever compared with the names of the files the directory lists, never
// made into a path, so no name can lead out of it. There is no SQL: a batch
// takes the key of every record and refuses a knowledge base's condition.
// Records are found by key through an index of the file, made at the first
// lookup and kept until the file changes.
// A directory the knowledge base names itself (not an alias the user
// defined) is appended to only inside the knowledge base's folder, as every
// other file it writes.
#pragma once

#include <memory>
#include <string>

#include "tables/database_engine.h"

class CTableEnvironment;
class CDbfFile;
class CDbfKeyIndexes;

class CDbfEngine : public CDatabaseEngine {
public:
    explicit CDbfEngine(const CTableEnvironment &environment);

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override;
    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override;
    int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                        const CString &condition, std::unique_ptr<CEngineQuery> &query) override;
    std::string LastFailure() const override { return lastFailure; }

    int32_t ListTables(const CString &alias, std::vector<std::string> &tables) override;
    int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) override;
    int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) override;

private:
    // The file of a table, opened; null (and the failure said) when there
    // is none or it may not be opened as asked.
    std::shared_ptr<CDbfFile> OpenFile(const CString &alias, const std::string &tableName, bool writable,
                                       std::string *openedPath = nullptr);
    int32_t Fail(const std::string &reason);

    const CTableEnvironment &environment;
    std::shared_ptr<CDbfKeyIndexes> keyIndexes;  // shared with the open tables
    std::string lastFailure;
};

// CSpoolEngine: an engine for a job of a parallel batch, which must not
// append to engine output tables itself (its rows would land in the order
// the jobs happen to finish). It passes everything to the real engine,
// except that a record appended to a table is written as a line of a spool
// file instead of being stored. The table is still opened for appending, so
// every check the real engine makes (the alias, the database's place, the
// table and its fields) fails the job's case as it would fail the case of
// one run. Once the jobs have ended, `ReplaySpool` stores the spooled
// records through the real engine, job after job, which gives the rows in
// the order of the batch's keys.
#pragma once

#include <memory>
#include <string>

#include "tables/database_engine.h"

class CSpoolEngine : public CDatabaseEngine {
public:
    // `real` is not owned and must outlive this engine; records are appended
    // to the file `spoolPath`, which is created when missing.
    CSpoolEngine(CDatabaseEngine &real, std::string spoolPath);

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override;
    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override;
    int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                        const CString &condition, std::unique_ptr<CEngineQuery> &query) override;
    std::string LastFailure() const override;
    bool ConnectionLost(const CString &alias) const override;
    int32_t ListTables(const CString &alias, std::vector<std::string> &tables) override;
    int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) override;
    int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) override;

private:
    CDatabaseEngine &real;
    std::string spoolPath;
};

// Stores the records of a spool file through `engine`, in the file's order
// and in groups of appends (`BeginAppending`);
// false, with the reason, at the first record that cannot be stored. A
// missing spool file holds no records.
bool ReplaySpool(CDatabaseEngine &engine, const std::string &spoolPath, std::string &reason);

// The batch iterator over an engine input table ("batchidbbde").
//
// The keys are the first column of the query "select <key column> from
// <table>", followed by " where " and the value of "batchidbbde" when that
// value is not empty: the knowledge base's own selection condition. The
// database is the alias of "idbbde", the table that of the input table
// parameters. The query is read only and must be one statement; the engine
// refuses anything else. A null key is handed out as the empty text. When
// the connection to the database breaks during the run, the next key is not
// handed out: the batch ends (2), the records already written stay.
#pragma once

#include <cstdint>

#include "tables/batch_iterator_db.h"

class CBatchIterDBBDE : public CBatchIteratorDB {
public:
    using CBatchIteratorDB::CBatchIteratorDB;

    // 0 and inactive unless "batchidbbde", "idbbde" and a table parameter
    // exist; 2 on any engine error.
    int32_t Open(CParameters *parameters) override;
    const char *SourceKind() const override { return "idbbde"; }
    int32_t Next(CParameters *parameters) override;
    std::string Failure() const override { return failure; }

    // The query that selects the keys.
    static CString KeyQuery(const CString &keyColumnName, const CString &tableName, const CString &condition);

private:
    // Fails with `what`, the database and the engine's reason.
    int32_t Fail(const char *what);

    CString alias;        // the database the keys came from
    std::string failure;  // why the last Open or Next failed
};

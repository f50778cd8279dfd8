#include "tables/batch_iter_bde.h"

#include <memory>

#include "net/params.h"
#include "tables/database_engine.h"
#include "tables/database_location.h"
#include "tables/table_params.h"

CString CBatchIterDBBDE::KeyQuery(const CString &keyColumnName, const CString &tableName, const CString &condition) {
    return KeyQueryText(keyColumnName, tableName, condition);
}

int32_t CBatchIterDBBDE::Fail(const char *what) {
    Close();
    const std::string reason = environment.Engine().LastFailure();
    failure = std::string(what) + " " + WithoutPassword(alias.Text()) + (reason.empty() ? "" : ": " + reason);
    return 2;
}

int32_t CBatchIterDBBDE::Open(CParameters *parameters) {
    Close();
    failure.clear();
    CString tableName;
    if (!parameters->HasParam("batchidbbde") || !parameters->HasParam("idbbde") ||
        !EngineTableName(parameters, kInputParams, tableName))
        return 0;
    keyColumnName = KeyColumnName(parameters, kInputParams);
    alias = parameters->GetParam("idbbde");
    CDatabaseEngine &engine = environment.Engine();
    std::unique_ptr<CEngineTable> table;
    if (engine.OpenTable(alias, tableName, CEngineAccess::Read, table) != 0) return Fail("Cannot read the batch keys of database");
    table->Close();

    std::unique_ptr<CEngineQuery> query;
    if (engine.RunKeyQuery(alias, tableName, keyColumnName, parameters->GetParam("batchidbbde"), query) != 0)
        return Fail("Cannot read the batch keys of database");
    StartKeys();
    bool hasRow = false;
    int32_t status = 0;
    while ((status = query->NextRow(hasRow)) == 0 && hasRow) {
        CString key;
        if ((status = query->FirstColumnText(key)) != 0) break;
        keys->Add(key);
    }
    if (status != 0) failure = "Cannot read the batch keys of database " + std::string(WithoutPassword(alias.Text()));
    query->CloseQuery();
    if (status != 0) {
        Close();
        return 2;
    }
    return FinishKeys();
}

int32_t CBatchIterDBBDE::Next(CParameters *parameters) {
    // Once the server has gone, every remaining case would fail alike.
    if (active && environment.Engine().ConnectionLost(alias)) return Fail("The batch ended: lost the connection to database");
    return CBatchIteratorDB::Next(parameters);
}

#include "tables/batch_iter_bde.h"

#include <memory>

#include "net/params.h"
#include "tables/database_engine.h"
#include "tables/table_params.h"

CString CBatchIterDBBDE::KeyQuery(const CString &keyColumnName, const CString &tableName, const CString &condition) {
    return KeyQueryText(keyColumnName, tableName, condition);
}

int32_t CBatchIterDBBDE::Open(CParameters *parameters) {
    Close();
    CString tableName;
    if (!parameters->HasParam("batchidbbde") || !parameters->HasParam("idbbde") ||
        !EngineTableName(parameters, kInputParams, tableName))
        return 0;
    keyColumnName = KeyColumnName(parameters, kInputParams);
    alias = parameters->GetParam("idbbde");
    CDatabaseEngine &engine = environment.Engine();
    std::unique_ptr<CEngineTable> table;
    if (engine.OpenTable(alias, tableName, CEngineAccess::Read, table) != 0) return 2;
    table->Close();

    std::unique_ptr<CEngineQuery> query;
    if (engine.RunKeyQuery(alias, tableName, keyColumnName, parameters->GetParam("batchidbbde"), query) != 0)
        return 2;
    StartKeys();
    bool hasRow = false;
    int32_t status = 0;
    while ((status = query->NextRow(hasRow)) == 0 && hasRow) {
        CString key;
        if ((status = query->FirstColumnText(key)) != 0) break;
        keys->Add(key);
    }
    query->CloseQuery();
    if (status != 0) {
        Close();
        return 2;
    }
    return FinishKeys();
}

int32_t CBatchIterDBBDE::Next(CParameters *parameters) {
    // Once the server has gone, every remaining case would fail alike.
    if (active && environment.Engine().ConnectionLost(alias)) {
        Close();
        return 2;
    }
    return CBatchIteratorDB::Next(parameters);
}

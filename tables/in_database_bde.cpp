#include "tables/in_database_bde.h"

#include <strings.h>

#include <memory>

#include "net/params.h"
#include "tables/database_engine.h"
#include "tables/table_params.h"

int32_t FindFieldName(const CStringVector &names, const CString &name) {
    if (name.IsEmpty()) return -1;
    for (int32_t i = 0; i < names.Count(); ++i)
        if (strcasecmp(names.At(i).Text(), name.Text()) == 0) return i;
    return -1;
}

CInDatabaseBDE::CInDatabaseBDE(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

int32_t CInDatabaseBDE::GetName(CString &kindName) {
    kindName = "idbbde";
    return 0;
}

int32_t CInDatabaseBDE::Open(CParameters *parameters) {
    active = false;
    CString kind, key, tableName;
    GetName(kind);
    if (!parameters->HasParam(kind) || !KeyValue(parameters, kInputParams, key) ||
        !EngineTableName(parameters, kInputParams, tableName)) {
        ClearRecord();
        return 0;
    }
    int32_t status = Load(parameters->GetParam(kind), tableName, KeyColumnName(parameters, kInputParams), key);
    active = status == 0;
    return status;
}

int32_t CInDatabaseBDE::Load(const CString &alias, const CString &tableName, const CString &keyColumnName,
                             const CString &keyValue) {
    NewRecord();
    keyColumn = -1;
    std::unique_ptr<CEngineTable> table;
    CStringVector names;
    if (environment.Engine().OpenTable(alias, tableName, CEngineAccess::Read, table) != 0 ||
        table->FieldNames(names) != 0)
        return 2;
    keyColumn = FindFieldName(names, keyColumnName);
    if (keyColumn < 0 || table->SetFilter(names.At(keyColumn), keyValue) != 0 || table->First() != 0) return 2;
    for (int32_t i = 0; i < table->FieldCount() && i < names.Count(); ++i) {
        CString name = names.At(i), text = "?";
        if (!table->IsNull(i) && table->FieldText(i, text) != 0) return 2;
        name.ToLower();
        text.ToLower();
        InsertField(name, text);
    }
    table->Close();
    return 0;
}

#include "tables/in_database_bde.h"

#include <strings.h>

#include <algorithm>
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
    // A table that changed since the engine looked it up is opened once more.
    int32_t status = LoadOnce(alias, tableName, keyColumnName, keyValue);
    if (status == kEngineTableChanged) status = LoadOnce(alias, tableName, keyColumnName, keyValue);
    return status == 0 ? 0 : Fail();
}

int32_t CInDatabaseBDE::LoadOnce(const CString &alias, const CString &tableName, const CString &keyColumnName,
                                 const CString &keyValue) {
    keyColumn = -1;
    std::unique_ptr<CEngineTable> table;
    if (environment.Engine().OpenTable(alias, tableName, CEngineAccess::Read, table) != 0 ||
        table->FieldNames(names) != 0)
        return 2;
    keyColumn = FindFieldName(names, keyColumnName);
    if (keyColumn < 0 || table->SetFilter(names.At(keyColumn), keyValue) != 0) return 2;
    if (const int32_t found = table->First(); found != 0) return found;
    const size_t count = static_cast<size_t>(std::min(table->FieldCount(), names.Count()));
    const std::vector<CString> &lowerNames = LowerCaseNames(names, count);
    texts.resize(count);
    for (size_t i = 0; i < count; ++i) {
        CString &text = texts[i];
        if (table->IsNull(static_cast<int32_t>(i)))
            text = dontKnow;
        else if (table->FieldText(static_cast<int32_t>(i), text) != 0)
            return 2;
        text.ToLower();
    }
    LoadRow(lowerNames.data(), texts.data(), count);
    table->Close();
    return 0;
}

int32_t CInDatabaseBDE::Fail() {
    NewRecord();
    return 2;
}

const std::vector<CString> &CInDatabaseBDE::LowerCaseNames(const CStringVector &given, size_t count) {
    bool same = count == engineNames.size();
    for (size_t i = 0; same && i < count; ++i)
        same = given.At(static_cast<int32_t>(i)).Text() == engineNames[i].Text() ||
               given.At(static_cast<int32_t>(i)).Equals(engineNames[i]);
    if (same) return lowerNames;
    engineNames.clear();
    lowerNames.clear();
    for (size_t i = 0; i < count; ++i) {
        engineNames.push_back(given.At(static_cast<int32_t>(i)));
        lowerNames.push_back(engineNames.back());
        lowerNames.back().ToLower();
    }
    return lowerNames;
}

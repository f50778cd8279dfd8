#include "tables/database_engine.h"

const char *ComparisonOperator(CComparison comparison) {
    switch (comparison) {
    case CComparison::Equal: return "=";
    case CComparison::NotEqual: return "<>";
    case CComparison::Less: return "<";
    case CComparison::LessOrEqual: return "<=";
    case CComparison::Greater: return ">";
    case CComparison::GreaterOrEqual: return ">=";
    }
    return "=";
}

CString KeyQueryText(const CString &keyColumn, const CString &tableName, const CString &condition) {
    CString query = "select ";
    query.Append(keyColumn);
    query.Append(" from ");
    query.Append(tableName);
    if (!condition.IsEmpty()) {
        query.Append(" where ");
        query.Append(condition);
    }
    return query;
}

int32_t CDatabaseEngine::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                     const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    return RunQuery(alias, KeyQueryText(keyColumn, tableName, condition), query);
}

int32_t CDatabaseEngine::ListTables(const CString &, std::vector<std::string> &tables) {
    tables.clear();
    return 2;
}

int32_t CDatabaseEngine::ListFields(const CString &, const CString &, std::vector<CEngineField> &fields) {
    fields.clear();
    return 2;
}

int32_t CDatabaseEngine::QueryRecords(const CString &, const CRecordQuery &, CRecordPage &page) {
    page = CRecordPage();
    return 2;
}

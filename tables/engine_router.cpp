#include "tables/engine_router.h"

#include "tables/dbf_engine.h"
#include "tables/postgres_engine.h"
#include "tables/sqlite_engine.h"
#include "tables/table_environment.h"

CEngineRouter::CEngineRouter(CTableEnvironment &tableEnvironment) : environment(tableEnvironment) {}

CEngineRouter::~CEngineRouter() = default;

CDatabaseEngine &CEngineRouter::EngineOfKind(CEngineKind kind) {
    std::unique_ptr<CDatabaseEngine> &slot = engines[static_cast<int>(kind)];
    if (!slot) {
        switch (kind) {
        case CEngineKind::Postgres: slot = std::make_unique<CPostgresEngine>(environment); break;
        case CEngineKind::Dbase: slot = std::make_unique<CDbfEngine>(environment); break;
        case CEngineKind::Sqlite: slot = std::make_unique<CSqliteEngine>(environment); break;
        }
    }
    return *slot;
}

CDatabaseEngine &CEngineRouter::EngineFor(const CString &alias) {
    lastUsed = &EngineOfKind(environment.Locate(alias).kind);
    return *lastUsed;
}

int32_t CEngineRouter::OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                                 std::unique_ptr<CEngineTable> &table) {
    return EngineFor(alias).OpenTable(alias, tableName, access, table);
}

int32_t CEngineRouter::RunQuery(const CString &alias, const CString &queryText,
                                std::unique_ptr<CEngineQuery> &query) {
    return EngineFor(alias).RunQuery(alias, queryText, query);
}

int32_t CEngineRouter::RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                                   const CString &condition, std::unique_ptr<CEngineQuery> &query) {
    return EngineFor(alias).RunKeyQuery(alias, tableName, keyColumn, condition, query);
}

std::string CEngineRouter::LastFailure() const { return lastUsed == nullptr ? std::string() : lastUsed->LastFailure(); }

bool CEngineRouter::ConnectionLost(const CString &alias) const {
    const std::unique_ptr<CDatabaseEngine> &slot = engines[static_cast<int>(environment.Locate(alias).kind)];
    return slot && slot->ConnectionLost(alias);
}

int32_t CEngineRouter::BeginAppending(const CString &alias) { return EngineFor(alias).BeginAppending(alias); }

int32_t CEngineRouter::EndAppending(const CString &alias) { return EngineFor(alias).EndAppending(alias); }

int32_t CEngineRouter::ListTables(const CString &alias, std::vector<std::string> &tables) {
    return EngineFor(alias).ListTables(alias, tables);
}

int32_t CEngineRouter::ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) {
    return EngineFor(alias).ListFields(alias, tableName, fields);
}

int32_t CEngineRouter::QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) {
    return EngineFor(alias).QueryRecords(alias, query, page);
}

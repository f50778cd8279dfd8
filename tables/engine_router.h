// The engine a table environment offers: it hands each call to the engine
// that the alias's location asks for (SQLite, PostgreSQL or dBASE, see
// tables/database_location.h), making each engine on first use, so every
// table, batch iterator and the browser go through one alias registry.
#pragma once

#include <memory>
#include <string>

#include "tables/database_engine.h"
#include "tables/database_location.h"

class CTableEnvironment;

class CEngineRouter : public CDatabaseEngine {
public:
    explicit CEngineRouter(CTableEnvironment &environment);
    ~CEngineRouter() override;

    int32_t OpenTable(const CString &alias, const CString &tableName, CEngineAccess access,
                      std::unique_ptr<CEngineTable> &table) override;
    int32_t RunQuery(const CString &alias, const CString &queryText, std::unique_ptr<CEngineQuery> &query) override;
    int32_t RunKeyQuery(const CString &alias, const CString &tableName, const CString &keyColumn,
                        const CString &condition, std::unique_ptr<CEngineQuery> &query) override;
    std::string LastFailure() const override;
    bool ConnectionLost(const CString &alias) const override;
    int32_t BeginAppending(const CString &alias) override;
    int32_t EndAppending(const CString &alias) override;

    int32_t ListTables(const CString &alias, std::vector<std::string> &tables) override;
    int32_t ListFields(const CString &alias, const CString &tableName, std::vector<CEngineField> &fields) override;
    int32_t QueryRecords(const CString &alias, const CRecordQuery &query, CRecordPage &page) override;

private:
    // The engine for an alias; it also answers LastFailure until the next call.
    CDatabaseEngine &EngineFor(const CString &alias);
    CDatabaseEngine &EngineOfKind(CEngineKind kind);

    CTableEnvironment &environment;
    std::unique_ptr<CDatabaseEngine> engines[3];  // by CEngineKind
    CDatabaseEngine *lastUsed = nullptr;
};

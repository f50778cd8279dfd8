// One suite for every database engine: the same tables and the same checks
// on SQLite, on a live PostgreSQL server and (where it applies) on dBASE
// files, through the environment's engine as the tables reach it.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "engine_backends.h"
#include "foundation/memory_option_store.h"
#include "net/params.h"
#include "tables/batch_iter_bde.h"
#include "tables/database_engine.h"
#include "tables/in_database_bde.h"
#include "tables/table_environment.h"

namespace {

const CTestTable kPatients{"patients",
                           {{"id", CColumnKind::Text},
                            {"age", CColumnKind::Integer},
                            {"fever", CColumnKind::Real},
                            {"note", CColumnKind::Text}},
                           {{"p17", "42", "0.8", "ok"},
                            {"o'brien", "61", std::nullopt, "quote"},
                            {"p18", "35", "0.25", std::nullopt}}};

const CTestTable kVerdicts{"verdicts",
                           {{"id", CColumnKind::Text},
                            {"score", CColumnKind::Real},
                            {"note", CColumnKind::Text},
                            {"cnt", CColumnKind::Integer}},
                           {}};

// A number as "%g" writes it, so that the 0.8000 of a dBASE field with four
// decimals reads as the 0.8 of the other engines; other texts unchanged.
std::string AsNumber(const std::string &text) {
    char *end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0') return text;
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%g", number);
    return formatted;
}

struct CBackendKind {
    const char *name;
    std::function<std::unique_ptr<CEngineBackend>()> make;
};

void PrintTo(const CBackendKind &kind, std::ostream *out) { *out << kind.name; }

class EngineSuite : public ::testing::TestWithParam<CBackendKind> {
protected:
    void SetUp() override {
        backend = GetParam().make();
        std::string reason;
        if (!backend->Start(reason)) {
            const char *ci = std::getenv("CI");
            if (backend->NeedsServer() && (ci == nullptr || std::string(ci) != "true"))
                GTEST_SKIP() << "PostgreSQL test server: " << reason;
            FAIL() << reason;
        }
        backend->Make(kPatients);
        backend->Make(kVerdicts);
        aliases.WriteText(CTableEnvironment::kAliasKey, "clinic", backend->Location());
        environment.aliasStore = &aliases;
    }

    CDatabaseEngine &Engine() { return environment.Engine(); }

    // The input record of a key, "name=value" joined by blanks; "failed"
    // when it cannot be read.
    std::string Record(const char *key) {
        CParameters params;
        params.SetParam("idbbde", "clinic");
        params.SetParam("idbbdetable", "patients");
        params.SetParam("dbheadername", "id");
        params.SetParam("dbrecord", key);
        CInDatabaseBDE table(environment);
        if (table.Open(&params) != 0) return "failed";
        std::string text;
        for (const char *name : {"id", "age", "fever", "note"})
            text += std::string(text.empty() ? "" : " ") + name + "=" + AsNumber(table.FieldText(name).Text());
        return text;
    }

    std::vector<std::string> BatchKeys(const char *condition, int32_t &status) {
        CParameters params;
        params.SetParam("idbbde", "clinic");
        params.SetParam("idbbdetable", "patients");
        params.SetParam("dbheadername", "id");
        params.SetParam("batchidbbde", condition);
        CBatchIterDBBDE iterator(environment);
        std::vector<std::string> keys;
        status = iterator.Open(&params);
        while (status == 0 && iterator.active && iterator.Next(&params) == 0)
            keys.push_back(params.GetParam("dbrecord").Text());
        return keys;
    }

    std::unique_ptr<CEngineBackend> backend;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
};

TEST_P(EngineSuite, ListsTablesAndFieldsAndOpensOnlyWhatExists) {
    std::vector<std::string> tables;
    ASSERT_EQ(Engine().ListTables("clinic", tables), 0) << Engine().LastFailure();
    EXPECT_EQ(tables, (std::vector<std::string>{"patients", "verdicts"}));
    std::vector<CEngineField> fields;
    ASSERT_EQ(Engine().ListFields("clinic", "PATIENTS", fields), 0);
    ASSERT_EQ(fields.size(), 4u);
    for (size_t i = 0; i < fields.size(); ++i) {
        EXPECT_TRUE(SameName(fields[i].name, kPatients.columns[i].name)) << fields[i].name;
        EXPECT_FALSE(fields[i].type.empty());
    }
    std::unique_ptr<CEngineTable> table;
    EXPECT_EQ(Engine().OpenTable("clinic", "patients", CEngineAccess::Read, table), 0);
    EXPECT_EQ(Engine().OpenTable("clinic", "visits", CEngineAccess::Read, table), 2);
    EXPECT_EQ(Engine().ListFields("clinic", "visits", fields), 2);
    EXPECT_NE(Engine().LastFailure().find("visits"), std::string::npos) << Engine().LastFailure();
}

TEST_P(EngineSuite, TheFilterBindsTheKeySoQuotesFindTheirOwnRecordAndNullsReadAsDontKnow) {
    EXPECT_EQ(Record("p17"), "id=p17 age=42 fever=0.8 note=ok");
    EXPECT_EQ(Record("p18"), "id=p18 age=35 fever=0.25 note=?");
    EXPECT_EQ(Record("o'brien"), "id=o'brien age=61 fever=? note=quote");
    EXPECT_EQ(Record("x' or '1'='1"), "failed");
    EXPECT_EQ(Record("P17"), "failed");
}

TEST_P(EngineSuite, AppendedRecordsReadBackWithNumbersStoredAsNumbers) {
    std::unique_ptr<CEngineTable> table;
    ASSERT_EQ(Engine().OpenTable("clinic", "verdicts", CEngineAccess::Append, table), 0) << Engine().LastFailure();
    int32_t id = -1, score = -1, note = -1, count = -1;
    ASSERT_EQ(table->FindField("ID", id) + table->FindField("score", score) + table->FindField("note", note) +
                  table->FindField("cnt", count),
              0);
    ASSERT_EQ(table->Append(), 0);
    EXPECT_EQ(table->SetFieldText(id, "p1.5"), 0);
    EXPECT_EQ(table->SetFieldText(score, "0,500000"), 0);
    EXPECT_EQ(table->SetFieldText(note, "?"), 0);
    EXPECT_EQ(table->SetFieldText(count, "1,000000"), 0);
    ASSERT_EQ(table->Post(), 0) << Engine().LastFailure();
    ASSERT_EQ(table->Append(), 0);
    table->SetFieldText(id, "o'neill");
    table->SetFieldText(score, "?");
    table->SetFieldText(note, "x; drop table v");
    ASSERT_EQ(table->Post(), 0);
    table->Close();

    EXPECT_EQ(backend->Stored("verdicts", "p1.5", "score"), "number:0.5");
    EXPECT_EQ(backend->Stored("verdicts", "p1.5", "cnt"), "number:1");
    // Don't know: null in a numeric field, the text itself in a text field
    // (dBASE keeps no texts in numeric fields and no "?" apart from null).
    EXPECT_EQ(backend->Stored("verdicts", "o'neill", "score"), "null");
    EXPECT_EQ(backend->Stored("verdicts", "o'neill", "note"), "text:x; drop table v");
    if (backend->TakesSql()) {
        EXPECT_EQ(backend->Stored("verdicts", "p1.5", "note"), "text:?");
    }

    CRecordPage page;
    ASSERT_EQ(Engine().QueryRecords("clinic", {"verdicts", "id", CComparison::Equal, "o'neill", 0, 10}, page), 0);
    ASSERT_EQ(page.rows.size(), 1u);
    EXPECT_FALSE(page.rows[0][1].has_value());
}

TEST_P(EngineSuite, BatchKeysComeInTableOrderAndTheConditionCannotWrite) {
    int32_t status = 0;
    EXPECT_EQ(BatchKeys("", status), (std::vector<std::string>{"p17", "o'brien", "p18"}));
    EXPECT_EQ(status, 0);
    if (!backend->TakesSql()) {
        EXPECT_TRUE(BatchKeys("age > 40", status).empty());
        EXPECT_EQ(status, 2);
        return;
    }
    EXPECT_EQ(BatchKeys("age > 40 order by age desc", status), (std::vector<std::string>{"o'brien", "p17"}));
    for (const char *condition : {"1=1; delete from patients", "1=1; drop table patients", "age >"}) {
        BatchKeys(condition, status);
        EXPECT_EQ(status, 2) << condition;
    }
    for (const char *statement : {"DELETE FROM patients", "SELECT 1; DELETE FROM patients",
                                  "UPDATE patients SET age = 0", "DROP TABLE patients"}) {
        std::unique_ptr<CEngineQuery> query;
        EXPECT_EQ(Engine().RunQuery("clinic", statement, query), 2) << statement;
    }
    EXPECT_EQ(Record("p17"), "id=p17 age=42 fever=0.8 note=ok");
    EXPECT_EQ(BatchKeys("", status).size(), 3u);
}

TEST_P(EngineSuite, RecordQueriesCompareBoundValuesAndComeInPages) {
    CRecordPage page;
    ASSERT_EQ(Engine().QueryRecords("clinic", {"patients", "age", CComparison::Greater, "40", 0, 1}, page), 0)
        << Engine().LastFailure();
    ASSERT_EQ(page.columns.size(), 4u);
    ASSERT_EQ(page.rows.size(), 1u);
    EXPECT_EQ(page.rows[0][0], "p17");
    EXPECT_TRUE(page.more);
    ASSERT_EQ(Engine().QueryRecords("clinic", {"patients", "age", CComparison::Greater, "40", 1, 1}, page), 0);
    ASSERT_EQ(page.rows.size(), 1u);
    EXPECT_EQ(page.rows[0][0], "o'brien");
    EXPECT_FALSE(page.rows[0][2].has_value());
    EXPECT_FALSE(page.more);
    ASSERT_EQ(Engine().QueryRecords("clinic", {"patients", "", CComparison::Equal, "", 0, 10}, page), 0);
    EXPECT_EQ(page.rows.size(), 3u);
    ASSERT_EQ(Engine().QueryRecords("clinic", {"patients", "id", CComparison::Equal, "x' or '1'='1", 0, 10}, page), 0);
    EXPECT_TRUE(page.rows.empty());
}

TEST_P(EngineSuite, HostileNamesNeverReachTheDatabaseUnquoted) {
    const std::string nul("patients\0; drop table patients", 30);
    for (const std::string &name : {std::string("patients\"; DROP TABLE patients; --"), std::string("patients; --"),
                                    std::string(".."), std::string("../clinic/patients"), nul,
                                    std::string("patients' OR '1'='1")}) {
        std::unique_ptr<CEngineTable> table;
        std::vector<CEngineField> fields;
        CRecordPage page;
        // A knowledge base's names are C strings: one cannot hold a NUL.
        if (name != nul) {
            EXPECT_EQ(Engine().OpenTable("clinic", name.c_str(), CEngineAccess::Append, table), 2) << name;
        }
        EXPECT_EQ(Engine().QueryRecords("clinic", {name, "", CComparison::Equal, "", 0, 10}, page), 2) << name;
        EXPECT_EQ(Engine().QueryRecords("clinic", {"patients", name, CComparison::Equal, "1", 0, 10}, page), 2)
            << name;
        std::string id("id\0x", 4);
        EXPECT_EQ(Engine().QueryRecords("clinic", {"patients", id, CComparison::Equal, "p17", 0, 10}, page), 2);
    }
    int32_t status = 0;
    EXPECT_EQ(BatchKeys("", status).size(), 3u);

    if (!backend->TakesSql()) return;
    // A table whose own names need quoting is read and written as any other.
    backend->Make({"we\"ird;name", {{"id", CColumnKind::Text}, {"a\"b; c", CColumnKind::Real}}, {{"k", "1.5"}}});
    std::vector<CEngineField> fields;
    ASSERT_EQ(Engine().ListFields("clinic", "we\"ird;name", fields), 0) << Engine().LastFailure();
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields[1].name, "a\"b; c");
    CRecordPage page;
    ASSERT_EQ(Engine().QueryRecords("clinic", {"we\"ird;name", "a\"b; c", CComparison::Equal, "1.5", 0, 10}, page), 0);
    EXPECT_EQ(page.rows.size(), 1u);
    std::unique_ptr<CEngineQuery> keys;
    ASSERT_EQ(Engine().RunKeyQuery("clinic", "we\"ird;name", "id", "", keys), 0) << Engine().LastFailure();
    bool hasRow = false;
    CString key;
    ASSERT_EQ(keys->NextRow(hasRow), 0);
    ASSERT_TRUE(hasRow);
    EXPECT_EQ(keys->FirstColumnText(key), 0);
    EXPECT_STREQ(key.Text(), "k");
}

INSTANTIATE_TEST_SUITE_P(
    Engines, EngineSuite,
    ::testing::Values(CBackendKind{"SQLite", [] { return std::unique_ptr<CEngineBackend>(new CSqliteBackend); }},
                      CBackendKind{"PostgreSQL", [] { return std::unique_ptr<CEngineBackend>(new CPostgresBackend); }},
                      CBackendKind{"dBASE", [] { return std::unique_ptr<CEngineBackend>(new CDbaseBackend); }}),
    [](const ::testing::TestParamInfo<CBackendKind> &info) { return std::string(info.param.name); });

}  // namespace

#include "tables/spool_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/memory_option_store.h"
#include "table_test_support.h"
#include "tables/sqlite_engine.h"
#include "tables/table_environment.h"

namespace {

const char *kSchema = "CREATE TABLE verdicts (id TEXT, flu REAL, note TEXT);";

class SpoolEngineTest : public ::testing::Test {
protected:
    SpoolEngineTest() : engine(environment), spool(engine, dir.Path("spool")) {
        environment.baseDirectory = dir.Dir().c_str();
        environment.aliasStore = &aliases;
        dir.MakeDatabase("out.db", kSchema);
        dir.MakeDatabase("direct.db", kSchema);
    }

    // Appends a record as the engine output table does: every field named.
    int32_t Append(CDatabaseEngine &target, const char *alias, const char *id, const char *flu, const char *note) {
        std::unique_ptr<CEngineTable> table;
        if (target.OpenTable(alias, "verdicts", CEngineAccess::Append, table) != 0) return 2;
        CStringVector names;
        if (table->FieldNames(names) != 0 || table->Append() != 0) return 2;
        const char *values[] = {id, flu, note};
        for (int32_t i = 0; i < names.Count(); ++i) {
            int32_t position = -1;
            if (table->FindField(names.At(i), position) == 0) table->SetFieldText(position, values[i]);
        }
        const int32_t status = table->Post();
        table->Close();
        return status;
    }

    CScratchDir dir;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
    CSqliteEngine engine;
    CSpoolEngine spool;
};

// Records go to the spool, not the table, and replaying them stores exactly
// what writing them directly stores: data with tabs, line ends and
// backslashes stays data, and the order is kept.
TEST_F(SpoolEngineTest, ReplayedRecordsEqualRecordsWrittenDirectly) {
    const char *records[][3] = {{"c1", "0,500000", "plain"},
                                {"tab\there", "0,250000", "line\nend\r\n"},
                                {"back\\slash\\t", "?", "\\n not a line end"},
                                {"", "1,000000", ""}};
    for (auto &record : records) {
        ASSERT_EQ(Append(spool, "out.db", record[0], record[1], record[2]), 0);
        ASSERT_EQ(Append(engine, "direct.db", record[0], record[1], record[2]), 0);
    }
    EXPECT_TRUE(dir.Query("out.db", "SELECT * FROM verdicts").empty()) << "the spool stored a record itself";

    std::string reason;
    ASSERT_TRUE(ReplaySpool(engine, dir.Path("spool"), reason)) << reason;
    const auto direct = dir.Query("direct.db", "SELECT * FROM verdicts ORDER BY rowid");
    ASSERT_EQ(direct.size(), 4u);
    EXPECT_EQ(dir.Query("out.db", "SELECT * FROM verdicts ORDER BY rowid"), direct);
}

// The replay stores thousands of records in groups; a record refused in the
// middle of a group stops the replay, and the records before it stay stored.
TEST_F(SpoolEngineTest, ReplayStoresInGroupsAndKeepsWhatCameBeforeAFailure) {
    for (int i = 0; i < 2500; ++i)
        ASSERT_EQ(Append(spool, "out.db", ("c" + std::to_string(i)).c_str(), "0,5", ""), 0);
    std::string reason;
    ASSERT_TRUE(ReplaySpool(engine, dir.Path("spool"), reason)) << reason;
    const auto rows = dir.Query("out.db", "SELECT id FROM verdicts ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2500u);
    EXPECT_EQ(rows.front(), "t:c0");
    EXPECT_EQ(rows.back(), "t:c2499");

    dir.MakeDatabase("out.db", "DROP TABLE verdicts; CREATE TABLE verdicts (id TEXT CHECK (id <> 'c1006'), "
                               "flu REAL, note TEXT);");
    EXPECT_FALSE(ReplaySpool(engine, dir.Path("spool"), reason));
    EXPECT_NE(reason.find("verdicts"), std::string::npos) << reason;
    EXPECT_EQ(dir.Query("out.db", "SELECT id FROM verdicts").size(), 1006u);
}

// The spool checks what the real engine checks when a table is opened; a
// table that is gone at the replay stops it with a reason; reading passes
// through; a missing spool holds nothing.
TEST_F(SpoolEngineTest, FailuresAreTheRealEnginesAndReadsPassThrough) {
    EXPECT_EQ(Append(spool, "out.db", "c1", "0,5", "x"), 0);
    EXPECT_EQ(Append(spool, "missing.db", "c2", "0,5", "x"), 2);
    std::unique_ptr<CEngineTable> table;
    EXPECT_EQ(spool.OpenTable("out.db", "absent", CEngineAccess::Append, table), 2);
    EXPECT_FALSE(dir.Exists("missing.db"));

    std::string reason;
    EXPECT_TRUE(ReplaySpool(engine, dir.Path("no-spool"), reason));
    dir.MakeDatabase("out.db", "DROP TABLE verdicts;");
    EXPECT_FALSE(ReplaySpool(engine, dir.Path("spool"), reason));
    EXPECT_NE(reason.find("verdicts"), std::string::npos) << reason;

    dir.MakeDatabase("in.db", "CREATE TABLE cases (id TEXT, fever REAL); INSERT INTO cases VALUES ('k', 0.75);");
    ASSERT_EQ(spool.OpenTable("in.db", "cases", CEngineAccess::Read, table), 0);
    ASSERT_EQ(table->SetFilter("id", "k"), 0);
    ASSERT_EQ(table->First(), 0);
    CString fever;
    ASSERT_EQ(table->FieldText(1, fever), 0);
    EXPECT_STREQ(fever.Text(), "0.75");
}

}  // namespace

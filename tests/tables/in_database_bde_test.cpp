#include "tables/in_database_bde.h"

#include <gtest/gtest.h>

#include "foundation/memory_option_store.h"
#include "net/params.h"
#include "table_test_support.h"

namespace {

class EngineInputTest : public ::testing::Test {
protected:
    EngineInputTest() {
        environment.baseDirectory = dir.Dir().c_str();
        environment.aliasStore = &aliases;
        aliases.WriteText(CTableEnvironment::kAliasKey, "clinic", "data/clinic.db");
        std::filesystem::create_directory(dir.Path("data"));
        dir.MakeDatabase("data/clinic.db",
                         "CREATE TABLE patients (ID TEXT, NAME TEXT, Fever REAL, cough TEXT, age INTEGER);"
                         "INSERT INTO patients VALUES ('p17', 'Yes', 0.8, NULL, 42);"
                         "INSERT INTO patients VALUES ('O''Hara', 'Quoted', 0.5, 'N', 7);"
                         "INSERT INTO patients VALUES ('p18', '', NULL, 'y', NULL);");
        params.SetParam("idbbde", "clinic");
        params.SetParam("idbbdetable", "patients");
        params.SetParam("dbheadername", "id");
    }

    int32_t OpenKey(const char *key) {
        params.RemoveParam("dbrecord");
        params.SetParam("dbrecord", key);
        int32_t status = table.Open(&params);
        EXPECT_EQ(status == 0, table.active);
        return status;
    }

    CScratchDir dir;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
    CParameters params;
    CInDatabaseBDE table{environment};
};

TEST_F(EngineInputTest, TheRecordHoldsLowerCasedNamesAndTextsWithNullsAsQuestionMarks) {
    ASSERT_EQ(OpenKey("p17"), 0);
    EXPECT_EQ(table.keyColumn, 0);
    EXPECT_STREQ(table.FieldText("id").Text(), "p17");
    EXPECT_STREQ(table.FieldText("name").Text(), "yes");
    EXPECT_STREQ(table.FieldText("fever").Text(), "0.8");
    EXPECT_STREQ(table.FieldText("cough").Text(), "?");
    EXPECT_STREQ(table.FieldText("age").Text(), "42");
    EXPECT_FALSE(table.HasField("NAME"));
    EXPECT_EQ(table.record->Count(), 5);

    // An empty text is a field; a null one reads as don't know.
    ASSERT_EQ(OpenKey("p18"), 0);
    EXPECT_TRUE(table.HasField("name"));
    EXPECT_STREQ(table.FieldText("name").Text(), "");
    EXPECT_FALSE(table.HasField("weight"));
    EXPECT_STREQ(table.FieldText("fever").Text(), "?");
    EXPECT_STREQ(table.FieldText("age").Text(), "?");
}

TEST_F(EngineInputTest, AKeyWithAQuoteFindsItsOwnRecordOnly) {
    ASSERT_EQ(OpenKey("O'Hara"), 0);
    EXPECT_STREQ(table.FieldText("name").Text(), "quoted");
    EXPECT_EQ(OpenKey("x' or '1'='1"), 2);
    EXPECT_EQ(OpenKey("p19"), 2);
    EXPECT_FALSE(table.HasField("id"));
}

TEST_F(EngineInputTest, MissingParametersLeaveItInactiveAndEngineErrorsFail) {
    CParameters partial;
    partial.SetParam("idbbde", "clinic");
    partial.SetParam("dbrecord", "p17");
    EXPECT_EQ(table.Open(&partial), 0);  // no table parameter
    EXPECT_FALSE(table.active);
    partial.SetParam("bdetablename", "patients");
    partial.SetParam("dbheadername", "ID");
    EXPECT_EQ(table.Open(&partial), 0);
    EXPECT_TRUE(table.active);

    params.SetParam("idbrecord", "p17");
    EXPECT_EQ(table.Open(&params), 0);
    CParameters noKey;
    noKey.SetParam("idbbde", "clinic");
    noKey.SetParam("bdetablename", "patients");
    EXPECT_EQ(table.Open(&noKey), 0);
    EXPECT_FALSE(table.active);

    CParameters wrong;
    wrong.SetParam("idbbde", "nowhere.db");
    wrong.SetParam("idbbdetable", "patients");
    wrong.SetParam("dbrecord", "p17");
    EXPECT_EQ(table.Open(&wrong), 2);
    EXPECT_FALSE(dir.Exists("nowhere.db"));
    CParameters noColumn;  // the default key column "header" is not a field
    noColumn.SetParam("idbbde", "clinic");
    noColumn.SetParam("idbbdetable", "patients");
    noColumn.SetParam("dbrecord", "p17");
    EXPECT_EQ(table.Open(&noColumn), 2);
    EXPECT_EQ(table.keyColumn, -1);
    CParameters noTable;
    noTable.SetParam("idbbde", "clinic");
    noTable.SetParam("idbbdetable", "visits");
    noTable.SetParam("dbrecord", "p17");
    EXPECT_EQ(table.Open(&noTable), 2);
}

TEST(FieldNameLookup, IgnoresCaseLikeTheDatabase) {
    CStringVector names;
    names.Add("ID");
    names.Add("Fever");
    EXPECT_EQ(FindFieldName(names, "id"), 0);
    EXPECT_EQ(FindFieldName(names, "FEVER"), 1);
    EXPECT_EQ(FindFieldName(names, "Feve"), -1);
    EXPECT_EQ(FindFieldName(names, ""), -1);
}

}  // namespace

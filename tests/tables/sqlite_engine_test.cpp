#include "tables/sqlite_engine.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "foundation/memory_option_store.h"
#include "table_test_support.h"
#include "tables/table_environment.h"

namespace {

const char *kPatients =
    "CREATE TABLE patients (id TEXT, age INTEGER, fever REAL, note);"
    "INSERT INTO patients VALUES ('p17', 42, 0.8, 'ok');"
    "INSERT INTO patients VALUES ('o''brien', 61, NULL, 'quote');"
    "INSERT INTO patients VALUES ('p18', 35, 0.25, NULL);";

class SqliteEngineTest : public ::testing::Test {
protected:
    SqliteEngineTest() : engine(environment) {
        environment.baseDirectory = dir.Dir().c_str();
        environment.aliasStore = &aliases;
        dir.MakeDatabase("clinic.db", kPatients);
    }

    // Reads the record of a key as name=value pairs, "?" for null.
    std::string Lookup(const CString &key) {
        std::unique_ptr<CEngineTable> table;
        if (engine.OpenTable("clinic.db", "patients", CEngineAccess::Read, table) != 0) return "no table";
        if (table->SetFilter("id", key) != 0) return "no filter";
        if (table->First() != 0) return "none";
        std::string record;
        for (int32_t i = 0; i < table->FieldCount(); ++i) {
            CString text;
            if (table->IsNull(i)) text = "?";
            else EXPECT_EQ(table->FieldText(i, text), 0);
            record += (i ? " " : "") + std::string(text.Text());
        }
        table->Close();
        return record;
    }

    std::vector<std::string> Keys(const CString &queryText, int32_t &status) {
        std::vector<std::string> keys;
        std::unique_ptr<CEngineQuery> query;
        status = engine.RunQuery("clinic.db", queryText, query);
        if (status != 0) return keys;
        bool hasRow = false;
        while ((status = query->NextRow(hasRow)) == 0 && hasRow) {
            CString key;
            EXPECT_EQ(query->FirstColumnText(key), 0);
            keys.push_back(key.Text());
        }
        query->CloseQuery();
        return keys;
    }

    CScratchDir dir;
    CMemoryOptionStore aliases;
    CTableEnvironment environment;
    CSqliteEngine engine;
};

TEST_F(SqliteEngineTest, AliasesNameDatabaseFilesAndUndefinedAliasesArePaths) {
    aliases.WriteText(CTableEnvironment::kAliasKey, "clinic", "clinic.db");
    aliases.WriteText(CTableEnvironment::kAliasKey, "absolute", dir.Path("clinic.db"));
    EXPECT_EQ(engine.DatabasePath("clinic"), dir.Path("clinic.db"));
    EXPECT_EQ(engine.DatabasePath("absolute"), dir.Path("clinic.db"));
    EXPECT_EQ(engine.DatabasePath("other.db"), dir.Path("other.db"));
    EXPECT_EQ(engine.DatabasePath(""), "");

    std::unique_ptr<CEngineTable> table;
    EXPECT_EQ(engine.OpenTable("clinic", "patients", CEngineAccess::Read, table), 0);
    EXPECT_EQ(engine.OpenTable("absolute", "patients", CEngineAccess::Read, table), 0);
    EXPECT_EQ(engine.OpenTable(dir.Path("clinic.db").c_str(), "patients", CEngineAccess::Read, table), 0);
    ASSERT_NE(table, nullptr);
    CStringVector names;
    ASSERT_EQ(table->FieldNames(names), 0);
    ASSERT_EQ(names.Count(), 4);
    EXPECT_STREQ(names.At(0).Text(), "id");
    EXPECT_STREQ(names.At(3).Text(), "note");
}

TEST_F(SqliteEngineTest, MissingDatabasesAndTablesFailWithoutCreatingFiles) {
    std::unique_ptr<CEngineTable> table;
    EXPECT_EQ(engine.OpenTable("missing.db", "patients", CEngineAccess::Read, table), 2);
    EXPECT_EQ(engine.OpenTable("missing.db", "patients", CEngineAccess::Append, table), 2);
    std::unique_ptr<CEngineQuery> query;
    EXPECT_EQ(engine.RunQuery("missing.db", "select 1", query), 2);
    EXPECT_FALSE(dir.Exists("missing.db"));
    EXPECT_EQ(table, nullptr);

    EXPECT_EQ(engine.OpenTable("clinic.db", "visits", CEngineAccess::Read, table), 2);
    EXPECT_EQ(engine.OpenTable("clinic.db", "", CEngineAccess::Read, table), 2);
    EXPECT_EQ(engine.OpenTable("", "patients", CEngineAccess::Read, table), 2);
    dir.Write("notes.db", "this is not a database\n");
    EXPECT_EQ(engine.OpenTable("notes.db", "patients", CEngineAccess::Read, table), 2);
    std::filesystem::create_directory(dir.Path("folder.db"));
    EXPECT_EQ(engine.OpenTable("folder.db", "patients", CEngineAccess::Read, table), 2);
}

TEST_F(SqliteEngineTest, TheFilterFindsTheRecordOfAKeyWithNullsAndQuotes) {
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");
    EXPECT_EQ(Lookup("p18"), "p18 35 0.25 ?");
    EXPECT_EQ(Lookup("o'brien"), "o'brien 61 ? quote");
    // A key cannot leave its quotes and widen the filter.
    EXPECT_EQ(Lookup("x' OR '1'='1"), "none");
    EXPECT_EQ(Lookup("P17"), "none");
    EXPECT_EQ(Lookup(""), "none");

    std::unique_ptr<CEngineTable> table;
    ASSERT_EQ(engine.OpenTable("clinic.db", "patients", CEngineAccess::Read, table), 0);
    EXPECT_EQ(table->SetFilter("ward", "a"), 2);
    CString text;
    EXPECT_EQ(table->FieldText(0, text), 2);  // no current record yet
    // A numeric key column matches the key's text.
    ASSERT_EQ(table->SetFilter("age", "61"), 0);
    ASSERT_EQ(table->First(), 0);
    ASSERT_EQ(table->FieldText(0, text), 0);
    EXPECT_STREQ(text.Text(), "o'brien");
    EXPECT_EQ(table->FieldText(4, text), 2);
    table->Close();
    EXPECT_EQ(table->First(), 2);
}

TEST_F(SqliteEngineTest, AppendedNumbersAreStoredAsNumbersInNumericFields) {
    dir.MakeDatabase("out.db",
                     "CREATE TABLE results (id TEXT, flu REAL, count INTEGER, score NUMERIC, label TEXT, raw);");
    std::unique_ptr<CEngineTable> table;
    ASSERT_EQ(engine.OpenTable("out.db", "results", CEngineAccess::Append, table), 0);
    ASSERT_EQ(table->Append(), 0);
    const char *texts[][2] = {{"ID", "p17"},         {"flu", "0,500000"},   {"count", "3,000000"},
                              {"score", "0,250000"}, {"label", "0,750000"}, {"raw", "1,000000"}};
    for (auto &pair : texts) {
        int32_t position = -1;
        ASSERT_EQ(table->FindField(pair[0], position), 0) << pair[0];
        EXPECT_EQ(table->SetFieldText(position, pair[1]), 0);
    }
    int32_t position = -1;
    EXPECT_EQ(table->FindField("absent", position), 2);
    EXPECT_EQ(table->SetFieldText(17, "x"), 2);
    ASSERT_EQ(table->Post(), 0);

    ASSERT_EQ(table->Append(), 0);
    ASSERT_EQ(table->FindField("flu", position), 0);
    EXPECT_EQ(table->SetFieldText(position, "?"), 0);
    ASSERT_EQ(table->FindField("label", position), 0);
    EXPECT_EQ(table->SetFieldText(position, "?"), 0);
    ASSERT_EQ(table->FindField("count", position), 0);
    EXPECT_EQ(table->SetFieldText(position, "many"), 0);
    ASSERT_EQ(table->Post(), 0);
    table->Close();

    std::vector<std::string> rows = dir.Query("out.db", "SELECT * FROM results ORDER BY rowid");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], "t:p17|r:0.5|i:3|r:0.25|t:0,750000|t:1,000000");
    EXPECT_EQ(rows[1], "null|null|t:many|null|t:?|null");
}

// A group of appends is one transaction: another connection sees none of
// its records before the group ends and all of them after; groups do not
// nest; an engine that goes away inside a group stores none of it.
TEST_F(SqliteEngineTest, AGroupOfAppendsIsStoredAtItsEnd) {
    dir.MakeDatabase("out.db", "CREATE TABLE results (id TEXT);");
    auto append = [](CDatabaseEngine &target, const char *id) {
        std::unique_ptr<CEngineTable> table;
        int32_t position = -1;
        if (target.OpenTable("out.db", "results", CEngineAccess::Append, table) != 0 || table->Append() != 0 ||
            table->FindField("id", position) != 0 || table->SetFieldText(position, id) != 0)
            return 2;
        const int32_t status = table->Post();
        table->Close();
        return status;
    };
    EXPECT_EQ(engine.EndAppending("out.db"), 2);
    ASSERT_EQ(engine.BeginAppending("out.db"), 0);
    EXPECT_EQ(engine.BeginAppending("out.db"), 2);
    ASSERT_EQ(append(engine, "a"), 0);
    ASSERT_EQ(append(engine, "b"), 0);
    EXPECT_TRUE(dir.Query("out.db", "SELECT id FROM results").empty());
    ASSERT_EQ(engine.EndAppending("out.db"), 0);
    EXPECT_EQ(dir.Query("out.db", "SELECT id FROM results ORDER BY rowid"),
              (std::vector<std::string>{"t:a", "t:b"}));
    EXPECT_EQ(engine.EndAppending("out.db"), 2);

    {
        CSqliteEngine dying(environment);
        ASSERT_EQ(dying.BeginAppending("out.db"), 0);
        ASSERT_EQ(append(dying, "c"), 0);
    }
    EXPECT_EQ(dir.Query("out.db", "SELECT id FROM results").size(), 2u);
    // Outside a group every record is stored at once.
    ASSERT_EQ(append(engine, "d"), 0);
    EXPECT_EQ(dir.Query("out.db", "SELECT id FROM results").size(), 3u);
}

TEST_F(SqliteEngineTest, AReadTableCannotAppendAndAFailedInsertReportsFailure) {
    dir.MakeDatabase("out.db", "CREATE TABLE results (id TEXT NOT NULL, flu REAL);");
    std::unique_ptr<CEngineTable> table;
    ASSERT_EQ(engine.OpenTable("out.db", "results", CEngineAccess::Read, table), 0);
    ASSERT_EQ(table->Append(), 0);
    EXPECT_EQ(table->SetFieldText(0, "p1"), 0);
    EXPECT_EQ(table->Post(), 2);

    ASSERT_EQ(engine.OpenTable("out.db", "results", CEngineAccess::Append, table), 0);
    EXPECT_EQ(table->SetFieldText(0, "p1"), 2);  // before Append
    EXPECT_EQ(table->Post(), 2);
    ASSERT_EQ(table->Append(), 0);
    EXPECT_EQ(table->SetFieldText(1, "0,5"), 0);
    EXPECT_EQ(table->Post(), 2);  // id may not be null
    EXPECT_TRUE(dir.Query("out.db", "SELECT * FROM results").empty());
}

TEST_F(SqliteEngineTest, QueriesReadRowsInOrderAndRefuseWritesAndSecondStatements) {
    int32_t status = -1;
    std::vector<std::string> keys = Keys("select id from patients where age > 40 order by age", status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(keys, (std::vector<std::string>{"p17", "o'brien"}));
    EXPECT_EQ(Keys("select id from patients ; \n -- done\n", status).size(), 3u);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(Keys("select id from patients where age > 100", status).empty());
    EXPECT_EQ(status, 0);

    EXPECT_TRUE(Keys("select id from patients; delete from patients", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Keys("select id from patients where 1; select 2", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Keys("delete from patients", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Keys("update patients set age = 0", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Keys("select id from patients where", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(Keys("", status).empty());
    EXPECT_EQ(status, 2);
    EXPECT_EQ(dir.Query("clinic.db", "SELECT count(*), sum(age) FROM patients"),
              (std::vector<std::string>{"i:3|i:138"}));
}

TEST_F(SqliteEngineTest, AReplacedDatabaseFileIsOpenedAfresh) {
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");
    std::filesystem::remove(dir.Path("clinic.db"));
    EXPECT_EQ(Lookup("p17"), "no table");
    dir.MakeDatabase("clinic.db",
                     "CREATE TABLE patients (id TEXT, age INTEGER, fever REAL, note);"
                     "INSERT INTO patients VALUES ('p17', 43, 0.9, 'new');");
    EXPECT_EQ(Lookup("p17"), "p17 43 0.9 new");
    // Replaced in one step, the way editors and copy tools save files.
    dir.MakeDatabase("next.db",
                     "CREATE TABLE patients (id TEXT, age INTEGER, fever REAL, note);"
                     "INSERT INTO patients VALUES ('p17', 44, 0.1, 'newer');");
    std::filesystem::rename(dir.Path("next.db"), dir.Path("clinic.db"));
    EXPECT_EQ(Lookup("p17"), "p17 44 0.1 newer");
    engine.ReleaseConnections();
    EXPECT_EQ(Lookup("p17"), "p17 44 0.1 newer");
}

// Tables open at the same time with the same filter each read through a
// statement of their own, whichever is given back first; the statement
// kept for reuse then serves the next opening.
TEST_F(SqliteEngineTest, TablesOpenAtOnceReadTheirOwnRecords) {
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");  // leaves the filtered statement kept
    std::unique_ptr<CEngineTable> first, second;
    ASSERT_EQ(engine.OpenTable("clinic.db", "patients", CEngineAccess::Read, first), 0);
    ASSERT_EQ(engine.OpenTable("clinic.db", "patients", CEngineAccess::Read, second), 0);
    ASSERT_EQ(first->SetFilter("id", "p17"), 0);
    ASSERT_EQ(second->SetFilter("id", "p18"), 0);
    ASSERT_EQ(first->First(), 0);
    ASSERT_EQ(second->First(), 0);
    CString text;
    ASSERT_EQ(first->FieldText(1, text), 0);
    EXPECT_STREQ(text.Text(), "42");
    ASSERT_EQ(second->FieldText(1, text), 0);
    EXPECT_STREQ(text.Text(), "35");
    second->Close();
    // The first table's record is untouched by the second's return.
    ASSERT_EQ(first->FieldText(0, text), 0);
    EXPECT_STREQ(text.Text(), "p17");
    EXPECT_EQ(Lookup("o'brien"), "o'brien 61 ? quote");
    ASSERT_EQ(first->FieldText(2, text), 0);
    EXPECT_STREQ(text.Text(), "0.8");
    first->Close();
    EXPECT_EQ(Lookup("p18"), "p18 35 0.25 ?");
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");
}

// The columns of a table are kept between openings, but a change of the
// table's definition by another connection shows at the next opening, as
// does a table dropped and made again under the same name.
TEST_F(SqliteEngineTest, AChangedTableDefinitionShowsAtTheNextOpening) {
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok");  // from the kept columns
    dir.MakeDatabase("clinic.db", "ALTER TABLE patients ADD COLUMN ward TEXT DEFAULT 'B';");
    EXPECT_EQ(Lookup("p17"), "p17 42 0.8 ok B");
    dir.MakeDatabase("clinic.db",
                     "DROP TABLE patients; CREATE TABLE patients (id TEXT, fever REAL);"
                     "INSERT INTO patients VALUES ('p17', 0.5);");
    EXPECT_EQ(Lookup("p17"), "p17 0.5");
    dir.MakeDatabase("clinic.db", "DROP TABLE patients;");
    EXPECT_EQ(Lookup("p17"), "no table");
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/memory_option_store.h"
#include "net/params.h"
#include "recording_engine.h"
#include "table_test_support.h"
#include "tables/table_formats.h"
#include "tables/batch_iter_bde.h"
#include "tables/batch_iter_txt.h"

namespace {

class BatchIteratorTest : public ::testing::Test {
protected:
    BatchIteratorTest() { environment.baseDirectory = dir.Dir().c_str(); }

    // Opens the iterator and hands out every key; the keys as read back from
    // the "dbrecord" parameter, or "status N" when opening fails.
    std::vector<std::string> Run(CBatchIteratorDB &iterator, CParameters &parameters) {
        int32_t status = iterator.Open(&parameters);
        if (status != 0) return {"status " + std::to_string(status)};
        std::vector<std::string> keys;
        for (int guard = 0; iterator.active && guard < 100; ++guard) {
            EXPECT_EQ(iterator.Next(&parameters), 0);
            keys.push_back(parameters.GetParam("dbrecord").Text());
            EXPECT_STREQ(parameters.GetParam("idbrecord").Text(), keys.back().c_str());
            EXPECT_STREQ(parameters.GetParam("odbrecord").Text(), keys.back().c_str());
        }
        EXPECT_EQ(iterator.keys, nullptr);
        return keys;
    }

    std::vector<std::string> RunTab(const std::string &bytes, const char *keyColumn = "id") {
        dir.Write("cases.txt", bytes);
        CParameters parameters;
        parameters.SetParam("batchidbtxtreltab", "");
        parameters.SetParam("idbtxtreltab", "cases.txt");
        parameters.SetParam("dbheadername", keyColumn);
        CBatchIterDBTxt iterator(*FindTableFormat("batchidbtxtreltab"), environment);
        return Run(iterator, parameters);
    }

    using Keys = std::vector<std::string>;
    CScratchDir dir;
    CTableEnvironment environment;
};

TEST_F(BatchIteratorTest, EveryDataRowGivesItsKeyInFileOrder) {
    EXPECT_EQ(RunTab("id\tFever\np1\t0.1\np2\t0.2\np3\t0.3\n"), (Keys{"p1", "p2", "p3"}));
    EXPECT_EQ(RunTab("id\tFever\np1\t0.1\np2\t0.2\np3\t0.3"), (Keys{"p1", "p2", "p3"}));
    EXPECT_EQ(RunTab("id\tFever\r\np1\t0.1\r\np2\t0.2\r\n"), (Keys{"p1", "p2"}));
    EXPECT_EQ(RunTab("a\tb\tid\nx\ty\tp1\nx\ty\tp2\n"), (Keys{"p1", "p2"}));
    // Blank lines give nothing; short rows give nothing.
    EXPECT_EQ(RunTab("a\tid\n\nx\tp1\nshort\n\n\nx\tp2\n"), (Keys{"p1", "p2"}));
    // The last of two key columns counts.
    EXPECT_EQ(RunTab("id\tx\tid\np1\ta\tq1\n"), (Keys{"q1"}));
}

TEST_F(BatchIteratorTest, EmptyFieldsCountAsPositionsAndEmptyKeysAreHandedOut) {
    EXPECT_EQ(RunTab("id\tFever\tCough\np17\t\t0.5\n"), (Keys{"p17"}));
    EXPECT_EQ(RunTab("id\tFever\tCough\np17\t\t0.5\n", "Cough"), (Keys{"0.5"}));
    EXPECT_EQ(RunTab("x\t\tid\na\t\tp1\n"), (Keys{"p1"}));
    EXPECT_EQ(RunTab("id\tFever\np1\t1\n\t2\np3\t3\n"), (Keys{"p1", "", "p3"}));
    EXPECT_EQ(RunTab("x\tid\na\t\n"), (Keys{""}));
}

TEST_F(BatchIteratorTest, OverlongKeysKeepTheir255FirstCharacters) {
    std::string longKey(300, 'k');
    EXPECT_EQ(RunTab("id\tx\n" + longKey + "\t1\np2\t2\n"), (Keys{std::string(255, 'k'), "p2"}));
    EXPECT_EQ(RunTab(std::string(256, 'i') + "\tx\np1\t1\n", std::string(255, 'i').c_str()), (Keys{"p1"}));
}

TEST_F(BatchIteratorTest, OpeningFailsOrStaysInactiveAsTheSourceDictates) {
    EXPECT_EQ(RunTab("id\tFever\n"), Keys{});           // header only: inactive
    EXPECT_EQ(RunTab(""), Keys{"status 2"});           // no header
    EXPECT_EQ(RunTab("ID\tFever\np1\t1\n"), Keys{"status 2"});  // case matters

    CBatchIterDBTxt iterator(*FindTableFormat("batchidbtxtreltab"), environment);
    CParameters onlySource;
    onlySource.SetParam("idbtxtreltab", "cases.txt");
    EXPECT_EQ(iterator.Open(&onlySource), 0);
    EXPECT_FALSE(iterator.active);
    CParameters onlySwitch;
    onlySwitch.SetParam("batchidbtxtreltab", "1");
    EXPECT_EQ(iterator.Open(&onlySwitch), 0);
    EXPECT_FALSE(iterator.active);
    CParameters missing;
    missing.SetParam("batchidbtxtreltab", "1");
    missing.SetParam("idbtxtreltab", "missing.txt");
    EXPECT_EQ(iterator.Open(&missing), 2);
    EXPECT_FALSE(iterator.active);
    EXPECT_EQ(iterator.Next(&missing), 2);
    EXPECT_FALSE(missing.HasParam("dbrecord"));
}

TEST_F(BatchIteratorTest, TheCommaKindReadsItsOwnParametersAndHeaderName) {
    dir.Write("cases.csv", "header,patient\nx,c1\ny,c2\n");
    CParameters parameters;
    parameters.SetParam("batchidbtxtrelcomma", "");
    parameters.SetParam("idbtxtrelcomma", "cases.csv");
    parameters.SetParam("batchidbtxtreltab", "");  // the tab kind's source is absent
    parameters.SetParam("dbheadername", "header");
    parameters.SetParam("idbheadername", "patient");
    CBatchIterDBTxt comma(*FindTableFormat("batchidbtxtrelcomma"), environment);
    EXPECT_EQ(Run(comma, parameters), (Keys{"c1", "c2"}));
    EXPECT_STREQ(comma.keyColumnName.Text(), "patient");
    CBatchIterDBTxt tab(*FindTableFormat("batchidbtxtreltab"), environment);
    EXPECT_EQ(tab.Open(&parameters), 0);
    EXPECT_FALSE(tab.active);
    // The parameters keep the last key.
    EXPECT_STREQ(parameters.GetParam("odbrecord").Text(), "c2");
}

TEST_F(BatchIteratorTest, TheEngineIteratorRunsTheKeyQueryWithTheKnowledgeBasesCondition) {
    CRecordingEngine engine;
    engine.fields = {"id", "age"};
    engine.queryRows = {"p1", "p2", "p3"};
    environment.engine = &engine;
    CParameters parameters;
    parameters.SetParam("batchidbbde", "age > 40");
    parameters.SetParam("idbbde", "clinic");
    CBatchIterDBBDE iterator(environment);
    EXPECT_EQ(iterator.Open(&parameters), 0);  // no table parameter
    EXPECT_FALSE(iterator.active);
    EXPECT_TRUE(engine.log.empty());
    parameters.SetParam("bdetablename", "patients");
    parameters.SetParam("idbheadername", "id");
    EXPECT_EQ(Run(iterator, parameters), (Keys{"p1", "p2", "p3"}));
    EXPECT_EQ(engine.log, (Keys{"OpenTable clinic patients read", "Close",
                                "RunQuery clinic select id from patients where age > 40", "CloseQuery"}));

    EXPECT_STREQ(CBatchIterDBBDE::KeyQuery("id", "patients", "").Text(), "select id from patients");
    engine.failQueries = true;
    EXPECT_EQ(iterator.Open(&parameters), 2);
    EXPECT_FALSE(iterator.active);
    CParameters otherTable;
    otherTable.SetParam("batchidbbde", "");
    otherTable.SetParam("idbbde", "clinic");
    otherTable.SetParam("idbbdetable", "visits");
    EXPECT_EQ(iterator.Open(&otherTable), 2);
}

TEST_F(BatchIteratorTest, TheEngineIteratorOverSqliteReadsKeysAndRefusesWrites) {
    CMemoryOptionStore aliases;
    environment.aliasStore = &aliases;
    aliases.WriteText(CTableEnvironment::kAliasKey, "clinic", "clinic.db");
    dir.MakeDatabase("clinic.db",
                     "CREATE TABLE patients (id TEXT, age INTEGER);"
                     "INSERT INTO patients VALUES ('p1', 50), ('p2', 30), (NULL, 70), ('p4', 41);");
    CParameters parameters;
    parameters.SetParam("idbbde", "clinic");
    parameters.SetParam("idbbdetable", "patients");
    parameters.SetParam("dbheadername", "id");
    parameters.SetParam("batchidbbde", "age > 40 order by age");
    CBatchIterDBBDE iterator(environment);
    EXPECT_EQ(Run(iterator, parameters), (Keys{"p4", "p1", ""}));

    for (const char *condition : {"1; delete from patients", "1; drop table patients", "age >", "no_such_column = 1"}) {
        CParameters hostile;
        hostile.SetParam("idbbde", "clinic");
        hostile.SetParam("idbbdetable", "patients");
        hostile.SetParam("dbheadername", "id");
        hostile.SetParam("batchidbbde", condition);
        EXPECT_EQ(Run(iterator, hostile), Keys{"status 2"}) << condition;
    }
    EXPECT_EQ(dir.Query("clinic.db", "SELECT count(*) FROM patients"), Keys{"i:4"});
    CParameters none;
    none.SetParam("idbbde", "clinic");
    none.SetParam("idbbdetable", "patients");
    none.SetParam("dbheadername", "id");
    none.SetParam("batchidbbde", "age > 100");
    EXPECT_EQ(Run(iterator, none), Keys{});
}

}  // namespace

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include <string>

#include "consult/memory_option_store.h"
#include "consult/params.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "recording_engine.h"
#include "table_test_support.h"
#include "tables/in_database_rel_txt.h"
#include "tables/in_database_txt.h"
#include "tables/out_database_bde.h"
#include "tables/out_database_rel.h"
#include "tables/out_database_txt.h"

namespace {

class OutputTest : public ::testing::Test {
protected:
    OutputTest() {
        environment.baseDirectory = dir.Dir().c_str();
        AddNode("Flu", true, 0.734f);
        AddNode("Fever", false, 0.5f);
        AddNode("Cold", true, 1.0f);
        AddNode("ZERO", true, 0.25f);
        AddNode("cough", false, 0.125f);
        net.SortGoals();  // the goal list is now in value order: Cold, Flu, ZERO
    }

    void AddNode(const char *name, bool goal, float current) {
        ASSERT_EQ(net.AddBayesNode(name, 0.1f, !goal, goal), 0);
        net.FindNode(name)->current = current;
    }

    CScratchDir dir;
    CTableEnvironment environment;
    CInferenceNet net;
    CParameters params;
};

TEST_F(OutputTest, NameValueFilesHoldTheGoalsOfTheLastConsultationInDeclarationOrder) {
    COutDatabaseTxtTab tab(environment);
    COutDatabaseTxtComma comma(environment);
    EXPECT_EQ(tab.Write(&params, &net, nullptr), 0);  // not asked for: nothing written, no failure
    params.SetParam("odbtxttab", "goals.txt");
    params.SetParam("odbtxtcomma", "goals.csv");
    dir.Write("goals.txt", "old content that is much longer than the new one\n");
    ASSERT_EQ(tab.Write(&params, &net, nullptr), 0);
    ASSERT_EQ(comma.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("goals.txt"), "Flu\t0.734000\nCold\t1.000000\nZERO\t0.250000\n");
    EXPECT_EQ(dir.Read("goals.csv"), "Flu,0.734000\nCold,1.000000\nZERO,0.250000\n");

    net.FindNode("Flu")->current = 0.5f;
    ASSERT_EQ(tab.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("goals.txt"), "Flu\t0.500000\nCold\t1.000000\nZERO\t0.250000\n");

    // The file reads back as a name-value input file.
    CInDatabaseTxtComma input(environment);
    CParameters inParams;
    inParams.SetParam("idbtxtcomma", "goals.csv");
    ASSERT_EQ(input.Open(&inParams), 0);
    EXPECT_STREQ(input.FieldText("Cold").Text(), "1.000000");
    EXPECT_STREQ(input.FieldText("ZERO").Text(), "0.250000");

    CInferenceNet empty;
    ASSERT_EQ(tab.Write(&params, &empty, nullptr), 0);
    EXPECT_EQ(dir.Read("goals.txt"), "");
    CParameters badPath;
    badPath.SetParam("odbtxttab", "no/such/dir/goals.txt");
    EXPECT_EQ(tab.Write(&badPath, &net, nullptr), 2);
}

TEST_F(OutputTest, NameValueFilesAreNotWrittenIntoPipesOrDirectories) {
    COutDatabaseTxtTab tab(environment);
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    params.SetParam("odbtxttab", "pipe");  // opening it would wait for a reader
    EXPECT_EQ(tab.Write(&params, &net, nullptr), 2);
    CParameters toDirectory;
    toDirectory.SetParam("odbtxttab", ".");
    EXPECT_EQ(tab.Write(&toDirectory, &net, nullptr), 2);
}

TEST_F(OutputTest, OutputFilesOutsideTheKnowledgeBasesDirectoryAreNotWritten) {
    COutDatabaseTxtTab tab(environment);
    COutDatabaseRelTxtTab rel(environment);
    std::filesystem::create_directory(dir.Path("kb"));
    environment.baseDirectory = dir.Path("kb").c_str();
    dir.Write("victim.txt", "id\tFlu\n");
    for (const std::string &name : {std::string("../victim.txt"), dir.Path("victim.txt")}) {
        CParameters escaping;
        escaping.SetParam("odbtxttab", name.c_str());
        escaping.SetParam("odbtxtreltab", name.c_str());
        escaping.SetParam("dbheadername", "id");
        escaping.SetParam("dbrecord", "p1");
        EXPECT_EQ(tab.Write(&escaping, &net, nullptr), 2) << name;
        EXPECT_EQ(rel.Write(&escaping, &net, nullptr), 2) << name;
    }
    EXPECT_EQ(dir.Read("victim.txt"), "id\tFlu\n");
    CParameters inside;
    inside.SetParam("odbtxttab", "goals.txt");
    EXPECT_EQ(tab.Write(&inside, &net, nullptr), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.Path("kb/goals.txt")));
}

TEST_F(OutputTest, AKeyHoldingTheSeparatorOrALineEndWritesNoRow) {
    COutDatabaseRelTxtComma comma(environment);
    params.SetParam("odbtxtrelcomma", "cases.csv");
    params.SetParam("dbheadername", "id");
    dir.Write("cases.csv", "id,Fever\n");
    for (const char *key : {"a,b", "p1\np2", "p1\r"}) {
        CParameters withKey;
        withKey.SetParam("odbtxtrelcomma", "cases.csv");
        withKey.SetParam("dbheadername", "id");
        withKey.SetParam("dbrecord", key);
        EXPECT_EQ(comma.Write(&withKey, &net, nullptr), 2) << key;
    }
    EXPECT_EQ(dir.Read("cases.csv"), "id,Fever\n");
    params.SetParam("dbrecord", "a\tb");  // a tab is no separator of the comma kind
    ASSERT_EQ(comma.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.csv"), "id,Fever\na\tb,0.500000\n");
}

TEST_F(OutputTest, RelationalFilesReceiveOneRowUnderTheirHeader) {
    COutDatabaseRelTxtTab table(environment);
    params.SetParam("odbtxtreltab", "cases.txt");
    params.SetParam("dbheadername", "id");
    params.SetParam("dbrecord", "p17");
    dir.Write("cases.txt", "id\tFever\tFlu\tCough\n");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    params.RemoveParam("dbrecord");
    params.SetParam("dbrecord", "p18");
    net.FindNode("Fever")->current = 0.25f;
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"),
              "id\tFever\tFlu\tCough\np17\t0.500000\t0.734000\t?\np18\t0.250000\t0.734000\t?\n");

    // The rows read back as a relational input file with the same key.
    CInDatabaseRelTxtTab input(environment);
    CParameters inParams;
    inParams.SetParam("idbtxtreltab", "cases.txt");
    inParams.SetParam("dbheadername", "id");
    inParams.SetParam("dbrecord", "p17");
    ASSERT_EQ(input.Open(&inParams), 0);
    EXPECT_STREQ(input.FieldText("Flu").Text(), "0.734000");
    EXPECT_STREQ(input.FieldText("Cough").Text(), "?");
}

TEST_F(OutputTest, RelationalHeadersDecideTheColumnsAndTheKeyColumnWins) {
    COutDatabaseRelTxtComma table(environment);
    params.SetParam("odbtxtrelcomma", "cases.csv");
    params.SetParam("dbheadername", "id");
    params.SetParam("odbheadername", "Flu");  // a node of that name exists
    params.SetParam("odbrecord", "k1");
    params.SetParam("dbrecord", "ignored");
    dir.Write("cases.csv", "Fever,Flu,,Cold\n");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.csv"), "Fever,Flu,,Cold\n0.500000,k1\n");
    EXPECT_STREQ(table.keyColumnName.Text(), "Flu");
}

TEST_F(OutputTest, RelationalFilesAreNeverCreatedAndAMissingLineEndIsSupplied) {
    COutDatabaseRelTxtTab table(environment);
    params.SetParam("odbtxtreltab", "cases.txt");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 0);  // no key: no row to write
    params.SetParam("dbrecord", "p17");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 2);
    EXPECT_EQ(table.Failure(), "Cannot write output file cases.txt: No such file or directory");
    EXPECT_FALSE(dir.Exists("cases.txt"));

    // The default key column is "header"; a last line without its line end
    // is ended before the new row.
    dir.Write("cases.txt", "header\tCold\r\np16\t0.1");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"), "header\tCold\r\np16\t0.1\np17\t1.000000\n");
    dir.Write("cases.txt", "header");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"), "header\np17\n");
}

TEST_F(OutputTest, EngineRecordsPassTheKeyAndNodeValuesWithADecimalComma) {
    CRecordingEngine engine;
    environment.engine = &engine;
    // Nodes are found by the field name as written, in upper or in lower case.
    engine.fields = {"ID", "Flu", "FEVER", "COUGH", "Zero", "note"};
    engine.refusedField = "COUGH";
    COutDatabaseBDE table(environment);
    params.SetParam("odbbde", "clinic");
    params.SetParam("dbrecord", "p1.5");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 0);  // no table parameter: not asked for
    params.SetParam("bdetablename", "patients");
    params.SetParam("odbheadername", "id");
    EXPECT_TRUE(engine.log.empty());
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    std::vector<std::string> expected = {"OpenTable clinic patients append",
                                         "FieldNames",
                                         "Append",
                                         "Set ID=p1.5",
                                         "Set Flu=0,734000",
                                         "Set FEVER=?",
                                         "Set COUGH=0,125000",
                                         "Set Zero=0,250000",
                                         "Set note=?",
                                         "Post",
                                         "Close"};
    EXPECT_EQ(engine.log, expected);

    engine.log.clear();
    params.SetParam("odbbdetable", "visits");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 2);
    EXPECT_EQ(engine.log, std::vector<std::string>{"OpenTable clinic visits append"});
}

TEST_F(OutputTest, EngineRecordsAreStoredWithNumbersInNumericFields) {
    CMemoryOptionStore aliases;
    aliases.WriteText(CTableEnvironment::kAliasKey, "results", "results.db");
    environment.aliasStore = &aliases;
    dir.MakeDatabase("results.db", "CREATE TABLE outcome (id TEXT, Flu REAL, Fever REAL, Cold TEXT, other REAL);");
    COutDatabaseBDE table(environment);
    params.SetParam("odbbde", "results");
    params.SetParam("odbbdetable", "outcome");
    params.SetParam("dbheadername", "ID");
    params.SetParam("dbrecord", "p.17");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Query("results.db", "SELECT * FROM outcome"),
              std::vector<std::string>{"t:p.17|r:0.734|r:0.5|t:1,000000|null"});
    params.RemoveParam("odbbde");
    params.SetParam("odbbde", "missing.db");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 2);
    EXPECT_FALSE(dir.Exists("missing.db"));
}

}  // namespace

#include <gtest/gtest.h>

#include "child_process.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

#include <string>

#include "foundation/memory_option_store.h"
#include "net/params.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "recording_engine.h"
#include "table_test_support.h"
#include "tables/table_formats.h"
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

    // A relational tab output "cases.txt" keyed by "id", the record "p17",
    // the file holding `header`.
    void RelationalOutputOfP17(const std::string &header) {
        params.SetParam("odbtxtreltab", "cases.txt");
        params.SetParam("dbheadername", "id");
        params.SetParam("dbrecord", "p17");
        dir.Write("cases.txt", header);
    }

    CScratchDir dir;
    CTableEnvironment environment;
    CInferenceNet net;
    CParameters params;
};

TEST_F(OutputTest, NameValueFilesHoldTheGoalsOfTheLastConsultationInDeclarationOrder) {
    COutDatabaseTxt tab(*FindTableFormat("odbtxttab"), environment);
    COutDatabaseTxt comma(*FindTableFormat("odbtxtcomma"), environment);
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
    CInDatabaseTxt input(*FindTableFormat("idbtxtcomma"), environment);
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
    COutDatabaseTxt tab(*FindTableFormat("odbtxttab"), environment);
    ASSERT_EQ(mkfifo(dir.Path("pipe").c_str(), 0600), 0);
    params.SetParam("odbtxttab", "pipe");  // opening it would wait for a reader
    EXPECT_EQ(tab.Write(&params, &net, nullptr), 2);
    CParameters toDirectory;
    toDirectory.SetParam("odbtxttab", ".");
    EXPECT_EQ(tab.Write(&toDirectory, &net, nullptr), 2);
}

TEST_F(OutputTest, OutputFilesOutsideTheKnowledgeBasesDirectoryAreNotWritten) {
    COutDatabaseTxt tab(*FindTableFormat("odbtxttab"), environment);
    COutDatabaseRel rel(*FindTableFormat("odbtxtreltab"), environment);
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
    COutDatabaseRel comma(*FindTableFormat("odbtxtrelcomma"), environment);
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
    COutDatabaseRel table(*FindTableFormat("odbtxtreltab"), environment);
    RelationalOutputOfP17("id\tFever\tFlu\tCough\n");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    params.RemoveParam("dbrecord");
    params.SetParam("dbrecord", "p18");
    net.FindNode("Fever")->current = 0.25f;
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"),
              "id\tFever\tFlu\tCough\np17\t0.500000\t0.734000\t?\np18\t0.250000\t0.734000\t?\n");

    // The rows read back as a relational input file with the same key.
    CInDatabaseRelTxt input(*FindTableFormat("idbtxtreltab"), environment);
    CParameters inParams;
    inParams.SetParam("idbtxtreltab", "cases.txt");
    inParams.SetParam("dbheadername", "id");
    inParams.SetParam("dbrecord", "p17");
    ASSERT_EQ(input.Open(&inParams), 0);
    EXPECT_STREQ(input.FieldText("Flu").Text(), "0.734000");
    EXPECT_STREQ(input.FieldText("Cough").Text(), "?");
}

// The header is kept from row to row, but a file changed by anyone else
// since the last row (even to the same size) is read again.
TEST_F(OutputTest, ARelationalHeaderChangedBetweenRowsDecidesTheNextRow) {
    COutDatabaseRel table(*FindTableFormat("odbtxtreltab"), environment);
    RelationalOutputOfP17("id\tFever\tFlu\n");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);  // from the kept header
    EXPECT_EQ(dir.Read("cases.txt"), "id\tFever\tFlu\np17\t0.500000\t0.734000\np17\t0.500000\t0.734000\n");
    // The columns swapped, the file's size unchanged.
    dir.Write("cases.txt", "id\tFlu\tFever\n");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"), "id\tFlu\tFever\np17\t0.734000\t0.500000\n");
    // Replaced by another file under the same name.
    const std::string path = dir.Write("other.txt", "Cold\tid\n");
    std::filesystem::rename(path, dir.Dir() + "/cases.txt");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("cases.txt"), "Cold\tid\n1.000000\tp17\n");
    // Another file name.
    dir.Write("more.txt", "Flu\n");
    params.RemoveParam("odbtxtreltab");
    params.SetParam("odbtxtreltab", "more.txt");
    ASSERT_EQ(table.Write(&params, &net, nullptr), 0);
    EXPECT_EQ(dir.Read("more.txt"), "Flu\n0.734000\n");
}

TEST_F(OutputTest, RelationalHeadersDecideTheColumnsAndTheKeyColumnWins) {
    COutDatabaseRel table(*FindTableFormat("odbtxtrelcomma"), environment);
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
    COutDatabaseRel table(*FindTableFormat("odbtxtreltab"), environment);
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
    EXPECT_EQ(table.Failure(), "Cannot write to table outcome of database missing.db: No such file or directory");
    EXPECT_FALSE(dir.Exists("missing.db"));
    // A table the database does not have is no success either.
    params.RemoveParam("odbbde");
    params.SetParam("odbbde", "results");
    params.RemoveParam("odbbdetable");
    params.SetParam("odbbdetable", "nowhere");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 2);
    EXPECT_EQ(table.Failure(), "Cannot write to table nowhere of database results: no table nowhere");
}

}  // namespace

namespace {

TEST_F(OutputTest, ConcurrentRunsAppendWholeRowsAndAnInterruptedRowIsCut) {
    // Rows longer than a stream buffer, so that a writer that does not
    // write a row at once is caught. What a killed writer left: a row cut
    // in its second field.
    const int kExtraColumns = 5000;
    std::string header = "id\tFlu\tCold\tZERO";
    for (int i = 0; i < kExtraColumns; ++i) header += "\tx" + std::to_string(i);
    dir.Write("cases.txt", header + "\np1\t0.1\t0.2\t0.3\np2\t0.7");
    params.SetParam("odbtxtreltab", "cases.txt");
    params.SetParam("dbheadername", "id");
    const int kRows = 150;
    auto run = [&](const char *prefix) {
        return [&, prefix] {
            COutDatabaseRel table(*FindTableFormat("odbtxtreltab"), environment);
            for (int i = 0; i < kRows; ++i) {
                params.SetParam("dbrecord", (prefix + std::to_string(i)).c_str());
                if (table.Write(&params, &net, nullptr) != 0) return 1;
            }
            return 0;
        };
    };
    const pid_t first = fork();
    if (first == 0) _exit(run("a")());
    EXPECT_EQ(InChild(run("b")), 0);
    int status = 0;
    waitpid(first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const std::string text = dir.Read("cases.txt");
    EXPECT_EQ(text.rfind(header + "\np1\t0.1\t0.2\t0.3\n", 0), 0u);
    EXPECT_EQ(text.find("p2"), std::string::npos);
    int rows = 0;
    for (size_t start = text.find('\n') + 1; start < text.size(); ++rows) {
        const size_t end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos) << "the file ends inside a row";
        const std::string line = text.substr(start, end - start);
        if (rows > 0) {
            ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 3 + kExtraColumns) << line.substr(0, 40);
        }
        start = end + 1;
    }
    EXPECT_EQ(rows, 1 + 2 * kRows);
}

TEST_F(OutputTest, FailuresNameTheFileAndLeaveEarlierContentWhole) {
    COutDatabaseTxt tab(*FindTableFormat("odbtxttab"), environment);
    COutDatabaseRel rel(*FindTableFormat("odbtxtreltab"), environment);
    dir.Write("cases.txt", "id\tFlu\n");
    dir.Write("goals.txt", "Flu\t0.100000\n");
    params.SetParam("odbtxttab", "goals.txt");
    params.SetParam("odbtxtreltab", "cases.txt");
    params.SetParam("dbheadername", "id");
    params.SetParam("dbrecord", "p1");
    // A file-size limit stands in for a full disk.
    const int status = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{20, 20};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
        if (rel.Write(&params, &net, nullptr) != 0) return 11;  // "p1\t0.734000\n" fits
        params.SetParam("dbrecord", "p2");
        if (rel.Write(&params, &net, nullptr) != 2) return 12;
        if (rel.Failure() != "Cannot write output file cases.txt: File too large") return 13;
        if (tab.Write(&params, &net, nullptr) != 2) return 14;
        return tab.Failure() == "Cannot write output file goals.txt: File too large" ? 0 : 15;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(dir.Read("cases.txt"), "id\tFlu\np1\t0.734000\n");
    EXPECT_EQ(dir.Read("goals.txt"), "Flu\t0.100000\n");

    params.RemoveParam("odbtxttab");
    params.SetParam("odbtxttab", "/tmp/goals.txt");
    EXPECT_EQ(tab.Write(&params, &net, nullptr), 2);
    EXPECT_EQ(tab.Failure(), "Cannot write output file /tmp/goals.txt: the name must lie below the knowledge base's folder");
}

TEST_F(OutputTest, AnEngineDatabaseNamedByTheKnowledgeBaseMustLieInItsFolder) {
    CScratchDir elsewhere;
    const std::string victim = elsewhere.MakeDatabase("victim.db", "CREATE TABLE results (id TEXT, Flu REAL);");
    std::filesystem::create_directory(dir.Path("sub"));
    std::filesystem::create_symlink(victim, dir.Path("local.db"));
    std::filesystem::create_directory_symlink(elsewhere.Dir(), dir.Path("sub/link"));
    COutDatabaseBDE table(environment);
    params.SetParam("odbbdetable", "results");
    params.SetParam("dbheadername", "id");
    params.SetParam("dbrecord", "p1");
    const std::string relative = "../" + std::filesystem::path(elsewhere.Dir()).filename().string() + "/victim.db";
    for (const std::string &alias : {victim, relative, std::string("local.db"), std::string("sub/link/victim.db")}) {
        params.RemoveParam("odbbde");
        params.SetParam("odbbde", alias.c_str());
        EXPECT_EQ(table.Write(&params, &net, nullptr), 2) << alias;
        EXPECT_EQ(table.Failure().rfind("Cannot write to table results of database " + alias + ": ", 0), 0u)
            << table.Failure();
    }
    EXPECT_TRUE(elsewhere.Query("victim.db", "SELECT * FROM results").empty());

    // An alias the user defined may name a database anywhere.
    CMemoryOptionStore aliases;
    aliases.WriteText(CTableEnvironment::kAliasKey, "results", victim);
    environment.aliasStore = &aliases;
    params.RemoveParam("odbbde");
    params.SetParam("odbbde", "results");
    EXPECT_EQ(table.Write(&params, &net, nullptr), 0) << table.Failure();
    EXPECT_EQ(elsewhere.Query("victim.db", "SELECT * FROM results"), std::vector<std::string>{"t:p1|r:0.734"});
}

}  // namespace

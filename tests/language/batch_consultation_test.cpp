// Whole batch runs: a knowledge base compiled with the registry's tables,
// consulted once per key of a relational text file and of an engine table,
// its answers read from the input record of each key and its outcome
// appended to a relational output file.
#include <gtest/gtest.h>

#include <string>

#include "net/params.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "language/output_memo.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tests/tables/table_test_support.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"

namespace {

const char *kKnowledgeBase = R"(
net {
  setparam(batchidbtxtreltab)
  setparam(idbtxtreltab, "cases.txt")
  setparam(batchidbbde, "fever is null or fever > 0.5")
  setparam(idbbde, "clinic.db")
  setparam(idbbdetable, patients)
  setparam(dbheadername, id)
  setparam(odbtxtreltab, "out.txt")
  setparam(odbtxttab, "goals.txt")
}
nodes {
  fever { (bayesian, 0.3) retriever (dbprob, dnprob) }
  flu { (bayesian, 0.1, goal) }
}
rules {
  { fever, flu, 0.8, 0.05 }
}
)";

class BatchConsultationTest : public ::testing::Test {
protected:
    // The registry's tables name their files relative to the scratch folder.
    BatchConsultationTest() { environment.baseDirectory = dir.Dir().c_str(); }

    int32_t BuildAndConsult(const char *source) {
        CPInputChar input(source);
        CPOutputMemo output(nullptr);
        CInfNetCompiler compiler(&input, &output);
        compiler.SetSourceDirectory(dir.Dir().c_str());
        if (registry.CopyIntoTable(&table) != 0) return -1;
        compiler.SetTargets(&net, &table, &params);
        if (compiler.Compile() != 0) return -2;
        if (net.Check() != 0) return -3;
        net.ResetValues(&table);
        return net.Consult(&table, &params);
    }

    CScratchDir dir;
    CUserInterface noWindows;
    CTableEnvironment environment;
    CAllRetrieversWin registry{noWindows, environment};
    CTable table;
    CInfTaxNet net;
    CParameters params;
};

TEST_F(BatchConsultationTest, EveryKeyOfBothSourcesGetsItsOwnConsultationAndRow) {
    dir.Write("cases.txt", "id\tfever\np1\t1\np2\t0\np3\t?");
    dir.MakeDatabase("clinic.db",
                     "CREATE TABLE patients (ID TEXT, FEVER REAL);"
                     "INSERT INTO patients VALUES ('e1', 1.0), ('e2', NULL), ('e3', 0.1), ('e4', 0.75);");
    dir.Write("out.txt", "id\tflu\tfever\tweight\n");
    ASSERT_EQ(BuildAndConsult(kKnowledgeBase), 0);
    EXPECT_TRUE(table.batchRunning);
    EXPECT_FALSE(table.BatchActive());
    // Text keys first, then the engine's (e3 fails the condition). A
    // don't-know answer (p3's "?", e2's null) leaves the prior values.
    EXPECT_EQ(dir.Read("out.txt"),
              "id\tflu\tfever\tweight\n"
              "p1\t0.800000\t1.000000\t?\n"
              "p2\t0.050000\t0.000000\t?\n"
              "p3\t0.100000\t0.300000\t?\n"
              "e1\t0.800000\t1.000000\t?\n"
              "e2\t0.100000\t0.300000\t?\n"
              "e4\t0.550000\t0.750000\t?\n");
    // The name-value output holds the last consultation only.
    EXPECT_EQ(dir.Read("goals.txt"), "flu\t0.550000\n");
    EXPECT_STREQ(params.GetParam("odbrecord").Text(), "e4");
}

TEST_F(BatchConsultationTest, ASourceThatCannotBeReadEndsTheRunBeforeAnyConsultation) {
    dir.Write("out.txt", "id\tflu\n");
    // No cases.txt: the text iterator cannot open its file.
    EXPECT_EQ(BuildAndConsult(kKnowledgeBase), 2);
    EXPECT_EQ(dir.Read("out.txt"), "id\tflu\n");
    EXPECT_FALSE(dir.Exists("goals.txt"));
}

}  // namespace

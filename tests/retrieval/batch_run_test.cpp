// Batch runs through the run-time table: the iterators hand out keys, each
// pass chooses its input table and record, and the output tables receive one
// row per key. The consultation itself is stood in for by copying a field of
// the record into a node.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "net/params.h"
#include "net/inference_net.h"
#include "net/node.h"
#include "retrieval/table.h"
#include "tests/tables/table_test_support.h"
#include "tables/table_formats.h"
#include "tables/batch_iter_bde.h"
#include "tables/batch_iter_txt.h"
#include "tables/in_database_bde.h"
#include "tables/in_database_rel_txt.h"
#include "tables/in_database_txt.h"
#include "tables/out_database_rel.h"

namespace {

class BatchRunTest : public ::testing::Test {
protected:
    static const CTableFormat &Kind(const char *name) { return *FindTableFormat(name); }

    BatchRunTest()
        : nameValueTab(Kind("idbtxttab"), environment), nameValueComma(Kind("idbtxtcomma"), environment),
          relationalTab(Kind("idbtxtreltab"), environment), relationalComma(Kind("idbtxtrelcomma"), environment),
          engineInput(environment), output(Kind("odbtxtreltab"), environment),
          tabKeys(Kind("batchidbtxtreltab"), environment), commaKeys(Kind("batchidbtxtrelcomma"), environment),
          engineKeys(environment) {
        environment.baseDirectory = dir.Dir().c_str();
        // The registry's order.
        for (CInDatabase *input : std::vector<CInDatabase *>{&nameValueTab, &nameValueComma, &relationalTab,
                                                             &relationalComma, &engineInput})
            table.AddInDatabase(input);
        table.AddOutDatabase(&output);
        table.AddBatchIterator(&tabKeys);
        table.AddBatchIterator(&commaKeys);
        table.AddBatchIterator(&engineKeys);
        net.AddBayesNode("Fever", 0.5f, true, true);
        dir.Write("cases.txt", "id\tFever\np1\t0.1\np2\t0.2\n");
        dir.Write("out.txt", "id\tFever\n");
        dir.MakeDatabase("clinic.db",
                         "CREATE TABLE patients (ID TEXT, FEVER REAL);"
                         "INSERT INTO patients VALUES ('e1', 0.7), ('e2', 0.9);");
        params.SetParam("dbheadername", "id");
        params.SetParam("odbtxtreltab", "out.txt");
    }

    // Runs the passes; per pass the key and the kind of input table chosen.
    std::vector<std::string> RunBatch() {
        std::vector<std::string> passes;
        EXPECT_EQ(table.OpenBatch(&params), 0);
        do {
            if (table.BatchActive()) {
                EXPECT_EQ(table.NextBatchRecord(&params), 0);
            }
            table.StartConsultation(&net, &params);
            std::string pass = params.GetParam("dbrecord").Text();
            CString kind = "none";
            if (table.currentInDatabase != nullptr) table.currentInDatabase->GetName(kind);
            CInputRecord *record = CurrentInputRecord(&table);
            CString fever = record ? record->FieldText(record->HasField("Fever") ? "Fever" : "fever") : CString("?");
            net.FindNode("Fever")->current = static_cast<float>(TextToReal(fever));
            table.WriteOutputs(&net);
            passes.push_back(pass + " " + kind.Text());
        } while (table.BatchActive());
        return passes;
    }

    CScratchDir dir;
    CTableEnvironment environment;
    CInDatabaseTxt nameValueTab;
    CInDatabaseTxt nameValueComma;
    CInDatabaseRelTxt relationalTab;
    CInDatabaseRelTxt relationalComma;
    CInDatabaseBDE engineInput;
    COutDatabaseRel output;
    CBatchIterDBTxt tabKeys;
    CBatchIterDBTxt commaKeys;
    CBatchIterDBBDE engineKeys;
    CTable table;
    CInferenceNet net;
    CParameters params;
};

TEST_F(BatchRunTest, TextKeysComeFirstThenEngineKeysOneConsultationEach) {
    params.SetParam("batchidbtxtreltab", "");
    params.SetParam("idbtxtreltab", "cases.txt");
    params.SetParam("batchidbbde", "");
    params.SetParam("idbbde", "clinic.db");
    params.SetParam("idbbdetable", "patients");
    // Progress counts the keys of both sources as one run.
    std::vector<std::pair<int32_t, int32_t>> progress;
    table.Context().batchProgress = [&progress](int32_t done, int32_t total) { progress.emplace_back(done, total); };
    EXPECT_EQ(RunBatch(), (std::vector<std::string>{"p1 idbtxtreltab", "p2 idbtxtreltab", "e1 idbbde", "e2 idbbde"}));
    EXPECT_EQ(progress, (std::vector<std::pair<int32_t, int32_t>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));
    EXPECT_TRUE(table.batchRunning);
    EXPECT_EQ(dir.Read("out.txt"), "id\tFever\np1\t0.100000\np2\t0.200000\ne1\t0.700000\ne2\t0.900000\n");
    EXPECT_STREQ(params.GetParam("odbrecord").Text(), "e2");
}

TEST_F(BatchRunTest, AHeaderOnlyFileRunsOneOrdinaryConsultation) {
    dir.Write("cases.txt", "id\tFever\n");
    params.SetParam("batchidbtxtreltab", "");
    params.SetParam("idbtxtreltab", "cases.txt");
    params.SetParam("dbrecord", "p1");
    bool told = false;
    table.Context().batchProgress = [&told](int32_t, int32_t) { told = true; };
    EXPECT_EQ(RunBatch(), std::vector<std::string>{"p1 none"});
    EXPECT_FALSE(told);
    EXPECT_FALSE(table.batchRunning);
    EXPECT_EQ(dir.Read("out.txt"), "id\tFever\np1\t0.000000\n");
}

TEST_F(BatchRunTest, EachPassChoosesTheFirstInputKindThatFindsItsKey) {
    dir.Write("keys.csv", "id,x\np2,a\nmissing,b\np1,c\n");
    params.SetParam("batchidbtxtrelcomma", "");
    params.SetParam("idbtxtrelcomma", "keys.csv");
    params.SetParam("idbtxtreltab", "cases.txt");
    // The comma file gives the keys; the first input kind that finds the key
    // is chosen: the tab file for p2 and p1, the comma file itself for
    // "missing", which is a key there too.
    EXPECT_EQ(RunBatch(),
              (std::vector<std::string>{"p2 idbtxtreltab", "missing idbtxtrelcomma", "p1 idbtxtreltab"}));
    EXPECT_EQ(dir.Read("out.txt"), "id\tFever\np2\t0.200000\nmissing\t0.000000\np1\t0.100000\n");
}

TEST_F(BatchRunTest, TheFirstInputKindInRegistryOrderWins) {
    dir.Write("answers.txt", "Fever\t0.3\n");
    params.SetParam("idbtxttab", "answers.txt");
    params.SetParam("idbbde", "clinic.db");
    params.SetParam("idbbdetable", "patients");
    params.SetParam("dbrecord", "e1");
    EXPECT_EQ(RunBatch(), std::vector<std::string>{"e1 idbtxttab"});
    EXPECT_FALSE(engineInput.active);
    EXPECT_EQ(engineInput.record, nullptr);  // never opened
    // An empty name-value file still makes its kind the input table.
    dir.Write("answers.txt", "");
    EXPECT_EQ(RunBatch(), std::vector<std::string>{"e1 idbtxttab"});
    EXPECT_EQ(nameValueTab.record->Count(), 0);
}

}  // namespace

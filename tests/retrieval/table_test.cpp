// The run-time table: registration, attachment of retrievers and translators
// to nodes, the fallback chain of a retrieval, and the consultation entry
// points.
#include "retrieval/table.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/retrieval/test_retrieval.h"
#include "retrieval/retriever_info.h"
#include "tables/in_database_txt.h"
#include "tables/input_record.h"
#include "tables/table_environment.h"
#include "tables/table_formats.h"

using testing_engine::CountedRecord;
using testing_engine::FakeBatchIterator;
using testing_engine::FakeInDatabase;
using testing_engine::FakeOutDatabase;
using testing_engine::Fail;
using testing_engine::ScriptedParamRetriever;
using testing_engine::ScriptedRetriever;
using testing_engine::ScriptedTaxonomyRetriever;
using testing_engine::ScriptedTranslator;
using testing_engine::Yes;

namespace {

// A table with translators "prob" and "other", retrievers "first" and
// "second" (both "prob") and "foreign" ("other").
struct Registered : ::testing::Test {
    void SetUp() override {
        CountedRecord::live = 0;
        ASSERT_EQ(table.RegisterTranslator(&prob), 0);
        ASSERT_EQ(table.RegisterTranslator(&other), 0);
        ASSERT_EQ(table.RegisterRetriever(&first), 0);
        ASSERT_EQ(table.RegisterRetriever(&second), 0);
        ASSERT_EQ(table.RegisterRetriever(&foreign), 0);
        net.AddBayesNode("node", 0.4f, true, true);
    }
    CNode *Node() { return net.FindNode("node"); }

    ScriptedTranslator prob{"prob"};
    ScriptedTranslator other{"other", 0.25f};
    ScriptedRetriever first{"first", "prob"};
    ScriptedRetriever second{"second", "prob"};
    ScriptedRetriever foreign{"foreign", "other"};
    CInferenceNet net;
    CTable table;
};

}  // namespace

TEST_F(Registered, NamesAreUniqueAndRetrieversNeedTheirTranslator) {
    ScriptedTranslator duplicate("prob");
    EXPECT_EQ(table.RegisterTranslator(&duplicate), 2);
    EXPECT_EQ(table.FindTranslator("prob"), &prob);
    ScriptedRetriever again("first", "other");
    EXPECT_EQ(table.RegisterRetriever(&again), 2);
    EXPECT_EQ(table.FindRetrieverInfo("first")->retriever, &first);
    ScriptedRetriever orphan("orphan", "nowhere");
    EXPECT_EQ(table.RegisterRetriever(&orphan), 2);
    EXPECT_EQ(table.FindRetrieverInfo("orphan"), nullptr);
    EXPECT_EQ(table.FindRetrieverInfo("foreign")->translator, &other);

    EXPECT_EQ(table.AliasRetriever("second", "first"), 2);  // the new name exists
    EXPECT_EQ(table.AliasRetriever("ask", "nothing"), 2);   // the old one does not
    EXPECT_EQ(table.AliasRetriever("ask", "foreign"), 0);
    const CRetrieverInfo *alias = table.FindRetrieverInfo("ask");
    ASSERT_NE(alias, nullptr);
    EXPECT_NE(alias, table.FindRetrieverInfo("foreign"));  // a copy of the entry
    EXPECT_EQ(alias->retriever, &foreign);
    EXPECT_EQ(alias->translator, &other);
    EXPECT_EQ(table.AliasRetriever("ask", "first"), 2);
}

TEST_F(Registered, AttachingFixesTheTranslatorForEveryFurtherRetriever) {
    EXPECT_EQ(table.AddRetriever("node", "first", nullptr), 2);  // no run-time record yet
    EXPECT_EQ(table.AttachRetriever("node", "missing", new CountedRecord, new CountedRecord), 2);
    EXPECT_EQ(CountedRecord::live, 0);  // refused records are released
    EXPECT_EQ(table.FindRTInfo("node"), nullptr);

    EXPECT_EQ(table.AttachRetriever("node", "first", nullptr, nullptr), 0);
    EXPECT_EQ(table.AddRetriever("node", "foreign", new CountedRecord), 2);
    EXPECT_EQ(CountedRecord::live, 0);
    EXPECT_EQ(table.AddRetriever("node", "second", nullptr), 0);
    EXPECT_EQ(table.AddRetriever("node", "missing", nullptr), 2);
    CNodeRTInfo *info = table.FindRTInfo("node");
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->translator, &prob);
    ASSERT_EQ(info->retrievers.Count(), 2);
    EXPECT_EQ(info->retrievers.At(0)->retriever, &first);
    EXPECT_EQ(info->retrievers.At(1)->retriever, &second);
    EXPECT_EQ(table.rtInfos.Count(), 1);

    // An alias of a retriever brings that retriever's translator along.
    table.AliasRetriever("ask", "foreign");
    net.AddBayesNode("other", 0.5f, true, false);
    EXPECT_EQ(table.AttachRetriever("other", "ask", nullptr, nullptr), 0);
    EXPECT_EQ(table.FindRTInfo("other")->translator, &other);
}

TEST_F(Registered, ParametersAreReadIntoTheLastAttachment) {
    EXPECT_EQ(table.ParseRetrieverParams("node", nullptr), 2);
    EXPECT_EQ(table.ParseTranslatorParams("node", nullptr), 2);
    table.AttachRetriever("node", "first", nullptr, nullptr);
    table.AddRetriever("node", "second", nullptr);
    EXPECT_EQ(table.ParseRetrieverParams("node", nullptr), 0);
    EXPECT_EQ(table.ParseTranslatorParams("node", nullptr), 0);
    CNodeRTInfo *info = table.FindRTInfo("node");
    EXPECT_EQ(info->retrievers.At(0)->data, nullptr);
    ASSERT_NE(info->retrievers.At(1)->data, nullptr);
    EXPECT_NE(info->translatorData, nullptr);
    EXPECT_EQ(CountedRecord::live, 2);

    // A failed reader's record is not used; the earlier one stays.
    CParamRecord *kept = info->retrievers.At(1)->data;
    second.readResult = 2;
    EXPECT_EQ(table.ParseRetrieverParams("node", nullptr), 2);
    EXPECT_EQ(info->retrievers.At(1)->data, kept);
    EXPECT_EQ(CountedRecord::live, 2);
    // A successful second reading replaces the record.
    second.readResult = 0;
    EXPECT_EQ(table.ParseRetrieverParams("node", nullptr), 0);
    EXPECT_EQ(static_cast<CountedRecord *>(info->retrievers.At(1)->data)->tag, 3);
    EXPECT_EQ(CountedRecord::live, 2);

    // The records reach the retriever and the translator at retrieval time.
    second.script["node"].push_back(Yes(0.3f));
    float value = 0.5f;
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_EQ(second.seenData.back(), info->retrievers.At(1)->data);
    EXPECT_EQ(prob.seenData.back(), info->translatorData);
}

TEST(CTableOwnership, DestroyingTheTableReleasesEveryRecord) {
    CountedRecord::live = 0;
    {
        ScriptedTranslator prob("prob");
        ScriptedRetriever ask("ask", "prob");
        CTable table;
        table.RegisterTranslator(&prob);
        table.RegisterRetriever(&ask);
        table.AttachRetriever("a", "ask", new CountedRecord, new CountedRecord);
        table.AddRetriever("a", "ask", new CountedRecord);
        table.AttachRetriever("a", "ask", new CountedRecord, nullptr);  // a second record under the same name
        EXPECT_EQ(table.rtInfos.Count(), 2);
        EXPECT_EQ(table.FindRTInfo("a"), table.rtInfos.At(0));  // the index keeps the first
        EXPECT_EQ(CountedRecord::live, 4);
    }
    EXPECT_EQ(CountedRecord::live, 0);
}

TEST_F(Registered, RetrieversFormAFallbackChain) {
    table.AttachRetriever("node", "first", nullptr, nullptr);
    table.AddRetriever("node", "second", nullptr);
    float value = 0.5f;

    first.script["node"].push_back(Fail(7));
    second.script["node"].push_back(Yes(0.8f));
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_FLOAT_EQ(value, 0.8f);
    EXPECT_EQ(first.asked.size(), 1u);
    EXPECT_EQ(second.asked.size(), 1u);

    // Every retriever fails: 2, whatever their own codes, value untouched.
    first.script["node"].push_back(Fail(7));
    second.script["node"].push_back(Fail(9));
    value = 0.123f;
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 2);
    EXPECT_FLOAT_EQ(value, 0.123f);

    // The first retriever that answers decides; the rest are not asked.
    first.script["node"].push_back(Yes(0.1f));
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_FLOAT_EQ(value, 0.1f);
    EXPECT_EQ(second.asked.size(), 2u);

    // A node without retrievers cannot be asked.
    net.AddBayesNode("bare", 0.5f, true, false);
    EXPECT_EQ(table.RetrieveNodeValue(net.FindNode("bare"), value, &net), 2);
}

TEST_F(Registered, TranslationFailuresAndStrayValues) {
    table.AttachRetriever("node", "foreign", nullptr, nullptr);  // "other" adds 0.25
    float value = 0.5f;
    foreign.script["node"].push_back(Yes(0.5f));
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_FLOAT_EQ(value, 0.75f);

    foreign.script["node"].push_back(Yes(0.9f));  // translates to 1.15
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_FLOAT_EQ(value, 1.0f);

    other.failTranslation = true;
    foreign.script["node"].push_back(Yes(0.1f));
    value = 0.5f;
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 2);
    EXPECT_FLOAT_EQ(value, 0.5f);
}

TEST_F(Registered, TheRunningRetrieverIsPublishedSoThatItCanBeCancelled) {
    table.AttachRetriever("node", "first", nullptr, nullptr);
    table.AddRetriever("node", "second", nullptr);
    table.AbortRetrieval();  // nothing runs: nobody is cancelled
    EXPECT_EQ(first.cancelCount + second.cancelCount, 0);

    first.abortWhileAsking = true;  // the user aborts during the first question
    first.script["node"].push_back(Fail());
    second.script["node"].push_back(Yes(0.6f));
    float value = 0.5f;
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_TRUE(first.runningWhenAsked);
    EXPECT_TRUE(second.runningWhenAsked);
    EXPECT_EQ(first.cancelCount, 1);
    EXPECT_EQ(second.cancelCount, 0);
    EXPECT_EQ(table.currentRetriever, nullptr);
    EXPECT_FLOAT_EQ(value, 0.6f);
}

TEST_F(Registered, RetrievedDataIsKeptPerConsultation) {
    CParameters parameters;
    table.AttachRetriever("node", "first", nullptr, nullptr);
    float value = 0.5f;
    first.script["node"].push_back(Yes(0.25f));
    first.script["node"].push_back(Yes(0.75f));
    // Before any consultation there is no store: the record is released.
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_EQ(table.retrievedData, nullptr);

    table.StartConsultation(&net, &parameters);
    first.script["node"].push_back(Yes(0.5f));
    first.script["node"].push_back(Yes(1.0f));
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    ASSERT_NE(table.retrievedData, nullptr);
    EXPECT_EQ(table.retrievedData->Count(), 1);
    EXPECT_STREQ(table.retrievedData->Find("node")->ToText().Text(), "0.750000");  // the first stays

    table.StartConsultation(&net, &parameters);
    EXPECT_EQ(table.retrievedData->Count(), 0);
    table.keepRetrievedData = false;
    EXPECT_EQ(table.RetrieveNodeValue(Node(), value, &net), 0);
    EXPECT_EQ(table.retrievedData->Count(), 0);
    table.ClearRetrievedData();
    EXPECT_EQ(table.retrievedData, nullptr);
}

TEST(CTableConsultation, StartChoosesTheFirstActiveInputTableAndResets) {
    ScriptedTranslator prob("prob");
    ScriptedRetriever resettable("resettable", "prob");
    resettable.needsReset = true;
    ScriptedRetriever plain("plain", "prob");
    FakeInDatabase tab("idbtab");
    FakeInDatabase rel("idbrel");
    FakeInDatabase engine("idbengine");
    CTable table;
    table.RegisterTranslator(&prob);
    table.RegisterRetriever(&resettable);
    table.RegisterRetriever(&plain);
    table.AddInDatabase(&tab);
    table.AddInDatabase(&rel);
    table.AddInDatabase(&engine);
    auto *record = new CountedRecord;
    table.AttachRetriever("a", "resettable", record, nullptr);
    table.AddRetriever("a", "plain", nullptr);
    table.AttachRetriever("b", "resettable", nullptr, nullptr);
    ASSERT_EQ(table.resetList.Count(), 2);

    CParameters parameters;
    parameters.SetParam("idbrel", "file");
    parameters.SetParam("idbengine", "alias");
    CInferenceNet net;
    EXPECT_EQ(table.StartConsultation(&net, &parameters), 0);
    EXPECT_EQ(table.currentInDatabase, &rel);
    EXPECT_EQ(table.parameters, &parameters);
    EXPECT_EQ(tab.openCount, 1);
    EXPECT_EQ(rel.openCount, 1);
    EXPECT_EQ(engine.openCount, 0);
    ASSERT_EQ(resettable.resetData.size(), 2u);
    EXPECT_EQ(resettable.resetData[0], record);
    EXPECT_EQ(resettable.resetData[1], nullptr);
    EXPECT_TRUE(plain.resetData.empty());

    CParameters none;
    table.StartConsultation(&net, &none);
    EXPECT_EQ(table.currentInDatabase, nullptr);
}

TEST(CTableConsultation, SpecialRetrieversOutputsAndBatches) {
    CTable table;
    CInfTaxNet net;
    CParameters parameters;
    CParamAsk ask("patient");
    EXPECT_EQ(table.AskTaxonomy(&net), 2);
    EXPECT_EQ(table.AskParams(&ask, &parameters), 2);
    EXPECT_FALSE(table.BatchActive());
    EXPECT_EQ(table.NextBatchRecord(&parameters), 2);
    EXPECT_EQ(table.OpenBatch(&parameters), 0);

    ScriptedTaxonomyRetriever taxonomy;
    taxonomy.result = 5;
    ScriptedParamRetriever params;
    params.answers["patient"] = "p17";
    table.SetTaxonomyRetriever(&taxonomy);
    table.SetParamRetriever(&params);
    EXPECT_EQ(table.AskTaxonomy(&net), 5);
    EXPECT_EQ(table.AskParams(&ask, &parameters), 0);
    EXPECT_STREQ(parameters.GetParam("patient").Text(), "p17");
    EXPECT_EQ(table.currentRetriever, nullptr);

    FakeOutDatabase out1;
    FakeOutDatabase out2;
    table.AddOutDatabase(&out1);
    table.AddOutDatabase(&out2);
    net.AddBayesNode("g", 0.25f, false, true);
    net.ResetValues(&table);
    EXPECT_EQ(table.WriteOutputs(&net), 0);  // the tables' own failures are ignored
    EXPECT_EQ(out1.rows, (std::vector<std::string>{"g=0.250000;"}));
    EXPECT_EQ(out2.rows.size(), 1u);

    FakeBatchIterator empty({});
    FakeBatchIterator keys({"k1", "k2"});
    FakeBatchIterator broken({"x"}, 2);
    table.AddBatchIterator(&empty);
    table.AddBatchIterator(&keys);
    EXPECT_EQ(table.OpenBatch(&parameters), 0);
    EXPECT_TRUE(table.batchRunning);
    EXPECT_TRUE(table.BatchActive());
    EXPECT_EQ(table.NextBatchRecord(&parameters), 0);
    EXPECT_STREQ(parameters.GetParam("dbrecord").Text(), "k1");
    EXPECT_EQ(table.NextBatchRecord(&parameters), 0);
    EXPECT_STREQ(parameters.GetParam("dbrecord").Text(), "k2");
    EXPECT_FALSE(table.BatchActive());
    EXPECT_TRUE(table.batchRunning);  // the run had a batch
    EXPECT_EQ(table.NextBatchRecord(&parameters), 2);

    // An iterator that fails still marks the run as a batch when active.
    table.AddBatchIterator(&broken);
    EXPECT_EQ(table.OpenBatch(&parameters), 2);
    EXPECT_TRUE(table.batchRunning);
}

TEST(RunTimeTable, TheCurrentRecordIsThatOfTheTablesCurrentInputTable) {
    CTable table;
    EXPECT_EQ(CurrentInputRecord(&table), nullptr);
    EXPECT_EQ(CurrentInputRecord(nullptr), nullptr);
    CTableEnvironment environment;
    CInDatabaseTxt input(*FindTableFormat("idbtxttab"), environment);
    table.currentInDatabase = &input;
    EXPECT_EQ(CurrentInputRecord(&table), &input);
}

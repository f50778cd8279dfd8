// The registry: ownership of its objects and the copy into a run-time table.
#include "retrieval/all_retrievers.h"

#include <gtest/gtest.h>

#include "retrieval/table.h"
#include "tests/retrieval/test_retrieval.h"
#include "retrieval/retriever_info.h"

using testing_engine::FakeBatchIterator;
using testing_engine::FakeInDatabase;
using testing_engine::FakeOutDatabase;
using testing_engine::ScriptedParamRetriever;
using testing_engine::ScriptedRetriever;
using testing_engine::ScriptedTaxonomyRetriever;
using testing_engine::ScriptedTranslator;
using testing_engine::TestRegistry;

namespace {

// A translator that counts its destructions.
class CountedTranslator : public ScriptedTranslator {
public:
    explicit CountedTranslator(const char *name) : ScriptedTranslator(name) {}
    ~CountedTranslator() override { ++destroyed; }
    static inline int destroyed = 0;
};

}  // namespace

TEST(CAllRetrievers, CopyIntoTableRegistersEverythingByName) {
    TestRegistry registry;
    // Retrievers may be created before their translator: translators are
    // registered first.
    auto *winprob = new ScriptedRetriever("winprob", "prob");
    registry.Add(winprob);
    registry.Add(new ScriptedRetriever("dnprob", "prob"));
    registry.Add(new ScriptedRetriever("notknown", "notknown"));
    auto *prob = new ScriptedTranslator("prob");
    registry.Add(prob);
    registry.Add(new ScriptedTranslator("notknown"));
    auto *input = new FakeInDatabase("idbtxttab");
    registry.Add(input);
    auto *output = new FakeOutDatabase;
    registry.Add(output);
    auto *batch = new FakeBatchIterator({"k"});
    registry.Add(batch);
    auto *taxonomy = new ScriptedTaxonomyRetriever;
    registry.SetTaxonomyRetriever(taxonomy);
    auto *params = new ScriptedParamRetriever;
    registry.SetParamRetriever(params);

    CTable table;
    ASSERT_EQ(registry.CopyIntoTable(&table), 0);
    EXPECT_EQ(table.retrieverIndex.Count(), 3);
    EXPECT_EQ(table.translatorIndex.Count(), 2);
    // "notknown" is both a retriever and a translator, in separate indexes.
    EXPECT_NE(table.FindRetrieverInfo("notknown"), nullptr);
    EXPECT_NE(table.FindTranslator("notknown"), nullptr);
    EXPECT_EQ(table.FindRetrieverInfo("winprob")->retriever, winprob);
    EXPECT_EQ(table.FindRetrieverInfo("winprob")->translator, prob);
    EXPECT_EQ(table.FindRetrieverInfo("dnprob")->translator, prob);
    ASSERT_EQ(table.inDatabases.Count(), 1);
    EXPECT_EQ(table.inDatabases.At(0), input);
    EXPECT_EQ(table.outDatabases.At(0), output);
    EXPECT_EQ(table.batchIterators.At(0), batch);
    EXPECT_EQ(table.taxonomyRetriever, taxonomy);
    EXPECT_EQ(table.paramRetriever, params);

    // Every build gets its own copy of the names.
    CTable second;
    EXPECT_EQ(registry.CopyIntoTable(&second), 0);
    EXPECT_EQ(second.FindRetrieverInfo("winprob")->retriever, winprob);
    EXPECT_NE(second.FindRetrieverInfo("winprob"), table.FindRetrieverInfo("winprob"));

    // A node naming both retrievers of the same translator gets both.
    EXPECT_EQ(table.AttachRetriever("n", "winprob", nullptr, nullptr), 0);
    EXPECT_EQ(table.AddRetriever("n", "dnprob", nullptr), 0);
    EXPECT_EQ(table.AddRetriever("n", "notknown", nullptr), 2);
}

TEST(CAllRetrievers, TheFirstFailureEndsTheCopy) {
    TestRegistry duplicateTranslator;
    duplicateTranslator.Add(new ScriptedTranslator("prob"));
    duplicateTranslator.Add(new ScriptedTranslator("prob"));
    duplicateTranslator.Add(new ScriptedRetriever("winprob", "prob"));
    CTable first;
    EXPECT_EQ(duplicateTranslator.CopyIntoTable(&first), 2);
    EXPECT_EQ(first.retrieverIndex.Count(), 0);

    TestRegistry unknownTranslator;
    unknownTranslator.Add(new ScriptedTranslator("prob"));
    unknownTranslator.Add(new ScriptedRetriever("winvalue", "value"));
    unknownTranslator.Add(new FakeInDatabase("idbtxttab"));
    unknownTranslator.SetTaxonomyRetriever(new ScriptedTaxonomyRetriever);
    CTable second;
    EXPECT_EQ(unknownTranslator.CopyIntoTable(&second), 2);
    EXPECT_EQ(second.inDatabases.Count(), 0);
    EXPECT_EQ(second.taxonomyRetriever, nullptr);

    TestRegistry duplicateRetriever;
    duplicateRetriever.Add(new ScriptedTranslator("prob"));
    duplicateRetriever.Add(new ScriptedRetriever("winprob", "prob"));
    duplicateRetriever.Add(new ScriptedRetriever("winprob", "prob"));
    CTable third;
    EXPECT_EQ(duplicateRetriever.CopyIntoTable(&third), 2);
}

TEST(CAllRetrievers, TheRegistryOwnsItsObjects) {
    CountedTranslator::destroyed = 0;
    {
        TestRegistry registry;
        registry.Add(new CountedTranslator("a"));
        registry.Add(new CountedTranslator("b"));
        CTable table;
        registry.CopyIntoTable(&table);
    }  // the table goes first and leaves the translators alone
    EXPECT_EQ(CountedTranslator::destroyed, 2);
}

// The complete registry of the interactive program: every retriever in its
// fixed order with its translator, and the copy into a run-time table.
#include <gtest/gtest.h>

#include <string>

#include "retrieval/table.h"
#include "tests/retrieval/shared_registry.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/retriever_info.h"

TEST(RegistryOrder, EveryRetrieverInItsRowWithItsTranslator) {
    const CAllRetrieversWin &registry = retrieval_test::Registry();
    std::string rows;
    for (int32_t i = 0; i < registry.retrievers.Count(); ++i) {
        CString retriever, translator;
        registry.retrievers.At(i)->GetNames(retriever, translator);
        rows += std::string(retriever.Text()) + ">" + translator.Text() + " ";
    }
    EXPECT_EQ(rows,
              "notknown>notknown dnprob>prob winprob>prob dbprob>prob dncf>cf wincf>cf dbcf>cf "
              "dnvalue>value winvalue>value wins>value dns>value dbvalue>value dbs>value "
              "dnvaluex>valuex winvaluex>valuex winsx>valuex dnsx>valuex dbvaluex>valuex dbx>valuex "
              "wininterval>interval winq>interval dnchoice>choice winchoice>choice dbchoice>choice ");
    EXPECT_NE(registry.taxonomyRetriever, nullptr);
    EXPECT_NE(registry.paramRetriever, nullptr);

    CTable table;
    ASSERT_EQ(registry.CopyIntoTable(&table), 0);
    EXPECT_EQ(table.retrieverIndex.Count(), 24);
    EXPECT_EQ(table.translatorIndex.Count(), 7);
    EXPECT_EQ(table.outDatabases.Count(), 5);
    EXPECT_EQ(table.batchIterators.Count(), 3);
    EXPECT_EQ(table.taxonomyRetriever, registry.taxonomyRetriever);

    CTable second;  // a second build's table gets the same shared objects
    ASSERT_EQ(registry.CopyIntoTable(&second), 0);
    EXPECT_EQ(second.FindRetrieverInfo("winprob")->retriever, table.FindRetrieverInfo("winprob")->retriever);
}

// The database retrievers read the current input record; the default
// retrievers always answer don't know.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/bayes_node.h"
#include "retrieval/table.h"
#include "tests/retrieval/shared_registry.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/choice_translator.h"
#include "retrieval/db_retrievers.h"
#include "retrieval/default_retrievers.h"
#include "retrieval/registry_rows.h"
#include "retrieval/retrieved_data.h"
#include "retrieval/simple_translators.h"
#include "retrieval/value_translators.h"
#include "retrieval/retriever_info.h"
#include "tables/batch_iter_bde.h"
#include "tables/batch_iter_txt.h"
#include "tables/in_database_txt.h"
#include "tables/table_formats.h"

namespace {

class TableRetrieverTest : public ::testing::Test {
protected:
    TableRetrieverTest() : input(*FindTableFormat("idbtxttab"), environment), node("Fever", 0.3f, true, false) {
        input.NewRecord();
        table.currentInDatabase = &input;
    }

    // Fills the node's field and retrieves; the record, or null on failure.
    template <typename Record>
    std::unique_ptr<Record> Retrieve(CDataRetriever &retriever, const char *text, CParamRecord *data = nullptr) {
        input.NewRecord();
        input.InsertField(node.name, text);
        return RetrieveAsIs<Record>(retriever, data);
    }

    template <typename Record>
    std::unique_ptr<Record> RetrieveAsIs(CDataRetriever &retriever, CParamRecord *data = nullptr) {
        CRetrievedData *out = nullptr;
        int32_t status = retriever.Retrieve(&node, nullptr, &table, data, out);
        std::unique_ptr<CRetrievedData> owned(out);
        EXPECT_EQ(status == 0, out != nullptr);
        if (status != 0) return nullptr;
        auto *record = dynamic_cast<Record *>(owned.get());
        EXPECT_NE(record, nullptr) << "record of another kind";
        if (record != nullptr) owned.release();
        return std::unique_ptr<Record>(record);
    }

    CTableEnvironment environment;
    CInDatabaseTxt input;
    CTable table;
    CBayesNode node;
};

TEST_F(TableRetrieverTest, TheFieldIsTheNodesNameAsWrittenInUpperOrInLowerCase) {
    CDRDatabase prob(*FindRetrieverRow("dbprob"));
    input.InsertField("FEVER", "0.8");
    input.InsertField("Fever ", "0.1");
    auto record = RetrieveAsIs<CRetrievedDataProb>(prob);
    ASSERT_NE(record, nullptr);
    EXPECT_FLOAT_EQ(record->value, 0.8f);
    EXPECT_FLOAT_EQ(record->apriori, 0.3f);
    EXPECT_FALSE(record->dontKnow);

    input.NewRecord();
    input.InsertField("fever", "0.7");
    input.InsertField("fEVER", "0.1");
    record = RetrieveAsIs<CRetrievedDataProb>(prob);
    ASSERT_NE(record, nullptr);
    EXPECT_FLOAT_EQ(record->value, 0.7f);

    // The form as written comes first, and mixed forms are not tried.
    input.InsertField("Fever", "0.2");
    record = RetrieveAsIs<CRetrievedDataProb>(prob);
    ASSERT_NE(record, nullptr);
    EXPECT_FLOAT_EQ(record->value, 0.2f);
    input.NewRecord();
    input.InsertField("fEVER", "0.1");
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataProb>(prob), nullptr);

    // Without an input table every database retriever fails.
    table.currentInDatabase = nullptr;
    input.InsertField("Fever", "0.5");
    CDRDatabase value(*FindRetrieverRow("dbvalue"));
    CDRDatabase cf(*FindRetrieverRow("dbcf"));
    CDRDatabase choice(*FindRetrieverRow("dbchoice"));
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataProb>(prob), nullptr);
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataValue>(value), nullptr);
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataCertFact>(cf), nullptr);
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataChoice>(choice), nullptr);
}

TEST_F(TableRetrieverTest, ProbabilitiesAreNumbersInTheUnitIntervalOrDontKnow) {
    CDRDatabase prob(*FindRetrieverRow("dbprob"));
    auto record = Retrieve<CRetrievedDataProb>(prob, "?");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->dontKnow);
    EXPECT_EQ(record->value, 0.0f);
    record = Retrieve<CRetrievedDataProb>(prob, "1,0");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 1.0f);
    record = Retrieve<CRetrievedDataProb>(prob, "0,25");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 0.25f);
    record = Retrieve<CRetrievedDataProb>(prob, "5e-1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 0.5f);
    // "-" and "." (not measured) are no numbers, not 0.
    for (const char *text : {"? ", "1.5", "-0.1", "1.0000001", "", "+0.5", " 0.5", "0.5 ", "high", "-", ".", "--"})
        EXPECT_EQ(Retrieve<CRetrievedDataProb>(prob, text), nullptr) << "'" << text << "'";
}

// A field is tested in double precision, before it is rounded to the
// node's 32-bit value: 1.00000001 would round to 1.
TEST_F(TableRetrieverTest, AProbabilityIsTestedBeforeItIsRounded) {
    CDRDatabase prob(*FindRetrieverRow("dbprob"));
    CDRDatabase value(*FindRetrieverRow("dbvalue"));
    EXPECT_EQ(Retrieve<CRetrievedDataProb>(prob, "1.00000001"), nullptr);
    auto record = Retrieve<CRetrievedDataValue>(value, "1.00000001");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 1.0f);
}

TEST_F(TableRetrieverTest, CertaintyFactorsAreNumbersOrWordsReadByTheirFirstLetter) {
    CDRDatabase cf(*FindRetrieverRow("dbcf"));
    const std::pair<const char *, float> accepted[] = {{"yes", 5.0f}, {"Y", 5.0f}, {"No", -5.0f}, {"N", -5.0f},
                                                       {"?", 0.0f},   {"?!", 0.0f}, {"3", 3.0f},   {"-2,5", -2.5f},
                                                       {"-5", -5.0f}, {"5.0", 5.0f}};
    for (auto &[text, expected] : accepted) {
        auto record = Retrieve<CRetrievedDataCertFact>(cf, text);
        ASSERT_NE(record, nullptr) << text;
        EXPECT_EQ(record->value, expected) << text;
        EXPECT_FLOAT_EQ(record->apriori, 0.3f);
    }
    for (const char *text : {"7", "-5.5", "", "maybe", "1e999", " yes"})
        EXPECT_EQ(Retrieve<CRetrievedDataCertFact>(cf, text), nullptr) << "'" << text << "'";
}

TEST_F(TableRetrieverTest, ValuesAreAnyNumberOrDontKnow) {
    CDRDatabase value(*FindRetrieverRow("dbvalue"));
    CDRDatabase sx(*FindRetrieverRow("dbx"));
    auto record = Retrieve<CRetrievedDataValue>(value, "-12.5e1");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, -125.0f);
    EXPECT_FALSE(record->dontKnow);
    record = Retrieve<CRetrievedDataValue>(sx, "38,5");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 38.5f);
    record = Retrieve<CRetrievedDataValue>(value, "?");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->dontKnow);
    // A number beyond what a node value can hold is unusable.
    for (const char *text : {"12 kg", "", "?!", "1e39", "-1e39", "-", ".", "e"})
        EXPECT_EQ(Retrieve<CRetrievedDataValue>(value, text), nullptr) << "'" << text << "'";
    record = Retrieve<CRetrievedDataValue>(value, "1e38");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->value, 1e38f);
}

TEST_F(TableRetrieverTest, ChoicesCountFromOneByNumberAndFromAByLetter) {
    CDRDatabase choice(*FindRetrieverRow("dbchoice"));
    const std::pair<const char *, int32_t> accepted[] = {{"1", 0}, {"2", 1}, {"2.7", 1}, {"a", 0},
                                                         {"A", 0}, {"c", 2}, {"Z", 25}, {"e", 4}, {"E", 4}};
    for (auto &[text, expected] : accepted) {
        auto record = Retrieve<CRetrievedDataChoice>(choice, text);
        ASSERT_NE(record, nullptr) << text;
        EXPECT_EQ(record->index, expected) << text;
        EXPECT_FALSE(record->dontKnow);
    }
    auto record = Retrieve<CRetrievedDataChoice>(choice, "?");
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->dontKnow);
    EXPECT_EQ(record->index, 0);
    for (const char *text : {"0", "-1", "ab", "!", "", "-", ",", "??"})
        EXPECT_EQ(Retrieve<CRetrievedDataChoice>(choice, text), nullptr) << "'" << text << "'";

    // With the node's option list, an option beyond it is unusable.
    CStringVector texts;
    for (const char *option : {"red", "green", "blue"}) texts.Add(option);
    CChoiceList options(texts);
    EXPECT_NE(Retrieve<CRetrievedDataChoice>(choice, "3", &options), nullptr);
    EXPECT_NE(Retrieve<CRetrievedDataChoice>(choice, "C", &options), nullptr);
    EXPECT_NE(Retrieve<CRetrievedDataChoice>(choice, "?", &options), nullptr);
    EXPECT_EQ(Retrieve<CRetrievedDataChoice>(choice, "4", &options), nullptr);
    EXPECT_EQ(Retrieve<CRetrievedDataChoice>(choice, "d", &options), nullptr);
    EXPECT_EQ(Retrieve<CRetrievedDataChoice>(choice, "99999999999", &options), nullptr);
}

TEST_F(TableRetrieverTest, DefaultRetrieversAnswerDontKnowWhichTranslatesToTheAprioriValue) {
    table.currentInDatabase = nullptr;
    CDRDefault dnProb(*FindRetrieverRow("dnprob"));
    CDRDefault dnCf(*FindRetrieverRow("dncf"));
    CDRDefault notKnown(*FindRetrieverRow("notknown"));
    CDRDefault dnChoice(*FindRetrieverRow("dnchoice"));
    CDTProb prob;
    CDTCertFactor cf;
    CDTDontKnow dontKnow;
    CDTChoice choice;
    const std::pair<CDataRetriever *, CDataTranslator *> pairs[] = {
        {&dnProb, &prob}, {&dnCf, &cf}, {&notKnown, &dontKnow}, {&dnChoice, &choice}};
    for (auto &[retriever, translator] : pairs) {
        CRetrievedData *out = nullptr;
        ASSERT_EQ(retriever->Retrieve(&node, nullptr, &table, nullptr, out), 0);
        std::unique_ptr<CRetrievedData> owned(out);
        float value = -1.0f;
        EXPECT_EQ(translator->Translate(nullptr, out, value), 0);
        EXPECT_FLOAT_EQ(value, 0.3f);
    }
    for (const char *name : {"dnvalue", "dns", "dnvaluex", "dnsx"}) {
        CDRDefault retriever(*FindRetrieverRow(name));
        auto record = RetrieveAsIs<CRetrievedDataValue>(retriever);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(record->dontKnow);
        EXPECT_FLOAT_EQ(record->apriori, 0.3f);
    }
    auto cfRecord = RetrieveAsIs<CRetrievedDataCertFact>(dnCf);
    ASSERT_NE(cfRecord, nullptr);
    EXPECT_EQ(cfRecord->value, 0.0f);
    auto choiceRecord = RetrieveAsIs<CRetrievedDataChoice>(dnChoice);
    ASSERT_NE(choiceRecord, nullptr);
    EXPECT_TRUE(choiceRecord->dontKnow);
    EXPECT_EQ(RetrieveAsIs<CRetrievedDataDontKnow>(notKnown)->ToText().Equals("dn"), true);
}

// A row whose source cannot give its kind of answer makes a retriever that
// always fails, rather than one that hands the translator a wrong record.
TEST_F(TableRetrieverTest, ASourceFailsForAKindItCannotAnswer) {
    input.InsertField(node.name, "?");
    const CRetrieverRow defaultInterval{"dninterval", "interval", CAnswerSource::Default, CAnswerKind::Interval};
    const CRetrieverRow fieldDontKnow{"dbnotknown", "notknown", CAnswerSource::Database, CAnswerKind::DontKnow};
    const CRetrieverRow fieldInterval{"dbinterval", "interval", CAnswerSource::Database, CAnswerKind::Interval};
    const CRetrieverRow askDontKnow{"winnotknown", "notknown", CAnswerSource::Question, CAnswerKind::DontKnow};
    const CUserInterface noWindows;
    for (const CRetrieverRow &row : {defaultInterval, fieldDontKnow, fieldInterval, askDontKnow}) {
        std::unique_ptr<CDataRetriever> retriever(NewRetriever(row, noWindows));
        ASSERT_NE(retriever, nullptr) << row.name;
        CRetrievedData *out = nullptr;
        EXPECT_EQ(retriever->Retrieve(&node, nullptr, &table, nullptr, out), 2) << row.name;
        EXPECT_EQ(out, nullptr) << row.name;
        CString name, translator;
        retriever->GetNames(name, translator);
        EXPECT_STREQ(name.Text(), row.name);
        EXPECT_STREQ(translator.Text(), row.translator);
    }
    EXPECT_EQ(FindRetrieverRow("dninterval"), nullptr);
    EXPECT_EQ(FindRetrieverRow(""), nullptr);
    EXPECT_EQ(NewTranslator("dninterval"), nullptr);
}

// The registry's rows of the database and default retrievers and of the
// tables, in the registry's order (question retrievers left aside).
TEST(TableRetrieverRegistry, RowsFollowTheRegistryOrderAndNameTheirTranslators) {
    const CAllRetrieversWin &registry = retrieval_test::Registry();
    std::string names;
    for (int32_t i = 0; i < registry.retrievers.Count(); ++i) {
        CString retriever, translator;
        EXPECT_EQ(registry.retrievers.At(i)->GetNames(retriever, translator), 0);
        if (std::string(retriever.Text()).rfind("win", 0) == 0) continue;
        names += std::string(retriever.Text()) + ">" + translator.Text() + " ";
    }
    EXPECT_EQ(names,
              "notknown>notknown dnprob>prob dbprob>prob dncf>cf dbcf>cf dnvalue>value dns>value dbvalue>value "
              "dbs>value dnvaluex>valuex dnsx>valuex dbvaluex>valuex dbx>valuex dnchoice>choice dbchoice>choice ");
    std::string tables;
    CString kind;
    for (int32_t i = 0; i < registry.inDatabases.Count(); ++i) {
        registry.inDatabases.At(i)->GetName(kind);
        tables += std::string(kind.Text()) + " ";
    }
    for (int32_t i = 0; i < registry.outDatabases.Count(); ++i) {
        registry.outDatabases.At(i)->GetName(kind);
        tables += std::string(kind.Text()) + " ";
    }
    EXPECT_EQ(tables,
              "idbtxttab idbtxtcomma idbtxtreltab idbtxtrelcomma idbbde "
              "odbtxttab odbtxtcomma odbtxtreltab odbtxtrelcomma odbbde ");
    ASSERT_EQ(registry.batchIterators.Count(), 3);
    EXPECT_NE(dynamic_cast<CBatchIterDBTxtTab *>(registry.batchIterators.At(0)), nullptr);
    EXPECT_NE(dynamic_cast<CBatchIterDBTxtComma *>(registry.batchIterators.At(1)), nullptr);
    // Both text iterators are one class: their rows tell them apart.
    EXPECT_STREQ(registry.batchIterators.At(0)->SourceKind(), "idbtxtreltab");
    EXPECT_STREQ(registry.batchIterators.At(1)->SourceKind(), "idbtxtrelcomma");
    EXPECT_NE(dynamic_cast<CBatchIterDBBDE *>(registry.batchIterators.At(2)), nullptr);

    CTable table;
    ASSERT_EQ(registry.CopyIntoTable(&table), 0);
    CRetrieverInfo *dbx = table.FindRetrieverInfo("dbx");
    ASSERT_NE(dbx, nullptr);
    CString translatorName;
    dbx->translator->GetName(translatorName);
    EXPECT_STREQ(translatorName.Text(), "valuex");
    EXPECT_EQ(table.inDatabases.Count(), 5);
}

}  // namespace

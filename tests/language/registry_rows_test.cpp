// The question retrievers and translators in the program's registry: their
// rows, knowledge bases that use them, and questions asked through the
// run-time table during a consultation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "net/node.h"
#include "retrieval/node_rt_info.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/choice_translator.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/retriever_info.h"
#include "retrieval/value_translators.h"
#include "tables/in_database_txt.h"
#include "tables/table_formats.h"
#include "tests/retrieval/fake_windows.h"
#include "tests/language/knowledge_base.h"

using namespace retrieval_test;

namespace {

std::string TranslatorOf(CTable &table, const char *retriever) {
    CRetrieverInfo *info = table.FindRetrieverInfo(CString(retriever));
    if (info == nullptr) return "<missing>";
    CString name;
    info->translator->GetName(name);
    return name.Text();
}

std::string ErrorLine(int line, const char *message) {
    return "[Error at line " + std::to_string(line) + "] " + message;
}

}  // namespace

TEST(RegistryRows, QuestionRetrieversAndTranslators) {
    // Translators in the registry's order.
    std::vector<std::string> translators;
    for (int32_t i = 0; i < Registry().translators.Count(); ++i) {
        CString name;
        Registry().translators.At(i)->GetName(name);
        translators.emplace_back(name.Text());
    }
    const std::vector<std::string> expectedOrder{"notknown", "prob", "cf", "value", "valuex", "interval", "choice"};
    EXPECT_EQ(translators, expectedOrder);

    KnowledgeBase kb("nodes { G { (bayesian, 0.5, goal) } }");
    ASSERT_EQ(kb.copied, 0);
    const char *rows[][2] = {{"winprob", "prob"},         {"wincf", "cf"},          {"winvalue", "value"},
                             {"wins", "value"},           {"winvaluex", "valuex"},  {"winsx", "valuex"},
                             {"wininterval", "interval"}, {"winq", "interval"},     {"winchoice", "choice"}};
    for (const auto &row : rows) EXPECT_EQ(TranslatorOf(kb.table, row[0]), row[1]) << row[0];
    for (const std::string &name : expectedOrder) EXPECT_NE(kb.table.FindTranslator(CString(name.c_str())), nullptr);
    EXPECT_NE(kb.table.taxonomyRetriever, nullptr);
    EXPECT_NE(kb.table.paramRetriever, nullptr);
    EXPECT_EQ(kb.table.resetList.Count(), 0);
}

TEST(RegistryRows, KnowledgeBasesReadTheirClauses) {
    KnowledgeBase kb(
        "nodes {\n"
        "  Temp { 'Body temperature' (bayesian, 0.4) retriever (winvalue, wins) translator ((36, 38 40,) (0, 0.5, 1)) }\n"
        "  Range { (bayesian, 0.5) retriever (winq) translator ((0 10 20) (0.2 0.8)) }\n"
        "  Colour { (bayesian, 0.3) retriever (winchoice (red, 'light blue', \"dark green\",)) translator (0.7, 0.2 0.1) }\n"
        "  Sure { (bayesian, 0.5) retriever (wincf) translator () }\n"
        "  G { (bayesian, 0.5, goal) }\n"
        "}\n");
    ASSERT_EQ(kb.compiled, 0) << kb.Error();

    CNodeRTInfo *temp = kb.table.FindRTInfo(CString("Temp"));
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(temp->retrievers.Count(), 2);
    auto *table = dynamic_cast<CDTValueTable *>(temp->translatorData);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->points, (std::vector<float>{36, 38, 40}));

    auto *range = dynamic_cast<CDTValueTable *>(kb.table.FindRTInfo(CString("Range"))->translatorData);
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->probabilities, (std::vector<float>{0.2f, 0.8f}));

    CNodeRTInfo *colour = kb.table.FindRTInfo(CString("Colour"));
    auto *options = dynamic_cast<CChoiceList *>(colour->retrievers.At(0)->data);
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->count, 3);
    EXPECT_STREQ(options->options.At(1).Text(), "light blue");
    EXPECT_STREQ(options->options.At(2).Text(), "dark green");
    EXPECT_EQ(dynamic_cast<CDTChoiceTable *>(colour->translatorData)->count, 3);
    EXPECT_EQ(kb.table.FindRTInfo(CString("Sure"))->translatorData, nullptr);
}

TEST(RegistryRows, FaultyClausesAreCompileErrors) {
    struct Case {
        std::string node;
        std::string error;
    } cases[] = {
        {"retriever (winvalue) translator ((1) (0.5))", "error in reading translator parameters"},
        {"retriever (winvalue) translator ((1, 2) (0.5, 1.5))", "error in reading translator parameters"},
        {"retriever (winvalue) translator ((1, 2, 3) (0.5, 0.6))", "error in reading translator parameters"},
        {"retriever (winvalue) translator ((1, 2), (0.5, 0.6))", "error in reading translator parameters"},
        {"retriever (wininterval) translator ((1, 2, 3) (0.5, 0.6, 0.7))", "error in reading translator parameters"},
        {"retriever (winchoice (a, b)) translator ()", "error in reading translator parameters"},
        {"retriever (winchoice ()) translator (0.5)", "error in reading retriever parameters"},
        {"retriever (winchoice) translator (0.5)", "error in reading retriever parameters"},
        {"retriever (winprob, winvalue)", "cannot add retriever to node"},
        {"retriever (winprob) translator (0.5)", ") expected"},
    };
    for (const Case &c : cases) {
        KnowledgeBase kb("nodes {\n  A { (bayesian, 0.5) " + c.node + " }\n}\n");
        EXPECT_EQ(kb.compiled, 2) << c.node;
        EXPECT_EQ(kb.Error(), ErrorLine(2, c.error.c_str())) << c.node;
    }

    // 255 options are a list; a 256th fails it.
    auto withOptions = [](int count) {
        std::string list;
        for (int i = 0; i < count; ++i) list += "o" + std::to_string(i) + " ";
        return "nodes {\n  A { (bayesian, 0.5) retriever (winchoice (" + list + ")) translator (0.5) }\n}\n";
    };
    EXPECT_EQ(KnowledgeBase(withOptions(255)).compiled, 0);
    KnowledgeBase tooMany(withOptions(256));
    EXPECT_EQ(tooMany.Error(), ErrorLine(2, "error in reading retriever parameters"));
}

TEST(RegistryRows, QuestionsThroughTheRunTimeTable) {
    CUserInterface ui;
    FakeValueWindow value;
    FakeChoiceWindow choice;
    ui.exactValue = &value;
    ui.choiceQuestion = &choice;
    KnowledgeBase kb(
        "nodes {\n"
        "  Temp { (bayesian, 0.4) retriever (winvalue, wins) translator ((36, 40) (0, 1)) }\n"
        "  Colour { (bayesian, 0.3) retriever (winchoice (red, green)) translator (0.9) }\n"
        "  G { (bayesian, 0.5, goal) }\n"
        "}\n",
        ui);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    CDataRetriever *winvalue = kb.table.FindRetrieverInfo(CString("winvalue"))->retriever;

    // The consultation is aborted while the first question waits: that
    // retriever fails and the node's next one asks again.
    CRetriever *asking = nullptr;
    value.Then([&](auto &) {
        asking = kb.table.currentRetriever;
        kb.table.AbortRetrieval();
    });
    value.Type("39");
    float result = -1.0f;
    ASSERT_EQ(kb.Retrieve("Temp", result), 0);
    EXPECT_EQ(asking, winvalue);
    EXPECT_FLOAT_EQ(result, 0.75f);
    EXPECT_EQ(kb.table.currentRetriever, nullptr);
    EXPECT_EQ(value.rejections.size(), 2u);

    // Aborting the only retriever fails the retrieval.
    value.Then([&](auto &) { kb.table.AbortRetrieval(); }).Then([&](auto &) { kb.table.AbortRetrieval(); });
    EXPECT_EQ(kb.Retrieve("Temp", result), 2);

    // A choice the translator's table lacks fails the translation.
    choice.Choose(1);
    EXPECT_EQ(kb.Retrieve("Colour", result), 2);
    choice.Choose(0);
    ASSERT_EQ(kb.Retrieve("Colour", result), 0);
    EXPECT_FLOAT_EQ(result, 0.9f);
    choice.CloseIt();
    ASSERT_EQ(kb.Retrieve("Colour", result), 0);
    EXPECT_FLOAT_EQ(result, 0.3f);
}

TEST(RegistryRows, AConsultationAsksTheUser) {
    CUserInterface ui;
    FakeProbWindow prob;
    FakeYesNoWindow yesNo;
    ui.probQuestion = &prob;
    ui.yesNoQuestion = &yesNo;
    KnowledgeBase kb(
        "nodes {\n"
        "  Cough { 'Does the patient cough?' (bayesian, 0.2) retriever (winprob) }\n"
        "  Fever { (bayesian, 0.3) retriever (wincf) }\n"
        "  Flu { (bayesian, 0.1, goal) }\n"
        "}\n"
        "rules {\n"
        "  { Cough, Flu, 0.6, 0.05 }\n"
        "  { Fever, Flu, 0.7, 0.02 }\n"
        "}\n",
        ui);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    prob.Type("maybe").Type("1");
    yesNo.Press(5);
    kb.net.ResetValues(&kb.table);
    ASSERT_EQ(kb.net.Consult(&kb.table, &kb.parameters), 0);

    EXPECT_EQ(prob.description, "Does the patient cough?");
    EXPECT_EQ(prob.rejections, (std::vector<std::string>{"", "Enter a real number from <0,1> !"}));
    EXPECT_EQ(yesNo.description, "Fever");
    EXPECT_FLOAT_EQ(kb.Node("Cough")->current, 1.0f);
    EXPECT_FLOAT_EQ(kb.Node("Fever")->current, 1.0f);
    EXPECT_GT(kb.Node("Flu")->current, 0.6f);
}

TEST(RegistryRows, NegativeZeroIsStoredAsZero) {
    // "-0" is a probability of zero wherever it comes from, and the node
    // must hold +0: reports and tables would print the sign.
    CUserInterface ui;
    FakeProbWindow prob;
    ui.probQuestion = &prob;
    KnowledgeBase kb(
        "nodes {\n"
        "  P { (bayesian, 0.4) retriever (dbprob, winprob) }\n"
        "  G { (bayesian, 0.5, goal) }\n"
        "}\n",
        ui);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    CInDatabaseTxt row(*FindTableFormat("idbtxttab"), kb.environment);
    kb.table.currentInDatabase = &row;
    for (const char *field : {"-0", "-0.0", "-0e5"}) {
        row.NewRecord();
        row.InsertField(CString("P"), CString(field));
        float value = 0.5f;
        ASSERT_EQ(kb.Retrieve("P", value), 0) << field;
        EXPECT_EQ(value, 0.0f) << field;
        EXPECT_FALSE(std::signbit(value)) << field;
    }
    // Without a field the question is asked.
    row.NewRecord();
    prob.Type("-0");
    float value = 0.5f;
    ASSERT_EQ(kb.Retrieve("P", value), 0);
    EXPECT_EQ(prob.rejections, (std::vector<std::string>{""}));
    EXPECT_EQ(value, 0.0f);
    EXPECT_FALSE(std::signbit(value));
}

// The diagnostic example knowledge base compiles into exactly the objects it
// describes: parameters, retriever synonym, nodes with their retrievers and
// translator tables, rules, links, taxonomy and help page.
#include <gtest/gtest.h>

#include "compiler_test_support.h"
#include "net/bayes_node.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/rule.h"
#include "net/taxonomy_class.h"
#include "retrieval/retriever_info.h"

using namespace compiler_test;

namespace {

std::string ExampleSource() { return ReadFile(std::filesystem::path(QUORVIN_TEST_DATA) / "kb" / "worked_example.qvb"); }

class WorkedExample : public ::testing::Test {
protected:
    void SetUp() override {
        source = ExampleSource();
        ASSERT_FALSE(source.empty());
        ASSERT_EQ(build.Compile(source), 0) << build.Error();
    }
    std::string source;
    Build build;
};

CDataRetriever *OnlyRetriever(CNodeRTInfo *info) {
    if (info == nullptr || info->retrievers.Count() != 1) return nullptr;
    return info->retrievers.At(0)->retriever;
}

template <typename T>
T *Data(CParamRecord *record) {
    return dynamic_cast<T *>(record);
}

}  // namespace

TEST_F(WorkedExample, CompilesWithoutWritingAnyLine) { EXPECT_TRUE(build.lines.empty()); }

TEST_F(WorkedExample, SetsTheParametersOfItsNetBlock) {
    EXPECT_STREQ(build.parameters.GetParam("prottxt").Text(), "report.txt");
    ASSERT_TRUE(build.parameters.HasParam("patient"));
    EXPECT_STREQ(build.parameters.GetParam("patient").Text(), "");
    ASSERT_EQ(build.parameters.Asks().Count(), 1);
    EXPECT_STREQ(build.parameters.Asks().At(0)->name.Text(), "patient");
    EXPECT_STREQ(build.parameters.GetParam("helppath").Text(), "temphtml");
}

TEST_F(WorkedExample, DefinesTheRetrieverSynonym) {
    CRetrieverInfo *ask = build.table.FindRetrieverInfo("ask");
    CRetrieverInfo *winprob = build.table.FindRetrieverInfo("winprob");
    ASSERT_NE(ask, nullptr);
    ASSERT_NE(winprob, nullptr);
    EXPECT_EQ(ask->retriever, winprob->retriever);
    EXPECT_EQ(ask->translator, winprob->translator);
}

TEST_F(WorkedExample, DeclaresTheNodesInOrderWithTheirKindsAndFlags) {
    const char *names[] = {"fever", "cough", "temperature", "colour", "flu", "cold", "infection"};
    ASSERT_EQ(build.net.nodes.Count(), 7);
    for (int i = 0; i < 7; ++i) EXPECT_STREQ(build.net.nodes.At(i)->name.Text(), names[i]);

    struct Expected {
        const char *name;
        float prior;
        bool askable;
        bool goal;
        const char *description;
    };
    const Expected bayes[] = {{"fever", 0.3f, true, false, "Does the patient have a fever?"},
                              {"cough", 0.4f, true, false, "cough"},
                              {"temperature", 0.5f, true, false, "Body temperature"},
                              {"colour", 0.5f, true, false, "colour"},
                              {"flu", 0.1f, false, true, "Influenza"},
                              {"cold", 0.2f, false, true, "cold"}};
    for (const Expected &e : bayes) {
        SCOPED_TRACE(e.name);
        auto *node = dynamic_cast<CBayesNode *>(build.Node(e.name));
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->prior, e.prior);
        EXPECT_EQ(node->askable, e.askable);
        EXPECT_EQ(node->goal, e.goal);
        EXPECT_STREQ(node->description.Text(), e.description);
    }
    auto *infection = dynamic_cast<CLogicalNode *>(build.Node("infection"));
    ASSERT_NE(infection, nullptr);
    EXPECT_EQ(infection->logicalType, CLogicalNode::kOr);
    EXPECT_FALSE(infection->askable);
    EXPECT_FALSE(infection->goal);

    ASSERT_EQ(build.net.goals.Count(), 2);
    EXPECT_EQ(build.net.goals.At(0), build.Node("flu"));
    EXPECT_EQ(build.net.goals.At(1), build.Node("cold"));
}

TEST_F(WorkedExample, AttachesRetrieversAndTranslatorTables) {
    FakeRegistry &registry = FakeRegistry::Instance();
    EXPECT_EQ(build.table.rtInfos.Count(), 4);

    CNodeRTInfo *fever = build.RTInfo("fever");
    EXPECT_EQ(OnlyRetriever(fever), registry.Retriever("winprob"));
    EXPECT_EQ(fever->translator, registry.Translator("prob"));
    EXPECT_EQ(OnlyRetriever(build.RTInfo("cough")), registry.Retriever("winprob"));

    CNodeRTInfo *temperature = build.RTInfo("temperature");
    EXPECT_EQ(OnlyRetriever(temperature), registry.Retriever("winvalue"));
    EXPECT_EQ(temperature->translator, registry.Translator("value"));
    auto *points = Data<NumberLists>(temperature->translatorData);
    ASSERT_NE(points, nullptr);
    EXPECT_EQ(points->first, (std::vector<float>{36, 38, 40}));
    EXPECT_EQ(points->second, (std::vector<float>{0, 0.5f, 1}));

    CNodeRTInfo *colour = build.RTInfo("colour");
    EXPECT_EQ(OnlyRetriever(colour), registry.Retriever("winchoice"));
    EXPECT_EQ(colour->translator, registry.Translator("choice"));
    auto *options = Data<OptionList>(colour->retrievers.At(0)->data);
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->options, (std::vector<std::string>{"pale", "normal", "red"}));
    auto *choices = Data<NumberLists>(colour->translatorData);
    ASSERT_NE(choices, nullptr);
    EXPECT_EQ(choices->first, (std::vector<float>{0.2f, 0.5f, 0.8f}));

    for (const char *name : {"flu", "cold", "infection"}) EXPECT_EQ(build.RTInfo(name), nullptr) << name;
}

TEST_F(WorkedExample, AddsTheRulesWithTheirWeights) {
    struct Expected {
        const char *source;
        const char *target;
        float pYes;
        float pNo;
    };
    const Expected rules[] = {{"fever", "flu", 0.8f, 0.05f},
                              {"temperature", "flu", 0.9f, 0.1f},
                              {"cough", "cold", 1.0f, 0.0f},
                              {"flu", "infection", 1.0f, 0.0f},
                              {"cold", "infection", 1.0f, 0.0f}};
    ASSERT_EQ(build.net.rules.Count(), 5);
    for (int i = 0; i < 5; ++i) {
        CRule *rule = build.net.rules.At(i);
        SCOPED_TRACE(i);
        EXPECT_EQ(rule->source, build.Node(rules[i].source));
        EXPECT_EQ(rule->target, build.Node(rules[i].target));
        EXPECT_EQ(rule->pYes, rules[i].pYes);
        EXPECT_EQ(rule->pNo, rules[i].pNo);
    }
}

TEST_F(WorkedExample, AddsOnePriorityAndOneContextLink) {
    ASSERT_EQ(build.net.links.Count(), 2);
    CLink *priority = build.net.links.At(0);
    EXPECT_TRUE(priority->isPriority);
    EXPECT_EQ(priority->source, build.Node("fever"));
    EXPECT_EQ(priority->target, build.Node("cough"));
    auto *context = dynamic_cast<CContextLink *>(build.net.links.At(1));
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->source, build.Node("colour"));
    EXPECT_EQ(context->target, build.Node("cold"));
    EXPECT_EQ(context->low, 0.5f);
    EXPECT_EQ(context->high, 1.0f);
}

TEST_F(WorkedExample, BuildsTheHypothesisTaxonomy) {
    ASSERT_EQ(build.net.roots.Count(), 1);
    CTaxRoot *illness = build.net.roots.At(0);
    EXPECT_STREQ(illness->name.Text(), "illness");
    EXPECT_EQ(illness->taxonomyType, CTaxRoot::kHypothesis);
    EXPECT_EQ(illness->members.Count(), 0);
    ASSERT_EQ(illness->subclasses.Count(), 1);
    CTaxCl *viral = illness->subclasses.At(0);
    EXPECT_STREQ(viral->name.Text(), "viral");
    ASSERT_EQ(viral->members.Count(), 2);
    EXPECT_EQ(viral->members.At(0), build.Node("flu"));
    EXPECT_EQ(viral->members.At(1), build.Node("cold"));
    EXPECT_EQ(build.net.allClasses.Count(), 2);
}

TEST_F(WorkedExample, WritesTheOneHelpPage) {
    EXPECT_EQ(build.helpDir.Files(), std::vector<std::string>{"flu.html"});
    EXPECT_EQ(ReadFile(build.helpDir.Path() / "flu.html"),
              "<HTML><HEAD><META name=\"GENERATOR\" content=\"Quorvin\"><TITLE>\n"
              "flu\n"
              "</TITLE></HEAD><BODY BGCOLOR=\"#ffffff\"><H1>\n"
              "flu\n"
              "</H1><P><HR><P>\n"
              " Influenza is an acute viral infection. \n"
              "</BODY></HTML>\n");
}

TEST_F(WorkedExample, PassesTheConsistencyCheck) {
    EXPECT_EQ(build.net.Check(), 0) << build.net.checkMessage.Text();
}

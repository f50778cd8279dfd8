// Taxonomies: building the class trees, selecting hypotheses, the IICG
// check, spreading definite answers, and the consultation loop with the
// taxonomy question and batch records.
#include "net/inf_tax_net.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/retrieval/test_retrieval.h"

using testing_engine::Consultation;
using testing_engine::FakeBatchIterator;
using testing_engine::FakeOutDatabase;
using testing_engine::Fail;
using testing_engine::ScriptedParamRetriever;
using testing_engine::ScriptedTaxonomyRetriever;
using testing_engine::Yes;

namespace {

using Names = std::vector<std::string>;

Names Enabled(CInfTaxNet &net) {
    Names names;
    for (int32_t i = 0; i < net.nodes.Count(); ++i)
        if (net.nodes.At(i)->enabled) names.push_back(net.nodes.At(i)->name.Text());
    return names;
}

}  // namespace

TEST(CInfTaxNetBuilding, ClassNamesAreUniqueAcrossTaxonomies) {
    CInfTaxNet net;
    net.AddBayesNode("g", 0.5f, false, true);
    EXPECT_EQ(net.AddTaxonomy("illness", CTaxRoot::kHypothesis), 0);
    EXPECT_EQ(net.AddTaxonomy("illness", CTaxRoot::kHiddenYes), 2);
    EXPECT_EQ(net.AddTaxonomy("bad", 4), 2);
    EXPECT_EQ(net.AddClass("illness", "viral"), 0);
    EXPECT_EQ(net.AddClass("viral", "flu"), 0);
    EXPECT_EQ(net.AddClass("illness", "viral"), 2);
    EXPECT_EQ(net.AddClass("missing", "other"), 2);
    EXPECT_EQ(net.AddTaxonomy("flu", CTaxRoot::kHiddenNo), 2);  // a class has the name
    EXPECT_EQ(net.AddTaxonomy("", CTaxRoot::kHiddenNo), 2);
    EXPECT_EQ(net.AddNodeToClass("flu", "g"), 0);
    EXPECT_EQ(net.AddNodeToClass("flu", "missing"), 2);
    EXPECT_EQ(net.AddNodeToClass("missing", "g"), 2);

    ASSERT_EQ(net.roots.Count(), 1);
    EXPECT_EQ(net.allClasses.Count(), 3);
    CTaxCl *flu = net.FindClass("flu");
    CTaxCl *viral = net.FindClass("viral");
    EXPECT_EQ(flu->parent, viral);
    EXPECT_EQ(flu->root, net.roots.At(0));
    EXPECT_EQ(viral->parent, net.FindClass("illness"));
    EXPECT_EQ(net.roots.At(0)->root, net.roots.At(0));
    EXPECT_EQ(net.roots.At(0)->parent, nullptr);
    EXPECT_EQ(net.rootIndex.Find("illness"), net.roots.At(0));
    EXPECT_EQ(net.rootIndex.Find("viral"), nullptr);
    EXPECT_EQ(viral->subclasses.At(0), flu);
    EXPECT_EQ(flu->members.At(0), net.FindNode("g"));
    EXPECT_EQ(net.FindNode("g")->classes.At(0), flu);
}

namespace {

// Hypothesis taxonomy T: class A (g1) with subclasses A1 (g2) and A2 (g2
// again, and g3); g4 is in no class of T. Taxonomy U: class B (g1, g3).
// A hidden taxonomy H holds g4.
void BuildHypotheses(CInfTaxNet &net) {
    for (const char *goal : {"g1", "g2", "g3", "g4"}) net.AddBayesNode(goal, 0.5f, false, true);
    net.AddTaxonomy("T", CTaxRoot::kHypothesis);
    net.AddClass("T", "A");
    net.AddClass("A", "A1");
    net.AddClass("A", "A2");
    net.AddNodeToClass("A", "g1");
    net.AddNodeToClass("A1", "g2");
    net.AddNodeToClass("A2", "g2");
    net.AddNodeToClass("A2", "g3");
    net.AddTaxonomy("U", CTaxRoot::kHypothesis);
    net.AddClass("U", "B");
    net.AddNodeToClass("B", "g1");
    net.AddNodeToClass("B", "g3");
    net.AddTaxonomy("H", CTaxRoot::kHiddenBoth);
    net.AddNodeToClass("H", "g4");
}

Names Pick(CInfTaxNet &net, const Names &classes) {
    for (const std::string &name : classes) EXPECT_EQ(net.SelectClass(name.c_str()), 0) << name;
    EXPECT_EQ(net.ApplySelection(), 0);
    EXPECT_EQ(net.selectedCount, 0);
    return Enabled(net);
}

}  // namespace

TEST(CInfTaxNetSelection, PickedSubtreesEnableTheirGoals) {
    CInfTaxNet net;
    BuildHypotheses(net);
    EXPECT_EQ(Pick(net, {"A"}), (Names{"g1", "g2", "g3"}));
    EXPECT_EQ(Pick(net, {"A1"}), (Names{"g2"}));
    EXPECT_EQ(Pick(net, {}), (Names{"g1", "g2", "g3", "g4"}));
    // Two taxonomies: only goals in both picked subtrees.
    EXPECT_EQ(Pick(net, {"A", "B"}), (Names{"g1", "g3"}));
    EXPECT_EQ(Pick(net, {"A2", "B"}), (Names{"g3"}));
    // The root selects the whole tree.
    EXPECT_EQ(Pick(net, {"T"}), (Names{"g1", "g2", "g3"}));
    for (int32_t i = 0; i < net.nodes.Count(); ++i) EXPECT_EQ(net.nodes.At(i)->selectionCount, 0);
}

TEST(CInfTaxNetSelection, OnlyHypothesisClassesCanBePicked) {
    CInfTaxNet net;
    BuildHypotheses(net);
    EXPECT_EQ(net.SelectClass("H"), 2);
    EXPECT_EQ(net.SelectClass("nothing"), 2);
    EXPECT_EQ(net.selectedCount, 0);
    EXPECT_EQ(net.FindNode("g4")->selectionCount, 0);
    net.ApplySelection();
    EXPECT_EQ(Enabled(net), (Names{"g1", "g2", "g3", "g4"}));
}

TEST(CInfTaxNetCheck, ClassTreesOrderMembersBeforeTheirParentsMembers) {
    CInfTaxNet net;
    net.AddBayesNode("e", 0.5f, true, false);
    net.AddBayesNode("parentMember", 0.5f, false, true);
    net.AddBayesNode("childMember", 0.5f, false, true);
    net.AddRule("e", "parentMember", 0.9f, 0.1f);
    net.AddTaxonomy("T", CTaxRoot::kHiddenYes);
    net.AddClass("T", "P");
    net.AddClass("P", "C");
    net.AddNodeToClass("P", "parentMember");
    net.AddNodeToClass("C", "childMember");
    EXPECT_EQ(net.Check(), 0);
    EXPECT_STREQ(net.checkMessage.Text(), "");

    // A rule from the parent's member to the child's member closes a cycle
    // with the class edge back; the base check alone passes.
    net.AddRule("parentMember", "childMember", 0.9f, 0.1f);
    EXPECT_EQ(net.CInferenceNet::Check(), 0);
    EXPECT_EQ(net.Check(), 2);
    EXPECT_STREQ(net.checkMessage.Text(), "taxonomy and inference net inconsistent (cycle in IICG)");
    // The detail names the nodes, the rule and the classes of the cycle.
    EXPECT_EQ(net.checkDetail,
              "the rules and classes go round: \"parentMember\" -> \"childMember\" (rule), \"childMember\" -> "
              "\"parentMember\" (\"childMember\" is in class \"C\", \"parentMember\" in its parent class \"P\")");
}

TEST(CInfTaxNetCheck, AMemberOfAClassAndItsSubclassIsAlwaysACycle) {
    CInfTaxNet net;
    net.AddBayesNode("e", 0.5f, true, false);
    net.AddBayesNode("g", 0.5f, false, true);
    net.AddRule("e", "g", 0.9f, 0.1f);
    net.AddTaxonomy("T", CTaxRoot::kHypothesis);
    net.AddClass("T", "P");
    net.AddNodeToClass("T", "g");  // a member of the root only: fine
    EXPECT_EQ(net.Check(), 0);
    net.AddNodeToClass("P", "g");
    EXPECT_EQ(net.Check(), 2);
    EXPECT_STREQ(net.checkMessage.Text(), "taxonomy and inference net inconsistent (cycle in IICG)");
    EXPECT_EQ(net.checkDetail, "the rules and classes go round: \"g\" -> \"g\" (\"g\" is in class \"P\", \"g\" "
                               "in its parent class \"T\")");

    // A failing base check is reported first.
    CInfTaxNet empty;
    empty.AddTaxonomy("T", CTaxRoot::kHypothesis);
    EXPECT_EQ(empty.Check(), 2);
    EXPECT_STREQ(empty.checkMessage.Text(), "no nodes");
}

TEST(CInfTaxNetCheck, EmptyClassesAndLargeClassesStayLinear) {
    // Every member of a large subclass points to every member of a large
    // parent class: far too many edges to list one by one.
    CInfTaxNet net;
    net.AddBayesNode("e", 0.5f, true, false);
    net.AddBayesNode("g", 0.5f, false, true);
    net.AddRule("e", "g", 0.9f, 0.1f);
    net.AddTaxonomy("T", CTaxRoot::kHiddenBoth);
    net.AddClass("T", "P");
    net.AddClass("P", "Empty");
    net.AddClass("P", "C");
    for (int i = 0; i < 3000; ++i) {
        const std::string parentMember = "p" + std::to_string(i);
        const std::string childMember = "c" + std::to_string(i);
        net.AddBayesNode(parentMember.c_str(), 0.5f, false, false);
        net.AddBayesNode(childMember.c_str(), 0.5f, false, false);
        net.AddNodeToClass("P", parentMember.c_str());
        net.AddNodeToClass("C", childMember.c_str());
    }
    EXPECT_EQ(net.Check(), 0);
    net.AddRule("p2999", "c0", 0.9f, 0.1f);
    EXPECT_EQ(net.Check(), 2);
}

namespace {

// A hidden taxonomy of `type`: root R (r), class K (k1, k2) with subclasses
// S (s) and T (t, u); S has subclass SS (ss). Every member is askable. Goal
// G is fed by u.
void BuildHidden(Consultation &c, uint8_t type) {
    for (const char *member : {"r", "k1", "k2", "s", "t", "u", "ss"}) c.Askable(member, 0.5f);
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.net.AddRule("u", "G", 0.9f, 0.1f);
    c.net.AddTaxonomy("R", type);
    c.net.AddClass("R", "K");
    c.net.AddClass("K", "S");
    c.net.AddClass("K", "T");
    c.net.AddClass("S", "SS");
    c.net.AddNodeToClass("R", "r");
    c.net.AddNodeToClass("K", "k1");
    c.net.AddNodeToClass("K", "k2");
    c.net.AddNodeToClass("S", "s");
    c.net.AddNodeToClass("T", "t");
    c.net.AddNodeToClass("T", "u");
    c.net.AddNodeToClass("SS", "ss");
    c.net.ResetValues(&c.table);
}

// Answers `node` with `value` through the net, as an investigation would,
// and propagates; returns the names of the nodes now marked asked.
Names AnswerAndSpread(Consultation &c, const char *node, float value) {
    c.Answer(node, Yes(value));
    EXPECT_EQ(c.net.AskNode(c.net.FindNode(node), &c.table), 0);
    c.net.Propagate();
    Names asked;
    for (int32_t i = 0; i < c.net.nodes.Count(); ++i)
        if (c.net.nodes.At(i)->asked) asked.push_back(c.net.nodes.At(i)->name.Text());
    return asked;
}

}  // namespace

TEST(CInfTaxNetSpreading, ADefiniteNoSpreadsDownTheTree) {
    Consultation c;
    BuildHidden(c, CTaxRoot::kHiddenNo);
    EXPECT_EQ(AnswerAndSpread(c, "k1", 0.0005f), (Names{"k1", "k2", "s", "t", "u", "ss"}));
    for (const char *member : {"k2", "s", "t", "u", "ss"}) EXPECT_FLOAT_EQ(c.Value(member), 0.0005f) << member;
    EXPECT_FLOAT_EQ(c.Value("r"), 0.5f);
    // The spread members were propagated: u's goal followed and finished.
    EXPECT_TRUE(c.net.FindNode("u")->finished);
    EXPECT_TRUE(c.net.FindNode("G")->finished);
    EXPECT_LT(c.Value("G"), 0.11f);

    // A yes does not spread in a taxonomy that spreads only no.
    Consultation yes;
    BuildHidden(yes, CTaxRoot::kHiddenNo);
    EXPECT_EQ(AnswerAndSpread(yes, "s", 0.9995f), (Names{"s"}));
}

TEST(CInfTaxNetSpreading, ADefiniteYesSpreadsUpToTheRoot) {
    Consultation c;
    BuildHidden(c, CTaxRoot::kHiddenYes);
    EXPECT_EQ(AnswerAndSpread(c, "ss", 0.9995f), (Names{"r", "k1", "k2", "s", "ss"}));
    EXPECT_FLOAT_EQ(c.Value("r"), 0.9995f);
    EXPECT_FLOAT_EQ(c.Value("t"), 0.5f);  // the sibling class is untouched

    Consultation no;
    BuildHidden(no, CTaxRoot::kHiddenYes);
    EXPECT_EQ(AnswerAndSpread(no, "k1", 0.0f), (Names{"k1"}));
}

TEST(CInfTaxNetSpreading, ThresholdsAreInclusiveAndOnlyDefiniteAnswersSpread) {
    Consultation atNo;
    BuildHidden(atNo, CTaxRoot::kHiddenBoth);
    EXPECT_EQ(AnswerAndSpread(atNo, "s", 0.001f), (Names{"s", "ss"}));

    Consultation atYes;
    BuildHidden(atYes, CTaxRoot::kHiddenBoth);
    EXPECT_EQ(AnswerAndSpread(atYes, "s", 0.999f), (Names{"r", "k1", "k2", "s"}));

    Consultation between;
    BuildHidden(between, CTaxRoot::kHiddenBoth);
    EXPECT_EQ(AnswerAndSpread(between, "s", 0.0011f), (Names{"s"}));
    EXPECT_EQ(AnswerAndSpread(between, "t", 0.9989f), (Names{"s", "t"}));

    // A hypothesis taxonomy never spreads.
    Consultation hypothesis;
    BuildHidden(hypothesis, CTaxRoot::kHypothesis);
    EXPECT_EQ(AnswerAndSpread(hypothesis, "s", 0.0f), (Names{"s"}));
}

namespace {

// Two goals g1 (0.6) and g2 (0.4), each asked directly, in a hypothesis
// taxonomy with classes C1 (g1) and C2 (g2).
struct TaxonomyConsultation : ::testing::Test {
    void SetUp() override {
        c.Askable("g1", 0.6f, true);
        c.Askable("g2", 0.4f, true);
        c.net.AddTaxonomy("T", CTaxRoot::kHypothesis);
        c.net.AddClass("T", "C1");
        c.net.AddClass("T", "C2");
        c.net.AddNodeToClass("C1", "g1");
        c.net.AddNodeToClass("C2", "g2");
        c.table.SetTaxonomyRetriever(&taxonomy);
        c.table.SetParamRetriever(&params);
        c.table.AddOutDatabase(&out);
    }
    Consultation c;
    ScriptedTaxonomyRetriever taxonomy;
    ScriptedParamRetriever params;
    FakeOutDatabase out;
};

}  // namespace

TEST_F(TaxonomyConsultation, TheTaxonomyQuestionComesBeforeTheGoals) {
    taxonomy.picks = {"C2"};
    c.Answer("g2", Yes(1.0f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(taxonomy.askCount, 1);
    EXPECT_EQ(c.asker->asked, (Names{"g2"}));
    EXPECT_FALSE(c.net.FindNode("g1")->enabled);
    EXPECT_EQ(out.rows.size(), 1u);

    taxonomy.result = 2;  // cancelled
    EXPECT_EQ(c.Run(), 2);
    EXPECT_EQ(c.asker->asked.size(), 1u);
    EXPECT_EQ(out.rows.size(), 1u);
}

TEST_F(TaxonomyConsultation, ABatchConsultsOncePerRecord) {
    c.params.AddAskParam("who");
    params.answers["who"] = "someone";
    FakeBatchIterator batch({"k1", "k2", "k3"});
    c.table.AddBatchIterator(&batch);
    c.Answer("g1", Yes(0.9f));
    c.Answer("g2", Yes(0.8f));
    c.Answer("g1", Yes(0.1f));
    c.Answer("g2", Fail());  // the second record fails
    c.Answer("g1", Yes(0.7f));
    c.Answer("g2", Yes(0.6f));
    EXPECT_EQ(c.Run(), 0);  // the last record's result
    EXPECT_EQ(params.askedNames, (Names{"who"}));  // asked once per run
    EXPECT_EQ(taxonomy.askCount, 3);
    EXPECT_EQ(c.asker->asked, (Names{"g1", "g2", "g1", "g2", "g1", "g2"}));
    // Each record starts from the a-priori values and writes its outputs;
    // the failed record writes nothing.
    EXPECT_EQ(out.rows, (Names{"g1=0.900000;g2=0.800000;", "g1=0.700000;g2=0.600000;"}));
    EXPECT_STREQ(c.params.GetParam("dbrecord").Text(), "k3");
    EXPECT_TRUE(c.table.batchRunning);

    // A failing last record is the result of the run.
    FakeBatchIterator two({"a", "b"});
    c.table.batchIterators.Reset();
    c.table.AddBatchIterator(&two);
    c.Answer("g1", Yes(0.9f));
    c.Answer("g2", Yes(0.8f));
    c.Answer("g1", Fail());
    EXPECT_EQ(c.Run(), 2);
}

TEST_F(TaxonomyConsultation, AnAbortStopsTheBatchAfterItsRecord) {
    FakeBatchIterator batch({"k1", "k2", "k3"});
    c.table.AddBatchIterator(&batch);
    c.asker->abortWhileAsking = true;
    c.Answer("g1", Fail());
    c.Answer("g2", Fail());
    c.Run();
    EXPECT_EQ(taxonomy.askCount, 1);
    EXPECT_STREQ(c.params.GetParam("dbrecord").Text(), "k1");
    EXPECT_TRUE(out.rows.empty());

    // The next run starts afresh and goes through every record.
    c.asker->abortWhileAsking = false;
    FakeBatchIterator again({"a", "b"});
    c.table.batchIterators.Reset();
    c.table.AddBatchIterator(&again);
    c.params.asked = false;
    for (int record = 0; record < 2; ++record) {
        c.Answer("g1", Yes(0.9f));
        c.Answer("g2", Yes(0.8f));
    }
    EXPECT_EQ(c.Run(), 0);
    EXPECT_STREQ(c.params.GetParam("dbrecord").Text(), "b");
}

TEST(CInfTaxNetConsult, ANetWithoutTaxonomiesNeverAsksTheTaxonomyQuestion) {
    Consultation c;
    ScriptedTaxonomyRetriever taxonomy;
    c.table.SetTaxonomyRetriever(&taxonomy);
    c.Askable("g", 0.5f, true);
    c.Answer("g", Yes(0.2f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(taxonomy.askCount, 0);

    // A cancelled parameter question ends the run before anything is asked.
    Consultation cancelled;
    ScriptedParamRetriever params;
    params.result = 2;
    cancelled.table.SetParamRetriever(&params);
    cancelled.params.AddAskParam("who");
    cancelled.Askable("g", 0.5f, true);
    EXPECT_EQ(cancelled.Run(), 2);
    EXPECT_TRUE(cancelled.asker->asked.empty());
}

TEST(CInfTaxNetBuilding, AVeryDeepTaxonomyIsBuiltCheckedAndDestroyed) {
    // Deleting the classes recursively overflowed the stack from about
    // 100,000 levels on.
    auto net = std::make_unique<CInfTaxNet>();
    ASSERT_EQ(net->AddBayesNode("g", 0.5f, false, true), 0);
    ASSERT_EQ(net->AddBayesNode("e", 0.5f, true, false), 0);
    ASSERT_EQ(net->AddRule("e", "g", 0.9f, 0.1f), 0);
    ASSERT_EQ(net->AddTaxonomy("depth", CTaxRoot::kHypothesis), 0);
    std::string parent = "depth";
    for (int level = 0; level < 200000; ++level) {
        std::string name = "c" + std::to_string(level);
        ASSERT_EQ(net->AddClass(CString(parent.c_str()), CString(name.c_str())), 0);
        parent = name;
    }
    ASSERT_EQ(net->AddNodeToClass(CString(parent.c_str()), "g"), 0);
    EXPECT_EQ(net->allClasses.Count(), 200001);
    EXPECT_EQ(net->Check(), 0) << net->CheckMessage().Text();
    net.reset();
}

// The and, or and not of logical nodes: starting values, updates, scores.
#include "net/logical_node.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <string>

#include "net/inference_net.h"
#include "net/node_names.h"
#include "net/rule.h"

using testing_engine::NumberedName;

namespace {

// Three evidence nodes a (0.2), b (0.7), c (0.4) feeding an and, an or and a
// not-node (the not-node fed by c only).
struct LogicalNet : ::testing::Test {
    void SetUp() override {
        net.AddBayesNode("a", 0.2f, true, false);
        net.AddBayesNode("b", 0.7f, true, false);
        net.AddBayesNode("c", 0.4f, true, false);
        net.AddLogicalNode("all", CLogicalNode::kAnd, false, true);
        net.AddLogicalNode("any", CLogicalNode::kOr, false, true);
        net.AddLogicalNode("notc", CLogicalNode::kNot, false, true);
        for (const char *source : {"a", "b"}) {
            net.AddRule(source, "all", 1.0f, 0.0f);
            net.AddRule(source, "any", 1.0f, 0.0f);
        }
        net.AddRule("c", "notc", 1.0f, 0.0f);
        net.ResetValues(nullptr);
    }
    CNode *Node(const char *name) { return net.FindNode(name); }
    CInferenceNet net;
};

}  // namespace

TEST_F(LogicalNet, InitCombinesTheSourcesPriorsIntoPriorAndCurrent) {
    EXPECT_FLOAT_EQ(Node("all")->current, 0.2f);
    EXPECT_FLOAT_EQ(Node("all")->prior, 0.2f);
    EXPECT_FLOAT_EQ(Node("any")->current, 0.7f);
    EXPECT_FLOAT_EQ(Node("any")->prior, 0.7f);
    EXPECT_FLOAT_EQ(Node("notc")->current, 0.6f);
    EXPECT_EQ(Node("all")->kind, CNode::kLogical);
    EXPECT_TRUE(Node("all")->InRules().At(0)->targetIsLogical);
}

TEST_F(LogicalNet, UpdateRecomputesButLeavesThePrior) {
    Node("a")->current = 0.9f;
    EXPECT_TRUE(Node("all")->Update(Node("a")));
    EXPECT_FLOAT_EQ(Node("all")->current, 0.7f);
    EXPECT_FLOAT_EQ(Node("all")->prior, 0.2f);
    EXPECT_TRUE(Node("any")->Update(Node("a")));
    EXPECT_FLOAT_EQ(Node("any")->current, 0.9f);

    // A move within the change threshold is not reported.
    Node("b")->current = 0.7005f;
    EXPECT_FALSE(Node("all")->Update(Node("b")));
    EXPECT_FLOAT_EQ(Node("all")->current, 0.7005f);
}

TEST_F(LogicalNet, NotNodeUpdateReadsTheChangedSource) {
    // The changed source passed in counts, not the first rule's source.
    Node("b")->current = 0.1f;
    EXPECT_TRUE(Node("notc")->Update(Node("b")));
    EXPECT_FLOAT_EQ(Node("notc")->current, 0.9f);
    EXPECT_TRUE(Node("notc")->Update(Node("c")));
    EXPECT_FLOAT_EQ(Node("notc")->current, 0.6f);
}

TEST_F(LogicalNet, ScoreDependsOnTheKindOnly) {
    CRule *anyRule = Node("a")->OutRules().At(0);
    EXPECT_FLOAT_EQ(Node("all")->Score(anyRule), 0.8f);
    EXPECT_FLOAT_EQ(Node("any")->Score(anyRule), 0.7f);
    EXPECT_FLOAT_EQ(Node("notc")->Score(anyRule), 1.0f);
}

TEST(CLogicalNode, NodesWithoutRulesShowTheyHaveNothingToCombine) {
    CInferenceNet net;
    net.AddLogicalNode("and", CLogicalNode::kAnd, false, true);
    net.AddLogicalNode("or", CLogicalNode::kOr, false, true);
    net.AddLogicalNode("not", CLogicalNode::kNot, false, true);
    net.ResetValues(nullptr);
    EXPECT_FLOAT_EQ(net.FindNode("and")->current, 1.1f);
    EXPECT_FLOAT_EQ(net.FindNode("or")->current, -0.1f);
    // A not-node without a rule has nothing to negate and stays true.
    EXPECT_FLOAT_EQ(net.FindNode("not")->current, 1.0f);
    EXPECT_FLOAT_EQ(net.FindNode("not")->prior, 1.0f);
}

namespace {

// Runs ResetValues on a thread with a small stack (256 KiB), where a
// recursion through a long chain of nodes would overflow.
void ResetOnSmallStack(CInferenceNet &net) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    pthread_t thread;
    auto run = [](void *argument) -> void * {
        static_cast<CInferenceNet *>(argument)->ResetValues(nullptr);
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &net), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

}  // namespace

TEST(CLogicalNode, InitInitializesSourcesFirstAlongChains) {
    // A chain of logical nodes declared from the goal backwards: each node's
    // Init must reach the Bayesian leaf first, however long the chain.
    constexpr int kLength = 20000;
    CInferenceNet net;
    for (int i = 0; i < kLength; ++i)
        net.AddLogicalNode(NumberedName(i).c_str(), i % 2 == 0 ? CLogicalNode::kNot : CLogicalNode::kOr, false, i == 0);
    net.AddBayesNode("leaf", 0.25f, true, false);
    for (int i = 0; i + 1 < kLength; ++i) net.AddRule(NumberedName(i + 1).c_str(), NumberedName(i).c_str(), 1.0f, 0.0f);
    net.AddRule("leaf", NumberedName(kLength - 1).c_str(), 1.0f, 0.0f);
    ResetOnSmallStack(net);
    // The last node is an or of the leaf (0.25); nots and ors alternate up
    // to the first node, a not applied 10000 times: an even count.
    EXPECT_FLOAT_EQ(net.FindNode(NumberedName(kLength - 1).c_str())->current, 0.25f);
    EXPECT_FLOAT_EQ(net.FindNode(NumberedName(kLength - 2).c_str())->current, 0.75f);
    EXPECT_FLOAT_EQ(net.FindNode(NumberedName(0).c_str())->current, 0.25f);
    int32_t initialized = 0;
    for (int32_t i = 0; i < net.nodes.Count(); ++i) initialized += net.nodes.At(i)->initialized ? 1 : 0;
    EXPECT_EQ(initialized, kLength + 1);
}

// What every node decides on its own: which source to investigate next,
// whether links hold it back, and whether it is finished.
#include "net/node.h"

#include <gtest/gtest.h>

#include "net/inference_net.h"

namespace {

// Goal H with two Bayesian sources of identical shape, so their scores tie,
// and a third whose rule makes it worth more.
struct Sources : ::testing::Test {
    void SetUp() override {
        net.AddBayesNode("H", 0.3f, false, true);
        net.AddBayesNode("first", 0.5f, true, false);
        net.AddBayesNode("second", 0.5f, true, false);
        net.AddRule("first", "H", 0.8f, 0.2f);
        net.AddRule("second", "H", 0.8f, 0.2f);
        net.ResetValues(nullptr);
    }
    CNode *Node(const char *name) { return net.FindNode(name); }
    CInferenceNet net;
};

}  // namespace

TEST_F(Sources, ChooseSourcePrefersTheBestScoreAndTheEarliestRuleOnATie) {
    EXPECT_EQ(Node("H")->ChooseSource(), Node("first"));
    Node("first")->finished = true;
    EXPECT_EQ(Node("H")->ChooseSource(), Node("second"));
    Node("second")->finished = true;
    EXPECT_EQ(Node("H")->ChooseSource(), nullptr);
    EXPECT_EQ(Node("first")->ChooseSource(), nullptr);  // no rules at all

    // A later source with a stronger rule wins over the earlier ones.
    net.AddBayesNode("strong", 0.5f, true, false);
    net.AddRule("strong", "H", 0.99f, 0.01f);
    net.ResetValues(nullptr);
    EXPECT_EQ(Node("H")->ChooseSource(), Node("strong"));
}

TEST_F(Sources, TestFinishedWaitsForSourcesAndForTheAnswer) {
    CNode *h = Node("H");
    EXPECT_FALSE(h->TestFinished());
    Node("first")->finished = true;
    EXPECT_FALSE(h->TestFinished());
    Node("second")->finished = true;
    EXPECT_TRUE(h->TestFinished());
    EXPECT_TRUE(h->finished);

    // An askable node without rules is finished only once asked.
    CNode *first = Node("first");
    first->finished = false;
    EXPECT_FALSE(first->TestFinished());
    first->asked = true;
    EXPECT_TRUE(first->TestFinished());

    // The test never clears the flag.
    Node("second")->finished = false;
    h->finished = true;
    EXPECT_FALSE(h->TestFinished());
    EXPECT_TRUE(h->finished);
}

TEST(CNodeLinks, ContextLinksComeFirstAndBlockOnlyOutsideTheirInterval) {
    CInferenceNet net;
    net.AddBayesNode("target", 0.5f, true, true);
    net.AddBayesNode("context", 0.3f, true, false);
    net.AddBayesNode("before", 0.5f, true, false);
    net.AddPriorityLink("before", "target");
    net.AddContextLink("context", "target", 0.5f, 1.0f);
    net.ResetValues(nullptr);
    CNode *target = net.FindNode("target");
    CNode *context = net.FindNode("context");
    CNode *before = net.FindNode("before");
    CNode *out = before;

    // Context 0.3 outside [0.5, 1] and unfinished: investigate it first,
    // although the priority link was created earlier.
    EXPECT_TRUE(target->CheckLinks(out));
    EXPECT_EQ(out, context);
    EXPECT_TRUE(target->CheckContext(out));
    EXPECT_EQ(out, context);

    // Finished outside the interval: blocked for good, nothing to do first.
    context->finished = true;
    EXPECT_TRUE(target->CheckLinks(out));
    EXPECT_EQ(out, nullptr);

    // Inside the interval (bounds included) the priority link speaks.
    for (float value : {0.5f, 0.75f, 1.0f}) {
        context->current = value;
        EXPECT_FALSE(target->CheckContext(out));
        EXPECT_TRUE(target->CheckLinks(out));
        EXPECT_EQ(out, before);
    }
    EXPECT_TRUE(target->CheckPriority(out));
    EXPECT_EQ(out, before);
    before->finished = true;
    EXPECT_FALSE(target->CheckPriority(out));
    EXPECT_FALSE(target->CheckLinks(out));
    EXPECT_EQ(out, nullptr);
}

TEST(CNodeLinks, AnEmptyIntervalIsViolatedByEveryValue) {
    CInferenceNet net;
    net.AddBayesNode("target", 0.5f, true, true);
    net.AddBayesNode("context", 0.5f, true, false);
    net.AddContextLink("context", "target", 0.7f, 0.2f);
    net.ResetValues(nullptr);
    CNode *out = nullptr;
    for (float value : {0.0f, 0.2f, 0.5f, 0.7f, 1.0f}) {
        net.FindNode("context")->current = value;
        EXPECT_TRUE(net.FindNode("target")->CheckContext(out)) << value;
    }
}

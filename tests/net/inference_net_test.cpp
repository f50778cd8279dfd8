// Building the net through its add operations, and the consistency check.
#include "net/inference_net.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "net/link.h"
#include "net/node_names.h"
#include "net/logical_node.h"
#include "net/rule.h"

TEST(CInferenceNetBuilding, AddNodesRefusesDuplicatesAndPriorsOutOfRange) {
    CInferenceNet net;
    EXPECT_EQ(net.AddBayesNode("zero", 0.0f, false, false), 0);
    EXPECT_EQ(net.AddBayesNode("one", 1.0f, true, true), 0);
    EXPECT_EQ(net.AddBayesNode("one", 0.5f, false, false), 2);
    EXPECT_EQ(net.AddLogicalNode("one", CLogicalNode::kOr, false, false), 2);
    EXPECT_EQ(net.AddBayesNode("high", 1.0001f, false, false), 2);
    EXPECT_EQ(net.AddBayesNode("low", -0.0001f, false, false), 2);
    EXPECT_EQ(net.AddBayesNode("nan", std::nanf(""), false, false), 2);
    EXPECT_EQ(net.AddBayesNode("", 0.5f, false, false), 2);
    EXPECT_EQ(net.AddLogicalNode("or", CLogicalNode::kOr, false, true), 0);
    EXPECT_EQ(net.AddLogicalNode("bad", 3, false, true), 2);

    ASSERT_EQ(net.nodes.Count(), 3);
    EXPECT_EQ(net.goals.Count(), 2);
    EXPECT_EQ(net.goals.At(0), net.FindNode("one"));
    EXPECT_EQ(net.goals.At(1), net.FindNode("or"));
    CNode *one = net.FindNode("one");
    EXPECT_EQ(one->kind, CNode::kBayesian);
    EXPECT_TRUE(one->askable);
    EXPECT_TRUE(one->enabled);
    EXPECT_STREQ(one->description.Text(), "one");
    EXPECT_EQ(one->prior, 1.0f);
    EXPECT_EQ(net.FindNode("or")->kind, CNode::kLogical);
    EXPECT_EQ(net.FindNode("missing"), nullptr);
    EXPECT_EQ(net.FindNode(""), nullptr);

    EXPECT_EQ(net.SetDescription("one", "Is it one?"), 0);
    EXPECT_STREQ(one->description.Text(), "Is it one?");
    EXPECT_EQ(net.SetDescription("missing", "text"), 2);
}

TEST(CInferenceNetBuilding, AddRuleTestsWeightsNodesAndDuplicates) {
    CInferenceNet net;
    net.AddBayesNode("a", 0.5f, true, false);
    net.AddBayesNode("b", 0.5f, false, true);
    EXPECT_EQ(net.AddRule("a", "b", 1.5f, 0.1f), 2);
    EXPECT_EQ(net.AddRule("a", "b", 0.9f, -0.1f), 2);
    EXPECT_EQ(net.AddRule("a", "b", std::nanf(""), 0.1f), 2);
    EXPECT_EQ(net.AddRule("a", "missing", 0.9f, 0.1f), 2);
    EXPECT_EQ(net.AddRule("missing", "b", 0.9f, 0.1f), 2);
    EXPECT_EQ(net.rules.Count(), 0);

    EXPECT_EQ(net.AddRule("a", "b", 1.0f, 0.0f), 0);
    EXPECT_EQ(net.AddRule("a", "b", 0.9f, 0.1f), 2);  // one rule per pair
    EXPECT_EQ(net.AddRule("b", "a", 0.9f, 0.1f), 0);  // the other direction is another pair
    EXPECT_EQ(net.AddRule("a", "a", 0.9f, 0.1f), 0);  // accepted; the check finds the cycle
    ASSERT_EQ(net.rules.Count(), 3);
    CRule *rule = net.rules.At(0);
    EXPECT_EQ(rule->source, net.FindNode("a"));
    EXPECT_EQ(rule->target, net.FindNode("b"));
    net.Check();
    EXPECT_EQ(net.FindNode("a")->OutRules().At(0), rule);
    EXPECT_EQ(net.FindNode("b")->InRules().At(0), rule);
    EXPECT_FALSE(rule->targetIsLogical);
}

// The nodes' lists are filled when the net is complete, in the order the
// edges were made, and again, whole, after edges were added later.
TEST(CInferenceNetBuilding, NodesListTheirEdgesOnceTheNetIsCheckedOrReset) {
    CInferenceNet net;
    for (const char *name : {"a", "b", "c", "d"}) net.AddBayesNode(name, 0.5f, true, false);
    net.AddBayesNode("goal", 0.5f, false, true);
    net.AddRule("b", "goal", 0.9f, 0.1f);
    net.AddRule("a", "goal", 0.8f, 0.2f);
    net.AddRule("a", "b", 0.7f, 0.3f);
    net.AddPriorityLink("c", "goal");
    CNode *a = net.FindNode("a");
    CNode *goal = net.FindNode("goal");
    EXPECT_EQ(goal->InRules().Count(), 0);  // not before the net is complete
    ASSERT_EQ(net.Check(), 0) << net.checkMessage.Text();
    ASSERT_EQ(goal->InRules().Count(), 2);
    EXPECT_EQ(goal->InRules().At(0), net.rules.At(0));
    EXPECT_EQ(goal->InRules().At(1), net.rules.At(1));
    ASSERT_EQ(a->OutRules().Count(), 2);
    EXPECT_EQ(a->OutRules().At(0), net.rules.At(1));
    EXPECT_EQ(a->OutRules().At(1), net.rules.At(2));
    EXPECT_EQ(goal->InLinks().Count(), 1);
    EXPECT_EQ(net.FindNode("d")->OutRules().Count(), 0);
    net.Check();  // a second check enters nothing twice
    EXPECT_EQ(goal->InRules().Count(), 2);

    // The index of pairs, released by the check, still refuses duplicates.
    EXPECT_EQ(net.AddRule("b", "goal", 0.5f, 0.5f), 2);
    EXPECT_EQ(net.AddContextLink("c", "goal", 0.2f, 0.9f), 2);
    EXPECT_EQ(net.AddRule("d", "goal", 0.6f, 0.4f), 0);
    EXPECT_EQ(net.AddRule("c", "a", 0.6f, 0.4f), 0);
    EXPECT_EQ(net.AddContextLink("d", "goal", 0.2f, 0.9f), 0);
    net.ResetValues(nullptr);
    EXPECT_EQ(net.AddRule("a", "b", 0.5f, 0.5f), 2);
    EXPECT_EQ(net.AddRule("c", "a", 0.5f, 0.5f), 2);
    EXPECT_EQ(net.rules.Count(), 5);
    ASSERT_EQ(goal->InRules().Count(), 3);
    EXPECT_EQ(goal->InRules().At(0), net.rules.At(0));
    EXPECT_EQ(goal->InRules().At(2), net.rules.At(3));
    EXPECT_EQ(net.FindNode("c")->OutRules().At(0), net.rules.At(4));
    // A node with rules in and out keeps them apart in its one block.
    ASSERT_EQ(a->InRules().Count(), 1);
    EXPECT_EQ(a->InRules().At(0), net.rules.At(4));
    ASSERT_EQ(a->OutRules().Count(), 2);
    EXPECT_EQ(a->OutRules().At(1), net.rules.At(2));
    ASSERT_EQ(net.FindNode("d")->OutLinks().Count(), 1);
    EXPECT_EQ(net.FindNode("d")->OutRules().At(0), net.rules.At(3));
    ASSERT_EQ(goal->InLinks().Count(), 2);
    EXPECT_EQ(goal->InLinks().At(1), net.links.At(1));
    std::vector<CRule *> listed(goal->InRules().begin(), goal->InRules().end());
    EXPECT_EQ(listed, (std::vector<CRule *>{net.rules.At(0), net.rules.At(1), net.rules.At(3)}));
}

// Many pairs, so that the index of pairs grows many times over: every pair
// is refused a second time in either kind of edge it has, and a pair in the
// other direction, or with a link instead of a rule, is a pair of its own.
TEST(CInferenceNetBuilding, DuplicatePairsAreFoundAmongThousands) {
    CInferenceNet net;
    constexpr int kNodes = 1500;
    const auto name = [](int i) { return CString(("n" + std::to_string(i)).c_str()); };
    for (int i = 0; i < kNodes; ++i) ASSERT_EQ(net.AddBayesNode(name(i), 0.5f, i < 10, i == 0), 0);
    const auto target = [](int i, int k) { return (i * 7 + 13 * k + 1) % kNodes; };
    for (int i = 0; i < kNodes; ++i)
        for (int k = 0; k < 3; ++k) ASSERT_EQ(net.AddRule(name(i), name(target(i, k)), 0.9f, 0.1f), 0) << i << " " << k;
    for (int i = 0; i < kNodes; i += 3) ASSERT_EQ(net.AddPriorityLink(name(i), name(target(i, 0))), 0);
    ASSERT_EQ(net.rules.Count(), 3 * kNodes);

    int refusedRules = 0;
    int refusedLinks = 0;
    for (int i = 0; i < kNodes; ++i) {
        for (int k = 0; k < 3; ++k) refusedRules += net.AddRule(name(i), name(target(i, k)), 0.5f, 0.5f) == 2;
        if (i % 3 == 0) refusedLinks += net.AddContextLink(name(i), name(target(i, 0)), 0.0f, 1.0f) == 2;
    }
    EXPECT_EQ(refusedRules, 3 * kNodes);
    EXPECT_EQ(refusedLinks, kNodes / 3);
    EXPECT_EQ(net.rules.Count(), 3 * kNodes);
    EXPECT_EQ(net.links.Count(), kNodes / 3);

    // Pairs that have no rule yet are accepted, and then refused in turn.
    const int before = net.rules.Count();
    for (int i = 1; i < kNodes; i += 2) {
        const int from = target(i, 0);
        const bool isNew = net.AddRule(name(from), name(i), 0.9f, 0.1f) == 0;
        EXPECT_EQ(net.AddRule(name(from), name(i), 0.9f, 0.1f), 2);
        if (isNew) {
            EXPECT_EQ(net.rules.At(net.rules.Count() - 1)->target, net.FindNode(name(i)));
        }
    }
    EXPECT_GT(net.rules.Count(), before);
}

TEST(CInferenceNetBuilding, OneLinkOfEitherKindPerPair) {
    CInferenceNet net;
    net.AddBayesNode("a", 0.5f, true, false);
    net.AddBayesNode("b", 0.5f, false, true);
    EXPECT_EQ(net.AddContextLink("a", "b", 0.9f, 0.1f), 0);  // bounds are not range-tested
    EXPECT_EQ(net.AddPriorityLink("a", "b"), 2);
    EXPECT_EQ(net.AddContextLink("a", "b", 0.0f, 1.0f), 2);
    EXPECT_EQ(net.AddPriorityLink("b", "a"), 0);
    EXPECT_EQ(net.AddPriorityLink("a", "missing"), 2);
    EXPECT_EQ(net.AddContextLink("missing", "b", 0.0f, 1.0f), 2);
    ASSERT_EQ(net.links.Count(), 2);
    EXPECT_FALSE(net.links.At(0)->isPriority);
    EXPECT_FLOAT_EQ(static_cast<CContextLink *>(net.links.At(0))->low, 0.9f);
    EXPECT_TRUE(net.links.At(1)->isPriority);
    net.Check();
    EXPECT_EQ(net.FindNode("a")->OutLinks().At(0), net.links.At(0));
    EXPECT_EQ(net.FindNode("a")->InLinks().At(0), net.links.At(1));
    // A rule and a link between the same nodes do not exclude each other.
    EXPECT_EQ(net.AddRule("a", "b", 0.9f, 0.1f), 0);
}

namespace {

std::string CheckOf(CInferenceNet &net) {
    const int32_t code = net.Check();
    EXPECT_EQ(code, net.checkMessage.IsEmpty() ? 0 : 2);
    return net.checkMessage.Text();
}

}  // namespace

TEST(CInferenceNetCheck, CountsComeFirst) {
    CInferenceNet net;
    EXPECT_EQ(CheckOf(net), "no nodes");
    net.AddBayesNode("a", 0.5f, false, false);
    EXPECT_EQ(CheckOf(net), "no goals");  // even without rules
    net.AddBayesNode("g", 0.5f, false, true);
    EXPECT_EQ(CheckOf(net), "no rules");
    net.AddRule("a", "g", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(net), "leaf node \"a\" not askable");
}

namespace {

// e1, e2 -> neg (a not-node with two rules), neg -> g, and two unaskable
// leaves feeding g. `leafFirst` declares the leaves before the not-node.
void BuildNodeProblems(CInferenceNet &net, bool leafFirst) {
    net.AddBayesNode("e1", 0.5f, true, false);
    net.AddBayesNode("e2", 0.5f, true, false);
    if (leafFirst) net.AddBayesNode("leaf1", 0.5f, false, false);
    net.AddLogicalNode("neg", CLogicalNode::kNot, false, false);
    if (!leafFirst) net.AddBayesNode("leaf1", 0.5f, false, false);
    net.AddBayesNode("leaf2", 0.5f, false, false);
    net.AddBayesNode("g", 0.5f, false, true);
    net.AddRule("e1", "neg", 1.0f, 0.0f);
    net.AddRule("e2", "neg", 1.0f, 0.0f);
    net.AddRule("neg", "g", 0.9f, 0.1f);
    net.AddRule("leaf1", "g", 0.9f, 0.1f);
    net.AddRule("leaf2", "g", 0.9f, 0.1f);
}

}  // namespace

TEST(CInferenceNetCheck, NodeTestsReportTheFirstNodeInCreationOrder) {
    CInferenceNet notFirst;
    BuildNodeProblems(notFirst, false);
    EXPECT_EQ(CheckOf(notFirst), "more than one rule to node \"neg\" of logical type 'not'");

    CInferenceNet leafFirst;
    BuildNodeProblems(leafFirst, true);
    EXPECT_EQ(CheckOf(leafFirst), "leaf node \"leaf1\" not askable");

    // A node with no rules at all passes: nothing concludes this goal.
    CInferenceNet lonelyGoal;
    lonelyGoal.AddBayesNode("e", 0.5f, true, false);
    lonelyGoal.AddBayesNode("g", 0.5f, false, true);
    lonelyGoal.AddBayesNode("alone", 0.5f, false, true);
    lonelyGoal.AddRule("e", "g", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(lonelyGoal), "");
}

namespace {

// A chain e -> n1 -> n2 -> g of rules; `extra` adds further edges.
void BuildChain(CInferenceNet &net) {
    net.AddBayesNode("e", 0.5f, true, false);
    net.AddBayesNode("n1", 0.5f, false, false);
    net.AddBayesNode("n2", 0.5f, false, false);
    net.AddBayesNode("g", 0.5f, false, true);
    net.AddRule("e", "n1", 0.9f, 0.1f);
    net.AddRule("n1", "n2", 0.9f, 0.1f);
    net.AddRule("n2", "g", 0.9f, 0.1f);
}

}  // namespace

TEST(CInferenceNetCheck, CyclesInRulesAndInLinksAreTestedSeparately) {
    CInferenceNet acyclic;
    BuildChain(acyclic);
    EXPECT_EQ(CheckOf(acyclic), "");
    EXPECT_EQ(acyclic.Check(), 0);

    CInferenceNet ruleCycle;
    BuildChain(ruleCycle);
    ruleCycle.AddRule("n2", "n1", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(ruleCycle), "cycle detected in rules");

    CInferenceNet selfRule;
    BuildChain(selfRule);
    selfRule.AddRule("g", "g", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(selfRule), "cycle detected in rules");

    CInferenceNet linkCycle;
    BuildChain(linkCycle);
    linkCycle.AddPriorityLink("e", "n2");
    linkCycle.AddContextLink("n2", "n1", 0.0f, 1.0f);
    linkCycle.AddPriorityLink("n1", "e");
    EXPECT_EQ(CheckOf(linkCycle), "cycle detected in priority and context links");

    // Both kinds of cycle: the rules are reported.
    CInferenceNet both;
    BuildChain(both);
    both.AddRule("g", "e", 0.9f, 0.1f);
    both.AddPriorityLink("n1", "n2");
    both.AddPriorityLink("n2", "n1");
    EXPECT_EQ(CheckOf(both), "cycle detected in rules");

    // A cycle made of a rule and a link passes both tests.
    CInferenceNet mixed;
    BuildChain(mixed);
    mixed.AddPriorityLink("g", "e");
    EXPECT_EQ(CheckOf(mixed), "");

    // The message stays until the next check.
    ruleCycle.Check();
    EXPECT_STREQ(ruleCycle.checkMessage.Text(), "cycle detected in rules");
}

TEST(CInferenceNetCheck, TheDetailNamesTheNodesOfTheCycle) {
    CInferenceNet ruleCycle;
    BuildChain(ruleCycle);
    ruleCycle.AddRule("n2", "n1", 0.9f, 0.1f);
    CheckOf(ruleCycle);
    EXPECT_EQ(ruleCycle.checkDetail, "the rules go round: \"n1\" -> \"n2\" -> \"n1\"");

    CInferenceNet selfRule;
    BuildChain(selfRule);
    selfRule.AddRule("g", "g", 0.9f, 0.1f);
    CheckOf(selfRule);
    EXPECT_EQ(selfRule.checkDetail, "the rules go round: \"g\" -> \"g\"");

    CInferenceNet linkCycle;
    BuildChain(linkCycle);
    linkCycle.AddPriorityLink("e", "n2");
    linkCycle.AddContextLink("n2", "n1", 0.0f, 1.0f);
    linkCycle.AddPriorityLink("n1", "e");
    CheckOf(linkCycle);
    EXPECT_EQ(linkCycle.checkDetail, "the links go round: \"e\" -> \"n2\" -> \"n1\" -> \"e\"");

    // A node behind the cycle, declared first, is not part of it.
    CInferenceNet behind;
    behind.AddBayesNode("w", 0.5f, false, true);
    behind.AddBayesNode("y", 0.5f, true, false);
    behind.AddBayesNode("z", 0.5f, true, false);
    behind.AddRule("y", "z", 0.9f, 0.1f);
    behind.AddRule("z", "y", 0.9f, 0.1f);
    behind.AddRule("z", "w", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(behind), "cycle detected in rules");
    EXPECT_EQ(behind.checkDetail, "the rules go round: \"z\" -> \"y\" -> \"z\"");

    // Other problems have no detail, and a check that passes clears it.
    CInferenceNet sound;
    BuildChain(sound);
    EXPECT_EQ(CheckOf(sound), "");
    EXPECT_EQ(sound.checkDetail, "");
    sound.AddRule("g", "e", 0.9f, 0.1f);
    CheckOf(sound);
    EXPECT_NE(sound.checkDetail, "");
    sound.AddBayesNode("lonely", 0.5f, false, false);
    sound.AddRule("lonely", "g", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(sound), "leaf node \"lonely\" not askable");
    EXPECT_EQ(sound.checkDetail, "");
}

TEST(CInferenceNetCheck, ACycleBehindALongAcyclicPartIsFound) {
    // Nodes declared against the direction of the rules, so that a pass over
    // the node list in order removes only one node: the work queue must find
    // the same outcome as the repeated passes.
    constexpr int kLength = 20000;
    CInferenceNet net;
    for (int i = 0; i < kLength; ++i)
        net.AddBayesNode(testing_engine::NumberedName(i).c_str(), 0.5f, i == kLength - 1, i == 0);
    for (int i = kLength - 1; i > 0; --i)
        net.AddRule(testing_engine::NumberedName(i).c_str(), testing_engine::NumberedName(i - 1).c_str(), 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(net), "");
    net.AddBayesNode("x", 0.5f, false, false);
    net.AddBayesNode("y", 0.5f, false, false);
    net.AddRule(testing_engine::NumberedName(0).c_str(), "x", 0.9f, 0.1f);
    net.AddRule("x", "y", 0.9f, 0.1f);
    net.AddRule("y", "x", 0.9f, 0.1f);
    EXPECT_EQ(CheckOf(net), "cycle detected in rules");
}

// A propagation first takes the nodes that were set and queued outside it
// (a taxonomy answer's classmates), then the node on top of the call stack,
// and leaves the queue empty; propagating again reuses its work list.
TEST(CInferenceNet, PropagatesQueuedNodesThenTheStartAndEmptiesTheQueue) {
    CInferenceNet net;
    net.AddBayesNode("classmate", 0.5f, true, false);
    net.AddBayesNode("answered", 0.5f, true, false);
    net.AddLogicalNode("either", CLogicalNode::kOr, false, true);
    net.AddBayesNode("effect", 0.2f, false, true);
    net.AddRule("classmate", "either", 1.0f, 0.0f);
    net.AddRule("answered", "either", 1.0f, 0.0f);
    net.AddRule("answered", "effect", 0.9f, 0.1f);
    for (int round = 0; round < 2; ++round) {
        net.ResetValues(nullptr);
        CNode *classmate = net.FindNode("classmate");
        CNode *answered = net.FindNode("answered");
        classmate->current = 0.9f;
        classmate->asked = true;
        net.propagationQueue.Put(classmate);
        answered->current = 0.0f;
        answered->asked = true;
        net.callStack.Push(answered);  // as AskNode leaves it, with its count
        ++answered->callStackCount;
        EXPECT_EQ(net.Propagate(), 0);
        EXPECT_EQ(answered->callStackCount, 0);
        EXPECT_TRUE(net.propagationQueue.IsEmpty());
        EXPECT_TRUE(net.callStack.IsEmpty());
        EXPECT_FLOAT_EQ(net.FindNode("either")->current, 0.9f);
        EXPECT_TRUE(net.FindNode("either")->finished);
        EXPECT_LT(net.FindNode("effect")->current, 0.2f);
        EXPECT_TRUE(net.FindNode("effect")->finished);
    }
}

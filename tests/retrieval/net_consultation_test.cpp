// A consultation end to end inside the net: goal selection, the descent
// through links and rule sources, asking, and propagation of the answers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/logical_node.h"
#include "net/rule.h"
#include "tests/retrieval/test_retrieval.h"

using testing_engine::Consultation;
using testing_engine::DontKnow;
using testing_engine::Fail;
using testing_engine::Yes;

namespace {

std::string Formatted(float value) { return CString(value).Text(); }

std::vector<std::string> GoalOrder(CInferenceNet &net) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < net.goals.Count(); ++i) names.push_back(net.goals.At(i)->name.Text());
    return names;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(Consultation, TheWorkedExampleThroughAQuestion) {
    Consultation c;
    c.Askable("E", 0.5f);
    c.net.AddBayesNode("H", 0.3f, false, true);
    c.net.AddRule("E", "H", 0.9f, 0.1f);
    c.Answer("E", Yes(0.75f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(Formatted(c.Value("H")), "0.600000");
    EXPECT_EQ(Formatted(c.Value("E")), "0.750000");
    CNode *e = c.net.FindNode("E");
    EXPECT_TRUE(e->asked);
    EXPECT_TRUE(e->finished);
    EXPECT_FLOAT_EQ(e->prior, 0.5f);  // asking does not change the prior
    EXPECT_TRUE(c.net.FindNode("H")->finished);
}

TEST(Consultation, TheMostProbableGoalIsInvestigatedFirstAndToItsEnd) {
    // A (0.6) has two sources, B (0.5) one. The first answer drops A below
    // B, but A is investigated to its end before B is taken up.
    Consultation c;
    c.net.AddBayesNode("A", 0.6f, false, true);
    c.net.AddBayesNode("B", 0.5f, false, true);
    c.Askable("a1", 0.5f);
    c.Askable("a2", 0.5f);
    c.Askable("b1", 0.5f);
    c.net.AddRule("a1", "A", 0.9f, 0.1f);
    c.net.AddRule("a2", "A", 0.6f, 0.4f);
    c.net.AddRule("b1", "B", 0.9f, 0.1f);
    c.Answer("a1", Yes(0.0f));
    c.Answer("a2", Yes(0.5f));
    c.Answer("b1", Yes(1.0f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(c.asker->asked, (Names{"a1", "a2", "b1"}));
    // The final selection leaves the goals sorted by their final values.
    EXPECT_EQ(GoalOrder(c.net), (Names{"B", "A"}));
    EXPECT_GT(c.Value("B"), c.Value("A"));
}

TEST(Consultation, GoalSelectionSkipsFinishedDisabledAndNegativeGoals) {
    Consultation c;
    c.net.AddBayesNode("low", 0.1f, false, true);
    c.net.AddBayesNode("high", 0.9f, false, true);
    c.net.AddBayesNode("middle", 0.5f, false, true);
    c.net.AddLogicalNode("empty", CLogicalNode::kOr, false, true);  // -0.1 without rules
    c.net.ResetValues(&c.table);
    CNode *goal = nullptr;
    EXPECT_EQ(c.net.SelectGoal(goal), 0);
    EXPECT_EQ(goal, c.net.FindNode("high"));
    EXPECT_EQ(GoalOrder(c.net), (Names{"high", "middle", "low", "empty"}));

    c.net.FindNode("high")->finished = true;
    c.net.FindNode("middle")->enabled = false;
    EXPECT_EQ(c.net.SelectGoal(goal), 0);
    EXPECT_EQ(goal, c.net.FindNode("low"));

    // Values change: the next selection sorts again.
    c.net.FindNode("middle")->current = 0.95f;
    c.net.FindNode("middle")->enabled = true;
    EXPECT_EQ(c.net.SelectGoal(goal), 0);
    EXPECT_EQ(goal, c.net.FindNode("middle"));
    EXPECT_EQ(GoalOrder(c.net), (Names{"middle", "high", "low", "empty"}));

    c.net.FindNode("middle")->finished = true;
    c.net.FindNode("low")->finished = true;
    EXPECT_EQ(c.net.SelectGoal(goal), 2);
    EXPECT_EQ(goal, nullptr);

    CInferenceNet noGoals;
    EXPECT_FALSE(noGoals.SortGoals());
    EXPECT_EQ(noGoals.SelectGoal(goal), 2);
}

TEST(Consultation, AskableNodesAreAskedAfterTheirSources) {
    // An askable goal without rules is asked directly; an askable node with
    // rules into it is asked once its sources are finished, and its answer
    // replaces the computed value.
    Consultation c;
    c.Askable("direct", 0.9f, true);
    c.Askable("S", 0.5f);
    c.Askable("M", 0.5f);
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.net.AddRule("S", "M", 0.9f, 0.1f);
    c.net.AddRule("M", "G", 0.9f, 0.1f);
    c.Answer("direct", Yes(0.2f));
    c.Answer("S", Yes(1.0f));
    c.Answer("M", Yes(0.0f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(c.asker->asked, (Names{"direct", "S", "M"}));
    EXPECT_TRUE(c.net.FindNode("direct")->finished);
    EXPECT_FLOAT_EQ(c.Value("direct"), 0.2f);
    EXPECT_FLOAT_EQ(c.Value("M"), 0.0f);
    EXPECT_EQ(Formatted(c.Value("G")), "0.100000");
}

TEST(Consultation, PriorityLinksOrderTheQuestions) {
    Consultation c;
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.Askable("B", 0.5f);
    c.Askable("A", 0.5f);
    c.net.AddRule("B", "G", 0.9f, 0.1f);
    c.net.AddPriorityLink("A", "B");
    c.Answer("A", Yes(0.4f));
    c.Answer("B", Yes(0.6f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(c.asker->asked, (Names{"A", "B"}));
    EXPECT_TRUE(c.net.FindNode("G")->finished);
}

namespace {

// Goal G from B, and a context link C -> B with the interval [0.5, 1];
// C starts at 0.3.
void BuildContext(Consultation &c) {
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.Askable("B", 0.5f);
    c.Askable("C", 0.3f);
    c.net.AddRule("B", "G", 0.9f, 0.1f);
    c.net.AddContextLink("C", "B", 0.5f, 1.0f);
}

}  // namespace

TEST(Consultation, ContextLinksAskTheContextFirstAndMayRuleANodeOut) {
    Consultation outside;
    BuildContext(outside);
    outside.Answer("C", Yes(0.2f));
    EXPECT_EQ(outside.Run(), 0);
    EXPECT_EQ(outside.asker->asked, (Names{"C"}));
    CNode *b = outside.net.FindNode("B");
    EXPECT_TRUE(b->finished);  // out of context
    EXPECT_FALSE(b->asked);
    EXPECT_FLOAT_EQ(b->current, 0.5f);
    EXPECT_TRUE(outside.net.FindNode("G")->finished);
    EXPECT_FLOAT_EQ(outside.Value("G"), 0.5f);

    Consultation inside;
    BuildContext(inside);
    inside.Answer("C", Yes(0.8f));
    inside.Answer("B", Yes(1.0f));
    EXPECT_EQ(inside.Run(), 0);
    EXPECT_EQ(inside.asker->asked, (Names{"C", "B"}));
    EXPECT_EQ(Formatted(inside.Value("G")), "0.900000");
}

namespace {

// A rule A -> B and a priority link B -> A: consistent by the check, which
// tests rules and links apart, but a cycle for the descent.
void BuildMixedCycle(Consultation &c, const char *goal) {
    c.Askable("A", 0.5f, std::string(goal) == "A");
    c.Askable("B", 0.5f, std::string(goal) == "B");
    c.net.AddRule("A", "B", 0.9f, 0.1f);
    c.net.AddPriorityLink("B", "A");
}

}  // namespace

TEST(Consultation, CyclesOfRulesAndLinksStopTheConsultationWithTheirMessage) {
    Consultation goalB;
    BuildMixedCycle(goalB, "B");
    EXPECT_EQ(goalB.net.Check(), 0);
    EXPECT_EQ(goalB.Run(), 2);
    EXPECT_STREQ(goalB.table.context->errorText.Text(), "Cycle detected in link - see node B and its links and rules.");
    EXPECT_TRUE(goalB.asker->asked.empty());

    Consultation goalA;
    BuildMixedCycle(goalA, "A");
    EXPECT_EQ(goalA.Run(), 2);
    EXPECT_STREQ(goalA.table.context->errorText.Text(), "Cycle detected in rule - see node A and its links and rules.");
    // The call stack shows the path to the cycle: A, then B.
    ASSERT_EQ(goalA.net.callStack.Count(), 2);
    EXPECT_EQ(goalA.net.callStack.At(0), goalA.net.FindNode("A"));
    EXPECT_EQ(goalA.net.callStack.At(1), goalA.net.FindNode("B"));

    // Each consultation has its own context: the other's message is not seen,
    // and a run starts without an old one.
    Consultation fine;
    fine.Askable("X", 0.5f, true);
    fine.Answer("X", Yes(1.0f));
    fine.table.context->errorText = "stale";
    EXPECT_EQ(fine.Run(), 0);
    EXPECT_TRUE(fine.table.context->errorText.IsEmpty());
    EXPECT_FALSE(goalA.table.context->errorText.IsEmpty());
}

TEST(Consultation, AGoalThatCannotBeAskedFailsWithoutAText) {
    Consultation c;
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.table.context->errorText = "stale";
    EXPECT_EQ(c.Run(), 2);
    EXPECT_TRUE(c.table.context->errorText.IsEmpty());

    // An askable goal without retrievers in the table fails the same way.
    Consultation unattached;
    unattached.net.AddBayesNode("G", 0.5f, true, true);
    EXPECT_EQ(unattached.Run(), 2);
    EXPECT_FALSE(unattached.net.FindNode("G")->asked);
}

TEST(Consultation, DontKnowGivesThePriorAndStillFinishesTheNode) {
    Consultation c;
    c.Askable("E", 0.4f);
    c.net.AddBayesNode("H", 0.3f, false, true);
    c.net.AddRule("E", "H", 0.9f, 0.1f);
    c.Answer("E", DontKnow());
    EXPECT_EQ(c.Run(), 0);
    CNode *e = c.net.FindNode("E");
    EXPECT_FLOAT_EQ(e->current, 0.4f);
    EXPECT_TRUE(e->asked);
    EXPECT_TRUE(e->finished);
    EXPECT_EQ(Formatted(c.Value("H")), "0.300000");
    EXPECT_TRUE(c.net.FindNode("H")->finished);
}

TEST(Consultation, AFailedFirstQuestionLeavesTheAprioriValues) {
    Consultation c;
    c.Askable("E", 0.4f);
    c.Askable("F", 0.6f);
    c.net.AddLogicalNode("both", CLogicalNode::kAnd, false, false);
    c.net.AddBayesNode("H", 0.3f, false, true);
    c.net.AddRule("E", "both", 1.0f, 0.0f);
    c.net.AddRule("F", "both", 1.0f, 0.0f);
    c.net.AddRule("both", "H", 0.9f, 0.1f);
    c.Answer("E", Fail(7));
    c.Answer("F", Fail(7));
    EXPECT_EQ(c.Run(), 2);  // the retrievers' own codes are not passed on
    ASSERT_EQ(c.asker->asked.size(), 1u);
    for (int32_t i = 0; i < c.net.nodes.Count(); ++i) {
        CNode *node = c.net.nodes.At(i);
        EXPECT_FLOAT_EQ(node->current, node->prior) << node->name.Text();
        EXPECT_FALSE(node->asked);
        EXPECT_FALSE(node->finished);
    }
}

namespace {

struct ObservedCall {
    std::string node;
    std::string goal;
    int32_t depth;
};
std::vector<ObservedCall> observed;

struct Observer : INetObserver {
    void OnInvestigate(CInferenceNet *net, IEvidenceSource *, CNode *node) override {
        observed.push_back({node->name.Text(), net->callStack.At(0)->name.Text(), net->callStack.Count()});
    }
};
Observer observer;

}  // namespace

TEST(Consultation, TheObserverSeesEveryRetrievalWithThePathToIt) {
    Consultation c;
    c.Askable("E", 0.5f);
    c.net.AddLogicalNode("X", CLogicalNode::kOr, false, false);
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.net.AddRule("E", "X", 1.0f, 0.0f);
    c.net.AddRule("X", "G", 0.9f, 0.1f);
    c.Answer("E", Yes(1.0f));
    observed.clear();
    c.net.observer = &observer;
    EXPECT_EQ(c.Run(), 0);
    ASSERT_EQ(observed.size(), 1u);
    EXPECT_EQ(observed[0].node, "E");
    EXPECT_EQ(observed[0].goal, "G");
    EXPECT_EQ(observed[0].depth, 3);  // G, X, E
    EXPECT_FLOAT_EQ(c.Value("X"), 1.0f);
    EXPECT_EQ(Formatted(c.Value("G")), "0.900000");
}

TEST(Consultation, PropagationFinishesTargetsWhoseValueDidNotMove) {
    // E feeds T through a rule that carries nothing (0.5, 0.5): T's value
    // does not move, but T becomes finished and passes that on to G.
    Consultation c;
    c.Askable("E", 0.5f);
    c.net.AddBayesNode("T", 0.5f, false, false);
    c.net.AddBayesNode("G", 0.5f, false, true);
    c.net.AddRule("E", "T", 0.5f, 0.5f);
    c.net.AddRule("T", "G", 0.9f, 0.1f);
    c.Answer("E", Yes(1.0f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_TRUE(c.net.FindNode("T")->finished);
    EXPECT_TRUE(c.net.FindNode("G")->finished);
    EXPECT_FLOAT_EQ(c.Value("T"), 0.5f);
    EXPECT_TRUE(c.net.callStack.Count() == 1 && c.net.callStack.At(0) == c.net.FindNode("G"));
}

TEST(Consultation, ResetReturnsEveryNodeToItsAprioriState) {
    Consultation c;
    c.Askable("E", 0.5f);
    c.net.AddBayesNode("H", 0.3f, false, true);
    c.net.AddRule("E", "H", 0.9f, 0.1f);
    c.Answer("E", Yes(1.0f));
    c.Answer("E", Yes(0.0f));
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(Formatted(c.Value("H")), "0.900000");
    EXPECT_EQ(c.Run(), 0);  // a second consultation asks again from scratch
    EXPECT_EQ(Formatted(c.Value("H")), "0.100000");
    EXPECT_EQ(c.asker->asked, (Names{"E", "E"}));
    EXPECT_EQ(c.net.ResetValues(&c.table), 0);
    EXPECT_EQ(Formatted(c.Value("H")), "0.300000");
    EXPECT_FALSE(c.net.FindNode("E")->asked);
    EXPECT_FALSE(c.net.FindNode("H")->finished);
    EXPECT_FLOAT_EQ(c.net.rules.At(0)->odds, static_cast<float>(static_cast<double>(0.9f) / (1.0 - static_cast<double>(0.9f))));
}

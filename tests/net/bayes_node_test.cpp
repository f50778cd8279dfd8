// Odds-likelihood updating of Bayesian nodes and the scores of their sources.
#include "net/bayes_node.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "net/inference_net.h"
#include "net/rule.h"

namespace {

std::string Formatted(float value) { return CString(value).Text(); }

// H (prior 0.3) with rules from evidence nodes E1, E2 (prior 0.5, weights
// 0.9 and 0.1), as in the worked example of the odds arithmetic.
struct WorkedExample : ::testing::Test {
    void SetUp() override {
        net.AddBayesNode("E1", 0.5f, true, false);
        net.AddBayesNode("E2", 0.5f, true, false);
        net.AddBayesNode("H", 0.3f, false, true);
        net.AddRule("E1", "H", 0.9f, 0.1f);
        net.ResetValues(nullptr);
        h = static_cast<CBayesNode *>(net.FindNode("H"));
        e1 = net.FindNode("E1");
    }
    float HWithE1At(float value) {
        e1->current = value;
        h->Update(e1);
        return h->current;
    }
    CInferenceNet net;
    CBayesNode *h = nullptr;
    CNode *e1 = nullptr;
};

}  // namespace

TEST_F(WorkedExample, OneRuleMovesTheTargetAlongTheInterpolation) {
    EXPECT_EQ(Formatted(h->priorOdds), "0.428571");
    CRule *rule = h->InRules().At(0);

    e1->current = 1.0f;
    EXPECT_EQ(Formatted(h->Interpolate(rule)), "0.900000");
    // Single-precision weights put the intermediate odds a hair below 9
    // and 21; the stored values still come out to the digit.
    EXPECT_NEAR(h->LikelihoodRatio(rule), 21.0f, 0.0001f);
    EXPECT_NEAR(rule->odds, 9.0f, 0.00001f);
    EXPECT_EQ(Formatted(HWithE1At(1.0f)), "0.900000");

    e1->current = 0.0f;
    EXPECT_EQ(Formatted(h->Interpolate(rule)), "0.100000");
    EXPECT_NEAR(h->LikelihoodRatio(rule), 0.259259f, 0.000001f);
    EXPECT_EQ(Formatted(HWithE1At(0.0f)), "0.100000");

    e1->current = 0.75f;
    EXPECT_EQ(Formatted(h->Interpolate(rule)), "0.600000");
    EXPECT_NEAR(h->LikelihoodRatio(rule), 3.5f, 0.00001f);
    EXPECT_EQ(Formatted(HWithE1At(0.75f)), "0.600000");

    // A source back at its prior: ratio 1 and the target at its prior.
    EXPECT_EQ(Formatted(HWithE1At(0.5f)), "0.300000");
    EXPECT_NEAR(h->LikelihoodRatio(rule), 1.0f, 0.000001f);
}

TEST_F(WorkedExample, TwoCertainSourcesMultiplyTheirRatios) {
    net.AddRule("E2", "H", 0.9f, 0.1f);
    net.ResetValues(nullptr);
    e1->current = 1.0f;
    net.FindNode("E2")->current = 1.0f;
    EXPECT_TRUE(h->Update(e1));
    EXPECT_NEAR(h->currentOdds, 189.0f, 0.001f);
    EXPECT_EQ(Formatted(h->current), "0.994737");
}

TEST_F(WorkedExample, UpdateReportsOnlyMovesAboveTheChangeThreshold) {
    EXPECT_FALSE(h->Update(e1));  // nothing moved
    e1->current = 0.5005f;        // moves H by about 0.0006
    EXPECT_FALSE(h->Update(e1));
    EXPECT_NE(h->current, 0.3f);  // the value itself is still recomputed
    e1->current = 0.51f;
    EXPECT_TRUE(h->Update(e1));
}

TEST_F(WorkedExample, ScoreOfASourceAtItsPrior) {
    CRule *rule = h->InRules().At(0);
    EXPECT_EQ(Formatted(e1->Score(rule)), "2.197224");
    // The score reads whatever the rule's odds slot holds: the odds of pYes
    // after a reset, the odds implied by the last update after one.
    e1->current = 0.75f;
    EXPECT_NEAR(e1->Score(rule), 0.25 * std::log(81.0), 1e-5);
    h->Update(e1);
    EXPECT_EQ(Formatted(rule->odds), "1.500000");
    EXPECT_NEAR(e1->Score(rule), 0.75 * std::log(6.0) + 0.25 * std::log(13.5), 1e-5);
}

TEST(CBayesNode, PriorsAtTheEdgesGiveCappedOdds) {
    CInferenceNet net;
    net.AddBayesNode("sure", 1.0f, true, false);
    net.AddBayesNode("never", 0.0f, false, true);
    net.AddRule("sure", "never", 0.8f, 0.2f);
    net.ResetValues(nullptr);
    auto *sure = static_cast<CBayesNode *>(net.FindNode("sure"));
    auto *never = static_cast<CBayesNode *>(net.FindNode("never"));
    EXPECT_EQ(sure->priorOdds, 99999.0f);
    EXPECT_EQ(sure->current, 1.0f);
    EXPECT_EQ(never->priorOdds, 0.0f);

    // With prior odds 0, any rule whose implied odds exceed the tolerance
    // yields the ceiling as its ratio.
    sure->current = 0.0f;  // below the source's prior: interpolates to pNo
    EXPECT_EQ(never->LikelihoodRatio(never->InRules().At(0)), 99999.0f);
}

TEST(CBayesNode, RuleWithoutWeightsDrivesTargetToTheEnds) {
    CInferenceNet net;
    net.AddBayesNode("E", 0.5f, true, false);
    net.AddBayesNode("H", 0.4f, false, true);
    net.AddRule("E", "H", 1.0f, 0.0f);
    net.ResetValues(nullptr);
    auto *h = static_cast<CBayesNode *>(net.FindNode("H"));
    CNode *e = net.FindNode("E");
    CRule *rule = h->InRules().At(0);
    EXPECT_EQ(rule->odds, 99999.0f);  // odds of pYes 1 after a reset

    e->current = 0.0f;
    EXPECT_EQ(h->Interpolate(rule), 0.0f);
    EXPECT_EQ(h->LikelihoodRatio(rule), 0.00001f);
    EXPECT_EQ(rule->odds, 0.0f);
    h->Update(e);
    EXPECT_LT(h->current, 0.00001f);

    e->current = 1.0f;
    h->Update(e);
    EXPECT_EQ(h->currentOdds, 99999.0f);
    EXPECT_EQ(Formatted(h->current), "0.999990");
}

TEST(CBayesNode, SourceWithNoRoomOnItsSideLeavesTargetAtItsPrior) {
    // A source with prior 1 that stays at 1, or one with prior 0 that sits
    // below it, has told nothing: the target keeps its prior.
    CInferenceNet net;
    net.AddBayesNode("certain", 1.0f, true, false);
    net.AddBayesNode("impossible", 0.0f, true, false);
    net.AddBayesNode("H", 0.3f, false, true);
    net.AddRule("certain", "H", 0.9f, 0.1f);
    net.AddRule("impossible", "H", 0.9f, 0.1f);
    net.ResetValues(nullptr);
    auto *h = static_cast<CBayesNode *>(net.FindNode("H"));
    net.FindNode("impossible")->current = -0.000001f;  // just below its prior of 0
    EXPECT_EQ(h->Interpolate(h->InRules().At(0)), 0.3f);
    EXPECT_EQ(h->Interpolate(h->InRules().At(1)), 0.3f);
    EXPECT_FALSE(h->Update(net.FindNode("certain")));
    EXPECT_EQ(Formatted(h->current), "0.300000");

    // The same source once it moves away from its prior does count.
    net.FindNode("certain")->current = 0.0f;
    EXPECT_EQ(Formatted(h->Interpolate(h->InRules().At(0))), "0.100000");
}

TEST(CBayesNode, CapOfTheProductIsNotSticky) {
    // Rule 1 gives a ratio at the ceiling, rule 2 a small one: the product
    // is held at the ceiling by rule 1, then multiplied by rule 2's ratio.
    CInferenceNet net;
    net.AddBayesNode("A", 0.5f, true, false);
    net.AddBayesNode("B", 0.5f, true, false);
    net.AddBayesNode("H", 0.5f, false, true);
    net.AddRule("A", "H", 1.0f, 0.0f);
    net.AddRule("B", "H", 0.9f, 0.1f);
    net.ResetValues(nullptr);
    auto *h = static_cast<CBayesNode *>(net.FindNode("H"));
    net.FindNode("A")->current = 1.0f;
    net.FindNode("B")->current = 0.0f;
    h->Update(nullptr);
    // 99999 x (0.1/0.9 odds over prior odds 1) = 11111
    EXPECT_NEAR(h->currentOdds, 99999.0 * (0.1 / 0.9), 1.0);
    EXPECT_LT(h->currentOdds, 99999.0f);

    // Two ratios at the ceiling hold the odds there.
    net.AddBayesNode("C", 0.5f, true, false);
    net.AddRule("C", "H", 1.0f, 0.0f);
    net.ResetValues(nullptr);
    net.FindNode("A")->current = 1.0f;
    net.FindNode("C")->current = 1.0f;
    h->Update(nullptr);
    EXPECT_EQ(h->currentOdds, 99999.0f);
}

TEST(CBayesNode, ANodeWithoutRulesKeepsItsPrior) {
    CInferenceNet net;
    net.AddBayesNode("lonely", 0.25f, false, true);
    net.AddBayesNode("sure", 1.0f, false, true);
    net.ResetValues(nullptr);
    CNode *lonely = net.FindNode("lonely");
    CNode *sure = net.FindNode("sure");
    EXPECT_FALSE(lonely->Update(nullptr));
    EXPECT_EQ(Formatted(lonely->current), "0.250000");
    sure->Update(nullptr);
    EXPECT_EQ(sure->current, static_cast<float>(99999.0 / 100000.0));
}

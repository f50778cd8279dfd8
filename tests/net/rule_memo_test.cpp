// The rules' memos of likelihood ratios and scores: they answer only for the
// very same inputs, and what they answer is what computing again gives.
#include "net/rule_memo.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "net/bayes_node.h"
#include "net/inference_net.h"
#include "net/rule.h"

namespace {

uint32_t Bits(float value) { return std::bit_cast<uint32_t>(value); }

// E (prior 0.4) -> H (prior 0.3), with a second source F that stays put;
// built, not reset.
void BuildEFH(CInferenceNet &net) {
    net.AddBayesNode("E", 0.4f, true, false);
    net.AddBayesNode("F", 0.6f, true, false);
    net.AddBayesNode("H", 0.3f, false, true);
    net.AddRule("E", "H", 0.8f, 0.15f);
    net.AddRule("F", "H", 0.35f, 0.2f);
}

struct Twin {
    Twin() {
        BuildEFH(net);
        net.ResetValues(nullptr);
        e = net.FindNode("E");
        h = static_cast<CBayesNode *>(net.FindNode("H"));
    }
    CInferenceNet net;
    CNode *e = nullptr;
    CBayesNode *h = nullptr;
};

}  // namespace

TEST(CRuleMemo, RecallsOnlyTheSameBitsAndForgets) {
    CRuleMemo<2, 1> memo;
    CRuleMemo<2, 1>::OutputValues out{};
    EXPECT_FALSE(memo.Recall({0.5f, 0.0f}, out));  // nothing remembered yet
    memo.Remember({0.5f, 0.0f}, {7.0f});
    ASSERT_TRUE(memo.Recall({0.5f, 0.0f}, out));
    EXPECT_EQ(out[0], 7.0f);
    // Equal as numbers is not enough: -0 may compute otherwise than 0.
    EXPECT_FALSE(memo.Recall({0.5f, -0.0f}, out));
    EXPECT_FALSE(memo.Recall({std::nextafter(0.5f, 1.0f), 0.0f}, out));
    // The same bits are recalled even where == would say no.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    memo.Remember({nan, 1.0f}, {3.0f});
    EXPECT_TRUE(memo.Recall({nan, 1.0f}, out));
    memo.Forget();
    EXPECT_FALSE(memo.Recall({nan, 1.0f}, out));
}

// Two nets go through the same changes; one forgets its memos before every
// step and so computes everything. Every value must agree to the bit, also
// when a value goes back to an earlier one and when priors are put back as
// an explanation's restore does.
TEST(CRuleMemo, UpdatesAndScoresAreThoseOfComputingAgain) {
    Twin remembering;
    Twin computing;
    const auto step = [&](auto change) {
        change(remembering);
        change(computing);
        // Without memos a rule computes every time.
        for (CRule *rule : computing.net.rules) rule->memos = CRuleMemos::None();
        EXPECT_EQ(remembering.h->Update(remembering.e), computing.h->Update(computing.e));
        EXPECT_EQ(Bits(remembering.h->current), Bits(computing.h->current));
        EXPECT_EQ(Bits(remembering.h->currentOdds), Bits(computing.h->currentOdds));
        for (int32_t i = 0; i < remembering.net.rules.Count(); ++i) {
            CRule *kept = remembering.net.rules.At(i);
            CRule *fresh = computing.net.rules.At(i);
            EXPECT_EQ(Bits(kept->odds), Bits(fresh->odds));
            EXPECT_EQ(Bits(kept->source->Score(kept)), Bits(fresh->source->Score(fresh)));
        }
    };
    for (float value : {0.9f, 0.1f, 0.9f, 0.4f, 0.0f, 1.0f, 0.9f})
        step([value](Twin &twin) { twin.e->current = value; });
    // A source whose prior moves (a restored state) with its value unchanged.
    step([](Twin &twin) { twin.e->prior = 0.7f; });
    step([](Twin &twin) { twin.e->prior = 0.4f; });
    // The target's prior and prior odds put back to other values.
    step([](Twin &twin) {
        twin.h->prior = 0.5f;
        twin.h->priorOdds = 1.0f;
    });
    step([](Twin &twin) { twin.h->priorOdds = 0.75f; });
    // A reset starts from the odds of pYes again.
    step([](Twin &twin) { twin.net.ResetValues(nullptr); });
}

// Memos belong to consulting: a built net holds none, and its first reset
// gives every rule memos of its own, which later resets keep and empty.
TEST(CRuleMemo, RulesGetTheirMemosAtTheFirstReset) {
    CInferenceNet net;
    BuildEFH(net);
    net.Check();
    for (CRule *rule : net.rules) EXPECT_EQ(rule->memos, CRuleMemos::None());
    // A net that was checked but never reset still propagates, computing
    // every ratio.
    CNode *e = net.FindNode("E");
    auto *h = static_cast<CBayesNode *>(net.FindNode("H"));
    for (CRule *rule : net.rules) rule->InitOdds();
    for (CNode *node : net.nodes) node->Init();
    e->current = 0.9f;
    EXPECT_TRUE(h->Update(e));
    const float unmemoized = h->current;

    net.ResetValues(nullptr);
    CRule *first = net.rules.At(0);
    CRule *second = net.rules.At(1);
    ASSERT_NE(first->memos, CRuleMemos::None());
    ASSERT_NE(second->memos, CRuleMemos::None());
    EXPECT_NE(first->memos, second->memos);
    e->current = 0.9f;
    EXPECT_TRUE(h->Update(e));
    EXPECT_EQ(Bits(h->current), Bits(unmemoized));
    CRuleMemo<4, 2>::OutputValues recalled{};
    EXPECT_TRUE(first->memos->ratio.Recall({e->prior, e->current, h->prior, h->priorOdds}, recalled));

    CRuleMemos *kept = first->memos;
    net.ResetValues(nullptr);
    EXPECT_EQ(first->memos, kept);
    EXPECT_FALSE(first->memos->ratio.Recall({e->prior, 0.9f, h->prior, h->priorOdds}, recalled));
}

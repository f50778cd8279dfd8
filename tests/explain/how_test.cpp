#include "explain/how.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "explain/explanation_text.h"
#include "explain/weight_of_evidence.h"
#include "net/bayes_node.h"
#include "net/logical_node.h"
#include "net/net_constants.h"
#include "net/rule.h"
#include "tests/consult/consultation_run.h"
#include "tests/explain/net_snapshot.h"
#include "tests/explain/scripted_evidence.h"

using namespace quorvin::explain;
using explain_test::ConsultWith;
using explain_test::NetSnapshot;
using explain_test::ScriptedEvidence;

namespace {

// A probability that is often an edge: 0, 1, within the tolerance of either,
// or anything between, so that odds of zero, odds at the ceiling and ratios
// at the floor all occur.
float EdgyProbability(std::mt19937 &random) {
    static const float edges[] = {0.0f, 1.0f, 0.000001f, 0.999999f, 0.5f};
    if (std::uniform_int_distribution<int>(0, 3)(random) == 0)
        return edges[std::uniform_int_distribution<int>(0, 4)(random)];
    return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
}

// A random acyclic net: node i takes rules only from nodes before it; the
// nodes without rules into them are askable, some others too; the last
// nodes are the goals. About one node in five is logical.
void BuildRandomNet(CInferenceNet &net, std::mt19937 &random) {
    const int count = std::uniform_int_distribution<int>(3, 14)(random);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < count; ++i) {
        const CString name(("n" + std::to_string(i)).c_str());
        const bool goal = i >= count - 2;
        const bool logical = i > 0 && percent(random) < 20;
        if (logical)
            net.AddLogicalNode(name, static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 2)(random)), false, goal);
        else
            net.AddBayesNode(name, EdgyProbability(random), false, goal);
        CNode *node = net.nodes.At(i);
        const bool isNot = logical && static_cast<CLogicalNode *>(node)->logicalType == CLogicalNode::kNot;
        const int wanted = i == 0 ? 0 : std::uniform_int_distribution<int>(isNot ? 1 : 0, isNot ? 1 : 4)(random);
        for (int r = 0; r < wanted; ++r) {
            const int source = std::uniform_int_distribution<int>(0, i - 1)(random);
            net.AddRule(net.nodes.At(source)->name, name, EdgyProbability(random), EdgyProbability(random));
        }
        node->askable = node->InRules().Count() == 0 || percent(random) < 25;
    }
}

float RandomAnswer(std::mt19937 &random, const CNode &node) {
    switch (std::uniform_int_distribution<int>(0, 4)(random)) {
        case 0: return 0.0f;
        case 1: return 1.0f;
        case 2: return node.prior;  // don't know
        default: return std::uniform_real_distribution<float>(0.0f, 1.0f)(random);
    }
}

struct Tally {
    int updatedNodes = 0;
    int cappedRules = 0;
    int ceilingNodes = 0;
    int logicalNodes = 0;
};

// What every account must satisfy, whatever the net.
void CheckAccount(const CNode &node, Tally &tally) {
    const How how = ExplainHow(node, nullptr);
    ASSERT_EQ(how.node, &node);
    EXPECT_EQ(how.prior, node.prior);
    EXPECT_EQ(how.current, node.current);
    if (node.kind == CNode::kLogical) {
        const LogicalAccount &logical = how.logical;
        ++tally.logicalNodes;
        ASSERT_EQ(logical.others.size() + (logical.deciding != nullptr), static_cast<size_t>(node.InRules().Count()));
        for (const CNode *other : logical.others) {
            if (logical.logicalType == CLogicalNode::kAnd) {
                EXPECT_LE(logical.deciding->current, other->current);
            } else if (logical.logicalType == CLogicalNode::kOr) {
                EXPECT_GE(logical.deciding->current, other->current);
            }
        }
        return;
    }
    const auto &bayes = static_cast<const CBayesNode &>(node);
    const BayesAccount &account = how.bayes;
    ASSERT_EQ(account.rules.size(), static_cast<size_t>(node.InRules().Count()));
    double weights = 0.0;
    for (size_t i = 0; i < account.rules.size(); ++i) {
        const RuleEvidence &rule = account.rules[i];
        weights += rule.weight;
        if (i > 0) {
            EXPECT_GE(std::fabs(account.rules[i - 1].weight), std::fabs(rule.weight)) << node.name.Text();
        }
        if (rule.capped) {
            ++tally.cappedRules;
        } else {
            EXPECT_NEAR(rule.applied, rule.ratio, 1e-9 * rule.ratio);
        }
    }
    if (!account.updated) {
        EXPECT_EQ(bayes.currentOdds, bayes.priorOdds);
        EXPECT_EQ(weights, 0.0);
        return;
    }
    ++tally.updatedNodes;
    if (account.ceilingReached) {
        ++tally.ceilingNodes;
        EXPECT_EQ(bayes.currentOdds, static_cast<float>(quorvin::kOddsCeiling));
        return;
    }
    if (bayes.priorOdds == 0.0f) {
        EXPECT_EQ(bayes.currentOdds, 0.0f);
        return;
    }
    // The prior's log-odds plus the weights are the current log-odds, up to
    // the rounding of the stored odds to a float.
    EXPECT_NEAR(std::log(static_cast<double>(bayes.priorOdds)) + weights, std::log(static_cast<double>(bayes.currentOdds)),
                1e-5)
        << node.name.Text();
}

}  // namespace

TEST(How, WeightsAddUpToTheLogOddsOnRandomNets) {
    std::mt19937 random(20261209);
    Tally tally;
    for (int trial = 0; trial < 400; ++trial) {
        CInferenceNet net;
        BuildRandomNet(net, random);
        ScriptedEvidence evidence([&random](const CNode &node) { return RandomAnswer(random, node); });
        const auto checkAll = [&tally](CInferenceNet &consulted) {
            const NetSnapshot before(consulted);
            for (int32_t i = 0; i < consulted.nodes.Count(); ++i) CheckAccount(*consulted.nodes.At(i), tally);
            EXPECT_TRUE(NetSnapshot(consulted) == before) << "explaining changed the net";
        };
        ConsultWith(net, evidence, [&checkAll](CInferenceNet &consulted, CNode &) { checkAll(consulted); });
        checkAll(net);
        if (HasFatalFailure()) return;
    }
    // The nets must have reached the cases that the account treats apart.
    EXPECT_GT(tally.updatedNodes, 500);
    EXPECT_GT(tally.cappedRules, 10);
    EXPECT_GT(tally.ceilingNodes, 10);
    EXPECT_GT(tally.logicalNodes, 100);
}

TEST(How, AccountsOfOneSmallNet) {
    CInferenceNet net;
    ASSERT_EQ(net.AddBayesNode("a", 0.5f, true, false), 0);
    ASSERT_EQ(net.AddBayesNode("b", 0.5f, true, false), 0);
    ASSERT_EQ(net.AddBayesNode("h", 0.2f, false, true), 0);
    ASSERT_EQ(net.AddLogicalNode("both", CLogicalNode::kAnd, false, true), 0);
    ASSERT_EQ(net.AddRule("a", "h", 0.9f, 0.1f), 0);
    ASSERT_EQ(net.AddRule("b", "h", 0.4f, 0.2f), 0);
    ASSERT_EQ(net.AddRule("a", "both", 1.0f, 0.0f), 0);
    ASSERT_EQ(net.AddRule("b", "both", 1.0f, 0.0f), 0);
    net.ResetValues(nullptr);

    // Before any evidence the node has its prior and no rule has a weight,
    // though the odds slots hold the odds of P(H|E).
    How how = ExplainHow(*net.FindNode("h"), nullptr);
    EXPECT_FALSE(how.bayes.updated);
    for (const RuleEvidence &rule : how.bayes.rules) EXPECT_EQ(rule.weight, 0.0);
    EXPECT_NE(HowText(how).find("it has its prior"), std::string::npos);

    ScriptedEvidence evidence([](const CNode &node) { return std::string(node.name.Text()) == "a" ? 1.0f : 0.3f; });
    ASSERT_EQ(ConsultWith(net, evidence, [](CInferenceNet &, CNode &) {}), 0);

    // a is surely true: odds 9 for P(H|E) 0.9 against prior odds 0.25, a
    // ratio of 36. b at 0.3, below its prior, interpolates between its
    // P(H|not E) 0.2 and h's prior 0.2: a ratio of 1. The stronger rule
    // comes first.
    how = ExplainHow(*net.FindNode("h"), nullptr);
    ASSERT_TRUE(how.bayes.updated);
    ASSERT_EQ(how.bayes.rules.size(), 2u);
    EXPECT_EQ(how.bayes.rules[0].source, net.FindNode("a"));
    EXPECT_NEAR(how.bayes.rules[0].ratio, 36.0, 1e-4);
    EXPECT_NEAR(how.bayes.rules[1].ratio, 1.0, 1e-6);
    EXPECT_NEAR(Decibans(how.bayes.rules[0].weight), 15.563, 1e-3);
    const std::string text = HowText(how);
    EXPECT_NE(text.find("How h got its value:"), std::string::npos) << text;
    EXPECT_NE(text.find("  +15.6 dB from a (prior 0.500000, current 1.000000; P(H|E) 0.900000, P(H|not E) 0.100000)"),
              std::string::npos)
        << text;

    // The and-node took b's value, the smaller.
    how = ExplainHow(*net.FindNode("both"), nullptr);
    EXPECT_FALSE(how.bayesian);
    EXPECT_EQ(how.logical.deciding, net.FindNode("b"));
    ASSERT_EQ(how.logical.others.size(), 1u);
    EXPECT_EQ(how.logical.others[0], net.FindNode("a"));
    EXPECT_NE(HowText(how).find("  decided by b (current 0.300000)"), std::string::npos) << HowText(how);

    // An answered node without a run-time table says only that it was.
    how = ExplainHow(*net.FindNode("a"), nullptr);
    EXPECT_TRUE(how.answer.asked);
    EXPECT_FALSE(how.answer.kept);
}

TEST(How, AnAnsweredNodeShowsTheAnswerItsRetrieverAndTranslation) {
    Consultation run(
        "nodes {\n"
        "  a { 'question a' (bayesian, 0.5) retriever (winprob) }\n"
        "  c { 'question c' (bayesian, 0.5) retriever (wincf) }\n"
        "  h { (bayesian, 0.3, goal) }\n"
        "}\n"
        "rules { { a, h, 0.9, 0.1 } { c, h, 0.8, 0.3 } }\n");
    ASSERT_EQ(run.built, 0) << run.buildLines.back();
    run.Answer({Typed("0.75"), Typed("-5")});
    run.driver->RunConsultation();
    CTable *table = run.driver->Control().Table();

    How how = ExplainHow(*run.Net().FindNode("a"), table);
    ASSERT_TRUE(how.answer.kept);
    EXPECT_EQ(how.answer.given, "0.750000");
    EXPECT_EQ(how.answer.retriever, "winprob");
    EXPECT_EQ(how.answer.translator, "prob");
    EXPECT_EQ(how.answer.translation, 0);
    EXPECT_EQ(how.answer.translated, 0.75f);
    EXPECT_EQ(how.current, 0.75f);
    EXPECT_NE(HowText(how).find("  answered \"0.750000\" through winprob\n  prob made it 0.750000\n"), std::string::npos)
        << HowText(how);

    how = ExplainHow(*run.Net().FindNode("c"), table);
    ASSERT_TRUE(how.answer.kept);
    EXPECT_EQ(how.answer.retriever, "wincf");
    EXPECT_EQ(how.answer.translator, "cf");
    EXPECT_EQ(how.answer.translated, 0.0f);

    // The goal was not answered; its rules moved it.
    how = ExplainHow(*run.Net().FindNode("h"), table);
    EXPECT_FALSE(how.answer.asked);
    EXPECT_TRUE(how.bayes.updated);
}

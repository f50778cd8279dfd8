#include "explain/why.h"

#include <gtest/gtest.h>

#include <string>

#include "explain/explanation_text.h"
#include "net/link.h"
#include "tests/explain/knowledge_bases.h"
#include "tests/explain/net_snapshot.h"
#include "tests/explain/scripted_evidence.h"
#include "tests/consult/consultation_run.h"

using namespace quorvin::explain;
using explain_test::ConsultWith;
using explain_test::NetSnapshot;
using explain_test::AnswerByName;
using explain_test::ScriptedEvidence;

namespace {

struct Tally {
    int questions = 0;
    int linkSteps = 0;
    int contextSteps = 0;
    int choicesAmongSeveral = 0;
};

// The account at one question must be the call stack, with the net's choice
// at every node of it, and must leave the net as it was.
void CheckWhy(CInferenceNet &net, CNode &asked, Tally &tally) {
    const NetSnapshot before(net);
    const Why why = ExplainWhy(net);
    ++tally.questions;
    ASSERT_EQ(why.steps.size(), static_cast<size_t>(net.callStack.Count()));
    EXPECT_EQ(why.goal, net.callStack.At(0));
    EXPECT_EQ(why.asked, &asked);
    for (size_t i = 0; i < why.steps.size(); ++i) {
        const WhyStep &step = why.steps[i];
        EXPECT_EQ(step.node, net.callStack.At(static_cast<int32_t>(i)));
        if (i + 1 == why.steps.size()) {
            // Nothing is left to descend to from the asked node.
            EXPECT_EQ(step.next, nullptr);
            EXPECT_EQ(step.chosen, nullptr) << step.node->name.Text();
            EXPECT_EQ(step.link, nullptr);
            continue;
        }
        EXPECT_EQ(step.next, net.callStack.At(static_cast<int32_t>(i + 1)));
        EXPECT_EQ(step.chosen, step.next) << "at " << step.node->name.Text();
        if (step.link != nullptr) {
            ++tally.linkSteps;
            if (!step.link->isPriority) ++tally.contextSteps;
            EXPECT_EQ(step.link->target, step.node);
        } else {
            // Without a link the chosen source has the highest score, and the
            // earliest of equal scores.
            float best = -1.0f;
            const CNode *first = nullptr;
            for (const Candidate &candidate : step.candidates) {
                EXPECT_FALSE(candidate.source->finished);
                if (first == nullptr || candidate.score > best) {
                    best = candidate.score;
                    first = candidate.source;
                }
            }
            EXPECT_EQ(first, step.chosen);
            if (step.candidates.size() > 1) ++tally.choicesAmongSeveral;
        }
    }
    const std::string text = WhyText(why);
    EXPECT_EQ(text.rfind("Why " + std::string(asked.name.Text()) + " is asked:\n", 0), 0u) << text;
    EXPECT_TRUE(NetSnapshot(net) == before) << "explaining changed the net";
}

// Consults the knowledge base twice, once with the account at every
// question; both must end in the same state.
void ConsultAndExplain(const std::string &name, const std::string &text, Tally &tally) {
    SCOPED_TRACE(name);
    // Built as the program builds, in a directory of their own where the
    // help pages go; consulted with the scripted evidence.
    Consultation explained(text);
    Consultation plain(text);
    ASSERT_EQ(explained.built, 0) << explained.buildLines.back();
    ScriptedEvidence evidence(AnswerByName);
    const int32_t code = ConsultWith(explained.Net(), evidence, [&tally](CInferenceNet &net, CNode &asked) {
        CheckWhy(net, asked, tally);
    });
    ScriptedEvidence sameEvidence(AnswerByName);
    EXPECT_EQ(ConsultWith(plain.Net(), sameEvidence, [](CInferenceNet &, CNode &) {}), code);
    EXPECT_EQ(evidence.questions, sameEvidence.questions);
    // The nodes are the same objects by position, not by address.
    NetSnapshot left(explained.Net());
    NetSnapshot right(plain.Net());
    EXPECT_EQ(left.words, right.words);
    // The last goal's investigation leaves that goal on the call stack.
    const Why last = ExplainWhy(explained.Net());
    ASSERT_EQ(last.steps.size(), static_cast<size_t>(explained.Net().callStack.Count()));
    if (!last.steps.empty()) {
        EXPECT_EQ(last.goal, last.asked);
    }
}

}  // namespace

TEST(Why, IsTheCallStackAndTheNetsChoiceOnRealKnowledgeBases) {
    Tally tally;
    for (const auto &[name, text] : explain_test::KnowledgeBaseTexts()) ConsultAndExplain(name, text, tally);
    EXPECT_GT(tally.questions, 30);
    EXPECT_GT(tally.linkSteps, 3);
    EXPECT_GT(tally.contextSteps, 0);
    EXPECT_GT(tally.choicesAmongSeveral, 5);
}

TEST(Why, TextNamesTheLinksAndScores) {
    // h is investigated through g, which waits for p (priority) and needs c
    // within [0, 0.5] (context); c is asked first, then p, then a or b.
    Consultation kb(
        "nodes {\n"
        "  a { (bayesian, 0.5) retriever (winprob) }\n"
        "  b { (bayesian, 0.5) retriever (winprob) }\n"
        "  c { (bayesian, 0.9) retriever (winprob) }\n"
        "  p { (bayesian, 0.5) retriever (winprob) }\n"
        "  g { (bayesian, 0.4) }\n"
        "  h { (bayesian, 0.3, goal) }\n"
        "}\n"
        "rules { { a, g, 0.9, 0.1 } { b, g, 0.6, 0.3 } { g, h, 0.8, 0.2 } }\n"
        "links { { p, g } { c, g, 0, 0.5 } }\n");
    ASSERT_EQ(kb.built, 0) << kb.buildLines.back();
    std::vector<std::string> texts;
    ScriptedEvidence evidence([](const CNode &node) { return node.name.Text()[0] == 'c' ? 0.2f : 1.0f; });
    ConsultWith(kb.Net(), evidence, [&texts](CInferenceNet &net, CNode &) { texts.push_back(WhyText(ExplainWhy(net))); });
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0],
              "Why c is asked:\n"
              "  goal h (current 0.300000)\n"
              "  h: its sources score\n"
              "    g 2.069018 (investigated)\n"
              "  g needs c within [0.000000, 0.500000] (context link)\n");
    EXPECT_EQ(texts[1].substr(0, texts[1].find("  g waits")), "Why p is asked:\n  goal h (current 0.300000)\n  h: its sources score\n    g 2.069018 (investigated)\n");
    EXPECT_NE(texts[1].find("  g waits for p (priority link)\n"), std::string::npos) << texts[1];
    // a and b score by how far their answers could move g's odds.
    EXPECT_EQ(texts[2],
              "Why a is asked:\n"
              "  goal h (current 0.300000)\n"
              "  h: its sources score\n"
              "    g 2.069018 (investigated)\n"
              "  g: its sources score\n"
              "    a 2.197224 (investigated)\n"
              "    b 0.626382\n");
}

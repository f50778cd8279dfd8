#include "explain/next_questions.h"

#include <gtest/gtest.h>

#include <string>

#include "explain/explanation_text.h"
#include "explain/net_state.h"
#include "tests/consult/consultation_run.h"
#include "tests/explain/knowledge_bases.h"
#include "tests/explain/net_snapshot.h"
#include "tests/explain/scripted_evidence.h"

using namespace quorvin::explain;
using explain_test::AnswerByName;
using explain_test::ConsultWith;
using explain_test::NetSnapshot;
using explain_test::ScriptedEvidence;

namespace {

// What a question predicted for its goal, checked once the answer has
// propagated: at the next question, or at the end.
struct Prediction {
    const CNode *goal = nullptr;
    float value = 0.0f;
};

struct Tally {
    int questions = 0;
    int candidates = 0;
    int predictions = 0;
    int moved = 0;  // what-ifs whose two answers part the goal's value
};

void CheckPrediction(Prediction &pending, Tally &tally) {
    if (pending.goal == nullptr) return;
    EXPECT_EQ(pending.goal->current, pending.value) << "what-if of " << pending.goal->name.Text();
    ++tally.predictions;
    pending.goal = nullptr;
}

// At every question: the next questions with their what-ifs, and a what-if
// of the answer about to be given; none of it may leave a trace.
void AtQuestion(CInferenceNet &net, CNode &asked, Prediction &pending, Tally &tally) {
    CheckPrediction(pending, tally);
    const NetSnapshot before(net);
    const std::vector<NextQuestion> next = NextQuestions(net);
    ++tally.questions;
    tally.candidates += static_cast<int>(next.size());
    bool askedIsListed = false;
    for (size_t i = 0; i < next.size(); ++i) {
        askedIsListed |= next[i].node == &asked;
        EXPECT_TRUE(next[i].node->askable && !next[i].node->asked && !next[i].node->finished);
        if (i > 0) {
            EXPECT_GE(next[i - 1].score, next[i].score);
        }
        if (next[i].goalIfYes != next[i].goalIfNo) ++tally.moved;
    }
    // The question being asked is one the goal's descent reached.
    EXPECT_TRUE(askedIsListed) << asked.name.Text();
    const CNode &goal = *net.callStack.At(0);
    pending = {&goal, WhatIf(net, asked, AnswerByName(asked), goal)};
    EXPECT_TRUE(NetSnapshot(net) == before) << "a what-if changed the net at " << asked.name.Text();
}

}  // namespace

TEST(NextQuestions, WhatIfsLeaveTheConsultationBitIdenticalAndPredictTheAnswer) {
    Tally tally;
    for (const auto &[name, text] : explain_test::KnowledgeBaseTexts()) {
        SCOPED_TRACE(name);
        Consultation explained(text);
        Consultation plain(text);
        ASSERT_EQ(explained.built, 0) << explained.buildLines.back();
        Prediction pending;
        ScriptedEvidence evidence(AnswerByName);
        const int32_t code = ConsultWith(explained.Net(), evidence, [&](CInferenceNet &net, CNode &asked) {
            AtQuestion(net, asked, pending, tally);
        });
        CheckPrediction(pending, tally);
        ScriptedEvidence sameEvidence(AnswerByName);
        EXPECT_EQ(ConsultWith(plain.Net(), sameEvidence, [](CInferenceNet &, CNode &) {}), code);
        EXPECT_EQ(evidence.questions, sameEvidence.questions);
        EXPECT_EQ(NetSnapshot(explained.Net()).words, NetSnapshot(plain.Net()).words);
    }
    EXPECT_GT(tally.questions, 30);
    EXPECT_GT(tally.candidates, tally.questions);
    EXPECT_EQ(tally.predictions, tally.questions);
    EXPECT_GT(tally.moved, 20);
}

TEST(NextQuestions, RankedByScoreWithTheGoalsValueEitherWay) {
    // h is investigated; a moves it most, b less, c only through a priority
    // link to g, and d is of the other goal.
    Consultation kb(
        "nodes {\n"
        "  a { (bayesian, 0.5) retriever (winprob) }\n"
        "  b { (bayesian, 0.5) retriever (winprob) }\n"
        "  c { (bayesian, 0.5) retriever (winprob) }\n"
        "  d { (bayesian, 0.5) retriever (winprob) }\n"
        "  g { (bayesian, 0.4) }\n"
        "  h { (bayesian, 0.6, goal) }\n"
        "  k { (bayesian, 0.1, goal) }\n"
        "}\n"
        "rules { { a, g, 0.9, 0.1 } { b, g, 0.6, 0.3 } { g, h, 0.8, 0.2 } { d, k, 0.9, 0.1 } }\n"
        "links { { c, g } }\n");
    ASSERT_EQ(kb.built, 0) << kb.buildLines.back();
    std::vector<NextQuestion> first;
    std::string text;
    ScriptedEvidence evidence([](const CNode &) { return 1.0f; });
    ConsultWith(kb.Net(), evidence, [&first, &text](CInferenceNet &net, CNode &) {
        if (!first.empty()) return;
        first = NextQuestions(net);
        text = NextText(net.callStack.At(0), first);
    });
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(std::string(first[0].node->name.Text()), "a");
    EXPECT_EQ(std::string(first[1].node->name.Text()), "b");
    EXPECT_EQ(std::string(first[2].node->name.Text()), "c");
    EXPECT_GT(first[0].score, first[1].score);
    EXPECT_EQ(first[2].score, 0.0f);
    // a surely yes raises g to P(g|a) 0.9 and h with it; surely no lowers both.
    EXPECT_GT(first[0].goalIfYes, 0.6f);
    EXPECT_LT(first[0].goalIfNo, 0.6f);
    // c steers the order only: either answer leaves h where it is.
    EXPECT_EQ(first[2].goalIfYes, 0.6f);
    EXPECT_EQ(first[2].goalIfNo, 0.6f);
    // g at 0.9 or 0.1 after a, 0.6 or 0.3 after b, interpolated into h.
    EXPECT_EQ(text,
              "Next questions for h (current 0.600000):\n"
              "  a 2.197224: if yes 0.766667, if no 0.300000\n"
              "  b 0.626382: if yes 0.666667, if no 0.500000\n"
              "  c 0.000000: if yes 0.600000, if no 0.600000\n");
}

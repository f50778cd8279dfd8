#include "explain/next_questions.h"

#include <algorithm>
#include <unordered_set>

#include "explain/net_state.h"
#include "net/inf_tax_net.h"
#include "net/link.h"
#include "net/node.h"
#include "net/rule.h"

namespace quorvin::explain {

namespace {

// The unfinished nodes from which the goal can be reached; a finished node's
// sources are finished too, so the walk stops at it.
std::unordered_set<const CNode *> Reachable(CNode &goal) {
    std::unordered_set<const CNode *> reached{&goal};
    std::vector<CNode *> pending{&goal};
    const auto visit = [&](CNode *source) {
        if (!source->finished && reached.insert(source).second) pending.push_back(source);
    };
    while (!pending.empty()) {
        CNode *node = pending.back();
        pending.pop_back();
        for (int32_t i = 0; i < node->InRules().Count(); ++i) visit(node->InRules().At(i)->source);
        for (int32_t i = 0; i < node->InLinks().Count(); ++i) visit(node->InLinks().At(i)->source);
    }
    return reached;
}

}  // namespace

float WhatIf(CInferenceNet &net, CNode &node, float value, const CNode &goal) {
    const NetState saved = SaveState(net);
    // What the net does with an answer: the taxonomies spread it, the node
    // takes it, and it propagates from the top of the call stack.
    if (auto *taxonomies = dynamic_cast<CInfTaxNet *>(&net)) taxonomies->SpreadAnswer(&node, value);
    node.current = value;
    node.asked = true;
    net.callStack.Push(&node);
    ++node.callStackCount;
    net.Propagate();
    const float result = goal.current;
    RestoreState(net, saved);
    return result;
}

std::vector<NextQuestion> NextQuestions(CInferenceNet &net) {
    std::vector<NextQuestion> questions;
    if (net.callStack.IsEmpty()) return questions;
    CNode &goal = *net.callStack.At(0);
    const std::unordered_set<const CNode *> reached = Reachable(goal);
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        CNode *node = net.nodes.At(i);
        if (!node->askable || node->asked || node->finished || reached.count(node) == 0) continue;
        NextQuestion question;
        question.node = node;
        for (int32_t r = 0; r < node->OutRules().Count(); ++r) {
            CRule *rule = node->OutRules().At(r);
            if (reached.count(rule->target) != 0) question.score = std::max(question.score, node->Score(rule));
        }
        questions.push_back(question);
    }
    std::stable_sort(questions.begin(), questions.end(),
                     [](const NextQuestion &a, const NextQuestion &b) { return a.score > b.score; });
    for (NextQuestion &question : questions) {
        question.goalIfYes = WhatIf(net, *question.node, 1.0f, goal);
        question.goalIfNo = WhatIf(net, *question.node, 0.0f, goal);
    }
    return questions;
}

}  // namespace quorvin::explain

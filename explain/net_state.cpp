#include "explain/net_state.h"

#include "net/bayes_node.h"
#include "net/inference_net.h"
#include "net/rule.h"

namespace quorvin::explain {

NetState SaveState(const CInferenceNet &net) {
    NetState state;
    state.nodes.reserve(static_cast<size_t>(net.nodes.Count()));
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        const CNode *node = net.nodes.At(i);
        NodeState saved;
        saved.prior = node->prior;
        saved.current = node->current;
        saved.finished = node->finished;
        saved.asked = node->asked;
        saved.callStackCount = node->callStackCount;
        if (node->kind == CNode::kBayesian) {
            const auto *bayes = static_cast<const CBayesNode *>(node);
            saved.priorOdds = bayes->priorOdds;
            saved.currentOdds = bayes->currentOdds;
            saved.updated = bayes->updated;
        }
        state.nodes.push_back(saved);
    }
    for (int32_t i = 0; i < net.rules.Count(); ++i) state.ruleOdds.push_back(net.rules.At(i)->odds);
    for (CNode *node : net.callStack) state.callStack.push_back(node);
    return state;
}

void RestoreState(CInferenceNet &net, const NetState &state) {
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        CNode *node = net.nodes.At(i);
        const NodeState &saved = state.nodes[static_cast<size_t>(i)];
        node->prior = saved.prior;
        node->current = saved.current;
        node->finished = saved.finished;
        node->asked = saved.asked;
        node->callStackCount = saved.callStackCount;
        if (node->kind == CNode::kBayesian) {
            auto *bayes = static_cast<CBayesNode *>(node);
            bayes->priorOdds = saved.priorOdds;
            bayes->currentOdds = saved.currentOdds;
            bayes->updated = saved.updated;
        }
    }
    for (int32_t i = 0; i < net.rules.Count(); ++i) net.rules.At(i)->odds = state.ruleOdds[static_cast<size_t>(i)];
    CNode *dropped = nullptr;
    while (net.callStack.Pop(dropped)) {
    }
    for (CNode *node : state.callStack) net.callStack.Push(node);
    while (net.propagationQueue.Take(dropped)) {
    }
}

}  // namespace quorvin::explain

// Everything of a net's run-time state, bit for bit, so that a test can show
// that explaining a consultation left it as it was.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "net/bayes_node.h"
#include "net/inference_net.h"
#include "net/rule.h"

namespace explain_test {

struct NetSnapshot {
    explicit NetSnapshot(const CInferenceNet &net) {
        for (int32_t i = 0; i < net.nodes.Count(); ++i) {
            const CNode *node = net.nodes.At(i);
            words.push_back(std::bit_cast<uint32_t>(node->prior));
            words.push_back(std::bit_cast<uint32_t>(node->current));
            words.push_back(node->finished | node->asked << 1 | node->enabled << 2 | node->initialized << 3);
            words.push_back(static_cast<uint32_t>(node->callStackCount));
            if (node->kind != CNode::kBayesian) continue;
            const auto *bayes = static_cast<const CBayesNode *>(node);
            words.push_back(std::bit_cast<uint32_t>(bayes->priorOdds));
            words.push_back(std::bit_cast<uint32_t>(bayes->currentOdds));
            words.push_back(bayes->updated);
        }
        for (int32_t i = 0; i < net.rules.Count(); ++i) words.push_back(std::bit_cast<uint32_t>(net.rules.At(i)->odds));
        for (CNode *node : net.callStack) stack.push_back(node);
        for (int32_t i = 0; i < net.goals.Count(); ++i) stack.push_back(net.goals.At(i));
    }
    bool operator==(const NetSnapshot &) const = default;

    std::vector<uint32_t> words;
    std::vector<const CNode *> stack;  // the call stack, then the goals' order
};

}  // namespace explain_test

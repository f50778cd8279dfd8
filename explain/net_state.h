// A net's run-time state, saved so that it can be restored exactly.
//
// A what-if runs the net's own propagation on a supposed answer and must
// then leave the consultation as it found it: every node's values and flags,
// a Bayesian node's odds, every rule's odds slot and the call stack with the
// nodes' counts of it. The propagation queue is empty whenever the net asks
// a question, and restoring empties it.
#pragma once

#include <cstdint>
#include <vector>

class CInferenceNet;
class CNode;

namespace quorvin::explain {

struct NodeState {
    float prior = 0.0f;
    float current = 0.0f;
    float priorOdds = 0.0f;    // Bayesian nodes only
    float currentOdds = 0.0f;  // Bayesian nodes only
    bool updated = false;      // Bayesian nodes only
    bool finished = false;
    bool asked = false;
    int32_t callStackCount = 0;
};

struct NetState {
    std::vector<NodeState> nodes;  // in the net's node order
    std::vector<float> ruleOdds;   // in the net's rule order
    std::vector<CNode *> callStack;  // bottom first
};

NetState SaveState(const CInferenceNet &net);
// Puts the saved state back into the net it was saved from.
void RestoreState(CInferenceNet &net, const NetState &state);

}  // namespace quorvin::explain

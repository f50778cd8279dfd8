// Next questions: what the investigation of the current goal may still ask,
// and what each answer would do to the goal.
//
// The candidates are the askable nodes, not yet asked nor finished, from
// which the goal can be reached along rules and links: the nodes its descent
// can still come to. Each is ranked by its best score on a rule into that
// part of the net, the measure by which the descent picks sources. Its
// what-if is the goal's value if it were answered surely yes (1) or surely
// no (0), computed by the net's own propagation (with the taxonomies'
// spreading of a definite answer) on the live net, which is then restored
// exactly; the consultation goes on as if nothing had been asked.
#pragma once

#include <vector>

class CInferenceNet;
class CNode;

namespace quorvin::explain {

struct NextQuestion {
    CNode *node = nullptr;
    float score = 0.0f;
    float goalIfYes = 0.0f;
    float goalIfNo = 0.0f;
};

// The value of `goal` after propagating `value` as the node's answer, as the
// net would propagate it; the net is restored afterwards.
float WhatIf(CInferenceNet &net, CNode &node, float value, const CNode &goal);

// The next questions of the goal at the bottom of the call stack, highest
// score first (equal scores in node order); none when the stack is empty.
// A node that only a link leads to scores 0.
std::vector<NextQuestion> NextQuestions(CInferenceNet &net);

}  // namespace quorvin::explain

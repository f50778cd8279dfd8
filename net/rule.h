// CRule: evidence carried from a source node E to a target node H.
//
// `pYes` is P(H|E), `pNo` is P(H|not E). `odds` is a working slot: the odds
// of `pYes` after a reset, then the odds that the last update through this
// rule implied for its target. Logical targets ignore all three.
#pragma once

#include <cstdint>

class CNode;

class CRule {
public:
    // Registers the rule with both nodes (outRules of the source, inRules of
    // the target).
    CRule(CNode *sourceNode, CNode *targetNode, float yes, float no);

    // `odds` := the odds of `pYes`, capped at the ceiling.
    void InitOdds();

    CNode *source;
    CNode *target;
    bool targetIsLogical;
    float pYes;
    float pNo;
    float odds;
};

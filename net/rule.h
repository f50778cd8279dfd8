// CRule: evidence carried from a source node E to a target node H.
//
// `pYes` is P(H|E), `pNo` is P(H|not E). `odds` is a working slot: the odds
// of `pYes` after a reset, then the odds that the last update through this
// rule implied for its target. Logical targets ignore all three. The memos
// keep what a Bayesian target and a Bayesian source last computed through
// the rule (net/bayes_node.h). They belong to consulting: the net gives a
// rule its memos when it is first reset, and a net that is only built
// (checked in an editor, drawn) never holds them.
#pragma once

#include <cstdint>

#include "net/rule_memo.h"

class CNode;

struct CRuleMemos {
    // The memos of every rule before its net's first reset: they recall
    // nothing and remember nothing, so such a rule computes every time.
    static CRuleMemos *None();

    // The target's likelihood ratio through the rule and the odds it implied,
    // by the source's prior and current value and the target's prior and
    // prior odds.
    CRuleMemo<4, 2> ratio;
    // The source's score for the rule, by the source's prior odds and
    // current value and the rule's odds.
    CRuleMemo<3, 1> score;
};

class CRule {
public:
    // The net enters the rule in its nodes' lists (OutRules of the source,
    // InRules of the target) when it is checked or reset.
    CRule(CNode *sourceNode, CNode *targetNode, float yes, float no);

    // `odds` := the odds of `pYes`, capped at the ceiling; the memos forget.
    void InitOdds();

    CNode *source;
    CNode *target;
    // CRuleMemos::None() until the net's first reset; then owned by the net.
    CRuleMemos *memos = CRuleMemos::None();
    bool targetIsLogical;
    float pYes;
    float pNo;
    float odds;
};

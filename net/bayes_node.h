// CBayesNode: a node whose value follows from its prior and the rules into it.
//
// Every rule into the node gives a likelihood ratio from the current value of
// its source (piecewise-linear interpolation between P(H|not E), P(H) and
// P(H|E)); the ratios multiply the prior odds into the current odds. As a
// source, a Bayesian node scores how far its possible answers could move the
// target's odds.
#pragma once

#include "net/node.h"

class CBayesNode : public CNode {
public:
    CBayesNode(const CString &nodeName, float priorValue, bool isAskable, bool isGoal);

    // `current` := `prior`; both odds from the prior (capped at the ceiling).
    void Init() override;
    float Score(CRule *rule) override;
    // Multiplies the likelihood ratios of all rules into the node; the
    // changed source is not needed.
    bool Update(CNode *changedSource) override;

    // P(H|E') for the current value of the rule's source, this node being H.
    float Interpolate(const CRule *rule) const;
    // Stores the odds implied by the rule in its `odds` slot and returns
    // their ratio to the prior odds.
    float LikelihoodRatio(CRule *rule) const;

    float currentOdds;
    float priorOdds;
};

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
    // their ratio to the prior odds. Both are recalled from the rule's memo
    // when its inputs have not changed.
    float LikelihoodRatio(CRule *rule) const;

    // The steps of an update, apart so that an explanation of the node
    // follows the same arithmetic.
    // The ratio of odds implied by a rule to the prior odds, floored at the
    // tolerance and raised to the ceiling where the prior odds vanish.
    static float RatioToPrior(float impliedOdds, float priorOdds);
    // Whether multiplying the product by the ratio holds it at the ceiling.
    // The cap is not sticky: a product held at the ceiling is multiplied by
    // the next ratio below it.
    static bool HoldsAtCeiling(double product, float ratio);
    // Whether the node's odds become the ceiling rather than their product.
    static bool OddsAtCeiling(float priorOdds, double product);

    float currentOdds;
    float priorOdds;
    // Whether Update ran since the last Init. Until it does, the rules' odds
    // slots still hold the odds of their P(H|E) and say nothing about what
    // the node applied; an explanation needs to know which. The net itself
    // never reads it.
    bool updated;

private:
    // The score's arithmetic, without the rule's memo.
    float ComputeScore(const CRule *rule) const;
};

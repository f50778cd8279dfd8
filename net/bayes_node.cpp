#include "net/bayes_node.h"

#include <cmath>

#include "net/odds.h"
#include "net/rule.h"

using quorvin::CappedOdds;
using quorvin::kChangeThreshold;
using quorvin::kEpsilon;
using quorvin::kOddsCeiling;

CBayesNode::CBayesNode(const CString &nodeName, float priorValue, bool isAskable, bool isGoal)
    : CNode(nodeName, isAskable, isGoal), currentOdds(0.0f), priorOdds(0.0f), updated(false) {
    kind = kBayesian;
    prior = priorValue;
}

void CBayesNode::Init() {
    CNode::Init();
    current = prior;
    priorOdds = static_cast<float>(CappedOdds(prior));
    currentOdds = priorOdds;
    updated = false;
}

float CBayesNode::Interpolate(const CRule *rule) const {
    const double sourcePrior = rule->source->prior;
    const double sourceCurrent = rule->source->current;
    const double targetPrior = prior;
    if (sourceCurrent < sourcePrior) {
        // A source whose prior leaves no room below it has not moved in any
        // meaningful way: it says nothing about the target.
        if (sourcePrior < kEpsilon) return prior;
        return static_cast<float>(rule->pNo + (targetPrior - rule->pNo) * sourceCurrent / sourcePrior);
    }
    // Likewise a source with no room above its prior.
    if (std::fabs(1.0 - sourcePrior) < kEpsilon) return prior;
    return static_cast<float>(targetPrior +
                              (rule->pYes - targetPrior) * (sourceCurrent - sourcePrior) / (1.0 - sourcePrior));
}

float CBayesNode::LikelihoodRatio(CRule *rule) const {
    // An update recomputes every rule into the node, though usually one
    // source moved: the others are recalled, odds slot included.
    CRuleMemo<4, 2> &memo = rule->memos->ratio;
    const CRuleMemo<4, 2>::InputValues inputs{rule->source->prior, rule->source->current, prior, priorOdds};
    CRuleMemo<4, 2>::OutputValues recalled;
    if (memo.Recall(inputs, recalled)) {
        rule->odds = recalled[0];
        return recalled[1];
    }
    const float implied = Interpolate(rule);
    rule->odds = static_cast<float>(CappedOdds(implied));
    const float ratio = RatioToPrior(rule->odds, priorOdds);
    memo.Remember(inputs, {rule->odds, ratio});
    return ratio;
}

float CBayesNode::RatioToPrior(float impliedOdds, float priorOdds) {
    if (std::fabs(priorOdds) < kEpsilon && std::fabs(impliedOdds) > kEpsilon) return static_cast<float>(kOddsCeiling);
    if (std::fabs(impliedOdds) < kEpsilon) return kEpsilon;
    return static_cast<float>(static_cast<double>(impliedOdds) / priorOdds);
}

bool CBayesNode::HoldsAtCeiling(double product, float ratio) { return ratio >= kOddsCeiling || product > kOddsCeiling; }

bool CBayesNode::OddsAtCeiling(float priorOdds, double product) {
    return priorOdds >= kOddsCeiling || product >= kOddsCeiling;
}

bool CBayesNode::Update(CNode * /*changedSource*/) {
    const float old = current;
    updated = true;
    double product = 1.0;
    for (CRule *rule : InRules()) {
        const float ratio = LikelihoodRatio(rule);
        if (HoldsAtCeiling(product, ratio))
            product = kOddsCeiling;
        else
            product *= ratio;
    }
    if (OddsAtCeiling(priorOdds, product))
        currentOdds = static_cast<float>(kOddsCeiling);
    else
        currentOdds = static_cast<float>(priorOdds * product);
    const double odds = currentOdds;
    current = std::fabs(odds + 1.0) < kEpsilon ? 1.0f : static_cast<float>(odds / (odds + 1.0));
    return std::fabs(static_cast<double>(old) - current) > kChangeThreshold;
}

float CBayesNode::Score(CRule *rule) {
    // Every descent from the goal scores the same sources again; only those
    // whose value or rule odds moved are computed (two logarithms each).
    CRuleMemo<3, 1> &memo = rule->memos->score;
    const CRuleMemo<3, 1>::InputValues inputs{priorOdds, current, rule->odds};
    CRuleMemo<3, 1>::OutputValues recalled;
    if (memo.Recall(inputs, recalled)) return recalled[0];
    const float score = ComputeScore(rule);
    memo.Remember(inputs, {score});
    return score;
}

float CBayesNode::ComputeScore(const CRule *rule) const {
    const double odds = priorOdds;
    const double yes = rule->pYes;
    const double no = rule->pNo;
    const double confidence = current;
    // A: the odds the target would reach if this source turned out true;
    // B: if it turned out false; R: the odds the rule implies now.
    double oddsIfYes = no < kEpsilon ? kOddsCeiling : odds * yes / no;
    if (oddsIfYes < kEpsilon) oddsIfYes = kEpsilon;
    double oddsIfNo = std::fabs(1.0 - no) < kEpsilon ? kOddsCeiling : (1.0 - yes) * odds / (1.0 - no);
    double oddsNow = rule->odds;
    if (oddsNow < kEpsilon) oddsNow = kEpsilon;
    if (oddsIfNo < kEpsilon) oddsIfNo = kEpsilon;
    return static_cast<float>(std::fabs(std::log(oddsIfYes / oddsNow)) * confidence +
                              std::fabs(std::log(oddsNow / oddsIfNo)) * (1.0 - confidence));
}

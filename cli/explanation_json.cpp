#include "explanation_json.h"

#include "explain/weight_of_evidence.h"
#include "json_number.h"
#include "net/logical_node.h"
#include "net/node.h"

namespace {

using nlohmann::ordered_json;
using namespace quorvin::explain;

ordered_json NameOrNull(const CNode *node) { return node != nullptr ? ordered_json(node->name.Text()) : ordered_json(); }

ordered_json AnswerJson(const AnswerAccount &answer) {
    if (!answer.asked) return nullptr;
    if (!answer.kept) return {{"kept", false}};
    return {{"given", answer.given},
            {"retriever", answer.retriever},
            {"translator", answer.translator},
            {"translation", answer.translation},
            {"translated", ExactJsonNumber(answer.translated)}};
}

ordered_json RuleJson(const RuleEvidence &rule) {
    return {{"source", NameOrNull(rule.source)},
            {"sourcePrior", ExactJsonNumber(rule.sourcePrior)},
            {"sourceCurrent", ExactJsonNumber(rule.sourceCurrent)},
            {"pYes", ExactJsonNumber(rule.pYes)},
            {"pNo", ExactJsonNumber(rule.pNo)},
            {"ratio", rule.ratio},
            {"applied", rule.applied},
            {"weight", rule.weight},
            {"decibans", Decibans(rule.weight)},
            {"capped", rule.capped}};
}

ordered_json BayesJson(const BayesAccount &account) {
    ordered_json rules = ordered_json::array();
    for (const RuleEvidence &rule : account.rules) rules.push_back(RuleJson(rule));
    return {{"updated", account.updated},
            {"priorOdds", account.priorOdds},
            {"currentOdds", account.currentOdds},
            {"ceilingReached", account.ceilingReached},
            {"rules", rules}};
}

ordered_json LogicalJson(const LogicalAccount &account) {
    const char *type = account.logicalType == CLogicalNode::kAnd  ? "and"
                       : account.logicalType == CLogicalNode::kOr ? "or"
                                                                  : "not";
    ordered_json others = ordered_json::array();
    for (const CNode *other : account.others) others.push_back(NameOrNull(other));
    return {{"type", type}, {"deciding", NameOrNull(account.deciding)}, {"others", others}};
}

}  // namespace

ordered_json ExplanationJson(const How &how) {
    ordered_json explanation;
    explanation["answer"] = AnswerJson(how.answer);
    if (how.bayesian)
        explanation["bayes"] = BayesJson(how.bayes);
    else
        explanation["logical"] = LogicalJson(how.logical);
    return explanation;
}

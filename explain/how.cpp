#include "explain/how.h"

#include <algorithm>
#include <cmath>

#include "explain/weight_of_evidence.h"
#include "net/bayes_node.h"
#include "net/logical_node.h"
#include "net/net_constants.h"
#include "net/rule.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/retrieved_data.h"
#include "retrieval/table.h"

namespace quorvin::explain {

namespace {

// Replays the node's last update from the rules' odds slots: each slot holds
// the odds its rule implied then, so the ratios and the product come out as
// the update had them, even where a source has since moved too little to
// make the net update the node again.
BayesAccount AccountOfBayes(const CBayesNode &node) {
    BayesAccount account;
    account.updated = node.updated;
    account.priorOdds = node.priorOdds;
    account.currentOdds = node.currentOdds;
    double product = 1.0;
    for (int32_t i = 0; i < node.InRules().Count(); ++i) {
        const CRule *rule = node.InRules().At(i);
        RuleEvidence evidence;
        evidence.rule = rule;
        evidence.source = rule->source;
        evidence.sourcePrior = rule->source->prior;
        evidence.sourceCurrent = rule->source->current;
        evidence.pYes = rule->pYes;
        evidence.pNo = rule->pNo;
        evidence.impliedOdds = rule->odds;
        if (node.updated) {
            const float ratio = CBayesNode::RatioToPrior(rule->odds, node.priorOdds);
            const double before = product;
            evidence.capped = CBayesNode::HoldsAtCeiling(product, ratio);
            product = evidence.capped ? kOddsCeiling : product * ratio;
            evidence.ratio = ratio;
            evidence.applied = product / before;
            evidence.weight = WeightOfEvidence(evidence.applied);
        }
        account.rules.push_back(evidence);
    }
    account.product = product;
    account.ceilingReached = node.updated && CBayesNode::OddsAtCeiling(node.priorOdds, product);
    std::stable_sort(account.rules.begin(), account.rules.end(), [](const RuleEvidence &a, const RuleEvidence &b) {
        return std::fabs(a.weight) > std::fabs(b.weight);
    });
    return account;
}

// The source whose value the node took: the first of the smallest (and) or
// largest (or) current values, as the fold meets them; a not-node's only
// source.
LogicalAccount AccountOfLogical(const CLogicalNode &node) {
    LogicalAccount account;
    account.logicalType = node.logicalType;
    const int32_t count = node.InRules().Count();
    int32_t deciding = -1;
    for (int32_t i = 0; i < count; ++i) {
        const float value = node.InRules().At(i)->source->current;
        if (deciding < 0) {
            deciding = i;
            continue;
        }
        const float best = node.InRules().At(deciding)->source->current;
        if ((node.logicalType == CLogicalNode::kAnd && value < best) ||
            (node.logicalType == CLogicalNode::kOr && value > best))
            deciding = i;
    }
    for (int32_t i = 0; i < count; ++i) {
        const CNode *source = node.InRules().At(i)->source;
        if (i == deciding)
            account.deciding = source;
        else
            account.others.push_back(source);
    }
    return account;
}

AnswerAccount AccountOfAnswer(const CNode &node, CTable *table) {
    AnswerAccount account;
    account.asked = node.asked;
    if (!node.asked || table == nullptr || table->retrievedData == nullptr) return account;
    const CRetrievedData *record = table->retrievedData->Find(node.name);
    if (record == nullptr) return account;
    account.kept = true;
    account.given = record->ToText().Text();
    account.translation = record->translation;
    account.translated = record->translated;
    if (record->answeredBy != nullptr) {
        CString retrieverName;
        CString translatorName;
        record->answeredBy->GetNames(retrieverName, translatorName);
        account.retriever = retrieverName.Text();
    }
    // The node's own translator translated the answer, whatever its
    // retriever names.
    const CNodeRTInfo *info = table->FindRTInfo(node.name);
    if (info != nullptr && info->translator != nullptr) {
        CString translatorName;
        info->translator->GetName(translatorName);
        account.translator = translatorName.Text();
    }
    return account;
}

}  // namespace

How ExplainHow(const CNode &node, CTable *table) {
    How how;
    how.node = &node;
    how.prior = node.prior;
    how.current = node.current;
    how.bayesian = node.kind == CNode::kBayesian;
    if (how.bayesian)
        how.bayes = AccountOfBayes(static_cast<const CBayesNode &>(node));
    else
        how.logical = AccountOfLogical(static_cast<const CLogicalNode &>(node));
    how.answer = AccountOfAnswer(node, table);
    return how;
}

}  // namespace quorvin::explain

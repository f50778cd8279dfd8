// How: the account of a node's current value.
//
// A Bayesian node's value is its prior odds times the likelihood ratios of
// its rules, as its last update multiplied them; the account lists every rule
// with the ratio that update applied (read back from the rule's odds slot),
// its weight of evidence and whether the product was held at the odds
// ceiling. A logical node's value is the minimum, maximum or complement of
// its sources: the account names the source that decided it. An answered
// node's account says what was answered, by which retriever, and what the
// translator made of it, when the run-time table kept the answer.
// Explaining reads the net and the table and changes neither.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CNode;
class CRule;
class CTable;

namespace quorvin::explain {

// One rule into a Bayesian node.
struct RuleEvidence {
    const CRule *rule = nullptr;
    const CNode *source = nullptr;
    float sourcePrior = 0.0f;
    float sourceCurrent = 0.0f;
    float pYes = 0.0f;  // P(H|E)
    float pNo = 0.0f;   // P(H|not E)
    // The odds the rule implied for the node at its last update.
    float impliedOdds = 0.0f;
    // The rule's own likelihood ratio, and the factor by which the product
    // actually moved; the two differ where the product was held at the
    // ceiling. 1 for both when the node was never updated.
    double ratio = 1.0;
    double applied = 1.0;
    double weight = 0.0;  // natural logarithm of `applied`
    bool capped = false;  // the product was held at the ceiling at this rule
};

// What a Bayesian node's last update did.
struct BayesAccount {
    bool updated = false;       // false: the node still has its prior
    double priorOdds = 0.0;
    double currentOdds = 0.0;   // as the node stores them
    double product = 1.0;       // of the applied ratios
    bool ceilingReached = false;  // the node's odds were set to the ceiling
    std::vector<RuleEvidence> rules;  // by absolute weight, largest first
};

// Which source decided a logical node.
struct LogicalAccount {
    uint8_t logicalType = 0;         // CLogicalNode::kAnd, kOr or kNot
    const CNode *deciding = nullptr;  // null for a node without sources
    std::vector<const CNode *> others;  // the remaining sources, in rule order
};

// What was answered for a node.
struct AnswerAccount {
    bool asked = false;  // the node holds an answer rather than a computed value
    bool kept = false;   // the run-time table kept the answer's record
    std::string given;   // the answer in its short form ("dn" for don't know)
    std::string retriever;
    std::string translator;
    int32_t translation = -1;  // the translator's code
    float translated = 0.0f;   // the translator's value, before it was held to [0, 1]
};

struct How {
    const CNode *node = nullptr;
    bool bayesian = false;
    float prior = 0.0f;
    float current = 0.0f;
    BayesAccount bayes;      // for a Bayesian node
    LogicalAccount logical;  // for a logical node
    AnswerAccount answer;
};

// The account of `node`. `table` may be null; then an answered node says only
// that it was answered. Reads only, though the table's lookups are not const.
How ExplainHow(const CNode &node, CTable *table);

}  // namespace quorvin::explain

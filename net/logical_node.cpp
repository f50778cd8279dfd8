#include "net/logical_node.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "net/net_constants.h"
#include "net/rule.h"

namespace {
// The fold starts of the and and the or: beyond every probability, so that a
// node without rules shows that it has nothing to combine.
constexpr double kAndStart = 1.1;
constexpr double kOrStart = -0.1;
}  // namespace

CLogicalNode::CLogicalNode(const CString &nodeName, uint8_t type, bool isAskable, bool isGoal)
    : CNode(nodeName, isAskable, isGoal), logicalType(type) {
    kind = kLogical;
}

void CLogicalNode::Init() {
    // Every source is initialized before the node that combines it. The walk
    // follows the rules backwards depth first, as a recursion would, but on
    // an explicit stack: a long chain of logical nodes must not exhaust the
    // program's stack.
    struct Frame {
        CLogicalNode *node;
        int32_t nextRule;
    };
    CNode::Init();
    std::vector<Frame> pending{{this, 0}};
    while (!pending.empty()) {
        CLogicalNode *node = pending.back().node;
        const int32_t next = pending.back().nextRule;
        if (next == node->InRules().Count()) {
            node->current = node->prior = static_cast<float>(node->Combine(nullptr));
            pending.pop_back();
            continue;
        }
        ++pending.back().nextRule;
        CNode *source = node->InRules().At(next)->source;
        if (source->initialized) continue;
        if (source->kind != kLogical) {
            source->Init();
            continue;
        }
        auto *logicalSource = static_cast<CLogicalNode *>(source);
        logicalSource->CNode::Init();
        pending.push_back({logicalSource, 0});
    }
}

float CLogicalNode::Score(CRule * /*rule*/) {
    switch (logicalType) {
        case kAnd:
            return static_cast<float>(1.0 - current);
        case kOr:
            return current;
        default:
            return 1.0f;
    }
}

bool CLogicalNode::Update(CNode *changedSource) {
    const float old = current;
    current = static_cast<float>(Combine(changedSource));
    return std::fabs(static_cast<double>(old) - current) > quorvin::kChangeThreshold;
}

double CLogicalNode::Combine(const CNode *changedSource) const {
    const CRuleList rules = InRules();
    switch (logicalType) {
        case kAnd: {
            double value = kAndStart;
            for (const CRule *rule : rules) value = std::min(value, static_cast<double>(rule->source->current));
            return value;
        }
        case kOr: {
            double value = kOrStart;
            for (const CRule *rule : rules) value = std::max(value, static_cast<double>(rule->source->current));
            return value;
        }
        default: {
            // A not-node without a rule has nothing to negate; it stays true
            // rather than reading a rule that does not exist.
            if (rules.Count() == 0) return 1.0;
            const CNode *source = changedSource != nullptr ? changedSource : rules.At(0)->source;
            return 1.0 - source->current;
        }
    }
}

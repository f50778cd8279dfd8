#include "net/node.h"

#include "net/link.h"
#include "net/rule.h"

CNode::CNode(const CString &nodeName, bool isAskable, bool isGoal)
    : kind(kBayesian),
      askable(isAskable),
      enabled(true),
      goal(isGoal),
      finished(false),
      asked(false),
      initialized(false),
      removed(false),
      name(nodeName),
      description(nodeName),
      selectionCount(0),
      prior(0.0f),
      current(0.0f),
      inDegree(0),
      callStackCount(0) {}

CNode::~CNode() = default;

void CNode::Init() {
    finished = false;
    asked = false;
    initialized = true;
}

CNode *CNode::ChooseSource() {
    double best = -100.0;
    CNode *chosen = nullptr;
    for (CRule *rule : InRules()) {
        if (rule->source->finished) continue;
        double score = rule->source->Score(rule);
        if (score > best) {
            best = score;
            chosen = rule->source;
        }
    }
    return chosen;
}

bool CNode::CheckContext(CNode *&out) const {
    out = nullptr;
    for (const CLink *link : InLinks()) {
        if (link->isPriority) continue;
        const auto *context = static_cast<const CContextLink *>(link);
        CNode *source = context->source;
        if (source->current < context->low || source->current > context->high) {
            // A finished source will not move again: the node is out of
            // context for good, and there is nothing to investigate first.
            if (!source->finished) out = source;
            return true;
        }
    }
    return false;
}

bool CNode::CheckPriority(CNode *&out) const {
    out = nullptr;
    for (const CLink *link : InLinks()) {
        if (link->isPriority && !link->source->finished) {
            out = link->source;
            return true;
        }
    }
    return false;
}

bool CNode::CheckLinks(CNode *&out) const {
    out = nullptr;
    return CheckContext(out) || CheckPriority(out);
}

bool CNode::TestFinished() {
    for (const CRule *rule : InRules())
        if (!rule->source->finished) return false;
    if (askable && !asked) return false;
    finished = true;
    return true;
}

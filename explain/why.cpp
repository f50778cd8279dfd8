#include "explain/why.h"

#include <utility>

#include "net/inference_net.h"
#include "net/link.h"
#include "net/node.h"
#include "net/rule.h"

namespace quorvin::explain {

namespace {

// The link CNode::CheckLinks follows: context links are tested first, and
// only a context link whose source can still move sends the net anywhere.
const CLink *SteeringLink(const CNode &node) {
    for (int32_t i = 0; i < node.InLinks().Count(); ++i) {
        const CLink *link = node.InLinks().At(i);
        if (link->isPriority) continue;
        const auto *context = static_cast<const CContextLink *>(link);
        const float value = context->source->current;
        if (value < context->low || value > context->high) return context->source->finished ? nullptr : link;
    }
    for (int32_t i = 0; i < node.InLinks().Count(); ++i) {
        const CLink *link = node.InLinks().At(i);
        if (link->isPriority && !link->source->finished) return link;
    }
    return nullptr;
}

}  // namespace

WhyStep ExplainStep(CNode &node) {
    WhyStep step;
    step.node = &node;
    step.link = SteeringLink(node);
    // The same comparison as the net's: the first of the highest scores,
    // compared as doubles from a start below any score.
    double best = -100.0;
    const CNode *byScore = nullptr;
    for (int32_t i = 0; i < node.InRules().Count(); ++i) {
        CRule *rule = node.InRules().At(i);
        if (rule->source->finished) continue;
        const float score = rule->source->Score(rule);
        step.candidates.push_back({rule->source, rule, score});
        if (score > best) {
            best = score;
            byScore = rule->source;
        }
    }
    step.chosen = step.link != nullptr ? step.link->source : byScore;
    return step;
}

Why ExplainWhy(CInferenceNet &net) {
    Why why;
    const int32_t count = net.callStack.Count();
    if (count == 0) return why;
    why.goal = net.callStack.At(0);
    why.asked = net.callStack.Top();
    for (int32_t i = 0; i < count; ++i) {
        WhyStep step = ExplainStep(*net.callStack.At(i));
        if (i + 1 < count) step.next = net.callStack.At(i + 1);
        why.steps.push_back(std::move(step));
    }
    return why;
}

}  // namespace quorvin::explain

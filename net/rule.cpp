#include "net/rule.h"

#include "net/node.h"
#include "net/odds.h"

CRule::CRule(CNode *sourceNode, CNode *targetNode, float yes, float no)
    : source(sourceNode),
      target(targetNode),
      targetIsLogical(targetNode->kind == CNode::kLogical),
      pYes(yes),
      pNo(no),
      odds(0.0f) {
    source->outRules.Add(this);
    target->inRules.Add(this);
}

void CRule::InitOdds() {
    odds = static_cast<float>(quorvin::CappedOdds(pYes));
    if (memos == nullptr) return;
    memos->ratio.Forget();
    memos->score.Forget();
}

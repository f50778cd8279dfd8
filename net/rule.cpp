#include "net/rule.h"

#include "net/node.h"
#include "net/odds.h"

CRuleMemos *CRuleMemos::None() {
    // Never written: a frozen memo neither remembers nor is ever known.
    static CRuleMemos none{CRuleMemo<4, 2>::Frozen(), CRuleMemo<3, 1>::Frozen()};
    return &none;
}

CRule::CRule(CNode *sourceNode, CNode *targetNode, float yes, float no)
    : source(sourceNode),
      target(targetNode),
      targetIsLogical(targetNode->kind == CNode::kLogical),
      pYes(yes),
      pNo(no),
      odds(0.0f) {}

void CRule::InitOdds() {
    odds = static_cast<float>(quorvin::CappedOdds(pYes));
    memos->ratio.Forget();
    memos->score.Forget();
}

#include "retrieval/default_retrievers.h"

#include "net/node.h"
#include "retrieval/retrieved_data.h"

namespace {

// The don't-know record of an answer kind, or null for a kind that has none.
CRetrievedData *DontKnowRecord(CAnswerKind answer, float prior) {
    switch (answer) {
    case CAnswerKind::DontKnow: return new CRetrievedDataDontKnow(prior);
    case CAnswerKind::Probability: return new CRetrievedDataProb(0.0f, prior, true);
    case CAnswerKind::CertaintyFactor: return new CRetrievedDataCertFact(0.0f, prior);
    case CAnswerKind::Value: return new CRetrievedDataValue(0.0f, prior, true);
    case CAnswerKind::Choice: return new CRetrievedDataChoice(0, prior, true);
    case CAnswerKind::Interval: break;
    }
    return nullptr;
}

}  // namespace

int32_t CDRDefault::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    CRetrievedData *record = DontKnowRecord(row.answer, node == nullptr ? 0.0f : node->prior);
    if (record == nullptr) return 2;
    out = record;
    return 0;
}

#include "retrieval/default_retrievers.h"

#include "net/node.h"
#include "retrieval/retrieved_data.h"

namespace {

// The a-priori value the record carries; a retriever called without a node
// still answers, with 0.
float PriorOf(const CNode *node) { return node == nullptr ? 0.0f : node->prior; }

}  // namespace

int32_t CDRDNProb::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    out = new CRetrievedDataProb(0.0f, PriorOf(node), true);
    return 0;
}

int32_t CDRDNProb::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dnprob", "prob");
}

int32_t CDRDNCertFact::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    out = new CRetrievedDataCertFact(0.0f, PriorOf(node));
    return 0;
}

int32_t CDRDNCertFact::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dncf", "cf");
}

int32_t CDRDNValue::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    out = new CRetrievedDataValue(0.0f, PriorOf(node), true);
    return 0;
}

int32_t CDRDNValue::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dnvalue", "value");
}

int32_t CDRDNS::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dns", "value");
}

int32_t CDRDNValueEx::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dnvaluex", "valuex");
}

int32_t CDRDNSX::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dnsx", "valuex");
}

int32_t CDRDNChoice::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    out = new CRetrievedDataChoice(0, PriorOf(node), true);
    return 0;
}

int32_t CDRDNChoice::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "dnchoice", "choice");
}

int32_t CDRDontKnow::Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) {
    out = new CRetrievedDataDontKnow(PriorOf(node));
    return 0;
}

int32_t CDRDontKnow::GetNames(CString &retrieverName, CString &translatorName) {
    return DeliverNames(retrieverName, translatorName, "notknown", "notknown");
}

#include "retrieval/retrieved_data.h"

namespace {
const char *const kDontKnowText = "dn";
}

CRetrievedDataProb::CRetrievedDataProb(float probability, float aprioriValue, bool isDontKnow)
    : value(probability), apriori(aprioriValue), dontKnow(isDontKnow) {}

CString CRetrievedDataProb::ToText() const { return dontKnow ? CString(kDontKnowText) : CString(value); }

CRetrievedDataCertFact::CRetrievedDataCertFact(float factor, float aprioriValue)
    : value(factor), apriori(aprioriValue) {}

CString CRetrievedDataCertFact::ToText() const { return CString(value); }

CRetrievedDataValue::CRetrievedDataValue(float number, float aprioriValue, bool isDontKnow)
    : value(number), apriori(aprioriValue), dontKnow(isDontKnow) {}

CString CRetrievedDataValue::ToText() const { return dontKnow ? CString(kDontKnowText) : CString(value); }

CRetrievedDataInterval::CRetrievedDataInterval(float lower, float upper, float certaintyFactor)
    : from(lower), to(upper), certainty(certaintyFactor) {}

CString CRetrievedDataInterval::ToText() const { return CString("not implemented"); }

CRetrievedDataChoice::CRetrievedDataChoice(int32_t optionIndex, float aprioriValue, bool isDontKnow)
    : index(optionIndex), apriori(aprioriValue), dontKnow(isDontKnow) {}

CString CRetrievedDataChoice::ToText() const { return dontKnow ? CString(kDontKnowText) : CString(index); }

CRetrievedDataDontKnow::CRetrievedDataDontKnow(float aprioriValue) : apriori(aprioriValue) {}

CString CRetrievedDataDontKnow::ToText() const { return CString(kDontKnowText); }

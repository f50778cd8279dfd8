#include "retrieval/simple_translators.h"

#include <algorithm>

#include "retrieval/retrieved_data.h"

int32_t CDTDontKnow::Translate(CParamRecord * /*data*/, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataDontKnow *>(record);
    if (answer == nullptr) return 2;
    value = answer->apriori;
    return 0;
}

int32_t CDTDontKnow::GetName(CString &translatorName) {
    translatorName = "notknown";
    return 0;
}

int32_t CDTProb::Translate(CParamRecord * /*data*/, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataProb *>(record);
    if (answer == nullptr) return 2;
    value = answer->dontKnow ? answer->apriori : answer->value;
    return 0;
}

int32_t CDTProb::GetName(CString &translatorName) {
    translatorName = "prob";
    return 0;
}

double CDTCertFactor::FromCertainty(double factor, double apriori) {
    const double step = 0.2 * factor;
    double result = factor >= 0.0 ? apriori + (1.0 - apriori) * step : apriori * (step + 1.0);
    if (result < 1e-8) result = 0.0;
    // A factor beyond +-5 (never given by the retrievers) must still give a
    // probability.
    return std::min(result, 1.0);
}

int32_t CDTCertFactor::Translate(CParamRecord * /*data*/, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataCertFact *>(record);
    if (answer == nullptr) return 2;
    value = static_cast<float>(FromCertainty(answer->value, answer->apriori));
    return 0;
}

int32_t CDTCertFactor::GetName(CString &translatorName) {
    translatorName = "cf";
    return 0;
}

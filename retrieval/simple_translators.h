// The translators without parameters: "notknown", "prob" and "cf".
//
// "notknown" always gives the node's a-priori value. "prob" takes the given
// probability, or the a-priori value for a don't-know answer. "cf" moves the
// a-priori value b by a certainty factor c from -5 to 5: with s = c / 5, a
// positive factor gives b + (1 - b) s and a negative one b (1 + s), so 5 is
// certainly yes, -5 certainly no and 0 leaves the a-priori value. A value
// below 1e-8 is taken as 0.
//
// Each translator reads the record kind its retrievers produce; a record of
// another kind (or none) fails the translation with 2.
#pragma once

#include "retrieval/data_translator.h"

class CDTDontKnow : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;
};

class CDTProb : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;
};

class CDTCertFactor : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;

    // The node value for certainty factor `factor` and a-priori value
    // `apriori`, in double precision, kept within [0, 1].
    static double FromCertainty(double factor, double apriori);
};

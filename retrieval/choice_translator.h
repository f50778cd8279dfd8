// The "choice" translator: one probability per option of a choice question.
//
// The clause lists the probabilities, the first for the first option:
//   translator (0.7, 0.2, 0.1)
// At least one number; commas are optional; no range test is made. The
// translation takes the probability of the chosen option, the a-priori value
// for a don't-know answer, and fails with 2 when the chosen option has no
// probability in the table (or there is no table).
#pragma once

#include <cstdint>
#include <vector>

#include "retrieval/data_translator.h"
#include "retrieval/param_record.h"

class CDTChoiceTable : public CParamRecord {
public:
    explicit CDTChoiceTable(std::vector<float> optionProbabilities);

    int32_t count;                     // at least 1
    std::vector<float> probabilities;  // one per option, in option order
};

class CDTChoice : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override;
    int32_t GetName(CString &translatorName) override;
    // Reads the numbers from the current token up to the clause's ")", which
    // is left current.
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;
};

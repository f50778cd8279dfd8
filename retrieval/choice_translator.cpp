#include "retrieval/choice_translator.h"

#include <utility>

#include "retrieval/number_list_reader.h"
#include "retrieval/retrieved_data.h"

CDTChoiceTable::CDTChoiceTable(std::vector<float> optionProbabilities)
    : count(static_cast<int32_t>(optionProbabilities.size())), probabilities(std::move(optionProbabilities)) {}

int32_t CDTChoice::Translate(CParamRecord *data, CRetrievedData *record, float &value) {
    auto *answer = dynamic_cast<CRetrievedDataChoice *>(record);
    if (answer == nullptr) return 2;
    if (answer->dontKnow) {
        value = answer->apriori;
        return 0;
    }
    auto *table = dynamic_cast<CDTChoiceTable *>(data);
    if (table == nullptr || answer->index < 0 || answer->index > table->count - 1) return 2;
    value = table->probabilities[static_cast<size_t>(answer->index)];
    return 0;
}

int32_t CDTChoice::GetName(CString &translatorName) {
    translatorName = "choice";
    return 0;
}

int32_t CDTChoice::ReadParameters(ITokenReader *compiler, CParamRecord *&data) {
    CFloatVector numbers;
    if (ReadNumbersUpToParen(compiler, numbers) != 0 || numbers.Count() < 1) return 2;
    data = new CDTChoiceTable(CopyOfNumbers(numbers));
    return 0;
}

#include "retrieval/db_retrievers.h"

#include <cfloat>
#include <cmath>

#include "net/node.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/retrieved_data.h"
#include "tables/input_record.h"
#include "retrieval/table.h"

namespace {

bool IsDontKnow(const CString &text) { return text.Equals("?"); }

// The real of a numeric text, when a 32-bit real can hold it.
bool RealFromText(const CString &text, double &real) {
    if (!IsNumericText(text)) return false;
    real = TextToReal(text);
    return std::isfinite(real) && std::fabs(real) <= FLT_MAX;
}

// The real of a numeric text, or 0 for the don't-know text.
bool RealOrDontKnow(const CString &text, double &real, bool &dontKnow) {
    real = 0.0;
    dontKnow = IsDontKnow(text);
    return dontKnow || RealFromText(text, real);
}

// The record of a field text for an answer kind; null when the text is
// unusable or no field holds that kind.
CRetrievedData *FieldRecord(CAnswerKind answer, const CString &text, const CNode &node, const CParamRecord *data) {
    float value = 0.0f;
    bool dontKnow = false;
    switch (answer) {
    case CAnswerKind::Probability:
        if (!ProbabilityFromText(text, value, dontKnow)) return nullptr;
        return new CRetrievedDataProb(value, node.prior, dontKnow);
    case CAnswerKind::CertaintyFactor:
        if (!CertaintyFromText(text, value)) return nullptr;
        return new CRetrievedDataCertFact(value, node.prior);
    case CAnswerKind::Value:
        if (!ValueFromText(text, value, dontKnow)) return nullptr;
        return new CRetrievedDataValue(value, node.prior, dontKnow);
    case CAnswerKind::Choice: {
        const auto *options = dynamic_cast<const CChoiceList *>(data);
        int32_t index = 0;
        if (!ChoiceFromText(text, options ? options->count : -1, index, dontKnow)) return nullptr;
        return new CRetrievedDataChoice(index, node.prior, dontKnow);
    }
    case CAnswerKind::DontKnow:
    case CAnswerKind::Interval: break;
    }
    return nullptr;
}

}  // namespace

bool FindNodeField(CTable *table, const CNode *node, CString &text) {
    CInputRecord *record = CurrentInputRecord(table);
    if (record == nullptr || node == nullptr) return false;
    return record->FindAnyCase(node->name, text);
}

bool ProbabilityFromText(const CString &text, float &value, bool &dontKnow) {
    value = 0.0f;
    double real = 0.0;
    // The range test is made before rounding: 1.00000001 is no probability.
    if (!RealOrDontKnow(text, real, dontKnow) || real < 0.0 || real > 1.0) return false;
    value = static_cast<float>(real);
    return true;
}

bool CertaintyFromText(const CString &text, float &value) {
    double real = 0.0;
    if (IsNumericText(text)) {
        if (!RealFromText(text, real)) return false;
    } else if (text.IsEmpty()) {
        return false;
    } else {
        switch (text.Text()[0]) {
        case 'y': case 'Y': real = 5.0; break;
        case 'n': case 'N': real = -5.0; break;
        case '?': real = 0.0; break;
        default: return false;
        }
    }
    if (real < -5.0 || real > 5.0) return false;
    value = static_cast<float>(real);
    return true;
}

bool ValueFromText(const CString &text, float &value, bool &dontKnow) {
    value = 0.0f;
    double real = 0.0;
    if (!RealOrDontKnow(text, real, dontKnow)) return false;
    value = static_cast<float>(real);
    return true;
}

bool ChoiceFromText(const CString &text, int32_t optionCount, int32_t &index, bool &dontKnow) {
    index = 0;
    dontKnow = false;
    int32_t number = 0;  // the option counted from 1
    if (IsNumericText(text)) {
        number = TextToInt(text);
    } else if (text.Length() == 1) {
        char c = text.Text()[0];
        if (c == '?') {
            dontKnow = true;
            return true;
        }
        if (c >= 'a' && c <= 'z') number = c - 'a' + 1;
        if (c >= 'A' && c <= 'Z') number = c - 'A' + 1;
    }
    if (number < 1 || (optionCount >= 0 && number > optionCount)) return false;
    index = number - 1;
    return true;
}

int32_t CDRDatabase::Retrieve(CNode *node, CInferenceNet *, CTable *table, CParamRecord *data, CRetrievedData *&out) {
    CString text;
    if (!FindNodeField(table, node, text)) return 2;
    CRetrievedData *record = FieldRecord(row.answer, text, *node, data);
    if (record == nullptr) return 2;
    out = record;
    return 0;
}

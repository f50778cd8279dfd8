#include "tables/input_record.h"

#include <cstring>

#include "foundation/number_text.h"

CInputRecord::~CInputRecord() { ClearRecord(); }

void CInputRecord::ClearRecord() {
    delete record;
    record = nullptr;
    emptyTexts = 0;
}

void CInputRecord::NewRecord() {
    emptyTexts = 0;
    if (record != nullptr) {
        record->Clear();
        return;
    }
    record = new CStringHTable(CString());
}

bool CInputRecord::InsertField(const CString &fieldName, const CString &text) {
    if (record == nullptr || record->Insert(fieldName, text) == nullptr) return false;
    if (text.IsEmpty()) ++emptyTexts;
    return true;
}

bool CInputRecord::HasField(const CString &fieldName) {
    if (record == nullptr) return false;
    if (!record->Find(fieldName).IsEmpty()) return true;
    return emptyTexts > 0 && record->FindIndex(fieldName) >= 0;
}

CString CInputRecord::FieldText(const CString &fieldName) {
    return record == nullptr ? CString() : record->Find(fieldName);
}

// Digits with commas, points, minus signs and exponent letters, and at least
// one digit: a field of "-" or "." (often written for "not measured") is no
// number, where it would otherwise read as 0 and answer "surely not"; and the
// letters "e" and "E" alone stay choice letters.
bool IsNumericText(const CString &text) {
    bool digit = false;
    for (const char *c = text.Text(); *c != '\0'; ++c) {
        if (*c >= '0' && *c <= '9') {
            digit = true;
        } else if (std::strchr(",-.Ee", *c) == nullptr) {
            return false;
        }
    }
    return digit;
}

double TextToReal(const CString &text) { return ReadReal(text.Text(), kFieldNumber).value_or(0.0); }

int32_t TextToInt(const CString &text) { return text.ToInt(); }

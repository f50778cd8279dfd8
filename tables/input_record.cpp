#include "tables/input_record.h"

#include <cstring>

#include "foundation/number_text.h"

CInputRecord::~CInputRecord() { ClearRecord(); }

void CInputRecord::ClearRecord() {
    delete record;
    record = nullptr;
    emptyTexts = 0;
    NamesChanged();
}

void CInputRecord::NewRecord() {
    emptyTexts = 0;
    NamesChanged();
    if (record != nullptr) {
        record->Clear();
        return;
    }
    record = new CStringHTable(CString());
}

bool CInputRecord::InsertField(const CString &fieldName, const CString &text) {
    if (record == nullptr || record->Insert(fieldName, text) == nullptr) return false;
    NamesChanged();
    if (text.IsEmpty()) ++emptyTexts;
    return true;
}

void CInputRecord::NamesChanged() {
    ++namesVersion;
    columnNames.clear();
    columnSlots.clear();
}

bool CInputRecord::SameColumns(const CString *names, size_t count) const {
    if (record == nullptr || count != columnNames.size()) return false;
    for (size_t i = 0; i < count; ++i)
        if (names[i].Text() != columnNames[i].Text() && !names[i].Equals(columnNames[i])) return false;
    return true;
}

void CInputRecord::LoadRow(const CString *names, const CString *texts, size_t count) {
    if (SameColumns(names, count)) {
        emptyTexts = 0;
        for (size_t i = 0; i < count; ++i) {
            if (columnSlots[i] < 0) continue;
            record->ValueAt(columnSlots[i]) = texts[i];
            if (texts[i].IsEmpty()) ++emptyTexts;
        }
        return;
    }
    NewRecord();
    std::vector<int32_t> slots(count, -1);
    for (size_t i = 0; i < count; ++i)
        if (InsertField(names[i], texts[i])) slots[i] = 0;
    // Slots are taken once every name is in: a growing table moves them.
    for (size_t i = 0; i < count; ++i)
        if (slots[i] == 0) slots[i] = record->FindIndex(names[i]);
    columnNames.assign(names, names + count);
    columnSlots = std::move(slots);
}

bool CInputRecord::HasField(const CString &fieldName) {
    if (record == nullptr) return false;
    if (!record->Find(fieldName).IsEmpty()) return true;
    return emptyTexts > 0 && record->FindIndex(fieldName) >= 0;
}

CString CInputRecord::FieldText(const CString &fieldName) {
    return record == nullptr ? CString() : record->Find(fieldName);
}

int32_t CInputRecord::SlotAnyCase(const CString &fieldName) {
    // The table holds exactly the record's fields, empty texts included.
    int32_t slot = record->FindIndex(fieldName);
    if (slot >= 0) return slot;
    CString name = fieldName;
    name.ToUpper();
    slot = record->FindIndex(name);
    if (slot >= 0) return slot;
    name.ToLower();
    return record->FindIndex(name);
}

bool CInputRecord::FindAnyCase(const CString &fieldName, CString &text) {
    if (record == nullptr) return false;
    const size_t bound = 1024 + 4 * static_cast<size_t>(record->Size());
    const int32_t slot =
        keptSlots.Answer(fieldName, namesVersion, bound, [&] { return SlotAnyCase(fieldName); });
    if (slot < 0) return false;
    text = record->ValueAt(slot);
    return true;
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

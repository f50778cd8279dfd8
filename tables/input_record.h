// CInputRecord: the current record of an input table, and the queries the
// database retrievers make on it.
//
// A record maps field names to field texts; the node's name is the field
// name. Every input table kind holds one; the run-time table's current input
// table supplies the record of a consultation. A field text is "numeric"
// when it is not empty and made only of digits and the characters ",", "-",
// ".", "E", "e"; it converts to a real with "," read as the decimal point,
// and to an integer by its leading integer part.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"

class CInputRecord {
public:
    CInputRecord() = default;
    virtual ~CInputRecord();
    CInputRecord(const CInputRecord &) = delete;
    CInputRecord &operator=(const CInputRecord &) = delete;

    // Drops the record; afterwards there is none.
    void ClearRecord();
    // Replaces the record by an empty one. A record already there is
    // emptied and keeps its slots, so that a batch, which loads a record of
    // the same fields per case, does not build and grow a table each time.
    void NewRecord();
    // Enters a field; a name already present keeps its first text. False
    // when the name is empty or present.
    bool InsertField(const CString &fieldName, const CString &text);

    // Queries by field name; a missing record has no fields.
    bool HasField(const CString &fieldName);
    CString FieldText(const CString &fieldName);  // empty when absent

    CStringHTable *record = nullptr;  // owned; a missing name reads as the empty text

private:
    // Fields whose text is empty. While there are none, a field is present
    // exactly when its text is not empty, which spares the full probe
    // sequence that telling an absent name from an empty text needs.
    int32_t emptyTexts = 0;
};

// The number test and the two conversions of a field text.
bool IsNumericText(const CString &text);
double TextToReal(const CString &text);
int32_t TextToInt(const CString &text);

// CInputRecord: the current record of an input table, and the queries the
// database retrievers make on it.
//
// A record maps field names to field texts; the node's name is the field
// name. Every input table kind holds one; the run-time table's current input
// table supplies the record of a consultation. A field text is "numeric"
// when it is not empty and made only of digits and the characters ",", "-",
// ".", "E", "e"; it converts to a real with "," read as the decimal point,
// and to an integer by its leading integer part.
//
// A batch loads a record of the same columns for every case, and its
// retrievers look the same names up in every record. A record loaded as a
// row of columns keeps its names while the columns stay, and only the texts
// change; a lookup that spans the three spellings of a name is kept per name
// for as long as the record's names stay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "foundation/string_collections.h"
#include "tables/kept_by_name.h"

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
    // Replaces the record by the fields `names[i]` with `texts[i]`, entered in
    // order as InsertField enters them. Names given as last time (the same
    // strings or equal ones) keep the record's table and its slots.
    void LoadRow(const CString *names, const CString *texts, size_t count);

    // Queries by field name; a missing record has no fields.
    bool HasField(const CString &fieldName);
    CString FieldText(const CString &fieldName);  // empty when absent
    // The field of the first of `fieldName`, its upper-case and its
    // lower-case form that the record has; false when it has none of them.
    bool FindAnyCase(const CString &fieldName, CString &text);

    // Owned; a missing name reads as the empty text. Read it freely, but
    // change it only through the methods above, which keep the slots.
    CStringHTable *record = nullptr;

private:
    // The record's names change: slots found before no longer hold.
    void NamesChanged();
    bool SameColumns(const CString *names, size_t count) const;
    int32_t SlotAnyCase(const CString &fieldName);

    // The columns of the last LoadRow while the record holds just their
    // names, with each column's slot (-1 for a name not entered: empty or
    // repeated).
    std::vector<CString> columnNames;
    std::vector<int32_t> columnSlots;
    // Counts every change of the record's names.
    uint64_t namesVersion = 0;
    // FindAnyCase's slot per name string.
    CKeptByName<int32_t> keptSlots;

    // Fields whose text is empty. While there are none, a field is present
    // exactly when its text is not empty, which spares the full probe
    // sequence that telling an absent name from an empty text needs.
    int32_t emptyTexts = 0;
};

// The number test and the two conversions of a field text.
bool IsNumericText(const CString &text);
double TextToReal(const CString &text);
int32_t TextToInt(const CString &text);

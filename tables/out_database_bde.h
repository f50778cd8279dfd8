// The engine output table ("odbbde"): one record appended per consultation.
//
// The parameter "odbbde" names the database (an alias), the output table
// parameters the table, the key value and the key column. Every field of the
// new record is set: the key column (its name as given, in lower or in upper
// case) to the key value; a field named like a node (as written, in upper or
// in lower case) to the node's current value with a decimal comma
// ("0,500000"); any other field to "?" (don't know). The key value is passed
// unchanged: a point in a key is part of the key, not a decimal point.
#pragma once

#include <cstdint>

#include "tables/out_database.h"
#include "tables/table_environment.h"

class CNode;

class COutDatabaseBDE : public COutDatabase {
public:
    explicit COutDatabaseBDE(CTableEnvironment &tableEnvironment);

    int32_t GetName(CString &kindName) override;
    // 0 when written or not asked for (a parameter missing); 2 when the
    // table cannot be opened or the record not stored.
    int32_t Write(CParameters *parameters, CInferenceNet *net, IEvidenceSource *source) override;
    // Appends the record of the consultation to the table.
    virtual int32_t WriteRecord(const CString &alias, const CString &tableName, CInferenceNet *net);

    CString keyColumnName;
    CString keyValue;

protected:
    // The text for a field: the key, a node's value, or "?".
    CString FieldValue(const CString &fieldName, CInferenceNet *net) const;

    CTableEnvironment &environment;

private:
    // One attempt of WriteRecord after the group was entered: 0, 2, or
    // kEngineTableChanged when the engine's kept table changed (nothing stored).
    int32_t WriteOnce(const CString &alias, const CString &tableName, CInferenceNet *net);
};

// The node named by a field name as written, in upper or in lower case.
CNode *FindNodeForField(CInferenceNet *net, const CString &fieldName);
// A value text with every "." made a "," (the engine's decimal comma).
CString WithDecimalComma(const CString &text);

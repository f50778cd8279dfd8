// The engine input table ("idbbde"): the record of a key in a database table.
//
// The parameter "idbbde" names the database (an alias), the input table
// parameters the table, the key value and the key column. The record holds
// every field of the first record whose key column equals the key, names and
// texts in lower case, a null field as "?" (don't know).
#pragma once

#include <cstdint>
#include <vector>

#include "tables/in_database.h"
#include "tables/input_record.h"
#include "tables/table_environment.h"

class CInDatabaseBDE : public CInDatabase, public CInputRecord {
public:
    explicit CInDatabaseBDE(CTableEnvironment &tableEnvironment);

    int32_t GetName(CString &kindName) override;
    int32_t Open(CParameters *parameters) override;

    // Replaces the record by that of the key; 2 on any engine error, a
    // missing key column or a key without a record. A table that changed
    // since the engine looked it up is opened again, once.
    virtual int32_t Load(const CString &alias, const CString &tableName, const CString &keyColumnName,
                         const CString &keyValue);

    int32_t keyColumn = -1;  // position of the key field among the field names

protected:
    CTableEnvironment &environment;

private:
    // Empties the record; 2.
    int32_t Fail();
    // One attempt of Load, leaving the record to it on failure: 0, 2, or
    // kEngineTableChanged.
    int32_t LoadOnce(const CString &alias, const CString &tableName, const CString &keyColumnName,
                     const CString &keyValue);
    // The first `count` names in lower case; the same strings as last time
    // when the engine gave the same names.
    const std::vector<CString> &LowerCaseNames(const CStringVector &given, size_t count);

    CStringVector names;               // the engine's field names, in a buffer kept from case to case
    std::vector<CString> engineNames;  // as the engine gave them last
    std::vector<CString> lowerNames;   // the same in lower case
    std::vector<CString> texts;        // the texts of the record being loaded
    const CString dontKnow{"?"};       // a null field's text, shared by every record
};

// The position of a field name in a list of field names, compared without
// regard to case as the database does; -1 when absent.
int32_t FindFieldName(const CStringVector &names, const CString &name);

// CInDatabase: an input table, the source of the record from which database
// retrievers take a node's answer.
//
// When a consultation starts, the run-time table opens its input tables in
// order; the first that becomes active supplies the consultation's record.
// The concrete kinds (name-value files, relational files, engine tables)
// decide from the knowledge-base parameters whether they are in use.
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "foundation/vector.h"

class CParameters;

class CInDatabase {
public:
    CInDatabase() = default;
    virtual ~CInDatabase() = default;
    CInDatabase(const CInDatabase &) = delete;
    CInDatabase &operator=(const CInDatabase &) = delete;

    // Delivers the kind name (the parameter that switches the kind on); 0.
    virtual int32_t GetName(CString &kindName) = 0;
    // Decides from the parameters whether the kind is in use and, if so,
    // loads the record; sets `active` exactly when a record was loaded.
    virtual int32_t Open(CParameters *parameters) = 0;

    bool active = false;  // opened successfully and holding a record
};

using CInDatabaseArray = CVector<CInDatabase *>;

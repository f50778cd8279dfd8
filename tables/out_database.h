// COutDatabase: an output table that receives the outcome of a consultation.
//
// After a consultation has investigated its goals, the run-time table lets
// every output table write; a kind whose parameters are absent writes
// nothing. The concrete kinds (name-value files, relational files, engine
// tables) follow.
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "foundation/vector.h"

class CParameters;
class CInferenceNet;
class CTable;

class COutDatabase {
public:
    COutDatabase() = default;
    virtual ~COutDatabase() = default;
    COutDatabase(const COutDatabase &) = delete;
    COutDatabase &operator=(const COutDatabase &) = delete;

    // Delivers the kind name (the parameter that switches the kind on); 0.
    virtual int32_t GetName(CString &kindName) = 0;
    // Writes the consultation held by the net; 0 or 2, never reported.
    virtual int32_t Write(CParameters *parameters, CInferenceNet *net, CTable *table) = 0;
};

using COutDatabaseArray = CVector<COutDatabase *>;

// The knowledge-base parameters that tell a table which row or record is
// meant: the key column, the key value and the engine table.
//
// Each comes from the table's own parameter when present, else from a
// parameter shared by input and output: the key value from "idbrecord" or
// "odbrecord", else "dbrecord"; the key column name is "header" unless
// "dbheadername" exists, which "idbheadername" or "odbheadername" override in
// turn; the engine table from "idbbdetable" or "odbbdetable", else
// "bdetablename". A parameter counts when it exists, whatever its value.
#pragma once

#include "foundation/cstring.h"

class CParameters;

// The parameters of one direction (input or output).
struct CTableParamNames {
    const char *record;      // "idbrecord" / "odbrecord"
    const char *headerName;  // "idbheadername" / "odbheadername"
    const char *table;       // "idbbdetable" / "odbbdetable"
};

extern const CTableParamNames kInputParams;
extern const CTableParamNames kOutputParams;

CString KeyColumnName(CParameters *parameters, const CTableParamNames &names);
// False when neither key parameter exists.
bool KeyValue(CParameters *parameters, const CTableParamNames &names, CString &key);
// False when neither table parameter exists.
bool EngineTableName(CParameters *parameters, const CTableParamNames &names, CString &table);

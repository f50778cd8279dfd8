#include "tables/table_params.h"

#include <initializer_list>

#include "net/params.h"

const CTableParamNames kInputParams = {"idbrecord", "idbheadername", "idbbdetable"};
const CTableParamNames kOutputParams = {"odbrecord", "odbheadername", "odbbdetable"};

// The value of the first of two parameters that exists.
static bool FirstOf(CParameters *parameters, const char *own, const char *shared, CString &value) {
    for (const char *name : {own, shared}) {
        if (parameters->HasParam(name)) {
            value = parameters->GetParam(name);
            return true;
        }
    }
    return false;
}

CString KeyColumnName(CParameters *parameters, const CTableParamNames &names) {
    CString column = "header";
    FirstOf(parameters, names.headerName, "dbheadername", column);
    return column;
}

bool KeyValue(CParameters *parameters, const CTableParamNames &names, CString &key) {
    return FirstOf(parameters, names.record, "dbrecord", key);
}

bool EngineTableName(CParameters *parameters, const CTableParamNames &names, CString &table) {
    return FirstOf(parameters, names.table, "bdetablename", table);
}

// Knowledge-base parameters.
//
// A knowledge base sets parameters in its net block (`setparam`) or names
// parameters to be asked of the user at the start of every consultation
// (`askparam`). They select report files, input and output tables, batch runs
// and the help directory. Names and values are case-sensitive texts; a name
// that was never set reads as "0". The first statement for a name wins.
#pragma once

#include "foundation/string_collections.h"
#include "foundation/vector.h"

class IEvidenceSource;

// One parameter to ask at the start of a consultation.
struct CParamAsk {
    explicit CParamAsk(const CString &paramName) : name(paramName) {}
    CString name;
};

using CParamAskArray = CVector<CParamAsk *>;

class CParameters {
public:
    CParameters();
    ~CParameters();
    CParameters(const CParameters &) = delete;
    CParameters &operator=(const CParameters &) = delete;

    // Statements of the knowledge base
    // `askparam`: 2 (and no change) when the name is present already; otherwise
    // the name is stored with the empty value and queued to be asked.
    int AddAskParam(const CString &name);
    // `setparam`: stores the pair when the name is absent (0); keeps the old
    // value and returns 2 when it is present.
    int SetParam(const CString &name, const CString &value);

    // Queries
    bool HasParam(const CString &name);
    CString GetParam(const CString &name);  // "0" when absent
    void RemoveParam(const CString &name);

    // Asks every `askparam` parameter anew through the evidence source, in
    // statement order, then lets the source open its batch from the
    // parameters. The first non-zero code ends it.
    int AskParameters(IEvidenceSource *evidence);

    const CParamAskArray &Asks() const { return asks; }
    bool asked = false;  // the parameters of the current consultation have been asked

private:
    CStringHTable values;
    CParamAskArray asks;
};

#include "net/params.h"

#include "net/evidence_source.h"

namespace {
const char *const kAbsent = "0";
}

CParameters::CParameters() : values(CString(kAbsent)) {}

CParameters::~CParameters() {
    for (int32_t i = 0; i < asks.Count(); ++i) delete asks.At(i);
}

int CParameters::AddAskParam(const CString &name) {
    if (HasParam(name)) return 2;
    if (values.Insert(name, CString()) == nullptr) return 2;  // an empty name
    asks.Add(new CParamAsk(name));
    return 0;
}

int CParameters::SetParam(const CString &name, const CString &value) {
    return values.Insert(name, value) != nullptr ? 0 : 2;
}

bool CParameters::HasParam(const CString &name) { return values.FindIndex(name) >= 0; }

CString CParameters::GetParam(const CString &name) { return values.Find(name); }

void CParameters::RemoveParam(const CString &name) { values.Remove(name); }

int CParameters::AskParameters(IEvidenceSource *evidence) {
    for (int32_t i = 0; i < asks.Count(); ++i) RemoveParam(asks.At(i)->name);
    for (int32_t i = 0; i < asks.Count(); ++i) {
        int code = evidence->AskParams(asks.At(i), this);
        if (code != 0) return code;
    }
    int code = evidence->OpenBatch(this);
    if (code != 0) return code;
    asked = true;
    return 0;
}

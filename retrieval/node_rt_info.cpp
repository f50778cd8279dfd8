#include "retrieval/node_rt_info.h"

#include "retrieval/param_record.h"

CRetrWithData::~CRetrWithData() { delete data; }

CNodeRTInfo::~CNodeRTInfo() {
    for (int32_t i = 0; i < retrievers.Count(); ++i) delete retrievers.At(i);
    delete translatorData;
}

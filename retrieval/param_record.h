// CParamRecord: the parameters of one retriever or translator for one node.
//
// A retriever or translator that takes parameters in a knowledge base (the
// options of a choice question, the point table of a value translator) reads
// them into a record of its own kind derived from this one. The run-time table
// owns each record with the node's attachment and hands it back at every
// retrieval and translation.
#pragma once

class CParamRecord {
public:
    CParamRecord() = default;
    virtual ~CParamRecord() = default;
    CParamRecord(const CParamRecord &) = delete;
    CParamRecord &operator=(const CParamRecord &) = delete;
};

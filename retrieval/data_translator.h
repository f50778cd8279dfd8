// CDataTranslator: turns a retrieved answer into a node's probability.
//
// Every askable node has one translator, shared by all its retrievers. A
// translator is registered under a name; it may read parameters for a node
// (a point table, option probabilities) from the knowledge base, and turns the
// retrieved-data record of a node into a value in [0, 1].
#pragma once

#include <cstdint>

#include "foundation/cstring.h"

class ITokenReader;
class CParamRecord;
class CRetrievedData;

class CDataTranslator {
public:
    CDataTranslator() = default;
    virtual ~CDataTranslator() = default;
    CDataTranslator(const CDataTranslator &) = delete;
    CDataTranslator &operator=(const CDataTranslator &) = delete;

    // Sets `value` from the record, using the node's parameter record `data`
    // (or null); 0 on success.
    virtual int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) = 0;
    // Delivers the translator's registry name; 0.
    virtual int32_t GetName(CString &translatorName) = 0;
    // Reads the translator's parameters for a node, the compiler standing on
    // the first token inside the translator clause; a new record (or null)
    // goes into `data`. The default reads nothing and returns 0.
    virtual int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data);
};

// Run-time records of the attachments of askable nodes.
//
// CRetrWithData is one retriever attached to one node, with the retriever's
// parameter record for that node. CNodeRTInfo is everything the run-time table
// knows about one node: its translator with the translator's parameter record,
// and its retrievers in the order they were attached (the fallback chain of a
// retrieval). Both own their parameter records; CNodeRTInfo owns its
// attachments. Retrievers and translators belong to the registry.
#pragma once

#include "foundation/hash_table.h"
#include "foundation/vector.h"

class CDataRetriever;
class CDataTranslator;
class CParamRecord;

class CRetrWithData {
public:
    CRetrWithData(CDataRetriever *dataRetriever, CParamRecord *retrieverData)
        : retriever(dataRetriever), data(retrieverData) {}
    virtual ~CRetrWithData();
    CRetrWithData(const CRetrWithData &) = delete;
    CRetrWithData &operator=(const CRetrWithData &) = delete;

    CDataRetriever *retriever;
    CParamRecord *data;  // owned; may be null
};

using CRetrWithDataArray = CVector<CRetrWithData *>;

class CNodeRTInfo {
public:
    CNodeRTInfo(CDataTranslator *dataTranslator, CParamRecord *dataOfTranslator)
        : translator(dataTranslator), translatorData(dataOfTranslator) {}
    virtual ~CNodeRTInfo();
    CNodeRTInfo(const CNodeRTInfo &) = delete;
    CNodeRTInfo &operator=(const CNodeRTInfo &) = delete;

    CDataTranslator *translator;
    CParamRecord *translatorData;  // owned; may be null
    CRetrWithDataArray retrievers;  // owning, in order of attachment
};

using CNodeRTInfoArray = CVector<CNodeRTInfo *>;
using CNodeRTInfoHTable = CHashTable<CNodeRTInfo *>;

// CDataRetriever: a retriever that obtains the evidence for one node.
//
// A data retriever is registered under a name and names the translator its
// answers need. At compile time it may read its own parameters for a node from
// the knowledge base; at consultation time it produces a retrieved-data record
// for the node, which the node's translator turns into a probability.
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "retrieval/retriever.h"

class CNode;
class CInferenceNet;
class CTable;
class ITokenReader;
class CParamRecord;
class CRetrievedData;

class CDataRetriever : public CRetriever {
public:
    // Retrieves evidence for `node`; on 0, `out` receives a new record owned
    // by the caller. Any other code means no answer (the next retriever of
    // the node is tried). `data` is this retriever's record for the node.
    virtual int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                             CRetrievedData *&out) = 0;
    // Delivers the retriever's registry name and its translator's name; 0.
    virtual int32_t GetNames(CString &retrieverName, CString &translatorName) = 0;
    // Reads the retriever's parameters for a node from the knowledge base,
    // the compiler standing on the retriever's name; a new record (or null)
    // goes into `data`. The default reads nothing and returns 0.
    virtual int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data);
    // Prepares the node's record for a new consultation; the default does
    // nothing.
    virtual void Reset(CParamRecord *data);

    // The body of every GetNames: delivers the two constant names; 0.
    static int32_t DeliverNames(CString &retrieverName, CString &translatorName, const char *retriever,
                                const char *translator);
};

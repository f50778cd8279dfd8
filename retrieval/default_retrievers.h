// The default retrievers: they never fail and always answer "Don't know",
// in the record kind of their translator, which every translator turns into
// the node's a-priori value. Listed last in a node's retrievers they make a
// silent fallback: (dbprob, dnprob) never asks the user.
//   "dnprob"                               a probability record, don't know
//   "dncf"                                 a certainty factor of 0
//   "dnvalue", "dns", "dnvaluex", "dnsx"   a value record, don't know
//   "dnchoice"                             a choice record, don't know
//   "notknown"                             the don't-know record
#pragma once

#include <cstdint>

#include "retrieval/choice_abstract.h"
#include "retrieval/data_retriever.h"

class CDRDNProb : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDNCertFact : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDNValue : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDNS : public CDRDNValue {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDNValueEx : public CDRDNValue {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDNSX : public CDRDNValue {
public:
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

// Reads the option list like every choice retriever, and does not use it.
class CDRDNChoice : public CDRChoiceAbstract {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

class CDRDontKnow : public CDataRetriever {
public:
    void Cancel() override {}
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
};

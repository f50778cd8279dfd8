// The default retrievers: they never fail and always answer "Don't know",
// in the record kind of their translator, which every translator turns into
// the node's a-priori value. Listed last in a node's retrievers they make a
// silent fallback: (dbprob, dnprob) never asks the user.
//
// One class serves them all; its row (retrieval/registry_rows.h) names the
// retriever and its translator and gives the kind of record:
//   "dnprob"                               a probability record, don't know
//   "dncf"                                 a certainty factor of 0
//   "dnvalue", "dns", "dnvaluex", "dnsx"   a value record, don't know
//   "dnchoice"                             a choice record, don't know; reads
//                                          the option list and does not use it
//   "notknown"                             the don't-know record
#pragma once

#include <cstdint>

#include "retrieval/row_retriever.h"

class CDRDefault : public CRowRetriever {
public:
    using CRowRetriever::CRowRetriever;

    // 0 with the don't-know record of the row's kind; a retriever called
    // without a node answers with an a-priori value of 0. A kind without a
    // don't-know record (an interval) fails with 2.
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
};

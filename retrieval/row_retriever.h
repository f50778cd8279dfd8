// CRowRetriever: the base of the data retrievers configured by a row
// (retrieval/retriever_row.h).
//
// The row gives the names the retriever delivers and decides what it reads
// from the knowledge base: a retriever of choices reads the node's option
// list, like every choice retriever (retrieval/choice_abstract.h); the others
// read nothing. Retrievers that never wait have nothing to cancel.
#pragma once

#include <cstdint>

#include "retrieval/data_retriever.h"
#include "retrieval/retriever_row.h"

class CRowRetriever : public CDataRetriever {
public:
    explicit CRowRetriever(const CRetrieverRow &retrieverRow) : row(retrieverRow) {}

    void Cancel() override {}
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;
    int32_t ReadParameters(ITokenReader *compiler, CParamRecord *&data) override;

    const CRetrieverRow row;
};

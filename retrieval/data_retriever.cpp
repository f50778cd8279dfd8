#include "retrieval/data_retriever.h"

int32_t CDataRetriever::ReadParameters(ITokenReader * /*compiler*/, CParamRecord *& /*data*/) { return 0; }

void CDataRetriever::Reset(CParamRecord * /*data*/) {}

int32_t CDataRetriever::DeliverNames(CString &retrieverName, CString &translatorName, const char *retriever,
                                     const char *translator) {
    retrieverName = retriever;
    translatorName = translator;
    return 0;
}

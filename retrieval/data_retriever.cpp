#include "retrieval/data_retriever.h"

int32_t CDataRetriever::ReadParameters(CCompiler * /*compiler*/, CParamRecord *& /*data*/) { return 0; }

void CDataRetriever::Reset(CParamRecord * /*data*/) {}

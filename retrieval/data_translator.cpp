#include "retrieval/data_translator.h"

int32_t CDataTranslator::ReadParameters(ITokenReader * /*compiler*/, CParamRecord *& /*data*/) { return 0; }

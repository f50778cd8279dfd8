#include "retrieval/data_translator.h"

int32_t CDataTranslator::ReadParameters(CCompiler * /*compiler*/, CParamRecord *& /*data*/) { return 0; }

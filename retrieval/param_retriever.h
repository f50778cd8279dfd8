// CParamRetriever: asks the user for the value of one knowledge-base parameter.
#pragma once

#include <cstdint>

#include "retrieval/retriever.h"

struct CParamAsk;
class CParameters;

class CParamRetriever : public CRetriever {
public:
    // Asks for the parameter and stores the answer with SetParam; 0, or 2
    // when cancelled.
    virtual int32_t Retrieve(CParamAsk *ask, CParameters *parameters) = 0;
};

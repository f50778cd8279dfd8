// CTaxonomyRetriever: asks the user which taxonomy classes to consult.
//
// Before the goals of a consultation are investigated, the user may narrow
// them to classes of the net's hypothesis taxonomies; the retriever picks the
// classes through the net's SelectClass and ApplySelection.
#pragma once

#include <cstdint>

#include "retrieval/retriever.h"

class CInfTaxNet;

class CTaxonomyRetriever : public CRetriever {
public:
    // 0 when done or when there is nothing to ask; 2 when cancelled.
    virtual int32_t Retrieve(CInfTaxNet *net) = 0;
};

// CRetrieverInfo: a registry entry pairing a data retriever with the
// translator its answers need. Both pointers are non-owning; the registry owns
// the objects.
#pragma once

class CDataRetriever;
class CDataTranslator;

class CRetrieverInfo {
public:
    CRetrieverInfo(CDataRetriever *dataRetriever, CDataTranslator *dataTranslator)
        : retriever(dataRetriever), translator(dataTranslator) {}

    CDataRetriever *retriever;
    CDataTranslator *translator;
};

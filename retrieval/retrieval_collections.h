// Named collections of the retrieval framework's objects.
//
// Arrays and tables hold non-owning pointers unless their owner says
// otherwise.
#pragma once

#include "foundation/hash_table.h"
#include "foundation/vector.h"

class CDataRetriever;
class CDataTranslator;
class CRetrieverInfo;
class CRetrievedData;

using CDataRetrieverArray = CVector<CDataRetriever *>;
using CCDataTranslatorArray = CVector<CDataTranslator *>;
using CRetrieverInfoHTable = CHashTable<CRetrieverInfo *>;
using CTranslatorHTable = CHashTable<CDataTranslator *>;
using CRetrievedDataHTable = CHashTable<CRetrievedData *>;

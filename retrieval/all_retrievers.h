// CAllRetrievers: the process-wide registry of retrievers, translators, input
// and output tables, batch iterators and the two special retrievers.
//
// One registry is created at start-up and shared, read-only, by every build:
// each new run-time table receives a copy of it by name (CopyIntoTable), and
// the knowledge base then binds its nodes to registry entries by those names.
// The registry owns every object it holds. CAllRetrieversWin is the registry
// of the interactive program; its constructor creates the objects in the
// registry's fixed order, bound to the front end's record of windows (the
// questions ask through it) and to a table environment (the tables resolve
// their files and aliases in it). A front end makes one registry for the
// windows and environment it owns; two registries share nothing, so
// consultations built from them run apart, also on two threads.
#pragma once

#include <cstdint>

#include "retrieval/retrieval_collections.h"
#include "tables/batch_iterator.h"
#include "tables/in_database.h"
#include "tables/out_database.h"

class CTable;
class CTableEnvironment;
struct CUserInterface;
class CTaxonomyRetriever;
class CParamRetriever;

class CAllRetrievers {
public:
    CAllRetrievers();
    virtual ~CAllRetrievers();
    CAllRetrievers(const CAllRetrievers &) = delete;
    CAllRetrievers &operator=(const CAllRetrievers &) = delete;

    // Copies the registry into a fresh run-time table: translators, data
    // retrievers, input tables, output tables, batch iterators, then the
    // taxonomy and parameter retrievers. 2 at the first duplicate name or
    // unknown translator, else 0.
    int32_t CopyIntoTable(CTable *table) const;

    // The registry's objects, in creation order
    CDataRetrieverArray retrievers;
    CCDataTranslatorArray translators;
    CInDatabaseArray inDatabases;
    COutDatabaseArray outDatabases;
    CTaxonomyRetriever *taxonomyRetriever;
    CParamRetriever *paramRetriever;
    CBatchIteratorArray batchIterators;
    // The environment of the registry's tables; null when it has none.
    CTableEnvironment *environment = nullptr;

protected:
    // Filling, for the constructors of concrete registries; the registry
    // takes ownership.
    void Add(CDataRetriever *retriever);
    void Add(CDataTranslator *translator);
    void Add(CInDatabase *database);
    void Add(COutDatabase *database);
    void Add(CBatchIterator *iterator);
    void SetTaxonomyRetriever(CTaxonomyRetriever *retriever);
    void SetParamRetriever(CParamRetriever *retriever);
};

// The registry of the interactive program.
class CAllRetrieversWin : public CAllRetrievers {
public:
    // Neither is owned; both must outlive the registry.
    CAllRetrieversWin(const CUserInterface &ui, CTableEnvironment &tableEnvironment);
};

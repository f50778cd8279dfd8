#include "retrieval/all_retrievers.h"

#include "net/table.h"
#include "retrieval/choice_translator.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/db_retrievers.h"
#include "retrieval/default_retrievers.h"
#include "retrieval/param_retriever.h"
#include "retrieval/param_retriever_win.h"
#include "retrieval/question_retrievers.h"
#include "retrieval/simple_translators.h"
#include "retrieval/taxonomy_retriever.h"
#include "retrieval/taxonomy_retriever_win.h"
#include "retrieval/value_translators.h"
#include "tables/table_formats.h"

CAllRetrievers::CAllRetrievers() : taxonomyRetriever(nullptr), paramRetriever(nullptr) {}

CAllRetrievers::~CAllRetrievers() {
    for (int32_t i = 0; i < retrievers.Count(); ++i) delete retrievers.At(i);
    for (int32_t i = 0; i < translators.Count(); ++i) delete translators.At(i);
    for (int32_t i = 0; i < inDatabases.Count(); ++i) delete inDatabases.At(i);
    for (int32_t i = 0; i < outDatabases.Count(); ++i) delete outDatabases.At(i);
    for (int32_t i = 0; i < batchIterators.Count(); ++i) delete batchIterators.At(i);
    delete taxonomyRetriever;
    delete paramRetriever;
}

int32_t CAllRetrievers::CopyIntoTable(CTable *table) const {
    // Translators first: every retriever names one that must be there.
    for (int32_t i = 0; i < translators.Count(); ++i)
        if (table->RegisterTranslator(translators.At(i)) != 0) return 2;
    for (int32_t i = 0; i < retrievers.Count(); ++i)
        if (table->RegisterRetriever(retrievers.At(i)) != 0) return 2;
    for (int32_t i = 0; i < inDatabases.Count(); ++i) table->AddInDatabase(inDatabases.At(i));
    for (int32_t i = 0; i < outDatabases.Count(); ++i) table->AddOutDatabase(outDatabases.At(i));
    for (int32_t i = 0; i < batchIterators.Count(); ++i) table->AddBatchIterator(batchIterators.At(i));
    table->SetTaxonomyRetriever(taxonomyRetriever);
    table->SetParamRetriever(paramRetriever);
    return 0;
}

void CAllRetrievers::Add(CDataRetriever *retriever) { retrievers.Add(retriever); }

void CAllRetrievers::Add(CDataTranslator *translator) { translators.Add(translator); }

void CAllRetrievers::Add(CInDatabase *database) { inDatabases.Add(database); }

void CAllRetrievers::Add(COutDatabase *database) { outDatabases.Add(database); }

void CAllRetrievers::Add(CBatchIterator *iterator) { batchIterators.Add(iterator); }

void CAllRetrievers::SetTaxonomyRetriever(CTaxonomyRetriever *retriever) {
    delete taxonomyRetriever;
    taxonomyRetriever = retriever;
}

void CAllRetrievers::SetParamRetriever(CParamRetriever *retriever) {
    delete paramRetriever;
    paramRetriever = retriever;
}

// The registry of the interactive program, one line per object in the
// registry's fixed order: the "notknown" retriever and translator, then per
// answer kind its default, question and table retrievers followed by their
// translator ("prob", "cf", "value", "valuex", "interval", "choice"), then
// the kinds of the table formats' rows (see tables/table_formats.h): their
// input tables, output tables and batch iterators, and last the taxonomy and
// parameter retrievers.
CAllRetrieversWin::CAllRetrieversWin() {
    Add(new CDRDontKnow);
    Add(new CDTDontKnow);
    Add(new CDRDNProb);
    Add(new CDRWinProb);
    Add(new CDRDBProb);
    Add(new CDTProb);
    Add(new CDRDNCertFact);
    Add(new CDRWinCertFact);
    Add(new CDRDBCertFact);
    Add(new CDTCertFactor);
    Add(new CDRDNValue);
    Add(new CDRWinValue);
    Add(new CDRWinS);
    Add(new CDRDNS);
    Add(new CDRDBValue);
    Add(new CDRDBS);
    Add(new CDTValue);
    Add(new CDRDNValueEx);
    Add(new CDRWinValueEx);
    Add(new CDRWinSX);
    Add(new CDRDNSX);
    Add(new CDRDBValueEx);
    Add(new CDRDBSX);
    Add(new CDTValueEx);
    Add(new CDRWinInterval);
    Add(new CDRWinQ);
    Add(new CDTInterval);
    Add(new CDRDNChoice);
    Add(new CDRWinChoice);
    Add(new CDRDBChoice);
    Add(new CDTChoice);
    for (const CTableFormat &format : kTableFormats) Add(NewInDatabase(format));
    for (const CTableFormat &format : kTableFormats) Add(NewOutDatabase(format));
    for (const CTableFormat &format : kTableFormats) {
        if (*format.batch != '\0') Add(NewBatchIterator(format));
    }
    SetTaxonomyRetriever(new CWinTaxonomyRetriever);
    SetParamRetriever(new CParamRetrieverWin);
}

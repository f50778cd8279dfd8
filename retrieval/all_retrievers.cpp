#include "retrieval/all_retrievers.h"

#include <cstring>
#include <span>

#include "retrieval/table.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/param_retriever.h"
#include "retrieval/param_retriever_win.h"
#include "retrieval/registry_rows.h"
#include "retrieval/taxonomy_retriever.h"
#include "retrieval/taxonomy_retriever_win.h"
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

namespace {

// Whether the row at `i` is the last one of its translator's retrievers.
bool EndsItsTranslator(std::span<const CRetrieverRow> rows, size_t i) {
    return i + 1 == rows.size() || std::strcmp(rows[i + 1].translator, rows[i].translator) != 0;
}

}  // namespace

// The registry of the interactive program: the retriever rows in their
// order, each translator after the last retriever that names it (see
// registry_rows.h), then the input tables, output tables and batch
// iterators of the table formats' rows (see tables/table_formats.h), and last
// the taxonomy and parameter retrievers.
CAllRetrieversWin::CAllRetrieversWin(const CUserInterface &ui, CTableEnvironment &tableEnvironment) {
    environment = &tableEnvironment;
    const std::span<const CRetrieverRow> rows = RegistryRetrieverRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        Add(NewRetriever(rows[i], ui, &tableEnvironment));
        if (EndsItsTranslator(rows, i)) Add(NewTranslator(rows[i].translator));
    }
    for (const CTableFormat &format : kTableFormats) Add(NewInDatabase(format, tableEnvironment));
    for (const CTableFormat &format : kTableFormats) Add(NewOutDatabase(format, tableEnvironment));
    for (const CTableFormat &format : kTableFormats) {
        if (*format.batch != '\0') Add(NewBatchIterator(format, tableEnvironment));
    }
    SetTaxonomyRetriever(new CWinTaxonomyRetriever(ui, &tableEnvironment));
    SetParamRetriever(new CParamRetrieverWin(ui, &tableEnvironment));
}

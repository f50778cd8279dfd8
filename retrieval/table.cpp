#include "retrieval/table.h"

#include <cmath>

#include "net/params.h"
#include "net/node.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/param_record.h"
#include "retrieval/param_retriever.h"
#include "retrieval/retrieved_data.h"
#include "retrieval/retriever_info.h"
#include "retrieval/taxonomy_retriever.h"
#include "tables/database_location.h"
#include "tables/input_record.h"

namespace {

// Publishes the retriever that is running in `current` for as long as the
// guard lives, so that an abort can reach it.
class CurrentRetrieverGuard {
public:
    CurrentRetrieverGuard(CRetriever *&current, CRetriever *running) : slot(current) { slot = running; }
    ~CurrentRetrieverGuard() { slot = nullptr; }
    CurrentRetrieverGuard(const CurrentRetrieverGuard &) = delete;
    CurrentRetrieverGuard &operator=(const CurrentRetrieverGuard &) = delete;

private:
    CRetriever *&slot;
};

}  // namespace

CTable::CTable()
    : taxonomyRetriever(nullptr),
      paramRetriever(nullptr),
      parameters(nullptr),
      currentInDatabase(nullptr),
      retrievedData(nullptr),
      keepRetrievedData(true),
      currentRetriever(nullptr),
      batchRunning(false),
      context(&ownContext) {}

CTable::~CTable() {
    ClearRetrievedData();
    for (int32_t i = 0; i < rtInfos.Count(); ++i) delete rtInfos.At(i);
    retrieverIndex.ClearAndDelete();
}

// ---------------------------------------------------------------- filling

int32_t CTable::RegisterTranslator(CDataTranslator *translator) {
    CString name;
    translator->GetName(name);
    return translatorIndex.Insert(name, translator) != nullptr ? 0 : 2;
}

int32_t CTable::RegisterRetriever(CDataRetriever *retriever) {
    CString name;
    CString translatorName;
    retriever->GetNames(name, translatorName);
    if (name.IsEmpty() || retrieverIndex.Find(name) != nullptr) return 2;
    CDataTranslator *translator = translatorIndex.Find(translatorName);
    if (translator == nullptr) return 2;
    retrieverIndex.Insert(name, new CRetrieverInfo(retriever, translator));
    return 0;
}

int32_t CTable::AliasRetriever(const CString &newName, const CString &existingName) {
    if (newName.IsEmpty() || retrieverIndex.Find(newName) != nullptr) return 2;
    const CRetrieverInfo *existing = retrieverIndex.Find(existingName);
    if (existing == nullptr) return 2;
    retrieverIndex.Insert(newName, new CRetrieverInfo(existing->retriever, existing->translator));
    return 0;
}

void CTable::AddInDatabase(CInDatabase *database) { inDatabases.Add(database); }

void CTable::AddOutDatabase(COutDatabase *database) { outDatabases.Add(database); }

void CTable::AddBatchIterator(CBatchIterator *iterator) { batchIterators.Add(iterator); }

void CTable::SetTaxonomyRetriever(CTaxonomyRetriever *retriever) { taxonomyRetriever = retriever; }

void CTable::SetParamRetriever(CParamRetriever *retriever) { paramRetriever = retriever; }

CRetrieverInfo *CTable::FindRetrieverInfo(const CString &retrieverName) { return retrieverIndex.Find(retrieverName); }

CDataTranslator *CTable::FindTranslator(const CString &translatorName) { return translatorIndex.Find(translatorName); }

CNodeRTInfo *CTable::FindRTInfo(const CString &nodeName) { return rtInfoIndex.Find(nodeName); }

// ---------------------------------------------------------------- attaching

int32_t CTable::AttachRetriever(const CString &nodeName, const CString &retrieverName, CParamRecord *retrieverData,
                                CParamRecord *translatorData) {
    const CRetrieverInfo *entry = retrieverIndex.Find(retrieverName);
    if (entry == nullptr || nodeName.IsEmpty()) {
        delete retrieverData;
        delete translatorData;
        return 2;
    }
    auto *info = new CNodeRTInfo(entry->translator, translatorData);
    Attach(info, entry->retriever, retrieverData);
    rtInfoIndex.Insert(nodeName, info);  // a second info under the name stays unindexed
    ++rtInfoVersion;
    rtInfos.Add(info);
    return 0;
}

int32_t CTable::AddRetriever(const CString &nodeName, const CString &retrieverName, CParamRecord *retrieverData) {
    const CRetrieverInfo *entry = retrieverIndex.Find(retrieverName);
    CNodeRTInfo *info = rtInfoIndex.Find(nodeName);
    if (entry == nullptr || info == nullptr || entry->translator != info->translator) {
        delete retrieverData;
        return 2;
    }
    Attach(info, entry->retriever, retrieverData);
    return 0;
}

void CTable::Attach(CNodeRTInfo *info, CDataRetriever *retriever, CParamRecord *retrieverData) {
    auto *attachment = new CRetrWithData(retriever, retrieverData);
    info->retrievers.Add(attachment);
    if (retriever->NeedsReset()) resetList.Add(attachment);
}

namespace {

// Runs a parameter reader into `slot`. A record produced by a failed reader
// is not used; a record replaced by a successful one is released.
template <typename Reader>
int32_t ReadInto(CParamRecord *&slot, Reader read) {
    CParamRecord *record = slot;
    const int32_t code = read(record);
    if (code != 0) {
        if (record != slot) delete record;
        return code;
    }
    if (record != slot) {
        delete slot;
        slot = record;
    }
    return 0;
}

}  // namespace

int32_t CTable::ParseRetrieverParams(const CString &nodeName, ITokenReader *compiler) {
    CNodeRTInfo *info = rtInfoIndex.Find(nodeName);
    if (info == nullptr || info->retrievers.Count() == 0) return 2;
    CRetrWithData *last = info->retrievers.At(info->retrievers.Count() - 1);
    return ReadInto(last->data, [&](CParamRecord *&record) { return last->retriever->ReadParameters(compiler, record); });
}

int32_t CTable::ParseTranslatorParams(const CString &nodeName, ITokenReader *compiler) {
    CNodeRTInfo *info = rtInfoIndex.Find(nodeName);
    if (info == nullptr || info->translator == nullptr) return 2;
    return ReadInto(info->translatorData,
                    [&](CParamRecord *&record) { return info->translator->ReadParameters(compiler, record); });
}

// ---------------------------------------------------------------- consulting

int32_t CTable::StartConsultation(CInferenceNet * /*net*/, CParameters *consultationParameters) {
    // The records of the last consultation go; their table and its slots
    // stay for this one.
    if (retrievedData != nullptr)
        retrievedData->ClearAndDelete();
    else
        retrievedData = new CRetrievedDataHTable(nullptr);
    parameters = consultationParameters;
    currentInDatabase = nullptr;
    castInDatabase = nullptr;
    castInputRecord = nullptr;
    for (int32_t i = 0; i < inDatabases.Count(); ++i) {
        CInDatabase *database = inDatabases.At(i);
        database->Open(parameters);
        if (!BatchRecordFound(database)) return 2;
        if (database->active) {
            currentInDatabase = database;
            break;
        }
    }
    for (int32_t i = 0; i < resetList.Count(); ++i) resetList.At(i)->retriever->Reset(resetList.At(i)->data);
    return 0;
}

bool CTable::BatchRecordFound(CInDatabase *opened) {
    if (currentBatchIterator == nullptr || opened->active) return true;
    CString kind;
    opened->GetName(kind);
    if (!kind.Equals(currentBatchIterator->SourceKind()) || !parameters->HasParam(kind)) return true;
    // The keys and the reader disagree on which rows exist (a blank line
    // ends what the reader sees): the case would be consulted without its
    // record, as if every answer were unknown.
    // The source may be a database location with a password in it.
    context->faults.Add(std::string("No record for key ") + parameters->GetParam("idbrecord").Text() + " in " +
                        WithoutPassword(parameters->GetParam(kind).Text()) + ": the case was not consulted");
    return false;
}

int32_t CTable::RetrieveNodeValue(CNode *node, float &value, CInferenceNet *net) {
    currentRetriever = nullptr;
    if (node == nullptr) return 2;
    const size_t bound = 1024 + 4 * static_cast<size_t>(rtInfoIndex.Size());
    CNodeRTInfo *info =
        keptRTInfos.Answer(node->name, rtInfoVersion, bound, [&] { return rtInfoIndex.Find(node->name); });
    if (info == nullptr) return 2;
    CRetrievedData *record = nullptr;
    CDataRetriever *answeredBy = nullptr;
    for (int32_t i = 0; i < info->retrievers.Count() && record == nullptr; ++i) {
        CRetrWithData *attachment = info->retrievers.At(i);
        CRetrievedData *answer = nullptr;
        int32_t code = 0;
        {
            CurrentRetrieverGuard running(currentRetriever, attachment->retriever);
            code = attachment->retriever->Retrieve(node, net, this, attachment->data, answer);
        }
        // A retriever that claims success without a record has not answered.
        if (code == 0) {
            record = answer;
            answeredBy = attachment->retriever;
        }
    }
    if (record == nullptr) return 2;

    float translated = value;
    int32_t result = info->translator->Translate(info->translatorData, record, translated);
    record->answeredBy = answeredBy;
    record->translation = result;
    record->translated = translated;
    KeepRetrievedData(node->name, record);
    if (result != 0) return result;
    // The net works with probabilities only; a translator that strays outside
    // [0, 1] is held to it, and one that produces no number fails. An answer
    // of "-0" is zero: it must not reach reports and tables as "-0.000000".
    if (std::isnan(translated)) return 2;
    value = translated <= 0.0f ? 0.0f : (translated > 1.0f ? 1.0f : translated);
    return 0;
}

void CTable::KeepRetrievedData(const CString &nodeName, CRetrievedData *record) {
    if (!keepRetrievedData || retrievedData == nullptr || retrievedData->Insert(nodeName, record) == nullptr)
        delete record;
}

int32_t CTable::WriteOutputs(CInferenceNet *net) {
    if (!writeOutputs) return 0;
    for (int32_t i = 0; i < outDatabases.Count(); ++i) {
        COutDatabase *output = outDatabases.At(i);
        if (output->Write(parameters, net, this) == 0) continue;
        CString kind;
        output->GetName(kind);
        context->faults.Add(output->Failure().empty() ? std::string("Cannot write output table ") + kind.Text()
                                             : output->Failure());
    }
    return 0;
}

int32_t CTable::AskTaxonomy(CInfTaxNet *net) {
    if (taxonomyRetriever == nullptr) return 2;
    CurrentRetrieverGuard running(currentRetriever, taxonomyRetriever);
    return taxonomyRetriever->Retrieve(net);
}

int32_t CTable::AskParams(CParamAsk *ask, CParameters *consultationParameters) {
    if (paramRetriever == nullptr) return 2;
    CurrentRetrieverGuard running(currentRetriever, paramRetriever);
    return paramRetriever->Retrieve(ask, consultationParameters);
}

int32_t CTable::OpenBatch(CParameters *consultationParameters) {
    batchRunning = false;
    for (int32_t i = 0; i < batchIterators.Count(); ++i) {
        CBatchIterator *iterator = batchIterators.At(i);
        const int32_t code = iterator->Open(consultationParameters);
        if (iterator->active) batchRunning = true;
        if (code != 0 && !iterator->Failure().empty()) context->faults.Add(iterator->Failure());
        if (code != 0) return code;
    }
    return 0;
}

bool CTable::BatchActive() const {
    for (int32_t i = 0; i < batchIterators.Count(); ++i)
        if (batchIterators.At(i)->active) return true;
    return false;
}

int32_t CTable::NextBatchRecord(CParameters *consultationParameters) {
    currentBatchIterator = nullptr;
    for (int32_t i = 0; i < batchIterators.Count(); ++i) {
        if (!batchIterators.At(i)->active) continue;
        currentBatchIterator = batchIterators.At(i);
        const int32_t code = currentBatchIterator->Next(consultationParameters);
        if (code != 0 && !currentBatchIterator->Failure().empty())
            context->faults.Add(currentBatchIterator->Failure());
        if (code == 0) TellBatchProgress();
        return code;
    }
    return 2;
}

// The keys of all iterators count as one run: they were all collected when
// the batch opened, and are handed out one iterator after the other.
void CTable::TellBatchProgress() const {
    if (!context->batchProgress) return;
    int32_t handedOut = 0;
    int32_t total = 0;
    for (int32_t i = 0; i < batchIterators.Count(); ++i) {
        handedOut += batchIterators.At(i)->KeysHandedOut();
        total += batchIterators.At(i)->KeyCount();
    }
    context->batchProgress(handedOut - 1, total);
}

void CTable::AbortRetrieval() {
    context->abortRequested = true;
    if (currentRetriever != nullptr) currentRetriever->Cancel();
}

void CTable::ClearRetrievedData() {
    if (retrievedData == nullptr) return;
    retrievedData->ClearAndDelete();
    delete retrievedData;
    retrievedData = nullptr;
}

CInputRecord *CTable::CurrentInputRecord() {
    // Every table retrieval asks; the cast is made again only when the
    // current input table is another one.
    if (currentInDatabase != castInDatabase) {
        castInDatabase = currentInDatabase;
        castInputRecord = dynamic_cast<CInputRecord *>(currentInDatabase);
    }
    return castInputRecord;
}

CInputRecord *CurrentInputRecord(CTable *table) { return table == nullptr ? nullptr : table->CurrentInputRecord(); }

// CTable: the run-time table of a compiled knowledge base.
//
// The table knows, for every askable node, which retrievers can obtain its
// evidence (in the order the knowledge base names them) and which translator
// turns the answer into a probability. It also holds the input tables, output
// tables, batch iterators and the taxonomy and parameter retrievers of a
// consultation. The registry fills its name indexes, the compiler attaches
// retrievers and translators to nodes, and the inference net consults it as
// its evidence source (net/evidence_source.h). The table owns the run-time records of the nodes (with their
// parameter records), its registry entries and the retrieved data of the
// running consultation; retrievers, translators, tables and iterators belong
// to the registry. Every lookup failure is the result 2, without a text.
#pragma once

#include <cstdint>

#include "foundation/cstring.h"
#include "net/consultation_context.h"
#include "net/evidence_source.h"
#include "retrieval/node_rt_info.h"
#include "retrieval/retrieval_collections.h"
#include "tables/batch_iterator.h"
#include "tables/in_database.h"
#include "tables/kept_by_name.h"
#include "tables/out_database.h"

class CNode;
class CInputRecord;
class CInferenceNet;
class CInfTaxNet;
class CParameters;
struct CParamAsk;
class ITokenReader;
class CRetriever;
class CTaxonomyRetriever;
class CParamRetriever;

class CTable : public IEvidenceSource {
public:
    CTable();
    ~CTable() override;
    CTable(const CTable &) = delete;
    CTable &operator=(const CTable &) = delete;

    // Filling, by the registry
    // Enters the translator under its own name; 2 when the name is taken.
    int32_t RegisterTranslator(CDataTranslator *translator);
    // Enters the retriever under its own name with the translator it names;
    // 2 when the name is taken or the translator is not registered.
    int32_t RegisterRetriever(CDataRetriever *retriever);
    // Makes `newName` denote the same retriever and translator as
    // `existingName`; 2 when the new name exists or the existing one does not.
    int32_t AliasRetriever(const CString &newName, const CString &existingName);
    void AddInDatabase(CInDatabase *database);
    void AddOutDatabase(COutDatabase *database);
    void AddBatchIterator(CBatchIterator *iterator);
    void SetTaxonomyRetriever(CTaxonomyRetriever *retriever);
    void SetParamRetriever(CParamRetriever *retriever);
    CRetrieverInfo *FindRetrieverInfo(const CString &retrieverName);
    CDataTranslator *FindTranslator(const CString &translatorName);
    CNodeRTInfo *FindRTInfo(const CString &nodeName);

    // Attaching, by the compiler. The table takes ownership of the parameter
    // records passed in, also when it refuses them.
    // Gives the node its run-time record with the retriever's translator and
    // the retriever as its first attachment; 2 when the retriever is unknown.
    int32_t AttachRetriever(const CString &nodeName, const CString &retrieverName,
                            CParamRecord *retrieverData, CParamRecord *translatorData);
    // Appends a further retriever; 2 when it is unknown, the node has no
    // run-time record yet, or the retriever needs another translator.
    int32_t AddRetriever(const CString &nodeName, const CString &retrieverName, CParamRecord *retrieverData);
    // Lets the node's last attached retriever read its parameters; 2 when the
    // node has no attachment, else the reader's result.
    int32_t ParseRetrieverParams(const CString &nodeName, ITokenReader *compiler);
    // Lets the node's translator read its parameters; 2 when the node has
    // none, else the reader's result.
    int32_t ParseTranslatorParams(const CString &nodeName, ITokenReader *compiler);

    // Consulting: the evidence source of the net
    CConsultationContext &Context() override { return *context; }
    // Nothing of the last run's batch is current any more.
    void StartRun() override { currentBatchIterator = nullptr; }
    // Drops the last consultation's data, chooses the input table and resets
    // the attachments that ask for it; 0. In a batch, 2 when the input table
    // that the batch's keys come from cannot read the record of this pass's
    // key: the case is then not consulted, and the key joins the faults.
    int32_t StartConsultation(CInferenceNet *net, CParameters *consultationParameters) override;
    // Tries the node's retrievers in order; the first answer is translated
    // into `value`. 2 when the node has no retriever or none answered, else
    // the translator's result.
    int32_t RetrieveNodeValue(CNode *node, float &value, CInferenceNet *net) override;
    // Lets every output table write the consultation; 0. An output that
    // fails adds its reason to the context's faults.
    int32_t WriteOutputs(CInferenceNet *net) override;
    // 2 without a taxonomy retriever, else its result.
    int32_t AskTaxonomy(CInfTaxNet *net) override;
    // 2 without a parameter retriever, else its result for this parameter.
    int32_t AskParams(CParamAsk *ask, CParameters *consultationParameters) override;
    // Opens every batch iterator; the first non-zero code, else 0.
    int32_t OpenBatch(CParameters *consultationParameters) override;
    bool BatchActive() const override;
    // Steps the first active iterator, which becomes the current one; 2 when
    // none is active.
    int32_t NextBatchRecord(CParameters *consultationParameters) override;
    // Cancels the retriever that is asking at this moment, if any, and marks
    // the run as aborted, so that a batch stops after the current record.
    void AbortRetrieval();
    // Frees every retrieved-data record and the table that holds them.
    void ClearRetrievedData();
    // The record of the current input table, or null when it has none.
    CInputRecord *CurrentInputRecord();

    CNodeRTInfoHTable rtInfoIndex;       // node name -> run-time record
    CNodeRTInfoArray rtInfos;            // every run-time record; owning
    CRetrieverInfoHTable retrieverIndex; // retriever name -> entry; entries owned
    CTranslatorHTable translatorIndex;   // translator name -> translator
    CRetrWithDataArray resetList;        // attachments reset at every start
    CTaxonomyRetriever *taxonomyRetriever;
    CParamRetriever *paramRetriever;
    CParameters *parameters;             // of the running consultation
    CInDatabaseArray inDatabases;
    CInDatabase *currentInDatabase;      // the active input table, or null
    COutDatabaseArray outDatabases;
    CRetrievedDataHTable *retrievedData; // node name -> record; owning; or null
    bool keepRetrievedData;
    // False when the caller did not ask for the output tables: WriteOutputs
    // then writes nothing.
    bool writeOutputs = true;
    CBatchIteratorArray batchIterators;
    CRetriever *currentRetriever;        // the retriever running now, or null
    bool batchRunning;
    CConsultationContext *context;       // the run's error and abort; not owned
    CBatchIterator *currentBatchIterator = nullptr; // handed out this pass's key, or null

private:
    // In a batch pass: false when the batch's own input table was asked and
    // could not read the record of the key, which joins the context's faults.
    bool BatchRecordFound(CInDatabase *opened);
    // Tells the context's progress listener, if any, that a case starts.
    void TellBatchProgress() const;

    // Appends an attachment to a node's record, and to the reset list when
    // its retriever asks for it.
    void Attach(CNodeRTInfo *info, CDataRetriever *retriever, CParamRecord *retrieverData);
    // Keeps or releases the record of a finished retrieval.
    void KeepRetrievedData(const CString &nodeName, CRetrievedData *record);
    // The context of a table made on its own (a test, a tool); the control
    // that builds a table hands it its own instead.
    CConsultationContext ownContext;
    // The current input table and its record, as last cast.
    CInDatabase *castInDatabase = nullptr;
    CInputRecord *castInputRecord = nullptr;
    // The run-time record of a retrieved node, kept per name string until a
    // record is attached (rtInfoIndex is filled only by AttachRetriever).
    CKeptByName<CNodeRTInfo *> keptRTInfos;
    uint64_t rtInfoVersion = 0;
};

// The record of the table's current input table, or null when the
// consultation has none.
CInputRecord *CurrentInputRecord(CTable *table);

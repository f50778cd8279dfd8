// IEvidenceSource: where a consultation's evidence comes from, as the
// inference net sees it.
//
// The net decides what to investigate and propagates what it learns; how a
// node's value is obtained (a question, a table field, a default), where the
// cases of a batch come from and where the results go is the source's
// business. The run-time table of a built knowledge base is the source of
// the program (retrieval/table.h); tests give the net sources of their own.
// Every code is 0 for success and 2 for a failure, as everywhere in the net.
#pragma once

#include <cstdint>

#include "net/consultation_context.h"

class CNode;
class CInferenceNet;
class CInfTaxNet;
class CParameters;
struct CParamAsk;

class IEvidenceSource {
public:
    virtual ~IEvidenceSource() = default;

    // The error, abort flag and faults of the running consultation.
    virtual CConsultationContext &Context() = 0;

    // A run (one consultation, or a batch of them) begins: nothing of the
    // last run's batch is current any more.
    virtual void StartRun() = 0;
    // One consultation begins. In a batch, 2 when the case of this pass
    // cannot be read; the case is then not consulted.
    virtual int32_t StartConsultation(CInferenceNet *net, CParameters *parameters) = 0;
    // Obtains the node's value; 2 when nothing answered.
    virtual int32_t RetrieveNodeValue(CNode *node, float &value, CInferenceNet *net) = 0;
    // The consultation has ended: its results go wherever they were asked to.
    virtual int32_t WriteOutputs(CInferenceNet *net) = 0;

    // The questions around the goals: the taxonomy classes to consider and
    // the value of one parameter the knowledge base asks for.
    virtual int32_t AskTaxonomy(CInfTaxNet *net) = 0;
    virtual int32_t AskParams(CParamAsk *ask, CParameters *parameters) = 0;

    // A batch: opened once the parameters are known, then stepped once per
    // case while it is active.
    virtual int32_t OpenBatch(CParameters *parameters) = 0;
    virtual bool BatchActive() const = 0;
    virtual int32_t NextBatchRecord(CParameters *parameters) = 0;
};

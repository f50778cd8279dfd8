// Evidence for the explanation tests: node values from a function, no
// parameters, taxonomies, batches or outputs; and an observer that runs a
// function at every question, while the call stack still holds the descent.
#pragma once

#include <functional>

#include "net/evidence_source.h"
#include "net/inference_net.h"
#include "net/net_observer.h"
#include "net/params.h"

namespace explain_test {

class ScriptedEvidence : public IEvidenceSource {
public:
    explicit ScriptedEvidence(std::function<float(const CNode &)> answerOf) : answer(std::move(answerOf)) {}

    CConsultationContext &Context() override { return context; }
    void StartRun() override {}
    int32_t StartConsultation(CInferenceNet *, CParameters *) override { return 0; }
    int32_t RetrieveNodeValue(CNode *node, float &value, CInferenceNet *) override {
        value = answer(*node);
        ++questions;
        return 0;
    }
    int32_t WriteOutputs(CInferenceNet *) override { return 0; }
    int32_t AskTaxonomy(CInfTaxNet *) override { return 0; }
    int32_t AskParams(CParamAsk *, CParameters *) override { return 0; }
    int32_t OpenBatch(CParameters *) override { return 0; }
    bool BatchActive() const override { return false; }
    int32_t NextBatchRecord(CParameters *) override { return 2; }

    std::function<float(const CNode &)> answer;
    CConsultationContext context;
    int questions = 0;
};

class QuestionObserver : public INetObserver {
public:
    explicit QuestionObserver(std::function<void(CInferenceNet &, CNode &)> atQuestion)
        : onQuestion(std::move(atQuestion)) {}
    void OnInvestigate(CInferenceNet *net, IEvidenceSource *, CNode *node) override { onQuestion(*net, *node); }

    std::function<void(CInferenceNet &, CNode &)> onQuestion;
};

// Resets the net and consults it to the end with `evidence`, calling
// `atQuestion` before every answer; the consultation's code.
inline int32_t ConsultWith(CInferenceNet &net, IEvidenceSource &evidence,
                           const std::function<void(CInferenceNet &, CNode &)> &atQuestion) {
    QuestionObserver observer(atQuestion);
    CParameters parameters;
    parameters.asked = true;
    net.observer = &observer;
    net.ResetValues(&evidence);
    const int32_t code = net.Consult(&evidence, &parameters);
    net.observer = nullptr;
    return code;
}

}  // namespace explain_test

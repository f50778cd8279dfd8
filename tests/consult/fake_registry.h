// A registry for tests that must not depend on the question windows: one
// translator "prob" and one retriever "ask" that answers each node from a
// script of probabilities (a negative number is "Don't know"); a node without
// a scripted answer is not answered (status 2).
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "net/node.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/retrieved_data.h"

class FakeProbTranslator : public CDataTranslator {
public:
    int32_t Translate(CParamRecord *, CRetrievedData *record, float &value) override {
        auto *prob = dynamic_cast<CRetrievedDataProb *>(record);
        if (prob == nullptr) return 2;
        value = prob->dontKnow ? prob->apriori : prob->value;
        return 0;
    }
    int32_t GetName(CString &name) override {
        name = "prob";
        return 0;
    }
};

class ScriptedRetriever : public CDataRetriever {
public:
    int32_t Retrieve(CNode *node, CInferenceNet *, CTable *, CParamRecord *, CRetrievedData *&out) override {
        asked.push_back(node->name.Text());
        auto found = answers.find(node->name.Text());
        if (found == answers.end() || found->second.empty()) return 2;
        const float answer = found->second.front();
        found->second.pop_front();
        out = new CRetrievedDataProb(answer < 0 ? 0.0f : answer, node->prior, answer < 0);
        return 0;
    }
    int32_t GetNames(CString &retrieverName, CString &translatorName) override {
        retrieverName = "ask";
        translatorName = "prob";
        return 0;
    }
    void Cancel() override { ++cancels; }

    std::map<std::string, std::deque<float>> answers;
    std::vector<std::string> asked;
    int cancels = 0;
};

class FakeRegistry : public CAllRetrievers {
public:
    FakeRegistry() {
        Add(new FakeProbTranslator());
        retriever = new ScriptedRetriever();
        Add(retriever);
    }
    // Adds a retriever whose translator is not registered, so that copying
    // the registry into a table fails.
    void BreakCopy() {
        Add(static_cast<CDataRetriever *>(new OrphanRetriever()));
    }

    ScriptedRetriever *retriever;

private:
    class OrphanRetriever : public ScriptedRetriever {
        int32_t GetNames(CString &retrieverName, CString &translatorName) override {
            retrieverName = "orphan";
            translatorName = "nowhere";
            return 0;
        }
    };
};

// Scripted retrievers, translators, tables and a test registry for the
// engine's tests. A scripted retriever answers each node from a per-node
// script of answers and records the order in which nodes were asked.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "net/params.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/data_retriever.h"
#include "retrieval/data_translator.h"
#include "retrieval/param_record.h"
#include "retrieval/param_retriever.h"
#include "retrieval/retrieved_data.h"
#include "retrieval/taxonomy_retriever.h"

namespace testing_engine {

// A parameter record that counts the live records, to catch leaks and
// double frees of attachment data.
class CountedRecord : public CParamRecord {
public:
    explicit CountedRecord(int tagValue = 0) : tag(tagValue) { ++live; }
    ~CountedRecord() override { --live; }
    int tag;
    static inline int live = 0;
};

// One scripted answer: a probability, "Don't know", or a failure code.
struct Answer {
    enum Kind { kValue, kDontKnow, kFail } kind;
    float value;
    int32_t code;
};
inline Answer Yes(float value) { return {Answer::kValue, value, 0}; }
inline Answer DontKnow() { return {Answer::kDontKnow, 0.0f, 0}; }
inline Answer Fail(int32_t code = 2) { return {Answer::kFail, 0.0f, code}; }

// A data retriever that answers probabilities from its script; a node
// without a script entry left fails with 2.
class ScriptedRetriever : public CDataRetriever {
public:
    ScriptedRetriever(const char *retrieverName, const char *translatorName)
        : name(retrieverName), translator(translatorName) {}

    int32_t Retrieve(CNode *node, CInferenceNet *, CTable *table, CParamRecord *data, CRetrievedData *&out) override {
        asked.push_back(node->name.Text());
        seenData.push_back(data);
        runningWhenAsked = table != nullptr && table->currentRetriever == this;
        if (abortWhileAsking) table->AbortRetrieval();
        std::deque<Answer> &answers = script[node->name.Text()];
        if (answers.empty()) return 2;
        Answer answer = answers.front();
        answers.pop_front();
        if (answer.kind == Answer::kFail) return answer.code;
        out = new CRetrievedDataProb(answer.value, node->prior, answer.kind == Answer::kDontKnow);
        return 0;
    }
    int32_t GetNames(CString &retrieverName, CString &translatorName) override {
        retrieverName = name.c_str();
        translatorName = translator.c_str();
        return 0;
    }
    int32_t ReadParameters(ITokenReader *, CParamRecord *&data) override {
        ++readCount;
        data = new CountedRecord(readCount);
        return readResult;
    }
    void Cancel() override { ++cancelCount; }
    bool NeedsReset() override { return needsReset; }
    void Reset(CParamRecord *data) override { resetData.push_back(data); }

    std::string name;
    std::string translator;
    std::map<std::string, std::deque<Answer>> script;
    std::vector<std::string> asked;
    std::vector<CParamRecord *> seenData;
    std::vector<CParamRecord *> resetData;
    bool runningWhenAsked = false;
    bool abortWhileAsking = false;
    bool needsReset = false;
    int readCount = 0;
    int32_t readResult = 0;
    int cancelCount = 0;
};

// A translator of probability records: "Don't know" gives the a-priori
// value. `offset` is added to every value, to tell translators apart and to
// push values out of range.
class ScriptedTranslator : public CDataTranslator {
public:
    explicit ScriptedTranslator(const char *translatorName, float valueOffset = 0.0f)
        : name(translatorName), offset(valueOffset) {}

    int32_t Translate(CParamRecord *data, CRetrievedData *record, float &value) override {
        seenData.push_back(data);
        auto *prob = dynamic_cast<CRetrievedDataProb *>(record);
        if (prob == nullptr || failTranslation) return 2;
        value = (prob->dontKnow ? prob->apriori : prob->value) + offset;
        return 0;
    }
    int32_t GetName(CString &translatorName) override {
        translatorName = name.c_str();
        return 0;
    }
    int32_t ReadParameters(ITokenReader *, CParamRecord *&data) override {
        data = new CountedRecord(-1);
        return readResult;
    }

    std::string name;
    float offset;
    bool failTranslation = false;
    int32_t readResult = 0;
    std::vector<CParamRecord *> seenData;
};

// A taxonomy question that picks a fixed list of classes.
class ScriptedTaxonomyRetriever : public CTaxonomyRetriever {
public:
    int32_t Retrieve(CInfTaxNet *net) override {
        ++askCount;
        if (result != 0) return result;
        for (const std::string &name : picks) net->SelectClass(name.c_str());
        net->ApplySelection();
        return 0;
    }
    void Cancel() override { ++cancelCount; }

    std::vector<std::string> picks;
    int32_t result = 0;
    int askCount = 0;
    int cancelCount = 0;
};

// A parameter question that answers from a map.
class ScriptedParamRetriever : public CParamRetriever {
public:
    int32_t Retrieve(CParamAsk *ask, CParameters *parameters) override {
        askedNames.push_back(ask->name.Text());
        if (result != 0) return result;
        parameters->SetParam(ask->name, answers[ask->name.Text()].c_str());
        return 0;
    }
    void Cancel() override {}

    std::map<std::string, std::string> answers;
    std::vector<std::string> askedNames;
    int32_t result = 0;
};

// An input table that becomes active when its parameter is present.
class FakeInDatabase : public CInDatabase {
public:
    explicit FakeInDatabase(const char *kindName) : name(kindName) {}
    int32_t GetName(CString &kindName) override {
        kindName = name.c_str();
        return 0;
    }
    int32_t Open(CParameters *parameters) override {
        ++openCount;
        active = parameters->HasParam(name.c_str());
        return active ? 0 : 2;
    }
    std::string name;
    int openCount = 0;
};

// An output table that records the goal values it was given.
class FakeOutDatabase : public COutDatabase {
public:
    int32_t GetName(CString &kindName) override {
        kindName = "fakeout";
        return 0;
    }
    int32_t Write(CParameters *, CInferenceNet *net, IEvidenceSource *) override {
        std::string row;
        for (int32_t i = 0; i < net->nodes.Count(); ++i) {
            CNode *node = net->nodes.At(i);
            if (!node->goal) continue;
            row += std::string(node->name.Text()) + "=" + CString(node->current).Text() + ";";
        }
        rows.push_back(row);
        return 0;
    }
    std::vector<std::string> rows;
};

// A batch iterator over fixed keys, written into the parameter "dbrecord".
class FakeBatchIterator : public CBatchIterator {
public:
    explicit FakeBatchIterator(std::vector<std::string> batchKeys, int32_t openCode = 0)
        : keys(std::move(batchKeys)), openResult(openCode) {}
    int32_t Open(CParameters *) override {
        position = 0;
        active = !keys.empty();
        return openResult;
    }
    int32_t Next(CParameters *parameters) override {
        parameters->RemoveParam("dbrecord");
        parameters->SetParam("dbrecord", keys[position].c_str());
        ++position;
        if (position == keys.size()) Close();
        return 0;
    }
    void Close() override { active = false; }

    std::vector<std::string> keys;
    size_t position = 0;
    int32_t openResult;
};

// A registry whose filling operations are open to the tests.
class TestRegistry : public CAllRetrievers {
public:
    using CAllRetrievers::Add;
    using CAllRetrievers::SetParamRetriever;
    using CAllRetrievers::SetTaxonomyRetriever;
};

// A net, its table and parameters, with a scripted retriever "ask" and its
// translator "prob" registered.
struct Consultation {
    Consultation() {
        translator = new ScriptedTranslator("prob");
        asker = new ScriptedRetriever("ask", "prob");
        registry.Add(translator);
        registry.Add(asker);
        registry.CopyIntoTable(&table);
    }

    void Askable(const char *name, float prior, bool goal = false) {
        net.AddBayesNode(name, prior, true, goal);
        table.AttachRetriever(name, "ask", nullptr, nullptr);
    }
    void Answer(const char *name, Answer answer) { asker->script[name].push_back(answer); }
    float Value(const char *name) { return net.FindNode(name)->current; }
    int32_t Run() {
        net.ResetValues(&table);
        params.asked = false;
        return net.Consult(&table, &params);
    }

    TestRegistry registry;
    ScriptedTranslator *translator;
    ScriptedRetriever *asker;
    CInfTaxNet net;
    CTable table;
    CParameters params;
};

}  // namespace testing_engine

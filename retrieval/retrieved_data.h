// Retrieved data: the records in which evidence travels from a retriever to
// a translator.
//
// A data retriever creates one record per answer; the node's translator reads
// it. Each kind carries what its translators need, usually with the node's
// a-priori value (so that "Don't know" can fall back to it). `ToText` gives the
// short form used where answers are listed or kept: "dn" for a don't-know
// answer, otherwise the value as "%f" (the index as "%i" for a choice).
#pragma once

#include <cstdint>

#include "foundation/cstring.h"

class CDataRetriever;

class CRetrievedData {
public:
    CRetrievedData() = default;
    virtual ~CRetrievedData() = default;
    CRetrievedData(const CRetrievedData &) = delete;
    CRetrievedData &operator=(const CRetrievedData &) = delete;

    virtual CString ToText() const = 0;

    // What became of the answer, filled in by the run-time table when it
    // keeps the record, so that an explanation can say who answered and
    // what the translator made of it; no retrieval reads them.
    CDataRetriever *answeredBy = nullptr;  // the retriever that gave it
    int32_t translation = -1;              // the translator's code; -1 before
    float translated = 0.0f;               // its value, before clamping
};

// A probability given directly.
class CRetrievedDataProb : public CRetrievedData {
public:
    CRetrievedDataProb(float probability, float aprioriValue, bool isDontKnow);
    CString ToText() const override;

    float value;
    float apriori;
    bool dontKnow;
};

// A certainty factor from -5 (surely no) to 5 (surely yes); 0 is don't know.
class CRetrievedDataCertFact : public CRetrievedData {
public:
    CRetrievedDataCertFact(float factor, float aprioriValue);
    CString ToText() const override;

    float value;
    float apriori;
};

// A measured number, translated through a point table.
class CRetrievedDataValue : public CRetrievedData {
public:
    CRetrievedDataValue(float number, float aprioriValue, bool isDontKnow);
    CString ToText() const override;

    float value;
    float apriori;
    bool dontKnow;
};

// An interval with the certainty factor chosen with it.
class CRetrievedDataInterval : public CRetrievedData {
public:
    CRetrievedDataInterval(float lower, float upper, float certaintyFactor);
    CString ToText() const override;  // "not implemented"

    float from;
    float to;
    float certainty;
};

// The zero-based index of the chosen option.
class CRetrievedDataChoice : public CRetrievedData {
public:
    CRetrievedDataChoice(int32_t optionIndex, float aprioriValue, bool isDontKnow);
    CString ToText() const override;

    int32_t index;
    float apriori;
    bool dontKnow;
};

// The admission that no answer can be given.
class CRetrievedDataDontKnow : public CRetrievedData {
public:
    explicit CRetrievedDataDontKnow(float aprioriValue);
    CString ToText() const override;  // "dn"

    float apriori;
};

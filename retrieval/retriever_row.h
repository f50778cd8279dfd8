// CRetrieverRow: a data retriever described as data.
//
// Retrievers that answer alike and differ only in the name they are
// registered under and the translator they name ("dbvalue" and "dbs", say)
// are one class, configured by a row. The row also says where the answer
// comes from and what kind of answer it is, which selects the class and the
// retrieved-data record it makes. The registry's rows are in
// retrieval/registry_rows.h.
#pragma once

// Where a retriever takes its answer from.
enum class CAnswerSource {
    Default,   // nowhere: always "Don't know"
    Question,  // the user, through a question window
    Database,  // the field of the node in the current input record
};

// The kind of answer, and with it the record handed to the translator.
enum class CAnswerKind {
    DontKnow,         // CRetrievedDataDontKnow
    Probability,      // CRetrievedDataProb
    CertaintyFactor,  // CRetrievedDataCertFact
    Value,            // CRetrievedDataValue
    Interval,         // CRetrievedDataInterval
    Choice,           // CRetrievedDataChoice; the node's option list is read
};

struct CRetrieverRow {
    const char *name;        // the registry name ("dbprob")
    const char *translator;  // the name of the translator of its answers ("prob")
    CAnswerSource source;
    CAnswerKind answer;
};
